// The ruler beside the preview ("ScanLengthClass") with a triangular marker
// at the length of the bed the next prescan covers. Dragging the marker
// shows a line across the picture; the length never goes below 4 inches.
#pragma once

#include <windows.h>

// A ruler of `height` pixels inside `frame` at (`left`, `top`); `picture`
// is the window the marker's line crosses.
HWND CreateScanLengthRuler(HWND frame, HWND picture, int left, int top, int height);

// The marker's position in pixels from the ruler's top.
int ScanLengthMarker(int rulerHeight);

constexpr int kScanLengthRulerWidth = 12;  // pixels
