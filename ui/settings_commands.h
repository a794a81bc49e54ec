// The main dialog's commands that replace the settings as a whole:
// "Previous" and "Reset", and what "Previous" goes back to.
#pragma once

#include <windows.h>

// Remembers the settings record and the saved tone block for "Previous"
// (when the dialog opens and when a scan starts).
void RememberPreviousSettings();

// "Previous": the remembered record becomes the dialog's, the remembered
// tone block becomes the saved, live and 36-bit copies; the pages are
// refreshed.
void RestorePreviousSettings();

// "Reset": the reset values (ApplyResetValues) with the hue-wheel point of
// the colour page; the pages are refreshed, and Scan, which 36-bit colour may
// have disabled, is enabled again.
void ResetSettings(HWND dialog);
