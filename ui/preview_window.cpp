#include "ui/preview_window.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "device/device.h"
#include "device/messages.h"
#include "engine/preview_crop.h"
#include "engine/preview_frame.h"
#include "engine/preview_geometry.h"
#include "engine/preview_pick.h"
#include "engine/preview_zoom.h"
#include "engine/processing.h"
#include "imaging/colour_profile.h"
#include "imaging/preview_process.h"
#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "settings/host_rules.h"
#include "settings/settings_record.h"
#include "ui/batch_window.h"
#include "ui/few_colour_drawing.h"
#include "ui/main_dialog.h"
#include "ui/main_page.h"
#include "ui/marching_ants.h"
#include "ui/page_host.h"
#include "ui/pick_colour_window.h"
#include "ui/picked_tone.h"
#include "ui/prescan_sequence.h"
#include "ui/preview_tool_bar.h"
#include "ui/scan_length_ruler.h"
#include "ui/window_class.h"

namespace {

constexpr wchar_t kFrameClass[] = L"ParentClass";
constexpr wchar_t kPictureClass[] = L"PreviewClass";
constexpr DWORD kFrameStyle = WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_CLIPCHILDREN;

// The room the dialog keeps for the preview, in dialog units: right of the
// page frame, above the command buttons.
constexpr RECT kRoomDialogUnits = {250, 6, 414, 234};

constexpr UINT kBlinkInterval = 200;  // ms

// The picture window's timers that scroll a zoomed view while a drag holds
// the pointer outside it: drawing a new frame, moving it, resizing it.
constexpr UINT_PTR kScrollNewFrameTimer = 7;
constexpr UINT_PTR kScrollMoveTimer = 8;
constexpr UINT_PTR kScrollResizeTimer = 9;
constexpr UINT kAutoScrollInterval = 100;  // ms

enum class Tool { Crop, Zoom, PickHighlight, PickShadow };

bool Picking(Tool tool) { return tool == Tool::PickHighlight || tool == Tool::PickShadow; }

// A drag of the scan frame in progress.
struct FrameDrag {
    bool active = false;
    preview::HitCode hit = preview::kHitOutside;
    preview::Point press;   // units
    preview::Frame start;   // the frame at the press
    preview::Frame shown;   // the outline on the screen
    LPARAM pointer = 0;     // where the pointer was last, window pixels
};

struct PreviewWindowState {
    HWND dialog = nullptr;
    HWND frame = nullptr;
    HWND toolBar = nullptr;
    HWND picture = nullptr;
    HWND ruler = nullptr;
    preview::Extent base;   // the picture's client at zoom 1
    int zoom = 1;
    preview::Point origin;  // units at the picture's top-left corner
    Tool tool = Tool::Crop;
    FrameDrag drag;
    bool pickPressed = false;  // a pick tool's button is down over the picture
};

PreviewWindowState g_window;

preview::Extent Bed() { return preview::BedUnits(g_device.maxAreaWidth, g_device.maxAreaLength); }

preview::View CurrentView() { return {Bed(), g_window.base, g_window.zoom, g_window.origin}; }

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

// The frame being edited, and with the batch list open every other job's
// frame too.
void DrawFrames(HDC dc) {
    DrawMarchingAnts(dc, PixelRect(StoredFrame()));
    if (!g_batchWindow.window) return;
    const BatchList& list = g_batchWindow.list;
    for (size_t i = 0; i < list.jobs.size(); ++i) {
        if (i == list.current) continue;
        const int32_t* f = list.jobs[i].frame;
        DrawMarchingAnts(dc, PixelRect({f[0], f[1], f[2], f[3]}));
    }
}

preview::Point PointerUnits(LPARAM lParam) {
    return preview::ToUnits(CurrentView(), {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
}

// Shows `view`: zoom, origin, scroll bars and title.
void ApplyView(const preview::View& view);
void ProcessPreviewIfChanged();

void UpdateMainPageFigures() {
    if (HWND page = GetDlgItem(g_window.dialog, IDD_MAIN_PAGE)) UpdateScanAreaFigures(page);
}

// The ruler's length as a dotted line across the bed.
void DrawScanLengthLine(HDC dc) {
    const preview::View view = CurrentView();
    if (view.client.height <= 0) return;
    const int units = ScanLengthMarker(view.client.height) * view.bed.height / view.client.height;
    const int y = preview::ToPixels(view, {0, units}).y;
    HPEN pen = CreatePen(PS_DOT, 1, RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, 0, y, nullptr);
    LineTo(dc, view.client.width, y);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

bool HavePreview() {
    return !g_preview.file.empty() && g_preview.shown.size() == g_preview.file.size() && g_preview.bitmap.width != 0;
}

void PaintPicture(HWND window) {
    PAINTSTRUCT paint;
    ProcessPreviewIfChanged();
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const preview::PreviewBitmap& bitmap = g_preview.bitmap;
    if (HavePreview()) {
        // One preview unit is zoom x (client / bed) pixels; the picture covers the bed.
        const preview::Extent bed = Bed();
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, bed.width, bed.height, nullptr);
        SetViewportExtEx(dc, g_window.base.width * g_window.zoom, g_window.base.height * g_window.zoom, nullptr);
        SetWindowOrgEx(dc, g_window.origin.x, g_window.origin.y, nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(bitmap.width),
                          static_cast<LONG>(bitmap.height), 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        SetStretchBltMode(dc, COLORONCOLOR);
        const uint8_t* pixels = g_preview.shown.data() + bitmap.pixelOffset;
        // Few colours: 8 bits through a palette of the picture's own rather
        // than the display's nearest colours.
        const bool eightBits = FewColours(dc) && StretchFewColours(dc, bed.width, bed.height, pixels, bitmap,
                                                                   g_scanSettings.scanMode != kModeColour);
        if (!eightBits)
            StretchDIBits(dc, 0, 0, bed.width, bed.height, 0, 0, static_cast<int>(bitmap.width),
                          static_cast<int>(bitmap.height), pixels, &info, DIB_RGB_COLORS, SRCCOPY);
        SetMapMode(dc, MM_TEXT);
        SetWindowOrgEx(dc, 0, 0, nullptr);
    }
    DrawScanLengthLine(dc);
    if (!g_window.drag.active) DrawFrames(dc);
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

// A click in zoom mode: in by 2 at the point, with Shift out by 2; a beep at
// either limit.
void ZoomClick(WPARAM wParam, LPARAM lParam) {
    preview::View view = CurrentView();
    const bool changed = (wParam & MK_SHIFT) ? preview::ZoomOut(view) : preview::ZoomIn(view, PointerUnits(lParam));
    if (!changed) {
        MessageBeep(MB_OK);
        return;
    }
    ApplyView(view);
}

// The pointer over the picture in a pick mode: the processed pixel under it
// into the "Color" window; off the picture the window stays as it was.
void ShowPixelUnder(LPARAM lParam) {
    if (!HavePreview()) return;
    const preview::PreviewBitmap& b = g_preview.bitmap;
    preview::PixelSpot spot;
    if (!preview::PixelUnder(Bed(), static_cast<int>(b.width), static_cast<int>(b.height), PointerUnits(lParam), spot))
        return;
    ShowPickedPixel(g_preview.shown.data(), b, spot, g_scanSettings.scanMode != kModeColour);
}

// A pick tool's press: the pointer stays on the picture until the release.
void PickPress(HWND window, LPARAM lParam) {
    if (!HavePreview()) return;
    SetCapture(window);
    RECT area;
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    ClipCursor(&area);
    g_window.pickPressed = true;
    ShowPixelUnder(lParam);
}

// The release: the shown pixel becomes the highlight or the shadow.
void PickRelease(HWND window) {
    if (!g_window.pickPressed) return;
    g_window.pickPressed = false;
    ClipCursor(nullptr);
    if (GetCapture() == window) ReleaseCapture();
    preview::PickedPixel pixel;
    if (LastPickedPixel(pixel)) ApplyPickedPixel(g_window.dialog, pixel, g_window.tool == Tool::PickHighlight);
}

void ButtonDown(HWND window, WPARAM wParam, LPARAM lParam) {
    if (Picking(g_window.tool)) {
        PickPress(window, lParam);
        return;
    }
    if (g_window.tool == Tool::Zoom) {
        ZoomClick(wParam, lParam);
        return;
    }
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

UINT_PTR AutoScrollTimer(preview::HitCode hit) {
    if (hit == preview::kHitNewFrame) return kScrollNewFrameTimer;
    return hit == preview::kHitInside ? kScrollMoveTimer : kScrollResizeTimer;
}

preview::Point PixelOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

bool InsideView(LPARAM lParam) {
    const preview::Point p = PixelOf(lParam);
    return p.x >= 0 && p.y >= 0 && p.x < g_window.base.width && p.y < g_window.base.height;
}

void StopAutoScroll() {
    for (UINT_PTR timer : {kScrollNewFrameTimer, kScrollMoveTimer, kScrollResizeTimer}) KillTimer(g_window.picture, timer);
}

void DragTo(LPARAM lParam) {
    FrameDrag& drag = g_window.drag;
    drag.pointer = lParam;
    const preview::Frame next = preview::DragFrame(drag.start, drag.hit, drag.press, PointerUnits(lParam), Bed(), EdgeGap());
    ToggleDragOutline(drag.shown);
    drag.shown = next;
    ToggleDragOutline(drag.shown);
    StoreFrame(next);
    UpdateMainPageFigures();
    if (g_window.zoom > 1 && !InsideView(lParam)) {
        SetTimer(g_window.picture, AutoScrollTimer(drag.hit), kAutoScrollInterval, nullptr);
    } else {
        StopAutoScroll();
    }
}

// A tick of a drag's scroll timer: the view one line further towards the
// pointer and the drag carried on there; a beep at the end of the range.
void AutoScrollTick() {
    FrameDrag& drag = g_window.drag;
    if (!drag.active) {
        StopAutoScroll();
        return;
    }
    preview::View view = CurrentView();
    const preview::Point origin = preview::AutoScrolled(view, PixelOf(drag.pointer));
    if (origin.x == view.origin.x && origin.y == view.origin.y) {
        MessageBeep(MB_OK);
        return;
    }
    view.origin = origin;
    ApplyView(view);
    UpdateWindow(g_window.picture);
    // The repaint took the old outline away; draw it where the drag now is.
    ToggleDragOutline(drag.shown);
    DragTo(drag.pointer);
}

// The end of a drag: by the button's release, or by the capture taken away
// (then the frame stays where the pointer left it).
void EndDrag(HWND window) {
    FrameDrag& drag = g_window.drag;
    if (!drag.active) return;
    drag.active = false;
    StopAutoScroll();
    if (GetCapture() == window) ReleaseCapture();
    StoreFrame(drag.shown);
    UpdateMainPageFigures();
    UpdateCurrentBatchJob();
    InvalidateRect(window, nullptr, FALSE);
    StartPreviewBlink();
    RecropPages();
}

void MouseMove(WPARAM wParam, LPARAM lParam) {
    if (g_window.drag.active) {
        DragTo(lParam);
        return;
    }
    if (Picking(g_window.tool)) {
        SetCursor(LoadCursorW(g_moduleInstance, L"IDC_PICKER"));
        ShowPixelUnder(lParam);
        return;
    }
    if (g_window.tool == Tool::Zoom) {
        SetCursor(LoadCursorW(g_moduleInstance, (wParam & MK_SHIFT) ? L"IDZOOMOUT" : L"IDZOOMIN"));
        return;
    }
    SetCursorFor(HitAt(lParam, (wParam & MK_SHIFT) != 0));
}

// A scroll bar's request on one axis of `extent` units; the new origin.
int Scrolled(int origin, int extent, WPARAM wParam) {
    const int zoom = g_window.zoom;
    switch (LOWORD(wParam)) {
        case SB_LINEUP: return origin - preview::LineStep(extent, zoom);
        case SB_LINEDOWN: return origin + preview::LineStep(extent, zoom);
        case SB_PAGEUP: return origin - preview::PageStep(extent, zoom);
        case SB_PAGEDOWN: return origin + preview::PageStep(extent, zoom);
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: return static_cast<short>(HIWORD(wParam));
        case SB_TOP: return 0;
        case SB_BOTTOM: return preview::ScrollRange(extent, zoom);
        default: return origin;
    }
}

void Scroll(int bar, WPARAM wParam) {
    preview::View view = CurrentView();
    preview::Point origin = view.origin;
    if (bar == SB_HORZ) origin.x = Scrolled(origin.x, view.bed.width, wParam);
    else origin.y = Scrolled(origin.y, view.bed.height, wParam);
    view.origin = preview::ClampedOrigin(view, origin);
    ApplyView(view);
}

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: PaintPicture(window); return 0;
        case WM_LBUTTONDOWN: ButtonDown(window, wParam, lParam); return 0;
        case WM_MOUSEMOVE: MouseMove(wParam, lParam); return 0;
        case WM_LBUTTONUP:
            PickRelease(window);
            EndDrag(window);
            return 0;
        case WM_CAPTURECHANGED:
            // Lost to another window, a pick is dropped rather than applied.
            if (g_window.pickPressed) {
                g_window.pickPressed = false;
                ClipCursor(nullptr);
            }
            EndDrag(window);
            return 0;
        case WM_HSCROLL: Scroll(SB_HORZ, wParam); return 0;
        case WM_VSCROLL: Scroll(SB_VERT, wParam); return 0;
        case WM_TIMER: AutoScrollTick(); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A tool button: its mode (the "Color" window is open in the pick modes
// only), or the preview's resolution switched.
void ToolBarCommand(int button) {
    CloseToolBarTip();
    switch (button) {
        case kCropButton: g_window.tool = Tool::Crop; break;
        case kZoomButton: g_window.tool = Tool::Zoom; break;
        case kPickHighlightButton: g_window.tool = Tool::PickHighlight; break;
        case kPickShadowButton: g_window.tool = Tool::PickShadow; break;
        case kHiResButton:
            g_scanSettings.prescanHiRes = IsDlgButtonChecked(g_window.toolBar, kHiResButton) == BST_CHECKED ? 1 : 0;
            return;
        case kBatchButton: ToggleBatchWindow(g_window.dialog); return;
        default: return;
    }
    if (Picking(g_window.tool)) OpenPickColourWindow(g_window.dialog, g_window.frame);
    else ClosePickColourWindow();
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        ToolBarCommand(LOWORD(wParam));
        return 0;
    }
    if (message == WM_SETCURSOR && HIWORD(lParam) == WM_MOUSEMOVE)
        ToolBarPointerOver(g_window.toolBar, reinterpret_cast<HWND>(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterClasses() {
    RegisterOwnClass(kFrameClass, FrameProc, LoadCursor(nullptr, IDC_ARROW),
                     static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    // The pointer's shape over the picture follows the frame under it.
    RegisterOwnClass(kPictureClass, PictureProc, nullptr);
}

std::wstring Title() {
    return LoadText(TXT_PREVIEW_WINDOW) + L" (" + std::to_wstring(g_window.zoom) + L":1)";
}

// Sizes the frame around the tool bar and the picture; zoomed, the picture
// grows by its scroll bars: wider by the vertical bar and 1 pixel, taller by
// the horizontal bar less 6 pixels.
void SizeWindows() {
    const bool zoomed = g_window.zoom > 1;
    const int width = g_window.base.width + (zoomed ? GetSystemMetrics(SM_CXVSCROLL) + 1 : 0);
    const int height = g_window.base.height + (zoomed ? GetSystemMetrics(SM_CYHSCROLL) - 6 : 0);
    RECT outer = {0, 0, width + kScanLengthRulerWidth, kToolBarHeight + height};
    AdjustWindowRectEx(&outer, kFrameStyle, FALSE, 0);
    SetWindowPos(g_window.frame, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    SetWindowPos(g_window.picture, nullptr, 0, kToolBarHeight, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(g_window.ruler, nullptr, width, kToolBarHeight, kScanLengthRulerWidth, g_window.base.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The frame at the top of the room, its picture as large as the bed's
// proportions allow with room left for the scroll bars, centred across the room.
void Place(HWND dialog) {
    RECT room = kRoomDialogUnits;
    MapDialogRect(dialog, &room);
    RECT border = {0, 0, 0, 0};
    AdjustWindowRectEx(&border, kFrameStyle, FALSE, 0);
    g_window.base = preview::FitToBed(
        {room.right - room.left - (border.right - border.left) - GetSystemMetrics(SM_CXVSCROLL) -
             kScanLengthRulerWidth,
         room.bottom - room.top - (border.bottom - border.top) - kToolBarHeight - GetSystemMetrics(SM_CYHSCROLL)},
        Bed());
    const int width = g_window.base.width + kScanLengthRulerWidth + border.right - border.left;
    SetWindowPos(g_window.frame, nullptr, room.left + (room.right - room.left - width) / 2, room.top, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    SizeWindows();
}

void ApplyView(const preview::View& view) {
    const bool resize = (view.zoom > 1) != (g_window.zoom > 1);
    g_window.zoom = view.zoom;
    g_window.origin = view.origin;
    SetScrollRange(g_window.picture, SB_HORZ, 0, preview::ScrollRange(view.bed.width, view.zoom), FALSE);
    SetScrollRange(g_window.picture, SB_VERT, 0, preview::ScrollRange(view.bed.height, view.zoom), FALSE);
    SetScrollPos(g_window.picture, SB_HORZ, view.origin.x, TRUE);
    SetScrollPos(g_window.picture, SB_VERT, view.origin.y, TRUE);
    if (resize) SizeWindows();
    SetWindowTextW(g_window.frame, Title().c_str());
    InvalidateRect(g_window.picture, nullptr, FALSE);
}

bool SameTone(const ToneSettings& a, const ToneSettings& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The picture as drawn: the prescan's file processed with the live settings
// (with output matching, through the colour profile alone), made again only
// when they or the picture changed. Without memory the previous picture stays.
void ProcessPreviewIfChanged() {
    const ToneSettings& live = g_scanSettings.tone;
    const uint16_t mode = g_scanSettings.scanMode;
    const bool matched = g_scanSettings.outputMatch != 0 && mode == kModeColour;
    if (!g_preview.reprocess && g_preview.shownMode == mode && g_preview.shownMatched == matched &&
        SameTone(g_preview.shownTone, live))
        return;
    if (g_preview.file.empty()) {
        g_preview.shown.clear();
        return;
    }
    try {
        std::vector<uint8_t> shown = g_preview.file;
        const preview::PreviewBitmap& b = g_preview.bitmap;
        uint8_t* pixels = shown.data() + b.pixelOffset;
        const size_t size = shown.size() - b.pixelOffset;
        const int width = static_cast<int>(b.width);
        const int height = static_cast<int>(b.height);
        if (matched) colour::ApplyColourProfile(g_processing.profile, height, width, b.rowBytes, pixels, size, true);
        else tone::ProcessPreviewPixels(live, mode, pixels, size, width, height, b.rowBytes);
        g_preview.shown = std::move(shown);
    } catch (const std::bad_alloc&) {
        ShowDeviceError(g_window.dialog, MSG_INSUFFICIENT_MEMORY);
        return;
    }
    g_preview.shownTone = live;
    g_preview.shownMode = mode;
    g_preview.shownMatched = matched;
    g_preview.reprocess = false;
}

}  // namespace

HWND CreatePreviewWindow(HWND dialog) {
    DestroyPreviewWindow();
    RegisterClasses();
    g_window.dialog = dialog;
    g_window.frame = CreateWindowExW(0, kFrameClass, Title().c_str(), kFrameStyle, 0, 0, 0, 0, dialog, nullptr,
                                     g_moduleInstance, nullptr);
    if (!g_window.frame) return nullptr;
    g_window.picture = CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0,
                                       0, 0, g_window.frame, nullptr, g_moduleInstance, nullptr);
    g_window.ruler = CreateScanLengthRuler(g_window.frame, g_window.picture, 0, kToolBarHeight, 0);
    Place(dialog);
    g_window.toolBar = CreatePreviewToolBar(g_window.frame, g_window.base.width + kScanLengthRulerWidth,
                                            reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)),
                                            g_scanSettings.prescanHiRes != 0, HostNameIsText(TXT_SCANWARE_CMS));
    ApplyView(CurrentView());
    StartPreviewBlink();
    return g_window.frame;
}

void DestroyPreviewWindow() {
    if (g_window.dialog) KillTimer(g_window.dialog, kPreviewTimer);
    if (g_window.picture) StopAutoScroll();
    if (g_window.drag.active) ReleaseCapture();
    if (g_window.pickPressed) ClipCursor(nullptr);
    ClosePickColourWindow();
    CloseToolBarTip();
    if (g_window.frame) {
        DestroyPreviewToolBar(g_window.toolBar);
        DestroyWindow(g_window.frame);
    }
    UnregisterOwnClasses();
    ReleaseFewColourPalettes();
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
    DrawFrames(dc);
    ReleaseDC(g_window.picture, dc);
}

void RefreshPreviewControls() {
    if (g_window.frame)
        CheckDlgButton(g_window.toolBar, kHiResButton, g_scanSettings.prescanHiRes != 0 ? BST_CHECKED : BST_UNCHECKED);
    RefreshPickLevels();
}

// The scanner reports one area for every source, the bed: a source change
// shows it whole at 1:1 and keeps the frame on it.
void ShowSourceArea() {
    if (!g_window.frame) return;
    preview::View view = CurrentView();
    view.zoom = 1;
    view.origin = {};
    ApplyView(view);
    StoreFrame(preview::ClippedToBed(StoredFrame(), Bed()));
}

void RetitlePreviewWindow() {
    if (g_window.frame) SetWindowTextW(g_window.frame, Title().c_str());
}

void RedrawPreview() {
    ProcessPreviewIfChanged();
    if (g_window.picture) RedrawWindow(g_window.picture, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RefreshPickLevels();
}

bool CropPreview() {
    try {
        return preview::CropUnderFrame(g_preview.file, g_preview.bitmap, Bed(), StoredFrame(), g_preview.crop);
    } catch (const std::bad_alloc&) {
        ShowDeviceError(g_window.dialog, MSG_INSUFFICIENT_MEMORY);
        return false;
    }
}
