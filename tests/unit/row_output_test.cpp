#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "engine/row_output.h"

using namespace rowoutput;

TEST(FileFormatMap, OnlyTiffAndBmpLayoutsHaveWriters) {
    // TIFF, PICT, BMP, XBM, JFIF, FPX, multi-page TIFF, PNG, then unknown.
    const FileLayout expected[] = {FileLayout::kTiff, FileLayout::kNone, FileLayout::kBmp, FileLayout::kNone,
                                   FileLayout::kNone, FileLayout::kNone, FileLayout::kTiff, FileLayout::kTiff,
                                   FileLayout::kNone};
    for (uint16_t format = 0; format < 9; ++format) EXPECT_EQ(LayoutForFormat(format), expected[format]) << format;
    EXPECT_EQ(LayoutForFormat(0xFFFF), FileLayout::kNone);
}

TEST(EmitRow, ColourBitmapRowIsBlueGreenRedAndPadded) {
    // Two pixels, 6 bytes, padded to 8; the padding of a reused buffer is cleared.
    const std::vector<uint8_t> line = {1, 2, 3, 4, 5, 6};
    std::vector<uint8_t> row(8, 0xEE);
    EmitRow(line.data(), row.data(), BitmapRow(6, 8, true));
    EXPECT_EQ(row, (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 0, 0}));
}

TEST(EmitRow, GreyBitmapRowAndScannerOrderRowAreCopies) {
    const std::vector<uint8_t> line = {9, 8, 7, 6, 5};
    std::vector<uint8_t> row(8, 0xEE);
    EmitRow(line.data(), row.data(), BitmapRow(5, 8, false));
    EXPECT_EQ(row, (std::vector<uint8_t>{9, 8, 7, 6, 5, 0, 0, 0}));

    // Memory blocks and TIFF rows keep colour as the scanner sends it and add
    // nothing after the line.
    const std::vector<uint8_t> colour = {1, 2, 3, 4, 5, 6};
    std::vector<uint8_t> out(7, 0xEE);
    EmitRow(colour.data(), out.data(), ScannerOrderRow(6));
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0xEE}));
}

TEST(EmitRow, ColourPassRunsInScannerOrderBeforeTheSwap) {
    // Saturation -100: each pixel becomes 0.3086 x byte 0 + 0.6094 x byte 1 +
    // 0.0820 x byte 2 of the scanner's line (red first), whatever the row's order.
    ToneSettings tone;
    tone.saturation = -100;
    colour::ColourTables tables;
    ASSERT_TRUE(colour::PrepareColourPass(tone, kModeColour, colour::PixelOrder::kRgb, nullptr, tables));
    const std::vector<uint8_t> line = {200, 0, 0, 0, 0, 200};
    std::vector<uint8_t> rgb(6), bgr(8, 0xEE);
    EmitRow(line.data(), rgb.data(), ScannerOrderRow(6, &tables));
    EmitRow(line.data(), bgr.data(), BitmapRow(6, 8, true, &tables));
    EXPECT_EQ(rgb, (std::vector<uint8_t>{61, 61, 61, 16, 16, 16}));
    EXPECT_EQ(bgr, (std::vector<uint8_t>{61, 61, 61, 16, 16, 16, 0, 0}));

    // Red balance moves red and blue apart: the swap follows the pass.
    tone.saturation = 0;
    tone.pixelRGB = {250, 0, 0, 0};
    ASSERT_TRUE(colour::PrepareColourPass(tone, kModeColour, colour::PixelOrder::kRgb, nullptr, tables));
    const std::vector<uint8_t> grey = {100, 100, 100};
    std::vector<uint8_t> passed(3), swapped(4);
    EmitRow(grey.data(), passed.data(), ScannerOrderRow(3, &tables));
    EmitRow(grey.data(), swapped.data(), BitmapRow(3, 4, true, &tables));
    EXPECT_GT(passed[0], passed[2]);
    EXPECT_EQ(swapped, (std::vector<uint8_t>{passed[2], passed[1], passed[0], 0}));

    // The default settings change nothing.
    EXPECT_FALSE(colour::PrepareColourPass(ToneSettings{}, kModeColour, colour::PixelOrder::kRgb, nullptr, tables));
}

TEST(RowsThatFit, HostBufferDividedByRowLessTwoForLineArt) {
    EXPECT_EQ(RowsThatFit(65536, 1200, false), 54);
    EXPECT_EQ(RowsThatFit(65536, 1200, true), 52);
    EXPECT_EQ(RowsThatFit(1199, 1200, false), 0);
    // A buffer of one or two line-art rows takes none: negative, not a huge
    // unsigned count.
    EXPECT_EQ(RowsThatFit(100, 100, true), -1);
    EXPECT_EQ(RowsThatFit(0, 100, true), -2);
    EXPECT_EQ(RowsThatFit(100, 0, false), 0);
    EXPECT_EQ(RowsThatFit(std::numeric_limits<uint32_t>::max(), 1, false),
              int64_t{std::numeric_limits<uint32_t>::max()});
}

TEST(BottomUpRowOffset, FirstScannedRowIsStoredLast) {
    // 3 rows of 12 bytes after a 1078-byte header.
    EXPECT_EQ(BottomUpRowOffset(1078, 3, 12, 0), 1078u + 24);
    EXPECT_EQ(BottomUpRowOffset(1078, 3, 12, 2), 1078u);
    // Offsets beyond 4 GB do not wrap.
    EXPECT_EQ(BottomUpRowOffset(1u << 20, 65535, 65535, 0), (1u << 20) + uint64_t{65534} * 65535);
}
