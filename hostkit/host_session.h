// HostSession: a TWAIN application in a struct, for tests and twscan. It
// loads the source manager (TWAIN_32.DLL, TWAINDSM.DLL when 64-bit), opens the source manager with a hidden parent window,
// opens a data source and runs a real message loop in which every message
// goes through MSG_PROCESSEVENT before it is dispatched.
//
//   HostSession host;
//   ASSERT_TRUE(host.OpenDsm());
//   ASSERT_EQ(host.OpenSource("A3 Flatbed Scanner"), TWRC_SUCCESS);
//   host.Enable(false);
//   EXPECT_EQ(host.WaitForNotification(30000), MSG_XFERREADY);
//   ... transfer with host.Ds(DG_IMAGE, ...) ...
//   (the destructor disables, closes the source and the manager)
//
// Message loop: the loop is run by WaitForNotification and Pump. While it
// runs, each message is offered with MSG_PROCESSEVENT to the open source of
// every HostSession of this thread (as an application with several sources
// does); only a message no source claims (TWRC_NOTDSEVENT) is translated and
// dispatched. A TWMessage other than MSG_NULL is appended to the
// notifications of the session whose source returned it.
//
// Running code inside the loop: Defer(fn) posts a message to the session's
// parent window; fn runs when that message is dispatched, i.e. from the next
// WaitForNotification/Pump, or from any modal loop the source runs meanwhile
// (a message box, a modal dialog, a scan that pumps messages). Use it to
// press a dialog button while the source is busy, for example
//   host.Defer([&] { PostMessage(dialog, WM_COMMAND, 1001, 0); });
// Message boxes need no Defer: MessageBoxRecorder answers them.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <functional>
#include <vector>

#include "twain/platform.h"
#include "twain/twain.h"

using DsmEntryProc = TW_UINT16(WINAPI*)(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat,
                                        TW_UINT16 msg, void* data);

struct HostSession {
    TW_IDENTITY app{};     // this application; Id assigned by MSG_OPENDSM
    TW_IDENTITY source{};  // the source of OpenSource, as MSG_OPENDS left it
    HWND parent = nullptr; // hidden window, made by the constructor
    // Set to false before OpenDsm to open the manager with a null parent
    // window; the manager then wakes the loop with thread messages.
    bool passParentWindow = true;
    // The source manager OpenDsm loads: a name or a path.
    std::string managerLibrary = kManagerLibrary;
    TW_USERINTERFACE ui{};  // the record of the last Enable, used by Disable
    std::vector<TW_UINT16> notifications;  // every notification received, in order
    size_t notificationsTaken = 0;         // how many WaitForNotification has returned

    bool dsmOpen = false;
    bool sourceOpen = false;
    bool enabled = false;

    HostSession();
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Loads the source manager and sends DG_CONTROL/DAT_PARENT/MSG_OPENDSM.
    bool OpenDsm(const char* productName = "twtest", TW_UINT16 protocolMinor = 5,
                 const char* productFamily = "tests");
    // DSM_Entry with no destination / with the open source as destination.
    TW_UINT16 Dsm(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data);
    TW_UINT16 Ds(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data);
    // MSG_OPENDS of the source with this product name ("" = the default).
    TW_UINT16 OpenSource(const char* productName = "");
    // DG_CONTROL/DAT_STATUS/MSG_GET to the source (after a failed open the
    // manager answers with the condition code it kept), and to the manager;
    // 0xFFFF when the status call itself fails.
    TW_UINT16 ConditionCode();
    // MSG_SET of a one-value container to the source, made and freed as a
    // host does; TWRC_FAILURE without a call when no memory can be had.
    TW_UINT16 SetOneValue(TW_UINT16 cap, TW_UINT16 itemType, TW_UINT32 item, TW_UINT32 group = DG_CONTROL);
    // MSG_SET of the image layout: this frame in inches, document, page and
    // frame number 1.
    TW_UINT16 SetFrame(float left, float top, float right, float bottom);
    // Memory blocks of `length` bytes until the source stops answering
    // TWRC_SUCCESS; the last return code.
    TW_UINT16 TakeAllMemoryBlocks(uint32_t length);
    TW_UINT16 DsmConditionCode();
    // MSG_ENABLEDS with ShowUI and this session's parent window; with ui
    // given, that record is sent (hParent filled in) and left as the source
    // wrote it.
    TW_UINT16 Enable(bool showUI, TW_USERINTERFACE* ui = nullptr);
    TW_UINT16 Disable();
    TW_UINT16 CloseSource();
    void CloseDsm();

    // Runs the message loop until a notification not yet taken is there,
    // and returns it; MSG_NULL after timeoutMs without one.
    TW_UINT16 WaitForNotification(DWORD timeoutMs);
    // Runs the message loop for ms milliseconds.
    void Pump(DWORD ms);
    // Runs fn when the parent window gets the message this posts (above).
    void Defer(std::function<void()> fn);

    HMODULE dsmModule = nullptr;
    DsmEntryProc dsmEntry = nullptr;
    std::deque<std::function<void()>> deferred;
};
