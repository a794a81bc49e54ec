#include "sim/scan_geometry.h"

#include <algorithm>
#include <cstring>

namespace sim {
namespace {

constexpr uint32_t kMaxU16 = 0xFFFF;

// The resolution characters as a decimal number: leading blanks skipped,
// ending at the first non-digit.
uint32_t CodeNumber(const std::array<char, 4>& code) {
    size_t pos = 0;
    while (pos < code.size() && code[pos] == ' ') ++pos;
    uint32_t number = 0;
    for (; pos < code.size() && code[pos] >= '0' && code[pos] <= '9'; ++pos) {
        number = number * 10 + static_cast<uint32_t>(code[pos] - '0');
    }
    return number;
}

}  // namespace

bool IsKnownImageType(uint8_t type) {
    return type == kLineArt || type == kGrey || type == kGreyColourShaded || type == kColour ||
           type == kColour36;
}

bool IsColourGroup(uint8_t type) {
    return type == kGreyColourShaded || type == kColour || type == kColour36;
}

uint32_t OpticalRate(const std::array<char, 4>& resolutionCode) {
    switch (CodeNumber(resolutionCode)) {
        case 600:
        case 6000:
            return 600;
        case 800:
        case 8000:
            return 800;
        default:
            return 1200;  // 1200, and 606 / 6060, which scan at 1200 positions per inch
    }
}

Bed BedSize(const std::array<char, 4>& modelPrefix, uint32_t opticalRate) {
    const bool letter = std::memcmp(modelPrefix.data(), "KVC-", 4) == 0;
    const uint32_t widthTenths = letter ? 85 : 117;
    const uint32_t lengthTenths = letter ? 115 : 170;
    return {widthTenths * opticalRate / 10, lengthTenths * opticalRate / 10};
}

uint32_t DdaCount(uint32_t positions, uint32_t resolution, uint32_t opticalRate) {
    uint64_t accumulator = opticalRate;  // grows when the resolution exceeds the rate
    uint32_t count = 0;
    for (uint32_t i = 0; i < positions; ++i) {
        accumulator += resolution;
        if (accumulator > opticalRate) {
            accumulator -= opticalRate;
            ++count;
        }
    }
    return count;
}

std::vector<uint32_t> DdaPositions(uint32_t positions, uint32_t resolution, uint32_t opticalRate) {
    std::vector<uint32_t> counted;
    uint64_t accumulator = opticalRate;
    for (uint32_t i = 0; i < positions; ++i) {
        accumulator += resolution;
        if (accumulator > opticalRate) {
            accumulator -= opticalRate;
            counted.push_back(i);
        }
    }
    return counted;
}

std::vector<uint32_t> DdaUnitOfPosition(uint32_t positions, uint32_t resolution, uint32_t opticalRate) {
    std::vector<uint32_t> unit(positions);
    uint32_t count = 0;
    uint64_t accumulator = opticalRate;
    for (uint32_t i = 0; i < positions; ++i) {
        accumulator += resolution;
        if (accumulator > opticalRate) {
            accumulator -= opticalRate;
            ++count;
        }
        unit[i] = count - 1;  // position 0 always counts
    }
    return unit;
}

uint32_t ImageLineBytes(uint8_t imageType, uint32_t pixels) {
    switch (imageType) {
        case kLineArt:
            return pixels / 8;  // whole bytes: the pixels of a last partial byte are not sent
        case kGrey:
        case kGreyColourShaded:
            return pixels;
        case kColour:
            return pixels * 3;
        case kColour36:
            return pixels * 6;
        default:
            return 0;
    }
}

uint32_t ShadingLineBytes(bool colourGroup, uint32_t pixels) {
    const uint32_t head = colourGroup ? 6 : 2;
    const uint32_t bytesPerPixel = colourGroup ? 6 : 2;
    return head + bytesPerPixel * std::min(pixels, (kMaxU16 - head) / bytesPerPixel);
}

uint32_t ConfiguredRate(const ScannerConfig& config) { return OpticalRate(config.resolutionCode); }

Bed ConfiguredBed(const ScannerConfig& config) { return BedSize(config.modelPrefix, ConfiguredRate(config)); }

ScanArea AreaOf(const ScannerConfig& config, const ScanParameters& p) {
    const uint32_t rate = ConfiguredRate(config);
    const Bed bed = ConfiguredBed(config);
    const uint32_t right = std::min<uint32_t>(p.right, bed.width);
    const uint32_t bottom = std::min<uint32_t>(p.bottom, bed.length);
    ScanArea area;
    area.left = p.left;
    area.top = p.top;
    area.across = right > p.left ? right - p.left : 0;
    area.down = bottom > p.top ? bottom - p.top : 0;
    area.pixels = DdaCount(area.across, p.resolution, rate);
    area.lines = DdaCount(area.down, p.resolution, rate);
    area.lineBytes = ImageLineBytes(p.imageType, area.pixels);
    return area;
}

ShadingGeometry ShadingGeometryOf(const ScannerConfig& config, bool colourGroup, uint16_t resolution) {
    ShadingGeometry g;
    g.colour = colourGroup;
    g.lineBytes = ShadingLineBytes(colourGroup, DdaCount(ConfiguredBed(config).width, resolution, ConfiguredRate(config)));
    g.pixels = (g.lineBytes - (colourGroup ? 6 : 2)) / (colourGroup ? 6 : 2);
    g.lines = colourGroup ? config.shadingLinesColour : config.shadingLinesGrey;
    return g;
}

}  // namespace sim
