// TWAIN_32.DLL: a TWAIN 1.x source manager. Applications open it with
// DAT_PARENT, enumerate and open the data sources installed under
// C:\Windows\TWAIN_32, and talk to an open source through DSM_Entry with the
// source as destination. A source posts MSG_XFERREADY and MSG_CLOSEDSREQ
// through DAT_NULL; the manager queues them and hands them to the
// application in TW_EVENT.TWMessage of its next MSG_PROCESSEVENT.
//
// Calls come from the applications' thread and may be re-entrant: a source
// posts from inside a DS_Entry call, or pumps messages whose handlers call
// the manager again. So no pointer into the manager's tables is held across
// a call into a source; records are looked up again by Id afterwards, and a
// library is only freed when no source call is in progress.
#include <windows.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "hostkit/source_catalogue.h"
#include "hostkit/twain_names.h"

namespace {

// WM_NULL with this wParam wakes an application's message loop when a
// notification is queued for it; lParam is the Id of the posting source.
constexpr WPARAM kWakeUpTag = 0x5457;

struct Application {
    TW_UINT32 id;
    HWND window;       // parent window given at MSG_OPENDSM; null: wake the thread instead
    DWORD threadId;    // thread that opened the manager
    size_t nextSource; // MSG_GETNEXT cursor into the catalogue
};

struct KnownSource {
    std::string path;
    TW_IDENTITY identity;  // as the source reported it, with the Id the manager assigned
};

struct Connection {
    TW_UINT32 appId;
    TW_UINT32 sourceId;
    std::string path;
    HMODULE module;
    DsEntryProc entry;
    std::deque<TW_UINT16> notifications;  // posted by the source, not yet handed over
};

struct SourceManager {
    std::vector<Application> applications;
    std::vector<KnownSource> catalogue;
    bool catalogueScanned = false;
    std::map<std::string, TW_UINT32> idsByPath;  // key: path in upper case; Ids stay stable
    std::vector<Connection> connections;
    TW_UINT32 nextId = 1;
    TW_UINT16 conditionCode = TWCC_SUCCESS;  // reported by DAT_STATUS without a destination
    int sourceCallDepth = 0;
    std::vector<HMODULE> deferredFrees;
};

SourceManager manager;

TW_UINT16 Fail(TW_UINT16 conditionCode) {
    manager.conditionCode = conditionCode;
    return TWRC_FAILURE;
}

TW_UINT16 Succeed(TW_UINT16 returnCode = TWRC_SUCCESS) {
    manager.conditionCode = TWCC_SUCCESS;
    return returnCode;
}

Application* FindApplication(TW_UINT32 id) {
    for (Application& app : manager.applications) {
        if (id != 0 && app.id == id) return &app;
    }
    return nullptr;
}

Connection* FindConnection(TW_UINT32 appId, TW_UINT32 sourceId) {
    for (Connection& connection : manager.connections) {
        if (connection.appId == appId && connection.sourceId == sourceId) return &connection;
    }
    return nullptr;
}

const Connection* FindConnectionByPath(const std::string& path) {
    for (const Connection& connection : manager.connections) {
        if (_stricmp(connection.path.c_str(), path.c_str()) == 0) return &connection;
    }
    return nullptr;
}

const KnownSource* FindKnownSource(const std::string& path) {
    for (const KnownSource& source : manager.catalogue) {
        if (_stricmp(source.path.c_str(), path.c_str()) == 0) return &source;
    }
    return nullptr;
}

void ReleaseModule(HMODULE module) {
    if (manager.sourceCallDepth > 0) {
        manager.deferredFrees.push_back(module);
    } else {
        FreeLibrary(module);
    }
}

TW_UINT16 CallSource(DsEntryProc entry, TW_IDENTITY* origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                     void* data) {
    ++manager.sourceCallDepth;
    TW_UINT16 rc = entry(origin, dg, dat, msg, data);
    if (--manager.sourceCallDepth == 0) {
        std::vector<HMODULE> frees;
        frees.swap(manager.deferredFrees);
        for (HMODULE module : frees) FreeLibrary(module);
    }
    return rc;
}

TW_UINT32 IdForPath(const std::string& path) {
    std::string key = path;
    CharUpperBuffA(&key[0], static_cast<DWORD>(key.size()));
    auto found = manager.idsByPath.find(key);
    if (found != manager.idsByPath.end()) return found->second;
    TW_UINT32 id = manager.nextId++;
    manager.idsByPath.emplace(key, id);
    return id;
}

// Rebuilds the catalogue from disk. A source that is open keeps the identity
// it reported before: asking it again would reach a connected source with a
// call from outside its connection.
void ScanSources(TW_IDENTITY* origin) {
    std::vector<KnownSource> catalogue;
    for (const std::string& path : FindSourceFiles(SourceRootDirectory())) {
        KnownSource source{path, {}};
        const KnownSource* open = FindConnectionByPath(path) ? FindKnownSource(path) : nullptr;
        if (open) {
            source.identity = open->identity;
        } else if (!QuerySourceIdentity(path, origin, source.identity)) {
            continue;
        }
        source.identity.Id = IdForPath(path);
        catalogue.push_back(source);
    }
    manager.catalogue.swap(catalogue);
    manager.catalogueScanned = true;
}

void WakeApplication(const Application& app, TW_UINT32 sourceId) {
    if (app.window) {
        PostMessageA(app.window, WM_NULL, kWakeUpTag, sourceId);
    } else {
        PostThreadMessageA(app.threadId, WM_NULL, kWakeUpTag, sourceId);
    }
}

bool IsWakeUp(const TW_EVENT& event) {
    const MSG* message = TwainPointer<const MSG*>(event.pEvent);
    return message && message->message == WM_NULL && message->wParam == kWakeUpTag;
}

TW_UINT16 OpenDsm(TW_IDENTITY* origin, void* data) {
    if (!data) return Fail(TWCC_BADVALUE);
    if (FindApplication(origin->Id)) return Fail(TWCC_SEQERROR);
    HWND window = *static_cast<HWND*>(data);
    if (window && !IsWindow(window)) return Fail(TWCC_BADVALUE);
    Application app{manager.nextId++, window, GetCurrentThreadId(), 0};
    manager.applications.push_back(app);
    origin->Id = app.id;
    return Succeed();
}

TW_UINT16 CloseDsm(TW_IDENTITY* origin) {
    for (size_t i = 0; i < manager.applications.size(); ++i) {
        if (origin->Id == 0 || manager.applications[i].id != origin->Id) continue;
        for (const Connection& connection : manager.connections) {
            if (connection.appId == origin->Id) return Fail(TWCC_SEQERROR);  // close its sources first
        }
        manager.applications.erase(manager.applications.begin() + i);
        return Succeed();
    }
    return Fail(TWCC_SEQERROR);
}

TW_UINT16 NextSource(TW_UINT32 appId, TW_IDENTITY* identity) {
    Application* app = FindApplication(appId);
    if (!app) return Fail(TWCC_SEQERROR);
    if (app->nextSource >= manager.catalogue.size()) return Succeed(TWRC_ENDOFLIST);
    *identity = manager.catalogue[app->nextSource++].identity;
    return Succeed();
}

const KnownSource* ChooseSource(const TW_IDENTITY& requested) {
    if (manager.catalogue.empty()) return nullptr;
    std::string name = FieldText(requested.ProductName);
    if (name.empty()) return &manager.catalogue.front();
    for (const KnownSource& source : manager.catalogue) {
        if (FieldText(source.identity.ProductName) == name) return &source;
    }
    return nullptr;
}

// After a failed open the library is unloaded, so the source's condition
// code is asked for now and kept as the manager's own. A source that does not
// report one leaves TWCC_OPERATIONERROR.
TW_UINT16 RememberOpenFailure(DsEntryProc entry, TW_IDENTITY* origin) {
    TW_STATUS status{};
    TW_UINT16 rc = CallSource(entry, origin, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    if (rc == TWRC_SUCCESS && status.ConditionCode != TWCC_SUCCESS) return status.ConditionCode;
    return TWCC_OPERATIONERROR;
}

TW_UINT16 OpenDs(TW_UINT32 appId, TW_IDENTITY* origin, TW_IDENTITY* requested) {
    ScanSources(origin);
    const KnownSource* chosen = ChooseSource(*requested);
    if (!chosen) return Fail(TWCC_NODS);
    TW_IDENTITY identity = chosen->identity;
    std::string path = chosen->path;

    // Already open for this application: the source answers for itself.
    if (Connection* open = FindConnection(appId, identity.Id)) {
        *requested = identity;
        return CallSource(open->entry, origin, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, requested);
    }

    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) return Fail(TWCC_OPERATIONERROR);
    auto entry = reinterpret_cast<DsEntryProc>(reinterpret_cast<void*>(GetProcAddress(module, "DS_Entry")));
    if (!entry) {
        FreeLibrary(module);
        return Fail(TWCC_OPERATIONERROR);
    }
    // The source takes its identity, with the assigned Id, from pData.
    *requested = identity;
    TW_UINT16 rc = CallSource(entry, origin, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, requested);
    if (rc != TWRC_SUCCESS) {
        TW_UINT16 conditionCode = RememberOpenFailure(entry, origin);
        requested->Id = identity.Id;
        ReleaseModule(module);
        manager.conditionCode = conditionCode;
        return rc;
    }
    requested->Id = identity.Id;
    manager.connections.push_back(Connection{appId, identity.Id, path, module, entry, {}});
    return Succeed();
}

TW_UINT16 CloseDs(TW_UINT32 appId, TW_IDENTITY* origin, TW_IDENTITY* requested) {
    TW_UINT32 sourceId = requested->Id;
    Connection* connection = FindConnection(appId, sourceId);
    if (!connection) return Fail(TWCC_NODS);
    DsEntryProc entry = connection->entry;
    HMODULE module = connection->module;
    TW_UINT16 rc = CallSource(entry, origin, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, requested);
    // The application takes the source as closed whatever it answered; its
    // library is freed so that the next open loads it afresh.
    for (size_t i = 0; i < manager.connections.size(); ++i) {
        if (manager.connections[i].appId == appId && manager.connections[i].sourceId == sourceId) {
            manager.connections.erase(manager.connections.begin() + i);
            ReleaseModule(module);
            break;
        }
    }
    if (rc == TWRC_SUCCESS) manager.conditionCode = TWCC_SUCCESS;
    return rc;
}

TW_UINT16 Identity(TW_UINT32 appId, TW_IDENTITY* origin, TW_UINT16 msg, void* data) {
    if (!data) return Fail(TWCC_BADVALUE);
    auto* identity = static_cast<TW_IDENTITY*>(data);
    switch (msg) {
    case MSG_GETFIRST:
        ScanSources(origin);
        if (Application* app = FindApplication(appId)) app->nextSource = 0;
        return NextSource(appId, identity);
    case MSG_GETNEXT:
        if (!manager.catalogueScanned) ScanSources(origin);
        return NextSource(appId, identity);
    case MSG_GETDEFAULT:
        ScanSources(origin);
        if (manager.catalogue.empty()) return Fail(TWCC_NODS);
        *identity = manager.catalogue.front().identity;
        return Succeed();
    case MSG_OPENDS:
        return OpenDs(appId, origin, identity);
    case MSG_CLOSEDS:
        return CloseDs(appId, origin, identity);
    default:
        return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 ManagerStatus(void* data) {
    if (!data) return Fail(TWCC_BADVALUE);
    auto* status = static_cast<TW_STATUS*>(data);
    status->ConditionCode = manager.conditionCode;
    status->Reserved = 0;
    manager.conditionCode = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

// DAT_NULL from a source: origin is the source, dest the application.
TW_UINT16 QueueNotification(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT16 msg) {
    if (!dest) return Fail(TWCC_BADDEST);
    if (msg != MSG_XFERREADY && msg != MSG_CLOSEDSREQ) return Fail(TWCC_BADPROTOCOL);
    Connection* connection = FindConnection(dest->Id, origin->Id);
    const Application* app = FindApplication(dest->Id);
    if (!connection || !app) return Fail(TWCC_BADDEST);
    connection->notifications.push_back(msg);
    WakeApplication(*app, connection->sourceId);
    return TWRC_SUCCESS;
}

// The source sees every event first. A queued notification is handed over
// with an event the source claimed or with the manager's own wake-up; any
// other event is left to the application (never swallowed) and the
// wake-up is posted again, so the notification is not held up.
TW_UINT16 ProcessEvent(TW_UINT32 appId, TW_UINT32 sourceId, DsEntryProc entry, TW_IDENTITY* origin,
                       void* data) {
    if (!data) return Fail(TWCC_BADVALUE);
    auto* event = static_cast<TW_EVENT*>(data);
    TW_UINT16 rc = CallSource(entry, origin, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, data);
    Connection* connection = FindConnection(appId, sourceId);
    if (!connection || connection->notifications.empty()) return rc;
    bool claimedBySource = rc == TWRC_DSEVENT && event->TWMessage == MSG_NULL;
    bool wakeUp = rc != TWRC_DSEVENT && IsWakeUp(*event);
    if (!claimedBySource && !wakeUp) {
        if (const Application* app = FindApplication(appId)) WakeApplication(*app, sourceId);
        return rc;
    }
    event->TWMessage = connection->notifications.front();
    connection->notifications.pop_front();
    return TWRC_DSEVENT;
}

TW_UINT16 ToSource(TW_UINT32 appId, TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat,
                   TW_UINT16 msg, void* data) {
    Connection* connection = FindConnection(appId, dest->Id);
    if (!connection) {
        // DAT_STATUS to a source whose open failed: the library is gone, the
        // manager kept its condition code.
        if (dg == DG_CONTROL && dat == DAT_STATUS && msg == MSG_GET) return ManagerStatus(data);
        return Fail(TWCC_BADDEST);
    }
    if (dg == DG_CONTROL && dat == DAT_EVENT && msg == MSG_PROCESSEVENT) {
        return ProcessEvent(appId, dest->Id, connection->entry, origin, data);
    }
    return CallSource(connection->entry, origin, dg, dat, msg, data);
}

TW_UINT16 Dispatch(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                   void* data) {
    if (!origin) return Fail(TWCC_BADVALUE);
    if (dg == DG_CONTROL && dat == DAT_NULL) return QueueNotification(origin, dest, msg);
    if (dg == DG_CONTROL && dat == DAT_PARENT) {
        if (msg == MSG_OPENDSM) return OpenDsm(origin, data);
        if (msg == MSG_CLOSEDSM) return CloseDsm(origin);
        return Fail(TWCC_BADPROTOCOL);
    }
    const Application* app = FindApplication(origin->Id);
    if (!app) return Fail(TWCC_SEQERROR);  // the manager is not open for this caller
    TW_UINT32 appId = app->id;
    bool openOrClose = msg == MSG_OPENDS || msg == MSG_CLOSEDS;
    if (dg == DG_CONTROL && dat == DAT_IDENTITY && (!dest || openOrClose)) {
        return Identity(appId, origin, msg, data);
    }
    if (!dest) {
        if (dg == DG_CONTROL && dat == DAT_STATUS && msg == MSG_GET) return ManagerStatus(data);
        return Fail(TWCC_BADPROTOCOL);
    }
    return ToSource(appId, origin, dest, dg, dat, msg, data);
}

}  // namespace

extern "C" TW_UINT16 WINAPI DSM_Entry(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, TW_UINT32 dg, TW_UINT16 dat,
                                      TW_UINT16 msg, void* pData) {
    try {
        return Dispatch(pOrigin, pDest, dg, dat, msg, pData);
    } catch (...) {  // out of memory in the manager's tables: no exception crosses the C boundary
        return Fail(TWCC_LOWMEMORY);
    }
}
