#include "hostkit/capability_text.h"

#include <cstdio>
#include <cstring>

namespace {

struct Named {
    TW_UINT16 value;
    const char* name;
};

const Named kCapabilities[] = {
    {CAP_XFERCOUNT, "CAP_XFERCOUNT"},
    {ICAP_COMPRESSION, "ICAP_COMPRESSION"},
    {ICAP_PIXELTYPE, "ICAP_PIXELTYPE"},
    {ICAP_UNITS, "ICAP_UNITS"},
    {ICAP_XFERMECH, "ICAP_XFERMECH"},
    {CAP_AUTHOR, "CAP_AUTHOR"},
    {CAP_CAPTION, "CAP_CAPTION"},
    {CAP_FEEDERENABLED, "CAP_FEEDERENABLED"},
    {CAP_FEEDERLOADED, "CAP_FEEDERLOADED"},
    {CAP_TIMEDATE, "CAP_TIMEDATE"},
    {CAP_SUPPORTEDCAPS, "CAP_SUPPORTEDCAPS"},
    {CAP_AUTOFEED, "CAP_AUTOFEED"},
    {CAP_INDICATORS, "CAP_INDICATORS"},
    {CAP_UICONTROLLABLE, "CAP_UICONTROLLABLE"},
    {CAP_DEVICEONLINE, "CAP_DEVICEONLINE"},
    {ICAP_BRIGHTNESS, "ICAP_BRIGHTNESS"},
    {ICAP_CONTRAST, "ICAP_CONTRAST"},
    {ICAP_FILTER, "ICAP_FILTER"},
    {ICAP_IMAGEFILEFORMAT, "ICAP_IMAGEFILEFORMAT"},
    {ICAP_LIGHTSOURCE, "ICAP_LIGHTSOURCE"},
    {ICAP_PHYSICALWIDTH, "ICAP_PHYSICALWIDTH"},
    {ICAP_PHYSICALHEIGHT, "ICAP_PHYSICALHEIGHT"},
    {ICAP_XNATIVERESOLUTION, "ICAP_XNATIVERESOLUTION"},
    {ICAP_YNATIVERESOLUTION, "ICAP_YNATIVERESOLUTION"},
    {ICAP_XRESOLUTION, "ICAP_XRESOLUTION"},
    {ICAP_YRESOLUTION, "ICAP_YRESOLUTION"},
    {ICAP_BITORDER, "ICAP_BITORDER"},
    {ICAP_PIXELFLAVOR, "ICAP_PIXELFLAVOR"},
    {ICAP_PLANARCHUNKY, "ICAP_PLANARCHUNKY"},
    {ICAP_SUPPORTEDSIZES, "ICAP_SUPPORTEDSIZES"},
    {ICAP_BITDEPTH, "ICAP_BITDEPTH"},
};

const Named kItemTypes[] = {
    {TWTY_INT8, "TWTY_INT8"},   {TWTY_INT16, "TWTY_INT16"},   {TWTY_INT32, "TWTY_INT32"},
    {TWTY_UINT8, "TWTY_UINT8"}, {TWTY_UINT16, "TWTY_UINT16"}, {TWTY_UINT32, "TWTY_UINT32"},
    {TWTY_BOOL, "TWTY_BOOL"},   {TWTY_FIX32, "TWTY_FIX32"},
};

template <size_t N>
std::string NameOf(const Named (&table)[N], TW_UINT16 value, const char* numberFormat) {
    for (const Named& entry : table)
        if (entry.value == value) return entry.name;
    char text[16];
    std::snprintf(text, sizeof text, numberFormat, value);
    return text;
}

// Bytes of one item; 0 for a type this tool does not show.
size_t ItemSize(TW_UINT16 itemType) {
    switch (itemType) {
        case TWTY_INT8:
        case TWTY_UINT8: return 1;
        case TWTY_INT16:
        case TWTY_UINT16:
        case TWTY_BOOL: return 2;
        case TWTY_INT32:
        case TWTY_UINT32:
        case TWTY_FIX32: return 4;
        default: return 0;
    }
}

uint32_t Field32(const uint8_t* at) {
    uint32_t value;
    std::memcpy(&value, at, 4);
    return value;
}

uint16_t Field16(const uint8_t* at) {
    uint16_t value;
    std::memcpy(&value, at, 2);
    return value;
}

// A value as stored in a 32-bit field (one-value and range) by its item type.
std::string ValueText(TW_UINT16 itemType, uint32_t raw) {
    char text[32];
    switch (itemType) {
        case TWTY_INT8: std::snprintf(text, sizeof text, "%d", static_cast<int8_t>(raw)); break;
        case TWTY_INT16: std::snprintf(text, sizeof text, "%d", static_cast<int16_t>(raw)); break;
        case TWTY_INT32: std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(raw)); break;
        case TWTY_UINT8: std::snprintf(text, sizeof text, "%u", raw & 0xFFu); break;
        case TWTY_UINT16:
        case TWTY_BOOL: std::snprintf(text, sizeof text, "%u", raw & 0xFFFFu); break;
        case TWTY_FIX32: {
            const double value = static_cast<int16_t>(raw & 0xFFFF) + (raw >> 16) / 65536.0;
            std::snprintf(text, sizeof text, "%g", value);
            break;
        }
        default: std::snprintf(text, sizeof text, "%u", raw); break;
    }
    return text;
}

// The item at `at` of `itemType`, widened to a 32-bit field.
uint32_t Item(TW_UINT16 itemType, const uint8_t* at) {
    switch (ItemSize(itemType)) {
        case 1: return *at;
        case 2: return Field16(at);
        default: return Field32(at);
    }
}

std::string ListText(TW_UINT16 itemType, const uint8_t* items, uint32_t count) {
    std::string text;
    for (uint32_t i = 0; i < count; ++i) text += " " + ValueText(itemType, Item(itemType, items + i * ItemSize(itemType)));
    return text;
}

constexpr const char* kShort = "(short container)";

std::string ItemTypeName(TW_UINT16 itemType) { return NameOf(kItemTypes, itemType, "%u"); }

}  // namespace

std::string CapabilityName(TW_UINT16 capability) { return NameOf(kCapabilities, capability, "0x%04x"); }

bool ReadCapabilityArray(const uint8_t* bytes, size_t size, std::vector<TW_UINT16>& capabilities) {
    if (size < 6 || Field16(bytes) != TWTY_UINT16) return false;
    const uint32_t count = Field32(bytes + 2);
    if (count > (size - 6) / 2) return false;
    capabilities.clear();
    for (uint32_t i = 0; i < count; ++i) capabilities.push_back(Field16(bytes + 6 + 2 * i));
    return true;
}

std::string ContainerText(TW_UINT16 conType, const uint8_t* bytes, size_t size) {
    if (size < 2) return kShort;
    const TW_UINT16 itemType = Field16(bytes);
    const std::string type = " " + ItemTypeName(itemType);
    switch (conType) {
        case TWON_ONEVALUE:
            if (size < 6) return kShort;
            return "TWON_ONEVALUE" + type + " " + ValueText(itemType, Field32(bytes + 2));
        case TWON_RANGE:
            if (size < 22) return kShort;
            return "TWON_RANGE" + type + " " + ValueText(itemType, Field32(bytes + 2)) + ".." +
                   ValueText(itemType, Field32(bytes + 6)) + " step " + ValueText(itemType, Field32(bytes + 10)) +
                   " default " + ValueText(itemType, Field32(bytes + 14)) + " current " +
                   ValueText(itemType, Field32(bytes + 18));
        case TWON_ENUMERATION: {
            if (size < 14 || ItemSize(itemType) == 0) return kShort;
            const uint32_t count = Field32(bytes + 2);
            if (count > (size - 14) / ItemSize(itemType)) return kShort;
            return "TWON_ENUMERATION" + type + ListText(itemType, bytes + 14, count) + " current " +
                   std::to_string(Field32(bytes + 6)) + " default " + std::to_string(Field32(bytes + 10));
        }
        case TWON_ARRAY: {
            if (size < 6 || ItemSize(itemType) == 0) return kShort;
            const uint32_t count = Field32(bytes + 2);
            if (count > (size - 6) / ItemSize(itemType)) return kShort;
            return "TWON_ARRAY" + type + ListText(itemType, bytes + 6, count);
        }
        default:
            return "container " + std::to_string(conType);
    }
}
