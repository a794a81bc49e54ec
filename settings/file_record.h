// Records of the settings files ("PAR": one record) and batch files ("SET":
// one record per job): the keys of record n carry n as a suffix (ScanMode0,
// Highlight12), every value is a list of "%-5d" fields, and the tone values
// are those of the saved tone block.
#pragma once

#include <string>

#include "settings/key_lookup.h"
#include "settings/scan_settings.h"

// FileType of a file with this extension: 0 for "PAR", 1 for "SET" (case
// ignored), -1 for any other.
int FileTypeForExtension(const std::string& extension);

// The FileType header value, and FileType as a file states it (default 4).
std::string FileTypeText(int fileType);
int32_t ReadFileType(const KeyLookup& lookup);

// The keys of record n, in the order they are written: the scan settings from
// `settings`, the tone values from `savedTone`.
KeyValues FileRecordValues(const ScanSettings& settings, const ToneSettings& savedTone, int n);

// Reads record n into `settings` and `savedTone`. Single values are read with
// a 5-character buffer, a list field from its 4 characters at 5 x k. Missing
// keys take their defaults; a gamma below 1 becomes 10, a highlight of 0
// becomes 255, a shadow not below its highlight becomes 0, and a destination
// outside Monitor .. Cont. Tone Printer becomes Monitor, so a record always
// gives tone triples and a destination the engine accepts.
void ReadFileRecord(const KeyLookup& lookup, int n, ScanSettings& settings, ToneSettings& savedTone);
