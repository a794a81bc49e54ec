// The scan-area figures of the current settings, on the scanner in use.
#pragma once

#include <cstdint>

#include "engine/scan_area.h"

// The feeder paper size while the feeder is fitted and in use (from the page
// size the host negotiated), else 0.
uint16_t CurrentFeederPaper();

ScanAreaFigures CurrentScanAreaFigures();
