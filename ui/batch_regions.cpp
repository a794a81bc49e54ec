#include "ui/batch_regions.h"

#include <array>
#include <string>
#include <vector>

#include "device/device.h"
#include "device/messages.h"
#include "engine/preview_geometry.h"
#include "engine/region_detection.h"
#include "prescan/prescan_entry.h"
#include "profile/profile.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/settings_record.h"
#include "ui/batch_window.h"

namespace {

// The picture of the empty lid for the preview's resolution; it lies under
// "TWAIN", not "TWAIN_32", of the Windows directory.
std::string LidPicturePath(bool hiRes) {
    return WindowsDirectory() + "\\TWAIN\\KVSC_A3\\" + (hiRes ? "pat_h.BMP" : "pat_l.BMP");
}

}  // namespace

void MakeBatchJobsFromPreview(HWND dialog) {
    const ScanSettings& s = g_scanSettings;
    const bool hiRes = s.prescanHiRes != 0;
    const preview::Extent bed = preview::BedUnits(g_device.maxAreaWidth, g_device.maxAreaLength);
    const double scale = bed.width > 0 ? 11.7 / bed.width : 0.0;
    const detection::Result found = detection::DetectRegions(InstallDirectory() + "\\" + kPreviewFileName,
                                                             LidPicturePath(hiRes), s.scanSource, hiRes, scale);
    // The jobs go first (DeleteJob leaves one); each item found replaces or
    // follows it.
    std::vector<std::array<int32_t, 4>> frames;
    for (const detection::Region& region : found.regions)
        frames.push_back({region.left, region.top, region.right, region.bottom});
    ReplaceBatchJobs(frames);
    ApplySelectedJob();  // the dialog and the preview show the first job's frame
    if (found.outcome == detection::Outcome::kNoPattern) {
        g_twain.conditionCode = TWCC_OPERATIONERROR;
        ShowDeviceError(dialog, MSG_WRITE_FILE_ERROR);
    }
}
