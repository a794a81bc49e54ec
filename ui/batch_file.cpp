#include "ui/batch_file.h"

#include <string>
#include <vector>

#include "device/messages.h"
#include "engine/batch_file_keys.h"
#include "resources/resource_ids.h"
#include "settings/file_dialog.h"
#include "settings/profile_lookup.h"
#include "settings/profile_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "ui/batch_job_file.h"
#include "ui/batch_window.h"

namespace {

void UseBatchSteps() { g_settingsFileDialog = {true, LoadBatch, SaveBatch}; }

}  // namespace

int RunSaveBatchDialog(HWND owner) {
    UseBatchSteps();
    return RunSaveSettingsDialog(owner);
}

int RunLoadBatchDialog(HWND owner) {
    UseBatchSteps();
    return RunLoadSettingsDialog(owner);
}

// The jobs are written from their own records: the dialog's settings are
// never touched, so nothing needs restoring whatever fails.
bool SaveBatch(HWND dialog, const char* extension) {
    std::string path;
    if (!CreateFileToSave(dialog, extension, path)) return false;
    const std::string section = ModelSectionName();
    const std::vector<BatchJob>& jobs = g_batchWindow.list.jobs;
    WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, path.c_str());
    bool written = WriteProfileValues(section, path, BatchHeaderValues(jobs.size()));
    for (size_t i = 0; i < jobs.size() && written; ++i)
        written = WriteProfileValues(section, path, BatchJobValues(jobs[i], static_cast<int>(i)));
    // The profile layer may keep the writes: they must reach the file now.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    if (written) return true;
    ShowDeviceError(dialog, MSG_INVALID_FILE_NAME);
    return false;
}

bool LoadBatch(HWND dialog, const char* extension) {
    std::string path;
    if (!OpenFileToLoad(dialog, extension, path)) return false;
    const KeyLookup lookup = ProfileSectionLookup(ModelSectionName(), path);
    const size_t count = ReadTotalJobs(lookup);
    std::vector<BatchJob> jobs;
    g_batchWindow.list.fileCounter = 0;
    for (size_t i = 0; i < count; ++i) {
        BatchJob job = ReadBatchJob(lookup, static_cast<int>(i), g_scanSettings, g_savedTone);
        if (!NameJobFile(job)) break;
        jobs.push_back(job);
    }
    ReplaceJobList(jobs);
    return true;
}
