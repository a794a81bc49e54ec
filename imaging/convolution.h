// The write-time filters of the file route: a symmetric 3 x 3 convolution of
// grey and colour lines while the scan is written block by block to its work
// file (UnSharp Mask and the three descreen kernels). Line art passes
// unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "imaging/line_window.h"

namespace filters {

enum class Kernel { kNewspaper, kMagazine, kArtPrint, kUnsharpMask };

// Corner weight on the four diagonal neighbours, edge weight on the four
// direct ones, centre weight on the sample; the divisor is their sum.
struct KernelWeights {
    int corner;
    int edge;
    int centre;
    int divisor;
};

constexpr KernelWeights WeightsOf(Kernel kernel) {
    switch (kernel) {
        case Kernel::kNewspaper: return {0, 1, 3, 7};
        case Kernel::kMagazine: return {1, 3, 5, 21};
        case Kernel::kArtPrint: return {3, 5, 7, 39};
        case Kernel::kUnsharpMask: return {-5, -1, 29, 5};
    }
    return {0, 0, 1, 1};
}

// The kernel of a `descreen` value: Newspaper, Magazine, Art Print; empty for
// None and anything else.
std::optional<Kernel> DescreenKernel(uint16_t descreen);

// One buffer set, owned by the caller for the length of one image. UnSharp
// Mask and descreening each have their own, so both can run on one block.
using ConvolutionLines = LineWindow;

// Prepares a buffer set for an image of lines of `pixels` pixels at
// `bitsPerPixel` 8 (grey), 24 (colour) or 1 (line art, passes unchanged).
// False when the lines cannot be allocated or the geometry is unknown.
bool StartConvolution(ConvolutionLines& lines, uint32_t pixels, uint16_t bitsPerPixel);

// Filters the next `count` lines of the image, held one after another in
// `block`, and returns how many finished lines it wrote, in image order, at
// the start of `block`. Each sample becomes the weighted sum of its 3 x 3
// neighbourhood / divisor, truncated toward zero and clamped to 0..255; the
// first line of the image repeats as the line above, the ends of a line repeat
// the first and last pixel. The last line taken in is held until the next
// block (or FinishConvolution) brings the line below it, so the first block
// returns one line fewer than it was given and later blocks as many. Over the
// whole image the result is the same however it is cut into blocks.
size_t Convolve3x3(ConvolutionLines& lines, Kernel kernel, uint8_t* block, size_t count);

// End of the image: writes the held last line, with itself as the line below,
// to `line`. False (nothing written) when no line is held.
bool FinishConvolution(ConvolutionLines& lines, Kernel kernel, uint8_t* line);

}  // namespace filters
