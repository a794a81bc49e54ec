// The file transfer: the whole image in one call, into the file the host
// named, in the layout its file format maps to. TIFF rows follow the header in
// scan order as the scanner delivers them; BMP rows are padded, blue, green,
// red, and each block is written working back from the end of the file so
// that the first scanned row ends up last. Lines go through the same block
// steps as a memory transfer into the usual 64 KB buffer; a post-processed
// scan is written to its work file first and read back from there. A plain
// colour image goes straight into the host's file: the colour work file (the
// default transfer file) is only needed by scans processed after they are
// read.
#include <algorithm>

#include "device/device.h"
#include "engine/delivery_state.h"
#include "engine/file_writer.h"
#include "engine/job_state.h"
#include "engine/processing.h"
#include "engine/read_machinery.h"
#include "engine/transfer.h"
#include "engine/wait_cursor.h"
#include "engine/work_file.h"
#include "resources/resource_ids.h"
#include "session/capability_state.h"
#include "session/image_setup.h"
#include "session/session.h"
#include "settings/settings_record.h"

namespace {

using rowoutput::FileLayout;

void FileFailed(uint16_t conditionCode, int textId) {
    ScanFailed(conditionCode, textId);
    StopAndWaitIdle();
}

// The host's file with its header, the block buffers and, for an
// interpolated colour image, "\Interp.Tmp" with the header of the image.
bool OpenHostFile(FileLayout layout, uint32_t linesPerBlock) {
    const processing::ProcessingPlan& plan = g_processing.plan;
    g_delivery.hostFileName = g_setup.fileSetupCurrent.FileName;
    g_delivery.hostFile = CreateTransferFile(g_delivery.hostFileName.c_str(), DeliveredGeometry(), layout);
    if (g_delivery.hostFile == INVALID_HANDLE_VALUE) {
        FileFailed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
        return false;
    }
    if (plan.enlargement > 1 && plan.kind == resample::PixelKind::kColour) {
        g_processing.interpolationFile = CreateWorkFile(WorkFile::kInterpolation, DeliveredGeometry());
        if (g_processing.interpolationFile == INVALID_HANDLE_VALUE) {
            FileFailed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
            return false;
        }
    }
    const size_t rows = size_t{linesPerBlock} * plan.enlargement;
    const size_t stride = (plan.rowBytes + 3) & ~3u;
    if (!Reserve(g_delivery.lines, size_t{linesPerBlock} * plan.storedLineBytes) ||
        (plan.enlargement > 1 && !Reserve(g_delivery.rows, rows * plan.rowBytes)) ||
        (layout == FileLayout::kBmp && !Reserve(g_delivery.fileRows, rows * stride))) {
        FileFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
        return false;
    }
    return true;
}

// Writes `count` finished rows (plan.rowBytes each, scanner order) as the
// next rows of the file. A BMP file gets them padded, blue first, and last
// row first, so that one write puts them where they belong.
bool WriteRows(FileLayout layout, const uint8_t* rows, uint32_t count) {
    const processing::ProcessingPlan& plan = g_processing.plan;
    const uint32_t first = g_delivery.rowsDelivered;
    g_delivery.rowsDelivered += count;
    if (layout != FileLayout::kBmp) return WriteBytes(g_delivery.hostFile, rows, count * plan.rowBytes);
    const rowoutput::RowForm form =
        rowoutput::BitmapRow(plan.rowBytes, (plan.rowBytes + 3) & ~3u, plan.kind == resample::PixelKind::kColour);
    uint8_t* staged = g_delivery.fileRows.data();
    for (uint32_t i = 0; i < count; ++i)
        rowoutput::EmitRow(rows + size_t{i} * plan.rowBytes, staged + size_t{count - 1 - i} * form.rowBytes, form);
    // Pixels follow the file header (14 bytes), the info header (40) and the palette.
    const uint64_t pixelOffset = 54 + 4 * static_cast<uint64_t>(fileheaders::PaletteEntries(g_scanSettings.scanMode));
    const uint64_t offset = rowoutput::BottomUpRowOffset(pixelOffset, plan.rows, form.rowBytes, first + count - 1);
    return WriteBytesAt(g_delivery.hostFile, offset, staged, count * form.rowBytes);
}

// The block steps over `count` stored lines in the line buffer, then the
// rows into the file.
bool DeliverBlock(FileLayout layout, uint32_t count) {
    const processing::ProcessingPlan& plan = g_processing.plan;
    uint8_t* lines = g_delivery.lines.data();
    uint8_t* rows = plan.enlargement > 1 ? g_delivery.rows.data() : lines;
    const size_t rowsSize = plan.enlargement > 1 ? g_delivery.rows.size() : g_delivery.lines.size();
    switch (processing::ProcessBlock(plan, ProcessingTables(), lines, count, rows, rowsSize, g_processing.carry)) {
        case processing::BlockResult::kDone: break;
        case processing::BlockResult::kNoMemory:
            FileFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
            return false;
        case processing::BlockResult::kRefused:
            FileFailed(TWCC_OPERATIONERROR, MSG_TRANSFER_FAILED);
            return false;
    }
    if (WriteRows(layout, rows, count * plan.enlargement)) return true;
    FileFailed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
    return false;
}

// A plain scan: every chunk from the scanner, block by block.
bool DeliverScan(FileLayout layout, uint32_t linesPerBlock) {
    const processing::ProcessingPlan& plan = g_processing.plan;
    const rowoutput::RowForm form = StoredLineForm();
    while (g_job.linesRead < g_job.lines) {
        if (!ReadNextChunk()) return false;
        for (uint32_t done = 0; done < g_job.chunkLines;) {
            const uint32_t count = std::min(linesPerBlock, g_job.chunkLines - done);
            for (uint32_t i = 0; i < count; ++i) {
                const uint8_t* line = ProcessLine(LocateLine(g_job.chunkFirstLine + done + i));
                if (!line) {
                    FileFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
                    return false;
                }
                rowoutput::EmitRow(line, g_delivery.lines.data() + size_t{i} * plan.storedLineBytes, form);
            }
            if (!DeliverBlock(layout, count)) return false;
            done += count;
        }
    }
    WaitForScannerIdle();
    return true;
}

// A post-processed scan: into the work file, then back block by block.
bool DeliverProcessedScan(FileLayout layout, uint32_t linesPerBlock) {
    if (!WriteScanToWorkFile()) return false;
    while (WorkFileLinesLeft() > 0) {
        if (PumpWhenDueAndCheckCancel()) return false;
        const uint32_t count = std::min(linesPerBlock, WorkFileLinesLeft());
        if (!ReadWorkFileLines(g_delivery.lines.data(), count) || !DeliverBlock(layout, count)) return false;
    }
    return true;
}

}  // namespace

void FileTransfer() {
    // Only the TIFF and BMP layouts have a writer.
    const FileLayout layout = rowoutput::LayoutForFormat(g_caps.fileFormatIndex);
    if (layout == FileLayout::kNone) {
        FileFailed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
        return;
    }
    const processing::ProcessingPlan& plan = g_processing.plan;
    const WaitCursor enlarging(plan.enlargement > 1);
    const uint32_t linesPerBlock = processing::FileLinesPerBlock(plan);
    if (!SetUpDelivery() || !OpenHostFile(layout, linesPerBlock)) return;
    const bool written = plan.throughWorkFile ? DeliverProcessedScan(layout, linesPerBlock)
                                              : DeliverScan(layout, linesPerBlock);
    if (!written) return;
    const bool closed = CloseHandle(g_delivery.hostFile);
    g_delivery.hostFile = INVALID_HANDLE_VALUE;
    if (!closed) {
        DeleteFileA(g_delivery.hostFileName.c_str());
        ScanFailed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
        return;
    }
    g_twain.returnCode = TWRC_XFERDONE;
}
