// The "Scanning Status" window (template 800): a text and a percentage bar.
#include <string>

#include "device/window_placement.h"
#include "engine/job_state.h"
#include "engine/read_machinery.h"
#include "profile/module_instance.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"

namespace {

const COLORREF kBackground = RGB(192, 192, 192);
const COLORREF kBarColour = RGB(0, 0, 128);
const COLORREF kBarBackground = RGB(255, 255, 255);

int g_percent = 0;
int g_textId = 0;
HBRUSH g_backgroundBrush = nullptr;  // the progress window's, made and deleted with it

void DrawBar(const DRAWITEMSTRUCT& item) {
    RECT whole = item.rcItem;
    RECT filled = whole;
    filled.right = whole.left + (whole.right - whole.left) * g_percent / 100;
    RECT empty = whole;
    empty.left = filled.right;
    wchar_t label[8];
    wsprintfW(label, L"%d%%", g_percent);
    SetBkMode(item.hDC, TRANSPARENT);
    // The filled part shows the label in swapped colours.
    struct Part {
        RECT rect;
        COLORREF fill;
        COLORREF text;
    } parts[] = {{filled, kBarColour, kBarBackground}, {empty, kBarBackground, kBarColour}};
    for (const Part& part : parts) {
        HBRUSH brush = CreateSolidBrush(part.fill);
        FillRect(item.hDC, &part.rect, brush);
        DeleteObject(brush);
        HRGN clip = CreateRectRgnIndirect(&part.rect);
        SelectClipRgn(item.hDC, clip);
        SetTextColor(item.hDC, part.text);
        DrawTextW(item.hDC, label, -1, &whole, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectClipRgn(item.hDC, nullptr);
        DeleteObject(clip);
    }
}

INT_PTR CALLBACK ProgressProc(HWND, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            g_backgroundBrush = CreateSolidBrush(kBackground);
            return TRUE;
        case WM_DESTROY:
            // The window's brush goes with it: one kept for good would be
            // left behind each time the host unloads the source.
            DeleteObject(g_backgroundBrush);
            g_backgroundBrush = nullptr;
            return FALSE;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
            SetBkColor(reinterpret_cast<HDC>(lParam), kBackground);
            return reinterpret_cast<INT_PTR>(g_backgroundBrush);
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID != IDC_PROGRESS_BAR) return FALSE;
            DrawBar(item);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

HWND CreateProgressWindow() {
    HWND window = CreateDialogParamW(g_moduleInstance, MAKEINTRESOURCEW(IDD_PROGRESS), g_twain.mainDialog,
                                     ProgressProc, 0);
    if (!window) return nullptr;
    PlaceAtUpperThird(window);
    SetWindowTextW(window, LoadText(TXT_PERCENT_TITLE).c_str());
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

// The window (created on first use) with text `textId` and `percent`; false
// without a window.
bool UpdateProgress(int textId, int percent) {
    if (!g_twain.showUI) return false;
    if (!g_job.progressWindow) g_job.progressWindow = CreateProgressWindow();
    if (!g_job.progressWindow) return false;
    std::wstring text = LoadText(textId);
    if (textId == TXT_SCANNING) text += L" ...";
    SetDlgItemTextW(g_job.progressWindow, IDC_PROGRESS_TEXT, text.c_str());
    g_percent = percent > 100 ? 100 : percent;
    g_textId = textId;
    InvalidateRect(GetDlgItem(g_job.progressWindow, IDC_PROGRESS_BAR), nullptr, FALSE);
    UpdateWindow(g_job.progressWindow);
    return true;
}

int Percent(uint64_t done, uint64_t total) { return total ? static_cast<int>(done * 100 / total) : 0; }

}  // namespace

void ShowProgress(uint32_t count, int textId) {
    if (!UpdateProgress(textId, Percent(count, g_job.lines))) return;
    if (g_percent == 100) {
        DestroyProgressWindow();
        // The carriage takes this long to return.
        Sleep(static_cast<DWORD>(g_job.scanLengthInches * 10.0f / 17.0f * 1000.0f));
    }
}

void ShowStepProgress(uint32_t done, uint32_t total, int textId) {
    const int percent = Percent(done, total);
    // Redrawn when the figure changes, not for every row.
    if (g_job.progressWindow && percent == g_percent && textId == g_textId) return;
    if (UpdateProgress(textId, percent) && percent >= 100) DestroyProgressWindow();
}

void DestroyProgressWindow() {
    if (g_job.progressWindow) DestroyWindow(g_job.progressWindow);
    g_job.progressWindow = nullptr;
}
