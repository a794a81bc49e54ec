#include "imaging/block_filters.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/filter_common.h"

namespace filters {

namespace {

uint8_t Clamp(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

const auto kBlurInner = [](int left, int self, int right) { return static_cast<uint8_t>((left + self + right) / 3); };
const auto kBlurLast = [](int left, int self) { return static_cast<uint8_t>((2 * self + left) / 3); };
const auto kSharpenInner = [](int left, int self, int right) { return Clamp(3 * self - left - right); };
const auto kSharpenLast = [](int left, int self) { return Clamp(2 * self - left); };

// The samples of each line of a block: `samples` bytes at the start of each
// line of `stride` bytes, `channels` bytes per pixel.
struct BlockLines {
    uint8_t* block;
    size_t count;
    size_t stride;
    uint32_t samples;
    uint32_t channels;
    uint8_t* Line(size_t l) const { return block + l * stride; }
};

// `passes` passes along each line, each from a copy of the line as the last
// pass left it: inner(left, self, right) from pixel 1 to the one before the
// last, last(left, self) for the last pixel; pixel 0 stays.
template <class Inner, class Last>
void AlongLines(const BlockLines& b, int passes, Inner inner, Last last) {
    const uint32_t n = b.samples, ch = b.channels;
    if (n <= ch) return;
    std::vector<uint8_t> copy(n);
    for (size_t l = 0; l < b.count; ++l) {
        uint8_t* line = b.Line(l);
        for (int pass = 0; pass < passes; ++pass) {
            std::memcpy(copy.data(), line, n);
            const uint8_t *left = copy.data() - ch, *self = copy.data(), *right = copy.data() + ch;
            for (uint32_t i = ch; i < n - ch; ++i) line[i] = inner(left[i], self[i], right[i]);
            for (uint32_t i = n - ch; i < n; ++i) line[i] = last(left[i], self[i]);
        }
    }
}

// Each sample is taken against a neighbour the pass has not reached yet, so
// working in place is safe.
void Emboss(const BlockLines& b) {
    const uint32_t n = b.samples, ch = b.channels;
    if (b.count == 1) {
        uint8_t* line = b.Line(0);
        const uint8_t* next = line + ch;
        for (uint32_t i = 0; i < n - ch; ++i) line[i] = Clamp(line[i] - next[i] + 128);
        std::memset(line + n - ch, 128, ch);
        return;
    }
    for (size_t l = 0; l + 1 < b.count; ++l) {
        uint8_t* line = b.Line(l);
        const uint8_t* below = b.Line(l + 1);
        for (uint32_t i = 0; i < n; ++i) line[i] = Clamp(line[i] - below[i] + 128);
    }
    std::memcpy(b.Line(b.count - 1), b.Line(b.count - 2), n);
}

bool Fits(const LineFormat& format) {
    switch (format.bitsPerPixel) {
        case 1: return (uint64_t{format.pixels} + 7) / 8 <= format.bytes;
        case 8:
        case 24: return uint64_t{format.pixels} * (format.bitsPerPixel / 8) <= format.bytes;
        default: return false;
    }
}

void Filter(const BlockLines& b, const LineFormat& format, uint16_t filterMode) {
    if (filterMode == kFilterInvert) {
        for (size_t l = 0; l < b.count; ++l) InvertBytes(b.Line(l), format.bytes);
        return;
    }
    if (filterMode == kFilterFlip) {
        for (size_t l = 0; l < b.count; ++l) MirrorRow(b.Line(l), format.pixels, format.bitsPerPixel);
        return;
    }
    if (format.bitsPerPixel == 1) return;
    switch (filterMode) {
        case kFilterBlur: AlongLines(b, 1, kBlurInner, kBlurLast); break;
        case kFilterBlurMore: AlongLines(b, 5, kBlurInner, kBlurLast); break;
        case kFilterSharpen: AlongLines(b, 1, kSharpenInner, kSharpenLast); break;
        case kFilterSharpenMore: AlongLines(b, 2, kSharpenInner, kSharpenLast); break;
        case kFilterEmboss: Emboss(b); break;
        default: break;
    }
}

}  // namespace

bool FilterBlock(uint8_t* block, size_t lines, const LineFormat& format, uint16_t filterMode) {
    if (!Fits(format)) return false;
    if (lines == 0 || format.pixels == 0) return true;
    const uint32_t channels = format.bitsPerPixel == 24 ? 3 : 1;
    const BlockLines b{block, lines, format.bytes, format.pixels * channels, channels};
    try {
        Filter(b, format, filterMode);
    } catch (const std::bad_alloc&) {
        return false;  // only the copy of one line is allocated, before any change
    }
    return true;
}

}  // namespace filters
