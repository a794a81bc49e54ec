#include "engine/dialog_settings.h"

#include <gtest/gtest.h>

namespace {

TEST(StartingSourceAndSpeed, WithoutAdapterAStoredFeederSourceSwitchesTheFeederOn) {
    const SourceAndSpeed stored = StartingSourceAndSpeed(false, 3, 0x5A, false);
    EXPECT_TRUE(stored.feederEnabled);
    EXPECT_EQ(stored.scanSource, 3);
    EXPECT_EQ(stored.word, 0x00030000u);
    EXPECT_EQ(stored.velocity, 0x0A);

    const SourceAndSpeed enabled = StartingSourceAndSpeed(false, 0, 0x71, true);
    EXPECT_EQ(enabled.scanSource, 3);
    EXPECT_EQ(enabled.word, 0x00030000u);

    // A film source without the adapter falls back to the bed.
    const SourceAndSpeed film = StartingSourceAndSpeed(false, 2, 0xF3, false);
    EXPECT_FALSE(film.feederEnabled);
    EXPECT_EQ(film.scanSource, 0);
    EXPECT_EQ(film.word, 0u);
    EXPECT_EQ(film.velocity, 0x03);
}

TEST(StartingSourceAndSpeed, WithAdapterTheWordCarriesSourceAndSpeedBits4To6) {
    const SourceAndSpeed film = StartingSourceAndSpeed(true, 2, 0xD5, false);  // bits 4..6 of 0xD5: 5
    EXPECT_EQ(film.word, 0x00020005u);
    EXPECT_EQ(film.scanSource, 2);
    EXPECT_EQ(film.velocity, 0x05);
    EXPECT_FALSE(film.feederEnabled);
}

ScanSettings ChangedSettings() {
    ScanSettings s;
    s.scanMode = 1013;
    s.colourKind = 0;
    s.isColour = false;
    s.scanSource = 1;
    s.sourceId = 1094;
    s.resolution = 1200;
    s.scaling = 250;
    s.destination = 1022;
    s.qualityFactor = 25;
    s.descreen = 1019;
    s.descreenActive = true;
    s.outputMatch = 1;
    s.filterMode = 6;
    s.unit = 2;
    s.customRes[0] = 450;
    for (ToneChannel& c : s.tone.channels) c = {200, 30, 25, 0};
    s.tone.channel = 2;
    s.tone.circlePos = {1, 2};
    s.tone.pixelRGB = {1, 2, 3, 0};
    s.tone.hue = 40;
    s.tone.saturation = -30;
    s.tone.colorBalance[0] = -5;
    s.tone.colorBalance[1] = 6;
    s.tone.colorBalance[2] = 7;
    return s;
}

TEST(ApplyResetValues, RestoresEveryResetValueIntoSavedAndLiveTone) {
    ScanSettings s = ChangedSettings();
    ToneSettings saved = s.tone;
    ApplyResetValues(s, saved, false, {57, 61});
    EXPECT_EQ(s.scanMode, 1014);
    EXPECT_EQ(s.colourKind, 0);
    EXPECT_TRUE(s.isColour);
    EXPECT_EQ(s.scanSource, 0);
    EXPECT_EQ(s.sourceId, 1093);
    EXPECT_EQ(s.resolution, 300);
    EXPECT_EQ(s.scaling, 100);
    EXPECT_EQ(s.destination, 1021);
    EXPECT_EQ(s.qualityFactor, 10);
    EXPECT_EQ(s.descreen, 1017);
    EXPECT_FALSE(s.descreenActive);
    EXPECT_EQ(s.outputMatch, 0);
    EXPECT_EQ(s.filterMode, 0);
    // Not reset values: kept.
    EXPECT_EQ(s.unit, 2u);
    EXPECT_EQ(s.customRes[0], 450);

    const int gammas[4] = {10, 18, 18, 18};  // master, red, green, blue
    for (const ToneSettings* tone : {&s.tone, &saved}) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(tone->channels[c].highlight, 255);
            EXPECT_EQ(tone->channels[c].shadow, 0);
            EXPECT_EQ(tone->channels[c].gamma, gammas[c]);
        }
        EXPECT_EQ(tone->channel, 0);
        EXPECT_EQ(tone->circlePos.x, 57);
        EXPECT_EQ(tone->circlePos.y, 61);
        EXPECT_EQ(tone->pixelRGB.r, 255);
        EXPECT_EQ(tone->pixelRGB.g, 255);
        EXPECT_EQ(tone->pixelRGB.b, 255);
        EXPECT_EQ(tone->hue, 0);
        EXPECT_EQ(tone->saturation, 0);
        for (int8_t balance : tone->colorBalance) EXPECT_EQ(balance, 0);
    }
}

TEST(ApplyResetValues, LinearToneHostGetsGamma10Everywhere) {
    ScanSettings s = ChangedSettings();
    ToneSettings saved = s.tone;
    ApplyResetValues(s, saved, true, {0, 0});
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(s.tone.channels[c].gamma, 10);
        EXPECT_EQ(saved.channels[c].gamma, 10);
    }
}

}  // namespace
