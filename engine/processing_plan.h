// What the lines of a scan go through on their way to the host, and the size
// of the image after each step. Made once per scan from the settings, the
// values the scan command derived and what the scanner reported; the image
// description and every transfer read it, so that what the host is told is
// what it receives.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/resample.h"
#include "imaging/convolution.h"
#include "settings/scan_settings.h"

namespace processing {

// The transfer mechanism the host chose.
enum class Delivery { kNative, kMemory, kFile };

struct ProcessingPlan {
    Delivery delivery = Delivery::kMemory;  // the mechanism the image is prepared for
    resample::PixelKind kind = resample::PixelKind::kGrey;
    uint16_t bitsPerPixel = 8;    // of the lines the filters see: 1, 8 or 24
    bool deepColour = false;      // 36-bit: samples widened, nothing else
    bool cmyk = false;            // converted block by block (memory transfer only)
    bool colourPass = false;      // the saved tone settings' colour pass (24-bit and CMYK rows)
    bool outputMatching = false;  // the colour profile corrects every block (colour rows only)
    bool throughWorkFile = false; // written to a work file, read back block by block
    std::optional<resample::LineDoubling> doubling;

    // Filters. The native transfer runs the descreen blur and `filterMode`
    // over the finished bitmap. Through the work file, UnSharp Mask and the
    // descreen kernel run while the lines are written, the reduction too,
    // and the other filters while the blocks are read back.
    uint16_t filterMode = 0;
    bool descreen = false;
    std::optional<filters::Kernel> descreenKernel;  // work file only
    bool reduce = false;                             // descreen reduction below 300 dpi
    uint32_t enlargement = 1;                        // 1, or the resampler's factor 2, 4, 6, 8

    uint32_t scanPixels = 0, scanLineBytes = 0, scanLines = 0;        // as the scanner delivers
    uint32_t linePixels = 0, lineBytes = 0;                            // after line doubling
    uint32_t storedPixels = 0, storedLineBytes = 0, storedLines = 0;  // after the reduction
    uint32_t pixels = 0, rowBytes = 0, rows = 0;                      // delivered: after enlargement
    uint32_t hostRowBytes = 0;  // a row the host receives: 4/3 of rowBytes for CMYK, the scanned line for 36-bit
};

// CMYK and 36-bit colour leave only by memory transfer (the bitmap and the
// file layouts are 24-bit RGB), and 36-bit samples are never enlarged or
// widened. False when the settings ask for something else; the scan command
// then refuses the mode before the scanner moves.
bool DeliveryTakesColourKind(const ScanSettings& settings, const ScanDerived& derived, Delivery delivery);

// The plan for a scan of `lines` lines of `bytesPerScanLine` bytes. Line
// doubling follows resample::LineDoublingFor;
// the work file is used by memory and file transfers of post-processed scans;
// the reduction when descreening grey or colour below 300 dpi effective; the
// enlargement when the scan is interpolated. Empty for an unknown mode, a
// colour kind DeliveryTakesColourKind refuses, or an image that would be
// empty or too large to describe.
std::optional<ProcessingPlan> PlanProcessing(const ScanSettings& settings, const ScanDerived& derived,
                                             Delivery delivery, uint32_t bytesPerScanLine, uint32_t lines);

}  // namespace processing
