// test_source.ds: a small data source for the host-side tests. Install it
// with InstallTestSource (source_install.h); each copy is its own source,
// named by its file: ProductName is the file name without ".ds".
// Copies whose name starts with "failopen" refuse MSG_OPENDS with
// TWCC_LOWMEMORY (and report it through DAT_STATUS afterwards); copies whose
// name starts with "noidentity" refuse DAT_IDENTITY/MSG_GET, so the source
// manager must skip them.
//
// Besides DAT_IDENTITY (MSG_GET, MSG_OPENDS, MSG_CLOSEDS), DAT_STATUS and
// MSG_PROCESSEVENT it answers these DG_CONTROL triplets:
#pragma once

#include "twain/twain.h"

// MSG_SET, pData TestPostRequest: posts the messages to the connected
// application through DSM_Entry right away, inside this DS_Entry call, and
// stores each DSM_Entry return code in results.
constexpr TW_UINT16 DAT_TESTPOST = 0x8001;
// MSG_SET, pData TestPostRequest: posts the messages from a thread timer,
// i.e. when the host's message loop dispatches the WM_TIMER, outside any
// DS_Entry call. results stay untouched.
constexpr TW_UINT16 DAT_TESTPOSTLATER = 0x8002;
// MSG_SET, pData unused: dispatches the messages waiting in the thread's
// queue before returning, as a source's long loop does between chunks.
constexpr TW_UINT16 DAT_TESTPUMP = 0x8004;
// MSG_GET, pData TestCall: the call before this one (MSG_PROCESSEVENT calls
// are only counted, not recorded).
constexpr TW_UINT16 DAT_TESTLASTCALL = 0x8003;

// MSG_PROCESSEVENT claims events of this message (TWRC_DSEVENT, TWMessage
// MSG_NULL); when wParam is MSG_XFERREADY or MSG_CLOSEDSREQ it first posts
// that notification, as a source does when its dialog's button is pressed.
constexpr unsigned kTestClaimedMessage = 0x8077;  // WM_APP + 0x77

// The condition code a "failopen" copy reports.
constexpr TW_UINT16 kTestOpenFailure = TWCC_LOWMEMORY;

#pragma pack(push, 2)

struct TestPostRequest {
    TW_UINT16 count;  // at most 8
    TW_UINT16 messages[8];
    TW_UINT16 results[8];
};

struct TestCall {
    TW_UINT32 originId;
    TW_UINT32 dg;
    TW_UINT16 dat;
    TW_UINT16 msg;
    TW_MEMREF data;
    TW_UINT32 processEvents;  // MSG_PROCESSEVENT calls since the source was loaded
};

#pragma pack(pop)
