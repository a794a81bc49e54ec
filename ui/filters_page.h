// The Filters page (template 506): one radio button per `filterMode`, and
// an example of the chosen filter: the stored sample picture as "Original"
// and the same picture through the filter as "Sample".
#pragma once

#include <windows.h>

HWND CreateFiltersPage(HWND dialog);

// The labels and filter names in the current language.
void FillFiltersTexts(HWND page);

// The buttons the scan mode allows: line art takes Invert only of the
// filters (the choices from Blur to Emboss go back to None); the other modes
// take every filter. `modeChosen`: the user has just chosen the mode, and a
// choice of 36-bit colour sets the filter back to None.
void AdaptFiltersToMode(HWND page, bool modeChosen);
