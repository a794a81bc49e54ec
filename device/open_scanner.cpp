#include <cstring>
#include <string>

#include "device/device.h"
#include "device/inquiry.h"
#include "device/messages.h"
#include "device/remote_scanner.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"

namespace {

// The sharing program holds the scanner when its window exists here.
bool SharingProgramRunning() { return FindWindowA("Lendaro", nullptr) != nullptr; }

}  // namespace

bool OpenScanner(ScannerIdentity& identity) {
    if (SharingProgramRunning()) {
        ShowMessage(nullptr, LoadText(MSG_SHARED_1) + LoadText(MSG_SHARED_2) + L"\n" + LoadText(MSG_SHARED_3));
        return false;
    }
    g_device.deviceHandle = g_device.addrChk();
    if (g_device.deviceHandle == 0) {
        ShowDeviceError(nullptr, MSG_NOT_READY);
        return false;
    }

    uint8_t* inquiry = g_device.blocks.inquiry;
    ClearInquiryIdentity(inquiry);
    g_device.spiCall(inquiry, g_device.deviceHandle, blocks::kInquiry);
    uint16_t status = BlockStatus(inquiry);
    if (status == blocks::inquiry::kNotReady) {
        // The identity check below decides; no wait for a scanner that says it is not ready.
        ShowDeviceError(nullptr, MSG_NOT_READY);
    } else if (status != 0 && !ConnectRemoteScanner(identity)) {
        return false;  // no local scanner and no remote one
    } else if (!WaitUntilReady()) {
        return false;
    }

    SetGreenSaver(SaverDelayFromProfile());
    identity.versionInfo = BuildVersionText(inquiry, LoadTextA(TXT_ADAPTEC_CARD));
    identity.feederPresent = inquiry[blocks::inquiry::kFeeder] == 1;
    if (!(inquiry[blocks::inquiry::kCapabilityFlags] & blocks::inquiry::kBelongsFlag)) {
        ShowDeviceError(nullptr, MSG_WRONG_SCANNER);
        return false;
    }
    g_device.letterModel = IsLetterModel(inquiry);
    MaxArea area = MaxAreaFor(g_device.letterModel);
    g_device.maxAreaWidth = area.width;
    g_device.maxAreaLength = area.length;
    for (int i = 0; i < 4; ++i)
        g_device.referenceLevels[i] = blocks::GetU16(inquiry, blocks::inquiry::kReferenceLevels + 2 * i);
    if (uint16_t optical = OpticalResolutionFromCode(inquiry)) g_device.opticalResolution = optical;
    return true;
}
