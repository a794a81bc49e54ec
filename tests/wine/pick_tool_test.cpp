// The preview's pick tools: the "Color" window they open, the pixel and
// loupe it shows, what a click stores as highlight or shadow, nothing
// without a preview, and a loupe that makes no drawing objects as it goes.
#include <string>

#include "resources/resource_ids.h"
#include "tests/wine/dialog_driver.h"

namespace {

using namespace dstest;

constexpr int kZoomButton = 2;
constexpr int kPickHighlightButton = 3;
constexpr int kPickShadowButton = 4;
constexpr UINT kShowPage = WM_APP + 1;

HWND ColourWindow() { return FindWindowW(L"#32770", L"Color"); }

int Number(HWND window, int control) {
    const std::string text = ControlText(window, control);
    return text.empty() ? -1 : std::stoi(text);
}

int DrawingObjects() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(count);
    int live = 0;
    for (uintptr_t slot = 1; slot <= 0xFFFF; ++slot) live += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    return live;
}

COLORREF PixelOn(HWND window, int x, int y) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

bool Near(int a, int b) { return abs(a - b) <= 8; }

class PickToolTest : public SourceTest {
protected:
    void SetUp() override {
        SourceTest::SetUp();
        ASSERT_EQ(Open(host), TWRC_SUCCESS);
        ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
        dialog = FindMainDialog();
        ASSERT_NE(dialog, nullptr);
        frame = ChildOfClass(dialog, "ParentClass");
        tools = ChildOfClass(frame, "ToolBarClass");
        picture = ChildOfClass(frame, "PreviewClass");
        ASSERT_NE(picture, nullptr);
        GetClientRect(picture, &client);
    }

    void Click(int x, int y) {
        SendMessageW(picture, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    HostSession host;
    HWND dialog = nullptr;
    HWND frame = nullptr;
    HWND tools = nullptr;  // the preview's tool bar
    HWND picture = nullptr;
    RECT client{};
};

TEST_F(PickToolTest, PickingSetsTheChannelsFromThePixelUnderThePointer) {
    EXPECT_EQ(ColourWindow(), nullptr);
    SendDlgItemMessageW(tools, kPickHighlightButton, BM_CLICK, 0, 0);
    HWND colour = ColourWindow();
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(ControlText(colour, IDC_PICK_HIGHLIGHT_LABEL), "Highlight");
    EXPECT_EQ(ControlText(colour, IDC_PICK_CHANNEL_LABEL + 1), "Red");

    // No preview yet: a click shows and stores nothing.
    const int x = client.right / 2, y = client.bottom / 3;
    Click(x, y);
    EXPECT_EQ(ControlText(colour, IDC_PICK_RED), "");
    for (int channel = 0; channel < 4; ++channel) EXPECT_EQ(Number(colour, IDC_PICK_HIGHLIGHT + channel), 255);

    SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
    SendMessageW(picture, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    EXPECT_EQ(GetCursor(), LoadCursorW(GetModuleHandleA("kvsc_a3.ds"), L"IDC_PICKER"));
    // The values are those of the picture as drawn, and the loupe's middle shows them.
    const int red = Number(colour, IDC_PICK_RED), green = Number(colour, IDC_PICK_RED + 1),
              blue = Number(colour, IDC_PICK_RED + 2);
    const COLORREF drawn = PixelOn(picture, x, y);
    EXPECT_TRUE(Near(red, GetRValue(drawn)) && Near(green, GetGValue(drawn)) && Near(blue, GetBValue(drawn)))
        << red << " " << green << " " << blue << " drawn " << std::hex << drawn;
    RECT loupe;
    GetClientRect(GetDlgItem(colour, IDC_PICK_LOUPE), &loupe);
    const COLORREF magnified = PixelOn(GetDlgItem(colour, IDC_PICK_LOUPE), loupe.right / 2, loupe.bottom / 2);
    EXPECT_EQ(magnified, RGB(red, green, blue));
    SaveScreenshot(colour, "pick_colour_window_en");

    // Highlight: red, green and blue take the values; master stays.
    SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    const int picked[3] = {red, green, blue};
    EXPECT_EQ(Number(colour, IDC_PICK_HIGHLIGHT), 255);
    for (int c = 0; c < 3; ++c) {
        ASSERT_GT(picked[c], 0);
        ASSERT_LT(picked[c], 255);
        EXPECT_EQ(Number(colour, IDC_PICK_HIGHLIGHT + 1 + c), picked[c]);
        EXPECT_EQ(Number(colour, IDC_PICK_SHADOW + 1 + c), 0);
    }
    // The preview was processed with the new highlights: the same pixel now
    // shows brighter. Picked as shadow it is not below the highlight, so the
    // highlight moves one above it.
    SendDlgItemMessageW(tools, kPickShadowButton, BM_CLICK, 0, 0);
    EXPECT_EQ(ColourWindow(), colour);
    SendMessageW(picture, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    int brighter[3];
    for (int c = 0; c < 3; ++c) {
        brighter[c] = Number(colour, IDC_PICK_RED + c);
        ASSERT_GT(brighter[c], picked[c]);
        ASSERT_LT(brighter[c], 255);
    }
    Click(x, y);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(Number(colour, IDC_PICK_SHADOW + 1 + c), brighter[c]);
        EXPECT_EQ(Number(colour, IDC_PICK_HIGHLIGHT + 1 + c), brighter[c] + 1);
    }
    SaveScreenshot(dialog, "pick_preview_en");

    // "Previous" brings the settings of the dialog's start back, and the
    // window shows them; the resolution switch too.
    SendDlgItemMessageW(tools, 5, BM_CLICK, 0, 0);
    ASSERT_EQ(IsDlgButtonChecked(tools, 5), BST_CHECKED);
    SendMessageW(dialog, WM_COMMAND, IDC_PREVIOUS, 0);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(Number(colour, IDC_PICK_HIGHLIGHT + 1 + c), 255);
        EXPECT_EQ(Number(colour, IDC_PICK_SHADOW + 1 + c), 0);
    }
    EXPECT_EQ(IsDlgButtonChecked(tools, 5), BST_UNCHECKED);

    // Leaving the pick modes closes the window.
    SendDlgItemMessageW(tools, kZoomButton, BM_CLICK, 0, 0);
    EXPECT_EQ(ColourWindow(), nullptr);
}

TEST_F(PickToolTest, WithTheEnhancementsPageShowingTheValueIsTypedIntoItsField) {
    SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
    SendMessageW(dialog, kShowPage, IDD_PAGE_ENHANCEMENTS, 0);
    HWND page = GetDlgItem(dialog, IDD_PAGE_ENHANCEMENTS);
    ASSERT_TRUE(IsWindowVisible(page));
    SendDlgItemMessageW(tools, kPickShadowButton, BM_CLICK, 0, 0);
    const int x = client.right / 2, y = client.bottom / 3;
    Click(x, y);
    // Master is shown, which edits red: the field holds the red value.
    const int red = Number(ColourWindow(), IDC_PICK_RED);
    ASSERT_GT(red, 0);
    EXPECT_EQ(ControlText(page, IDC_ENH_SHADOW), std::to_string(red));
}

TEST_F(PickToolTest, MovingOverThePictureMakesNoDrawingObjects) {
    SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
    SendDlgItemMessageW(tools, kPickHighlightButton, BM_CLICK, 0, 0);
    HWND loupe = GetDlgItem(ColourWindow(), IDC_PICK_LOUPE);
    auto sweep = [&](int steps) {
        for (int i = 0; i < steps; ++i) {
            const int x = (i * 7) % client.right, y = (i * 13) % client.bottom;
            SendMessageW(picture, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
            UpdateWindow(loupe);
        }
    };
    sweep(10);
    const int before = DrawingObjects();
    sweep(300);
    EXPECT_LE(DrawingObjects(), before + 5);
}

}  // namespace

// The window's title and the letters beside the picked values are the
// user's language.
TEST_F(PickToolTest, TheColourWindowSpeaksTheUsersLanguage) {
    ASSERT_EQ(host.Disable(), TWRC_SUCCESS);
    ASSERT_EQ(host.CloseSource(), TWRC_SUCCESS);
    const struct {
        const char* language;
        const wchar_t* title;
        const char* letters[3];
        const char* tag;
    } languages[] = {{"Espanol", L"Color", {"R", "V", "A"}, "es"},
                     {"Chinese", L"色彩", {"紅", "綠", "藍"}, "zh_tw"}};
    for (const auto& language : languages) {
        SCOPED_TRACE(language.language);
        SetProfile("KVSINFO_A3", "LANGUAGE", language.language);
        HostSession session;
        HWND main = OpenWithDialog(session);
        ASSERT_NE(main, nullptr);
        HWND preview = ChildOfClass(main, "ParentClass");
        HWND shown = ChildOfClass(preview, "PreviewClass");
        SendDlgItemMessageW(ChildOfClass(preview, "ToolBarClass"), kPickHighlightButton, BM_CLICK, 0, 0);
        HWND colour = FindWindowW(L"#32770", language.title);
        ASSERT_NE(colour, nullptr);
        SendMessageW(main, WM_COMMAND, IDC_PRESCAN, 0);
        SendMessageW(shown, WM_MOUSEMOVE, 0, MAKELPARAM(client.right / 2, client.bottom / 3));
        for (int c = 0; c < 3; ++c) EXPECT_EQ(ControlText(colour, IDC_PICK_RED_LABEL + c), language.letters[c]);
        SaveScreenshot(colour, std::string("pick_colour_window_") + language.tag);
        ASSERT_EQ(session.Disable(), TWRC_SUCCESS);
        ASSERT_EQ(session.CloseSource(), TWRC_SUCCESS);
    }
}
