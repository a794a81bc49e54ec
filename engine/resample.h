// Resampling of scanned rows: the enlarger that multiplies an image by 2, 4,
// 6 or 8 in both directions while it is delivered (scans above the optical
// resolution are made at half the resolution and enlarged), and the line
// doubling that widens scanner lines beyond the resolution the scanner
// delivers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace resample {

// How the pixels of a row are stored: line art 1 bit per pixel (most
// significant bit first), grey 1 byte, colour 3 bytes (red, green, blue).
enum class PixelKind : uint8_t { kLineArt = 0, kGrey = 1, kColour = 2 };

// The kind of a scan mode: 1011 line art, 1014 colour, every other mode grey.
PixelKind PixelKindFor(uint16_t scanMode);

// Bytes of one row of `pixels` pixels: (pixels + 7) / 8 for line art,
// pixels for grey, 3 x pixels for colour.
uint64_t RowBytes(PixelKind kind, uint32_t pixels);

// The enlargement factor of a dpi scale: 2 -> 4, 3 -> 6, 4 -> 8, any other
// value (0, 1, 5) -> 2.
uint32_t EnlargementFactor(uint16_t dpiScale);

// The source row kept between two calls of EnlargeRows so that the vertical
// interpolation continues across blocks. A new image starts with an empty
// CarryRow (or one released by ReleaseCarryRow).
struct CarryRow {
    std::vector<uint8_t> bytes;
};

// Frees the kept row; the next EnlargeRows call starts a new image.
void ReleaseCarryRow(CarryRow& carry);

// A block of source rows, stored one after the other without padding
// (RowBytes each).
struct SourceRows {
    const uint8_t* data;
    uint32_t pixels;  // per row
    uint32_t rows;
};

enum class EnlargeStatus {
    kDone,
    kNoMemory,      // the carried row could not be allocated; nothing written
    kBadArguments,  // unknown factor, empty rows, overlapping buffers or a destination too small
};

// Enlarges `source` by `factor` (2, 4, 6 or 8) in both directions into
// `destination`, which must hold rows x factor rows of RowBytes x factor
// bytes and must not overlap the source. Each source row r is paired with
// the row above it (for the first row of a block, the carried row; for the
// first block of an image, the image's first row itself) and the pair
// yields `factor` output rows running from the upper row towards the lower
// one. The last source row of the block is carried to the next call.
// Grey and colour are interpolated (per channel): factors 2, 4 and 8 by
// repeated halving, factor 6 by halving and thirds; the last pixel of a row
// is repeated over its whole block. Line art repeats every bit `factor`
// times along the row and repeats the upper row `factor` times.
EnlargeStatus EnlargeRows(PixelKind kind, uint32_t factor, const SourceRows& source, uint8_t* destination,
                          size_t destinationSize, CarryRow& carry);

// Line doubling: a scanner line is widened when the image is to be wider
// than the scanner delivers it. The line is doubled (every pixel followed by
// the average with its right neighbour, the last pixel twice; line art every
// bit twice) and the doubled line is thinned to the resolution wanted.
struct LineDoubling {
    uint32_t wanted;   // resolution the line is to have, in hundredths of a dpi
    uint32_t doubled;  // resolution of the doubled line, in hundredths of a dpi
};

// The doubling of a scan, or none when the lines are delivered as scanned.
// The resolution wanted is resolution x scaling / 100, halved when the scan
// is interpolated (the enlarger doubles it afterwards); the scanner delivers
// `scanResolution`, at most its optical resolution. Lines are doubled only
// when the resolution wanted exceeds that, and never to more than twice it.
std::optional<LineDoubling> LineDoublingFor(uint16_t resolution, uint16_t scaling, bool interpolate,
                                            uint16_t scanResolution);

// Pixels of a line of `pixels` scanner pixels after DoubleLine:
// 2 x pixels x wanted / doubled, truncated.
uint32_t DoubledLinePixels(uint32_t pixels, const LineDoubling& doubling);

// Doubles a scanner line horizontally and thins the doubled line to
// DoubledLinePixels pixels, walking it with an accumulator that starts at
// the doubled resolution: a pixel is dropped while accumulator + wanted stays
// below it, otherwise kept. Line art is packed most significant bit first,
// unused bits of the last byte zero. Returns the bytes written, 0 when the
// destination is too small or the line empty.
size_t DoubleLine(PixelKind kind, const uint8_t* line, uint32_t pixels, const LineDoubling& doubling,
                  uint8_t* destination, size_t destinationSize);

}  // namespace resample
