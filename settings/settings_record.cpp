#include "settings/settings_record.h"

ScanSettings g_scanSettings = DefaultScanSettings();
ToneSettings g_savedTone = DefaultToneSettings();
ToneSettings g_toneStash = DefaultToneSettings();
