// Installing data sources into the Wine prefix from a test:
// C:\Windows\TWAIN_32\<relativePath>, directories made as needed.
#pragma once

#include <string>

// The directory of the running program, without a trailing backslash.
std::string ProgramDirectory();
// Copies the file at from to C:\Windows\TWAIN_32\<relativePath>.
bool InstallSourceFile(const std::string& from, const std::string& relativePath);
// Copies test_source.ds (built next to the test programs) to
// C:\Windows\TWAIN_32\<relativePath>, e.g. "TESTSRC\\alpha.ds".
bool InstallTestSource(const std::string& relativePath);
// Deletes C:\Windows\TWAIN_32\<relativePath>.
bool RemoveSourceFile(const std::string& relativePath);
