// The part of the preview picture under the scan frame, as a 24-bit picture
// of its own (the sample the enhancement pages show and count).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/preview_file.h"
#include "engine/preview_frame.h"

namespace preview {

// Rows bottom-up, blue-green-red, padded to 4 bytes, as in a bitmap file.
struct Crop {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t rowBytes = 0;
    std::vector<uint8_t> pixels;
};

// A crop smaller than this many bytes is not made.
constexpr size_t kMinCropBytes = 1500;

// Copies the pixels of `picture` (whose rows `bitmap` locates, the whole bed
// of `bed` units) under `frame` (units, either order). False, and `out`
// unchanged, when there is no picture or the crop would be under
// kMinCropBytes.
bool CropUnderFrame(const std::vector<uint8_t>& picture, const PreviewBitmap& bitmap, Extent bed, const Frame& frame,
                    Crop& out);

}  // namespace preview
