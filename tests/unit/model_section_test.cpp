#include "settings/model_section.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/unit/key_map.h"

namespace {

struct Loaded {
    ScanSettings settings;
    ToneSettings saved;
    ToneSettings stash;
    ProfileLoadOutcome outcome;
};

Loaded Load(const KeyMap& section, ProfileLoadContext context = {}, ScanSettings before = {}) {
    Loaded loaded{before, {}, {}, {}};
    loaded.outcome = ReadModelSection(section.Lookup(), context, loaded.settings, loaded.saved, loaded.stash);
    return loaded;
}

bool SameTone(const ToneSettings& a, const ToneSettings& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(ModelSection, AnEmptySectionGivesTheDefaults) {
    Loaded loaded = Load({});
    ScanSettings expected;
    expected.velocity = 1;  // the stored default of Velocity
    EXPECT_EQ(loaded.settings.scanMode, expected.scanMode);
    EXPECT_EQ(loaded.settings.resolution, 300);
    EXPECT_EQ(loaded.settings.destination, kDestMonitor);
    EXPECT_EQ(loaded.settings.qualityFactor, 10);
    EXPECT_EQ(loaded.settings.descreen, kDescreenNone);
    EXPECT_FALSE(loaded.settings.descreenActive);
    EXPECT_EQ(loaded.settings.scaling, 100);
    EXPECT_EQ(loaded.settings.velocity, 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(loaded.settings.frame[i], expected.frame[i]);
    EXPECT_TRUE(SameTone(loaded.settings.tone, ToneSettings{}));
    EXPECT_TRUE(SameTone(loaded.saved, ToneSettings{}));
    EXPECT_FALSE(loaded.outcome.clearFeederFlags);
}

TEST(ModelSection, HighlightsOfZeroBecomeFullAndShadowsStayBelowThem) {
    KeyMap section;
    section.keys["Highlight"] = "  255  200  255    0";
    section.keys["Shadow"] = "   10  200  -20   30";
    Loaded loaded = Load(section);
    for (const ToneSettings* tone : {&loaded.settings.tone, &loaded.saved}) {
        EXPECT_EQ(tone->channels[kToneRed].highlight, 255);
        EXPECT_EQ(tone->channels[kToneGreen].highlight, 200);
        EXPECT_EQ(tone->channels[kToneBlue].highlight, 255);
        EXPECT_EQ(tone->channels[kToneMaster].highlight, 255);
        EXPECT_EQ(tone->channels[kToneRed].shadow, 10);
        EXPECT_EQ(tone->channels[kToneGreen].shadow, 0);  // equal to its highlight
        EXPECT_EQ(tone->channels[kToneBlue].shadow, 0);   // negative, clamped
        EXPECT_EQ(tone->channels[kToneMaster].shadow, 30);
    }
}

TEST(ModelSection, ThirtySixBitColourStashesAndResetsTheLiveBlock) {
    KeyMap section;
    section.keys["ScanMode"] = "1016";
    section.keys["Gamma"] = "   25   22   20   12";
    section.keys["Hue"] = "7";
    section.keys["FilterMode"] = "3";
    Loaded loaded = Load(section);
    EXPECT_EQ(loaded.settings.scanMode, kModeColour);
    EXPECT_EQ(loaded.settings.colourKind, kColour36);
    EXPECT_TRUE(loaded.settings.isColour);
    EXPECT_EQ(loaded.stash.channels[kToneRed].gamma, 25);
    EXPECT_EQ(loaded.stash.hue, 7);
    EXPECT_EQ(loaded.settings.tone.channels[kToneRed].gamma, 10);
    EXPECT_EQ(loaded.settings.tone.channels[kToneBlue].gamma, 10);
    EXPECT_EQ(loaded.settings.tone.channels[kToneMaster].gamma, 12);  // the master channel is kept
    EXPECT_EQ(loaded.settings.tone.hue, 0);
    EXPECT_EQ(loaded.settings.filterMode, 0);
    EXPECT_EQ(loaded.saved.channels[kToneRed].gamma, 25);
}

TEST(ModelSection, ModesOutsideTheStoredRangeLeaveTheModeAlone) {
    ScanSettings before;
    before.scanMode = kModeGray;
    before.isColour = false;
    for (const char* stored : {"1020", "1010", "abc", "-1014"}) {
        KeyMap section;
        section.keys["ScanMode"] = stored;
        Loaded loaded = Load(section, {}, before);
        EXPECT_EQ(loaded.settings.scanMode, kModeGray) << stored;
        EXPECT_FALSE(loaded.settings.isColour) << stored;
    }
}

TEST(ModelSection, SourcesNeedTheirHardware) {
    struct Case {
        const char* stored;
        bool feeder;
        bool adapter;
        int source;
        int sourceId;
        bool clearFeeder;
    };
    const Case cases[] = {
        {"3", false, false, kSourceReflective, 1093, true},  {"3", true, false, kSourceFeeder, 1093, false},
        {"1", false, false, kSourceReflective, 1093, false}, {"1", false, true, kSourcePositive, 1094, false},
        {"2", false, true, kSourceNegative, 1095, false},    {"7", true, true, kSourceReflective, 1093, false},
        {"-", true, true, kSourceReflective, 1093, false},
    };
    for (const Case& c : cases) {
        KeyMap section;
        section.keys["ScanSource"] = c.stored;
        ProfileLoadContext context;
        context.feederPresent = c.feeder;
        context.transparencyAdapter = c.adapter;
        Loaded loaded = Load(section, context);
        EXPECT_EQ(loaded.settings.scanSource, c.source) << c.stored;
        EXPECT_EQ(loaded.settings.sourceId, c.sourceId) << c.stored;
        EXPECT_EQ(loaded.outcome.clearFeederFlags, c.clearFeeder) << c.stored;
    }
}

TEST(ModelSection, OutputModeDecidesOnlyWhenPresent) {
    KeyMap section;
    section.keys["OutputMatch"] = "1";
    EXPECT_EQ(Load(section).settings.outputMatch, 1);
    section.keys["OutputMode"] = "0";
    EXPECT_EQ(Load(section).settings.outputMatch, 0);
    section.keys["OutputMatch"] = "0";
    section.keys["OutputMode"] = "1";
    EXPECT_EQ(Load(section).settings.outputMatch, 1);
}

TEST(ModelSection, DescreenOtherThanNoneSwitchesDescreeningOn) {
    KeyMap section;
    section.keys["DeScreen"] = "1019";
    Loaded loaded = Load(section);
    EXPECT_EQ(loaded.settings.descreen, kDescreenMagazine);
    EXPECT_TRUE(loaded.settings.descreenActive);
    ScanSettings active;
    active.descreenActive = true;
    section.keys["DeScreen"] = "1017";
    EXPECT_TRUE(Load(section, {}, active).settings.descreenActive);
}

TEST(ModelSection, ValuesAreCutToTheirBufferAndClampedToTheirFields) {
    KeyMap section;
    section.keys["ScanRes"] = "30000";
    section.keys["Velocity"] = "999";
    section.keys["Destination"] = "5";
    section.keys["PixelRGB"] = "  999   -1  128";
    section.keys["ColorBalance"] = "  200 -200   -5";
    section.keys["Gamma"] = "  300   18   18   10";
    section.keys["Channel"] = "9";
    section.keys["UnitFlag"] = "7";
    section.keys["FilterMode"] = "9";
    section.keys["CustomRes"] = "-5";
    Loaded loaded = Load(section);
    const ToneSettings& tone = loaded.settings.tone;
    EXPECT_EQ(loaded.settings.resolution, 3000);
    EXPECT_EQ(loaded.settings.velocity, 255);
    EXPECT_EQ(loaded.settings.destination, kDestMonitor);
    EXPECT_EQ(tone.pixelRGB.r, 255);
    EXPECT_EQ(tone.pixelRGB.g, 0);
    EXPECT_EQ(tone.pixelRGB.b, 128);
    EXPECT_EQ(tone.colorBalance[0], 127);
    EXPECT_EQ(tone.colorBalance[1], -128);
    EXPECT_EQ(tone.colorBalance[2], -5);
    EXPECT_EQ(tone.channels[kToneRed].gamma, 127);
    EXPECT_EQ(tone.channel, kToneMaster);
    EXPECT_EQ(loaded.settings.unit, 0u);
    EXPECT_EQ(loaded.settings.filterMode, 0);
    for (uint16_t custom : loaded.settings.customRes) EXPECT_EQ(custom, 0);
}

TEST(ModelSection, SaveWritesEveryKeyInOrder) {
    ScanSettings settings;
    settings.scanMode = kModeColour;
    settings.colourKind = kColourCmyk;
    settings.customRes[1] = 450;
    settings.tone.channels[kToneGreen].highlight = 200;
    settings.tone.colorBalance[0] = -5;
    settings.prescanHiRes = 1;
    const int frame[4] = {10, 20, 300, 400};
    const KeyValues values = ModelSectionValues(settings, frame);
    const char* const order[] = {"ScanMode",  "ScanSource", "ScanRes",   "CustomRes",    "Destination",
                                 "Quality Factor", "DeScreen", "OutputMatch", "Scaling", "FilterMode",
                                 "Highlight", "Shadow",     "Gamma",     "Hue",          "CirclePos",
                                 "PixelRGB",  "Saturation", "ColorBalance", "Channel",  "UnitFlag",
                                 "Frame",     "DpiScale",   "Velocity",  "PrescanHiRes"};
    ASSERT_EQ(values.size(), std::size(order));
    for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(values[i].first, order[i]);
    KeyMap written;
    written.Put(values);
    EXPECT_EQ(written.keys["ScanMode"], "1015");
    EXPECT_EQ(written.keys["CustomRes"], "0    450  0    0    0    ");
    EXPECT_EQ(written.keys["Highlight"], "255  200  255  255  ");
    EXPECT_EQ(written.keys["Gamma"], "18   18   18   10   ");
    EXPECT_EQ(written.keys["ColorBalance"], "-5   0    0    ");
    EXPECT_EQ(written.keys["Frame"], "10  20  300 400 ");
    EXPECT_EQ(written.keys["PrescanHiRes"], "1");
}

TEST(ModelSection, SavedSettingsReadBackUnchanged) {
    ScanSettings settings;
    settings.scanMode = kModeFastGray;
    settings.isColour = false;
    settings.resolution = 1200;
    settings.customRes[4] = 2400;
    settings.destination = kDestHalftonePrinter;
    settings.qualityFactor = 25;
    settings.descreen = kDescreenArtPrint;
    settings.descreenActive = true;
    settings.outputMatch = 1;
    settings.scaling = 250;
    settings.filterMode = 8;
    settings.unit = 3;
    settings.dpiScale = 4;
    settings.velocity = 0x21;
    ToneSettings& tone = settings.tone;
    tone.channels[kToneBlue] = {240, 12, 22, 0};
    tone.channels[kToneMaster] = {250, 3, -4, 0};
    tone.channel = kToneBlue;
    tone.circlePos = {-30, 215};
    tone.pixelRGB = {1, 2, 3, 0};
    tone.hue = -90;
    tone.saturation = 40;
    tone.colorBalance[0] = -128;
    tone.colorBalance[1] = 127;
    tone.colorBalance[2] = -1;
    const int frame[4] = {0, 5, 351, 510};
    KeyMap section;
    section.Put(ModelSectionValues(settings, frame));

    Loaded loaded = Load(section);
    EXPECT_EQ(loaded.settings.scanMode, settings.scanMode);
    EXPECT_EQ(loaded.settings.resolution, settings.resolution);
    EXPECT_EQ(loaded.settings.customRes[4], 2400);
    EXPECT_EQ(loaded.settings.destination, settings.destination);
    EXPECT_EQ(loaded.settings.qualityFactor, settings.qualityFactor);
    EXPECT_EQ(loaded.settings.descreen, settings.descreen);
    EXPECT_EQ(loaded.settings.outputMatch, 1);
    EXPECT_EQ(loaded.settings.scaling, 250);
    EXPECT_EQ(loaded.settings.filterMode, 8);
    EXPECT_EQ(loaded.settings.unit, 3u);
    EXPECT_EQ(loaded.settings.dpiScale, 4);
    EXPECT_EQ(loaded.settings.velocity, 0x21);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(loaded.settings.frame[i], frame[i]);
    EXPECT_TRUE(SameTone(loaded.settings.tone, tone));
    EXPECT_EQ(loaded.saved.colorBalance[0], -128);
    EXPECT_EQ(loaded.saved.colorBalance[1], 127);
    EXPECT_EQ(loaded.saved.colorBalance[2], -1);
    EXPECT_EQ(loaded.saved.saturation, 40);
    EXPECT_EQ(loaded.saved.hue, 0);  // hue stays in the live block only
}

}  // namespace
