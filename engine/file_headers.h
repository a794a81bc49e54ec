// Header bytes of the images the engine writes: the single-strip TIFF of
// transfer and work files, the BMP file, and the device-independent bitmap
// header of the native transfer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fileheaders {

struct ImageGeometry {
    uint16_t scanMode;       // 1011..1014
    uint16_t colourKind;     // with 1014: 0 24-bit, 1 CMYK, 2 36-bit
    int32_t pixelsPerLine;
    int32_t lines;
    uint32_t bytesPerLine;   // as the scanner delivers a line
    uint32_t bytesPerRow;    // output row, padded to a multiple of 4
    uint32_t resolution;     // dots per inch
};

// First image byte of a TIFF written here.
constexpr size_t kColourTiffImageOffset = 146;
constexpr size_t kGreyTiffImageOffset = 140;

// Little-endian TIFF header, nine-entry directory and value area; the image
// rows follow directly, top to bottom. An interpolated file passes bytes per
// line and lines already doubled. False for a mode outside 1011..1014 or a
// strip of 4 GB or more.
bool BuildTiffHeader(const ImageGeometry& image, std::vector<uint8_t>& out);

// Palette entries of a bitmap: 2 line art, 256 grey, 0 colour, -1 invalid mode.
int PaletteEntries(uint16_t scanMode);

// BITMAPINFOHEADER and palette, as they open the native transfer's bitmap and
// follow the BMP file header. Rows are stored bottom-up.
bool BuildDibHeader(const ImageGeometry& image, std::vector<uint8_t>& out);

// BITMAPFILEHEADER followed by the DIB header; bfSize covers the whole pixel
// area of bytesPerRow x lines.
bool BuildBmpHeader(const ImageGeometry& image, std::vector<uint8_t>& out);

}  // namespace fileheaders
