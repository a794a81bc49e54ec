#include "imaging/ordered_dither.h"

#include <algorithm>

namespace dither {

namespace {

constexpr uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21},
};

// A channel moved by the threshold, cut to its step and back to the step's middle.
int Stepped(int value, int d, int stepMask, int half) {
    return std::clamp(((value + d) & ~stepMask) + half - d, 0, 255);
}

}  // namespace

PaletteColour PaletteEntry(int index) {
    return {static_cast<uint8_t>((index & 0xE0) + 16), static_cast<uint8_t>((index & 31) / 4 * 32 + 16),
            static_cast<uint8_t>((index & 3) * 64 + 32)};
}

uint8_t DitheredIndex(uint8_t red, uint8_t green, uint8_t blue, int pixel, int line) {
    const int d = kBayer[line & 7][pixel & 7];
    const int r = Stepped(red, d, 31, 16);
    const int g = Stepped(green, d, 31, 16);
    const int b = Stepped(blue, d, 63, 32);
    return static_cast<uint8_t>((r & 0xE0) | ((g >> 5) << 2) | (b >> 6));
}

void DitherPicture(const uint8_t* bgr, int width, int height, size_t sourceStride, uint8_t* out, size_t outStride) {
    for (int line = 0; line < height; ++line) {
        const uint8_t* from = bgr + sourceStride * line;
        uint8_t* to = out + outStride * line;
        for (int pixel = 0; pixel < width; ++pixel, from += 3)
            to[pixel] = DitheredIndex(from[2], from[1], from[0], pixel, line);
    }
}

}  // namespace dither
