#include "imaging/hue_wheel.h"

#include <cstdint>

namespace colour {

HueWheel HueWheelOf(int frameLeft, int frameTop, int frameWidth) {
    return {frameLeft, frameTop, frameWidth % 2 != 0 ? frameWidth + 1 : frameWidth};
}

bool InsideHueWheel(const HueWheel& wheel, int x, int y) {
    if (wheel.diameter <= 0) return false;
    const int64_t radius = wheel.diameter / 2;
    const int64_t dx = static_cast<int64_t>(x) - (static_cast<int64_t>(wheel.left) + radius);
    const int64_t dy = static_cast<int64_t>(y) - (static_cast<int64_t>(wheel.top) + radius);
    if (dx < -radius || dx > radius || dy < -radius || dy > radius) return false;
    return dx * dx + dy * dy <= radius * radius;
}

HuePoint HueWheelResetPoint(const HueWheel& wheel) {
    const int w = wheel.diameter / 2;
    return {wheel.left + w - 2, wheel.top + w - 2};
}

HuePoint CheckedCirclePos(const HueWheel& wheel, HuePoint stored) {
    return InsideHueWheel(wheel, stored.x, stored.y) ? stored : HueWheelResetPoint(wheel);
}

}  // namespace colour
