#include "engine/detection_threshold.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>

namespace detection {
namespace {

constexpr int kPatternMean = 47;
constexpr int kPatternTolerance = 15;
constexpr int kLowestThreshold = 25;
constexpr int kHighestThreshold = 42;
constexpr int kTransparencyMargin = 4;

}  // namespace

ClassMeans TwoMeans(const std::vector<uint8_t>& samples) {
    std::array<uint64_t, 256> histogram{};
    for (uint8_t s : samples) ++histogram[s];
    ClassMeans means;
    for (int round = 0; round < kMaxClusterRounds; ++round) {
        uint64_t lowCount = 0, lowSum = 0, highCount = 0, highSum = 0;
        for (int v = 0; v < 256; ++v) {
            if (std::abs(v - means.low) <= std::abs(v - means.high)) {
                lowCount += histogram[v];
                lowSum += histogram[v] * v;
            } else {
                highCount += histogram[v];
                highSum += histogram[v] * v;
            }
        }
        if (lowCount == 0 || highCount == 0) break;
        const ClassMeans next{static_cast<int>(lowSum / lowCount), static_cast<int>(highSum / highCount)};
        const bool settled = std::abs(next.low - means.low) < 2 && std::abs(next.high - means.high) < 2;
        means = next;
        if (settled) break;
    }
    return means;
}

ReflectiveThreshold ThresholdForReflective(const ClassMeans& means) {
    if (std::abs(means.low - kPatternMean) < kPatternTolerance) return {means.low, true};
    return {std::clamp(means.low, kLowestThreshold, kHighestThreshold), false};
}

int ThresholdForTransparency(const ClassMeans& means) { return means.low + kTransparencyMargin; }

int LightTableLevel(const ClassMeans& means) {
    if (means.high >= 250) return 250;
    if (means.high >= 230) return 248;
    return 246;
}

}  // namespace detection
