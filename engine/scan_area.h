// The figures of the scan area that the main page shows and the Scan button
// checks: width and length in the chosen unit, the pixel counts and the size
// of the image in bytes.
#pragma once

#include <cstdint>
#include <string>

// What the figures are computed from. The frame is in preview units (30 per
// inch) over the model's maximum area; an edge outside that area is taken at
// the area's border.
struct ScanAreaInput {
    uint16_t frame[4] = {};  // left, top, right, bottom, in either order
    float maxAreaWidth = 0;  // inches
    float maxAreaLength = 0;
    uint16_t resolution = 0;
    uint16_t scaling = 0;  // percent
    uint16_t dpiScale = 0;
    uint16_t opticalResolution = 0;
    uint16_t scanMode = 0;
    uint32_t unit = 0;         // 0 inches, 1 pixels, 2 cm, 3 mm
    uint16_t feederPaper = 0;  // 401..405 while the feeder is in use, else 0
};

struct ScanAreaFigures {
    bool valid = false;            // false while the area has no width or length
    uint32_t effectiveResolution = 0;  // dots per inch of the output
    double widthInches = 0;        // W and L: the scanned area, before scaling
    double lengthInches = 0;
    uint64_t widthPixels = 0;      // whole pixels of the output
    uint64_t lengthPixels = 0;
    uint64_t imageBytes = 0;
    std::string widthText;         // as the page shows them, in `unit`
    std::string lengthText;
    std::string sizeText;          // kilobytes, "%4.2f"
};

// The output resolution: resolution x scaling / 100, or ten times the
// optical resolution (600, 800, 1200) for dpiScale 5.
uint32_t EffectiveResolution(uint16_t resolution, uint16_t scaling, uint16_t dpiScale, uint16_t opticalResolution);

// Width and length in inches of a feeder paper size 401..405; false for any
// other number.
bool FeederPaperInches(uint16_t paper, double& width, double& length);

// The feeder paper size for the page size a host negotiated through
// ICAP_SUPPORTEDSIZES (a TWSS_ value): A4 401, B5 405, A5 404; without a page
// size, or for one the feeder has no size for, the full 11.7 x 17 inches, 403.
uint16_t FeederPaperForPageSize(uint16_t pageSize);

// The scan frame of a feeder paper size, in preview units (30 per inch) from
// the top-left corner; false for a number that is no paper size.
bool FeederPaperFrame(uint16_t paper, uint16_t frame[4]);

ScanAreaFigures ComputeScanAreaFigures(const ScanAreaInput& input);

// The limit of both pixel counts the Scan button accepts (inclusive), and the
// smallest image it scans.
constexpr uint64_t kMaxScanPixels = 30000;
constexpr uint64_t kMinImageBytes = 100;
