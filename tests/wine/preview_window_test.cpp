// The preview window of the scanning dialog: its frame and picture windows
// beside the pages, its title in the user's language, and the picture the
// prescan leaves drawn over the whole bed (nothing drawn without one).
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/wine/ds_fixture.h"
#include "tests/wine/import_patches.h"
#include "tests/wine/screenshot.h"

namespace {

using namespace dstest;

std::string WindowTextUtf8(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return Utf8(text);
}

// The bitmap file as the prescan left it: 24-bit rows bottom-up from byte 54.
struct PreviewPicture {
    std::vector<uint8_t> bytes;
    int width = 0;
    int height = 0;

    explicit PreviewPicture(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (bytes.size() < 54) return;
        width = *reinterpret_cast<const int32_t*>(&bytes[18]);
        height = *reinterpret_cast<const int32_t*>(&bytes[22]);
    }

    COLORREF At(int x, int y) const {
        const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
        const uint8_t* p = &bytes[54 + row * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3];
        return RGB(p[2], p[1], p[0]);
    }
};

bool Near(COLORREF a, COLORREF b) {
    return abs(GetRValue(a) - GetRValue(b)) <= 8 && abs(GetGValue(a) - GetGValue(b)) <= 8 &&
           abs(GetBValue(a) - GetBValue(b)) <= 8;
}

class PreviewWindowTest : public SourceTest {
protected:
    HWND OpenDialog() { return OpenWithDialog(host); }

    // The dialog (into `dialog`) with linear tone maps, so that the picture is
    // drawn with the file's own levels, after a prescan; its picture window.
    HWND PrescanWithLinearTones(HWND& dialog) {
        SetProfile("A3 SCANNER", "Gamma", "   10   10   10   10");
        dialog = OpenDialog();
        if (!dialog) return nullptr;
        SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
        return ChildOfClass(ChildOfClass(dialog, "ParentClass"), "PreviewClass");
    }

    HostSession host;
};

TEST_F(PreviewWindowTest, FrameBesideThePagesWithTheBedsProportionsAndTitle) {
    const struct {
        const char* language;
        int base;
        const char* tag;
    } languages[] = {{"English", 0, "en"}, {"Chinese", 6000, "zh_tw"}};
    for (const auto& language : languages) {
        SCOPED_TRACE(language.language);
        SetProfile("KVSINFO_A3", "LANGUAGE", language.language);
        HostSession session;
        HWND dialog = OpenWithDialog(session);
        ASSERT_NE(dialog, nullptr);
        HWND frame = ChildOfClass(dialog, "ParentClass");
        ASSERT_NE(frame, nullptr);
        HWND picture = ChildOfClass(frame, "PreviewClass");
        EXPECT_NE(ChildOfClass(frame, "ToolBarClass"), nullptr);
        EXPECT_NE(ChildOfClass(frame, "ScanLengthClass"), nullptr);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(WindowTextUtf8(frame), SourceText(language.base + 101) + " (1:1)");
        if (language.base == 0) {
            EXPECT_EQ(WindowTextUtf8(frame), "Preview Window (1:1)");
        }

        // 11.7 x 17 inches: width / height = 351 / 510, to the pixel.
        RECT client;
        GetClientRect(picture, &client);
        ASSERT_GT(client.bottom, 100);
        EXPECT_NEAR(client.right, client.bottom * 351 / 510, 1);
        // Right of the page frame and inside the dialog.
        RECT pages, framed, dialogClient;
        GetWindowRect(GetDlgItem(dialog, IDC_PAGE_AREA), &pages);
        GetWindowRect(frame, &framed);
        GetClientRect(dialog, &dialogClient);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&framed), 2);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&pages), 2);
        EXPECT_GE(framed.left, pages.right);
        EXPECT_LE(framed.right, dialogClient.right);
        EXPECT_LE(framed.bottom, dialogClient.bottom);

        SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
        SaveScreenshot(dialog, std::string("preview_zoom1_") + language.tag);
        ASSERT_EQ(session.Disable(), TWRC_SUCCESS);
        ASSERT_EQ(session.CloseSource(), TWRC_SUCCESS);
        EXPECT_FALSE(IsWindow(frame));
    }
}

// The zoom tool: each click doubles up to 8:1 with the clicked point at the
// top-left, Shift halves down to 1:1; the limits change nothing. Pictures of
// each zoom in English and traditional Chinese.
TEST_F(PreviewWindowTest, ZoomsByTwoUpToEightWithScrollRangesOfTheHiddenPart) {
    const struct {
        const char* language;
        int base;
        const char* tag;
    } languages[] = {{"English", 0, "en"}, {"Chinese", 6000, "zh_tw"}};
    for (const auto& language : languages) {
        SCOPED_TRACE(language.language);
        SetProfile("KVSINFO_A3", "LANGUAGE", language.language);
        SetProfile("A3 SCANNER", "Frame", "300 440 340 500");
        HostSession session;
        HWND dialog = OpenWithDialog(session);
        ASSERT_NE(dialog, nullptr);
        HWND frame = ChildOfClass(dialog, "ParentClass");
        HWND picture = ChildOfClass(frame, "PreviewClass");
        ASSERT_NE(picture, nullptr);
        SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
        RECT zoom1;
        GetClientRect(picture, &zoom1);
        SendMessageW(GetDlgItem(ChildOfClass(frame, "ToolBarClass"), 2), BM_CLICK, 0, 0);  // the zoom tool
        HMODULE source = GetModuleHandleA("kvsc_a3.ds");
        SendMessageW(picture, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(GetCursor(), LoadCursorW(source, L"IDZOOMIN"));
        SendMessageW(picture, WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(5, 5));
        EXPECT_EQ(GetCursor(), LoadCursorW(source, L"IDZOOMOUT"));
        const LPARAM bottomRight = MAKELPARAM(zoom1.right - 1, zoom1.bottom - 1);
        for (int zoom : {2, 4, 8}) {
            SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, bottomRight);
            SendMessageW(picture, WM_LBUTTONUP, 0, bottomRight);
            EXPECT_EQ(WindowTextUtf8(frame), SourceText(language.base + 101) + " (" + std::to_string(zoom) + ":1)");
            // The view shows 1/zoom of the bed; the rest is the scroll range.
            int low = -1, high = -1;
            GetScrollRange(picture, SB_HORZ, &low, &high);
            EXPECT_EQ(high, (zoom - 1) * 351 / zoom);
            GetScrollRange(picture, SB_VERT, &low, &high);
            EXPECT_EQ(high, (zoom - 1) * 510 / zoom);
            // Zoomed in at the bottom-right corner, the view stays at the last part.
            EXPECT_EQ(GetScrollPos(picture, SB_VERT), high);
            // The picture grows by its scroll bars, plus 1 pixel across and less 6 down.
            RECT client;
            GetClientRect(picture, &client);
            EXPECT_EQ(client.right, zoom1.right + 1);
            EXPECT_EQ(client.bottom, zoom1.bottom - 6);
            SaveScreenshot(dialog, "preview_zoom" + std::to_string(zoom) + "_" + language.tag);
        }
        SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(WindowTextUtf8(frame), SourceText(language.base + 101) + " (8:1)");
        for (int zoom : {4, 2, 1}) {
            SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 5));
            EXPECT_EQ(WindowTextUtf8(frame), SourceText(language.base + 101) + " (" + std::to_string(zoom) + ":1)");
        }
        SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 5));
        EXPECT_EQ(WindowTextUtf8(frame), SourceText(language.base + 101) + " (1:1)");
        int low = -1, high = -1;
        GetScrollRange(picture, SB_HORZ, &low, &high);
        EXPECT_EQ(high, 0);
        RECT back;
        GetClientRect(picture, &back);
        EXPECT_EQ(back.right, zoom1.right);
        EXPECT_EQ(back.bottom, zoom1.bottom);
        ASSERT_EQ(session.Disable(), TWRC_SUCCESS);
        ASSERT_EQ(session.CloseSource(), TWRC_SUCCESS);
    }
}

// The scan-length ruler: its marker, dragged to 2 inches, comes back to 4
// inches (the simulated scanner is an A3 model: the ruler is 11.5 inches).
TEST_F(PreviewWindowTest, TheScanLengthMarkerStopsAtFourInches) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND ruler = ChildOfClass(ChildOfClass(dialog, "ParentClass"), "ScanLengthClass");
    ASSERT_NE(ruler, nullptr);
    RECT client;
    GetClientRect(ruler, &client);
    const int h = client.bottom;
    ASSERT_GT(h, 100);
    const int start = h - 5;  // 17 inches lies beyond the 11.5-inch ruler: the lowest place
    auto black = [ruler, &client](int y) {
        UpdateWindow(ruler);
        HDC dc = GetDC(ruler);
        const COLORREF c = GetPixel(dc, client.right - 3, y);
        ReleaseDC(ruler, dc);
        return c == RGB(0, 0, 0);
    };
    EXPECT_TRUE(black(start));
    SendMessageW(ruler, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, start));
    const int twoInches = static_cast<int>(2.0 * h / 11.5);
    SendMessageW(ruler, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, twoInches));
    SendMessageW(ruler, WM_LBUTTONUP, 0, MAKELPARAM(5, twoInches));
    EXPECT_EQ(GetCapture(), nullptr);
    const int fourInches = static_cast<int>(4.0 * h / 11.5);
    EXPECT_TRUE(black(fourInches));
    EXPECT_FALSE(black(start));
    EXPECT_FALSE(black(twoInches - 1));
    // A press away from the marker does not move it.
    SendMessageW(ruler, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, start));
    SendMessageW(ruler, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, h / 2));
    SendMessageW(ruler, WM_LBUTTONUP, 0, MAKELPARAM(5, h / 2));
    EXPECT_TRUE(black(fourInches));
}

// Samples a grid of the picture window against the prescan's file, each
// window pixel allowed to match the file pixel it falls on or a neighbour.
int MatchingSamples(HWND picture, const PreviewPicture& file, int& samples) {
    RECT client;
    GetClientRect(picture, &client);
    HDC dc = GetDC(picture);
    int matching = 0;
    samples = 0;
    for (int gy = 1; gy < 20; ++gy) {
        for (int gx = 1; gx < 20; ++gx) {
            const int x = client.right * gx / 20;
            const int y = client.bottom * gy / 20;
            const COLORREF shown = GetPixel(dc, x, y);
            const int fx = x * file.width / client.right;
            const int fy = y * file.height / client.bottom;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = Near(shown, file.At(std::min(std::max(fx + dx, 0), file.width - 1),
                                                std::min(std::max(fy + dy, 0), file.height - 1)));
            matching += found ? 1 : 0;
            ++samples;
        }
    }
    ReleaseDC(picture, dc);
    return matching;
}

// The file with every pixel replaced by the mean of its three bytes.
PreviewPicture InGrey(PreviewPicture picture) {
    const size_t row = (static_cast<size_t>(picture.width) * 3 + 3) & ~size_t{3};
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            uint8_t* p = &picture.bytes[54 + row * y + 3 * static_cast<size_t>(x)];
            p[0] = p[1] = p[2] = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
        }
    }
    return picture;
}

// A display of 256 colours, as the data source's GetDeviceCaps tells it.
int WINAPI FewColourCaps(HDC dc, int index) {
    if (index == BITSPIXEL) return 8;
    if (index == PLANES) return 1;
    return GetDeviceCaps(dc, index);
}

HWND g_recordedWindow = nullptr;
int g_recordedBits = 0;  // bits per pixel of the last picture drawn into g_recordedWindow

int WINAPI RecordingStretchDIBits(HDC dc, int x, int y, int width, int height, int fromX, int fromY, int fromWidth,
                                  int fromHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (WindowFromDC(dc) == g_recordedWindow) g_recordedBits = info->bmiHeader.biBitCount;
    return StretchDIBits(dc, x, y, width, height, fromX, fromY, fromWidth, fromHeight, bits, info, usage, rop);
}

// A colour of the 3-3-2 palette: red and green 16 + 32 k, blue 32 + 64 k.
bool InDitherPalette(COLORREF c) { return GetRValue(c) % 32 == 16 && GetGValue(c) % 32 == 16 && GetBValue(c) % 64 == 32; }

// On a display of 256 colours or fewer the picture goes to it with 8 bits a
// pixel: in colour dithered to the 3-3-2 palette, in grey as its grey levels.
TEST_F(PreviewWindowTest, OnAFewColourDisplayThePictureGoesWithEightBits) {
    HWND dialog = nullptr;
    HWND picture = PrescanWithLinearTones(dialog);
    ASSERT_NE(picture, nullptr);
    const PreviewPicture file(InstallDir() + "\\ORVC0000.BMP");
    ImportPatches patches(GetModuleHandleA("kvsc_a3.ds"));
    ASSERT_TRUE(patches.Replace("GDI32.dll", "GetDeviceCaps", reinterpret_cast<void*>(&FewColourCaps)));
    ASSERT_TRUE(patches.Replace("GDI32.dll", "StretchDIBits", reinterpret_cast<void*>(&RecordingStretchDIBits)));
    g_recordedWindow = picture;

    RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(g_recordedBits, 8);
    RECT client;
    GetClientRect(picture, &client);
    HDC dc = GetDC(picture);
    int inPalette = 0;
    for (int i = 1; i < 20; ++i) inPalette += InDitherPalette(GetPixel(dc, client.right * i / 20, client.bottom * i / 21));
    ReleaseDC(picture, dc);
    EXPECT_EQ(inPalette, 19);

    HWND page = GetDlgItem(dialog, IDD_MAIN_PAGE);
    SendDlgItemMessageW(page, IDC_MP_MODE, CB_SETCURSEL, 2, 0);  // 256 grey
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_MP_MODE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_MP_MODE)));
    g_recordedBits = 0;
    RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(g_recordedBits, 8);
    int samples = 0;
    const int matching = MatchingSamples(picture, InGrey(file), samples);
    EXPECT_GE(matching, samples * 95 / 100);
    g_recordedWindow = nullptr;
}

TEST_F(PreviewWindowTest, ThePrescansPictureFillsTheBed) {
    HWND dialog = nullptr;
    HWND picture = PrescanWithLinearTones(dialog);
    ASSERT_NE(picture, nullptr);
    const PreviewPicture file(InstallDir() + "\\ORVC0000.BMP");
    ASSERT_EQ(file.width, 351);
    ASSERT_EQ(file.height, 510);
    UpdateWindow(picture);
    int samples = 0;
    const int matching = MatchingSamples(picture, file, samples);
    EXPECT_GE(matching, samples * 95 / 100);
}

// The tool bar: resting on a button shows its name in a tip that a press
// removes; Hi/Low Resolution makes the next prescan's picture twice as large.
TEST_F(PreviewWindowTest, ToolBarTipsAndTheResolutionSwitch) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND frame = ChildOfClass(dialog, "ParentClass");
    ASSERT_NE(frame, nullptr);
    HWND toolBar = ChildOfClass(frame, "ToolBarClass");
    HWND pickHighlight = GetDlgItem(toolBar, 3);
    ASSERT_NE(pickHighlight, nullptr);
    // The button passes the pointer's arrival up through the tool bar to the frame.
    SendMessageW(pickHighlight, WM_SETCURSOR, reinterpret_cast<WPARAM>(pickHighlight),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HWND tip = FindWindowW(L"Tooltips Class", nullptr);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(WindowTextUtf8(tip), "Pick Highlight");

    int shown[2] = {0, 0};
    for (int pass = 0; pass < 2; ++pass) {
        SendDlgItemMessageW(toolBar, 5, BM_CLICK, 0, 0);  // Hi/Low Resolution: high, then low again
        if (pass == 0) {
            EXPECT_FALSE(IsWindow(tip));
        }
        SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
        shown[pass] = PreviewPicture(InstallDir() + "\\ORVC0000.BMP").width;
    }
    EXPECT_GT(shown[0], 400);
    EXPECT_EQ(shown[0], 2 * shown[1]);
}

// Every tool bar button shows a picture; Batch Scan opens the batch list and
// closes it again.
TEST_F(PreviewWindowTest, ToolBarPicturesAndTheBatchScanButton) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND toolBar = ChildOfClass(ChildOfClass(dialog, "ParentClass"), "ToolBarClass");
    ASSERT_NE(toolBar, nullptr);
    for (int button = 1; button <= 6; ++button) {
        SCOPED_TRACE(button);
        HWND window = GetDlgItem(toolBar, button);
        ASSERT_NE(window, nullptr);
        BITMAP picture{};
        auto image = reinterpret_cast<HGDIOBJ>(SendMessageW(window, BM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_EQ(GetObjectW(image, sizeof picture, &picture), static_cast<int>(sizeof picture));
        EXPECT_EQ(picture.bmWidth, 16);
        EXPECT_EQ(picture.bmHeight, 16);
    }
    EXPECT_EQ(WindowTextUtf8(GetDlgItem(toolBar, 6)), "Batch Scan");
    auto batchList = [] { return FindWindowW(nullptr, L"Batch Scan Job List"); };
    EXPECT_EQ(batchList(), nullptr);
    SendDlgItemMessageW(toolBar, 6, BM_CLICK, 0, 0);
    EXPECT_NE(batchList(), nullptr);
    SendDlgItemMessageW(toolBar, 6, BM_CLICK, 0, 0);
    EXPECT_EQ(batchList(), nullptr);
    SaveScreenshot(dialog, "preview_tool_bar_en");
}

TEST_F(PreviewWindowTest, NoPictureLeavesTheBedEmpty) {
    ASSERT_TRUE(DeleteFileA((InstallDir() + "\\PRESCAN.DLL").c_str()));
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND picture = ChildOfClass(ChildOfClass(dialog, "ParentClass"), "PreviewClass");
    ASSERT_NE(picture, nullptr);
    SendMessageW(dialog, WM_COMMAND, IDC_PRESCAN, 0);
    RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(picture, &client);
    HDC dc = GetDC(picture);
    int white = 0;
    for (int i = 1; i < 10; ++i) white += GetPixel(dc, client.right * i / 10, client.bottom * i / 10) == RGB(255, 255, 255);
    ReleaseDC(picture, dc);
    EXPECT_EQ(white, 9);
}

}  // namespace
