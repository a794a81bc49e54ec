// The raw 12-bit sensor of the simulated scanner: one white level per optical
// element and channel (lamp and element gain, seeded), which element each
// pixel is read from at a scan resolution, and the white reference lines that
// ReadShadingData delivers (with seeded noise and dust).
#pragma once

#include <cstdint>
#include <vector>

#include "sim/scan_geometry.h"
#include "sim/scanner_config.h"

namespace sim {

constexpr uint32_t kFullScale = 4095;  // largest 12-bit sample

// Sensor channels, in the order of the reference levels: colour scans use
// red, green and blue, grey and line-art scans the mono channel.
enum Channel : uint32_t { kRed = 0, kGreen = 1, kBlue = 2, kMono = 3 };
constexpr uint32_t kChannelCount = 4;

// The 12-bit reading of white at optical element `element`: WhiteLevel
// changed by a seeded amount of up to GainVariation percent, at most 4095.
uint16_t ElementWhite(const ScannerConfig& config, uint32_t channel, uint32_t element);

// At a resolution the sensor reads the elements at the analyser's positions
// from the bed's left edge; an optical position between two of them takes
// the one at or before it. Returns, for each of `positions` (optical
// positions from the bed's left edge, each inside the bed), its element.
std::vector<uint32_t> ReadElements(const ScannerConfig& config, uint16_t resolution,
                                   const std::vector<uint32_t>& positions);

// The white reference lines for a mode group at a resolution, as
// ShadingGeometryOf describes them: per line a zero head of 2 bytes, then
// little-endian samples (colour: red, green, blue per pixel), then zeros to
// the end of the line. A sample holds the element's white level plus noise
// in its low 12 bits and the line number modulo 16 in its top 4 bits.
std::vector<uint8_t> ShadingLines(const ScannerConfig& config, bool colourGroup, uint16_t resolution);

}  // namespace sim
