// make_lid_patterns DIR: writes pat_l.BMP and pat_h.BMP into DIR, the
// pictures of the simulated scanner's empty lid that the region detection
// removes from reflective previews. Each is the preview a prescan at 30 or
// 60 dpi leaves of that bed with the driver's default settings, byte for
// byte: the white lines calibrated as the prescan module calibrates them
// (3 values dropped at each end, through the data source's gain tables),
// the neutral tone curve, rows bottom-up in blue, green, red.
#include <cstdio>
#include <string>
#include <vector>

#include "engine/file_headers.h"
#include "engine/shading.h"
#include "imaging/image_records.h"
#include "sim/calibration.h"
#include "sim/image_renderer.h"
#include "sim/scan_geometry.h"
#include "sim/sensor.h"
#include "sim/tone_tables.h"

namespace {

constexpr uint16_t kBedRight = 14040;  // the A3 bed in 1200-dpi optical units
constexpr uint16_t kBedBottom = 20400;
constexpr uint8_t kColourType = 3;
constexpr shading::Trim kPrescanTrim = {3, 3};

// The correction values a prescan at `dpi` sends after reading the white lines.
bool PrescanCalibration(const sim::ScannerConfig& config, uint16_t dpi, sim::Calibration& calibration) {
    const sim::ShadingGeometry geometry = sim::ShadingGeometryOf(config, true, dpi);
    const std::vector<uint8_t> white = sim::ShadingLines(config, true, dpi);
    std::vector<uint16_t> values;
    if (!shading::AverageShadingLines(white.data(), white.size(), static_cast<uint16_t>(geometry.lineBytes),
                                      geometry.lines, shading::Group::kColour, kPrescanTrim, values))
        return false;
    const shading::GainTable red = shading::BuildGainTable(config.referenceLevels[0]);
    const shading::GainTable green = shading::BuildGainTable(config.referenceLevels[1]);
    const shading::GainTable blue = shading::BuildGainTable(config.referenceLevels[2]);
    shading::ApplyColourGain(values, red.data(), green.data(), blue.data());
    const size_t pixels = values.size() / 3;
    std::vector<uint16_t> planes(values.size());
    for (size_t i = 0; i < values.size(); ++i) planes[i % 3 * pixels + i / 3] = values[i];
    return sim::StoreCorrection(calibration, true, dpi, static_cast<uint32_t>(pixels), planes);
}

bool WritePattern(const sim::ScannerConfig& config, uint16_t dpi, const std::string& path) {
    sim::Calibration calibration;
    if (!PrescanCalibration(config, dpi, calibration)) return false;
    sim::ScanParameters parameters;
    parameters.right = kBedRight;
    parameters.bottom = kBedBottom;
    parameters.imageType = kColourType;
    parameters.resolution = dpi;
    const sim::ScanArea area = sim::AreaOf(config, parameters);
    const std::vector<uint8_t> lines =
        sim::ExpectedPixels(config, sim::BedImage{}, parameters, sim::DefaultToneTables(), calibration);
    const uint32_t rowBytes = (area.lineBytes + 3) & ~3u;
    std::vector<uint8_t> file;
    const fileheaders::ImageGeometry geometry = {kModeColour, 0, static_cast<int32_t>(area.pixels),
                                                 static_cast<int32_t>(area.lines), area.lineBytes, rowBytes, dpi};
    if (!fileheaders::BuildBmpHeader(geometry, file)) return false;
    const size_t pixelsAt = file.size();
    file.resize(pixelsAt + size_t{rowBytes} * area.lines, 0);
    for (uint32_t line = 0; line < area.lines; ++line) {
        const uint8_t* rgb = lines.data() + size_t{line} * area.lineBytes;
        uint8_t* bgr = file.data() + pixelsAt + size_t{area.lines - 1 - line} * rowBytes;
        for (uint32_t i = 0; i + 2 < area.lineBytes; i += 3) {
            bgr[i] = rgb[i + 2];
            bgr[i + 1] = rgb[i + 1];
            bgr[i + 2] = rgb[i];
        }
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_lid_patterns DIR\n");
        return 2;
    }
    const sim::ScannerConfig config = sim::ParseScannerConfig("[Scanner]\nLayout=lid\n");
    const std::string dir = argv[1];
    for (const auto& [dpi, name] : {std::pair<uint16_t, const char*>{30, "pat_l.BMP"}, {60, "pat_h.BMP"}}) {
        if (!WritePattern(config, dpi, dir + "/" + name)) {
            std::fprintf(stderr, "make_lid_patterns: cannot write %s\n", name);
            return 1;
        }
    }
    return 0;
}
