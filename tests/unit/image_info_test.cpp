#include "twain/image_info.h"

#include <gtest/gtest.h>

#include "twain/fix32.h"

namespace {

ImageJob Job(uint32_t pixels, uint32_t lines, uint16_t optical = 600, bool interpolate = false) {
    return ImageJob{pixels, lines, interpolate, optical, 0, false};
}

ScanSettings Settings(int persistedMode, uint16_t resolution) {
    ScanSettings s;
    SetPersistedScanMode(s, persistedMode);
    s.resolution = resolution;
    return s;
}

TEST(ImageInfo, DeepColourReportsHalfTheDeliveredWidth) {
    const auto d = ComputeImageInfo(Settings(1016, 300), Job(2400, 1000));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->info.ImageWidth, 1200);
    EXPECT_EQ(d->info.ImageLength, 1000);
    EXPECT_EQ(d->info.BitsPerPixel, 48);
    EXPECT_EQ(d->info.SamplesPerPixel, 3);
    EXPECT_EQ(d->info.BitsPerSample[2], 16);
    EXPECT_EQ(d->info.BitsPerSample[3], 0);
    EXPECT_EQ(d->info.PixelType, TWPT_RGB);
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
        EXPECT_EQ(d->info.SamplesPerPixel, c.samples);
        EXPECT_EQ(d->info.BitsPerPixel, c.bits);
        EXPECT_EQ(d->info.PixelType, c.pixelType);
        EXPECT_EQ(d->info.ImageWidth, 800);
        EXPECT_EQ(d->info.Planar, 0);
        EXPECT_EQ(d->info.Compression, TWCP_NONE);
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
    EXPECT_EQ(h->info.XResolution.Whole, 450);
    EXPECT_EQ(h->info.XResolution.Frac, 0);
    EXPECT_EQ(h->info.YResolution.Whole, 450);

    ImageJob fax = Job(100, 100);
    fax.winFaxHost = true;
    EXPECT_EQ(ComputeImageInfo(Settings(1011, 198), fax)->info.XResolution.Whole, 200);
    EXPECT_EQ(ComputeImageInfo(Settings(1011, 198), Job(100, 100))->info.XResolution.Whole, 198);
    EXPECT_EQ(ComputeImageInfo(Settings(1011, 199), fax)->info.XResolution.Whole, 199);
}

TEST(ImageInfo, DpiScaleOverridesResolutionAndSize) {
    ScanSettings s = Settings(1013, 300);
    s.dpiScale = 2;
    const auto d = ComputeImageInfo(s, Job(100, 50, 600));
    EXPECT_EQ(d->info.XResolution.Whole, 2400);
    EXPECT_EQ(d->info.ImageWidth, 800);
    EXPECT_EQ(d->info.ImageLength, 200);
    EXPECT_EQ(ComputeImageInfo(s, Job(100, 50, 1200))->info.XResolution.Whole, 4800);
    EXPECT_EQ(ComputeImageInfo(s, Job(100, 50, 606))->info.XResolution.Whole, 300);
    s.dpiScale = 5;
    EXPECT_EQ(ComputeImageInfo(s, Job(100, 50, 600))->info.XResolution.Whole, 300);
    EXPECT_EQ(ComputeImageInfo(s, Job(100, 50, 600))->info.ImageWidth, 100);
}

TEST(ImageInfo, WidensLinesBeyond600Dpi) {
    // Native 1200 dpi on a 600 dpi scanner: the line is scanned at 600.
    const auto native = ComputeImageInfo(Settings(1013, 1200), Job(7000, 500));
    EXPECT_EQ(native->pixelsPerLine, 14000u);
    EXPECT_EQ(native->info.ImageWidth, 14000);
    EXPECT_EQ(native->info.ImageLength, 500);

    // Interpolated 2000 dpi: scanned at 1000, enlarged twice.
    const auto enlarged = ComputeImageInfo(Settings(1013, 2000), Job(600, 500, 1200, true));
    EXPECT_EQ(enlarged->pixelsPerLine, 1000u);
    EXPECT_EQ(enlarged->info.ImageWidth, 2000);
    EXPECT_EQ(enlarged->info.ImageLength, 1000);

    const auto plain = ComputeImageInfo(Settings(1013, 600), Job(600, 500));
    EXPECT_EQ(plain->pixelsPerLine, 600u);
}

TEST(ImageInfo, DescreenPassGivesTheLength) {
    ScanSettings s = Settings(1013, 150);
    s.descreenActive = true;
    ImageJob job = Job(600, 1200);
    job.descreenLines = 610;
    EXPECT_EQ(ComputeImageInfo(s, job)->info.ImageLength, 610);
    s.resolution = 300;
    EXPECT_EQ(ComputeImageInfo(s, job)->info.ImageLength, 1200);
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
