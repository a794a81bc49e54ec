#include "settings/model_section.h"

#include <string>

#include "profile/value_format.h"
#include "settings/stored_fields.h"

namespace {

constexpr size_t kFieldWidth = 5;       // "%-5d"
constexpr size_t kFrameFieldWidth = 4;  // "%-4d"

std::vector<int32_t> ReadList(const KeyLookup& lookup, const char* key, const char* fallback, size_t count,
                              size_t stride = kFieldWidth) {
    // Each field is taken from its position and read to the first non-digit.
    return ReadKeyFields(lookup, key, fallback, count, stride, kToFirstNonDigit);
}

// The stored source: sources 1 and 2 need the transparency adapter, the
// feeder source needs a feeder; anything else is the reflective bed.
bool SetStoredSource(ScanSettings& settings, int32_t value, const ProfileLoadContext& context) {
    const bool transparency = value == kSourcePositive || value == kSourceNegative;
    const bool usable = (transparency && context.transparencyAdapter) ||
                        (value == kSourceFeeder && context.feederPresent);
    settings.scanSource = usable ? static_cast<uint8_t>(value) : kSourceReflective;
    settings.sourceId = static_cast<uint16_t>(kSourceIdReflective + (transparency && usable ? value : 0));
    return value == kSourceFeeder && !context.feederPresent;
}

void ReadToneKeys(const KeyLookup& lookup, ToneSettings& tone) {
    SetChannelFields(tone, ToneField::Highlight, ReadList(lookup, "Highlight", "  255  255  255  255", 4));
    SetChannelFields(tone, ToneField::Shadow, ReadList(lookup, "Shadow", "    0    0    0    0", 4));
    SetChannelFields(tone, ToneField::Gamma, ReadList(lookup, "Gamma", "   18   18   18   10", 4));
    tone.hue = ReadKeyNumber(lookup, "Hue", "0", 5);
    SetCircleFields(tone, ReadList(lookup, "CirclePos", "   44  115", 2));
    SetPixelFields(tone, ReadList(lookup, "PixelRGB", "  255  255  255", 3));
    tone.saturation = ReadKeyNumber(lookup, "Saturation", "0", 5);
    SetBalanceFields(tone, ReadList(lookup, "ColorBalance", "    0    0    0", 3));
    tone.channel = StoredChannel(ReadKeyNumber(lookup, "Channel", "    0", 5));
}

// The values that the saved block shares with the live one after a load.
void CopyStoredTone(const ToneSettings& live, ToneSettings& saved) {
    for (int c = 0; c < 4; ++c) saved.channels[c] = live.channels[c];
    saved.saturation = live.saturation;
    for (int i = 0; i < 3; ++i) saved.colorBalance[i] = live.colorBalance[i];
}

std::string Number(int32_t value) { return std::to_string(value); }

std::string ListText(const std::vector<int32_t>& values) { return FormatFields(values, kFieldWidth); }

}  // namespace

ProfileLoadOutcome ReadModelSection(const KeyLookup& lookup, const ProfileLoadContext& context,
                                    ScanSettings& settings, ToneSettings& savedTone, ToneSettings& toneStash) {
    ProfileLoadOutcome outcome;
    SetPersistedScanMode(settings, ReadKeyNumber(lookup, "ScanMode", "1014", 5));
    outcome.clearFeederFlags = SetStoredSource(settings, ReadKeyNumber(lookup, "ScanSource", "0", 2), context);
    settings.resolution = ClampToWord(ReadKeyNumber(lookup, "ScanRes", "300", 5));
    const std::vector<int32_t> custom = ReadList(lookup, "CustomRes", "    0    0    0    0    0", 5);
    for (size_t i = 0; i < 5; ++i) settings.customRes[i] = ClampToWord(custom[i]);
    settings.destination = StoredDestination(ReadKeyNumber(lookup, "Destination", "1021", 5));
    settings.qualityFactor = ClampToWord(ReadKeyNumber(lookup, "Quality Factor", "10", 3));
    SetStoredDescreen(settings, ReadKeyNumber(lookup, "DeScreen", "1017", 5));
    settings.outputMatch = ClampToWord(ReadKeyNumber(lookup, "OutputMatch", "0", 2));
    settings.scaling = ClampToWord(ReadKeyNumber(lookup, "Scaling", "100", 4));
    settings.filterMode = StoredFilterMode(ReadKeyNumber(lookup, "FilterMode", "0", 2));

    ReadToneKeys(lookup, settings.tone);
    ApplyToneLoadRules(settings.tone, context.linearToneHost);
    CopyStoredTone(settings.tone, savedTone);

    const int32_t unit = ReadKeyNumber(lookup, "UnitFlag", "0", 2);
    settings.unit = unit >= 0 && unit <= 3 ? static_cast<uint32_t>(unit) : 0;
    // OutputMode, when present, decides output matching over OutputMatch.
    if (lookup("OutputMode")) settings.outputMatch = ClampToWord(ReadKeyNumber(lookup, "OutputMode", "0", 2));
    const std::vector<int32_t> frame = ReadList(lookup, "Frame", "  78  81 150 145", 4, kFrameFieldWidth);
    for (size_t i = 0; i < 4; ++i) settings.frame[i] = ClampToWord(frame[i]);
    settings.dpiScale = ClampToWord(ReadKeyNumber(lookup, "DpiScale", "0", 5));
    settings.velocity = ClampToByte(ReadKeyNumber(lookup, "Velocity", "1", 4));

    if (settings.scanMode == kModeColour && settings.colourKind == kColour36) {
        toneStash = settings.tone;
        ResetToneAndFilter(settings, context.linearToneHost);
    }
    return outcome;
}

KeyValues ModelSectionValues(const ScanSettings& settings, const int (&frame)[4]) {
    const ToneSettings& tone = settings.tone;
    return {
        {"ScanMode", Number(PersistedScanMode(settings))},
        {"ScanSource", Number(settings.scanSource)},
        {"ScanRes", Number(settings.resolution)},
        {"CustomRes", ListText({settings.customRes[0], settings.customRes[1], settings.customRes[2],
                                settings.customRes[3], settings.customRes[4]})},
        {"Destination", Number(settings.destination)},
        {"Quality Factor", Number(settings.qualityFactor)},
        {"DeScreen", Number(settings.descreen)},
        {"OutputMatch", Number(settings.outputMatch)},
        {"Scaling", Number(settings.scaling)},
        {"FilterMode", Number(settings.filterMode)},
        {"Highlight", ListText(ChannelFields(tone, ToneField::Highlight))},
        {"Shadow", ListText(ChannelFields(tone, ToneField::Shadow))},
        {"Gamma", ListText(ChannelFields(tone, ToneField::Gamma))},
        {"Hue", ListText({tone.hue})},
        {"CirclePos", ListText(CircleFields(tone))},
        {"PixelRGB", ListText(PixelFields(tone))},
        {"Saturation", ListText({tone.saturation})},
        {"ColorBalance", ListText(BalanceFields(tone))},
        {"Channel", ListText({tone.channel})},
        {"UnitFlag", Number(static_cast<int32_t>(settings.unit))},
        {"Frame", FormatFields({frame[0], frame[1], frame[2], frame[3]}, kFrameFieldWidth)},
        {"DpiScale", Number(settings.dpiScale)},
        {"Velocity", Number(settings.velocity)},
        {"PrescanHiRes", Number(settings.prescanHiRes)},
    };
}
