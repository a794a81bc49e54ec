#include "imaging/cmyk.h"

#include <emmintrin.h>

#include <vector>

#include "imaging/data_file.h"

namespace colour {

std::string CmykTablePath(const std::string& installDir, bool pictureHost) {
    return installDir + (pictureHost ? "\\cmykpp60.tab" : "\\cmyk.tab");
}

bool ParseCmykTable(const uint8_t* bytes, size_t size, CmykTable& table) {
    if (bytes == nullptr || size != kCmykTableSize) return false;
    BuildGridTable(bytes, 4, table.grid);
    BuildGridAxes(nullptr, table.axes);
    table.loaded = true;
    return true;
}

bool LoadCmykTable(const std::string& path, CmykTable& table) {
    FreeCmykTable(table);
    std::vector<uint8_t> bytes;
    return ReadDataFile(path, kCmykTableSize, bytes) && ParseCmykTable(bytes.data(), bytes.size(), table);
}

void FreeCmykTable(CmykTable& table) { table.loaded = false; }

bool ConvertToCmyk(const CmykTable& table, uint8_t* buffer, size_t bufferSize, size_t inputBytes, bool direct) {
    if (!table.loaded || buffer == nullptr || inputBytes % 3 != 0) return false;
    const size_t pixels = inputBytes / 3;
    if (pixels > bufferSize / 4) return false;
    const uint32_t flip = direct ? 0 : 0xFFFFFFFF;  // v ^ 0xFF is 255 - v

    // Output pixel p (bytes 4p..) never lies below input pixel p (bytes 3p..),
    // so working from the last pixel back converts in place: each write only
    // covers input that has already been read. The pixels beyond a multiple
    // of four go one by one, the rest four at a time.
    size_t p = pixels;
    for (; p % 4 != 0; --p) {
        const uint8_t* in = buffer + 3 * (p - 1);
        const uint32_t ink = InterpolateGrid(table.grid, table.axes, in[0], in[1], in[2]) ^ flip;
        uint8_t* out = buffer + 4 * (p - 1);
        for (int c = 0; c < 4; ++c) out[c] = GridChannel(ink, c);
    }
    const __m128i flip4 = _mm_set1_epi32(static_cast<int>(flip));
    for (; p > 0; p -= 4) {
        const __m128i ink = _mm_xor_si128(InterpolateGrid4(table.grid, table.axes, buffer + 3 * (p - 4), 0), flip4);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(buffer + 4 * (p - 4)), ink);
    }
    return true;
}

}  // namespace colour
