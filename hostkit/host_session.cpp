#include "hostkit/host_session.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "twain/fix32.h"
#include "twain/platform.h"

namespace {

constexpr UINT kRunDeferred = WM_APP + 0x51;
const char kParentClass[] = "HostSessionParent";

// Every HostSession of the thread: the message loop offers each message to
// all of their sources.
thread_local std::vector<HostSession*> threadSessions;

void CopyField(TW_STR32& field, const char* text) {
    std::memset(field, 0, sizeof field);
    std::strncpy(field, text ? text : "", sizeof field - 1);
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunDeferred) {
        auto* session = reinterpret_cast<HostSession*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (session && !session->deferred.empty()) {
            std::function<void()> fn = std::move(session->deferred.front());
            session->deferred.pop_front();
            fn();
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeParentWindow(HostSession* session) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kParentClass;
    RegisterClassA(&windowClass);  // fails harmlessly when a previous session registered it
    HWND window = CreateWindowExA(0, kParentClass, "TWAIN host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(session));
    return window;
}

// Offers the message to the open source of every session of the thread;
// true when one claimed it.
bool OfferToSources(MSG& message) {
    std::vector<HostSession*> sessions = threadSessions;
    for (HostSession* session : sessions) {
        if (!session->sourceOpen) continue;
        TW_EVENT event{TwainRef(&message), MSG_NULL};
        if (session->Ds(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) != TWRC_DSEVENT) continue;
        if (event.TWMessage != MSG_NULL) session->notifications.push_back(event.TWMessage);
        return true;
    }
    return false;
}

template <typename Done>
void RunLoop(DWORD ms, Done done) {
    DWORD start = GetTickCount();
    while (!done()) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT && !OfferToSources(message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        if (!done()) MsgWaitForMultipleObjectsEx(0, nullptr, ms - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace

HostSession::HostSession() {
    parent = MakeParentWindow(this);
    threadSessions.push_back(this);
}

HostSession::~HostSession() {
    if (enabled) Disable();
    if (sourceOpen) CloseSource();
    CloseDsm();
    if (parent) DestroyWindow(parent);
    threadSessions.erase(std::remove(threadSessions.begin(), threadSessions.end(), this), threadSessions.end());
}

bool HostSession::OpenDsm(const char* productName, TW_UINT16 protocolMinor, const char* productFamily) {
    if (dsmOpen) return false;
    if (!dsmModule) dsmModule = LoadLibraryA(managerLibrary.c_str());
    if (!dsmModule) return false;
    dsmEntry = reinterpret_cast<DsmEntryProc>(reinterpret_cast<void*>(GetProcAddress(dsmModule, "DSM_Entry")));
    if (!dsmEntry) return false;

    app = TW_IDENTITY{};
    app.Version.MajorNum = 1;
    app.Version.Language = TWLG_USA;
    app.Version.Country = 1;
    CopyField(app.Version.Info, "hostkit");
    app.ProtocolMajor = 1;
    app.ProtocolMinor = protocolMinor;
    app.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyField(app.Manufacturer, "hostkit");
    CopyField(app.ProductFamily, productFamily);
    CopyField(app.ProductName, productName);

    HWND window = passParentWindow ? parent : nullptr;
    dsmOpen = Dsm(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &window) == TWRC_SUCCESS;
    return dsmOpen;
}

TW_UINT16 HostSession::Dsm(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
    return dsmEntry ? dsmEntry(&app, nullptr, dg, dat, msg, data) : TWRC_FAILURE;
}

TW_UINT16 HostSession::Ds(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
    return dsmEntry ? dsmEntry(&app, &source, dg, dat, msg, data) : TWRC_FAILURE;
}

TW_UINT16 HostSession::OpenSource(const char* productName) {
    source = TW_IDENTITY{};
    CopyField(source.ProductName, productName);
    TW_UINT16 rc = Dsm(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source);
    sourceOpen = rc == TWRC_SUCCESS;
    return rc;
}

TW_UINT16 HostSession::SetOneValue(TW_UINT16 cap, TW_UINT16 itemType, TW_UINT32 item, TW_UINT32 group) {
    HGLOBAL block = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
    auto* value = block ? static_cast<TW_ONEVALUE*>(GlobalLock(block)) : nullptr;
    if (!value) {
        if (block) GlobalFree(block);
        return TWRC_FAILURE;
    }
    value->ItemType = itemType;
    value->Item = item;
    GlobalUnlock(block);
    TW_CAPABILITY capability{cap, TWON_ONEVALUE, TwainRef(block)};
    TW_UINT16 rc = Ds(group, DAT_CAPABILITY, MSG_SET, &capability);
    GlobalFree(block);
    return rc;
}

TW_UINT16 HostSession::SetFrame(float left, float top, float right, float bottom) {
    TW_IMAGELAYOUT layout{};
    layout.Frame = {Fix32FromReal(left), Fix32FromReal(top), Fix32FromReal(right), Fix32FromReal(bottom)};
    layout.DocumentNumber = layout.PageNumber = layout.FrameNumber = 1;
    return Ds(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout);
}

TW_UINT16 HostSession::TakeAllMemoryBlocks(uint32_t length) {
    std::vector<uint8_t> buffer(length);
    for (;;) {
        TW_IMAGEMEMXFER record{};
        record.Memory = {TWMF_APPOWNS | TWMF_POINTER, length,
                         TwainRef(buffer.data())};
        const TW_UINT16 rc = Ds(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &record);
        if (rc != TWRC_SUCCESS) return rc;
    }
}

TW_UINT16 HostSession::ConditionCode() {
    TW_STATUS status{};
    return Ds(DG_CONTROL, DAT_STATUS, MSG_GET, &status) == TWRC_SUCCESS ? status.ConditionCode : 0xFFFF;
}

TW_UINT16 HostSession::DsmConditionCode() {
    TW_STATUS status{};
    return Dsm(DG_CONTROL, DAT_STATUS, MSG_GET, &status) == TWRC_SUCCESS ? status.ConditionCode : 0xFFFF;
}

TW_UINT16 HostSession::Enable(bool showUI, TW_USERINTERFACE* record) {
    ui = record ? *record : TW_USERINTERFACE{};
    ui.ShowUI = showUI ? 1 : 0;
    ui.hParent = TwainRef(parent);
    TW_UINT16 rc = Ds(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    if (record) *record = ui;
    enabled = rc == TWRC_SUCCESS;
    return rc;
}

TW_UINT16 HostSession::Disable() {
    TW_UINT16 rc = Ds(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    if (rc == TWRC_SUCCESS) enabled = false;
    return rc;
}

TW_UINT16 HostSession::CloseSource() {
    TW_UINT16 rc = Dsm(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source);
    // The manager drops the connection whatever the source answered.
    sourceOpen = false;
    enabled = false;
    return rc;
}

void HostSession::CloseDsm() {
    if (dsmOpen) {
        HWND window = passParentWindow ? parent : nullptr;
        Dsm(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &window);
        dsmOpen = false;
    }
    if (dsmModule) FreeLibrary(dsmModule);
    dsmModule = nullptr;
    dsmEntry = nullptr;
}

TW_UINT16 HostSession::WaitForNotification(DWORD timeoutMs) {
    RunLoop(timeoutMs, [this] { return notifications.size() > notificationsTaken; });
    if (notifications.size() > notificationsTaken) return notifications[notificationsTaken++];
    return MSG_NULL;
}

void HostSession::Pump(DWORD ms) {
    RunLoop(ms, [] { return false; });
}

void HostSession::Defer(std::function<void()> fn) {
    deferred.push_back(std::move(fn));
    PostMessageA(parent, kRunDeferred, 0, 0);
}
