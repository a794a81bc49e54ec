// What the information dialog shows for a settings record: for each field
// either a text of the string table or a formatted number.
#pragma once

#include <string>
#include <vector>

#include "settings/scan_settings.h"

struct InformationField {
    int control;
    int textNumber;    // a text of the current language; 0 when `value` is shown
    std::string value;
};

// Every field of the dialog, the unit labels included. `widthInches` and
// `lengthInches` are the scan area before scaling; they are shown in the
// record's unit with "%4.2f" (pixels at resolution x scaling / 100).
std::vector<InformationField> InformationFields(const ScanSettings& settings, double widthInches,
                                                double lengthInches);
