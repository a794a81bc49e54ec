// The one entry of PRESCAN.DLL, as the data source calls it after loading the
// library by name.
#pragma once

#include <windows.h>

#include <cstdint>

#include "prescan/prescan_plan.h"

// Six words, zero but for one: the caller judges a prescan by the bitmap file
// alone, and closes its remote connection when the word kResultLinkLost is 1
// (the module never closes the connection it borrowed).
struct PrescanResult {
    uint32_t words[6];
};
constexpr size_t kResultLinkLost = 0;

// (owner window, the dialog's prescan area, source-and-speed word, progress
// record, progress callback, language index, letter model, options, the
// calibration record, the live tone settings, the remote socket or 0). The
// area, progress record, callback and tone settings are not read.
using PreScanImageFn = PrescanResult(WINAPI*)(HWND owner, RECT* area, uint32_t sourceWord, void* progress,
                                              FARPROC progressCallback, uint32_t language, uint32_t letterModel,
                                              prescan::Options options, uint8_t* calibrationRecord,
                                              void* toneSettings, uintptr_t remoteSocket);

// The preview bitmap's name in the installation directory.
constexpr const char* kPreviewFileName = "ORVC0000.BMP";
