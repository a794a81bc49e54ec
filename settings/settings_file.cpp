#include "settings/settings_file.h"

#include <vector>

#include "device/messages.h"
#include "resources/resource_ids.h"
#include "settings/file_dialog.h"
#include "settings/file_name.h"
#include "settings/file_record.h"
#include "settings/profile_lookup.h"
#include "settings/profile_settings.h"
#include "settings/settings_record.h"

namespace {

std::string TypedName(HWND dialog) {
    HWND field = GetDlgItem(dialog, IDC_FILE_NAME);
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    GetWindowTextA(field, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// The name as a full path (relative names are in the directory the dialog
// shows, its current directory): the private-profile calls would otherwise
// look for a bare name in the Windows directory.
bool FullPath(const std::string& name, std::string& path) {
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(name.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= kMaxSettingsPath) return false;
    path = full;
    return true;
}

// The typed name checked and made a full path; false after its message.
bool CheckedPath(HWND dialog, const char* extension, bool loading, std::string& path) {
    const CheckedFileName checked = CheckSettingsFileName(TypedName(dialog), extension, loading);
    switch (checked.check) {
        case FileNameCheck::TooLong:
            ShowDeviceError(dialog, MSG_INVALID_PATH);
            return false;
        case FileNameCheck::Pattern:
            ListSettingsFiles(dialog, checked.name);
            return false;
        case FileNameCheck::WrongExtension:
            ShowDeviceError(dialog, MSG_INVALID_FILE_NAME);
            return false;
        case FileNameCheck::Accepted:
            break;
    }
    if (FullPath(checked.name, path)) return true;
    ShowDeviceError(dialog, MSG_INVALID_PATH);
    return false;
}

bool CanOpen(const std::string& path, DWORD access, DWORD creation) {
    HANDLE file = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

void WriteSettingsRecord(const std::string& section, const std::string& file, int n) {
    WriteProfileValues(section, file, FileRecordValues(g_scanSettings, g_savedTone, n));
}

void ReadSettingsRecord(const std::string& section, const std::string& file, int n) {
    ReadFileRecord(ProfileSectionLookup(section, file), n, g_scanSettings, g_savedTone);
}

bool OpenFileToLoad(HWND dialog, const char* extension, std::string& path) {
    if (!CheckedPath(dialog, extension, true, path)) return false;
    if (!CanOpen(path, GENERIC_READ, OPEN_EXISTING)) {
        ShowDeviceError(dialog, MSG_READ_FILE_FAILURE);
        return false;
    }
    if (ReadFileType(ProfileSectionLookup(ModelSectionName(), path)) != FileTypeForExtension(extension)) {
        ShowDeviceError(dialog, MSG_INVALID_FILE_NAME);
        return false;
    }
    return true;
}

bool CreateFileToSave(HWND dialog, const char* extension, std::string& path) {
    if (!CheckedPath(dialog, extension, false, path)) return false;
    // The profile layer may still hold the old file's keys: drop them, then
    // prove the file can be written and start it afresh.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    if (!CanOpen(path, GENERIC_WRITE, CREATE_ALWAYS)) {
        ShowDeviceError(dialog, MSG_INVALID_FILE_NAME);
        return false;
    }
    DeleteFileA(path.c_str());
    return true;
}

bool LoadSettingsFile(HWND dialog, const char* extension) {
    std::string path;
    if (!OpenFileToLoad(dialog, extension, path)) return false;
    ReadSettingsRecord(ModelSectionName(), path, 0);
    return true;
}

bool SaveSettingsFile(HWND dialog, const char* extension) {
    std::string path;
    if (!CreateFileToSave(dialog, extension, path)) return false;
    const std::string section = ModelSectionName();
    WriteProfileValues(section, path, {{"FileType", FileTypeText(FileTypeForExtension(extension))}});
    WriteSettingsRecord(section, path, 0);
    return true;
}
