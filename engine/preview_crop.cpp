#include "engine/preview_crop.h"

#include <algorithm>
#include <cstring>

namespace preview {

namespace {

// A position in units as a picture pixel on an axis of `pixels` over `units`.
uint32_t PictureAt(int position, int units, uint32_t pixels) {
    const int64_t clamped = std::clamp(position, 0, units);
    return static_cast<uint32_t>(clamped * pixels / units);
}

}  // namespace

bool CropUnderFrame(const std::vector<uint8_t>& picture, const PreviewBitmap& bitmap, Extent bed, const Frame& frame,
                    Crop& out) {
    if (picture.empty() || bitmap.width == 0 || bitmap.height == 0 || bed.width <= 0 || bed.height <= 0) return false;
    const Frame f = Normalised(frame);
    const uint32_t left = PictureAt(f.left, bed.width, bitmap.width);
    const uint32_t right = PictureAt(f.right, bed.width, bitmap.width);
    const uint32_t top = PictureAt(f.top, bed.height, bitmap.height);
    const uint32_t bottom = PictureAt(f.bottom, bed.height, bitmap.height);
    const uint32_t width = right - left;
    const uint32_t height = bottom - top;
    const uint32_t rowBytes = (width * 3 + 3) & ~3u;
    if (size_t{rowBytes} * height < kMinCropBytes) return false;
    Crop crop{width, height, rowBytes, std::vector<uint8_t>(size_t{rowBytes} * height, 0)};
    // Both pictures store their bottom row first: the crop's row r is the
    // picture's row (height from the bottom) - bottom + r.
    for (uint32_t row = 0; row < height; ++row) {
        const size_t fromRow = bitmap.height - bottom + row;
        const uint8_t* from = picture.data() + bitmap.pixelOffset + fromRow * bitmap.rowBytes + size_t{left} * 3;
        std::memcpy(crop.pixels.data() + size_t{row} * rowBytes, from, size_t{width} * 3);
    }
    out = std::move(crop);
    return true;
}

}  // namespace preview
