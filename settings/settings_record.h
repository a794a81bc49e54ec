// The one scan settings record of the data source, with the two further
// copies of its tone block.
#pragma once

#include "settings/scan_settings.h"

// The record; its `tone` member is the live copy that the dialogs edit.
extern ScanSettings g_scanSettings;

// The tone block the engine last used (a scan copies the live block here at
// its start and uses this copy throughout).
extern ToneSettings g_savedTone;

// The live block put aside while 36-bit colour (which keeps no tone
// adjustments) is the mode.
extern ToneSettings g_toneStash;
