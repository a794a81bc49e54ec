#include "ui/batch_run.h"

#include "device/device.h"
#include "device/inquiry.h"
#include "device/request_blocks.h"
#include "engine/transfer.h"
#include "session/session.h"
#include "ui/batch_job_file.h"
#include "ui/batch_window.h"
#include "ui/main_dialog.h"
#include "ui/scan_sequence.h"

namespace {

BatchList& List() { return g_batchWindow.list; }

// The scanner answers the inquiry with status 0.
bool ScannerAnswers() {
    uint8_t* inquiry = g_device.blocks.inquiry;
    ClearInquiryIdentity(inquiry);
    return ScannerRequest(blocks::kInquiry, inquiry) && BlockStatus(inquiry) == 0;
}

void RedrawAllLines() {
    for (size_t i = 0; i < List().jobs.size(); ++i) RedrawJobLine(i);
}

// A run that ended or stopped: the list acts again, and so does the dialog.
void EndRun() {
    RedrawAllLines();
    EnableBatchControls();
    EndOfScanUiReset();
}

}  // namespace

bool AdvanceJob() {
    if (!ScannerAnswers()) {
        AbortBatch();
        return false;
    }
    KillTimer(g_twain.mainDialog, kBatchContinueTimer);
    const bool lastFailed = g_twain.batchError;
    g_twain.batchError = false;
    if (!AdvanceBatch(List(), lastFailed)) {
        EndRun();
        return false;
    }
    RedrawAllLines();
    EnableBatchControls();
    ApplySelectedJob();
    return true;
}

void AbortBatch() {
    if (!List().running) return;
    KillTimer(g_twain.mainDialog, kBatchContinueTimer);
    AbortBatchRun(List());
    g_twain.batchError = false;
    EndRun();
}

bool BatchRunning() { return g_batchWindow.window && List().running; }

void BatchContinueTick(HWND dialog) {
    const bool scanInProgress = g_twain.sourceState == kState6 || g_twain.sourceState == kState7;
    if (scanInProgress) return;
    KillTimer(dialog, kBatchContinueTimer);
    if (BatchRunning()) RunScanSequence(dialog);
}

bool NextBatchEntryToFile() {
    while (BatchRunning()) {
        if (!g_twain.batchError) CopyToJobFile();
        EndOfTransfer();
        if (RunScanSequence(g_twain.mainDialog)) return true;
    }
    return false;
}
