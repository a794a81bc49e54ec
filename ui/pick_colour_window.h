// The small "Color" window (template 7000) shown beside the preview while a
// pick tool is chosen: the pixel under the pointer (red, green and blue, or
// its grey level), a loupe magnifying the pixels around it with the pixel
// itself outlined, and the live highlight and shadow of each channel.
#pragma once

#include <windows.h>

#include "engine/preview_pick.h"

// Shows the window beside `previewFrame`, owned by `dialog`; a second call
// leaves the open one as it is.
void OpenPickColourWindow(HWND dialog, HWND previewFrame);
void ClosePickColourWindow();
bool PickColourWindowOpen();

// The pixel at `spot` of the processed preview (`bytes` laid out as `bitmap`)
// and its neighbours are shown. `grey`: the level instead of the colour.
void ShowPickedPixel(const uint8_t* bytes, const preview::PreviewBitmap& bitmap, const preview::PixelSpot& spot,
                     bool grey);

// The pixel last shown; false when none has been since the window opened.
bool LastPickedPixel(preview::PickedPixel& out);

// The channels' highlight and shadow shown again from the live settings.
void RefreshPickLevels();
