#include "settings/scan_settings.h"

#include <algorithm>

#include "device/request_blocks.h"

ScanSettings DefaultScanSettings() { return ScanSettings{}; }

void ResetToneSettings(ToneSettings& tone, bool scanwareHost, uint16_t scanMode, uint16_t colourKind) {
    const bool colourGamma =
        !scanwareHost && scanMode == kModeColour && (colourKind == kColour24 || colourKind == kColourCmyk);
    for (int c = kToneRed; c <= kToneBlue; ++c) {
        tone.channels[c].highlight = 255;
        tone.channels[c].shadow = 0;
        tone.channels[c].gamma = colourGamma ? 18 : 10;
    }
    const ToneSettings defaults;
    tone.channel = defaults.channel;
    tone.circlePos = defaults.circlePos;
    tone.pixelRGB = defaults.pixelRGB;
    tone.hue = defaults.hue;
    tone.saturation = defaults.saturation;
    std::copy(std::begin(defaults.colorBalance), std::end(defaults.colorBalance), tone.colorBalance);
}

void ResetToneAndFilter(ScanSettings& settings, bool scanwareHost) {
    ResetToneSettings(settings.tone, scanwareHost, settings.scanMode, settings.colourKind);
    settings.filterMode = 0;
}

void ApplyToneLoadRules(ToneSettings& tone, bool scanwareHost) {
    for (ToneChannel& channel : tone.channels) {
        if (channel.highlight == 0) channel.highlight = 255;
        if (channel.shadow >= channel.highlight) channel.shadow = 0;
        if (scanwareHost) channel.gamma = 10;
    }
}

bool SetPersistedScanMode(ScanSettings& settings, int value) {
    if (value < kModeLineArt || value > kModeColour + kColour36) return false;
    settings.isColour = value >= kModeColour;
    settings.scanMode = settings.isColour ? kModeColour : static_cast<uint16_t>(value);
    settings.colourKind = settings.isColour ? static_cast<uint16_t>(value - kModeColour) : kColour24;
    return true;
}

int PersistedScanMode(const ScanSettings& settings) {
    return settings.scanMode == kModeColour ? kModeColour + settings.colourKind : settings.scanMode;
}

uint16_t OpticalRate(uint16_t opticalResolution) {
    return opticalResolution == 606 ? 1200 : opticalResolution;
}

void ComputeScanResolution(const ScanSettings& settings, bool fileOrMemoryTransfer, ScanDerived& derived) {
    const uint32_t rate = OpticalRate(derived.opticalResolution);
    const uint32_t requested = uint32_t{settings.resolution} * settings.scaling / 100;
    uint32_t resolution = requested;
    if (settings.destination == kDestHalftonePrinter)
        resolution = uint32_t{settings.resolution} * settings.qualityFactor * settings.scaling / 1000;
    if (settings.descreenActive && resolution < 300) resolution = 300;

    derived.interpolate = fileOrMemoryTransfer && resolution > rate;
    // The resampler doubles the image, so half the requested rate is scanned.
    if (derived.interpolate) resolution = requested >> 1;
    derived.scanResolution = static_cast<uint16_t>(std::min(resolution, rate));
}

bool ModeCodeFor(uint16_t scanMode, uint16_t colourKind, uint8_t& modeCode) {
    switch (scanMode) {
        case kModeLineArt: modeCode = 0; return true;
        case kModeFastGray: modeCode = 1; return true;
        case kModeGray: modeCode = 2; return true;
        case kModeColour:
            if (colourKind > kColour36) return false;
            modeCode = colourKind == kColour36 ? 5 : 3;
            return true;
        default: return false;
    }
}

void NormaliseDescreen(ScanSettings& settings) {
    if (settings.descreen < kDescreenNone || settings.descreen > kDescreenArtPrint) settings.descreen = kDescreenNone;
    settings.descreenActive = settings.descreen != kDescreenNone;
}

bool NeedsPostProcess(const ScanSettings& settings, bool batchScanToFile) {
    return batchScanToFile || settings.outputMatch != 0 || settings.filterMode != 0 || settings.descreenActive;
}

// Output pixels across `positions` optical units as the scanner counts them:
// an accumulator starts at `rate`, gains `scanResolution` per position and
// gives one pixel each time it is brought back from above `rate`. After n
// positions that is ceil(n * scanResolution / rate).
static uint32_t OutputCount(uint32_t positions, uint32_t scanResolution, uint32_t rate) {
    const uint64_t added = uint64_t{positions} * scanResolution;
    return static_cast<uint32_t>((added + rate - 1) / rate);
}

bool AcceptScanWidth(uint16_t left, uint16_t& right, uint16_t scanResolution, uint16_t opticalResolution,
                     bool lineArt) {
    const uint32_t rate = OpticalRate(opticalResolution);
    if (rate == 0) return false;
    for (uint32_t edge = right; edge > left; --edge) {
        uint32_t count = OutputCount(edge - left, scanResolution, rate);
        if (lineArt) count /= 8;
        if (count % 4 == 0 && count % 128 != 0) {
            right = static_cast<uint16_t>(edge);
            return true;
        }
    }
    return false;
}

static bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

SlowPacing SlowSpeedPacing(uint16_t resolution, uint16_t scanMode) {
    const double perInch = resolution * 11.5;
    double delay = 40000 / perInch;
    uint16_t every = 1;
    if (resolution >= 151 && resolution <= 250) {
        every = scanMode == kModeFastGray ? 1 : scanMode == kModeGray ? 4 : 3;
        if (scanMode == kModeFastGray) delay = 30000 / perInch;
    } else if (resolution >= 251 && resolution <= 350) {
        every = scanMode == kModeFastGray ? 1 : scanMode == kModeGray ? 6 : 4;
        if (scanMode == kModeFastGray) delay = 25000 / perInch;
    } else if (resolution > 350) {
        every = scanMode == kModeFastGray ? 70 : scanMode == kModeGray ? 90 : 100;
    }
    return {static_cast<uint32_t>(delay), every};
}

bool PacedBeforeLine(const SlowPacing& pacing, uint32_t line) { return pacing.every == 0 || line % pacing.every == 0; }

SpeedChoice ApplySpeedRule(uint8_t velocity, std::string_view slowSpeedSetting, uint16_t scanMode,
                           uint8_t scanSource, uint16_t resolution) {
    const uint8_t highBits = velocity & 0xF0;
    const bool slow = !EqualsIgnoringCase(slowSpeedSetting, "No") && scanMode < kModeColour &&
                      scanSource != kSourceFeeder && resolution <= 400;
    return slow ? SpeedChoice{static_cast<uint8_t>(highBits | 2), true} : SpeedChoice{highBits, false};
}

bool ComputeScanWindow(const ScanSettings& settings, bool fileOrMemoryTransfer, uint16_t saverDelay,
                       ScanFrame& frame, ScanDerived& derived, uint8_t* block) {
    if (frame.right <= frame.left || frame.bottom <= frame.top) return false;
    uint8_t modeCode = 0;
    if (!ModeCodeFor(settings.scanMode, settings.colourKind, modeCode)) return false;
    derived.modeCode = modeCode;
    ComputeScanResolution(settings, fileOrMemoryTransfer, derived);
    uint16_t right = frame.right;
    if (!AcceptScanWidth(frame.left, right, derived.scanResolution, derived.opticalResolution,
                         settings.scanMode == kModeLineArt))
        return false;
    frame.right = right;

    namespace sp = blocks::scanparam;
    blocks::PutU16(block, sp::kLeft, frame.left);
    blocks::PutU16(block, sp::kTop, frame.top);
    blocks::PutU16(block, sp::kRight, frame.right);
    blocks::PutU16(block, sp::kBottom, frame.bottom);
    block[sp::kSource] = settings.scanSource;
    block[sp::kConstantOne] = 1;
    block[sp::kImageType] = modeCode;
    block[sp::kVelocity] = settings.velocity;
    blocks::PutU16(block, sp::kResolution, derived.scanResolution);
    blocks::PutU16(block, sp::kSaverDelay, saverDelay);
    block[sp::kSaverOnly] = 0;
    return true;
}
