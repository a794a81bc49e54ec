// twscan's scan: open the source, negotiate from the options, enable it
// (with or without its dialog), wait for MSG_XFERREADY or MSG_CLOSEDSREQ,
// receive one image, then disable and close the source.
#pragma once

#include <string>

#include "hostkit/host_session.h"
#include "hostkit/twscan_options.h"

// Exit status of an acquisition that failed (a TWAIN call, the transfer, the
// output file).
constexpr int kTwscanFailure = 1;

// Prints "twscan: <triplet> (<what>) failed: return code N (TWRC_...),
// condition code N (TWCC_...)" on standard error and returns kTwscanFailure.
int ReportFailure(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_UINT16 rc, TW_UINT16 conditionCode,
                  const std::string& what = "");

// Writes the --set keys into WIN.INI; false, with a message, when one fails.
bool WriteSettings(const TwscanOptions& options);

// The scan with the manager already open; the exit status.
int Acquire(HostSession& host, const TwscanOptions& options);
