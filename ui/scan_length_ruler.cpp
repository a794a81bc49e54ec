#include "ui/scan_length_ruler.h"

#include <algorithm>
#include <cstdlib>

#include "device/device.h"
#include "engine/scan_length.h"
#include "profile/module_instance.h"
#include "settings/settings_record.h"
#include "ui/prescan_sequence.h"
#include "ui/window_class.h"

namespace {

constexpr wchar_t kRulerClass[] = L"ScanLengthClass";
constexpr int kMarkerHalfHeight = 5;  // the triangle is 10 pixels high

struct RulerState {
    HWND picture = nullptr;
    bool dragging = false;
    int position = 0;  // while dragging
};

RulerState g_ruler;

float RulerLength() { return preview::RulerInches(!g_device.letterModel, g_scanSettings.scanSource); }

int RulerHeight(HWND ruler) {
    RECT client;
    GetClientRect(ruler, &client);
    return client.bottom;
}

int MarkerPosition(HWND ruler) { return ScanLengthMarker(RulerHeight(ruler)); }

void Paint(HWND ruler) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(ruler, &paint);
    RECT client;
    GetClientRect(ruler, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    MoveToEx(dc, 1, 0, nullptr);
    LineTo(dc, 1, client.bottom);
    const int y = MarkerPosition(ruler);
    const POINT triangle[] = {{1, y}, {client.right - 1, y - kMarkerHalfHeight}, {client.right - 1, y + kMarkerHalfHeight}};
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Polygon(dc, triangle, 3);
    SelectObject(dc, oldBrush);
    EndPaint(ruler, &paint);
}

// The marker follows the pointer within the margins, never above 4 inches.
void DragTo(HWND ruler, int y) {
    const int height = RulerHeight(ruler);
    int position = preview::ClampMarker(y, height);
    if (preview::ScanLengthAt(position, height, RulerLength()) < preview::kMinScanLength)
        position = preview::MarkerAt(preview::kMinScanLength, height, RulerLength());
    g_ruler.position = position;
    InvalidateRect(ruler, nullptr, TRUE);
    InvalidateRect(g_ruler.picture, nullptr, FALSE);
}

void ButtonDown(HWND ruler, int y) {
    if (std::abs(y - MarkerPosition(ruler)) > kMarkerHalfHeight) return;
    g_ruler.dragging = true;
    g_ruler.position = MarkerPosition(ruler);
    SetCapture(ruler);
}

void ButtonUp(HWND ruler) {
    if (!g_ruler.dragging) return;
    g_ruler.dragging = false;
    if (GetCapture() == ruler) ReleaseCapture();
    const float length = preview::ScanLengthAt(g_ruler.position, RulerHeight(ruler), RulerLength());
    g_preview.scanLength = std::max(preview::kMinScanLength, length);
    InvalidateRect(ruler, nullptr, TRUE);
    InvalidateRect(g_ruler.picture, nullptr, FALSE);
}

LRESULT CALLBACK RulerProc(HWND ruler, UINT message, WPARAM wParam, LPARAM lParam) {
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
        case WM_PAINT: Paint(ruler); return 0;
        case WM_LBUTTONDOWN: ButtonDown(ruler, y); return 0;
        case WM_MOUSEMOVE:
            if (g_ruler.dragging) DragTo(ruler, y);
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED: ButtonUp(ruler); return 0;
        default: return DefWindowProcW(ruler, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateScanLengthRuler(HWND frame, HWND picture, int left, int top, int height) {
    RegisterOwnClass(kRulerClass, RulerProc, LoadCursor(nullptr, IDC_ARROW));
    g_ruler = {picture, false, 0};
    return CreateWindowExW(0, kRulerClass, L"", WS_CHILD | WS_VISIBLE, left, top, kScanLengthRulerWidth, height, frame,
                           nullptr, g_moduleInstance, nullptr);
}

int ScanLengthMarker(int rulerHeight) {
    if (g_ruler.dragging) return g_ruler.position;
    return preview::ClampMarker(preview::MarkerAt(g_preview.scanLength, rulerHeight, RulerLength()), rulerHeight);
}
