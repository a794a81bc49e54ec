// Installing data sources into the Wine prefix from a test: files go to
// <relativePath> under the sources folder (C:\Windows\TWAIN_32, or
// C:\Windows\twain_64 in the 64-bit build), directories made as needed.
#pragma once

#include <string>

// The directory of the running program, without a trailing backslash.
std::string ProgramDirectory();
// Copies the file at from to the sources folder's <relativePath>.
bool InstallSourceFile(const std::string& from, const std::string& relativePath);
// Copies test_source.ds (built next to the test programs) to
// the sources folder's <relativePath>, e.g. "TESTSRC\\alpha.ds".
bool InstallTestSource(const std::string& relativePath);
// Deletes the sources folder's <relativePath>.
bool RemoveSourceFile(const std::string& relativePath);
