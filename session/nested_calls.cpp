#include "session/nested_calls.h"

#include "session/session.h"

namespace {

struct NestedState {
    bool bodyRunning = false;
    bool quitTaken = false;
    WPARAM quitCode = 0;
    TW_UINT16 condition = TWCC_SUCCESS;  // what a nested DAT_STATUS reports
};

NestedState g_nested;

// The fields of the call a body is serving.
struct CallRecord {
    TW_IDENTITY* origin;
    TW_UINT32 group;
    TW_UINT16 dat, msg;
    void* data;
    TW_UINT16 returnCode, conditionCode;
};

CallRecord SaveCall() {
    const TwainSession& t = g_twain;
    return {t.callOrigin, t.callGroup, t.callDat, t.callMsg, t.callData, t.returnCode, t.conditionCode};
}

void RestoreCall(const CallRecord& call) {
    TwainSession& t = g_twain;
    t.callOrigin = call.origin;
    t.callGroup = call.group;
    t.callDat = call.dat;
    t.callMsg = call.msg;
    t.callData = call.data;
    t.returnCode = call.returnCode;
    t.conditionCode = call.conditionCode;
}

}  // namespace

RunningBody::RunningBody() {
    g_nested.bodyRunning = true;
    g_nested.condition = TWCC_SUCCESS;
}

RunningBody::~RunningBody() {
    g_nested.bodyRunning = false;
    if (!g_nested.quitTaken) return;
    g_nested.quitTaken = false;
    PostQuitMessage(static_cast<int>(g_nested.quitCode));
}

bool BodyRunning() { return g_nested.bodyRunning; }

void KeepQuitForLater(const MSG& quit) {
    g_nested.quitTaken = true;
    g_nested.quitCode = quit.wParam;
}

TW_UINT16 AnswerNestedCall(TW_UINT16 dat, TW_UINT16 msg, void* data, void (*answer)()) {
    if (dat == DAT_STATUS && msg == MSG_GET) {
        if (!data) return TWRC_FAILURE;
        auto* status = static_cast<TW_STATUS*>(data);
        status->ConditionCode = g_nested.condition;
        status->Reserved = 0;
        g_nested.condition = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    if (msg != MSG_PROCESSEVENT) {
        g_nested.condition = TWCC_SEQERROR;
        return TWRC_FAILURE;
    }
    const CallRecord body = SaveCall();
    g_twain.callDat = dat;
    g_twain.callMsg = msg;
    g_twain.callData = data;
    answer();
    const TW_UINT16 result = g_twain.returnCode;
    RestoreCall(body);
    return result;
}
