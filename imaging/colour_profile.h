// Output matching: the colour profile written by the calibration program
// corrects the colours of a colour scan. Two formats, told apart by size:
// - matrix profile (below 819 bytes): three 256-byte output curves (red,
//   green, blue), then from byte 768 three rows of four little-endian floats,
//   row r = (offset, red factor, green factor, blue factor) for output r;
// - grid profile: three 256-byte input curves, then from byte 768 a
//   17 x 17 x 17 grid of red, green, blue output nodes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "imaging/grid_interpolation.h"

namespace colour {

constexpr size_t kProfileBufferSize = 65536;  // a longer profile is refused
constexpr size_t kGridProfileMinSize = 819;   // shorter files are matrix profiles
constexpr size_t kCurvesSize = 3 * 256;
constexpr size_t kMatrixProfileSize = kCurvesSize + 3 * 4 * 4;       // 816
constexpr size_t kGridProfileSize = kCurvesSize + kGridNodeCount * 3;  // 15507

// Matrix values are held as trunc(value * 64); values beyond +-16384 (and
// non-numbers) are refused, which also keeps the per-pixel sums inside 32 bits.
constexpr double kMatrixScale = 64.0;
constexpr double kMatrixValueLimit = 16384.0;

enum class ProfileKind { kNone, kMatrix, kGrid };

struct ColourProfile {
    ProfileKind kind = ProfileKind::kNone;
    uint8_t curve[3][256];  // red, green, blue: output curves (matrix), input curves (grid)
    int32_t matrix[3][4];   // matrix profile: K[output][offset, red, green, blue]
    GridTable grid;         // grid profile nodes: red, green, blue
    GridAxes gridAxes;      // grid profile: the input curves leading into the grid
};

// The profile file for a scan source: the TWAIN sources directory ("\TWAIN_32"
// under the Windows directory for the 32-bit source) followed by
// "\COLOR\orvaA3.tab" (reflective) or "\COLOR\orvaA3p.tab" (transparency
// positive); empty for the sources that have none.
std::string ColourProfilePath(const std::string& sourcesDir, uint8_t scanSource);

// Reads a profile from the bytes of a whole file. False, leaving profile
// alone, for a file longer than the buffer, shorter than its layout (816
// bytes for a matrix profile, 15507 for a grid profile) or holding a matrix
// value out of range.
bool ParseColourProfile(const uint8_t* bytes, size_t size, ColourProfile& profile);

// Reads and parses the file at path. A profile already held stays in place
// and the call succeeds without reading.
bool LoadColourProfile(const std::string& path, ColourProfile& profile);

void ReleaseColourProfile(ColourProfile& profile);

// Corrects height rows of width 24-bit pixels, stride bytes apart, in place.
// previewOrder: byte 2 is red and byte 0 blue (otherwise byte 0 is red); the
// results go back to the same positions. False, changing nothing, when no
// profile is held or the geometry does not fit the buffer.
bool ApplyColourProfile(const ColourProfile& profile, int height, int width, size_t stride, uint8_t* pixels,
                        size_t bufferSize, bool previewOrder);

}  // namespace colour
