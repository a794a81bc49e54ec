#include "engine/region_segmentation.h"

#include <cstddef>

namespace detection {
namespace {

constexpr uint32_t kItemLimit = 2;
constexpr uint32_t kBrightStripLimit = 70;
constexpr uint32_t kBrightStripRows = 49;

// The first index at which a bright strip along the edge has ended (see
// ReflectiveSearchArea); the profile's size when there is none.
uint32_t FirstAfterEdgeStrip(const std::vector<uint32_t>& counts, uint32_t limit) {
    const size_t n = counts.size();
    for (size_t i = 0; i < n; ++i) {
        if (counts[i] < limit) return static_cast<uint32_t>(i);
        if (i + kBrightStripRows >= n) continue;
        bool followed = true;
        for (size_t j = i + 1; j <= i + kBrightStripRows && followed; ++j) followed = counts[j] >= limit;
        if (followed) return static_cast<uint32_t>(i);
    }
    return static_cast<uint32_t>(n);
}

}  // namespace

std::vector<Run> SplitRuns(const std::vector<uint32_t>& counts, uint32_t limit) {
    std::vector<Run> runs;
    bool open = false;
    Run run;
    for (size_t i = 0; i < counts.size(); ++i) {
        const bool hasNext = i + 1 < counts.size();
        if (!open) {
            if (hasNext && counts[i] > limit && counts[i + 1] > limit) {
                open = true;
                run.first = static_cast<uint32_t>(i);
            }
            continue;
        }
        if (!hasNext || (counts[i] >= limit && counts[i + 1] < limit)) {
            run.last = static_cast<uint32_t>(i);
            runs.push_back(run);
            open = false;
        }
    }
    return runs;
}

std::vector<PixelRect> SegmentItems(const ObjectMask& mask, const PixelRect& area, uint32_t factor) {
    const uint32_t limit = kItemLimit * factor;
    std::vector<PixelRect> items;
    if (area.left >= area.right || area.top >= area.bottom) return items;
    for (const Run& band : SplitRuns(RowCounts(mask, area), limit)) {
        const PixelRect bandArea{area.left, area.top + band.first, area.right, area.top + band.last + 1};
        for (const Run& columns : SplitRuns(ColumnCounts(mask, bandArea), limit)) {
            PixelRect item{area.left + columns.first, bandArea.top, area.left + columns.last + 1, bandArea.bottom};
            // Down to the rows where the item's own profile crosses the limit.
            const std::vector<uint32_t> rows = RowCounts(mask, item);
            uint32_t first = 0;
            while (first < rows.size() && rows[first] <= limit) ++first;
            if (first == rows.size()) continue;
            uint32_t last = static_cast<uint32_t>(rows.size()) - 1;
            while (rows[last] <= limit) --last;
            item.bottom = item.top + last + 1;
            item.top += first;
            if (item.right >= mask.width) item.right = mask.width - 1;
            if (item.bottom >= mask.height) item.bottom = mask.height - 1;
            items.push_back(item);
        }
    }
    return items;
}

PixelRect ReflectiveSearchArea(const ObjectMask& mask, uint32_t factor) {
    const PixelRect whole{0, 0, mask.width, mask.height};
    const uint32_t limit = kBrightStripLimit * factor;
    return {FirstAfterEdgeStrip(ColumnCounts(mask, whole), limit), FirstAfterEdgeStrip(RowCounts(mask, whole), limit),
            mask.width, mask.height};
}

}  // namespace detection
