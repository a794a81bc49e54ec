// The user's scan settings in the model's own WIN.INI section: how each key is
// read into the settings record and which keys a save writes, in order.
#pragma once

#include "settings/key_lookup.h"
#include "settings/scan_settings.h"

// What a load needs to know besides the stored keys.
struct ProfileLoadContext {
    bool feederPresent = false;        // the scanner has a document feeder
    bool transparencyAdapter = false;  // the transparency sources 1 and 2 can be used
    bool linearToneHost = false;       // the host wants linear tones: every gamma becomes 10
};

// What the caller must change outside the records after a load.
struct ProfileLoadOutcome {
    bool clearFeederFlags = false;  // a feeder source was stored but there is no feeder
};

// Reads every key of the model section into `settings` (its `tone` being the
// live block). Highlight, shadow, gamma, saturation and colour balance also go
// into `savedTone`. When the mode is 36-bit colour afterwards, the live block
// is put into `toneStash` and reset (with the filter), as that mode keeps no
// tone adjustments. Missing keys take their defaults; malformed numbers read
// as far as they are digits; every value is brought into its field's range.
ProfileLoadOutcome ReadModelSection(const KeyLookup& lookup, const ProfileLoadContext& context,
                                    ScanSettings& settings, ToneSettings& savedTone, ToneSettings& toneStash);

// The keys a settings save writes, in order, for the scan rectangle `frame`
// (left, top, right, bottom). The tone values come from the live block.
KeyValues ModelSectionValues(const ScanSettings& settings, const int (&frame)[4]);
