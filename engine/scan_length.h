// The ruler beside the preview that sets how much of the bed the prescan
// covers: the marker's position in pixels of the ruler and the length in
// inches it stands for.
#pragma once

namespace preview {

constexpr float kMinScanLength = 4.0f;  // inches
constexpr int kRulerEndMargin = 5;      // pixels the marker keeps from either end

// The inches the whole ruler stands for: 17.0 on a model outside the A3
// family or for the positive transparency (source 1), 11.5 otherwise.
float RulerInches(bool a3Family, int scanSource);

// The marker's position kept within the ruler's margins.
int ClampMarker(int position, int rulerHeight);

// The length at `position` of a ruler `rulerHeight` pixels tall, and the
// position of `inches` (rounded down).
float ScanLengthAt(int position, int rulerHeight, float rulerInches);
int MarkerAt(float inches, int rulerHeight, float rulerInches);

}  // namespace preview
