// The native transfer: the whole image in one packed device-independent
// bitmap, allocated once at its final size. Rows are stored bottom-up, colour
// pixels blue, green, red. Lines are widened and corrected as they arrive;
// descreening and the filter then run over the finished bitmap.
#include <algorithm>
#include <vector>

#include "device/device.h"
#include "engine/delivery_state.h"
#include "engine/job_state.h"
#include "engine/processing.h"
#include "engine/read_machinery.h"
#include "engine/transfer.h"
#include "imaging/dib_filters.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/settings_record.h"

namespace {

struct Bitmap {
    HGLOBAL handle = nullptr;
    uint8_t* pixels = nullptr;  // locked
    uint32_t stride = 0;        // bytes of a stored row
    size_t size = 0;            // bytes of the pixel area
};

// The bitmap at the processed width with its header and palette, pixels
// zeroed and locked; no handle when the memory cannot be had.
Bitmap AllocateDib() {
    const processing::ProcessingPlan& plan = g_processing.plan;
    Bitmap dib;
    dib.stride = (plan.lineBytes + 3) & ~3u;
    const fileheaders::ImageGeometry geometry{g_scanSettings.scanMode,
                                              g_scanSettings.colourKind,
                                              static_cast<int32_t>(plan.pixels),
                                              static_cast<int32_t>(plan.rows),
                                              plan.lineBytes,
                                              dib.stride,
                                              g_scanSettings.resolution};
    std::vector<uint8_t> header;
    const uint64_t pixelBytes = uint64_t{dib.stride} * plan.rows;
    if (!fileheaders::BuildDibHeader(geometry, header) || pixelBytes > 0x7FFFFFFF - header.size()) return {};
    dib.size = static_cast<size_t>(pixelBytes);
    dib.handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, header.size() + dib.size);
    if (!dib.handle) return {};
    auto* bytes = static_cast<uint8_t*>(GlobalLock(dib.handle));
    if (!bytes) {
        GlobalFree(dib.handle);
        return {};
    }
    std::copy(header.begin(), header.end(), bytes);
    dib.pixels = bytes + header.size();
    return dib;
}

// Reads every line into the bitmap, the first scanned line into the last
// row. False after a cancel or a failure (already reported).
bool ReadImageInto(const Bitmap& dib) {
    const processing::ProcessingPlan& plan = g_processing.plan;
    const rowoutput::RowForm form = BitmapLineForm();
    while (g_job.linesRead < g_job.lines) {
        if (!ReadNextChunk()) return false;
        const uint32_t end = g_job.chunkFirstLine + g_job.chunkLines;
        for (uint32_t line = g_job.chunkFirstLine; line < end; ++line) {
            // Widened lines are corrected in their own buffer, others in the scan buffer.
            auto* processed = const_cast<uint8_t*>(ProcessLine(LocateLine(line)));
            if (!processed) {
                ScanFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
                StopAndWaitIdle();
                return false;
            }
            if (plan.outputMatching)
                colour::ApplyColourProfile(g_processing.profile, 1, static_cast<int>(plan.linePixels), plan.lineBytes,
                                           processed, plan.lineBytes, false);
            rowoutput::EmitRow(processed, dib.pixels + rowoutput::BottomUpRowOffset(0, plan.rows, dib.stride, line),
                               form);
        }
    }
    WaitForScannerIdle();
    return true;
}

// Descreening and the filter over the finished bitmap, with their progress.
// Escape stops them: false, the transfer is cancelled.
bool FilterBitmap(const Bitmap& dib) {
    const processing::ProcessingPlan& plan = g_processing.plan;
    const filters::DibImage image{dib.pixels, plan.pixels, plan.rows, plan.bitsPerPixel, dib.size};
    auto pass = [&](int textId, auto filter) {
        uint32_t rows = 0;
        ShowStepProgress(0, plan.rows, textId);
        const filters::FilterResult result = filter([&] {
            ShowStepProgress(++rows, plan.rows, textId);
            return PumpWhenDueAndCheckCancel();
        });
        DestroyProgressWindow();
        return result != filters::FilterResult::kCancelled;
    };
    if (plan.descreen && !pass(TXT_REMOVE_MOIRE, [&](const filters::StopRequested& stop) {
            return filters::DescreenDib(image, stop);
        }))
        return false;
    if (plan.filterMode != 0 && !pass(TXT_IMAGE_PROCESSING, [&](const filters::StopRequested& stop) {
            return filters::FilterDib(image, plan.filterMode, stop);
        }))
        return false;
    return true;
}

}  // namespace

uintptr_t NativeTransfer() {
    ShowProgress(0, TXT_SCANNING);
    if (!AllocateScanBuffer()) return 0;
    Bitmap dib = AllocateDib();
    if (!dib.handle) {
        FreeScanBuffer();
        ScanFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
        StopAndWaitIdle();
        return 0;
    }
    bool complete = ReadImageInto(dib);
    FreeScanBuffer();
    complete = complete && FilterBitmap(dib);
    GlobalUnlock(dib.handle);
    if (!complete) {
        // The host gets no half image: a cancelled or failed transfer hands it 0.
        GlobalFree(dib.handle);
        return 0;
    }
    g_twain.returnCode = TWRC_XFERDONE;
    return reinterpret_cast<uintptr_t>(dib.handle);
}
