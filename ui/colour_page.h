// The colour page (template 508), reached from the Enhancements page by its
// arrow: the hue wheel, the colour balance of the three pairs, saturation,
// the thumbnails and Preview.
#pragma once

#include <windows.h>

HWND CreateColourPage(HWND dialog);

// The labels in the current language.
void FillColourTexts(HWND page);

// The shown page after the settings were loaded, reset or restored: the
// edits not yet applied give way to them.
void RefreshColourPage(HWND page);

// The shown page takes the preview under the frame again for its thumbnails.
void RecropColourPage(HWND page);
