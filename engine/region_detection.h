// Finding the separate photographs, documents or film frames on the preview
// of the last prescan, so that each becomes a batch entry with its own scan
// frame. Reflective items are told from the bed lid with the help of a
// picture of the empty lid; transparencies by their own light, in a film
// holder only the frames that hold film.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace detection {

// A scan frame in preview units (30 per inch), as the preview's selection
// frame: left, top, right, bottom.
struct Region {
    int left, top, right, bottom;
};

enum class Outcome {
    kRegions,    // the detection ran (it may have found nothing)
    kNoPreview,  // the preview is missing, not a 24-bit bitmap, or cut short
    kNoPattern,  // reflective: the picture of the empty lid is missing, invalid or of another size
};

// The most regions a detection gives: the batch list holds 29 entries and
// keeps one of its own. Further items are left out.
constexpr size_t kMaxRegions = 28;

struct Result {
    Outcome outcome;
    std::vector<Region> regions;  // at most kMaxRegions
};

// What the detection knows of the prescan besides the two pictures.
struct Prescan {
    int scanSource = 0;         // 0 reflective, 1 positive film, 2 negative film
    bool hiRes = false;         // the 60-dpi preview (the 30-dpi one otherwise)
    // The preview's scale: 11.7 / the bed's width in preview units, so that a
    // unit times the scale times 30 is a pixel of the 30-dpi preview. Film-holder
    // frames are converted with it; other frames are the pixels themselves.
    double previewScale = 0.0;
};

// The regions on the preview file at `previewPath`; the picture of the empty
// lid at `patternPath` is read for reflective items only (`scanSource` other
// than 1 and 2). `hiRes`: the preview was taken at 60 dpi; its frames are
// halved to the 30-dpi preview's.
Result DetectRegions(const std::string& previewPath, const std::string& patternPath, int scanSource, bool hiRes,
                     double previewScale);

// The same on the files' bytes; `pattern` may be null for transparencies.
Result DetectRegionsInFiles(const uint8_t* preview, size_t previewSize, const uint8_t* pattern, size_t patternSize,
                            const Prescan& prescan);

}  // namespace detection
