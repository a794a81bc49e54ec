#include "engine/scan_tone.h"

#include "device/device.h"
#include "device/messages.h"
#include "device/tone_download.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/host_rules.h"
#include "settings/settings_record.h"

namespace {

tone::ScanToneTables FreshTables() {
    tone::ScanToneTables fresh;
    tone::ResetScanToneTables(fresh);
    return fresh;
}

// Made when the module loads. A function-local static would take the C++
// runtime's initialisation lock, whose per-thread record stays behind (a
// thread handle and an event) each time the host unloads the source.
tone::ScanToneTables g_tables = FreshTables();

tone::ScanToneTables& Tables() { return g_tables; }

}  // namespace

void BuildEnableToneMaps(bool rgb) {
    if (rgb) {
        const uint32_t triple = tone::MakeTriple(0, 0, 18);
        for (int channel : {tone::kRed, tone::kGreen, tone::kBlue})
            tone::BuildBrightnessContrastMap(triple, tone::kTableSize, tone::kTableSize, Tables().user[channel]);
    } else {
        tone::BuildBrightnessContrastMap(tone::MakeTriple(0, 0, 10), tone::kTableSize, tone::kTableSize,
                                         Tables().user[tone::kMaster]);
    }
}

bool SendScanToneTables() {
    tone::ScanToneInputs inputs{};
    inputs.tone = g_savedTone;
    inputs.scanMode = g_scanSettings.scanMode;
    inputs.outputMatch = g_scanSettings.outputMatch != 0;
    inputs.opticalResolution = g_device.opticalResolution;
    inputs.officeHost = HostNameIsText(TXT_ORVANE_DESK);
    inputs.uiHidden = g_twain.showUI == 0;
    uint8_t* block = g_device.blocks.toneTable;
    if (!tone::PrepareScanToneTables(inputs, Tables(), block, sizeof g_device.blocks.toneTable) ||
        !ScannerRequest(blocks::kSendToneTable, block) || BlockStatus(block) != 0) {
        ShowDeviceError(g_twain.mainDialog, MSG_TRANSFER_FAILED);
        return false;
    }
    return true;
}
