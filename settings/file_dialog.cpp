#include "settings/file_dialog.h"

#include <vector>

#include "profile/module_instance.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/settings_file.h"

SettingsFileDialogMode g_settingsFileDialog;

namespace {

// One opening of a file dialog.
struct FileDialogRun {
    bool saving;
    const char* extension;  // "PAR" or "SET"
    std::string pattern;    // "*.PAR" or "*.SET"
};

FileDialogRun& Run(HWND dialog) { return *reinterpret_cast<FileDialogRun*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

void SetText(HWND dialog, int control, int number) { SetDlgItemTextW(dialog, control, LoadText(number).c_str()); }

void ShowPattern(HWND dialog, const std::string& pattern) {
    SetDlgItemTextA(dialog, IDC_FILE_PATTERN, pattern.c_str());
    SetDlgItemTextA(dialog, IDC_FILE_NAME, pattern.c_str());
}

void InitDialog(HWND dialog, FileDialogRun& run) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&run));
    SetWindowTextW(dialog, LoadText(run.saving ? TXT_SAVE_SETTINGS_TITLE : TXT_LOAD_SETTINGS_TITLE).c_str());
    SetText(dialog, IDC_FILE_FILES_LABEL, TXT_FILES);
    SetText(dialog, IDC_FILE_EXTENSION_LABEL, TXT_FILE_EXTENSION);
    SetText(dialog, IDC_FILE_NAME_LABEL, TXT_FILE_NAME);
    SetText(dialog, IDC_FILE_DIRECTORY_LABEL, TXT_DIRECTORY);
    SetText(dialog, IDC_FILE_DIRECTORIES_LABEL, TXT_DIRECTORIES);
    SetText(dialog, run.saving ? IDC_FILE_SAVE : IDC_FILE_LOAD, run.saving ? TXT_SAVE : TXT_LOAD);
    SetText(dialog, IDC_FILE_CANCEL, TXT_CANCEL);

    SetCurrentDirectoryA(InstallDirectory().c_str());
    ShowPattern(dialog, run.pattern);
    ListSettingsFiles(dialog, run.pattern);
}

// The selected entry of a list: a file name, or for the directory list a
// directory ("name\") or drive ("c:"), which DlgDirSelectEx reports by true.
bool SelectedEntry(HWND dialog, int list, std::string& entry) {
    char text[MAX_PATH] = {};
    const bool directory = DlgDirSelectExA(dialog, text, MAX_PATH, list);
    entry = text;
    return directory;
}

FileDialogStep StepOf(const FileDialogRun& run) {
    const SettingsFileDialogMode& mode = g_settingsFileDialog;
    const FileDialogStep batchStep = run.saving ? mode.saveBatch : mode.loadBatch;
    if (mode.batchFiles && batchStep) return batchStep;
    return run.saving ? SaveSettingsFile : LoadSettingsFile;
}

void RunStep(HWND dialog) {
    const FileDialogRun& run = Run(dialog);
    const FileDialogStep step = StepOf(run);
    if (step(dialog, run.extension)) EndDialog(dialog, 1);
}

void FilesCommand(HWND dialog, WORD notification) {
    if (notification != LBN_SELCHANGE && notification != LBN_DBLCLK) return;
    std::string name;
    if (SelectedEntry(dialog, IDC_FILE_FILES, name) || name.empty()) return;
    SetDlgItemTextA(dialog, IDC_FILE_NAME, name.c_str());
    if (notification == LBN_DBLCLK) RunStep(dialog);
}

void DirectoriesCommand(HWND dialog, WORD notification) {
    std::string directory;
    if (notification != LBN_DBLCLK || !SelectedEntry(dialog, IDC_FILE_DIRECTORIES, directory)) return;
    if (!SetCurrentDirectoryA(directory.c_str())) return;
    const FileDialogRun& run = Run(dialog);
    ShowPattern(dialog, run.pattern);
    ListSettingsFiles(dialog, run.pattern);
}

// The three frames are drawn sunken around their groups of controls.
void PaintFrames(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    for (int frame : {IDC_FILE_FRAME_NAME, IDC_FILE_FRAME_DIRECTORIES, IDC_FILE_FRAME_EXTENSION}) {
        RECT rect;
        GetWindowRect(GetDlgItem(dialog, frame), &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT);
    }
    EndPaint(dialog, &paint);
}

INT_PTR CALLBACK FileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitDialog(dialog, *reinterpret_cast<FileDialogRun*>(lParam));
            return TRUE;
        case WM_PAINT:
            PaintFrames(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_FILE_FILES:
                    FilesCommand(dialog, HIWORD(wParam));
                    return TRUE;
                case IDC_FILE_DIRECTORIES:
                    DirectoriesCommand(dialog, HIWORD(wParam));
                    return TRUE;
                case IDOK:
                case IDC_FILE_LOAD:
                case IDC_FILE_SAVE:
                    RunStep(dialog);
                    return TRUE;
                case IDCANCEL:
                case IDC_FILE_CANCEL:
                    EndDialog(dialog, 0);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

// The dialog moves through directories as the process's current directory
// (DlgDirList works that way); the host gets its own back afterwards.
int RunFileDialog(HWND owner, bool saving) {
    char hostDirectory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, hostDirectory);
    const bool batch = g_settingsFileDialog.batchFiles;
    FileDialogRun run{saving, batch ? "SET" : "PAR", batch ? "*.SET" : "*.PAR"};
    const INT_PTR result = DialogBoxParamW(g_moduleInstance, saving ? L"SAVE_SET" : L"LOAD_SET", owner,
                                           FileDialogProc, reinterpret_cast<LPARAM>(&run));
    SetCurrentDirectoryA(hostDirectory);
    return result == 1;
}

}  // namespace

int RunLoadSettingsDialog(HWND owner) { return RunFileDialog(owner, false); }

int RunSaveSettingsDialog(HWND owner) { return RunFileDialog(owner, true); }

void ListSettingsFiles(HWND dialog, const std::string& pattern) {
    // DlgDirList writes into the path it is given and changes into a directory
    // the pattern names.
    std::vector<char> files(pattern.begin(), pattern.end());
    files.resize(MAX_PATH, '\0');
    files.back() = '\0';
    DlgDirListA(dialog, files.data(), IDC_FILE_FILES, 0, DDL_READWRITE);
    char everything[] = "*.*";
    DlgDirListA(dialog, everything, IDC_FILE_DIRECTORIES, IDC_FILE_DIRECTORY,
                DDL_DRIVES | DDL_DIRECTORY | DDL_EXCLUSIVE);
}
