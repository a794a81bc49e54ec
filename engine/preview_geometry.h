// The size of the preview: the scanner bed in preview units (30 per inch)
// and the window that shows it, of the bed's proportions.
#pragma once

namespace preview {

constexpr int kUnitsPerInch = 30;

struct Extent {
    int width = 0;
    int height = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

// How the picture window shows the bed: `client` pixels show bed / zoom
// units from `origin` (units) on.
struct View {
    Extent bed;
    Extent client;
    int zoom = 1;
    Point origin;
};

// A window pixel in preview units (rounded down) and back (rounded down).
Point ToUnits(const View& view, Point pixel);
Point ToPixels(const View& view, Point units);

// The bed of `widthInches` x `lengthInches` in preview units, rounded to the
// nearest unit.
Extent BedUnits(float widthInches, float lengthInches);

// The largest extent of the proportions of `bed` that fits into `room`; each
// side at least 1 unless `room` or `bed` is empty, which gives 0 x 0.
Extent FitToBed(Extent room, Extent bed);

}  // namespace preview
