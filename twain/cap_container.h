// Capability containers as bytes: builders and readers of the TWAIN 1.x
// one-value, range and enumeration layouts over plain buffers (the Win32 glue
// owns the global memory and passes its locked bytes and size), and the
// value lists the data source offers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "twain/twain.h"

constexpr size_t kOneValueSize = 6;
constexpr size_t kRangeSize = 22;
constexpr size_t kEnumerationItems = 14;  // offset of the first item

// Bytes of one enumeration item: 1, 2 or 4 for the integer types, 0 for any
// other type (an enumeration cannot carry it).
size_t EnumerationItemSize(TW_UINT16 itemType);

// Block size of an enumeration: numItems x item size + 15, or 0 when the
// item type cannot be carried.
size_t EnumerationBlockSize(TW_UINT16 itemType, TW_UINT32 numItems);

struct RangeValues {
    TW_UINT16 itemType;
    TW_UINT32 minValue;
    TW_UINT32 maxValue;
    TW_UINT32 stepSize;
    TW_UINT32 defaultValue;
    TW_UINT32 currentValue;
};

struct EnumerationHeader {
    TW_UINT16 itemType;
    TW_UINT32 numItems;
    TW_UINT32 currentIndex;
    TW_UINT32 defaultIndex;
};

// Builders. Each returns false, writing nothing, when the block is smaller
// than the container (or, for an enumeration, the item type is not an
// integer type). A FIX32 or BOOL one-value is written as its 32-bit Item.
bool WriteOneValue(uint8_t* block, size_t blockSize, TW_UINT16 itemType, TW_UINT32 item);
bool WriteRange(uint8_t* block, size_t blockSize, const RangeValues& range);
bool WriteEnumeration(uint8_t* block, size_t blockSize, const EnumerationHeader& header, const TW_UINT32* items);

// An array: item type, item count, then the items (integer types only).
// ArrayBlockSize is 0 when the item type cannot be carried.
size_t ArrayBlockSize(TW_UINT16 itemType, TW_UINT32 numItems);
bool WriteArray(uint8_t* block, size_t blockSize, TW_UINT16 itemType, const TW_UINT32* items, TW_UINT32 numItems);

// Readers of a host's container of `blockSize` bytes. A one-value gives its
// byte (INT8, UINT8), 16-bit value (INT16, UINT16) or 32-bit value (INT32,
// UINT32, FIX32); an enumeration of an integer type gives its first item,
// whatever CurrentIndex says. Refused (false, value untouched): any other
// item type, an enumeration with no items or with more items than the block
// holds, and any block too short for what it claims.
bool ReadOneValue(const uint8_t* block, size_t blockSize, TW_UINT32& value);
bool ReadEnumeration(const uint8_t* block, size_t blockSize, TW_UINT32& value);

// The value a MSG_SET carries: ReadEnumeration or ReadOneValue by container
// type; any other container type is refused.
bool ReadSetValue(TW_UINT16 conType, const uint8_t* block, size_t blockSize, TW_UINT32& value);

// A list of values offered for a capability, with its enumeration header.
struct ValueList {
    TW_UINT16 itemType;
    const TW_UINT32* items;
    TW_UINT32 count;
    TW_UINT32 defaultIndex;
};

inline constexpr TW_UINT32 kPixelTypes[] = {TWPT_BW, TWPT_GRAY, TWPT_RGB, TWPT_PALETTE};
inline constexpr TW_UINT32 kUnits[] = {TWUN_INCHES, TWUN_CENTIMETERS, TWUN_PICAS,
                                       TWUN_POINTS, TWUN_TWIPS,       TWUN_PIXELS};
inline constexpr TW_UINT32 kXferMechs[] = {TWSX_NATIVE, TWSX_FILE, TWSX_MEMORY};
inline constexpr TW_UINT32 kFileFormats[] = {TWFF_TIFF, TWFF_PICT, TWFF_BMP, TWFF_XBM};
inline constexpr TW_UINT32 kResolutions[] = {75, 100, 150, 200, 300, 400, 500, 600};
inline constexpr TW_UINT32 kSupportedSizes[] = {TWSS_NONE, TWSS_A4LETTER, TWSS_B5LETTER,
                                                TWSS_USLETTER, TWSS_USLEGAL, TWSS_A5,
                                                TWSS_B4,   TWSS_B6,       TWSS_B};

inline constexpr ValueList kPixelTypeList{TWTY_UINT16, kPixelTypes, std::size(kPixelTypes), 0};
inline constexpr ValueList kUnitList{TWTY_UINT16, kUnits, std::size(kUnits), 0};
inline constexpr ValueList kXferMechList{TWTY_UINT16, kXferMechs, std::size(kXferMechs), 2};
inline constexpr ValueList kFileFormatList{TWTY_UINT16, kFileFormats, std::size(kFileFormats), 0};
inline constexpr ValueList kResolutionList{TWTY_UINT32, kResolutions, std::size(kResolutions), 4};
inline constexpr ValueList kSupportedSizeList{TWTY_UINT16, kSupportedSizes, std::size(kSupportedSizes), 0};

// The header a MSG_GET sends for the list, with the given current index.
EnumerationHeader ListHeader(const ValueList& list, TW_UINT32 currentIndex);

// Position of the low 16 bits of `value` in the list, or -1.
int ListIndexOf(const ValueList& list, TW_UINT32 value);
