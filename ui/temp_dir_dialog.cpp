#include "ui/temp_dir_dialog.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "device/messages.h"
#include "engine/disk_space.h"
#include "profile/module_instance.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/image_setup.h"
#include "session/session.h"

namespace {

constexpr int kEdit = 7;
constexpr int kOk = 8;
constexpr int kCancel = 9;
constexpr size_t kMaxFileNamePart = 15;

struct DialogData {
    uint64_t imageBytes;
    std::string oldName;
};

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNamePartOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return (slash == std::string::npos ? path : path.substr(slash + 1)).substr(0, kMaxFileNamePart);
}

// The longest directory the edit takes: with the file name that follows it
// the whole name still fits a transfer file name.
constexpr size_t kMaxDirectoryChars = 239;

// A directory the dialog takes: a drive letter, a colon and a backslash
// first ("X:\..."), at most kMaxDirectoryChars characters in all.
bool NamesADrive(const std::string& directory) {
    return directory.size() >= 3 && directory.size() <= kMaxDirectoryChars &&
           std::isalpha(static_cast<unsigned char>(directory[0])) && directory[1] == ':' && directory[2] == '\\';
}

void InitDialog(HWND dialog, const DialogData& data) {
    std::string title = BrandText() + " " + ModelDisplayText() + " " +
                        SoftwareVersionText();
    SetWindowTextW(dialog, Widen(title).c_str());
    for (int line = 0; line < 4; ++line)
        SetDlgItemTextW(dialog, 1 + line, LoadText(MSG_TEMP_DRIVE_1 + line).c_str());
    SetDlgItemTextW(dialog, kOk, LoadText(TXT_OK).c_str());
    SetDlgItemTextW(dialog, kCancel, LoadText(TXT_CANCEL).c_str());
    std::string directory = DirectoryOf(data.oldName);
    std::transform(directory.begin(), directory.end(), directory.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    SendDlgItemMessageW(dialog, kEdit, EM_LIMITTEXT, kMaxDirectoryChars, 0);
    SetDlgItemTextA(dialog, kEdit, directory.c_str());
    EnableWindow(GetDlgItem(dialog, kOk), FALSE);
}

void UseName(const std::string& name) {
    lstrcpynA(g_setup.fileSetupDefault.FileName, name.c_str(), sizeof g_setup.fileSetupDefault.FileName);
}

// OK: the new directory with the old file name, if its drive has room. A
// text that names no drive is refused like a full disk, and nothing is kept.
bool Accept(HWND dialog, const DialogData& data) {
    char text[MAX_PATH] = {};
    GetDlgItemTextA(dialog, kEdit, text, MAX_PATH);
    std::string directory = text;
    if (!NamesADrive(directory)) {
        ShowDiskShortage(g_twain.parentWindow, 0, data.imageBytes);
        return false;
    }
    if (!directory.empty() && directory.back() == '\\') directory.pop_back();
    UseName(directory + "\\" + FileNamePartOf(data.oldName));
    uint64_t free = 0;
    if (FreeDiskBytesOf(g_setup.fileSetupDefault.FileName, free) && free >= data.imageBytes) return true;
    ShowDiskShortage(g_twain.parentWindow, free, data.imageBytes);
    UseName(data.oldName);
    return false;
}

INT_PTR CALLBACK TempDirProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<DialogData*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            InitDialog(dialog, *reinterpret_cast<DialogData*>(lParam));
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kEdit:
                    if (HIWORD(wParam) == EN_CHANGE) EnableWindow(GetDlgItem(dialog, kOk), TRUE);
                    return TRUE;
                case kOk:
                    EndDialog(dialog, Accept(dialog, *data) ? 1 : 0);
                    return TRUE;
                case kCancel:
                case IDCANCEL:
                    UseName(data->oldName);
                    EndDialog(dialog, 0);
                    return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            UseName(data->oldName);
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

bool RunTempDirDialog(HWND owner, uint64_t imageBytes) {
    DialogData data{imageBytes, g_setup.fileSetupDefault.FileName};
    INT_PTR chosen = DialogBoxParamW(g_moduleInstance, L"ChgTmpDrv", owner, TempDirProc,
                                     reinterpret_cast<LPARAM>(&data));
    if (owner) SetFocus(owner);
    return chosen == 1;
}
