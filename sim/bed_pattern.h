// The procedural bed: a fixed picture defined in bed dots (1/1200 inch from
// the bed's top-left corner) so that any area at any resolution samples the
// same content. A document page (colour patches, grey and colour ramps, fine
// line groups, text-like strokes) lies on a lid pattern beside four separate
// photos. docs/SIMULATOR.md lists the layout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

constexpr uint32_t kBedDotsPerInch = 1200;

// Drawing the bed: inches as bed dots, colours, and areas.
constexpr uint32_t Inch(double inches) { return static_cast<uint32_t>(inches * kBedDotsPerInch + 0.5); }

struct Rgb {
    uint8_t r, g, b;
};

struct Rect {
    uint32_t x0, y0, x1, y1;  // bed dots, right and bottom exclusive
    bool HasRow(uint32_t y) const { return y >= y0 && y < y1; }
    bool Has(uint32_t x, uint32_t y) const { return x >= x0 && x < x1 && HasRow(y); }
};

constexpr size_t kPhotoCount = 4;

// What the rows of one scan share: the columns' bed x and the parts of the
// picture that depend on the column alone.
struct PatternColumns {
    std::vector<uint32_t> dots;                      // bed x of each column, ascending
    std::array<std::vector<uint8_t>, 2> lidRows;     // the lid pattern (red, green, blue per column) by row parity
    std::array<std::vector<uint8_t>, kPhotoCount> photoColours;  // per photo: the undarkened colour of its columns
};

PatternColumns PreparePattern(std::vector<uint32_t> columnDots);

// Fills `rgb` (red, green, blue per column) with the reflectance along the
// row at `rowDot`. `source` selects what the scan sees: 0 everything; 1 and 2
// (film, by transmitted light) white where the lid pattern would be; 3
// (feeder) the page alone on white.
void RenderPatternRow(const PatternColumns& columns, uint32_t rowDot, uint8_t source, uint8_t* rgb);

}  // namespace sim
