// Fuzz target of the preview bitmap reader: the input is a file in the place
// where the prescan module leaves its preview. A header that reads must
// describe rows that all lie inside the file.
#include <cstddef>
#include <cstdint>

#include "engine/preview_file.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    preview::PreviewBitmap bitmap;
    if (!preview::ReadPreviewHeader(data, size, bitmap)) return 0;
    fuzzing::Require(bitmap.width > 0 && bitmap.height > 0);
    fuzzing::Require(bitmap.rowBytes >= bitmap.width * 3ull && bitmap.rowBytes % 4 == 0);
    fuzzing::Require(bitmap.pixelOffset + static_cast<uint64_t>(bitmap.rowBytes) * bitmap.height <= size);
    // Every pixel byte is read once, so a row outside the input shows.
    uint32_t sum = 0;
    for (uint32_t row = 0; row < bitmap.height; ++row)
        for (uint32_t x = 0; x < bitmap.width * 3; ++x) sum += data[bitmap.pixelOffset + row * bitmap.rowBytes + x];
    return sum == 0xFFFFFFFF;
}
