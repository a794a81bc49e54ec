#include "engine/work_file.h"

#include <vector>

#include "device/device.h"
#include "engine/delivery_state.h"
#include "engine/file_writer.h"
#include "engine/job_state.h"
#include "engine/processing.h"
#include "engine/read_machinery.h"
#include "imaging/filter_common.h"
#include "resources/resource_ids.h"
#include "session/image_setup.h"
#include "session/session.h"
#include "settings/settings_record.h"

namespace {

void Failed(uint16_t conditionCode, int textId) {
    ScanFailed(conditionCode, textId);
    StopAndWaitIdle();
}

// The colour work file is the default transfer file, unless the host's file
// transfer goes to that very file.
WorkFile ChooseWorkFile() {
    if (g_processing.plan.kind != resample::PixelKind::kColour) return WorkFile::kGrey;
    const bool hostTakesIt = g_processing.plan.delivery == processing::Delivery::kFile &&
                             lstrcmpiA(g_setup.fileSetupCurrent.FileName, g_setup.fileSetupDefault.FileName) == 0;
    return hostTakesIt ? WorkFile::kColourBesideHostFile : WorkFile::kColour;
}

bool OpenWorkFile() {
    const processing::ProcessingPlan& plan = g_processing.plan;
    fileheaders::ImageGeometry stored = DeliveredGeometry();
    stored.pixelsPerLine = static_cast<int32_t>(plan.storedPixels);
    stored.lines = static_cast<int32_t>(plan.storedLines);
    stored.bytesPerLine = plan.storedLineBytes;
    stored.bytesPerRow = (plan.storedLineBytes + 3) & ~3u;
    const WorkFile which = ChooseWorkFile();
    g_processing.workFilePath = WorkFilePath(which);
    g_processing.keepWorkFile = which == WorkFile::kColour;
    g_processing.workFile = CreateWorkFile(which, stored);
    return g_processing.workFile != INVALID_HANDLE_VALUE;
}

// The write-time filters, prepared for the image.
bool StartWriteFilters() {
    ProcessingState& p = g_processing;
    const processing::ProcessingPlan& plan = p.plan;
    if (plan.filterMode == filters::kFilterUnsharpMask &&
        !filters::StartConvolution(p.unsharp, plan.linePixels, plan.bitsPerPixel))
        return false;
    if (plan.descreenKernel && !filters::StartConvolution(p.descreen, plan.linePixels, plan.bitsPerPixel))
        return false;
    return !plan.reduce || filters::StartBoxDecimation(p.decimation, g_scanSettings.resolution,
                                                       g_scanSettings.scaling, plan.linePixels, plan.scanLines,
                                                       plan.bitsPerPixel);
}

// The write-time steps in their order; a line finished by a later step
// enters at that step.
enum class Step { kUnsharp, kDescreen, kReduce };

// Passes `count` lines (at the start of `lines`) through the steps from
// `first` on and appends what comes out to the work file. Each filter holds
// back the last line it took until the next one arrives.
bool WriteThrough(uint8_t* lines, size_t count, Step first) {
    ProcessingState& p = g_processing;
    const processing::ProcessingPlan& plan = p.plan;
    if (first <= Step::kUnsharp && plan.filterMode == filters::kFilterUnsharpMask)
        count = filters::Convolve3x3(p.unsharp, filters::Kernel::kUnsharpMask, lines, count);
    if (first <= Step::kDescreen && plan.descreenKernel)
        count = filters::Convolve3x3(p.descreen, *plan.descreenKernel, lines, count);
    size_t bytes = count * plan.lineBytes;
    if (plan.reduce) bytes = filters::BoxDecimate(p.decimation, lines, count);
    return bytes == 0 || WriteBytes(p.workFile, lines, static_cast<uint32_t>(bytes));
}

// The end of the image: the lines each step still holds, in turn.
bool FinishWriting(uint8_t* line) {
    ProcessingState& p = g_processing;
    const processing::ProcessingPlan& plan = p.plan;
    if (plan.filterMode == filters::kFilterUnsharpMask &&
        filters::FinishConvolution(p.unsharp, filters::Kernel::kUnsharpMask, line) &&
        !WriteThrough(line, 1, Step::kDescreen))
        return false;
    if (plan.descreenKernel && filters::FinishConvolution(p.descreen, *plan.descreenKernel, line) &&
        !WriteThrough(line, 1, Step::kReduce))
        return false;
    if (!plan.reduce) return true;
    const size_t bytes = filters::FinishBoxDecimation(p.decimation, line);
    return bytes == 0 || WriteBytes(p.workFile, line, static_cast<uint32_t>(bytes));
}

int ReadBackText() {
    const processing::ProcessingPlan& plan = g_processing.plan;
    if (plan.outputMatching) return TXT_CORRECT_IMAGE;
    return plan.descreen ? TXT_MOIRE_AND_PROCESSING : TXT_IMAGE_PROCESSING;
}

}  // namespace

bool WriteScanToWorkFile() {
    const processing::ProcessingPlan& plan = g_processing.plan;
    if (!OpenWorkFile()) {
        Failed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
        return false;
    }
    std::vector<uint8_t>& lines = g_delivery.lines;
    if (!Reserve(lines, size_t{g_job.linesPerBuffer} * plan.lineBytes) || !StartWriteFilters()) {
        Failed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
        return false;
    }
    const rowoutput::RowForm form = StoredLineForm();
    while (g_job.linesRead < g_job.lines) {
        if (!ReadNextChunk()) return false;
        for (uint32_t i = 0; i < g_job.chunkLines; ++i) {
            const uint8_t* line = ProcessLine(LocateLine(g_job.chunkFirstLine + i));
            if (!line) {
                Failed(TWCC_LOWMEMORY, MSG_INSUFFICIENT_MEMORY);
                return false;
            }
            rowoutput::EmitRow(line, lines.data() + size_t{i} * plan.lineBytes, form);
        }
        if (!WriteThrough(lines.data(), g_job.chunkLines, Step::kUnsharp)) {
            Failed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
            return false;
        }
    }
    WaitForScannerIdle();
    FreeScanBuffer();
    const bool ready = FinishWriting(lines.data()) &&
                       SetFilePointer(g_processing.workFile, static_cast<LONG>(plan.kind == resample::PixelKind::kColour
                                                                                  ? fileheaders::kColourTiffImageOffset
                                                                                  : fileheaders::kGreyTiffImageOffset),
                                      nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
    if (!ready) {
        ScanFailed(TWCC_OPERATIONERROR, MSG_WRITE_FILE_ERROR);
        return false;
    }
    g_processing.linesReadBack = 0;
    return true;
}

uint32_t WorkFileLinesLeft() { return g_processing.plan.storedLines - g_processing.linesReadBack; }

bool ReadWorkFileLines(uint8_t* lines, uint32_t count) {
    ProcessingState& p = g_processing;
    const DWORD bytes = count * p.plan.storedLineBytes;
    DWORD got = 0;
    // No line left while the host is still owed rows is a file that ended early.
    if (count == 0 || !ReadFile(p.workFile, lines, bytes, &got, nullptr) || got != bytes) {
        ScanFailed(TWCC_OPERATIONERROR, MSG_READ_FILE_FAILURE);
        return false;
    }
    p.linesReadBack += count;
    ShowStepProgress(p.linesReadBack, p.plan.storedLines, ReadBackText());
    return true;
}

std::string CloseFinishedWorkFile() {
    ProcessingState& p = g_processing;
    if (p.workFile != INVALID_HANDLE_VALUE) CloseHandle(p.workFile);
    p.workFile = INVALID_HANDLE_VALUE;
    return p.workFilePath;
}
