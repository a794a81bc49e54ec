// Fuzz target of what a host hands the data source: a capability container
// of any claimed type and size, and an image layout frame. Containers are
// read only within the bytes the host's handle holds; a frame becomes a scan
// frame inside the scanner's area or none at all.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/image_info.h"
#include "fuzz/fuzz_input.h"
#include "twain/cap_container.h"

namespace {

// The optical resolutions the scanner reports, with the rate of the units
// a scan frame is counted in (the 606 model counts in 1200ths of an inch).
constexpr struct {
    uint16_t reported;
    uint16_t rate;
} kOpticalResolutions[] = {{600, 600}, {606, 1200}, {800, 800}, {1200, 1200}};

void FuzzContainer(fuzzing::Input& input) {
    const TW_UINT16 conType = static_cast<TW_UINT16>(input.Take(2));
    const size_t claimed = input.Take(2);
    // The host's block, exactly as large as it says: a copy, so that a read
    // past its end is seen by the address checker.
    const size_t size = claimed < input.restSize() ? claimed : input.restSize();
    std::vector<uint8_t> block(input.rest(), input.rest() + size);
    TW_UINT32 value = 0xA5A5A5A5;
    if (!ReadSetValue(conType, block.data(), block.size(), value)) fuzzing::Require(value == 0xA5A5A5A5);
    ReadOneValue(block.data(), block.size(), value);
    ReadEnumeration(block.data(), block.size(), value);
}

void FuzzLayout(fuzzing::Input& input) {
    TW_FRAME frame;
    uint8_t bytes[sizeof frame];
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(input.Take(1));
    std::memcpy(&frame, bytes, sizeof frame);
    const auto optical = kOpticalResolutions[input.Take(1) % 4];
    const double maxWidth = 8.5 + (input.Take(1) & 1) * 3.2;
    const double maxLength = 11.7 + (input.Take(1) & 1) * 5.3;
    const auto scan = LayoutToOpticalFrame(frame, optical.reported, maxWidth, maxLength);
    if (!scan) return;
    fuzzing::Require(scan->left < scan->right && scan->top < scan->bottom);
    fuzzing::Require(scan->right <= maxWidth * optical.rate && scan->bottom <= maxLength * optical.rate);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Input input(data, size);
    if (input.Take(1) & 1) FuzzLayout(input);
    else FuzzContainer(input);
    return 0;
}
