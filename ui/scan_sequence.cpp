#include "ui/scan_sequence.h"

#include "device/device.h"
#include "device/messages.h"
#include "engine/disk_space.h"
#include "engine/frame_units.h"
#include "engine/job_state.h"
#include "engine/scan_command.h"
#include "resources/resource_ids.h"
#include "session/image_setup.h"
#include "session/session.h"
#include "settings/profile_settings.h"
#include "settings/settings_record.h"
#include "ui/batch_run.h"
#include "ui/current_scan_area.h"
#include "ui/main_dialog.h"
#include "ui/settings_commands.h"
#include "ui/temp_dir_dialog.h"

namespace {

constexpr uint64_t kColourLineLimit = 10666;
constexpr uint64_t kLineLimit = 32000;

void EnableScanButtons(HWND dialog, BOOL enable) {
    for (int control : {IDC_SCAN, IDC_PRESCAN, IDC_CANCEL_SCAN}) EnableWindow(GetDlgItem(dialog, control), enable);
}

// A scan refused before it started; a batch run stops with it, since every
// further job would only be refused the same way.
bool Refused() {
    AbortBatch();
    return false;
}

}  // namespace

bool RunScanSequence(HWND dialog) {
    RememberPreviousSettings();
    if (g_twain.batchListOpen && !AdvanceJob()) return false;
    const ScanSettings& s = g_scanSettings;
    const ScanAreaFigures area = CurrentScanAreaFigures();
    if (area.imageBytes < kMinImageBytes) {
        ShowDeviceError(dialog, MSG_AREA_TOO_SMALL);
        return Refused();
    }
    if (area.widthPixels > kMaxScanPixels) {
        MessageBoxA(dialog, "The Number of width pixels must less than 30000", "", MB_OK);
        return Refused();
    }
    if (area.lengthPixels > kMaxScanPixels) {
        MessageBoxA(dialog, "The Number of length pixels must less than 30000", "", MB_OK);
        return Refused();
    }
    uint64_t free = 0;
    if (!FreeDiskBytesOf(g_setup.fileSetupDefault.FileName, free)) {
        ShowDeviceError(g_twain.parentWindow, MSG_WRITE_FILE_ERROR);
        return Refused();
    }
    if (free < area.imageBytes) {
        ShowDiskShortage(g_twain.parentWindow, free, area.imageBytes);
        if (!RunTempDirDialog(dialog, area.imageBytes)) return Refused();
    }

    EnableScanButtons(dialog, FALSE);
    SetDialogIdle(dialog, false);
    SetTimer(dialog, kScanTimer, 1000, nullptr);
    if (area.widthPixels >= (s.scanMode == kModeColour ? kColourLineLimit : kLineLimit)) {
        ShowBufferShortage(g_twain.parentWindow);
        EndOfScanUiReset();
        return Refused();
    }
    g_job.imageSizeEstimate = area.imageBytes;
    g_job.scanLengthInches = static_cast<float>(area.lengthInches);
    // With the feeder in use the paper size is scanned, not the preview frame.
    uint16_t feederFrame[4];
    const bool feeder = FeederPaperFrame(CurrentFeederPaper(), feederFrame);
    ScanFrame frame = PreviewFrameToOptical(feeder ? feederFrame : s.frame, g_device.opticalResolution,
                                            g_device.maxAreaWidth, g_device.maxAreaLength);
    if (!StartScanJob(dialog, 0, frame)) {
        // The job is shown cancelled and the run goes on with the next one.
        if (g_twain.batchListOpen) g_twain.batchError = true;
        EndOfScanUiReset();
        return false;
    }
    const int saved[4] = {s.frame[0], s.frame[1], s.frame[2], s.frame[3]};
    SaveProfileSettings(saved);
    return true;
}
