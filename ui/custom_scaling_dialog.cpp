#include <algorithm>
#include <string>

#include "engine/resolution_rules.h"
#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/settings_record.h"
#include "ui/custom_dialogs.h"

namespace {

struct CustomScaling {
    uint16_t start = 0;  // the scaling when the dialog opened
    uint16_t maximum = 1;
    uint16_t value = 0;  // the last good value
    bool rewriting = false;
};

CustomScaling g_scalingEdit;

void ShowValue(HWND dialog) {
    g_scalingEdit.rewriting = true;
    SetDlgItemInt(dialog, IDC_CUSTOM_SCALING_VALUE, g_scalingEdit.value, FALSE);
    g_scalingEdit.rewriting = false;
}

void Init(HWND dialog) {
    SetWindowTextW(dialog, LoadText(TXT_OUTPUT_SCALING).c_str());
    SetDlgItemTextW(dialog, IDC_CUSTOM_OK, LoadText(TXT_OK).c_str());
    SetDlgItemTextW(dialog, IDC_CUSTOM_SCALING_CANCEL, LoadText(TXT_CANCEL).c_str());
    SendDlgItemMessageW(dialog, IDC_CUSTOM_SCALING_VALUE, EM_LIMITTEXT, 4, 0);
    g_scalingEdit.maximum = MaxCustomScaling(g_scanSettings.resolution);
    const std::wstring range = LoadText(TXT_CUSTOM_RANGE) + L" 1 - " + std::to_wstring(g_scalingEdit.maximum);
    SetDlgItemTextW(dialog, IDC_CUSTOM_SCALING_LABEL, range.c_str());
    g_scalingEdit.value = static_cast<uint16_t>(std::clamp<long>(g_scalingEdit.start, 1, g_scalingEdit.maximum));
    ShowValue(dialog);
}

// A number is clamped into the range, the edit showing the clamped value;
// any other text is replaced by the last good value; an empty field waits.
void Typed(HWND dialog) {
    if (g_scalingEdit.rewriting) return;
    char text[16] = {};
    GetDlgItemTextA(dialog, IDC_CUSTOM_SCALING_VALUE, text, sizeof text);
    if (text[0] == '\0') return;
    long value = 0;
    if (ParseTypedNumber(text, value)) {
        g_scalingEdit.value = static_cast<uint16_t>(std::clamp<long>(value, 1, g_scalingEdit.maximum));
        if (g_scalingEdit.value == value) return;
    }
    ShowValue(dialog);
}

INT_PTR CALLBACK CustomScalingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            Init(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_CUSTOM_SCALING_VALUE:
                    if (HIWORD(wParam) == EN_CHANGE) Typed(dialog);
                    return TRUE;
                case IDC_CUSTOM_OK:
                    EndDialog(dialog, g_scalingEdit.value);
                    return TRUE;
                case IDC_CUSTOM_SCALING_CANCEL:
                case IDCANCEL:
                    EndDialog(dialog, g_scalingEdit.start);
                    return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(dialog, g_scalingEdit.start);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

uint16_t RunCustomScalingDialog(HWND owner) {
    g_scalingEdit = {};
    g_scalingEdit.start = g_scanSettings.scaling;
    const INT_PTR result = DialogBoxParamW(g_moduleInstance, L"CUSTOMSCAL", owner, CustomScalingProc, 0);
    return result > 0 ? static_cast<uint16_t>(result) : g_scalingEdit.start;
}
