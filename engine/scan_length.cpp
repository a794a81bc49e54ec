#include "engine/scan_length.h"

#include <algorithm>
#include <cmath>

namespace preview {

float RulerInches(bool a3Family, int scanSource) { return !a3Family || scanSource == 1 ? 17.0f : 11.5f; }

int ClampMarker(int position, int rulerHeight) {
    return std::max(kRulerEndMargin, std::min(position, rulerHeight - kRulerEndMargin));
}

float ScanLengthAt(int position, int rulerHeight, float rulerInches) {
    return rulerHeight > 0 ? static_cast<float>(position) * rulerInches / static_cast<float>(rulerHeight) : 0.0f;
}

int MarkerAt(float inches, int rulerHeight, float rulerInches) {
    return rulerInches > 0 ? static_cast<int>(std::floor(inches * static_cast<float>(rulerHeight) / rulerInches)) : 0;
}

}  // namespace preview
