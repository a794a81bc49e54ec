#include "engine/scan_area.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The default frame (78, 81, 150, 145: 72 x 64 units, 2.4 x 2.1333 inches)
// on the A3 bed at 300 dpi, 100 %, 24-bit colour, in inches.
ScanAreaInput DefaultArea() {
    ScanAreaInput in;
    const uint16_t frame[4] = {78, 81, 150, 145};
    std::copy(frame, frame + 4, in.frame);
    in.maxAreaWidth = 11.7f;
    in.maxAreaLength = 17.0f;
    in.resolution = 300;
    in.scaling = 100;
    in.opticalResolution = 600;
    in.scanMode = 1014;
    return in;
}

TEST(ScanArea, DefaultFrameInEveryUnit) {
    ScanAreaInput in = DefaultArea();
    ScanAreaFigures f = ComputeScanAreaFigures(in);
    ASSERT_TRUE(f.valid);
    EXPECT_EQ(f.effectiveResolution, 300u);
    EXPECT_EQ(f.widthPixels, 720u);   // 72 units x 300 / 30
    EXPECT_EQ(f.lengthPixels, 640u);  // 64 units x 300 / 30
    EXPECT_EQ(f.imageBytes, 720u * 640u * 3u);
    EXPECT_EQ(f.widthText, "2.40");
    EXPECT_EQ(f.lengthText, "2.13");
    EXPECT_EQ(f.sizeText, "1350.00");

    in.scaling = 200;  // the output is twice as large; W and L stay the scanned area
    const char* expected[4][2] = {{"4.80", "4.27"}, {"1440", "1280"}, {"12.19", "10.84"}, {"121.92", "108.37"}};
    for (uint32_t unit = 0; unit < 4; ++unit) {
        in.unit = unit;
        f = ComputeScanAreaFigures(in);
        EXPECT_EQ(f.widthText, expected[unit][0]) << unit;
        EXPECT_EQ(f.lengthText, expected[unit][1]) << unit;
        EXPECT_DOUBLE_EQ(f.widthInches, 2.4);
    }
}

TEST(ScanArea, BytesPerModeFromWholePixels) {
    ScanAreaInput in = DefaultArea();
    in.resolution = 30;  // one pixel per preview unit
    const uint16_t frame[4] = {10, 10, 19, 21};  // 9 x 11 pixels
    std::copy(frame, frame + 4, in.frame);
    in.scanMode = 1013;
    EXPECT_EQ(ComputeScanAreaFigures(in).imageBytes, 99u);
    in.scanMode = 1012;
    EXPECT_EQ(ComputeScanAreaFigures(in).imageBytes, 99u);
    in.scanMode = 1011;
    EXPECT_EQ(ComputeScanAreaFigures(in).imageBytes, 13u);  // (99 + 7) / 8
    in.scanMode = 1014;
    EXPECT_EQ(ComputeScanAreaFigures(in).imageBytes, 297u);

    // 800 dpi at 328 % is 2624 dpi: 343 units give 343 x 2624 / 30 = 30001.06.
    in.resolution = 800;
    in.scaling = 328;
    in.frame[0] = 0;
    in.frame[2] = 343;
    EXPECT_EQ(ComputeScanAreaFigures(in).widthPixels, 30001u);
}

TEST(ScanArea, WholeBedAt9600DpiNeedsMoreThan32Bits) {
    ScanAreaInput in = DefaultArea();
    const uint16_t bed[4] = {0, 0, 351, 510};
    std::copy(bed, bed + 4, in.frame);
    in.resolution = 9600;
    in.opticalResolution = 1200;
    ScanAreaFigures f = ComputeScanAreaFigures(in);
    EXPECT_EQ(f.widthPixels, 112320u);
    EXPECT_EQ(f.lengthPixels, 163200u);
    EXPECT_EQ(f.imageBytes, 54991872000ull);
    EXPECT_EQ(f.sizeText, "53703000.00");
}

TEST(ScanArea, FrameIsOrderedAndKeptInsideTheModelsArea) {
    ScanAreaInput in = DefaultArea();
    const uint16_t backwards[4] = {150, 145, 78, 81};
    std::copy(backwards, backwards + 4, in.frame);
    EXPECT_EQ(ComputeScanAreaFigures(in).widthPixels, 720u);
    EXPECT_EQ(ComputeScanAreaFigures(in).lengthPixels, 640u);

    in.maxAreaWidth = 8.5f;  // 255 units
    in.maxAreaLength = 14.0f;  // 420 units
    const uint16_t beyond[4] = {200, 400, 400, 500};
    std::copy(beyond, beyond + 4, in.frame);
    ScanAreaFigures f = ComputeScanAreaFigures(in);
    EXPECT_EQ(f.widthPixels, 550u);   // 55 units
    EXPECT_EQ(f.lengthPixels, 200u);  // 20 units

    in.maxAreaLength = 0;
    EXPECT_FALSE(ComputeScanAreaFigures(in).valid);
}

TEST(ScanArea, FeederPaperAndTenfoldScale) {
    ScanAreaInput in = DefaultArea();
    in.resolution = 100;
    in.feederPaper = 403;  // 11.7 x 17 inches
    ScanAreaFigures f = ComputeScanAreaFigures(in);
    EXPECT_EQ(f.widthPixels, 1170u);
    EXPECT_EQ(f.lengthPixels, 1700u);
    EXPECT_EQ(f.widthText, "11.70");
    in.feederPaper = 401;  // A4: 210 x 297 mm
    in.unit = 3;
    f = ComputeScanAreaFigures(in);
    EXPECT_EQ(f.widthText, "210.00");
    EXPECT_EQ(f.lengthText, "297.00");

    EXPECT_EQ(EffectiveResolution(300, 100, 5, 800), 8000u);
    EXPECT_EQ(EffectiveResolution(300, 100, 5, 1200), 12000u);
    EXPECT_EQ(EffectiveResolution(300, 150, 2, 600), 450u);
    EXPECT_EQ(EffectiveResolution(333, 33, 0, 600), 109u);  // 10989 / 100, truncated
}

// The page size a host negotiates picks the feeder paper; the scan frame is
// that paper from the top-left corner, in preview units (A5: 148 x 210 mm).
TEST(ScanArea, FeederPaperFromTheNegotiatedPageSize) {
    EXPECT_EQ(FeederPaperForPageSize(1), 401);  // TWSS_A4LETTER
    EXPECT_EQ(FeederPaperForPageSize(2), 405);  // TWSS_B5LETTER
    EXPECT_EQ(FeederPaperForPageSize(5), 404);  // TWSS_A5
    EXPECT_EQ(FeederPaperForPageSize(0), 403);  // no page size: the whole 11.7 x 17 inches
    EXPECT_EQ(FeederPaperForPageSize(3), 403);  // US letter: no feeder size of its own

    uint16_t frame[4] = {1, 2, 3, 4};
    ASSERT_TRUE(FeederPaperFrame(404, frame));
    EXPECT_EQ(frame[0], 0);
    EXPECT_EQ(frame[1], 0);
    EXPECT_EQ(frame[2], 175);  // 5.83 inches x 30 = 174.8
    EXPECT_EQ(frame[3], 248);  // 8.27 inches x 30 = 248.0
    EXPECT_FALSE(FeederPaperFrame(0, frame));
}

}  // namespace
