// 36-bit colour: the scanner delivers 12 significant bits in each 16-bit
// little-endian sample; the host receives them as the top 12 bits.
#pragma once

#include <cstddef>
#include <cstdint>

namespace colour {

// Writes each sample of line (lineBytes bytes, two per sample) to out as
// (sample & 0x0FFF) * 16; out may be line. False, writing nothing, for an odd
// byte count or an output shorter than the line.
bool Widen36BitLine(const uint8_t* line, size_t lineBytes, uint8_t* out, size_t outSize);

}  // namespace colour
