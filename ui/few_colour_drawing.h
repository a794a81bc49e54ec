// Drawing the preview on displays of 256 colours or fewer: a colour picture
// is dithered to the 3-3-2 palette, a grey one drawn as 8-bit grey through a
// palette of the 256 grey levels; the palette is realised in the device
// context.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/preview_file.h"

// True when `dc` shows 256 colours or fewer.
bool FewColours(HDC dc);

// Draws the blue-green-red picture `pixels` (laid out as `bitmap`) with 8
// bits per pixel, grey levels when `grey`, otherwise dithered, stretched over
// `width` x `height` logical units from (0, 0). False, nothing drawn, when
// memory or the palette cannot be had.
bool StretchFewColours(HDC dc, int width, int height, const uint8_t* pixels, const preview::PreviewBitmap& bitmap,
                       bool grey);

// Deletes the palettes (each made on its first drawing).
void ReleaseFewColourPalettes();
