#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "device/request_blocks.h"
#include "device/tone_download.h"
#include "imaging/histogram.h"
#include "imaging/preview_tone.h"
#include "imaging/tone_map.h"

using namespace tone;

namespace {

const int8_t kNoBalance[3] = {0, 0, 0};

using Table = std::array<uint8_t, 256>;

Table ToneMap(uint32_t triple, uint16_t mode = kModeGray, int channel = kMaster, bool balance = false,
              const int8_t* colorBalance = kNoBalance) {
    Table t{};
    EXPECT_TRUE(BuildToneMap(triple, 256, 256, t.data(), channel, balance, mode, colorBalance));
    return t;
}

Table Identity() {
    Table t;
    for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(i);
    return t;
}

ToneChannel Channel(int highlight, int shadow, int gamma) {
    return {static_cast<uint8_t>(highlight), static_cast<uint8_t>(shadow), static_cast<int8_t>(gamma), 0};
}

}  // namespace

TEST(ToneMap, LinearTripleGivesIdentityInEveryMode) {
    EXPECT_EQ(ToneMap(kLinearTriple), Identity());
    EXPECT_EQ(ToneMap(kLinearTriple, kModeColour, kRed, true), Identity());
    EXPECT_EQ(ToneMap(kLinearTriple, kModeLineArt), Identity());
}

TEST(ToneMap, RefusedArgumentsLeaveTableUntouched) {
    Table t;
    t.fill(0xAB);
    const Table before = t;
    EXPECT_FALSE(BuildToneMap(MakeTriple(100, 100, 10), 256, 256, t.data(), kMaster, false, kModeGray, kNoBalance));
    EXPECT_FALSE(BuildToneMap(MakeTriple(100, 150, 10), 256, 256, t.data(), kMaster, false, kModeGray, kNoBalance));
    EXPECT_FALSE(BuildToneMap(kLinearTriple, 0, 256, t.data(), kMaster, false, kModeGray, kNoBalance));
    EXPECT_FALSE(BuildToneMap(kLinearTriple, 1025, 256, t.data(), kMaster, false, kModeGray, kNoBalance));
    EXPECT_FALSE(BuildToneMap(kLinearTriple, 256, 0, t.data(), kMaster, false, kModeGray, kNoBalance));
    EXPECT_FALSE(BuildToneMap(kLinearTriple, 256, 257, t.data(), kMaster, false, kModeGray, kNoBalance));
    EXPECT_EQ(t, before);
}

TEST(ToneMap, ShadowAndHighlightClipAndStretch) {
    const Table t = ToneMap(MakeTriple(192, 64, 10));
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[64], 0);
    EXPECT_EQ(t[65], 1);    // 255 * 1 / 128
    EXPECT_EQ(t[128], 127);  // 255 * 64 / 128
    EXPECT_EQ(t[191], 253);
    EXPECT_EQ(t[192], 255);
    EXPECT_EQ(t[255], 255);
}

TEST(ToneMap, GammaBendsTheMiddle) {
    // Gamma 2.0 brightens: exponent 10 / 20.
    const Table t = ToneMap(MakeTriple(255, 0, 20));
    EXPECT_EQ(t[64], 127);  // 255 * sqrt(64 / 255) = 127.75
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[255], 255);
    EXPECT_GT(ToneMap(MakeTriple(255, 0, 5))[128], 0);
    EXPECT_LT(ToneMap(MakeTriple(255, 0, 5))[128], 128);
}

TEST(ToneMap, WideInputCountSpreadsOverOutputLevels) {
    std::vector<uint8_t> t(1024);
    ASSERT_TRUE(BuildToneMap(kLinearTriple, 1024, 256, t.data(), kMaster, false, kModeGray, kNoBalance));
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[512], 127);  // 255 * 512 / 1023
    EXPECT_EQ(t[1023], 255);
}

TEST(ToneMap, ColourBalanceShiftsGammaOfColourChannelsOnly) {
    const int8_t plus50[3] = {50, 0, 0};
    const int8_t minus100[3] = {-100, 0, 0};
    const uint32_t red = MakeTriple(255, 0, 18);
    EXPECT_EQ(ToneMap(red, kModeColour, kRed, true, plus50), ToneMap(MakeTriple(255, 0, 28)));
    EXPECT_EQ(ToneMap(red, kModeColour, kRed, true, minus100), ToneMap(MakeTriple(255, 0, 1)));
    // 4 steps of balance stay below one tenth of gamma.
    const int8_t plus4[3] = {4, 0, 0};
    EXPECT_EQ(ToneMap(red, kModeColour, kRed, true, plus4), ToneMap(red));
    // Not for the master, nor without the flag, nor outside colour mode.
    EXPECT_EQ(ToneMap(red, kModeColour, kMaster, true, plus50), ToneMap(red));
    EXPECT_EQ(ToneMap(red, kModeColour, kRed, false, plus50), ToneMap(red));
    EXPECT_EQ(ToneMap(red, kModeGray, kRed, true, plus50), ToneMap(red));
}

TEST(ToneMap, GammaIsClampedToItsRange) {
    EXPECT_EQ(ToneMap(MakeTriple(255, 0, 0)), ToneMap(MakeTriple(255, 0, 1)));
    EXPECT_EQ(ToneMap(MakeTriple(255, 0, 100)), ToneMap(MakeTriple(255, 0, 79)));
}

TEST(ToneMap, LineArtIsAlwaysLinear) {
    EXPECT_EQ(ToneMap(MakeTriple(255, 0, 25), kModeLineArt), Identity());
    EXPECT_EQ(ToneMap(MakeTriple(192, 64, 40), kModeLineArt), ToneMap(MakeTriple(192, 64, 10)));
}

namespace {

Table BrightnessContrast(int brightness, int contrast, int gamma) {
    Table t{};
    EXPECT_TRUE(BuildBrightnessContrastMap(MakeTriple(brightness, contrast, gamma), 256, 256, t.data()));
    return t;
}

}  // namespace

TEST(BrightnessContrastMap, NeutralSettingsGiveIdentity) { EXPECT_EQ(BrightnessContrast(0, 0, 10), Identity()); }

TEST(BrightnessContrastMap, LowestContrastIsConstant) {
    Table expected;
    expected.fill(128);  // 128 * 255 / 255
    EXPECT_EQ(BrightnessContrast(0, -128, 10), expected);
    EXPECT_EQ(BrightnessContrast(0, -128, 30), expected);
}

TEST(BrightnessContrastMap, ContrastSteepensAndFlattens) {
    const Table steep = BrightnessContrast(0, 51, 10);  // f = 51
    EXPECT_EQ(steep[51], 0);
    EXPECT_EQ(steep[102], 85);  // 255 * 51 / 153
    EXPECT_EQ(steep[204], 255);
    const Table flat = BrightnessContrast(0, -51, 10);  // f = 51: 51 .. 204
    EXPECT_EQ(flat[0], 51);
    EXPECT_EQ(flat[255], 204);
}

TEST(BrightnessContrastMap, BrightnessShiftsAndClips) {
    const Table up = BrightnessContrast(127, 0, 10);  // + 127
    EXPECT_EQ(up[0], 127);
    EXPECT_EQ(up[100], 227);
    EXPECT_EQ(up[128], 255);
    EXPECT_EQ(up[255], 255);
    const Table down = BrightnessContrast(-100, 0, 20);  // - 100, then gamma 2.0 from 0 at 100 to 155 at 255
    EXPECT_EQ(down[50], 0);
    EXPECT_EQ(down[100], 0);
    EXPECT_EQ(down[255], 155);
    EXPECT_EQ(down[139], 77);  // 155 * sqrt(39 / 155) = 77.7
}

TEST(BrightnessContrastMap, RefusesOutOfRangeArguments) {
    Table t;
    t.fill(7);
    const Table before = t;
    EXPECT_FALSE(BuildBrightnessContrastMap(MakeTriple(0, 0, 0), 256, 256, t.data()));
    EXPECT_FALSE(BuildBrightnessContrastMap(MakeTriple(0, 0, 80), 256, 256, t.data()));
    EXPECT_FALSE(BuildBrightnessContrastMap(MakeTriple(0, 0, 10), 21, 256, t.data()));
    EXPECT_FALSE(BuildBrightnessContrastMap(MakeTriple(0, 0, 10), 256, 21, t.data()));
    EXPECT_FALSE(BuildBrightnessContrastMap(MakeTriple(0, 0, 10), 256, 257, t.data()));
    EXPECT_FALSE(BuildBrightnessContrastMap(MakeTriple(0, 0, 10), 1025, 256, t.data()));
    EXPECT_EQ(t, before);
}

namespace {

constexpr size_t kSlot0 = blocks::tonetable::kFirstRecord;

const uint8_t* SlotEntries(const std::vector<uint8_t>& block, int slot) {
    return block.data() + kSlot0 + slot * blocks::tonetable::kRecordSize + 2;
}

uint16_t SlotCount(const std::vector<uint8_t>& block, int slot) {
    return blocks::GetU16(block.data(), kSlot0 + slot * blocks::tonetable::kRecordSize);
}

Table SlotTable(const std::vector<uint8_t>& block, int slot) {
    Table t;
    std::memcpy(t.data(), SlotEntries(block, slot), 256);
    return t;
}

}  // namespace

TEST(ToneDownload, WideSlotSpreadsIdentityBySixteenths) {
    std::vector<uint8_t> block(blocks::kToneTableSize);
    const Table identity = Identity();
    FillToneSlot(block.data(), 1, identity.data(), true);
    EXPECT_EQ(SlotCount(block, 1), 4096);
    const uint8_t* e = SlotEntries(block, 1);
    for (int k = 0; k < 256; ++k) EXPECT_EQ(e[16 * k], k);
    for (int k = 1; k < 256; ++k)
        for (int j = 1; j < 16; ++j) ASSERT_EQ(e[16 * (k - 1) + j], k - 1) << k << " " << j;
    for (int i = 4081; i < 4096; ++i) EXPECT_EQ(e[i], 255);
}

TEST(ToneDownload, WideSlotInterpolatesRisingAndFallingSteps) {
    std::vector<uint8_t> block(blocks::kToneTableSize);
    Table t{};
    t[1] = 16;
    t[2] = 0;
    t[3] = 10;
    FillToneSlot(block.data(), 0, t.data(), true);
    const uint8_t* e = SlotEntries(block, 0);
    for (int j = 1; j < 16; ++j) EXPECT_EQ(e[j], j);
    for (int j = 1; j < 16; ++j) EXPECT_EQ(e[16 + j], 16 - j);
    EXPECT_EQ(e[32 + 8], 5);  // 0 + 8 * 10 / 16
    EXPECT_EQ(e[32 + 15], 9);  // 9.375
}

namespace {

struct ScanTones {
    ScanToneInputs inputs{};
    ScanToneTables tables{};
    std::vector<uint8_t> block = std::vector<uint8_t>(blocks::kToneTableSize, 0xEE);

    ScanTones() {
        inputs.tone = DefaultToneSettings();
        inputs.scanMode = kModeColour;
        inputs.opticalResolution = 600;
        ResetScanToneTables(tables);
    }
    bool Prepare() { return PrepareScanToneTables(inputs, tables, block.data(), block.size()); }
};

}  // namespace

TEST(ToneDownload, ColourSendsRedRedGreenBlue) {
    ScanTones s;
    s.inputs.tone.channels[kToneRed] = Channel(200, 0, 10);
    s.inputs.tone.channels[kToneGreen] = Channel(150, 0, 10);
    s.inputs.tone.channels[kToneBlue] = Channel(100, 0, 10);
    ASSERT_TRUE(s.Prepare());
    EXPECT_EQ(s.block[blocks::tonetable::kSelector], blocks::tonetable::kThreeTables);
    const Table red = ToneMap(MakeTriple(200, 0, 10));
    EXPECT_EQ(SlotTable(s.block, 0), red);
    EXPECT_EQ(SlotTable(s.block, 1), red);
    EXPECT_EQ(SlotTable(s.block, 2), ToneMap(MakeTriple(150, 0, 10)));
    EXPECT_EQ(SlotTable(s.block, 3), ToneMap(MakeTriple(100, 0, 10)));
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(SlotCount(s.block, slot), 256);
    // The command header belongs to the request layer.
    for (size_t i = 0; i < blocks::tonetable::kThreshold; ++i) EXPECT_EQ(s.block[i], 0xEE);
}

TEST(ToneDownload, ColourBalanceReachesTheScanner) {
    ScanTones s;
    s.inputs.tone.colorBalance[2] = 50;  // blue gamma 1.8 -> 2.8
    ASSERT_TRUE(s.Prepare());
    EXPECT_EQ(SlotTable(s.block, 3), ToneMap(MakeTriple(255, 0, 28)));
    EXPECT_EQ(SlotTable(s.block, 2), ToneMap(MakeTriple(255, 0, 18)));
}

TEST(ToneDownload, OutputMatchingSendsLinearTablesButKeepsUserMaps) {
    ScanTones s;
    s.inputs.outputMatch = true;
    s.inputs.tone.channels[kToneGreen] = Channel(150, 20, 25);
    ASSERT_TRUE(s.Prepare());
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(SlotTable(s.block, slot), Identity());
    Table green;
    std::memcpy(green.data(), s.tables.user[kGreen], 256);
    EXPECT_EQ(green, ToneMap(MakeTriple(150, 20, 25)));
}

TEST(ToneDownload, GreyUsesOneMasterSlotAndClearsTheRest) {
    ScanTones s;
    s.inputs.scanMode = kModeFastGray;
    s.inputs.tone.channels[kToneMaster] = Channel(220, 30, 14);
    ASSERT_TRUE(s.Prepare());
    EXPECT_EQ(s.block[blocks::tonetable::kSelector], blocks::tonetable::kOneTable);
    EXPECT_EQ(s.block[blocks::tonetable::kThreshold], 0);
    EXPECT_EQ(SlotTable(s.block, 0), ToneMap(MakeTriple(220, 30, 14)));
    EXPECT_EQ(SlotCount(s.block, 0), 256);
    for (int slot = 1; slot < 4; ++slot) EXPECT_EQ(SlotCount(s.block, slot), 0);
}

TEST(ToneDownload, TwelveHundredDpiScannerGetsWideTables) {
    ScanTones s;
    s.inputs.opticalResolution = 1200;
    ASSERT_TRUE(s.Prepare());
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(SlotCount(s.block, slot), 4096);
    s.inputs.scanMode = kModeGray;
    ASSERT_TRUE(s.Prepare());
    EXPECT_EQ(SlotCount(s.block, 0), 4096);
    EXPECT_EQ(SlotCount(s.block, 1), 0);
}

TEST(ToneDownload, LineArtThreshold) {
    ScanTones s;
    s.inputs.scanMode = kModeLineArt;
    s.inputs.tone.channels[kToneMaster] = Channel(200, 50, 10);
    ASSERT_TRUE(s.Prepare());
    EXPECT_EQ(s.block[blocks::tonetable::kThreshold], 125);  // (200 + 50) / 2
    s.inputs.uiHidden = true;
    ASSERT_TRUE(s.Prepare());
    EXPECT_EQ(s.block[blocks::tonetable::kThreshold], 184);  // (128 - 200) mod 256
    s.inputs.uiHidden = false;
    s.inputs.officeHost = true;
    ASSERT_TRUE(s.Prepare());
    EXPECT_EQ(s.block[blocks::tonetable::kThreshold], 184);
}

TEST(ToneDownload, OfficeHostWithoutInterfaceUsesBrightnessContrast) {
    ScanTones s;
    s.inputs.officeHost = true;
    s.inputs.uiHidden = true;
    s.inputs.scanMode = kModeGray;
    s.inputs.tone.channels[kToneMaster] = Channel(20, 30, 12);  // brightness 20, contrast 30
    ASSERT_TRUE(s.Prepare());
    EXPECT_EQ(SlotTable(s.block, 0), BrightnessContrast(20, 30, 12));
    // With the interface shown the same word is a highlight/shadow triple.
    s.inputs.uiHidden = false;
    s.inputs.tone.channels[kToneMaster] = Channel(200, 30, 12);
    ASSERT_TRUE(s.Prepare());
    EXPECT_EQ(SlotTable(s.block, 0), ToneMap(MakeTriple(200, 30, 12)));
}

TEST(ToneDownload, RefusedTripleKeepsThePreviousMap) {
    ScanTones s;
    s.inputs.scanMode = kModeGray;
    s.inputs.tone.channels[kToneMaster] = Channel(180, 0, 10);
    ASSERT_TRUE(s.Prepare());
    const Table previous = ToneMap(MakeTriple(180, 0, 10));
    s.inputs.tone.channels[kToneMaster] = Channel(90, 90, 10);
    ASSERT_TRUE(s.Prepare());
    EXPECT_EQ(SlotTable(s.block, 0), previous);
}

TEST(ToneDownload, RefusesUnknownModeAndShortBlock) {
    ScanTones s;
    s.inputs.scanMode = 1015;
    EXPECT_FALSE(s.Prepare());
    s.inputs.scanMode = kModeColour;
    EXPECT_FALSE(PrepareScanToneTables(s.inputs, s.tables, s.block.data(), blocks::kToneTableSize - 1));
    for (uint8_t b : s.block) ASSERT_EQ(b, 0xEE);
}

TEST(Histogram, CountsChannelsAndGreyInsideRowsOnly) {
    // Two rows of two pixels (blue, green, red), each row padded to 8 bytes.
    std::vector<uint8_t> image = {10, 20, 30, 0, 0, 0, 0xFF, 0xFF,  //
                                  10, 20, 31, 1, 2, 3, 0xFF, 0xFF};
    Histogram h;
    ASSERT_TRUE(BuildHistogram(image.data(), image.size(), 2, 2, 8, h));
    EXPECT_EQ(h.blue[10], 2u);
    EXPECT_EQ(h.green[20], 2u);
    EXPECT_EQ(h.red[30], 1u);
    EXPECT_EQ(h.red[31], 1u);
    EXPECT_EQ(h.blue[0] + h.blue[1], 2u);
    EXPECT_EQ(h.grey[20], 2u);  // 60 / 3 and 61 / 3
    EXPECT_EQ(h.grey[0], 1u);
    EXPECT_EQ(h.grey[2], 1u);   // (1 + 2 + 3) / 3
    EXPECT_EQ(h.red[0xFF], 0u);
}

TEST(Histogram, RefusesGeometryOutsideTheBuffer) {
    std::vector<uint8_t> image(16);
    Histogram h;
    EXPECT_TRUE(BuildHistogram(image.data(), 14, 2, 2, 8, h));  // one stride and one row
    EXPECT_FALSE(BuildHistogram(image.data(), 13, 2, 2, 8, h));
    EXPECT_FALSE(BuildHistogram(image.data(), 16, 3, 1, 8, h));  // stride shorter than a row
    EXPECT_FALSE(BuildHistogram(image.data(), 16, -1, 1, 8, h));
    EXPECT_TRUE(BuildHistogram(image.data(), 0, 0, 5, 0, h));   // nothing to count
}

TEST(AutoLevels, SingleOrNoLevelChangesNothing) {
    Histogram h{};
    EXPECT_FALSE(AutoLevels(h, 0, false, 0).changed);
    h.grey[128] = 500;
    h.red[128] = h.green[128] = h.blue[128] = 500;
    EXPECT_FALSE(AutoLevels(h, 0, false, 0).changed);
    EXPECT_FALSE(AutoLevels(h, 0, true, 0).changed);
    EXPECT_FALSE(AutoLevels(h, 2, true, 0).changed);
}

TEST(AutoLevels, ColourMasterNeedsThreeSamplesAtALevel) {
    Histogram h{};
    h.red[10] = 1;
    h.green[10] = 1;  // 2 samples: skipped
    h.blue[20] = 3;
    h.red[240] = 2;
    h.blue[240] = 1;
    h.green[250] = 2;  // skipped
    const AutoLevelsResult r = AutoLevels(h, 0, true, 0);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(r.shadow, 20);
    EXPECT_EQ(r.highlight, 240);
    // A single channel counts any sample.
    const AutoLevelsResult green = AutoLevels(h, 2, true, 0);
    EXPECT_EQ(green.shadow, 10);
    EXPECT_EQ(green.highlight, 250);
}

TEST(AutoLevels, GreyModeAlwaysUsesGreyCounts) {
    Histogram h{};
    h.grey[5] = 1;
    h.grey[200] = 1;
    h.red[100] = h.red[101] = 7;
    const AutoLevelsResult r = AutoLevels(h, 1, false, 0);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(r.shadow, 5);
    EXPECT_EQ(r.highlight, 200);
}

TEST(AutoLevels, OrderKeepsShadowBelowHighlight) {
    Histogram h{};
    h.grey[30] = 1;
    h.grey[90] = 1;
    EXPECT_FALSE(AutoLevels(h, 0, false, 0).shadowFirst);   // highlight 90 above shadow 0
    EXPECT_TRUE(AutoLevels(h, 0, false, 90).shadowFirst);   // 90 is not above 90
    EXPECT_TRUE(AutoLevels(h, 0, false, 150).shadowFirst);
}

TEST(ToneEdits, HighlightAndShadowStayApart) {
    const uint32_t t = MakeTriple(200, 100, 18);
    EXPECT_EQ(EditHighlight(t, 0), MakeTriple(1, 0, 18));
    EXPECT_EQ(EditHighlight(t, 300), MakeTriple(255, 100, 18));
    EXPECT_EQ(EditHighlight(t, 100), MakeTriple(100, 99, 18));
    EXPECT_EQ(EditHighlight(t, 101), MakeTriple(101, 100, 18));
    EXPECT_EQ(EditShadow(t, -5), MakeTriple(200, 0, 18));
    EXPECT_EQ(EditShadow(t, 255), MakeTriple(255, 254, 18));
    EXPECT_EQ(EditShadow(t, 200), MakeTriple(201, 200, 18));
    EXPECT_EQ(EditShadow(t, 199), MakeTriple(200, 199, 18));
}

TEST(ToneEdits, GammaText) {
    for (int tenths = 1; tenths <= 79; ++tenths) {
        int g = 0;
        const std::string text = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
        ASSERT_TRUE(ParseGammaText(text, g)) << text;
        EXPECT_EQ(g, tenths) << text;
        EXPECT_EQ(FormatGamma(tenths), text);
    }
    int g = 42;
    EXPECT_TRUE(ParseGammaText("2.57", g));  // read as "2.5"
    EXPECT_EQ(g, 25);
    EXPECT_TRUE(ParseGammaText("3", g));
    EXPECT_EQ(g, 30);
    for (const char* refused : {"0.0", "8.0", "0.09", "abc", "", "-1", "inf", "nan"}) {
        g = 42;
        EXPECT_FALSE(ParseGammaText(refused, g)) << refused;
        EXPECT_EQ(g, 42);
    }
}

TEST(ToneEdits, MasterEditFansOutInColourMode) {
    ToneSettings tone = DefaultToneSettings();
    tone.channels[kToneRed].spare = 0x5A;
    tone.channel = kToneMaster;
    StoreEditedTriple(tone, true, MakeTriple(180, 20, 25));
    for (int w : {kToneRed, kToneGreen, kToneBlue}) EXPECT_EQ(TripleOf(tone.channels[w]), MakeTriple(180, 20, 25));
    EXPECT_EQ(tone.channels[kToneRed].spare, 0x5A);
    EXPECT_EQ(TripleOf(tone.channels[kToneMaster]), MakeTriple(255, 0, 10));

    tone = DefaultToneSettings();
    StoreEditedTriple(tone, false, MakeTriple(180, 20, 25));
    EXPECT_EQ(TripleOf(tone.channels[kToneMaster]), MakeTriple(180, 20, 25));
    EXPECT_EQ(TripleOf(tone.channels[kToneRed]), MakeTriple(255, 0, 18));

    tone.channel = kToneGreen;
    StoreEditedTriple(tone, true, MakeTriple(100, 1, 2));
    EXPECT_EQ(TripleOf(tone.channels[kToneGreen]), MakeTriple(100, 1, 2));
    EXPECT_EQ(TripleOf(tone.channels[kToneBlue]), MakeTriple(255, 0, 18));
}

TEST(PreviewTone, ColourPixelBytesGoThroughBlueGreenRedMaps) {
    ToneSettings tone = DefaultToneSettings();
    tone.channels[kToneRed] = Channel(128, 0, 10);
    tone.channels[kToneGreen] = Channel(255, 0, 10);
    tone.channels[kToneBlue] = Channel(255, 100, 10);
    std::vector<uint8_t> image = {100, 100, 100, 0xAA};  // one pixel and a pad byte
    uint8_t tables[kPreviewTablesSize];
    ASSERT_TRUE(PreviewTonePass(tone, kModeColour, tables, image.data(), image.size(), 1, 1, 4));
    EXPECT_EQ(image[0], 0);    // blue: at the shadow
    EXPECT_EQ(image[1], 100);  // green: linear
    EXPECT_EQ(image[2], 199);  // red: 255 * 100 / 128
    EXPECT_EQ(image[3], 0xAA);
}

TEST(PreviewTone, GreyUsesTheMasterMapForAllBytes) {
    ToneSettings tone = DefaultToneSettings();
    tone.channels[kToneMaster] = Channel(128, 0, 10);
    std::vector<uint8_t> image = {64, 64, 64};
    uint8_t tables[kPreviewTablesSize];
    ASSERT_TRUE(PreviewTonePass(tone, kModeGray, tables, image.data(), image.size(), 1, 1, 3));
    EXPECT_EQ(image, (std::vector<uint8_t>{127, 127, 127}));
    EXPECT_FALSE(PreviewTonePass(tone, kModeGray, tables, image.data(), 2, 1, 1, 3));

    uint8_t levels[256];
    PreviewPaletteLevels(tables, true, levels);
    EXPECT_EQ(levels[63], 0);    // maps to 125
    EXPECT_EQ(levels[65], 255);  // maps to 129
    PreviewPaletteLevels(tables, false, levels);
    EXPECT_EQ(levels[64], 127);
}
