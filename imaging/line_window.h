// Three rolling lines (above, current, below) of an image that arrives block
// by block, for the 3 x 3 neighbourhood passes of the file route. Each line is
// held with one extra pixel at each end that repeats its first and last pixel;
// the first line of the image also serves as the line above it, and the last
// as the line below it. A line is finished once the line below it has
// arrived, so results lag the input by one line: the last line of a block is
// finished by the next block, or by EndLines at the end of the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace filters {

struct LineWindow {
    std::vector<uint8_t> above, current, below;  // lineBytes + 2 x channels each
    uint32_t lineBytes = 0;
    uint32_t channels = 0;   // 1 grey, 3 colour; 0 line art, which passes unchanged
    uint32_t linesFed = 0;   // lines of the image taken in so far
    bool holding = false;    // `current` waits for the line below it
};

// A finished line and its neighbours. Each pointer is at the line's first
// sample; indices -channels .. lineBytes + channels - 1 are valid.
struct LineNeighbourhood {
    const uint8_t* above;
    const uint8_t* current;
    const uint8_t* below;
    uint32_t line;  // index of the line in the image
};

// Prepares the window for an image of lines of `pixels` pixels at
// `bitsPerPixel` 1, 8 or 24. False when the geometry is empty or unknown or
// the lines cannot be allocated; the window then lets every line pass
// unchanged, as it does for line art.
bool StartLineWindow(LineWindow& window, uint32_t pixels, uint16_t bitsPerPixel);

inline bool PassesUnchanged(const LineWindow& window) { return window.channels == 0; }

// Steps of FeedLines and EndLines.
void LoadLine(const LineWindow& window, std::vector<uint8_t>& slot, const uint8_t* line);
LineNeighbourhood Neighbourhood(const LineWindow& window);
void RollDown(LineWindow& window);

// Takes in `count` lines of `lineBytes` each and calls finish(neighbourhood)
// for each line that becomes finished, in image order. Line k of `lines` is
// taken in before the call that finishes line k - 1, so `finish` may write the
// j-th result of this call over input line j or any earlier one.
template <class Finish>
void FeedLines(LineWindow& window, const uint8_t* lines, size_t count, Finish finish) {
    for (size_t k = 0; k < count; ++k) {
        const uint8_t* line = lines + k * window.lineBytes;
        if (!window.holding) {
            LoadLine(window, window.current, line);
            window.above = window.current;  // top of the image
            window.holding = true;
        } else {
            LoadLine(window, window.below, line);
            finish(Neighbourhood(window));
            RollDown(window);
        }
        ++window.linesFed;
    }
}

// End of the image: finishes the line still held, with itself as the line
// below. False when no line is held.
template <class Finish>
bool EndLines(LineWindow& window, Finish finish) {
    if (!window.holding) return false;
    window.below = window.current;
    finish(Neighbourhood(window));
    window.holding = false;
    return true;
}

}  // namespace filters
