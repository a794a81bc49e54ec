// Settings changes the main dialog makes as a whole: the source and speed
// the dialog starts with, and the values its "Reset" button restores.
#pragma once

#include <cstdint>

#include "settings/scan_settings.h"

// The source the dialog starts with and the word the prescan module reads it
// from. With a transparency adapter the word holds the scan source in its
// upper half and bits 4 to 6 of the speed byte in its lower half. Without
// one, a stored feeder source switches the feeder on, the source becomes the
// feeder when it is enabled and the bed otherwise, and the lower half is 0.
// Either way the speed byte keeps only its low four bits.
struct SourceAndSpeed {
    uint32_t word;
    uint8_t scanSource;
    uint8_t velocity;
    bool feederEnabled;
};
SourceAndSpeed StartingSourceAndSpeed(bool transparencyAdapter, uint8_t scanSource, uint8_t velocity,
                                      bool feederEnabled);

// The "Reset" values: 24-bit colour from the bed at 300 dpi for the monitor,
// quality 1.0, no descreen, no output matching, 100 %, no filter; highlight
// 255 and shadow 0 in every channel, gamma 1.8 for red, green and blue and
// 1.0 for the master (1.0 everywhere for the host that wants linear tones),
// master channel, no balance, hue or saturation, white picked colour and the
// hue-wheel point `wheelPoint`. The tone values go into `savedTone` and are
// copied into the live block.
void ApplyResetValues(ScanSettings& settings, ToneSettings& savedTone, bool linearToneHost, HuePoint wheelPoint);
