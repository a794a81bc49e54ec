// The colour pass of colour scans and of the preview: every level is pulled
// toward the colour picked on the hue wheel (balance), then the saturation
// changes through a luminance-preserving matrix. Both steps are table lookups.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/image_records.h"

namespace colour {

// Byte order of a 24-bit pixel: engine lines are red first, the preview
// image and the host's bitmaps blue first.
enum class PixelOrder { kRgb, kBgr };

// Luminance weights of the saturation matrix by pixel byte position. They
// follow the position, not the colour: on a blue-first image 0.3086 weighs blue.
constexpr double kByteWeights[3] = {0.3086, 0.6094, 0.0820};

// Balance: one level table per pixel byte position.
struct BalanceTables {
    uint8_t level[3][256];
};

// Saturation: the 4 x 4 matrix and, for input byte k and output byte c,
// table[k][c][i], the contribution of level i of byte k to byte c.
struct SaturationTables {
    float matrix[4][4];
    int32_t table[3][3][256];
};

// The tables of one colour pass. The caller owns them; PrepareColourPass
// (and ApplyColourAdjust, on every call) builds them from the settings.
// `levels` folds the tone maps and the balance of each byte position into one
// map; `pixel` folds those maps and the saturation tables into one lookup per
// input byte position: the three contributions of level i in the 16-bit lanes
// 0..2, each raised by kLaneBias so that lanes never go below zero.
struct ColourTables {
    bool balanceActive = false;
    BalanceTables balance;
    SaturationTables saturation;
    bool saturate = false;  // the saturation factor is not 1
    uint8_t levels[3][256];
    uint64_t pixel[3][256];
};
constexpr int32_t kLaneBias = 256;

// Saturation factor: (saturation + 100) / 100 in colour mode (-100 grey,
// 0 unchanged, 100 double), saturation taken within -100..100; 1 in other modes.
float SaturationFactor(int32_t saturation, uint16_t scanMode);

// Balance acts only for a picked colour with every component below 255 that
// is not black: white and black both mean "no balance".
bool BalanceActive(const PickedColour& picked);

// Fills the balance tables for target levels red, green and blue, placed on
// the byte positions of `order`: level i becomes i + (t - i) * (i + 10) / 512,
// truncated, so dark levels move little and level 255 moves 265/512 of the way.
void BuildBalanceTables(int red, int green, int blue, PixelOrder order, BalanceTables& tables);

// Builds the saturation matrix for factor s (taken within 0..2) and its nine
// tables. The diagonal tables add the grey weight and the factor truncated
// separately, so all three outputs share one grey part and a grey pixel stays
// grey for every factor.
void BuildSaturationTables(float s, SaturationTables& tables);

// Bytes of one padded 24-bit row: (width * 24 + 31) / 32 * 4.
size_t PaddedRowBytes(int width);

// Builds the tables of the colour pass for these settings (see
// ApplyColourAdjust). Returns false when the pass would leave every pixel as
// it is: no tone tables, no balance and saturation factor 1.
bool PrepareColourPass(const ToneSettings& tone, uint16_t scanMode, PixelOrder order, const uint8_t* toneTables,
                       ColourTables& tables);

// The prepared pass over `width` pixels from src to dst (dst may be src).
void ApplyColourPass(const ColourTables& tables, const uint8_t* src, uint8_t* dst, size_t width);

// The colour pass over height rows of width 24-bit pixels, stride bytes apart
// in buffers of bufferSize bytes. dst may be src (in place). When toneTables
// is given (768 bytes, one map per byte position: the preview tone tables),
// every byte first goes through it. The balance target is the picked colour
// in colour mode and white otherwise. Returns false, changing nothing, when
// the geometry does not fit the buffers.
bool ApplyColourAdjust(int width, int height, size_t stride, uint8_t* dst, const uint8_t* src, size_t bufferSize,
                       const ToneSettings& tone, uint16_t scanMode, PixelOrder order, const uint8_t* toneTables,
                       ColourTables& tables);

}  // namespace colour
