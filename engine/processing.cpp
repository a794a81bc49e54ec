// Scan set-up of the image processing: output matching and its profile, the
// CMYK table, the plan and the colour pass; and the line steps every
// transfer shares.
#include "engine/processing.h"

#include <new>
#include <string>

#include "device/device.h"
#include "device/messages.h"
#include "engine/file_writer.h"
#include "engine/job_state.h"
#include "engine/read_machinery.h"
#include "profile/profile.h"
#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "session/session.h"
#include "settings/host_rules.h"
#include "settings/settings_record.h"

ProcessingState g_processing;

namespace {

bool ColourRows(const ScanSettings& s) {
    return s.scanMode == kModeColour && (s.colourKind == kColour24 || s.colourKind == kColourCmyk);
}

// Output matching stays on only with a profile to match with.
void PrepareOutputMatching(HWND owner) {
    ScanSettings& s = g_scanSettings;
    colour::ReleaseColourProfile(g_processing.profile);
    if (s.outputMatch == 0) return;
    const bool profiled = ColourRows(s) && (s.scanSource == kSourceReflective || s.scanSource == kSourcePositive);
    if (profiled && colour::LoadColourProfile(colour::ColourProfilePath(SourcesDirectory(), s.scanSource),
                                              g_processing.profile))
        return;
    s.outputMatch = 0;
    if (profiled)
        MessageBoxW(owner, LoadText(TXT_PROFILE_MISSING).c_str(), LoadText(TXT_INFORMATION).c_str(),
                    MB_OK | MB_ICONINFORMATION);
}

}  // namespace

namespace {

bool LoadProcessingTables(HWND owner) {
    PrepareOutputMatching(owner);
    colour::FreeCmykTable(g_processing.cmyk);
    const ScanSettings& s = g_scanSettings;
    if (s.scanMode != kModeColour || s.colourKind != kColourCmyk) return true;
    const bool pictureHost = HostIsPicturePublisher();
    g_processing.cmykDirect = pictureHost && g_caps.pixelFlavorSet != 0;
    if (colour::LoadCmykTable(colour::CmykTablePath(InstallDirectory(), pictureHost), g_processing.cmyk)) return true;
    ShowDeviceError(owner, MSG_READ_FILE_FAILURE);
    return false;
}

}  // namespace

// The profile and the table are read into buffers of their own: no memory
// for them fails the scan as such, and leaves output matching on.
bool PrepareProcessing(HWND owner) {
    try {
        return LoadProcessingTables(owner);
    } catch (const std::bad_alloc&) {
        ScanFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
        return false;
    }
}

processing::Delivery CurrentDelivery() {
    switch (g_caps.xferMechIndex) {
        case TWSX_NATIVE: return processing::Delivery::kNative;
        case TWSX_FILE: return processing::Delivery::kFile;
        default: return processing::Delivery::kMemory;
    }
}

namespace {

bool Plan(processing::Delivery delivery) {
    const auto plan = processing::PlanProcessing(g_scanSettings, g_job.derived, delivery, g_job.bytesPerScanLine,
                                                 g_job.lines);
    if (!plan) return false;
    g_processing.plan = *plan;
    return true;
}

}  // namespace

bool PlanDeliveryFor(processing::Delivery delivery) {
    if (g_processing.plan.delivery == delivery) return true;
    // An image scanned at half the rate to be enlarged has no bitmap form.
    if (g_job.derived.interpolate && delivery == processing::Delivery::kNative) return false;
    return Plan(delivery);
}

bool PlanScanProcessing() {
    if (!Plan(CurrentDelivery())) return false;
    const processing::ProcessingPlan& plan = g_processing.plan;
    g_processing.colourPassChanges =
        plan.colourPass && colour::PrepareColourPass(g_savedTone, g_scanSettings.scanMode, colour::PixelOrder::kRgb,
                                                     nullptr, g_processing.colourTables);
    return true;
}

bool Reserve(std::vector<uint8_t>& buffer, size_t bytes) {
    if (buffer.size() >= bytes) return true;
    try {
        buffer.resize(bytes);
    } catch (const std::bad_alloc&) {
        std::vector<uint8_t>().swap(buffer);
        return false;
    }
    return true;
}

const uint8_t* ProcessLine(const uint8_t* scannerLine) {
    const processing::ProcessingPlan& plan = g_processing.plan;
    if (!plan.doubling) return scannerLine;
    // DoubleLine writes the partial last byte of thinned line art too.
    std::vector<uint8_t>& doubled = g_processing.doubledLine;
    if (!Reserve(doubled, size_t{plan.lineBytes} + 1)) return nullptr;
    if (resample::DoubleLine(plan.kind, scannerLine, plan.scanPixels, *plan.doubling, doubled.data(),
                             doubled.size()) < plan.lineBytes)
        return nullptr;
    return doubled.data();
}

rowoutput::RowForm StoredLineForm() {
    return rowoutput::ScannerOrderRow(g_processing.plan.lineBytes,
                                      g_processing.colourPassChanges ? &g_processing.colourTables : nullptr);
}

rowoutput::RowForm BitmapLineForm() {
    const processing::ProcessingPlan& plan = g_processing.plan;
    return rowoutput::BitmapRow(plan.lineBytes, (plan.lineBytes + 3) & ~3u, plan.kind == resample::PixelKind::kColour,
                                g_processing.colourPassChanges ? &g_processing.colourTables : nullptr);
}

processing::BlockTables ProcessingTables() {
    return {&g_processing.profile, &g_processing.cmyk, g_processing.cmykDirect};
}

void ReleaseProcessing() {
    ProcessingState& p = g_processing;
    if (p.workFile != INVALID_HANDLE_VALUE) CloseHandle(p.workFile);
    if (!p.workFilePath.empty() && !p.keepWorkFile) DeleteFileA(p.workFilePath.c_str());
    p.workFile = INVALID_HANDLE_VALUE;
    p.workFilePath.clear();
    if (p.interpolationFile != INVALID_HANDLE_VALUE) {
        CloseHandle(p.interpolationFile);
        DeleteFileA(WorkFilePath(WorkFile::kInterpolation).c_str());
    }
    p.interpolationFile = INVALID_HANDLE_VALUE;
    p.linesReadBack = 0;
    p.unsharp = {};
    p.descreen = {};
    p.decimation = {};
    std::vector<uint8_t>().swap(p.doubledLine);
    resample::ReleaseCarryRow(p.carry);
    colour::FreeCmykTable(g_processing.cmyk);
    colour::ReleaseColourProfile(g_processing.profile);
}
