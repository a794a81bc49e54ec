#include "engine/preview_pick.h"

#include <algorithm>

namespace preview {

bool PixelUnder(const Extent& bed, int width, int height, const Point& units, PixelSpot& out) {
    if (bed.width <= 0 || bed.height <= 0 || units.x < 0 || units.y < 0 || units.x >= bed.width ||
        units.y >= bed.height)
        return false;
    out = {static_cast<int>(int64_t{units.x} * width / bed.width),
           static_cast<int>(int64_t{units.y} * height / bed.height)};
    return out.x < width && out.y < height;
}

LoupeArea LoupeAround(const PixelSpot& centre, int width, int height) {
    const int left = std::max(0, centre.x - 2);
    const int top = std::max(0, centre.y - 2);
    const int right = std::min(width, centre.x + 3);
    const int bottom = std::min(height, centre.y + 3);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

PickedPixel PixelAt(const uint8_t* bytes, const PreviewBitmap& bitmap, const PixelSpot& spot) {
    const uint8_t* p = TopDownRow(bytes, bitmap, static_cast<uint32_t>(spot.y)) + size_t{3} * spot.x;
    return {p[2], p[1], p[0]};
}

ToneChannel WithPickedHighlight(ToneChannel channel, int highlight) {
    if (highlight > channel.shadow) {
        channel.highlight = static_cast<uint8_t>(highlight);
    } else if (highlight < 1) {
        channel.highlight = 1;
        channel.shadow = 0;
    } else {
        channel.highlight = static_cast<uint8_t>(highlight);
        channel.shadow = static_cast<uint8_t>(highlight - 1);
    }
    return channel;
}

ToneChannel WithPickedShadow(ToneChannel channel, int shadow) {
    if (shadow < channel.highlight) {
        channel.shadow = static_cast<uint8_t>(shadow);
    } else if (shadow < 255) {
        channel.highlight = static_cast<uint8_t>(shadow + 1);
        channel.shadow = static_cast<uint8_t>(shadow);
    } else {
        channel.highlight = 255;
        channel.shadow = 254;
    }
    return channel;
}

}  // namespace preview
