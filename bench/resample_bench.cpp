// Rate of the resampling: enlargement by each factor and line doubling, over
// a full A3 bed at 600 dpi (7020 pixels x 10200 lines) in each pixel kind,
// source rows taken in blocks as a transfer takes them (one block of rows
// stands for every block of the bed). Rates are in MB/s of bytes produced,
// beside memcpy of the same bytes in the same blocks. Prints; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/resample.h"

namespace {

using resample::PixelKind;

constexpr uint32_t kBedPixels = 7020;
constexpr uint32_t kBedLines = 10200;
constexpr uint32_t kBlockRows = 24;  // a multiple of every factor

volatile unsigned g_sink;  // keeps the results alive

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

const char* KindName(PixelKind kind) {
    switch (kind) {
        case PixelKind::kLineArt: return "line art";
        case PixelKind::kGrey: return "grey";
        case PixelKind::kColour: return "colour";
    }
    return "?";
}

// Rows with gradients and some texture, so that neighbours differ.
std::vector<uint8_t> SourceBlock(size_t bytes) {
    std::vector<uint8_t> block(bytes);
    uint32_t noise = 12345;
    for (size_t i = 0; i < bytes; ++i) {
        noise = noise * 1103515245u + 12345u;
        block[i] = static_cast<uint8_t>((i / 7) + (noise >> 28));
    }
    return block;
}

struct Timing {
    double seconds = 0;
    double copySeconds = 0;
};

void Report(const char* stage, PixelKind kind, double megabytes, const Timing& timing) {
    const double rate = megabytes / timing.seconds, copyRate = megabytes / timing.copySeconds;
    std::printf("%-22s %-9s %9.1f MB  %8.1f MB/s  (memcpy %8.1f MB/s)  %5.1f %%\n", stage, KindName(kind), megabytes,
                rate, copyRate, 100 * rate / copyRate);
}

double Median(std::vector<double>& values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Times `work` and a memcpy of the same bytes, alternately, `times` times,
// so that both see the same load on the machine. The totals come from the
// median times, which a busy machine's interruptions leave alone.
template <typename Work>
Timing TimeBesideMemcpy(uint32_t times, std::vector<uint8_t>& out, size_t bytes, Work work) {
    std::vector<uint8_t> copySource(bytes, 1);
    std::vector<double> workSeconds, copySeconds;
    for (uint32_t t = 0; t < times; ++t) {
        const auto started = std::chrono::steady_clock::now();
        work();
        workSeconds.push_back(Seconds(started));
        g_sink += out[t % bytes];

        copySource[t % bytes] ^= 1;  // keeps the copies from being folded away
        const auto copied = std::chrono::steady_clock::now();
        std::memcpy(out.data(), copySource.data(), bytes);
        copySeconds.push_back(Seconds(copied));
        g_sink += out[t % bytes];
    }
    return {Median(workSeconds) * times, Median(copySeconds) * times};
}

void MeasureEnlargement(PixelKind kind, uint32_t factor) {
    const size_t rowBytes = resample::RowBytes(kind, kBedPixels);
    const std::vector<uint8_t> source = SourceBlock(rowBytes * kBlockRows);
    const size_t outBytes = source.size() * factor * factor;
    std::vector<uint8_t> out(outBytes);
    resample::CarryRow carry;
    const uint32_t blocks = kBedLines / kBlockRows;

    const Timing timing = TimeBesideMemcpy(blocks, out, outBytes, [&] {
        const resample::SourceRows rows{source.data(), kBedPixels, kBlockRows};
        if (resample::EnlargeRows(kind, factor, rows, out.data(), out.size(), carry) != resample::EnlargeStatus::kDone)
            std::printf("enlargement failed\n");
    });
    char stage[32];
    std::snprintf(stage, sizeof stage, "enlarge x%u", factor);
    Report(stage, kind, double(outBytes) * blocks / 1e6, timing);
}

void MeasureLineDoubling(PixelKind kind, uint16_t resolution) {
    // Lines scanned at 600 dpi, widened to `resolution`.
    const resample::LineDoubling doubling{resolution * 100u, 120000u};
    const std::vector<uint8_t> line = SourceBlock(resample::RowBytes(kind, kBedPixels));
    std::vector<uint8_t> probe(2 * line.size());
    const size_t produced =
        resample::DoubleLine(kind, line.data(), kBedPixels, doubling, probe.data(), probe.size());
    std::vector<uint8_t> out(produced * kBlockRows);
    const uint32_t blocks = kBedLines / kBlockRows;

    const Timing timing = TimeBesideMemcpy(blocks, out, out.size(), [&] {
        for (uint32_t y = 0; y < kBlockRows; ++y)
            resample::DoubleLine(kind, line.data(), kBedPixels, doubling, out.data() + y * produced, produced);
    });
    char stage[32];
    std::snprintf(stage, sizeof stage, "double line %u dpi", resolution);
    Report(stage, kind, double(out.size()) * blocks / 1e6, timing);
}

}  // namespace

int main() {
    const PixelKind kinds[] = {PixelKind::kLineArt, PixelKind::kGrey, PixelKind::kColour};
    for (PixelKind kind : kinds)
        for (uint32_t factor : {2u, 4u, 6u, 8u}) MeasureEnlargement(kind, factor);
    // 2400 dpi keeps the doubled line; 900 thins it to three pixels of four.
    for (PixelKind kind : kinds)
        for (uint16_t resolution : {2400, 900}) MeasureLineDoubling(kind, resolution);
    return 0;
}
