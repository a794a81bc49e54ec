// A small integer hash that makes the simulated scanner's "random" details
// (element gains, noise, dust, the words of the procedural bed) repeatable
// from a seed on every platform.
#pragma once

#include <cstdint>

namespace sim {

inline uint32_t MixBits(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

inline uint32_t SeededHash(uint32_t seed, uint32_t purpose, uint32_t a, uint32_t b) {
    return MixBits(seed ^ MixBits(purpose ^ MixBits(a ^ MixBits(b))));
}

}  // namespace sim
