// test_source.ds: the data source the source manager's tests install (see
// test_source.h for what it answers). It reaches the source manager the way
// a real source does: TWAIN_32.DLL's ordinal 1, looked up when it posts.
#include <windows.h>

#include <cstring>
#include <string>

#include "hostkit/test_source.h"
#include "twain/platform.h"

namespace {

using DsmEntryProc = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16, void*);

struct TestSourceState {
    HINSTANCE instance = nullptr;
    std::string name;  // file name without ".ds"
    TW_IDENTITY identity{};
    TW_IDENTITY app{};
    bool open = false;
    TW_UINT16 conditionCode = TWCC_SUCCESS;
    TestCall lastCall{};
    TestCall previousCall{};
    TestPostRequest laterPosts{};
};

TestSourceState source;

void CopyField(TW_STR32& field, const std::string& text) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text.data(), text.size() < sizeof field - 1 ? text.size() : sizeof field - 1);
}

bool NameStartsWith(const char* prefix) {
    return _strnicmp(source.name.c_str(), prefix, std::strlen(prefix)) == 0;
}

void StartUp(HINSTANCE instance) {
    source.instance = instance;
    char path[MAX_PATH] = "";
    GetModuleFileNameA(instance, path, sizeof path);
    std::string file = path;
    size_t slash = file.find_last_of("\\/");
    if (slash != std::string::npos) file = file.substr(slash + 1);
    size_t dot = file.rfind('.');
    source.name = dot == std::string::npos ? file : file.substr(0, dot);

    TW_IDENTITY& id = source.identity;
    id.Version.MajorNum = 2;
    id.Version.MinorNum = 3;
    id.Version.Language = TWLG_USA;
    id.Version.Country = 1;
    CopyField(id.Version.Info, "test\nsource");
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 5;
    id.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyField(id.Manufacturer, "hostkit");
    CopyField(id.ProductFamily, "Test sources");
    CopyField(id.ProductName, source.name);
}

TW_UINT16 Fail(TW_UINT16 conditionCode) {
    source.conditionCode = conditionCode;
    return TWRC_FAILURE;
}

TW_UINT16 Post(TW_UINT16 msg) {
    HMODULE manager = LoadLibraryA(kManagerLibrary);
    if (!manager) return TWRC_FAILURE;
    auto entry = reinterpret_cast<DsmEntryProc>(reinterpret_cast<void*>(FindManagerEntry(manager)));
    TW_UINT16 rc = entry ? entry(&source.identity, &source.app, DG_CONTROL, DAT_NULL, msg, nullptr) : TWRC_FAILURE;
    FreeLibrary(manager);
    return rc;
}

void CALLBACK PostLater(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    for (TW_UINT16 i = 0; i < source.laterPosts.count; ++i) Post(source.laterPosts.messages[i]);
}

TW_UINT16 OpenSource(TW_IDENTITY* origin, void* data) {
    if (source.open) return Fail(TWCC_MAXCONNECTIONS);
    if (NameStartsWith("failopen")) return Fail(kTestOpenFailure);
    source.identity = *static_cast<TW_IDENTITY*>(data);
    source.app = *origin;
    source.open = true;
    source.conditionCode = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

TW_UINT16 ProcessEvent(void* data) {
    ++source.lastCall.processEvents;
    auto* event = static_cast<TW_EVENT*>(data);
    const MSG* message = TwainPointer<const MSG*>(event->pEvent);
    if (!message || message->message != kTestClaimedMessage) return TWRC_NOTDSEVENT;
    if (message->wParam == MSG_XFERREADY || message->wParam == MSG_CLOSEDSREQ) {
        Post(static_cast<TW_UINT16>(message->wParam));
    }
    event->TWMessage = MSG_NULL;
    return TWRC_DSEVENT;
}

TW_UINT16 Dispatch(TW_IDENTITY* origin, TW_UINT16 dat, TW_UINT16 msg, void* data) {
    if (dat == DAT_IDENTITY && msg == MSG_GET) {
        if (NameStartsWith("noidentity")) return Fail(TWCC_BADPROTOCOL);
        *static_cast<TW_IDENTITY*>(data) = source.identity;
        return TWRC_SUCCESS;
    }
    if (dat == DAT_IDENTITY && msg == MSG_OPENDS) return OpenSource(origin, data);
    if (dat == DAT_IDENTITY && msg == MSG_CLOSEDS) {
        if (!source.open) return Fail(TWCC_SEQERROR);
        source.open = false;
        return TWRC_SUCCESS;
    }
    if (dat == DAT_STATUS && msg == MSG_GET) {
        auto* status = static_cast<TW_STATUS*>(data);
        status->ConditionCode = source.conditionCode;
        status->Reserved = 0;
        source.conditionCode = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    if (dat == DAT_TESTPOST && msg == MSG_SET) {
        auto* request = static_cast<TestPostRequest*>(data);
        if (request->count > 8) return Fail(TWCC_BADVALUE);
        for (TW_UINT16 i = 0; i < request->count; ++i) request->results[i] = Post(request->messages[i]);
        return TWRC_SUCCESS;
    }
    if (dat == DAT_TESTPOSTLATER && msg == MSG_SET) {
        source.laterPosts = *static_cast<TestPostRequest*>(data);
        if (source.laterPosts.count > 8) return Fail(TWCC_BADVALUE);
        return SetTimer(nullptr, 0, 1, PostLater) ? TWRC_SUCCESS : Fail(TWCC_LOWMEMORY);
    }
    if (dat == DAT_TESTPUMP && msg == MSG_SET) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return TWRC_SUCCESS;
    }
    if (dat == DAT_TESTLASTCALL && msg == MSG_GET) {
        TestCall* call = static_cast<TestCall*>(data);
        *call = source.previousCall;
        call->processEvents = source.lastCall.processEvents;
        return TWRC_SUCCESS;
    }
    return Fail(TWCC_BADPROTOCOL);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) StartUp(instance);
    return TRUE;
}

extern "C" TW_UINT16 WINAPI DS_Entry(TW_IDENTITY* pOrigin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                                     void* pData) {
    if (!pOrigin || !pData) return Fail(TWCC_BADVALUE);
    if (dg == DG_CONTROL && dat == DAT_EVENT && msg == MSG_PROCESSEVENT) return ProcessEvent(pData);
    source.previousCall = source.lastCall;
    source.lastCall = TestCall{pOrigin->Id, dg, dat, msg, TwainRef(pData),
                               source.lastCall.processEvents};
    return Dispatch(pOrigin, dat, msg, pData);
}
