// Rate of the filters and descreening on a full A3 bed at 600 dpi in colour
// (7020 x 10200 pixels, 3 bytes each), beside memcpy of the same bytes in the
// same run. The native route works on the whole bitmap at once, as the native
// transfer does; the file route works on blocks of lines, as they come from
// the scan buffer. Prints MB/s and the share of the memcpy rate; asserts
// nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "imaging/block_filters.h"
#include "imaging/convolution.h"
#include "imaging/decimation.h"
#include "imaging/dib_filters.h"
#include "imaging/filter_common.h"

using namespace filters;

namespace {

constexpr uint32_t kPixels = 7020;
constexpr uint32_t kLines = 10200;
constexpr uint32_t kLineBytes = kPixels * 3;
constexpr size_t kImageBytes = size_t{kLineBytes} * kLines;
constexpr uint32_t kBlockLines = 2 * 1024 * 1024 / kLineBytes;  // one scan buffer of 2 MB

volatile unsigned g_sink;  // keeps the results alive

double Seconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() + 1e-9;
}

struct Bench {
    std::vector<uint8_t> pristine;
    std::vector<uint8_t> image;
    double memcpyRate;  // MB/s
};

void Report(const Bench& bench, const char* name, double seconds, int targetPercent) {
    const double rate = kImageBytes / 1e6 / seconds;
    const double share = 100 * rate / bench.memcpyRate;
    std::printf("%-28s %9.1f MB/s  %5.1f %% of memcpy  (target %2d %%)%s\n", name, rate, share, targetPercent,
                share < targetPercent ? "  BELOW TARGET" : "");
    g_sink += bench.image[kImageBytes / 2];
}

void Restore(Bench& bench) { std::memcpy(bench.image.data(), bench.pristine.data(), kImageBytes); }

void Native(Bench& bench, const char* name, uint16_t filterMode, int targetPercent) {
    Restore(bench);
    const DibImage dib{bench.image.data(), kPixels, kLines, 24, kImageBytes};
    Report(bench, name, Seconds([&] { FilterDib(dib, filterMode, {}); }), targetPercent);
}

void Descreen(Bench& bench) {
    Restore(bench);
    const DibImage dib{bench.image.data(), kPixels, kLines, 24, kImageBytes};
    Report(bench, "native descreen", Seconds([&] { DescreenDib(dib, {}); }), 5);
}

// Feeds the image block by block to `block(lines, count)`, then `finish()`.
void InBlocks(Bench& bench, const char* name, int targetPercent, const std::function<void(uint8_t*, size_t)>& block,
              const std::function<void()>& finish) {
    Restore(bench);
    const double seconds = Seconds([&] {
        for (uint32_t first = 0; first < kLines; first += kBlockLines)
            block(bench.image.data() + size_t{first} * kLineBytes, std::min(kBlockLines, kLines - first));
        finish();
    });
    Report(bench, name, seconds, targetPercent);
}

void Convolution(Bench& bench, const char* name, Kernel kernel) {
    ConvolutionLines lines;
    StartConvolution(lines, kPixels, 24);
    std::vector<uint8_t> last(kLineBytes);
    InBlocks(
        bench, name, 5, [&](uint8_t* block, size_t count) { Convolve3x3(lines, kernel, block, count); },
        [&] { FinishConvolution(lines, kernel, last.data()); });
}

void Decimation(Bench& bench) {
    BoxDecimation decimation;
    StartBoxDecimation(decimation, 150, 100, kPixels, kLines, 24);  // 150 dpi from a 300 dpi scan
    std::vector<uint8_t> last(kLineBytes);
    InBlocks(
        bench, "file box decimation t=150", 5, [&](uint8_t* block, size_t count) { BoxDecimate(decimation, block, count); },
        [&] { FinishBoxDecimation(decimation, last.data()); });
}

void ReadBack(Bench& bench, const char* name, uint16_t filterMode, int targetPercent) {
    const LineFormat format{kPixels, kLineBytes, 24};
    InBlocks(
        bench, name, targetPercent,
        [&](uint8_t* block, size_t count) { FilterBlock(block, count, format, filterMode); }, [] {});
}

}  // namespace

int main() {
    Bench bench;
    bench.pristine.resize(kImageBytes);
    bench.image.resize(kImageBytes);
    uint32_t state = 12345;
    for (uint8_t& b : bench.pristine) b = static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 24);

    double best = 1e9;
    for (int i = 0; i < 3; ++i) best = std::min(best, Seconds([&] { Restore(bench); }));
    bench.memcpyRate = kImageBytes / 1e6 / best;
    std::printf("%u x %u colour, %.1f MB; file route in blocks of %u lines\n", kPixels, kLines, kImageBytes / 1e6,
                kBlockLines);
    std::printf("%-28s %9.1f MB/s\n", "memcpy", bench.memcpyRate);

    Descreen(bench);
    Native(bench, "native invert", kFilterInvert, 20);
    Native(bench, "native flip", kFilterFlip, 5);
    Native(bench, "native blur", kFilterBlur, 5);
    Native(bench, "native blur more", kFilterBlurMore, 5);
    Native(bench, "native sharpen", kFilterSharpen, 5);
    Native(bench, "native sharpen more", kFilterSharpenMore, 5);
    Native(bench, "native emboss", kFilterEmboss, 5);
    Native(bench, "native unsharp mask", kFilterUnsharpMask, 5);

    Convolution(bench, "file convolve newspaper", Kernel::kNewspaper);
    Convolution(bench, "file convolve magazine", Kernel::kMagazine);
    Convolution(bench, "file convolve art print", Kernel::kArtPrint);
    Convolution(bench, "file convolve unsharp mask", Kernel::kUnsharpMask);
    Decimation(bench);

    ReadBack(bench, "read-back invert", kFilterInvert, 20);
    ReadBack(bench, "read-back flip", kFilterFlip, 5);
    ReadBack(bench, "read-back blur", kFilterBlur, 5);
    ReadBack(bench, "read-back blur more", kFilterBlurMore, 5);
    ReadBack(bench, "read-back sharpen", kFilterSharpen, 5);
    ReadBack(bench, "read-back sharpen more", kFilterSharpenMore, 5);
    ReadBack(bench, "read-back emboss", kFilterEmboss, 5);
    return 0;
}
