#include "engine/preview_geometry.h"

#include <gtest/gtest.h>

using preview::BedUnits;
using preview::Extent;
using preview::FitToBed;
using preview::Point;
using preview::View;

TEST(PreviewGeometry, BedInUnitsOfAThirtiethOfAnInch) {
    const Extent a3 = BedUnits(11.7f, 17.0f);
    EXPECT_EQ(a3.width, 351);
    EXPECT_EQ(a3.height, 510);
    const Extent letter = BedUnits(8.5f, 11.7f);
    EXPECT_EQ(letter.width, 255);
    EXPECT_EQ(letter.height, 351);
}

TEST(PreviewGeometry, FitsTheBedsProportionsIntoTheRoom) {
    // A tall room: full width, height 510/351 of it.
    Extent fit = FitToBed({351, 1000}, {351, 510});
    EXPECT_EQ(fit.width, 351);
    EXPECT_EQ(fit.height, 510);
    // A wide room: full height 255, width 255 x 351 / 510 = 175.5.
    fit = FitToBed({400, 255}, {351, 510});
    EXPECT_EQ(fit.width, 175);
    EXPECT_EQ(fit.height, 255);
    fit = FitToBed({1, 1000}, {351, 510});
    EXPECT_EQ(fit.width, 1);
    EXPECT_EQ(fit.height, 1);
    fit = FitToBed({0, 100}, {351, 510});
    EXPECT_EQ(fit.width, 0);
    EXPECT_EQ(fit.height, 0);
    fit = FitToBed({100, 100}, {0, 510});
    EXPECT_EQ(fit.height, 0);
}

TEST(PreviewGeometry, PixelsAndUnitsOfAZoomedView) {
    // 175 x 255 pixels show the 351 x 510 bed at zoom 1: a unit is about half a pixel.
    View view{{351, 510}, {175, 255}, 1, {0, 0}};
    Point u = preview::ToUnits(view, {100, 200});
    EXPECT_EQ(u.x, 200);  // 100 x 351 / 175 = 200.57
    EXPECT_EQ(u.y, 400);
    Point p = preview::ToPixels(view, {351, 510});
    EXPECT_EQ(p.x, 175);
    EXPECT_EQ(p.y, 255);
    // Zoom 4 from unit (100, 50): pixel 0 is that unit, 700 pixels are 351 units.
    view = {{351, 510}, {175, 255}, 4, {100, 50}};
    u = preview::ToUnits(view, {700, 1020});
    EXPECT_EQ(u.x, 451);
    EXPECT_EQ(u.y, 560);
    // Left of and above the view: negative pixels, rounded down.
    u = preview::ToUnits(view, {-1, -1});
    EXPECT_EQ(u.x, 99);
    EXPECT_EQ(u.y, 49);
    p = preview::ToPixels(view, {99, 50});
    EXPECT_EQ(p.x, -2);  // -700 / 351 = -1.99
    EXPECT_EQ(p.y, 0);
}
