#include "engine/file_headers.h"

#include "device/request_blocks.h"
#include "settings/scan_settings.h"

namespace fileheaders {

using blocks::PutU16;
using blocks::PutU32;

namespace {

constexpr uint64_t kU32Limit = 0xFFFFFFFFull;

// TIFF field types
constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;
constexpr uint16_t kRational = 5;

constexpr size_t kDirectoryOffset = 8;
constexpr uint16_t kDirectoryEntries = 9;
constexpr size_t kEntrySize = 12;
constexpr size_t kValueArea = 124;  // after the entries, the next-directory offset and two zero bytes

void PutEntry(std::vector<uint8_t>& out, int index, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    const size_t at = kDirectoryOffset + 2 + static_cast<size_t>(index) * kEntrySize;
    PutU16(out.data(), at, tag);
    PutU16(out.data(), at + 2, type);
    PutU32(out.data(), at + 4, count);
    if (type == kShort)
        PutU16(out.data(), at + 8, static_cast<uint16_t>(value));  // the other two bytes stay 0
    else
        PutU32(out.data(), at + 8, value);
}

void PutRational(std::vector<uint8_t>& out, size_t at, uint32_t numerator) {
    PutU32(out.data(), at, numerator);
    PutU32(out.data(), at + 4, 1);
}

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

}  // namespace

bool BuildTiffHeader(const ImageGeometry& image, std::vector<uint8_t>& out) {
    if (BitsPerPixel(image.scanMode) == 0 || image.lines < 0) return false;
    const bool colour = image.scanMode == kModeColour;
    const uint64_t bytesPerLine = image.bytesPerLine;
    uint64_t width = bytesPerLine;
    if (image.scanMode == kModeLineArt)
        width = bytesPerLine * 8;
    else if (colour)
        width = bytesPerLine / (image.colourKind == kColour36 ? 6 : 3);
    const uint64_t stripBytes = bytesPerLine * static_cast<uint64_t>(image.lines);
    if (width > kU32Limit || stripBytes > kU32Limit) return false;

    const size_t imageOffset = colour ? kColourTiffImageOffset : kGreyTiffImageOffset;
    const size_t xResolution = colour ? kValueArea + 6 : kValueArea;
    const size_t yResolution = xResolution + 8;
    out.assign(imageOffset, 0);

    out[0] = 'I';
    out[1] = 'I';
    PutU16(out.data(), 2, 42);
    PutU32(out.data(), 4, kDirectoryOffset);
    PutU16(out.data(), kDirectoryOffset, kDirectoryEntries);
    PutEntry(out, 0, 256, kLong, 1, static_cast<uint32_t>(width));             // ImageWidth
    PutEntry(out, 1, 257, kLong, 1, static_cast<uint32_t>(image.lines));       // ImageLength
    if (colour)                                                                 // BitsPerSample
        PutEntry(out, 2, 258, kShort, 3, kValueArea);
    else
        PutEntry(out, 2, 258, kShort, 1, image.scanMode == kModeLineArt ? 1 : 8);
    PutEntry(out, 3, 262, kShort, 1, colour ? 2 : 1);                           // Photometric: RGB or BlackIsZero
    PutEntry(out, 4, 273, kLong, 1, static_cast<uint32_t>(imageOffset));       // StripOffsets
    PutEntry(out, 5, 277, kShort, 1, colour ? 3 : 1);                           // SamplesPerPixel
    PutEntry(out, 6, 279, kLong, 1, static_cast<uint32_t>(stripBytes));        // StripByteCounts
    PutEntry(out, 7, 282, kRational, 1, static_cast<uint32_t>(xResolution));   // XResolution
    PutEntry(out, 8, 283, kRational, 1, static_cast<uint32_t>(yResolution));   // YResolution
    // The next-directory offset and the two bytes after it stay 0.

    if (colour)
        for (size_t c = 0; c < 3; ++c) PutU16(out.data(), kValueArea + 2 * c, 8);
    PutRational(out, xResolution, image.resolution);
    PutRational(out, yResolution, image.resolution);
    return true;
}

int PaletteEntries(uint16_t scanMode) {
    switch (BitsPerPixel(scanMode)) {
        case 1: return 2;
        case 8: return 256;
        case 24: return 0;
        default: return -1;
    }
}

bool BuildDibHeader(const ImageGeometry& image, std::vector<uint8_t>& out) {
    const int entries = PaletteEntries(image.scanMode);
    if (entries < 0) return false;
    out.assign(kInfoHeaderSize + 4 * static_cast<size_t>(entries), 0);
    uint8_t* h = out.data();
    PutU32(h, 0, kInfoHeaderSize);                                  // biSize
    PutU32(h, 4, static_cast<uint32_t>(image.pixelsPerLine));       // biWidth
    PutU32(h, 8, static_cast<uint32_t>(image.lines));               // biHeight: positive, bottom-up
    PutU16(h, 12, 1);                                               // biPlanes
    PutU16(h, 14, static_cast<uint16_t>(BitsPerPixel(image.scanMode)));  // biBitCount
    // biCompression, biSizeImage and the pixels per metre stay 0.
    PutU32(h, 32, static_cast<uint32_t>(entries));                  // biClrUsed
    // biClrImportant stays 0.

    // Palette entries are blue, green, red, 0: line art black then white,
    // grey the 256 levels.
    uint8_t* palette = h + kInfoHeaderSize;
    for (int i = 0; i < entries; ++i) {
        const uint8_t level = entries == 2 ? static_cast<uint8_t>(i * 255) : static_cast<uint8_t>(i);
        palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] = level;
    }
    return true;
}

bool BuildBmpHeader(const ImageGeometry& image, std::vector<uint8_t>& out) {
    std::vector<uint8_t> dib;
    if (image.lines < 0 || !BuildDibHeader(image, dib)) return false;
    const uint64_t offBits = kFileHeaderSize + dib.size();
    const uint64_t fileSize = offBits + uint64_t{image.bytesPerRow} * static_cast<uint64_t>(image.lines);
    if (fileSize > kU32Limit) return false;

    out.assign(kFileHeaderSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutU32(out.data(), 2, static_cast<uint32_t>(fileSize));  // bfSize
    // bfReserved1 and bfReserved2 stay 0.
    PutU32(out.data(), 10, static_cast<uint32_t>(offBits));  // bfOffBits
    out.insert(out.end(), dib.begin(), dib.end());
    return true;
}

}  // namespace fileheaders
