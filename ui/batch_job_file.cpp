#include "ui/batch_job_file.h"

#include <commdlg.h>
#include <lzexpand.h>

#include <string>

#include "device/messages.h"
#include "engine/work_file.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "ui/batch_window.h"

namespace {

// The temporary directory as GetTempFileName names it: a file made with the
// prefix "BAT", deleted again, its name cut after the last backslash.
std::string TemporaryDirectory() {
    char directory[MAX_PATH] = {};
    char file[MAX_PATH] = {};
    if (!GetTempPathA(MAX_PATH, directory) || !GetTempFileNameA(directory, "BAT", 0, file)) return {};
    DeleteFileA(file);
    std::string name = file;
    return name.substr(0, name.find_last_of('\\') + 1);
}

bool FileExists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

void StoreName(BatchJob& job, const std::string& name) {
    lstrcpynA(job.fileName, name.c_str(), sizeof job.fileName);
}

}  // namespace

bool NameJobFile(BatchJob& job) {
    const std::string name =
        NextJobFileName(g_batchWindow.list, TemporaryDirectory(), LoadTextA(TXT_TIF_EXTENSION), FileExists);
    if (name.empty()) {
        ShowDeviceError(g_batchWindow.window, MSG_INVALID_PATH);
        return false;
    }
    StoreName(job, name);
    return true;
}

void RenameJobFile() {
    BatchList& list = g_batchWindow.list;
    if (list.jobs.empty()) return;
    BatchJob& job = list.jobs[list.current];
    char name[sizeof job.fileName] = {};
    lstrcpynA(name, job.fileName, sizeof name);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = g_batchWindow.window;
    dialog.lpstrFilter = "TIFF (*.TIF)\0*.TIF\0";
    dialog.lpstrFile = name;
    dialog.nMaxFile = sizeof name;
    dialog.lpstrDefExt = "TIF";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetSaveFileNameA(&dialog)) return;
    StoreName(job, name);
    RedrawJobLine(list.current);
}

void CopyToJobFile() {
    const BatchList& list = g_batchWindow.list;
    if (list.jobs.empty()) return;
    OFSTRUCT sourceInfo{};
    OFSTRUCT targetInfo{};
    std::string scanned = CloseFinishedWorkFile();
    const INT source = scanned.empty() ? -1 : LZOpenFileA(scanned.data(), &sourceInfo, OF_READ);
    const INT target =
        source < 0 ? -1 : LZOpenFileA(const_cast<char*>(list.jobs[list.current].fileName), &targetInfo, OF_CREATE);
    const bool copied = target >= 0 && CopyLZFile(source, target) >= 0;
    if (target >= 0) LZClose(target);
    if (source >= 0) LZClose(source);
    if (!copied) g_twain.batchError = true;
}
