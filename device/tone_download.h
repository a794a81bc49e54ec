// The tone tables a scan downloads to the scanner: which maps are built for
// the scan, and how they fill the tone-table request block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/tone_map.h"

namespace tone {

// What the scan's tone tables depend on.
struct ScanToneInputs {
    ToneSettings tone;  // the live copy
    uint16_t scanMode;
    bool outputMatch;            // the colour profile corrects: send linear tables
    uint16_t opticalResolution;  // 1200 widens every table to 4096 entries
    bool officeHost;             // the host's product name is string 64 of the language
    bool uiHidden;               // the host enabled the source without its user interface
};

// The scan's maps, kept from scan to scan: a builder that refuses its input
// leaves the previous map in place, and the scan goes on with it.
struct ScanToneTables {
    uint8_t user[4][kTableSize];  // by channel index: red, green, blue, master
};

// Sets every map to the identity.
void ResetScanToneTables(ScanToneTables& tables);

// Writes one table slot (0..3) of the tone-table block: the entry count, then
// the table itself or, when wide, the table spread to 4096 entries.
void FillToneSlot(uint8_t* block, int slot, const uint8_t table[kTableSize], bool wide);

// Builds the scan's maps into tables and fills the threshold, selector and
// table slots of the tone-table block (blockSize at least
// blocks::kToneTableSize); the command header (bytes 0..5) is left alone.
// Returns false, writing nothing, for a mode outside 1011..1014 or a block
// that is too small.
bool PrepareScanToneTables(const ScanToneInputs& inputs, ScanToneTables& tables, uint8_t* block, size_t blockSize);

}  // namespace tone
