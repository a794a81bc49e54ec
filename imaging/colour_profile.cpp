#include "imaging/colour_profile.h"

#include <emmintrin.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/bgr_image.h"
#include "imaging/data_file.h"
#include "imaging/image_records.h"

namespace colour {

namespace {

float LittleEndianFloat(const uint8_t* p) {
    const uint32_t bits = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                          (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool ReadMatrix(const uint8_t* bytes, int32_t matrix[3][4]) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            const double value = LittleEndianFloat(bytes + kCurvesSize + 4 * (4 * r + c));
            if (!std::isfinite(value) || std::fabs(value) > kMatrixValueLimit) return false;
            matrix[r][c] = static_cast<int32_t>(value * kMatrixScale);
        }
    }
    return true;
}

// Red is byte Red of a pixel and blue byte 2 - Red.
template <int Red>
void MatrixRow(const ColourProfile& profile, uint8_t* p, int width) {
    constexpr int kBlue = 2 - Red;
    const auto& k = profile.matrix;
    for (int x = 0; x < width; ++x, p += 3) {
        const int32_t rgb[3] = {p[Red], p[1], p[kBlue]};
        uint8_t out[3];
        for (int r = 0; r < 3; ++r) {
            int32_t v = k[r][0] + k[r][1] * rgb[0] + k[r][2] * rgb[1] + k[r][3] * rgb[2];
            v = v < 0 ? 0 : v >> 6;
            out[r] = profile.curve[r][v < 255 ? v : 255];
        }
        p[Red] = out[0];
        p[1] = out[1];
        p[kBlue] = out[2];
    }
}

// Four pixels of a grid profile's result (channel 3 zero) written back as
// twelve bytes, channels 0..2 of pixel k at 3k + Red, 3k + 1 and 3k + 2 - Red.
template <int Red>
void StoreGridPixels(__m128i result, uint8_t* p) {
    if constexpr (Red == 2) {  // channels 0 and 2 trade places
        const __m128i middle = _mm_and_si128(result, _mm_set1_epi32(0xFF00));
        const __m128i first = _mm_and_si128(_mm_slli_epi32(result, 16), _mm_set1_epi32(0xFF0000));
        result = _mm_or_si128(_mm_or_si128(first, middle), _mm_srli_epi32(result, 16));
    }
    uint32_t px[4];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(px), result);
    // Little-endian words: pixel k's three bytes follow one another. They
    // are stored one by one: a copy of the whole array would read it back
    // from the stack in a wider load, which waits for the stores to finish.
    const uint32_t words[3] = {px[0] | px[1] << 24, px[1] >> 8 | px[2] << 16, px[2] >> 16 | px[3] << 8};
    for (int i = 0; i < 3; ++i) std::memcpy(p + 4 * i, &words[i], 4);
}

// The pixels are read before any of their bytes is written, four at a time
// and then one by one.
template <int Red>
void GridRow(const ColourProfile& profile, uint8_t* p, int width) {
    constexpr int kBlue = 2 - Red;
    int x = 0;
    for (; x + 4 <= width; x += 4, p += 12)
        StoreGridPixels<Red>(InterpolateGrid4(profile.grid, profile.gridAxes, p, Red), p);
    for (; x < width; ++x, p += 3) {
        const uint32_t out = InterpolateGrid(profile.grid, profile.gridAxes, p[Red], p[1], p[kBlue]);
        p[Red] = GridChannel(out, 0);
        p[1] = GridChannel(out, 1);
        p[kBlue] = GridChannel(out, 2);
    }
}

template <int Red>
void ProfileRows(const ColourProfile& profile, int height, int width, size_t stride, uint8_t* pixels) {
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixels + static_cast<size_t>(y) * stride;
        if (profile.kind == ProfileKind::kMatrix)
            MatrixRow<Red>(profile, row, width);
        else
            GridRow<Red>(profile, row, width);
    }
}

}  // namespace

std::string ColourProfilePath(const std::string& sourcesDir, uint8_t scanSource) {
    if (scanSource == kSourceReflective) return sourcesDir + "\\COLOR\\orvaA3.tab";
    if (scanSource == kSourcePositive) return sourcesDir + "\\COLOR\\orvaA3p.tab";
    return std::string();
}

bool ParseColourProfile(const uint8_t* bytes, size_t size, ColourProfile& profile) {
    if (bytes == nullptr || size > kProfileBufferSize) return false;
    const bool matrix = size < kGridProfileMinSize;
    if (size < (matrix ? kMatrixProfileSize : kGridProfileSize)) return false;

    int32_t k[3][4];
    if (matrix && !ReadMatrix(bytes, k)) return false;
    profile.kind = matrix ? ProfileKind::kMatrix : ProfileKind::kGrid;
    std::memcpy(profile.curve, bytes, kCurvesSize);
    if (matrix) {
        std::memcpy(profile.matrix, k, sizeof k);
    } else {
        BuildGridTable(bytes + kCurvesSize, 3, profile.grid);
        BuildGridAxes(bytes, profile.gridAxes);
    }
    return true;
}

bool LoadColourProfile(const std::string& path, ColourProfile& profile) {
    if (profile.kind != ProfileKind::kNone) return true;
    std::vector<uint8_t> bytes;
    return !path.empty() && ReadDataFile(path, kProfileBufferSize, bytes) &&
           ParseColourProfile(bytes.data(), bytes.size(), profile);
}

void ReleaseColourProfile(ColourProfile& profile) { profile.kind = ProfileKind::kNone; }

bool ApplyColourProfile(const ColourProfile& profile, int height, int width, size_t stride, uint8_t* pixels,
                        size_t bufferSize, bool previewOrder) {
    if (profile.kind == ProfileKind::kNone || pixels == nullptr ||
        !tone::FitsBuffer(bufferSize, width, height, stride))
        return false;
    if (previewOrder)
        ProfileRows<2>(profile, height, width, stride, pixels);
    else
        ProfileRows<0>(profile, height, width, stride, pixels);
    return true;
}

}  // namespace colour
