// Notifications the source sends to the host through the source manager.
#pragma once

// State 6, then DG_CONTROL/DAT_NULL/MSG_XFERREADY to the host.
void PostXferReady();

// DG_CONTROL/DAT_NULL/MSG_CLOSEDSREQ to the host; the state does not change.
void PostCloseRequest();
