#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "imaging/block_filters.h"
#include "imaging/filter_common.h"

using namespace filters;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr LineFormat kGrey4{4, 4, 8};

Bytes Filtered(Bytes block, const LineFormat& format, uint16_t mode) {
    EXPECT_TRUE(FilterBlock(block.data(), block.size() / format.bytes, format, mode));
    return block;
}

Bytes Random(size_t size, unsigned seed) {
    Bytes bytes(size);
    std::mt19937 random(seed);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

}  // namespace

TEST(BlockFilters, BlurAndSharpenWorkAlongTheLineAndKeepPixelZero) {
    EXPECT_EQ(Filtered({30, 60, 90, 120}, kGrey4, kFilterBlur), (Bytes{30, 60, 90, 110}));
    EXPECT_EQ(Filtered({100, 50, 200, 10}, kGrey4, kFilterSharpen), (Bytes{100, 0, 255, 0}));
    EXPECT_EQ(Filtered({100, 90, 100, 120}, kGrey4, kFilterSharpen), (Bytes{100, 70, 90, 140}));

    // Each channel against the same channel of the neighbouring pixels.
    const LineFormat colour{3, 9, 24};
    EXPECT_EQ(Filtered({0, 30, 90, 3, 60, 0, 6, 90, 90}, colour, kFilterBlur), (Bytes{0, 30, 90, 3, 60, 60, 5, 80, 60}));

    for (uint16_t mode : {kFilterBlur, kFilterBlurMore, kFilterSharpen, kFilterSharpenMore}) {
        const Bytes uniform(3 * 9, 77);
        EXPECT_EQ(Filtered(uniform, colour, mode), uniform) << mode;
    }
}

TEST(BlockFilters, MoreVariantsRepeatThePass) {
    const LineFormat grey{16, 16, 8};
    const Bytes block = Random(3 * 16, 1);
    Bytes blurredFiveTimes = block, sharpenedTwice = block;
    for (int i = 0; i < 5; ++i) blurredFiveTimes = Filtered(blurredFiveTimes, grey, kFilterBlur);
    for (int i = 0; i < 2; ++i) sharpenedTwice = Filtered(sharpenedTwice, grey, kFilterSharpen);
    EXPECT_EQ(Filtered(block, grey, kFilterBlurMore), blurredFiveTimes);
    EXPECT_EQ(Filtered(block, grey, kFilterSharpenMore), sharpenedTwice);
}

TEST(BlockFilters, EmbossOfOneLineUsesTheRightNeighbour) {
    EXPECT_EQ(Filtered({200, 100, 50, 250}, kGrey4, kFilterEmboss), (Bytes{228, 178, 0, 128}));
    const LineFormat colour{2, 6, 24};
    EXPECT_EQ(Filtered({10, 20, 30, 0, 20, 40}, colour, kFilterEmboss), (Bytes{138, 128, 118, 128, 128, 128}));
}

TEST(BlockFilters, EmbossOfLongerBlockUsesTheLineBelowAndCopiesTheLast) {
    const LineFormat grey{2, 2, 8};
    EXPECT_EQ(Filtered({100, 0, 50, 255, 60, 255}, grey, kFilterEmboss), (Bytes{178, 0, 118, 128, 118, 128}));
}

TEST(BlockFilters, InvertAndFlip) {
    EXPECT_EQ(Filtered({0x00, 0x0F, 0xF0, 0xFF}, kGrey4, kFilterInvert), (Bytes{0xFF, 0xF0, 0x0F, 0x00}));
    EXPECT_EQ(Filtered({1, 2, 3, 4, 5, 6, 7, 8}, kGrey4, kFilterFlip), (Bytes{4, 3, 2, 1, 8, 7, 6, 5}));
    EXPECT_EQ(Filtered({1, 2, 3, 4, 5, 6}, {2, 6, 24}, kFilterFlip), (Bytes{4, 5, 6, 1, 2, 3}));

    for (const LineFormat format : {LineFormat{5, 5, 8}, LineFormat{7, 21, 24}, LineFormat{13, 2, 1},
                                    LineFormat{16, 2, 1}}) {
        const Bytes block = Random(3 * format.bytes, format.pixels);
        EXPECT_EQ(Filtered(Filtered(block, format, kFilterFlip), format, kFilterFlip), block) << format.pixels;
    }
}

TEST(BlockFilters, LineArtTakesOnlyInvertAndFlip) {
    const LineFormat lineArt{16, 2, 1};
    const Bytes block = {0xE0, 0x01, 0x12, 0x34};
    for (uint16_t mode : {kFilterBlur, kFilterBlurMore, kFilterSharpen, kFilterSharpenMore, kFilterEmboss,
                          kFilterUnsharpMask})
        EXPECT_EQ(Filtered(block, lineArt, mode), block) << mode;
    EXPECT_EQ(Filtered(block, lineArt, kFilterInvert), (Bytes{0x1F, 0xFE, 0xED, 0xCB}));
    EXPECT_EQ(Filtered(block, lineArt, kFilterFlip), (Bytes{0x80, 0x07, 0x2C, 0x48}));
}

TEST(BlockFilters, UnsharpMaskDoesNothingOnReadBackAndBadFormatsAreRefused) {
    const Bytes block = Random(8, 2);
    EXPECT_EQ(Filtered(block, kGrey4, kFilterUnsharpMask), block);

    Bytes bytes = block;
    EXPECT_FALSE(FilterBlock(bytes.data(), 2, LineFormat{5, 4, 8}, kFilterInvert));
    EXPECT_FALSE(FilterBlock(bytes.data(), 1, LineFormat{2, 4, 24}, kFilterInvert));
    EXPECT_FALSE(FilterBlock(bytes.data(), 1, LineFormat{33, 4, 1}, kFilterInvert));
    EXPECT_FALSE(FilterBlock(bytes.data(), 2, LineFormat{2, 4, 16}, kFilterInvert));
    EXPECT_EQ(bytes, block);
}
