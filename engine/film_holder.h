// The film holder of the transparency unit: an opaque plate with regularly
// spaced frame windows. It shows in the row profile as bands of rows about
// 1.3 inches long; its frames that hold film become regions, empty ones
// (light table alone) do not.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/object_profile.h"

namespace detection {

// Rows of the profile where the item count rises to the limit 12 x `factor`
// (the first row at or above it) and where it falls (the last row above it),
// each confirmed by two rows on either side.
struct Edges {
    std::vector<uint32_t> rising;
    std::vector<uint32_t> falling;
};
Edges FindEdges(const std::vector<uint32_t>& rowCounts, uint32_t factor);

// The search area inside a recognised holder: at least two of the first
// seven bands are 38 to 43 (x `factor`) rows long. It leaves out 21 x
// `factor` columns at each side and runs from 5 rows above the first band to
// 6 x `factor` rows below the seventh rising edge (the eighth when the
// seventh falling edge comes first; the picture's end when there is no such
// edge). False when no holder shows.
bool FindFilmHolder(const std::vector<uint32_t>& rowCounts, uint32_t width, uint32_t factor, PixelRect& area);

// Whether the frame `frame` of the holder holds film: fewer than its height
// less 7 x `factor` of its inner rows (first and last left out) have at
// least its width less 7 x `factor` pixels whose grey level reaches the
// light table's `lightLevel`.
bool HoldsFilm(const std::vector<uint8_t>& grey, uint32_t width, const PixelRect& frame, int lightLevel,
               uint32_t factor);

}  // namespace detection
