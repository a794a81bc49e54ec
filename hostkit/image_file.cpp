#include "hostkit/image_file.h"

#include <algorithm>
#include <cstring>

namespace imagefile {

namespace {

constexpr uint64_t kFileLimit = 0xFFFFFFFFull;  // TIFF and BMP offsets are 32-bit
constexpr uint32_t kDefaultResolution = 72;     // written when the source reports none

void PutU16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(std::vector<uint8_t>& out, size_t at, uint64_t value) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetU32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

uint16_t GetU16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

uint64_t PackedRowBytes64(const ImageShape& shape) {
    return (uint64_t{shape.width} * shape.bitsPerPixel + 7) / 8;
}

std::string PixelTypeText(TW_INT16 pixelType) {
    switch (pixelType) {
        case TWPT_BW: return "TWPT_BW";
        case TWPT_GRAY: return "TWPT_GRAY";
        case TWPT_RGB: return "TWPT_RGB";
        case TWPT_PALETTE: return "TWPT_PALETTE";
        case TWPT_CMY: return "TWPT_CMY";
        case TWPT_CMYK: return "TWPT_CMYK";
        default: return "pixel type " + std::to_string(pixelType);
    }
}

// TIFF: header, a directory of these entries, then the values that do not
// fit an entry (the colour BitsPerSample triple and both resolutions).
constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;
constexpr uint16_t kRational = 5;
constexpr size_t kDirectoryOffset = 8;
constexpr size_t kTiffEntries = 12;
constexpr size_t kValueArea = kDirectoryOffset + 2 + 12 * kTiffEntries + 4;

void PutEntry(std::vector<uint8_t>& out, size_t index, uint16_t tag, uint16_t type, uint32_t count,
              uint64_t value) {
    const size_t at = kDirectoryOffset + 2 + index * 12;
    PutU16(out, at, tag);
    PutU16(out, at + 2, type);
    PutU32(out, at + 4, count);
    if (type == kShort)
        PutU16(out, at + 8, static_cast<uint32_t>(value));
    else
        PutU32(out, at + 8, value);
}

// Samples a pixel and bits a sample of the shapes twscan writes.
struct SampleLayout {
    uint16_t samples;
    uint16_t bits;
    uint16_t photometric;  // 1 min-is-black, 2 RGB, 5 separated
};

SampleLayout SamplesOf(uint16_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 24: return {3, 8, 2};
        case 32: return {4, 8, 5};
        case 48: return {3, 16, 2};
        default: return {1, bitsPerPixel, 1};
    }
}

bool PlanTiff(const ImageShape& shape, ImageFileLayout& layout, std::string& error) {
    const SampleLayout samples = SamplesOf(shape.bitsPerPixel);
    const uint64_t rowBytes = PackedRowBytes64(shape);
    const uint64_t stripBytes = rowBytes * shape.height;
    // Several samples: their BitsPerSample values lie in the value area.
    const size_t bitsAt = kValueArea;
    const size_t xResolutionAt = samples.samples > 1 ? bitsAt + 2 * size_t{samples.samples} : bitsAt;
    const size_t yResolutionAt = xResolutionAt + 8;
    const size_t pixelsAt = yResolutionAt + 8;
    if (pixelsAt + stripBytes > kFileLimit) {
        error = "the image (" + std::to_string(stripBytes) + " bytes) is too large for a TIFF file";
        return false;
    }
    layout.rowBytes = static_cast<uint32_t>(rowBytes);
    layout.inkAmounts = samples.photometric == 5;
    std::vector<uint8_t>& out = layout.header;
    out.assign(pixelsAt, 0);
    out[0] = 'I';
    out[1] = 'I';
    PutU16(out, 2, 42);
    PutU32(out, 4, kDirectoryOffset);
    PutU16(out, kDirectoryOffset, kTiffEntries);
    PutEntry(out, 0, 256, kLong, 1, shape.width);   // ImageWidth
    PutEntry(out, 1, 257, kLong, 1, shape.height);  // ImageLength
    if (samples.samples > 1)                        // BitsPerSample
        PutEntry(out, 2, 258, kShort, samples.samples, bitsAt);
    else
        PutEntry(out, 2, 258, kShort, 1, samples.bits);
    PutEntry(out, 3, 259, kShort, 1, 1);                       // Compression: none
    PutEntry(out, 4, 262, kShort, 1, samples.photometric);     // PhotometricInterpretation
    PutEntry(out, 5, 273, kLong, 1, pixelsAt);                 // StripOffsets
    PutEntry(out, 6, 277, kShort, 1, samples.samples);         // SamplesPerPixel
    PutEntry(out, 7, 278, kLong, 1, shape.height);             // RowsPerStrip
    PutEntry(out, 8, 279, kLong, 1, stripBytes);               // StripByteCounts
    PutEntry(out, 9, 282, kRational, 1, xResolutionAt);        // XResolution
    PutEntry(out, 10, 283, kRational, 1, yResolutionAt);       // YResolution
    PutEntry(out, 11, 296, kShort, 1, 2);                      // ResolutionUnit: inch
    // The next-directory offset stays 0.
    if (samples.samples > 1)
        for (size_t c = 0; c < samples.samples; ++c) PutU16(out, bitsAt + 2 * c, samples.bits);
    const uint32_t dpi = shape.resolution ? shape.resolution : kDefaultResolution;
    for (size_t at : {xResolutionAt, yResolutionAt}) {
        PutU32(out, at, dpi);
        PutU32(out, at + 4, 1);
    }
    return true;
}

constexpr size_t kBmpFileHeaderBytes = 14;
constexpr size_t kBmpInfoHeaderBytes = 40;

bool PlanBmp(const ImageShape& shape, ImageFileLayout& layout, std::string& error) {
    if (shape.bitsPerPixel == 32 || shape.bitsPerPixel == 48) {
        error = std::string(shape.bitsPerPixel == 32 ? "a CMYK" : "a 48-bit colour") +
                " image has no BMP layout; write it as TIFF (--format tiff)";
        return false;
    }
    const uint64_t rowBytes = (PackedRowBytes64(shape) + 3) / 4 * 4;
    const uint32_t paletteEntries = shape.bitsPerPixel == 1 ? 2 : shape.bitsPerPixel == 8 ? 256 : 0;
    const size_t pixelsAt = kBmpFileHeaderBytes + kBmpInfoHeaderBytes + 4 * size_t{paletteEntries};
    const uint64_t pixelBytes = rowBytes * shape.height;
    if (pixelsAt + pixelBytes > kFileLimit || shape.width > 0x7FFFFFFF || shape.height > 0x7FFFFFFF) {
        error = "the image (" + std::to_string(pixelBytes) + " bytes) is too large for a BMP file";
        return false;
    }
    layout.rowBytes = static_cast<uint32_t>(rowBytes);
    layout.bottomUp = true;
    layout.swapRedBlue = shape.bitsPerPixel == 24;

    std::vector<uint8_t>& out = layout.header;
    out.assign(pixelsAt, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutU32(out, 2, pixelsAt + pixelBytes);  // bfSize
    PutU32(out, 10, pixelsAt);              // bfOffBits
    const size_t info = kBmpFileHeaderBytes;
    PutU32(out, info, kBmpInfoHeaderBytes);
    PutU32(out, info + 4, shape.width);
    PutU32(out, info + 8, shape.height);  // positive: bottom-up
    PutU16(out, info + 12, 1);            // biPlanes
    PutU16(out, info + 14, shape.bitsPerPixel);
    PutU32(out, info + 20, pixelBytes);  // biSizeImage; biCompression 0 is BI_RGB
    const uint32_t dpi = shape.resolution ? shape.resolution : kDefaultResolution;
    const uint32_t pixelsPerMetre = static_cast<uint32_t>((uint64_t{dpi} * 10000 + 127) / 254);
    PutU32(out, info + 24, pixelsPerMetre);
    PutU32(out, info + 28, pixelsPerMetre);
    PutU32(out, info + 32, paletteEntries);  // biClrUsed
    // Palette entries are blue, green, red, 0: line art black then white.
    for (uint32_t i = 0; i < paletteEntries; ++i) {
        const auto level = static_cast<uint8_t>(paletteEntries == 2 ? i * 255 : i);
        const size_t at = info + kBmpInfoHeaderBytes + 4 * size_t{i};
        out[at] = out[at + 1] = out[at + 2] = level;
    }
    return true;
}

}  // namespace

bool ShapeFromImageInfo(const TW_IMAGEINFO& info, ImageShape& shape, std::string& error) {
    if (info.Compression != TWCP_NONE || info.Planar != 0) {
        error = "the source describes a compressed or planar image, which twscan cannot write";
        return false;
    }
    struct Kind {
        TW_INT16 pixelType;
        TW_INT16 samples;
        TW_INT16 bitsPerPixel;
    };
    const Kind kinds[] = {{TWPT_BW, 1, 1}, {TWPT_GRAY, 1, 8}, {TWPT_RGB, 3, 24}, {TWPT_CMYK, 4, 32}, {TWPT_RGB, 3, 48}};
    const Kind* kind = std::find_if(std::begin(kinds), std::end(kinds), [&info](const Kind& k) {
        return k.pixelType == info.PixelType && k.samples == info.SamplesPerPixel &&
               k.bitsPerPixel == info.BitsPerPixel;
    });
    if (kind == std::end(kinds)) {
        error = PixelTypeText(info.PixelType) + " with " + std::to_string(info.SamplesPerPixel) + " samples of " +
                std::to_string(info.BitsPerPixel) + " bits per pixel is not an image twscan can write";
        return false;
    }
    if (info.ImageWidth <= 0 || info.ImageLength <= 0) {
        error = "the source describes an image of " + std::to_string(info.ImageWidth) + " x " +
                std::to_string(info.ImageLength) + " pixels";
        return false;
    }
    shape.width = static_cast<uint32_t>(info.ImageWidth);
    shape.height = static_cast<uint32_t>(info.ImageLength);
    shape.bitsPerPixel = static_cast<uint16_t>(kind->bitsPerPixel);
    shape.resolution = info.XResolution.Whole > 0 ? static_cast<uint32_t>(info.XResolution.Whole) : 0;
    return true;
}

uint32_t PackedRowBytes(const ImageShape& shape) { return static_cast<uint32_t>(PackedRowBytes64(shape)); }

bool PlanImageFile(const ImageShape& shape, ImageFormat format, ImageFileLayout& layout, std::string& error) {
    const ImageShape kept = shape;  // `shape` may be layout.shape itself
    layout = ImageFileLayout{};
    layout.shape = kept;
    const uint16_t bits = kept.bitsPerPixel;
    if (bits != 1 && bits != 8 && bits != 24 && bits != 32 && bits != 48) {
        error = std::to_string(kept.bitsPerPixel) + " bits per pixel cannot be written";
        return false;
    }
    if (kept.width == 0 || kept.height == 0) {
        error = "an empty image cannot be written";
        return false;
    }
    return format == ImageFormat::kTiff ? PlanTiff(kept, layout, error) : PlanBmp(kept, layout, error);
}

uint64_t RowOffset(const ImageFileLayout& layout, uint32_t y) {
    const uint32_t slot = layout.bottomUp ? layout.shape.height - 1 - y : y;
    return layout.header.size() + uint64_t{slot} * layout.rowBytes;
}

void MakeFileRow(const ImageFileLayout& layout, const uint8_t* packedRow, uint8_t* fileRow) {
    const uint32_t bytes = PackedRowBytes(layout.shape);
    std::memcpy(fileRow, packedRow, bytes);
    if (layout.swapRedBlue)
        for (uint32_t i = 0; i + 2 < bytes; i += 3) std::swap(fileRow[i], fileRow[i + 2]);
    if (layout.inkAmounts)
        for (uint32_t i = 0; i < bytes; ++i) fileRow[i] = static_cast<uint8_t>(255 - fileRow[i]);
    std::memset(fileRow + bytes, 0, layout.rowBytes - bytes);
}

bool BmpFileHeaderForDib(const uint8_t* dib, size_t dibSize, std::vector<uint8_t>& header, DibExtent& extent,
                         std::string& error) {
    if (dibSize < kBmpInfoHeaderBytes) {
        error = "the bitmap (" + std::to_string(dibSize) + " bytes) is shorter than a BITMAPINFOHEADER";
        return false;
    }
    const uint32_t infoBytes = GetU32(dib);
    const auto width = static_cast<int32_t>(GetU32(dib + 4));
    const auto height = static_cast<int32_t>(GetU32(dib + 8));
    const uint16_t planes = GetU16(dib + 12);
    const uint16_t bitCount = GetU16(dib + 14);
    const uint32_t compression = GetU32(dib + 16);
    const uint32_t colorsUsed = GetU32(dib + 32);
    const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
                            bitCount == 32;
    if (infoBytes < kBmpInfoHeaderBytes || infoBytes > dibSize || width <= 0 || height == 0 ||
        height == INT32_MIN || planes != 1 || !knownDepth || compression != 0) {
        error = "the bitmap's header is not that of an uncompressed device-independent bitmap";
        return false;
    }
    const uint64_t maxEntries = bitCount <= 8 ? uint64_t{1} << bitCount : 256;
    const uint64_t entries = colorsUsed == 0 && bitCount <= 8 ? maxEntries : colorsUsed;
    if (entries > maxEntries) {
        error = "the bitmap's palette has " + std::to_string(colorsUsed) + " entries";
        return false;
    }
    const uint64_t rowBytes = (uint64_t{static_cast<uint32_t>(width)} * bitCount + 31) / 32 * 4;
    const uint64_t rows = height < 0 ? -int64_t{height} : height;
    const uint64_t pixelsAt = uint64_t{infoBytes} + 4 * entries;
    const uint64_t total = pixelsAt + rowBytes * rows;
    if (total > dibSize) {
        error = "the bitmap holds " + std::to_string(dibSize) + " bytes, its header describes " +
                std::to_string(total);
        return false;
    }
    if (kBmpFileHeaderBytes + total > kFileLimit) {
        error = "the bitmap is too large for a BMP file";
        return false;
    }
    header.assign(kBmpFileHeaderBytes, 0);
    header[0] = 'B';
    header[1] = 'M';
    PutU32(header, 2, kBmpFileHeaderBytes + total);
    PutU32(header, 10, kBmpFileHeaderBytes + pixelsAt);
    extent.bytes = static_cast<size_t>(total);
    extent.width = static_cast<uint32_t>(width);
    extent.height = static_cast<uint32_t>(rows);
    return true;
}

}  // namespace imagefile
