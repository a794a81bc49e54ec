// Capabilities every image source is expected to answer and that describe the
// source rather than the scan: the host can read them, not change them.
#pragma once

#include <vector>

#include "twain/twain.h"

// The one value of a read-only capability and its item type; false for any
// other capability (CAP_SUPPORTEDCAPS, an array, included).
bool ReadOnlyValue(TW_UINT16 capability, TW_UINT16& itemType, TW_UINT32& value);

// Every capability the general handler answers, for CAP_SUPPORTEDCAPS.
std::vector<TW_UINT32> SupportedCapabilities();
