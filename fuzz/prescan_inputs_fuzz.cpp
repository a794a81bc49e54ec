// Fuzz target of what the prescan module takes from outside: the scanner's
// optical resolution and model, the caller's source word and options block
// (a length of any bits, NaN and infinities included), and the bytes per
// line the scanner reports. The scan area must lie on the bed, and an
// accepted line must fit the bitmap row it goes into.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_input.h"
#include "prescan/prescan_plan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Input input(data, size);
    const auto optical = static_cast<uint16_t>(input.Take(2));
    const bool letter = (input.Take(1) & 1) != 0;
    const uint32_t sourceWord = input.Take(4);
    prescan::Options options{input.Take(4), input.Take(4), 0.0f};
    const uint32_t lengthBits = input.Take(4);
    std::memcpy(&options.lengthInches, &lengthBits, sizeof lengthBits);
    const auto bytesPerLine = static_cast<uint16_t>(input.Take(2));

    const prescan::ScanPlan plan = prescan::PlanPrescan(optical, letter, sourceWord, options);
    const uint32_t rate = plan.areaRate;
    fuzzing::Require(rate == 600 || rate == 800 || rate == 1200);
    fuzzing::Require(plan.right == (letter ? 85u : 117u) * rate / 10);
    fuzzing::Require(plan.bottom > 0 && plan.bottom <= (letter ? 115u : 170u) * rate / 10);
    fuzzing::Require(plan.source <= 2 && (plan.resolution == 30 || plan.resolution == 60));

    prescan::Bitmap bitmap{};
    if (prescan::BitmapForLines(plan, bytesPerLine, bitmap)) {
        fuzzing::Require(bitmap.width * 3u == bytesPerLine);
        fuzzing::Require(bitmap.rowBytes % 4 == 0 && bitmap.rowBytes >= bitmap.width * 3u);
        fuzzing::Require(bitmap.rowBytes < bitmap.width * 3u + 4);
        fuzzing::Require(bitmap.pixelBytes == uint64_t{bitmap.rowBytes} * bitmap.rows);
        fuzzing::Require(bitmap.width <= (uint32_t{plan.right} * plan.resolution + rate - 1) / rate);
    }
    return 0;
}
