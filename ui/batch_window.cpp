#include "ui/batch_window.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "profile/language.h"
#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/settings_record.h"
#include "ui/batch_file.h"
#include "ui/batch_job_file.h"
#include "ui/dialog_look.h"
#include "ui/page_host.h"
#include "ui/preview_window.h"
#include "ui/settings_commands.h"

BatchWindowState g_batchWindow;

namespace {

constexpr UINT_PTR kStatusTimer = 5;       // refreshes the status line while expanded
constexpr UINT kStatusInterval = 150;      // ms
constexpr UINT_PTR kDeleteBlinkTimer = 7;  // the Delete button blinks while it can act
constexpr UINT kDeleteBlinkInterval = 500;  // ms
constexpr int kFirstChineseLanguage = 6;
constexpr int kTabStops[] = {0, 18, 74, 120, 144};  // dialog units

// A button drawn from its pictures: up, pressed and disabled.
struct BitmapButton {
    int control;
    const wchar_t* up;
    const wchar_t* down;
    const wchar_t* disabled;
    int text;  // 0: a picture only
};

constexpr BitmapButton kButtons[] = {
    {IDC_BATCH_INFO, L"IDD_BINFO_BMPu", L"IDD_BINFO_BMPd", L"IDD_BINFO_BMPx", TXT_INFORMATION},
    {IDC_BATCH_SWITCH, L"IDD_BSWITCH_BMPu", L"IDD_BSWITCH_BMPd", L"IDD_BSWITCH_BMPx", TXT_BATCH_SWITCH},
    {IDC_BATCH_LOAD, L"IDD_BLOAD_BMPu", L"IDD_BLOAD_BMPd", L"IDD_BLOAD_BMPx", TXT_BATCH_LOAD},
    {IDC_BATCH_SAVE, L"IDD_BSAVE_BMPu", L"IDD_BSAVE_BMPd", L"IDD_BSAVE_BMPx", TXT_BATCH_SAVE},
    {IDC_BATCH_DUPLICATE, L"IDD_BDUP_BMPu", L"IDD_BDUP_BMPd", L"IDD_BDUP_BMPx", TXT_BATCH_DUPLICATE},
    {IDC_BATCH_NEW, L"IDD_BNEW_BMPu", L"IDD_BNEW_BMPd", L"IDD_BNEW_BMPx", TXT_BATCH_NEW},
    {IDC_BATCH_RENAME, L"IDD_BREN_BMPu", L"IDD_BREN_BMPd", L"IDD_BREN_BMPx", TXT_BATCH_RENAME},
    {IDC_BATCH_DELETE, L"IDD_BDEL_BMPu", L"IDD_BDEL_BMPd", L"IDD_BDEL_BMPx", TXT_BATCH_DELETE},
    {IDC_BATCH_CLOSE, L"IDD_BCLOSE_BMPu", L"IDD_BCLOSE_BMPd", L"IDD_BCLOSE_BMPx", 0},
};

const BitmapButton* ButtonOf(int control) {
    for (const BitmapButton& button : kButtons)
        if (button.control == control) return &button;
    return nullptr;
}

BatchList& List() { return g_batchWindow.list; }

HWND ListBox() { return GetDlgItem(g_batchWindow.window, IDC_BATCH_LIST); }

std::wstring FileNamePart(const char* path) {
    const std::string name = path;
    const size_t separator = name.find_last_of('\\');
    return Widen(separator == std::string::npos ? name : name.substr(separator + 1));
}

std::wstring ModeText(const BatchJob& job) {
    const int number = JobModeTextNumber(job.scanMode, job.colourKind);
    if (number != 0) return LoadText(number);
    return job.colourKind == kColourCmyk ? L"CMYK" : L"36-bit Color";
}

std::wstring JobLine(size_t index) {
    const BatchJob& job = List().jobs[index];
    const std::wstring name = g_twain.batchToFile ? FileNamePart(job.fileName) : LoadText(TXT_LABEL_UNTITLED);
    return std::to_wstring(index + 1) + L"\t" + name + L"\t" + ModeText(job) + L" \t " + Widen(job.dpiText) +
           LoadText(TXT_JOB_WAITING + static_cast<int>(job.status));
}

void SelectLine(size_t index) { SendMessageW(ListBox(), LB_SETCURSEL, index, 0); }

void RebuildLines() {
    SendMessageW(ListBox(), LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < List().jobs.size(); ++i)
        SendMessageW(ListBox(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(JobLine(i).c_str()));
    if (!List().jobs.empty()) SelectLine(List().current);
}

bool DeleteCanAct() { return List().jobs.size() > 1 && !List().running; }

// Timer 7 runs while Delete can act; the button shows disabled otherwise.
void UpdateDeleteBlink() {
    HWND window = g_batchWindow.window;
    if (DeleteCanAct()) {
        SetTimer(window, kDeleteBlinkTimer, kDeleteBlinkInterval, nullptr);
    } else {
        KillTimer(window, kDeleteBlinkTimer);
        g_batchWindow.deleteDown = false;
    }
    InvalidateRect(GetDlgItem(window, IDC_BATCH_DELETE), nullptr, TRUE);
}

bool ButtonEnabled(int control) {
    if (List().running) return false;
    if (control == IDC_BATCH_DELETE) return DeleteCanAct();
    return true;
}

void DrawButton(const DRAWITEMSTRUCT& item) {
    const BitmapButton* button = ButtonOf(static_cast<int>(item.CtlID));
    if (!button) return;
    const bool pressed = (button->control == IDC_BATCH_INFO && g_batchWindow.expanded) ||
                         (button->control == IDC_BATCH_DELETE && g_batchWindow.deleteDown);
    const wchar_t* name = !ButtonEnabled(button->control) ? button->disabled : pressed ? button->down : button->up;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(item.hDC, const_cast<RECT*>(&item.rcItem), pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    HBITMAP picture = LoadBitmapW(g_moduleInstance, name);
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    const int top = (item.rcItem.bottom - item.rcItem.top - size.bmHeight) / 2;
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(item.hDC, 2, top, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(picture);
    if (button->text == 0) return;
    RECT text = item.rcItem;
    text.left += size.bmWidth + 5;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(ButtonEnabled(button->control) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    HGDIOBJ font = SelectObject(item.hDC, reinterpret_cast<HFONT>(SendMessageW(g_batchWindow.window, WM_GETFONT, 0, 0)));
    const std::wstring caption = LoadText(button->text);
    DrawTextW(item.hDC, caption.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(item.hDC, font);
}

// The window's height: down to the status line, or to its bottom.
void ShowExpanded(bool expanded) {
    HWND window = g_batchWindow.window;
    g_batchWindow.expanded = expanded;
    RECT frame, line;
    GetWindowRect(window, &frame);
    GetWindowRect(GetDlgItem(window, IDC_BATCH_STATUS_LINE), &line);
    const int bottom = expanded ? line.bottom + GetSystemMetrics(SM_CYFIXEDFRAME) + 4 : line.top;
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    if (expanded) {
        SetTimer(window, kStatusTimer, kStatusInterval, nullptr);
    } else {
        KillTimer(window, kStatusTimer);
    }
    InvalidateRect(GetDlgItem(window, IDC_BATCH_INFO), nullptr, TRUE);
}

// The status line: the selected job's place in the list, its frame and output.
void RefreshStatusLine() {
    if (List().running) return;
    std::wstring text;
    if (!List().jobs.empty()) {
        const BatchJob& job = List().jobs[List().current];
        text = std::to_wstring(List().current + 1) + L" / " + std::to_wstring(List().jobs.size()) + L"   (" +
               std::to_wstring(job.frame[0]) + L", " + std::to_wstring(job.frame[1]) + L") - (" +
               std::to_wstring(job.frame[2]) + L", " + std::to_wstring(job.frame[3]) + L")   " +
               Widen(std::to_string(job.resolution)) + L" dpi";
        if (g_twain.batchToFile) text += L"\r\n" + Widen(job.fileName);
    }
    SetDlgItemTextW(g_batchWindow.window, IDC_BATCH_STATUS_LINE, text.c_str());
}

// The current settings as a job with `frame`, inserted after the selected
// one; its output file is named as it is added.
void AddJob(const int32_t (&frame)[4]) {
    if (List().jobs.size() >= kMaxBatchJobs) return;
    BatchJob job = JobFromSettings(g_scanSettings, g_scanSettings.tone, frame);
    if (!NameJobFile(job)) return;
    InsertJob(List(), job);
    RebuildLines();
    EnableBatchControls();
}

void CurrentFrame(int32_t (&frame)[4]) {
    for (int i = 0; i < 4; ++i) frame[i] = g_scanSettings.frame[i];
}

void DuplicateJob() {
    int32_t frame[4];
    CurrentFrame(frame);
    AddJob(frame);
}

void NewJob() {
    if (List().jobs.size() >= kMaxBatchJobs) return;
    ResetSettings(g_twain.mainDialog);
    g_toneStash = g_savedTone;
    int32_t frame[4];
    CurrentFrame(frame);
    AddJob(frame);
}

void DeleteJob() {
    if (!DeleteSelectedJob(List())) return;
    RebuildLines();
    EnableBatchControls();
}

void SwitchJob() {
    if (!SwapSelectedWithNext(List())) return;
    RebuildLines();
    ApplySelectedJob();
}

void LineChosen() {
    const LRESULT line = SendMessageW(ListBox(), LB_GETCURSEL, 0, 0);
    if (line == LB_ERR || static_cast<size_t>(line) >= List().jobs.size()) return;
    List().current = static_cast<size_t>(line);
    ApplySelectedJob();
}

void ScanToFileClicked() {
    g_twain.batchToFile = IsDlgButtonChecked(g_batchWindow.window, IDC_BATCH_TO_FILE) == BST_CHECKED;
    RebuildLines();
}

void Command(int control, WORD notification) {
    if (List().running) return;
    if (control == IDC_BATCH_LIST) {
        if (notification == LBN_SELCHANGE) LineChosen();
        return;
    }
    if (control == IDC_BATCH_TO_FILE) {
        if (notification == BN_CLICKED) ScanToFileClicked();
        return;
    }
    if (notification != STN_CLICKED || !ButtonEnabled(control)) return;
    switch (control) {
        case IDC_BATCH_INFO: ShowExpanded(!g_batchWindow.expanded); break;
        case IDC_BATCH_SWITCH: SwitchJob(); break;
        case IDC_BATCH_LOAD: RunLoadBatchDialog(g_batchWindow.window); break;
        case IDC_BATCH_SAVE: RunSaveBatchDialog(g_batchWindow.window); break;
        case IDC_BATCH_DUPLICATE: DuplicateJob(); break;
        case IDC_BATCH_NEW: NewJob(); break;
        case IDC_BATCH_RENAME: RenameJobFile(); break;
        case IDC_BATCH_DELETE: DeleteJob(); break;
        case IDC_BATCH_CLOSE: CloseBatchWindow(); break;
        default: break;
    }
}

void Timer(UINT_PTR timer) {
    if (timer == kStatusTimer) RefreshStatusLine();
    if (timer == kDeleteBlinkTimer) {
        g_batchWindow.deleteDown = !g_batchWindow.deleteDown;
        InvalidateRect(GetDlgItem(g_batchWindow.window, IDC_BATCH_DELETE), nullptr, FALSE);
    }
}

void InitTexts(HWND window) {
    SetWindowTextW(window, LoadText(TXT_LABEL_BATCH_JOB_LIST).c_str());
    SetDlgItemTextW(window, IDC_BATCH_TO_FILE, LoadText(TXT_LABEL_SCAN_TO_FILE).c_str());
    for (const BitmapButton& button : kButtons)
        if (button.text) SetDlgItemTextW(window, button.control, LoadText(button.text).c_str());
}

// Placed with its left edge at the middle of the main dialog and its top at
// half of the dialog's bottom, collapsed to the list and buttons.
void InitWindow(HWND window, HWND mainDialog) {
    g_batchWindow.window = window;
    g_batchWindow.expanded = false;
    g_batchWindow.deleteDown = false;
    List() = BatchList{};
    g_twain.batchListOpen = true;
    g_twain.batchToFile = false;
    g_twain.batchError = false;
    InitTexts(window);
    RECT main{};
    if (GetWindowRect(mainDialog, &main))
        SetWindowPos(window, nullptr, (main.left + main.right) / 2, main.bottom / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowExpanded(false);
    SendMessageW(ListBox(), LB_RESETCONTENT, 0, 0);
    SendMessageW(ListBox(), LB_SETTABSTOPS, std::size(kTabStops), reinterpret_cast<LPARAM>(kTabStops));
    CheckDlgButton(window, IDC_BATCH_TO_FILE, BST_UNCHECKED);
    EnableWindow(GetDlgItem(window, IDC_BATCH_TO_FILE), FALSE);
}

INT_PTR CALLBACK BatchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitWindow(window, reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_TIMER:
            Timer(wParam);
            return TRUE;
        case WM_DRAWITEM:
            DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CLOSE:
            if (!List().running) CloseBatchWindow();
            return TRUE;
        default:
            return PaintGrey(message, wParam);
    }
}

}  // namespace

void OpenBatchWindow(HWND mainDialog) {
    if (g_batchWindow.window) {
        SetWindowPos(g_batchWindow.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        UpdateCurrentBatchJob();
        return;
    }
    const wchar_t* name = g_language.index >= kFirstChineseLanguage ? L"BSCAN_C" : L"BSCAN";
    HWND window = CreateDialogParamW(g_moduleInstance, name, mainDialog, BatchWindowProc,
                                     reinterpret_cast<LPARAM>(mainDialog));
    if (window) ShowWindow(window, SW_SHOW);
}

void ToggleBatchWindow(HWND mainDialog) {
    if (!g_batchWindow.window)
        OpenBatchWindow(mainDialog);
    else if (!List().running)
        CloseBatchWindow();
}

void CloseBatchWindow() {
    HWND window = g_batchWindow.window;
    if (!window) return;
    KillTimer(window, kStatusTimer);
    KillTimer(window, kDeleteBlinkTimer);
    g_batchWindow.window = nullptr;
    DestroyWindow(window);
    List() = BatchList{};
    g_twain.batchListOpen = false;
    g_twain.batchToFile = false;
    g_twain.batchError = false;
}

void UpdateCurrentBatchJob() {
    if (!g_batchWindow.window || List().running || List().jobs.empty()) return;
    BatchJob& job = List().jobs[List().current];
    int32_t frame[4];
    CurrentFrame(frame);
    BatchJob updated = JobFromSettings(g_scanSettings, g_scanSettings.tone, frame);
    std::copy(std::begin(job.fileName), std::end(job.fileName), updated.fileName);
    updated.status = job.status;
    job = updated;
    RedrawJobLine(List().current);
}

void AddBatchRegion(const std::array<int32_t, 4>& region) {
    if (!g_batchWindow.window) return;
    int32_t frame[4] = {region[0], region[1], region[2], region[3]};
    NormaliseJobFrame(frame);
    AddJob(frame);
}

void ReplaceBatchJobs(const std::vector<std::array<int32_t, 4>>& frames) {
    if (!g_batchWindow.window || List().running) return;
    List().current = 0;
    while (List().jobs.size() > 1) DeleteJob();
    bool first = true;
    size_t added = 0;
    for (const auto& region : frames) {
        if (added == kMaxStoredJobs) break;
        if (first && !List().jobs.empty()) {
            int32_t frame[4] = {region[0], region[1], region[2], region[3]};
            NormaliseJobFrame(frame);
            BatchJob& kept = List().jobs[0];
            BatchJob job = JobFromSettings(g_scanSettings, g_scanSettings.tone, frame);
            std::copy(std::begin(kept.fileName), std::end(kept.fileName), job.fileName);
            kept = job;
            RedrawJobLine(0);
        } else {
            AddBatchRegion(region);
        }
        first = false;
        ++added;
    }
    if (!List().jobs.empty()) {
        List().current = 0;
        SelectLine(0);
    }
}

void ReplaceJobList(const std::vector<BatchJob>& jobs) {
    List().jobs = jobs;
    List().current = 0;
    RebuildLines();
    ApplySelectedJob();
    EnableBatchControls();
}

void RedrawJobLine(size_t index) {
    if (!g_batchWindow.window || index >= List().jobs.size()) return;
    HWND list = ListBox();
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    SendMessageW(list, LB_DELETESTRING, index, 0);
    SendMessageW(list, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(JobLine(index).c_str()));
    if (selected != LB_ERR) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void ApplySelectedJob() {
    if (List().jobs.empty()) return;
    SelectLine(List().current);
    ApplyJobToSettings(List().jobs[List().current], g_scanSettings, g_savedTone);
    RefreshPages();
    RedrawPreview();
}

void EnableBatchControls() {
    HWND window = g_batchWindow.window;
    if (!window) return;
    const BOOL idle = List().running ? FALSE : TRUE;
    EnableWindow(ListBox(), idle);
    EnableWindow(GetDlgItem(window, IDC_BATCH_TO_FILE), idle && !List().jobs.empty() ? TRUE : FALSE);
    UpdateDeleteBlink();
    for (const BitmapButton& button : kButtons) InvalidateRect(GetDlgItem(window, button.control), nullptr, TRUE);
}
