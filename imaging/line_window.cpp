#include "imaging/line_window.h"

#include <cstring>
#include <new>
#include <utility>

namespace filters {

bool StartLineWindow(LineWindow& window, uint32_t pixels, uint16_t bitsPerPixel) {
    // Until the lines are allocated the window lets everything pass unchanged.
    window.channels = 0;
    window.lineBytes = 0;
    window.linesFed = 0;
    window.holding = false;
    if (pixels == 0) return false;
    if (bitsPerPixel == 1) {
        window.lineBytes = (pixels + 7) / 8;
        return true;
    }
    if (bitsPerPixel != 8 && bitsPerPixel != 24) return false;
    const uint32_t channels = bitsPerPixel / 8;
    if (pixels > (UINT32_MAX - 2 * channels) / channels) return false;
    window.lineBytes = pixels * channels;
    const size_t padded = size_t{window.lineBytes} + 2 * channels;
    try {
        window.above.resize(padded);
        window.current.resize(padded);
        window.below.resize(padded);
    } catch (const std::bad_alloc&) {
        return false;
    }
    window.channels = channels;
    return true;
}

void LoadLine(const LineWindow& window, std::vector<uint8_t>& slot, const uint8_t* line) {
    const uint32_t ch = window.channels, n = window.lineBytes;
    uint8_t* padded = slot.data();
    std::memcpy(padded, line, ch);
    std::memcpy(padded + ch, line, n);
    std::memcpy(padded + ch + n, line + n - ch, ch);
}

LineNeighbourhood Neighbourhood(const LineWindow& window) {
    const uint32_t ch = window.channels;
    return {window.above.data() + ch, window.current.data() + ch, window.below.data() + ch, window.linesFed - 1};
}

void RollDown(LineWindow& window) {
    std::swap(window.above, window.current);
    std::swap(window.current, window.below);
}

}  // namespace filters
