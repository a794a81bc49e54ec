// twscan's side of one image, from MSG_XFERREADY until the source is back in
// state 5: the image description, the transfer by the negotiated mechanism,
// the file written, and MSG_ENDXFER (MSG_RESET when no transfer was made).
#pragma once

#include "hostkit/host_session.h"
#include "hostkit/twscan_options.h"

// The exit status: 0 when options.out holds the image.
int ReceiveImage(HostSession& host, const TwscanOptions& options);
