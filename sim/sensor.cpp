#include "sim/sensor.h"

#include <algorithm>

#include "device/request_blocks.h"
#include "sim/seeded_hash.h"

namespace sim {
namespace {

// Purposes of the seeded hash, so that gains, noise and dust do not repeat
// one another.
enum Purpose : uint32_t { kGain = 1, kNoise = 2, kDust = 3 };

// A seeded value in -span..span.
int32_t Spread(uint32_t hash, uint32_t span) {
    return static_cast<int32_t>(hash % (2 * span + 1)) - static_cast<int32_t>(span);
}

constexpr uint32_t kDustOneIn = 256;  // a dark speck on one reference sample in this many

uint16_t ShadingSample(const ScannerConfig& config, uint32_t channel, uint32_t element, uint32_t line,
                       uint32_t pixel) {
    int32_t value = ElementWhite(config, channel, element);
    if (config.noise > 0) {
        const uint32_t where = pixel * kChannelCount + channel;
        value += Spread(SeededHash(config.seed, kNoise, line, where), config.noise);
        if (SeededHash(config.seed, kDust, line, where) % kDustOneIn == 0) value = value * 3 / 4;
    }
    value = std::clamp<int32_t>(value, 0, kFullScale);
    return static_cast<uint16_t>(value | ((line & 0xF) << 12));
}

}  // namespace

uint16_t ElementWhite(const ScannerConfig& config, uint32_t channel, uint32_t element) {
    const uint32_t span = config.gainVariation * 100u;  // in hundredths of a percent
    const int32_t change = Spread(SeededHash(config.seed, kGain, channel, element), span);
    const int64_t white = int64_t{config.whiteLevel} * (10000 + change) / 10000;
    return static_cast<uint16_t>(std::clamp<int64_t>(white, 0, kFullScale));
}

std::vector<uint32_t> ReadElements(const ScannerConfig& config, uint16_t resolution,
                                   const std::vector<uint32_t>& positions) {
    const uint32_t rate = ConfiguredRate(config);
    const uint32_t width = ConfiguredBed(config).width;
    const std::vector<uint32_t> read = DdaPositions(width, resolution, rate);
    const std::vector<uint32_t> unit = DdaUnitOfPosition(width, resolution, rate);
    std::vector<uint32_t> elements(positions.size());
    for (size_t i = 0; i < positions.size(); ++i) {
        elements[i] = read[unit[std::min(positions[i], width - 1)]];
    }
    return elements;
}

std::vector<uint8_t> ShadingLines(const ScannerConfig& config, bool colourGroup, uint16_t resolution) {
    const ShadingGeometry g = ShadingGeometryOf(config, colourGroup, resolution);
    const std::vector<uint32_t> elements =
        DdaPositions(ConfiguredBed(config).width, resolution, ConfiguredRate(config));
    const uint32_t channels = colourGroup ? 3 : 1;
    std::vector<uint8_t> data(size_t{g.lineBytes} * g.lines, 0);
    for (uint32_t line = 0; line < g.lines; ++line) {
        uint8_t* samples = data.data() + size_t{line} * g.lineBytes + 2;
        for (uint32_t pixel = 0; pixel < g.pixels; ++pixel) {
            for (uint32_t c = 0; c < channels; ++c) {
                const uint32_t channel = colourGroup ? c : kMono;
                blocks::PutU16(samples, 2 * (pixel * channels + c),
                               ShadingSample(config, channel, elements[pixel], line, pixel));
            }
        }
    }
    return data;
}

}  // namespace sim
