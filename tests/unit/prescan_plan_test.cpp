#include "prescan/prescan_plan.h"

#include <gtest/gtest.h>

#include <limits>

using namespace prescan;

namespace {
Options Length(float inches, uint32_t hiRes = 0) { return Options{hiRes, 0, inches}; }
}  // namespace

TEST(PrescanPlan, WholeBedInAreaUnitsOfTheOpticalRate) {
    struct Case {
        uint16_t optical;
        bool letter;
        uint16_t right, bottom;
    };
    for (const Case& c : {Case{1200, false, 14040, 20400}, Case{606, false, 14040, 20400},
                          Case{600, false, 7020, 10200}, Case{800, false, 9360, 13600},
                          Case{1200, true, 10200, 13800}}) {
        const ScanPlan plan = PlanPrescan(c.optical, c.letter, 0, Length(0));
        EXPECT_EQ(plan.right, c.right) << c.optical;
        EXPECT_EQ(plan.bottom, c.bottom) << c.optical;
    }
}

TEST(PrescanPlan, ResolutionAndBitmapRows) {
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(0, 0)).resolution, 30);
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(0, 0)).bitmapRows, 510u);
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(0, 7)).resolution, 60);
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(0, 1)).bitmapRows, 1020u);
    EXPECT_EQ(PlanPrescan(600, true, 0, Length(0, 1)).bitmapRows, 690u);
    // A shorter scan keeps the rows of the whole bed.
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(10.0f)).bitmapRows, 510u);
}

TEST(PrescanPlan, UserLengthFromFourInchesUpToTheBed) {
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(3.5f)).bottom, 20400);
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(3.99f)).bottom, 20400);
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(4.0f)).bottom, 4800);
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(10.0f)).bottom, 12000);
    EXPECT_EQ(PlanPrescan(600, false, 0, Length(10.0f)).bottom, 6000);
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(20.0f)).bottom, 20400);
    EXPECT_EQ(PlanPrescan(1200, true, 0, Length(12.0f)).bottom, 13800);
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(std::numeric_limits<float>::quiet_NaN())).bottom, 20400);
    EXPECT_EQ(PlanPrescan(1200, false, 0, Length(std::numeric_limits<float>::infinity())).bottom, 20400);
}

TEST(PrescanPlan, SourceWordGivesSourceAndSpeedByte) {
    ScanPlan plan = PlanPrescan(1200, false, 0x00010003, Length(0));
    EXPECT_EQ(plan.source, 1);
    EXPECT_EQ(plan.speedByte, 0x71);
    plan = PlanPrescan(1200, false, 0x00020002, Length(0));
    EXPECT_EQ(plan.source, 2);
    EXPECT_EQ(plan.speedByte, 0xE1);
    for (uint32_t word : {0x00000005u, 0x00030001u, 0x00000000u}) {
        plan = PlanPrescan(1200, false, word, Length(0));
        EXPECT_EQ(plan.source, 0) << word;
        EXPECT_EQ(plan.speedByte, 1) << word;
    }
}

TEST(PrescanBitmap, RowsPaddedToFourBytes) {
    const ScanPlan plan = PlanPrescan(1200, false, 0, Length(0));
    Bitmap bitmap{};
    ASSERT_TRUE(BitmapForLines(plan, 1053, bitmap));
    EXPECT_EQ(bitmap.width, 351u);
    EXPECT_EQ(bitmap.rowBytes, 1056u);
    EXPECT_EQ(bitmap.rows, 510u);
    EXPECT_EQ(bitmap.pixelBytes, 1056u * 510u);
    ASSERT_TRUE(BitmapForLines(plan, 3, bitmap));
    EXPECT_EQ(bitmap.rowBytes, 4u);
}

// Bytes per line the scanner may not report: none, not whole pixels, or
// wider than the planned area at the scan resolution.
TEST(PrescanBitmap, RefusesLinesThatDoNotFitThePlan) {
    const ScanPlan low = PlanPrescan(1200, false, 0, Length(0));
    Bitmap bitmap{};
    EXPECT_FALSE(BitmapForLines(low, 0, bitmap));
    EXPECT_FALSE(BitmapForLines(low, 1052, bitmap));
    EXPECT_FALSE(BitmapForLines(low, 1056, bitmap));
    EXPECT_FALSE(BitmapForLines(low, 65535, bitmap));
    const ScanPlan high = PlanPrescan(1200, false, 0, Length(0, 1));
    EXPECT_TRUE(BitmapForLines(high, 2106, bitmap));
    EXPECT_FALSE(BitmapForLines(high, 2109, bitmap));
}
