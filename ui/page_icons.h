// The pictures of the main page's three icons, drawn by the page
// (WM_DRAWITEM): the colour calibrator, the language and the lamp time-out.
#pragma once

#include <windows.h>

void DrawPageIcon(const DRAWITEMSTRUCT& item);
