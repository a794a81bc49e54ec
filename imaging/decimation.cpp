#include "imaging/decimation.h"

#include <new>

namespace filters {

namespace {

void FillMask(std::vector<uint8_t>& mask, uint32_t target, uint32_t& kept) {
    uint64_t accumulator = 300;
    kept = 0;
    for (uint8_t& keep : mask) {
        if (accumulator + target < 300) {
            keep = 0;
            accumulator += target;
        } else {
            keep = 1;
            accumulator = accumulator + target - 300;
            ++kept;
        }
    }
}

bool LineKept(const BoxDecimation& d, uint32_t line) { return line < d.masks.lines.size() && d.masks.lines[line]; }

// Sums the three lines down each padded column first, then three columns
// across at each kept pixel.
void DecimateLine(BoxDecimation& d, const LineNeighbourhood& nb, uint8_t* out) {
    const uint32_t ch = d.window.channels;
    const uint32_t padded = d.window.lineBytes + 2 * ch;
    const uint8_t *above = nb.above - ch, *current = nb.current - ch, *below = nb.below - ch;
    uint16_t* sums = d.columnSums.data();
    for (uint32_t i = 0; i < padded; ++i) sums[i] = static_cast<uint16_t>(above[i] + current[i] + below[i]);
    for (const uint32_t pixel : d.keptPixels) {
        const uint16_t* left = sums + size_t{pixel} * ch;  // the padded line starts one pixel early
        for (uint32_t c = 0; c < ch; ++c)
            *out++ = static_cast<uint8_t>((left[c] + left[c + ch] + left[c + 2 * ch]) / 9);
    }
}

}  // namespace

DecimationMasks BuildDecimationMasks(uint32_t resolution, uint32_t scaling, uint32_t pixelsPerLine, uint32_t lines) {
    const uint32_t target = static_cast<uint32_t>(uint64_t{resolution} * scaling / 100);
    DecimationMasks masks;
    masks.columns.resize(pixelsPerLine);
    masks.lines.resize(lines);
    FillMask(masks.columns, target, masks.keptColumns);
    FillMask(masks.lines, target, masks.keptLines);
    return masks;
}

bool StartBoxDecimation(BoxDecimation& d, uint32_t resolution, uint32_t scaling, uint32_t pixelsPerLine,
                        uint32_t lines, uint16_t bitsPerPixel) {
    const bool started = StartLineWindow(d.window, pixelsPerLine, bitsPerPixel);
    d.outputLineBytes = d.window.lineBytes;
    d.outputLines = lines;
    if (!started || PassesUnchanged(d.window)) return started;
    const uint32_t ch = d.window.channels;
    try {
        d.masks = BuildDecimationMasks(resolution, scaling, pixelsPerLine, lines);
        d.keptPixels.clear();
        d.keptPixels.reserve(d.masks.keptColumns);
        for (uint32_t x = 0; x < pixelsPerLine; ++x)
            if (d.masks.columns[x]) d.keptPixels.push_back(x);
        d.columnSums.resize(size_t{d.window.lineBytes} + 2 * ch);
    } catch (const std::bad_alloc&) {
        d.window.channels = 0;  // lets every line pass, as a window that failed to start does
        return false;
    }
    d.outputLineBytes = d.masks.keptColumns * ch;
    d.outputLines = d.masks.keptLines;
    return true;
}

size_t BoxDecimate(BoxDecimation& d, uint8_t* block, size_t count) {
    if (PassesUnchanged(d.window)) return count * d.window.lineBytes;
    size_t written = 0;
    FeedLines(d.window, block, count, [&](const LineNeighbourhood& nb) {
        if (!LineKept(d, nb.line)) return;
        DecimateLine(d, nb, block + written);
        written += d.outputLineBytes;
    });
    return written;
}

size_t FinishBoxDecimation(BoxDecimation& d, uint8_t* line) {
    if (PassesUnchanged(d.window)) return 0;
    size_t written = 0;
    EndLines(d.window, [&](const LineNeighbourhood& nb) {
        if (!LineKept(d, nb.line)) return;
        DecimateLine(d, nb, line);
        written = d.outputLineBytes;
    });
    return written;
}

}  // namespace filters
