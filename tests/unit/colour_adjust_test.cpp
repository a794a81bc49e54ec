#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "imaging/colour_adjust.h"

using namespace colour;

namespace {

using Pixel = std::vector<uint8_t>;

ToneSettings Settings(int saturation, PickedColour picked = {255, 255, 255, 0}) {
    ToneSettings tone = DefaultToneSettings();
    tone.saturation = saturation;
    tone.pixelRGB = picked;
    return tone;
}

// Runs the colour pass over one pixel in a padded row.
Pixel Adjust(const Pixel& in, const ToneSettings& tone, uint16_t mode = kModeColour,
             PixelOrder order = PixelOrder::kRgb, const uint8_t* toneTables = nullptr) {
    Pixel row = in;
    row.push_back(0xEE);  // pad byte of the 4-byte row
    ColourTables tables;
    EXPECT_TRUE(ApplyColourAdjust(1, 1, 4, row.data(), row.data(), row.size(), tone, mode, order, toneTables, tables));
    EXPECT_EQ(row[3], 0xEE);
    row.pop_back();
    return row;
}

Pixel SomePixel(unsigned& seed) {
    seed = seed * 1103515245u + 12345u;
    return {static_cast<uint8_t>(seed >> 8), static_cast<uint8_t>(seed >> 16), static_cast<uint8_t>(seed >> 24)};
}

}  // namespace

TEST(ColourAdjust, NoSaturationAndWhitePickLeavePixelsUnchanged) {
    unsigned seed = 7;
    for (int n = 0; n < 2000; ++n) {
        const Pixel p = SomePixel(seed);
        EXPECT_EQ(Adjust(p, Settings(0)), p);
        EXPECT_EQ(Adjust(p, Settings(0), kModeColour, PixelOrder::kBgr), p);
    }
}

TEST(ColourAdjust, GreyStaysGreyForEverySaturation) {
    for (int saturation = -100; saturation <= 100; ++saturation) {
        for (int v = 0; v < 256; ++v) {
            const uint8_t level = static_cast<uint8_t>(v);
            const Pixel out = Adjust({level, level, level}, Settings(saturation));
            ASSERT_EQ(out[0], out[1]) << saturation << " " << v;
            ASSERT_EQ(out[1], out[2]) << saturation << " " << v;
            ASSERT_LE(std::abs(out[0] - v), 3) << saturation << " " << v;
        }
    }
}

TEST(ColourAdjust, SaturationMinus100GivesTheWeightedGreyByBytePosition) {
    unsigned seed = 3;
    for (int n = 0; n < 500; ++n) {
        const Pixel p = SomePixel(seed);
        const int grey = static_cast<int>(p[0] * 0.3086) + static_cast<int>(p[1] * 0.6094) +
                         static_cast<int>(p[2] * 0.0820);
        const Pixel expected(3, static_cast<uint8_t>(grey));
        EXPECT_EQ(Adjust(p, Settings(-100)), expected);
        // The weights follow the byte position, so blue-first gives the same.
        EXPECT_EQ(Adjust(p, Settings(-100), kModeColour, PixelOrder::kBgr), expected);
    }
    EXPECT_EQ(Adjust({255, 0, 0}, Settings(-100)), Pixel(3, 78));
    EXPECT_EQ(Adjust({0, 0, 255}, Settings(-100)), Pixel(3, 20));
}

TEST(ColourAdjust, FullSaturationClampsToTheLevelRange) {
    EXPECT_EQ(Adjust({255, 0, 0}, Settings(100)), (Pixel{255, 0, 0}));
    EXPECT_EQ(Adjust({0, 255, 255}, Settings(100)), (Pixel{0, 255, 255}));
    // Away from the limits the colour moves away from its grey.
    const Pixel out = Adjust({160, 100, 100}, Settings(50));
    EXPECT_GT(out[0], 160);
    EXPECT_LT(out[1], 100);
    // Out-of-range stored values act as the limits.
    EXPECT_EQ(Adjust({160, 100, 100}, Settings(1000)), Adjust({160, 100, 100}, Settings(100)));
    EXPECT_EQ(Adjust({160, 100, 100}, Settings(-1000)), Adjust({160, 100, 100}, Settings(-100)));
}

TEST(ColourAdjust, SaturationMatrixColumnsSumToOne) {
    SaturationTables t;
    for (float s : {0.0f, 0.37f, 1.0f, 2.0f}) {
        BuildSaturationTables(s, t);
        for (int c = 0; c < 4; ++c) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += t.matrix[k][c];
            EXPECT_NEAR(sum, 1.0, 1e-6) << s;
        }
        EXPECT_EQ(t.matrix[3][3], 1.0f);
        EXPECT_EQ(t.matrix[0][3], 0.0f);
    }
    BuildSaturationTables(0.0f, t);
    EXPECT_EQ(t.matrix[0][2], 0.3086f);
    EXPECT_EQ(t.matrix[1][0], 0.6094f);
    EXPECT_EQ(t.table[1][2][255], 155);  // trunc(255 * 0.6094)
}

TEST(ColourAdjust, SaturationFactorFromTheSetting) {
    EXPECT_EQ(SaturationFactor(-100, kModeColour), 0.0f);
    EXPECT_EQ(SaturationFactor(0, kModeColour), 1.0f);
    EXPECT_EQ(SaturationFactor(100, kModeColour), 2.0f);
    EXPECT_EQ(SaturationFactor(-100, kModeGray), 1.0f);
}

TEST(ColourBalance, ActiveOnlyForAColourBelowWhiteThatIsNotBlack) {
    EXPECT_FALSE(BalanceActive({255, 255, 255, 0}));
    EXPECT_FALSE(BalanceActive({0, 0, 0, 0}));
    EXPECT_FALSE(BalanceActive({254, 254, 255, 0}));
    EXPECT_TRUE(BalanceActive({254, 254, 254, 0}));
    EXPECT_TRUE(BalanceActive({0, 0, 1, 0}));
    // Black leaves pixels alone exactly like white.
    unsigned seed = 11;
    for (int n = 0; n < 200; ++n) {
        const Pixel p = SomePixel(seed);
        EXPECT_EQ(Adjust(p, Settings(0, {0, 0, 0, 0})), p);
    }
}

TEST(ColourBalance, TargetZeroMaps255To123AndKeepsZero) {
    BalanceTables t;
    BuildBalanceTables(0, 0, 0, PixelOrder::kRgb, t);
    EXPECT_EQ(t.level[0][255], 123);
    EXPECT_EQ(t.level[2][255], 123);
    EXPECT_EQ(t.level[1][0], 0);
    // Dark levels move little, every level moves toward the target.
    BuildBalanceTables(200, 200, 200, PixelOrder::kRgb, t);
    EXPECT_EQ(t.level[0][0], 3);  // 0 + 200 * 10 / 512
    for (int i = 0; i < 256; ++i) {
        EXPECT_GE(t.level[0][i], std::min(i, 200));
        EXPECT_LE(t.level[0][i], std::max(i, 200));
    }
}

TEST(ColourBalance, TargetsFollowThePixelOrder) {
    const ToneSettings tone = Settings(0, {0, 128, 200, 0});
    // 255 moves 265/512 of the way: to 123, 189 and 226.
    EXPECT_EQ(Adjust({255, 255, 255}, tone), (Pixel{123, 189, 226}));
    EXPECT_EQ(Adjust({255, 255, 255}, tone, kModeColour, PixelOrder::kBgr), (Pixel{226, 189, 123}));
}

TEST(ColourBalance, OtherModesPullTowardWhiteWithoutSaturation) {
    const ToneSettings tone = Settings(-100, {0, 128, 200, 0});
    EXPECT_EQ(Adjust({0, 0, 0}, tone, kModeGray), (Pixel{4, 4, 4}));  // 255 * 10 / 512
    EXPECT_EQ(Adjust({255, 40, 255}, tone, kModeGray), (Pixel{255, 60, 255}));  // 40 + 215 * 50 / 512
}

TEST(ColourAdjust, PreviewToneTablesComeBeforeTheBalance) {
    uint8_t toneTables[768];
    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < 256; ++i) toneTables[b * 256 + i] = static_cast<uint8_t>(b == 0 ? 255 - i : i);
    // Byte 0 (blue): 0 becomes 255 through its tone map, then 123 through the
    // balance toward the blue target 0.
    const ToneSettings tone = Settings(0, {200, 200, 0, 0});
    EXPECT_EQ(Adjust({0, 0, 0}, tone, kModeColour, PixelOrder::kBgr, toneTables), (Pixel{123, 3, 3}));
}

TEST(ColourAdjust, SeparateDestinationAndRefusedGeometry) {
    const std::vector<uint8_t> src = {10, 20, 30, 40, 50, 60, 0, 0, 70, 80, 90, 100, 110, 120, 0, 0};
    std::vector<uint8_t> dst(src.size(), 0xCC);
    ColourTables tables;
    const ToneSettings tone = Settings(-100);
    ASSERT_TRUE(ApplyColourAdjust(2, 2, PaddedRowBytes(2), dst.data(), src.data(), src.size(), tone, kModeColour,
                                  PixelOrder::kRgb, nullptr, tables));
    EXPECT_EQ(dst[0], dst[2]);
    EXPECT_EQ(dst[6], 0xCC);  // padding is not written
    EXPECT_EQ(dst[8], Adjust({70, 80, 90}, tone)[0]);

    std::vector<uint8_t> before = dst;
    EXPECT_FALSE(ApplyColourAdjust(2, 3, 8, dst.data(), src.data(), src.size(), tone, kModeColour, PixelOrder::kRgb,
                                   nullptr, tables));
    EXPECT_FALSE(ApplyColourAdjust(3, 2, 8, dst.data(), src.data(), src.size(), tone, kModeColour, PixelOrder::kRgb,
                                   nullptr, tables));
    EXPECT_EQ(dst, before);
    EXPECT_EQ(PaddedRowBytes(1), 4u);
    EXPECT_EQ(PaddedRowBytes(4), 12u);
    EXPECT_EQ(PaddedRowBytes(5), 16u);
}
