#include "engine/film_holder.h"

#include <algorithm>
#include <cstddef>

namespace detection {
namespace {

constexpr uint32_t kEdgeLimit = 12;
constexpr size_t kBandsLooked = 7;
constexpr uint32_t kShortestBand = 38;
constexpr uint32_t kLongestBand = 43;
constexpr uint32_t kHolderBandsNeeded = 2;
constexpr uint32_t kSideMargin = 21;
constexpr uint32_t kRowsAboveFirstBand = 5;
constexpr uint32_t kRowsBelowLastEdge = 6;
constexpr uint32_t kFrameBorder = 7;

}  // namespace

Edges FindEdges(const std::vector<uint32_t>& rowCounts, uint32_t factor) {
    const uint32_t limit = kEdgeLimit * factor;
    Edges edges;
    for (size_t r = 0; r + 3 < rowCounts.size(); ++r) {
        const uint32_t* c = rowCounts.data() + r;
        if (c[0] < limit && c[1] < limit && c[2] >= limit && c[3] >= limit) {
            edges.rising.push_back(static_cast<uint32_t>(r + 2));
        }
        if (c[0] > limit && c[1] > limit && c[2] <= limit && c[3] <= limit) {
            edges.falling.push_back(static_cast<uint32_t>(r + 1));
        }
    }
    return edges;
}

bool FindFilmHolder(const std::vector<uint32_t>& rowCounts, uint32_t width, uint32_t factor, PixelRect& area) {
    const Edges edges = FindEdges(rowCounts, factor);
    uint32_t holderBands = 0;
    for (size_t i = 0; i < edges.rising.size() && i < kBandsLooked; ++i) {
        const auto end = std::upper_bound(edges.falling.begin(), edges.falling.end(), edges.rising[i]);
        if (end == edges.falling.end()) break;
        const uint32_t length = *end - edges.rising[i] + 1;
        if (length >= kShortestBand * factor && length <= kLongestBand * factor) ++holderBands;
    }
    const uint32_t margin = kSideMargin * factor;
    if (holderBands < kHolderBandsNeeded || width <= 2 * margin) return false;

    const uint32_t height = static_cast<uint32_t>(rowCounts.size());
    size_t lastEdge = kBandsLooked - 1;
    if (edges.falling.size() >= kBandsLooked && edges.rising.size() >= kBandsLooked &&
        edges.falling[kBandsLooked - 1] < edges.rising[kBandsLooked - 1]) {
        ++lastEdge;
    }
    uint32_t bottom = height;
    if (lastEdge < edges.rising.size()) bottom = std::min(height, edges.rising[lastEdge] + kRowsBelowLastEdge * factor + 1);
    const uint32_t first = edges.rising.front();
    area = {margin, first > kRowsAboveFirstBand ? first - kRowsAboveFirstBand : 0, width - margin, bottom};
    return true;
}

bool HoldsFilm(const std::vector<uint8_t>& grey, uint32_t width, const PixelRect& frame, int lightLevel,
               uint32_t factor) {
    const uint32_t border = kFrameBorder * factor;
    const uint32_t frameWidth = frame.right - frame.left;
    const uint32_t frameHeight = frame.bottom - frame.top;
    const uint32_t litPixelsNeeded = frameWidth > border ? frameWidth - border : 0;
    uint32_t litRows = 0;
    for (uint32_t y = frame.top + 1; y + 1 < frame.bottom; ++y) {
        const uint8_t* row = grey.data() + size_t{y} * width;
        uint32_t lit = 0;
        for (uint32_t x = frame.left; x < frame.right; ++x) lit += row[x] >= lightLevel;
        litRows += lit >= litPixelsNeeded;
    }
    return frameHeight > border && litRows < frameHeight - border;
}

}  // namespace detection
