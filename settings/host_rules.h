// Host-specific behaviour is keyed on the host's product name, compared
// case-sensitively with texts of the string table.
#pragma once

#include "profile/texts.h"
#include "resources/resource_ids.h"
#include "session/session.h"

// True when the host's product name equals text `number` (case-sensitive).
inline bool HostNameIsText(int number) { return LoadTextA(number) == g_twain.appIdentity.ProductName; }

// The host that gets its own capability handler (text 62).
inline bool HostIsPublisher() { return HostNameIsText(TXT_MS_PUBLISHER); }

// Either fax host (texts 55 and 60).
inline bool HostIsWinFax() { return HostNameIsText(TXT_WINFAX3) || HostNameIsText(TXT_WINFAX4); }

// The picture publisher (text 66, looked up at its absolute number) speaking protocol x.5.
inline bool HostIsPicturePublisher() {
    return LoadTextAbsoluteA(TXT_PICTURE_PUBLISHER) == g_twain.appIdentity.ProductName;
}
