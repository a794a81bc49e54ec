#include "ui/pick_colour_window.h"

#include <string>
#include <vector>

#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"

namespace {

constexpr int kLoupeSide = 5;  // pixels of the picture across the loupe

struct PickColourWindow {
    HWND window = nullptr;
    HPEN centrePen = nullptr;  // outlines the picked pixel in the loupe
    bool picked = false;
    preview::PickedPixel pixel;
    // The loupe's pixels as a bottom-up 24-bit picture, and where they lie
    // in the 5 x 5 square around the picked pixel.
    std::vector<uint8_t> loupe;
    preview::LoupeArea area;
    int offsetX = 0;
    int offsetY = 0;
};

PickColourWindow g_pick;

void SetNumber(int control, int value) { SetDlgItemInt(g_pick.window, control, static_cast<UINT>(value), FALSE); }

void CopyLoupePixels(const uint8_t* bytes, const preview::PreviewBitmap& bitmap, const preview::PixelSpot& spot) {
    const preview::LoupeArea area =
        preview::LoupeAround(spot, static_cast<int>(bitmap.width), static_cast<int>(bitmap.height));
    const size_t rowBytes = (size_t{3} * area.width + 3) & ~size_t{3};
    g_pick.loupe.assign(rowBytes * area.height, 0);
    for (int row = 0; row < area.height; ++row) {
        const uint8_t* from = preview::TopDownRow(bytes, bitmap, static_cast<uint32_t>(area.top + row)) + 3 * area.left;
        std::copy(from, from + 3 * area.width, g_pick.loupe.data() + rowBytes * (area.height - 1 - row));
    }
    g_pick.area = area;
    g_pick.offsetX = area.left - (spot.x - 2);
    g_pick.offsetY = area.top - (spot.y - 2);
}

// The loupe: the copied pixels magnified so that the picked one fills the
// middle cell, the part beyond the picture's edges grey.
void DrawLoupe(const DRAWITEMSTRUCT& item) {
    const RECT& r = item.rcItem;
    FillRect(item.hDC, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    if (!g_pick.picked || g_pick.area.width == 0 || g_pick.area.height == 0) return;
    const int cellX = (r.right - r.left) / kLoupeSide;
    const int cellY = (r.bottom - r.top) / kLoupeSide;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), g_pick.area.width, g_pick.area.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    SetStretchBltMode(item.hDC, COLORONCOLOR);
    if (StretchDIBits(item.hDC, r.left + g_pick.offsetX * cellX, r.top + g_pick.offsetY * cellY,
                      g_pick.area.width * cellX, g_pick.area.height * cellY, 0, 0, g_pick.area.width,
                      g_pick.area.height, g_pick.loupe.data(), &info, DIB_RGB_COLORS, SRCCOPY) == 0) {
        MessageBeep(MB_OK);
        return;
    }
    // The outline inverts what it covers, so it shows on any colour.
    HGDIOBJ oldPen = SelectObject(item.hDC, g_pick.centrePen);
    HGDIOBJ oldBrush = SelectObject(item.hDC, GetStockObject(NULL_BRUSH));
    const int oldMode = SetROP2(item.hDC, R2_NOT);
    Rectangle(item.hDC, r.left + 2 * cellX, r.top + 2 * cellY, r.left + 3 * cellX + 1, r.top + 3 * cellY + 1);
    SetROP2(item.hDC, oldMode);
    SelectObject(item.hDC, oldBrush);
    SelectObject(item.hDC, oldPen);
}

void FillTexts(HWND window) {
    SetWindowTextW(window, LoadText(TXT_LABEL_COLOR).c_str());
    SetDlgItemTextW(window, IDC_PICK_HIGHLIGHT_LABEL, LoadText(TXT_LABEL_HIGHLIGHT).c_str());
    SetDlgItemTextW(window, IDC_PICK_SHADOW_LABEL, LoadText(TXT_LABEL_SHADOW).c_str());
    for (int channel = 0; channel < 4; ++channel)
        SetDlgItemTextW(window, IDC_PICK_CHANNEL_LABEL + channel, LoadText(TXT_CHANNEL_MASTER + channel).c_str());
}

INT_PTR CALLBACK PickColourProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: FillTexts(window); return FALSE;
        case WM_DRAWITEM: DrawLoupe(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

void OpenPickColourWindow(HWND dialog, HWND previewFrame) {
    if (g_pick.window) return;
    g_pick = {};
    g_pick.window = CreateDialogParamW(g_moduleInstance, MAKEINTRESOURCEW(IDD_PICK_COLOUR), dialog, PickColourProc, 0);
    if (!g_pick.window) return;
    g_pick.centrePen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    // Left of the preview's frame, level with its top.
    RECT frame, own;
    GetWindowRect(previewFrame, &frame);
    GetWindowRect(g_pick.window, &own);
    SetWindowPos(g_pick.window, nullptr, frame.left - (own.right - own.left), frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RefreshPickLevels();
    ShowWindow(g_pick.window, SW_SHOWNOACTIVATE);
}

void ClosePickColourWindow() {
    if (g_pick.window) DestroyWindow(g_pick.window);
    if (g_pick.centrePen) DeleteObject(g_pick.centrePen);
    g_pick = {};
}

bool PickColourWindowOpen() { return g_pick.window != nullptr; }

void ShowPickedPixel(const uint8_t* bytes, const preview::PreviewBitmap& bitmap, const preview::PixelSpot& spot,
                     bool grey) {
    if (!g_pick.window) return;
    g_pick.pixel = preview::PixelAt(bytes, bitmap, spot);
    g_pick.picked = true;
    CopyLoupePixels(bytes, bitmap, spot);
    for (int i = 0; i < 3; ++i)
        SetDlgItemTextW(g_pick.window, IDC_PICK_RED_LABEL + i,
                        grey ? L"" : LoadText(TXT_PICK_CHANNEL_LETTER + i).c_str());
    if (grey) {
        SetNumber(IDC_PICK_RED, g_pick.pixel.Grey());
        SetDlgItemTextW(g_pick.window, IDC_PICK_RED + 1, L"");
        SetDlgItemTextW(g_pick.window, IDC_PICK_RED + 2, L"");
    } else {
        SetNumber(IDC_PICK_RED, g_pick.pixel.red);
        SetNumber(IDC_PICK_RED + 1, g_pick.pixel.green);
        SetNumber(IDC_PICK_RED + 2, g_pick.pixel.blue);
    }
    InvalidateRect(GetDlgItem(g_pick.window, IDC_PICK_LOUPE), nullptr, FALSE);
}

bool LastPickedPixel(preview::PickedPixel& out) {
    if (!g_pick.window || !g_pick.picked) return false;
    out = g_pick.pixel;
    return true;
}

void RefreshPickLevels() {
    if (!g_pick.window) return;
    for (int channel = 0; channel < 4; ++channel) {
        SetNumber(IDC_PICK_HIGHLIGHT + channel, g_scanSettings.tone.channels[channel].highlight);
        SetNumber(IDC_PICK_SHADOW + channel, g_scanSettings.tone.channels[channel].shadow);
    }
}
