#include "engine/buffer_sizing.h"

#include <gtest/gtest.h>

TEST(BufferSizing, DefaultDriverTakesTheImageUpToTheCap) {
    EXPECT_EQ(FirstBufferSize(300, 50, true, kScanBufferCap), 15000u);
    EXPECT_EQ(FirstBufferSize(300, 0, true, kScanBufferCap), 300u);  // at least one line
    EXPECT_EQ(FirstBufferSize(30000, 1000, true, kScanBufferCap), kScanBufferCap);
    EXPECT_EQ(FirstBufferSize(30000, 1000, true, kShadingBufferCap), kShadingBufferCap);
}

TEST(BufferSizing, OtherDriversGetWholeGranulesAboveTheFirst) {
    EXPECT_EQ(FirstBufferSize(300, 50, false, kScanBufferCap), kDriverGranule);
    // 200000 bytes: + 128 KB = 331072, down to 262144.
    EXPECT_EQ(FirstBufferSize(2000, 100, false, kScanBufferCap), 2 * kDriverGranule);
    EXPECT_EQ(FirstBufferSize(30000, 1000, false, kScanBufferCap), kScanBufferCap + kDriverGranule);
}

TEST(BufferSizing, ProductsBeyond32BitsDoNotWrap) {
    EXPECT_EQ(FirstBufferSize(65535, 65535, true, kScanBufferCap), kScanBufferCap);
}

TEST(BufferSizing, ShrinkingStopsAtTheFloor) {
    EXPECT_EQ(ShrunkBufferSize(1000, 300, true), 700u);
    EXPECT_EQ(ShrunkBufferSize(599, 300, true), 0u);  // would fall below one line
    EXPECT_EQ(ShrunkBufferSize(600, 300, true), 300u);
    EXPECT_EQ(ShrunkBufferSize(3 * kDriverGranule, 300, false), 2 * kDriverGranule);
    EXPECT_EQ(ShrunkBufferSize(kDriverGranule, 300, false), 0u);
    EXPECT_EQ(ShrunkBufferSize(1000, 0, true), 0u);
}

#include "engine/image_size.h"
#include "settings/scan_settings.h"

TEST(ImageSize, ByModeAndEffectiveResolution) {
    EXPECT_EQ(EstimateImageSize(kModeGray, 100, 100, 4.0, 3.0), 120000u);
    EXPECT_EQ(EstimateImageSize(kModeColour, 100, 100, 4.0, 3.0), 360000u);
    EXPECT_EQ(EstimateImageSize(kModeLineArt, 100, 100, 4.0, 3.0), 15000u);
    EXPECT_EQ(EstimateImageSize(kModeLineArt, 1, 100, 1.0, 1.0), 1u);  // 1 pixel is one byte
    EXPECT_EQ(EstimateImageSize(kModeGray, 300, 50, 2.0, 2.0), 90000u);  // 150 dpi effective
    EXPECT_EQ(EstimateImageSize(kModeColour, 9600, 400, 11.7, 17.0), 0xFFFFFFFFu);
}
