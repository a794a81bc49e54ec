#include "engine/preview_zoom.h"

#include <gtest/gtest.h>

using namespace preview;

TEST(PreviewZoom, RangesAndStepsOfEachZoom) {
    // 351 x 510 units: at zoom z the view shows 1/z of the bed.
    const struct {
        int zoom, rangeX, rangeY;
    } cases[] = {{1, 0, 0}, {2, 175, 255}, {4, 263, 382}, {8, 307, 446}};
    for (const auto& c : cases) {
        EXPECT_EQ(ScrollRange(351, c.zoom), c.rangeX) << c.zoom;
        EXPECT_EQ(ScrollRange(510, c.zoom), c.rangeY) << c.zoom;
    }
    EXPECT_EQ(LineStep(510, 2), 25);  // 255 / 10
    EXPECT_EQ(PageStep(510, 2), 127);
    EXPECT_EQ(LineStep(351, 8), 7);  // 307 / 40
    EXPECT_EQ(PageStep(351, 8), 38);
    EXPECT_EQ(LineStep(351, 1), 1);
}

TEST(PreviewZoom, ZoomingInPutsTheClickAtTheTopLeftInsideTheBed) {
    View view{{351, 510}, {175, 255}, 1, {0, 0}};
    ASSERT_TRUE(ZoomIn(view, {100, 120}));
    EXPECT_EQ(view.zoom, 2);
    EXPECT_EQ(view.origin.x, 100);
    EXPECT_EQ(view.origin.y, 120);
    // At the bottom-right corner the view shows the last 351/4 x 510/4 units.
    ASSERT_TRUE(ZoomIn(view, {350, 509}));
    EXPECT_EQ(view.zoom, 4);
    EXPECT_EQ(view.origin.x, 351 - 88);
    EXPECT_EQ(view.origin.y, 510 - 128);
    ASSERT_TRUE(ZoomIn(view, {0, 0}));
    EXPECT_EQ(view.zoom, 8);
    // The limit changes nothing.
    EXPECT_FALSE(ZoomIn(view, {10, 10}));
    EXPECT_EQ(view.zoom, 8);
    EXPECT_EQ(view.origin.x, 0);
}

TEST(PreviewZoom, ZoomingOutKeepsTheViewInsideTheBed) {
    View view{{351, 510}, {175, 255}, 8, {307, 446}};
    ASSERT_TRUE(ZoomOut(view));
    EXPECT_EQ(view.zoom, 4);
    EXPECT_EQ(view.origin.x, 263);
    EXPECT_EQ(view.origin.y, 382);
    ASSERT_TRUE(ZoomOut(view));
    ASSERT_TRUE(ZoomOut(view));
    EXPECT_EQ(view.zoom, 1);
    EXPECT_EQ(view.origin.x, 0);
    EXPECT_EQ(view.origin.y, 0);
    EXPECT_FALSE(ZoomOut(view));
    EXPECT_EQ(view.zoom, 1);
}

TEST(PreviewZoom, ADragOutsideTheViewScrollsByLinesUpToTheEnds) {
    // Zoom 2: line steps 351 x 1/2 / 10 = 17 and 510 x 1/2 / 10 = 25 units.
    View view{{351, 510}, {175, 255}, 2, {100, 100}};
    Point origin = AutoScrolled(view, {-3, 300});
    EXPECT_EQ(origin.x, 83);
    EXPECT_EQ(origin.y, 125);
    origin = AutoScrolled(view, {50, 50});
    EXPECT_EQ(origin.x, 100);
    EXPECT_EQ(origin.y, 100);
    view.origin = {170, 250};
    origin = AutoScrolled(view, {175, 255});
    EXPECT_EQ(origin.x, 175);
    EXPECT_EQ(origin.y, 255);
    view.origin = {0, 0};
    origin = AutoScrolled(view, {-1, -1});
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
}
