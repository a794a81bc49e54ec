// WIN.INI access with the fixed buffer sizes the system reads its keys with:
// a value longer than its buffer is cut, never written past the buffer.
#pragma once

#include <cstdint>
#include <string>

constexpr const char* kInstallSection = "KVSINFO_A3";
constexpr const char* kLampSection = "A3 SCANNER";

// GetProfileStringA with a buffer of `buffer` characters (terminating zero included).
std::string ReadProfileText(const char* section, const char* key, const char* fallback, size_t buffer);

// A profile value read as a decimal integer (leading blanks, optional sign, digits).
int32_t ReadProfileNumber(const char* section, const char* key, const char* fallback, size_t buffer);

void WriteProfileText(const char* section, const char* key, const std::string& value);

// The Windows directory (at most 130 characters, as the system reads it).
std::string WindowsDirectory();

// Where TWAIN sources of this build's kind are installed: "\TWAIN_32" under
// the Windows directory for the 32-bit source, "\twain_64" for the 64-bit one.
std::string SourcesDirectory();

// The source's installation directory: "\KVSC_A3" under SourcesDirectory().
std::string InstallDirectory();

// BRAND of the installation section, default "SCANNER".
std::string BrandText();

// True when BRAND names the "Tellaris" brand (compared ignoring case).
bool IsTellarisBrand(const std::string& brand);

// The model display text: key "1200" of the installation section.
std::string ModelDisplayText();

// SWVERSION of the installation section, default "V1.0".
std::string SoftwareVersionText();
