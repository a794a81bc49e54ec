// Shading calibration arithmetic: the gain tables that turn a white
// reference into a correction value, the trimmed averages of the white lines
// the scanner reads, and the byte planes sent back to it. The request sequence
// and its buffers are the scan command's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace shading {

// Colour group: modes 1013 and 1014, three interleaved samples per pixel.
// Grey group: modes 1011 and 1012, one sample per pixel.
enum class Group { kGrey, kColour };

// The group of a scan mode; false for a mode outside 1011..1014.
bool GroupOfMode(uint16_t scanMode, Group& group);

constexpr size_t kGainEntries = 4096;
using GainTable = std::array<uint16_t, kGainEntries>;
// One gain table per reference level, in the device's order: red, green, blue, grey.
using GainTables = std::array<GainTable, 4>;

// Correction values for every 12-bit white value i: the reference level K up
// to 2047, then (4095 K - 1023 i) / i rounded (an exact half rounds down),
// 0 when negative and at most 65535.
GainTable BuildGainTable(uint16_t referenceLevel);

// Samples per shading line: (lineBytes - 2) / 2 grey, (lineBytes - 6) / 2 colour.
size_t SampleCount(Group group, uint16_t lineBytes);
// Values of the kept pair resent when the scanner asks again without a full
// calibration: the green plane in colour ((lineBytes - 6) / 6), all samples in grey.
size_t ResendCount(Group group, uint16_t lineBytes);

// The sorted values each column's average drops at its low and high ends.
struct Trim {
    size_t low;
    size_t high;
};
// The data source's trim: grey 3 and 3, colour 6 and 2.
Trim TrimOf(Group group);

// Whether shading lines of this geometry can be averaged: line bytes at least
// 6 and more lines than the trimmed ends drop (grey 7, colour 9 or more with
// the group's own trim).
bool UsableShadingGeometry(Group group, uint16_t lineBytes, uint16_t lines);
bool UsableShadingGeometry(uint16_t lineBytes, uint16_t lines, Trim trim);

// Per sample position, the trimmed average over the shading lines: samples
// start 2 bytes into each line, little-endian, masked to 12 bits; grey drops
// the 3 lowest and 3 highest values, colour the 6 lowest and 2 highest.
// Refuses (false) line bytes below 6, too few lines to keep one value
// (grey 6 or fewer, colour 8 or fewer) and data shorter than lineBytes x lines.
bool AverageShadingLines(const uint8_t* data, size_t dataSize, uint16_t lineBytes, uint16_t lines, Group group,
                         std::vector<uint16_t>& averages);
// The same with another trim (the prescan module drops 3 and 3 in colour too).
bool AverageShadingLines(const uint8_t* data, size_t dataSize, uint16_t lineBytes, uint16_t lines, Group group,
                         Trim trim, std::vector<uint16_t>& averages);

// Replaces each average by its correction value: grey through the grey table,
// colour samples through the red, green and blue tables in turn.
void ApplyGain(std::vector<uint16_t>& values, Group group, const GainTables& tables);

// The colour samples mapped through three separate tables, red, green, blue
// in turn (the prescan module gets the data source's tables by address).
void ApplyColourGain(std::vector<uint16_t>& values, const uint16_t* red, const uint16_t* green,
                     const uint16_t* blue);

struct Bytes {
    uint8_t* data;
    size_t size;
};

// The buffers the correction values are split into: high bytes and low bytes
// to send now, and the pair kept for a later resend.
struct ShadingPlanes {
    Bytes high;
    Bytes low;
    Bytes keptHigh;
    Bytes keptLow;
};

// Splits the correction values into high and low bytes. Colour: n = count / 3
// pixels stored as planes (red at p, green at p + n, blue at p + 2n), and the
// green plane alone into the kept pair. Grey: all values into both pairs.
// Returns false, writing nothing, when a buffer is too small.
bool SplitShadingValues(const std::vector<uint16_t>& values, Group group, const ShadingPlanes& planes);

}  // namespace shading
