// Filters and descreening over a whole device-independent bitmap in memory,
// the route of the native transfer. Rows are taken in storage order (bottom
// row first), so "the row below" is the next stored row. Each filter works on
// the pixel samples of 8- and 24-bit bitmaps, every channel on its own;
// 1-bit bitmaps take only Invert and Flip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace filters {

// The pixel area of a bitmap: `height` rows of DibRowStride(width,
// bitsPerPixel) bytes starting at `bits`, inside `size` bytes.
struct DibImage {
    uint8_t* bits;
    uint32_t width;
    uint32_t height;
    uint16_t bitsPerPixel;  // 1, 8 or 24
    size_t size;
};

// Bytes of one stored row: the pixels rounded up to a multiple of 4 bytes.
size_t DibRowStride(uint32_t width, uint16_t bitsPerPixel);

// Asked between rows; true stops the filter (the user pressed Escape). The
// image is then left partly filtered. An empty hook never stops.
using StopRequested = std::function<bool()>;

enum class FilterResult {
    kDone,       // the whole image is filtered (or the filter does not apply)
    kCancelled,  // stopped by the hook
    kRefused,    // the description does not fit the buffer, or no work row; image unchanged
};

// Descreening: one Blur pass, whatever the kind of printed matter.
FilterResult DescreenDib(const DibImage& image, const StopRequested& stop);

// Applies `filterMode` (FilterMode values):
// - Invert: every byte of every row, padding included, complemented.
// - Flip: every row mirrored (MirrorRow).
// - Blur / Blur More (one / two passes): in place, each sample becomes the sum
//   of itself and its eight neighbours / 9; a neighbour outside the image
//   counts as the sample itself, and the neighbours before it in storage
//   order are already blurred.
// - Sharpen / Sharpen More (one / two passes): 5 x sample - the four diagonal
//   neighbours, clamped; the border rows and columns stay unchanged.
// - Emboss: sample - (same channel two rows further, two pixels right) + 128,
//   clamped; the last two rows and columns become 128.
// - UnSharp Mask: (trunc(179 x sample / 10) - the four diagonal neighbours)
//   / 9, clamped; a sample on the border takes itself for all four
//   neighbours.
// Sharpen and UnSharp Mask read only original values, as if they wrote to a
// second bitmap, but hold just two rows beside the image.
FilterResult FilterDib(const DibImage& image, uint16_t filterMode, const StopRequested& stop);

}  // namespace filters
