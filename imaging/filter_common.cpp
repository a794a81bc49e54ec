#include "imaging/filter_common.h"

#include <algorithm>

namespace filters {

namespace {

uint8_t ReverseBits(uint8_t b) {
    b = static_cast<uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

// Reversing the bytes and the bits of each byte mirrors the whole bytes; when
// the last byte is only partly used, its unused low bits land in front of
// pixel 0, so the row is then shifted toward pixel 0 by that many bits and the unused bits
// are put back.
void MirrorBits(uint8_t* row, uint32_t pixels) {
    const uint32_t bytes = (pixels + 7) / 8;
    const unsigned unused = bytes * 8 - pixels;
    const uint8_t unusedMask = static_cast<uint8_t>((1u << unused) - 1);
    const uint8_t unusedBits = row[bytes - 1] & unusedMask;

    std::reverse(row, row + bytes);
    for (uint32_t i = 0; i < bytes; ++i) row[i] = ReverseBits(row[i]);
    if (unused == 0) return;
    for (uint32_t i = 0; i + 1 < bytes; ++i)
        row[i] = static_cast<uint8_t>(row[i] << unused | row[i + 1] >> (8 - unused));
    row[bytes - 1] = static_cast<uint8_t>(row[bytes - 1] << unused | unusedBits);
}

void MirrorPixels(uint8_t* row, uint32_t pixels) {
    if (pixels == 0) return;
    for (uint8_t *left = row, *right = row + 3 * (pixels - 1); left < right; left += 3, right -= 3)
        std::swap_ranges(left, left + 3, right);
}

}  // namespace

void InvertBytes(uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(~bytes[i]);
}

void MirrorRow(uint8_t* row, uint32_t pixels, uint16_t bitsPerPixel) {
    if (pixels == 0) return;
    switch (bitsPerPixel) {
        case 1: MirrorBits(row, pixels); break;
        case 8: std::reverse(row, row + pixels); break;
        case 24: MirrorPixels(row, pixels); break;
        default: break;
    }
}

}  // namespace filters
