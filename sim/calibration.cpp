#include "sim/calibration.h"

#include <algorithm>

namespace sim {
namespace {

constexpr uint32_t kMaxFactor = 1u << 24;  // keeps b * F inside 32 bits; saturates anyway

uint32_t ReferenceLevel(const ScannerConfig& config, uint32_t channel) {
    return std::max<uint32_t>(config.referenceLevels[channel], 1);
}

}  // namespace

uint16_t FactoryCorrection(const ScannerConfig& config, uint32_t channel) {
    const uint64_t white = config.whiteLevel;
    const uint64_t scaled = (uint64_t{kFullScale} * ReferenceLevel(config, channel) * 2 + white) / (2 * white);
    return static_cast<uint16_t>(std::clamp<uint64_t>(scaled, 1023, 0xFFFF + 1023) - 1023);
}

bool StoreCorrection(Calibration& calibration, bool colourGroup, uint16_t resolution, uint32_t pixels,
                     const std::vector<uint16_t>& values) {
    if (resolution == 0 || pixels == 0) return false;
    auto store = [&](uint32_t channel, size_t first) {
        CorrectionPlane& plane = calibration.planes[channel];
        plane.resolution = resolution;
        plane.values.assign(values.begin() + first, values.begin() + first + pixels);
    };
    if (!colourGroup) {
        if (values.size() != pixels) return false;
        store(kMono, 0);
        return true;
    }
    if (values.size() == pixels) {
        store(kGreen, 0);
        return true;
    }
    if (values.size() != size_t{pixels} * 3) return false;
    for (uint32_t channel = kRed; channel <= kBlue; ++channel) store(channel, size_t{channel} * pixels);
    return true;
}

bool CalibrationCovers(const Calibration& calibration, bool colourGroup, uint16_t resolution) {
    if (!colourGroup) return calibration.planes[kMono].resolution == resolution;
    for (uint32_t channel = kRed; channel <= kBlue; ++channel) {
        if (calibration.planes[channel].resolution != resolution) return false;
    }
    return true;
}

std::vector<uint32_t> ColumnFactors(const ScannerConfig& config, const Calibration& calibration,
                                    uint32_t channel, uint16_t resolution,
                                    const std::vector<uint32_t>& positions) {
    const CorrectionPlane& plane = calibration.planes[channel];
    const uint32_t width = ConfiguredBed(config).width;
    std::vector<uint32_t> valueIndex;
    if (plane.resolution != 0) valueIndex = DdaUnitOfPosition(width, plane.resolution, ConfiguredRate(config));
    const std::vector<uint32_t> elements = ReadElements(config, resolution, positions);
    const uint16_t factory = FactoryCorrection(config, channel);
    const uint64_t divisor = uint64_t{255} * ReferenceLevel(config, channel);

    std::vector<uint32_t> factors(positions.size());
    for (size_t x = 0; x < positions.size(); ++x) {
        uint32_t q = factory;
        if (!valueIndex.empty()) {
            const uint32_t index = valueIndex[std::min(positions[x], width - 1)];
            if (index < plane.values.size()) q = plane.values[index];
        }
        const uint64_t white = ElementWhite(config, channel, elements[x]);
        const uint64_t factor = (white * (1023 + q) << 16) / divisor;
        factors[x] = static_cast<uint32_t>(std::min<uint64_t>(factor, kMaxFactor));
    }
    return factors;
}

}  // namespace sim
