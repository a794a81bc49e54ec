// The simulated scanner's white reference (ReadShadingData) and how the
// correction values it receives (SendShadingData) shape the image.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "sim/sensor.h"
#include "sim_scan_fixture.h"

namespace {

using simtest::Block;
using simtest::MakeBmp;

constexpr std::array<uint16_t, 4> kStrip = {1200, 600, 4800, 1200};  // 3 x 0.5 inches

// What a data source that calibrates correctly sends: per sample the trimmed
// average of the 12-bit white values, mapped through the gain formula of the
// channel's reference level; colour as red, green and blue planes.
std::vector<uint16_t> CorrectGains(const Block& data, uint16_t lineBytes, uint16_t lines, bool colour,
                                   const sim::ScannerConfig& config) {
    const uint32_t samples = (lineBytes - (colour ? 6u : 2u)) / 2;
    const uint32_t pixels = colour ? samples / 3 : samples;
    const uint32_t dropLow = colour ? 6 : 3;
    const uint32_t dropHigh = colour ? 2 : 3;
    std::vector<uint16_t> values(samples);
    for (uint32_t s = 0; s < samples; ++s) {
        std::vector<uint32_t> column;
        for (uint32_t line = 0; line < lines; ++line) {
            column.push_back(blocks::GetU16(data.data(), size_t{line} * lineBytes + 2 + 2 * s) & 0xFFF);
        }
        std::sort(column.begin(), column.end());
        uint32_t sum = 0;
        for (uint32_t i = dropLow; i < lines - dropHigh; ++i) sum += column[i];
        const uint32_t w = sum / (lines - dropLow - dropHigh);
        const uint32_t channel = colour ? s % 3 : sim::kMono;
        const int64_t k = config.referenceLevels[channel];
        int64_t q = k;
        if (w >= 2048) {
            const int64_t numerator = 4095 * k - 1023 * int64_t{w};
            q = numerator < 0 ? 0 : numerator / w + (2 * (numerator % w) > w ? 1 : 0);
        }
        values[colour ? (s % 3) * pixels + s / 3 : s] = static_cast<uint16_t>(q);
    }
    return values;
}

class SimShading : public simtest::SimScan {
protected:
    // Calibrates the group of the current parameters as a data source does.
    void Calibrate() {
        Block data;
        uint16_t lineBytes = 0;
        uint16_t lines = 0;
        ASSERT_EQ(ReadShading(data, lineBytes, lines), 0);
        const bool colour = sim::IsColourGroup(state.session.parameters.imageType);
        ASSERT_EQ(SendShading(CorrectGains(data, lineBytes, lines, colour, state.config),
                              state.session.parameters.resolution),
                  0);
    }

    void UseFlatBed(uint8_t level) {
        const std::vector<std::array<uint8_t, 3>> columns(8, {level, level, level});
        std::string problem;
        ASSERT_TRUE(sim::ParseBmp(MakeBmp(columns, 8).data(), 54 + 24 * 8, state.bed, problem)) << problem;
    }

    static std::pair<uint8_t, uint8_t> Range(const Block& image) {
        const auto [low, high] = std::minmax_element(image.begin(), image.end());
        return {*low, *high};
    }
};

TEST_F(SimShading, WhiteReferenceCarriesElementGainsLineNumbersAndNoise) {
    Open("Noise=0\nShadingLinesGrey=10\n");
    Parameters(sim::kGrey, 100, kStrip);
    Block data;
    uint16_t lineBytes = 0;
    uint16_t lines = 0;
    ASSERT_EQ(ReadShading(data, lineBytes, lines), 0);
    ASSERT_EQ(lineBytes, 2 + 2 * 1170);  // the whole bed width at 100 dpi
    ASSERT_EQ(lines, 10);
    EXPECT_TRUE(arena.GuardsIntact());

    uint16_t lowest = 4095;
    uint16_t highest = 0;
    for (uint32_t line = 0; line < lines; ++line) {
        const uint8_t* at = data.data() + line * lineBytes;
        EXPECT_EQ(blocks::GetU16(at, 0), 0);
        for (uint32_t pixel = 0; pixel < 1170; ++pixel) {
            const uint16_t sample = blocks::GetU16(at, 2 + 2 * pixel);
            ASSERT_EQ(sample >> 12, line & 0xF);
            // Without noise every line reads the white of the element at the pixel's position.
            ASSERT_EQ(sample & 0xFFF, sim::ElementWhite(state.config, sim::kMono, pixel * 12));
            lowest = std::min<uint16_t>(lowest, sample & 0xFFF);
            highest = std::max<uint16_t>(highest, sample & 0xFFF);
        }
    }
    EXPECT_GE(lowest, 3600 * 92 / 100);
    EXPECT_LE(highest, 3600 * 108 / 100 + 1);
    EXPECT_GT(highest - lowest, 400);  // the gains do vary

    Open("Seed=7\nNoise=20\nGainVariation=0\n");
    Parameters(sim::kColour, 50, kStrip);
    ASSERT_EQ(ReadShading(data, lineBytes, lines), 0);
    ASSERT_EQ(lineBytes, 6 + 6 * 585);
    ASSERT_EQ(lines, 16);
    std::set<uint16_t> seen;
    for (uint32_t line = 0; line < lines; ++line) {
        const uint8_t* at = data.data() + line * lineBytes;
        EXPECT_EQ(blocks::GetU32(at, lineBytes - 4), 0u);  // red, green, blue per pixel, then 4 spare bytes
        for (uint32_t s = 0; s < 3 * 585; ++s) {
            const uint16_t white = blocks::GetU16(at, 2 + 2 * s) & 0xFFF;
            const bool dust = white <= 3620 * 3 / 4;
            ASSERT_TRUE(dust || (white >= 3580 && white <= 3620)) << white;
            seen.insert(white);
        }
    }
    EXPECT_GT(seen.size(), 30u);  // noise, not a constant
}

TEST_F(SimShading, ShadingReadsAreCheckedAndStayInsideTheDescriptors) {
    Open("F2.2=0x8414\n");
    Block read(blocks::kReadShadingSize);
    EXPECT_EQ(Request(blocks::kReadShadingData, read), sim::kRejected);  // no parameters yet

    Parameters(sim::kGrey, 100, kStrip);
    Block data;
    uint16_t lineBytes = 0;
    uint16_t lines = 0;
    EXPECT_EQ(ReadShading(data, lineBytes, lines), 0x8414);  // scripted: nothing written
    EXPECT_EQ(ReadShading(data, lineBytes, lines), 0);

    namespace rs = blocks::readshading;
    const simtest::DescribedBuffer small = Describe(lineBytes * 11, lineBytes, simtest::Trim::kEachSegment);
    blocks::PutU16(read.data(), rs::kResolution, 100);
    blocks::PutU16(read.data(), rs::kLineBytes, lineBytes);
    blocks::PutU16(read.data(), rs::kLines, lines);
    blocks::PutU16(read.data(), rs::kDescriptorCount, small.count);
    blocks::PutU32(read.data(), rs::kTable, small.table);
    EXPECT_EQ(Request(blocks::kReadShadingData, read), sim::kRejected);
    EXPECT_EQ(*std::max_element(arena.At(small.address), arena.At(small.address) + small.bytes), 0);

    const simtest::DescribedBuffer enough = Describe(lineBytes * 12, lineBytes, simtest::Trim::kEachSegment);
    blocks::PutU16(read.data(), rs::kDescriptorCount, enough.count);
    blocks::PutU32(read.data(), rs::kTable, enough.table);
    EXPECT_EQ(Request(blocks::kReadShadingData, read), 0);
    blocks::PutU16(read.data(), rs::kLineBytes, lineBytes + 2);  // not the scanner's reference
    EXPECT_EQ(Request(blocks::kReadShadingData, read), sim::kRejected);
    blocks::PutU16(read.data(), rs::kLineBytes, lineBytes);
    blocks::PutU16(read.data(), rs::kDescriptorCount, 17);
    EXPECT_EQ(Request(blocks::kReadShadingData, read), sim::kRejected);
    blocks::PutU16(read.data(), rs::kDescriptorCount, enough.count);
    blocks::PutU32(read.data(), rs::kTable, 0x10);  // nowhere
    EXPECT_EQ(Request(blocks::kReadShadingData, read), sim::kRejected);
    EXPECT_TRUE(arena.GuardsIntact());
}

TEST_F(SimShading, CorrectGainsFlattenAWhiteBedAndNothingElseDoes) {
    for (const uint8_t type : {sim::kGrey, sim::kColour, sim::kGreyColourShaded}) {
        SCOPED_TRACE(int(type));
        Open();  // with noise and dust in the white reference
        UseFlatBed(255);
        Parameters(type, 150, kStrip);
        Block uncalibrated;
        ASSERT_EQ(Scan(uncalibrated), 0);
        EXPECT_GE(Range(uncalibrated).second - Range(uncalibrated).first, 15);  // the element gains show

        Calibrate();
        Block white;
        ASSERT_EQ(Scan(white), 0);
        EXPECT_EQ(Range(white), std::make_pair(uint8_t{255}, uint8_t{255}));
        EXPECT_EQ(white, Expected());

        UseFlatBed(128);  // a mid grey comes out flat too, within one step
        Block grey;
        ASSERT_EQ(Scan(grey), 0);
        EXPECT_LE(Range(grey).second - Range(grey).first, 1);
        EXPECT_NEAR(Range(grey).first, 128, 1);
    }

    Open();  // one value for every element, as if all had the nominal gain: the variation stays
    UseFlatBed(255);
    Parameters(sim::kGrey, 150, kStrip);
    const sim::ShadingGeometry g = sim::ShadingGeometryOf(state.config, false, 150);
    ASSERT_EQ(SendShading(std::vector<uint16_t>(g.pixels, 1185), 150), 0);  // white comes out near 3000
    Block wrong;
    ASSERT_EQ(Scan(wrong), 0);
    EXPECT_GE(Range(wrong).second - Range(wrong).first, 15);
}

TEST_F(SimShading, ColourValuesArriveAsRedGreenBluePlanes) {
    Open("Noise=0\n");
    UseFlatBed(255);
    Parameters(sim::kColour, 100, kStrip);
    Block data;
    uint16_t lineBytes = 0;
    uint16_t lines = 0;
    ASSERT_EQ(ReadShading(data, lineBytes, lines), 0);
    std::vector<uint16_t> values = CorrectGains(data, lineBytes, lines, true, state.config);
    const size_t n = values.size() / 3;
    std::vector<uint16_t> greenPlane(values.begin() + n, values.begin() + 2 * n);
    std::fill(values.begin() + n, values.end(), 0);  // green and blue far too weak
    ASSERT_EQ(SendShading(values, 100), 0);
    Block image;
    ASSERT_EQ(Scan(image), 0);
    for (size_t i = 0; i < image.size(); i += 3) {
        ASSERT_EQ(image[i], 255);
        ASSERT_LT(image[i + 1], 160);
        ASSERT_LT(image[i + 2], 160);
    }
    // The resend of the kept green plane alone replaces green and keeps red and blue.
    ASSERT_EQ(SendShading(greenPlane, 100), 0);
    ASSERT_EQ(Scan(image), 0);
    for (size_t i = 0; i < image.size(); i += 3) {
        ASSERT_EQ(image[i + 1], 255);
        ASSERT_LT(image[i + 2], 160);
    }
    EXPECT_EQ(SendShading(std::vector<uint16_t>(2 * n, 1000), 100), sim::kRejected);  // no such count
}

TEST_F(SimShading, ShadingIsAskedForUntilTheGroupIsCalibratedAtTheResolution) {
    Open();
    namespace sp = blocks::scanparam;
    EXPECT_EQ(Parameters(sim::kColour, 300, kStrip)[sp::kShadingNeeded], 1);
    Calibrate();
    EXPECT_EQ(Parameters(sim::kColour36, 300, kStrip)[sp::kShadingNeeded], 0);
    EXPECT_EQ(Parameters(sim::kColour, 150, kStrip)[sp::kShadingNeeded], 1);  // another resolution
    EXPECT_EQ(Parameters(sim::kGrey, 300, kStrip)[sp::kShadingNeeded], 1);    // the other group
    Calibrate();
    EXPECT_EQ(Parameters(sim::kLineArt, 300, kStrip)[sp::kShadingNeeded], 0);
    EXPECT_EQ(Parameters(sim::kColour, 300, kStrip)[sp::kShadingNeeded], 0);

    Block send(blocks::kSendShadingSize);  // no tables: refused, the calibration stays
    EXPECT_EQ(Request(blocks::kSendShadingData, send), sim::kRejected);
    EXPECT_EQ(Parameters(sim::kColour, 300, kStrip)[sp::kShadingNeeded], 0);

    Open("ShadingNeeded=2\n");
    Parameters(sim::kGrey, 300, kStrip);
    Calibrate();
    EXPECT_EQ(Parameters(sim::kGrey, 300, kStrip)[sp::kShadingNeeded], 1);
}

}  // namespace
