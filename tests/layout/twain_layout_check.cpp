// The TWAIN records as a host lays them out, pinned field by field: the
// published layouts, packed to 2 bytes, with handles and pointers 4 bytes wide
// in 32-bit Windows and 8 bytes wide in 64-bit Windows. Compiled into every
// build (the native one has the 64-bit layout) and, by the native tests, with
// both Windows cross compilers, so a change to one layout fails either way.
#include <cstddef>

#include "twain/twain.h"

#define PIN(record, field, at) static_assert(offsetof(record, field) == (at), #record "." #field)

constexpr bool kWide = sizeof(void*) == 8;
constexpr size_t kPointer = kWide ? 8 : 4;

static_assert(sizeof(TW_HANDLE) == kPointer && sizeof(TW_MEMREF) == kPointer);

static_assert(sizeof(TW_FIX32) == 4);
static_assert(sizeof(TW_VERSION) == 42);
PIN(TW_VERSION, Info, 8);

static_assert(sizeof(TW_IDENTITY) == 156);
PIN(TW_IDENTITY, Version, 4);
PIN(TW_IDENTITY, ProtocolMajor, 46);
PIN(TW_IDENTITY, SupportedGroups, 50);
PIN(TW_IDENTITY, Manufacturer, 54);
PIN(TW_IDENTITY, ProductFamily, 88);
PIN(TW_IDENTITY, ProductName, 122);

static_assert(sizeof(TW_USERINTERFACE) == 4 + kPointer);
PIN(TW_USERINTERFACE, ModalUI, 2);
PIN(TW_USERINTERFACE, hParent, 4);

static_assert(sizeof(TW_EVENT) == kPointer + 2);
PIN(TW_EVENT, TWMessage, kPointer);

static_assert(sizeof(TW_STATUS) == 4);
static_assert(sizeof(TW_PENDINGXFERS) == 6);
PIN(TW_PENDINGXFERS, Reserved, 2);

static_assert(sizeof(TW_SETUPMEMXFER) == 12);
PIN(TW_SETUPMEMXFER, Preferred, 8);

static_assert(sizeof(TW_SETUPFILEXFER) == 260);
PIN(TW_SETUPFILEXFER, Format, 256);
PIN(TW_SETUPFILEXFER, VRefNum, 258);

static_assert(sizeof(TW_MEMORY) == 8 + kPointer);
PIN(TW_MEMORY, Length, 4);
PIN(TW_MEMORY, TheMem, 8);

static_assert(sizeof(TW_IMAGEMEMXFER) == 26 + sizeof(TW_MEMORY));
PIN(TW_IMAGEMEMXFER, BytesPerRow, 2);
PIN(TW_IMAGEMEMXFER, Columns, 6);
PIN(TW_IMAGEMEMXFER, Rows, 10);
PIN(TW_IMAGEMEMXFER, XOffset, 14);
PIN(TW_IMAGEMEMXFER, YOffset, 18);
PIN(TW_IMAGEMEMXFER, BytesWritten, 22);
PIN(TW_IMAGEMEMXFER, Memory, 26);

static_assert(sizeof(TW_FRAME) == 16);
static_assert(sizeof(TW_IMAGELAYOUT) == 28);
PIN(TW_IMAGELAYOUT, DocumentNumber, 16);
PIN(TW_IMAGELAYOUT, FrameNumber, 24);

static_assert(sizeof(TW_IMAGEINFO) == 42);
PIN(TW_IMAGEINFO, ImageWidth, 8);
PIN(TW_IMAGEINFO, SamplesPerPixel, 16);
PIN(TW_IMAGEINFO, BitsPerSample, 18);
PIN(TW_IMAGEINFO, BitsPerPixel, 34);
PIN(TW_IMAGEINFO, PixelType, 38);
PIN(TW_IMAGEINFO, Compression, 40);

static_assert(sizeof(TW_CAPABILITY) == 4 + kPointer);
PIN(TW_CAPABILITY, ConType, 2);
PIN(TW_CAPABILITY, hContainer, 4);

static_assert(sizeof(TW_ONEVALUE) == 6);
PIN(TW_ONEVALUE, Item, 2);
static_assert(sizeof(TW_RANGE) == 22);
PIN(TW_RANGE, CurrentValue, 18);
static_assert(sizeof(TW_ENUMERATION) == 16);  // 14-byte header, one item byte, padding
PIN(TW_ENUMERATION, DefaultIndex, 10);
PIN(TW_ENUMERATION, ItemList, 14);
