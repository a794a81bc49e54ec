#include "session/notify.h"

#include "session/session.h"
#include "twain/platform.h"

namespace {

using DsmEntryFn = TW_UINT16(WINAPI*)(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat,
                                      TW_UINT16 msg, void* data);

// The source manager is looked up when posting, not imported at load time:
// whichever manager the host loaded, TWAINDSM.DLL or TWAIN_32.DLL, is the one
// that knows the host.
void PostToHost(TW_UINT16 message) {
    FARPROC found = nullptr;
    HMODULE manager = LoadHostManager(found);
    if (!manager) return;
    auto entry = reinterpret_cast<DsmEntryFn>(reinterpret_cast<void*>(found));
    if (entry) entry(&g_twain.dsIdentity, &g_twain.appIdentity, DG_CONTROL, DAT_NULL, message, nullptr);
    FreeLibrary(manager);
}

}  // namespace

void PostXferReady() {
    g_twain.sourceState = kState6;
    if (!g_twain.batchScanInTransfer) PostToHost(MSG_XFERREADY);
}

void PostCloseRequest() { PostToHost(MSG_CLOSEDSREQ); }
