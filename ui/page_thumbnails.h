// The thumbnails of the Enhancements and colour pages: "Original" is the
// preview under the scan frame as scanned, "Sample" the same processed with
// the pages' working settings (tone maps and colour pass, no filter).
#pragma once

#include <windows.h>

#include <cstdint>

// A 24-bit bottom-up picture (rows padded to 4 bytes) stretched into `rect`
// inside a black frame; an empty picture leaves the frame grey.
void DrawFramedPicture(HDC dc, const RECT& rect, const uint8_t* pixels, uint32_t width, uint32_t height);

// The owner-drawn thumbnail controls (IDC_THUMB_ORIGINAL, IDC_THUMB_SAMPLE).
void DrawThumbnail(const DRAWITEMSTRUCT& item);

// The preview under the scan frame as the pages' crop: none without a
// preview or for a frame too small to crop.
void TakeCrop();

// Makes the sample again when the working settings differ from those it was
// last made with, or always when `force`, and repaints both thumbnails of `page`.
void RefreshThumbnails(HWND page, bool force);

// Releases the sample picture (with the crop it was made from).
void ReleaseSample();
