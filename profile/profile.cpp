#include "profile/profile.h"

#include <windows.h>

#include <vector>

#include "profile/value_format.h"
#include "twain/platform.h"

std::string ReadProfileText(const char* section, const char* key, const char* fallback, size_t buffer) {
    std::vector<char> text(buffer + 1, '\0');
    GetProfileStringA(section, key, fallback, text.data(), static_cast<DWORD>(buffer));
    return std::string(text.data());
}

int32_t ReadProfileNumber(const char* section, const char* key, const char* fallback, size_t buffer) {
    return ParseDecimal(ReadProfileText(section, key, fallback, buffer));
}

void WriteProfileText(const char* section, const char* key, const std::string& value) {
    WriteProfileStringA(section, key, value.c_str());
}

std::string WindowsDirectory() {
    char dir[130] = {};
    GetWindowsDirectoryA(dir, sizeof dir);
    return dir;
}

std::string SourcesDirectory() { return WindowsDirectory() + "\\" + kSourcesFolder; }

std::string InstallDirectory() { return SourcesDirectory() + "\\KVSC_A3"; }

std::string BrandText() { return ReadProfileText(kInstallSection, "BRAND", "SCANNER", 256); }

bool IsTellarisBrand(const std::string& brand) { return lstrcmpiA(brand.c_str(), "Tellaris") == 0; }

std::string ModelDisplayText() {
    return ReadProfileText(kInstallSection, "1200", "A3 Flatbed Scanner", 130);
}

std::string SoftwareVersionText() { return ReadProfileText(kInstallSection, "SWVERSION", "V1.0", 130); }
