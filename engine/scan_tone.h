// The tone tables a scan sends to the scanner. The maps persist from scan to
// scan: a builder that refuses its tone values leaves the previous map, and
// the scan goes on with it.
#pragma once

// The default maps of MSG_ENABLEDS without the user interface: gamma 1.8 for
// the three channels of an RGB scan, 1.0 for the single map otherwise, both
// with brightness and contrast 0.
void BuildEnableToneMaps(bool rgb);

// Builds the scan's maps from the saved tone block, fills the tone-table
// block and sends it. Shows message 628 and returns false when the scanner
// refuses it.
bool SendScanToneTables();
