#include "engine/image_size.h"

#include "settings/scan_settings.h"

uint32_t EstimateImageSize(uint16_t scanMode, uint16_t resolution, uint16_t scaling, double widthInches,
                           double lengthInches) {
    double e = static_cast<double>(resolution * scaling / 100);
    double pixels = (e * widthInches) * (e * lengthInches);
    if (scanMode == kModeColour) pixels *= 3;
    if (pixels >= 4294967295.0) return 0xFFFFFFFFu;
    auto size = static_cast<uint32_t>(pixels);
    if (scanMode == kModeLineArt) size = static_cast<uint32_t>((uint64_t{size} + 7) / 8);
    return size;
}
