#include "ui/current_scan_area.h"

#include <algorithm>

#include "device/device.h"
#include "settings/settings_record.h"

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
    return ComputeScanAreaFigures(in);
}
