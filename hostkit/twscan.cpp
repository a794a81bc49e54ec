// twscan: a command-line TWAIN application. It drives data sources through
// the source manager (TWAIN_32.DLL, or TWAINDSM.DLL when 64-bit) with HostSession: lists them, shows one's
// identity or its capabilities, or scans one image (twscan_acquire.h). Options: twscan_options.h.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "hostkit/capability_text.h"
#include "hostkit/host_session.h"
#include "hostkit/identity_text.h"
#include "hostkit/twscan_acquire.h"
#include "hostkit/twscan_options.h"
#include "hostkit/twain_names.h"
#include "twain/platform.h"

namespace {

constexpr int kBadCommandLine = 2;

int ListSources(HostSession& host) {
    TW_IDENTITY identity{};
    TW_UINT16 msg = MSG_GETFIRST;
    TW_UINT16 rc = host.Dsm(DG_CONTROL, DAT_IDENTITY, msg, &identity);
    while (rc == TWRC_SUCCESS) {
        std::printf("%s\n", IdentityListLine(identity).c_str());
        msg = MSG_GETNEXT;
        rc = host.Dsm(DG_CONTROL, DAT_IDENTITY, msg, &identity);
    }
    if (rc != TWRC_ENDOFLIST) return ReportFailure(DG_CONTROL, DAT_IDENTITY, msg, rc, host.DsmConditionCode());
    return 0;
}

int ShowSourceInfo(HostSession& host, const std::string& productName) {
    TW_UINT16 rc = host.OpenSource(productName.c_str());
    if (rc != TWRC_SUCCESS) return ReportFailure(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, rc, host.ConditionCode());
    std::fputs(IdentityReport(host.source).c_str(), stdout);
    rc = host.CloseSource();
    if (rc != TWRC_SUCCESS) return ReportFailure(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, rc, host.ConditionCode());
    return 0;
}

// The bytes of a container the source handed over; the host frees it.
std::vector<uint8_t> TakeContainer(TW_HANDLE handle) {
    auto* block = TwainPointer<HGLOBAL>(handle);
    std::vector<uint8_t> bytes;
    if (const auto* locked = static_cast<const uint8_t*>(GlobalLock(block))) {
        bytes.assign(locked, locked + GlobalSize(block));
        GlobalUnlock(block);
    }
    GlobalFree(block);
    return bytes;
}

// One query of a capability: the container's text, or the failure's codes.
std::string Answer(HostSession& host, TW_UINT16 capability, TW_UINT16 msg, std::vector<uint8_t>* bytes = nullptr) {
    TW_CAPABILITY cap{capability, 0xFFFF, 0};
    const TW_UINT16 rc = host.Ds(DG_CONTROL, DAT_CAPABILITY, msg, &cap);
    if (rc != TWRC_SUCCESS) return ReturnCodeName(rc) + " " + ConditionCodeName(host.ConditionCode());
    if (!cap.hContainer) return "(no container)";
    const std::vector<uint8_t> taken = TakeContainer(cap.hContainer);
    if (bytes) *bytes = taken;
    return ContainerText(cap.ConType, taken.data(), taken.size());
}

// Every capability the source lists in CAP_SUPPORTEDCAPS, with its answers
// to the three queries.
int ShowCapabilities(HostSession& host, const std::string& productName) {
    TW_UINT16 rc = host.OpenSource(productName.c_str());
    if (rc != TWRC_SUCCESS) return ReportFailure(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, rc, host.ConditionCode());
    std::vector<uint8_t> list;
    const std::string listed = Answer(host, CAP_SUPPORTEDCAPS, MSG_GET, &list);
    std::vector<TW_UINT16> capabilities;
    if (!ReadCapabilityArray(list.data(), list.size(), capabilities)) {
        std::fprintf(stderr, "twscan: CAP_SUPPORTEDCAPS answered %s\n", listed.c_str());
        host.CloseSource();
        return kTwscanFailure;
    }
    const std::pair<TW_UINT16, const char*> queries[] = {
        {MSG_GET, "MSG_GET"}, {MSG_GETCURRENT, "MSG_GETCURRENT"}, {MSG_GETDEFAULT, "MSG_GETDEFAULT"}};
    for (TW_UINT16 capability : capabilities)
        for (const auto& [msg, name] : queries)
            std::printf("%s %s %s\n", CapabilityName(capability).c_str(), name, Answer(host, capability, msg).c_str());
    rc = host.CloseSource();
    if (rc != TWRC_SUCCESS) return ReportFailure(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, rc, host.ConditionCode());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    TwscanOptions options;
    std::string error;
    if (!ParseTwscanOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "twscan: %s\n%s", error.c_str(), TwscanUsage());
        return kBadCommandLine;
    }
    if (options.command == TwscanCommand::Help) {
        std::fputs(TwscanUsage(), stdout);
        return 0;
    }
    // Sources read WIN.INI when they are loaded: for the identity the
    // manager asks for, and at MSG_OPENDS.
    if (!WriteSettings(options)) return kTwscanFailure;
    HostSession host;
    if (!host.OpenDsm(options.appName.c_str(), options.protocolMinor, "hostkit")) {
        if (!host.dsmEntry) {
            std::fprintf(stderr, "twscan: cannot load the source manager %s\n", kManagerLibrary);
            return kTwscanFailure;
        }
        return ReportFailure(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWRC_FAILURE, host.DsmConditionCode());
    }
    int status = 0;
    switch (options.command) {
        case TwscanCommand::List: status = ListSources(host); break;
        case TwscanCommand::Info: status = ShowSourceInfo(host, options.source); break;
        case TwscanCommand::Caps: status = ShowCapabilities(host, options.source); break;
        default: status = Acquire(host, options); break;
    }
    std::fflush(stdout);
    return status;
}
