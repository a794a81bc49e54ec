// Trilinear interpolation in a 17 x 17 x 17 grid of nodes of up to four bytes,
// shared by the grid colour profile and the CMYK table. Node (ri, gi, bi) is
// the file's bytes at channels * (ri * 289 + gi * 17 + bi); a level L lies
// in the cell between nodes L >> 4 and (L >> 4) + 1 at the fraction L & 15.
//
// Each output channel is the sum over the eight nodes around the cell of
// (16 - fr or fr) * (16 - fg or fg) * (16 - fb or fb) * node byte, shifted
// right by 12 (the weights sum to 4096). The sum is taken with SSE2 in two
// steps of multiply-adds (pmaddwd), both exact: along blue, node pairs
// weighted (16 - fb, fb), at most 16 * 255 per sum; then the four sums of a
// cell's red-green corners weighted (16 - fr or fr) * (16 - fg or fg), at most
// 4096 * 255 in all.
#pragma once

#include <emmintrin.h>

#include <cstdint>

namespace colour {

constexpr int kGridSide = 17;
constexpr int kGridNodeCount = kGridSide * kGridSide * kGridSide;  // 4913
constexpr int kGridCellSide = kGridSide - 1;
constexpr int kGridCellCount = kGridCellSide * kGridCellSide * kGridCellSide;  // 4096
constexpr int kGridCellBytes = 32;

// The eight nodes around each cell, so that one pixel reads 32 contiguous
// bytes. Cell (ri, gi, bi) is cells[ri * 256 + gi * 16 + bi]; its first 16
// bytes hold the nodes at red ri, the last 16 those at red ri + 1; each half
// holds, channel by channel, the pairs (blue bi, blue bi + 1) at green gi and
// then at green gi + 1, the order of the first multiply-add. Channels beyond
// those of the file are zero.
struct GridTable {
    alignas(64) uint8_t cells[kGridCellCount][kGridCellBytes];
};

// Builds the cells from the nodes of a file (`channels` bytes each, 1..4).
inline void BuildGridTable(const uint8_t* nodes, int channels, GridTable& table) {
    for (int cell = 0; cell < kGridCellCount; ++cell) {
        const int ri = cell >> 8, gi = (cell >> 4) & 15, bi = cell & 15;
        uint8_t* out = table.cells[cell];
        for (int i = 0; i < kGridCellBytes; ++i) {
            // Byte i: red step in bit 4, channel in bits 2..3, green step in
            // bit 1, blue step in bit 0.
            const int dr = i >> 4, c = (i >> 2) & 3, dg = (i >> 1) & 1, db = i & 1;
            const int node = (ri + dr) * kGridSide * kGridSide + (gi + dg) * kGridSide + bi + db;
            out[i] = c < channels ? nodes[channels * node + c] : 0;
        }
    }
}

// The multiply-add weights, in 16-bit lanes: along blue, (16 - fb, fb) four
// times; for the red-green corners, by fr * 16 + fg, the weights of green gi
// and gi + 1 at red ri, four times, then the same at red ri + 1.
struct GridWeights {
    alignas(16) int16_t blue[16][8];
    alignas(16) int16_t redGreen[256][2][8];
};

constexpr GridWeights MakeGridWeights() {
    GridWeights w{};
    for (int f = 0; f < 16; ++f)
        for (int lane = 0; lane < 8; ++lane) w.blue[f][lane] = static_cast<int16_t>(lane & 1 ? f : 16 - f);
    for (int fr = 0; fr < 16; ++fr)
        for (int fg = 0; fg < 16; ++fg)
            for (int dr = 0; dr < 2; ++dr)
                for (int lane = 0; lane < 8; ++lane)
                    w.redGreen[fr * 16 + fg][dr][lane] =
                        static_cast<int16_t>((dr ? fr : 16 - fr) * (lane & 1 ? fg : 16 - fg));
    return w;
}

inline constexpr GridWeights kGridWeights = MakeGridWeights();

// Where a pixel lies in the grid, as the sum of one word per axis and level:
// bits 0..3 fb; bits 5..16 the byte offset of the cell (the three axes add up
// to (ri * 256 + gi * 16 + bi) * 32); bits 17..24 fr * 16 + fg. No field
// carries into the next.
constexpr uint32_t kGridFractionBlueMask = 0xF;
constexpr uint32_t kGridCellOffsetMask = 0x1FFE0;
constexpr int kGridRedGreenShift = 17;

constexpr uint32_t GridPosition(unsigned level, int axis) {
    const unsigned node = level >> 4, f = level & 15;
    constexpr unsigned kCellStride[3] = {256 * kGridCellBytes, 16 * kGridCellBytes, kGridCellBytes};
    constexpr unsigned kFractionShift[3] = {kGridRedGreenShift + 4, kGridRedGreenShift, 0};
    return node * kCellStride[axis] + (f << kFractionShift[axis]);
}

// The positions of the levels 0..255 along each axis, through a curve per
// axis (curves: three tables of 256 levels) or directly (curves null).
struct GridAxes {
    uint32_t position[3][256];
};

inline void BuildGridAxes(const uint8_t* curves, GridAxes& axes) {
    for (int a = 0; a < 3; ++a)
        for (unsigned v = 0; v < 256; ++v) axes.position[a][v] = GridPosition(curves ? curves[256 * a + v] : v, a);
}

inline __m128i LoadWeights(const int16_t (&lanes)[8]) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(lanes));
}

// The four channel sums of the pixel at a position (before the shift by 12),
// in 32-bit lanes.
inline __m128i GridSums(const GridTable& table, uint32_t position) {
    // The offset spans the whole table, not one cell: index its bytes as one array.
    const uint8_t* cell = reinterpret_cast<const uint8_t*>(table.cells) + (position & kGridCellOffsetMask);
    const __m128i blue = LoadWeights(kGridWeights.blue[position & kGridFractionBlueMask]);
    const auto& redGreen = kGridWeights.redGreen[position >> kGridRedGreenShift];
    const __m128i zero = _mm_setzero_si128();

    // Along blue, at red ri and then ri + 1: eight sums in 16-bit lanes,
    // green gi and gi + 1 for channel 0, then for channels 1, 2 and 3, ready
    // for the next multiply-add.
    auto alongBlue = [&](const uint8_t* half) {
        const __m128i nodes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(half));
        return _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(nodes, zero), blue),
                               _mm_madd_epi16(_mm_unpackhi_epi8(nodes, zero), blue));
    };
    // The four red-green corners, per channel.
    return _mm_add_epi32(_mm_madd_epi16(alongBlue(cell), LoadWeights(redGreen[0])),
                         _mm_madd_epi16(alongBlue(cell + 16), LoadWeights(redGreen[1])));
}

inline uint32_t GridPositionOf(const GridAxes& axes, unsigned red, unsigned green, unsigned blue) {
    return axes.position[0][red] + axes.position[1][green] + axes.position[2][blue];
}

// One pixel: channel c of the result in bits 8c..8c+7.
inline uint32_t InterpolateGrid(const GridTable& table, const GridAxes& axes, unsigned red, unsigned green,
                                unsigned blue) {
    const __m128i sums = _mm_srli_epi32(GridSums(table, GridPositionOf(axes, red, green, blue)), 12);
    const __m128i words = _mm_packs_epi32(sums, sums);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}

// Four pixels of three bytes from `pixels` on, red at byte redByte of each,
// green at 1, blue at 2 - redByte: channel c of pixel k in byte 4k + c.
inline __m128i InterpolateGrid4(const GridTable& table, const GridAxes& axes, const uint8_t* pixels, int redByte) {
    __m128i sums[4];
    for (int k = 0; k < 4; ++k) {
        const uint8_t* p = pixels + 3 * k;
        sums[k] = _mm_srli_epi32(GridSums(table, GridPositionOf(axes, p[redByte], p[1], p[2 - redByte])), 12);
    }
    return _mm_packus_epi16(_mm_packs_epi32(sums[0], sums[1]), _mm_packs_epi32(sums[2], sums[3]));
}

// Byte c of an interpolated result.
inline uint8_t GridChannel(uint32_t result, int c) { return static_cast<uint8_t>(result >> (8 * c)); }

}  // namespace colour
