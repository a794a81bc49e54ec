#include <string>

#include "device/device.h"
#include "profile/module_instance.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/lamp_timeout.h"
#include "settings/settings_dialogs.h"

static_assert(int(LampScroll::LineLess) == SB_LINELEFT && int(LampScroll::LineMore) == SB_LINERIGHT &&
              int(LampScroll::PageLess) == SB_PAGELEFT && int(LampScroll::PageMore) == SB_PAGERIGHT &&
              int(LampScroll::ThumbPosition) == SB_THUMBPOSITION &&
              int(LampScroll::ThumbTrack) == SB_THUMBTRACK && int(LampScroll::Top) == SB_TOP &&
              int(LampScroll::Bottom) == SB_BOTTOM);

namespace {

constexpr size_t kLampKeyBuffer = 130;

int& ChosenMinutes(HWND dialog) { return *reinterpret_cast<int*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

void EnableMinutes(HWND dialog, bool enable) {
    EnableWindow(GetDlgItem(dialog, IDC_SAVER_MINUTES), enable);
    EnableWindow(GetDlgItem(dialog, IDC_SAVER_SCROLL), enable);
}

void InitDialog(HWND dialog, int& minutes) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&minutes));
    SetWindowTextW(dialog, LoadText(TXT_GREEN_SAVER).c_str());
    SetDlgItemTextW(dialog, IDC_SAVER_ENABLE, LoadText(TXT_SAVER_ENABLE).c_str());
    SetDlgItemTextW(dialog, IDC_SAVER_DISABLE, LoadText(TXT_SAVER_DISABLE).c_str());
    SetDlgItemTextW(dialog, IDC_SAVER_DELAY_LABEL, (LoadText(TXT_SAVER_DELAY) + L":").c_str());
    SetDlgItemTextW(dialog, IDC_SAVER_MINUTES_LABEL, LoadText(TXT_SAVER_MINUTES).c_str());
    SetDlgItemTextW(dialog, IDC_SAVER_OK, LoadText(TXT_OK).c_str());
    SetDlgItemTextW(dialog, IDC_SAVER_CANCEL, LoadText(TXT_CANCEL).c_str());

    const bool enabled = ReadProfileNumber(kLampSection, "SAVER", "20", kLampKeyBuffer) != kLampSaverOff;
    CheckRadioButton(dialog, IDC_SAVER_ENABLE, IDC_SAVER_DISABLE, enabled ? IDC_SAVER_ENABLE : IDC_SAVER_DISABLE);
    EnableMinutes(dialog, enabled);

    minutes = ClampLampMinutes(ReadProfileNumber(kLampSection, "TIMES", "20", kLampKeyBuffer));
    HWND scroll = GetDlgItem(dialog, IDC_SAVER_SCROLL);
    SetScrollRange(scroll, SB_CTL, kLampMinutesMin, kLampMinutesMax, FALSE);
    SetScrollPos(scroll, SB_CTL, minutes, TRUE);
    SendDlgItemMessageW(dialog, IDC_SAVER_MINUTES, EM_LIMITTEXT, 3, 0);
    SetDlgItemInt(dialog, IDC_SAVER_MINUTES, static_cast<UINT>(minutes), FALSE);
}

void Scrolled(HWND dialog, WPARAM wParam) {
    int& minutes = ChosenMinutes(dialog);
    minutes = ScrolledLampMinutes(minutes, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
    SetScrollPos(GetDlgItem(dialog, IDC_SAVER_SCROLL), SB_CTL, minutes, TRUE);
    SetDlgItemInt(dialog, IDC_SAVER_MINUTES, static_cast<UINT>(minutes), FALSE);
}

// A typed value inside the range is taken; any other disables OK.
void Typed(HWND dialog) {
    char text[8] = {};
    GetDlgItemTextA(dialog, IDC_SAVER_MINUTES, text, sizeof text);
    const int typed = TypedLampMinutes(text);
    EnableWindow(GetDlgItem(dialog, IDC_SAVER_OK), typed > 0);
    if (typed < 0) return;
    ChosenMinutes(dialog) = typed;
    SetScrollPos(GetDlgItem(dialog, IDC_SAVER_SCROLL), SB_CTL, typed, TRUE);
}

bool ScannerConnected() { return g_device.remoteMode || g_device.spiCall != nullptr; }

void Confirm(HWND dialog) {
    if (!IsWindowEnabled(GetDlgItem(dialog, IDC_SAVER_OK))) return;
    const int minutes = ChosenMinutes(dialog);
    const int saver = SaverValue(IsDlgButtonChecked(dialog, IDC_SAVER_ENABLE) == BST_CHECKED, minutes);
    WriteProfileText(kLampSection, "SAVER", std::to_string(saver));
    WriteProfileText(kLampSection, "TIMES", std::to_string(minutes));
    // When the send to a remote scanner fails, the remote layer reports it
    // and the dialog stays open.
    if (ScannerConnected() && !SetGreenSaver(static_cast<uint16_t>(saver))) return;
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK LampDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitDialog(dialog, *reinterpret_cast<int*>(lParam));
            return TRUE;
        case WM_HSCROLL:
            Scrolled(dialog, wParam);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_SAVER_ENABLE:
                case IDC_SAVER_DISABLE:
                    EnableMinutes(dialog, IsDlgButtonChecked(dialog, IDC_SAVER_ENABLE) == BST_CHECKED);
                    return TRUE;
                case IDC_SAVER_MINUTES:
                    if (HIWORD(wParam) == EN_CHANGE) Typed(dialog);
                    return TRUE;
                case IDOK:
                case IDC_SAVER_OK:
                    Confirm(dialog);
                    return TRUE;
                case IDCANCEL:
                case IDC_SAVER_CANCEL:
                    EndDialog(dialog, 0);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

int RunLampTimeoutDialog(HWND owner) {
    int minutes = kLampMinutesMin;
    return DialogBoxParamW(g_moduleInstance, L"GreenSaverDlg", owner, LampDialogProc,
                           reinterpret_cast<LPARAM>(&minutes)) == 1;
}
