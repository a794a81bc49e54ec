#include "engine/frame_units.h"

#include <algorithm>
#include <cstdlib>

namespace {

uint16_t ToOptical(int preview, uint32_t rate) {
    return static_cast<uint16_t>(static_cast<uint32_t>(preview) * rate / kPreviewUnitsPerInch);
}

}  // namespace

ScanFrame PreviewFrameToOptical(const uint16_t frame[4], uint16_t opticalResolution, float maxWidth,
                                float maxLength) {
    const int bedWidth = static_cast<int>(maxWidth * kPreviewUnitsPerInch + 0.5f);
    const int bedLength = static_cast<int>(maxLength * kPreviewUnitsPerInch + 0.5f);
    auto clamp = [](int v, int limit) { return std::min(std::max(v, 0), limit); };
    int left = clamp(std::min(frame[0], frame[2]), bedWidth);
    int right = clamp(std::max(frame[0], frame[2]), bedWidth);
    int top = clamp(std::min(frame[1], frame[3]), bedLength);
    int bottom = clamp(std::max(frame[1], frame[3]), bedLength);
    const uint32_t rate = OpticalRate(opticalResolution);
    return {ToOptical(left, rate), ToOptical(top, rate), ToOptical(right, rate), ToOptical(bottom, rate)};
}

double FrameWidthInches(const uint16_t frame[4]) {
    return std::abs(frame[2] - frame[0]) / static_cast<double>(kPreviewUnitsPerInch);
}

double FrameLengthInches(const uint16_t frame[4]) {
    return std::abs(frame[3] - frame[1]) / static_cast<double>(kPreviewUnitsPerInch);
}
