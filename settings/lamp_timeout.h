// The lamp time-out ("Green Saver"): minutes after which the scanner switches
// its lamp off, 5..120, or 255 for never.
#pragma once

#include <cstdint>
#include <string>

constexpr int kLampMinutesMin = 5;
constexpr int kLampMinutesMax = 120;
constexpr int kLampSaverOff = 255;

// Scroll bar requests of the minutes scroll bar (the values of the Win32
// SB_ codes).
enum class LampScroll {
    LineLess = 0,
    LineMore = 1,
    PageLess = 2,
    PageMore = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Top = 6,
    Bottom = 7,
};

// A stored time-out (TIMES) as the dialog uses it: clamped to 5..120.
int ClampLampMinutes(int32_t minutes);

// The minutes after a scroll bar request: lines step by 1, pages by 10, the
// thumb sets the value, the top end is 120 and the bottom end 5; the result is
// clamped to 5..120. Other requests leave the value alone.
int ScrolledLampMinutes(int current, int request, int thumb);

// Minutes typed into the edit field: the number, or -1 when it is outside
// 5..120 (OK is then disabled).
int TypedLampMinutes(const std::string& text);

// The SAVER value written on OK: the chosen minutes, or 255 when disabled.
int SaverValue(bool enabled, int minutes);
