#include "imaging/convolution.h"

#include <algorithm>

#include "imaging/image_records.h"

namespace filters {

namespace {

// The weights are constants of each instance, so the division becomes a
// multiplication and the loop vectorises. A negative sum ends at 0 whichever
// way the division rounds, so it is clamped before an unsigned division.
template <Kernel K>
void ConvolveLine(const LineNeighbourhood& nb, uint32_t n, uint32_t ch, uint8_t* out) {
    constexpr KernelWeights w = WeightsOf(K);
    const uint8_t *a = nb.above, *c = nb.current, *b = nb.below;
    const uint8_t *aLeft = a - ch, *aRight = a + ch, *cLeft = c - ch, *cRight = c + ch, *bLeft = b - ch,
                  *bRight = b + ch;
    for (uint32_t i = 0; i < n; ++i) {
        const int corners = aLeft[i] + aRight[i] + bLeft[i] + bRight[i];
        const int edges = a[i] + b[i] + cLeft[i] + cRight[i];
        const int sum = w.corner * corners + w.edge * edges + w.centre * c[i];
        const unsigned quotient = static_cast<unsigned>(std::max(sum, 0)) / static_cast<unsigned>(w.divisor);
        out[i] = static_cast<uint8_t>(std::min(quotient, 255u));
    }
}

void ConvolveWith(Kernel kernel, const LineNeighbourhood& nb, uint32_t n, uint32_t ch, uint8_t* out) {
    switch (kernel) {
        case Kernel::kNewspaper: ConvolveLine<Kernel::kNewspaper>(nb, n, ch, out); break;
        case Kernel::kMagazine: ConvolveLine<Kernel::kMagazine>(nb, n, ch, out); break;
        case Kernel::kArtPrint: ConvolveLine<Kernel::kArtPrint>(nb, n, ch, out); break;
        case Kernel::kUnsharpMask: ConvolveLine<Kernel::kUnsharpMask>(nb, n, ch, out); break;
    }
}

}  // namespace

std::optional<Kernel> DescreenKernel(uint16_t descreen) {
    switch (descreen) {
        case kDescreenNewspaper: return Kernel::kNewspaper;
        case kDescreenMagazine: return Kernel::kMagazine;
        case kDescreenArtPrint: return Kernel::kArtPrint;
        default: return std::nullopt;
    }
}

bool StartConvolution(ConvolutionLines& lines, uint32_t pixels, uint16_t bitsPerPixel) {
    return StartLineWindow(lines, pixels, bitsPerPixel);
}

size_t Convolve3x3(ConvolutionLines& lines, Kernel kernel, uint8_t* block, size_t count) {
    if (PassesUnchanged(lines)) return count;
    size_t finished = 0;
    FeedLines(lines, block, count, [&](const LineNeighbourhood& nb) {
        ConvolveWith(kernel, nb, lines.lineBytes, lines.channels, block + finished * lines.lineBytes);
        ++finished;
    });
    return finished;
}

bool FinishConvolution(ConvolutionLines& lines, Kernel kernel, uint8_t* line) {
    if (PassesUnchanged(lines)) return false;
    return EndLines(lines, [&](const LineNeighbourhood& nb) {
        ConvolveWith(kernel, nb, lines.lineBytes, lines.channels, line);
    });
}

}  // namespace filters
