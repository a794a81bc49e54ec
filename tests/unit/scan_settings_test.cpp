#include "settings/scan_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "device/request_blocks.h"

namespace {

uint32_t Word(const ToneSettings& tone, int index) {
    uint32_t word;
    std::memcpy(&word, reinterpret_cast<const uint8_t*>(&tone) + 4 * index, 4);
    return word;
}

TEST(ToneSettings, DefaultBlockHasTheDocumentedWords) {
    const ToneSettings tone = DefaultToneSettings();
    EXPECT_EQ(Word(tone, 0), 0x000A00FFu);  // master: highlight 255, shadow 0, gamma 10
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(Word(tone, c), 0x001200FFu);
    EXPECT_EQ(Word(tone, 4), 0u);  // channel 0
    EXPECT_EQ(Word(tone, 6), 44u);
    EXPECT_EQ(Word(tone, 7), 115u);
    EXPECT_EQ(Word(tone, 8), 0x00FFFFFFu);
    EXPECT_EQ(Word(tone, 9) | Word(tone, 10) | Word(tone, 12), 0u);
}

TEST(ToneSettings, ResetKeepsMasterAndChoosesGammaByModeAndHost) {
    ToneSettings tone;
    tone.channels[kToneMaster] = {200, 20, 25, 0};
    tone.channels[kToneGreen] = {100, 50, 30, 0};
    tone.circlePos = {1, 2};
    tone.pixelRGB = {1, 2, 3, 0};
    tone.hue = 5;
    tone.saturation = -5;
    tone.colorBalance[1] = -7;
    tone.channel = kToneBlue;

    ToneSettings colour = tone;
    ResetToneSettings(colour, false, kModeColour, kColourCmyk);
    EXPECT_EQ(colour.channels[kToneMaster].highlight, 200);
    EXPECT_EQ(colour.channels[kToneMaster].gamma, 25);
    EXPECT_EQ(colour.channels[kToneGreen].highlight, 255);
    EXPECT_EQ(colour.channels[kToneGreen].shadow, 0);
    EXPECT_EQ(colour.channels[kToneGreen].gamma, 18);
    EXPECT_EQ(colour.circlePos.x, 44);
    EXPECT_EQ(colour.pixelRGB.g, 255);
    EXPECT_EQ(colour.hue, 0);
    EXPECT_EQ(colour.saturation, 0);
    EXPECT_EQ(colour.colorBalance[1], 0);
    EXPECT_EQ(colour.channel, kToneMaster);

    for (auto [host, mode, kind] : {std::tuple{true, kModeColour, kColour24}, std::tuple{false, kModeColour, kColour36},
                                    std::tuple{false, kModeGray, kColour24}}) {
        ToneSettings other = tone;
        ResetToneSettings(other, host, mode, kind);
        EXPECT_EQ(other.channels[kToneGreen].gamma, 10);
    }

    ScanSettings settings;
    settings.filterMode = 7;
    ResetToneAndFilter(settings, false);
    EXPECT_EQ(settings.filterMode, 0);
}

TEST(ToneSettings, LoadRulesRepairLevels) {
    ToneSettings tone;
    tone.channels[kToneMaster] = {0, 10, 10, 0};   // highlight 0: 255, shadow kept
    tone.channels[kToneRed] = {100, 100, 18, 0};   // shadow equal to highlight
    tone.channels[kToneGreen] = {100, 200, 18, 0};
    tone.channels[kToneBlue] = {100, 99, 18, 0};
    ApplyToneLoadRules(tone, false);
    EXPECT_EQ(tone.channels[kToneMaster].highlight, 255);
    EXPECT_EQ(tone.channels[kToneMaster].shadow, 10);
    EXPECT_EQ(tone.channels[kToneRed].shadow, 0);
    EXPECT_EQ(tone.channels[kToneGreen].shadow, 0);
    EXPECT_EQ(tone.channels[kToneBlue].shadow, 99);
    EXPECT_EQ(tone.channels[kToneBlue].gamma, 18);

    ApplyToneLoadRules(tone, true);
    for (const ToneChannel& channel : tone.channels) EXPECT_EQ(channel.gamma, 10);
}

TEST(ScanSettings, PersistedModeSetsModeKindAndColourTogether) {
    ScanSettings s;
    ASSERT_TRUE(SetPersistedScanMode(s, 1016));
    EXPECT_EQ(s.scanMode, kModeColour);
    EXPECT_EQ(s.colourKind, kColour36);
    EXPECT_TRUE(s.isColour);

    ASSERT_TRUE(SetPersistedScanMode(s, 1012));
    EXPECT_EQ(s.scanMode, kModeFastGray);
    EXPECT_EQ(s.colourKind, kColour24);
    EXPECT_FALSE(s.isColour);

    for (int bad : {0, 1010, 1017}) {
        EXPECT_FALSE(SetPersistedScanMode(s, bad));
        EXPECT_EQ(s.scanMode, kModeFastGray);
    }
    for (int value = 1011; value <= 1016; ++value) {
        ASSERT_TRUE(SetPersistedScanMode(s, value));
        EXPECT_EQ(PersistedScanMode(s), value);
    }
}

TEST(ScanSettings, UnknownModesFail) {
    EXPECT_EQ(BitsPerPixel(kModeGray), 8);
    EXPECT_EQ(BitsPerPixel(1015), 0);  // a stored mode, not a scan mode
    uint8_t code = 99;
    ASSERT_TRUE(ModeCodeFor(kModeColour, kColour36, code));
    EXPECT_EQ(code, 5);
    EXPECT_FALSE(ModeCodeFor(kModeColour, 3, code));
    EXPECT_FALSE(ModeCodeFor(1010, 0, code));
}

struct ResolutionCase {
    uint16_t resolution, scaling, destination, quality;
    bool descreen;
    uint16_t optical;
    bool fileOrMemory;
    uint16_t expected;
    bool interpolate;
};

TEST(ScanSettings, ScanResolution) {
    const ResolutionCase cases[] = {
        {150, 100, kDestMonitor, 10, true, 600, false, 300, false},          // descreen minimum
        {300, 100, kDestHalftonePrinter, 15, false, 600, false, 450, false},  // quality factor
        {1200, 100, kDestMonitor, 10, false, 600, true, 600, true},          // memory: halve, enlarge
        {1200, 100, kDestMonitor, 10, false, 600, false, 600, false},        // native: clamp only
        {1000, 100, kDestMonitor, 10, false, 600, true, 500, true},
        {600, 100, kDestHalftonePrinter, 20, false, 600, true, 300, true},   // no quality factor when halved
        {1200, 100, kDestMonitor, 10, false, 606, false, 1200, false},       // 606 works at 1200
        {300, 250, kDestMonitor, 10, false, 800, true, 750, false},
    };
    for (const ResolutionCase& c : cases) {
        ScanSettings s;
        s.resolution = c.resolution;
        s.scaling = c.scaling;
        s.destination = c.destination;
        s.qualityFactor = c.quality;
        s.descreenActive = c.descreen;
        ScanDerived d;
        d.opticalResolution = c.optical;
        ComputeScanResolution(s, c.fileOrMemory, d);
        EXPECT_EQ(d.scanResolution, c.expected) << c.resolution << " dpi on " << c.optical;
        EXPECT_EQ(d.interpolate, c.interpolate) << c.resolution << " dpi on " << c.optical;
    }
}

// The scanner's rule as it states it: a step-by-step counter, narrowed one
// unit at a time, never past the left edge.
bool ReferenceWidth(uint16_t left, uint16_t& right, uint32_t scanRes, uint32_t rate, bool lineArt) {
    for (uint32_t edge = right; edge > left; --edge) {
        uint32_t acc = rate, count = 0;
        for (uint32_t i = left; i < edge; ++i) {
            acc += scanRes;
            while (acc > rate) acc -= rate, ++count;
        }
        if (lineArt) count /= 8;
        if (count % 4 == 0 && count % 128 != 0) {
            right = static_cast<uint16_t>(edge);
            return true;
        }
    }
    return false;
}

TEST(ScanWidth, NarrowsA512PixelLine) {
    uint16_t right = 1024;  // 1024 units at 300 of 600 dpi: 512 pixels
    ASSERT_TRUE(AcceptScanWidth(0, right, 300, 600, false));
    EXPECT_EQ(right, 1016);  // 508 pixels
}

TEST(ScanWidth, MatchesTheStepwiseCounter) {
    for (uint16_t optical : {600, 606, 800, 1200}) {
        const uint32_t rate = optical == 606 ? 1200 : optical;
        for (uint16_t scanRes : {1, 75, 150, 299, 300, 333, 600, 601, 800, 1200}) {
            if (scanRes > rate) continue;
            for (bool lineArt : {false, true}) {
                for (uint16_t width : {1, 7, 64, 255, 1024, 2048, 4097}) {
                    uint16_t right = static_cast<uint16_t>(100 + width), expected = right;
                    const bool ok = AcceptScanWidth(100, right, scanRes, optical, lineArt);
                    EXPECT_EQ(ok, ReferenceWidth(100, expected, scanRes, rate, lineArt));
                    EXPECT_EQ(right, expected) << optical << " " << scanRes << " " << width << " " << lineArt;
                }
            }
        }
    }
}

TEST(ScanWidth, GivesUpAtTheLeftEdge) {
    uint16_t right = 300;
    EXPECT_FALSE(AcceptScanWidth(100, right, 0, 600, false));  // no pixels at all
    EXPECT_FALSE(AcceptScanWidth(100, right, 300, 0, false));  // unknown scanner
    EXPECT_FALSE(AcceptScanWidth(100, right, 75, 600, true));  // 25 pixels: 3 bytes at most
    EXPECT_FALSE(AcceptScanWidth(300, right, 300, 600, false));
    EXPECT_FALSE(AcceptScanWidth(400, right, 300, 600, false));
    EXPECT_EQ(right, 300);
    right = 356;  // 32 pixels make 4 bytes
    EXPECT_TRUE(AcceptScanWidth(100, right, 75, 600, true));
    EXPECT_EQ(right, 356);
}

TEST(ScanSettings, SpeedRule) {
    auto speed = [](const char* setting, uint16_t mode, uint8_t source, uint16_t res) {
        return ApplySpeedRule(0xA7, setting, mode, source, res);
    };
    for (const char* no : {"No", "NO", "no"}) {
        const SpeedChoice c = speed(no, kModeGray, 0, 300);
        EXPECT_EQ(c.velocity, 0xA0);
        EXPECT_FALSE(c.slowPacing);
    }
    const SpeedChoice slow = speed("Yes", kModeGray, kSourcePositive, 400);
    EXPECT_EQ(slow.velocity, 0xA2);
    EXPECT_TRUE(slow.slowPacing);
    EXPECT_TRUE(speed("", kModeLineArt, 0, 75).slowPacing);
    EXPECT_TRUE(speed("Not", kModeLineArt, 0, 75).slowPacing);
    for (SpeedChoice c : {speed("Yes", kModeColour, 0, 300), speed("Yes", kModeGray, kSourceFeeder, 300),
                          speed("Yes", kModeGray, 0, 401)}) {
        EXPECT_EQ(c.velocity, 0xA0);
        EXPECT_FALSE(c.slowPacing);
    }
}

TEST(ScanSettings, SlowPacingBandsFollowTheRequestedResolution) {
    // A 100-dpi grey scan (scanned at 300 when descreened) is paced before
    // every line: 40000 / (100 x 11.5) ms.
    const SlowPacing low = SlowSpeedPacing(100, kModeGray);
    EXPECT_EQ(low.delayMs, 34u);
    for (uint32_t line : {0u, 1u, 7u}) EXPECT_TRUE(PacedBeforeLine(low, line));
    const SlowPacing grey200 = SlowSpeedPacing(200, kModeGray);  // every 4th line, 40000 / 2300
    EXPECT_EQ(grey200.delayMs, 17u);
    EXPECT_TRUE(PacedBeforeLine(grey200, 8));
    EXPECT_FALSE(PacedBeforeLine(grey200, 9));
    EXPECT_EQ(SlowSpeedPacing(200, kModeFastGray).every, 1);
    EXPECT_EQ(SlowSpeedPacing(200, kModeFastGray).delayMs, 13u);  // 30000 / 2300
    EXPECT_EQ(SlowSpeedPacing(300, kModeGray).every, 6);
    EXPECT_EQ(SlowSpeedPacing(300, kModeLineArt).every, 4);
    EXPECT_EQ(SlowSpeedPacing(400, kModeLineArt).every, 100);
    EXPECT_EQ(SlowSpeedPacing(400, kModeFastGray).every, 70);
}

TEST(ScanWindow, FillsTheBlockAndNarrowsTheFrame) {
    ScanSettings s;
    SetPersistedScanMode(s, 1016);
    s.scanSource = kSourceNegative;
    s.velocity = 0x42;
    ScanFrame frame{10, 20, 1034, 900};
    ScanDerived d;
    d.opticalResolution = 600;
    uint8_t block[blocks::kScanParameterSize];
    std::memset(block, 0xEE, sizeof block);

    ASSERT_TRUE(ComputeScanWindow(s, true, 30, frame, d, block));
    EXPECT_EQ(frame.right, 1026);
    EXPECT_EQ(blocks::GetU16(block, 6), 10);
    EXPECT_EQ(blocks::GetU16(block, 8), 20);
    EXPECT_EQ(blocks::GetU16(block, 10), 1026);
    EXPECT_EQ(blocks::GetU16(block, 12), 900);
    EXPECT_EQ(block[14], kSourceNegative);
    EXPECT_EQ(block[15], 1);
    EXPECT_EQ(block[16], 5);
    EXPECT_EQ(block[17], 0x42);
    EXPECT_EQ(blocks::GetU16(block, 18), 300);
    EXPECT_EQ(blocks::GetU16(block, 24), 30);
    EXPECT_EQ(block[26], 0);
    for (size_t untouched : {0, 1, 2, 3, 4, 5, 20, 21, 22, 23, 27, 31}) EXPECT_EQ(block[untouched], 0xEE);
}

TEST(ScanWindow, RefusesEmptyFramesAndUnknownModes) {
    ScanSettings s;
    ScanDerived d;
    d.opticalResolution = 600;
    uint8_t block[blocks::kScanParameterSize] = {};
    for (ScanFrame frame : {ScanFrame{100, 0, 100, 500}, ScanFrame{0, 50, 500, 50}, ScanFrame{600, 0, 100, 500},
                            ScanFrame{100, 0, 101, 500}}) {
        const ScanFrame before = frame;
        EXPECT_FALSE(ComputeScanWindow(s, false, 20, frame, d, block));
        EXPECT_EQ(frame.right, before.right);
    }
    s.scanMode = 1015;
    ScanFrame frame{0, 0, 1000, 1000};
    EXPECT_FALSE(ComputeScanWindow(s, false, 20, frame, d, block));
    for (uint8_t byte : block) EXPECT_EQ(byte, 0);
}


TEST(Descreen, UnknownValuesAreTakenAsNone) {
    ScanSettings s;
    for (uint16_t value : {0, 1016, 1021, 0xFFFF}) {
        s.descreen = value;
        s.descreenActive = true;
        NormaliseDescreen(s);
        EXPECT_EQ(s.descreen, kDescreenNone) << value;
        EXPECT_FALSE(s.descreenActive);
    }
    for (uint16_t value : {kDescreenNewspaper, kDescreenMagazine, kDescreenArtPrint}) {
        s.descreen = value;
        s.descreenActive = false;
        NormaliseDescreen(s);
        EXPECT_EQ(s.descreen, value);
        EXPECT_TRUE(s.descreenActive);
    }
}

}  // namespace
