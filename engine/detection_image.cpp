#include "engine/detection_image.h"

#include <cstddef>
#include <cstring>

namespace detection {

SampleImage SamplesOf(const uint8_t* bytes, const preview::PreviewBitmap& bitmap) {
    SampleImage image;
    image.width = bitmap.width;
    image.height = bitmap.height;
    const size_t rowSamples = size_t{bitmap.width} * 3;
    image.samples.resize(rowSamples * bitmap.height);
    for (uint32_t row = 0; row < bitmap.height; ++row) {
        std::memcpy(image.samples.data() + row * rowSamples, preview::TopDownRow(bytes, bitmap, row), rowSamples);
    }
    return image;
}

void RemoveBackground(SampleImage& image, const SampleImage& pattern) {
    uint8_t* sample = image.samples.data();
    const uint8_t* lid = pattern.samples.data();
    for (size_t i = 0; i < image.samples.size(); ++i) {
        sample[i] = static_cast<uint8_t>(sample[i] > lid[i] ? sample[i] - lid[i] : lid[i] - sample[i]);
    }
}

std::vector<uint8_t> GreyLevels(const SampleImage& image) {
    std::vector<uint8_t> grey(size_t{image.width} * image.height);
    const uint8_t* pixel = image.samples.data();
    for (size_t i = 0; i < grey.size(); ++i, pixel += 3) {
        grey[i] = static_cast<uint8_t>((pixel[0] + pixel[1] + pixel[2]) / 3);
    }
    return grey;
}

}  // namespace detection
