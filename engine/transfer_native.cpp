// The native transfer: the whole image in one packed device-independent
// bitmap, allocated once at its final size. Rows are stored bottom-up, colour
// pixels blue, green, red.
#include <algorithm>
#include <vector>

#include "device/device.h"
#include "engine/delivery_state.h"
#include "engine/job_state.h"
#include "engine/read_machinery.h"
#include "engine/settings_record.h"
#include "engine/transfer.h"
#include "resources/resource_ids.h"
#include "twain/session.h"

namespace {

// The bitmap with its header and palette, pixels zeroed, locked at `bytes`;
// null when the memory cannot be had. `pixelOffset` receives where the
// pixels start.
HGLOBAL AllocateDib(uint8_t*& bytes, size_t& pixelOffset) {
    std::vector<uint8_t> header;
    if (!fileheaders::BuildDibHeader(JobGeometry(), header)) return nullptr;
    const size_t size = header.size() + static_cast<size_t>(g_job.bytesPerRow) * g_job.lines;
    HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!dib) return nullptr;
    bytes = static_cast<uint8_t*>(GlobalLock(dib));
    if (!bytes) {
        GlobalFree(dib);
        return nullptr;
    }
    std::copy(header.begin(), header.end(), bytes);
    pixelOffset = header.size();
    return dib;
}

// Reads every line into the bitmap's pixels, the first scanned line into the
// last row. False after a cancel or a failure (already reported).
bool ReadImageInto(uint8_t* pixels) {
    const rowoutput::RowForm form =
        rowoutput::BitmapRow(g_job.bytesPerScanLine, g_job.bytesPerRow, g_scanSettings.scanMode == kModeColour);
    while (g_job.linesRead < g_job.lines) {
        if (!ReadNextChunk()) return false;
        const uint32_t end = g_job.chunkFirstLine + g_job.chunkLines;
        for (uint32_t line = g_job.chunkFirstLine; line < end; ++line)
            rowoutput::EmitRow(LocateLine(line),
                               pixels + rowoutput::BottomUpRowOffset(0, g_job.lines, g_job.bytesPerRow, line), form);
    }
    WaitForScannerIdle();
    return true;
}

}  // namespace

uint32_t NativeTransfer() {
    ShowProgress(0, TXT_SCANNING);
    if (!AllocateScanBuffer()) return 0;
    uint8_t* bytes = nullptr;
    size_t pixelOffset = 0;
    HGLOBAL dib = AllocateDib(bytes, pixelOffset);
    if (!dib) {
        FreeScanBuffer();
        ScanFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
        StopAndWaitIdle();
        return 0;
    }
    const bool complete = ReadImageInto(bytes + pixelOffset);
    GlobalUnlock(dib);
    FreeScanBuffer();
    if (!complete) {
        // The host gets no half image: a cancelled or failed transfer hands it 0.
        GlobalFree(dib);
        return 0;
    }
    g_twain.returnCode = TWRC_XFERDONE;
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(dib));
}
