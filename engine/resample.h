// Resampling of scanned rows: the enlarger that multiplies an image by 2, 4,
// 6 or 8 in both directions while it is delivered (scans above the optical
// resolution are made at half the resolution and enlarged), and the line
// doubling that widens scanner lines above 600 dpi.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Whether scanner lines pass through DoubleLine: above 600 dpi effective
// (resolution x scaling / 100), except when the scan is interpolated and
// half the effective resolution is at most 600, where the enlarger's factor 2
// alone makes the resolution.
bool UsesLineDoubling(uint16_t resolution, uint16_t scaling, bool interpolate);

// Pixels of a line of `pixels` scanner pixels after DoubleLine: the doubled
// line thinned to the effective resolution T out of 1200, where T is halved
// when it lies in 1201..2399 and the line stays doubled from 2400 on. This
// is the width the image description reports for the same settings.
uint32_t DoubledLinePixels(uint32_t pixels, uint16_t resolution, uint16_t scaling);

// Doubles a scanner line horizontally (line art: every bit twice; grey and
// colour: each pixel followed by the average with its right neighbour, the
// last pixel twice) and thins the doubled line to DoubledLinePixels pixels
// with an accumulator starting at 1200. Just above 1200 dpi (say 1200.1,
// from resolution x scaling) that width exceeds the doubled line by a few
// pixels, and its last pixel is repeated. Line art is packed most
// significant bit first, unused bits of the last byte zero. Returns the
// bytes written, 0 when the destination is too small or the line empty.
size_t DoubleLine(PixelKind kind, const uint8_t* line, uint32_t pixels, uint16_t resolution, uint16_t scaling,
                  uint8_t* destination, size_t destinationSize);

}  // namespace resample
