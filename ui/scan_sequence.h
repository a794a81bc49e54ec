// The main dialog's "Scan" button: with the batch list open the next job
// first, then checks of the figures and the scan command with the dialog's
// settings. True when the scan started.
#pragma once

#include <windows.h>

bool RunScanSequence(HWND dialog);
