#include "ui/dithered_drawing.h"

#include <new>
#include <vector>

#include "imaging/ordered_dither.h"

namespace {

constexpr int kEntries = 256;

HPALETTE g_palette = nullptr;

struct PaletteInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[kEntries];
};

HPALETTE DitherPalette() {
    if (g_palette) return g_palette;
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[kEntries];
    } logical{0x300, kEntries, {}};
    for (int i = 0; i < kEntries; ++i) {
        const dither::PaletteColour c = dither::PaletteEntry(i);
        logical.entries[i] = {c.red, c.green, c.blue, 0};
    }
    g_palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logical));
    return g_palette;
}

}  // namespace

bool FewColours(HDC dc) { return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) <= 8; }

bool StretchDithered(HDC dc, int width, int height, const uint8_t* pixels, const preview::PreviewBitmap& bitmap) {
    HPALETTE palette = DitherPalette();
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
    dither::DitherPicture(pixels, w, h, bitmap.rowBytes, indices.data(), stride);
    PaletteInfo info{};
    info.header = {sizeof(BITMAPINFOHEADER), w, h, 1, 8, BI_RGB, 0, 0, 0, kEntries, 0};
    for (int i = 0; i < kEntries; ++i) {
        const dither::PaletteColour c = dither::PaletteEntry(i);
        info.colours[i] = {c.blue, c.green, c.red, 0};
    }
    HPALETTE old = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    StretchDIBits(dc, 0, 0, width, height, 0, 0, w, h, indices.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS, SRCCOPY);
    SelectPalette(dc, old, FALSE);
    return true;
}

void ReleaseDitherPalette() {
    if (g_palette) DeleteObject(g_palette);
    g_palette = nullptr;
}
