// The correction values the scanner holds per sensor channel, received with
// SendShadingData, and how they scale the raw readings of an image.
//
// A pixel of bed reflectance b (0..255) read at element e of a channel with
// white level W(e), reference level K and correction value q comes out as
//     corrected = min(4095, (b * F) >> 16),
//     F = min(2^24, floor(W(e) * (1023 + q) * 65536 / (255 * max(K, 1)))),
// that is b * W(e) / 255 * (1023 + q) / K in 16.16 fixed point. A data source
// that sends q = (4095 K - 1023 w) / w for a measured white w = W(e) makes a
// white pixel 4095, whatever the element's gain.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/scanner_config.h"
#include "sim/sensor.h"

namespace sim {

struct CorrectionPlane {
    uint16_t resolution = 0;       // the values' resolution; 0: none received, factory values
    std::vector<uint16_t> values;  // one per shading pixel at that resolution
};

struct Calibration {
    std::array<CorrectionPlane, kChannelCount> planes;  // red, green, blue, mono
};

// The value every element holds before a calibration: the one that suits an
// element of nominal gain, round(4095 K / WhiteLevel) - 1023, at least 0.
uint16_t FactoryCorrection(const ScannerConfig& config, uint32_t channel);

// Takes the values of one SendShadingData at `resolution`, where the group's
// shading line has `pixels` pixels: grey group `pixels` values for the mono
// channel; colour group 3 x `pixels` values as red, green and blue planes, or
// `pixels` values for the green plane alone (the resend of the kept green
// plane; red and blue stay as they are). Any other count: false, nothing kept.
bool StoreCorrection(Calibration& calibration, bool colourGroup, uint16_t resolution, uint32_t pixels,
                     const std::vector<uint16_t>& values);

// Whether every channel of the group holds values received at `resolution`.
bool CalibrationCovers(const Calibration& calibration, bool colourGroup, uint16_t resolution);

// The factors F above for one channel, one per pixel read at `positions`
// (optical positions from the bed's left edge) at the scan resolution. The
// value for a position is the one of the shading pixel covering it at the
// plane's resolution; positions past the received values keep the factory one.
std::vector<uint32_t> ColumnFactors(const ScannerConfig& config, const Calibration& calibration,
                                    uint32_t channel, uint16_t resolution,
                                    const std::vector<uint32_t>& positions);

}  // namespace sim
