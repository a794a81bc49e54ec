// The memory transfer: one block of rows into the host's buffer per
// DAT_IMAGEMEMXFER. Rows go out in scanner order (red, green, blue for
// colour), unpadded. A plain scan is read from the scanner chunk by chunk as
// the blocks are asked for; a post-processed scan is written whole to its
// work file by the first call and read back block by block.
#include <algorithm>

#include "device/device.h"
#include "device/messages.h"
#include "engine/delivery_state.h"
#include "engine/job_state.h"
#include "engine/processing.h"
#include "engine/read_machinery.h"
#include "engine/transfer.h"
#include "engine/wait_cursor.h"
#include "engine/work_file.h"
#include "imaging/widen36.h"
#include "resources/resource_ids.h"
#include "session/image_setup.h"
#include "session/session.h"
#include "settings/settings_record.h"

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

void OutOfMemory() {
    ScanFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
    StopScanAndWaitBriefly();
}

void DescribeBlock(uint32_t rows) {
    const processing::ProcessingPlan& plan = g_processing.plan;
    TW_IMAGEMEMXFER& record = g_twain.memXferRecord;
    record.Compression = TWCP_NONE;
    record.BytesPerRow = plan.hostRowBytes;
    record.Columns = static_cast<TW_UINT32>(g_setup.imageInfo.ImageWidth);
    record.Rows = rows;
    record.XOffset = 0;
    record.YOffset = g_delivery.rowsDelivered;
    record.BytesWritten = rows * plan.hostRowBytes;
}

// Up to `most` lines of the scanner's current chunk (a new chunk when it is
// used up) into `lines` as stored lines, or, for 36-bit colour, widened
// straight into the host's buffer. Returns the count, 0 after a failure or
// cancel.
uint32_t ScanLines(uint8_t* lines, uint8_t* host, int64_t most) {
    const processing::ProcessingPlan& plan = g_processing.plan;
    if (g_delivery.chunkRowsLeft == 0) {
        if (!ReadChunk()) return 0;
        g_delivery.chunkRowsLeft = g_job.chunkLines;
    }
    const auto count = static_cast<uint32_t>(std::min<int64_t>(g_delivery.chunkRowsLeft, most));
    g_job.progressCount = static_cast<uint16_t>(g_job.progressCount + count);
    ShowProgress(g_job.progressCount, TXT_SCANNING);

    const rowoutput::RowForm form = StoredLineForm();
    const uint32_t first = g_job.chunkFirstLine + g_job.chunkLines - g_delivery.chunkRowsLeft;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* line = LocateLine(first + i);
        if (plan.deepColour) {
            colour::Widen36BitLine(line, plan.hostRowBytes, host + size_t{i} * plan.hostRowBytes, plan.hostRowBytes);
            continue;
        }
        const uint8_t* processed = ProcessLine(line);
        if (!processed) {
            OutOfMemory();
            return 0;
        }
        rowoutput::EmitRow(processed, lines + size_t{i} * plan.storedLineBytes, form);
    }
    g_delivery.chunkRowsLeft = static_cast<uint16_t>(g_delivery.chunkRowsLeft - count);
    return count;
}

// Up to `most` stored lines read back from the work file.
uint32_t ReadBackLines(uint8_t* lines, int64_t most) {
    const auto count = static_cast<uint32_t>(std::min<int64_t>(WorkFileLinesLeft(), most));
    return ReadWorkFileLines(lines, count) ? count : 0;
}

}  // namespace

void MemoryTransfer(uint8_t* buffer, uint32_t length) {
    const processing::ProcessingPlan& plan = g_processing.plan;
    const WaitCursor enlarging(plan.enlargement > 1);
    const int64_t perBlock = processing::SourceLinesPerBlock(plan, length);
    if (perBlock <= 0) {
        OutOfMemory();
        return;
    }
    if (g_job.newImage && (!SetUpDelivery() || (plan.throughWorkFile && !WriteScanToWorkFile()))) return;
    if (g_delivery.rowsDelivered >= plan.rows) {
        g_twain.returnCode = TWRC_XFERDONE;
        g_job.newImage = true;
        return;
    }
    if (PumpWhenDueAndCheckCancel()) return;

    // Enlarged blocks are made from lines of their own; the others are
    // processed where the host receives them.
    uint8_t* lines = buffer;
    if (plan.enlargement > 1) {
        if (!Reserve(g_delivery.lines, static_cast<size_t>(perBlock) * plan.storedLineBytes)) return OutOfMemory();
        lines = g_delivery.lines.data();
    }
    const uint32_t count = plan.throughWorkFile ? ReadBackLines(lines, perBlock) : ScanLines(lines, buffer, perBlock);
    if (count == 0) return;
    if (!plan.deepColour) {
        switch (processing::ProcessBlock(plan, ProcessingTables(), lines, count, buffer, length, g_processing.carry)) {
            case processing::BlockResult::kDone: break;
            case processing::BlockResult::kNoMemory: return OutOfMemory();
            case processing::BlockResult::kRefused:
                ScanFailed(TWCC_OPERATIONERROR, MSG_TRANSFER_FAILED);
                StopScanAndWaitBriefly();
                return;
        }
    }

    const uint32_t rows = count * plan.enlargement;
    DescribeBlock(rows);
    g_delivery.rowsDelivered += rows;
    if (g_delivery.rowsDelivered < plan.rows) {
        g_twain.returnCode = TWRC_SUCCESS;
        return;
    }
    g_twain.returnCode = TWRC_XFERDONE;
    if (!plan.throughWorkFile) WaitForScannerIdle();
}
