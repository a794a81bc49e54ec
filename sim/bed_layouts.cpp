#include "sim/bed_layouts.h"

#include <cstddef>

#include "sim/bed_pattern.h"
#include "sim/seeded_hash.h"

namespace sim {
namespace {

void Put(uint8_t* rgb, size_t column, Rgb c) {
    rgb[3 * column] = c.r;
    rgb[3 * column + 1] = c.g;
    rgb[3 * column + 2] = c.b;
}

uint8_t Blend(uint8_t from, uint8_t to, uint32_t part, uint32_t whole) {
    return static_cast<uint8_t>(from + (int32_t{to} - int32_t{from}) * static_cast<int32_t>(part) /
                                           static_cast<int32_t>(whole));
}

// Across a rectangle from `left` at its left edge to `right` at its right.
Rgb Across(const Rect& area, Rgb left, Rgb right, uint32_t x) {
    const uint32_t part = x - area.x0, whole = area.x1 - area.x0;
    return {Blend(left.r, right.r, part, whole), Blend(left.g, right.g, part, whole), Blend(left.b, right.b, part, whole)};
}

// The lid: dark grey cells of 1/16 inch, 36 to 58, every eighth cell printed
// light (190).
constexpr uint32_t kLidCell = 75;
constexpr uint32_t kLidPurpose = 5;
constexpr uint8_t kLidDarkest = 36;
constexpr uint32_t kLidShades = 23;
constexpr uint8_t kLidPrint = 190;

uint8_t LidAt(uint32_t x, uint32_t y) {
    const uint32_t hash = SeededHash(0, kLidPurpose, x / kLidCell, y / kLidCell);
    if (hash % 8 == 0) return kLidPrint;
    return static_cast<uint8_t>(kLidDarkest + (hash >> 3) % kLidShades);
}

// Two photographs in light colours (every channel 130 or more), side by side.
struct Photo {
    Rect area;
    Rgb left, right;
};
constexpr Photo kPhotos[] = {
    {{Inch(1.0), Inch(2.0), Inch(5.0), Inch(7.0)}, {200, 150, 130}, {150, 210, 240}},
    {{Inch(6.0), Inch(3.0), Inch(10.5), Inch(9.5)}, {140, 200, 150}, {230, 190, 140}},
};

// The film holder: an opaque plate across the bed with three strips of six
// windows 0.95 x 1.35 inch, on the light table. Film fills the six windows of
// the first strip and the first three of the second; the rest are empty.
constexpr Rgb kLight = {255, 255, 255};
constexpr Rgb kPlate = {18, 18, 18};
constexpr Rect kPlateArea = {0, Inch(0.6), Inch(11.7), Inch(12.0)};
constexpr uint32_t kStripLeft[] = {Inch(1.5), Inch(4.6), Inch(7.7)};
constexpr uint32_t kFramesFilled[] = {6, 3, 0};
constexpr uint32_t kWindowWidth = Inch(0.95);
constexpr uint32_t kWindowHeight = Inch(1.35);
constexpr uint32_t kWindowTop = Inch(1.0);
constexpr uint32_t kWindowPitch = Inch(1.7);
constexpr uint32_t kFramesPerStrip = 6;
constexpr Rgb kFilmLeft = {90, 70, 140}, kFilmRight = {220, 200, 120};

Rgb FilmHolderAt(uint32_t x, uint32_t y) {
    if (!kPlateArea.Has(x, y)) return kLight;
    if (y < kWindowTop) return kPlate;
    const uint32_t frame = (y - kWindowTop) / kWindowPitch;
    if (frame >= kFramesPerStrip || (y - kWindowTop) % kWindowPitch >= kWindowHeight) return kPlate;
    for (size_t strip = 0; strip < sizeof kStripLeft / sizeof kStripLeft[0]; ++strip) {
        const Rect window = {kStripLeft[strip], y, kStripLeft[strip] + kWindowWidth, y + 1};
        if (!window.Has(x, y)) continue;
        return frame < kFramesFilled[strip] ? Across(window, kFilmLeft, kFilmRight, x) : kLight;
    }
    return kPlate;
}

}  // namespace

void RenderLayoutRow(BedLayout layout, const std::vector<uint32_t>& dots, uint32_t y, uint8_t* rgb) {
    for (size_t column = 0; column < dots.size(); ++column) {
        const uint32_t x = dots[column];
        if (layout == BedLayout::kFilm) {
            Put(rgb, column, FilmHolderAt(x, y));
            continue;
        }
        const uint8_t lid = LidAt(x, y);
        Rgb colour = {lid, lid, lid};
        if (layout == BedLayout::kPhotos) {
            for (const Photo& photo : kPhotos) {
                if (photo.area.Has(x, y)) colour = Across(photo.area, photo.left, photo.right, x);
            }
        }
        Put(rgb, column, colour);
    }
}

}  // namespace sim
