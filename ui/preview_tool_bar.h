// The tool bar across the top of the preview window: push-like buttons for
// the tools (one of them down) and the Hi/Low Resolution switch, each
// naming itself in a tip while the pointer rests on it.
#pragma once

#include <windows.h>

constexpr int kToolBarHeight = 22;  // pixels

// The buttons' control numbers in the frame window.
constexpr int kCropButton = 1;
constexpr int kZoomButton = 2;
constexpr int kPickHighlightButton = 3;
constexpr int kPickShadowButton = 4;
constexpr int kHiResButton = 5;

// Creates the buttons in `frame` over `width` pixels, in `font`; Crop down
// and the switch showing `hiRes`.
void CreatePreviewToolBar(HWND frame, int width, HFONT font, bool hiRes);

// The frame's WM_SETCURSOR for a mouse move over `over`: entering a button
// shows its tip, anything else removes it.
void ToolBarPointerOver(HWND frame, HWND over);

// Removes the tip (a button was pressed, or the window closes).
void CloseToolBarTip();
