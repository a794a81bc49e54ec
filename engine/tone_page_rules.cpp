#include "engine/tone_page_rules.h"

#include <algorithm>
#include <cctype>

#include "imaging/tone_map.h"

namespace pages {

namespace {

constexpr int kPageStep = 5;
constexpr int kBalancePage = 20;
constexpr int kColourLimit = 100;

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

Levels HighlightScrolled(Levels v, ScrollRequest request, int thumb) {
    switch (request) {
        case ScrollRequest::kLineLess:
            if (v.highlight - 1 > v.shadow) return {v.highlight - 1, v.shadow};
            if (v.shadow == 0) return v;
            return {v.highlight - 1, v.shadow - 1};
        case ScrollRequest::kLineMore: return {std::min(v.highlight + 1, 255), v.shadow};
        case ScrollRequest::kPageLess:
            if (v.highlight - kPageStep > v.shadow) return {v.highlight - kPageStep, v.shadow};
            if (v.shadow < kPageStep) return {1, 0};
            return {v.highlight - kPageStep, v.shadow - kPageStep};
        case ScrollRequest::kPageMore: return v.highlight < 251 ? Levels{v.highlight + kPageStep, v.shadow} : v;
        case ScrollRequest::kThumb:
            if (thumb <= 0 || thumb > 255) return v;
            return {thumb, thumb <= v.shadow ? thumb - 1 : v.shadow};
        default: return v;
    }
}

Levels ShadowScrolled(Levels v, ScrollRequest request, int thumb) {
    switch (request) {
        case ScrollRequest::kLineLess: return {v.highlight, std::max(v.shadow - 1, 0)};
        case ScrollRequest::kLineMore:
            if (v.shadow + 1 < v.highlight) return {v.highlight, v.shadow + 1};
            if (v.highlight == 255) return v;
            return {v.highlight + 1, v.shadow + 1};
        case ScrollRequest::kPageLess: return v.shadow > 4 ? Levels{v.highlight, v.shadow - kPageStep} : v;
        case ScrollRequest::kPageMore:
            if (v.shadow + kPageStep < v.highlight) return {v.highlight, v.shadow + kPageStep};
            if (v.highlight >= 251) return {255, 254};
            return {v.highlight + kPageStep, v.shadow + kPageStep};
        case ScrollRequest::kThumb:
            if (thumb < 0 || thumb >= 255) return v;
            return {thumb >= v.highlight ? thumb + 1 : v.highlight, thumb};
        default: return v;
    }
}

int GammaScrolled(int gamma, ScrollRequest request, int thumb) {
    switch (request) {
        case ScrollRequest::kLineLess: return gamma > tone::kMinGamma ? gamma - 1 : gamma;
        case ScrollRequest::kLineMore: return gamma < tone::kMaxGamma ? gamma + 1 : gamma;
        case ScrollRequest::kPageLess: return gamma > kPageStep ? gamma - kPageStep : gamma;
        case ScrollRequest::kPageMore: return gamma < tone::kMaxGamma - 4 ? gamma + kPageStep : gamma;
        case ScrollRequest::kThumb: return std::clamp(thumb, tone::kMinGamma, tone::kMaxGamma);
        default: return gamma;
    }
}

int BalanceScrolled(int value, ScrollRequest request, int thumb) {
    int next = value;
    switch (request) {
        case ScrollRequest::kLineLess: next = value - 1; break;
        case ScrollRequest::kLineMore: next = value + 1; break;
        case ScrollRequest::kPageLess: next = value - kBalancePage; break;
        case ScrollRequest::kPageMore: next = value + kBalancePage; break;
        case ScrollRequest::kThumb: next = thumb; break;
        case ScrollRequest::kToStart: next = kColourLimit; break;
        case ScrollRequest::kToEnd: next = -kColourLimit; break;
        default: break;
    }
    return std::clamp(next, -kColourLimit, kColourLimit);
}

int SaturationScrolled(int value, ScrollRequest request, int thumb) {
    switch (request) {
        case ScrollRequest::kLineLess: return std::max(value - 1, -kColourLimit);
        case ScrollRequest::kLineMore: return std::min(value + 1, kColourLimit);
        case ScrollRequest::kPageLess: return value > -95 ? value - kPageStep : value;
        case ScrollRequest::kPageMore: return value < 95 ? value + kPageStep : value;
        case ScrollRequest::kThumb: return std::clamp(thumb, -kColourLimit, kColourLimit);
        default: return value;
    }
}

FieldReading ReadLevelField(const std::string& text, bool shadowField) {
    const int lowest = shadowField ? 0 : 1;
    const int highest = shadowField ? 254 : 255;
    if (text.empty()) return {};
    if (!AllDigits(text) || text.size() > 3) return {lowest, std::to_string(lowest)};
    const int typed = std::stoi(text);
    const int value = std::clamp(typed, lowest, highest);
    const bool leadingZero = text.size() > 1 && text[0] == '0';
    if (value != typed || leadingZero) return {value, std::to_string(value)};
    return {value, std::nullopt};
}

FieldReading ReadGammaField(const std::string& text) {
    int tenths = 0;
    if (!tone::ParseGammaText(text, tenths)) return {};
    const bool leadingZero = text.size() > 1 && text[0] == '0' && text.find('.') == std::string::npos;
    if (leadingZero) return {tenths, std::to_string(tenths / 10)};
    return {tenths, std::nullopt};
}

void ChooseChannel(ToneSettings& tone, int channel, bool colourMode) {
    if (!colourMode) channel = kToneMaster;
    tone.channel = static_cast<uint16_t>(channel);
    if (colourMode && channel == kToneMaster) {
        for (int word : {kToneGreen, kToneBlue}) {
            tone.channels[word].highlight = tone.channels[kToneRed].highlight;
            tone.channels[word].shadow = tone.channels[kToneRed].shadow;
            tone.channels[word].gamma = tone.channels[kToneRed].gamma;
        }
    }
}

ToneChannel ShownTriple(const ToneSettings& tone, bool colourMode) {
    if (!colourMode) return tone.channels[kToneMaster];
    return tone.channels[tone.channel == kToneMaster ? kToneRed : std::min<int>(tone.channel, kToneBlue)];
}

std::vector<CurveStroke> CurveStrokes(const ToneSettings& tone, bool colourMode) {
    if (!colourMode) return {{kToneMaster, kCurveGrey}};
    if (tone.channel == kToneMaster || tone.channel > kToneBlue) return {{kToneRed, kCurveGrey}};
    const uint32_t colours[4] = {0, 0xFF0000, 0x00FF00, 0x0000FF};
    std::vector<CurveStroke> strokes;
    for (int word = kToneRed; word <= kToneBlue; ++word) {
        if (word != tone.channel) strokes.push_back({word, colours[word]});
    }
    strokes.push_back({tone.channel, colours[tone.channel]});
    return strokes;
}

int ScaleRaised(int scale) {
    if (scale == -2) return 1;
    return std::min(scale + 1, kMaxScale);
}

int ScaleLowered(int scale) {
    if (scale == 1) return -2;
    return std::max(scale - 1, -kMaxScale);
}

void ShownCounts(const tone::Histogram& h, int channel, bool colourMode, uint32_t counts[256]) {
    for (int level = 0; level < 256; ++level) {
        if (!colourMode) {
            counts[level] = h.grey[level];
            continue;
        }
        switch (channel) {
            case kToneRed: counts[level] = h.red[level]; break;
            case kToneGreen: counts[level] = h.green[level]; break;
            case kToneBlue: counts[level] = h.blue[level]; break;
            default: counts[level] = h.red[level] + h.green[level] + h.blue[level]; break;
        }
    }
}

std::vector<HistogramBar> HistogramBars(const uint32_t counts[256], int innerWidth, int innerHeight, int scale) {
    std::vector<HistogramBar> bars;
    if (innerWidth < 1 || innerHeight < 1 || scale == 0) return bars;
    const int span = std::max(innerWidth - 1, 1);
    // Level of each line and its column.
    std::vector<std::pair<int, int>> lines;
    if (innerWidth > 256) {
        for (int level = 0; level < 256; ++level) lines.push_back({level, span * level / 255});
    } else {
        for (int x = 0; x < innerWidth; ++x) lines.push_back({x * 255 / span, x});
    }
    uint32_t largest = 0;
    for (const auto& line : lines) largest = std::max(largest, counts[line.first]);
    if (largest == 0) return bars;
    for (const auto& line : lines) {
        const double share = static_cast<double>(counts[line.first]) / largest * innerHeight;
        const double height = scale >= 1 ? share * scale : share / -scale;
        bars.push_back({line.second, static_cast<int>(std::min(height, static_cast<double>(innerHeight)))});
    }
    return bars;
}

}  // namespace pages
