// The image description reported to the host (TW_IMAGEINFO), and the
// parameters the unattended scan takes from the negotiated values: the scan
// frame from the image layout and the resolution from its list index.
#pragma once

#include <cstdint>
#include <optional>

#include "settings/scan_settings.h"
#include "twain/twain.h"

// The image as it will be delivered (the processing plan of the scan gives
// its size), beside the settings record.
struct ImageJob {
    uint32_t width;              // pixels of a delivered row
    uint32_t length;             // rows delivered
    uint32_t enlargement;        // the resampler's factor, 1 when the image is not enlarged
    uint16_t opticalResolution;  // as the device reports it: 600, 606, 800 or 1200
    bool winFaxHost;             // the host is one of the two fax programs
};

// The description of the image just scanned: its size as delivered, the
// reported resolution and the pixel format of the mode. Empty for a scan
// mode or colour kind that has no description.
std::optional<TW_IMAGEINFO> ComputeImageInfo(const ScanSettings& settings, const ImageJob& job);

// The unattended scan's frame: the layout's edges, taken as inches whatever
// the negotiated units, clamped to the scanner's maximum area (inches) and
// converted to optical units. A layout whose Right or Bottom is 0 stands for
// the fixed default area. Empty when the frame is inverted or empty.
std::optional<ScanFrame> LayoutToOpticalFrame(const TW_FRAME& layout, uint16_t opticalResolution,
                                              double maxAreaWidth, double maxAreaLength);

// Resolution for the negotiated resolution index: the resolution list, 300
// for an index beyond it, and 200 instead of 300 at index 4 for fax hosts.
uint16_t UnattendedResolution(uint32_t resolutionIndex, bool winFaxHost);
