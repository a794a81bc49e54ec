#include "settings/calibrator_title.h"

std::string CalibratorWindowTitle(const std::string& brand, const std::string& package) {
    std::string title;
    if (!brand.empty()) title += brand + " ";
    if (!package.empty()) title += package + " ";
    return title + "Calibrator";
}
