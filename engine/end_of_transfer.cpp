// What follows every transfer: the release of the image's buffers and files,
// and the reset that lets the next image start with a fresh set-up.
#include "device/device.h"
#include "device/dialog_link.h"
#include "engine/delivery_state.h"
#include "engine/job_state.h"
#include "engine/processing.h"
#include "engine/read_machinery.h"
#include "engine/transfer.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "settings/settings_record.h"

bool TransferInProgress() { return !g_job.newImage && g_delivery.rowsDelivered < g_processing.plan.rows; }

void ReleaseDelivery() {
    FreeScanBuffer();
    for (std::vector<uint8_t>* buffer : {&g_delivery.lines, &g_delivery.rows, &g_delivery.fileRows})
        std::vector<uint8_t>().swap(*buffer);
    // A host file still open was not finished: the host must not find half
    // an image under its name.
    if (g_delivery.hostFile != INVALID_HANDLE_VALUE) {
        CloseHandle(g_delivery.hostFile);
        DeleteFileA(g_delivery.hostFileName.c_str());
    }
    g_delivery.hostFile = INVALID_HANDLE_VALUE;
}

void EndOfTransfer() {
    ReleaseDelivery();
    ReleaseProcessing();
    g_job.progressCount = 0;
    g_job.newImage = true;
    g_job.cancelRequested = false;
    g_delivery.chunkRowsLeft = 0;  // the next image starts with a read
    g_delivery.rowsDelivered = 0;
    g_scanSettings.isColour = g_scanSettings.scanMode == kModeColour;
    if (g_twain.showUI && g_twain.mainDialog && !g_twain.batchListOpen)
        EnableWindow(GetDlgItem(g_twain.mainDialog, IDC_CANCEL_SCAN), TRUE);
    DestroyProgressWindow();
}

void AbandonTransfer() {
    // State 6: the scanner has started an image nobody has read yet.
    if (g_twain.sourceState != kState6 && !TransferInProgress()) return;
    StopAndWaitIdle();
    EndOfTransfer();
    // The dialog is idle again: Scan, Cancel and the close box work.
    g_dialogLink.endOfScan();
}
