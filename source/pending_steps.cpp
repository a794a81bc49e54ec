#include "source/pending_steps.h"

#include "device/dialog_link.h"
#include "engine/unattended_scan.h"
#include "session/capability_state.h"
#include "settings/host_rules.h"
#include "source/handlers.h"

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
        g_dialogLink.continueBatch(2000);

    const bool delivered = g_twain.imageDelivered;
    if (msg == MSG_ENDXFER || msg == MSG_RESET) g_twain.imageDelivered = false;
    PendingXfers();

    // The feeder goes on to the next page only after a page was delivered
    // whole and ended; a cancelled or failed page ends the batch.
    if (msg != MSG_ENDXFER || g_twain.returnCode != TWRC_SUCCESS || !delivered) return;
    ++g_caps.pagesDelivered;
    if (!g_caps.autoFeed || !MorePagesWanted()) return;
    const UnattendedResult next = RunUnattendedScan();
    // What the next page brings is told by the notifications; MSG_ENDXFER
    // itself has succeeded. An empty feeder is the batch's quiet end.
    Succeed();
    if (next != UnattendedResult::kReady) return;
    const int left = g_caps.pagesRequested == -1 ? -1 : g_caps.pagesRequested - static_cast<int>(g_caps.pagesDelivered);
    CallData<TW_PENDINGXFERS>()->Count = static_cast<TW_UINT16>(left);
}
