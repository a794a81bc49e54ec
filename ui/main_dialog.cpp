#include "ui/main_dialog.h"

#include <string>

#include "device/device.h"
#include "device/dialog_link.h"
#include "device/messages.h"
#include "device/remote_scanner.h"
#include "engine/calibration.h"
#include "engine/dialog_settings.h"
#include "engine/read_machinery.h"
#include "profile/module_instance.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "session/notify.h"
#include "session/session.h"
#include "settings/file_dialog.h"
#include "settings/profile_settings.h"
#include "settings/settings_record.h"
#include "ui/batch_run.h"
#include "ui/batch_window.h"
#include "ui/context_help.h"
#include "ui/dialog_look.h"
#include "ui/info_dialog.h"
#include "ui/main_page.h"
#include "ui/page_host.h"
#include "ui/prescan_sequence.h"
#include "ui/preview_window.h"
#include "ui/scan_sequence.h"
#include "ui/settings_commands.h"

MainDialogState g_mainDialog;

namespace {

constexpr UINT kReadyPollInterval = 500;  // ms

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

// The class icon, set on this window only: the dialog class is shared with
// every other dialog of the host's process.
void SetIcon(HWND dialog) {
    HICON icon = LoadIconW(g_moduleInstance, L"IDMAIN");
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

// The source the dialog starts with: a stored feeder source switches the
// feeder on; the speed byte keeps its speed code only.
void StartSourceAndSpeed() {
    ScanSettings& s = g_scanSettings;
    const SourceAndSpeed start = StartingSourceAndSpeed(false, s.scanSource, s.velocity, g_caps.feederEnabled != 0);
    g_mainDialog.sourceAndSpeed = start.word;
    s.scanSource = start.scanSource;
    s.velocity = start.velocity;
    g_caps.feederEnabled = start.feederEnabled ? 1 : 0;
}

// A scanner still warming up: Scan and Prescan wait for the ready poll.
void StartReadyPoll(HWND dialog) {
    g_mainDialog.warmingUp = PollReadinessOnce() == Readiness::Busy;
    if (!g_mainDialog.warmingUp) return;
    EnableScanAndPrescan(dialog, FALSE);
    SetTimer(dialog, kReadyPollTimer, kReadyPollInterval, nullptr);
}

void ReadyPollTick(HWND dialog) {
    const Readiness readiness = PollReadinessOnce();
    if (readiness == Readiness::Busy) return;
    KillTimer(dialog, kReadyPollTimer);
    g_mainDialog.warmingUp = false;
    if (readiness == Readiness::Failed) ShowDeviceError(dialog, MSG_SCANNER_FAULT);
    EnableScanAndPrescan(dialog, TRUE);
}

void InitDialog(HWND dialog) {
    g_mainDialog.idle = true;
    CreateGreyBrush();
    SetIcon(dialog);
    LoadProfileSettings(ModelSectionName().c_str());
    MarkCalibrationDue();
    RememberPreviousSettings();
    CreatePages(dialog);
    CreatePreviewWindow(dialog);
    InitTexts(dialog);
    GetWindowRect(dialog, &g_mainDialog.windowRect);
    StartSourceAndSpeed();
    StartReadyPoll(dialog);
}

void StopTimers(HWND dialog) {
    for (UINT_PTR timer : {kBatchContinueTimer, kPreviewTimer, kReadyPollTimer, kScanTimer}) KillTimer(dialog, timer);
    g_mainDialog.warmingUp = false;
}

// Everything the dialog made besides its own controls. Safe to call again.
void ReleaseDialogResources(HWND dialog) {
    StopTimers(dialog);
    LeaveHelpMode(dialog);
    DestroyProgressWindow();
    CloseBatchWindow();
    DestroyPages();
    DestroyPreviewWindow();
    DeleteGreyBrush();
    g_preview.file.clear();
    g_preview.file.shrink_to_fit();
    g_preview.bitmap = {};
    g_preview.crop = {};
    g_preview.shown.clear();
    g_preview.shown.shrink_to_fit();
    g_preview.reprocess = true;
}

// Cancel and the close box. Nothing happens while a scan holds the buttons;
// otherwise the custom resolutions are kept, the dialog's windows and
// drawing objects released, and the host asked to close the source.
void CloseSequence(HWND dialog) {
    const bool scanning = !g_mainDialog.warmingUp && !IsWindowEnabled(GetDlgItem(dialog, IDC_SCAN)) &&
                          !IsWindowEnabled(GetDlgItem(dialog, IDC_PRESCAN));
    if (scanning) return;
    StopTimers(dialog);
    EndRemoteConnection();
    SaveCustomResolutions();
    ReleaseDialogResources(dialog);
    PostCloseRequest();
}

void LoadSettingsCommand(HWND dialog) {
    g_settingsFileDialog.batchFiles = false;
    if (RunLoadSettingsDialog(dialog)) RefreshPages();
}

void Command(HWND dialog, int control) {
    switch (control) {
        case IDC_SCAN: RunScanSequence(dialog); break;
        case IDC_PRESCAN: RunPrescanSequence(dialog); break;
        case IDC_CANCEL_SCAN: CloseSequence(dialog); break;
        case IDC_INFO: RunInformationDialog(dialog); break;
        case IDC_LOAD: LoadSettingsCommand(dialog); break;
        case IDC_SAVE:
            g_settingsFileDialog.batchFiles = false;
            RunSaveSettingsDialog(dialog);
            break;
        case IDC_PREVIOUS: RestorePreviousSettings(); break;
        case IDC_RESET:
            ResetSettings(dialog);
            UpdateCurrentBatchJob();
            break;
        case IDC_MP_BATCH_SCAN: OpenBatchWindow(dialog); break;
        case IDC_QUICKHELP: EnterHelpMode(dialog); break;
        default: break;
    }
}

int PageOf(HWND window) { return PageNumberOf(g_twain.mainDialog, window); }

void LeftButtonDown(HWND dialog, LPARAM lParam) {
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (InHelpMode()) {
        HelpModeClick(dialog, point, PageOf);
    } else if (g_mainDialog.idle) {
        ClickTabStrip(dialog, point);
    }
}

void DrawItem(HWND dialog, const DRAWITEMSTRUCT& item) {
    if (item.CtlID == IDC_TABSTRIP) DrawTabStrip(dialog, item);
    if (item.CtlID == IDC_QUICKHELP) DrawQuickHelpButton(item);
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitDialog(dialog);
            return TRUE;
        case WM_COMMAND:
            if (g_mainDialog.idle) Command(dialog, LOWORD(wParam));
            return TRUE;
        case WM_TIMER:
            if (wParam == kReadyPollTimer) ReadyPollTick(dialog);
            if (wParam == kPreviewTimer) PreviewBlinkTick();
            if (wParam == kBatchContinueTimer) BatchContinueTick(dialog);
            return TRUE;
        case WM_DRAWITEM:
            DrawItem(dialog, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_LBUTTONDOWN:
            LeftButtonDown(dialog, lParam);
            return TRUE;
        case WM_MOUSEMOVE:
            if (InHelpMode()) KeepHelpCursor();
            return TRUE;
        case kLanguageChangedMessage:
            InitTexts(dialog);
            RetranslatePages(dialog);
            RetitlePreviewWindow();
            return TRUE;
        case kShowPageMessage:
            if (g_mainDialog.idle) ShowPage(dialog, static_cast<int>(wParam));
            return TRUE;
        case WM_CLOSE:
            if (g_mainDialog.idle) CloseSequence(dialog);
            return TRUE;
        case WM_MOVE:
            GetWindowRect(dialog, &g_mainDialog.windowRect);
            return TRUE;
        case WM_DESTROY:
            ReleaseDialogResources(dialog);
            return FALSE;
        default:
            return PaintGrey(message, wParam);
    }
}

}  // namespace

void EnableScanAndPrescan(HWND dialog, BOOL enable) {
    EnableWindow(GetDlgItem(dialog, IDC_SCAN), enable);
    EnableWindow(GetDlgItem(dialog, IDC_PRESCAN),
                 enable && !(g_caps.feederPresent && g_caps.feederEnabled) ? TRUE : FALSE);
}

HWND CreateMainDialog() {
    return CreateDialogParamW(g_moduleInstance, L"SCANNER", nullptr, MainDialogProc, 0);
}

void DestroyMainDialog() {
    if (g_twain.mainDialog) DestroyWindow(g_twain.mainDialog);
    g_twain.mainDialog = nullptr;
}

void SetDialogIdle(HWND dialog, bool idle) {
    g_mainDialog.idle = idle;
    EnableWindow(dialog, idle ? TRUE : FALSE);
}

void EndOfScanUiReset() {
    HWND dialog = g_twain.mainDialog;
    if (!dialog) return;
    SetDialogIdle(dialog, true);
    KillTimer(dialog, kScanTimer);
    EnableWindow(GetDlgItem(dialog, IDC_SCAN), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_CANCEL_SCAN), TRUE);
    if (!(g_caps.feederPresent && g_caps.feederEnabled)) EnableWindow(GetDlgItem(dialog, IDC_PRESCAN), TRUE);
}

namespace {

void ContinueBatchAfter(UINT delayMs) { SetTimer(g_twain.mainDialog, kBatchContinueTimer, delayMs, nullptr); }

}  // namespace

const DialogLink g_dialogLink = {CreateMainDialog, DestroyMainDialog, EndOfScanUiReset,
                                 ContinueBatchAfter, AbortBatch,       NextBatchEntryToFile};
