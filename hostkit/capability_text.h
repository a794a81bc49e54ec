// Readable text of capability answers, for twscan --caps: the capability's
// name and a container's type, item type and values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "twain/twain.h"

// "ICAP_PIXELTYPE", or 0x hexadecimal when the capability is not known.
std::string CapabilityName(TW_UINT16 capability);

// A container's bytes as text, for example "TWON_ONEVALUE TWTY_UINT16 2",
// "TWON_ENUMERATION TWTY_UINT32 75 100 150 current 1 default 0",
// "TWON_RANGE TWTY_FIX32 -1000..1000 step 80 default 0 current 0" or
// "TWON_ARRAY TWTY_UINT16 1 256". FIX32 values are shown as decimals.
// A container shorter than it claims is shown as "(short container)".
std::string ContainerText(TW_UINT16 conType, const uint8_t* bytes, size_t size);

// The capabilities of a CAP_SUPPORTEDCAPS answer: an array of TWTY_UINT16.
// False for anything else or a container shorter than it claims.
bool ReadCapabilityArray(const uint8_t* bytes, size_t size, std::vector<TW_UINT16>& capabilities);
