// Fuzz target of the colour profile reader: the input is a profile file of
// either layout, as the calibration program or anybody else may have written
// it. A profile that reads must correct pixels inside their buffer only.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "imaging/colour_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::Input input(data, size);
    const uint32_t control = input.Take(1);
    static colour::ColourProfile profile;
    profile = colour::ColourProfile{};
    if (!colour::ParseColourProfile(input.rest(), input.restSize(), profile)) {
        fuzzing::Require(profile.kind == colour::ProfileKind::kNone);
        return 0;
    }
    fuzzing::Require(input.restSize() >= colour::kMatrixProfileSize && input.restSize() <= colour::kProfileBufferSize);

    // A small image whose pixels are the profile's own first bytes.
    const int width = 1 + control % 7;
    const int height = 1 + control / 64;
    const size_t stride = static_cast<size_t>(width) * 3 + (control & 3);
    std::vector<uint8_t> pixels(stride * height);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = input.rest()[i % input.restSize()];
    fuzzing::Require(colour::ApplyColourProfile(profile, height, width, stride, pixels.data(), pixels.size(), control & 4));
    // One byte short of the last row: refused, nothing read past the buffer.
    fuzzing::Require(!colour::ApplyColourProfile(profile, height, width, stride, pixels.data(),
                                                 stride * (height - 1) + width * 3 - 1, control & 4));
    colour::ReleaseColourProfile(profile);
    return 0;
}
