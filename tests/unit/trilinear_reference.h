// The 17 x 17 x 17 grid lookup written out plainly, for the tests of the
// grid profile and the CMYK conversion: each node weighted by the product of
// (16 - f or f) on the three axes, the sum shifted right by 12.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct TrilinearReference {
    std::vector<uint8_t> nodes;  // channels bytes per node, node (r, g, b) at r * 289 + g * 17 + b
    int channels;
    const uint8_t* curves = nullptr;  // red, green, blue input curves of 256 levels, or none

    // Channels beyond the grid's come out 0.
    std::array<uint8_t, 4> operator()(unsigned red, unsigned green, unsigned blue) const {
        const unsigned level[3] = {curves ? curves[red] : red, curves ? curves[256 + green] : green,
                                   curves ? curves[512 + blue] : blue};
        const unsigned fr = level[0] & 15, fg = level[1] & 15, fb = level[2] & 15;
        std::array<uint8_t, 4> out = {0, 0, 0, 0};
        for (int c = 0; c < channels; ++c) {
            unsigned sum = 0;
            for (unsigned dr = 0; dr < 2; ++dr)
                for (unsigned dg = 0; dg < 2; ++dg)
                    for (unsigned db = 0; db < 2; ++db) {
                        const unsigned weight = (dr ? fr : 16 - fr) * (dg ? fg : 16 - fg) * (db ? fb : 16 - fb);
                        const unsigned node =
                            ((level[0] >> 4) + dr) * 289 + ((level[1] >> 4) + dg) * 17 + (level[2] >> 4) + db;
                        sum += weight * nodes[channels * node + c];
                    }
            out[c] = static_cast<uint8_t>(sum >> 12);
        }
        return out;
    }
};

// Bytes of a simple generator, so that every run sees the same tables and pixels.
inline std::vector<uint8_t> PseudoRandomBytes(size_t size, unsigned seed) {
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    return bytes;
}
