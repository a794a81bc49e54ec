// The preview picture as the region detectors read it: the samples of every
// row from the top down, without the row padding of the file, and the grey
// level of each pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/preview_file.h"

namespace detection {

struct SampleImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> samples;  // blue, green, red per pixel, rows top to bottom
};

// The picture whose header ReadPreviewHeader took from `bytes`.
SampleImage SamplesOf(const uint8_t* bytes, const preview::PreviewBitmap& bitmap);

// Replaces every sample by its distance to the sample at the same place of
// `pattern`, a picture of the empty bed of the same size: what the lid shows
// everywhere drops to about 0 and the items lying on it stand out.
void RemoveBackground(SampleImage& image, const SampleImage& pattern);

// (blue + green + red) / 3 of every pixel, rows top to bottom.
std::vector<uint8_t> GreyLevels(const SampleImage& image);

}  // namespace detection
