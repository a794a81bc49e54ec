// Settings files ("*.PAR") and the records they share with batch files
// ("*.SET"): one section named after the scanner model, a FileType key and
// records of keys with the record number appended.
#pragma once

#include <windows.h>

#include <string>

// Writes record n from g_scanSettings and g_savedTone into `section` of
// `file` (a full path).
void WriteSettingsRecord(const std::string& section, const std::string& file, int n);

// Reads record n of `section` in `file` into g_scanSettings and g_savedTone;
// missing keys take their defaults.
void ReadSettingsRecord(const std::string& section, const std::string& file, int n);

// The load and save steps of the file dialogs, for the name typed in the
// dialog's name field and the dialog's extension ("PAR" or "SET"). Each check
// that fails shows its message (633 path too long, 616 wrong name, type or
// model, 618 unreadable file) and returns false with nothing changed. A
// pattern typed when loading lists the matching files instead.
//   Load: FileType must be 0 for "PAR", 1 for "SET"; then record 0 is read.
//   Save: the file is created anew, then FileType and record 0 are written.
bool LoadSettingsFile(HWND dialog, const char* extension);
bool SaveSettingsFile(HWND dialog, const char* extension);

// The checks both steps share, for the batch window's own steps. Each shows
// its message and returns false when a check fails.
//   OpenFileToLoad: the typed name is checked, the file readable and of the
//   extension's FileType; `path` is its full path.
//   CreateFileToSave: the typed name is checked and the file can be created;
//   it is removed again and `path` is its full path.
bool OpenFileToLoad(HWND dialog, const char* extension, std::string& path);
bool CreateFileToSave(HWND dialog, const char* extension, std::string& path);
