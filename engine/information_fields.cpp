#include "engine/information_fields.h"

#include <cstdio>

#include "resources/resource_ids.h"

namespace {

int ModeText(const ScanSettings& s) {
    switch (s.scanMode) {
        case kModeLineArt: return TXT_MODE_LINEART;
        case kModeFastGray: return TXT_MODE_FASTGRAY;
        case kModeGray: return TXT_MODE_GRAY;
        case kModeColour:
            return s.colourKind == kColourCmyk ? TXT_MODE_CMYK
                   : s.colourKind == kColour36 ? TXT_MODE_36BIT
                                               : TXT_MODE_24BIT;
        default: return 0;
    }
}

int SourceText(uint16_t sourceId) {
    switch (sourceId) {
        case kSourceIdReflective: return TXT_SOURCE_REFLECTIVE;
        case kSourceIdReflective + 1: return TXT_SOURCE_POSITIVE;
        case kSourceIdReflective + 2: return TXT_SOURCE_NEGATIVE;
        default: return 0;
    }
}

int DestinationText(uint16_t destination) {
    switch (destination) {
        case kDestMonitor: return TXT_DEST_MONITOR;
        case kDestHalftonePrinter: return TXT_DEST_HALFTONE;
        case kDestContTonePrinter: return TXT_DEST_CONT_TONE;
        default: return 0;
    }
}

int DescreenText(uint16_t descreen) {
    switch (descreen) {
        case kDescreenNone: return TXT_NONE;
        case kDescreenNewspaper: return TXT_DESCREEN_NEWSPAPER;
        case kDescreenMagazine: return TXT_DESCREEN_MAGAZINE;
        case kDescreenArtPrint: return TXT_DESCREEN_ART_PRINT;
        default: return 0;
    }
}

int FilterText(uint16_t filterMode) {
    if (filterMode == 0) return TXT_NONE;
    if (filterMode <= 6) return TXT_FILTER_INVERT + filterMode - 1;
    if (filterMode == 7) return TXT_FILTER_EMBOSS;
    if (filterMode == 8) return TXT_FILTER_UNSHARP_MASK;
    return 0;
}

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Decimal(long value) { return std::to_string(value); }

// A length in inches as shown in `unit`.
double InUnit(double inches, const ScanSettings& s) {
    switch (s.unit) {
        case 1: return inches * (s.resolution * s.scaling / 100);
        case 2: return s.scaling * inches * 2.54 / 100;
        case 3: return s.scaling * inches * 25.4 / 100;
        default: return s.scaling * inches / 100;
    }
}

}  // namespace

std::vector<InformationField> InformationFields(const ScanSettings& s, double widthInches, double lengthInches) {
    const int unitText = TXT_UNIT_INCHES + static_cast<int>(s.unit <= 3 ? s.unit : 0);
    std::vector<InformationField> fields = {
        {IDC_INFO_MODE, ModeText(s), ""},
        {IDC_INFO_SOURCE, SourceText(s.sourceId), ""},
        {IDC_INFO_RESOLUTION, 0, Decimal(s.resolution)},
        {IDC_INFO_DESTINATION, DestinationText(s.destination), ""},
        {IDC_INFO_DESCREEN, DescreenText(s.descreen), ""},
        {IDC_INFO_MATCHING, s.outputMatch ? TXT_LABEL_YES : TXT_LABEL_NO, ""},
        {IDC_INFO_WIDTH, 0, Format("%4.2f", InUnit(widthInches, s))},
        {IDC_INFO_LENGTH, 0, Format("%4.2f", InUnit(lengthInches, s))},
        {IDC_INFO_WIDTH_UNIT, unitText, ""},
        {IDC_INFO_LENGTH_UNIT, unitText, ""},
        {IDC_INFO_SCALING, 0, Decimal(s.scaling)},
        {IDC_INFO_FILTER, FilterText(s.filterMode), ""},
    };
    // Columns red, green, blue, master.
    const int channels[4] = {kToneRed, kToneGreen, kToneBlue, kToneMaster};
    for (int column = 0; column < 4; ++column) {
        const ToneChannel& channel = s.tone.channels[channels[column]];
        fields.push_back({IDC_INFO_HIGHLIGHT_RED + 2 * column, 0, Decimal(channel.highlight)});
        fields.push_back({IDC_INFO_SHADOW_RED + 2 * column, 0, Decimal(channel.shadow)});
        fields.push_back({IDC_INFO_GAMMA_RED + 2 * column, 0, Format("%1.1f", channel.gamma / 10.0)});
    }
    fields.push_back({IDC_INFO_BALANCE_CR, 0, Decimal(s.tone.colorBalance[0])});
    fields.push_back({IDC_INFO_BALANCE_MG, 0, Decimal(s.tone.colorBalance[1])});
    fields.push_back({IDC_INFO_BALANCE_YB, 0, Decimal(s.tone.colorBalance[2])});
    fields.push_back({IDC_INFO_SATURATION, 0, Decimal(s.tone.saturation)});
    return fields;
}
