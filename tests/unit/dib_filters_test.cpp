#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "imaging/dib_filters.h"
#include "imaging/filter_common.h"

using namespace filters;

namespace {

// A bitmap's pixel area with its own storage.
struct TestDib {
    uint32_t width;
    uint32_t height;
    uint16_t bitsPerPixel;
    std::vector<uint8_t> bytes;

    TestDib(uint32_t w, uint32_t h, uint16_t bpp)
        : width(w), height(h), bitsPerPixel(bpp), bytes(DibRowStride(w, bpp) * h) {}
    size_t Stride() const { return DibRowStride(width, bitsPerPixel); }
    uint32_t Channels() const { return bitsPerPixel / 8; }
    uint8_t& At(uint32_t x, uint32_t row, uint32_t channel = 0) {
        return bytes[row * Stride() + x * Channels() + channel];
    }
    DibImage Image() { return {bytes.data(), width, height, bitsPerPixel, bytes.size()}; }
};

TestDib Random(uint32_t w, uint32_t h, uint16_t bpp, unsigned seed) {
    TestDib dib(w, h, bpp);
    std::mt19937 random(seed);
    for (uint8_t& b : dib.bytes) b = static_cast<uint8_t>(random());
    return dib;
}

// Every pixel sample at `level`; the padding bytes hold 0xEE.
TestDib Uniform(uint32_t w, uint32_t h, uint16_t bpp, uint8_t level) {
    TestDib dib(w, h, bpp);
    std::fill(dib.bytes.begin(), dib.bytes.end(), 0xEE);
    for (uint32_t r = 0; r < h; ++r)
        for (uint32_t x = 0; x < w; ++x)
            for (uint32_t c = 0; c < dib.Channels(); ++c) dib.At(x, r, c) = level;
    return dib;
}

FilterResult Apply(TestDib& dib, uint16_t mode) { return FilterDib(dib.Image(), mode, {}); }

int Clamp(int v) { return std::clamp(v, 0, 255); }

// The diagonal filters computed directly from the original image.
template <class Formula>
TestDib DiagonalReference(TestDib original, Formula formula) {
    TestDib out = original;
    for (uint32_t r = 0; r < original.height; ++r)
        for (uint32_t x = 0; x < original.width; ++x)
            for (uint32_t c = 0; c < original.Channels(); ++c) {
                const int s = original.At(x, r, c);
                const bool border = r == 0 || x == 0 || r + 1 == original.height || x + 1 == original.width;
                const int d = border ? 4 * s
                                     : original.At(x - 1, r - 1, c) + original.At(x + 1, r - 1, c) +
                                           original.At(x - 1, r + 1, c) + original.At(x + 1, r + 1, c);
                out.At(x, r, c) = static_cast<uint8_t>(formula(s, d));
            }
    return out;
}

// Blur sample by sample in storage order, in place.
void BlurReference(TestDib& dib) {
    for (int r = 0; r < int(dib.height); ++r)
        for (int x = 0; x < int(dib.width); ++x)
            for (uint32_t c = 0; c < dib.Channels(); ++c) {
                const int s = dib.At(x, r, c);
                int sum = 0;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const bool inside = r + dr >= 0 && r + dr < int(dib.height) && x + dx >= 0 &&
                                            x + dx < int(dib.width);
                        sum += inside ? dib.At(x + dx, r + dr, c) : s;
                    }
                dib.At(x, r, c) = static_cast<uint8_t>(sum / 9);
            }
}

int SharpenFormula(int s, int d) { return Clamp(5 * s - d); }
int UnsharpFormula(int s, int d) { return Clamp((179 * s / 10 - d) / 9); }

}  // namespace

TEST(DibFilters, UniformImageUnchangedByBlurAndSharpen) {
    for (uint16_t bpp : {8, 24})
        for (int level : {0, 1, 100, 254, 255}) {
            const TestDib original = Uniform(7, 5, bpp, static_cast<uint8_t>(level));
            for (uint16_t mode : {kFilterBlur, kFilterBlurMore, kFilterSharpen, kFilterSharpenMore}) {
                TestDib dib = original;
                EXPECT_EQ(Apply(dib, mode), FilterResult::kDone);
                EXPECT_EQ(dib.bytes, original.bytes) << "mode " << mode << " bpp " << bpp << " level " << level;
            }
            TestDib descreened = original;
            EXPECT_EQ(DescreenDib(descreened.Image(), {}), FilterResult::kDone);
            EXPECT_EQ(descreened.bytes, original.bytes);
        }
}

TEST(DibFilters, UniformImageBecomes128UnderEmbossAndFollowsTheUnsharpRule) {
    for (uint16_t bpp : {8, 24}) {
        TestDib embossed = Uniform(6, 4, bpp, 77);
        Apply(embossed, kFilterEmboss);
        EXPECT_EQ(embossed.bytes, Uniform(6, 4, bpp, 128).bytes);  // padding untouched

        for (int level : {0, 1, 50, 100, 200, 255}) {
            TestDib dib = Uniform(5, 5, bpp, static_cast<uint8_t>(level));
            Apply(dib, kFilterUnsharpMask);
            const int expected = std::min(255, (179 * level / 10 - 4 * level) / 9);
            EXPECT_EQ(dib.bytes, Uniform(5, 5, bpp, static_cast<uint8_t>(expected)).bytes) << level;
        }
    }
    TestDib hundred = Uniform(3, 3, 8, 100);
    Apply(hundred, kFilterUnsharpMask);
    EXPECT_EQ(hundred.At(1, 1), 154);
}

TEST(DibFilters, InvertComplementsEveryByteAtEveryDepth) {
    for (uint16_t bpp : {1, 8, 24}) {
        TestDib dib = Random(5, 3, bpp, 1);
        const TestDib original = dib;
        EXPECT_EQ(Apply(dib, kFilterInvert), FilterResult::kDone);
        for (size_t i = 0; i < dib.bytes.size(); ++i) ASSERT_EQ(dib.bytes[i], uint8_t(~original.bytes[i]));
    }
}

TEST(DibFilters, FlipMirrorsRowsAndTwiceRestores) {
    for (uint16_t bpp : {1, 8, 24})
        for (uint32_t width : {1u, 2u, 7u, 8u, 13u, 16u, 33u}) {
            TestDib dib = Random(width, 3, bpp, width);
            const TestDib original = dib;
            Apply(dib, kFilterFlip);
            if (width > 1) {
                EXPECT_NE(dib.bytes, original.bytes);
            }
            Apply(dib, kFilterFlip);
            EXPECT_EQ(dib.bytes, original.bytes) << "bpp " << bpp << " width " << width;
        }

    TestDib colour(2, 1, 24);
    colour.bytes = {1, 2, 3, 4, 5, 6, 0xAA, 0xBB};
    Apply(colour, kFilterFlip);
    EXPECT_EQ(colour.bytes, (std::vector<uint8_t>{4, 5, 6, 1, 2, 3, 0xAA, 0xBB}));
}

TEST(DibFilters, FlipOfLineArtMirrorsTheRealPixelsOnly) {
    // 13 pixels: 1100000000001 plus three padding bits 011, then padding bytes.
    TestDib dib(13, 1, 1);
    dib.bytes = {0b11000000, 0b00001011, 0x5A, 0xA5};
    Apply(dib, kFilterFlip);
    EXPECT_EQ(dib.bytes, (std::vector<uint8_t>{0b10000000, 0b00011011, 0x5A, 0xA5}));
}

TEST(DibFilters, BlurTakesTheAlreadyBlurredNeighboursBefore) {
    // Outside neighbours count as the sample: 90 sums to 720 on every side.
    TestDib row(3, 1, 8);
    row.bytes = {90, 0, 0, 0};
    Apply(row, kFilterBlur);
    EXPECT_EQ(row.bytes, (std::vector<uint8_t>{80, 8, 0, 0}));

    TestDib column(1, 3, 8);
    column.At(0, 0) = 90;
    Apply(column, kFilterBlur);
    EXPECT_EQ(column.At(0, 0), 80);
    EXPECT_EQ(column.At(0, 1), 8);
    EXPECT_EQ(column.At(0, 2), 0);

    TestDib twice = row;
    Apply(twice, kFilterBlur);
    TestDib blurMore(3, 1, 8);
    blurMore.bytes = {90, 0, 0, 0};
    Apply(blurMore, kFilterBlurMore);
    EXPECT_EQ(blurMore.bytes, twice.bytes);
}

TEST(DibFilters, BlurMatchesSampleBySampleInPlaceBlur) {
    for (uint16_t bpp : {8, 24})
        for (uint32_t width : {1u, 2u, 3u, 4u, 9u}) {
            TestDib expected = Random(width, 4, bpp, 20 + width);
            TestDib dib = expected;
            Apply(dib, kFilterBlurMore);
            BlurReference(expected);
            BlurReference(expected);
            EXPECT_EQ(dib.bytes, expected.bytes) << "bpp " << bpp << " width " << width;
        }
}

TEST(DibFilters, DiagonalFiltersReadTheOriginalImage) {
    for (uint16_t bpp : {8, 24})
        for (uint32_t width : {1u, 2u, 3u, 9u}) {
            const TestDib original = Random(width, 6, bpp, 7 + width);
            TestDib sharpened = original;
            Apply(sharpened, kFilterSharpen);
            EXPECT_EQ(sharpened.bytes, DiagonalReference(original, SharpenFormula).bytes) << width;

            TestDib sharpenMore = original;
            Apply(sharpenMore, kFilterSharpenMore);
            EXPECT_EQ(sharpenMore.bytes, DiagonalReference(sharpened, SharpenFormula).bytes) << width;

            TestDib unsharp = original;
            Apply(unsharp, kFilterUnsharpMask);
            EXPECT_EQ(unsharp.bytes, DiagonalReference(original, UnsharpFormula).bytes) << width;
        }
}

TEST(DibFilters, EmbossTakesTwoRowsFurtherTwoPixelsRight) {
    for (uint16_t bpp : {8, 24}) {
        const TestDib original = Random(6, 5, bpp, 3);
        TestDib dib = original;
        Apply(dib, kFilterEmboss);
        TestDib source = original;
        for (uint32_t r = 0; r < 5; ++r)
            for (uint32_t x = 0; x < 6; ++x)
                for (uint32_t c = 0; c < dib.Channels(); ++c) {
                    const int expected = r < 3 && x < 4 ? Clamp(source.At(x, r, c) - source.At(x + 2, r + 2, c) + 128)
                                                        : 128;
                    ASSERT_EQ(dib.At(x, r, c), expected) << r << "," << x;
                }
        for (size_t i = 0; i < dib.bytes.size(); ++i)
            if (i % dib.Stride() >= 6 * dib.Channels()) {
                ASSERT_EQ(dib.bytes[i], original.bytes[i]);  // padding
            }
    }
}

TEST(DibFilters, LineArtTakesOnlyInvertAndFlip) {
    const TestDib original = Random(21, 4, 1, 5);
    for (uint16_t mode : {kFilterBlur, kFilterBlurMore, kFilterSharpen, kFilterSharpenMore, kFilterEmboss,
                          kFilterUnsharpMask}) {
        TestDib dib = original;
        EXPECT_EQ(Apply(dib, mode), FilterResult::kDone);
        EXPECT_EQ(dib.bytes, original.bytes) << mode;
    }
    TestDib descreened = original;
    DescreenDib(descreened.Image(), {});
    EXPECT_EQ(descreened.bytes, original.bytes);
}

TEST(DibFilters, StopBetweenRowsLeavesThePartlyFilteredImage) {
    TestDib dib = Uniform(4, 4, 8, 10);
    int rowsAllowed = 2;
    const auto stop = [&] { return rowsAllowed-- <= 0; };
    EXPECT_EQ(FilterDib(dib.Image(), kFilterInvert, stop), FilterResult::kCancelled);
    EXPECT_EQ(dib.At(0, 1), 245);
    EXPECT_EQ(dib.At(0, 2), 10);

    for (uint16_t mode : {kFilterBlurMore, kFilterSharpenMore, kFilterEmboss, kFilterUnsharpMask, kFilterFlip}) {
        TestDib other = Random(4, 4, 24, 2);
        EXPECT_EQ(FilterDib(other.Image(), mode, [] { return true; }), FilterResult::kCancelled) << mode;
    }
    EXPECT_EQ(DescreenDib(dib.Image(), [] { return true; }), FilterResult::kCancelled);
}

TEST(DibFilters, DescriptionThatDoesNotFitIsRefused) {
    TestDib dib = Random(5, 4, 24, 9);
    const TestDib original = dib;
    DibImage tooShort = dib.Image();
    tooShort.size -= 1;
    EXPECT_EQ(FilterDib(tooShort, kFilterInvert, {}), FilterResult::kRefused);
    DibImage oddDepth = dib.Image();
    oddDepth.bitsPerPixel = 16;
    EXPECT_EQ(FilterDib(oddDepth, kFilterInvert, {}), FilterResult::kRefused);
    DibImage huge = dib.Image();
    huge.width = 0xFFFFFFFFu;
    EXPECT_EQ(FilterDib(huge, kFilterBlur, {}), FilterResult::kRefused);
    EXPECT_EQ(dib.bytes, original.bytes);
    EXPECT_EQ(DibRowStride(5, 24), 16u);
    EXPECT_EQ(DibRowStride(33, 1), 8u);
}
