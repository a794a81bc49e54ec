#include "engine/resolution_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ResolutionRules, MenuByDestinationModeAndModel) {
    EXPECT_EQ(ResolutionMenuFor(1021, 1014, 0, 600), 800);
    EXPECT_EQ(ResolutionMenuFor(1023, 1013, 0, 800), 810);
    EXPECT_EQ(ResolutionMenuFor(1021, 1011, 0, 1200), 820);
    EXPECT_EQ(ResolutionMenuFor(1022, 1014, 2, 1200), 830);  // the printer decides first
    EXPECT_EQ(ResolutionMenuFor(1021, 1014, 2, 600), 840);
    EXPECT_EQ(FixedMenuResolution(1800), 72);
    EXPECT_EQ(FixedMenuResolution(1812), 3600);
    EXPECT_EQ(FixedMenuResolution(1816), 9600);
    EXPECT_EQ(FixedMenuResolution(1827), 133);
    EXPECT_EQ(FixedMenuResolution(1817), 0);
    EXPECT_EQ(FixedMenuResolution(1818), 0);
}

TEST(ResolutionRules, RangesByModelTransferAndFeeder) {
    struct Case {
        uint16_t optical;
        bool native, feeder;
        uint16_t maxMenu, maxCustom;
    };
    const Case cases[] = {{600, false, false, 4800, 1200}, {600, true, false, 600, 600},
                          {800, false, false, 6400, 1600}, {800, true, false, 800, 800},
                          {1200, false, false, 9600, 2400}, {1200, true, false, 1200, 1200},
                          {606, false, false, 600, 600},    {1200, false, true, 600, 600}};
    for (const Case& c : cases) {
        ResolutionLimits limits = ResolutionLimitsFor(c.optical, c.native, c.feeder);
        EXPECT_EQ(limits.maxMenu, c.maxMenu) << c.optical << c.native << c.feeder;
        EXPECT_EQ(limits.maxCustom, c.maxCustom) << c.optical << c.native << c.feeder;
    }
    EXPECT_EQ(MaxCustomScaling(300), 600);
    EXPECT_EQ(MaxCustomScaling(1200), 200);
    EXPECT_EQ(MaxCustomScaling(700), 342);
    EXPECT_EQ(CustomResolutionPageStep(1200), 100);
}

TEST(ResolutionRules, EnlargementAndInterpolation) {
    EXPECT_EQ(DpiScaleFor(800, 600), 0);
    EXPECT_EQ(DpiScaleFor(1200, 600), 0);
    EXPECT_EQ(DpiScaleFor(2400, 600), 2);
    EXPECT_EQ(DpiScaleFor(3600, 600), 3);
    EXPECT_EQ(DpiScaleFor(4800, 600), 4);
    EXPECT_EQ(DpiScaleFor(6400, 800), 4);
    EXPECT_EQ(DpiScaleFor(7200, 1200), 3);
    EXPECT_EQ(DpiScaleFor(1000, 600), 0);

    EXPECT_FALSE(ResolutionInterpolates(600, 600, false));
    EXPECT_TRUE(ResolutionInterpolates(601, 600, false));
    EXPECT_FALSE(ResolutionInterpolates(800, 800, false));
    EXPECT_TRUE(ResolutionInterpolates(1201, 1200, false));
    EXPECT_FALSE(ResolutionInterpolates(1200, 1200, false));
    EXPECT_FALSE(ResolutionInterpolates(1200, 606, false));
    EXPECT_FALSE(ResolutionInterpolates(1200, 600, true));
}

TEST(ResolutionRules, TypedNumbers) {
    long value = -1;
    EXPECT_TRUE(ParseTypedNumber("450", value));
    EXPECT_EQ(value, 450);
    EXPECT_TRUE(ParseTypedNumber(" 12 ", value));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(ParseTypedNumber("99999999999999999999", value));
    EXPECT_EQ(value, 1000000);  // saturates instead of wrapping
    for (const char* bad : {"", " ", "12a", "-5", "+5", "x", "1 2"}) {
        value = 77;
        EXPECT_FALSE(ParseTypedNumber(bad, value)) << bad;
        EXPECT_EQ(value, 77) << bad;
    }
}

TEST(ResolutionRules, FiveSlotsTheSixthDropsTheOldest) {
    uint16_t slots[kCustomSlots] = {};
    EXPECT_EQ(UsedCustomSlots(slots), 0);
    for (uint16_t i = 0; i < 5; ++i) EXPECT_EQ(AddCustomSlot(slots, static_cast<uint16_t>(110 + i)), i);
    EXPECT_EQ(AddCustomSlot(slots, 555), 4);
    const uint16_t expected[kCustomSlots] = {111, 112, 113, 114, 555};
    for (int i = 0; i < kCustomSlots; ++i) EXPECT_EQ(slots[i], expected[i]) << i;
    EXPECT_EQ(UsedCustomSlots(slots), 5);
}

}  // namespace
