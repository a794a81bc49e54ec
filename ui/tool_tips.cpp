#include "ui/tool_tips.h"

namespace {

constexpr wchar_t kClassName[] = L"Tooltips Class";
constexpr COLORREF kTipColour = RGB(255, 255, 128);
constexpr UINT kTickMs = 200;
constexpr DWORD kShownMs = 3000;

struct TipState {
    HWND owner;
    HFONT font;
    DWORD shownAt;
};

TipState* StateOf(HWND tip) { return reinterpret_cast<TipState*>(GetWindowLongPtrW(tip, GWLP_USERDATA)); }

void Paint(HWND tip) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(tip, &paint);
    RECT area;
    GetClientRect(tip, &area);
    HBRUSH yellow = CreateSolidBrush(kTipColour);
    FillRect(dc, &area, yellow);
    DeleteObject(yellow);
    wchar_t text[256] = {};
    GetWindowTextW(tip, text, 256);
    HGDIOBJ previous = SelectObject(dc, StateOf(tip)->font);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 0, 0, text, lstrlenW(text));
    SelectObject(dc, previous);
    EndPaint(tip, &paint);
}

LRESULT CALLBACK ToolTipProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(tip);
            return 0;
        case WM_TIMER:
            if (wParam == kToolTipTimer && GetTickCount() - StateOf(tip)->shownAt >= kShownMs) DestroyWindow(tip);
            return 0;
        case WM_MOUSEMOVE: {
            HWND owner = StateOf(tip)->owner;
            DestroyWindow(tip);
            SendMessageW(owner, WM_SETCURSOR, reinterpret_cast<WPARAM>(owner), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            return 0;
        }
        case WM_NCDESTROY:
            KillTimer(tip, kToolTipTimer);
            delete StateOf(tip);
            SetWindowLongPtrW(tip, GWLP_USERDATA, 0);
            break;
    }
    return DefWindowProcW(tip, message, wParam, lParam);
}

}  // namespace

void RegisterToolTipClass(HINSTANCE instance) {
    WNDCLASSW existing;
    if (GetClassInfoW(instance, kClassName, &existing)) return;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ToolTipProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
}

void UnregisterToolTipClass(HINSTANCE instance) { UnregisterClassW(kClassName, instance); }

HWND ShowToolTip(HWND owner, POINT screenPoint, const std::wstring& text, HFONT font) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    HWND tip = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, text.c_str(), WS_POPUP | WS_BORDER,
                               screenPoint.x, screenPoint.y, 0, 0, owner, nullptr, instance, nullptr);
    if (!tip) return nullptr;
    SetWindowLongPtrW(tip, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TipState{owner, font, GetTickCount()}));
    HDC dc = GetDC(tip);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(tip, dc);
    RECT frame{0, 0, extent.cx + 2, extent.cy};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    SetWindowPos(tip, HWND_TOPMOST, screenPoint.x, screenPoint.y, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetTimer(tip, kToolTipTimer, kTickMs, nullptr);
    return tip;
}
