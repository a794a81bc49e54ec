#include "settings/lamp_timeout.h"

#include <algorithm>

#include "profile/value_format.h"

int ClampLampMinutes(int32_t minutes) { return std::clamp<int32_t>(minutes, kLampMinutesMin, kLampMinutesMax); }

int ScrolledLampMinutes(int current, int request, int thumb) {
    int value = current;
    switch (static_cast<LampScroll>(request)) {
        case LampScroll::LineLess: value = current - 1; break;
        case LampScroll::LineMore: value = current + 1; break;
        case LampScroll::PageLess: value = current - 10; break;
        case LampScroll::PageMore: value = current + 10; break;
        case LampScroll::ThumbPosition:
        case LampScroll::ThumbTrack: value = thumb; break;
        case LampScroll::Top: value = kLampMinutesMax; break;
        case LampScroll::Bottom: value = kLampMinutesMin; break;
    }
    return ClampLampMinutes(value);
}

int TypedLampMinutes(const std::string& text) {
    const int32_t minutes = ParseDecimal(text);
    return minutes >= kLampMinutesMin && minutes <= kLampMinutesMax ? minutes : -1;
}

int SaverValue(bool enabled, int minutes) { return enabled ? minutes : kLampSaverOff; }
