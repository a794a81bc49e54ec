// The size of the image a scan will produce, as the main dialog shows it and
// the disk check needs it.
#pragma once

#include <cstdint>

// e = resolution x scaling / 100; bytes = (e x width) x (e x length) in whole
// pixels, / 8 (rounded up) for line art, x 3 for colour. Width and length in
// inches. Saturates at 0xFFFFFFFF.
uint32_t EstimateImageSize(uint16_t scanMode, uint16_t resolution, uint16_t scaling, double widthInches,
                           double lengthInches);
