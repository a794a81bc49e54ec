#include <gtest/gtest.h>

#include <vector>

#include "engine/shading.h"
#include "settings/scan_settings.h"

using namespace shading;

TEST(ShadingGain, ReferenceLevelUpToHalfScaleThenFalling) {
    const GainTable k1000 = BuildGainTable(1000);
    EXPECT_EQ(k1000[0], 1000);
    EXPECT_EQ(k1000[2047], 1000);
    EXPECT_EQ(k1000[2048], 977);  // 976 remainder 1048: more than half of 2048
    EXPECT_EQ(k1000[4095], 0);    // -23 is negative
    EXPECT_EQ(BuildGainTable(2048)[4095], 1025);
    EXPECT_EQ(BuildGainTable(528)[2080], 16);  // exactly 16.5 rounds down
}

TEST(ShadingGain, LargeReferenceSaturates) {
    const GainTable table = BuildGainTable(65535);
    EXPECT_EQ(table[2047], 65535);
    EXPECT_EQ(table[2048], 65535);  // 130 k does not fit 16 bits
    EXPECT_EQ(table[4095], 64512);  // 4095 * (65535 - 1023) / 4095
}

TEST(ShadingGroup, ModesSplitIntoTwoGroups) {
    Group g = Group::kColour;
    ASSERT_TRUE(GroupOfMode(kModeLineArt, g));
    EXPECT_EQ(g, Group::kGrey);
    ASSERT_TRUE(GroupOfMode(kModeFastGray, g));
    EXPECT_EQ(g, Group::kGrey);
    ASSERT_TRUE(GroupOfMode(kModeGray, g));
    EXPECT_EQ(g, Group::kColour);
    ASSERT_TRUE(GroupOfMode(kModeColour, g));
    EXPECT_EQ(g, Group::kColour);
    EXPECT_FALSE(GroupOfMode(1015, g));
    EXPECT_EQ(SampleCount(Group::kGrey, 22), 10u);
    EXPECT_EQ(SampleCount(Group::kColour, 26), 10u);
    EXPECT_EQ(ResendCount(Group::kColour, 26), 3u);
    EXPECT_EQ(ResendCount(Group::kGrey, 22), 10u);
}

namespace {

// Shading lines whose samples start 2 bytes in; line l, sample s holds
// values[s][l]. The leading bytes and the top four bits carry junk.
std::vector<uint8_t> ShadingData(const std::vector<std::vector<uint16_t>>& values, uint16_t lineBytes) {
    const size_t lines = values[0].size();
    std::vector<uint8_t> data(lineBytes * lines, 0x77);
    for (size_t l = 0; l < lines; ++l)
        for (size_t s = 0; s < values.size(); ++s) {
            const uint16_t v = values[s][l] | 0xA000;
            data[l * lineBytes + 2 + 2 * s] = static_cast<uint8_t>(v);
            data[l * lineBytes + 3 + 2 * s] = static_cast<uint8_t>(v >> 8);
        }
    return data;
}

}  // namespace

TEST(ShadingAverage, GreyDropsThreeLowestAndThreeHighest) {
    // Ten lines, two samples per line (line bytes 6).
    const std::vector<std::vector<uint16_t>> values = {
        {100, 5, 4000, 7, 300, 9, 1, 2, 3000, 6},  // sorted middle four: 6, 7, 9, 100
        {10, 10, 10, 10, 10, 11, 11, 11, 11, 11},  // 10, 10, 11, 11 -> 10.5
    };
    const std::vector<uint8_t> data = ShadingData(values, 6);
    std::vector<uint16_t> averages;
    ASSERT_TRUE(AverageShadingLines(data.data(), data.size(), 6, 10, Group::kGrey, averages));
    EXPECT_EQ(averages, (std::vector<uint16_t>{30, 10}));
}

TEST(ShadingAverage, ColourDropsSixLowestAndTwoHighest) {
    // Eleven lines, three samples (line bytes 12: (12 - 6) / 2).
    const std::vector<uint16_t> ramp = {11, 1, 10, 2, 9, 3, 8, 4, 7, 5, 6};  // keeps 7, 8, 9
    const std::vector<std::vector<uint16_t>> values = {ramp, ramp, {4095, 4095, 4095, 4095, 4095, 4095, 4095,
                                                                    4095, 4095, 4095, 4095}};
    const std::vector<uint8_t> data = ShadingData(values, 12);
    std::vector<uint16_t> averages;
    ASSERT_TRUE(AverageShadingLines(data.data(), data.size(), 12, 11, Group::kColour, averages));
    EXPECT_EQ(averages, (std::vector<uint16_t>{8, 8, 4095}));
}

// The prescan module's trim in colour: three dropped at each end, seven lines
// the fewest it can average.
TEST(ShadingAverage, ColourWithAnotherTrim) {
    const std::vector<uint16_t> ramp = {11, 1, 10, 2, 9, 3, 8, 4, 7, 5, 6};  // keeps 4 .. 8
    const std::vector<std::vector<uint16_t>> values = {ramp, ramp, ramp};
    const std::vector<uint8_t> data = ShadingData(values, 12);
    std::vector<uint16_t> averages;
    ASSERT_TRUE(AverageShadingLines(data.data(), data.size(), 12, 11, Group::kColour, Trim{3, 3}, averages));
    EXPECT_EQ(averages, (std::vector<uint16_t>{6, 6, 6}));
    EXPECT_FALSE(AverageShadingLines(data.data(), data.size(), 12, 6, Group::kColour, Trim{3, 3}, averages));
    EXPECT_TRUE(AverageShadingLines(data.data(), data.size(), 12, 7, Group::kColour, Trim{3, 3}, averages));
}

TEST(ShadingAverage, ManyWhiteLinesDoNotOverflow) {
    // 40 lines at full white keep 34 values: 139230, past any 16-bit sum.
    const std::vector<std::vector<uint16_t>> values = {std::vector<uint16_t>(40, 4095),
                                                       std::vector<uint16_t>(40, 4000)};
    const std::vector<uint8_t> data = ShadingData(values, 6);
    std::vector<uint16_t> averages;
    ASSERT_TRUE(AverageShadingLines(data.data(), data.size(), 6, 40, Group::kGrey, averages));
    EXPECT_EQ(averages, (std::vector<uint16_t>{4095, 4000}));
}

TEST(ShadingAverage, RefusesTooFewLinesShortLinesAndShortData) {
    const std::vector<uint8_t> data(12 * 20, 0);
    std::vector<uint16_t> averages;
    EXPECT_FALSE(AverageShadingLines(data.data(), data.size(), 6, 6, Group::kGrey, averages));
    EXPECT_TRUE(AverageShadingLines(data.data(), data.size(), 6, 7, Group::kGrey, averages));
    EXPECT_FALSE(AverageShadingLines(data.data(), data.size(), 12, 8, Group::kColour, averages));
    EXPECT_TRUE(AverageShadingLines(data.data(), data.size(), 12, 9, Group::kColour, averages));
    EXPECT_FALSE(AverageShadingLines(data.data(), data.size(), 5, 20, Group::kGrey, averages));
    EXPECT_FALSE(AverageShadingLines(data.data(), 12 * 20 - 1, 12, 20, Group::kColour, averages));
    EXPECT_FALSE(AverageShadingLines(nullptr, 0, 6, 10, Group::kGrey, averages));
}

TEST(ShadingGain, ColourSamplesCycleThroughRedGreenBlue) {
    GainTables tables;
    for (size_t c = 0; c < 4; ++c) tables[c] = BuildGainTable(static_cast<uint16_t>(100 * (c + 1)));
    std::vector<uint16_t> colour = {0, 0, 0, 0, 0};
    ApplyGain(colour, Group::kColour, tables);
    EXPECT_EQ(colour, (std::vector<uint16_t>{100, 200, 300, 100, 200}));
    std::vector<uint16_t> grey = {0, 4095};
    ApplyGain(grey, Group::kGrey, tables);
    EXPECT_EQ(grey, (std::vector<uint16_t>{400, 0}));
}

namespace {

struct Planes {
    std::vector<uint8_t> high, low, keptHigh, keptLow;
    Planes(size_t sent, size_t kept) : high(sent, 0xEE), low(sent, 0xEE), keptHigh(kept, 0xEE), keptLow(kept, 0xEE) {}
    ShadingPlanes View() {
        return {{high.data(), high.size()}, {low.data(), low.size()}, {keptHigh.data(), keptHigh.size()},
                {keptLow.data(), keptLow.size()}};
    }
};

}  // namespace

TEST(ShadingSplit, ColourPlanesAndKeptGreen) {
    // Two pixels and a sample left over.
    const std::vector<uint16_t> values = {0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0x0B0C, 0x0D0E};
    Planes p(7, 2);
    ASSERT_TRUE(SplitShadingValues(values, Group::kColour, p.View()));
    EXPECT_EQ(p.high, (std::vector<uint8_t>{0x01, 0x07, 0x03, 0x09, 0x05, 0x0B, 0xEE}));
    EXPECT_EQ(p.low, (std::vector<uint8_t>{0x02, 0x08, 0x04, 0x0A, 0x06, 0x0C, 0xEE}));
    EXPECT_EQ(p.keptHigh, (std::vector<uint8_t>{0x03, 0x09}));
    EXPECT_EQ(p.keptLow, (std::vector<uint8_t>{0x04, 0x0A}));
}

TEST(ShadingSplit, GreyCopiesAllValuesToBothPairs) {
    const std::vector<uint16_t> values = {0x1234, 0x0FFF, 0x0000};
    Planes p(3, 3);
    ASSERT_TRUE(SplitShadingValues(values, Group::kGrey, p.View()));
    EXPECT_EQ(p.high, (std::vector<uint8_t>{0x12, 0x0F, 0x00}));
    EXPECT_EQ(p.low, (std::vector<uint8_t>{0x34, 0xFF, 0x00}));
    EXPECT_EQ(p.keptHigh, p.high);
    EXPECT_EQ(p.keptLow, p.low);
}

TEST(ShadingSplit, RefusesSmallBuffersWithoutWriting) {
    const std::vector<uint16_t> values(6, 0x0101);
    Planes colour(6, 1);  // the kept plane needs 2
    EXPECT_FALSE(SplitShadingValues(values, Group::kColour, colour.View()));
    EXPECT_EQ(colour.high, std::vector<uint8_t>(6, 0xEE));
    Planes grey(6, 5);
    EXPECT_FALSE(SplitShadingValues(values, Group::kGrey, grey.View()));
    Planes shortSent(5, 6);
    EXPECT_FALSE(SplitShadingValues(values, Group::kGrey, shortSent.View()));
    EXPECT_EQ(shortSent.keptHigh, std::vector<uint8_t>(6, 0xEE));
}
