#include "source/capability_glue.h"

#include <windows.h>

#include "session/session.h"

namespace {

// Allocates and fills a moveable block; `write` gets the locked bytes.
template <typename Write>
void MakeContainer(TW_CAPABILITY& cap, TW_UINT16 conType, size_t size, Write write) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* bytes = block ? static_cast<uint8_t*>(GlobalLock(block)) : nullptr;
    if (!bytes) {
        if (block) GlobalFree(block);
        Fail(TWCC_LOWMEMORY);
        return;
    }
    bool written = write(bytes, size);
    GlobalUnlock(block);
    if (!written) {
        GlobalFree(block);
        Fail(TWCC_BADVALUE);
        return;
    }
    cap.ConType = conType;
    cap.hContainer = TwainRef(block);
}

}  // namespace

void MakeOneValue(TW_CAPABILITY& cap, TW_UINT16 itemType, TW_UINT32 item) {
    MakeContainer(cap, TWON_ONEVALUE, kOneValueSize,
                  [&](uint8_t* bytes, size_t size) { return WriteOneValue(bytes, size, itemType, item); });
}

void MakeRange(TW_CAPABILITY& cap, const RangeValues& range) {
    MakeContainer(cap, TWON_RANGE, kRangeSize,
                  [&](uint8_t* bytes, size_t size) { return WriteRange(bytes, size, range); });
}

void MakeEnumeration(TW_CAPABILITY& cap, const ValueList& list, TW_UINT32 currentIndex) {
    size_t size = EnumerationBlockSize(list.itemType, list.count);
    if (size == 0) {
        Fail(TWCC_BADVALUE);
        return;
    }
    EnumerationHeader header = ListHeader(list, currentIndex);
    MakeContainer(cap, TWON_ENUMERATION, size, [&](uint8_t* bytes, size_t blockSize) {
        return WriteEnumeration(bytes, blockSize, header, list.items);
    });
}

void MakeArray(TW_CAPABILITY& cap, TW_UINT16 itemType, const TW_UINT32* items, TW_UINT32 numItems) {
    const size_t size = ArrayBlockSize(itemType, numItems);
    if (size == 0) {
        Fail(TWCC_BADVALUE);
        return;
    }
    MakeContainer(cap, TWON_ARRAY, size, [&](uint8_t* bytes, size_t blockSize) {
        return WriteArray(bytes, blockSize, itemType, items, numItems);
    });
}

TW_UINT32 MakeTextBlock(const char* text, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* bytes = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
    if (!bytes) {
        if (block) GlobalFree(block);
        return 0;
    }
    lstrcpynA(bytes, text, static_cast<int>(size));
    GlobalUnlock(block);
    // The item is 32 bits wide in every build: a handle that does not fit is
    // not handed over cut short.
    const TW_HANDLE handle = TwainRef(block);
    if (handle > UINT32_MAX) {
        GlobalFree(block);
        return 0;
    }
    return static_cast<TW_UINT32>(handle);
}

bool ReadHostValue(const TW_CAPABILITY& cap, TW_UINT32& value) {
    auto block = TwainPointer<HGLOBAL>(cap.hContainer);
    if (!block) return false;
    size_t size = GlobalSize(block);
    auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
    if (!bytes) return false;
    bool read = ReadSetValue(cap.ConType, bytes, size, value);
    GlobalUnlock(block);
    return read;
}
