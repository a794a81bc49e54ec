// The memory transfer: one block of rows into the host's buffer per
// DAT_IMAGEMEMXFER, read from the scanner chunk by chunk. Rows go out as the
// scanner delivers them (red, green, blue for colour), unpadded.
#include <algorithm>

#include "device/device.h"
#include "device/messages.h"
#include "engine/delivery_state.h"
#include "engine/job_state.h"
#include "engine/read_machinery.h"
#include "engine/settings_record.h"
#include "engine/transfer.h"
#include "resources/resource_ids.h"
#include "twain/image_setup.h"
#include "twain/session.h"

namespace {

constexpr DWORD kStopPollLimit = 5000;  // ms
constexpr DWORD kStopPollInterval = 50;

// Stops the scanner and waits at most five seconds for it to become ready; a
// fault or a scanner still busy then shows text 629.
void StopScanAndWaitBriefly() {
    ScannerRequest(blocks::kStopScan, g_device.blocks.stop);
    uint8_t* status = g_device.blocks.status;
    const DWORD start = GetTickCount();
    for (;;) {
        const bool answered = ScannerRequest(blocks::kGetStatus, status);
        if (!answered || blocks::GetU16(status, blocks::status::kFault) != 0) break;
        if (blocks::GetU16(status, blocks::status::kReady) != 0) return;
        if (GetTickCount() - start >= kStopPollLimit) break;
        Sleep(kStopPollInterval);
    }
    ShowDeviceError(g_twain.mainDialog, MSG_SCANNER_FAULT);
}

void DescribeBlock(uint16_t rows) {
    TW_IMAGEMEMXFER& record = g_twain.memXferRecord;
    record.Compression = TWCP_NONE;
    record.BytesPerRow = g_delivery.outRowBytes;
    record.Columns = static_cast<TW_UINT32>(g_setup.imageInfo.ImageWidth);
    record.Rows = rows;
    record.XOffset = 0;
    record.YOffset = g_delivery.rowsDelivered;
    record.BytesWritten = static_cast<TW_UINT32>(rows) * g_delivery.outRowBytes;
}

}  // namespace

void MemoryTransfer(uint8_t* buffer, uint32_t length) {
    if (g_job.newImage && !SetUpDelivery()) return;

    const int64_t fit =
        rowoutput::RowsThatFit(length, g_delivery.outRowBytes, g_scanSettings.scanMode == kModeLineArt);
    if (fit <= 0) {
        ScanFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
        StopScanAndWaitBriefly();
        return;
    }
    if (g_delivery.rowsDelivered >= g_job.lines) {
        g_twain.returnCode = TWRC_XFERDONE;
        g_job.newImage = true;
        return;
    }
    if (PumpAndCheckCancel()) return;
    if (g_delivery.chunkRowsLeft == 0) {
        if (!ReadChunk()) return;
        g_delivery.chunkRowsLeft = g_job.chunkLines;
    }

    const auto rows = static_cast<uint16_t>(std::min<int64_t>(g_delivery.chunkRowsLeft, fit));
    g_job.progressCount = static_cast<uint16_t>(g_job.progressCount + rows);
    ShowProgress(g_job.progressCount, TXT_SCANNING);

    const rowoutput::RowForm form = rowoutput::ScannerOrderRow(g_delivery.outRowBytes);
    const uint32_t first = g_job.chunkFirstLine + g_job.chunkLines - g_delivery.chunkRowsLeft;
    for (uint32_t i = 0; i < rows; ++i)
        rowoutput::EmitRow(LocateLine(first + i), buffer + i * form.rowBytes, form);

    DescribeBlock(rows);
    g_delivery.rowsDelivered = static_cast<uint16_t>(g_delivery.rowsDelivered + rows);
    g_delivery.chunkRowsLeft = static_cast<uint16_t>(g_delivery.chunkRowsLeft - rows);
    if (g_delivery.rowsDelivered < g_job.lines) {
        g_twain.returnCode = TWRC_SUCCESS;
        return;
    }
    g_twain.returnCode = TWRC_XFERDONE;
    WaitForScannerIdle();
}
