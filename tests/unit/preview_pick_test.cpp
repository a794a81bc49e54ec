#include "engine/preview_pick.h"

#include <gtest/gtest.h>

#include <vector>

using namespace preview;

TEST(PreviewPick, PickedValuesKeepTheShadowBelowTheHighlight) {
    const ToneChannel c{200, 50, 18, 0};
    struct Case {
        bool highlight;
        int value;
        int wantHighlight, wantShadow;
    } cases[] = {
        {true, 120, 120, 50},   // above the shadow: taken
        {true, 50, 50, 49},     // at the shadow: the shadow moves under it
        {true, 30, 30, 29},
        {true, 0, 1, 0},        // the lowest highlight
        {false, 100, 200, 100}, // below the highlight: taken
        {false, 200, 201, 200}, // at the highlight: it moves above
        {false, 254, 255, 254},
        {false, 255, 255, 254}, // the highest shadow
    };
    for (const Case& k : cases) {
        const ToneChannel r = k.highlight ? WithPickedHighlight(c, k.value) : WithPickedShadow(c, k.value);
        EXPECT_EQ(r.highlight, k.wantHighlight) << k.highlight << " " << k.value;
        EXPECT_EQ(r.shadow, k.wantShadow) << k.highlight << " " << k.value;
        EXPECT_EQ(r.gamma, 18);
    }
}

TEST(PreviewPick, PointsOfTheBedFallOnPixelsAndTheLoupeIsCutAtTheEdges) {
    const Extent bed{351, 510};
    PixelSpot spot;
    // A picture of 702 x 1020 pixels: two pixels a unit.
    ASSERT_TRUE(PixelUnder(bed, 702, 1020, {0, 0}, spot));
    EXPECT_EQ(spot.x, 0);
    ASSERT_TRUE(PixelUnder(bed, 702, 1020, {350, 509}, spot));
    EXPECT_EQ(spot.x, 700);
    EXPECT_EQ(spot.y, 1018);
    EXPECT_FALSE(PixelUnder(bed, 702, 1020, {351, 10}, spot));
    EXPECT_FALSE(PixelUnder(bed, 702, 1020, {10, -1}, spot));

    const LoupeArea middle = LoupeAround({10, 10}, 100, 100);
    EXPECT_EQ(middle.left, 8);
    EXPECT_EQ(middle.top, 8);
    EXPECT_EQ(middle.width, 5);
    EXPECT_EQ(middle.height, 5);
    const LoupeArea corner = LoupeAround({0, 99}, 100, 100);
    EXPECT_EQ(corner.left, 0);
    EXPECT_EQ(corner.width, 3);
    EXPECT_EQ(corner.top, 97);
    EXPECT_EQ(corner.height, 3);
    EXPECT_EQ(LoupeAround({1, 98}, 100, 100).width, 4);
}

TEST(PreviewPick, PixelsAreReadTopDownFromBottomUpRows) {
    // 2 x 2 picture, rows padded to 8 bytes, the bottom row stored first.
    const std::vector<uint8_t> bytes = {
        1, 2, 3, 4, 5, 6, 0, 0,       // bottom row: (0,1) and (1,1)
        7, 8, 9, 30, 60, 90, 0, 0,    // top row: (0,0) and (1,0)
    };
    const PreviewBitmap bitmap{2, 2, 8, 0};
    const PickedPixel top = PixelAt(bytes.data(), bitmap, {1, 0});
    EXPECT_EQ(top.red, 90);
    EXPECT_EQ(top.green, 60);
    EXPECT_EQ(top.blue, 30);
    EXPECT_EQ(top.Grey(), 60);
    EXPECT_EQ(PixelAt(bytes.data(), bitmap, {0, 1}).red, 3);
}
