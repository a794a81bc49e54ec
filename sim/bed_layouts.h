// The beds the region detection is tried on, beside the document bed of
// bed_pattern.h: a dark textured lid, alone or with two photographs on it,
// and the transparency unit's film holder with frames of film and empty
// frames. Defined in bed dots like the document bed; docs/SIMULATOR.md
// lists them.
#pragma once

#include <cstdint>
#include <vector>

namespace sim {

enum class BedLayout : uint8_t {
    kDocument = 0,  // the document page, photos and lid of bed_pattern.h
    kPhotos = 1,    // two photographs side by side on the textured lid
    kLid = 2,       // the textured lid alone: the empty bed
    kFilm = 3,      // the film holder on the light table
};

// Fills `rgb` (red, green, blue per column at bed x `dots`) with the row at
// `rowDot` of one of the layouts other than the document bed. The layouts
// look the same to every source.
void RenderLayoutRow(BedLayout layout, const std::vector<uint32_t>& dots, uint32_t rowDot, uint8_t* rgb);

}  // namespace sim
