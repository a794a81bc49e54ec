// The window title of the colour calibrator program, by which a running
// calibrator is found instead of starting a second one.
#pragma once

#include <string>

// BRAND, a blank when BRAND is not empty, PACKAGE and a blank when PACKAGE is
// not empty, then "Calibrator".
std::string CalibratorWindowTitle(const std::string& brand, const std::string& package);
