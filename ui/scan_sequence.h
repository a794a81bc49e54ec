// The main dialog's "Scan" button: checks of the figures, then the scan
// command with the dialog's settings.
#pragma once

#include <windows.h>

void RunScanSequence(HWND dialog);
