// The main scanning dialog "SCANNER": created by MSG_ENABLEDS with the user
// interface, destroyed by MSG_CLOSEDS.
#pragma once

#include <windows.h>

#include <cstdint>

// Timers of the main dialog.
constexpr UINT_PTR kBatchContinueTimer = 3;
constexpr UINT_PTR kPreviewTimer = 4;
constexpr UINT_PTR kReadyPollTimer = 6;
constexpr UINT_PTR kScanTimer = 12;

// Asks the main dialog to show the page of template wParam (a page reached
// from another page's button rather than from a tab).
constexpr UINT kShowPageMessage = WM_APP + 1;

struct MainDialogState {
    bool idle = true;         // no prescan or scan is running; commands are ignored otherwise
    bool warmingUp = false;   // the ready poll runs: Scan and Prescan wait for the scanner
    uint32_t sourceAndSpeed = 0;  // the source-and-speed word the prescan module gets
    RECT windowRect{};        // where the dialog was last placed
};

extern MainDialogState g_mainDialog;

// Creates the modeless dialog (no owner); null when creation failed.
HWND CreateMainDialog();
void DestroyMainDialog();

// A scan or prescan starts (`idle` false) or ends: while one runs the dialog
// takes no keyboard or mouse input and ignores every command.
void SetDialogIdle(HWND dialog, bool idle);

// Enables or disables Scan and Prescan; Prescan stays disabled while the
// feeder is present and enabled.
void EnableScanAndPrescan(HWND dialog, BOOL enable);

// Marks the scan as finished: stops the scan timer and enables Scan, Cancel
// and, unless the feeder is present and enabled, Prescan.
void EndOfScanUiReset();
