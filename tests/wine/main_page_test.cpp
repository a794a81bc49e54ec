// The main page and its custom-value dialogs, driven by control id inside a
// stand-in main dialog that has a Scan button: the settings each control
// sets, the figures shown, the resolution menu and the user's resolutions,
// the ranges of the custom dialogs and what bad typing leaves.
#include <string>
#include <vector>

#include "engine/job_state.h"
#include "engine/processing.h"
#include "imaging/colour_profile.h"
#include "profile/module_instance.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/settings_fixture.h"
#include "ui/custom_dialogs.h"
#include "ui/main_dialog.h"
#include "ui/main_page.h"
#include "ui/resolution_menu.h"

namespace {

using namespace dstest;

const char* const kLanguages[] = {"English", "Deutsch", "Francais", "Italiano",
                                  "Espanol", "Nederlands", "Chinese", "Simple"};
const char* const kLanguageCodes[] = {"en", "de", "fr", "it", "es", "nl", "zh_tw", "zh_cn"};

bool g_languageTold = false;

LRESULT CALLBACK NoticeLanguageChange(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kLanguageChangedMessage) g_languageTold = true;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The pop-up menu as it showed, closed again from a timer of its loop.
struct ShownMenu {
    bool shown;
    RECT rect;
};
ShownMenu g_shownMenu{};

void CALLBACK CloseShownMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, timer);
    g_shownMenu.shown = true;
    GetWindowRect(popup, &g_shownMenu.rect);
    EndMenu();
}

class MainPageTest : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        g_caps.xferMechIndex = TWSX_MEMORY;
        g_device.maxAreaWidth = 11.7f;
        g_device.maxAreaLength = 17.0f;
        g_mainDialog.idle = true;
        main = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 560, 460, nullptr,
                               nullptr, nullptr, nullptr);
        CreateWindowExW(0, L"BUTTON", L"Scan", WS_CHILD | WS_VISIBLE, 480, 400, 60, 24, main,
                        reinterpret_cast<HMENU>(IDC_SCAN), nullptr, nullptr);
    }

    void TearDown() override {
        DestroyWindow(main);
        colour::ReleaseColourProfile(g_processing.profile);
        SettingsTest::TearDown();
    }

    HWND OpenPage() {
        page = CreateMainPage(main);
        ShowWindow(page, SW_SHOW);
        return page;
    }

    void Choose(int list, int line) {
        SendDlgItemMessageW(page, list, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
        Notify(page, list, CBN_SELCHANGE);
    }

    int Selected(int list) { return static_cast<int>(SendDlgItemMessageW(page, list, CB_GETCURSEL, 0, 0)); }

    void MenuCommand(int command) { SendMessageW(page, WM_COMMAND, static_cast<WPARAM>(command), 0); }

    std::vector<std::string> MenuItems() {
        std::vector<std::string> items;
        HMENU menu = ResolutionMenu();
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            std::string item = Utf8(text);
            if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) item += "*";
            items.push_back(item);
        }
        return items;
    }

    // Runs the custom-resolution dialog with `steps` on it.
    void CustomResolution(const std::function<void(HWND)>& steps) {
        DriveDialog(IDC_CUSTOM_RES_SCROLL, steps, [this] {
            MenuCommand(IDC_RES_CUSTOM);
            return 0;
        });
    }

    uint16_t CustomScaling(const std::function<void(HWND)>& steps) {
        return static_cast<uint16_t>(
            DriveDialog(IDC_CUSTOM_SCALING_LABEL, steps, [this] { return RunCustomScalingDialog(page); }));
    }

    bool ScanEnabled() { return Enabled(main, IDC_SCAN); }

    HWND main = nullptr;
    HWND page = nullptr;
};

TEST_F(MainPageTest, ListsSetTheRecordAndTheFiguresFollow) {
    OpenPage();
    EXPECT_EQ(Selected(IDC_MP_MODE), 3);
    EXPECT_EQ(ControlText(page, IDC_MP_RESOLUTION), "300");
    EXPECT_EQ(ControlText(page, IDC_MP_RESOLUTION_UNIT), "dpi");
    // Default frame 72 x 64 units = 2.4 x 2.13 inches; 720 x 640 pixels x 3 bytes.
    EXPECT_EQ(ControlText(page, IDC_MP_WIDTH), "2.40");
    EXPECT_EQ(ControlText(page, IDC_MP_LENGTH), "2.13");
    EXPECT_EQ(ControlText(page, IDC_MP_WIDTH_UNIT), "inches");
    EXPECT_EQ(ControlText(page, IDC_MP_SIZE), "1350.00");
    EXPECT_EQ(ControlText(page, IDC_MP_KB_LABEL), "KB");

    Choose(IDC_MP_UNIT, 1);
    EXPECT_EQ(g_scanSettings.unit, 1u);
    EXPECT_EQ(ControlText(page, IDC_MP_WIDTH), "720");
    EXPECT_EQ(ControlText(page, IDC_MP_LENGTH_UNIT), "pixels");
    Choose(IDC_MP_SCALING, 6);  // 200 %
    EXPECT_EQ(g_scanSettings.scaling, 200);
    EXPECT_EQ(ControlText(page, IDC_MP_WIDTH), "1440");
    Choose(IDC_MP_SCALING, 3);

    Choose(IDC_MP_MODE, 0);  // line art: one bit per pixel
    EXPECT_EQ(g_scanSettings.scanMode, 1011);
    EXPECT_FALSE(g_scanSettings.isColour);
    EXPECT_EQ(ControlText(page, IDC_MP_SIZE), "56.25");  // 720 x 640 / 8 / 1024
    EXPECT_FALSE(Enabled(page, IDC_MP_OUTPUT_MATCHING));
    Choose(IDC_MP_MODE, 4);
    EXPECT_EQ(g_scanSettings.scanMode, 1014);
    EXPECT_EQ(g_scanSettings.colourKind, 1);
    EXPECT_TRUE(Enabled(page, IDC_MP_OUTPUT_MATCHING));

    EXPECT_FALSE(Enabled(page, IDC_MP_QUALITY));
    Choose(IDC_MP_DESTINATION, 1);  // halftone printer: 133 lines per inch
    EXPECT_EQ(g_scanSettings.destination, 1022);
    EXPECT_EQ(g_scanSettings.resolution, 133);
    EXPECT_EQ(ControlText(page, IDC_MP_RESOLUTION), "133");
    EXPECT_EQ(ControlText(page, IDC_MP_RESOLUTION_UNIT), "lpi");
    EXPECT_TRUE(Enabled(page, IDC_MP_QUALITY));
    Choose(IDC_MP_QUALITY, 4);
    EXPECT_EQ(g_scanSettings.qualityFactor, 30);
    Choose(IDC_MP_DESTINATION, 2);
    EXPECT_EQ(g_scanSettings.qualityFactor, 10);
    EXPECT_EQ(Selected(IDC_MP_QUALITY), 0);
    EXPECT_FALSE(Enabled(page, IDC_MP_QUALITY));

    Choose(IDC_MP_DESCREEN, 2);
    EXPECT_EQ(g_scanSettings.descreen, 1019);
    EXPECT_TRUE(g_scanSettings.descreenActive);
    Choose(IDC_MP_SOURCE, 2);  // negative: no descreen, no output matching
    EXPECT_EQ(g_scanSettings.sourceId, 1095);
    EXPECT_FALSE(Enabled(page, IDC_MP_DESCREEN));
    EXPECT_FALSE(Enabled(page, IDC_MP_OUTPUT_MATCHING));
}

TEST_F(MainPageTest, MonitorIn36BitColourSets100AndAbove600TheScanButtonIsOff) {
    g_scanSettings.destination = 1023;
    OpenPage();
    Choose(IDC_MP_MODE, 5);
    EXPECT_EQ(g_scanSettings.colourKind, 2);
    Choose(IDC_MP_DESTINATION, 0);
    EXPECT_EQ(g_scanSettings.resolution, 100);
    EXPECT_EQ(MenuItems(), (std::vector<std::string>{"72", "100*", "200", "300", "400", "600", "Custom"}));

    CustomResolution([](HWND dialog) {
        Type(dialog, IDC_CUSTOM_RES_VALUE, "700");
        Click(dialog, IDC_CUSTOM_OK);
    });
    EXPECT_EQ(g_scanSettings.resolution, 700);
    EXPECT_FALSE(ScanEnabled());
    CustomResolution([this](HWND dialog) {
        Type(dialog, IDC_CUSTOM_RES_VALUE, "600");
        EXPECT_TRUE(ScanEnabled());
        Type(dialog, IDC_CUSTOM_RES_VALUE, "601");
        EXPECT_FALSE(ScanEnabled());
        Click(dialog, IDC_CUSTOM_RES_CANCEL);
    });
    EXPECT_EQ(g_scanSettings.resolution, 700);
    Choose(IDC_MP_MODE, 3);  // 24-bit colour scans at any resolution
    EXPECT_TRUE(ScanEnabled());
}

TEST_F(MainPageTest, MenuCommandsSetResolutionAndScaleWithinTheModelsLimits) {
    OpenPage();
    EXPECT_EQ(MenuItems(), (std::vector<std::string>{"72", "100", "200", "300*", "400", "600", "800", "1200", "2400",
                                                     "3600", "4800", "Custom"}));
    MenuCommand(1808);
    EXPECT_EQ(g_scanSettings.resolution, 1200);
    EXPECT_EQ(g_scanSettings.dpiScale, 0);
    EXPECT_TRUE(g_job.derived.interpolate);
    EXPECT_EQ(ControlText(page, IDC_MP_RESOLUTION), "1200");
    MenuCommand(1810);
    EXPECT_EQ(g_scanSettings.resolution, 2400);
    EXPECT_EQ(g_scanSettings.dpiScale, 2);
    MenuCommand(1816);  // 9600 is beyond eight times 600
    EXPECT_EQ(g_scanSettings.resolution, 2400);
    MenuCommand(1804);
    EXPECT_EQ(g_scanSettings.resolution, 300);
    EXPECT_FALSE(g_job.derived.interpolate);

    g_caps.xferMechIndex = TWSX_NATIVE;  // no enlarging: the optical resolution is the most
    MenuCommand(1808);
    EXPECT_EQ(g_scanSettings.resolution, 300);
    MenuCommand(1806);
    EXPECT_EQ(g_scanSettings.resolution, 600);
}

TEST_F(MainPageTest, CustomResolutionRangeTypingAndScrolling) {
    OpenPage();
    struct Case {
        uint16_t optical;
        TW_UINT16 mechanism;
        const char* shown;
    };
    for (const Case& c : {Case{600, TWSX_MEMORY, "1200"}, Case{600, TWSX_NATIVE, "600"},
                          Case{1200, TWSX_FILE, "2400"}, Case{606, TWSX_MEMORY, "600"}}) {
        SCOPED_TRACE(c.shown);
        g_device.opticalResolution = c.optical;
        g_caps.xferMechIndex = static_cast<uint8_t>(c.mechanism);
        CustomResolution([&](HWND dialog) {
            Type(dialog, IDC_CUSTOM_RES_VALUE, "5000");
            EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_RES_VALUE), c.shown);
            EXPECT_EQ(std::to_string(g_scanSettings.resolution), c.shown);
            Click(dialog, IDC_CUSTOM_RES_CANCEL);
        });
        EXPECT_EQ(g_scanSettings.resolution, 300);
    }

    g_device.opticalResolution = 600;
    g_caps.xferMechIndex = TWSX_MEMORY;
    CustomResolution([&](HWND dialog) {
        auto scroll = [dialog](WORD request, WORD thumb = 0) {
            SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(request, thumb),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_CUSTOM_RES_SCROLL)));
        };
        EXPECT_EQ(Title(dialog), "Resolution");
        EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_RES_VALUE), "300");
        Type(dialog, IDC_CUSTOM_RES_VALUE, "0");
        EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_RES_VALUE), "1");
        Type(dialog, IDC_CUSTOM_RES_VALUE, "6x0");  // not a number: the last good value comes back
        EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_RES_VALUE), "1");
        Type(dialog, IDC_CUSTOM_RES_VALUE, "600");
        EXPECT_FALSE(g_job.derived.interpolate);
        scroll(SB_LINERIGHT);
        EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_RES_VALUE), "601");
        EXPECT_TRUE(g_job.derived.interpolate);  // above the optical 600
        EXPECT_EQ(GetScrollPos(GetDlgItem(dialog, IDC_CUSTOM_RES_SCROLL), SB_CTL), 601);
        scroll(SB_PAGELEFT);
        EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_RES_VALUE), "551");
        EXPECT_FALSE(g_job.derived.interpolate);
        scroll(SB_THUMBTRACK, 777);
        EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_RES_VALUE), "777");
        scroll(SB_RIGHT);
        EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_RES_VALUE), "1200");
        EXPECT_TRUE(g_job.derived.interpolate);
        Type(dialog, IDC_CUSTOM_RES_VALUE, "700");
        EXPECT_EQ(ControlText(page, IDC_MP_SIZE), "7348.36");  // 1680 x 1493 x 3 bytes, shown at once
        Click(dialog, IDC_CUSTOM_OK);
    });
    EXPECT_EQ(g_scanSettings.resolution, 700);
    EXPECT_EQ(g_scanSettings.dpiScale, 0);
    EXPECT_TRUE(g_job.derived.interpolate);
}

TEST_F(MainPageTest, FiveOwnResolutionsTheSixthDropsTheOldestAndKnownNumbersAreChecked) {
    OpenPage();
    auto add = [this](const char* value) {
        CustomResolution([value](HWND dialog) {
            Type(dialog, IDC_CUSTOM_RES_VALUE, value);
            Click(dialog, IDC_CUSTOM_OK);
        });
    };
    for (const char* value : {"110", "120", "130", "140", "150"}) add(value);
    EXPECT_EQ(Profile(kModelSection, "CustomRes"), "110  120  130  140  150");
    add("160");
    EXPECT_EQ(MenuItems(), (std::vector<std::string>{"72", "100", "200", "300", "400", "600", "800", "1200",
                                                     "2400", "3600", "4800", "120", "130", "140", "150", "160*",
                                                     "Custom"}));
    EXPECT_EQ(Profile(kModelSection, "CustomRes"), "120  130  140  150  160");
    EXPECT_EQ(GetMenuItemID(ResolutionMenu(), 15), 1822u);

    add("130");  // already there: checked again, nothing added
    add("400");
    std::vector<std::string> items = MenuItems();
    EXPECT_EQ(items.size(), 17u);
    EXPECT_EQ(items[4], "400*");
    EXPECT_EQ(Profile(kModelSection, "CustomRes"), "120  130  140  150  160");

    MenuCommand(1819);  // the second of the user's: 130
    EXPECT_EQ(g_scanSettings.resolution, 130);
    EXPECT_EQ(MenuItems()[12], "130*");
}

TEST_F(MainPageTest, CustomScalingRangeFollowsTheResolution) {
    OpenPage();
    struct Case {
        uint16_t resolution;
        const char* typed;
        const char* shown;
    };
    for (const Case& c : {Case{300, "5000", "600"}, Case{1200, "5000", "200"}, Case{300, "0", "1"},
                          Case{1200, "150", "150"}}) {
        SCOPED_TRACE(c.resolution);
        g_scanSettings.resolution = c.resolution;
        uint16_t result = CustomScaling([&](HWND dialog) {
            EXPECT_EQ(Title(dialog), "Output Scaling");
            Type(dialog, IDC_CUSTOM_SCALING_VALUE, c.typed);
            EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_SCALING_VALUE), c.shown);
            Click(dialog, IDC_CUSTOM_OK);
        });
        EXPECT_EQ(std::to_string(result), c.shown);
    }
    uint16_t result = CustomScaling([](HWND dialog) {
        Type(dialog, IDC_CUSTOM_SCALING_VALUE, "45");
        Type(dialog, IDC_CUSTOM_SCALING_VALUE, "4?");
        EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_SCALING_VALUE), "45");
        Click(dialog, IDC_CUSTOM_SCALING_CANCEL);
    });
    EXPECT_EQ(result, 100);

    // Chosen from the list: the value goes in after "Custom" and is selected.
    g_scanSettings.resolution = 300;
    DriveDialog(IDC_CUSTOM_SCALING_LABEL, [](HWND dialog) {
        Type(dialog, IDC_CUSTOM_SCALING_VALUE, "333");
        Click(dialog, IDC_CUSTOM_OK);
    }, [this] {
        Choose(IDC_MP_SCALING, 9);
        return 0;
    });
    EXPECT_EQ(g_scanSettings.scaling, 333);
    EXPECT_EQ(Selected(IDC_MP_SCALING), 10);
    wchar_t line[32] = {};
    SendDlgItemMessageW(page, IDC_MP_SCALING, CB_GETLBTEXT, 10, reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(Utf8(line), "333 %");
}

TEST_F(MainPageTest, ChangesDuringAScanAreUndone) {
    OpenPage();
    g_mainDialog.idle = false;
    Choose(IDC_MP_UNIT, 2);
    EXPECT_EQ(g_scanSettings.unit, 0u);
    EXPECT_EQ(Selected(IDC_MP_UNIT), 0);
    MenuCommand(1806);
    EXPECT_EQ(g_scanSettings.resolution, 300);
    g_mainDialog.idle = true;
    Choose(IDC_MP_UNIT, 2);
    EXPECT_EQ(g_scanSettings.unit, 2u);
    EXPECT_EQ(ControlText(page, IDC_MP_WIDTH), "6.10");  // 2.4 inches
    EXPECT_EQ(ControlText(page, IDC_MP_WIDTH_UNIT), "cm");
}

TEST_F(MainPageTest, OutputMatchingNeedsAProfileOfAKnownSize) {
    OpenPage();
    const std::string colourDir = SourcesDir() + "\\COLOR";
    const std::string path = colourDir + "\\orvaA3.tab";
    auto check = [this] {
        CheckDlgButton(page, IDC_MP_OUTPUT_MATCHING, BST_CHECKED);
        Notify(page, IDC_MP_OUTPUT_MATCHING, BN_CLICKED);
        return IsDlgButtonChecked(page, IDC_MP_OUTPUT_MATCHING) == BST_CHECKED;
    };
    auto writeProfile = [&](size_t size) {
        CreateDirectoryA(colourDir.c_str(), nullptr);
        std::vector<char> bytes(size, 0);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(size), &written, nullptr);
        CloseHandle(file);
    };
    EXPECT_FALSE(check());  // no profile at all
    EXPECT_EQ(g_scanSettings.outputMatch, 0);
    writeProfile(5000);  // a grid profile cut short
    EXPECT_FALSE(check());
    writeProfile(70000);  // longer than the buffer
    EXPECT_FALSE(check());
    ASSERT_EQ(recorder.boxes.size(), 3u);
    for (const RecordedBox& box : recorder.boxes) {
        EXPECT_EQ(box.text, "Calibration Profile is not found! Please run the Calibrator to produce it.");
        EXPECT_EQ(box.caption, "Information");
    }
    writeProfile(816);  // a matrix profile
    EXPECT_TRUE(check());
    EXPECT_EQ(g_scanSettings.outputMatch, 1);
    EXPECT_EQ(recorder.boxes.size(), 3u);
}

TEST_F(MainPageTest, IconsShowTheirTipsUntilTheMouseComesOverThem) {
    OpenPage();
    auto tip = [] { return FindWindowW(L"Tooltips Class", nullptr); };
    struct Case {
        int icon;
        const char* text;
    };
    for (const Case& c : {Case{IDC_MP_CALIBRATOR_ICON, "Color Calibrator"}, Case{IDC_MP_LANGUAGE_ICON, "Language"},
                          Case{IDC_MP_LAMP_ICON, "Green Saver"}}) {
        SendMessageW(page, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(page, c.icon)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        ASSERT_NE(tip(), nullptr) << c.text;
        EXPECT_EQ(Title(tip()), c.text);
    }
    SaveScreenshot(main, "mainpage_tooltip_en");
    SendMessageW(tip(), WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(tip(), nullptr);
    SendMessageW(page, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(page, IDC_MP_LAMP_ICON)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_NE(tip(), nullptr);
    SendMessageW(page, WM_SETCURSOR, reinterpret_cast<WPARAM>(page), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(tip(), nullptr);  // leaving the icon closes it

    // The class goes with the page, before the library can be unloaded.
    WNDCLASSW tipClass;
    EXPECT_TRUE(GetClassInfoW(g_moduleInstance, L"Tooltips Class", &tipClass));
    DestroyWindow(page);
    EXPECT_FALSE(GetClassInfoW(g_moduleInstance, L"Tooltips Class", &tipClass));
}

// A click on an icon: the calibrator only in 24-bit colour, the lamp
// time-out dialog, and the language dialog, after whose OK the page speaks
// the new language and the main dialog is told.
TEST_F(MainPageTest, IconsOpenTheirDialogs) {
    g_scanSettings.scanMode = 1013;
    g_scanSettings.isColour = false;
    OpenPage();
    Notify(page, IDC_MP_CALIBRATOR_ICON, STN_CLICKED);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "The scan mode is not in 24-bit color mode.");
    EXPECT_EQ(recorder.boxes[0].caption, "Attention");

    std::string title;
    DriveDialog(IDC_SAVER_SCROLL, [&title](HWND dialog) {
        title = Title(dialog);
        Click(dialog, IDC_SAVER_CANCEL);
    }, [this] {
        Notify(page, IDC_MP_LAMP_ICON, STN_CLICKED);
        return 0;
    });
    EXPECT_EQ(title, "Green Saver");

    g_languageTold = false;
    SetWindowLongPtrW(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoticeLanguageChange));
    DriveDialog(IDC_LANGUAGE_LIST, [](HWND dialog) {
        SelectLine(dialog, IDC_LANGUAGE_LIST, 1);
        Click(dialog, IDC_LANGUAGE_OK);
    }, [this] {
        Notify(page, IDC_MP_LANGUAGE_ICON, STN_CLICKED);
        return 0;
    });
    EXPECT_TRUE(g_languageTold);
    EXPECT_EQ(g_language.index, 1);
    EXPECT_EQ(ControlText(page, IDC_MP_MODE_LABEL), SourceText(1370));
    EXPECT_EQ(MenuItems().back(), SourceText(1154));
    SaveScreenshot(main, "mainpage_gray_de");

    // With DSLANGUAGE "English" there is nothing to choose: no dialog.
    SetProfile("KVSINFO_A3", "DSLANGUAGE", "English");
    Notify(page, IDC_MP_LANGUAGE_ICON, STN_CLICKED);
    EXPECT_EQ(g_language.index, 1);
}

// A click in the resolution field opens the menu under it.
TEST_F(MainPageTest, TheResolutionFieldOpensTheMenu) {
    OpenPage();
    g_shownMenu = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, CloseShownMenu);
    Notify(page, IDC_MP_RESOLUTION, STN_CLICKED);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(g_shownMenu.shown);
    RECT field;
    GetWindowRect(GetDlgItem(page, IDC_MP_RESOLUTION), &field);
    EXPECT_EQ(g_shownMenu.rect.left, field.left);
    EXPECT_EQ(g_shownMenu.rect.top, field.bottom);
}

TEST_F(MainPageTest, EveryLanguageHasItsTexts) {
    for (int language = 0; language < 8; ++language) {
        SCOPED_TRACE(kLanguages[language]);
        SetProfile("KVSINFO_A3", "LANGUAGE", kLanguages[language]);
        LoadLanguageFromProfile();
        g_scanSettings = DefaultScanSettings();
        OpenPage();
        EXPECT_EQ(ControlText(page, IDC_MP_MODE_LABEL), SourceText(1000 * language + 370));
        EXPECT_EQ(ControlText(page, IDC_MP_WIDTH_UNIT), SourceText(1000 * language + 157));
        const std::string custom = SourceText(1000 * language + 154);
        EXPECT_EQ(MenuItems().back(), custom);
        const std::string code = kLanguageCodes[language];
        SaveScreenshot(main, "mainpage_default_" + code);
        CustomResolution([&](HWND dialog) {
            EXPECT_EQ(Title(dialog), SourceText(1000 * language + 316));
            EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_OK), SourceText(1000 * language + 700));
            SaveScreenshot(dialog, "custom_resolution_" + code);
            Click(dialog, IDC_CUSTOM_RES_CANCEL);
        });
        CustomScaling([&](HWND dialog) {
            EXPECT_EQ(Title(dialog), SourceText(1000 * language + 327));
            EXPECT_EQ(ControlText(dialog, IDC_CUSTOM_SCALING_LABEL), SourceText(1000 * language + 850) + " 1 - 600");
            SaveScreenshot(dialog, "custom_scaling_" + code);
            Click(dialog, IDC_CUSTOM_SCALING_CANCEL);
        });
        DestroyWindow(page);
    }
}

TEST_F(MainPageTest, ScreenshotsOfSomeStates) {
    g_scanSettings.scanMode = 1014;
    g_scanSettings.colourKind = 2;
    g_scanSettings.resolution = 1200;
    OpenPage();
    EXPECT_FALSE(ScanEnabled());  // 36-bit colour above 600 dpi
    SaveScreenshot(main, "mainpage_36bit_en");
    Choose(IDC_MP_MODE, 2);
    Choose(IDC_MP_DESTINATION, 1);
    Choose(IDC_MP_UNIT, 3);
    SaveScreenshot(main, "mainpage_halftone_mm_en");
}

}  // namespace
