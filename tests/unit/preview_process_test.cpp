#include "imaging/preview_process.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One row of pixels, blue-green-red, padded to 4 bytes.
std::vector<uint8_t> Row(std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t> row(bytes);
    row.resize((row.size() + 3) & ~size_t{3}, 0xEE);
    return row;
}

ToneSettings Linear() {
    ToneSettings tone;
    for (ToneChannel& c : tone.channels) c = {255, 0, 10, 0};
    return tone;
}

}  // namespace

TEST(PreviewProcess, LinearColourSettingsLeaveThePictureAlone) {
    std::vector<uint8_t> row = Row({1, 2, 3, 250, 128, 0});
    const std::vector<uint8_t> before = row;
    ASSERT_TRUE(tone::ProcessPreviewPixels(Linear(), kModeColour, row.data(), row.size(), 2, 1, row.size()));
    EXPECT_EQ(row, before);
}

TEST(PreviewProcess, ColourHighlightStretchesEachChannel) {
    ToneSettings tone = Linear();
    tone.channels[kToneRed].highlight = 128;   // red: level i -> 255 i / 128
    tone.channels[kToneBlue].shadow = 100;     // blue: (i - 100) * 255 / 155
    std::vector<uint8_t> row = Row({200, 64, 64});
    ASSERT_TRUE(tone::ProcessPreviewPixels(tone, kModeColour, row.data(), row.size(), 1, 1, row.size()));
    EXPECT_EQ(row[0], 164);  // 100 * 255 / 155 = 164.5
    EXPECT_EQ(row[1], 64);
    EXPECT_EQ(row[2], 127);  // 64 * 255 / 128 = 127.5
}

TEST(PreviewProcess, GreyAndLineArtEndAsGreyLevels) {
    std::vector<uint8_t> grey = Row({10, 20, 60, 200, 210, 220});
    ASSERT_TRUE(tone::ProcessPreviewPixels(Linear(), kModeGray, grey.data(), grey.size(), 2, 1, grey.size()));
    EXPECT_EQ(std::vector<uint8_t>(grey.begin(), grey.begin() + 6), (std::vector<uint8_t>{30, 30, 30, 210, 210, 210}));
    std::vector<uint8_t> lineArt = Row({100, 100, 100, 130, 130, 130});
    ASSERT_TRUE(tone::ProcessPreviewPixels(Linear(), kModeLineArt, lineArt.data(), lineArt.size(), 2, 1,
                                           lineArt.size()));
    EXPECT_EQ(std::vector<uint8_t>(lineArt.begin(), lineArt.begin() + 6), (std::vector<uint8_t>{0, 0, 0, 255, 255, 255}));
    // A picture that does not fit its buffer is refused.
    EXPECT_FALSE(tone::ProcessPreviewPixels(Linear(), kModeGray, grey.data(), 3, 2, 1, grey.size()));
}

TEST(PreviewProcess, GreyLevelsTakeOneByteAPixelIntoTheirOwnRows) {
    // Two rows of two pixels, 8 bytes apart; the levels go 4 bytes apart.
    const uint8_t picture[16] = {10, 20, 60, 200, 210, 221, 0, 0, 255, 255, 255, 1, 2, 3, 0, 0};
    uint8_t levels[8] = {};
    tone::GreyLevels(picture, 2, 2, 8, levels, 4);
    EXPECT_EQ(std::vector<uint8_t>(levels, levels + 8), (std::vector<uint8_t>{30, 210, 0, 0, 255, 2, 0, 0}));
}
