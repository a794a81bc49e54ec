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

// Creates the buttons in `frame` over `width` pixels, in `font`; Crop down,
// the switch showing `hiRes`, and Batch Scan disabled when `batchRefused`.
void CreatePreviewToolBar(HWND frame, int width, HFONT font, bool hiRes, bool batchRefused);

// Destroys the buttons and deletes their pictures (before the frame goes).
void DestroyPreviewToolBar(HWND frame);

// The frame's WM_SETCURSOR for a mouse move over `over`: entering a button
// shows its tip, anything else removes it.
void ToolBarPointerOver(HWND frame, HWND over);

// Removes the tip (a button was pressed, or the window closes).
void CloseToolBarTip();
