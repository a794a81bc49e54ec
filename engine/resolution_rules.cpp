#include "engine/resolution_rules.h"

#include <algorithm>
#include <cctype>

#include "settings/scan_settings.h"

namespace {

struct FixedCommand {
    int command;
    uint16_t resolution;
};

constexpr FixedCommand kFixedCommands[] = {
    {1800, 72},   {1801, 100},  {1802, 150},  {1803, 200},  {1804, 300},  {1805, 400},
    {1806, 600},  {1807, 800},  {1808, 1200}, {1809, 1600}, {1810, 2400}, {1811, 3200},
    {1812, 3600}, {1813, 4800}, {1814, 6400}, {1815, 7200}, {1816, 9600}, {1823, 55},
    {1824, 65},   {1825, 85},   {1826, 120},  {1827, 133},  {1828, 175}};

constexpr int kLargestEnlargement = 8;

// The rate the image is scanned at: the 606 model scans at 600 dpi.
uint16_t ScanRate(uint16_t opticalResolution) { return opticalResolution == 606 ? 600 : opticalResolution; }

}  // namespace

int ResolutionMenuFor(uint16_t destination, uint16_t scanMode, uint16_t colourKind, uint16_t opticalResolution) {
    if (destination == kDestHalftonePrinter) return kResolutionMenuHalftone;
    if (scanMode == kModeColour && colourKind == kColour36) return kResolutionMenu36Bit;
    switch (opticalResolution) {
        case 800: return kResolutionMenu800;
        case 1200: return kResolutionMenu1200;
        default: return kResolutionMenu600;
    }
}

uint16_t FixedMenuResolution(int command) {
    for (const FixedCommand& fixed : kFixedCommands)
        if (fixed.command == command) return fixed.resolution;
    return 0;
}

ResolutionLimits ResolutionLimitsFor(uint16_t opticalResolution, bool nativeTransfer, bool feederInUse) {
    const uint16_t rate = ScanRate(opticalResolution);
    if (feederInUse) return {600, 600};
    if (nativeTransfer || opticalResolution == 606) return {rate, rate};
    return {static_cast<uint16_t>(rate * kLargestEnlargement), static_cast<uint16_t>(rate * 2)};
}

uint16_t DpiScaleFor(uint16_t resolution, uint16_t opticalResolution) {
    const uint16_t rate = ScanRate(opticalResolution);
    if (resolution <= 800 || rate == 0 || resolution % rate != 0) return 0;
    const int factor = resolution / rate;
    return factor == 4 || factor == 6 || factor == 8 ? static_cast<uint16_t>(factor / 2) : 0;
}

bool ResolutionInterpolates(uint16_t resolution, uint16_t opticalResolution, bool nativeTransfer) {
    if (nativeTransfer || opticalResolution == 606) return false;
    return resolution > opticalResolution;
}

int CustomResolutionPageStep(uint16_t opticalResolution) { return std::max(1, ScanRate(opticalResolution) / 12); }

uint16_t MaxCustomScaling(uint16_t resolution) {
    if (resolution == 0) return 600;
    return static_cast<uint16_t>(std::min<uint32_t>(240000u / resolution, 600u));
}

bool ParseTypedNumber(const char* text, long& value) {
    const char* p = text;
    while (*p == ' ') ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    long number = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) number = std::min(number * 10 + (*p - '0'), 1000000L);
    while (*p == ' ') ++p;
    if (*p != '\0') return false;
    value = number;
    return true;
}

int UsedCustomSlots(const uint16_t (&slots)[kCustomSlots]) {
    int used = 0;
    while (used < kCustomSlots && slots[used] != 0) ++used;
    return used;
}

int AddCustomSlot(uint16_t (&slots)[kCustomSlots], uint16_t value) {
    int used = UsedCustomSlots(slots);
    if (used == kCustomSlots) {
        std::copy(slots + 1, slots + kCustomSlots, slots);
        used = kCustomSlots - 1;
    }
    slots[used] = value;
    return used;
}
