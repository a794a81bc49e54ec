// Rate of the colour stages over a full A3 bed at 600 dpi in colour
// (7020 x 10200 pixels), processed block by block as the engine does, beside
// memcpy of the same bytes in the same blocks. The blocks cycle through 64 MB
// of memory, more than the processor's caches hold, so every stage and the
// memcpy read and write memory as a whole scan does. Prints MB/s; asserts
// nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "imaging/cmyk.h"
#include "imaging/colour_adjust.h"
#include "imaging/colour_profile.h"
#include "imaging/widen36.h"

namespace {

constexpr int kWidth = 7020;
constexpr int kLines = 10200;
constexpr int kBlockLines = 48;  // about 1 MB of 24-bit rows, like one scan buffer
constexpr size_t kRowBytes = kWidth * 3;
constexpr size_t kRingBytes = size_t(64) << 20;
constexpr int kRuns = 5;  // the best of several runs

volatile unsigned g_sink;  // keeps the results alive

using Stage = std::function<void(int, int)>;

// Seconds to run stage(slot, lines) for every block of the bed; block b of
// the bed uses ring slot b % slots.
double Seconds(int slots, const Stage& stage) {
    const auto start = std::chrono::steady_clock::now();
    for (int y = 0, b = 0; y < kLines; y += kBlockLines, ++b) stage(b % slots, std::min(kBlockLines, kLines - y));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs the stage and memcpy of the same blocks in turn, several times, and
// prints the best rate of each (MB of input per second) and their ratio.
// prepare, when given, runs untimed before each run of the stage (the
// in-place stages refill the ring).
void Compare(const char* name, size_t bytesPerLine, int slots, const Stage& stage, const Stage& copy,
             double targetShare, const std::function<void()>& prepare = {}) {
    double stageBest = 1e30, copyBest = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        copyBest = std::min(copyBest, Seconds(slots, copy));
        if (prepare) prepare();
        stageBest = std::min(stageBest, Seconds(slots, stage));
    }
    const double megabytes = double(bytesPerLine) * kLines / 1e6;
    std::printf("%-18s %8.1f MB/s   memcpy %8.1f MB/s   %5.1f %%", name, megabytes / stageBest, megabytes / copyBest,
                100.0 * copyBest / stageBest);
    if (targetShare > 0) std::printf("   (target %2.0f %%)", 100.0 * targetShare);
    std::printf("\n");
}

std::vector<uint8_t> Noise(size_t size, unsigned seed) {
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    return bytes;
}

// Colour ramps with some noise, so the tables are hit all over.
std::vector<uint8_t> ColourBlock(size_t bytes) {
    std::vector<uint8_t> block = Noise(bytes, 17);
    for (size_t i = 0; i < bytes; ++i) block[i] = static_cast<uint8_t>((i / 3 * (i % 3 + 1)) / 7 + (block[i] & 15));
    return block;
}

// Profiles and tables as smooth as real ones: a calibration corrects a
// little, so curves and nodes stay near the identity.
std::unique_ptr<colour::ColourProfile> MatrixProfile() {
    std::vector<uint8_t> bytes(colour::kMatrixProfileSize);
    for (int i = 0; i < 768; ++i) bytes[i] = static_cast<uint8_t>(i);
    const float rows[3][4] = {{4, 1.1f, -0.05f, -0.05f}, {-3, -0.1f, 1.2f, -0.1f}, {2, 0, -0.2f, 1.2f}};
    std::memcpy(&bytes[768], rows, sizeof rows);  // little-endian host
    auto profile = std::make_unique<colour::ColourProfile>();
    colour::ParseColourProfile(bytes.data(), bytes.size(), *profile);
    return profile;
}

std::unique_ptr<colour::ColourProfile> GridProfile() {
    std::vector<uint8_t> bytes(colour::kGridProfileSize);
    for (int i = 0; i < 768; ++i) bytes[i] = static_cast<uint8_t>(std::min(255, (i & 255) * 9 / 8));
    for (int n = 0; n < colour::kGridNodeCount; ++n) {
        const int level[3] = {n / 289 * 15, n / 17 % 17 * 15, n % 17 * 15};
        for (int c = 0; c < 3; ++c) bytes[768 + 3 * n + c] = static_cast<uint8_t>(level[c] + level[(c + 1) % 3] / 16);
    }
    auto profile = std::make_unique<colour::ColourProfile>();
    colour::ParseColourProfile(bytes.data(), bytes.size(), *profile);
    return profile;
}

// Ink amounts of a plain grey-component replacement.
std::unique_ptr<colour::CmykTable> CmykTable() {
    std::vector<uint8_t> bytes(colour::kCmykTableSize);
    for (int n = 0; n < colour::kGridNodeCount; ++n) {
        const int ink[3] = {255 - std::min(255, n / 289 * 16), 255 - std::min(255, n / 17 % 17 * 16),
                            255 - std::min(255, n % 17 * 16)};
        const int black = std::min({ink[0], ink[1], ink[2]});
        for (int c = 0; c < 3; ++c) bytes[4 * n + c] = static_cast<uint8_t>(ink[c] - black);
        bytes[4 * n + 3] = static_cast<uint8_t>(black);
    }
    auto table = std::make_unique<colour::CmykTable>();
    colour::ParseCmykTable(bytes.data(), bytes.size(), *table);
    return table;
}

}  // namespace

int main() {
    const size_t blockBytes = kRowBytes * kBlockLines;
    const size_t cmykBlockBytes = blockBytes / 3 * 4;
    const int slots = static_cast<int>(kRingBytes / blockBytes);
    const std::vector<uint8_t> block = ColourBlock(blockBytes);
    std::vector<uint8_t> source(blockBytes * slots);
    for (int i = 0; i < slots; ++i) std::memcpy(&source[i * blockBytes], block.data(), blockBytes);
    std::vector<uint8_t> work(cmykBlockBytes * slots);
    auto in = [&](int slot) { return &source[slot * blockBytes]; };
    auto out = [&](int slot) { return &work[slot * cmykBlockBytes]; };
    auto refill = [&] {
        for (int i = 0; i < slots; ++i) std::memcpy(out(i), in(i), blockBytes);
    };

    std::printf("A3 at 600 dpi: %d x %d pixels, %.1f MB of 24-bit rows in blocks of %d rows\n", kWidth, kLines,
                double(kRowBytes) * kLines / 1e6, kBlockLines);
    const Stage copy = [&](int slot, int lines) { std::memcpy(out(slot), in(slot), lines * kRowBytes); };

    colour::ColourTables tables;
    ToneSettings saturate = DefaultToneSettings();
    saturate.saturation = 30;
    saturate.pixelRGB = {230, 210, 190, 0};
    Compare("colour pass", kRowBytes, slots, [&](int slot, int lines) {
        colour::ApplyColourAdjust(kWidth, lines, kRowBytes, out(slot), in(slot), blockBytes, saturate, kModeColour,
                                  colour::PixelOrder::kRgb, nullptr, tables);
    }, copy, 0);

    ToneSettings balance = DefaultToneSettings();
    balance.pixelRGB = {230, 210, 190, 0};
    Compare("balance", kRowBytes, slots, [&](int slot, int lines) {
        colour::ApplyColourAdjust(kWidth, lines, kRowBytes, out(slot), in(slot), blockBytes, balance, kModeColour,
                                  colour::PixelOrder::kRgb, nullptr, tables);
    }, copy, 0.20);

    const auto matrix = MatrixProfile();
    Compare("profile (matrix)", kRowBytes, slots, [&](int slot, int lines) {
        colour::ApplyColourProfile(*matrix, lines, kWidth, kRowBytes, out(slot), blockBytes, false);
    }, copy, 0, refill);

    const auto grid = GridProfile();
    Compare("profile (grid)", kRowBytes, slots, [&](int slot, int lines) {
        colour::ApplyColourProfile(*grid, lines, kWidth, kRowBytes, out(slot), blockBytes, false);
    }, copy, 0.05, refill);

    const auto cmyk = CmykTable();
    Compare("CMYK", kRowBytes, slots, [&](int slot, int lines) {
        colour::ConvertToCmyk(*cmyk, out(slot), cmykBlockBytes, lines * kRowBytes, false);
    }, copy, 0.05, refill);

    // 36-bit colour: two bytes per sample, so twice the bytes per line; the
    // same memory holds half as many blocks.
    const size_t wideRow = 2 * kRowBytes;
    const size_t wideBlock = wideRow * kBlockLines;
    const int wideSlots = slots / 2;
    auto wideIn = [&](int slot) { return &source[slot * wideBlock]; };
    auto wideOut = [&](int slot) { return &work[slot * wideBlock]; };
    const Stage wideCopy = [&](int slot, int lines) { std::memcpy(wideOut(slot), wideIn(slot), lines * wideRow); };
    Compare("36-bit widening", wideRow, wideSlots, [&](int slot, int lines) {
        for (int y = 0; y < lines; ++y)
            colour::Widen36BitLine(wideIn(slot) + y * wideRow, wideRow, wideOut(slot) + y * wideRow, wideRow);
    }, wideCopy, 0.20);

    g_sink += work[1] + work[work.size() / 2];
    return 0;
}
