#include "sim/tone_tables.h"

#include "device/request_blocks.h"

namespace sim {

ToneTables DefaultToneTables() {
    ToneTables tables;
    tables.records[0].resize(256);
    for (size_t i = 0; i < 256; ++i) tables.records[0][i] = static_cast<uint8_t>(i);
    return tables;
}

bool ParseToneBlock(const uint8_t* block, ToneTables& tables) {
    namespace tt = blocks::tonetable;
    const uint8_t selector = block[tt::kSelector];
    if (selector != tt::kOneTable && selector != tt::kThreeTables) return false;
    const size_t used = selector == tt::kOneTable ? 1 : kToneRecords;
    ToneTables received;
    received.threshold = block[tt::kThreshold];
    received.threeTables = selector == tt::kThreeTables;
    for (size_t r = 0; r < used; ++r) {
        const uint8_t* record = block + tt::kFirstRecord + r * tt::kRecordSize;
        const uint16_t count = blocks::GetU16(record, 0);
        if (count != 256 && count != tt::kEntries) return false;
        received.records[r].assign(record + 2, record + 2 + count);
    }
    tables = std::move(received);
    return true;
}

ToneLookup MakeToneLookup(const ToneTables& tables, size_t record) {
    const std::vector<uint8_t>& entries = tables.records[record];
    const bool wide = entries.size() == blocks::tonetable::kEntries;
    const bool narrow = entries.size() == 256;
    ToneLookup lookup;
    for (size_t v = 0; v < lookup.size(); ++v) {
        lookup[v] = wide ? entries[v] : narrow ? entries[v >> 4] : static_cast<uint8_t>(v >> 4);
    }
    return lookup;
}

size_t ToneRecordFor(const ToneTables& tables, bool colourScan, uint32_t channel) {
    return colourScan && tables.threeTables ? 1 + channel : 0;
}

}  // namespace sim
