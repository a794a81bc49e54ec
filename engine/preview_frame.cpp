#include "engine/preview_frame.h"

#include <algorithm>
#include <cstdlib>

namespace preview {

Frame Normalised(const Frame& frame) {
    return {std::min(frame.left, frame.right), std::min(frame.top, frame.bottom), std::max(frame.left, frame.right),
            std::max(frame.top, frame.bottom)};
}

Frame ClippedToBed(const Frame& frame, Extent bed) {
    const Frame f = Normalised(frame);
    return {std::clamp(f.left, 0, bed.width), std::clamp(f.top, 0, bed.height), std::clamp(f.right, 0, bed.width),
            std::clamp(f.bottom, 0, bed.height)};
}

HitCode HitTest(const Frame& frame, Point point, int marginX, int marginY, bool shift) {
    if (shift) return kHitNewFrame;
    const Frame f = Normalised(frame);
    if (point.x < f.left - marginX || point.x > f.right + marginX || point.y < f.top - marginY ||
        point.y > f.bottom + marginY)
        return kHitOutside;
    const bool left = std::abs(point.x - f.left) <= marginX;
    const bool right = !left && std::abs(point.x - f.right) <= marginX;
    const bool top = std::abs(point.y - f.top) <= marginY;
    const bool bottom = !top && std::abs(point.y - f.bottom) <= marginY;
    if (top) return left ? kHitTopLeft : right ? kHitTopRight : kHitTop;
    if (bottom) return left ? kHitBottomLeft : right ? kHitBottomRight : kHitBottom;
    if (left) return kHitLeft;
    if (right) return kHitRight;
    return kHitInside;
}

namespace {

// The low edge `edge` moved by `delta`, on the bed and `gap` short of `high`.
int MoveLowEdge(int edge, int delta, int high, int extent, int gap) {
    return std::max(0, std::min({edge + delta, extent, high - gap}));
}

int MoveHighEdge(int edge, int delta, int low, int extent, int gap) {
    return std::min(extent, std::max({edge + delta, 0, low + gap}));
}

}  // namespace

Frame DragFrame(const Frame& start, HitCode hit, Point press, Point now, Extent bed, int gap) {
    if (hit == kHitNewFrame) {
        return {press.x, press.y, std::clamp(now.x, 0, bed.width), std::clamp(now.y, 0, bed.height)};
    }
    const Frame f = Normalised(start);
    const int dx = now.x - press.x;
    const int dy = now.y - press.y;
    if (hit == kHitInside) {
        const int moveX = std::clamp(dx, -f.left, std::max(-f.left, bed.width - f.right));
        const int moveY = std::clamp(dy, -f.top, std::max(-f.top, bed.height - f.bottom));
        return {f.left + moveX, f.top + moveY, f.right + moveX, f.bottom + moveY};
    }
    if (hit == kHitOutside) return start;
    Frame out = f;
    if (hit == kHitTopLeft || hit == kHitBottomLeft || hit == kHitLeft)
        out.left = MoveLowEdge(f.left, dx, f.right, bed.width, gap);
    if (hit == kHitTopRight || hit == kHitBottomRight || hit == kHitRight)
        out.right = MoveHighEdge(f.right, dx, f.left, bed.width, gap);
    if (hit == kHitTopLeft || hit == kHitTop || hit == kHitTopRight)
        out.top = MoveLowEdge(f.top, dy, f.bottom, bed.height, gap);
    if (hit == kHitBottomLeft || hit == kHitBottom || hit == kHitBottomRight)
        out.bottom = MoveHighEdge(f.bottom, dy, f.top, bed.height, gap);
    return out;
}

void AntsPattern(unsigned blinks, uint8_t rows[8]) {
    static const uint8_t kStart[8] = {0x1F, 0x3E, 0x7C, 0xF8, 0xF1, 0xE3, 0xC7, 0x8F};
    for (unsigned row = 0; row < 8; ++row) rows[row] = kStart[(row + blinks) % 8];
}

}  // namespace preview
