// The dialog keeps the scan frame in preview units (30 per inch); the scan
// command works in units of 1/OpticalRate inch.
#pragma once

#include <cstdint>

#include "settings/scan_settings.h"

constexpr int kPreviewUnitsPerInch = 30;

// The frame's edges ordered and clamped to the bed (maxWidth x maxLength
// inches), then converted: optical = preview x rate / 30.
ScanFrame PreviewFrameToOptical(const uint16_t frame[4], uint16_t opticalResolution, float maxWidth,
                                float maxLength);

// Width and length of the frame in inches, edges ordered.
double FrameWidthInches(const uint16_t frame[4]);
double FrameLengthInches(const uint16_t frame[4]);
