// The about page of the main dialog (template 504): product, version,
// firmware revision, the maker's line and the brand's picture.
#pragma once

#include <windows.h>

// Creates the page as a hidden child of the main dialog; null on failure.
HWND CreateAboutPage(HWND mainDialog);

// Sets the page's texts and picture from WIN.INI and the scanner's identity.
void FillAboutPage(HWND page);
