#include "engine/resample.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>


namespace {

using resample::CarryRow;
using resample::EnlargeStatus;
using resample::PixelKind;
using Bytes = std::vector<uint8_t>;

// Enlarges a whole image, given as rows of `pixels`, in one block with a fresh carried row.
Bytes Enlarge(PixelKind kind, uint32_t factor, const Bytes& image, uint32_t pixels) {
    const auto rows = static_cast<uint32_t>(image.size() / resample::RowBytes(kind, pixels));
    Bytes out(image.size() * factor * factor, 0xEE);
    CarryRow carry;
    EXPECT_EQ(resample::EnlargeRows(kind, factor, {image.data(), pixels, rows}, out.data(), out.size(), carry),
              EnlargeStatus::kDone);
    return out;
}

Bytes RandomBytes(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

// The k x k block at output row `row`, column `column` of an image `width` bytes wide.
Bytes Block(const Bytes& image, size_t width, size_t row, size_t column, size_t k) {
    Bytes block;
    for (size_t j = 0; j < k; ++j)
        block.insert(block.end(), image.begin() + (row + j) * width + column,
                     image.begin() + (row + j) * width + column + k);
    return block;
}

const uint32_t kFactors[] = {2, 4, 6, 8};

TEST(EnlargeRows, GreyPairsEachRowWithTheOneAbove) {
    // The first pairing joins the first row with itself, the second joins it
    // with the row below; the last pixel's block repeats the upper pixel.
    EXPECT_EQ(Enlarge(PixelKind::kGrey, 2, {10, 21, 30, 41}, 2),
              (Bytes{10, 15, 21, 21, 10, 15, 21, 21, 10, 15, 21, 21, 20, 25, 21, 21}));
    // The diagonal is the average of the upper-left and lower-right pixels.
    EXPECT_EQ(Block(Enlarge(PixelKind::kGrey, 2, {0, 0, 0, 100}, 2), 4, 2, 0, 2), (Bytes{0, 0, 0, 50}));
    // A one-pixel-wide image becomes copies, one source row late.
    const Bytes column = Enlarge(PixelKind::kGrey, 4, {7, 99, 200}, 1);
    EXPECT_EQ(Bytes(column.begin(), column.begin() + 32), Bytes(32, 7));
    EXPECT_EQ(Bytes(column.begin() + 32, column.end()), Bytes(16, 99));
}

TEST(EnlargeRows, LineArtRepeatsEveryBitAndRow) {
    EXPECT_EQ(Enlarge(PixelKind::kLineArt, 2, {0xA5}, 8), (Bytes{0xCC, 0x33, 0xCC, 0x33}));
    Bytes all(256);
    for (int v = 0; v < 256; ++v) all[v] = static_cast<uint8_t>(v);
    for (uint32_t factor : kFactors) {
        const Bytes out = Enlarge(PixelKind::kLineArt, factor, all, 256 * 8);
        const size_t rowBytes = 256 * factor;
        for (size_t bit = 0; bit < rowBytes * 8; ++bit) {
            const size_t from = bit / factor;
            ASSERT_EQ(bool(out[bit / 8] & (0x80 >> (bit % 8))), bool(all[from / 8] & (0x80 >> (from % 8))))
                << "factor " << factor << " bit " << bit;
        }
        for (uint32_t j = 1; j < factor; ++j)
            ASSERT_TRUE(std::equal(out.begin(), out.begin() + rowBytes, out.begin() + j * rowBytes));
    }
}

TEST(EnlargeRows, FactorsFourAndEightHalveRepeatedly) {
    // Halving, not linear steps: 3 -> 0 in eighths gives 3 2 2 1 1 0 0 0.
    const Bytes eighths = Enlarge(PixelKind::kGrey, 8, {3, 0}, 2);
    EXPECT_EQ(Bytes(eighths.begin(), eighths.begin() + 8), (Bytes{3, 2, 2, 1, 1, 0, 0, 0}));
    // The pairing of 0 80 over 160 240: midpoints, diagonals and quarters.
    EXPECT_EQ(Block(Enlarge(PixelKind::kGrey, 4, {0, 80, 160, 240}, 2), 8, 4, 0, 4),
              (Bytes{0, 20, 40, 60, 40, 60, 80, 100, 80, 100, 120, 140, 120, 140, 160, 180}));
}

TEST(EnlargeRows, FactorSixFillsThirdsTruncatingTowardZero) {
    const Bytes rising = Enlarge(PixelKind::kGrey, 6, {0, 10}, 2);
    EXPECT_EQ(Bytes(rising.begin(), rising.begin() + 12), (Bytes{0, 1, 2, 5, 6, 7, 10, 10, 10, 10, 10, 10}));
    // (5 - 10) / 3 is -1, not -2.
    const Bytes falling = Enlarge(PixelKind::kGrey, 6, {10, 0}, 2);
    EXPECT_EQ(Bytes(falling.begin(), falling.begin() + 6), (Bytes{10, 9, 8, 5, 4, 3}));
    // The pairing of 0 0 over 30 60: the middle row by halving, thirds down the columns.
    EXPECT_EQ(Block(Enlarge(PixelKind::kGrey, 6, {0, 0, 30, 60}, 2), 12, 6, 0, 6),
              (Bytes{0,  0,  0,  0,  0,  0,  5,  6,  8,  10, 10, 10, 10, 12, 16, 20, 20, 20,
                     15, 20, 25, 30, 30, 30, 20, 25, 30, 35, 36, 38, 25, 30, 35, 40, 42, 46}));
}

TEST(EnlargeRows, ColourIsEachChannelOnItsOwn) {
    const uint32_t pixels = 9;
    const Bytes colour = RandomBytes(pixels * 5 * 3, 1);
    for (uint32_t factor : kFactors) {
        const Bytes out = Enlarge(PixelKind::kColour, factor, colour, pixels);
        for (int c = 0; c < 3; ++c) {
            Bytes channel;
            for (size_t i = c; i < colour.size(); i += 3) channel.push_back(colour[i]);
            const Bytes grey = Enlarge(PixelKind::kGrey, factor, channel, pixels);
            for (size_t i = 0; i < grey.size(); ++i)
                ASSERT_EQ(out[i * 3 + c], grey[i]) << "factor " << factor << " channel " << c << " at " << i;
        }
    }
}

TEST(EnlargeRows, BlocksOfAnySizeGiveTheOneBlockResult) {
    const uint32_t pixels = 13, blocks[] = {3, 1, 2, 1};
    for (PixelKind kind : {PixelKind::kLineArt, PixelKind::kGrey, PixelKind::kColour})
        for (uint32_t factor : kFactors) {
            const size_t rowBytes = resample::RowBytes(kind, pixels), outRowsBytes = rowBytes * factor * factor;
            const Bytes image = RandomBytes(rowBytes * 7, factor);
            const Bytes whole = Enlarge(kind, factor, image, pixels);

            // A carried row of another width (the previous image) is replaced.
            CarryRow carry;
            const Bytes previous = RandomBytes(rowBytes, 99);
            Bytes pieces(whole.size());
            resample::EnlargeRows(kind, factor, {previous.data(), 3, 1}, pieces.data(), pieces.size(), carry);
            size_t row = 0;
            for (uint32_t n : blocks) {
                ASSERT_EQ(resample::EnlargeRows(kind, factor, {image.data() + row * rowBytes, pixels, n},
                                                pieces.data() + row * outRowsBytes, n * outRowsBytes, carry),
                          EnlargeStatus::kDone);
                row += n;
            }
            EXPECT_EQ(pieces, whole) << "kind " << int(kind) << " factor " << factor;

            // Released, the next image starts afresh even at the same width.
            resample::ReleaseCarryRow(carry);
            resample::EnlargeRows(kind, factor, {image.data(), pixels, 7}, pieces.data(), pieces.size(), carry);
            EXPECT_EQ(pieces, whole);
        }
}

TEST(EnlargeRows, RefusesWhatItCannotDo) {
    const Bytes image = RandomBytes(2 * 10, 3);
    Bytes out(image.size() * 4 - 1, 0xEE);
    CarryRow carry;
    EXPECT_EQ(resample::EnlargeRows(PixelKind::kGrey, 2, {image.data(), 10, 2}, out.data(), out.size(), carry),
              EnlargeStatus::kBadArguments);
    EXPECT_TRUE(carry.bytes.empty());
    EXPECT_EQ(out, Bytes(out.size(), 0xEE));
    out.resize(out.size() + 1);
    EXPECT_EQ(resample::EnlargeRows(PixelKind::kGrey, 3, {image.data(), 10, 2}, out.data(), out.size(), carry),
              EnlargeStatus::kBadArguments);
    EXPECT_EQ(resample::EnlargeRows(PixelKind::kGrey, 2, {out.data() + 8, 10, 2}, out.data(), out.size(), carry),
              EnlargeStatus::kBadArguments);
}

using resample::LineDoubling;

TEST(LineDoubling, OnlyBeyondWhatTheScannerDelivers) {
    // 600-dpi scanner, native 601 dpi: scanned at 600, doubled to 1200 and thinned.
    ASSERT_TRUE(resample::LineDoublingFor(601, 100, false, 600));
    EXPECT_EQ(resample::LineDoublingFor(601, 100, false, 600)->wanted, 60100u);
    EXPECT_EQ(resample::LineDoublingFor(601, 100, false, 600)->doubled, 120000u);
    EXPECT_FALSE(resample::LineDoublingFor(600, 100, false, 600));
    // Interpolated up to twice the optical resolution: the enlarger alone makes it.
    EXPECT_FALSE(resample::LineDoublingFor(1200, 100, true, 600));
    EXPECT_EQ(resample::LineDoublingFor(1800, 100, true, 600)->wanted, 90000u);
    // A 1200-dpi scanner delivers 601..1200 dpi itself.
    EXPECT_FALSE(resample::LineDoublingFor(1000, 100, false, 1000));
    EXPECT_FALSE(resample::LineDoublingFor(800, 150, false, 1200));
    EXPECT_EQ(resample::LineDoublingFor(1800, 100, false, 1200)->doubled, 240000u);
    EXPECT_FALSE(resample::LineDoublingFor(1200, 100, false, 0));

    // The doubled line is as wide as it gets: 2400 dpi wanted from 600 gives 1200.
    const LineDoubling beyond = *resample::LineDoublingFor(2400, 100, false, 600);
    EXPECT_EQ(resample::DoubledLinePixels(1000, beyond), 2000u);
    EXPECT_EQ(resample::DoubledLinePixels(1000, *resample::LineDoublingFor(900, 100, false, 600)), 1500u);
    // Scaling counts in hundredths: 1091 x 110 % is 1200.1 dpi, the doubled line.
    EXPECT_EQ(resample::DoubledLinePixels(7020, *resample::LineDoublingFor(1091, 110, false, 600)), 14040u);
}

TEST(DoubleLine, ThinsAsTheAccumulatorFromTheDoubledResolutionDoes) {
    // The rule literally on a 600-dpi scanner: walk the doubled line,
    // accumulator from 1200, up to the planned width.
    auto reference = [](const Bytes& line, uint32_t rate, size_t width) {
        Bytes kept;
        uint32_t accumulator = 1200;
        for (size_t i = 0; i < 2 * line.size(); ++i) {
            const size_t x = i / 2;
            const uint8_t value = i % 2 && x + 1 < line.size() ? uint8_t((line[x] + line[x + 1]) / 2) : line[x];
            if (rate + accumulator < 1200) {
                accumulator += rate;
            } else {
                accumulator += rate - 1200;
                if (kept.size() < width) kept.push_back(value);
            }
        }
        return kept;
    };
    const Bytes line = RandomBytes(700, 5);
    Bytes out(1400);
    for (uint16_t resolution = 601; resolution < 1200; resolution += 7) {
        const LineDoubling doubling = *resample::LineDoublingFor(resolution, 100, false, 600);
        const size_t width = resample::DoubleLine(PixelKind::kGrey, line.data(), 700, doubling, out.data(), out.size());
        ASSERT_EQ(width, resample::DoubledLinePixels(700, doubling));
        ASSERT_EQ(Bytes(out.begin(), out.begin() + width), reference(line, resolution, width)) << resolution;
        // Interpolated at twice the resolution, the line is thinned to the same half.
        Bytes halved(1400);
        const LineDoubling half = *resample::LineDoublingFor(2 * resolution, 100, true, 600);
        ASSERT_EQ(resample::DoubleLine(PixelKind::kGrey, line.data(), 700, half, halved.data(), halved.size()), width);
        ASSERT_TRUE(std::equal(out.begin(), out.begin() + width, halved.begin())) << resolution;
    }
}

TEST(DoubleLine, EachKind) {
    Bytes out(64, 0xEE);
    const LineDoubling whole{240000, 120000}, thinned{90000, 120000};
    // At twice the scanned resolution or more, the doubled line itself.
    EXPECT_EQ(resample::DoubleLine(PixelKind::kGrey, Bytes{10, 21, 30}.data(), 3, whole, out.data(), 6), 6u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 6), (Bytes{10, 15, 21, 25, 30, 30}));
    EXPECT_EQ(resample::DoubleLine(PixelKind::kGrey, Bytes{10, 21, 30}.data(), 3, whole, out.data(), 5), 0u);
    EXPECT_EQ(resample::DoubleLine(PixelKind::kColour, Bytes{10, 0, 200, 21, 255, 100}.data(), 2, whole, out.data(),
                                   out.size()),
              12u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 12), (Bytes{10, 0, 200, 15, 127, 150, 21, 255, 100, 21, 255, 100}));
    EXPECT_EQ(resample::DoubleLine(PixelKind::kLineArt, Bytes{0xA5}.data(), 8, whole, out.data(), 2), 2u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 2), (Bytes{0xCC, 0x33}));
    // 900 dpi keeps doubled bits 0-3, 5-7, 9-11, 13, 14 of 1111111100000000.
    EXPECT_EQ(resample::DoubleLine(PixelKind::kLineArt, Bytes{0xF0}.data(), 8, thinned, out.data(), 2), 2u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 2), (Bytes{0xFE, 0x00}));
    // An odd count of doubled line-art pixels ends in a partial byte, its unused bits zero.
    EXPECT_EQ(resample::DoubleLine(PixelKind::kLineArt, Bytes{0xFF}.data(), 8, thinned, out.data(), 2), 2u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 2), (Bytes{0xFF, 0xF0}));
}

}  // namespace
