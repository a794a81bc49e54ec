// What a prescan asks of the scanner and how its answer becomes the preview
// bitmap: the whole bed (or the user's shorter length) in colour at 30 or
// 60 dpi, and the checks of the line geometry the scanner reports.
#pragma once

#include <cstdint>

namespace prescan {

// The options block PreScan_Image takes by value (12 bytes).
struct Options {
    uint32_t hiRes;      // 0: 30 dpi, otherwise 60 dpi
    uint32_t reserved;   // not read
    float lengthInches;  // the user's prescan length
};
static_assert(sizeof(Options) == 12, "the options travel as 12 bytes");

constexpr uint16_t kLowResolution = 30;
constexpr uint16_t kHighResolution = 60;
// Shorter user lengths are ignored: the whole bed is scanned.
constexpr float kShortestLength = 4.0f;

// The scan parameter fields of a prescan.
struct ScanPlan {
    uint16_t areaRate;    // area units per inch: 600, 800 or 1200
    uint16_t right;       // area: left and top are 0
    uint16_t bottom;
    uint8_t source;       // 0 reflective, 1 positive, 2 negative
    uint8_t speedByte;    // feeder/speed byte at offset 17
    uint16_t resolution;  // 30 or 60
    uint32_t bitmapRows;  // resolution x the bed's full length
};

// Area units per inch for an optical resolution: 600 and 800 their own,
// 606 and 1200 (and anything else) 1200.
uint16_t AreaRate(uint16_t opticalResolution);

// The plan for a scanner of `opticalResolution` on an A3 or letter bed.
// `sourceWord`: high half 1 or 2 selects film source 1 or 2, its low half
// goes into the speed byte; any other high half scans the reflective bed.
// A length of at least 4 inches shortens the scan; one past the bed's
// length scans the whole bed.
ScanPlan PlanPrescan(uint16_t opticalResolution, bool letterModel, uint32_t sourceWord, const Options& options);

// The bitmap the scanned lines go into.
struct Bitmap {
    uint32_t width;     // pixels
    uint32_t rowBytes;  // padded to a multiple of 4
    uint32_t rows;
    uint64_t pixelBytes;
};

// Checks what StartScan reported against the plan: false when bytes per line
// are 0, not whole colour pixels, or more than a row of the planned width
// holds. The bitmap keeps the plan's rows; lines past them are not stored.
bool BitmapForLines(const ScanPlan& plan, uint16_t bytesPerLine, Bitmap& bitmap);

}  // namespace prescan
