#include "engine/preview_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace preview {

Extent BedUnits(float widthInches, float lengthInches) {
    return {static_cast<int>(std::lround(widthInches * kUnitsPerInch)),
            static_cast<int>(std::lround(lengthInches * kUnitsPerInch))};
}

namespace {

// a x b / c rounded towards minus infinity; c > 0.
int ScaleDown(int a, int b, int c) {
    const int64_t product = int64_t{a} * b;
    const int64_t quotient = product / c;
    return static_cast<int>(product % c < 0 ? quotient - 1 : quotient);
}

}  // namespace

Point ToUnits(const View& view, Point pixel) {
    if (view.client.width <= 0 || view.client.height <= 0) return view.origin;
    return {view.origin.x + ScaleDown(pixel.x, view.bed.width, view.client.width * view.zoom),
            view.origin.y + ScaleDown(pixel.y, view.bed.height, view.client.height * view.zoom)};
}

Point ToPixels(const View& view, Point units) {
    if (view.bed.width <= 0 || view.bed.height <= 0) return {};
    return {ScaleDown(units.x - view.origin.x, view.client.width * view.zoom, view.bed.width),
            ScaleDown(units.y - view.origin.y, view.client.height * view.zoom, view.bed.height)};
}

Extent FitToBed(Extent room, Extent bed) {
    if (room.width <= 0 || room.height <= 0 || bed.width <= 0 || bed.height <= 0) return {};
    // Full height when the room is relatively wider than the bed, else full width.
    const int64_t roomByBed = int64_t{room.width} * bed.height;
    const int64_t bedByRoom = int64_t{bed.width} * room.height;
    if (roomByBed >= bedByRoom) {
        return {static_cast<int>(std::max<int64_t>(1, bedByRoom / bed.height)), room.height};
    }
    return {room.width, static_cast<int>(std::max<int64_t>(1, roomByBed / bed.width))};
}

}  // namespace preview
