// The descreen reduction of the file route: when descreening a scan whose
// effective resolution is below 300 dpi (the scanner then scans at 300),
// each kept sample of each kept line becomes the mean of its 3 x 3
// neighbourhood, and only the kept samples are written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/line_window.h"

namespace filters {

// One byte per pixel column (the bytes of a colour pixel share it) and one per
// line of the scan: 1 keeps it, 0 drops it.
struct DecimationMasks {
    std::vector<uint8_t> columns;
    std::vector<uint8_t> lines;
    uint32_t keptColumns = 0;
    uint32_t keptLines = 0;
};

// With target t = resolution x scaling / 100 and an accumulator starting at
// 300, each column in turn is dropped while acc + t < 300 (acc grows by t),
// otherwise kept (acc becomes acc + t - 300): about t of every 300 are kept,
// spread evenly, and the first is always kept. Lines likewise.
DecimationMasks BuildDecimationMasks(uint32_t resolution, uint32_t scaling, uint32_t pixelsPerLine, uint32_t lines);

// The state of one image's reduction, owned by the caller.
struct BoxDecimation {
    DecimationMasks masks;
    LineWindow window;
    std::vector<uint32_t> keptPixels;  // columns kept, in order
    std::vector<uint16_t> columnSums;  // per padded sample: above + current + below
    uint32_t outputLineBytes = 0;      // bytes of a line written
    uint32_t outputLines = 0;          // lines written over the whole image
};

// Prepares the reduction of an image of `lines` lines of `pixelsPerLine`
// pixels at `bitsPerPixel` 8 or 24; line art (1) passes unchanged. The
// output geometry is known at once. False when a buffer cannot be allocated
// or the geometry is unknown; every line then passes unchanged.
bool StartBoxDecimation(BoxDecimation& decimation, uint32_t resolution, uint32_t scaling, uint32_t pixelsPerLine,
                        uint32_t lines, uint16_t bitsPerPixel);

// Takes in the next `count` lines of the image, held one after another in
// `block`, and writes the kept samples of the finished kept lines compactly at
// the start of `block`; returns the bytes written. As with Convolve3x3 the
// last line taken in is finished by the next block or by FinishBoxDecimation.
// Lines beyond the count the reduction was started with are dropped.
size_t BoxDecimate(BoxDecimation& decimation, uint8_t* block, size_t count);

// End of the image: writes the held last line when it is kept; returns the
// bytes written (0 or outputLineBytes).
size_t FinishBoxDecimation(BoxDecimation& decimation, uint8_t* line);

}  // namespace filters
