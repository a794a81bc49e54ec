// The Enhancements, colour and Filters pages driven by messages: the fields'
// and bars' rules, the channel list by mode, the histogram buttons with and
// without a preview, the colour bars and wheel, the filters by mode, a scan
// whose levels follow the page's tone settings, and pictures of each page.
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/settings_scan.h"

namespace {

using namespace dstest;

constexpr UINT kShowPage = WM_APP + 1;

HWND ShowPageOf(HWND dialog, int page) {
    SendMessageW(dialog, kShowPage, static_cast<WPARAM>(page), 0);
    return GetDlgItem(dialog, page);
}

void Scroll(HWND page, int bar, WORD request, int position = 0) {
    SendMessageW(page, WM_HSCROLL, MAKEWPARAM(request, static_cast<WORD>(position)),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, bar)));
}

void ChooseLine(HWND page, int list, int line) {
    SendDlgItemMessageW(page, list, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
    Notify(page, list, CBN_SELCHANGE);
}

std::vector<std::string> ComboLines(HWND page, int list) {
    std::vector<std::string> lines;
    const LRESULT count = SendDlgItemMessageW(page, list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        SendDlgItemMessageW(page, list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(Utf8(text));
    }
    return lines;
}

class EnhancementPagesTest : public SourceTest {
protected:
    HWND OpenDialog(const char* scanMode = "1014", bool prescan = true) {
        SetProfile("A3 SCANNER", "ScanMode", scanMode);
        EXPECT_EQ(Open(host), TWRC_SUCCESS);
        EXPECT_EQ(host.Enable(true), TWRC_SUCCESS);
        HWND dialog = FindMainDialog();
        if (dialog && prescan) SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
        return dialog;
    }

    HostSession host;
};

TEST_F(EnhancementPagesTest, FieldsAndBarsKeepShadowBelowHighlight) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND page = ShowPageOf(dialog, IDD_PAGE_ENHANCEMENTS);
    ASSERT_TRUE(IsWindowVisible(page));
    EXPECT_EQ(ComboLines(page, IDC_ENH_CHANNEL),
              (std::vector<std::string>{SourceText(198), SourceText(199), SourceText(200), SourceText(201)}));
    EXPECT_TRUE(Enabled(page, IDC_ENH_CHANNEL));
    EXPECT_EQ(ControlText(page, IDC_ENH_GAMMA), "1.8");

    Type(page, IDC_ENH_HIGHLIGHT, "042");
    EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT), "42");
    Type(page, IDC_ENH_GAMMA, "07");
    EXPECT_EQ(ControlText(page, IDC_ENH_GAMMA), "7");
    Type(page, IDC_ENH_SHADOW, "60");  // pushes the highlight up
    EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT), "61");
    Type(page, IDC_ENH_SHADOW, "00");
    EXPECT_EQ(ControlText(page, IDC_ENH_SHADOW), "0");
    Type(page, IDC_ENH_HIGHLIGHT, "x");
    EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT), "1");

    // Highlight 1 over shadow 0: a line down changes nothing.
    Scroll(page, IDC_ENH_HIGHLIGHT_BAR, SB_LINELEFT);
    EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT), "1");
    EXPECT_EQ(ControlText(page, IDC_ENH_SHADOW), "0");
    // Shadow 250 under highlight 253: a page up gives 255 and 254.
    Type(page, IDC_ENH_HIGHLIGHT, "253");
    Type(page, IDC_ENH_SHADOW, "250");
    Scroll(page, IDC_ENH_SHADOW_BAR, SB_PAGERIGHT);
    EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT), "255");
    EXPECT_EQ(ControlText(page, IDC_ENH_SHADOW), "254");
    EXPECT_EQ(GetScrollPos(GetDlgItem(page, IDC_ENH_SHADOW_BAR), SB_CTL), 254);
    // The thumb at 0 is ignored.
    Scroll(page, IDC_ENH_HIGHLIGHT_BAR, SB_THUMBPOSITION, 0);
    EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT), "255");
    Scroll(page, IDC_ENH_GAMMA_BAR, SB_THUMBPOSITION, 25);
    EXPECT_EQ(ControlText(page, IDC_ENH_GAMMA), "2.5");

    // Red edited, then Master: green and blue take red's values.
    ChooseLine(page, IDC_ENH_CHANNEL, 1);
    Type(page, IDC_ENH_HIGHLIGHT, "200");
    ChooseLine(page, IDC_ENH_CHANNEL, 0);
    EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT), "200");
    ChooseLine(page, IDC_ENH_CHANNEL, 3);
    EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT), "200");

    // Reset while the page shows: the fields show the reset values.
    SendMessageW(dialog, WM_COMMAND, IDC_RESET, 0);
    EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT), "255");
    EXPECT_EQ(ControlText(page, IDC_ENH_GAMMA), "1.8");
}

TEST_F(EnhancementPagesTest, HistogramButtonsFollowThePreview) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND page = ShowPageOf(dialog, IDD_PAGE_ENHANCEMENTS);
    EXPECT_FALSE(Enabled(page, IDC_ENH_PLUS));
    Click(page, IDC_ENH_HISTOGRAM);
    EXPECT_TRUE(Enabled(page, IDC_ENH_PLUS));
    EXPECT_TRUE(Enabled(page, IDC_ENH_MINUS));
    Click(page, IDC_ENH_MINUS);
    Click(page, IDC_ENH_PLUS);
    // Auto sets the levels from the preview under the frame.
    Click(page, IDC_ENH_AUTO);
    const int highlight = std::stoi(ControlText(page, IDC_ENH_HIGHLIGHT));
    const int shadow = std::stoi(ControlText(page, IDC_ENH_SHADOW));
    EXPECT_LT(shadow, highlight);
    // Hidden and shown again: the histogram is off.
    ShowPageOf(dialog, IDD_MAIN_PAGE);
    EXPECT_FALSE(IsWindowVisible(page));
    ShowPageOf(dialog, IDD_PAGE_ENHANCEMENTS);
    EXPECT_FALSE(Enabled(page, IDC_ENH_PLUS));
}

TEST_F(EnhancementPagesTest, WithoutAPreviewTheHistogramStaysOff) {
    HWND dialog = OpenDialog("1014", false);
    ASSERT_NE(dialog, nullptr);
    HWND page = ShowPageOf(dialog, IDD_PAGE_ENHANCEMENTS);
    Click(page, IDC_ENH_HISTOGRAM);
    EXPECT_FALSE(Enabled(page, IDC_ENH_PLUS));
    Click(page, IDC_ENH_AUTO);
    EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT), "255");
    EXPECT_EQ(ControlText(page, IDC_ENH_SHADOW), "0");
    UpdateWindow(page);  // the curve and empty thumbnails draw
}

TEST_F(EnhancementPagesTest, GreyModeShowsOnlyTheMaster) {
    HWND dialog = OpenDialog("1013");
    ASSERT_NE(dialog, nullptr);
    HWND page = ShowPageOf(dialog, IDD_PAGE_ENHANCEMENTS);
    EXPECT_EQ(ComboLines(page, IDC_ENH_CHANNEL), std::vector<std::string>{SourceText(198)});
    EXPECT_FALSE(Enabled(page, IDC_ENH_CHANNEL));
    EXPECT_FALSE(Enabled(page, IDC_ENH_COLOUR_PAGE));
    EXPECT_EQ(ControlText(page, IDC_ENH_GAMMA), "1.0");
}

TEST_F(EnhancementPagesTest, ColourPageBarsAndWheel) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND enhancements = ShowPageOf(dialog, IDD_PAGE_ENHANCEMENTS);
    Click(enhancements, IDC_ENH_COLOUR_PAGE);
    host.Pump(50);
    HWND page = GetDlgItem(dialog, IDD_PAGE_COLOUR);
    ASSERT_TRUE(IsWindowVisible(page));
    Scroll(page, IDC_CP_CR_BAR, SB_PAGERIGHT);
    EXPECT_EQ(ControlText(page, IDC_CP_CR_VALUE), "20");
    Scroll(page, IDC_CP_MG_BAR, SB_LEFT);
    EXPECT_EQ(ControlText(page, IDC_CP_MG_VALUE), "100");
    Scroll(page, IDC_CP_YB_BAR, SB_RIGHT);
    EXPECT_EQ(ControlText(page, IDC_CP_YB_VALUE), "-100");
    Scroll(page, IDC_CP_YB_BAR, SB_THUMBPOSITION, -150);
    EXPECT_EQ(ControlText(page, IDC_CP_YB_VALUE), "-100");
    Scroll(page, IDC_CP_SATURATION_BAR, SB_THUMBPOSITION, -96);
    Scroll(page, IDC_CP_SATURATION_BAR, SB_PAGELEFT);
    EXPECT_EQ(ControlText(page, IDC_CP_SATURATION_VALUE), "-96");

    RECT wheel;
    GetWindowRect(GetDlgItem(page, IDC_WHEEL_FRAME), &wheel);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&wheel), 2);
    const LPARAM centre = MAKELPARAM((wheel.left + wheel.right) / 2, (wheel.top + wheel.bottom) / 2);
    SendMessageW(page, WM_MOUSEMOVE, 0, centre);
    EXPECT_EQ(GetCursor(), LoadCursorW(GetModuleHandleA("kvsc_a3.ds"), L"CUR_CURSOR"));
    SendMessageW(page, WM_MOUSEMOVE, 0, MAKELPARAM(wheel.right + 20, wheel.top));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
    SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    SendMessageW(page, WM_LBUTTONUP, 0, centre);
    Click(page, IDC_CP_PREVIEW);

    // Back: the Enhancements page keeps the edits made on the colour page.
    Click(page, IDC_CP_BACK);
    host.Pump(50);
    EXPECT_TRUE(IsWindowVisible(enhancements));
}

TEST_F(EnhancementPagesTest, FiltersFollowTheScanMode) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND page = ShowPageOf(dialog, IDD_PAGE_FILTERS);
    EXPECT_EQ(ControlText(page, 6012), SourceText(178));
    Click(page, 6008);  // Blur
    EXPECT_EQ(IsDlgButtonChecked(page, 6008), BST_CHECKED);
    UpdateWindow(page);
    // Line art: Flip onward disabled, Blur back to None.
    HWND main = ShowPageOf(dialog, IDD_MAIN_PAGE);
    SendDlgItemMessageW(main, IDC_MP_MODE, CB_SETCURSEL, 0, 0);
    Notify(main, IDC_MP_MODE, CBN_SELCHANGE);
    ShowPageOf(dialog, IDD_PAGE_FILTERS);
    EXPECT_EQ(IsDlgButtonChecked(page, 6005), BST_CHECKED);
    EXPECT_TRUE(Enabled(page, 6006));
    for (int button = 6007; button <= 6013; ++button) EXPECT_FALSE(Enabled(page, button)) << button;
    // Grey: every filter again.
    ShowPageOf(dialog, IDD_MAIN_PAGE);
    SendDlgItemMessageW(main, IDC_MP_MODE, CB_SETCURSEL, 2, 0);
    Notify(main, IDC_MP_MODE, CBN_SELCHANGE);
    for (int button = 6005; button <= 6013; ++button) EXPECT_TRUE(Enabled(page, button)) << button;
}

// Pictures of each page with a preview, in English and traditional Chinese.
TEST_F(EnhancementPagesTest, PicturesOfThePages) {
    const struct {
        const char* language;
        const char* tag;
    } languages[] = {{"English", "en"}, {"Chinese", "zh_tw"}};
    for (const auto& language : languages) {
        SCOPED_TRACE(language.language);
        SetProfile("KVSINFO_A3", "LANGUAGE", language.language);
        SetProfile("A3 SCANNER", "Frame", "30  340 190 450 ");
        HostSession session;
        HWND dialog = OpenWithDialog(session);
        ASSERT_NE(dialog, nullptr);
        SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
        HWND page = ShowPageOf(dialog, IDD_PAGE_ENHANCEMENTS);
        EXPECT_EQ(ControlText(page, IDC_ENH_HIGHLIGHT_LABEL), SourceText((language.tag[0] == 'z' ? 6000 : 0) + 382));
        Click(page, IDC_ENH_HISTOGRAM);
        for (int step = 0; step < 4; ++step) Click(page, IDC_ENH_PLUS);
        Type(page, IDC_ENH_HIGHLIGHT, "180");
        ChooseLine(page, IDC_ENH_CHANNEL, 2);
        Type(page, IDC_ENH_GAMMA, "2.4");
        SaveScreenshot(dialog, std::string("page_enhancements_") + language.tag);
        HWND colour = ShowPageOf(dialog, IDD_PAGE_COLOUR);
        Scroll(colour, IDC_CP_SATURATION_BAR, SB_THUMBPOSITION, 60);
        SaveScreenshot(dialog, std::string("page_colour_") + language.tag);
        HWND filters = ShowPageOf(dialog, IDD_PAGE_FILTERS);
        Click(filters, 6012);  // Emboss
        SaveScreenshot(dialog, std::string("page_filters_") + language.tag);
        Click(filters, 6005);
        ASSERT_EQ(session.Disable(), TWRC_SUCCESS);
        ASSERT_EQ(session.CloseSource(), TWRC_SUCCESS);
    }
}

// A grey scan at 100 dpi on the 600-dpi model (256-entry tables): highlight
// 128 typed on the page and applied by Preview stretches every level of the
// plain scan.
class EnhancedScanTest : public SettingsScanTest {};

TEST_F(EnhancedScanTest, ScannedLevelsFollowThePagesToneSettings) {
    Connect("ResolutionCode=0600\n");
    section = kSection600;
    const DialogSettings settings = {{"ScanMode", "1013"}, {"ScanRes", "100"}, {"Frame", kSmallFrame}};
    ASSERT_TRUE(DialogScan(settings, TWSX_MEMORY));
    const std::vector<uint8_t> plain = MemoryImage().rows;
    ASSERT_FALSE(plain.empty());
    ASSERT_TRUE(DialogScan(settings, TWSX_MEMORY, "", TWFF_TIFF, [](HWND dialog) {
        HWND page = ShowPageOf(dialog, IDD_PAGE_ENHANCEMENTS);
        Type(page, IDC_ENH_SHADOW, "0");
        Type(page, IDC_ENH_HIGHLIGHT, "128");
        Click(page, IDC_ENH_PREVIEW);
        ShowPageOf(dialog, IDD_MAIN_PAGE);
    }));
    const std::vector<uint8_t> stretched = MemoryImage().rows;
    ASSERT_EQ(stretched.size(), plain.size());
    int distinct = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        const int expected = plain[i] >= 128 ? 255 : plain[i] * 255 / 128;
        ASSERT_EQ(stretched[i], expected) << "byte " << i << " of level " << int{plain[i]};
        distinct += plain[i] > 0 && plain[i] < 128 ? 1 : 0;
    }
    EXPECT_GT(distinct, 0);  // the scan had levels the map moves
}

}  // namespace

namespace {

// Pixels of a control of `page` with the colour `colour`, as painted.
int PixelsOf(HWND page, int control, COLORREF colour) {
    HWND window = GetDlgItem(page, control);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) count += GetPixel(dc, x, y) == colour ? 1 : 0;
    ReleaseDC(window, dc);
    return count;
}

// Pixels of the Sample thumbnail, inside its frame, whose blue is neither 0 nor 255.
int MiddleBlueLevels(HWND page) {
    HWND window = GetDlgItem(page, IDC_THUMB_SAMPLE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = 1; y < client.bottom - 1; ++y)
        for (int x = 1; x < client.right - 1; ++x) {
            const int blue = GetBValue(GetPixel(dc, x, y));
            count += blue != 0 && blue != 255 ? 1 : 0;
        }
    ReleaseDC(window, dc);
    return count;
}

}  // namespace

// The curve in the channel's colour over the grey histogram, whose bars grow
// with plus and shrink with minus; the sample follows the settings.
TEST_F(EnhancementPagesTest, CurveHistogramAndSampleAreDrawn) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND page = ShowPageOf(dialog, IDD_PAGE_ENHANCEMENTS);
    const COLORREF histogramGrey = RGB(0xAA, 0xAA, 0xAA);
    EXPECT_GT(PixelsOf(page, IDC_ENH_CURVE, RGB(100, 100, 100)), 0);  // the master in dark grey
    EXPECT_EQ(PixelsOf(page, IDC_ENH_CURVE, histogramGrey), 0);
    Click(page, IDC_ENH_HISTOGRAM);
    const int scale1 = PixelsOf(page, IDC_ENH_CURVE, histogramGrey);
    EXPECT_GT(scale1, 0);
    Click(page, IDC_ENH_PLUS);  // scale 2
    EXPECT_GT(PixelsOf(page, IDC_ENH_CURVE, histogramGrey), scale1);
    Click(page, IDC_ENH_MINUS);
    Click(page, IDC_ENH_MINUS);  // 1 goes to -2
    EXPECT_LT(PixelsOf(page, IDC_ENH_CURVE, histogramGrey), scale1);
    ChooseLine(page, IDC_ENH_CHANNEL, 3);
    EXPECT_GT(PixelsOf(page, IDC_ENH_CURVE, RGB(0, 0, 255)), 0);
    EXPECT_EQ(PixelsOf(page, IDC_ENH_CURVE, RGB(100, 100, 100)), 0);

    // Blue highlight 1: in the sample every blue level is 0 or 255.
    EXPECT_GT(MiddleBlueLevels(page), 0);
    Type(page, IDC_ENH_SHADOW, "0");
    Type(page, IDC_ENH_HIGHLIGHT, "1");
    EXPECT_EQ(MiddleBlueLevels(page), 0);
}

// A frame drawn while the page shows: a frame too small to crop turns the
// histogram off; a larger one lets it on again.
TEST_F(EnhancementPagesTest, ANewFrameTakesANewCrop) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND page = ShowPageOf(dialog, IDD_PAGE_ENHANCEMENTS);
    Click(page, IDC_ENH_HISTOGRAM);
    ASSERT_TRUE(Enabled(page, IDC_ENH_PLUS));
    HWND frame = FindWindowExA(dialog, nullptr, "ParentClass", nullptr);
    HWND picture = FindWindowExA(frame, nullptr, "PreviewClass", nullptr);
    ASSERT_NE(picture, nullptr);
    auto drawFrame = [picture](int size) {
        SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(20, 20));
        SendMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(20 + size, 20 + size));
        SendMessageW(picture, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(20 + size, 20 + size));
    };
    drawFrame(3);
    EXPECT_FALSE(Enabled(page, IDC_ENH_PLUS));
    UpdateWindow(page);
    drawFrame(80);
    Click(page, IDC_ENH_HISTOGRAM);
    EXPECT_TRUE(Enabled(page, IDC_ENH_PLUS));
}
