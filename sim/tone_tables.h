// The tone tables received with SendToneTable and the lookups that turn a
// corrected 12-bit sample into the delivered 8-bit value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

constexpr size_t kToneRecords = 4;  // master (or red), red, green, blue

struct ToneTables {
    uint8_t threshold = 128;    // line art: a toned grey at or above it is white
    bool threeTables = false;   // selector 7: colour scans use records 2..4
    // Each 256 or 4096 entries; before any SendToneTable one 256-entry identity.
    std::array<std::vector<uint8_t>, kToneRecords> records;
};

ToneTables DefaultToneTables();

// Reads a tone-table block (at least blocks::kToneTableSize bytes): the
// threshold, the selector (0x10: record 1; 7: records 1..4) and the entries of
// the selected records. False, leaving `tables` alone, for another selector
// or a selected record whose count is not 256 or 4096.
bool ParseToneBlock(const uint8_t* block, ToneTables& tables);

// Delivered 8-bit value for every corrected 12-bit value through a record:
// a 4096-entry table is indexed by the value, a 256-entry one by its top
// 8 bits; a record without a table maps like the identity.
using ToneLookup = std::array<uint8_t, 4096>;
ToneLookup MakeToneLookup(const ToneTables& tables, size_t record);

// The record each channel of a scan goes through: colour scans record 2, 3, 4
// for red, green, blue after a three-table block, otherwise record 1 for all.
size_t ToneRecordFor(const ToneTables& tables, bool colourScan, uint32_t channel);

}  // namespace sim
