#include "engine/frame_units.h"

#include <gtest/gtest.h>

TEST(FrameUnits, PreviewUnitsBecomeOpticalUnits) {
    const uint16_t frame[4] = {30, 30, 150, 120};  // 1,1 .. 5,4 inches
    ScanFrame optical = PreviewFrameToOptical(frame, 1200, 11.7f, 17.0f);
    EXPECT_EQ(optical.left, 1200);
    EXPECT_EQ(optical.top, 1200);
    EXPECT_EQ(optical.right, 6000);
    EXPECT_EQ(optical.bottom, 4800);
    EXPECT_DOUBLE_EQ(FrameWidthInches(frame), 4.0);
    EXPECT_DOUBLE_EQ(FrameLengthInches(frame), 3.0);
}

TEST(FrameUnits, The606ModelWorksIn1200thsAnd600In600ths) {
    const uint16_t frame[4] = {78, 81, 150, 145};
    EXPECT_EQ(PreviewFrameToOptical(frame, 606, 11.7f, 17.0f).right, 6000);
    EXPECT_EQ(PreviewFrameToOptical(frame, 600, 11.7f, 17.0f).right, 3000);
    EXPECT_EQ(PreviewFrameToOptical(frame, 800, 11.7f, 17.0f).left, 2080);
}

TEST(FrameUnits, EdgesAreOrderedAndClampedToTheBed) {
    const uint16_t drawnBackwards[4] = {150, 145, 78, 81};
    ScanFrame optical = PreviewFrameToOptical(drawnBackwards, 600, 11.7f, 17.0f);
    EXPECT_EQ(optical.left, 1560);
    EXPECT_EQ(optical.right, 3000);
    EXPECT_EQ(optical.top, 1620);
    EXPECT_EQ(optical.bottom, 2900);
    const uint16_t beyond[4] = {0, 0, 1000, 1000};
    ScanFrame clamped = PreviewFrameToOptical(beyond, 1200, 8.5f, 11.5f);
    EXPECT_EQ(clamped.right, 255 * 40);
    EXPECT_EQ(clamped.bottom, 345 * 40);
}
