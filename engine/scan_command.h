// The scan command: prepares the scanner for one image and, when the image is
// ready, posts MSG_XFERREADY. Lines are read later, while the host transfers.
#pragma once

#include <windows.h>

#include <cstdint>

#include "settings/scan_settings.h"

// Scans `frame` (units of 1/OpticalRate inch) with the settings record.
// `speedArgument` holds a speed value in its low half and the scan source in
// its high half (used with a transparency adapter). Returns true when the
// image is ready; on failure the user has seen why.
bool StartScanJob(HWND owner, uint32_t speedArgument, const ScanFrame& frame);
