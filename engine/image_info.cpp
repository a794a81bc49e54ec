#include "engine/image_info.h"

#include <algorithm>

#include "twain/cap_container.h"
#include "twain/fix32.h"

namespace {

// The reported resolution: the quality factor counts for the halftone
// printer and fax hosts are told 200 for 198. An enlarged image has the
// resolution times half the factor (the factor 2 that interpolation always
// applies makes the resolution asked for): a dpi scale of 2, 3 or 4 asks for
// the factor 4, 6 or 8, and so for twice, three or four times the
// resolution.
uint32_t ReportedResolution(const ScanSettings& s, const ImageJob& job) {
    const uint32_t R = s.resolution;
    uint32_t r = s.destination == kDestHalftonePrinter ? R * s.qualityFactor * s.scaling / 1000 : R;
    if (job.winFaxHost && R == 198) r = 200;
    if (job.enlargement > 1) r = r * job.enlargement / 2;
    return r;
}

struct PixelFormat {
    TW_INT16 samplesPerPixel;
    TW_INT16 bitsPerSample;
    TW_INT16 pixelType;
};

std::optional<PixelFormat> PixelFormatFor(uint16_t scanMode, uint16_t colourKind) {
    switch (scanMode) {
        case kModeLineArt: return PixelFormat{1, 1, TWPT_BW};
        case kModeFastGray:
        case kModeGray: return PixelFormat{1, 8, TWPT_GRAY};
        case kModeColour:
            if (colourKind == kColour24) return PixelFormat{3, 8, TWPT_RGB};
            if (colourKind == kColourCmyk) return PixelFormat{4, 8, TWPT_CMYK};
            if (colourKind == kColour36) return PixelFormat{3, 16, TWPT_RGB};
            return std::nullopt;
        default: return std::nullopt;
    }
}

}  // namespace

std::optional<TW_IMAGEINFO> ComputeImageInfo(const ScanSettings& s, const ImageJob& job) {
    const std::optional<PixelFormat> format = PixelFormatFor(s.scanMode, s.colourKind);
    if (!format) return std::nullopt;

    TW_IMAGEINFO info{};
    info.XResolution = info.YResolution = Fix32FromInt(static_cast<int32_t>(ReportedResolution(s, job)));
    info.ImageWidth = static_cast<TW_INT32>(job.width);
    info.ImageLength = static_cast<TW_INT32>(job.length);
    info.SamplesPerPixel = format->samplesPerPixel;
    for (int i = 0; i < format->samplesPerPixel; ++i) info.BitsPerSample[i] = format->bitsPerSample;
    info.BitsPerPixel = static_cast<TW_INT16>(format->samplesPerPixel * format->bitsPerSample);
    info.Planar = 0;
    info.PixelType = format->pixelType;
    info.Compression = TWCP_NONE;
    return info;
}

std::optional<ScanFrame> LayoutToOpticalFrame(const TW_FRAME& layout, uint16_t opticalResolution,
                                              double maxAreaWidth, double maxAreaLength) {
    // Left 17 mm, top 0, right 216 mm, bottom 295 mm.
    constexpr double kMmPerInch = 25.4;
    double left = 17 / kMmPerInch, top = 0, right = 216 / kMmPerInch, bottom = 295 / kMmPerInch;
    if (Fix32ToContainer(layout.Right) != 0 && Fix32ToContainer(layout.Bottom) != 0) {
        left = Fix32ToDouble(layout.Left);
        top = Fix32ToDouble(layout.Top);
        right = Fix32ToDouble(layout.Right);
        bottom = Fix32ToDouble(layout.Bottom);
    }
    const double rate = OpticalRate(opticalResolution);
    auto toUnits = [rate](double inches, double maxInches) {
        const double units = std::clamp(inches, 0.0, std::max(maxInches, 0.0)) * rate;
        return static_cast<uint16_t>(std::min(units, 65535.0));
    };
    const ScanFrame frame{toUnits(left, maxAreaWidth), toUnits(top, maxAreaLength), toUnits(right, maxAreaWidth),
                          toUnits(bottom, maxAreaLength)};
    if (frame.right <= frame.left || frame.bottom <= frame.top) return std::nullopt;
    return frame;
}

uint16_t UnattendedResolution(uint32_t resolutionIndex, bool winFaxHost) {
    if (resolutionIndex >= kResolutionList.count) return 300;
    if (resolutionIndex == 4 && winFaxHost) return 200;
    return static_cast<uint16_t>(kResolutionList.items[resolutionIndex]);
}
