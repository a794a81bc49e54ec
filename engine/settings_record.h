// The one scan settings record of the data source.
#pragma once

#include "engine/scan_settings.h"

extern ScanSettings g_scanSettings;
