// twscan: a command-line TWAIN application. It drives data sources through
// the source manager TWAIN_32.DLL with HostSession. Options: twscan_options.h.
#include <cstdio>
#include <string>

#include "hostkit/host_session.h"
#include "hostkit/identity_text.h"
#include "hostkit/twain_names.h"
#include "hostkit/twscan_options.h"

namespace {

constexpr int kTwainFailure = 1;
constexpr int kBadCommandLine = 2;

int ReportFailure(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_UINT16 rc, TW_UINT16 conditionCode) {
    std::fprintf(stderr, "twscan: %s failed: return code %u (%s), condition code %u (%s)\n",
                 TripletName(dg, dat, msg).c_str(), rc, ReturnCodeName(rc).c_str(), conditionCode,
                 ConditionCodeName(conditionCode).c_str());
    return kTwainFailure;
}

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
    HostSession host;
    if (!host.OpenDsm("twscan", 5, "hostkit")) {
        if (!host.dsmEntry) {
            std::fprintf(stderr, "twscan: cannot load the source manager TWAIN_32.DLL\n");
            return kTwainFailure;
        }
        return ReportFailure(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWRC_FAILURE, host.DsmConditionCode());
    }
    int status = options.command == TwscanCommand::List ? ListSources(host) : ShowSourceInfo(host, options.source);
    std::fflush(stdout);
    return status;
}
