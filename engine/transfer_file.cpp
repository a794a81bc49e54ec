// The file transfer: the whole image in one call, into the file the host
// named, in the layout its file format maps to. TIFF rows follow the header in
// scan order as the scanner delivers them; BMP rows are padded, blue, green,
// red, and each chunk is written working back from the end of the file so
// that the first scanned row ends up last. A colour image goes straight into
// the host's file too: the colour work file (the default transfer file) is
// only needed by scans that are processed after they are read.
#include "device/device.h"
#include "engine/delivery_state.h"
#include "engine/file_writer.h"
#include "engine/job_state.h"
#include "engine/read_machinery.h"
#include "engine/settings_record.h"
#include "engine/transfer.h"
#include "resources/resource_ids.h"
#include "twain/capability_state.h"
#include "twain/image_setup.h"
#include "twain/session.h"

namespace {

using rowoutput::FileLayout;

void FileFailed(uint16_t conditionCode, int textId) {
    ScanFailed(conditionCode, textId);
    StopAndWaitIdle();
}

rowoutput::RowForm FileRowForm(FileLayout layout) {
    if (layout == FileLayout::kBmp)
        return rowoutput::BitmapRow(g_job.bytesPerScanLine, g_job.bytesPerRow, g_scanSettings.scanMode == kModeColour);
    return rowoutput::ScannerOrderRow(g_job.bytesPerScanLine);
}

// The host's file with its header, and a buffer for one chunk of its rows.
bool OpenHostFile(FileLayout layout, const rowoutput::RowForm& form) {
    g_delivery.hostFileName = g_setup.fileSetupCurrent.FileName;
    g_delivery.hostFile = CreateTransferFile(g_delivery.hostFileName.c_str(), JobGeometry(), layout);
    if (g_delivery.hostFile == INVALID_HANDLE_VALUE) {
        FileFailed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
        return false;
    }
    g_delivery.rowBuffer = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(g_job.linesPerBuffer) * form.rowBytes);
    g_delivery.rowBytes = g_delivery.rowBuffer ? static_cast<uint8_t*>(GlobalLock(g_delivery.rowBuffer)) : nullptr;
    if (!g_delivery.rowBytes) {
        FileFailed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
        return false;
    }
    return true;
}

// Writes the rows of the last chunk. In a BMP file the chunk's rows are
// staged last first, so that one write puts them where they belong.
bool WriteChunk(FileLayout layout, const rowoutput::RowForm& form) {
    const uint32_t first = g_job.chunkFirstLine;
    const uint32_t count = g_job.chunkLines;
    const bool bottomUp = layout == FileLayout::kBmp;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t slot = bottomUp ? count - 1 - i : i;
        rowoutput::EmitRow(LocateLine(first + i), g_delivery.rowBytes + slot * form.rowBytes, form);
    }
    const uint32_t bytes = count * form.rowBytes;
    if (!bottomUp) return WriteBytes(g_delivery.hostFile, g_delivery.rowBytes, bytes);
    // Pixels follow the file header (14 bytes), the info header (40) and the palette.
    const uint64_t pixelOffset = 54 + 4 * static_cast<uint64_t>(fileheaders::PaletteEntries(g_scanSettings.scanMode));
    const uint64_t offset = rowoutput::BottomUpRowOffset(pixelOffset, g_job.lines, form.rowBytes, first + count - 1);
    return WriteBytesAt(g_delivery.hostFile, offset, g_delivery.rowBytes, bytes);
}

// Reads and writes every chunk. False after a cancel or a failure (already
// reported).
bool WriteImage(FileLayout layout) {
    const rowoutput::RowForm form = FileRowForm(layout);
    if (!OpenHostFile(layout, form)) return false;
    while (g_job.linesRead < g_job.lines) {
        if (!ReadNextChunk()) return false;
        if (!WriteChunk(layout, form)) {
            FileFailed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
            return false;
        }
    }
    WaitForScannerIdle();
    const bool closed = CloseHandle(g_delivery.hostFile);
    g_delivery.hostFile = INVALID_HANDLE_VALUE;
    if (closed) return true;
    DeleteFileA(g_delivery.hostFileName.c_str());
    ScanFailed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
    return false;
}

}  // namespace

void FileTransfer() {
    // Only the TIFF and BMP layouts have a writer.
    const FileLayout layout = rowoutput::LayoutForFormat(g_caps.fileFormatIndex);
    if (layout == FileLayout::kNone) {
        FileFailed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
        return;
    }
    if (!SetUpDelivery() || !WriteImage(layout)) return;
    g_twain.returnCode = TWRC_XFERDONE;
}
