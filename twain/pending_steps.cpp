#include "twain/pending_steps.h"

#include "engine/unattended_scan.h"
#include "twain/capability_state.h"
#include "twain/handlers.h"
#include "twain/host_rules.h"
#include "ui/main_dialog.h"

namespace {

// More pages are wanted while CAP_XFERCOUNT is -1 or above the pages delivered.
bool MorePagesWanted() {
    return g_caps.pagesRequested == -1 || g_caps.pagesRequested > static_cast<int>(g_caps.pagesDelivered);
}

}  // namespace

void PendingXfersWithBatchSteps() {
    TW_UINT16 msg = g_twain.callMsg;
    if (msg == MSG_ENDXFER && g_twain.batchListOpen && !g_twain.batchToFile && HostIsPicturePublisher() &&
        g_twain.appIdentity.ProtocolMinor == 5)
        SetTimer(g_twain.mainDialog, kBatchContinueTimer, 2000, nullptr);

    PendingXfers();

    // The feeder goes on to the next page only after a page was ended.
    if (msg == MSG_ENDXFER && g_twain.returnCode == TWRC_SUCCESS) {
        ++g_caps.pagesDelivered;
        if (g_caps.autoFeed && MorePagesWanted()) RunUnattendedScan();
    }
}
