// The rules of the resolution and scaling choices of the main page: which
// resolution menu is offered, what its items stand for, the ranges of the
// custom resolution and custom scaling dialogs, and the list of the user's
// own resolutions.
#pragma once

#include <cstdint>

// Menu resources, each followed by its seven translations (base + language
// index): 800, 810 and 820 for the monitor and the continuous-tone printer on
// a 600-, 800- and 1200-dpi scanner, 830 for the halftone printer (lines per
// inch), 840 for 36-bit colour.
constexpr int kResolutionMenu600 = 800;
constexpr int kResolutionMenu800 = 810;
constexpr int kResolutionMenu1200 = 820;
constexpr int kResolutionMenuHalftone = 830;
constexpr int kResolutionMenu36Bit = 840;
int ResolutionMenuFor(uint16_t destination, uint16_t scanMode, uint16_t colourKind, uint16_t opticalResolution);

// Menu commands: 1800..1816 and 1823..1828 stand for fixed numbers, 1817
// opens the custom-resolution dialog, 1818..1822 are the user's own values.
constexpr int kMenuCustom = 1817;
constexpr int kMenuFirstCustomValue = 1818;
constexpr int kCustomSlots = 5;
// The number a fixed command stands for; 0 for any other command.
uint16_t FixedMenuResolution(int command);

// The highest resolution that can be asked for: the optical resolution with
// native transfer (the image cannot be enlarged then), 600 with the feeder in
// use, and otherwise what enlarging by up to 8 gives (the custom dialog stops
// at twice the optical resolution, `maxCustom`).
struct ResolutionLimits {
    uint16_t maxMenu;
    uint16_t maxCustom;
};
ResolutionLimits ResolutionLimitsFor(uint16_t opticalResolution, bool nativeTransfer, bool feederInUse);

// Enlargement set for a resolution: 0 up to 800 dpi and when the resolution
// is twice the scan; 2, 3, 4 for four, six, eight times the optical rate.
uint16_t DpiScaleFor(uint16_t resolution, uint16_t opticalResolution);

// With memory or file transfer a resolution above the optical one is
// scanned at half and enlarged: above 600 for 600, above 800 for 800, 1201
// or more for 1200; never for the 606 model or with native transfer.
bool ResolutionInterpolates(uint16_t resolution, uint16_t opticalResolution, bool nativeTransfer);

// Page step of the custom-resolution scroll bar (its line step is 1): a
// twelfth of the optical resolution.
int CustomResolutionPageStep(uint16_t opticalResolution);

// Custom scaling: 1 .. min(240000 / resolution, 600) percent.
uint16_t MaxCustomScaling(uint16_t resolution);

// A number typed into a field: decimal digits only (blanks around them
// allowed); false for anything else, an empty field included.
bool ParseTypedNumber(const char* text, long& value);

// Puts `value` into the first free slot of the user's resolutions; when all
// five are taken the oldest is dropped and the others move up. Returns the
// slot it went into. A slot holding 0 is free, and the used slots come first.
int AddCustomSlot(uint16_t (&slots)[kCustomSlots], uint16_t value);
int UsedCustomSlots(const uint16_t (&slots)[kCustomSlots]);
