// Geometry of the hue wheel on the Colour page: the picks that count and the
// point the stored pick falls back to.
#pragma once

#include "imaging/image_records.h"

namespace colour {

// The wheel's active circle, inscribed in the square whose top-left corner is
// the frame's and whose side is the frame's width made even.
struct HueWheel {
    int left;
    int top;
    int diameter;
};

HueWheel HueWheelOf(int frameLeft, int frameTop, int frameWidth);

// True when (x, y), in the page's client coordinates, lies inside the circle
// or on its edge.
bool InsideHueWheel(const HueWheel& wheel, int x, int y);

// (left + w - 2, top + w - 2) with w half the diameter: just above and left
// of the centre.
HuePoint HueWheelResetPoint(const HueWheel& wheel);

// The stored pick when it lies inside the wheel, otherwise the reset point.
HuePoint CheckedCirclePos(const HueWheel& wheel, HuePoint stored);

// The colour the wheel shows at (x, y): white at the centre, the pure hue on
// the rim (red to the right, green up and to the left, blue down and to the
// left), a point outside taken on the rim.
PickedColour HueWheelColour(const HueWheel& wheel, int x, int y);

}  // namespace colour
