// The scan command, in its order: host check, disk check, speed, output
// matching and CMYK table, scan window, mechanism check, inquiry, ready wait,
// parameters, calibration, tone tables, start, processing plan and image
// description, MSG_XFERREADY.
#include "engine/scan_command.h"

#include <string>

#include "device/device.h"
#include "device/dialog_link.h"
#include "device/inquiry.h"
#include "device/messages.h"
#include "device/notices.h"
#include "device/remote_scanner.h"
#include "engine/calibration.h"
#include "engine/calibration_state.h"
#include "engine/disk_space.h"
#include "engine/image_info.h"
#include "engine/job_state.h"
#include "engine/processing.h"
#include "engine/read_machinery.h"
#include "engine/scan_tone.h"
#include "profile/profile.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "session/image_setup.h"
#include "session/notify.h"
#include "session/session.h"
#include "settings/host_rules.h"
#include "settings/settings_record.h"

namespace {

constexpr uint32_t kTiffHeaderBytes = 1032;
constexpr uint32_t kBmpHeaderBytes = 1078;

bool Refuse(HWND owner, int textId) {
    ShowDeviceError(owner, textId);
    g_job.scanFailed = true;
    return false;
}

// 36-bit colour only for the host of text 56; CMYK for it, or for the
// picture publisher speaking protocol x.5.
bool HostTakesColourKind() {
    if (g_scanSettings.scanMode != kModeColour) return true;
    bool photoshop = HostNameIsText(TXT_PHOTOSHOP);
    switch (g_scanSettings.colourKind) {
        case kColour36:
            return photoshop;
        case kColourCmyk:
            return photoshop || (HostIsPicturePublisher() && g_twain.appIdentity.ProtocolMinor == 5);
        default:
            return true;
    }
}

bool DiskHasRoom(HWND owner) {
    uint32_t header = g_caps.fileFormatIndex == TWFF_BMP ? kBmpHeaderBytes : kTiffHeaderBytes;
    uint64_t needed = g_job.imageSizeEstimate + header;
    uint64_t free = 0;
    if (!FreeDiskBytesOf(g_setup.fileSetupDefault.FileName, free)) return Refuse(owner, MSG_WRITE_FILE_ERROR);
    if (free < needed) {
        ShowDiskShortage(owner, free, needed - 1);
        g_job.scanFailed = true;
        return false;
    }
    return true;
}

// Speed byte and slow-speed pacing.
void ChooseSpeed() {
    ScanSettings& s = g_scanSettings;
    SpeedChoice speed = ApplySpeedRule(s.velocity, ReadProfileText(kInstallSection, "SlowSpeedVer", "No", 34),
                                       s.scanMode, s.scanSource, s.resolution);
    s.velocity = speed.velocity;
    g_job.slowPacing = speed.slowPacing;
    if (speed.slowPacing) g_job.pacing = SlowSpeedPacing(s.resolution, s.scanMode);
}

bool InquireReady(HWND owner) {
    uint8_t* inquiry = g_device.blocks.inquiry;
    ClearInquiryIdentity(inquiry);
    if (!ScannerRequest(blocks::kInquiry, inquiry)) {
        g_job.scanFailed = true;  // the lost connection has shown its message
        return false;
    }
    uint16_t status = BlockStatus(inquiry);
    if (status == blocks::inquiry::kNotReady) return Refuse(owner, MSG_NOT_READY);
    if (status != 0) return Refuse(owner, MSG_NOT_FOUND);
    if (!WaitUntilReady()) {
        g_job.scanFailed = true;
        return false;
    }
    return true;
}

// A refused scan-parameter request: its message, then the scanner is stopped.
void ReportParameterStatus(uint16_t status) {
    switch (status) {
        case blocks::kPaperJam:
            ScanFailed(TWCC_OPERATIONERROR, MSG_PAPER_JAM);
            break;
        case blocks::kNoPaper:
            // An empty feeder after delivered pages simply ends the job.
            g_job.feederEmpty = g_caps.pagesDelivered != 0;
            if (!g_job.feederEmpty) ScanFailed(TWCC_OPERATIONERROR, MSG_NO_PAPER);
            break;
        case blocks::kCoverOpen:
            ShowDeviceError(g_twain.mainDialog, MSG_COVER_OPEN);
            break;
        default:
            ShowDeviceError(g_twain.mainDialog, MSG_NOT_READY);
            break;
    }
    g_job.scanFailed = true;
    StopAndWaitIdle();
}

// Parameters, calibration, tone tables and start, with the warm-up notice.
bool SetUpAndStart() {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    HWND warmingUp = OpenWarmingUpNotice();
    auto fail = [&] {
        CloseNotice(warmingUp);
        SetCursor(previous);
        g_job.scanFailed = true;
        StopAndWaitIdle();
        return false;
    };
    uint8_t* parameters = g_device.blocks.scanParameters;
    SetRemoteCalibrationDue(g_calibration.colourShadingDue);
    if (!ScannerRequest(blocks::kSetScanParameters, parameters)) return fail();
    if (uint16_t status = BlockStatus(parameters)) {
        CloseNotice(warmingUp);
        SetCursor(previous);
        ReportParameterStatus(status);
        return false;
    }
    switch (CalibrateShading(g_scanSettings.scanMode, g_job.derived.scanResolution)) {
        case CalibrationResult::kDone:
            break;
        case CalibrationResult::kNoMemory:
            ScanFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
            return fail();
        case CalibrationResult::kDeviceFailed:
        case CalibrationResult::kRefused:
            return fail();
    }
    if (HostNameIsText(TXT_SCANWARE_CMS)) {
        ResetToneSettings(g_scanSettings.tone, true, g_scanSettings.scanMode, g_scanSettings.colourKind);
        g_savedTone = g_scanSettings.tone;
    }
    if (!SendScanToneTables()) return fail();

    uint8_t* start = g_device.blocks.startScan;
    blocks::PutU16(start, blocks::startscan::kZero, 0);
    bool sent = ScannerRequest(blocks::kStartScan, start);
    CloseNotice(warmingUp);
    SetCursor(previous);
    if (!sent) return fail();
    if (BlockStatus(start) != 0) {
        ShowDeviceError(g_twain.mainDialog, MSG_TRANSFER_FAILED);
        return fail();
    }
    g_job.lines = blocks::GetU16(start, blocks::startscan::kLines);
    g_job.bytesPerScanLine = blocks::GetU16(start, blocks::startscan::kBytesPerLine);
    if (g_job.lines == 0) return fail();  // nothing to scan: no message
    if (g_job.bytesPerScanLine == 0) {
        ShowDeviceError(g_twain.mainDialog, MSG_TRANSFER_FAILED);
        return fail();
    }
    return true;
}

// The plan of the image and the description the host reads: the size as
// the host will receive it.
bool DescribeImage() {
    if (!PlanScanProcessing()) return false;
    const processing::ProcessingPlan& plan = g_processing.plan;
    const ImageJob job{plan.pixels, plan.rows, plan.enlargement, g_device.opticalResolution, HostIsWinFax()};
    const auto info = ComputeImageInfo(g_scanSettings, job);
    if (!info) return false;
    g_setup.imageInfo = *info;
    return true;
}

void ResetJob() {
    FreeScanBuffer();
    DestroyProgressWindow();
    uint64_t estimate = g_job.imageSizeEstimate;
    float length = g_job.scanLengthInches;
    g_job = JobState{};
    g_job.imageSizeEstimate = estimate;
    g_job.scanLengthInches = length;
}

}  // namespace

bool StartScanJob(HWND owner, uint32_t speedArgument, const ScanFrame& frame) {
    (void)speedArgument;  // carries the transparency speed; no adapter reports itself
    ResetJob();
    g_savedTone = g_scanSettings.tone;
    NormaliseDescreen(g_scanSettings);
    if (!HostTakesColourKind()) return Refuse(owner, TXT_MODE_REFUSED);
    if (!DiskHasRoom(owner)) return false;
    if (!DeviceRecordReachable() || !CalibrationRecordReachable()) {
        ScanFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
        return false;
    }
    if (g_twain.batchListOpen && g_twain.mainDialog)
        g_dialogLink.continueBatch(500);
    ChooseSpeed();
    if (!PrepareProcessing(owner)) {
        g_job.scanFailed = true;
        return false;
    }
    g_job.derived = ScanDerived{};
    g_job.derived.opticalResolution = g_device.opticalResolution;
    g_job.derived.postProcess = NeedsPostProcess(g_scanSettings, g_twain.batchToFile);

    ScanFrame window = frame;
    uint16_t saver = SaverDelayFromProfile();
    bool fileOrMemory = g_caps.xferMechIndex != TWSX_NATIVE;
    if (!ComputeScanWindow(g_scanSettings, fileOrMemory, saver, window, g_job.derived,
                           g_device.blocks.scanParameters))
        return Refuse(owner, MSG_BAD_AREA);
    // CMYK and 36-bit colour leave by memory transfer only, and 36-bit colour
    // unenlarged: above the scanner's rate it is the resolution that is
    // refused, not the mode.
    if (!processing::DeliveryTakesColourKind(g_scanSettings, g_job.derived, CurrentDelivery())) {
        const bool overRate = CurrentDelivery() == processing::Delivery::kMemory;
        return Refuse(owner, overRate ? MSG_BAD_AREA : TXT_MODE_REFUSED);
    }

    if (!InquireReady(owner)) return false;
    if (!SetUpAndStart()) return false;
    if (!DescribeImage()) {
        ShowDeviceError(owner, MSG_TRANSFER_FAILED);
        g_job.scanFailed = true;
        StopAndWaitIdle();
        return false;
    }
    g_job.newImage = true;
    PostXferReady();
    return true;
}
