// The scan of MSG_ENABLEDS without the user interface: the settings come from
// the negotiated capabilities and the image layout.
#include "engine/unattended_scan.h"

#include "device/device.h"
#include "device/messages.h"
#include "engine/image_info.h"
#include "engine/image_size.h"
#include "engine/job_state.h"
#include "engine/scan_command.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "session/image_setup.h"
#include "session/notify.h"
#include "session/session.h"
#include "settings/host_rules.h"
#include "settings/profile_settings.h"
#include "settings/settings_record.h"
#include "twain/cap_container.h"

namespace {

// The dialog's settings while an unattended scan uses the shared record.
struct DialogRecord {
    bool kept = false;
    ScanSettings settings;
    ToneSettings savedTone, toneStash;
};

DialogRecord g_dialogRecord;

void KeepDialogRecord() {
    if (g_dialogRecord.kept) return;
    g_dialogRecord = {true, g_scanSettings, g_savedTone, g_toneStash};
}

uint16_t ScanModeForPixelType(uint32_t pixelType) {
    switch (pixelType) {
        case TWPT_GRAY:
        case TWPT_PALETTE:
            return kModeGray;
        case TWPT_RGB:
            return kModeColour;
        default:
            return kModeLineArt;
    }
}

// What the dialog would offer is forced to plain values; the tone levels come
// from brightness and contrast.
void ForceUnattendedValues(ToneSettings& tone) {
    auto highlight = static_cast<uint8_t>(g_caps.brightness * 127 / 1000);
    auto shadow = static_cast<uint8_t>(g_caps.contrast * 127 / 1000);
    for (ToneChannel& channel : tone.channels) {
        channel.highlight = highlight;
        channel.shadow = shadow;
    }
    tone.channel = kToneMaster;
    tone.hue = 0;
    tone.saturation = 0;
    tone.circlePos = {216, 177};
    tone.pixelRGB = {255, 255, 255, 0};
    for (int8_t& balance : tone.colorBalance) balance = 0;
}

void ApplyNegotiatedSettings() {
    ScanSettings& s = g_scanSettings;
    s.scaling = 100;
    s.destination = kDestMonitor;
    s.qualityFactor = 10;
    s.descreen = kDescreenNone;
    s.descreenActive = false;
    s.outputMatch = 0;
    s.filterMode = 0;
    s.dpiScale = 0;
    ForceUnattendedValues(s.tone);
    s.resolution = UnattendedResolution(g_caps.resolutionIndex, HostIsWinFax());
    if (g_caps.feederPresent && g_caps.feederEnabled) {
        // Pages come out of the feeder mirrored.
        s.scanSource = kSourceFeeder;
        s.filterMode = 2;
    } else {
        s.scanSource = kSourceReflective;
    }
    s.scanMode = ScanModeForPixelType(kPixelTypes[g_caps.pixelTypeIndex % std::size(kPixelTypes)]);
    s.colourKind = kColour24;
    s.isColour = s.scanMode == kModeColour;
}

UnattendedResult FailUnattended() {
    if (g_twain.returnCode != TWRC_FAILURE) Fail(TWCC_OPERATIONERROR);
    PostCloseRequest();
    return UnattendedResult::kFailed;
}

}  // namespace

void RestoreDialogRecord() {
    if (!g_dialogRecord.kept) return;
    g_scanSettings = g_dialogRecord.settings;
    g_savedTone = g_dialogRecord.savedTone;
    g_toneStash = g_dialogRecord.toneStash;
    g_dialogRecord.kept = false;
}

UnattendedResult RunUnattendedScan() {
    KeepDialogRecord();
    LoadProfileSettings(ModelSectionName().c_str());
    ApplyNegotiatedSettings();
    auto frame = LayoutToOpticalFrame(g_setup.layoutCurrent.Frame, g_device.opticalResolution,
                                      g_device.maxAreaWidth, g_device.maxAreaLength);
    if (!frame) {
        ShowDeviceError(nullptr, MSG_BAD_AREA);
        return FailUnattended();
    }
    const double rate = OpticalRate(g_device.opticalResolution);
    const double width = (frame->right - frame->left) / rate;
    const double length = (frame->bottom - frame->top) / rate;
    g_job.imageSizeEstimate = EstimateImageSize(g_scanSettings.scanMode, g_scanSettings.resolution,
                                                g_scanSettings.scaling, width, length);
    g_job.scanLengthInches = static_cast<float>(length);
    if (StartScanJob(nullptr, 0, *frame)) return UnattendedResult::kReady;
    return g_job.feederEmpty ? UnattendedResult::kFeederEmpty : FailUnattended();
}
