// Geometry check shared by the passes over 24-bit preview images.
#pragma once

#include <cstddef>

namespace tone {

// True when height rows of width 3-byte pixels, stride bytes apart, lie inside
// a buffer of bufferSize bytes.
inline bool FitsBuffer(size_t bufferSize, int width, int height, size_t stride) {
    if (width < 0 || height < 0) return false;
    if (width == 0 || height == 0) return true;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    if (rowBytes / 3 != static_cast<size_t>(width) || stride < rowBytes || rowBytes > bufferSize) return false;
    return static_cast<size_t>(height - 1) <= (bufferSize - rowBytes) / stride;
}

}  // namespace tone
