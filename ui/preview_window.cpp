#include "ui/preview_window.h"

#include <algorithm>
#include <string>

#include "device/device.h"
#include "engine/preview_frame.h"
#include "engine/preview_geometry.h"
#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "ui/main_dialog.h"
#include "ui/main_page.h"
#include "ui/marching_ants.h"
#include "ui/prescan_sequence.h"

namespace {

constexpr wchar_t kFrameClass[] = L"ParentClass";
constexpr wchar_t kPictureClass[] = L"PreviewClass";
constexpr DWORD kFrameStyle = WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_CLIPCHILDREN;

// The room the dialog keeps for the preview, in dialog units: right of the
// page frame, above the command buttons.
constexpr RECT kRoomDialogUnits = {250, 6, 414, 234};

constexpr UINT kBlinkInterval = 200;  // ms

// A drag of the scan frame in progress.
struct FrameDrag {
    bool active = false;
    preview::HitCode hit = preview::kHitOutside;
    preview::Point press;   // units
    preview::Frame start;   // the frame at the press
    preview::Frame shown;   // the outline on the screen
};

struct PreviewWindowState {
    HWND dialog = nullptr;
    HWND frame = nullptr;
    HWND picture = nullptr;
    int zoom = 1;
    preview::Point origin;  // units at the picture's top-left corner
    FrameDrag drag;
};

PreviewWindowState g_window;

preview::Extent Bed() { return preview::BedUnits(g_device.maxAreaWidth, g_device.maxAreaLength); }

preview::View CurrentView() {
    RECT client{};
    if (g_window.picture) GetClientRect(g_window.picture, &client);
    return {Bed(), {client.right, client.bottom}, g_window.zoom, g_window.origin};
}

preview::Frame StoredFrame() {
    const uint16_t* f = g_scanSettings.frame;
    return {f[0], f[1], f[2], f[3]};
}

void StoreFrame(const preview::Frame& frame) {
    const preview::Frame f = preview::Normalised(frame);
    uint16_t* stored = g_scanSettings.frame;
    stored[0] = static_cast<uint16_t>(f.left);
    stored[1] = static_cast<uint16_t>(f.top);
    stored[2] = static_cast<uint16_t>(f.right);
    stored[3] = static_cast<uint16_t>(f.bottom);
}

// The frame in window pixels, normalised.
RECT PixelRect(const preview::Frame& frame) {
    const preview::View view = CurrentView();
    const preview::Frame f = preview::Normalised(frame);
    const preview::Point topLeft = preview::ToPixels(view, {f.left, f.top});
    const preview::Point bottomRight = preview::ToPixels(view, {f.right, f.bottom});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

preview::Point PointerUnits(LPARAM lParam) {
    return preview::ToUnits(CurrentView(), {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
}

void UpdateMainPageFigures() {
    if (HWND page = GetDlgItem(g_window.dialog, IDD_MAIN_PAGE)) UpdateScanAreaFigures(page);
}

void PaintPicture(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const preview::PreviewBitmap& bitmap = g_preview.bitmap;
    if (!g_preview.file.empty() && bitmap.width != 0) {
        // One preview unit is zoom x (client / bed) pixels; the picture covers the bed.
        const preview::Extent bed = Bed();
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, bed.width, bed.height, nullptr);
        SetViewportExtEx(dc, client.right * g_window.zoom, client.bottom * g_window.zoom, nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(bitmap.width),
                          static_cast<LONG>(bitmap.height), 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, 0, 0, bed.width, bed.height, 0, 0, static_cast<int>(bitmap.width),
                      static_cast<int>(bitmap.height), g_preview.file.data() + bitmap.pixelOffset, &info,
                      DIB_RGB_COLORS, SRCCOPY);
        SetMapMode(dc, MM_TEXT);
    }
    if (!g_window.drag.active) DrawMarchingAnts(dc, PixelRect(StoredFrame()));
    EndPaint(window, &paint);
}

// The outline of a frame being dragged: a dotted line that a second drawing
// erases.
void ToggleDragOutline(const preview::Frame& frame) {
    HDC dc = GetDC(g_window.picture);
    const RECT rect = PixelRect(frame);
    HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const int oldMode = SetROP2(dc, R2_NOTXORPEN);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SetROP2(dc, oldMode);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    ReleaseDC(g_window.picture, dc);
}

// The hit margin: 2 dialog units each way.
preview::HitCode HitAt(LPARAM lParam, bool shift) {
    const LONG base = GetDialogBaseUnits();
    const RECT f = PixelRect(StoredFrame());
    return preview::HitTest({f.left, f.top, f.right, f.bottom},
                            {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))},
                            LOWORD(base) / 4 * 2, HIWORD(base) / 8 * 2, shift);
}

void SetCursorFor(preview::HitCode hit) {
    const wchar_t* name = nullptr;
    switch (hit) {
        case preview::kHitTopLeft:
        case preview::kHitBottomRight: name = L"IDSIZENWSE"; break;
        case preview::kHitTop:
        case preview::kHitBottom: name = L"IDSIZENS"; break;
        case preview::kHitTopRight:
        case preview::kHitBottomLeft: name = L"IDSIZENESW"; break;
        case preview::kHitLeft:
        case preview::kHitRight: name = L"IDSIZEWE"; break;
        case preview::kHitInside: name = L"IDHAND1"; break;
        default: break;
    }
    SetCursor(name ? LoadCursorW(g_moduleInstance, name) : LoadCursor(nullptr, IDC_ARROW));
}

// Two device pixels in units, at least one unit.
int EdgeGap() {
    const preview::View view = CurrentView();
    const int pixels = view.client.width * view.zoom;
    return pixels > 0 ? std::max(1, 2 * view.bed.width / pixels) : 1;
}

void ButtonDown(HWND window, WPARAM wParam, LPARAM lParam) {
    FrameDrag& drag = g_window.drag;
    drag.hit = HitAt(lParam, (wParam & MK_SHIFT) != 0);
    SetCursorFor(drag.hit);
    if (drag.hit == preview::kHitOutside) return;
    SetCapture(window);
    KillTimer(g_window.dialog, kPreviewTimer);
    // The resting outline goes; the dotted one follows the pointer.
    drag.active = true;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    drag.press = PointerUnits(lParam);
    drag.start = StoredFrame();
    if (drag.hit == preview::kHitNewFrame) drag.start = {drag.press.x, drag.press.y, drag.press.x, drag.press.y};
    drag.shown = drag.start;
    ToggleDragOutline(drag.shown);
}

void DragTo(LPARAM lParam) {
    FrameDrag& drag = g_window.drag;
    const preview::Frame next = preview::DragFrame(drag.start, drag.hit, drag.press, PointerUnits(lParam), Bed(), EdgeGap());
    ToggleDragOutline(drag.shown);
    drag.shown = next;
    ToggleDragOutline(drag.shown);
    StoreFrame(next);
    UpdateMainPageFigures();
}

// The end of a drag: by the button's release, or by the capture taken away
// (then the frame stays where the pointer left it).
void EndDrag(HWND window) {
    FrameDrag& drag = g_window.drag;
    if (!drag.active) return;
    drag.active = false;
    if (GetCapture() == window) ReleaseCapture();
    StoreFrame(drag.shown);
    UpdateMainPageFigures();
    InvalidateRect(window, nullptr, FALSE);
    StartPreviewBlink();
}

void MouseMove(WPARAM wParam, LPARAM lParam) {
    if (g_window.drag.active) {
        DragTo(lParam);
        return;
    }
    SetCursorFor(HitAt(lParam, (wParam & MK_SHIFT) != 0));
}

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: PaintPicture(window); return 0;
        case WM_LBUTTONDOWN: ButtonDown(window, wParam, lParam); return 0;
        case WM_MOUSEMOVE: MouseMove(wParam, lParam); return 0;
        case WM_LBUTTONUP: EndDrag(window); return 0;
        case WM_CAPTURECHANGED: EndDrag(window); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterClasses() {
    WNDCLASSW frame{};
    if (!GetClassInfoW(g_moduleInstance, kFrameClass, &frame)) {
        frame.lpfnWndProc = FrameProc;
        frame.hInstance = g_moduleInstance;
        frame.hCursor = LoadCursor(nullptr, IDC_ARROW);
        frame.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
        frame.lpszClassName = kFrameClass;
        RegisterClassW(&frame);
    }
    WNDCLASSW picture{};
    if (!GetClassInfoW(g_moduleInstance, kPictureClass, &picture)) {
        picture.lpfnWndProc = PictureProc;
        picture.hInstance = g_moduleInstance;
        // The pointer's shape follows the frame under it.
        picture.hCursor = nullptr;
        picture.lpszClassName = kPictureClass;
        RegisterClassW(&picture);
    }
}

std::wstring Title() {
    return LoadText(TXT_PREVIEW_WINDOW) + L" (" + std::to_wstring(g_window.zoom) + L":1)";
}

// The frame at the top of the room, its picture as large as the bed's
// proportions allow, centred across the room.
void Place(HWND dialog) {
    RECT room = kRoomDialogUnits;
    MapDialogRect(dialog, &room);
    RECT border = {0, 0, 0, 0};
    AdjustWindowRectEx(&border, kFrameStyle, FALSE, 0);
    const preview::Extent picture = preview::FitToBed(
        {room.right - room.left - (border.right - border.left), room.bottom - room.top - (border.bottom - border.top)},
        Bed());
    const int width = picture.width + border.right - border.left;
    const int left = room.left + (room.right - room.left - width) / 2;
    SetWindowPos(g_window.frame, nullptr, left, room.top, width, picture.height + border.bottom - border.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(g_window.picture, nullptr, 0, 0, picture.width, picture.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

HWND CreatePreviewWindow(HWND dialog) {
    DestroyPreviewWindow();
    RegisterClasses();
    g_window.dialog = dialog;
    g_window.frame = CreateWindowExW(0, kFrameClass, Title().c_str(), kFrameStyle, 0, 0, 0, 0, dialog, nullptr,
                                     g_moduleInstance, nullptr);
    if (!g_window.frame) return nullptr;
    g_window.picture = CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, g_window.frame,
                                       nullptr, g_moduleInstance, nullptr);
    Place(dialog);
    StartPreviewBlink();
    return g_window.frame;
}

void DestroyPreviewWindow() {
    if (g_window.dialog) KillTimer(g_window.dialog, kPreviewTimer);
    if (g_window.drag.active) ReleaseCapture();
    if (g_window.frame) DestroyWindow(g_window.frame);
    ReleaseMarchingAnts();
    g_window = {};
}

void StartPreviewBlink() {
    if (g_window.picture) SetTimer(g_window.dialog, kPreviewTimer, kBlinkInterval, nullptr);
}

void PreviewBlinkTick() {
    if (!g_window.picture || g_window.drag.active) return;
    AdvanceMarchingAnts();
    HDC dc = GetDC(g_window.picture);
    DrawMarchingAnts(dc, PixelRect(StoredFrame()));
    ReleaseDC(g_window.picture, dc);
}

void RetitlePreviewWindow() {
    if (g_window.frame) SetWindowTextW(g_window.frame, Title().c_str());
}

void RedrawPreview() {
    if (g_window.picture) RedrawWindow(g_window.picture, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

HWND PreviewPictureWindow() { return g_window.picture; }
