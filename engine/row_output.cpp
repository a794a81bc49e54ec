#include "engine/row_output.h"

#include <cstring>
#include <utility>

namespace rowoutput {

FileLayout LayoutForFormat(uint16_t format) {
    // Map entries 0 and 2 are the only ones with a writer.
    static const uint16_t kFormatMap[8] = {0, 1, 2, 3, 4, 4, 0, 0};
    if (format >= 8) return FileLayout::kNone;
    switch (kFormatMap[format]) {
        case 0: return FileLayout::kTiff;
        case 2: return FileLayout::kBmp;
        default: return FileLayout::kNone;
    }
}

RowForm ScannerOrderRow(uint32_t lineBytes, const colour::ColourTables* colourPass) {
    return {lineBytes, lineBytes, false, colourPass};
}

RowForm BitmapRow(uint32_t lineBytes, uint32_t bytesPerRow, bool colour, const colour::ColourTables* colourPass) {
    return {lineBytes, bytesPerRow < lineBytes ? lineBytes : bytesPerRow, colour, colourPass};
}

void EmitRow(const uint8_t* line, uint8_t* row, const RowForm& form) {
    const uint32_t pixels = form.lineBytes / 3;
    if (form.colourPass) {
        colour::ApplyColourPass(*form.colourPass, line, row, pixels);
        std::memcpy(row + 3 * pixels, line + 3 * pixels, form.lineBytes - 3 * pixels);
        if (form.swapRedBlue)
            for (uint32_t i = 0; i < pixels; ++i) std::swap(row[3 * i], row[3 * i + 2]);
    } else if (form.swapRedBlue) {
        for (uint32_t i = 0; i < pixels; ++i) {
            row[3 * i] = line[3 * i + 2];
            row[3 * i + 1] = line[3 * i + 1];
            row[3 * i + 2] = line[3 * i];
        }
        std::memcpy(row + 3 * pixels, line + 3 * pixels, form.lineBytes - 3 * pixels);
    } else {
        std::memcpy(row, line, form.lineBytes);
    }
    std::memset(row + form.lineBytes, 0, form.rowBytes - form.lineBytes);
}

int64_t RowsThatFit(uint32_t hostLength, uint32_t outRowBytes, bool lineArt) {
    if (outRowBytes == 0) return 0;
    return static_cast<int64_t>(hostLength / outRowBytes) - (lineArt ? 2 : 0);
}

uint64_t BottomUpRowOffset(uint64_t pixelOffset, uint32_t lines, uint32_t bytesPerRow, uint32_t row) {
    return pixelOffset + static_cast<uint64_t>(lines - 1 - row) * bytesPerRow;
}

}  // namespace rowoutput
