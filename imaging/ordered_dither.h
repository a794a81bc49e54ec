// Ordered dithering of a colour picture to the 256-colour 3-3-2 palette
// (index bits RRRGGGBB), for drawing on displays of 256 colours or fewer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dither {

struct PaletteColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Entry `index` of the 3-3-2 palette: the middle of the range its bits cover.
PaletteColour PaletteEntry(int index);

// The palette index of one pixel at (`pixel`, `line`), the 8 x 8 Bayer
// matrix giving the threshold there.
uint8_t DitheredIndex(uint8_t red, uint8_t green, uint8_t blue, int pixel, int line);

// Every pixel of a blue-green-red picture (`width` x `height`, rows
// `sourceStride` bytes apart) to one index byte in `out` (rows `outStride`
// bytes apart); lines are counted in the order the rows are stored.
void DitherPicture(const uint8_t* bgr, int width, int height, size_t sourceStride, uint8_t* out, size_t outStride);

}  // namespace dither
