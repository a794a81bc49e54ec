// What both filter routes share: the filter numbers of the Filters page and
// the two row operations that act the same on the whole bitmap and on the
// blocks read back from the work file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace filters {

// `filterMode` values.
enum FilterMode : uint16_t {
    kFilterNone = 0,
    kFilterInvert = 1,
    kFilterFlip = 2,
    kFilterBlur = 3,
    kFilterBlurMore = 4,
    kFilterSharpen = 5,
    kFilterSharpenMore = 6,
    kFilterEmboss = 7,
    kFilterUnsharpMask = 8,
};

// Complements `count` bytes.
void InvertBytes(uint8_t* bytes, size_t count);

// Mirrors the first `pixels` pixels of a row left to right. 1-bit rows hold
// pixel 0 in the top bit of byte 0; the bits after the last pixel keep their
// place and value, so a width that is not a multiple of 8 mirrors the real
// pixels only. 8- and 24-bit rows reverse their samples or pixels (a pixel
// keeps its byte order). Other depths are left alone.
void MirrorRow(uint8_t* row, uint32_t pixels, uint16_t bitsPerPixel);

}  // namespace filters
