// DS_Entry and the dispatcher: the call is stored, MSG_PROCESSEVENT is
// handled before anything else, every other triplet goes to its handler.
#include "session/nested_calls.h"
#include "session/session.h"
#include "settings/host_rules.h"
#include "source/handlers.h"
#include "source/pending_steps.h"

TwainSession g_twain;

namespace {

using Handler = void (*)();

struct Route {
    TW_UINT16 dat;
    TW_UINT16 msg;  // kAnyMessage: every message goes to the handler
    Handler handler;
    bool needsData;  // the triplet reads or writes a structure of the host
};

constexpr TW_UINT16 kAnyMessage = 0xFFFF;

void Capability();

const Route kRoutes[] = {
    {DAT_CAPABILITY, kAnyMessage, Capability, true},
    {DAT_IDENTITY, MSG_GET, GetIdentity, true},
    {DAT_IDENTITY, MSG_OPENDS, OpenSource, true},
    {DAT_IDENTITY, MSG_CLOSEDS, CloseSource, false},
    {DAT_PENDINGXFERS, kAnyMessage, PendingXfersWithBatchSteps, true},
    {DAT_SETUPMEMXFER, MSG_GET, SetupMemXfer, true},
    {DAT_SETUPFILEXFER, MSG_GET, SetupFileXfer, true},
    {DAT_SETUPFILEXFER, MSG_GETDEFAULT, SetupFileXfer, true},
    {DAT_SETUPFILEXFER, MSG_SET, SetupFileXfer, true},
    {DAT_SETUPFILEXFER, MSG_RESET, SetupFileXfer, true},
    {DAT_STATUS, MSG_GET, GetStatus, true},
    {DAT_USERINTERFACE, MSG_ENABLEDS, EnableSource, true},
    {DAT_USERINTERFACE, MSG_DISABLEDS, DisableSource, true},
    {DAT_XFERGROUP, MSG_GET, XferGroup, true},
    {DAT_IMAGEINFO, MSG_GET, ImageInfo, true},
    {DAT_IMAGELAYOUT, MSG_GET, ImageLayout, true},
    {DAT_IMAGELAYOUT, MSG_GETDEFAULT, ImageLayout, true},
    {DAT_IMAGELAYOUT, MSG_SET, ImageLayout, true},
    {DAT_IMAGELAYOUT, MSG_RESET, ImageLayout, true},
    {DAT_IMAGEMEMXFER, MSG_GET, MemXfer, true},
    {DAT_IMAGENATIVEXFER, MSG_GET, NativeXfer, true},
    {DAT_IMAGEFILEXFER, MSG_GET, FileXfer, false},
};

// DAT_CAPABILITY: the host named by text 62 gets its own handler.
void Capability() {
    if (HostIsPublisher())
        NegotiatePublisher();
    else
        NegotiateGeneral(g_twain.callMsg);
}

void Dispatch() {
    for (const Route& route : kRoutes) {
        if (route.dat != g_twain.callDat) continue;
        if (route.msg != kAnyMessage && route.msg != g_twain.callMsg) continue;
        if (route.needsData && !g_twain.callData) {
            Fail(TWCC_BADVALUE);
            return;
        }
        route.handler();
        return;
    }
    Fail(TWCC_BADPROTOCOL);
}

// The dialog gets its messages through the host's loop.
void ProcessEvent() {
    g_twain.returnCode = TWRC_NOTDSEVENT;
    g_twain.conditionCode = TWCC_SUCCESS;
    auto* event = CallData<TW_EVENT>();
    if (!g_twain.mainDialog || !event || !event->pEvent) return;
    auto* message = TwainPointer<MSG*>(event->pEvent);
    if (IsDialogMessageA(g_twain.mainDialog, message)) {
        g_twain.returnCode = TWRC_DSEVENT;
        event->TWMessage = MSG_NULL;
    }
}

}  // namespace

extern "C" TW_UINT16 WINAPI DS_Entry(TW_IDENTITY* pOrigin, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                                     void* pData) {
    if (!pOrigin) {
        // Nothing to identify the caller by: refuse without touching a connected host's call.
        if (g_twain.appIdentity.Id == 0) Fail(TWCC_BADVALUE);
        return TWRC_FAILURE;
    }
    if (g_twain.appIdentity.Id != 0 && pOrigin->Id != g_twain.appIdentity.Id) {
        // Another application's open must never look like a success; every
        // other call of it gets the connected host's last return code.
        if (DAT == DAT_IDENTITY && MSG == MSG_OPENDS) return TWRC_FAILURE;
        return g_twain.returnCode;
    }

    if (BodyRunning()) return AnswerNestedCall(DAT, MSG, pData, ProcessEvent);

    g_twain.callOrigin = pOrigin;
    g_twain.callGroup = DG;
    g_twain.callDat = DAT;
    g_twain.callMsg = MSG;
    g_twain.callData = pData;
    if (MSG == MSG_PROCESSEVENT)
        ProcessEvent();
    else
        Dispatch();
    return g_twain.returnCode;
}
