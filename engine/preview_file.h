// The preview bitmap file the prescan module leaves: a 24-bit uncompressed
// bitmap, rows bottom-up, blue-green-red, padded to 4 bytes. The data source
// reads it back, so its header is checked against the bytes it has.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// Reads the whole file at `path` into `bytes` and its header into `out`.
// False for a missing file, one larger than such a bitmap can need, or one
// ReadPreviewHeader refuses.
bool ReadPreviewFile(const std::string& path, std::vector<uint8_t>& bytes, PreviewBitmap& out);

// The pixels (blue, green, red) of `row` counted from the top of the picture
// whose header ReadPreviewHeader took from `bytes`.
inline const uint8_t* TopDownRow(const uint8_t* bytes, const PreviewBitmap& bitmap, uint32_t row) {
    return bytes + bitmap.pixelOffset + size_t{bitmap.height - 1 - row} * bitmap.rowBytes;
}

}  // namespace preview
