#include "device/device.h"
#include "device/messages.h"
#include "device/notices.h"
#include "device/remote_scanner.h"
#include "profile/profile.h"
#include "resources/resource_ids.h"

namespace {

constexpr DWORD kPollInterval = 50;  // ms between status polls

// How long a scanner may stay busy before the wait gives up: WIN.INI
// [A3 SCANNER] "ReadyWait" in seconds, 300 unless set (no scanner warms up
// longer), at least one second.
DWORD GiveUpAfter() {
    const int32_t seconds = ReadProfileNumber(kLampSection, "ReadyWait", "300", 16);
    return static_cast<DWORD>(seconds < 1 ? 1 : seconds) * 1000;
}

struct Poll {
    bool ok;       // transport worked
    uint16_t fault;
    uint16_t ready;
};

Poll PollStatus(uint32_t handle) {
    uint8_t* block = g_device.blocks.status;
    if (!g_device.remoteMode) {
        g_device.spiCall(block, handle, blocks::kGetStatus);
    } else if (!ScannerRequest(blocks::kGetStatus, block)) {
        return {false, 0, 0};
    }
    return {true, blocks::GetU16(block, blocks::status::kFault), blocks::GetU16(block, blocks::status::kReady)};
}

// Polls until the ready word is nonzero, sleeping between busy polls.
// `showNotice` opens the not-ready notice while the scanner reports busy
// without a fault.
bool PollUntilReady(uint32_t handle, bool showNotice) {
    HWND notice = nullptr;
    const DWORD giveUpAfter = GiveUpAfter();
    DWORD start = GetTickCount();
    for (bool first = true;; first = false) {
        if (!first) Sleep(kPollInterval);
        Poll poll = PollStatus(handle);
        if (!poll.ok) {
            CloseNotice(notice);
            return false;
        }
        if (poll.fault != 0) {
            CloseNotice(notice);
            ShowDeviceError(nullptr, MSG_SCANNER_FAULT);
            return false;
        }
        if (poll.ready != 0) {
            CloseNotice(notice);
            return true;
        }
        if (showNotice && !notice) notice = OpenNotReadyNotice();
        if (GetTickCount() - start >= giveUpAfter) {
            CloseNotice(notice);
            ShowDeviceError(nullptr, MSG_NOT_READY);
            return false;
        }
    }
}

}  // namespace

Readiness PollReadinessOnce() {
    const Poll poll = PollStatus(g_device.deviceHandle);
    if (!poll.ok || poll.fault != 0) return Readiness::Failed;
    return poll.ready != 0 ? Readiness::Ready : Readiness::Busy;
}

bool WaitUntilReady() { return PollUntilReady(g_device.deviceHandle, true); }

// After a lost remote connection there is no scanner left to stop or wait
// for, and the loss has been reported.
bool PollUntilIdle() { return !RemoteConnectionLost() && PollUntilReady(g_device.deviceHandle, false); }

bool StopAndWaitIdle() {
    if (RemoteConnectionLost()) return false;
    // The stop sequence addresses the driver with handle 0.
    if (!g_device.remoteMode) {
        g_device.spiCall(g_device.blocks.stop, 0, blocks::kStopScan);
    } else if (!ScannerRequest(blocks::kStopScan, g_device.blocks.stop)) {
        return false;
    }
    return PollUntilReady(0, false);
}

uint16_t SaverDelayFromProfile() {
    int32_t minutes = ReadProfileNumber(kLampSection, "SAVER", "20", 130);
    return static_cast<uint16_t>(minutes < 0 ? 0 : minutes > 0xFFFF ? 0xFFFF : minutes);
}

bool SetGreenSaver(uint16_t minutes) {
    uint8_t* block = g_device.blocks.scanParameters;
    blocks::PutU16(block, blocks::scanparam::kSaverDelay, minutes);
    block[blocks::scanparam::kSaverOnly] = 1;
    return ScannerRequest(blocks::kSetScanParameters, block);
}
