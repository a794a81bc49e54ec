// Which pixels of the preview count as part of an item, and how many of them
// each row or column of a part of the picture holds.
#pragma once

#include <cstdint>
#include <vector>

namespace detection {

// A rectangle of preview-image pixels; right and bottom exclusive.
struct PixelRect {
    uint32_t left = 0;
    uint32_t top = 0;
    uint32_t right = 0;
    uint32_t bottom = 0;
};

struct ObjectMask {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> object;  // 1 per pixel of an item, rows top to bottom
};

// A pixel is part of an item when its grey level (XORed with 255 when
// `inverted`) exceeds `threshold`.
ObjectMask MaskAbove(const std::vector<uint8_t>& grey, uint32_t width, uint32_t height, int threshold,
                     bool inverted);

// Item pixels of every row of `area`, from its top row on.
std::vector<uint32_t> RowCounts(const ObjectMask& mask, const PixelRect& area);

// Item pixels of every column of `area`, from its left column on.
std::vector<uint32_t> ColumnCounts(const ObjectMask& mask, const PixelRect& area);

}  // namespace detection
