// Calls that arrive while a transfer body runs. The body's message pump hands
// every message of the thread to its window, so a host's window procedure can
// call the source in the middle of a transfer (its own Cancel button sending
// MSG_RESET, say). Such a call must not free or change what the body is using.
#pragma once

#include <windows.h>

#include "twain/twain.h"

// Marks a transfer body as running for its lifetime. When it ends, a WM_QUIT
// the pump took meanwhile is posted again for the host's loop.
class RunningBody {
public:
    RunningBody();
    ~RunningBody();
    RunningBody(const RunningBody&) = delete;
    RunningBody& operator=(const RunningBody&) = delete;
};

bool BodyRunning();

// The pump keeps a WM_QUIT for the end of the body instead of dispatching it.
void KeepQuitForLater(const MSG& quit);

// A call made while a body runs: DAT_STATUS and MSG_PROCESSEVENT are answered
// (`answer` runs them), every other triplet fails with TWCC_SEQERROR. The
// body's own call, return and condition codes are left as they were.
TW_UINT16 AnswerNestedCall(TW_UINT16 dat, TW_UINT16 msg, void* data, void (*answer)());
