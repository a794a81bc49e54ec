// Region detection on previews made by the simulated scanner (whose beds are
// defined in inches, independently of the detector) and on hand-made
// bitmaps: what it finds, and what it refuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/detection_threshold.h"
#include "engine/region_detection.h"
#include "sim/image_renderer.h"

namespace {

using detection::Outcome;
using detection::Region;
using detection::Result;

constexpr double kA3Scale = 11.7 / 351;

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A 24-bit bitmap file of rows given top to bottom as red, green, blue.
std::vector<uint8_t> BitmapFile(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb) {
    const uint32_t rowBytes = (width * 3 + 3) & ~3u;
    std::vector<uint8_t> b(54 + size_t{rowBytes} * height, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, width);
    Put32(b, 22, height);
    b[26] = 1;
    b[28] = 24;
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = b.data() + 54 + size_t{height - 1 - y} * rowBytes;
        for (uint32_t x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) row[3 * x + c] = rgb[(size_t{y} * width + x) * 3 + 2 - c];
    }
    return b;
}

// The whole A3 bed of `layout` at `dpi` as a prescan leaves it, from a
// sensor without gain variation or noise.
std::vector<uint8_t> Prescan(const std::string& layout, uint16_t dpi, uint8_t source = 0) {
    const sim::ScannerConfig config =
        sim::ParseScannerConfig("[Scanner]\nGainVariation=0\nNoise=0\nWhiteLevel=4095\nLayout=" + layout + "\n");
    sim::ScanParameters parameters;
    parameters.right = 14040;
    parameters.bottom = 20400;
    parameters.imageType = 3;
    parameters.resolution = dpi;
    parameters.source = source;
    const std::vector<uint8_t> rgb =
        sim::ExpectedPixels(config, sim::BedImage{}, parameters, sim::DefaultToneTables(), sim::Calibration{});
    const uint32_t width = dpi * 117 / 10, height = dpi * 17;
    EXPECT_EQ(rgb.size(), size_t{width} * height * 3);
    return BitmapFile(width, height, rgb);
}

Result Detect(const std::vector<uint8_t>& preview, const std::vector<uint8_t>& pattern, int source, bool hiRes) {
    return detection::DetectRegionsInFiles(preview.data(), preview.size(), pattern.data(), pattern.size(),
                                           {source, hiRes, kA3Scale});
}

// An item given in inches, in preview units.
struct Inches {
    double left, top, right, bottom;
};

void ExpectFrame(const Region& r, const Inches& item) {
    EXPECT_NEAR(r.left, item.left * 30, 1);
    EXPECT_NEAR(r.top, item.top * 30, 1);
    EXPECT_NEAR(r.right, item.right * 30, 1);
    EXPECT_NEAR(r.bottom, item.bottom * 30, 1);
}

TEST(RegionDetection, EmptyLidGivesNoRegionsAtEitherResolution) {
    for (uint16_t dpi : {30, 60}) {
        const std::vector<uint8_t> lid = Prescan("lid", dpi);
        const Result result = Detect(lid, lid, 0, dpi == 60);
        EXPECT_EQ(result.outcome, Outcome::kRegions);
        EXPECT_TRUE(result.regions.empty()) << dpi;
    }
}

// The two photographs of the simulated bed: 1.0..5.0 x 2.0..7.0 and
// 6.0..10.5 x 3.0..9.5 inches. The 60-dpi preview gives the same frames
// within one unit.
TEST(RegionDetection, TwoPhotographsOnTheLidGiveTwoFramesAtBothResolutions) {
    const Inches photos[] = {{1.0, 2.0, 5.0, 7.0}, {6.0, 3.0, 10.5, 9.5}};
    for (uint16_t dpi : {30, 60}) {
        SCOPED_TRACE(dpi);
        const Result result = Detect(Prescan("photos", dpi), Prescan("lid", dpi), 0, dpi == 60);
        ASSERT_EQ(result.outcome, Outcome::kRegions);
        ASSERT_EQ(result.regions.size(), 2u);
        for (size_t i = 0; i < 2; ++i) ExpectFrame(result.regions[i], photos[i]);
    }
}

// Film fills the six windows (0.95 x 1.35 inch, every 1.7 inch from 1.0) of
// the strip at 1.5 inch and the first three of the strip at 4.6 inch; the
// other windows show the light table.
TEST(RegionDetection, FilmHolderGivesTheFramesHoldingFilmOnly) {
    std::vector<Inches> filled;
    for (int frame = 0; frame < 6; ++frame) {
        for (double left : {1.5, 4.6}) {
            if (left > 4 && frame >= 3) continue;
            const double top = 1.0 + 1.7 * frame;
            filled.push_back({left, top, left + 0.95, top + 1.35});
        }
    }
    for (uint16_t dpi : {30, 60}) {
        SCOPED_TRACE(dpi);
        const Result result = Detect(Prescan("film", dpi, 1), {}, 1, dpi == 60);
        ASSERT_EQ(result.outcome, Outcome::kRegions);
        ASSERT_EQ(result.regions.size(), filled.size());
        for (size_t i = 0; i < filled.size(); ++i) ExpectFrame(result.regions[i], filled[i]);
    }
}

// 36 light squares on black (the lid open): the first 28 in reading order
// are kept, the rest left out.
TEST(RegionDetection, KeepsTheFirst28Regions) {
    const uint32_t side = 200;
    std::vector<uint8_t> rgb(size_t{side} * side * 3, 0);
    for (uint32_t y = 0; y < side; ++y)
        for (uint32_t x = 0; x < side; ++x)
            if (x % 30 >= 10 && y % 30 >= 10 && x < 180 && y < 180) rgb[(size_t{y} * side + x) * 3 + 1] = 240;
    const std::vector<uint8_t> black = BitmapFile(side, side, std::vector<uint8_t>(rgb.size(), 0));
    const Result result = Detect(BitmapFile(side, side, rgb), black, 0, false);
    ASSERT_EQ(result.regions.size(), detection::kMaxRegions);
    const Region last = result.regions.back();  // the fourth square of the fifth row
    EXPECT_EQ(last.left, 3 * 30 + 10);
    EXPECT_EQ(last.top, 4 * 30 + 10);
    EXPECT_EQ(last.right, 3 * 30 + 30);
    EXPECT_EQ(last.bottom, 4 * 30 + 30);
}

TEST(RegionDetection, RefusesBadPreviewsAndPatterns) {
    const std::vector<uint8_t> lid = Prescan("lid", 30);
    std::vector<uint8_t> truncated(lid.begin(), lid.end() - 1);
    std::vector<uint8_t> eightBit = lid;
    eightBit[28] = 8;
    std::vector<uint8_t> negativeHeight = lid;
    Put32(negativeHeight, 22, static_cast<uint32_t>(-510));
    for (const auto* bad : {&truncated, &eightBit, &negativeHeight}) {
        EXPECT_EQ(Detect(*bad, lid, 0, false).outcome, Outcome::kNoPreview);
        EXPECT_EQ(Detect(*bad, {}, 1, false).outcome, Outcome::kNoPreview);
        EXPECT_EQ(Detect(lid, *bad, 0, false).outcome, Outcome::kNoPattern);
    }
    EXPECT_EQ(Detect(lid, Prescan("lid", 60), 0, false).outcome, Outcome::kNoPattern);
    EXPECT_EQ(Detect(lid, {}, 0, false).outcome, Outcome::kNoPattern);
}

TEST(RegionDetection, ReadsThePreviewAndPatternFiles) {
    const std::string dir = ::testing::TempDir();
    const std::string previewPath = dir + "/ORVC0000.BMP", patternPath = dir + "/pat_l.BMP";
    for (const auto& [path, bytes] : {std::pair{previewPath, Prescan("photos", 30)}, {patternPath, Prescan("lid", 30)}}) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    EXPECT_EQ(detection::DetectRegions(previewPath, patternPath, 0, false, kA3Scale).regions.size(), 2u);
    EXPECT_EQ(detection::DetectRegions(previewPath, dir + "/none.BMP", 0, false, kA3Scale).outcome, Outcome::kNoPattern);
    EXPECT_EQ(detection::DetectRegions(dir + "/none.BMP", patternPath, 0, false, kA3Scale).outcome, Outcome::kNoPreview);
    EXPECT_EQ(detection::DetectRegions(previewPath, dir + "/none.BMP", 1, false, kA3Scale).outcome, Outcome::kRegions);
    std::remove(previewPath.c_str());
    std::remove(patternPath.c_str());
}

TEST(DetectionThreshold, TwoMeansAndTheThresholdsFromThem) {
    std::vector<uint8_t> samples(300, 40);
    samples.insert(samples.end(), 100, 200);
    const detection::ClassMeans means = detection::TwoMeans(samples);
    EXPECT_EQ(means.low, 40);
    EXPECT_EQ(means.high, 200);
    // One class empty: the starting means stay.
    const detection::ClassMeans flat = detection::TwoMeans(std::vector<uint8_t>(50, 120));
    EXPECT_EQ(flat.low, 3);
    EXPECT_EQ(flat.high, 250);

    EXPECT_TRUE(detection::ThresholdForReflective({40, 200}).patternVisible);
    EXPECT_EQ(detection::ThresholdForReflective({40, 200}).value, 40);
    EXPECT_EQ(detection::ThresholdForReflective({10, 200}).value, 25);
    EXPECT_EQ(detection::ThresholdForReflective({90, 200}).value, 42);
    EXPECT_FALSE(detection::ThresholdForReflective({62, 200}).patternVisible);
    EXPECT_EQ(detection::ThresholdForTransparency({20, 250}), 24);
    EXPECT_EQ(detection::LightTableLevel({20, 250}), 250);
    EXPECT_EQ(detection::LightTableLevel({20, 230}), 248);
    EXPECT_EQ(detection::LightTableLevel({20, 229}), 246);
}

}  // namespace
