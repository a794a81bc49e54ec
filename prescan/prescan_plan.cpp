#include "prescan/prescan_plan.h"

#include <cmath>

namespace prescan {

namespace {

// The beds in tenths of an inch, so that the optical extents come out whole.
struct BedTenths {
    uint32_t width;
    uint32_t length;
};
BedTenths BedOf(bool letterModel) { return letterModel ? BedTenths{85, 115} : BedTenths{117, 170}; }

}  // namespace

uint16_t AreaRate(uint16_t opticalResolution) {
    return opticalResolution == 600 || opticalResolution == 800 ? opticalResolution : 1200;
}

ScanPlan PlanPrescan(uint16_t opticalResolution, bool letterModel, uint32_t sourceWord, const Options& options) {
    ScanPlan plan{};
    plan.areaRate = AreaRate(opticalResolution);
    const BedTenths bed = BedOf(letterModel);
    plan.right = static_cast<uint16_t>(bed.width * plan.areaRate / 10);
    const uint32_t fullBottom = bed.length * plan.areaRate / 10;
    plan.bottom = static_cast<uint16_t>(fullBottom);
    // A NaN or a length below 4 inches leaves the whole bed.
    if (options.lengthInches >= kShortestLength) {
        const double wanted = std::floor(double{options.lengthInches} * plan.areaRate + 0.5);
        if (wanted < fullBottom) plan.bottom = static_cast<uint16_t>(wanted);
    }

    const uint32_t half = sourceWord >> 16;
    const auto speed = static_cast<uint8_t>((sourceWord & 0xFFFF) << 4);
    if (half == 1) {
        plan.source = 1;
        plan.speedByte = static_cast<uint8_t>(speed | 0x41);
    } else if (half == 2) {
        plan.source = 2;
        plan.speedByte = static_cast<uint8_t>(speed | 0xC1);
    } else {
        plan.source = 0;
        plan.speedByte = 1;
    }
    plan.resolution = options.hiRes != 0 ? kHighResolution : kLowResolution;
    plan.bitmapRows = plan.resolution * bed.length / 10;
    return plan;
}

bool BitmapForLines(const ScanPlan& plan, uint16_t bytesPerLine, Bitmap& bitmap) {
    if (bytesPerLine == 0 || bytesPerLine % 3 != 0) return false;
    // The widest row the planned area gives at the scan resolution.
    const uint32_t widest = (uint32_t{plan.right} * plan.resolution + plan.areaRate - 1) / plan.areaRate;
    const uint32_t width = bytesPerLine / 3u;
    if (width > widest) return false;
    bitmap.width = width;
    bitmap.rowBytes = (width * 3 + 3) & ~3u;
    bitmap.rows = plan.bitmapRows;
    bitmap.pixelBytes = uint64_t{bitmap.rowBytes} * bitmap.rows;
    return true;
}

}  // namespace prescan
