// Resolutions beyond what the scanner delivers, scanned with the dialog:
// memory and file transfers are scanned at half the resolution and enlarged
// by the factor of the dpi scale; lines the scanner cannot make wide enough
// are doubled. Each image is compared with the resampling functions applied
// to the simulated scanner's pixels, and its size with the image description.
#include <string>
#include <vector>

#include "engine/resample.h"
#include "tests/wine/settings_scan.h"

namespace {

using namespace dstest;
using resample::PixelKind;

// A tenth of an inch square at (1, 1) inches.
constexpr const char* kTinyFrame = "30  30  33  33  ";

DialogSettings Settings(const char* mode, const char* dpi, const char* frame, DialogSettings extra = {}) {
    DialogSettings settings = {{"ScanMode", mode}, {"ScanRes", dpi}, {"Frame", frame}};
    settings.insert(settings.end(), extra.begin(), extra.end());
    return settings;
}

struct Mode {
    const char* stored;
    uint16_t scanMode;
    uint8_t imageType;
    PixelKind kind;
};
const Mode kGrey{"1013", kModeGray, sim::kGreyColourShaded, PixelKind::kGrey};
const Mode kColour{"1014", kModeColour, sim::kColour, PixelKind::kColour};
const Mode kLineArt{"1011", kModeLineArt, sim::kLineArt, PixelKind::kLineArt};

uint32_t Pixels(const Image& image, PixelKind kind) {
    return kind == PixelKind::kLineArt ? image.lineBytes * 8 : image.pixels;
}

Image Scanned(const std::string& keys, const Mode& mode, uint16_t dpi, const uint16_t (&frame)[4],
              uint16_t opticalRate = 1200) {
    return DialogScanImage(keys, {mode.imageType, mode.scanMode, dpi, {frame[0], frame[1], frame[2], frame[3]}},
                           DefaultToneSettings(), opticalRate);
}

Image Enlarged(const Image& image, PixelKind kind, uint32_t factor) {
    Image out;
    out.pixels = Pixels(image, kind) * factor;
    out.lines = image.lines * factor;
    out.lineBytes = image.lineBytes * factor;
    out.bytes.resize(size_t{out.lines} * out.lineBytes);
    resample::CarryRow carry;
    EXPECT_EQ(resample::EnlargeRows(kind, factor, {image.bytes.data(), Pixels(image, kind), image.lines},
                                    out.bytes.data(), out.bytes.size(), carry),
              resample::EnlargeStatus::kDone);
    return out;
}

// Every line doubled and thinned as `doubling` says.
Image Doubled(const Image& image, PixelKind kind, const resample::LineDoubling& doubling) {
    Image out;
    out.pixels = resample::DoubledLinePixels(Pixels(image, kind), doubling);
    out.lineBytes = static_cast<uint32_t>(resample::RowBytes(kind, out.pixels));
    out.lines = image.lines;
    std::vector<uint8_t> line(out.lineBytes + 1);
    for (uint32_t y = 0; y < image.lines; ++y) {
        EXPECT_GE(resample::DoubleLine(kind, image.bytes.data() + size_t{y} * image.lineBytes, Pixels(image, kind),
                                       doubling, line.data(), line.size()),
                  out.lineBytes);
        out.bytes.insert(out.bytes.end(), line.begin(), line.begin() + out.lineBytes);
    }
    return out;
}

using ResamplingRouteTest = SettingsScanTest;

TEST_F(ResamplingRouteTest, InterpolatedScansAreEnlargedByTheDpiScaleFactor) {
    // 2400 dpi on the 1200-dpi scanner: scanned at 1200, enlarged by 2, 4, 6, 8.
    const uint16_t frame[4] = {30, 30, 33, 33};
    const Image scanned = Scanned(keys, kGrey, 1200, frame);
    const uint32_t factors[] = {2, 2, 4, 6, 8};
    for (uint16_t scale : {0, 2, 3, 4}) {
        SCOPED_TRACE(scale);
        const Image expected = Enlarged(scanned, PixelKind::kGrey, factors[scale]);
        ASSERT_TRUE(DialogScan(Settings("1013", "2400", kTinyFrame, {{"DpiScale", std::to_string(scale)}}),
                               TWSX_MEMORY));
        const TW_IMAGEINFO info = ImageInfo();
        EXPECT_EQ(info.ImageWidth, static_cast<TW_INT32>(expected.pixels));
        EXPECT_EQ(info.ImageLength, static_cast<TW_INT32>(expected.lines));
        EXPECT_EQ(info.XResolution.Whole, 1200 * factors[scale]);
        const MemoryBlocks taken = MemoryImage();
        // Every block holds whole enlargements of its source lines.
        for (const TW_IMAGEMEMXFER& record : taken.records) EXPECT_EQ(record.Rows % factors[scale], 0u);
        EXPECT_EQ(taken.records[0].BytesPerRow, expected.lineBytes);
        EXPECT_TRUE(SamePixels(expected, taken.rows));
    }
    for (const Mode& mode : {kColour, kLineArt}) {
        SCOPED_TRACE(mode.stored);
        const Image expected = Enlarged(Scanned(keys, mode, 1200, frame), mode.kind, 2);
        ASSERT_TRUE(DialogScan(Settings(mode.stored, "2400", kTinyFrame), TWSX_MEMORY));
        EXPECT_EQ(ImageInfo().ImageWidth, static_cast<TW_INT32>(expected.pixels));
        EXPECT_TRUE(SamePixels(expected, MemoryImage(20000).rows));
    }
    // The wait cursor shows while the image is enlarged: the host's window
    // sees it when the source's pump runs between blocks.
    ASSERT_TRUE(DialogScan(Settings("1013", "2400", kTinyFrame), TWSX_MEMORY));
    HCURSOR during = nullptr;
    host.Defer([&during] { during = GetCursor(); });
    MemoryImage();
    EXPECT_EQ(during, LoadCursor(nullptr, IDC_WAIT));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ResamplingRouteTest, InterpolatedFileTransfersCarryTheEnlargedSize) {
    const uint16_t frame[4] = {30, 30, 33, 33};
    const Image expected = Enlarged(Scanned(keys, kColour, 1200, frame), PixelKind::kColour, 4);
    const DialogSettings settings = Settings("1014", "2400", kTinyFrame, {{"DpiScale", "2"}});
    const std::string tiff = TempPath("enlarged.tif"), bmp = TempPath("enlarged.bmp");
    ASSERT_TRUE(DialogScan(settings, TWSX_FILE, tiff));
    const std::vector<uint8_t> tiffBytes = FileImage(tiff);
    ASSERT_GT(tiffBytes.size(), 146u);
    EXPECT_EQ(blocks::GetU32(tiffBytes.data(), 18), expected.pixels);  // ImageWidth
    EXPECT_EQ(blocks::GetU32(tiffBytes.data(), 30), expected.lines);   // ImageLength
    EXPECT_TRUE(SamePixels(expected, std::vector<uint8_t>(tiffBytes.begin() + 146, tiffBytes.end())));
    // The interpolation file lives only while the transfer does.
    EXPECT_FALSE(FileExists(TempPath("Interp.Tmp")));

    ASSERT_TRUE(DialogScan(settings, TWSX_FILE, bmp, TWFF_BMP));
    const std::vector<uint8_t> bmpBytes = FileImage(bmp);
    ASSERT_GT(bmpBytes.size(), 54u);
    EXPECT_EQ(blocks::GetU32(bmpBytes.data(), 18), expected.pixels);  // biWidth
    EXPECT_TRUE(SamePixels(expected, FromBitmapRows(bmpBytes.data() + 54, expected.lines, expected.lineBytes, true)));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ResamplingRouteTest, NativeLinesBeyondTheScannerAreDoubled) {
    // 2400 dpi by native transfer: scanned at 1200, every line doubled.
    const uint16_t frame[4] = {30, 30, 33, 33};
    const resample::LineDoubling doubling = *resample::LineDoublingFor(2400, 100, false, 1200);
    for (const Mode& mode : {kGrey, kColour, kLineArt}) {
        SCOPED_TRACE(mode.stored);
        const Image expected = Doubled(Scanned(keys, mode, 1200, frame), mode.kind, doubling);
        ASSERT_TRUE(DialogScan(Settings(mode.stored, "2400", kTinyFrame), TWSX_NATIVE));
        EXPECT_EQ(ImageInfo().ImageWidth, static_cast<TW_INT32>(expected.pixels));
        const Dib dib = NativeImage();
        EXPECT_EQ(dib.width, static_cast<int32_t>(expected.pixels));
        EXPECT_EQ(dib.height, static_cast<int32_t>(expected.lines));
        EXPECT_TRUE(SamePixels(expected, FromBitmapRows(dib.rows.data(), expected.lines, expected.lineBytes,
                                                        mode.kind == PixelKind::kColour)));
    }
    // Up to its optical resolution the scanner delivers the lines itself.
    const Image plain = Scanned(keys, kGrey, 1000, frame);
    ASSERT_TRUE(DialogScan(Settings("1013", "1000", kTinyFrame), TWSX_NATIVE));
    EXPECT_EQ(NativeImage().width, static_cast<int32_t>(plain.pixels));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ResamplingRouteTest, SixHundredDpiScannerDoublesAbove600) {
    Connect("ResolutionCode=0600\n");
    section = kSection600;
    const uint16_t frame[4] = {30, 30, 36, 33};  // 0.2 x 0.1 inches
    const char* frameKey = "30  30  36  33  ";
    // Native 1000 dpi: scanned at 600, doubled and thinned to 1000.
    const Image native = Doubled(Scanned(keys, kGrey, 600, frame, 600), PixelKind::kGrey,
                                 *resample::LineDoublingFor(1000, 100, false, 600));
    ASSERT_TRUE(DialogScan(Settings("1013", "1000", frameKey), TWSX_NATIVE));
    const Dib dib = NativeImage();
    EXPECT_TRUE(SamePixels(native, FromBitmapRows(dib.rows.data(), native.lines, native.lineBytes, false)));

    // Memory 1000 dpi: scanned at 500 and enlarged by 2, not doubled.
    const Image half = Enlarged(Scanned(keys, kGrey, 500, frame, 600), PixelKind::kGrey, 2);
    ASSERT_TRUE(DialogScan(Settings("1013", "1000", frameKey), TWSX_MEMORY));
    EXPECT_TRUE(SamePixels(half, MemoryImage().rows));

    // Memory 1800 dpi: scanned at 600, doubled to 900, enlarged by 2.
    const Image both = Enlarged(Doubled(Scanned(keys, kGrey, 600, frame, 600), PixelKind::kGrey,
                                        *resample::LineDoublingFor(1800, 100, true, 600)),
                                PixelKind::kGrey, 2);
    ASSERT_TRUE(DialogScan(Settings("1013", "1800", frameKey), TWSX_MEMORY));
    EXPECT_EQ(ImageInfo().ImageWidth, static_cast<TW_INT32>(both.pixels));
    EXPECT_TRUE(SamePixels(both, MemoryImage().rows));
    EXPECT_TRUE(TakeMessages().empty());
}

}  // namespace
