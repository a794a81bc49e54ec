#include "imaging/preview_process.h"

#include <memory>

#include "imaging/colour_adjust.h"
#include "imaging/preview_tone.h"

namespace tone {

namespace {

int MeanLevel(const uint8_t* p) { return (p[0] + p[1] + p[2]) / 3; }

// Each pixel becomes its mean level, or black and white split at 128.
void ReduceToGrey(uint8_t* pixels, int width, int height, size_t stride, bool lineArt) {
    for (int y = 0; y < height; ++y) {
        uint8_t* p = pixels + y * stride;
        for (int x = 0; x < width; ++x, p += 3) {
            int level = MeanLevel(p);
            if (lineArt) level = level < 128 ? 0 : 255;
            p[0] = p[1] = p[2] = static_cast<uint8_t>(level);
        }
    }
}

}  // namespace

bool ProcessPreviewPixels(const ToneSettings& tone, uint16_t scanMode, uint8_t* pixels, size_t bufferSize, int width,
                          int height, size_t stride) {
    uint8_t tables[kPreviewTablesSize];
    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < kTableSize; ++i) tables[b * kTableSize + i] = static_cast<uint8_t>(i);
    if (!PreviewTonePass(tone, scanMode, tables, pixels, bufferSize, width, height, stride)) return false;
    if (scanMode == kModeColour) {
        auto colourTables = std::make_unique<colour::ColourTables>();
        return colour::ApplyColourAdjust(width, height, stride, pixels, pixels, bufferSize, tone, scanMode,
                                         colour::PixelOrder::kBgr, nullptr, *colourTables);
    }
    ReduceToGrey(pixels, width, height, stride, scanMode == kModeLineArt);
    return true;
}

void GreyLevels(const uint8_t* bgr, int width, int height, size_t sourceStride, uint8_t* out, size_t outStride) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = bgr + y * sourceStride;
        for (int x = 0; x < width; ++x, p += 3) out[y * outStride + x] = static_cast<uint8_t>(MeanLevel(p));
    }
}

}  // namespace tone
