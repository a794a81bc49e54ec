// twscan: a command-line TWAIN application. It drives data sources through
// the source manager (TWAIN_32.DLL, or TWAINDSM.DLL when 64-bit) with HostSession: lists them, shows one's
// identity, or scans one image (twscan_acquire.h). Options: twscan_options.h.
#include <cstdio>
#include <string>

#include "hostkit/host_session.h"
#include "hostkit/identity_text.h"
#include "hostkit/twscan_acquire.h"
#include "hostkit/twscan_options.h"
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
        default: status = Acquire(host, options); break;
    }
    std::fflush(stdout);
    return status;
}
