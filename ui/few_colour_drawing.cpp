#include "ui/few_colour_drawing.h"

#include <new>
#include <vector>

#include "imaging/ordered_dither.h"
#include "imaging/preview_process.h"

namespace {

constexpr int kEntries = 256;

struct PaletteInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[kEntries];
};

// Entry i of the grey palette or of the 3-3-2 palette.
RGBQUAD Entry(bool grey, int i) {
    if (grey) return {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    const dither::PaletteColour c = dither::PaletteEntry(i);
    return {c.blue, c.green, c.red, 0};
}

HPALETTE g_palettes[2] = {nullptr, nullptr};  // 3-3-2, grey

HPALETTE PaletteFor(bool grey) {
    HPALETTE& palette = g_palettes[grey ? 1 : 0];
    if (palette) return palette;
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[kEntries];
    } logical{0x300, kEntries, {}};
    for (int i = 0; i < kEntries; ++i) {
        const RGBQUAD c = Entry(grey, i);
        logical.entries[i] = {c.rgbRed, c.rgbGreen, c.rgbBlue, 0};
    }
    palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logical));
    return palette;
}

}  // namespace

bool FewColours(HDC dc) { return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) <= 8; }

bool StretchFewColours(HDC dc, int width, int height, const uint8_t* pixels, const preview::PreviewBitmap& bitmap,
                       bool grey) {
    HPALETTE palette = PaletteFor(grey);
    if (!palette) return false;
    const int w = static_cast<int>(bitmap.width);
    const int h = static_cast<int>(bitmap.height);
    const size_t stride = (static_cast<size_t>(w) + 3) & ~size_t{3};
    std::vector<uint8_t> indices;
    try {
        indices.resize(stride * h);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Both pictures bottom-up: lines count from the bottom row.
    if (grey) tone::GreyLevels(pixels, w, h, bitmap.rowBytes, indices.data(), stride);
    else dither::DitherPicture(pixels, w, h, bitmap.rowBytes, indices.data(), stride);
    PaletteInfo info{};
    info.header = {sizeof(BITMAPINFOHEADER), w, h, 1, 8, BI_RGB, 0, 0, 0, kEntries, 0};
    for (int i = 0; i < kEntries; ++i) info.colours[i] = Entry(grey, i);
    HPALETTE old = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    StretchDIBits(dc, 0, 0, width, height, 0, 0, w, h, indices.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS, SRCCOPY);
    SelectPalette(dc, old, FALSE);
    return true;
}

void ReleaseFewColourPalettes() {
    for (HPALETTE& palette : g_palettes) {
        if (palette) DeleteObject(palette);
        palette = nullptr;
    }
}
