#include "engine/dialog_settings.h"

SourceAndSpeed StartingSourceAndSpeed(bool transparencyAdapter, uint8_t scanSource, uint8_t velocity,
                                      bool feederEnabled) {
    SourceAndSpeed result{};
    result.velocity = velocity & 0x0F;
    if (transparencyAdapter) {
        result.word = uint32_t{scanSource} << 16 | ((velocity >> 4) & 7u);
        result.scanSource = scanSource;
        result.feederEnabled = feederEnabled;
        return result;
    }
    result.feederEnabled = feederEnabled || scanSource == kSourceFeeder;
    result.scanSource = result.feederEnabled ? kSourceFeeder : kSourceReflective;
    result.word = uint32_t{result.scanSource} << 16;
    return result;
}

void ApplyResetValues(ScanSettings& settings, ToneSettings& savedTone, bool linearToneHost, HuePoint wheelPoint) {
    settings.scanMode = kModeColour;
    settings.colourKind = kColour24;
    settings.isColour = true;
    settings.scanSource = kSourceReflective;
    settings.sourceId = kSourceIdReflective;
    settings.resolution = 300;
    settings.destination = kDestMonitor;
    settings.qualityFactor = 10;
    settings.descreen = kDescreenNone;
    settings.descreenActive = false;
    settings.outputMatch = 0;
    settings.scaling = 100;
    settings.filterMode = 0;

    ToneSettings tone = savedTone;
    for (int c = kToneMaster; c <= kToneBlue; ++c) {
        tone.channels[c].highlight = 255;
        tone.channels[c].shadow = 0;
        tone.channels[c].gamma = (c == kToneMaster || linearToneHost) ? 10 : 18;
    }
    tone.channel = kToneMaster;
    for (int8_t& balance : tone.colorBalance) balance = 0;
    tone.hue = 0;
    tone.saturation = 0;
    tone.pixelRGB = {255, 255, 255, tone.pixelRGB.spare};
    tone.circlePos = wheelPoint;
    savedTone = tone;
    settings.tone = tone;
}
