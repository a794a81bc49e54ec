#include "imaging/dib_filters.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/filter_common.h"

namespace filters {

namespace {

// The rows of an image as the filters walk them: `samples` bytes of pixels
// in each row of `stride` bytes, `channels` bytes per pixel.
struct Rows {
    uint8_t* bits;
    size_t stride;
    uint32_t count;
    uint32_t samples;
    uint32_t channels;
    uint8_t* Row(uint32_t r) const { return bits + r * stride; }
};

bool Stopped(const StopRequested& stop) { return stop && stop(); }

uint8_t Clamp(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

// Adds to `sum` the three samples of `line` around each index (one pixel left,
// itself, one pixel right). A sample beyond either end of the row counts as
// `self` at that index; a missing line counts three times `self`.
void AddThreeAcross(uint16_t* sum, const uint8_t* line, const uint8_t* self, uint32_t n, uint32_t ch) {
    if (line == nullptr) {
        for (uint32_t i = 0; i < n; ++i) sum[i] = static_cast<uint16_t>(sum[i] + 3 * self[i]);
        return;
    }
    auto atEnds = [&](uint32_t i) {
        const int left = i >= ch ? line[i - ch] : self[i];
        const int right = i + ch < n ? line[i + ch] : self[i];
        sum[i] = static_cast<uint16_t>(sum[i] + left + line[i] + right);
    };
    const uint32_t firstPixelEnd = std::min(ch, n);
    const uint32_t lastPixelStart = std::max(ch, n - ch);
    for (uint32_t i = 0; i < firstPixelEnd; ++i) atEnds(i);
    const uint8_t *left = line - ch, *right = line + ch;
    for (uint32_t i = ch; i < lastPixelStart; ++i)
        sum[i] = static_cast<uint16_t>(sum[i] + left[i] + line[i] + right[i]);
    for (uint32_t i = lastPixelStart; i < n; ++i) atEnds(i);
}

// The left neighbour of each sample is the one already blurred, so this last
// step runs along the row, each channel carrying its own value. Two pixels go
// per step without the second waiting for the first, since
// (floor(a / 9) + b) / 9 == (a + 9 x b) / 81 for a, b >= 0.
template <uint32_t Channels>
void BlurAlongRow(uint8_t* row, const uint16_t* rest, uint32_t n) {
    unsigned left[Channels];
    for (uint32_t c = 0; c < Channels; ++c) left[c] = row[c];  // outside the image: the sample itself
    uint32_t i = 0;
    for (; i + Channels < n; i += 2 * Channels) {
#pragma GCC unroll 3  // keeps the channels' values in registers, their chains side by side
        for (uint32_t c = 0; c < Channels; ++c) {
            const unsigned sum = left[c] + rest[i + c];
            row[i + c] = static_cast<uint8_t>(sum / 9);
            left[c] = (sum + 9u * rest[i + Channels + c]) / 81;
            row[i + Channels + c] = static_cast<uint8_t>(left[c]);
        }
    }
    if (i < n)
        for (uint32_t c = 0; c < Channels; ++c) row[i + c] = static_cast<uint8_t>((left[c] + rest[i + c]) / 9);
}

// One in-place Blur pass. `rest` collects for every sample of a row the
// neighbours that are known before the pass reaches it: the row above
// (blurred), itself and its right neighbour, the row below (original).
FilterResult BlurPass(const Rows& rows, const StopRequested& stop, std::vector<uint16_t>& rest) {
    const uint32_t n = rows.samples, ch = rows.channels;
    for (uint32_t r = 0; r < rows.count; ++r) {
        if (Stopped(stop)) return FilterResult::kCancelled;
        uint8_t* row = rows.Row(r);
        const uint8_t* above = r > 0 ? rows.Row(r - 1) : nullptr;
        const uint8_t* below = r + 1 < rows.count ? rows.Row(r + 1) : nullptr;

        const uint8_t* right = row + ch;
        for (uint32_t i = 0; i < n - ch; ++i) rest[i] = static_cast<uint16_t>(row[i] + right[i]);
        for (uint32_t i = n - ch; i < n; ++i) rest[i] = static_cast<uint16_t>(2 * row[i]);
        AddThreeAcross(rest.data(), above, row, n, ch);
        AddThreeAcross(rest.data(), below, row, n, ch);
        if (ch == 3) BlurAlongRow<3>(row, rest.data(), n);
        else BlurAlongRow<1>(row, rest.data(), n);
    }
    return FilterResult::kDone;
}

template <class Formula>
void DiagonalInnerColumns(const uint8_t* row, const uint8_t* above, const uint8_t* below, uint8_t* result, uint32_t n,
                          uint32_t ch, Formula formula) {
    const uint8_t *aboveLeft = above - ch, *aboveRight = above + ch, *belowLeft = below - ch, *belowRight = below + ch;
    for (uint32_t i = ch; i < n - ch; ++i)
        result[i] = formula(row[i], aboveLeft[i] + aboveRight[i] + belowLeft[i] + belowRight[i]);
}

// A pass that sets each sample to formula(sample, sum of its four diagonal
// neighbours) from the original values. A sample on the border of the image
// takes itself for all four neighbours. The original of the row above is kept
// aside, and the new row is made in `result` before it replaces the old one,
// so only two rows are held beside the image.
template <class Formula>
FilterResult DiagonalPass(const Rows& rows, const StopRequested& stop, uint8_t* originalAbove, uint8_t* result,
                          Formula formula) {
    const uint32_t n = rows.samples, ch = rows.channels;
    const bool hasInnerColumns = n > 2 * ch;
    for (uint32_t r = 0; r < rows.count; ++r) {
        if (Stopped(stop)) return FilterResult::kCancelled;
        uint8_t* row = rows.Row(r);
        const bool innerRow = r > 0 && r + 1 < rows.count && hasInnerColumns;
        if (!innerRow) {
            for (uint32_t i = 0; i < n; ++i) result[i] = formula(row[i], 4 * row[i]);
        } else {
            for (uint32_t i = 0; i < ch; ++i) {
                result[i] = formula(row[i], 4 * row[i]);
                result[n - ch + i] = formula(row[n - ch + i], 4 * row[n - ch + i]);
            }
            DiagonalInnerColumns(row, originalAbove, rows.Row(r + 1), result, n, ch, formula);
        }
        std::memcpy(originalAbove, row, n);
        std::memcpy(row, result, n);
    }
    return FilterResult::kDone;
}

const auto kSharpenSample = [](int sample, int diagonals) { return Clamp(5 * sample - diagonals); };

// A negative numerator ends at 0 whichever way the division rounds, so it is
// clamped before an unsigned division.
const auto kUnsharpSample = [](int sample, int diagonals) {
    const int numerator = std::max(179 * sample / 10 - diagonals, 0);
    return static_cast<uint8_t>(std::min(static_cast<unsigned>(numerator) / 9u, 255u));
};

// In storage order each sample takes the one two rows further and two pixels
// right, which the pass has not reached yet, so working in place is safe.
FilterResult EmbossPass(const Rows& rows, const StopRequested& stop) {
    const uint32_t n = rows.samples, shift = 2 * rows.channels;
    for (uint32_t r = 0; r < rows.count; ++r) {
        if (Stopped(stop)) return FilterResult::kCancelled;
        uint8_t* row = rows.Row(r);
        uint32_t embossed = 0;
        if (r + 2 < rows.count && n > shift) {
            const uint8_t* q = rows.Row(r + 2) + shift;
            embossed = n - shift;
            for (uint32_t i = 0; i < embossed; ++i) row[i] = Clamp(row[i] - q[i] + 128);
        }
        std::memset(row + embossed, 128, n - embossed);
    }
    return FilterResult::kDone;
}

template <class RowStep>
FilterResult EachRow(const Rows& rows, const StopRequested& stop, RowStep step) {
    for (uint32_t r = 0; r < rows.count; ++r) {
        if (Stopped(stop)) return FilterResult::kCancelled;
        step(rows.Row(r));
    }
    return FilterResult::kDone;
}

// Runs `pass` `times` times, stopping at the first pass that does not finish.
template <class Pass>
FilterResult Repeat(int times, Pass pass) {
    FilterResult result = FilterResult::kDone;
    for (int i = 0; i < times && result == FilterResult::kDone; ++i) result = pass();
    return result;
}

uint64_t StrideOf(uint32_t width, uint16_t bitsPerPixel) { return (uint64_t{width} * bitsPerPixel + 31) / 32 * 4; }

bool ValidDepth(uint16_t bitsPerPixel) { return bitsPerPixel == 1 || bitsPerPixel == 8 || bitsPerPixel == 24; }

bool Fits(const DibImage& image) {
    if (!ValidDepth(image.bitsPerPixel)) return false;
    if (image.width == 0 || image.height == 0) return true;
    const uint64_t stride = StrideOf(image.width, image.bitsPerPixel);
    return image.bits != nullptr && stride <= UINT32_MAX && image.height <= image.size / stride;
}

Rows RowsOf(const DibImage& image) {
    const uint32_t channels = image.bitsPerPixel / 8;
    return {image.bits, DibRowStride(image.width, image.bitsPerPixel), image.height, image.width * channels,
            channels};
}

FilterResult Blur(const Rows& rows, int passes, const StopRequested& stop) {
    std::vector<uint16_t> rest(rows.samples);
    return Repeat(passes, [&] { return BlurPass(rows, stop, rest); });
}

template <class Formula>
FilterResult Diagonal(const Rows& rows, int passes, const StopRequested& stop, Formula formula) {
    std::vector<uint8_t> originalAbove(rows.samples), result(rows.samples);
    return Repeat(passes, [&] { return DiagonalPass(rows, stop, originalAbove.data(), result.data(), formula); });
}

FilterResult Filter(const DibImage& image, uint16_t filterMode, const StopRequested& stop) {
    const Rows rows = RowsOf(image);
    if (filterMode == kFilterInvert)
        return EachRow(rows, stop, [&](uint8_t* row) { InvertBytes(row, rows.stride); });
    if (filterMode == kFilterFlip)
        return EachRow(rows, stop, [&](uint8_t* row) { MirrorRow(row, image.width, image.bitsPerPixel); });
    if (image.bitsPerPixel == 1) return FilterResult::kDone;
    switch (filterMode) {
        case kFilterBlur: return Blur(rows, 1, stop);
        case kFilterBlurMore: return Blur(rows, 2, stop);
        case kFilterSharpen: return Diagonal(rows, 1, stop, kSharpenSample);
        case kFilterSharpenMore: return Diagonal(rows, 2, stop, kSharpenSample);
        case kFilterEmboss: return EmbossPass(rows, stop);
        case kFilterUnsharpMask: return Diagonal(rows, 1, stop, kUnsharpSample);
        default: return FilterResult::kDone;
    }
}

// The filters allocate one or two rows of work space before they change
// anything; if even that fails, the image is left unchanged.
FilterResult Guarded(const DibImage& image, uint16_t filterMode, const StopRequested& stop) {
    if (!Fits(image)) return FilterResult::kRefused;
    if (image.width == 0 || image.height == 0) return FilterResult::kDone;
    try {
        return Filter(image, filterMode, stop);
    } catch (const std::bad_alloc&) {
        return FilterResult::kRefused;
    }
}

}  // namespace

size_t DibRowStride(uint32_t width, uint16_t bitsPerPixel) {
    return static_cast<size_t>(StrideOf(width, bitsPerPixel));
}

FilterResult DescreenDib(const DibImage& image, const StopRequested& stop) {
    return Guarded(image, kFilterBlur, stop);
}

FilterResult FilterDib(const DibImage& image, uint16_t filterMode, const StopRequested& stop) {
    return Guarded(image, filterMode, stop);
}

}  // namespace filters
