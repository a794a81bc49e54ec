// The image files twscan writes from what a data source hands it: an
// uncompressed single-strip TIFF or a BMP file, laid out from the image
// description (DAT_IMAGEINFO), plus the BMP file header that turns a native
// transfer's packed bitmap into a file. Everything that comes from the source
// is checked before use.
//
//   ImageShape shape;
//   if (!ShapeFromImageInfo(info, shape, error)) ...
//   ImageFileLayout layout;
//   if (!PlanImageFile(shape, ImageFormat::kTiff, layout, error)) ...
//   write layout.header, then for each source row y:
//     MakeFileRow(layout, sourceRow, fileRow);  write fileRow at RowOffset(layout, y)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "twain/twain.h"

namespace imagefile {

enum class ImageFormat { kTiff, kBmp };

// An image of line art (1 bit per pixel, a set bit white), grey (8 bits,
// 0 black), colour (24 bits, red, green, blue), CMYK (32 bits: cyan,
// magenta, yellow, black, each 255 - ink as TWAIN's default pixel flavour
// has it) or deep colour (48 bits: red, green, blue, 16-bit little-endian
// samples).
struct ImageShape {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bitsPerPixel = 0;  // 1, 8, 24, 32 or 48
    uint32_t resolution = 0;    // dots per inch; 0 when unknown
};

// The shape of the image a source describes; false, with the reason, for a
// description twscan cannot write (other pixel types, planar or compressed
// data, sizes out of range).
bool ShapeFromImageInfo(const TW_IMAGEINFO& info, ImageShape& shape, std::string& error);

// Bytes of one row without padding, as TWAIN memory blocks and TIFF strips
// carry it.
uint32_t PackedRowBytes(const ImageShape& shape);

struct ImageFileLayout {
    ImageShape shape;
    std::vector<uint8_t> header;  // everything before the first pixel row
    uint32_t rowBytes = 0;        // bytes per row in the file
    bool bottomUp = false;        // BMP: the first image row is stored last
    bool swapRedBlue = false;     // BMP colour rows are blue, green, red
    bool inkAmounts = false;      // CMYK: the file holds ink (255 - what the source sends)
};

// TIFF: little-endian, one strip, rows top to bottom, unpadded;
// PhotometricInterpretation 1 (min-is-black) for line art and grey, 2 (RGB)
// for colour with 8 or 16 bits a sample, 5 (separated, ink amounts) for
// CMYK. BMP: bottom-up, rows padded to 4 bytes, colour as blue, green, red,
// a two-entry palette (black, white) for line art and 256 grey levels for
// grey; CMYK and 48-bit colour have no BMP layout. False, with the reason,
// for those and when the file would reach 4 GB.
bool PlanImageFile(const ImageShape& shape, ImageFormat format, ImageFileLayout& layout, std::string& error);

// Where image row y (0 = the top row) starts in the file.
uint64_t RowOffset(const ImageFileLayout& layout, uint32_t y);

// The file's row from a packed row of the source (PackedRowBytes(shape)
// bytes, colour as red, green, blue); `fileRow` receives layout.rowBytes.
// CMYK samples become ink amounts.
void MakeFileRow(const ImageFileLayout& layout, const uint8_t* packedRow, uint8_t* fileRow);

// What a packed device-independent bitmap holds, as its header says.
struct DibExtent {
    size_t bytes = 0;     // header, palette and pixels
    uint32_t width = 0;
    uint32_t height = 0;  // rows, whether stored bottom-up or top-down
};

// The 14-byte BMP file header for a packed device-independent bitmap of
// `dibSize` bytes (BITMAPINFOHEADER, palette, pixels), after checking that
// the header describes an uncompressed bitmap whose palette and pixels fit
// in `dibSize`. The file takes `extent.bytes` of the bitmap.
bool BmpFileHeaderForDib(const uint8_t* dib, size_t dibSize, std::vector<uint8_t>& header, DibExtent& extent,
                         std::string& error);

}  // namespace imagefile
