// Rate of the tone pass (three 256-entry maps, one per pixel byte) over a
// full A3 bed at 600 dpi in colour (7020 x 10200 pixels), in place, block by
// block, beside memcpy of the same bytes in the same blocks. The blocks cycle
// through 64 MB of memory, more than the processor's caches hold. Prints MB/s
// and the share of the memcpy rate; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "imaging/preview_tone.h"

namespace {

constexpr int kWidth = 7020;
constexpr int kLines = 10200;
constexpr int kBlockLines = 48;  // about 1 MB of 24-bit rows
constexpr size_t kRowBytes = kWidth * 3;
constexpr size_t kBlockBytes = kRowBytes * kBlockLines;
constexpr size_t kRingBytes = size_t(64) << 20;
constexpr int kSlots = static_cast<int>(kRingBytes / kBlockBytes);
constexpr int kRuns = 5;  // the best of several runs

volatile unsigned g_sink;  // keeps the results alive

// Seconds to run block(slot, lines) over every block of the bed.
double Seconds(const std::function<void(int, int)>& block) {
    const auto start = std::chrono::steady_clock::now();
    for (int y = 0, b = 0; y < kLines; y += kBlockLines, ++b) block(b % kSlots, std::min(kBlockLines, kLines - y));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    std::vector<uint8_t> source(kBlockBytes * kSlots), work(kBlockBytes * kSlots);
    uint32_t seed = 12345;
    for (uint8_t& b : source) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
    work = source;

    // A gamma and levels on every channel, so that no map is the identity.
    ToneSettings settings = DefaultToneSettings();
    for (ToneChannel& channel : settings.channels) {
        channel.highlight = 240;
        channel.shadow = 12;
        channel.gamma = 14;
    }
    uint8_t tables[tone::kPreviewTablesSize] = {};

    double toneBest = 1e30, copyBest = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        copyBest = std::min(copyBest, Seconds([&](int slot, int lines) {
            std::memcpy(&work[slot * kBlockBytes], &source[slot * kBlockBytes], lines * kRowBytes);
        }));
        toneBest = std::min(toneBest, Seconds([&](int slot, int lines) {
            tone::PreviewTonePass(settings, kModeColour, tables, &work[slot * kBlockBytes], kBlockBytes, kWidth, lines,
                                  kRowBytes);
        }));
    }
    const double megabytes = double(kRowBytes) * kLines / 1e6;
    std::printf("A3 at 600 dpi: %d x %d pixels, %.1f MB of 24-bit rows in blocks of %d rows\n", kWidth, kLines,
                megabytes, kBlockLines);
    std::printf("%-18s %8.1f MB/s   memcpy %8.1f MB/s   %5.1f %%   (target 20 %%)\n", "tone pass",
                megabytes / toneBest, megabytes / copyBest, 100.0 * copyBest / toneBest);
    g_sink += work[1] + work[work.size() / 2];
    return 0;
}
