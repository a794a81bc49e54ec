#include "engine/object_profile.h"

#include <cstddef>

namespace detection {

ObjectMask MaskAbove(const std::vector<uint8_t>& grey, uint32_t width, uint32_t height, int threshold,
                     bool inverted) {
    ObjectMask mask{width, height, std::vector<uint8_t>(grey.size())};
    const uint8_t flip = inverted ? 0xFF : 0;
    for (size_t i = 0; i < grey.size(); ++i) mask.object[i] = (grey[i] ^ flip) > threshold;
    return mask;
}

std::vector<uint32_t> RowCounts(const ObjectMask& mask, const PixelRect& area) {
    std::vector<uint32_t> counts;
    for (uint32_t y = area.top; y < area.bottom; ++y) {
        const uint8_t* row = mask.object.data() + size_t{y} * mask.width;
        uint32_t count = 0;
        for (uint32_t x = area.left; x < area.right; ++x) count += row[x];
        counts.push_back(count);
    }
    return counts;
}

std::vector<uint32_t> ColumnCounts(const ObjectMask& mask, const PixelRect& area) {
    std::vector<uint32_t> counts(area.right > area.left ? area.right - area.left : 0, 0);
    for (uint32_t y = area.top; y < area.bottom; ++y) {
        const uint8_t* row = mask.object.data() + size_t{y} * mask.width;
        for (uint32_t x = area.left; x < area.right; ++x) counts[x - area.left] += row[x];
    }
    return counts;
}

}  // namespace detection
