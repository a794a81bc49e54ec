#include "sim/scanner_config.h"

#include <cctype>
#include <cstddef>
#include <limits>

namespace sim {
namespace {

constexpr const char* kSection = "scanner";
constexpr uint32_t kHighestFunction = 9;  // SPI_CALL carries functions 0..9

std::string Trim(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Decimal or 0x-prefixed hexadecimal, no sign, at most `max`.
bool ParseNumber(const std::string& text, uint64_t max, uint64_t& value) {
    size_t pos = 0;
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        pos = 2;
    }
    if (pos == text.size()) return false;
    uint64_t result = 0;
    for (; pos < text.size(); ++pos) {
        const int c = std::tolower(static_cast<unsigned char>(text[pos]));
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else {
            return false;
        }
        if (digit >= base) return false;
        result = result * base + digit;
        if (result > max) return false;
    }
    value = result;
    return true;
}

template <typename T>
bool SetNumber(T& field, const std::string& text, uint64_t min = 0,
               uint64_t max = std::numeric_limits<T>::max()) {
    uint64_t value;
    if (!ParseNumber(text, max, value) || value < min) return false;
    field = static_cast<T>(value);
    return true;
}

bool SetFlag(bool& field, const std::string& text) {
    if (text != "0" && text != "1") return false;
    field = text == "1";
    return true;
}

// 1..N characters, optionally in double quotes (to keep blanks), padded with
// blanks on the right to N.
template <size_t N>
bool SetChars(std::array<char, N>& field, const std::string& text) {
    std::string chars = text;
    if (chars.size() >= 2 && chars.front() == '"' && chars.back() == '"') {
        chars = chars.substr(1, chars.size() - 2);
    }
    if (chars.empty() || chars.size() > N) return false;
    field.fill(' ');
    chars.copy(field.data(), chars.size());
    return true;
}

struct Key {
    const char* name;  // lower case
    bool (*apply)(ScannerConfig&, const std::string&);
};

const Key kKeys[] = {
    {"addrchk", [](ScannerConfig& c, const std::string& v) { return SetNumber(c.addrChkHandle, v); }},
    {"log", [](ScannerConfig& c, const std::string& v) { return SetFlag(c.log, v); }},
    {"segments",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.segments, v, 1, 16); }},
    {"bufaddrcount",
     [](ScannerConfig& c, const std::string& v) {
         c.forceBufAddrCount = SetNumber(c.bufAddrCount, v);
         return c.forceBufAddrCount;
     }},
    {"inquirystatus",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.inquiryStatus, v); }},
    {"revision",
     [](ScannerConfig& c, const std::string& v) {
         std::array<char, 1> chars;
         if (!SetChars(chars, v)) return false;
         c.revision = chars[0];
         return true;
     }},
    {"revision2", [](ScannerConfig& c, const std::string& v) { return SetChars(c.revision2, v); }},
    {"modelprefix",
     [](ScannerConfig& c, const std::string& v) { return SetChars(c.modelPrefix, v); }},
    {"resolutioncode",
     [](ScannerConfig& c, const std::string& v) { return SetChars(c.resolutionCode, v); }},
    {"capabilityflags",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.capabilityFlags, v); }},
    {"refred",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.referenceLevels[0], v); }},
    {"refgreen",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.referenceLevels[1], v); }},
    {"refblue",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.referenceLevels[2], v); }},
    {"refgrey",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.referenceLevels[3], v); }},
    {"feeder", [](ScannerConfig& c, const std::string& v) { return SetNumber(c.feeder, v); }},
    {"reportedbytesperline",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.reportedBytesPerLine, v, 0, 0xFFFF); }},
    {"reportedlines", [](ScannerConfig& c, const std::string& v) { return SetNumber(c.reportedLines, v, 0, 0xFFFF); }},
    {"flag", [](ScannerConfig& c, const std::string& v) { return SetNumber(c.flag, v); }},
    {"fault", [](ScannerConfig& c, const std::string& v) { return SetNumber(c.faultWord, v); }},
    {"warmuppolls",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.warmupPolls, v); }},
    {"neverready", [](ScannerConfig& c, const std::string& v) { return SetFlag(c.neverReady, v); }},
    {"stopbusypolls",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.stopBusyPolls, v); }},
    {"shadingneeded",
     [](ScannerConfig& c, const std::string& v) {
         uint8_t mode;
         if (!SetNumber(mode, v, 0, 2)) return false;
         c.shadingNeeded = static_cast<ShadingRequest>(mode);
         return true;
     }},
    {"shadinglinescolour",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.shadingLinesColour, v, 1); }},
    {"shadinglinesgrey",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.shadingLinesGrey, v, 1); }},
    {"seed", [](ScannerConfig& c, const std::string& v) { return SetNumber(c.seed, v); }},
    {"gainvariation",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.gainVariation, v, 0, 50); }},
    {"noise", [](ScannerConfig& c, const std::string& v) { return SetNumber(c.noise, v, 0, 1000); }},
    {"whitelevel",
     [](ScannerConfig& c, const std::string& v) { return SetNumber(c.whiteLevel, v, 1, 4095); }},
    {"layout",
     [](ScannerConfig& c, const std::string& v) {
         static const char* const kNames[] = {"document", "photos", "lid", "film"};
         for (size_t i = 0; i < sizeof kNames / sizeof kNames[0]; ++i) {
             if (Lower(v) != kNames[i]) continue;
             c.layout = static_cast<BedLayout>(i);
             return true;
         }
         return false;
     }},
    {"bedfile",
     [](ScannerConfig& c, const std::string& v) {
         std::string path = v;
         if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
             path = path.substr(1, path.size() - 2);
         }
         c.bedFile = path;
         return true;
     }},
};

// Key "F<function>.<n>"; false when the key does not have that form.
bool ParseScriptKey(const std::string& key, uint32_t& function, uint32_t& requestNumber) {
    if (key.size() < 4 || key[0] != 'f') return false;
    const size_t dot = key.find('.');
    if (dot == std::string::npos) return false;
    uint64_t f;
    uint64_t n;
    if (!ParseNumber(key.substr(1, dot - 1), kHighestFunction, f)) return false;
    if (!ParseNumber(key.substr(dot + 1), std::numeric_limits<uint32_t>::max(), n) || n == 0) {
        return false;
    }
    function = static_cast<uint32_t>(f);
    requestNumber = static_cast<uint32_t>(n);
    return true;
}

void AddScriptedStatus(ScannerConfig& config, const ScriptedStatus& entry) {
    for (ScriptedStatus& existing : config.script) {
        if (existing.function == entry.function && existing.requestNumber == entry.requestNumber) {
            existing.status = entry.status;
            return;
        }
    }
    config.script.push_back(entry);
}

void ApplyEntry(ScannerConfig& config, const std::string& key, const std::string& value,
                const std::string& where) {
    const std::string name = Lower(key);
    ScriptedStatus entry;
    if (ParseScriptKey(name, entry.function, entry.requestNumber)) {
        if (SetNumber(entry.status, value)) {
            AddScriptedStatus(config, entry);
        } else {
            config.problems.push_back(where + "bad status for " + key + ": " + value);
        }
        return;
    }
    for (const Key& candidate : kKeys) {
        if (name != candidate.name) continue;
        if (!candidate.apply(config, value)) {
            config.problems.push_back(where + "bad value for " + key + ": " + value);
        }
        return;
    }
    config.problems.push_back(where + "unknown key " + key);
}

}  // namespace

ScannerConfig ParseScannerConfig(const std::string& iniText) {
    ScannerConfig config;
    bool inSection = false;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start < iniText.size()) {
        size_t end = iniText.find('\n', start);
        if (end == std::string::npos) end = iniText.size();
        const std::string line = Trim(iniText.substr(start, end - start));
        start = end + 1;
        ++lineNumber;

        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            inSection = line.back() == ']' && Lower(Trim(line.substr(1, line.size() - 2))) == kSection;
            continue;
        }
        if (!inSection) continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            config.problems.push_back(where + "no '=' in " + line);
            continue;
        }
        ApplyEntry(config, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), where);
    }
    return config;
}

const ScriptedStatus* FindScriptedStatus(const ScannerConfig& config, uint32_t function,
                                         uint32_t requestNumber) {
    for (const ScriptedStatus& entry : config.script) {
        if (entry.function == function && entry.requestNumber == requestNumber) return &entry;
    }
    return nullptr;
}

}  // namespace sim
