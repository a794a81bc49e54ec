// The preview bitmap file the prescan module leaves: a 24-bit uncompressed
// bitmap, rows bottom-up, blue-green-red, padded to 4 bytes. The data source
// reads it back, so its header is checked against the bytes it has.
#pragma once

#include <cstddef>
#include <cstdint>

namespace preview {

struct PreviewBitmap {
    uint32_t width = 0;        // pixels
    uint32_t height = 0;       // rows, stored bottom-up
    uint32_t rowBytes = 0;     // width x 3 padded to a multiple of 4
    uint32_t pixelOffset = 0;  // first byte of the last row of the image
};

// The largest width and height of a preview picture taken.
constexpr uint32_t kMaxPreviewSide = 4096;

// False unless `bytes` is such a file: "BM", a 40-byte info header, 1 plane,
// 24 bits, no compression, a width and height of 1 to 4096, and every row inside
// the `size` bytes.
bool ReadPreviewHeader(const uint8_t* bytes, size_t size, PreviewBitmap& out);

}  // namespace preview
