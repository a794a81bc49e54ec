#include "imaging/widen36.h"

namespace colour {

bool Widen36BitLine(const uint8_t* line, size_t lineBytes, uint8_t* out, size_t outSize) {
    if (line == nullptr || out == nullptr || lineBytes % 2 != 0 || outSize < lineBytes) return false;
    // Byte by byte so the loop vectorises: the low byte's bits 0-3 move to
    // bits 4-7, its bits 4-7 become the high byte's bits 0-3, and the high
    // byte's bits 0-3 its bits 4-7; bits 12-15 of the sample drop out.
    for (size_t i = 0; i < lineBytes; i += 2) {
        const uint8_t lo = line[i];
        const uint8_t hi = line[i + 1];
        out[i] = static_cast<uint8_t>(lo << 4);
        out[i + 1] = static_cast<uint8_t>((hi << 4) | (lo >> 4));
    }
    return true;
}

}  // namespace colour
