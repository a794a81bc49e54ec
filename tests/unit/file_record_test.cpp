#include "settings/file_record.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/unit/key_map.h"

namespace {

TEST(FileRecord, KeysCarryTheRecordNumberAndFiveCharacterFields) {
    ScanSettings settings;
    settings.scanMode = kModeColour;
    settings.colourKind = kColour36;
    ToneSettings saved;
    saved.channels[kToneGreen].highlight = 200;
    saved.colorBalance[2] = -7;
    const KeyValues values = FileRecordValues(settings, saved, 12);
    ASSERT_EQ(values.size(), 17u);
    EXPECT_EQ(values.front().first, "ScanMode12");
    EXPECT_EQ(values.front().second, "1016 ");
    EXPECT_EQ(values.back().first, "Channel12");
    KeyMap file;
    file.Put(values);
    EXPECT_EQ(file.keys["Quality Factor12"], "10   ");
    EXPECT_EQ(file.keys["Highlight12"], "255  200  255  255  ");
    EXPECT_EQ(file.keys["HueWheelPos12"], "44   115  ");
    EXPECT_EQ(file.keys["ColorBalance12"], "0    0    -7   ");
}

TEST(FileRecord, RecordsReadBackUnchanged) {
    ScanSettings settings;
    settings.scanMode = kModeLineArt;
    settings.isColour = false;
    settings.resolution = 600;
    settings.destination = kDestContTonePrinter;
    settings.qualityFactor = 30;
    settings.descreen = kDescreenNewspaper;
    settings.outputMatch = 1;
    settings.scaling = 75;
    settings.filterMode = 5;
    ToneSettings saved;
    saved.channels[kToneRed] = {230, 20, 25, 0};
    saved.channels[kToneMaster] = {240, 1, 9, 0};
    saved.circlePos = {-12, 200};
    saved.pixelRGB = {9, 8, 7, 0};
    saved.hue = -45;
    saved.saturation = 33;
    saved.colorBalance[0] = -128;
    saved.colorBalance[1] = 100;
    saved.channel = kToneGreen;
    KeyMap file;
    file.Put(FileRecordValues(settings, saved, 0));

    ScanSettings read;
    ToneSettings readTone;
    ReadFileRecord(file.Lookup(), 0, read, readTone);
    EXPECT_EQ(read.scanMode, kModeLineArt);
    EXPECT_FALSE(read.isColour);
    EXPECT_EQ(read.resolution, 600);
    EXPECT_EQ(read.destination, kDestContTonePrinter);
    EXPECT_EQ(read.qualityFactor, 30);
    EXPECT_EQ(read.descreen, kDescreenNewspaper);
    EXPECT_TRUE(read.descreenActive);
    EXPECT_EQ(read.outputMatch, 1);
    EXPECT_EQ(read.scaling, 75);
    EXPECT_EQ(read.filterMode, 5);
    EXPECT_EQ(std::memcmp(&readTone, &saved, sizeof saved), 0);
}

TEST(FileRecord, AMissingRecordGivesTonesAndADestinationTheEngineAccepts) {
    ScanSettings read;
    read.destination = kDestHalftonePrinter;
    ToneSettings tone;
    ReadFileRecord(KeyMap{}.Lookup(), 4, read, tone);
    EXPECT_EQ(read.destination, kDestMonitor);  // stored default "0"
    EXPECT_EQ(read.resolution, 300);
    EXPECT_EQ(read.scanMode, kModeColour);
    for (const ToneChannel& channel : tone.channels) {
        EXPECT_EQ(channel.highlight, 255);
        EXPECT_EQ(channel.shadow, 0);
        EXPECT_EQ(channel.gamma, 10);
    }
    EXPECT_EQ(tone.circlePos.x, 0);
    EXPECT_EQ(tone.pixelRGB.r, 0);
}

TEST(FileRecord, GammaBelowOneLoadsAsTenAndShadowsStayBelowHighlights) {
    KeyMap file;
    file.keys["Gamma0"] = "0    -3   18   12   ";
    file.keys["Highlight0"] = "0    100  255  255  ";
    file.keys["Shadow0"] = "10   100  300  5    ";
    ScanSettings read;
    ToneSettings tone;
    ReadFileRecord(file.Lookup(), 0, read, tone);
    EXPECT_EQ(tone.channels[kToneRed].gamma, 10);
    EXPECT_EQ(tone.channels[kToneGreen].gamma, 10);
    EXPECT_EQ(tone.channels[kToneBlue].gamma, 18);
    EXPECT_EQ(tone.channels[kToneMaster].gamma, 12);
    EXPECT_EQ(tone.channels[kToneRed].highlight, 255);
    EXPECT_EQ(tone.channels[kToneRed].shadow, 10);
    EXPECT_EQ(tone.channels[kToneGreen].shadow, 0);
    EXPECT_EQ(tone.channels[kToneBlue].shadow, 0);  // 300 clamps to 255, not below 255
    EXPECT_EQ(tone.channels[kToneMaster].shadow, 5);
}

TEST(FileRecord, ListFieldsAreFourCharactersAndSingleValuesAreCut) {
    KeyMap file;
    file.keys["HueWheelPos0"] = "12345678";
    file.keys["Resolution0"] = "12000";
    file.keys["Scaling0"] = "100000";
    ScanSettings read;
    ToneSettings tone;
    ReadFileRecord(file.Lookup(), 0, read, tone);
    EXPECT_EQ(tone.circlePos.x, 1234);
    EXPECT_EQ(tone.circlePos.y, 678);
    EXPECT_EQ(read.resolution, 1200);
    EXPECT_EQ(read.scaling, 1000);
}

TEST(FileRecord, FileTypes) {
    EXPECT_EQ(FileTypeForExtension("PAR"), 0);
    EXPECT_EQ(FileTypeForExtension("par"), 0);
    EXPECT_EQ(FileTypeForExtension("SET"), 1);
    EXPECT_EQ(FileTypeForExtension("TXT"), -1);
    EXPECT_EQ(FileTypeText(0), "0    ");
    EXPECT_EQ(FileTypeText(1), "1    ");
    KeyMap file;
    EXPECT_EQ(ReadFileType(file.Lookup()), 4);
    file.keys["FileType"] = "1    ";
    EXPECT_EQ(ReadFileType(file.Lookup()), 1);
}

}  // namespace
