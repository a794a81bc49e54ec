// The brush of the scan frame's outline: an 8 x 8 pattern that moves one row
// at every blink. One pattern bitmap and one brush exist at a time; a blink
// makes the next brush and deletes the one before.
#pragma once

#include <windows.h>

// Outlines `rect` (logical units of `dc`) with the current brush, made on
// first use.
void DrawMarchingAnts(HDC dc, const RECT& rect);

// Moves the pattern on by one row.
void AdvanceMarchingAnts();

// Deletes the brush and its bitmap; the next drawing makes them again.
void ReleaseMarchingAnts();
