#include "engine/region_detection.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "engine/detection_image.h"
#include "engine/detection_threshold.h"
#include "engine/film_holder.h"
#include "engine/object_profile.h"
#include "engine/preview_file.h"
#include "engine/region_segmentation.h"

namespace detection {
namespace {

// Frames of the 60-dpi preview are halved to the 30-dpi one's pixels.
uint32_t FactorOf(bool hiRes) { return hiRes ? 2 : 1; }

Region Halved(const PixelRect& r, uint32_t factor) {
    return {static_cast<int>(r.left / factor), static_cast<int>(r.top / factor), static_cast<int>(r.right / factor),
            static_cast<int>(r.bottom / factor)};
}

// 30-dpi pixels to preview units: divided by the scale and by 30, truncated.
// Without a usable scale the pixels are taken as units, as on a bed whose
// preview has one pixel per unit.
int ToUnits(int pixel, double scale) {
    if (!(scale > 0.0) || !std::isfinite(scale)) return pixel;
    const double units = pixel / scale / 30.0;
    return static_cast<int>(std::min(units, 1e9));
}

Result Regions(const std::vector<PixelRect>& items, uint32_t factor) {
    Result result{Outcome::kRegions, {}};
    for (const PixelRect& item : items) {
        if (result.regions.size() == kMaxRegions) break;
        result.regions.push_back(Halved(item, factor));
    }
    return result;
}

Result DetectReflective(SampleImage image, const SampleImage& pattern, uint32_t factor) {
    const ReflectiveThreshold threshold = ThresholdForReflective(TwoMeans(image.samples));
    if (threshold.patternVisible) RemoveBackground(image, pattern);
    const ObjectMask mask = MaskAbove(GreyLevels(image), image.width, image.height, threshold.value, false);
    return Regions(SegmentItems(mask, ReflectiveSearchArea(mask, factor), factor), factor);
}

Result DetectTransparency(const SampleImage& image, uint32_t factor, double scale) {
    const ClassMeans means = TwoMeans(image.samples);
    const int threshold = ThresholdForTransparency(means);
    const std::vector<uint8_t> grey = GreyLevels(image);
    const ObjectMask lit = MaskAbove(grey, image.width, image.height, threshold, false);
    PixelRect holder;
    if (!FindFilmHolder(RowCounts(lit, {0, 0, image.width, image.height}), image.width, factor, holder)) {
        // Film darker than the light table is what counts.
        const ObjectMask film = MaskAbove(grey, image.width, image.height, threshold, true);
        return Regions(SegmentItems(film, {0, 0, image.width, image.height}, factor), factor);
    }
    const int lightLevel = LightTableLevel(means);
    std::vector<PixelRect> filled;
    for (const PixelRect& frame : SegmentItems(lit, holder, factor)) {
        const bool clearOfBottom = image.height - frame.top > 20;
        if (clearOfBottom && HoldsFilm(grey, image.width, frame, lightLevel, factor)) filled.push_back(frame);
    }
    Result result = Regions(filled, factor);
    for (Region& r : result.regions) r = {ToUnits(r.left, scale), ToUnits(r.top, scale), ToUnits(r.right, scale),
                                          ToUnits(r.bottom, scale)};
    return result;
}

}  // namespace

Result DetectRegionsInFiles(const uint8_t* preview, size_t previewSize, const uint8_t* pattern, size_t patternSize,
                            const Prescan& prescan) {
    try {
        preview::PreviewBitmap previewBitmap;
        if (!preview::ReadPreviewHeader(preview, previewSize, previewBitmap)) return {Outcome::kNoPreview, {}};
        const uint32_t factor = FactorOf(prescan.hiRes);
        SampleImage image = SamplesOf(preview, previewBitmap);
        if (prescan.scanSource == 1 || prescan.scanSource == 2) {
            return DetectTransparency(image, factor, prescan.previewScale);
        }
        preview::PreviewBitmap patternBitmap;
        if (!preview::ReadPreviewHeader(pattern, patternSize, patternBitmap) ||
            patternBitmap.width != previewBitmap.width || patternBitmap.height != previewBitmap.height) {
            return {Outcome::kNoPattern, {}};
        }
        return DetectReflective(std::move(image), SamplesOf(pattern, patternBitmap), factor);
    } catch (const std::bad_alloc&) {
        return {Outcome::kNoPreview, {}};
    }
}

Result DetectRegions(const std::string& previewPath, const std::string& patternPath, int scanSource, bool hiRes,
                     double previewScale) {
    try {
        std::vector<uint8_t> previewBytes;
        preview::PreviewBitmap bitmap;
        if (!preview::ReadPreviewFile(previewPath, previewBytes, bitmap)) return {Outcome::kNoPreview, {}};
        std::vector<uint8_t> patternBytes;
        preview::PreviewBitmap patternBitmap;
        const bool reflective = scanSource != 1 && scanSource != 2;
        if (reflective && !preview::ReadPreviewFile(patternPath, patternBytes, patternBitmap)) {
            return {Outcome::kNoPattern, {}};
        }
        return DetectRegionsInFiles(previewBytes.data(), previewBytes.size(), patternBytes.data(), patternBytes.size(),
                                    {scanSource, hiRes, previewScale});
    } catch (const std::bad_alloc&) {
        return {Outcome::kNoPreview, {}};
    }
}

}  // namespace detection
