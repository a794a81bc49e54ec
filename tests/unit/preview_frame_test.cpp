#include "engine/preview_frame.h"

#include <gtest/gtest.h>

using namespace preview;

namespace {

const Extent kBed = {351, 510};

void ExpectFrame(const Frame& f, int left, int top, int right, int bottom) {
    EXPECT_EQ(f.left, left);
    EXPECT_EQ(f.top, top);
    EXPECT_EQ(f.right, right);
    EXPECT_EQ(f.bottom, bottom);
}

}  // namespace

TEST(PreviewFrame, HitCodesAroundTheFrame) {
    const Frame f = {100, 200, 300, 400};
    const struct {
        int x, y;
        HitCode code;
    } cases[] = {
        {100, 200, kHitTopLeft},  {200, 198, kHitTop},    {303, 202, kHitTopRight}, {98, 402, kHitBottomLeft},
        {200, 401, kHitBottom},   {302, 400, kHitBottomRight}, {101, 300, kHitLeft}, {299, 300, kHitRight},
        {200, 300, kHitInside},   {96, 300, kHitOutside}, {200, 404, kHitOutside}, {304, 300, kHitOutside},
    };
    for (const auto& c : cases) EXPECT_EQ(HitTest(f, {c.x, c.y}, 3, 3, false), c.code) << c.x << "," << c.y;
    EXPECT_EQ(HitTest(f, {10, 10}, 3, 3, true), kHitNewFrame);
    // An inverted frame is hit like its normalised self.
    EXPECT_EQ(HitTest({300, 400, 100, 200}, {100, 200}, 3, 3, false), kHitTopLeft);
}

TEST(PreviewFrame, NewFrameFromThePressKeptOnTheBedAndNormalisedOnRelease) {
    const Frame drawn = DragFrame({}, kHitNewFrame, {200, 300}, {-40, 600}, kBed, 2);
    ExpectFrame(drawn, 200, 300, 0, 510);
    ExpectFrame(Normalised(drawn), 0, 300, 200, 510);
    // Dragged up and to the left.
    ExpectFrame(Normalised(DragFrame({}, kHitNewFrame, {200, 300}, {50, 100}, kBed, 2)), 50, 100, 200, 300);
}

TEST(PreviewFrame, ClippingToTheBedNormalisesAndKeepsWhatLiesOnIt) {
    ExpectFrame(ClippedToBed({400, 600, 300, 440}, kBed), 300, 440, 351, 510);
    ExpectFrame(ClippedToBed({-5, 20, 100, 90}, kBed), 0, 20, 100, 90);
    ExpectFrame(ClippedToBed({78, 81, 150, 145}, kBed), 78, 81, 150, 145);
}

TEST(PreviewFrame, MovingKeepsTheSizeAndStopsAtTheBedsEdges) {
    const Frame f = {100, 200, 300, 400};
    ExpectFrame(DragFrame(f, kHitInside, {150, 250}, {160, 230}, kBed, 2), 110, 180, 310, 380);
    ExpectFrame(DragFrame(f, kHitInside, {150, 250}, {500, 900}, kBed, 2), 151, 310, 351, 510);
    ExpectFrame(DragFrame(f, kHitInside, {150, 250}, {-500, -900}, kBed, 2), 0, 0, 200, 200);
    ExpectFrame(DragFrame(f, kHitOutside, {10, 10}, {50, 50}, kBed, 2), 100, 200, 300, 400);
}

TEST(PreviewFrame, EdgesFollowThePointerButNeverPassTheOppositeEdge) {
    const Frame f = {100, 200, 300, 400};
    ExpectFrame(DragFrame(f, kHitRight, {300, 300}, {320, 300}, kBed, 2), 100, 200, 320, 400);
    // The right edge dragged across the left edge stops 2 short of it.
    ExpectFrame(DragFrame(f, kHitRight, {300, 300}, {50, 300}, kBed, 2), 100, 200, 102, 400);
    ExpectFrame(DragFrame(f, kHitTopLeft, {100, 200}, {350, 450}, kBed, 2), 298, 398, 300, 400);
    ExpectFrame(DragFrame(f, kHitBottomLeft, {100, 400}, {-20, 600}, kBed, 2), 0, 200, 300, 510);
    ExpectFrame(DragFrame(f, kHitTop, {200, 200}, {0, -5}, kBed, 2), 100, 0, 300, 400);
    ExpectFrame(DragFrame(f, kHitBottom, {200, 400}, {0, 100}, kBed, 2), 100, 200, 300, 202);
    ExpectFrame(DragFrame(f, kHitTopRight, {300, 200}, {400, 190}, kBed, 2), 100, 190, 351, 400);
    ExpectFrame(DragFrame(f, kHitBottomRight, {300, 400}, {290, 410}, kBed, 2), 100, 200, 290, 410);
    ExpectFrame(DragFrame(f, kHitLeft, {100, 300}, {90, 0}, kBed, 2), 90, 200, 300, 400);
}

TEST(PreviewFrame, AntsPatternRotatesOneRowPerBlink) {
    uint8_t rows[8];
    AntsPattern(0, rows);
    const uint8_t start[8] = {0x1F, 0x3E, 0x7C, 0xF8, 0xF1, 0xE3, 0xC7, 0x8F};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(rows[i], start[i]);
    AntsPattern(1, rows);
    EXPECT_EQ(rows[0], 0x3E);
    EXPECT_EQ(rows[7], 0x1F);
    AntsPattern(8, rows);
    EXPECT_EQ(rows[0], 0x1F);
}
