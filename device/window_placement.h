// Where the source's notices and status windows appear.
#pragma once

#include <windows.h>

// Centred horizontally, its top at a third of the free screen height.
void PlaceAtUpperThird(HWND window);
