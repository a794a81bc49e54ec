#include "imaging/hue_wheel.h"

#include <algorithm>
#include <cmath>
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

PickedColour HueWheelColour(const HueWheel& wheel, int x, int y) {
    const double radius = std::max(wheel.diameter / 2, 1);
    const double dx = x - (wheel.left + wheel.diameter / 2);
    const double dy = (wheel.top + wheel.diameter / 2) - y;
    const double distance = std::min(std::hypot(dx, dy) / radius, 1.0);
    // Hue in sixths of the circle, counter-clockwise from red.
    double hue = std::atan2(dy, dx) * 3.0 / std::acos(-1.0);
    if (hue < 0) hue += 6.0;
    const int sector = static_cast<int>(hue) % 6;
    const double rise = hue - std::floor(hue);
    const double ramp[6][3] = {{1, rise, 0},     {1 - rise, 1, 0}, {0, 1, rise},
                               {0, 1 - rise, 1}, {rise, 0, 1},     {1, 0, 1 - rise}};
    auto level = [&](double pure) {
        return static_cast<uint8_t>(std::lround(255.0 - distance * (255.0 - 255.0 * pure)));
    };
    return {level(ramp[sector][0]), level(ramp[sector][1]), level(ramp[sector][2]), 0};
}

}  // namespace colour
