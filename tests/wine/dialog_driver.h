// Driving a modal dialog of the data source from a test: the dialog runs its
// own message loop, so the test's steps run from a thread timer that this
// loop dispatches once the dialog is up. Controls are operated by id, the
// way a user's clicks and keystrokes reach the dialog procedure.
//
//   int result = DriveDialog(IDC_LANGUAGE_LIST, [](HWND dialog) {
//       SelectLine(dialog, IDC_LANGUAGE_LIST, 1);
//       Click(dialog, IDC_LANGUAGE_OK);
//   }, [] { return RunLanguageDialog(nullptr); });
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "hostkit/source_install.h"
#include "tests/wine/ds_fixture.h"
#include "tests/wine/screenshot.h"

namespace dstest {

struct DialogScript {
    int control = 0;  // a control the awaited dialog has
    std::function<void(HWND)> steps;
    bool ran = false;
};

inline DialogScript& CurrentScript() {
    static DialogScript script;
    return script;
}

inline BOOL CALLBACK MatchScriptDialog(HWND window, LPARAM found) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window) ||
        !GetDlgItem(window, CurrentScript().control))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

inline void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), MatchScriptDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    KillTimer(nullptr, timer);
    CurrentScript().ran = true;
    CurrentScript().steps(dialog);
}

// Opens the dialog with `open` and runs `steps` on it once it shows; the
// steps must end the dialog. Returns what `open` returned.
inline int DriveDialog(int control, std::function<void(HWND)> steps, const std::function<int()>& open) {
    CurrentScript() = {control, std::move(steps), false};
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, ScriptTimer);
    const int result = open();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(CurrentScript().ran) << "the dialog did not show";
    return result;
}

// A button pressed with the mouse: nothing happens while it is disabled.
inline void Click(HWND dialog, int control) { SendDlgItemMessageW(dialog, control, BM_CLICK, 0, 0); }

inline void Notify(HWND dialog, int control, WORD notification) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(control, notification),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
}

inline void SelectLine(HWND dialog, int list, int line) {
    SendDlgItemMessageW(dialog, list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    Notify(dialog, list, LBN_SELCHANGE);
}

// Selects the line showing `text` and double-clicks it; false when there is none.
inline bool DoubleClickLine(HWND dialog, int list, const std::string& text) {
    LRESULT line = SendDlgItemMessageA(dialog, list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text.c_str()));
    if (line == LB_ERR) return false;
    SendDlgItemMessageW(dialog, list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    Notify(dialog, list, LBN_DBLCLK);
    return true;
}

// Typing into an edit field: the dialog sees EN_CHANGE.
inline void Type(HWND dialog, int control, const std::string& text) {
    SetDlgItemTextA(dialog, control, text.c_str());
}

inline std::string ControlText(HWND dialog, int control) {
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, control, text, 512);
    return Utf8(text);
}

inline std::string Title(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return Utf8(text);
}

// EndDialog only hides a dialog; its loop destroys it afterwards.
inline bool StillOpen(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

inline bool Enabled(HWND dialog, int control) { return IsWindowEnabled(GetDlgItem(dialog, control)) != FALSE; }

inline std::vector<std::string> ListLines(HWND dialog, int list) {
    std::vector<std::string> lines;
    const LRESULT count = SendDlgItemMessageW(dialog, list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        SendDlgItemMessageW(dialog, list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(Utf8(text));
    }
    return lines;
}


}  // namespace dstest
