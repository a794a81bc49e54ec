#include "engine/shading.h"

#include <algorithm>

#include "settings/scan_settings.h"

namespace shading {

bool GroupOfMode(uint16_t scanMode, Group& group) {
    if (BitsPerPixel(scanMode) == 0) return false;
    group = scanMode >= kModeGray ? Group::kColour : Group::kGrey;
    return true;
}

GainTable BuildGainTable(uint16_t referenceLevel) {
    GainTable table;
    const int64_t k = referenceLevel;
    for (int64_t i = 0; i < static_cast<int64_t>(kGainEntries); ++i) {
        if (i < 2048) {
            table[i] = referenceLevel;
            continue;
        }
        const int64_t numerator = 4095 * k - 1023 * i;
        if (numerator < 0) {
            table[i] = 0;
            continue;
        }
        int64_t q = numerator / i;
        if (2 * (numerator % i) > i) ++q;
        table[i] = static_cast<uint16_t>(std::min<int64_t>(q, 0xFFFF));
    }
    return table;
}

namespace {

// Leading bytes of a line before its first sample.
constexpr size_t kLineHeader = 2;

}  // namespace

Trim TrimOf(Group group) { return group == Group::kGrey ? Trim{3, 3} : Trim{6, 2}; }

size_t SampleCount(Group group, uint16_t lineBytes) {
    const size_t overhead = group == Group::kGrey ? 2 : 6;
    return lineBytes < overhead ? 0 : (lineBytes - overhead) / 2;
}

size_t ResendCount(Group group, uint16_t lineBytes) {
    return group == Group::kGrey ? SampleCount(group, lineBytes) : SampleCount(group, lineBytes) / 3;
}

bool UsableShadingGeometry(Group group, uint16_t lineBytes, uint16_t lines) {
    return UsableShadingGeometry(lineBytes, lines, TrimOf(group));
}

bool UsableShadingGeometry(uint16_t lineBytes, uint16_t lines, Trim trim) {
    return lineBytes >= 6 && lines > trim.low + trim.high;
}

bool AverageShadingLines(const uint8_t* data, size_t dataSize, uint16_t lineBytes, uint16_t lines, Group group,
                         std::vector<uint16_t>& averages) {
    return AverageShadingLines(data, dataSize, lineBytes, lines, group, TrimOf(group), averages);
}

bool AverageShadingLines(const uint8_t* data, size_t dataSize, uint16_t lineBytes, uint16_t lines, Group group,
                         Trim trim, std::vector<uint16_t>& averages) {
    if (data == nullptr || !UsableShadingGeometry(lineBytes, lines, trim) ||
        dataSize < static_cast<size_t>(lineBytes) * lines)
        return false;

    const size_t samples = SampleCount(group, lineBytes);
    const size_t kept = lines - trim.low - trim.high;
    std::vector<uint16_t> column(lines);
    averages.assign(samples, 0);
    for (size_t s = 0; s < samples; ++s) {
        const uint8_t* sample = data + kLineHeader + 2 * s;
        for (size_t line = 0; line < lines; ++line, sample += lineBytes)
            column[line] = static_cast<uint16_t>((sample[0] | (sample[1] << 8)) & 0xFFF);
        std::sort(column.begin(), column.end());
        // Wide sum: kept values of a white column pass 65535 from 17 lines on.
        uint32_t sum = 0;
        for (size_t j = trim.low; j < lines - trim.high; ++j) sum += column[j];
        averages[s] = static_cast<uint16_t>(sum / kept);
    }
    return true;
}

void ApplyGain(std::vector<uint16_t>& values, Group group, const GainTables& tables) {
    constexpr size_t kGreyTable = 3;
    for (size_t s = 0; s < values.size(); ++s) {
        const GainTable& table = tables[group == Group::kGrey ? kGreyTable : s % 3];
        values[s] = table[values[s] & 0xFFF];
    }
}

void ApplyColourGain(std::vector<uint16_t>& values, const uint16_t* red, const uint16_t* green,
                     const uint16_t* blue) {
    const uint16_t* const tables[3] = {red, green, blue};
    for (size_t s = 0; s < values.size(); ++s) values[s] = tables[s % 3][values[s] & 0xFFF];
}

bool SplitShadingValues(const std::vector<uint16_t>& values, Group group, const ShadingPlanes& planes) {
    const size_t count = values.size();
    const size_t kept = group == Group::kGrey ? count : count / 3;
    const size_t sent = group == Group::kGrey ? count : 3 * kept;
    if (planes.high.data == nullptr || planes.low.data == nullptr || planes.keptHigh.data == nullptr ||
        planes.keptLow.data == nullptr || planes.high.size < sent || planes.low.size < sent ||
        planes.keptHigh.size < kept || planes.keptLow.size < kept)
        return false;

    auto put = [](const Bytes& high, const Bytes& low, size_t at, uint16_t value) {
        high.data[at] = static_cast<uint8_t>(value >> 8);
        low.data[at] = static_cast<uint8_t>(value);
    };
    if (group == Group::kGrey) {
        for (size_t i = 0; i < count; ++i) {
            put(planes.high, planes.low, i, values[i]);
            put(planes.keptHigh, planes.keptLow, i, values[i]);
        }
        return true;
    }
    const size_t n = kept;
    for (size_t p = 0; p < n; ++p) {
        for (size_t c = 0; c < 3; ++c) put(planes.high, planes.low, p + c * n, values[3 * p + c]);
        put(planes.keptHigh, planes.keptLow, p, values[3 * p + 1]);
    }
    return true;
}

}  // namespace shading
