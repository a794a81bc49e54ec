#include "sim/bed_pattern.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sim/seeded_hash.h"

namespace sim {
namespace {

constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kPaper = {250, 250, 250};
constexpr uint8_t kLidDark = 226;
constexpr uint8_t kLidLight = 236;
constexpr uint32_t kLidSquare = 150;  // dots: squares of 1/8 inch

constexpr Rect kPage = {Inch(0.3), Inch(0.3), Inch(8.2), Inch(10.7)};

// Colour patches: eight of 0.8 x 1.0 inch from (0.5, 0.6), 0.9 inch apart.
constexpr Rgb kPatchColours[] = {{220, 30, 30},  {30, 180, 40},  {30, 50, 200},   {0, 170, 220},
                                 {210, 40, 160}, {245, 220, 20}, {20, 20, 20}, {128, 128, 128}};
constexpr uint32_t kPatchLeft = Inch(0.5);
constexpr uint32_t kPatchStep = Inch(0.9);
constexpr uint32_t kPatchWidth = Inch(0.8);
constexpr uint32_t kPatchTop = Inch(0.6);
constexpr uint32_t kPatchBottom = Inch(1.6);

struct Ramp {
    Rect area;
    Rgb from, to;  // at the left and right edges
};
constexpr Ramp kRamps[] = {
    {{Inch(0.5), Inch(1.9), Inch(7.9), Inch(2.4)}, kBlack, kWhite},
    {{Inch(0.5), Inch(3.2), Inch(7.9), Inch(3.5)}, kBlack, {255, 0, 0}},
    {{Inch(0.5), Inch(3.5), Inch(7.9), Inch(3.8)}, kBlack, {0, 255, 0}},
    {{Inch(0.5), Inch(3.8), Inch(7.9), Inch(4.1)}, kBlack, {0, 0, 255}},
};

constexpr Rect kSteps = {Inch(0.5), Inch(2.6), Inch(7.9), Inch(3.0)};  // 16 grey steps 0..255
constexpr uint32_t kStepCount = 16;

// Line groups: four groups of 1.5 inch side by side, bar periods 2, 4, 8 and
// 16 dots (half black); vertical bars in the first band, horizontal in the second.
constexpr uint32_t kGroupLeft = Inch(0.5);
constexpr uint32_t kGroupStep = Inch(1.8);
constexpr uint32_t kGroupWidth = Inch(1.5);
constexpr uint32_t kGroupCount = 4;
constexpr Rect kVerticalBars = {kGroupLeft, Inch(4.4), kGroupLeft + 3 * kGroupStep + kGroupWidth, Inch(5.4)};
constexpr Rect kHorizontalBars = {kGroupLeft, Inch(5.6), kGroupLeft + 3 * kGroupStep + kGroupWidth, Inch(6.4)};

// Text: 18 lines of words, 0.12 inch high, 0.2 inch apart.
constexpr Rect kText = {Inch(0.5), Inch(6.8), Inch(7.9), Inch(10.4)};
constexpr uint32_t kTextPitch = Inch(0.2);
constexpr uint32_t kTextHeight = 144;
constexpr uint32_t kLetterWidth = 72;
constexpr uint32_t kLetterBody = 58;
constexpr uint32_t kStroke = 14;
constexpr uint32_t kWordGap = 84;
constexpr uint32_t kTextPurpose = 4;

struct Photo {
    Rect area;
    Rgb left, right;  // colours at the left and right edges, darkened towards the bottom
    uint32_t discX, discY, discRadius;  // dots from the photo's top-left corner
    Rgb disc;
};
constexpr Photo kPhotos[kPhotoCount] = {
    {{Inch(8.7), Inch(0.8), Inch(11.3), Inch(4.3)}, {70, 130, 210}, {150, 200, 240}, Inch(1.8), Inch(0.9), Inch(0.5), {250, 210, 60}},
    {{Inch(8.7), Inch(5.0), Inch(11.3), Inch(7.0)}, {40, 120, 50}, {180, 170, 90}, Inch(0.8), Inch(1.1), Inch(0.6), {200, 40, 40}},
    {{Inch(1.0), Inch(11.5), Inch(6.0), Inch(15.0)}, {200, 90, 40}, {60, 40, 120}, Inch(3.5), Inch(1.2), Inch(0.9), {240, 240, 200}},
    {{Inch(7.0), Inch(12.0), Inch(10.5), Inch(16.2)}, {20, 40, 80}, {90, 160, 180}, Inch(1.2), Inch(2.8), Inch(0.7), {230, 230, 230}},
};

// The columns whose dots lie in [x0, x1).
struct Span {
    size_t first, last;
};
Span Columns(const std::vector<uint32_t>& dots, uint32_t x0, uint32_t x1) {
    const auto begin = std::lower_bound(dots.begin(), dots.end(), x0);
    const auto end = std::lower_bound(begin, dots.end(), x1);
    return {static_cast<size_t>(begin - dots.begin()), static_cast<size_t>(end - dots.begin())};
}

void Put(uint8_t* rgb, size_t column, Rgb c) {
    rgb[3 * column] = c.r;
    rgb[3 * column + 1] = c.g;
    rgb[3 * column + 2] = c.b;
}

void Fill(uint8_t* rgb, Span span, Rgb c) {
    for (size_t x = span.first; x < span.last; ++x) Put(rgb, x, c);
}

uint8_t Blend(uint8_t from, uint8_t to, uint32_t t) {  // t 0..255
    return static_cast<uint8_t>(from + (int32_t{to} - int32_t{from}) * static_cast<int32_t>(t) / 255);
}

Rgb Blend(Rgb from, Rgb to, uint32_t t) { return {Blend(from.r, to.r, t), Blend(from.g, to.g, t), Blend(from.b, to.b, t)}; }

// 16.16 step that takes 0..width-1 dots to 0..255.
uint32_t RampStep(uint32_t width) { return ((255u << 16) + width - 2) / (width - 1); }

std::vector<uint8_t> LidRow(const std::vector<uint32_t>& dots, uint32_t rowParity) {
    std::vector<uint8_t> rgb(dots.size() * 3);
    for (size_t x = 0; x < dots.size(); ++x) {
        const uint8_t v = (((dots[x] / kLidSquare) & 1) ^ rowParity) ? kLidLight : kLidDark;
        Put(rgb.data(), x, {v, v, v});
    }
    return rgb;
}

void DrawRamp(const std::vector<uint32_t>& dots, const Ramp& ramp, uint8_t* rgb) {
    const Span span = Columns(dots, ramp.area.x0, ramp.area.x1);
    const uint32_t step = RampStep(ramp.area.x1 - ramp.area.x0);
    for (size_t x = span.first; x < span.last; ++x) {
        Put(rgb, x, Blend(ramp.from, ramp.to, ((dots[x] - ramp.area.x0) * step) >> 16));
    }
}

void DrawSteps(const std::vector<uint32_t>& dots, uint8_t* rgb) {
    const Span span = Columns(dots, kSteps.x0, kSteps.x1);
    const uint32_t step = (kStepCount << 16) / (kSteps.x1 - kSteps.x0);
    for (size_t x = span.first; x < span.last; ++x) {
        const uint32_t index = std::min(((dots[x] - kSteps.x0) * step) >> 16, kStepCount - 1);
        const uint8_t v = static_cast<uint8_t>(index * 255 / (kStepCount - 1));
        Put(rgb, x, {v, v, v});
    }
}

void DrawBarGroups(const std::vector<uint32_t>& dots, uint32_t y, bool vertical, uint8_t* rgb) {
    for (uint32_t g = 0; g < kGroupCount; ++g) {
        const uint32_t x0 = kGroupLeft + g * kGroupStep;
        const uint32_t half = 1u << g;  // half the period: 1, 2, 4, 8 dots
        const Span span = Columns(dots, x0, x0 + kGroupWidth);
        if (!vertical) {
            Fill(rgb, span, ((y - kHorizontalBars.y0) & half) == 0 ? kBlack : kPaper);
            continue;
        }
        for (size_t x = span.first; x < span.last; ++x) {
            if (((dots[x] - x0) & half) == 0) Put(rgb, x, kBlack);
        }
    }
}

// Words of letters: a stem on the left of every letter, and per letter from
// the hash a top, middle and bottom bar and a right stem.
void DrawTextRow(const std::vector<uint32_t>& dots, uint32_t y, uint8_t* rgb) {
    const uint32_t line = (y - kText.y0) / kTextPitch;
    const uint32_t row = (y - kText.y0) % kTextPitch;
    if (row >= kTextHeight) return;
    const uint32_t right = line + 1 == (kText.y1 - kText.y0) / kTextPitch ? (kText.x0 + kText.x1) / 2 : kText.x1;
    uint32_t x = kText.x0;
    for (uint32_t word = 0;; ++word) {
        const uint32_t letters = 2 + SeededHash(0, kTextPurpose, line, word) % 9;
        if (x + letters * kLetterWidth > right) break;
        for (uint32_t letter = 0; letter < letters; ++letter, x += kLetterWidth) {
            const uint32_t shape = SeededHash(0, kTextPurpose, line, (word << 8) | letter);
            const bool bar = (row < kStroke && (shape & 1)) ||
                             (row >= (kTextHeight - kStroke) / 2 && row < (kTextHeight + kStroke) / 2 && (shape & 2)) ||
                             (row >= kTextHeight - kStroke && (shape & 4));
            if (bar) {
                Fill(rgb, Columns(dots, x, x + kLetterBody), kBlack);
                continue;
            }
            Fill(rgb, Columns(dots, x, x + kStroke), kBlack);
            if (shape & 8) Fill(rgb, Columns(dots, x + kLetterBody - kStroke, x + kLetterBody), kBlack);
        }
        x += kWordGap;
    }
}

uint32_t IntegerSqrt(uint32_t v) {
    uint32_t r = static_cast<uint32_t>(std::sqrt(static_cast<double>(v)));
    while (r > 0 && r * r > v) --r;
    while ((r + 1) * (r + 1) <= v) ++r;
    return r;
}

std::vector<uint8_t> PhotoColours(const std::vector<uint32_t>& dots, const Photo& photo) {
    const Rect& a = photo.area;
    const uint32_t step = RampStep(a.x1 - a.x0);
    const Span span = Columns(dots, a.x0, a.x1);
    std::vector<uint8_t> rgb((span.last - span.first) * 3);
    for (size_t x = span.first; x < span.last; ++x) {
        Put(rgb.data(), x - span.first, Blend(photo.left, photo.right, ((dots[x] - a.x0) * step) >> 16));
    }
    return rgb;
}

// The photo's colours darkened towards its bottom, and a disc on top.
void DrawPhotoRow(const std::vector<uint32_t>& dots, const Photo& photo, const std::vector<uint8_t>& colours,
                  uint32_t y, uint8_t* rgb) {
    const Rect& a = photo.area;
    const uint32_t down = ((y - a.y0) * RampStep(a.y1 - a.y0)) >> 16;  // 0..255
    const uint32_t shade = 256 - down / 3;
    uint8_t* out = rgb + Columns(dots, a.x0, a.x1).first * 3;
    for (size_t i = 0; i < colours.size(); ++i) out[i] = static_cast<uint8_t>(colours[i] * shade >> 8);

    const int32_t dy = static_cast<int32_t>(y - a.y0) - static_cast<int32_t>(photo.discY);
    const uint32_t dy2 = static_cast<uint32_t>(dy * dy);
    const uint32_t r2 = photo.discRadius * photo.discRadius;
    if (dy2 >= r2) return;
    const uint32_t half = IntegerSqrt(r2 - dy2);
    const uint32_t centre = a.x0 + photo.discX;
    Fill(rgb, Columns(dots, centre - half, centre + half + 1), photo.disc);
}

}  // namespace

PatternColumns PreparePattern(std::vector<uint32_t> columnDots) {
    PatternColumns columns;
    columns.dots = std::move(columnDots);
    for (uint32_t parity = 0; parity < 2; ++parity) columns.lidRows[parity] = LidRow(columns.dots, parity);
    for (size_t i = 0; i < kPhotoCount; ++i) columns.photoColours[i] = PhotoColours(columns.dots, kPhotos[i]);
    return columns;
}

void RenderPatternRow(const PatternColumns& columns, uint32_t y, uint8_t source, uint8_t* rgb) {
    const std::vector<uint32_t>& dots = columns.dots;
    if (source == 0) {
        const std::vector<uint8_t>& lid = columns.lidRows[(y / kLidSquare) & 1];
        std::memcpy(rgb, lid.data(), lid.size());
    } else {
        std::memset(rgb, 255, dots.size() * 3);
    }
    if (kPage.HasRow(y)) {
        Fill(rgb, Columns(dots, kPage.x0, kPage.x1), kPaper);
        if (y >= kPatchTop && y < kPatchBottom) {
            for (size_t i = 0; i < sizeof kPatchColours / sizeof kPatchColours[0]; ++i) {
                const uint32_t x0 = kPatchLeft + static_cast<uint32_t>(i) * kPatchStep;
                Fill(rgb, Columns(dots, x0, x0 + kPatchWidth), kPatchColours[i]);
            }
        }
        for (const Ramp& ramp : kRamps) {
            if (ramp.area.HasRow(y)) DrawRamp(dots, ramp, rgb);
        }
        if (kSteps.HasRow(y)) DrawSteps(dots, rgb);
        if (kVerticalBars.HasRow(y)) DrawBarGroups(dots, y, true, rgb);
        if (kHorizontalBars.HasRow(y)) DrawBarGroups(dots, y, false, rgb);
        if (kText.HasRow(y)) DrawTextRow(dots, y, rgb);
    }
    if (source == 3) return;  // the feeder brings the page alone
    for (size_t i = 0; i < kPhotoCount; ++i) {
        if (kPhotos[i].area.HasRow(y)) DrawPhotoRow(dots, kPhotos[i], columns.photoColours[i], y, rgb);
    }
}

}  // namespace sim
