// The main page (template 501) of the scanning dialog: scan mode, source,
// resolution, destination, quality factor, descreen, output matching, unit,
// the scan area's width and length, output scaling and image size, and the
// icons of the calibrator, the language and the lamp time-out.
#pragma once

#include <windows.h>

// Template 501 as a child of the main dialog; the caller positions and shows it.
HWND CreateMainPage(HWND mainDialog);

// Every control from the current settings and the current language (after
// Load, Previous, Reset or a change of language).
void RefreshMainPage(HWND page);

// Recomputes and shows the scan-area figures (after a change of the frame,
// the resolution, the scaling, the mode or the unit).
void UpdateScanAreaFigures(HWND page);

// Sent to the main dialog (wParam and lParam 0) after the user confirmed a
// new language from the page's language icon, so that it rebuilds its own
// texts, its other pages and the preview window's title; the page has
// rebuilt itself already.
constexpr UINT kLanguageChangedMessage = WM_APP + 0x150;
