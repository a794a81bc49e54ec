// Chunked reads of the scanner, line addresses across the descriptors, the
// Escape cancel and the reports of scanner trouble.
#include "engine/read_machinery.h"

#include "device/device.h"
#include "device/dialog_link.h"
#include "device/inquiry.h"
#include "device/messages.h"
#include "engine/job_state.h"
#include "resources/resource_ids.h"
#include "session/nested_calls.h"
#include "session/session.h"

JobState g_job;

namespace {

// False when the transport failed (its message is shown).
bool ReadOnce(uint16_t& status) {
    uint8_t* block = g_device.blocks.readData;
    if (!ScannerRequest(blocks::kReadImageData, block)) return false;
    status = BlockStatus(block);
    return true;
}

// The job ends as failed without a message of its own.
void EndJobFailed(uint16_t conditionCode) {
    DestroyProgressWindow();
    g_job.scanFailed = true;
    g_twain.conditionCode = conditionCode;
    g_twain.returnCode = TWRC_FAILURE;
    if (g_twain.batchListOpen && g_twain.mainDialog) {
        g_twain.batchError = true;
        g_dialogLink.continueBatch(800);
    }
}

// Slow-speed pacing, in the bands of the requested resolution.
void Pace(uint32_t line) {
    if (!g_job.slowPacing || !PacedBeforeLine(g_job.pacing, line)) return;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < g_job.pacing.delayMs) Sleep(1);
}

}  // namespace

bool ReadChunk() {
    uint16_t done = g_job.linesRead;
    uint16_t remaining = static_cast<uint16_t>(g_job.lines - done);
    uint16_t lines = remaining < g_job.linesPerBuffer ? remaining : g_job.linesPerBuffer;
    uint8_t* block = g_device.blocks.readData;
    blocks::PutU16(block, blocks::readdata::kBytesPerLine, g_job.bytesPerScanLine);
    blocks::PutU16(block, blocks::readdata::kLines, lines);
    blocks::PutU32(block, blocks::readdata::kBytes, static_cast<uint32_t>(lines) * g_job.bytesPerScanLine);
    blocks::PutU16(block, blocks::readdata::kLinesDone, done);
    blocks::PutU16(block, blocks::readdata::kLinesUsed, 0);

    // A status of 0x8321 asks for the same read once more; a second 0x8321
    // is no paper: the lines of that read are not image.
    uint16_t status = 0;
    if (!ReadOnce(status) || (status == blocks::kNoPaper && !ReadOnce(status))) {
        // The connection to the remote scanner is lost: nothing to stop.
        EndJobFailed(TWCC_OPERATIONERROR);
        g_dialogLink.endOfScan();
        FreeScanBuffer();
        return false;
    }
    if (status != 0) {
        ScannerRequest(blocks::kStopScan, g_device.blocks.stop);
        ShowStatusError(status);
        FreeScanBuffer();
        return false;
    }
    g_job.chunkFirstLine = done;
    g_job.chunkLines = lines;
    g_job.linesRead = static_cast<uint16_t>(done + lines);
    return true;
}

uint8_t* LocateLine(uint32_t line) {
    Pace(line);
    const uint32_t perSegment = g_job.linesPerSegment;
    if (line % perSegment != 0 && g_job.currentLine) {
        g_job.currentLine += g_job.bytesPerScanLine;
    } else {
        uint32_t segment = (line / perSegment) % g_job.segmentCount;
        const uint8_t* entry = g_job.scan.table + segment * blocks::kDescriptorSize;
        g_job.currentLine = DescribedBytesAt(g_job.scan, entry);
    }
    return g_job.currentLine;
}

bool PumpAndCheckCancel() {
    g_job.lastPumpTick = GetTickCount();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            KeepQuitForLater(message);
            continue;
        }
        if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST && message.wParam == VK_ESCAPE)
            g_job.cancelRequested = true;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (!g_job.cancelRequested) return false;
    DestroyProgressWindow();
    g_twain.returnCode = TWRC_CANCEL;
    StopAndWaitIdle();
    g_dialogLink.endOfScan();
    if (g_twain.batchListOpen && g_twain.mainDialog) g_dialogLink.abortBatch();
    return true;
}

bool PumpWhenDueAndCheckCancel() {
    if (!g_job.cancelRequested && GetTickCount() - g_job.lastPumpTick < kPumpIntervalMs) return false;
    return PumpAndCheckCancel();
}

void ScanFailed(uint16_t conditionCode, int textId) {
    ShowDeviceError(g_twain.mainDialog, textId);
    EndJobFailed(conditionCode);
}

void ShowStatusError(uint16_t status) {
    ScanFailed(TWCC_OPERATIONERROR, StatusMessageNumber(status));
    StopAndWaitIdle();
}

void WaitForScannerIdle() { PollUntilIdle(); }
