#include "imaging/colour_adjust.h"

#include <algorithm>

#include "imaging/bgr_image.h"

namespace colour {

namespace {

using LevelMaps = uint8_t[3][256];

inline uint8_t ClampLevel(int32_t v) { return static_cast<uint8_t>(std::clamp<int32_t>(v, 0, 255)); }

// One map per byte position: the tone tables (when given), then the balance.
void ComposeLevelMaps(const uint8_t* toneTables, const ColourTables& tables, LevelMaps& maps) {
    for (int b = 0; b < 3; ++b) {
        for (int i = 0; i < 256; ++i) {
            uint8_t v = toneTables != nullptr ? toneTables[b * 256 + i] : static_cast<uint8_t>(i);
            if (tables.balanceActive) v = tables.balance.level[b][v];
            maps[b][i] = v;
        }
    }
}

void MapRow(const uint8_t* src, uint8_t* dst, size_t width, const LevelMaps& maps) {
    for (size_t x = 0; x < width; ++x, src += 3, dst += 3) {
        const uint8_t a = maps[0][src[0]];
        const uint8_t b = maps[1][src[1]];
        const uint8_t c = maps[2][src[2]];
        dst[0] = a;
        dst[1] = b;
        dst[2] = c;
    }
}

// One lookup per input byte holds its contributions to all three outputs.
void BuildPixelTables(const LevelMaps& maps, ColourTables& tables) {
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < 256; ++i) {
            uint64_t lanes = 0;
            for (int c = 0; c < 3; ++c) {
                const int32_t v = tables.saturation.table[k][c][maps[k][i]] + kLaneBias;
                lanes |= static_cast<uint64_t>(v) << (16 * c);
            }
            tables.pixel[k][i] = lanes;
        }
    }
}

inline uint8_t Lane(uint64_t sum, int c) {
    return ClampLevel(static_cast<int32_t>((sum >> (16 * c)) & 0xFFFF) - 3 * kLaneBias);
}

void SaturateRow(const uint8_t* src, uint8_t* dst, size_t width, const uint64_t (&pixel)[3][256]) {
    for (size_t x = 0; x < width; ++x, src += 3, dst += 3) {
        const uint64_t sum = pixel[0][src[0]] + pixel[1][src[1]] + pixel[2][src[2]];
        dst[0] = Lane(sum, 0);
        dst[1] = Lane(sum, 1);
        dst[2] = Lane(sum, 2);
    }
}

}  // namespace

float SaturationFactor(int32_t saturation, uint16_t scanMode) {
    if (scanMode != kModeColour) return 1.0f;
    const int32_t s = std::clamp<int32_t>(saturation, -100, 100);
    return static_cast<float>(s + 100) * 2.0f / 200.0f;
}

bool BalanceActive(const PickedColour& picked) {
    const bool belowWhite = picked.r < 255 && picked.g < 255 && picked.b < 255;
    const bool black = picked.r == 0 && picked.g == 0 && picked.b == 0;
    return belowWhite && !black;
}

void BuildBalanceTables(int red, int green, int blue, PixelOrder order, BalanceTables& tables) {
    const int targets[3] = {order == PixelOrder::kRgb ? red : blue, green, order == PixelOrder::kRgb ? blue : red};
    for (int b = 0; b < 3; ++b) {
        for (int i = 0; i < 256; ++i) {
            const int v = static_cast<int>(i + (targets[b] - i) * (i + 10) / 512.0);
            tables.level[b][i] = ClampLevel(v);
        }
    }
}

void BuildSaturationTables(float factor, SaturationTables& tables) {
    const float s = std::clamp(factor, 0.0f, 2.0f);  // keeps every entry within -155..510
    // Row k: the grey weight w_k in every column, plus s on the diagonal.
    // Every column sums to 1, so a grey level is kept.
    float weight[3];
    for (int k = 0; k < 3; ++k) weight[k] = static_cast<float>((1.0 - s) * kByteWeights[k]);
    for (int k = 0; k < 4; ++k)
        for (int c = 0; c < 4; ++c) tables.matrix[k][c] = k == c ? 1.0f : 0.0f;
    for (int k = 0; k < 3; ++k)
        for (int c = 0; c < 3; ++c)
            tables.matrix[k][c] = static_cast<float>(k == c ? static_cast<double>(weight[k]) + s : weight[k]);

    // Truncating w_k + s as one product would give the three outputs of a
    // grey pixel different grey parts (255 grey became 253, 254, 253 at
    // saturation -50); truncating the grey part and the diagonal part apart
    // keeps them equal.
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < 256; ++i) {
            const int32_t grey = static_cast<int32_t>(i * static_cast<double>(weight[k]));
            const int32_t own = static_cast<int32_t>(i * static_cast<double>(s));
            for (int c = 0; c < 3; ++c) tables.table[k][c][i] = grey + (k == c ? own : 0);
        }
    }
}

size_t PaddedRowBytes(int width) {
    return width <= 0 ? 0 : (static_cast<size_t>(width) * 24 + 31) / 32 * 4;
}

bool PrepareColourPass(const ToneSettings& tone, uint16_t scanMode, PixelOrder order, const uint8_t* toneTables,
                       ColourTables& tables) {
    const float s = SaturationFactor(tone.saturation, scanMode);
    BuildSaturationTables(s, tables.saturation);
    tables.balanceActive = BalanceActive(tone.pixelRGB);
    if (tables.balanceActive) {
        const bool colour = scanMode == kModeColour;
        BuildBalanceTables(colour ? tone.pixelRGB.r : 255, colour ? tone.pixelRGB.g : 255,
                           colour ? tone.pixelRGB.b : 255, order, tables.balance);
    }
    ComposeLevelMaps(toneTables, tables, tables.levels);
    tables.saturate = s != 1.0f;  // factor 1 is the identity matrix
    if (tables.saturate) BuildPixelTables(tables.levels, tables);
    return tables.saturate || tables.balanceActive || toneTables != nullptr;
}

void ApplyColourPass(const ColourTables& tables, const uint8_t* src, uint8_t* dst, size_t width) {
    if (tables.saturate)
        SaturateRow(src, dst, width, tables.pixel);
    else
        MapRow(src, dst, width, tables.levels);
}

bool ApplyColourAdjust(int width, int height, size_t stride, uint8_t* dst, const uint8_t* src, size_t bufferSize,
                       const ToneSettings& tone, uint16_t scanMode, PixelOrder order, const uint8_t* toneTables,
                       ColourTables& tables) {
    if (dst == nullptr || src == nullptr || !tone::FitsBuffer(bufferSize, width, height, stride)) return false;
    PrepareColourPass(tone, scanMode, order, toneTables, tables);
    for (int y = 0; y < height; ++y) {
        const size_t offset = static_cast<size_t>(y) * stride;
        ApplyColourPass(tables, src + offset, dst + offset, static_cast<size_t>(width));
    }
    return true;
}

}  // namespace colour
