#include "settings/stored_fields.h"

#include "profile/value_format.h"

namespace {

constexpr int kStoredChannelOrder[4] = {kToneRed, kToneGreen, kToneBlue, kToneMaster};

int32_t At(const std::vector<int32_t>& values, size_t index) { return index < values.size() ? values[index] : 0; }

}  // namespace

std::vector<int32_t> ChannelFields(const ToneSettings& tone, ToneField field) {
    std::vector<int32_t> values;
    for (int c : kStoredChannelOrder) {
        const ToneChannel& channel = tone.channels[c];
        switch (field) {
            case ToneField::Highlight: values.push_back(channel.highlight); break;
            case ToneField::Shadow: values.push_back(channel.shadow); break;
            case ToneField::Gamma: values.push_back(channel.gamma); break;
        }
    }
    return values;
}

void SetChannelFields(ToneSettings& tone, ToneField field, const std::vector<int32_t>& values) {
    for (size_t i = 0; i < 4; ++i) {
        ToneChannel& channel = tone.channels[kStoredChannelOrder[i]];
        switch (field) {
            case ToneField::Highlight: channel.highlight = ClampToByte(At(values, i)); break;
            case ToneField::Shadow: channel.shadow = ClampToByte(At(values, i)); break;
            case ToneField::Gamma: channel.gamma = ClampToSignedByte(At(values, i)); break;
        }
    }
}

std::vector<int32_t> CircleFields(const ToneSettings& tone) { return {tone.circlePos.x, tone.circlePos.y}; }

std::vector<int32_t> PixelFields(const ToneSettings& tone) {
    return {tone.pixelRGB.r, tone.pixelRGB.g, tone.pixelRGB.b};
}

std::vector<int32_t> BalanceFields(const ToneSettings& tone) {
    return {tone.colorBalance[0], tone.colorBalance[1], tone.colorBalance[2]};
}

void SetCircleFields(ToneSettings& tone, const std::vector<int32_t>& values) {
    tone.circlePos = {At(values, 0), At(values, 1)};
}

void SetPixelFields(ToneSettings& tone, const std::vector<int32_t>& values) {
    tone.pixelRGB.r = ClampToByte(At(values, 0));
    tone.pixelRGB.g = ClampToByte(At(values, 1));
    tone.pixelRGB.b = ClampToByte(At(values, 2));
}

void SetBalanceFields(ToneSettings& tone, const std::vector<int32_t>& values) {
    for (size_t i = 0; i < 3; ++i) tone.colorBalance[i] = ClampToSignedByte(At(values, i));
}

uint16_t StoredDestination(int32_t value) {
    return value >= kDestMonitor && value <= kDestContTonePrinter ? static_cast<uint16_t>(value) : kDestMonitor;
}

uint16_t StoredFilterMode(int32_t value) { return value >= 0 && value <= 8 ? static_cast<uint16_t>(value) : 0; }

uint16_t StoredChannel(int32_t value) {
    return value >= kToneMaster && value <= kToneBlue ? static_cast<uint16_t>(value) : kToneMaster;
}

void SetStoredDescreen(ScanSettings& settings, int32_t value) {
    settings.descreen = ClampToWord(value);
    if (settings.descreen != kDescreenNone) settings.descreenActive = true;
}
