// A 24-bit blue-first picture processed the way the preview shows it: the
// tone maps, then in colour mode the colour pass; grey and line-art pictures
// end as grey pixels (line art black or white).
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/image_records.h"

namespace tone {

// In place over height rows of width pixels, stride bytes apart inside
// bufferSize bytes. False, no pixel changed, when the geometry does not fit.
bool ProcessPreviewPixels(const ToneSettings& tone, uint16_t scanMode, uint8_t* pixels, size_t bufferSize, int width,
                          int height, size_t stride);

// The picture as one byte per pixel, the mean of its three bytes (a grey
// picture's level), for drawing through a grey palette: height rows of width
// pixels, `sourceStride` and `outStride` bytes apart.
void GreyLevels(const uint8_t* bgr, int width, int height, size_t sourceStride, uint8_t* out, size_t outStride);

}  // namespace tone
