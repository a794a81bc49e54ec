#include "engine/image_info.h"

#include <gtest/gtest.h>

#include "twain/fix32.h"

namespace {

// The image as delivered: `width` x `length`, enlarged by `enlargement`.
ImageJob Job(uint32_t width, uint32_t length, uint32_t enlargement = 1, uint16_t optical = 600) {
    return ImageJob{width, length, enlargement, optical, false};
}

ScanSettings Settings(int persistedMode, uint16_t resolution) {
    ScanSettings s;
    SetPersistedScanMode(s, persistedMode);
    s.resolution = resolution;
    return s;
}

// The sizes themselves come from the processing plan (processing_plan_test).
TEST(ImageInfo, DeepColourHasSixteenBitsASample) {
    const auto d = ComputeImageInfo(Settings(1016, 300), Job(1200, 1000));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->ImageWidth, 1200);
    EXPECT_EQ(d->ImageLength, 1000);
    EXPECT_EQ(d->BitsPerPixel, 48);
    EXPECT_EQ(d->SamplesPerPixel, 3);
    EXPECT_EQ(d->BitsPerSample[2], 16);
    EXPECT_EQ(d->BitsPerSample[3], 0);
    EXPECT_EQ(d->PixelType, TWPT_RGB);
}

TEST(ImageInfo, PixelFormatsByMode) {
    struct Case {
        int mode;
        TW_INT16 samples, bits, pixelType;
    } cases[] = {{1011, 1, 1, TWPT_BW}, {1012, 1, 8, TWPT_GRAY}, {1013, 1, 8, TWPT_GRAY},
                 {1014, 3, 24, TWPT_RGB}, {1015, 4, 32, TWPT_CMYK}};
    for (const Case& c : cases) {
        const auto d = ComputeImageInfo(Settings(c.mode, 300), Job(800, 600));
        ASSERT_TRUE(d);
        EXPECT_EQ(d->SamplesPerPixel, c.samples);
        EXPECT_EQ(d->BitsPerPixel, c.bits);
        EXPECT_EQ(d->PixelType, c.pixelType);
        EXPECT_EQ(d->ImageWidth, 800);
        EXPECT_EQ(d->Planar, 0);
        EXPECT_EQ(d->Compression, TWCP_NONE);
    }
    ScanSettings unknown;
    unknown.scanMode = 1015;
    EXPECT_FALSE(ComputeImageInfo(unknown, Job(800, 600)));
}

TEST(ImageInfo, ReportedResolution) {
    ScanSettings halftone = Settings(1014, 300);
    halftone.destination = kDestHalftonePrinter;
    halftone.qualityFactor = 15;
    const auto h = ComputeImageInfo(halftone, Job(100, 100));
    EXPECT_EQ(h->XResolution.Whole, 450);
    EXPECT_EQ(h->XResolution.Frac, 0);
    EXPECT_EQ(h->YResolution.Whole, 450);

    ImageJob fax = Job(100, 100);
    fax.winFaxHost = true;
    EXPECT_EQ(ComputeImageInfo(Settings(1011, 198), fax)->XResolution.Whole, 200);
    EXPECT_EQ(ComputeImageInfo(Settings(1011, 198), Job(100, 100))->XResolution.Whole, 198);
    EXPECT_EQ(ComputeImageInfo(Settings(1011, 199), fax)->XResolution.Whole, 199);
}

TEST(ImageInfo, EnlargementByTheDpiScaleMultipliesTheResolution) {
    // 1200 dpi on a 600-dpi scanner is scanned at 600 and enlarged: by 2
    // without a dpi scale, by 4, 6, 8 with dpi scale 2, 3, 4.
    ScanSettings s = Settings(1013, 1200);
    EXPECT_EQ(ComputeImageInfo(s, Job(800, 200, 2))->XResolution.Whole, 1200);
    s.dpiScale = 2;
    EXPECT_EQ(ComputeImageInfo(s, Job(800, 200, 4))->XResolution.Whole, 2400);
    EXPECT_EQ(ComputeImageInfo(s, Job(800, 200, 8, 1200))->XResolution.Whole, 4800);
    // A dpi scale with nothing enlarged (a native transfer) changes nothing.
    EXPECT_EQ(ComputeImageInfo(s, Job(800, 200))->XResolution.Whole, 1200);
    EXPECT_EQ(ComputeImageInfo(s, Job(800, 200))->ImageWidth, 800);
}

TW_FRAME Frame(float left, float top, float right, float bottom) {
    return TW_FRAME{Fix32FromReal(left), Fix32FromReal(top), Fix32FromReal(right), Fix32FromReal(bottom)};
}

void ExpectFrame(const std::optional<ScanFrame>& f, uint16_t l, uint16_t t, uint16_t r, uint16_t b) {
    ASSERT_TRUE(f);
    EXPECT_EQ(f->left, l);
    EXPECT_EQ(f->top, t);
    EXPECT_EQ(f->right, r);
    EXPECT_EQ(f->bottom, b);
}

TEST(LayoutFrame, InchesTimesTheOpticalRate) {
    ExpectFrame(LayoutToOpticalFrame(Frame(1, 1, 3, 4), 600, 11.7, 17), 600, 600, 1800, 2400);
    ExpectFrame(LayoutToOpticalFrame(Frame(1, 1, 3, 4), 606, 11.7, 17), 1200, 1200, 3600, 4800);
    ExpectFrame(LayoutToOpticalFrame(Frame(0, 0, 0.5f, 0.5f), 800, 11.7, 17), 0, 0, 400, 400);
    ExpectFrame(LayoutToOpticalFrame(Frame(0.25f, 0, 1.001f, 1), 600, 11.7, 17), 150, 0, 600, 600);
}

TEST(LayoutFrame, EmptyLayoutUsesTheDefaultArea) {
    ExpectFrame(LayoutToOpticalFrame(Frame(0, 0, 0, 0), 600, 11.7, 17), 401, 0, 5102, 6968);
    ExpectFrame(LayoutToOpticalFrame(Frame(1, 1, 5, 0), 1200, 11.7, 17), 803, 0, 10204, 13937);
}

TEST(LayoutFrame, ClampsToTheMaximumAreaAndRefusesEmptyFrames) {
    ExpectFrame(LayoutToOpticalFrame(Frame(-1, -2, 20, 20), 600, 8.5, 11.5), 0, 0, 5100, 6900);
    EXPECT_FALSE(LayoutToOpticalFrame(Frame(5, 1, 3, 4), 600, 11.7, 17));      // inverted
    EXPECT_FALSE(LayoutToOpticalFrame(Frame(9, 1, 10, 4), 600, 8.5, 11.5));    // beyond the bed
    EXPECT_FALSE(LayoutToOpticalFrame(Frame(1, 1, 1.001f, 4), 600, 11.7, 17));  // under one unit
    EXPECT_FALSE(LayoutToOpticalFrame(Frame(1, 1, 3, 4), 0, 11.7, 17));        // unknown scanner
}

TEST(UnattendedResolution, ByNegotiatedIndex) {
    const uint16_t expected[] = {75, 100, 150, 200, 300, 400, 500, 600};
    for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(UnattendedResolution(i, false), expected[i]);
    EXPECT_EQ(UnattendedResolution(4, true), 200);
    EXPECT_EQ(UnattendedResolution(5, true), 400);
    EXPECT_EQ(UnattendedResolution(8, false), 300);
    EXPECT_EQ(UnattendedResolution(0xFFFFFFFF, true), 300);
}

}  // namespace
