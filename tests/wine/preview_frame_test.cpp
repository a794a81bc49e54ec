// The scan frame on the preview window: drawing, moving and resizing it with
// the mouse, the main page's figures that follow, the outline's drawing
// objects over many blinks, and a scan of the frame drawn.
#include <cstdio>
#include <string>

#include "resources/resource_ids.h"
#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

constexpr int kBedWidth = 351;  // units of 1/30 inch
constexpr int kBedHeight = 510;

struct Frame {
    int left, top, right, bottom;
};

// The frame as WIN.INI keeps it after a scan.
Frame ProfileFrame() {
    char text[64] = {};
    GetProfileStringA("A3 SCANNER", "Frame", "", text, sizeof text);
    Frame f{};
    sscanf(text, "%d %d %d %d", &f.left, &f.top, &f.right, &f.bottom);
    return f;
}

class PreviewFrameTest : public SourceTest {
protected:
    // The dialog of a 100-dpi grey scan of `frame` (units, as WIN.INI keeps it).
    void OpenWithFrame(const char* frame = "30  30  90  60  ") {
        SetProfile("A3 SCANNER", "ScanMode", "1013");
        SetProfile("A3 SCANNER", "ScanRes", "100");
        SetProfile("A3 SCANNER", "Frame", frame);
        ASSERT_EQ(Open(host), TWRC_SUCCESS);
        ASSERT_EQ(host.Enable(true), TWRC_SUCCESS);
        dialog = FindMainDialog();
        ASSERT_NE(dialog, nullptr);
        picture = ChildOfClass(ChildOfClass(dialog, "ParentClass"), "PreviewClass");
        ASSERT_NE(picture, nullptr);
        RECT client;
        GetClientRect(picture, &client);
        width = client.right;
        height = client.bottom;
    }

    // The window pixel of a bed position in units, at zoom 1 (the picture
    // shows the whole bed), nudged half a pixel inwards.
    LPARAM At(int x, int y) const {
        return MAKELPARAM((2 * x * width + kBedWidth) / (2 * kBedWidth), (2 * y * height + kBedHeight) / (2 * kBedHeight));
    }

    void Drag(LPARAM from, LPARAM to, WPARAM keys = 0) {
        SendMessageW(picture, WM_MOUSEMOVE, keys, from);
        SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON | keys, from);
        SendMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON | keys, to);
        SendMessageW(picture, WM_LBUTTONUP, keys, to);
    }

    std::string Field(int control) const {
        char text[32] = {};
        GetDlgItemTextA(GetDlgItem(dialog, IDD_MAIN_PAGE), control, text, sizeof text);
        return text;
    }

    // Scans from the dialog; the frame then stands in WIN.INI.
    TW_IMAGEINFO Scan() {
        HWND d = dialog;
        host.Defer([d] { PostMessageW(d, WM_COMMAND, IDC_SCAN, 0); });
        EXPECT_EQ(host.WaitForNotification(20000), MSG_XFERREADY);
        TW_IMAGEINFO info{};
        EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
        EXPECT_EQ(host.TakeAllMemoryBlocks(65536), TWRC_XFERDONE);
        return info;
    }

    HostSession host;
    HWND dialog = nullptr;
    HWND picture = nullptr;
    int width = 0;
    int height = 0;
};

TEST_F(PreviewFrameTest, AFrameDrawnUpAndLeftIsNormalisedAndScannedAtItsSize) {
    OpenWithFrame();
    // Shift: a new frame from (240, 300) to (60, 150), 6 x 5 inches.
    Drag(At(240, 300), At(60, 150), MK_SHIFT);
    // The page shows it in inches, to the unit the pixels allow.
    EXPECT_NEAR(std::stod(Field(1018)), 6.0, 0.1);
    EXPECT_NEAR(std::stod(Field(1020)), 5.0, 0.1);
    const TW_IMAGEINFO info = Scan();
    const Frame f = ProfileFrame();
    EXPECT_LT(f.left, f.right);
    EXPECT_LT(f.top, f.bottom);
    EXPECT_NEAR(f.left, 60, 2);
    EXPECT_NEAR(f.top, 150, 2);
    EXPECT_NEAR(f.right, 240, 2);
    EXPECT_NEAR(f.bottom, 300, 2);
    // 100 dpi: one unit is 10/3 pixels.
    EXPECT_NEAR(info.ImageWidth, (f.right - f.left) * 100 / 30, 1);
    EXPECT_NEAR(info.ImageLength, (f.bottom - f.top) * 100 / 30, 1);
}

// Choosing another scan source shows its area whole at 1:1 and clips the
// frame (here one stored reaching beyond the bed) to it.
TEST_F(PreviewFrameTest, ASourceChangeShowsTheWholeAreaAndClipsTheFrame) {
    OpenWithFrame("300 440 400 600");
    HWND frame = GetParent(picture);
    SendDlgItemMessageW(ChildOfClass(frame, "ToolBarClass"), 2, BM_CLICK, 0, 0);  // the zoom tool
    SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, At(100, 100));
    SendMessageW(picture, WM_LBUTTONUP, 0, At(100, 100));
    int low = -1, high = -1;
    GetScrollRange(picture, SB_HORZ, &low, &high);
    ASSERT_GT(high, 0);
    HWND page = GetDlgItem(dialog, IDD_MAIN_PAGE);
    for (int source : {1, 0}) {
        SendDlgItemMessageW(page, IDC_MP_SOURCE, CB_SETCURSEL, source, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_MP_SOURCE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_MP_SOURCE)));
        char title[64] = {};
        GetWindowTextA(frame, title, sizeof title);
        EXPECT_STREQ(title, "Preview Window (1:1)");
        GetScrollRange(picture, SB_HORZ, &low, &high);
        EXPECT_EQ(high, 0);
        RECT client;
        GetClientRect(picture, &client);
        EXPECT_EQ(client.right, width);
        EXPECT_EQ(client.bottom, height);
    }
    Scan();
    const Frame f = ProfileFrame();
    EXPECT_EQ(f.left, 300);
    EXPECT_EQ(f.top, 440);
    EXPECT_EQ(f.right, kBedWidth);
    EXPECT_EQ(f.bottom, kBedHeight);
}

TEST_F(PreviewFrameTest, AnEdgeStopsShortOfTheOppositeEdge) {
    OpenWithFrame();
    // The right edge (90) dragged far across the left edge (30).
    Drag(At(90, 45), At(5, 45));
    Scan();
    const Frame f = ProfileFrame();
    EXPECT_EQ(f.left, 30);
    EXPECT_GT(f.right, f.left);
    // Two pixels of the picture, in units, rounded up.
    EXPECT_LE(f.right - f.left, (2 * kBedWidth + width - 1) / width);
    EXPECT_EQ(f.top, 30);
    EXPECT_EQ(f.bottom, 60);
}

TEST_F(PreviewFrameTest, AMovedFrameKeepsItsSizeAndStaysOnTheBed) {
    // A frame of 120 x 60 units moved far beyond the bottom-right corner.
    OpenWithFrame("100 100 220 160");
    Drag(At(160, 130), At(kBedWidth + 100, kBedHeight + 100));
    Scan();
    const Frame f = ProfileFrame();
    EXPECT_EQ(f.right, kBedWidth);
    EXPECT_EQ(f.bottom, kBedHeight);
    EXPECT_EQ(f.right - f.left, 120);
    EXPECT_EQ(f.bottom - f.top, 60);
}

TEST_F(PreviewFrameTest, ThePointerShowsWhatAPressWouldDo) {
    OpenWithFrame();
    HMODULE source = GetModuleHandleA("kvsc_a3.ds");
    ASSERT_NE(source, nullptr);
    const struct {
        int x, y;
        const wchar_t* cursor;
    } cases[] = {{30, 30, L"IDSIZENWSE"}, {60, 30, L"IDSIZENS"}, {90, 30, L"IDSIZENESW"}, {30, 45, L"IDSIZEWE"},
                 {60, 45, L"IDHAND1"}};
    for (const auto& c : cases) {
        SendMessageW(picture, WM_MOUSEMOVE, 0, At(c.x, c.y));
        EXPECT_EQ(GetCursor(), LoadCursorW(source, c.cursor)) << c.x << "," << c.y;
    }
    SendMessageW(picture, WM_MOUSEMOVE, 0, At(200, 300));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
    // A press outside the frame does nothing.
    Drag(At(200, 300), At(250, 350));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_NEAR(std::stod(Field(1018)), 2.0, 0.01);
}

TEST_F(PreviewFrameTest, TheOutlinesBlinkingMakesNoNewDrawingObjects) {
    // Each tick replaces the outline's brush; the process's drawing objects
    // must not grow with the ticks.
    OpenWithFrame();
    for (int tick = 0; tick < 5; ++tick) SendMessageW(dialog, WM_TIMER, 4, 0);
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    const uintptr_t firstSlot = reinterpret_cast<uintptr_t>(probe) & 0xFFFF;
    DeleteObject(probe);
    for (int tick = 0; tick < 100; ++tick) SendMessageW(dialog, WM_TIMER, 4, 0);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
    // Handles are slots of one table, freed slots used again: a leak of one
    // object per tick would push a new object tens of slots further.
    probe = CreateSolidBrush(RGB(1, 2, 3));
    const uintptr_t laterSlot = reinterpret_cast<uintptr_t>(probe) & 0xFFFF;
    DeleteObject(probe);
    EXPECT_LT(laterSlot, firstSlot + 10);
}

}  // namespace

namespace {

TEST_F(PreviewFrameTest, ADragBeyondAZoomedViewScrollsItOnTicks) {
    OpenWithFrame();
    HWND toolBar = ChildOfClass(GetParent(picture), "ToolBarClass");
    SendMessageW(GetDlgItem(toolBar, 2), BM_CLICK, 0, 0);  // zoom
    SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0));
    SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
    SendMessageW(GetDlgItem(toolBar, 1), BM_CLICK, 0, 0);  // crop
    // Zoom 2 from the top-left: the view shows units 0..175 x 0..255. A new
    // frame from (30, 30) dragged past the view's right edge.
    const LPARAM start = MAKELPARAM(60 * width / kBedWidth, 60 * height / kBedHeight);
    SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, start);
    SendMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(width + 10, height / 2));
    for (int tick = 0; tick < 3; ++tick) SendMessageW(picture, WM_TIMER, 7, 0);
    // A line step is a tenth of the hidden half: 351 / 2 / 10 = 17 units.
    EXPECT_EQ(GetScrollPos(picture, SB_HORZ), 3 * 17);
    EXPECT_EQ(GetScrollPos(picture, SB_VERT), 0);
    SendMessageW(picture, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(width + 10, height / 2));
    EXPECT_EQ(GetCapture(), nullptr);
    // The frame's right edge followed the pointer, 10 pixels (at 2 pixels per
    // 351 / width units) beyond the scrolled view's right edge.
    const double right = 51 + (width + 10) * kBedWidth / (2.0 * width);
    EXPECT_NEAR(std::stod(Field(1018)), (right - 30) / 30.0, 0.1);
}

}  // namespace
