// The scan frame on the preview: which part of it lies under the pointer,
// how a drag changes it, and the pattern of its marching-ants outline.
// Frames are in preview units (30 per inch) unless named otherwise.
#pragma once

#include <cstdint>

#include "engine/preview_geometry.h"

namespace preview {

struct Frame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What a press at a point of the frame does.
enum HitCode : int {
    kHitOutside = 0,
    kHitTopLeft = 1,
    kHitTop = 2,
    kHitTopRight = 3,
    kHitBottomLeft = 4,
    kHitBottom = 5,
    kHitBottomRight = 6,
    kHitLeft = 7,
    kHitRight = 8,
    kHitInside = 9,
    kHitNewFrame = 10,  // Shift held: a new frame is drawn
};

// The frame with left <= right and top <= bottom.
Frame Normalised(const Frame& frame);

// The frame normalised, every edge moved onto the bed where it lay beyond.
Frame ClippedToBed(const Frame& frame, Extent bed);

// The hit code of `point` on `frame` (both in window pixels): within
// `marginX` / `marginY` of an edge, the edge (a corner where two meet);
// further inside, inside. Shift overrides everything.
HitCode HitTest(const Frame& frame, Point point, int marginX, int marginY, bool shift);

// The frame while the pointer, pressed at `press` on a frame that was
// `start`, is at `now`, for the hit code of the press:
// - new frame: from the press to `now`, `now` kept on the bed (not
//   normalised);
// - inside: moved by the pointer's movement, its size kept, stopping at the
//   bed's edges;
// - an edge or a corner: the named edges follow the pointer, stay on the bed
//   and stop `gap` short of the opposite edge;
// - outside: unchanged.
Frame DragFrame(const Frame& start, HitCode hit, Point press, Point now, Extent bed, int gap);

// The rows of the 8 x 8 monochrome brush of the outline after `blinks`
// rotations by one row.
void AntsPattern(unsigned blinks, uint8_t rows[8]);

}  // namespace preview
