#include "hostkit/memory_block.h"

#include <algorithm>

namespace imagefile {

namespace {

constexpr uint32_t kDontCare = 0xFFFFFFFF;  // TWON_DONTCARE32
constexpr uint32_t kUsualSize = 65536;
constexpr uint32_t kLargestSize = 64u << 20;

std::string Number(uint64_t n) { return std::to_string(n); }

}  // namespace

uint32_t MemoryBufferSize(const TW_SETUPMEMXFER& setup) {
    uint32_t size = setup.Preferred == 0 || setup.Preferred == kDontCare ? kUsualSize : setup.Preferred;
    if (setup.MaxBufSize != 0 && setup.MaxBufSize != kDontCare) size = std::min(size, setup.MaxBufSize);
    if (setup.MinBufSize != kDontCare) size = std::max(size, setup.MinBufSize);
    return std::min(size, kLargestSize);
}

bool CheckMemoryBlock(const TW_IMAGEMEMXFER& block, const ImageShape& shape, uint32_t bufferLength,
                      uint32_t nextRow, bool last, std::string& error) {
    const uint32_t rowBytes = PackedRowBytes(shape);
    if (block.Compression != TWCP_NONE) {
        error = "a block is compressed (Compression " + Number(block.Compression) + ")";
    } else if (block.XOffset != 0 || block.Columns != shape.width) {
        error = "a block holds columns " + Number(block.XOffset) + " to " +
                Number(uint64_t{block.XOffset} + block.Columns) + " of " + Number(shape.width) +
                ": only whole rows are supported";
    } else if (block.BytesPerRow < rowBytes) {
        error = "a block has rows of " + Number(block.BytesPerRow) + " bytes, an image row needs " +
                Number(rowBytes);
    } else if (block.YOffset != nextRow) {
        error = "a block starts at row " + Number(block.YOffset) + ", the next row is " + Number(nextRow);
    } else if (block.Rows > shape.height - nextRow) {
        error = "a block's " + Number(block.Rows) + " rows from row " + Number(nextRow) + " run past the image's " +
                Number(shape.height) + " rows";
    } else if (block.Rows == 0 && !last) {
        error = "a block holds no rows";
    } else if (block.BytesWritten > bufferLength ||
               (block.Rows > 0 && uint64_t{block.Rows - 1} * block.BytesPerRow + rowBytes > block.BytesWritten)) {
        error = "a block of " + Number(block.Rows) + " rows of " + Number(block.BytesPerRow) + " bytes says " +
                Number(block.BytesWritten) + " bytes were written into a buffer of " + Number(bufferLength);
    } else {
        return true;
    }
    return false;
}

}  // namespace imagefile
