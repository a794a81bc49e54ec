#include "engine/preview_zoom.h"

#include <algorithm>

namespace preview {

int ScrollRange(int extent, int zoom) { return zoom > 1 ? (zoom - 1) * extent / zoom : 0; }

int LineStep(int extent, int zoom) { return std::max(1, ScrollRange(extent, zoom) / (5 * zoom)); }

int PageStep(int extent, int zoom) { return std::max(1, ScrollRange(extent, zoom) / zoom); }

Point ClampedOrigin(const View& view, Point origin) {
    return {std::clamp(origin.x, 0, ScrollRange(view.bed.width, view.zoom)),
            std::clamp(origin.y, 0, ScrollRange(view.bed.height, view.zoom))};
}

bool ZoomIn(View& view, Point clicked) {
    if (view.zoom >= kMaxZoom) return false;
    view.zoom *= 2;
    view.origin = ClampedOrigin(view, clicked);
    return true;
}

bool ZoomOut(View& view) {
    if (view.zoom <= 1) return false;
    view.zoom /= 2;
    view.origin = ClampedOrigin(view, view.origin);
    return true;
}

namespace {

int Towards(int pixel, int clientExtent, int step) {
    if (pixel < 0) return -step;
    if (pixel >= clientExtent) return step;
    return 0;
}

}  // namespace

Point AutoScrolled(const View& view, Point pointer) {
    const Point moved = {
        view.origin.x + Towards(pointer.x, view.client.width, LineStep(view.bed.width, view.zoom)),
        view.origin.y + Towards(pointer.y, view.client.height, LineStep(view.bed.height, view.zoom))};
    return ClampedOrigin(view, moved);
}

}  // namespace preview
