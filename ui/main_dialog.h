// The main scanning dialog "SCANNER": created by MSG_ENABLEDS with the user
// interface, destroyed by MSG_CLOSEDS.
#pragma once

#include <windows.h>

// Timers of the main dialog.
constexpr UINT_PTR kBatchContinueTimer = 3;
constexpr UINT_PTR kPreviewTimer = 4;
constexpr UINT_PTR kScanTimer = 12;

struct MainDialogState {
    bool idle = true;  // no prescan or scan is running; commands are ignored otherwise
};

extern MainDialogState g_mainDialog;

// Creates the modeless dialog (no owner); null when creation failed.
HWND CreateMainDialog();
void DestroyMainDialog();

// Marks the scan as finished: stops the scan timer and enables Scan, Cancel
// and, unless the feeder is present and enabled, Prescan.
void EndOfScanUiReset();
