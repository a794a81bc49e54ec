// How the transfers lay out the rows they hand to the host: which file layout
// a TWAIN file format gets, how one scanner line becomes an output row, how
// many rows fit a host buffer, and where a row lies in a bottom-up bitmap.
#pragma once

#include <cstdint>

#include "imaging/colour_adjust.h"

namespace rowoutput {

// The layouts the file writers know. A format that maps to anything else has
// no writer.
enum class FileLayout { kTiff, kBmp, kNone };

// The file-format map, indexed by the host's TWAIN file format: TIFF, and the
// formats that fall back to it (multi-page TIFF, PNG), get the TIFF layout;
// BMP the BMP layout; PICT, XBM, JFIF, FlashPix and anything unknown none.
FileLayout LayoutForFormat(uint16_t format);

// One output row made from one line in scanner order: `lineBytes` bytes
// copied, through the colour pass when `colourPass` is given (in the
// scanner's byte order, red first), with red and blue swapped in every three
// bytes when `swapRedBlue` (red, green, blue becomes bitmap order blue,
// green, red), then zero bytes up to `rowBytes`.
struct RowForm {
    uint32_t lineBytes;
    uint32_t rowBytes;
    bool swapRedBlue;
    const colour::ColourTables* colourPass = nullptr;
};

// The row forms of the three transfers. Memory blocks and TIFF files carry the
// line as the scanner delivers it (RGB for colour, unpadded); the native
// bitmap and BMP files carry bitmap rows (BGR for colour, padded to
// `bytesPerRow`).
RowForm ScannerOrderRow(uint32_t lineBytes, const colour::ColourTables* colourPass = nullptr);
RowForm BitmapRow(uint32_t lineBytes, uint32_t bytesPerRow, bool colour,
                  const colour::ColourTables* colourPass = nullptr);

void EmitRow(const uint8_t* line, uint8_t* row, const RowForm& form);

// Rows of `outRowBytes` that fit a host buffer of `hostLength` bytes, less
// two for line art. Zero or less means the buffer cannot take one row.
int64_t RowsThatFit(uint32_t hostLength, uint32_t outRowBytes, bool lineArt);

// Byte offset of image row `row` (0 = first scanned) in a bottom-up bitmap
// whose pixel area starts at `pixelOffset` and holds `lines` rows of
// `bytesPerRow`: the first scanned row is stored last.
uint64_t BottomUpRowOffset(uint64_t pixelOffset, uint32_t lines, uint32_t bytesPerRow, uint32_t row);

}  // namespace rowoutput
