#include "ui/tool_tip.h"

#include "twain/session.h"

namespace {

constexpr wchar_t kClassName[] = L"Tooltips Class";
constexpr COLORREF kTipBackground = RGB(255, 255, 128);
constexpr UINT_PTR kTipTimer = 100;
constexpr UINT kTipTick = 200;     // ms
constexpr DWORD kShownAtLeast = 3000;  // ms

struct TipState {
    HWND window = nullptr;
    DWORD shownAt = 0;
    HFONT font = nullptr;  // the owner's font
};

TipState g_tip;

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT rect;
    GetClientRect(window, &rect);
    HBRUSH background = CreateSolidBrush(kTipBackground);
    FillRect(dc, &rect, background);
    DeleteObject(background);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    HGDIOBJ oldFont = SelectObject(dc, g_tip.font ? g_tip.font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 0, 0, text, lstrlenW(text));
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

LRESULT CALLBACK ToolTipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_TIMER:
            if (GetTickCount() - g_tip.shownAt >= kShownAtLeast) DestroyWindow(window);
            return 0;
        case WM_MOUSEMOVE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            KillTimer(window, kTipTimer);
            if (g_tip.window == window) g_tip.window = nullptr;
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void RegisterToolTipClass() {
    WNDCLASSW tipClass{};
    if (GetClassInfoW(g_twain.instance, kClassName, &tipClass)) return;
    tipClass.lpfnWndProc = ToolTipProc;
    tipClass.hInstance = g_twain.instance;
    tipClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    tipClass.lpszClassName = kClassName;
    RegisterClassW(&tipClass);
}

HWND ShowToolTip(HWND owner, const std::wstring& text, POINT screenPoint) {
    CloseToolTip();
    g_tip.font = reinterpret_cast<HFONT>(SendMessageW(owner, WM_GETFONT, 0, 0));
    // The window is sized to its text in the owner's font.
    HDC dc = GetDC(owner);
    HGDIOBJ oldFont = SelectObject(dc, g_tip.font ? g_tip.font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, oldFont);
    ReleaseDC(owner, dc);
    g_tip.window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, text.c_str(), WS_POPUP | WS_BORDER,
                                   screenPoint.x, screenPoint.y, size.cx + 2, size.cy + 2, owner, nullptr,
                                   g_twain.instance, nullptr);
    if (!g_tip.window) return nullptr;
    ShowWindow(g_tip.window, SW_SHOWNOACTIVATE);
    g_tip.shownAt = GetTickCount();
    SetTimer(g_tip.window, kTipTimer, kTipTick, nullptr);
    return g_tip.window;
}

void CloseToolTip() {
    if (g_tip.window) DestroyWindow(g_tip.window);
}
