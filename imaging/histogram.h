// Level histogram of the preview and the automatic highlight/shadow ("Auto")
// computed from it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tone {

struct Histogram {
    uint32_t red[256];
    uint32_t green[256];
    uint32_t blue[256];
    uint32_t grey[256];  // (red + green + blue) / 3
};

// Counts the pixels of a 24-bit image whose bytes are blue, green, red; rows
// are stride bytes apart in a buffer of bufferSize bytes. Returns false,
// leaving the histogram untouched, when the geometry does not fit the buffer.
bool BuildHistogram(const uint8_t* pixels, size_t bufferSize, int width, int height, size_t stride,
                    Histogram& histogram);

// New Highlight and Shadow for the Enhancements page, and the order in which
// the page sets them so that its edit rules never see shadow >= highlight.
struct AutoLevelsResult {
    bool changed;      // false: no occupied level, or a single one
    int highlight;
    int shadow;
    bool shadowFirst;  // set Shadow before Highlight
};

// editChannel as the page numbers it (0 master, 1 red, 2 green, 3 blue; grey
// modes always use the master); currentShadow is the edited channel's shadow.
AutoLevelsResult AutoLevels(const Histogram& histogram, int editChannel, bool colourMode, int currentShadow);

}  // namespace tone
