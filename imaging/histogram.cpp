#include "imaging/histogram.h"

#include <cstring>

#include "imaging/bgr_image.h"

namespace tone {

bool BuildHistogram(const uint8_t* pixels, size_t bufferSize, int width, int height, size_t stride,
                    Histogram& histogram) {
    if (pixels == nullptr || !FitsBuffer(bufferSize, width, height, stride)) return false;

    std::memset(&histogram, 0, sizeof histogram);
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = pixels + y * stride;
        for (int x = 0; x < width; ++x, p += 3) {
            ++histogram.blue[p[0]];
            ++histogram.green[p[1]];
            ++histogram.red[p[2]];
            ++histogram.grey[(p[0] + p[1] + p[2]) / 3];
        }
    }
    return true;
}

namespace {

bool Occupied(const Histogram& h, int level, int editChannel, bool colourMode) {
    switch (editChannel) {
        case 1: return h.red[level] != 0;
        case 2: return h.green[level] != 0;
        case 3: return h.blue[level] != 0;
        default:
            // A colour master level counts only when the three channels
            // together hold at least three samples there.
            return colourMode ? uint64_t{h.red[level]} + h.green[level] + h.blue[level] >= 3 : h.grey[level] != 0;
    }
}

}  // namespace

AutoLevelsResult AutoLevels(const Histogram& histogram, int editChannel, bool colourMode, int currentShadow) {
    const int channel = colourMode ? editChannel : 0;
    int low = 0;
    while (low < 256 && !Occupied(histogram, low, channel, colourMode)) ++low;
    if (low == 256) return {false, 0, 0, false};
    int high = 255;
    while (high > low && !Occupied(histogram, high, channel, colourMode)) --high;
    if (high == low) return {false, 0, 0, false};
    return {true, high, low, high <= currentShadow};
}

}  // namespace tone
