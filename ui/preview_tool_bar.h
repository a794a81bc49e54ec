// The tool bar across the top of the preview window: picture buttons for the
// batch list, the tools (one of them down) and the Hi/Low Resolution switch,
// each naming itself in a tip while the pointer rests on it.
#pragma once

#include <windows.h>

constexpr int kToolBarHeight = 22;  // pixels

// The buttons' control numbers in the frame window.
constexpr int kCropButton = 1;
constexpr int kZoomButton = 2;
constexpr int kPickHighlightButton = 3;
constexpr int kPickShadowButton = 4;
constexpr int kHiResButton = 5;
constexpr int kBatchButton = 6;

// Creates the tool bar (a "ToolBarClass" window) across the top of `frame`,
// `width` pixels wide, with the buttons in `font`: Crop down, the switch
// showing `hiRes`, and Batch Scan disabled when `batchRefused`. The buttons'
// clicks and pointer moves go on to `frame`. Null when it could not be made.
HWND CreatePreviewToolBar(HWND frame, int width, HFONT font, bool hiRes, bool batchRefused);

// Destroys the tool bar and deletes the buttons' pictures.
void DestroyPreviewToolBar(HWND toolBar);

// The frame's WM_SETCURSOR for a mouse move over `over`: entering a button
// of `toolBar` shows its tip, anything else removes it.
void ToolBarPointerOver(HWND toolBar, HWND over);

// Removes the tip (a button was pressed, or the window closes).
void CloseToolBarTip();
