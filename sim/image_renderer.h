// The image lines the simulated scanner delivers: the bed under the scan area
// (procedural or a BMP), sampled at the analyser's positions, read by the
// sensor (element white levels), corrected with the received shading values
// and passed through the received tone tables. Per-column tables are built
// once per scan so that a line costs a few integer operations per sample.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/bed_image.h"
#include "sim/bed_pattern.h"
#include "sim/calibration.h"
#include "sim/scan_geometry.h"
#include "sim/scanner_config.h"
#include "sim/tone_tables.h"

namespace sim {

struct ImageRenderer {
    const BedImage* bed = nullptr;  // null: the procedural bed
    BedLayout layout = BedLayout::kDocument;  // the procedural bed's layout
    ScanParameters parameters;
    ScanArea area;
    uint32_t bedColumns = 0;  // bed size in bed dots
    uint32_t bedRows = 0;
    PatternColumns pattern;              // bed x of each pixel, and column tables of the procedural bed
    std::vector<uint32_t> imageColumns;  // picture column of each pixel (BMP bed only)
    std::vector<uint32_t> rowDots;       // bed y of each line
    std::vector<uint32_t> factors;       // colour group: red, green, blue per pixel; grey group: one
    std::array<ToneLookup, 3> lookups = {};  // colour: red, green, blue; otherwise [0]
    uint8_t threshold = 0;
    std::vector<uint8_t> reflectance;  // one bed row, red, green, blue per pixel
};

// Everything a scan of `parameters` needs, from the tables in force when it
// starts. `bed` must outlive the renderer; an empty picture means the
// procedural bed.
ImageRenderer PrepareRenderer(const ScannerConfig& config, const BedImage& bed, const ScanParameters& parameters,
                              const ToneTables& tone, const Calibration& calibration);

// Writes image line `line` (below area.lines) into `out` (area.lineBytes bytes):
//   line art: 1 bit per pixel, first pixel in the top bit, 1 = white (toned
//     grey at or above the threshold), unused bits of the last byte 0;
//   grey (1, 2): one toned byte; colour (3): red, green, blue toned bytes;
//   36-bit colour (5): red, green, blue as little-endian u16 holding the
//     corrected 12-bit value (no tone table).
void RenderLine(ImageRenderer& renderer, uint32_t line, uint8_t* out);

// The whole image a scan delivers, area.lines x area.lineBytes bytes: what a
// test compares an acquired image with.
std::vector<uint8_t> ExpectedPixels(const ScannerConfig& config, const BedImage& bed,
                                    const ScanParameters& parameters, const ToneTables& tone,
                                    const Calibration& calibration);

}  // namespace sim
