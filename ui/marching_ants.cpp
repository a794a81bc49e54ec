#include "ui/marching_ants.h"

#include <cstdint>

#include "engine/preview_frame.h"

namespace {

struct Ants {
    unsigned blinks = 0;
    HBITMAP pattern = nullptr;
    HBRUSH brush = nullptr;
};

Ants g_ants;

// The brush of the current blink, replacing the one before.
void MakeBrush() {
    uint8_t rows[8];
    preview::AntsPattern(g_ants.blinks, rows);
    // Monochrome bitmap rows are word-aligned.
    WORD bits[8];
    for (int row = 0; row < 8; ++row) bits[row] = rows[row];
    if (!g_ants.pattern) g_ants.pattern = CreateBitmap(8, 8, 1, 1, bits);
    else SetBitmapBits(g_ants.pattern, sizeof bits, bits);
    HBRUSH next = g_ants.pattern ? CreatePatternBrush(g_ants.pattern) : nullptr;
    if (g_ants.brush) DeleteObject(g_ants.brush);
    g_ants.brush = next;
}

}  // namespace

void DrawMarchingAnts(HDC dc, const RECT& rect) {
    if (!g_ants.brush) MakeBrush();
    if (g_ants.brush) FrameRect(dc, &rect, g_ants.brush);
}

void AdvanceMarchingAnts() {
    ++g_ants.blinks;
    MakeBrush();
}

void ReleaseMarchingAnts() {
    if (g_ants.brush) DeleteObject(g_ants.brush);
    if (g_ants.pattern) DeleteObject(g_ants.pattern);
    g_ants = {};
}
