#include <gtest/gtest.h>

#include <climits>

#include "imaging/hue_wheel.h"

using namespace colour;

TEST(HueWheel, DiameterIsTheFrameWidthMadeEven) {
    EXPECT_EQ(HueWheelOf(10, 20, 101).diameter, 102);
    EXPECT_EQ(HueWheelOf(10, 20, 100).diameter, 100);
}

TEST(HueWheel, InsideTheInscribedCircleOnly) {
    const HueWheel wheel = HueWheelOf(10, 20, 99);  // centre (60, 70), radius 50
    EXPECT_TRUE(InsideHueWheel(wheel, 60, 70));
    EXPECT_TRUE(InsideHueWheel(wheel, 10, 70));    // left edge
    EXPECT_TRUE(InsideHueWheel(wheel, 60, 120));   // bottom edge
    EXPECT_TRUE(InsideHueWheel(wheel, 90, 110));   // 30, 40: on the circle
    EXPECT_FALSE(InsideHueWheel(wheel, 9, 70));
    EXPECT_FALSE(InsideHueWheel(wheel, 91, 110));
    EXPECT_FALSE(InsideHueWheel(wheel, 12, 22));   // corner of the square
    EXPECT_FALSE(InsideHueWheel(wheel, INT_MIN, INT_MAX));
    EXPECT_FALSE(InsideHueWheel(HueWheelOf(10, 20, 0), 10, 20));
}

TEST(HueWheel, StoredPickOutsideFallsBackNearTheCentre) {
    const HueWheel wheel = HueWheelOf(10, 20, 99);
    const HuePoint reset = HueWheelResetPoint(wheel);
    EXPECT_EQ(reset.x, 58);  // left + 50 - 2
    EXPECT_EQ(reset.y, 68);
    EXPECT_TRUE(InsideHueWheel(wheel, reset.x, reset.y));

    const HuePoint inside = CheckedCirclePos(wheel, {30, 80});
    EXPECT_EQ(inside.x, 30);
    EXPECT_EQ(inside.y, 80);
    const HuePoint outside = CheckedCirclePos(wheel, {44, 125});  // 16 and 55 off the centre
    EXPECT_EQ(outside.x, 58);
    EXPECT_EQ(outside.y, 68);
}

TEST(HueWheel, ColourIsWhiteAtTheCentreAndTheHueOnTheRim) {
    const HueWheel wheel = HueWheelOf(10, 20, 80);  // centre (50, 60), radius 40
    auto expect = [&](int x, int y, int r, int g, int b) {
        const PickedColour c = HueWheelColour(wheel, x, y);
        EXPECT_EQ(c.r, r);
        EXPECT_EQ(c.g, g);
        EXPECT_EQ(c.b, b);
    };
    expect(50, 60, 255, 255, 255);
    expect(90, 60, 255, 0, 0);    // right: red
    expect(10, 60, 0, 255, 255);   // left: cyan
    expect(70, 60, 255, 128, 128);   // half way to red: 255 - 127.5, rounded
    expect(200, 60, 255, 0, 0);   // beyond the rim: the rim's colour
}
