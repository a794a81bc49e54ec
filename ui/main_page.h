// The main page of the main dialog (template 501): scan mode, source,
// resolution, destination and the scan-area figures.
#pragma once

#include <windows.h>

// Creates the page as a hidden child of the main dialog; null on failure.
HWND CreateMainPage(HWND mainDialog);

// Shows the current settings in the page's controls.
void RefreshMainPage(HWND page);

// Recomputes the scan-area figures the page shows.
void UpdateScanAreaFigures(HWND page);
