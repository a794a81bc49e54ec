#include <algorithm>
#include <string>

#include "device/device.h"
#include "engine/resolution_rules.h"
#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/settings_record.h"
#include "ui/custom_dialogs.h"
#include "ui/main_page.h"
#include "ui/resolution_menu.h"

namespace {

struct CustomResolution {
    HWND page = nullptr;
    uint16_t start = 0;  // the resolution when the dialog opened
    uint16_t minimum = 1;
    uint16_t maximum = 1;
    uint16_t value = 0;     // the last good value
    bool rewriting = false;  // the dialog itself is writing the edit
};

CustomResolution g_custom;

void ShowValue(HWND dialog) {
    g_custom.rewriting = true;
    SetDlgItemInt(dialog, IDC_CUSTOM_RES_VALUE, g_custom.value, FALSE);
    g_custom.rewriting = false;
}

void Apply(HWND dialog, long value) {
    g_custom.value = static_cast<uint16_t>(std::clamp<long>(value, g_custom.minimum, g_custom.maximum));
    SetScrollPos(GetDlgItem(dialog, IDC_CUSTOM_RES_SCROLL), SB_CTL, g_custom.value, TRUE);
    ApplyResolution(g_custom.page, g_custom.value);
}

void Init(HWND dialog) {
    const std::wstring name = LoadText(TXT_RESOLUTION);
    SetWindowTextW(dialog, name.c_str());
    SetDlgItemTextW(dialog, IDC_CUSTOM_RES_LABEL, name.c_str());
    const bool halftone = g_scanSettings.destination == kDestHalftonePrinter;
    SetDlgItemTextW(dialog, IDC_CUSTOM_RES_UNIT, LoadText(halftone ? TXT_LPI : TXT_DPI).c_str());
    SetDlgItemTextW(dialog, IDC_CUSTOM_OK, LoadText(TXT_OK).c_str());
    SetDlgItemTextW(dialog, IDC_CUSTOM_RES_CANCEL, LoadText(TXT_CANCEL).c_str());
    SendDlgItemMessageW(dialog, IDC_CUSTOM_RES_VALUE, EM_LIMITTEXT, 4, 0);

    g_custom.start = g_scanSettings.resolution;
    g_custom.minimum = 1;
    g_custom.maximum = MaxCustomResolution();
    g_custom.value = static_cast<uint16_t>(std::clamp<long>(g_custom.start, g_custom.minimum, g_custom.maximum));
    SetScrollRange(GetDlgItem(dialog, IDC_CUSTOM_RES_SCROLL), SB_CTL, g_custom.minimum, g_custom.maximum, FALSE);
    SetScrollPos(GetDlgItem(dialog, IDC_CUSTOM_RES_SCROLL), SB_CTL, g_custom.value, TRUE);
    ShowValue(dialog);
}

// Typing: a number is clamped into the range (the edit shows the clamped
// value) and applied; any other text is replaced by the last good value. An
// empty field waits for the next digit.
void Typed(HWND dialog) {
    if (g_custom.rewriting) return;
    char text[16] = {};
    GetDlgItemTextA(dialog, IDC_CUSTOM_RES_VALUE, text, sizeof text);
    if (text[0] == '\0') return;
    long value = 0;
    if (!ParseTypedNumber(text, value)) {
        ShowValue(dialog);
        return;
    }
    Apply(dialog, value);
    if (g_custom.value != value) ShowValue(dialog);
}

// The range stays far below 65536, so the thumb's position in the message is whole.
void Scrolled(HWND dialog, WORD request, WORD thumb) {
    const long page = CustomResolutionPageStep(g_device.opticalResolution);
    long value = g_custom.value;
    switch (request) {
        case SB_LINELEFT: value -= 1; break;
        case SB_LINERIGHT: value += 1; break;
        case SB_PAGELEFT: value -= page; break;
        case SB_PAGERIGHT: value += page; break;
        case SB_LEFT: value = g_custom.minimum; break;
        case SB_RIGHT: value = g_custom.maximum; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: value = thumb; break;
        default: return;
    }
    Apply(dialog, value);
    ShowValue(dialog);
}

INT_PTR CALLBACK CustomResolutionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            Init(dialog);
            return TRUE;
        case WM_HSCROLL:
            Scrolled(dialog, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_CUSTOM_RES_VALUE:
                    if (HIWORD(wParam) == EN_CHANGE) Typed(dialog);
                    return TRUE;
                case IDC_CUSTOM_OK:
                    Apply(dialog, g_custom.value);
                    AddCustomResolution(g_custom.value);
                    g_scanSettings.dpiScale = 0;
                    UpdateScanAreaFigures(g_custom.page);
                    EndDialog(dialog, 1);
                    return TRUE;
                case IDC_CUSTOM_RES_CANCEL:
                case IDCANCEL:
                    ApplyResolution(g_custom.page, g_custom.start);
                    EndDialog(dialog, 0);
                    return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            ApplyResolution(g_custom.page, g_custom.start);
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void RunCustomResolutionDialog(HWND page) {
    g_custom = {};
    g_custom.page = page;
    DialogBoxParamW(g_moduleInstance, L"CUSTOM", page, CustomResolutionProc, 0);
}
