// The frame of the main dialog: its tabs and pages, the about page, the
// information dialog, "Previous" and "Reset", what a running scan refuses,
// the close and the context help; with screenshots of every page and of the
// information dialog in all eight languages.
#include <map>
#include <string>
#include <vector>

#include "tests/wine/dialog_driver.h"
#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

constexpr int kScan = 1001;
constexpr int kCancel = 1003;
constexpr int kInfo = 1005;
constexpr int kLoad = 1006;
constexpr int kPrevious = 1008;
constexpr int kReset = 1009;
constexpr int kQuickHelp = 1010;
constexpr UINT kShowPage = WM_APP + 1;
constexpr char kModel[] = "A3 SCANNER";  // the settings section of the simulated 1200-dpi scanner

struct Language {
    const char* name;  // the LANGUAGE value
    const char* tag;
    int base;
};
const Language kLanguages[] = {{"English", "en", 0},       {"Deutsch", "de", 1000},    {"Francais", "fr", 2000},
                               {"Italiano", "it", 3000},   {"Espanol", "es", 4000},    {"Nederlands", "nl", 5000},
                               {"Chinese", "zh_tw", 6000}, {"Simple", "zh_cn", 7000}};

// The tabs as they stand: Main, Enhancements, Filters, About (no page has
// been made for Preferences or Info, so their tabs are not shown).
enum TabIndex { kMainTab, kEnhancementsTab, kFiltersTab, kAboutTab, kTabCount };

void ClickTab(HWND dialog, int index) {
    RECT strip;
    GetWindowRect(GetDlgItem(dialog, 1004), &strip);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&strip), 2);
    const int x = strip.left + (2 * index + 1) * (strip.right - strip.left) / (2 * kTabCount);
    SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, (strip.top + strip.bottom) / 2));
}

// The page windows of the dialog: its child dialogs.
std::vector<HWND> Pages(HWND dialog) {
    std::vector<HWND> pages;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpA(name, "#32770") == 0) pages.push_back(child);
    }
    return pages;
}

HWND PageWith(HWND dialog, int control) {
    for (HWND page : Pages(dialog))
        if (GetDlgItem(page, control)) return page;
    return nullptr;
}

std::vector<HWND> VisiblePages(HWND dialog) {
    std::vector<HWND> shown;
    for (HWND page : Pages(dialog))
        if (IsWindowVisible(page)) shown.push_back(page);
    return shown;
}

// Opens the information dialog from the Info button and reads every field
// (3001..3067); `screenshot` names a picture of it. The release of the left
// button closes it.
std::map<int, std::string> InformationTexts(HWND dialog, const std::string& screenshot = "") {
    std::map<int, std::string> texts;
    DriveDialog(
        3002,
        [&](HWND info) {
            for (int control = 3001; control <= 3067; ++control)
                if (GetDlgItem(info, control)) texts[control] = ControlText(info, control);
            texts[0] = Title(info);
            if (!screenshot.empty()) SaveScreenshot(info, screenshot);
            SendMessageW(info, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            EXPECT_FALSE(StillOpen(info));
        },
        [dialog] { return static_cast<int>(SendMessageW(dialog, WM_COMMAND, kInfo, 0)); });
    return texts;
}

class DialogFrameTest : public SourceTest {
protected:
    static bool NoFurtherNotification(HostSession& host) {
        const TW_UINT16 marker = 0xFFFE;
        host.Defer([&host, marker] { host.notifications.push_back(marker); });
        return host.WaitForNotification(30000) == marker;
    }
};

TEST_F(DialogFrameTest, EveryPageAndTheInformationDialogInEveryLanguage) {
    for (const Language& language : kLanguages) {
        SCOPED_TRACE(language.name);
        SetProfile("KVSINFO_A3", "LANGUAGE", language.name);
        HostSession host;
        HWND dialog = OpenWithDialog(host);
        ASSERT_NE(dialog, nullptr);
        const std::string tag = language.tag;

        const struct {
            int tab;
            const char* name;
        } tabs[] = {{kEnhancementsTab, "enhancements"}, {kFiltersTab, "filters"}, {kAboutTab, "about"},
                    {kMainTab, "main"}};
        for (const auto& tab : tabs) {
            ClickTab(dialog, tab.tab);
            const std::vector<HWND> shown = VisiblePages(dialog);
            ASSERT_EQ(shown.size(), 1u) << tab.name;
            if (tab.tab == kEnhancementsTab) {
                EXPECT_EQ(ControlText(shown[0], 5005), SourceText(language.base + 381));
            }
            if (tab.tab == kFiltersTab) {
                EXPECT_EQ(ControlText(shown[0], 6001), SourceText(language.base + 390));
            }
            EXPECT_EQ(GetDlgItem(shown[0], 4001) != nullptr, tab.tab == kAboutTab) << tab.name;
            SaveScreenshot(dialog, std::string("dialog_") + tab.name + "_" + tag);
        }
        // The colour page has no tab: the enhancement page leads to it.
        SendMessageW(dialog, kShowPage, 508, 0);
        ASSERT_EQ(VisiblePages(dialog).size(), 1u);
        EXPECT_EQ(ControlText(VisiblePages(dialog)[0], 5105), SourceText(language.base + 388));
        SaveScreenshot(dialog, "dialog_colour_" + tag);

        const std::map<int, std::string> info = InformationTexts(dialog, "info_" + tag);
        EXPECT_EQ(info.at(0), SourceText(language.base + 406));
        EXPECT_EQ(info.at(3001), SourceText(language.base + 370));
        EXPECT_EQ(info.at(3002), SourceText(language.base + 150));  // the default mode, 24-bit colour
        EXPECT_EQ(info.at(3049), SourceText(language.base + 414));
        EXPECT_EQ(info.at(3064), SourceText(language.base + 199));
    }
}

TEST_F(DialogFrameTest, InformationDialogShowsAKnownSettingsSet) {
    SetProfile("KVSINFO_A3", "LANGUAGE", "Deutsch");
    SetProfile(kModel, "ScanMode", "1013");
    SetProfile(kModel, "ScanRes", "150");
    SetProfile(kModel, "Destination", "1022");
    SetProfile(kModel, "DeScreen", "1018");
    SetProfile(kModel, "Scaling", "200");
    SetProfile(kModel, "FilterMode", "5");
    SetProfile(kModel, "UnitFlag", "2");
    SetProfile(kModel, "Frame", "30  30  90  60  ");  // 2 x 1 inches at 30 units per inch
    SetProfile(kModel, "Highlight", "  240  230  220  250");
    SetProfile(kModel, "Shadow", "   12    0    3    5");
    SetProfile(kModel, "Gamma", "   25    7   79   10");
    SetProfile(kModel, "ColorBalance", "  -20    0   15");
    SetProfile(kModel, "Saturation", "-40");
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    const std::map<int, std::string> info = InformationTexts(dialog);
    const int de = 1000;
    EXPECT_EQ(info.at(3002), SourceText(de + 151));  // 256 Gray
    EXPECT_EQ(info.at(3004), SourceText(de + 161));  // reflective
    EXPECT_EQ(info.at(3006), "150");
    EXPECT_EQ(info.at(3008), SourceText(de + 207));  // halftone printer
    EXPECT_EQ(info.at(3010), SourceText(de + 209));  // newspaper
    EXPECT_EQ(info.at(3012), SourceText(de + 392));  // no output matching
    EXPECT_EQ(info.at(3014), "10.16");               // 2 in x 200 % in cm
    EXPECT_EQ(info.at(3016), "5.08");
    EXPECT_EQ(info.at(3062), SourceText(de + 159));
    EXPECT_EQ(info.at(3063), SourceText(de + 159));
    EXPECT_EQ(info.at(3018), "200");
    EXPECT_EQ(info.at(3020), SourceText(de + 175));  // Sharpen
    const char* highlight[] = {"240", "230", "220", "250"};  // red, green, blue, master
    const char* shadow[] = {"12", "0", "3", "5"};
    const char* gamma[] = {"2.5", "0.7", "7.9", "1.0"};
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(info.at(3023 + 2 * column), highlight[column]);
        EXPECT_EQ(info.at(3032 + 2 * column), shadow[column]);
        EXPECT_EQ(info.at(3041 + 2 * column), gamma[column]);
    }
    EXPECT_EQ(info.at(3050), "-20");
    EXPECT_EQ(info.at(3052), "0");
    EXPECT_EQ(info.at(3054), "15");
    EXPECT_EQ(info.at(3058), "-40");
}

TEST_F(DialogFrameTest, ResetRestoresTheResetValuesAndEnablesScanAfter36BitColour) {
    for (const char* product : {"twtest", "Scanware CMS"}) {
        SCOPED_TRACE(product);
        ClearProfile();
        SetProfile(kModel, "ScanMode", "1016");
        SetProfile(kModel, "ScanRes", "1200");
        SetProfile(kModel, "Destination", "1022");
        SetProfile(kModel, "DeScreen", "1019");
        SetProfile(kModel, "OutputMatch", "1");
        SetProfile(kModel, "Scaling", "250");
        SetProfile(kModel, "FilterMode", "3");
        HostSession host;
        HWND dialog = OpenWithDialog(host, product);
        ASSERT_NE(dialog, nullptr);
        // As a resolution above 600 dpi leaves it in 36-bit colour.
        EnableWindow(GetDlgItem(dialog, kScan), FALSE);
        SendMessageW(dialog, WM_COMMAND, kReset, 0);
        EXPECT_TRUE(Enabled(dialog, kScan));

        const std::map<int, std::string> info = InformationTexts(dialog);
        EXPECT_EQ(info.at(3002), "24-bit Color");
        EXPECT_EQ(info.at(3004), "Reflective");
        EXPECT_EQ(info.at(3006), "300");
        EXPECT_EQ(info.at(3008), "Monitor");
        EXPECT_EQ(info.at(3010), "None");
        EXPECT_EQ(info.at(3012), "No");
        EXPECT_EQ(info.at(3018), "100");
        EXPECT_EQ(info.at(3020), "None");
        const bool linear = std::string(product) == "Scanware CMS";
        const char* gamma[] = {linear ? "1.0" : "1.8", linear ? "1.0" : "1.8", linear ? "1.0" : "1.8", "1.0"};
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(info.at(3023 + 2 * column), "255");
            EXPECT_EQ(info.at(3032 + 2 * column), "0");
            EXPECT_EQ(info.at(3041 + 2 * column), gamma[column]) << column;
        }
        for (int control : {3050, 3052, 3054, 3058}) EXPECT_EQ(info.at(control), "0") << control;
    }
}

TEST_F(DialogFrameTest, PreviousRestoresTheSettingsTheDialogOpenedWith) {
    SetProfile(kModel, "ScanRes", "600");
    SetProfile(kModel, "Destination", "1023");
    SetProfile(kModel, "FilterMode", "2");
    SetProfile(kModel, "Highlight", "  200  200  200  255");
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    SendMessageW(dialog, WM_COMMAND, kReset, 0);
    EXPECT_EQ(InformationTexts(dialog).at(3006), "300");
    SendMessageW(dialog, WM_COMMAND, kPrevious, 0);
    const std::map<int, std::string> info = InformationTexts(dialog);
    EXPECT_EQ(info.at(3006), "600");
    EXPECT_EQ(info.at(3008), "Cont. Tone Printer");
    EXPECT_EQ(info.at(3020), "Flip");
    EXPECT_EQ(info.at(3023), "200");
}

TEST_F(DialogFrameTest, WhileAScanRunsCommandsTabsAndCloseAreIgnored) {
    SetProfile(kModel, "ScanMode", "1013");
    SetProfile(kModel, "ScanRes", "100");
    SetProfile(kModel, "Destination", "1023");
    SetProfile(kModel, "Frame", "30  30  90  60  ");
    HostSession host;
    HWND dialog = OpenWithDialog(host);
    ASSERT_NE(dialog, nullptr);
    host.Defer([dialog] { PostMessageW(dialog, WM_COMMAND, kScan, 0); });
    ASSERT_EQ(host.WaitForNotification(20000), MSG_XFERREADY);
    EXPECT_FALSE(IsWindowEnabled(dialog));  // no keyboard or mouse input reaches it

    SendMessageW(dialog, WM_COMMAND, kReset, 0);
    // Load would open its file dialog: nothing may show.
    CurrentScript() = {613, [](HWND files) { Click(files, 613); }, false};
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, ScriptTimer);
    SendMessageW(dialog, WM_COMMAND, kLoad, 0);
    host.Pump(200);
    KillTimer(nullptr, timer);
    EXPECT_FALSE(CurrentScript().ran);
    ClickTab(dialog, kAboutTab);
    EXPECT_FALSE(IsWindowVisible(PageWith(dialog, 4001)));
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    PostMessageW(dialog, WM_COMMAND, kCancel, 0);
    EXPECT_TRUE(NoFurtherNotification(host));

    ASSERT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);
    EXPECT_TRUE(IsWindowEnabled(dialog));
    EXPECT_TRUE(Enabled(dialog, kScan));
    const std::map<int, std::string> info = InformationTexts(dialog);
    EXPECT_EQ(info.at(3006), "100");
    EXPECT_EQ(info.at(3008), "Cont. Tone Printer");

    // Idle again, the close asks the host and keeps the custom resolutions.
    WriteProfileStringA(kModel, "CustomRes", nullptr);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(host.WaitForNotification(30000), MSG_CLOSEDSREQ);
    char custom[40] = {};
    GetProfileStringA(kModel, "CustomRes", "missing", custom, sizeof custom);
    EXPECT_STREQ(custom, "0    0    0    0    0");
}

// A scanner that said it was not ready at the open is still warming up when
// the dialog opens: Scan and Prescan wait for it, Cancel does not.
TEST_F(DialogFrameTest, ScanAndPrescanWaitForAWarmingScanner) {
    {
        SetScanner("InquiryStatus=0x00FF\nWarmUpPolls=3\n");
        HostSession host;
        HWND dialog = OpenWithDialog(host);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(Enabled(dialog, kScan));
        EXPECT_FALSE(Enabled(dialog, 1002));
        for (int i = 0; i < 300 && !Enabled(dialog, kScan); ++i) host.Pump(100);
        EXPECT_TRUE(Enabled(dialog, kScan));
        EXPECT_TRUE(Enabled(dialog, 1002));
    }
    SetScanner("InquiryStatus=0x00FF\nNeverReady=1\n");
    HostSession waiting;
    HWND dialog = OpenWithDialog(waiting);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(Enabled(dialog, kScan));
    PostMessageW(dialog, WM_COMMAND, kCancel, 0);
    EXPECT_EQ(waiting.WaitForNotification(30000), MSG_CLOSEDSREQ);
}

// The help program's window as WinHelpA finds it: each request arrives as
// WM_COPYDATA with the command at byte 2, the data at byte 4 and the offset
// of the file name at byte 12.
struct HelpRequest {
    unsigned command;
    long data;
    std::string file;
};
std::vector<HelpRequest> g_helpRequests;

LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const auto* bytes = static_cast<const char*>(copy->lpData);
    WORD command, fileOffset;
    LONG data;
    memcpy(&command, bytes + 2, 2);
    memcpy(&data, bytes + 4, 4);
    memcpy(&fileOffset, bytes + 12, 2);
    g_helpRequests.push_back({command, data, bytes + fileOffset});
    return TRUE;
}

TEST_F(DialogFrameTest, ContextHelpUsesTheHelpFileOfTheLanguage) {
    WNDCLASSA help{};
    help.lpfnWndProc = HelpWindowProc;
    help.hInstance = GetModuleHandleA(nullptr);
    help.lpszClassName = "MS_WINHELP";
    RegisterClassA(&help);
    HWND helpWindow = CreateWindowA("MS_WINHELP", "help", 0, 0, 0, 10, 10, nullptr, nullptr, help.hInstance, nullptr);
    ASSERT_NE(helpWindow, nullptr);

    const struct {
        const char* language;
        const char* file;
    } cases[] = {{"Deutsch", "\\KVSC_A3\\CSHLP_D.HLP"}, {"Chinese", "\\KVSC_A3\\CSHLP_U.HLP"},
                 {"Simple", "\\KVSC_A3\\CSHLP_U.HLP"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        SetProfile("KVSINFO_A3", "LANGUAGE", c.language);
        HostSession host;
        HWND dialog = OpenWithDialog(host);
        ASSERT_NE(dialog, nullptr);
        SetForegroundWindow(dialog);
        g_helpRequests.clear();

        // On the Scan button: its topic pops up.
        SendMessageW(dialog, WM_COMMAND, kQuickHelp, 0);
        EXPECT_EQ(GetCapture(), dialog);
        RECT scan;
        GetWindowRect(GetDlgItem(dialog, kScan), &scan);
        POINT middle = {(scan.left + scan.right) / 2, (scan.top + scan.bottom) / 2};
        ScreenToClient(dialog, &middle);
        SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
        EXPECT_EQ(GetCapture(), nullptr);

        // On the empty page: no topic, so the contents.
        SendMessageW(dialog, WM_COMMAND, kQuickHelp, 0);
        RECT area;
        GetWindowRect(GetDlgItem(dialog, 1011), &area);
        POINT inside = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        ScreenToClient(dialog, &inside);
        SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));

        ASSERT_EQ(g_helpRequests.size(), 2u);
        EXPECT_EQ(g_helpRequests[0].command, unsigned{HELP_CONTEXTPOPUP});
        EXPECT_EQ(g_helpRequests[0].data, 1001);
        EXPECT_EQ(g_helpRequests[1].command, unsigned{HELP_CONTENTS});
        for (const HelpRequest& request : g_helpRequests) {
            const std::string& file = request.file;
            const std::string ending = c.file;
            ASSERT_GE(file.size(), ending.size());
            EXPECT_EQ(file.substr(file.size() - ending.size()), ending);
            EXPECT_EQ(_stricmp(file.substr(0, file.size() - ending.size()).c_str(),
                               SourcesDir().c_str()), 0) << file;
        }
    }
    DestroyWindow(helpWindow);
}

// The about page's picture: the bitmap the page shows against the one of
// that name in the data source.
bool PictureIs(HWND page, const wchar_t* name) {
    HMODULE module = LoadLibraryExA((InstallDir() + "\\kvsc_a3.ds").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HBITMAP expected = LoadBitmapW(module, name);
    auto shown = reinterpret_cast<HBITMAP>(SendDlgItemMessageW(page, 4006, STM_GETIMAGE, IMAGE_BITMAP, 0));
    auto bits = [](HBITMAP bitmap) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 96, 72, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<uint8_t> out(96 * 72 * 3);
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, bitmap, 0, 72, out.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        return out;
    };
    const bool same = expected && shown && bits(expected) == bits(shown);
    DeleteObject(expected);
    FreeLibrary(module);
    return same;
}

TEST_F(DialogFrameTest, AboutPageWithAndWithoutTheBrand) {
    SetScanner("Revision=7\nRevision2=42\n");
    SetProfile("KVSINFO_A3", "1200", "Model X");
    SetProfile("KVSINFO_A3", "SWVERSION", "V2.5");
    for (const char* brand : {"tellaris", "Other"}) {
        SCOPED_TRACE(brand);
        SetProfile("KVSINFO_A3", "BRAND", brand);
        HostSession host;
        HWND dialog = OpenWithDialog(host);
        ASSERT_NE(dialog, nullptr);
        HWND about = PageWith(dialog, 4001);
        ASSERT_NE(about, nullptr);
        const bool branded = std::string(brand) == "tellaris";
        const std::string product = branded ? "Tellaris Model X" : "Model X";
        EXPECT_EQ(ControlText(about, 4001), product);
        EXPECT_EQ(ControlText(about, 4003), product + " Twain V2.5");
        EXPECT_EQ(ControlText(about, 4004), "Firmware V742");
        EXPECT_EQ(ControlText(about, 4005), branded ? SourceText(7) : "");
        EXPECT_TRUE(PictureIs(about, branded ? L"IDB_ABOUT_BRAND" : L"IDB_ABOUT_NOBRAND"));
    }
}

}  // namespace
