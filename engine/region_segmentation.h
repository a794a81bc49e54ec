// Cutting the item pixels of a search area into separate rectangles: bands
// of rows that hold items, each cut along its columns.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/object_profile.h"

namespace detection {

// A run of profile entries [first, last] that holds items.
struct Run {
    uint32_t first = 0;
    uint32_t last = 0;
};

// A run starts where an entry and the next exceed `limit` and ends at an
// entry of at least `limit` followed by one below it; the last entry closes
// a run still open.
std::vector<Run> SplitRuns(const std::vector<uint32_t>& counts, uint32_t limit);

// The items inside `area` with the limit 2 x `factor` (factor 1 for the
// 30-dpi preview, 2 for the 60-dpi one), top band first, left to right in a
// band. A rectangle reaching the picture's right edge or bottom is moved in
// by one pixel there.
std::vector<PixelRect> SegmentItems(const ObjectMask& mask, const PixelRect& area, uint32_t factor);

// Where the search for reflective items starts: the first row whose count is
// below 70 x `factor` or that the next 49 rows follow with at least that
// count (so a bright strip narrower than 50 rows along the top is left out),
// the first column by the same rule; the area runs on to the picture's end.
PixelRect ReflectiveSearchArea(const ObjectMask& mask, uint32_t factor);

}  // namespace detection
