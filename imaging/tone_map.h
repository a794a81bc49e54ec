// Tone maps: byte tables from input level to output level, built from a tone
// triple (highlight, shadow, gamma) or from brightness, contrast and gamma.
// The same maps correct the preview and are downloaded to the scanner.
#pragma once

#include <cstdint>
#include <string>

#include "imaging/image_records.h"

namespace tone {

// Channel index of a tone map. The channel words of ToneSettings are kept in
// another order: master, red, green, blue (kToneMaster..kToneBlue).
enum ChannelIndex : int { kRed = 0, kGreen = 1, kBlue = 2, kMaster = 3 };

// Channel word of ToneSettings that feeds the map of a channel index.
inline int WordOfChannel(int channelIndex) { return channelIndex == kMaster ? kToneMaster : channelIndex + 1; }

constexpr int kTableSize = 256;
constexpr int kMaxInputCount = 1024;
constexpr int kLinearGamma = 10;  // gamma is held in tenths
constexpr int kMinGamma = 1;
constexpr int kMaxGamma = 79;

// A tone triple is the low three bytes of a channel word: byte 0 highlight,
// byte 1 shadow, byte 2 gamma in tenths (signed). Byte 3 is spare.
inline int Highlight(uint32_t triple) { return static_cast<uint8_t>(triple); }
inline int Shadow(uint32_t triple) { return static_cast<uint8_t>(triple >> 8); }
inline int Gamma(uint32_t triple) { return static_cast<int8_t>(triple >> 16); }
uint32_t MakeTriple(int highlight, int shadow, int gamma);
inline uint32_t TripleOf(const ToneChannel& c) { return MakeTriple(c.highlight, c.shadow, c.gamma); }

// The identity triple: highlight 255, shadow 0, gamma 1.0.
constexpr uint32_t kLinearTriple = 255u | (0u << 8) | (10u << 16);

// Builds a highlight/shadow/gamma map of inputCount entries (1..1024) with
// outputs 0..outputCount-1 (outputCount 1..256) into dest. In colour mode with
// applyBalance, the red, green and blue gammas are shifted by colorBalance
// (indexed by channel index); line art is always linear. Returns false and
// leaves dest untouched when shadow is not below highlight or a count is out
// of range.
bool BuildToneMap(uint32_t triple, int inputCount, int outputCount, uint8_t* dest, int channelIndex,
                  bool applyBalance, uint16_t scanMode, const int8_t colorBalance[3]);

// Builds a brightness/contrast/gamma map: byte 0 of the triple is brightness
// (-128..127), byte 1 contrast (-128..127), byte 2 gamma in tenths. Both
// counts minus one must lie in 21..255 (output) and 21..1023 (input), gamma in
// 1..79; otherwise returns false and leaves dest untouched.
bool BuildBrightnessContrastMap(uint32_t triple, int inputCount, int outputCount, uint8_t* dest);

// Edit rules of the Enhancements page. Each returns the triple after the edit;
// the other value of the pair moves so that shadow stays below highlight.
uint32_t EditHighlight(uint32_t triple, int value);  // clamped to 1..255
uint32_t EditShadow(uint32_t triple, int value);     // clamped to 0..254
// The gamma field: its first three characters read as a decimal number; the
// value times ten (truncated) is taken when it lies in 1..79, else ignored.
bool ParseGammaText(const std::string& text, int& gammaTenths);
std::string FormatGamma(int gammaTenths);  // "1.8"

// Stores an edited triple into the channel words by the edited channel
// (tone.channel: 0 master, 1 red, 2 green, 3 blue). Editing the master in
// colour mode writes the three colour words and leaves the master word alone.
void StoreEditedTriple(ToneSettings& tone, bool colourMode, uint32_t triple);

}  // namespace tone
