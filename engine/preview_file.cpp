#include "engine/preview_file.h"

#include <cstdio>

#include "device/request_blocks.h"

namespace preview {

bool ReadPreviewHeader(const uint8_t* bytes, size_t size, PreviewBitmap& out) {
    constexpr size_t kHeaders = 54;
    if (bytes == nullptr || size < kHeaders || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const uint32_t offset = blocks::GetU32(bytes, 10);
    const uint32_t width = blocks::GetU32(bytes, 18);
    const uint32_t height = blocks::GetU32(bytes, 22);
    // Width and height are signed in the header: top-down or empty pictures are not ours.
    if (blocks::GetU32(bytes, 14) != 40 || blocks::GetU16(bytes, 26) != 1 || blocks::GetU16(bytes, 28) != 24 ||
        blocks::GetU32(bytes, 30) != 0 || width == 0 || height == 0 || width > kMaxPreviewSide ||
        height > kMaxPreviewSide || offset < kHeaders)
        return false;
    const uint64_t rowBytes = (uint64_t{width} * 3 + 3) & ~uint64_t{3};
    if (offset > size || (size - offset) / rowBytes < height) return false;
    out.width = width;
    out.height = height;
    out.rowBytes = static_cast<uint32_t>(rowBytes);
    out.pixelOffset = offset;
    return true;
}

namespace {

// The header, the largest picture, and room for a data offset of 1 MB.
constexpr long kLargestFile = 54 + 4096L * 12288 + (1L << 20);

}  // namespace

bool ReadPreviewFile(const std::string& path, std::vector<uint8_t>& bytes, PreviewBitmap& out) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bool read = false;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && size <= kLargestFile && std::fseek(file, 0, SEEK_SET) == 0) {
            bytes.resize(static_cast<size_t>(size));
            read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        }
    }
    std::fclose(file);
    return read && ReadPreviewHeader(bytes.data(), bytes.size(), out);
}

}  // namespace preview
