// Zooming the preview by 2, 4 and 8: where the view starts and how far its
// scroll bars reach. One axis at a time where the axes do not differ.
#pragma once

#include "engine/preview_geometry.h"

namespace preview {

constexpr int kMaxZoom = 8;

// How far the view's origin reaches on an axis of `extent` units at `zoom`:
// (zoom - 1) x extent / zoom.
int ScrollRange(int extent, int zoom);
// One arrow click of the scroll bar: a fifth of a zoomed view's range; at
// least 1.
int LineStep(int extent, int zoom);
// One click beside the thumb: the range / zoom; at least 1.
int PageStep(int extent, int zoom);

// The origin kept inside the scroll ranges of `view`.
Point ClampedOrigin(const View& view, Point origin);

// Doubles the zoom with `clicked` (units) at the top-left of the view, kept
// inside the bed. False, and `view` unchanged, at the largest zoom.
bool ZoomIn(View& view, Point clicked);
// Halves the zoom, the origin kept inside the new ranges. False, and `view`
// unchanged, at zoom 1.
bool ZoomOut(View& view);

// While a drag holds the pointer at `pointer` (window pixels) outside the
// view, the origin one line step further towards it on each axis where it
// lies outside, kept inside the scroll ranges.
Point AutoScrolled(const View& view, Point pointer);

}  // namespace preview
