#include "imaging/tone_map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>


namespace tone {

uint32_t MakeTriple(int highlight, int shadow, int gamma) {
    return static_cast<uint32_t>(static_cast<uint8_t>(highlight)) |
           (static_cast<uint32_t>(static_cast<uint8_t>(shadow)) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(gamma)) << 16);
}

namespace {

// Gamma the map is built with: colour balance moves the red, green and blue
// gammas by 0.1 per 5 steps; line art is never curved.
int EffectiveGamma(int gamma, int channelIndex, bool applyBalance, uint16_t scanMode, const int8_t colorBalance[3]) {
    int g = gamma;
    if (scanMode == kModeColour) {
        if (applyBalance && channelIndex >= kRed && channelIndex <= kBlue)
            g = gamma + (2 * colorBalance[channelIndex]) / 10;
    } else if (scanMode == kModeLineArt) {
        g = kLinearGamma;
    }
    return std::clamp(g, kMinGamma, kMaxGamma);
}

// Replaces the entries strictly between lo and hi by a power curve from
// table[lo] to table[hi] with the given exponent.
void BendBetween(uint8_t* table, int lo, int hi, double exponent) {
    const double from = table[lo];
    const double span = static_cast<double>(table[hi]) - from;
    for (int i = lo + 1; i < hi; ++i) {
        const double x = static_cast<double>(i - lo) / (hi - lo);
        table[i] = static_cast<uint8_t>(static_cast<int>(from + span * std::pow(x, exponent)));
    }
}

}  // namespace

bool BuildToneMap(uint32_t triple, int inputCount, int outputCount, uint8_t* dest, int channelIndex,
                  bool applyBalance, uint16_t scanMode, const int8_t colorBalance[3]) {
    const int highlight = Highlight(triple);
    const int shadow = Shadow(triple);
    if (shadow >= highlight || inputCount < 1 || inputCount > kMaxInputCount || outputCount < 1 ||
        outputCount > kTableSize)
        return false;

    const int last = inputCount - 1;
    const int top = outputCount - 1;
    const int lo = static_cast<int>(shadow * last / 255.0);
    const int hi = static_cast<int>(highlight * last / 255.0);
    for (int i = 0; i <= last; ++i) {
        if (i <= lo)
            dest[i] = 0;
        else if (i >= hi)
            dest[i] = static_cast<uint8_t>(top);
        else
            dest[i] = static_cast<uint8_t>(top * (i - lo) / (hi - lo));
    }

    const int g = EffectiveGamma(Gamma(triple), channelIndex, applyBalance, scanMode, colorBalance);
    if (g != kLinearGamma) BendBetween(dest, lo, hi, 10.0 / g);
    return true;
}

bool BuildBrightnessContrastMap(uint32_t triple, int inputCount, int outputCount, uint8_t* dest) {
    const int brightness = static_cast<int8_t>(triple);
    const int contrast = static_cast<int8_t>(triple >> 8);
    const int gamma = Gamma(triple);
    const int n = inputCount - 1;
    const int m = outputCount - 1;
    if (m <= 20 || m >= 256 || n <= 20 || n >= kMaxInputCount || gamma < kMinGamma || gamma > kMaxGamma)
        return false;

    // Contrast, in single precision: positive contrast steepens the line
    // around the middle, negative contrast flattens it.
    int lo = 0;
    int hi = n;
    if (contrast >= 0) {
        const float f = static_cast<float>(contrast * n) / 255.0f;
        lo = static_cast<int>(f);
        hi = n - static_cast<int>(f);
        for (int i = 0; i <= n; ++i) {
            if (i <= lo)
                dest[i] = 0;
            else if (i >= hi)
                dest[i] = static_cast<uint8_t>(m);
            else
                dest[i] = static_cast<uint8_t>(static_cast<int>(static_cast<float>(m) * (static_cast<float>(i) - f) /
                                                                (static_cast<float>(n) - 2.0f * f)));
        }
    } else {
        const float f = static_cast<float>(contrast * m) / -255.0f;
        for (int i = 0; i <= n; ++i) {
            const float v = contrast == -128
                                ? f
                                : static_cast<float>(i) * (static_cast<float>(m) - 2.0f * f) / static_cast<float>(n) + f;
            dest[i] = static_cast<uint8_t>(static_cast<int>(v));
        }
    }

    // Brightness shifts every entry; clipped ends narrow the curved range.
    const int shift = brightness * m / 255;
    bool clippedHigh = false;
    for (int i = 0; i <= n; ++i) {
        const int v = dest[i] + shift;
        if (v < 0) {
            dest[i] = 0;
            lo = i + 1;
        } else if (v > m) {
            dest[i] = static_cast<uint8_t>(m);
            if (!clippedHigh) hi = i - 1;
            clippedHigh = true;
        } else {
            dest[i] = static_cast<uint8_t>(v);
        }
    }

    if (hi > lo) BendBetween(dest, lo, hi, 10.0 / gamma);
    return true;
}

uint32_t EditHighlight(uint32_t triple, int value) {
    const int highlight = std::clamp(value, 1, 255);
    int shadow = Shadow(triple);
    if (highlight <= shadow) shadow = highlight - 1;
    return MakeTriple(highlight, shadow, Gamma(triple));
}

uint32_t EditShadow(uint32_t triple, int value) {
    const int shadow = std::clamp(value, 0, 254);
    int highlight = Highlight(triple);
    if (shadow >= highlight) highlight = shadow + 1;
    return MakeTriple(highlight, shadow, Gamma(triple));
}

bool ParseGammaText(const std::string& text, int& gammaTenths) {
    const std::string field = text.substr(0, 3);
    const double tenths = std::strtod(field.c_str(), nullptr) * 10.0;
    if (!(tenths >= kMinGamma && tenths < kMaxGamma + 1)) return false;  // also refuses "inf" and "nan"
    gammaTenths = static_cast<int>(tenths);
    return true;
}

std::string FormatGamma(int gammaTenths) {
    char text[16];
    std::snprintf(text, sizeof text, "%1.1f", gammaTenths / 10.0);
    return text;
}

void StoreEditedTriple(ToneSettings& tone, bool colourMode, uint32_t triple) {
    auto store = [&](int word) {
        tone.channels[word].highlight = static_cast<uint8_t>(Highlight(triple));
        tone.channels[word].shadow = static_cast<uint8_t>(Shadow(triple));
        tone.channels[word].gamma = static_cast<int8_t>(Gamma(triple));
    };
    if (tone.channel == kToneMaster && colourMode) {
        store(kToneRed);
        store(kToneGreen);
        store(kToneBlue);
    } else if (tone.channel <= kToneBlue) {
        store(tone.channel);
    }
}

}  // namespace tone
