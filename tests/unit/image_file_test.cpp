// The files twscan writes from what a source hands it, and its checks of the
// memory blocks and bitmaps it receives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hostkit/image_file.h"
#include "hostkit/memory_block.h"

namespace {

using namespace imagefile;

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}
uint16_t U16(const std::vector<uint8_t>& bytes, size_t at) { return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8); }

// The value of a TIFF directory entry with this tag (SHORT or LONG), or of the
// first item it points at when it has several; -1 when there is none.
int64_t TiffTag(const std::vector<uint8_t>& file, uint16_t tag) {
    const uint32_t directory = U32(file, 4);
    const uint16_t count = U16(file, directory);
    for (uint16_t i = 0; i < count; ++i) {
        const size_t entry = directory + 2 + 12 * size_t{i};
        if (U16(file, entry) != tag) continue;
        const uint16_t type = U16(file, entry + 2);
        const uint32_t items = U32(file, entry + 4);
        if (type == 5 || items > 1) {
            const uint32_t at = U32(file, entry + 8);
            return type == 3 ? U16(file, at) : U32(file, at);
        }
        return type == 3 ? U16(file, entry + 8) : U32(file, entry + 8);
    }
    return -1;
}

TW_IMAGEINFO Info(TW_INT16 pixelType, TW_INT16 samples, TW_INT16 bits, TW_INT32 width, TW_INT32 length) {
    TW_IMAGEINFO info{};
    info.XResolution = {100, 0};
    info.YResolution = {100, 0};
    info.ImageWidth = width;
    info.ImageLength = length;
    info.SamplesPerPixel = samples;
    info.BitsPerPixel = bits;
    info.PixelType = pixelType;
    return info;
}

TEST(ImageFileTest, ShapesOfTheThreeKindsAndRefusedDescriptions) {
    ImageShape shape;
    std::string error;
    ASSERT_TRUE(ShapeFromImageInfo(Info(TWPT_RGB, 3, 24, 400, 300), shape, error)) << error;
    EXPECT_EQ(shape.width, 400u);
    EXPECT_EQ(shape.height, 300u);
    EXPECT_EQ(shape.bitsPerPixel, 24);
    EXPECT_EQ(shape.resolution, 100u);
    EXPECT_EQ(PackedRowBytes(shape), 1200u);
    ASSERT_TRUE(ShapeFromImageInfo(Info(TWPT_BW, 1, 1, 13, 2), shape, error)) << error;
    EXPECT_EQ(PackedRowBytes(shape), 2u);
    ASSERT_TRUE(ShapeFromImageInfo(Info(TWPT_GRAY, 1, 8, 5, 2), shape, error)) << error;

    ASSERT_TRUE(ShapeFromImageInfo(Info(TWPT_CMYK, 4, 32, 10, 2), shape, error)) << error;
    EXPECT_EQ(PackedRowBytes(shape), 40u);
    ASSERT_TRUE(ShapeFromImageInfo(Info(TWPT_RGB, 3, 48, 10, 2), shape, error)) << error;
    EXPECT_EQ(PackedRowBytes(shape), 60u);

    EXPECT_FALSE(ShapeFromImageInfo(Info(TWPT_CMYK, 4, 24, 10, 10), shape, error));
    EXPECT_EQ(error, "TWPT_CMYK with 4 samples of 24 bits per pixel is not an image twscan can write");
    EXPECT_FALSE(ShapeFromImageInfo(Info(TWPT_CMY, 3, 24, 10, 10), shape, error));
    EXPECT_FALSE(ShapeFromImageInfo(Info(TWPT_GRAY, 1, 1, 10, 10), shape, error));
    EXPECT_FALSE(ShapeFromImageInfo(Info(TWPT_GRAY, 1, 8, 0, 10), shape, error));
    EXPECT_EQ(error, "the source describes an image of 0 x 10 pixels");
    EXPECT_FALSE(ShapeFromImageInfo(Info(TWPT_GRAY, 1, 8, 10, -1), shape, error));
    TW_IMAGEINFO planar = Info(TWPT_RGB, 3, 24, 10, 10);
    planar.Planar = 1;
    EXPECT_FALSE(ShapeFromImageInfo(planar, shape, error));
    TW_IMAGEINFO compressed = Info(TWPT_BW, 1, 1, 10, 10);
    compressed.Compression = 5;
    EXPECT_FALSE(ShapeFromImageInfo(compressed, shape, error));
}

TEST(ImageFileTest, ColourTiffIsOneStripOfRgbRowsWithItsResolution) {
    ImageFileLayout layout;
    std::string error;
    ASSERT_TRUE(PlanImageFile({3, 2, 24, 150}, ImageFormat::kTiff, layout, error)) << error;
    const std::vector<uint8_t>& h = layout.header;
    EXPECT_EQ(std::string(h.begin(), h.begin() + 4), std::string("II*\0", 4));
    EXPECT_EQ(TiffTag(h, 256), 3);    // ImageWidth
    EXPECT_EQ(TiffTag(h, 257), 2);    // ImageLength
    EXPECT_EQ(TiffTag(h, 258), 8);    // BitsPerSample, first of three
    EXPECT_EQ(TiffTag(h, 259), 1);    // no compression
    EXPECT_EQ(TiffTag(h, 262), 2);    // RGB
    EXPECT_EQ(TiffTag(h, 273), static_cast<int64_t>(h.size()));  // the strip follows the header
    EXPECT_EQ(TiffTag(h, 277), 3);
    EXPECT_EQ(TiffTag(h, 278), 2);
    EXPECT_EQ(TiffTag(h, 279), 18);   // unpadded rows
    EXPECT_EQ(TiffTag(h, 282), 150);
    EXPECT_EQ(TiffTag(h, 283), 150);
    EXPECT_EQ(TiffTag(h, 296), 2);    // inches
    EXPECT_EQ(layout.rowBytes, 9u);
    EXPECT_EQ(RowOffset(layout, 0), h.size());
    EXPECT_EQ(RowOffset(layout, 1), h.size() + 9);

    // Rows go out as the source delivered them.
    const uint8_t row[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    uint8_t out[9] = {};
    MakeFileRow(layout, row, out);
    EXPECT_EQ(std::memcmp(row, out, 9), 0);
}

TEST(ImageFileTest, CmykTiffIsSeparatedInkAndDeepColourHas16BitSamples) {
    ImageFileLayout layout;
    std::string error;
    ASSERT_TRUE(PlanImageFile({2, 1, 32, 100}, ImageFormat::kTiff, layout, error)) << error;
    const std::vector<uint8_t>& h = layout.header;
    EXPECT_EQ(TiffTag(h, 258), 8);  // BitsPerSample, first of four
    EXPECT_EQ(U32(h, 10 + 2 * 12 + 4), 4u);  // ... and there are four
    EXPECT_EQ(TiffTag(h, 262), 5);  // separated
    EXPECT_EQ(TiffTag(h, 277), 4);
    EXPECT_EQ(TiffTag(h, 279), 8);
    EXPECT_EQ(TiffTag(h, 282), 100);
    EXPECT_EQ(TiffTag(h, 273), static_cast<int64_t>(h.size()));
    // The source sends 255 - ink; the file holds ink.
    const uint8_t sent[8] = {255, 0, 200, 55, 1, 2, 3, 4};
    uint8_t ink[8] = {};
    MakeFileRow(layout, sent, ink);
    EXPECT_EQ(std::vector<uint8_t>(ink, ink + 8), (std::vector<uint8_t>{0, 255, 55, 200, 254, 253, 252, 251}));

    ASSERT_TRUE(PlanImageFile({2, 3, 48, 100}, ImageFormat::kTiff, layout, error)) << error;
    EXPECT_EQ(TiffTag(layout.header, 258), 16);
    EXPECT_EQ(TiffTag(layout.header, 262), 2);
    EXPECT_EQ(TiffTag(layout.header, 277), 3);
    EXPECT_EQ(TiffTag(layout.header, 279), 36);
    const uint8_t samples[12] = {0xC0, 0xAB, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    uint8_t row[12] = {};
    MakeFileRow(layout, samples, row);
    EXPECT_EQ(std::memcmp(samples, row, 12), 0);

    // Neither has a BMP layout.
    EXPECT_FALSE(PlanImageFile({2, 1, 32, 100}, ImageFormat::kBmp, layout, error));
    EXPECT_EQ(error, "a CMYK image has no BMP layout; write it as TIFF (--format tiff)");
    EXPECT_FALSE(PlanImageFile({2, 1, 48, 100}, ImageFormat::kBmp, layout, error));
    EXPECT_EQ(error, "a 48-bit colour image has no BMP layout; write it as TIFF (--format tiff)");
}

TEST(ImageFileTest, GreyAndLineArtTiffAreMinIsBlack) {
    ImageFileLayout layout;
    std::string error;
    ASSERT_TRUE(PlanImageFile({13, 4, 1, 0}, ImageFormat::kTiff, layout, error)) << error;
    EXPECT_EQ(TiffTag(layout.header, 258), 1);
    EXPECT_EQ(TiffTag(layout.header, 262), 1);
    EXPECT_EQ(TiffTag(layout.header, 277), 1);
    EXPECT_EQ(TiffTag(layout.header, 279), 8);   // 2 bytes per row
    EXPECT_EQ(TiffTag(layout.header, 282), 72);  // no resolution reported
    ASSERT_TRUE(PlanImageFile({5, 1, 8, 300}, ImageFormat::kTiff, layout, error)) << error;
    EXPECT_EQ(TiffTag(layout.header, 258), 8);
    EXPECT_EQ(TiffTag(layout.header, 262), 1);
    EXPECT_EQ(TiffTag(layout.header, 273), static_cast<int64_t>(layout.header.size()));
}

TEST(ImageFileTest, BmpIsBottomUpWithPaddedBgrRows) {
    ImageFileLayout layout;
    std::string error;
    ASSERT_TRUE(PlanImageFile({3, 2, 24, 100}, ImageFormat::kBmp, layout, error)) << error;
    const std::vector<uint8_t>& h = layout.header;
    ASSERT_EQ(h.size(), 54u);
    EXPECT_EQ(h[0], 'B');
    EXPECT_EQ(h[1], 'M');
    EXPECT_EQ(U32(h, 2), 54u + 2 * 12);  // bfSize
    EXPECT_EQ(U32(h, 10), 54u);          // bfOffBits
    EXPECT_EQ(U32(h, 14), 40u);
    EXPECT_EQ(U32(h, 18), 3u);
    EXPECT_EQ(U32(h, 22), 2u);  // positive: bottom-up
    EXPECT_EQ(U16(h, 28), 24);
    EXPECT_EQ(U32(h, 30), 0u);  // BI_RGB
    EXPECT_EQ(U32(h, 34), 24u);
    EXPECT_EQ(U32(h, 38), 3937u);  // 100 dpi in pixels per metre
    EXPECT_EQ(layout.rowBytes, 12u);
    // The first row of the image is the last of the file.
    EXPECT_EQ(RowOffset(layout, 0), 54u + 12);
    EXPECT_EQ(RowOffset(layout, 1), 54u);

    const uint8_t rgb[9] = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    uint8_t row[12];
    std::memset(row, 0xEE, sizeof row);
    MakeFileRow(layout, rgb, row);
    const uint8_t bgr[12] = {30, 20, 10, 60, 50, 40, 90, 80, 70, 0, 0, 0};
    EXPECT_EQ(std::memcmp(row, bgr, 12), 0);
}

TEST(ImageFileTest, BmpPalettesOfLineArtAndGrey) {
    ImageFileLayout layout;
    std::string error;
    ASSERT_TRUE(PlanImageFile({33, 1, 1, 100}, ImageFormat::kBmp, layout, error)) << error;
    ASSERT_EQ(layout.header.size(), 54u + 8);
    EXPECT_EQ(U32(layout.header, 10), 62u);
    EXPECT_EQ(U32(layout.header, 46), 2u);  // biClrUsed
    EXPECT_EQ(U32(layout.header, 54), 0x000000u);  // 0: black
    EXPECT_EQ(U32(layout.header, 58), 0xFFFFFFu);  // 1: white
    EXPECT_EQ(layout.rowBytes, 8u);  // 5 bytes padded
    const uint8_t bits[5] = {0xF0, 0x0F, 0xAA, 0x55, 0x80};
    uint8_t row[8];
    MakeFileRow(layout, bits, row);
    const uint8_t expected[8] = {0xF0, 0x0F, 0xAA, 0x55, 0x80, 0, 0, 0};
    EXPECT_EQ(std::memcmp(row, expected, 8), 0);  // bits stay as they are: a set bit is white

    ASSERT_TRUE(PlanImageFile({4, 1, 8, 100}, ImageFormat::kBmp, layout, error)) << error;
    ASSERT_EQ(layout.header.size(), 54u + 1024);
    EXPECT_EQ(layout.rowBytes, 4u);
    EXPECT_EQ(U32(layout.header, 54 + 4 * 0x80), 0x808080u);
    EXPECT_EQ(U32(layout.header, 54 + 4 * 255), 0xFFFFFFu);
}

TEST(ImageFileTest, FilesOf4GigabytesAreRefused) {
    ImageFileLayout layout;
    std::string error;
    // 65536 x 65536 x 3 bytes.
    EXPECT_FALSE(PlanImageFile({65536, 65536, 24, 600}, ImageFormat::kTiff, layout, error));
    EXPECT_FALSE(PlanImageFile({65536, 65536, 24, 600}, ImageFormat::kBmp, layout, error));
    EXPECT_FALSE(PlanImageFile({0x7FFFFFFF, 0x7FFFFFFF, 24, 600}, ImageFormat::kTiff, layout, error));
    EXPECT_FALSE(PlanImageFile({10, 10, 16, 600}, ImageFormat::kBmp, layout, error));
    EXPECT_FALSE(PlanImageFile({0, 10, 8, 600}, ImageFormat::kBmp, layout, error));
    EXPECT_TRUE(PlanImageFile({20000, 20000, 8, 600}, ImageFormat::kTiff, layout, error)) << error;
}

// A packed bitmap: BITMAPINFOHEADER, palette, pixels.
std::vector<uint8_t> Dib(int32_t width, int32_t height, uint16_t bits, uint32_t colorsUsed, size_t extra = 0) {
    const uint32_t entries = colorsUsed ? colorsUsed : bits <= 8 ? 1u << bits : 0;
    const size_t rowBytes = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    std::vector<uint8_t> dib(40 + 4 * entries + rowBytes * static_cast<size_t>(height < 0 ? -height : height) + extra);
    auto put32 = [&dib](size_t at, uint32_t v) { std::memcpy(&dib[at], &v, 4); };
    put32(0, 40);
    put32(4, static_cast<uint32_t>(width));
    put32(8, static_cast<uint32_t>(height));
    dib[12] = 1;
    dib[14] = static_cast<uint8_t>(bits);
    put32(32, colorsUsed);
    return dib;
}

TEST(ImageFileTest, NativeBitmapGetsAFileHeaderAfterItsChecks) {
    std::vector<uint8_t> header;
    DibExtent extent;
    std::string error;
    std::vector<uint8_t> grey = Dib(5, 3, 8, 256, 16);  // GlobalSize may round up
    ASSERT_TRUE(BmpFileHeaderForDib(grey.data(), grey.size(), header, extent, error)) << error;
    ASSERT_EQ(header.size(), 14u);
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(extent.bytes, grey.size() - 16);
    EXPECT_EQ(U32(header, 2), 14 + extent.bytes);
    EXPECT_EQ(U32(header, 10), 14u + 40 + 1024);
    EXPECT_EQ(extent.width, 5u);
    EXPECT_EQ(extent.height, 3u);

    std::vector<uint8_t> lineArt = Dib(33, -2, 1, 0);  // top-down, palette size implied
    ASSERT_TRUE(BmpFileHeaderForDib(lineArt.data(), lineArt.size(), header, extent, error)) << error;
    EXPECT_EQ(U32(header, 10), 14u + 40 + 8);
    EXPECT_EQ(extent.height, 2u);
    std::vector<uint8_t> colour = Dib(3, 2, 24, 0);
    ASSERT_TRUE(BmpFileHeaderForDib(colour.data(), colour.size(), header, extent, error)) << error;
    EXPECT_EQ(U32(header, 10), 54u);
    EXPECT_EQ(extent.bytes, 40u + 24);

    // One byte short of its pixels.
    std::vector<uint8_t> shortDib = Dib(5, 3, 8, 256);
    EXPECT_FALSE(BmpFileHeaderForDib(shortDib.data(), shortDib.size() - 1, header, extent, error));
    EXPECT_EQ(error, "the bitmap holds 1087 bytes, its header describes 1088");
    EXPECT_FALSE(BmpFileHeaderForDib(shortDib.data(), 39, header, extent, error));
    // A palette larger than the depth allows, a header size beyond the block, compression.
    std::vector<uint8_t> bad = Dib(5, 3, 8, 257);
    EXPECT_FALSE(BmpFileHeaderForDib(bad.data(), bad.size(), header, extent, error));
    bad = Dib(5, 3, 8, 0);
    bad[0] = 0xFF;
    bad[1] = 0xFF;
    EXPECT_FALSE(BmpFileHeaderForDib(bad.data(), bad.size(), header, extent, error));
    bad = Dib(5, 3, 8, 0);
    bad[16] = 1;  // BI_RLE8
    EXPECT_FALSE(BmpFileHeaderForDib(bad.data(), bad.size(), header, extent, error));
    bad = Dib(5, 3, 8, 0);
    bad[14] = 7;
    EXPECT_FALSE(BmpFileHeaderForDib(bad.data(), bad.size(), header, extent, error));
    // A width that would wrap the row arithmetic in 32 bits.
    bad = Dib(1, 1, 24, 0);
    bad[4] = bad[5] = bad[6] = 0xFF;
    bad[7] = 0x7F;
    EXPECT_FALSE(BmpFileHeaderForDib(bad.data(), bad.size(), header, extent, error));
}

TEST(MemoryBlockTest, BufferSizeFollowsTheSourcesWishWithinLimits) {
    EXPECT_EQ(MemoryBufferSize({65536, 65536, 65536}), 65536u);
    EXPECT_EQ(MemoryBufferSize({1000, 200000, 100000}), 100000u);
    EXPECT_EQ(MemoryBufferSize({1000, 0xFFFFFFFF, 0xFFFFFFFF}), 65536u);  // don't care
    EXPECT_EQ(MemoryBufferSize({0, 4096, 0}), 4096u);                      // no wish, a small maximum
    EXPECT_EQ(MemoryBufferSize({200000, 0xFFFFFFFF, 0}), 200000u);         // at least the minimum
    EXPECT_EQ(MemoryBufferSize({0, 0xFFFFFFFF, 0x80000000}), 64u << 20);   // never above 64 MB
}

TW_IMAGEMEMXFER Block(uint32_t yOffset, uint32_t rows, uint32_t bytesPerRow, uint32_t columns = 400) {
    TW_IMAGEMEMXFER block{};
    block.Compression = TWCP_NONE;
    block.BytesPerRow = bytesPerRow;
    block.Columns = columns;
    block.Rows = rows;
    block.YOffset = yOffset;
    block.BytesWritten = rows * bytesPerRow;
    return block;
}

TEST(MemoryBlockTest, AcceptsWholeRowsInOrderAndRefusesTheRest) {
    const ImageShape colour{400, 300, 24, 100};
    std::string error;
    EXPECT_TRUE(CheckMemoryBlock(Block(0, 54, 1200), colour, 65536, 0, false, error)) << error;
    EXPECT_TRUE(CheckMemoryBlock(Block(270, 30, 1200), colour, 65536, 270, true, error)) << error;
    EXPECT_TRUE(CheckMemoryBlock(Block(54, 10, 1204), colour, 65536, 54, false, error)) << error;  // padded rows
    EXPECT_TRUE(CheckMemoryBlock(Block(300, 0, 1200), colour, 65536, 300, true, error)) << error;  // empty last

    EXPECT_FALSE(CheckMemoryBlock(Block(60, 54, 1200), colour, 65536, 54, false, error));
    EXPECT_EQ(error, "a block starts at row 60, the next row is 54");
    EXPECT_FALSE(CheckMemoryBlock(Block(270, 31, 1200), colour, 65536, 270, true, error));
    EXPECT_EQ(error, "a block's 31 rows from row 270 run past the image's 300 rows");
    EXPECT_FALSE(CheckMemoryBlock(Block(0, 10, 1199), colour, 65536, 0, false, error));
    EXPECT_EQ(error, "a block has rows of 1199 bytes, an image row needs 1200");
    EXPECT_FALSE(CheckMemoryBlock(Block(0, 10, 1200, 200), colour, 65536, 0, false, error));
    EXPECT_FALSE(CheckMemoryBlock(Block(0, 0, 1200), colour, 65536, 0, false, error));
    EXPECT_EQ(error, "a block holds no rows");
    EXPECT_FALSE(CheckMemoryBlock(Block(0, 60, 1200), colour, 65536, 0, false, error));  // 72000 > 65536
    TW_IMAGEMEMXFER understated = Block(0, 10, 1200);
    understated.BytesWritten = 10 * 1200 - 1;
    EXPECT_FALSE(CheckMemoryBlock(understated, colour, 65536, 0, false, error));
    TW_IMAGEMEMXFER offset = Block(0, 10, 1200);
    offset.XOffset = 8;
    EXPECT_FALSE(CheckMemoryBlock(offset, colour, 65536, 0, false, error));
    TW_IMAGEMEMXFER compressed = Block(0, 10, 1200);
    compressed.Compression = 5;
    EXPECT_FALSE(CheckMemoryBlock(compressed, colour, 65536, 0, false, error));
    // Rows times bytes per row beyond 32 bits.
    EXPECT_FALSE(CheckMemoryBlock(Block(0, 65536, 65536 * 2), ImageShape{400, 100000, 24, 100}, 65536, 0, false,
                                  error));
}

}  // namespace
