// Scan settings, language and lamp time-out kept in Wine's real WIN.INI: the
// model section read and written, the language and lamp time-out dialogs
// operated by their controls, and the calibrator launch.
#include <cstring>

#include "device/request_blocks.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "settings/profile_settings.h"
#include "settings/settings_dialogs.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/settings_fixture.h"

namespace {

using namespace dstest;

class ProfileTest : public SettingsTest {
protected:
    static void Load() { LoadProfileSettings(kModelSection); }
};

TEST_F(ProfileTest, HighlightsAndShadowsAreCorrectedWhenRead) {
    SetProfile(kModelSection, "Highlight", "  255  200  255    0");
    SetProfile(kModelSection, "Shadow", "   12  200    0    9");
    Load();
    for (const ToneSettings* tone : {&g_scanSettings.tone, &g_savedTone}) {
        EXPECT_EQ(tone->channels[kToneRed].highlight, 255);
        EXPECT_EQ(tone->channels[kToneGreen].highlight, 200);
        EXPECT_EQ(tone->channels[kToneBlue].highlight, 255);
        EXPECT_EQ(tone->channels[kToneMaster].highlight, 255);
        EXPECT_EQ(tone->channels[kToneRed].shadow, 12);
        EXPECT_EQ(tone->channels[kToneGreen].shadow, 0);  // equal to its highlight
        EXPECT_EQ(tone->channels[kToneMaster].shadow, 9);
    }
}

TEST_F(ProfileTest, ThirtySixBitModeStashesTheToneBlockAndOtherModesAreIgnored) {
    SetProfile(kModelSection, "ScanMode", "1016");
    SetProfile(kModelSection, "Gamma", "   22   21   20   10");
    Load();
    EXPECT_EQ(g_scanSettings.scanMode, kModeColour);
    EXPECT_EQ(g_scanSettings.colourKind, kColour36);
    EXPECT_EQ(g_toneStash.channels[kToneRed].gamma, 22);
    EXPECT_EQ(g_scanSettings.tone.channels[kToneRed].gamma, 10);
    EXPECT_EQ(g_savedTone.channels[kToneRed].gamma, 22);

    SetProfile(kModelSection, "ScanMode", "1020");
    Load();
    EXPECT_EQ(g_scanSettings.scanMode, kModeColour);
    EXPECT_EQ(g_scanSettings.colourKind, kColour36);
    SetProfile(kModelSection, "ScanMode", "1012");
    Load();
    EXPECT_EQ(g_scanSettings.scanMode, kModeFastGray);
    EXPECT_FALSE(g_scanSettings.isColour);
}

TEST_F(ProfileTest, AFeederSourceWithoutFeederClearsTheFeederFlags) {
    SetProfile(kModelSection, "ScanSource", "3");
    g_caps.feederEnabled = 1;
    Load();
    EXPECT_EQ(g_scanSettings.scanSource, kSourceReflective);
    EXPECT_EQ(g_scanSettings.sourceId, 1093);
    EXPECT_EQ(g_caps.feederEnabled, 0u);

    g_caps.feederPresent = 1;
    g_caps.feederEnabled = 1;
    Load();
    EXPECT_EQ(g_scanSettings.scanSource, kSourceFeeder);
    EXPECT_EQ(g_caps.feederEnabled, 1u);
}

TEST_F(ProfileTest, OutputModeOverridesOutputMatch) {
    SetProfile(kModelSection, "OutputMatch", "1");
    Load();
    EXPECT_EQ(g_scanSettings.outputMatch, 1);
    SetProfile(kModelSection, "OutputMode", "0");
    Load();
    EXPECT_EQ(g_scanSettings.outputMatch, 0);
}

TEST_F(ProfileTest, AFrameFieldWiderThanFourCharactersIsMisread) {
    SetProfile(kModelSection, "Frame", "12345  81 150 145");
    Load();
    EXPECT_EQ(g_scanSettings.frame[0], 12345);
    EXPECT_EQ(g_scanSettings.frame[1], 5);
    EXPECT_EQ(g_scanSettings.frame[2], 1);
    EXPECT_EQ(g_scanSettings.frame[3], 0);
}

TEST_F(ProfileTest, TheLinearToneHostReadsEveryGammaAsTen) {
    lstrcpyA(g_twain.appIdentity.ProductName, "Scanware CMS");
    SetProfile(kModelSection, "Gamma", "   22   21   20   14");
    Load();
    for (const ToneChannel& channel : g_scanSettings.tone.channels) EXPECT_EQ(channel.gamma, 10);
}

TEST_F(ProfileTest, SavedSettingsReadBackIncludingTheColourBalance) {
    g_scanSettings.scanMode = kModeColour;
    g_scanSettings.colourKind = kColourCmyk;
    g_scanSettings.resolution = 400;
    g_scanSettings.customRes[2] = 333;
    g_scanSettings.destination = kDestHalftonePrinter;
    g_scanSettings.qualityFactor = 20;
    g_scanSettings.tone.colorBalance[0] = -5;
    g_scanSettings.tone.colorBalance[1] = 7;
    g_scanSettings.tone.colorBalance[2] = -128;
    g_scanSettings.tone.hue = 33;
    g_scanSettings.tone.circlePos = {120, 60};
    g_scanSettings.prescanHiRes = 1;
    const ScanSettings saved = g_scanSettings;
    const int frame[4] = {10, 20, 300, 480};
    SaveProfileSettings(frame);

    EXPECT_EQ(Profile(kModelSection, "ScanMode"), "1015");
    // The profile drops the padding blanks at the end when the value is read.
    EXPECT_EQ(Profile(kModelSection, "ColorBalance"), "-5   7    -128");
    EXPECT_EQ(Profile(kModelSection, "Frame"), "10  20  300 480");
    EXPECT_EQ(Profile(kModelSection, "CustomRes"), "0    0    333  0    0");
    EXPECT_EQ(Profile(kModelSection, "PrescanHiRes"), "1");
    EXPECT_EQ(Profile(kModelSection, "OutputMode"), "<missing>");

    g_scanSettings = DefaultScanSettings();
    Load();
    EXPECT_EQ(g_scanSettings.colourKind, kColourCmyk);
    EXPECT_EQ(g_scanSettings.resolution, 400);
    EXPECT_EQ(g_scanSettings.customRes[2], 333);
    EXPECT_EQ(g_scanSettings.destination, kDestHalftonePrinter);
    EXPECT_EQ(g_scanSettings.qualityFactor, 20);
    EXPECT_EQ(std::memcmp(&g_scanSettings.tone, &saved.tone, sizeof saved.tone), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(g_savedTone.colorBalance[i], saved.tone.colorBalance[i]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(g_scanSettings.frame[i], frame[i]);
}

TEST_F(ProfileTest, TheLanguageKeyIsWrittenForTheSiblingSource) {
    const int frame[4] = {78, 81, 150, 145};
    g_language.index = 2;
    SaveProfileSettings(frame);
    EXPECT_EQ(Profile("KVSINFO_SP", "LANGUAGE"), "French");
    EXPECT_EQ(Profile("KVSINFO_A3", "LANGUAGE"), "<missing>");

    g_language.index = 6;
    SaveProfileSettings(frame);
    EXPECT_EQ(Profile("KVSINFO_A3", "LANGUAGE"), "Chinese");

    g_device.letterModel = true;
    g_language.index = 3;
    SaveProfileSettings(frame);
    EXPECT_EQ(Profile("KVSINFO_A3", "LANGUAGE"), "Italiano");
    g_language.index = 7;
    SaveProfileSettings(frame);
    EXPECT_EQ(Profile("KVSINFO_SP", "LANGUAGE"), "Simple");
}

TEST_F(ProfileTest, TheSectionIsNamedAfterTheModel) {
    EXPECT_EQ(ModelSectionName(), "KVS-T60PRO");
    g_device.opticalResolution = 606;
    EXPECT_EQ(ModelSectionName(), "KVS-T66S");
    g_device.opticalResolution = 1200;
    EXPECT_EQ(ModelSectionName(), "A3 SCANNER");
    g_device.opticalResolution = 0;
    EXPECT_EQ(ModelSectionName(), "A3 SCANNER");
    const int frame[4] = {1, 2, 3, 4};
    g_device.opticalResolution = 800;
    SaveProfileSettings(frame);
    EXPECT_EQ(Profile("KVS-T80PRO", "Frame"), "1   2   3   4");
}

TEST_F(ProfileTest, ChineseDsLanguageOffersTwoLanguagesAndSwitchesTheTexts) {
    SetProfile("KVSINFO_A3", "DSLANGUAGE", "Chinese");
    const int result = DriveDialog(
        IDC_LANGUAGE_LIST,
        [](HWND dialog) {
            EXPECT_EQ(Title(dialog), "Language Selection");
            EXPECT_EQ(ControlText(dialog, IDC_LANGUAGE_OK), "OK");
            EXPECT_EQ(ControlText(dialog, IDC_LANGUAGE_CANCEL), "Cancel");
            EXPECT_EQ(ListLines(dialog, IDC_LANGUAGE_LIST), (std::vector<std::string>{"English", "Chinese"}));
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_LANGUAGE_LIST, LB_GETCURSEL, 0, 0), 0);
            SaveScreenshot(dialog, "settings_language_chinese");
            SelectLine(dialog, IDC_LANGUAGE_LIST, 1);
            EXPECT_EQ(LanguageBase(), 6000);
            EXPECT_EQ(Utf8(LoadText(TXT_OK)), SourceText(6700));
            Click(dialog, IDC_LANGUAGE_OK);
        },
        [] { return RunLanguageDialog(nullptr); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g_language.index, 6);
    EXPECT_EQ(Profile("KVSINFO_A3", "LANGUAGE"), "Chinese");
}

TEST_F(ProfileTest, EuropeanLanguagesAndCancelKeepsTheKey) {
    g_language.index = 1;
    const int result = DriveDialog(
        IDC_LANGUAGE_LIST,
        [](HWND dialog) {
            EXPECT_EQ(Title(dialog), SourceText(1104));
            EXPECT_EQ(ListLines(dialog, IDC_LANGUAGE_LIST).size(), 6u);
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_LANGUAGE_LIST, LB_GETCURSEL, 0, 0), 1);
            SelectLine(dialog, IDC_LANGUAGE_LIST, 4);
            Click(dialog, IDC_LANGUAGE_CANCEL);
        },
        [] { return RunLanguageDialog(nullptr); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(g_language.index, 4);  // the selection switched the texts already
    EXPECT_EQ(Profile("KVSINFO_A3", "LANGUAGE"), "<missing>");
}

constexpr const char* kLanguageTags[] = {"en", "de", "fr", "it", "es", "nl", "zh_tw", "zh_cn"};

TEST_F(ProfileTest, BothDialogsShowTheTextsOfEveryLanguage) {
    for (int language = 0; language < 8; ++language) {
        g_language.index = language;
        const int base = language * 1000;
        const std::string tag = kLanguageTags[language];
        DriveDialog(
            IDC_LANGUAGE_LIST,
            [&](HWND dialog) {
                EXPECT_EQ(Title(dialog), SourceText(base + TXT_LANGUAGE_SELECTION));
                EXPECT_EQ(ControlText(dialog, IDC_LANGUAGE_OK), SourceText(base + TXT_OK));
                EXPECT_EQ(ControlText(dialog, IDC_LANGUAGE_CANCEL), SourceText(base + TXT_CANCEL));
                SaveScreenshot(dialog, "settings_language_" + tag);
                Click(dialog, IDC_LANGUAGE_CANCEL);
            },
            [] { return RunLanguageDialog(nullptr); });
        DriveDialog(
            IDC_SAVER_SCROLL,
            [&](HWND dialog) {
                EXPECT_EQ(Title(dialog), SourceText(base + TXT_GREEN_SAVER));
                EXPECT_EQ(ControlText(dialog, IDC_SAVER_DISABLE), SourceText(base + TXT_SAVER_DISABLE));
                EXPECT_EQ(ControlText(dialog, IDC_SAVER_DELAY_LABEL), SourceText(base + TXT_SAVER_DELAY) + ":");
                EXPECT_EQ(ControlText(dialog, IDC_SAVER_MINUTES_LABEL), SourceText(base + TXT_SAVER_MINUTES));
                SaveScreenshot(dialog, "settings_green_saver_" + tag);
                Click(dialog, IDC_SAVER_CANCEL);
            },
            [] { return RunLampTimeoutDialog(nullptr); });
    }
}

class LampTimeoutTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        ASSERT_TRUE(BindDriverLibrary());
        g_device.deviceHandle = g_device.addrChk();
    }
    void TearDown() override {
        UnbindDriverLibrary();
        SettingsTest::TearDown();
    }
    static int ScrollPosition(HWND dialog) { return GetScrollPos(GetDlgItem(dialog, IDC_SAVER_SCROLL), SB_CTL); }
    static void Scroll(HWND dialog, int request, int thumb = 0) {
        SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(request, thumb),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SAVER_SCROLL)));
    }
    static uint16_t SentDelay() {
        return blocks::GetU16(g_device.blocks.scanParameters, blocks::scanparam::kSaverDelay);
    }
};

TEST_F(LampTimeoutTest, ScrollingTypingAndOkWriteBothKeysAndTellTheScanner) {
    SetProfile("A3 SCANNER", "SAVER", "255");
    SetProfile("A3 SCANNER", "TIMES", "45");
    const int result = DriveDialog(
        IDC_SAVER_SCROLL,
        [](HWND dialog) {
            EXPECT_EQ(Title(dialog), "Green Saver");
            EXPECT_EQ(ControlText(dialog, IDC_SAVER_ENABLE), "enable");
            EXPECT_EQ(ControlText(dialog, IDC_SAVER_DELAY_LABEL), "delay:");
            EXPECT_EQ(ControlText(dialog, IDC_SAVER_MINUTES_LABEL), "minutes");
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SAVER_DISABLE), UINT(BST_CHECKED));
            EXPECT_FALSE(Enabled(dialog, IDC_SAVER_MINUTES));
            EXPECT_FALSE(Enabled(dialog, IDC_SAVER_SCROLL));
            EXPECT_EQ(ControlText(dialog, IDC_SAVER_MINUTES), "45");
            EXPECT_EQ(ScrollPosition(dialog), 45);
            SaveScreenshot(dialog, "settings_green_saver_disabled");

            Click(dialog, IDC_SAVER_ENABLE);
            EXPECT_TRUE(Enabled(dialog, IDC_SAVER_MINUTES));
            EXPECT_TRUE(Enabled(dialog, IDC_SAVER_SCROLL));
            Scroll(dialog, SB_LINERIGHT);
            EXPECT_EQ(ControlText(dialog, IDC_SAVER_MINUTES), "46");
            Scroll(dialog, SB_PAGELEFT);
            EXPECT_EQ(ScrollPosition(dialog), 36);
            Scroll(dialog, SB_THUMBTRACK, 118);
            Scroll(dialog, SB_PAGERIGHT);
            EXPECT_EQ(ControlText(dialog, IDC_SAVER_MINUTES), "120");

            Type(dialog, IDC_SAVER_MINUTES, "200");
            EXPECT_FALSE(Enabled(dialog, IDC_SAVER_OK));
            Click(dialog, IDC_SAVER_OK);  // refused while disabled
            EXPECT_TRUE(StillOpen(dialog));
            Type(dialog, IDC_SAVER_MINUTES, "4");
            EXPECT_FALSE(Enabled(dialog, IDC_SAVER_OK));
            Type(dialog, IDC_SAVER_MINUTES, "30");
            EXPECT_TRUE(Enabled(dialog, IDC_SAVER_OK));
            EXPECT_EQ(ScrollPosition(dialog), 30);
            SaveScreenshot(dialog, "settings_green_saver_enabled");
            Click(dialog, IDC_SAVER_OK);
        },
        [] { return RunLampTimeoutDialog(nullptr); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Profile("A3 SCANNER", "SAVER"), "30");
    EXPECT_EQ(Profile("A3 SCANNER", "TIMES"), "30");
    EXPECT_EQ(CountRequests(blocks::kSetScanParameters), 1);
    EXPECT_EQ(SentDelay(), 30);
    EXPECT_EQ(g_device.blocks.scanParameters[blocks::scanparam::kSaverOnly], 1);
}

TEST_F(LampTimeoutTest, DisablingKeepsTheMinutesAndSendsTheOffValue) {
    SetProfile("A3 SCANNER", "TIMES", "500");  // out of range: clamped when read
    const int result = DriveDialog(
        IDC_SAVER_SCROLL,
        [](HWND dialog) {
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SAVER_ENABLE), UINT(BST_CHECKED));
            EXPECT_EQ(ControlText(dialog, IDC_SAVER_MINUTES), "120");
            Click(dialog, IDC_SAVER_DISABLE);
            EXPECT_FALSE(Enabled(dialog, IDC_SAVER_SCROLL));
            Click(dialog, IDC_SAVER_OK);
        },
        [] { return RunLampTimeoutDialog(nullptr); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Profile("A3 SCANNER", "SAVER"), "255");
    EXPECT_EQ(Profile("A3 SCANNER", "TIMES"), "120");
    EXPECT_EQ(SentDelay(), 255);
}

TEST_F(LampTimeoutTest, CancelWritesNothing) {
    const int result = DriveDialog(
        IDC_SAVER_SCROLL,
        [](HWND dialog) {
            EXPECT_EQ(ControlText(dialog, IDC_SAVER_MINUTES), "20");
            Scroll(dialog, SB_LINELEFT);
            Click(dialog, IDC_SAVER_CANCEL);
        },
        [] { return RunLampTimeoutDialog(nullptr); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Profile("A3 SCANNER", "SAVER"), "<missing>");
    EXPECT_EQ(Profile("A3 SCANNER", "TIMES"), "<missing>");
    EXPECT_EQ(CountRequests(blocks::kSetScanParameters), 0);
}

TEST_F(ProfileTest, CalibratorNeedsTwentyFourBitColourAndAProgram) {
    EXPECT_FALSE(CalibratorInstalled());
    g_scanSettings.scanMode = kModeGray;
    g_scanSettings.isColour = false;
    LaunchCalibrator(nullptr);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "The scan mode is not in 24-bit color mode.");
    EXPECT_EQ(recorder.boxes[0].caption, "Attention");
    EXPECT_EQ(recorder.boxes[0].icon, UINT(MB_ICONSTOP));

    g_scanSettings = DefaultScanSettings();
    SetProfile("colorpro", "path", "C:\\nowhere\\calibrate");
    EXPECT_TRUE(CalibratorInstalled());
    LaunchCalibrator(nullptr);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_EQ(recorder.boxes[1].text, "Can not find the Calibrator.");
    EXPECT_EQ(recorder.boxes[1].caption, "Attention");
    SetProfile("colorpro", "path", "NONE");
    EXPECT_FALSE(CalibratorInstalled());
}

TEST_F(ProfileTest, ARunningCalibratorIsBroughtBack) {
    SetProfile("GBCAL", "BRAND", "Tellaris");
    SetProfile("GBCAL", "PACKAGE", "Color");
    HWND calibrator = CreateWindowExA(0, "STATIC", "Tellaris Color Calibrator", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                      100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(calibrator, nullptr);
    ShowWindow(calibrator, SW_SHOWMINIMIZED);
    ASSERT_TRUE(IsIconic(calibrator));
    LaunchCalibrator(nullptr);
    EXPECT_FALSE(IsIconic(calibrator));
    EXPECT_TRUE(recorder.boxes.empty());
    DestroyWindow(calibrator);
}

}  // namespace
