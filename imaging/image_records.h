// The records the image computations work over: the scan modes, colour kinds,
// sources, destinations and descreen settings, and the tone and colour
// adjustments with their defaults.
#pragma once

#include <cstddef>
#include <cstdint>

// Scan modes (`scanMode`).
constexpr uint16_t kModeLineArt = 1011;   // "Text/LineArt", 1 bit per pixel
constexpr uint16_t kModeFastGray = 1012;  // "256 FastGray"
constexpr uint16_t kModeGray = 1013;      // "256 Gray"
constexpr uint16_t kModeColour = 1014;    // colour, kind in `colourKind`

// Colour kinds (`colourKind`, meaningful in kModeColour only).
constexpr uint16_t kColour24 = 0;    // "24-bit Color"
constexpr uint16_t kColourCmyk = 1;  // "CMYK Color"
constexpr uint16_t kColour36 = 2;    // "36-bit Color"

// Scan sources (`scanSource`) and their dialog form (`sourceId`).
constexpr uint8_t kSourceReflective = 0;
constexpr uint8_t kSourcePositive = 1;
constexpr uint8_t kSourceNegative = 2;
constexpr uint8_t kSourceFeeder = 3;
constexpr uint16_t kSourceIdReflective = 1093;

// Destinations (`destination`).
constexpr uint16_t kDestMonitor = 1021;
constexpr uint16_t kDestHalftonePrinter = 1022;
constexpr uint16_t kDestContTonePrinter = 1023;

// Descreen settings (`descreen`).
constexpr uint16_t kDescreenNone = 1017;
constexpr uint16_t kDescreenNewspaper = 1018;
constexpr uint16_t kDescreenMagazine = 1019;
constexpr uint16_t kDescreenArtPrint = 1020;

// One tone channel word: highlight and shadow levels, gamma in tenths.
struct ToneChannel {
    uint8_t highlight;
    uint8_t shadow;
    int8_t gamma;
    uint8_t spare;
};

// Indices into ToneSettings::channels; `channel` holds one of them.
constexpr int kToneMaster = 0;
constexpr int kToneRed = 1;
constexpr int kToneGreen = 2;
constexpr int kToneBlue = 3;

struct HuePoint {
    int32_t x;
    int32_t y;
};

struct PickedColour {
    uint8_t r;
    uint8_t g;
    uint8_t b;
    uint8_t spare;
};

// Thirteen 32-bit words of tone and colour adjustments, initialised to their
// defaults. Other modules (the prescan module among them) receive it by
// address, so the byte layout is fixed.
struct ToneSettings {
    ToneChannel channels[4] = {{255, 0, 10, 0}, {255, 0, 18, 0}, {255, 0, 18, 0}, {255, 0, 18, 0}};
    uint16_t channel = kToneMaster;  // the channel being edited
    uint16_t channelSpare = 0;
    uint32_t unused1 = 0;
    HuePoint circlePos = {44, 115};  // picked point on the hue wheel
    PickedColour pixelRGB = {255, 255, 255, 0};
    int32_t hue = 0;
    int32_t saturation = 0;
    uint32_t unused2 = 0;
    int8_t colorBalance[3] = {0, 0, 0};
    uint8_t colorBalanceSpare = 0;
};
static_assert(sizeof(ToneSettings) == 52);
static_assert(offsetof(ToneSettings, channel) == 16);
static_assert(offsetof(ToneSettings, circlePos) == 24);
static_assert(offsetof(ToneSettings, pixelRGB) == 32);
static_assert(offsetof(ToneSettings, hue) == 36);
static_assert(offsetof(ToneSettings, saturation) == 40);
static_assert(offsetof(ToneSettings, colorBalance) == 48);

// The tone record as it is when nothing has been stored.
ToneSettings DefaultToneSettings();

// Bits per pixel as the scanner delivers the mode: 1, 8 or 24; 0 for a mode
// that is none of the four.
int BitsPerPixel(uint16_t scanMode);
