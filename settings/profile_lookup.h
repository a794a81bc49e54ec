// The key lookups and writes of the portable readers and writers, over
// WIN.INI or a private profile file.
#pragma once

#include <string>

#include "settings/key_lookup.h"

// Keys of `section` in `file` (a full path), or in WIN.INI when `file` is
// empty. Which keys exist is read when the lookup is made; each value is read
// from the profile when it is looked up.
KeyLookup ProfileSectionLookup(const std::string& section, const std::string& file);

// Writes the pairs in order into `section` of `file`, or of WIN.INI when
// `file` is empty. True when every write succeeded.
bool WriteProfileValues(const std::string& section, const std::string& file, const KeyValues& values);
