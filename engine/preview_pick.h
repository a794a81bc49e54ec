// Picking a highlight or shadow from the preview: which picture pixel lies
// under a point of the bed, the few pixels around it the loupe magnifies, and
// what a picked value does to a channel's highlight and shadow.
#pragma once

#include <cstdint>

#include "engine/preview_file.h"
#include "engine/preview_geometry.h"
#include "imaging/image_records.h"

namespace preview {

// A pixel of the picture, counted from its top-left corner.
struct PixelSpot {
    int x = 0;
    int y = 0;
};

// The pixel of a `width` x `height` picture covering the whole bed that lies
// under `units`; false for a point off the bed.
bool PixelUnder(const Extent& bed, int width, int height, const Point& units, PixelSpot& out);

// The loupe's square of up to 5 x 5 pixels centred on `centre`, cut at the
// picture's edges (3 or 4 wide there): left, top and size in pixels.
struct LoupeArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
LoupeArea LoupeAround(const PixelSpot& centre, int width, int height);

// The colour of a pixel as picked: red, green and blue, and grey as their mean.
struct PickedPixel {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t Grey() const { return static_cast<uint8_t>((red + green + blue) / 3); }
};
// The pixel at `spot` of the picture whose rows `bitmap` places in `bytes`.
PickedPixel PixelAt(const uint8_t* bytes, const PreviewBitmap& bitmap, const PixelSpot& spot);

// A picked highlight: taken when above the shadow; below 1 the channel
// becomes 1 over 0, otherwise the shadow goes to one below it.
ToneChannel WithPickedHighlight(ToneChannel channel, int highlight);
// A picked shadow: taken when below the highlight; otherwise the highlight
// goes to one above it, at the top 255 over 254.
ToneChannel WithPickedShadow(ToneChannel channel, int shadow);

}  // namespace preview
