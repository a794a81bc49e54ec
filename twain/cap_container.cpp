#include "twain/cap_container.h"

#include <cstdint>

#include "imaging/little_endian.h"

namespace {

constexpr size_t kItemType = 0;
constexpr size_t kArrayItems = 6;       // after ItemType and NumItems
constexpr size_t kValue = 2;            // one-value Item, range MinValue, enumeration NumItems
constexpr size_t kCurrentIndex = 6;
constexpr size_t kDefaultIndex = 10;
constexpr size_t kRangeValueSize = 4;

static_assert(offsetof(TW_ONEVALUE, Item) == kValue);
static_assert(offsetof(TW_RANGE, MinValue) == kValue);
static_assert(offsetof(TW_RANGE, CurrentValue) == kValue + 4 * kRangeValueSize);
static_assert(offsetof(TW_ENUMERATION, NumItems) == kValue);
static_assert(offsetof(TW_ENUMERATION, CurrentIndex) == kCurrentIndex);
static_assert(offsetof(TW_ENUMERATION, DefaultIndex) == kDefaultIndex);
static_assert(offsetof(TW_ENUMERATION, ItemList) == kEnumerationItems);

// Bytes a one-value's Item occupies when read, or 0 for a type not read.
size_t OneValueReadSize(TW_UINT16 itemType) {
    return itemType == TWTY_FIX32 ? 4 : EnumerationItemSize(itemType);
}

void PutItem(uint8_t* at, size_t size, TW_UINT32 item) {
    if (size == 1) *at = static_cast<uint8_t>(item);
    else if (size == 2) le::PutU16(at, 0, static_cast<uint16_t>(item));
    else le::PutU32(at, 0, item);
}

TW_UINT32 GetItem(const uint8_t* at, size_t size) {
    if (size == 1) return *at;
    if (size == 2) return le::GetU16(at, 0);
    return le::GetU32(at, 0);
}

}  // namespace

size_t EnumerationItemSize(TW_UINT16 itemType) {
    switch (itemType) {
        case TWTY_INT8:
        case TWTY_UINT8: return 1;
        case TWTY_INT16:
        case TWTY_UINT16: return 2;
        case TWTY_INT32:
        case TWTY_UINT32: return 4;
        default: return 0;
    }
}

size_t EnumerationBlockSize(TW_UINT16 itemType, TW_UINT32 numItems) {
    const size_t itemSize = EnumerationItemSize(itemType);
    if (itemSize == 0 || numItems > (SIZE_MAX - 15) / itemSize) return 0;
    return numItems * itemSize + 15;
}

bool WriteOneValue(uint8_t* block, size_t blockSize, TW_UINT16 itemType, TW_UINT32 item) {
    if (blockSize < kOneValueSize) return false;
    le::PutU16(block, kItemType, itemType);
    le::PutU32(block, kValue, item);
    return true;
}

bool WriteRange(uint8_t* block, size_t blockSize, const RangeValues& range) {
    if (blockSize < kRangeSize) return false;
    le::PutU16(block, kItemType, range.itemType);
    const TW_UINT32 values[] = {range.minValue, range.maxValue, range.stepSize, range.defaultValue,
                                range.currentValue};
    for (size_t i = 0; i < std::size(values); ++i) le::PutU32(block, kValue + i * kRangeValueSize, values[i]);
    return true;
}

bool WriteEnumeration(uint8_t* block, size_t blockSize, const EnumerationHeader& header, const TW_UINT32* items) {
    const size_t needed = EnumerationBlockSize(header.itemType, header.numItems);
    if (needed == 0 || blockSize < needed) return false;
    le::PutU16(block, kItemType, header.itemType);
    le::PutU32(block, kValue, header.numItems);
    le::PutU32(block, kCurrentIndex, header.currentIndex);
    le::PutU32(block, kDefaultIndex, header.defaultIndex);
    const size_t itemSize = EnumerationItemSize(header.itemType);
    for (TW_UINT32 i = 0; i < header.numItems; ++i)
        PutItem(block + kEnumerationItems + i * itemSize, itemSize, items[i]);
    return true;
}

size_t ArrayBlockSize(TW_UINT16 itemType, TW_UINT32 numItems) {
    const size_t itemSize = EnumerationItemSize(itemType);
    if (itemSize == 0 || numItems > (SIZE_MAX - kArrayItems) / itemSize) return 0;
    return kArrayItems + numItems * itemSize;
}

bool WriteArray(uint8_t* block, size_t blockSize, TW_UINT16 itemType, const TW_UINT32* items, TW_UINT32 numItems) {
    const size_t needed = ArrayBlockSize(itemType, numItems);
    if (needed == 0 || blockSize < needed) return false;
    le::PutU16(block, kItemType, itemType);
    le::PutU32(block, kValue, numItems);
    const size_t itemSize = EnumerationItemSize(itemType);
    for (TW_UINT32 i = 0; i < numItems; ++i) PutItem(block + kArrayItems + i * itemSize, itemSize, items[i]);
    return true;
}

bool ReadOneValue(const uint8_t* block, size_t blockSize, TW_UINT32& value) {
    if (blockSize < kValue) return false;
    const size_t itemSize = OneValueReadSize(le::GetU16(block, kItemType));
    if (itemSize == 0 || blockSize < kValue + itemSize) return false;
    value = GetItem(block + kValue, itemSize);
    return true;
}

bool ReadEnumeration(const uint8_t* block, size_t blockSize, TW_UINT32& value) {
    if (blockSize < kEnumerationItems) return false;
    const size_t itemSize = EnumerationItemSize(le::GetU16(block, kItemType));
    const TW_UINT32 numItems = le::GetU32(block, kValue);
    if (itemSize == 0 || numItems == 0 || numItems > (blockSize - kEnumerationItems) / itemSize) return false;
    value = GetItem(block + kEnumerationItems, itemSize);
    return true;
}

bool ReadSetValue(TW_UINT16 conType, const uint8_t* block, size_t blockSize, TW_UINT32& value) {
    if (conType == TWON_ENUMERATION) return ReadEnumeration(block, blockSize, value);
    if (conType == TWON_ONEVALUE) return ReadOneValue(block, blockSize, value);
    return false;
}

EnumerationHeader ListHeader(const ValueList& list, TW_UINT32 currentIndex) {
    return EnumerationHeader{list.itemType, list.count, currentIndex, list.defaultIndex};
}

int ListIndexOf(const ValueList& list, TW_UINT32 value) {
    for (TW_UINT32 i = 0; i < list.count; ++i)
        if (list.items[i] == (value & 0xFFFF)) return static_cast<int>(i);
    return -1;
}
