// Fuzz target of the stored-settings readers: the input is the text of one
// profile section ("key=value" lines, as a settings file or WIN.INI holds
// them). Whatever it says, the records read from it must hold values the
// engine accepts, and a record written back must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "settings/file_record.h"
#include "settings/model_section.h"

namespace {

std::map<std::string, std::string> ParseSection(const uint8_t* data, size_t size) {
    std::map<std::string, std::string> keys;
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 1;
    }
    return keys;
}

KeyLookup LookupIn(const std::map<std::string, std::string>& keys) {
    return [&keys](const std::string& key) -> std::optional<std::string> {
        auto found = keys.find(key);
        if (found == keys.end()) return std::nullopt;
        return found->second;
    };
}

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckTone(const ToneSettings& tone) {
    for (const ToneChannel& channel : tone.channels) {
        Require(channel.highlight >= 1);
        Require(channel.shadow < channel.highlight);
    }
    Require(tone.channel <= kToneBlue);
}

void CheckSettings(const ScanSettings& settings) {
    Require(settings.scanMode >= kModeLineArt && settings.scanMode <= kModeColour);
    Require(settings.colourKind <= kColour36);
    Require(settings.isColour == (settings.scanMode == kModeColour));
    Require(settings.destination >= kDestMonitor && settings.destination <= kDestContTonePrinter);
    Require(settings.filterMode <= 8);
    Require(settings.scanSource <= kSourceFeeder);
    Require(settings.unit <= 3);
}

void FuzzFileRecord(const KeyLookup& lookup, int n) {
    ScanSettings settings;
    ToneSettings saved;
    ReadFileType(lookup);
    ReadFileRecord(lookup, n, settings, saved);
    CheckSettings(settings);
    CheckTone(saved);
    for (const ToneChannel& channel : saved.channels) Require(channel.gamma >= 1);

    // Written back and read again, the record is unchanged.
    std::map<std::string, std::string> rewritten;
    for (const auto& [key, value] : FileRecordValues(settings, saved, n)) rewritten[key] = value;
    ScanSettings again = settings;
    ToneSettings againTone;
    ReadFileRecord(LookupIn(rewritten), n, again, againTone);
    Require(std::memcmp(&againTone, &saved, sizeof saved) == 0);
    Require(again.scanMode == settings.scanMode && again.colourKind == settings.colourKind);
    Require(again.resolution == settings.resolution && again.scaling == settings.scaling);
    Require(again.destination == settings.destination && again.descreen == settings.descreen);
    Require(again.qualityFactor == settings.qualityFactor && again.outputMatch == settings.outputMatch);
    Require(again.filterMode == settings.filterMode);
}

void FuzzModelSection(const KeyLookup& lookup, uint8_t flags) {
    ProfileLoadContext context;
    context.feederPresent = flags & 1;
    context.transparencyAdapter = flags & 2;
    context.linearToneHost = flags & 4;
    ScanSettings settings;
    ToneSettings saved;
    ToneSettings stash;
    ProfileLoadOutcome outcome = ReadModelSection(lookup, context, settings, saved, stash);
    CheckSettings(settings);
    CheckTone(settings.tone);
    CheckTone(saved);
    Require(!(outcome.clearFeederFlags && context.feederPresent));
    Require(settings.scanSource != kSourceFeeder || context.feederPresent);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t control = data[0];
    const std::map<std::string, std::string> keys = ParseSection(data + 1, size - 1);
    const KeyLookup lookup = LookupIn(keys);
    FuzzFileRecord(lookup, control % 29);
    FuzzModelSection(lookup, control);
    return 0;
}
