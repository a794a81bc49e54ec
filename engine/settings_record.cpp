#include "engine/settings_record.h"

ScanSettings g_scanSettings = DefaultScanSettings();
