// Conversions between the numbers stored in WIN.INI or a settings file and
// the fields of the settings record, shared by both stores. Every number read
// is brought into its field's range here, so no stored text can leave a value
// the record does not allow.
#pragma once

#include <cstdint>
#include <vector>

#include "settings/scan_settings.h"

enum class ToneField { Highlight, Shadow, Gamma };

// One value per channel, in the order the stored lists hold them: red, green,
// blue, master.
std::vector<int32_t> ChannelFields(const ToneSettings& tone, ToneField field);

// Sets the field of the four channels from a stored list (same order),
// clamped to the byte (highlight, shadow) or signed byte (gamma) it goes to.
void SetChannelFields(ToneSettings& tone, ToneField field, const std::vector<int32_t>& values);

// The hue-wheel point (x, y), picked colour (r, g, b) and colour balance
// (three signed components) as stored lists, and back.
std::vector<int32_t> CircleFields(const ToneSettings& tone);
std::vector<int32_t> PixelFields(const ToneSettings& tone);
std::vector<int32_t> BalanceFields(const ToneSettings& tone);
void SetCircleFields(ToneSettings& tone, const std::vector<int32_t>& values);
void SetPixelFields(ToneSettings& tone, const std::vector<int32_t>& values);
void SetBalanceFields(ToneSettings& tone, const std::vector<int32_t>& values);

// Record fields from stored numbers: a destination outside 1021..1023 becomes
// Monitor, a filter outside 0..8 and an edited channel outside 0..3 become 0.
uint16_t StoredDestination(int32_t value);
uint16_t StoredFilterMode(int32_t value);
uint16_t StoredChannel(int32_t value);

// `descreen`; any value other than None also switches descreening on (None
// leaves the switch as it was).
void SetStoredDescreen(ScanSettings& settings, int32_t value);
