#include "settings/file_record.h"

#include "profile/value_format.h"
#include "settings/stored_fields.h"

namespace {

constexpr size_t kFieldWidth = 5;      // "%-5d"
constexpr size_t kDigitsPerField = 4;  // the fifth character is the padding blank
constexpr int kLinearGamma = 10;  // gamma 1.0, taken for a field below 1

std::string ListText(const std::vector<int32_t>& values) { return FormatFields(values, kFieldWidth); }

// Reads the keys of one record: names with the record number appended.
struct RecordReader {
    const KeyLookup& lookup;
    std::string suffix;

    int32_t Number(const char* key, const char* fallback) const {
        return ReadKeyNumber(lookup, key + suffix, fallback, kFieldWidth);
    }
    std::vector<int32_t> List(const char* key, size_t count) const {
        return ReadKeyFields(lookup, key + suffix, "0", count, kFieldWidth, kDigitsPerField);
    }
};

}  // namespace

int FileTypeForExtension(const std::string& extension) {
    if (EqualIgnoringCase(extension, "PAR")) return 0;
    if (EqualIgnoringCase(extension, "SET")) return 1;
    return -1;
}

std::string FileTypeText(int fileType) { return ListText({fileType}); }

int32_t ReadFileType(const KeyLookup& lookup) { return ReadKeyNumber(lookup, "FileType", "4", kFieldWidth); }

KeyValues FileRecordValues(const ScanSettings& settings, const ToneSettings& savedTone, int n) {
    const std::string suffix = std::to_string(n);
    KeyValues values = {
        {"ScanMode", ListText({PersistedScanMode(settings)})},
        {"Resolution", ListText({settings.resolution})},
        {"Destination", ListText({settings.destination})},
        {"Quality Factor", ListText({settings.qualityFactor})},
        {"DeScreen", ListText({settings.descreen})},
        {"OutputMatch", ListText({settings.outputMatch})},
        {"Scaling", ListText({settings.scaling})},
        {"FilterMode", ListText({settings.filterMode})},
        {"Highlight", ListText(ChannelFields(savedTone, ToneField::Highlight))},
        {"Shadow", ListText(ChannelFields(savedTone, ToneField::Shadow))},
        {"Gamma", ListText(ChannelFields(savedTone, ToneField::Gamma))},
        {"HueWheelPos", ListText(CircleFields(savedTone))},
        {"HueRGB", ListText(PixelFields(savedTone))},
        {"Hue", ListText({savedTone.hue})},
        {"Saturation", ListText({savedTone.saturation})},
        {"ColorBalance", ListText(BalanceFields(savedTone))},
        {"Channel", ListText({savedTone.channel})},
    };
    for (auto& entry : values) entry.first += suffix;
    return values;
}

void ReadFileRecord(const KeyLookup& lookup, int n, ScanSettings& settings, ToneSettings& savedTone) {
    const RecordReader record{lookup, std::to_string(n)};
    SetPersistedScanMode(settings, record.Number("ScanMode", "1014"));
    settings.resolution = ClampToWord(record.Number("Resolution", "300"));
    settings.destination = StoredDestination(record.Number("Destination", "0"));
    settings.qualityFactor = ClampToWord(record.Number("Quality Factor", "10"));
    SetStoredDescreen(settings, record.Number("DeScreen", "1017"));
    settings.outputMatch = ClampToWord(record.Number("OutputMatch", "0"));
    settings.scaling = ClampToWord(record.Number("Scaling", "100"));
    settings.filterMode = StoredFilterMode(record.Number("FilterMode", "0"));

    SetChannelFields(savedTone, ToneField::Highlight, record.List("Highlight", 4));
    SetChannelFields(savedTone, ToneField::Shadow, record.List("Shadow", 4));
    std::vector<int32_t> gamma = record.List("Gamma", 4);
    for (int32_t& g : gamma)
        if (g < 1) g = kLinearGamma;
    SetChannelFields(savedTone, ToneField::Gamma, gamma);
    ApplyToneLoadRules(savedTone, false);
    SetCircleFields(savedTone, record.List("HueWheelPos", 2));
    SetPixelFields(savedTone, record.List("HueRGB", 3));
    savedTone.hue = record.Number("Hue", "0");
    savedTone.saturation = record.Number("Saturation", "0");
    SetBalanceFields(savedTone, record.List("ColorBalance", 3));
    savedTone.channel = StoredChannel(record.Number("Channel", "0"));
}
