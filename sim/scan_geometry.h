// Sizes of what the simulated scanner delivers: the optical rate its
// resolution code stands for, the bed in optical units, pixel counts at a
// scan resolution, and the bytes of image and shading lines.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/scanner_config.h"

namespace sim {

enum ImageType : uint8_t {
    kLineArt = 0,
    kGrey = 1,
    kGreyColourShaded = 2,  // 8-bit grey, calibrated like colour
    kColour = 3,
    kColour36 = 5,
};

// What SetScanParameters asked for: the area in optical units.
struct ScanParameters {
    uint16_t left = 0;
    uint16_t top = 0;
    uint16_t right = 0;
    uint16_t bottom = 0;
    uint8_t source = 0;  // 0 reflective, 1 positive film, 2 negative film, 3 feeder
    uint8_t imageType = 0;
    uint8_t velocity = 0;
    uint16_t resolution = 0;
};

bool IsKnownImageType(uint8_t type);
bool IsColourGroup(uint8_t type);  // types 2, 3, 5; otherwise the grey group (0, 1)

// Optical positions per inch for the four resolution characters: 600, 800 and
// 1200 for "600", "800", "1200"; 1200 for "606"; the model numbers "6000",
// "6060", "8000" stand for the same. Anything else: 1200.
uint32_t OpticalRate(const std::array<char, 4>& resolutionCode);

struct Bed {
    uint32_t width;   // optical units
    uint32_t length;  // optical units
};

// 8.5 x 11.5 inches for the letter-size prefix "KVC-", otherwise 11.7 x 17.0.
Bed BedSize(const std::array<char, 4>& modelPrefix, uint32_t opticalRate);

// Output units across `positions` optical positions at `resolution` dpi, by a
// digital differential analyser that starts at the optical rate and counts one
// unit each time it exceeds it.
uint32_t DdaCount(uint32_t positions, uint32_t resolution, uint32_t opticalRate);

// Offsets from the first position of the positions at which the analyser
// counts, one per output unit: DdaPositions(n, ...).size() == DdaCount(n, ...).
std::vector<uint32_t> DdaPositions(uint32_t positions, uint32_t resolution, uint32_t opticalRate);

// For every position 0..positions-1, the output unit that covers it: the
// last one counted at or before it.
std::vector<uint32_t> DdaUnitOfPosition(uint32_t positions, uint32_t resolution, uint32_t opticalRate);

// Bytes of one image line of `pixels` pixels: line art packs 8 per byte, grey
// 1 byte, colour 3, 36-bit colour 6. 0 for an unknown type.
uint32_t ImageLineBytes(uint8_t imageType, uint32_t pixels);

// Bytes of one shading line for `pixels` pixels: a 2-byte (grey) or 6-byte
// (colour) head, then one u16 per sample (three samples per colour pixel).
// The pixel count is capped so that the line fits a u16 field.
uint32_t ShadingLineBytes(bool colourGroup, uint32_t pixels);

// The configured scanner's optical rate and bed.
uint32_t ConfiguredRate(const ScannerConfig& config);
Bed ConfiguredBed(const ScannerConfig& config);

// The requested area cut to the bed, and what it gives at the scan resolution.
struct ScanArea {
    uint32_t left = 0;    // optical units from the bed's left edge
    uint32_t top = 0;     // optical units from the bed's top edge
    uint32_t across = 0;  // optical positions inside the bed
    uint32_t down = 0;
    uint32_t pixels = 0;
    uint32_t lines = 0;
    uint32_t lineBytes = 0;
};
ScanArea AreaOf(const ScannerConfig& config, const ScanParameters& parameters);

// The white reference the scanner reads for a mode group at a resolution:
// one line of every pixel across the bed (capped as ShadingLineBytes caps it).
struct ShadingGeometry {
    bool colour = false;
    uint32_t pixels = 0;
    uint32_t lineBytes = 0;
    uint16_t lines = 0;
};
ShadingGeometry ShadingGeometryOf(const ScannerConfig& config, bool colourGroup, uint16_t resolution);

}  // namespace sim
