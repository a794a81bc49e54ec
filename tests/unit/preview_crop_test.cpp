#include "engine/preview_crop.h"

#include <gtest/gtest.h>

using namespace preview;

namespace {

// A 60 x 40 picture over a 30 x 20 unit bed (2 pixels per unit) whose pixel
// at column x, row y from the top holds blue x, green y, red 7.
struct Picture {
    PreviewBitmap bitmap{60, 40, 180, 10};
    std::vector<uint8_t> bytes = std::vector<uint8_t>(10 + 180 * 40, 0);

    Picture() {
        for (uint32_t y = 0; y < 40; ++y)
            for (uint32_t x = 0; x < 60; ++x) {
                uint8_t* p = &bytes[10 + (39 - y) * 180 + x * 3];
                p[0] = static_cast<uint8_t>(x);
                p[1] = static_cast<uint8_t>(y);
                p[2] = 7;
            }
    }
};

}  // namespace

TEST(PreviewCrop, CopiesThePixelsUnderTheFrameBottomRowFirst) {
    const Picture picture;
    Crop crop;
    // Units 5..25 x 2..18 are pixels 10..50 x 4..36: 40 x 32, rows of 120 bytes.
    ASSERT_TRUE(CropUnderFrame(picture.bytes, picture.bitmap, {30, 20}, {25, 18, 5, 2}, crop));
    EXPECT_EQ(crop.width, 40u);
    EXPECT_EQ(crop.height, 32u);
    EXPECT_EQ(crop.rowBytes, 120u);
    ASSERT_EQ(crop.pixels.size(), 120u * 32);
    // First stored row: the lowest, picture row 35; its first pixel column 10.
    EXPECT_EQ(crop.pixels[0], 10);
    EXPECT_EQ(crop.pixels[1], 35);
    EXPECT_EQ(crop.pixels[2], 7);
    // Last row, last pixel: picture row 4, column 49.
    const uint8_t* last = &crop.pixels[31 * 120 + 39 * 3];
    EXPECT_EQ(last[0], 49);
    EXPECT_EQ(last[1], 4);
}

TEST(PreviewCrop, NoCropWithoutAPictureOrUnder1500Bytes) {
    const Picture picture;
    Crop crop;
    crop.width = 99;
    EXPECT_FALSE(CropUnderFrame({}, PreviewBitmap{}, {30, 20}, {0, 0, 30, 20}, crop));
    // 12 x 10 units: 24 x 20 pixels, 72 x 20 = 1440 bytes.
    EXPECT_FALSE(CropUnderFrame(picture.bytes, picture.bitmap, {30, 20}, {0, 0, 12, 10}, crop));
    EXPECT_EQ(crop.width, 99u);
    // 13 x 10 units: rows of 78 padded to 80 bytes, 1600 bytes.
    EXPECT_TRUE(CropUnderFrame(picture.bytes, picture.bitmap, {30, 20}, {0, 0, 13, 10}, crop));
    EXPECT_EQ(crop.rowBytes, 80u);
    // A frame beyond the bed is cut at its edges.
    // Units 10..30 x 5..20: 40 x 30 pixels.
    EXPECT_TRUE(CropUnderFrame(picture.bytes, picture.bitmap, {30, 20}, {10, 5, 60, 90}, crop));
    EXPECT_EQ(crop.width, 40u);
    EXPECT_EQ(crop.height, 30u);
}
