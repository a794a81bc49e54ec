#include "session/notify.h"

#include "session/session.h"
#include "twain/platform.h"

namespace {

using DsmEntryFn = TW_UINT16(WINAPI*)(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat,
                                      TW_UINT16 msg, void* data);

// The source manager is looked up when posting, not imported at load time: a
// newer source manager that opened this source redirects the source's
// look-ups of TWAIN_32.DLL to itself, and only a run-time look-up reaches it.
void PostToHost(TW_UINT16 message) {
    HMODULE manager = LoadLibraryA(kManagerLibrary);
    if (!manager) return;
    auto entry = reinterpret_cast<DsmEntryFn>(reinterpret_cast<void*>(FindManagerEntry(manager)));
    if (entry) entry(&g_twain.dsIdentity, &g_twain.appIdentity, DG_CONTROL, DAT_NULL, message, nullptr);
    FreeLibrary(manager);
}

}  // namespace

void PostXferReady() {
    g_twain.sourceState = kState6;
    PostToHost(MSG_XFERREADY);
}

void PostCloseRequest() { PostToHost(MSG_CLOSEDSREQ); }
