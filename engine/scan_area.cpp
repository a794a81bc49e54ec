#include "engine/scan_area.h"

#include <algorithm>
#include <cstdio>

#include "engine/frame_units.h"
#include "settings/scan_settings.h"
#include "twain/twain.h"

namespace {

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Whole(uint64_t value) { return std::to_string(value); }

// One side of the frame in preview units, its edges taken inside 0..limit.
uint32_t ClippedSpan(uint16_t a, uint16_t b, uint32_t limit) {
    const uint32_t low = std::min<uint32_t>(std::min(a, b), limit);
    const uint32_t high = std::min<uint32_t>(std::max(a, b), limit);
    return high - low;
}

uint32_t AreaUnits(float inches) {
    return inches > 0 ? static_cast<uint32_t>(inches * kPreviewUnitsPerInch + 0.5f) : 0;
}

std::string ShownLength(uint32_t unit, double inches, uint64_t pixels, uint16_t scaling) {
    switch (unit) {
        case 1: return Whole(pixels);
        case 2: return Format("%4.2f", scaling * inches * 2.54 / 100);
        case 3: return Format("%4.2f", scaling * inches * 25.4 / 100);
        default: return Format("%4.2f", scaling * inches / 100);
    }
}

}  // namespace

uint32_t EffectiveResolution(uint16_t resolution, uint16_t scaling, uint16_t dpiScale, uint16_t opticalResolution) {
    if (dpiScale == 5) {
        switch (opticalResolution) {
            case 600: return 6000;
            case 800: return 8000;
            case 1200: return 12000;
            default: break;
        }
    }
    return uint32_t{resolution} * scaling / 100;
}

bool FeederPaperInches(uint16_t paper, double& width, double& length) {
    struct Paper {
        uint16_t id;
        double width, length;
    };
    static const Paper kPapers[] = {{401, 8.267716535, 11.69291339},
                                    {402, 11.7, 11.0},
                                    {403, 11.7, 17.0},
                                    {404, 5.826771654, 8.267716535},
                                    {405, 7.165354331, 10.11811024}};
    for (const Paper& p : kPapers) {
        if (p.id != paper) continue;
        width = p.width;
        length = p.length;
        return true;
    }
    return false;
}

uint16_t FeederPaperForPageSize(uint16_t pageSize) {
    switch (pageSize) {
        case TWSS_A4LETTER: return 401;
        case TWSS_B5LETTER: return 405;
        case TWSS_A5: return 404;
        default: return 403;
    }
}

bool FeederPaperFrame(uint16_t paper, uint16_t frame[4]) {
    double width = 0, length = 0;
    if (!FeederPaperInches(paper, width, length)) return false;
    frame[0] = frame[1] = 0;
    frame[2] = static_cast<uint16_t>(width * kPreviewUnitsPerInch + 0.5);
    frame[3] = static_cast<uint16_t>(length * kPreviewUnitsPerInch + 0.5);
    return true;
}

ScanAreaFigures ComputeScanAreaFigures(const ScanAreaInput& in) {
    ScanAreaFigures f;
    const uint32_t areaWidth = AreaUnits(in.maxAreaWidth);
    const uint32_t areaLength = AreaUnits(in.maxAreaLength);
    if (areaWidth == 0 || areaLength == 0) return f;
    f.valid = true;
    f.effectiveResolution =
        EffectiveResolution(in.resolution, in.scaling, in.dpiScale, in.opticalResolution);
    const uint64_t e = f.effectiveResolution;

    if (FeederPaperInches(in.feederPaper, f.widthInches, f.lengthInches)) {
        f.widthPixels = static_cast<uint64_t>(f.widthInches * static_cast<double>(e));
        f.lengthPixels = static_cast<uint64_t>(f.lengthInches * static_cast<double>(e));
    } else {
        const uint32_t w = ClippedSpan(in.frame[0], in.frame[2], areaWidth);
        const uint32_t h = ClippedSpan(in.frame[1], in.frame[3], areaLength);
        f.widthInches = static_cast<double>(w) / kPreviewUnitsPerInch;
        f.lengthInches = static_cast<double>(h) / kPreviewUnitsPerInch;
        // Whole pixels in integers: units x dots per inch / units per inch.
        f.widthPixels = w * e / kPreviewUnitsPerInch;
        f.lengthPixels = h * e / kPreviewUnitsPerInch;
    }

    f.imageBytes = f.widthPixels * f.lengthPixels;
    if (in.scanMode == kModeLineArt) f.imageBytes = (f.imageBytes + 7) / 8;
    if (in.scanMode == kModeColour) f.imageBytes *= 3;

    f.widthText = ShownLength(in.unit, f.widthInches, f.widthPixels, in.scaling);
    f.lengthText = ShownLength(in.unit, f.lengthInches, f.lengthPixels, in.scaling);
    f.sizeText = Format("%4.2f", static_cast<double>(f.imageBytes) / 1024);
    return f;
}
