#include "settings/profile_lookup.h"

#include <windows.h>

#include <vector>

namespace {

// Large enough for every value the readers keep: they cut each to its own
// buffer afterwards.
constexpr DWORD kValueBuffer = 1024;

DWORD ReadString(const std::string& section, const char* key, const std::string& file, std::vector<char>& buffer) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    if (file.empty()) return GetProfileStringA(section.c_str(), key, "", buffer.data(), size);
    return GetPrivateProfileStringA(section.c_str(), key, "", buffer.data(), size, file.c_str());
}

// The names of the section's keys: the profile returns them zero-separated
// when asked for no key, and fills the buffer up to two characters short
// when they do not fit.
std::vector<std::string> KeyNames(const std::string& section, const std::string& file) {
    std::vector<char> buffer(4096);
    DWORD length = ReadString(section, nullptr, file, buffer);
    while (length + 2 >= buffer.size() && buffer.size() < (1u << 20)) {
        buffer.assign(buffer.size() * 4, '\0');
        length = ReadString(section, nullptr, file, buffer);
    }
    std::vector<std::string> names;
    for (DWORD i = 0; i < length && buffer[i] != '\0'; i += static_cast<DWORD>(names.back().size()) + 1)
        names.emplace_back(buffer.data() + i);
    return names;
}

}  // namespace

KeyLookup ProfileSectionLookup(const std::string& section, const std::string& file) {
    std::vector<std::string> names = KeyNames(section, file);
    return [section, file, names](const std::string& key) -> std::optional<std::string> {
        bool present = false;
        for (const std::string& name : names) present = present || lstrcmpiA(name.c_str(), key.c_str()) == 0;
        if (!present) return std::nullopt;
        std::vector<char> value(kValueBuffer, '\0');
        ReadString(section, key.c_str(), file, value);
        return std::string(value.data());
    };
}

bool WriteProfileValues(const std::string& section, const std::string& file, const KeyValues& values) {
    bool written = true;
    for (const auto& [key, value] : values) {
        const BOOL done = file.empty()
                              ? WriteProfileStringA(section.c_str(), key.c_str(), value.c_str())
                              : WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
        written = written && done;
    }
    return written;
}
