#include "device/tone_download.h"

#include <cstring>

#include "device/request_blocks.h"

namespace tone {

namespace tt = blocks::tonetable;

void ResetScanToneTables(ScanToneTables& tables) {
    for (auto& table : tables.user)
        for (int i = 0; i < kTableSize; ++i) table[i] = static_cast<uint8_t>(i);
}

void FillToneSlot(uint8_t* block, int slot, const uint8_t table[kTableSize], bool wide) {
    const size_t record = tt::kFirstRecord + static_cast<size_t>(slot) * tt::kRecordSize;
    uint8_t* entries = block + record + 2;
    if (!wide) {
        blocks::PutU16(block, record, kTableSize);
        std::memcpy(entries, table, kTableSize);
        return;
    }
    // Every 16th entry is a table entry; the fifteen between two of them step
    // by a sixteenth of their difference; the tail repeats the last entry.
    blocks::PutU16(block, record, static_cast<uint16_t>(tt::kEntries));
    entries[0] = table[0];
    for (int k = 1; k < kTableSize; ++k) {
        const float step = (table[k] - table[k - 1]) / 16.0f;
        for (int j = 1; j < 16; ++j)
            entries[16 * (k - 1) + j] = static_cast<uint8_t>(static_cast<int>(table[k - 1] + j * step));
        entries[16 * k] = table[k];
    }
    for (size_t i = 16 * (kTableSize - 1) + 1; i < tt::kEntries; ++i) entries[i] = table[kTableSize - 1];
}

namespace {

const int8_t kNoBalance[3] = {0, 0, 0};

// Builds the maps of the channel indices first..last from their channel words.
void BuildUserMaps(const ScanToneInputs& in, ScanToneTables& tables, int first, int last) {
    const bool brightnessContrast = in.officeHost && in.uiHidden;
    for (int c = first; c <= last; ++c) {
        const uint32_t word = TripleOf(in.tone.channels[WordOfChannel(c)]);
        if (brightnessContrast)
            BuildBrightnessContrastMap(word, kTableSize, kTableSize, tables.user[c]);
        else
            BuildToneMap(word, kTableSize, kTableSize, tables.user[c], c, true, in.scanMode, in.tone.colorBalance);
    }
}

}  // namespace

bool PrepareScanToneTables(const ScanToneInputs& in, ScanToneTables& tables, uint8_t* block, size_t blockSize) {
    if (BitsPerPixel(in.scanMode) == 0 || block == nullptr || blockSize < blocks::kToneTableSize) return false;

    const bool wide = in.opticalResolution == 1200;
    // Cleared so that no table or count of an earlier scan stays in the block.
    std::memset(block + tt::kThreshold, 0, blocks::kToneTableSize - tt::kThreshold);

    if (in.scanMode == kModeColour) {
        // With output matching the colour profile corrects later, so the
        // scanner gets linear maps; the user's maps are built all the same.
        uint8_t linear[3][kTableSize];
        if (in.outputMatch)
            for (int c = kRed; c <= kBlue; ++c)
                BuildToneMap(kLinearTriple, kTableSize, kTableSize, linear[c], c, false, in.scanMode, kNoBalance);
        BuildUserMaps(in, tables, kRed, kBlue);
        block[tt::kSelector] = tt::kThreeTables;
        const int slotChannels[4] = {kRed, kRed, kGreen, kBlue};
        for (int slot = 0; slot < 4; ++slot) {
            const int c = slotChannels[slot];
            FillToneSlot(block, slot, in.outputMatch ? linear[c] : tables.user[c], wide);
        }
        return true;
    }

    BuildUserMaps(in, tables, kMaster, kMaster);
    block[tt::kSelector] = tt::kOneTable;
    FillToneSlot(block, 0, tables.user[kMaster], wide);
    if (in.scanMode == kModeLineArt) {
        const uint32_t master = TripleOf(in.tone.channels[kToneMaster]);
        block[tt::kThreshold] = (in.officeHost || in.uiHidden)
                                    ? static_cast<uint8_t>(128 - Highlight(master))
                                    : static_cast<uint8_t>((Highlight(master) + Shadow(master)) / 2);
    }
    return true;
}

}  // namespace tone
