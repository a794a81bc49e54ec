// Trilinear interpolation in a 17 x 17 x 17 grid of nodes of up to four bytes,
// shared by the grid colour profile and the CMYK table. Node (ri, gi, bi) is
// the file's bytes at channels * (ri * 289 + gi * 17 + bi); a level L lies
// between nodes L >> 4 and (L >> 4) + 1 at the fraction L & 15.
#pragma once

#include <cstdint>

namespace colour {

constexpr int kGridSide = 17;
constexpr int kGridNodeCount = kGridSide * kGridSide * kGridSide;  // 4913

// A node held with its bytes spread over the four 16-bit lanes of a 64-bit
// word (channel c in bits 16c..16c+15), so that one multiplication weighs all
// channels at once: 16 times the node, and the step to the next node along
// blue (zero for the last node of a row).
struct GridCell {
    uint64_t base;
    uint64_t step;
};

// Builds the cells of the nodes of a file (`channels` bytes each, 1..4).
inline void BuildGridCells(const uint8_t* bytes, int channels, GridCell cells[kGridNodeCount]) {
    auto spread = [&](int n) {
        uint64_t lanes = 0;
        for (int c = 0; c < channels; ++c) lanes |= static_cast<uint64_t>(bytes[channels * n + c]) << (16 * c);
        return lanes;
    };
    for (int n = 0; n < kGridNodeCount; ++n) {
        const bool lastAlongBlue = n % kGridSide == kGridSide - 1;
        cells[n] = {spread(n) << 4, lastAlongBlue ? 0 : spread(n + 1) - spread(n)};
    }
}

// Where a level lies along one axis of the grid: the cell offset of its lower
// node in bits 8 and up, its fraction in bits 0..3. The offsets of the three
// axes add up to the lower corner's cell (the fractions, at most 45, stay
// below bit 8).
constexpr unsigned kGridStride[3] = {kGridSide * kGridSide, kGridSide, 1};  // red, green, blue

constexpr uint32_t GridPosition(unsigned level, int axis) {
    return (((level >> 4) * kGridStride[axis]) << 8) | (level & 15);
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

// Steps from a toward b by f sixteenths in every lane at once: 16a + f(b - a).
// A lane of b - a may be negative, but the arithmetic is linear modulo 2^64,
// so every lane comes out right as long as its final value fits the lane.
inline uint64_t Lerp16(uint64_t a, uint64_t b, uint64_t f) { return (a << 4) + f * (b - a); }

// Each output channel is the sum over the eight surrounding nodes of
// (16 - fr or fr) * (16 - fg or fg) * (16 - fb or fb) * node byte, shifted
// right by 12 (the weights sum to 4096). The sum is evaluated one axis at a
// time, which gives the same integer: after the blue and green axes a lane
// holds at most 16 * 16 * 255, which still fits 16 bits; the red axis, up to
// 4096 * 255, is done in 32-bit lanes. Channel c of the result is in bits
// 8c..8c+7. pr, pg, pb are GridPositions along red, green and blue.
inline uint32_t InterpolateGrid(const GridCell* cells, uint32_t pr, uint32_t pg, uint32_t pb) {
    constexpr unsigned kStepR = kGridStride[0];
    constexpr unsigned kStepG = kGridStride[1];
    constexpr uint64_t kEvenLanes = 0x0000FFFF0000FFFFull;
    constexpr uint64_t kLowBytes = 0x000000FF000000FFull;
    const GridCell* n = cells + ((pr + pg + pb) >> 8);
    const uint64_t fr = pr & 15, fg = pg & 15, fb = pb & 15;
    auto alongBlue = [&](const GridCell& cell) { return cell.base + fb * cell.step; };

    const uint64_t g0 = Lerp16(alongBlue(n[0]), alongBlue(n[kStepG]), fg);
    const uint64_t g1 = Lerp16(alongBlue(n[kStepR]), alongBlue(n[kStepR + kStepG]), fg);
    // Channels 0 and 2, then 1 and 3, in 32-bit lanes.
    const uint64_t even = Lerp16(g0 & kEvenLanes, g1 & kEvenLanes, fr) >> 12;
    const uint64_t odd = Lerp16((g0 >> 16) & kEvenLanes, (g1 >> 16) & kEvenLanes, fr) >> 12;
    const uint64_t bytes = (even & kLowBytes) | ((odd & kLowBytes) << 8);  // c0 c1 in bits 0..15, c2 c3 in 32..47
    return static_cast<uint32_t>(bytes | (bytes >> 16));
}

// Byte c of an interpolated result.
inline uint8_t GridChannel(uint32_t result, int c) { return static_cast<uint8_t>(result >> (8 * c)); }

}  // namespace colour
