// The preview window of the scanning dialog: a frame window ("ParentClass")
// with the title "Preview Window (z:1)" in the room right of the pages,
// holding the picture window ("PreviewClass") that shows the bed as the last
// prescan saw it, of the bed's proportions. On the picture the scan frame is
// outlined by marching ants and edited with the mouse: an edge or corner
// drags that edge, inside moves the frame, Shift draws a new one.
#pragma once

#include <windows.h>

// Registers the classes (once per process) and creates the frame inside
// `dialog`. Null when the window could not be made.
HWND CreatePreviewWindow(HWND dialog);

// Destroys the frame and everything it holds. Safe to call again.
void DestroyPreviewWindow();

// After a change of scan source: the picture shows the source's area whole
// at 1:1 (scroll ranges gone) and the scan frame is clipped to it.
void ShowSourceArea();

// The frame's title in the current language, after a change of language.
void RetitlePreviewWindow();

// Draws the picture again from the preview the prescan left (after a prescan
// or any change of what it shows), processed again with the live tone
// settings when they changed since it was last processed; without a preview
// the bed is drawn empty.
void RedrawPreview();

// After the settings were loaded, reset or restored: the Hi/Low Resolution
// switch and the "Color" window's levels show them.
void RefreshPreviewControls();

// The blink of the frame's outline (the main dialog's timer 4, 200 ms):
// started with the window and after a drag or a prescan.
void StartPreviewBlink();
// A tick of that timer: the outline moves on by one row.
void PreviewBlinkTick();

// Copies the part of the preview under the scan frame into the preview's
// crop (for the enhancement pages' sample). False, the crop left as it was,
// without a preview, for a crop under 1500 bytes, or when memory runs out
// (which the user is told).
bool CropPreview();
