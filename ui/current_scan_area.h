// The scan-area figures of the current settings, on the scanner in use.
#pragma once

#include "engine/scan_area.h"

ScanAreaFigures CurrentScanAreaFigures();
