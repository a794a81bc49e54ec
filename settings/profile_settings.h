// The user's scan settings kept in WIN.INI from one use of the data source to
// the next.
#pragma once

#include <string>

// The WIN.INI section of the scanner's own settings: its model name
// ("KVS-T60PRO", "KVS-T66S", "KVS-T80PRO", "A3 SCANNER"); "A3 SCANNER" too
// while the model is not known. Settings files use the same section name.
std::string ModelSectionName();

// Reads the keys of `section` into g_scanSettings (its tone block being the
// live one), g_savedTone and, in 36-bit colour, g_toneStash. A stored feeder
// source on a scanner without feeder gives the reflective source and clears
// the feeder flags of the capabilities.
//   LoadProfileSettings(ModelSectionName().c_str());
void LoadProfileSettings(const char* section);

// Writes every key of the model section from g_scanSettings, with `frame`
// (left, top, right, bottom) as the scan rectangle, and the LANGUAGE key kept
// for the sibling data source.
//   int frame[4] = {78, 81, 150, 145};
//   SaveProfileSettings(frame);
void SaveProfileSettings(const int (&frame)[4]);

// Writes only the CustomRes key of the model section from g_scanSettings.
void SaveCustomResolutions();
