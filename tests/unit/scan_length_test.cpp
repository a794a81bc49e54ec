#include "engine/scan_length.h"

#include <gtest/gtest.h>

using namespace preview;

TEST(ScanLength, TheRulerStandsFor17Or11AndAHalfInches) {
    EXPECT_FLOAT_EQ(RulerInches(false, 0), 17.0f);
    EXPECT_FLOAT_EQ(RulerInches(true, 1), 17.0f);
    EXPECT_FLOAT_EQ(RulerInches(true, 0), 11.5f);
    EXPECT_FLOAT_EQ(RulerInches(true, 2), 11.5f);
}

TEST(ScanLength, PositionsAndInchesOnA255PixelRuler) {
    EXPECT_FLOAT_EQ(ScanLengthAt(255, 255, 17.0f), 17.0f);
    EXPECT_FLOAT_EQ(ScanLengthAt(30, 255, 17.0f), 2.0f);
    EXPECT_EQ(MarkerAt(4.0f, 255, 17.0f), 60);
    EXPECT_EQ(MarkerAt(11.5f, 255, 11.5f), 255);
    EXPECT_EQ(ClampMarker(0, 255), 5);
    EXPECT_EQ(ClampMarker(300, 255), 250);
    EXPECT_EQ(ClampMarker(100, 255), 100);
    EXPECT_FLOAT_EQ(ScanLengthAt(10, 0, 17.0f), 0.0f);
}
