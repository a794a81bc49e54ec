#include "engine/processing_plan.h"

#include "imaging/decimation.h"

namespace processing {

namespace {

// Every count of a plan stays within what TW_IMAGEINFO and the 32-bit sizes
// of the transfers can carry.
constexpr uint64_t kLimit = 0x7FFFFFFF;

uint32_t EffectiveResolution(const ScanSettings& s) { return uint32_t{s.resolution} * s.scaling / 100; }

std::optional<resample::LineDoubling> DoublingOf(const ScanSettings& s, const ScanDerived& derived) {
    return resample::LineDoublingFor(s.resolution, s.scaling, derived.interpolate, derived.scanResolution);
}

// The pixels of a scanner line: line art 8 a byte, grey one, colour three,
// 36-bit colour six bytes a pixel.
uint32_t ScannerPixels(const ScanSettings& s, uint32_t bytes) {
    switch (s.scanMode) {
        case kModeLineArt: return bytes * 8;
        case kModeColour: return bytes / (s.colourKind == kColour36 ? 6 : 3);
        default: return bytes;
    }
}

// The work-file steps: a post-processed memory or file transfer of anything
// but 36-bit colour.
void PlanWorkFile(const ScanSettings& s, ProcessingPlan& plan) {
    const bool lineArt = plan.kind == resample::PixelKind::kLineArt;
    plan.throughWorkFile = true;
    plan.filterMode = s.filterMode;
    plan.descreen = s.descreenActive && !lineArt;  // the kernels leave line art as it is
    if (plan.descreen) plan.descreenKernel = filters::DescreenKernel(s.descreen);
    plan.reduce = plan.descreen && EffectiveResolution(s) < 300;
    if (plan.reduce) {
        const filters::DecimationMasks masks =
            filters::BuildDecimationMasks(s.resolution, s.scaling, plan.linePixels, plan.scanLines);
        plan.storedPixels = masks.keptColumns;
        plan.storedLines = masks.keptLines;
        plan.storedLineBytes = static_cast<uint32_t>(resample::RowBytes(plan.kind, plan.storedPixels));
    }
}

}  // namespace

bool DeliveryTakesColourKind(const ScanSettings& settings, const ScanDerived& derived, Delivery delivery) {
    if (settings.scanMode != kModeColour || settings.colourKind == kColour24) return true;
    if (delivery != Delivery::kMemory) return false;
    return settings.colourKind != kColour36 || (!derived.interpolate && !DoublingOf(settings, derived));
}

std::optional<ProcessingPlan> PlanProcessing(const ScanSettings& s, const ScanDerived& derived, Delivery delivery,
                                             uint32_t bytesPerScanLine, uint32_t lines) {
    if (BitsPerPixel(s.scanMode) == 0 || (s.scanMode == kModeColour && s.colourKind > kColour36) ||
        !DeliveryTakesColourKind(s, derived, delivery))
        return std::nullopt;

    ProcessingPlan plan;
    plan.delivery = delivery;
    plan.kind = resample::PixelKindFor(s.scanMode);
    plan.bitsPerPixel = static_cast<uint16_t>(BitsPerPixel(s.scanMode));
    plan.scanPixels = ScannerPixels(s, bytesPerScanLine);
    plan.scanLineBytes = bytesPerScanLine;
    plan.scanLines = lines;
    const bool colour = s.scanMode == kModeColour;
    plan.deepColour = colour && s.colourKind == kColour36;
    if (plan.deepColour) {
        plan.pixels = plan.linePixels = plan.storedPixels = plan.scanPixels;
        plan.hostRowBytes = plan.rowBytes = plan.lineBytes = plan.storedLineBytes = 6 * plan.scanPixels;
        plan.rows = plan.storedLines = lines;
        if (plan.pixels == 0 || lines == 0) return std::nullopt;
        return plan;
    }

    plan.cmyk = colour && s.colourKind == kColourCmyk;
    plan.outputMatching = colour && s.outputMatch != 0;
    plan.colourPass = colour && !plan.outputMatching;
    plan.doubling = DoublingOf(s, derived);
    plan.linePixels = plan.scanPixels;
    if (plan.doubling) plan.linePixels = resample::DoubledLinePixels(plan.scanPixels, *plan.doubling);
    plan.lineBytes = static_cast<uint32_t>(resample::RowBytes(plan.kind, plan.linePixels));
    plan.storedPixels = plan.linePixels;
    plan.storedLineBytes = plan.lineBytes;
    plan.storedLines = lines;

    if (delivery == Delivery::kNative) {
        plan.filterMode = s.filterMode;
        plan.descreen = s.descreenActive;
    } else if (derived.postProcess) {
        PlanWorkFile(s, plan);
    }
    if (derived.interpolate) plan.enlargement = resample::EnlargementFactor(s.dpiScale);

    const uint64_t pixels = uint64_t{plan.storedPixels} * plan.enlargement;
    const uint64_t rows = uint64_t{plan.storedLines} * plan.enlargement;
    const uint64_t rowBytes = uint64_t{plan.storedLineBytes} * plan.enlargement;
    const uint64_t hostRowBytes = plan.cmyk ? rowBytes / 3 * 4 : rowBytes;
    if (pixels == 0 || rows == 0 || hostRowBytes > kLimit || rows > kLimit) return std::nullopt;
    plan.pixels = static_cast<uint32_t>(pixels);
    plan.rows = static_cast<uint32_t>(rows);
    plan.rowBytes = static_cast<uint32_t>(rowBytes);
    plan.hostRowBytes = static_cast<uint32_t>(hostRowBytes);
    return plan;
}

}  // namespace processing
