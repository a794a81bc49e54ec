#include "imaging/preview_tone.h"

#include "imaging/bgr_image.h"

namespace tone {

namespace {

void BuildPreviewTables(const ToneSettings& tone, uint16_t scanMode, uint8_t tables[kPreviewTablesSize]) {
    // Channel index feeding pixel bytes 0, 1, 2.
    const bool colour = scanMode == kModeColour;
    const int channels[3] = {colour ? kBlue : kMaster, colour ? kGreen : kMaster, colour ? kRed : kMaster};
    for (int b = 0; b < 3; ++b)
        BuildToneMap(TripleOf(tone.channels[WordOfChannel(channels[b])]), kTableSize, kTableSize,
                     tables + b * kTableSize, channels[b], true, scanMode, tone.colorBalance);
}

}  // namespace

bool PreviewTonePass(const ToneSettings& tone, uint16_t scanMode, uint8_t tables[kPreviewTablesSize], uint8_t* pixels,
                     size_t bufferSize, int width, int height, size_t stride) {
    if (pixels == nullptr || !FitsBuffer(bufferSize, width, height, stride)) return false;
    BuildPreviewTables(tone, scanMode, tables);
    const uint8_t* byte0 = tables;
    const uint8_t* byte1 = tables + kTableSize;
    const uint8_t* byte2 = tables + 2 * kTableSize;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = pixels + y * stride;
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = byte0[p[0]];
            p[1] = byte1[p[1]];
            p[2] = byte2[p[2]];
        }
    }
    return true;
}

void PreviewPaletteLevels(const uint8_t masterTable[kTableSize], bool lineArt, uint8_t levels[kTableSize]) {
    for (int i = 0; i < kTableSize; ++i)
        levels[i] = lineArt ? (masterTable[i] < 128 ? 0 : 255) : masterTable[i];
}

}  // namespace tone
