#include "engine/processing_plan.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using processing::Delivery;
using processing::PlanProcessing;
using resample::PixelKind;

ScanSettings Settings(int persistedMode, uint16_t resolution, uint16_t scaling = 100) {
    ScanSettings s;
    SetPersistedScanMode(s, persistedMode);
    s.resolution = resolution;
    s.scaling = scaling;
    return s;
}

// What the scan command derives for `delivery` on a scanner of `optical` dpi.
ScanDerived Derived(const ScanSettings& s, Delivery delivery, uint16_t optical) {
    ScanDerived derived;
    derived.opticalResolution = optical;
    ComputeScanResolution(s, delivery != Delivery::kNative, derived);
    derived.postProcess = NeedsPostProcess(s, false);
    return derived;
}

processing::ProcessingPlan Plan(const ScanSettings& s, Delivery delivery, uint16_t optical, uint32_t bytes,
                                uint32_t lines) {
    const auto plan = PlanProcessing(s, Derived(s, delivery, optical), delivery, bytes, lines);
    EXPECT_TRUE(plan);
    return plan.value_or(processing::ProcessingPlan{});
}

TEST(ProcessingPlan, PlainScansAreDeliveredAsScanned) {
    const auto grey = Plan(Settings(1013, 100), Delivery::kMemory, 1200, 400, 300);
    EXPECT_EQ(grey.pixels, 400u);
    EXPECT_EQ(grey.rows, 300u);
    EXPECT_EQ(grey.hostRowBytes, 400u);
    EXPECT_FALSE(grey.doubling);
    EXPECT_FALSE(grey.throughWorkFile);
    EXPECT_FALSE(grey.colourPass);
    EXPECT_EQ(grey.enlargement, 1u);

    const auto colour = Plan(Settings(1014, 100), Delivery::kFile, 1200, 1200, 300);
    EXPECT_EQ(colour.pixels, 400u);
    EXPECT_EQ(colour.rowBytes, 1200u);
    EXPECT_TRUE(colour.colourPass);

    const auto lineArt = Plan(Settings(1011, 100), Delivery::kNative, 1200, 48, 300);
    EXPECT_EQ(lineArt.pixels, 384u);
    EXPECT_EQ(lineArt.bitsPerPixel, 1);
}

TEST(ProcessingPlan, LinesAreWidenedOnlyBeyondWhatTheScannerDelivers) {
    // A 1200-dpi scanner delivers 1000 dpi itself, by every mechanism.
    for (Delivery d : {Delivery::kNative, Delivery::kMemory, Delivery::kFile}) {
        const auto plan = Plan(Settings(1013, 1000), d, 1200, 4000, 3000);
        EXPECT_FALSE(plan.doubling);
        EXPECT_EQ(plan.pixels, 4000u);
    }
    // A 600-dpi scanner, native 1000 dpi: scanned at 600 and widened by 1000/600.
    const auto native = Plan(Settings(1013, 1000), Delivery::kNative, 600, 2400, 1800);
    ASSERT_TRUE(native.doubling);
    EXPECT_EQ(native.pixels, 4000u);
    EXPECT_EQ(native.rows, 1800u);
    // The same by memory transfer is scanned at 500 and enlarged by 2, not widened.
    const auto memory = Plan(Settings(1013, 1000), Delivery::kMemory, 600, 2000, 1500);
    EXPECT_FALSE(memory.doubling);
    EXPECT_EQ(memory.enlargement, 2u);
    EXPECT_EQ(memory.pixels, 4000u);
    EXPECT_EQ(memory.rows, 3000u);
    // Native beyond twice the optical resolution: the doubled line itself.
    const auto twice = Plan(Settings(1013, 1800), Delivery::kNative, 600, 2400, 1800);
    EXPECT_EQ(twice.pixels, 4800u);
    // Interpolated beyond twice that: doubled, then enlarged.
    const auto far = Plan(Settings(1013, 3000), Delivery::kMemory, 600, 2400, 1800);
    ASSERT_TRUE(far.doubling);
    EXPECT_EQ(far.linePixels, 4800u);
    EXPECT_EQ(far.pixels, 9600u);
    EXPECT_EQ(far.rows, 3600u);
    // Line art keeps its partial last byte: 2400 doubled pixels at 1001/1200 are 2002.
    const auto lineArt = Plan(Settings(1011, 1001), Delivery::kNative, 600, 150, 100);
    EXPECT_EQ(lineArt.pixels, 2002u);
    EXPECT_EQ(lineArt.lineBytes, 251u);
    EXPECT_EQ(lineArt.rowBytes, 251u);
}

TEST(ProcessingPlan, DpiScaleChoosesTheEnlargement) {
    ScanSettings s = Settings(1014, 1200);
    const uint32_t factors[] = {2, 2, 4, 6, 8, 2};
    for (uint16_t scale = 0; scale <= 5; ++scale) {
        s.dpiScale = scale;
        const auto plan = Plan(s, Delivery::kMemory, 600, 300, 100);
        EXPECT_EQ(plan.enlargement, factors[scale]);
        EXPECT_EQ(plan.pixels, 100 * factors[scale]);
        EXPECT_EQ(plan.rows, 100 * factors[scale]);
        EXPECT_EQ(plan.hostRowBytes, 300 * factors[scale]);
    }
    // Without interpolation nothing is enlarged.
    EXPECT_EQ(Plan(s, Delivery::kNative, 600, 300, 100).enlargement, 1u);
}

TEST(ProcessingPlan, PostProcessedScansGoThroughTheWorkFile) {
    ScanSettings s = Settings(1014, 150);
    s.filterMode = 3;
    EXPECT_TRUE(Plan(s, Delivery::kMemory, 1200, 3000, 100).throughWorkFile);
    EXPECT_TRUE(Plan(s, Delivery::kFile, 1200, 3000, 100).throughWorkFile);
    const auto native = Plan(s, Delivery::kNative, 1200, 3000, 100);
    EXPECT_FALSE(native.throughWorkFile);
    EXPECT_EQ(native.filterMode, 3);

    // Descreening below 300 dpi: scanned at 300, reduced to the kept samples and lines.
    s.filterMode = 0;
    s.descreen = kDescreenMagazine;
    s.descreenActive = true;
    const auto reduced = Plan(s, Delivery::kMemory, 1200, 3000, 200);
    EXPECT_TRUE(reduced.reduce);
    EXPECT_EQ(reduced.descreenKernel, filters::Kernel::kMagazine);
    // 150 of 300: samples 0, 1, 3, 5, ... 999 and lines 0, 1, 3, ... 199.
    EXPECT_EQ(reduced.storedPixels, 501u);
    EXPECT_EQ(reduced.storedLineBytes, 1503u);
    EXPECT_EQ(reduced.storedLines, 101u);
    EXPECT_EQ(reduced.pixels, 501u);
    EXPECT_EQ(reduced.rows, 101u);
    // At 300 dpi or by native transfer nothing is reduced.
    EXPECT_FALSE(Plan(Settings(1014, 300), Delivery::kMemory, 1200, 3000, 200).reduce);
    const auto nativeDescreen = Plan(s, Delivery::kNative, 1200, 3000, 200);
    EXPECT_FALSE(nativeDescreen.reduce);
    EXPECT_TRUE(nativeDescreen.descreen);
    EXPECT_EQ(nativeDescreen.pixels, 1000u);

    // Line art takes no kernel.
    ScanSettings lineArt = Settings(1011, 150);
    lineArt.descreen = kDescreenNewspaper;
    lineArt.descreenActive = true;
    const auto bits = Plan(lineArt, Delivery::kMemory, 1200, 100, 100);
    EXPECT_FALSE(bits.descreenKernel);
    EXPECT_FALSE(bits.reduce);
}

TEST(ProcessingPlan, OutputMatchingReplacesTheColourPassOnColourOnly) {
    ScanSettings s = Settings(1014, 100);
    s.outputMatch = 1;
    const auto colour = Plan(s, Delivery::kMemory, 1200, 300, 10);
    EXPECT_TRUE(colour.outputMatching);
    EXPECT_FALSE(colour.colourPass);
    EXPECT_TRUE(colour.throughWorkFile);
    SetPersistedScanMode(s, 1013);
    EXPECT_FALSE(Plan(s, Delivery::kMemory, 1200, 300, 10).outputMatching);
}

TEST(ProcessingPlan, CmykAndDeepColourOnlyByMemory) {
    const ScanSettings cmyk = Settings(1015, 100);
    const auto plan = Plan(cmyk, Delivery::kMemory, 1200, 1200, 10);
    EXPECT_TRUE(plan.cmyk);
    EXPECT_TRUE(plan.colourPass);
    EXPECT_EQ(plan.rowBytes, 1200u);
    EXPECT_EQ(plan.hostRowBytes, 1600u);

    // 36-bit at 300 dpi over 2400 pixels' worth of bytes (14400): 1200 six-byte pixels.
    ScanSettings deep = Settings(1016, 300);
    deep.filterMode = 5;
    deep.outputMatch = 1;
    const auto wide = Plan(deep, Delivery::kMemory, 1200, 7200, 10);
    EXPECT_TRUE(wide.deepColour);
    EXPECT_EQ(wide.pixels, 1200u);
    EXPECT_EQ(wide.hostRowBytes, 7200u);
    EXPECT_FALSE(wide.throughWorkFile);
    EXPECT_FALSE(wide.outputMatching);
    EXPECT_EQ(wide.filterMode, 0);

    for (const ScanSettings& s : {cmyk, deep})
        for (Delivery d : {Delivery::kNative, Delivery::kFile}) {
            EXPECT_FALSE(processing::DeliveryTakesColourKind(s, Derived(s, d, 1200), d));
            EXPECT_FALSE(PlanProcessing(s, Derived(s, d, 1200), d, 1200, 10));
        }
    // 36-bit is never enlarged or widened.
    const ScanSettings far = Settings(1016, 2400);
    EXPECT_FALSE(processing::DeliveryTakesColourKind(far, Derived(far, Delivery::kMemory, 1200), Delivery::kMemory));
    EXPECT_TRUE(processing::DeliveryTakesColourKind(deep, Derived(deep, Delivery::kMemory, 1200), Delivery::kMemory));
}

TEST(ProcessingPlan, RefusesWhatCannotBeDescribed) {
    ScanSettings unknown = Settings(1013, 100);
    unknown.scanMode = 1010;
    EXPECT_FALSE(PlanProcessing(unknown, ScanDerived{}, Delivery::kMemory, 100, 100));
    const ScanSettings grey = Settings(1013, 100);
    EXPECT_FALSE(PlanProcessing(grey, Derived(grey, Delivery::kMemory, 1200), Delivery::kMemory, 0, 100));
    EXPECT_FALSE(PlanProcessing(grey, Derived(grey, Delivery::kMemory, 1200), Delivery::kMemory, 100, 0));
}

TEST(ProcessingPlan, DoubleLineMakesThePlannedWidth) {
    // Over resolutions, scalings, scanners and mechanisms: the doubled line is
    // exactly the width the plan describes.
    std::vector<uint8_t> line(7000, 77), out(2 * 7000 + 16);
    for (uint16_t optical : {600, 800, 1200})
        for (uint16_t scaling : {100, 75, 110, 150})
            for (uint16_t r = 550; r <= 4000; r += 13)
                for (Delivery d : {Delivery::kNative, Delivery::kMemory})
                    for (int mode : {1011, 1013}) {
                        const ScanSettings s = Settings(mode, r, scaling);
                        const auto plan = Plan(s, d, optical, 700, 10);
                        if (!plan.doubling) {
                            ASSERT_EQ(plan.linePixels, plan.scanPixels);
                            continue;
                        }
                        const PixelKind kind = mode == 1011 ? PixelKind::kLineArt : PixelKind::kGrey;
                        const size_t bytes = resample::DoubleLine(kind, line.data(), plan.scanPixels,
                                                                  *plan.doubling, out.data(), out.size());
                        ASSERT_GE(bytes, plan.lineBytes) << r << " " << scaling << " " << optical;
                        ASSERT_LE(bytes, plan.lineBytes + (mode == 1011 ? 1u : 0u));
                        ASSERT_EQ(plan.pixels, plan.linePixels * plan.enlargement);
                    }
}

}  // namespace
