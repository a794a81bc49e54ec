// The read-back filters of the file route: applied to each block of lines as
// it is read back from the work file, line by line, each channel of a colour
// pixel on its own. Blur and Sharpen work along the line only, and Emboss
// only within the block.
#pragma once

#include <cstddef>
#include <cstdint>

namespace filters {

// Lines of `bytes` bytes holding `pixels` pixels at `bitsPerPixel` 1 (line
// art), 8 (grey) or 24 (colour).
struct LineFormat {
    uint32_t pixels;
    uint32_t bytes;
    uint16_t bitsPerPixel;
};

// Applies `filterMode` to `lines` lines held one after another in `block`:
// - Invert: every byte complemented.
// - Flip: each line mirrored (MirrorRow).
// - Blur (Blur More: five passes): from a copy of the line, sample x becomes
//   (left + itself + right) / 3, the last one (2 x itself + left) / 3.
// - Sharpen (Sharpen More: two passes): 3 x itself - left - right, the last
//   one 2 x itself - left, clamped.
//   Blur and Sharpen leave pixel 0 of each line unchanged.
// - Emboss: a block of one line: itself - the same channel of the next pixel
//   + 128, clamped, the last pixel 128; a longer block: each line but the last
//   itself - the line below + 128, clamped, and the last line a copy of the
//   (embossed) line above it.
// - UnSharp Mask does nothing here; it ran while the lines were written.
// Line art takes only Invert and Flip. Returns false, leaving the block
// unchanged, when the format is unknown or its pixels do not fit its bytes.
bool FilterBlock(uint8_t* block, size_t lines, const LineFormat& format, uint16_t filterMode);

}  // namespace filters
