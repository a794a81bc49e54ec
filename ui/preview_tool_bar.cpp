#include "ui/preview_tool_bar.h"

#include <iterator>

#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "ui/tool_tips.h"

namespace {

struct ToolButton {
    int id;
    int text;
};

constexpr ToolButton kButtons[] = {{kCropButton, TXT_CROP},
                                   {kZoomButton, TXT_ZOOM},
                                   {kPickHighlightButton, TXT_PICK_HIGHLIGHT},
                                   {kPickShadowButton, TXT_PICK_SHADOW},
                                   {kHiResButton, TXT_HI_LOW_RESOLUTION}};

struct ToolBarTip {
    HWND window = nullptr;
    int hovered = 0;  // the button under the pointer, 0 for none
};

ToolBarTip g_tip;

}  // namespace

void CreatePreviewToolBar(HWND frame, int width, HFONT font, bool hiRes) {
    const int buttonWidth = width / static_cast<int>(std::size(kButtons));
    int left = 0;
    for (const ToolButton& button : kButtons) {
        const DWORD kind = button.id == kHiResButton ? BS_AUTOCHECKBOX : BS_AUTORADIOBUTTON;
        HWND window = CreateWindowExW(0, L"BUTTON", LoadText(button.text).c_str(),
                                      WS_CHILD | WS_VISIBLE | BS_PUSHLIKE | kind, left, 0, buttonWidth, kToolBarHeight,
                                      frame, reinterpret_cast<HMENU>(INT_PTR{button.id}), g_moduleInstance, nullptr);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        left += buttonWidth;
    }
    CheckRadioButton(frame, kCropButton, kPickShadowButton, kCropButton);
    CheckDlgButton(frame, kHiResButton, hiRes ? BST_CHECKED : BST_UNCHECKED);
}

void ToolBarPointerOver(HWND frame, HWND over) {
    const int control = GetParent(over) == frame ? GetDlgCtrlID(over) : 0;
    if (control == g_tip.hovered) return;
    CloseToolBarTip();
    g_tip.hovered = control;
    for (const ToolButton& button : kButtons) {
        if (button.id != control) continue;
        RECT rect;
        GetWindowRect(over, &rect);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(over, WM_GETFONT, 0, 0));
        g_tip.window = ShowToolTip(frame, POINT{rect.left, rect.bottom + 2}, LoadText(button.text), font);
    }
}

void CloseToolBarTip() {
    if (g_tip.window && IsWindow(g_tip.window)) DestroyWindow(g_tip.window);
    g_tip = {};
}
