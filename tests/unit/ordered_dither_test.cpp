#include "imaging/ordered_dither.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace dither;

TEST(OrderedDither, PaletteEntriesLieInTheMiddleOfTheirBits) {
    const PaletteColour first = PaletteEntry(0);
    EXPECT_EQ(first.red, 16);
    EXPECT_EQ(first.green, 16);
    EXPECT_EQ(first.blue, 32);
    const PaletteColour last = PaletteEntry(255);
    EXPECT_EQ(last.red, 240);
    EXPECT_EQ(last.green, 240);
    EXPECT_EQ(last.blue, 224);
    const PaletteColour mixed = PaletteEntry(0x96);  // 100 101 10
    EXPECT_EQ(mixed.red, 144);
    EXPECT_EQ(mixed.green, 176);
    EXPECT_EQ(mixed.blue, 160);
}

TEST(OrderedDither, IndicesByThresholdAndAtTheEnds) {
    // Threshold 0 at (0, 0): red 200 -> 208 (110), green 100 -> 112 (011), blue 130 -> 160 (10).
    EXPECT_EQ(DitheredIndex(200, 100, 130, 0, 0), 0xCE);
    // Threshold 32 at (1, 0) lands in the same cells; (1, 1) has 16.
    EXPECT_EQ(DitheredIndex(200, 100, 130, 1, 0), 0xCE);
    EXPECT_EQ(DitheredIndex(200, 100, 130, 9, 8), 0xCE);  // the matrix repeats every 8
    // Red 223 + 16 = 239 -> 224 + 16 - 16 = 224: the next cell up.
    EXPECT_EQ(DitheredIndex(223, 0, 0, 1, 1) >> 5, 7);
    EXPECT_EQ(DitheredIndex(223, 0, 0, 0, 0) >> 5, 6);
    // Black and white stay black and white whatever the threshold (clamped).
    for (int line = 0; line < 8; ++line) {
        for (int pixel = 0; pixel < 8; ++pixel) {
            EXPECT_EQ(DitheredIndex(0, 0, 0, pixel, line), 0);
            EXPECT_EQ(DitheredIndex(255, 255, 255, pixel, 0) >> 5, 7);
        }
    }
}

TEST(OrderedDither, APictureKeepsItsMeanColourOverTheMatrix) {
    // An 8 x 8 patch of one colour, rows padded to 28 bytes; the mean of the
    // palette colours chosen comes close to it.
    const int colours[][3] = {{100, 100, 100}, {40, 180, 90}, {230, 20, 150}};
    for (const auto& c : colours) {
        std::vector<uint8_t> bgr(28 * 8, 0);
        for (int line = 0; line < 8; ++line) {
            for (int pixel = 0; pixel < 8; ++pixel) {
                uint8_t* p = &bgr[28 * line + 3 * pixel];
                p[0] = static_cast<uint8_t>(c[2]);
                p[1] = static_cast<uint8_t>(c[1]);
                p[2] = static_cast<uint8_t>(c[0]);
            }
        }
        std::vector<uint8_t> out(12 * 8, 0xEE);
        DitherPicture(bgr.data(), 8, 8, 28, out.data(), 12);
        int sum[3] = {0, 0, 0};
        for (int line = 0; line < 8; ++line) {
            for (int pixel = 0; pixel < 8; ++pixel) {
                const PaletteColour e = PaletteEntry(out[12 * line + pixel]);
                sum[0] += e.red;
                sum[1] += e.green;
                sum[2] += e.blue;
            }
            EXPECT_EQ(out[12 * line + 8], 0xEE);  // the padding is left alone
        }
        for (int k = 0; k < 3; ++k) EXPECT_LE(std::abs(sum[k] / 64 - c[k]), 12) << c[0] << " channel " << k;
    }
}
