#include "ui/main_dialog.h"

#include <string>

#include "device/dialog_link.h"
#include "engine/calibration.h"
#include "profile/module_instance.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "session/notify.h"
#include "session/session.h"
#include "settings/file_dialog.h"
#include "settings/profile_settings.h"
#include "ui/main_page.h"
#include "ui/prescan_sequence.h"
#include "ui/scan_sequence.h"

MainDialogState g_mainDialog;

namespace {

void SetControlText(HWND dialog, int control, const std::wstring& text) {
    SetDlgItemTextW(dialog, control, text.c_str());
}

void InitTexts(HWND dialog) {
    std::string brand = BrandText();
    std::wstring title = IsTellarisBrand(brand) ? L"Tellaris " + Widen(ModelDisplayText()) : L"";
    SetWindowTextW(dialog, title.c_str());
    SetControlText(dialog, IDC_PRESCAN, LoadText(TXT_PRESCAN));
    SetControlText(dialog, IDC_SCAN, LoadText(TXT_SCAN));
    SetControlText(dialog, IDC_CANCEL_SCAN, L"&" + LoadText(TXT_CANCEL));
    SetControlText(dialog, IDC_INFO, LoadText(TXT_INFO));
    SetControlText(dialog, IDC_LOAD, LoadText(TXT_LOAD));
    SetControlText(dialog, IDC_SAVE, LoadText(TXT_SAVE));
    SetControlText(dialog, IDC_PREVIOUS, LoadText(TXT_PREVIOUS));
    SetControlText(dialog, IDC_RESET, LoadText(TXT_RESET));
}

// The main page under the tab strip.
void ShowMainPage(HWND dialog) {
    HWND page = CreateMainPage(dialog);
    RECT place{6, 24, 0, 0};
    MapDialogRect(dialog, &place);
    SetWindowPos(page, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

bool ButtonEnabled(HWND dialog, int control) { return IsWindowEnabled(GetDlgItem(dialog, control)) != FALSE; }

// Cancel and the close box: ask the host to close the source, unless a scan
// is running (its buttons are disabled then).
void CloseSequence(HWND dialog) {
    if (ButtonEnabled(dialog, IDC_SCAN) || ButtonEnabled(dialog, IDC_PRESCAN)) {
        KillTimer(dialog, kScanTimer);
        PostCloseRequest();
    }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            g_mainDialog.idle = true;
            LoadProfileSettings(ModelSectionName().c_str());
            MarkCalibrationDue();
            InitTexts(dialog);
            ShowMainPage(dialog);
            return TRUE;
        case WM_COMMAND:
            if (!g_mainDialog.idle) return TRUE;
            switch (LOWORD(wParam)) {
                case IDC_SCAN:
                    RunScanSequence(dialog);
                    break;
                case IDC_PRESCAN:
                    RunPrescanSequence(dialog);
                    break;
                case IDC_CANCEL_SCAN:
                    CloseSequence(dialog);
                    break;
                case IDC_LOAD:
                    g_settingsFileDialog.batchFiles = false;
                    RunLoadSettingsDialog(dialog);
                    break;
                case IDC_SAVE:
                    g_settingsFileDialog.batchFiles = false;
                    RunSaveSettingsDialog(dialog);
                    break;
            }
            return TRUE;
        case WM_CLOSE:
            if (g_mainDialog.idle) CloseSequence(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

HWND CreateMainDialog() {
    return CreateDialogParamW(g_moduleInstance, L"SCANNER", nullptr, MainDialogProc, 0);
}

void DestroyMainDialog() {
    if (g_twain.mainDialog) DestroyWindow(g_twain.mainDialog);
    g_twain.mainDialog = nullptr;
}

void EndOfScanUiReset() {
    HWND dialog = g_twain.mainDialog;
    if (!dialog) return;
    g_mainDialog.idle = true;
    KillTimer(dialog, kScanTimer);
    EnableWindow(GetDlgItem(dialog, IDC_SCAN), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_CANCEL_SCAN), TRUE);
    if (!(g_caps.feederPresent && g_caps.feederEnabled)) EnableWindow(GetDlgItem(dialog, IDC_PRESCAN), TRUE);
}

namespace {

void ContinueBatchAfter(UINT delayMs) { SetTimer(g_twain.mainDialog, kBatchContinueTimer, delayMs, nullptr); }

}  // namespace

const DialogLink g_dialogLink = {CreateMainDialog, DestroyMainDialog, EndOfScanUiReset, ContinueBatchAfter};
