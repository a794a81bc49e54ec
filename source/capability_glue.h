// Capability containers in global memory: fresh moveable blocks handed to the
// host, which owns and frees them; and the host's containers read safely.
#pragma once

#include "twain/cap_container.h"
#include "twain/twain.h"

// Each builder sets ConType and hContainer of `cap`; on an allocation or lock
// failure it answers TWRC_FAILURE / TWCC_LOWMEMORY and hands out nothing.
void MakeOneValue(TW_CAPABILITY& cap, TW_UINT16 itemType, TW_UINT32 item);
void MakeRange(TW_CAPABILITY& cap, const RangeValues& range);
void MakeEnumeration(TW_CAPABILITY& cap, const ValueList& list, TW_UINT32 currentIndex);
void MakeArray(TW_CAPABILITY& cap, TW_UINT16 itemType, const TW_UINT32* items, TW_UINT32 numItems);

// A new moveable block holding `text` (cut to `size` - 1 characters), as the
// 32-bit item of a one-value container carries its handle; 0 when there is no
// memory or the handle does not fit in 32 bits.
TW_UINT32 MakeTextBlock(const char* text, size_t size);

// The value of a MSG_SET container; false when the container is missing,
// cannot be locked, or cannot be read.
bool ReadHostValue(const TW_CAPABILITY& cap, TW_UINT32& value);
