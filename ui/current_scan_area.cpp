#include "ui/current_scan_area.h"

#include <algorithm>
#include <iterator>

#include "device/device.h"
#include "session/capability_state.h"
#include "settings/settings_record.h"
#include "twain/cap_container.h"

uint16_t CurrentFeederPaper() {
    if (!(g_caps.feederPresent && g_caps.feederEnabled)) return 0;
    const TW_UINT32 index = g_caps.supportedSizeIndex;
    return FeederPaperForPageSize(index < std::size(kSupportedSizes) ? kSupportedSizes[index] : TWSS_NONE);
}

ScanAreaFigures CurrentScanAreaFigures() {
    const ScanSettings& s = g_scanSettings;
    ScanAreaInput in;
    std::copy(s.frame, s.frame + 4, in.frame);
    in.maxAreaWidth = g_device.maxAreaWidth;
    in.maxAreaLength = g_device.maxAreaLength;
    in.resolution = s.resolution;
    in.scaling = s.scaling;
    in.dpiScale = s.dpiScale;
    in.opticalResolution = g_device.opticalResolution;
    in.scanMode = s.scanMode;
    in.unit = s.unit;
    in.feederPaper = CurrentFeederPaper();
    return ComputeScanAreaFigures(in);
}
