// Drawing the colour preview on displays of 256 colours or fewer: the picture
// is dithered to the 3-3-2 palette, which is realised in the device context.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/preview_file.h"

// True when `dc` shows 256 colours or fewer.
bool FewColours(HDC dc);

// Draws the blue-green-red picture `pixels` (laid out as `bitmap`) dithered,
// stretched over `width` x `height` logical units from (0, 0). False, nothing
// drawn, when memory or the palette cannot be had.
bool StretchDithered(HDC dc, int width, int height, const uint8_t* pixels, const preview::PreviewBitmap& bitmap);

// Deletes the palette (made on the first dithered drawing).
void ReleaseDitherPalette();
