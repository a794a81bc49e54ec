#include "ui/preview_tool_bar.h"

#include <iterator>

#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "ui/tool_tips.h"
#include "ui/window_class.h"

namespace {

struct ToolButton {
    int id;
    int text;
    const wchar_t* picture;
};

constexpr ToolButton kButtons[] = {{kBatchButton, TXT_BATCH_SCAN, L"IDB_BSCAN"},
                                   {kZoomButton, TXT_ZOOM, L"IDB_ZOOMIN"},
                                   {kCropButton, TXT_CROP, L"IDB_CROP"},
                                   {kHiResButton, TXT_HI_LOW_RESOLUTION, L"IDB_HIRES"},
                                   {kPickHighlightButton, TXT_PICK_HIGHLIGHT, L"IDB_PICKHT"},
                                   {kPickShadowButton, TXT_PICK_SHADOW, L"IDB_PICKSD"}};

DWORD ButtonKind(int id) {
    if (id == kBatchButton) return BS_PUSHBUTTON;
    return id == kHiResButton ? BS_AUTOCHECKBOX | BS_PUSHLIKE : BS_AUTORADIOBUTTON | BS_PUSHLIKE;
}

struct ToolBarTip {
    HWND window = nullptr;
    int hovered = 0;  // the button under the pointer, 0 for none
};

ToolBarTip g_tip;

constexpr wchar_t kToolBarClass[] = L"ToolBarClass";

// The buttons' clicks go to the frame, which owns the tools.
LRESULT CALLBACK ToolBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) return SendMessageW(GetParent(window), message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// The buttons show their pictures; their names are their texts, shown in
// the tips.
HWND CreatePreviewToolBar(HWND frame, int width, HFONT font, bool hiRes, bool batchRefused) {
    RegisterOwnClass(kToolBarClass, ToolBarProc, LoadCursor(nullptr, IDC_ARROW),
                     static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    HWND toolBar = CreateWindowExW(0, kToolBarClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, width, kToolBarHeight, frame,
                                   nullptr, g_moduleInstance, nullptr);
    if (!toolBar) return nullptr;
    const int buttonWidth = width / static_cast<int>(std::size(kButtons));
    int left = 0;
    for (const ToolButton& button : kButtons) {
        HWND window = CreateWindowExW(0, L"BUTTON", LoadText(button.text).c_str(),
                                      WS_CHILD | WS_VISIBLE | BS_BITMAP | ButtonKind(button.id), left, 0, buttonWidth,
                                      kToolBarHeight, toolBar, reinterpret_cast<HMENU>(INT_PTR{button.id}),
                                      g_moduleInstance, nullptr);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        HANDLE picture = LoadImageW(g_moduleInstance, button.picture, IMAGE_BITMAP, 0, 0, 0);
        SendMessageW(window, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
        left += buttonWidth;
    }
    CheckRadioButton(toolBar, kCropButton, kPickShadowButton, kCropButton);
    CheckDlgButton(toolBar, kHiResButton, hiRes ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(toolBar, kBatchButton), batchRefused ? FALSE : TRUE);
    return toolBar;
}

void DestroyPreviewToolBar(HWND toolBar) {
    if (!toolBar) return;
    for (const ToolButton& button : kButtons) {
        HWND window = GetDlgItem(toolBar, button.id);
        if (!window) continue;
        auto picture = reinterpret_cast<HGDIOBJ>(SendMessageW(window, BM_GETIMAGE, IMAGE_BITMAP, 0));
        DestroyWindow(window);
        if (picture) DeleteObject(picture);
    }
    DestroyWindow(toolBar);
}

void ToolBarPointerOver(HWND toolBar, HWND over) {
    const int control = toolBar && GetParent(over) == toolBar ? GetDlgCtrlID(over) : 0;
    if (control == g_tip.hovered) return;
    CloseToolBarTip();
    g_tip.hovered = control;
    for (const ToolButton& button : kButtons) {
        if (button.id != control) continue;
        RECT rect;
        GetWindowRect(over, &rect);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(over, WM_GETFONT, 0, 0));
        g_tip.window = ShowToolTip(toolBar, POINT{rect.left, rect.bottom + 2}, LoadText(button.text), font);
    }
}

void CloseToolBarTip() {
    if (g_tip.window && IsWindow(g_tip.window)) DestroyWindow(g_tip.window);
    g_tip = {};
}
