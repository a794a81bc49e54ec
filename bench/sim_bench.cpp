// Rate of the simulated scanner's image lines: a full A3 bed at 600 dpi in
// each image type, from the procedural bed with default tables, beside memcpy
// of the same bytes. Prints MB/s; asserts nothing.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "sim/image_renderer.h"

namespace {

volatile unsigned g_sink;  // keeps the results alive

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Measure(const char* name, uint8_t imageType) {
    const sim::ScannerConfig config;
    const sim::BedImage proceduralBed;
    sim::ScanParameters p;
    p.right = 0xFFFF;  // cut to the bed
    p.bottom = 0xFFFF;
    p.imageType = imageType;
    p.resolution = 600;

    const auto prepared = std::chrono::steady_clock::now();
    sim::ImageRenderer renderer =
        sim::PrepareRenderer(config, proceduralBed, p, sim::DefaultToneTables(), sim::Calibration{});
    const double prepareSeconds = Seconds(prepared);

    std::vector<uint8_t> line(renderer.area.lineBytes);
    std::vector<uint8_t> copy(renderer.area.lineBytes);
    const auto rendered = std::chrono::steady_clock::now();
    for (uint32_t y = 0; y < renderer.area.lines; ++y) sim::RenderLine(renderer, y, line.data());
    const double renderSeconds = Seconds(rendered);

    const auto copied = std::chrono::steady_clock::now();
    for (uint32_t y = 0; y < renderer.area.lines; ++y) {
        line[y % line.size()] ^= 1;  // keeps the copies from being folded away
        std::memcpy(copy.data(), line.data(), line.size());
    }
    const double copySeconds = Seconds(copied) + 1e-9;

    const double megabytes = double(renderer.area.lineBytes) * renderer.area.lines / 1e6;
    std::printf("%-12s %6u x %5u  %8.1f MB  prepare %6.1f ms  %8.1f MB/s  (memcpy %8.1f MB/s)\n", name,
                renderer.area.pixels, renderer.area.lines, megabytes, prepareSeconds * 1e3,
                megabytes / renderSeconds, megabytes / copySeconds);
    g_sink += copy[0] + line[0];
}

}  // namespace

int main() {
    Measure("line art", sim::kLineArt);
    Measure("grey", sim::kGrey);
    Measure("grey (col)", sim::kGreyColourShaded);
    Measure("colour", sim::kColour);
    Measure("colour 36", sim::kColour36);
    return 0;
}
