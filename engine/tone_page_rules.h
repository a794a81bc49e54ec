// The rules of the Enhancements and colour pages that need no window: how
// the scroll bars step the tone and colour values, how the Highlight, Shadow
// and Gamma fields read and rewrite what is typed, which tone curves the
// curve area draws, and how tall the histogram's bars are at scale s.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imaging/histogram.h"
#include "imaging/image_records.h"

namespace pages {

// A scroll bar's request, by the direction the value moves.
enum class ScrollRequest { kLineLess, kLineMore, kPageLess, kPageMore, kThumb, kToStart, kToEnd, kOther };

struct Levels {
    int highlight;
    int shadow;
};

// Highlight bar (1..255) and Shadow bar (0..254): the pair after the
// request, the other level pushed so that shadow stays below highlight.
// `thumb` is the bar position of a kThumb request.
Levels HighlightScrolled(Levels levels, ScrollRequest request, int thumb);
Levels ShadowScrolled(Levels levels, ScrollRequest request, int thumb);
// Gamma bar, tenths 1..79.
int GammaScrolled(int gamma, ScrollRequest request, int thumb);
// A colour balance bar, -100..100: the start of the bar is +100.
int BalanceScrolled(int value, ScrollRequest request, int thumb);
// The saturation bar, -100..100.
int SaturationScrolled(int value, ScrollRequest request, int thumb);

// What a level field's text gives: the value to take (none while the field
// is empty) and the text the field is rewritten to, when it must be.
struct FieldReading {
    std::optional<int> value;
    std::optional<std::string> rewrite;
};
// Highlight (1..255) or Shadow (0..254) field: a leading zero before a
// non-zero number goes, values beyond the range become its ends, and text
// that is not a number gives the lowest value.
FieldReading ReadLevelField(const std::string& text, bool shadowField);
// Gamma field, read as a decimal: the value in tenths when it lies in 0.1..7.9.
// A text with a leading zero, no decimal point and a non-zero value is
// rewritten as the whole number ("07" reads 7.0 and becomes "7").
FieldReading ReadGammaField(const std::string& text);

// Channel chosen in the page's list (0 master, 1 red, 2 green, 3 blue).
// Choosing the master in colour mode gives green and blue the red triple.
void ChooseChannel(ToneSettings& tone, int channel, bool colourMode);
// The triple the fields show for the chosen channel: the red word for the
// master in colour mode.
ToneChannel ShownTriple(const ToneSettings& tone, bool colourMode);

// One tone curve of the curve area: the channel word and its pen colour
// (0xRRGGBB). The last stroke is drawn on top.
struct CurveStroke {
    int word;
    uint32_t colour;
};
constexpr uint32_t kCurveGrey = 0x646464;
std::vector<CurveStroke> CurveStrokes(const ToneSettings& tone, bool colourMode);

// Histogram scale s: -99..99, never 0 or -1.
constexpr int kMaxScale = 99;
int ScaleRaised(int scale);   // -2 goes to 1
int ScaleLowered(int scale);  // 1 goes to -2

// The 256 counts the histogram shows for the chosen channel: the sum of red,
// green and blue for the master in colour mode, grey in grey modes.
void ShownCounts(const tone::Histogram& histogram, int channel, bool colourMode, uint32_t counts[256]);

// One vertical line of the histogram, `height` pixels up from the bottom of
// the inner area at column x (0 = the inner area's left edge).
struct HistogramBar {
    int x;
    int height;
};
// An inner area wider than 256 pixels gets one line per level, a narrower
// one a line per column showing the level under it. Without counts (or
// without room) there are no lines.
std::vector<HistogramBar> HistogramBars(const uint32_t counts[256], int innerWidth, int innerHeight, int scale);

}  // namespace pages
