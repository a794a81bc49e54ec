#include "engine/tone_page_rules.h"

#include <gtest/gtest.h>

using namespace pages;

namespace {

void ExpectLevels(Levels got, int highlight, int shadow) {
    EXPECT_EQ(got.highlight, highlight);
    EXPECT_EQ(got.shadow, shadow);
}

}  // namespace

TEST(TonePageRules, HighlightBarPushesTheShadowDown) {
    ExpectLevels(HighlightScrolled({1, 0}, ScrollRequest::kLineLess, 0), 1, 0);
    ExpectLevels(HighlightScrolled({20, 19}, ScrollRequest::kLineLess, 0), 19, 18);
    ExpectLevels(HighlightScrolled({255, 0}, ScrollRequest::kLineMore, 0), 255, 0);
    ExpectLevels(HighlightScrolled({8, 3}, ScrollRequest::kPageLess, 0), 1, 0);
    ExpectLevels(HighlightScrolled({12, 9}, ScrollRequest::kPageLess, 0), 7, 4);
    ExpectLevels(HighlightScrolled({251, 0}, ScrollRequest::kPageMore, 0), 251, 0);
    ExpectLevels(HighlightScrolled({250, 0}, ScrollRequest::kPageMore, 0), 255, 0);
    ExpectLevels(HighlightScrolled({200, 100}, ScrollRequest::kThumb, 60), 60, 59);
    ExpectLevels(HighlightScrolled({200, 100}, ScrollRequest::kThumb, 0), 200, 100);
}

TEST(TonePageRules, ShadowBarPushesTheHighlightUp) {
    ExpectLevels(ShadowScrolled({253, 250}, ScrollRequest::kPageMore, 0), 255, 254);
    ExpectLevels(ShadowScrolled({100, 97}, ScrollRequest::kPageMore, 0), 105, 102);
    ExpectLevels(ShadowScrolled({255, 254}, ScrollRequest::kLineMore, 0), 255, 254);
    ExpectLevels(ShadowScrolled({50, 49}, ScrollRequest::kLineMore, 0), 51, 50);
    ExpectLevels(ShadowScrolled({50, 4}, ScrollRequest::kPageLess, 0), 50, 4);
    ExpectLevels(ShadowScrolled({50, 0}, ScrollRequest::kLineLess, 0), 50, 0);
    ExpectLevels(ShadowScrolled({100, 10}, ScrollRequest::kThumb, 180), 181, 180);
    ExpectLevels(ShadowScrolled({100, 10}, ScrollRequest::kThumb, 255), 100, 10);
}

TEST(TonePageRules, GammaBalanceAndSaturationBarsStayInRange) {
    EXPECT_EQ(GammaScrolled(1, ScrollRequest::kLineLess, 0), 1);
    EXPECT_EQ(GammaScrolled(5, ScrollRequest::kPageLess, 0), 5);
    EXPECT_EQ(GammaScrolled(75, ScrollRequest::kPageMore, 0), 75);
    EXPECT_EQ(GammaScrolled(74, ScrollRequest::kPageMore, 0), 79);
    EXPECT_EQ(BalanceScrolled(90, ScrollRequest::kPageMore, 0), 100);
    EXPECT_EQ(BalanceScrolled(0, ScrollRequest::kToStart, 0), 100);
    EXPECT_EQ(BalanceScrolled(0, ScrollRequest::kToEnd, 0), -100);
    EXPECT_EQ(BalanceScrolled(0, ScrollRequest::kThumb, -140), -100);
    EXPECT_EQ(SaturationScrolled(-95, ScrollRequest::kPageLess, 0), -95);
    EXPECT_EQ(SaturationScrolled(-94, ScrollRequest::kPageLess, 0), -99);
    EXPECT_EQ(SaturationScrolled(100, ScrollRequest::kLineMore, 0), 100);
}

TEST(TonePageRules, FieldsDropLeadingZerosAndCorrectTheRange) {
    auto expect = [](FieldReading r, int value, const char* rewrite) {
        ASSERT_TRUE(r.value.has_value());
        EXPECT_EQ(*r.value, value);
        if (rewrite) {
            ASSERT_TRUE(r.rewrite.has_value());
            EXPECT_EQ(*r.rewrite, rewrite);
        } else {
            EXPECT_FALSE(r.rewrite.has_value());
        }
    };
    expect(ReadLevelField("042", false), 42, "42");
    expect(ReadLevelField("200", false), 200, nullptr);
    expect(ReadLevelField("0", false), 1, "1");
    expect(ReadLevelField("300", false), 255, "255");
    expect(ReadLevelField("ab", false), 1, "1");
    expect(ReadLevelField("00", true), 0, "0");
    expect(ReadLevelField("0", true), 0, nullptr);
    expect(ReadLevelField("255", true), 254, "254");
    expect(ReadLevelField("x", true), 0, "0");
    EXPECT_FALSE(ReadLevelField("", true).value.has_value());
    expect(ReadGammaField("07"), 70, "7");
    expect(ReadGammaField("0.5"), 5, nullptr);
    expect(ReadGammaField("2.2"), 22, nullptr);
    EXPECT_FALSE(ReadGammaField("8").value.has_value());
    EXPECT_FALSE(ReadGammaField("0").value.has_value());
}

TEST(TonePageRules, ChannelsAndTheirCurves) {
    ToneSettings tone;
    ChooseChannel(tone, kToneRed, true);
    tone.channels[kToneRed].highlight = 200;
    ChooseChannel(tone, kToneMaster, true);
    EXPECT_EQ(tone.channels[kToneGreen].highlight, 200);
    EXPECT_EQ(tone.channels[kToneBlue].highlight, 200);
    EXPECT_EQ(ShownTriple(tone, true).highlight, 200);

    // Grey modes: only the master, in dark grey, whatever was chosen.
    ChooseChannel(tone, kToneBlue, false);
    EXPECT_EQ(tone.channel, kToneMaster);
    const auto grey = CurveStrokes(tone, false);
    ASSERT_EQ(grey.size(), 1u);
    EXPECT_EQ(grey[0].word, kToneMaster);
    EXPECT_EQ(grey[0].colour, 0x646464u);

    // A colour channel: the two others first, the chosen one on top.
    ChooseChannel(tone, kToneGreen, true);
    const auto colour = CurveStrokes(tone, true);
    ASSERT_EQ(colour.size(), 3u);
    EXPECT_EQ(colour[0].colour, 0xFF0000u);
    EXPECT_EQ(colour[1].colour, 0x0000FFu);
    EXPECT_EQ(colour[2].word, kToneGreen);
    EXPECT_EQ(colour[2].colour, 0x00FF00u);
}

TEST(TonePageRules, ScaleSkipsZeroAndMinusOne) {
    EXPECT_EQ(ScaleLowered(1), -2);
    EXPECT_EQ(ScaleRaised(-2), 1);
    EXPECT_EQ(ScaleRaised(99), 99);
    EXPECT_EQ(ScaleLowered(-99), -99);
    EXPECT_EQ(ScaleRaised(4), 5);
}

TEST(TonePageRules, HistogramBarsScaleAndCap) {
    uint32_t counts[256] = {};
    EXPECT_TRUE(HistogramBars(counts, 81, 77, 1).empty());  // an empty crop: no bars
    counts[0] = 40;
    counts[255] = 10;
    // 81 columns: column x shows level x * 255 / 80.
    const auto bars = HistogramBars(counts, 81, 77, 1);
    ASSERT_EQ(bars.size(), 81u);
    EXPECT_EQ(bars[0].height, 77);
    EXPECT_EQ(bars[80].height, 19);  // 10 / 40 * 77 = 19.25
    EXPECT_EQ(bars[40].height, 0);
    EXPECT_EQ(HistogramBars(counts, 81, 77, 3)[80].height, 57);   // 57.75
    EXPECT_EQ(HistogramBars(counts, 81, 77, 5)[80].height, 77);   // capped
    EXPECT_EQ(HistogramBars(counts, 81, 77, -2)[80].height, 9);   // 9.625
    // Wider than 256: one line per level, level 255 at the last column.
    const auto wide = HistogramBars(counts, 301, 50, 1);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(wide[255].x, 300);
    EXPECT_EQ(wide[128].x, 150);  // 300 * 128 / 255 = 150.6
}
