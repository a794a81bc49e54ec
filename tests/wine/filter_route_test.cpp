// Filters and descreening through both routes, scanned with the dialog: the
// native transfer filters the finished bitmap; memory and file transfers go
// through the work file, with UnSharp Mask, the descreen kernels and the
// reduction while it is written and the other filters block by block while
// it is read back. Each image is compared with the filter functions applied
// to the simulated scanner's pixels.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/block_stage.h"
#include "engine/read_machinery.h"
#include "imaging/block_filters.h"
#include "imaging/convolution.h"
#include "imaging/decimation.h"
#include "imaging/dib_filters.h"
#include "tests/wine/settings_scan.h"

namespace {

using namespace dstest;

DialogSettings Settings(const char* mode, int filter, const char* descreen = "1017", const char* dpi = "100") {
    return {{"ScanMode", mode},
            {"ScanRes", dpi},
            {"Frame", kSmallFrame},
            {"FilterMode", std::to_string(filter)},
            {"DeScreen", descreen}};
}

// The scanner's image for a dialog scan of the small frame.
Image Scanned(const std::string& keys, uint16_t mode, uint16_t dpi) {
    const uint8_t type =
        mode == kModeColour ? sim::kColour : mode == kModeGray ? sim::kGreyColourShaded : sim::kLineArt;
    return DialogScanImage(keys, {type, mode, dpi, {30, 30, 90, 60}}, DefaultToneSettings());
}

// A whole-image 3 x 3 convolution, as the work file receives it.
void Convolve(Image& image, filters::Kernel kernel, uint16_t bitsPerPixel) {
    filters::ConvolutionLines lines;
    ASSERT_TRUE(filters::StartConvolution(lines, image.pixels, bitsPerPixel));
    const size_t done = filters::Convolve3x3(lines, kernel, image.bytes.data(), image.lines);
    ASSERT_TRUE(filters::FinishConvolution(lines, kernel, image.bytes.data() + done * image.lineBytes));
}

// The descreen reduction of a whole image scanned at 300 dpi for `dpi`.
Image Reduce(const Image& image, uint32_t dpi, uint16_t bitsPerPixel) {
    filters::BoxDecimation reduction;
    EXPECT_TRUE(filters::StartBoxDecimation(reduction, dpi, 100, image.pixels, image.lines, bitsPerPixel));
    Image out;
    out.pixels = static_cast<uint32_t>(reduction.keptPixels.size());
    out.lines = reduction.outputLines;
    out.lineBytes = reduction.outputLineBytes;
    std::vector<uint8_t> work = image.bytes;
    work.resize(work.size() + image.lineBytes);
    size_t bytes = filters::BoxDecimate(reduction, work.data(), image.lines);
    bytes += filters::FinishBoxDecimation(reduction, work.data() + bytes);
    work.resize(bytes);
    out.bytes = work;
    return out;
}

// The read-back filter over blocks of `linesPerBlock`.
void FilterBlocks(Image& image, uint32_t linesPerBlock, uint16_t mode, uint16_t bitsPerPixel) {
    for (uint32_t first = 0; first < image.lines; first += linesPerBlock) {
        const uint32_t count = std::min(linesPerBlock, image.lines - first);
        ASSERT_TRUE(filters::FilterBlock(image.bytes.data() + size_t{first} * image.lineBytes, count,
                                         {image.pixels, image.lineBytes, bitsPerPixel}, mode));
    }
}

using FilterRouteTest = SettingsScanTest;

TEST_F(FilterRouteTest, NativeBitmapTakesDescreeningAndEachFilter) {
    struct Case {
        const char* mode;
        uint16_t scanMode, bits;
    } modes[] = {{"1013", kModeGray, 8}, {"1014", kModeColour, 24}, {"1011", kModeLineArt, 1}};
    for (const Case& m : modes) {
        const Image scanned = Scanned(keys, m.scanMode, 100);
        for (int filter = 0; filter <= 8; ++filter) {
            const bool descreen = filter == 0;
            SCOPED_TRACE(std::string(m.mode) + " filter " + std::to_string(filter));
            if (m.scanMode == kModeLineArt && filter > 3) break;
            ASSERT_TRUE(DialogScan(Settings(m.mode, filter, descreen ? "1019" : "1017"), TWSX_NATIVE));
            // Descreening scans at 300 dpi at least.
            const Image image = descreen ? Scanned(keys, m.scanMode, 300) : scanned;
            std::vector<uint8_t> expected = ToBitmapRows(image, m.scanMode == kModeColour);
            const uint32_t width = m.scanMode == kModeLineArt ? image.lineBytes * 8 : image.pixels;
            const filters::DibImage dib{expected.data(), width, image.lines, m.bits, expected.size()};
            const auto result = descreen ? filters::DescreenDib(dib, {}) : filters::FilterDib(dib, filter, {});
            ASSERT_EQ(result, filters::FilterResult::kDone);

            const Dib received = NativeImage();
            EXPECT_EQ(received.width, static_cast<int32_t>(width));
            EXPECT_EQ(received.height, static_cast<int32_t>(image.lines));
            EXPECT_TRUE(received.rows == expected);
        }
    }
    EXPECT_TRUE(TakeMessages().empty());
}

// Presses Escape when the source opens a dialog window for the `nth` time:
// the progress window of the reads is the first, that of the filter the
// second.
struct EscapeAtDialog {
    static inline HHOOK hook = nullptr;
    static inline int seen = 0, nth = 0;
    static inline HWND target = nullptr;

    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
            const bool dialog = IS_INTRESOURCE(create->lpszClass) &&
                                LOWORD(reinterpret_cast<uintptr_t>(create->lpszClass)) == 32770;
            if (dialog && ++seen == nth) {
                PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
                // Long enough for the pump between rows to look at the queue.
                Sleep(2 * kPumpIntervalMs);
            }
        }
        return CallNextHookEx(hook, code, wParam, lParam);
    }

    EscapeAtDialog(HWND window, int n) {
        seen = 0;
        nth = n;
        target = window;
        hook = SetWindowsHookExW(WH_CBT, Watch, nullptr, GetCurrentThreadId());
    }
    ~EscapeAtDialog() { UnhookWindowsHookEx(hook); }
};

TEST_F(FilterRouteTest, EscapeDuringANativeFilterCancels) {
    ASSERT_TRUE(DialogScan(Settings("1013", 4), TWSX_NATIVE));
    TW_HANDLE handle = 0xDEADBEEF;
    {
        EscapeAtDialog escape(host.parent, 2);
        EXPECT_EQ(host.Ds(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_CANCEL);
        EXPECT_EQ(EscapeAtDialog::seen, 2);
    }
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(EndTransfer(), TWRC_SUCCESS);
    // The next scan is whole.
    ASSERT_TRUE(DialogScan(Settings("1013", 0), TWSX_NATIVE));
    EXPECT_EQ(NativeImage().height, 100);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(FilterRouteTest, MemoryBlocksAreFilteredAsTheyAreReadBack) {
    // 8000-byte blocks of 200-byte grey rows: 40 lines each.
    const Image scanned = Scanned(keys, kModeGray, 100);
    for (int filter = 1; filter <= 8; ++filter) {
        SCOPED_TRACE(filter);
        Image expected = scanned;
        if (filter == 8)
            Convolve(expected, filters::Kernel::kUnsharpMask, 8);
        else
            FilterBlocks(expected, 40, static_cast<uint16_t>(filter), 8);
        ASSERT_TRUE(DialogScan(Settings("1013", filter), TWSX_MEMORY));
        const MemoryBlocks taken = MemoryImage(8000);
        ASSERT_EQ(taken.records.size(), 3u);
        EXPECT_EQ(taken.records[0].Rows, 40u);
        EXPECT_EQ(taken.records[2].YOffset, 80u);
        EXPECT_TRUE(SamePixels(expected, taken.rows));
    }
    // Colour, each channel on its own.
    Image colour = Scanned(keys, kModeColour, 100);
    FilterBlocks(colour, 65536 / 600, 5, 24);
    ASSERT_TRUE(DialogScan(Settings("1014", 5), TWSX_MEMORY));
    EXPECT_TRUE(SamePixels(colour, MemoryImage().rows));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(FilterRouteTest, InvertAndFlipGiveTheNegativeAndTheMirrorOfTheScan) {
    const Image scanned = Scanned(keys, kModeGray, 100);
    Image negative = scanned, mirror = scanned;
    for (uint8_t& value : negative.bytes) value = static_cast<uint8_t>(255 - value);
    for (uint32_t line = 0; line < mirror.lines; ++line) {
        uint8_t* row = mirror.bytes.data() + size_t{line} * mirror.lineBytes;
        std::reverse(row, row + mirror.pixels);
    }
    ASSERT_TRUE(DialogScan(Settings("1013", 1), TWSX_MEMORY));
    EXPECT_TRUE(SamePixels(negative, MemoryImage(8000).rows));
    ASSERT_TRUE(DialogScan(Settings("1013", 2), TWSX_MEMORY));
    EXPECT_TRUE(SamePixels(mirror, MemoryImage(8000).rows));
}

TEST_F(FilterRouteTest, FileTransfersReadBackIntoTheHostFile) {
    // Blocks as a 64 KB memory buffer takes them: 327 grey lines of 200 bytes,
    // so Emboss sees the whole image as one block.
    Image expected = Scanned(keys, kModeGray, 100);
    FilterBlocks(expected, 327, 7, 8);
    const std::string tiff = TempPath("emboss.tif"), bmp = TempPath("emboss.bmp");
    ASSERT_TRUE(DialogScan(Settings("1013", 7), TWSX_FILE, tiff));
    const std::vector<uint8_t> tiffBytes = FileImage(tiff);
    ASSERT_GT(tiffBytes.size(), 140u);
    EXPECT_TRUE(SamePixels(expected, std::vector<uint8_t>(tiffBytes.begin() + 140, tiffBytes.end())));

    Image colour = Scanned(keys, kModeColour, 100);
    Convolve(colour, filters::Kernel::kUnsharpMask, 24);
    ASSERT_TRUE(DialogScan(Settings("1014", 8), TWSX_FILE, bmp, TWFF_BMP));
    const std::vector<uint8_t> bmpBytes = FileImage(bmp);
    ASSERT_GT(bmpBytes.size(), 54u);
    EXPECT_EQ(blocks::GetU32(bmpBytes.data(), 2), bmpBytes.size());
    EXPECT_TRUE(SamePixels(colour, FromBitmapRows(bmpBytes.data() + 54, colour.lines, colour.lineBytes, true)));
    // The grey work file is gone; the host's files are whole.
    EXPECT_FALSE(FileExists(TempPath("Xfer_G.Tmp")));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(FilterRouteTest, DescreeningBelow300DpiConvolvesAndReduces) {
    const struct {
        const char* descreen;
        filters::Kernel kernel;
    } kinds[] = {{"1018", filters::Kernel::kNewspaper},
                 {"1019", filters::Kernel::kMagazine},
                 {"1020", filters::Kernel::kArtPrint}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.descreen);
        Image at300 = Scanned(keys, kModeGray, 300);
        Convolve(at300, kind.kernel, 8);
        const Image expected = Reduce(at300, 100, 8);
        ASSERT_TRUE(DialogScan(Settings("1013", 0, kind.descreen), TWSX_MEMORY));
        const TW_IMAGEINFO info = ImageInfo();
        EXPECT_EQ(info.ImageWidth, static_cast<TW_INT32>(expected.pixels));
        EXPECT_EQ(info.ImageLength, static_cast<TW_INT32>(expected.lines));
        EXPECT_TRUE(SamePixels(expected, MemoryImage().rows));
    }

    // Colour with UnSharp Mask as well, into a TIFF file: both buffer sets,
    // UnSharp Mask first; the header carries the reduced size.
    Image colour = Scanned(keys, kModeColour, 300);
    Convolve(colour, filters::Kernel::kUnsharpMask, 24);
    Convolve(colour, filters::Kernel::kNewspaper, 24);
    const Image expected = Reduce(colour, 100, 24);
    const std::string path = TempPath("descreened.tif");
    ASSERT_TRUE(DialogScan(Settings("1014", 8, "1018"), TWSX_FILE, path));
    const std::vector<uint8_t> file = FileImage(path);
    ASSERT_GT(file.size(), 146u);
    EXPECT_EQ(blocks::GetU32(file.data(), 18), expected.pixels);  // ImageWidth
    EXPECT_EQ(blocks::GetU32(file.data(), 30), expected.lines);   // ImageLength
    EXPECT_TRUE(SamePixels(expected, std::vector<uint8_t>(file.begin() + 146, file.end())));

    // At 300 dpi the kernel alone; a descreen value the dialog does not know is None.
    Image plain = Scanned(keys, kModeGray, 300);
    Convolve(plain, filters::Kernel::kArtPrint, 8);
    ASSERT_TRUE(DialogScan(Settings("1013", 0, "1020", "300"), TWSX_MEMORY));
    EXPECT_TRUE(SamePixels(plain, MemoryImage().rows));
    ASSERT_TRUE(DialogScan(Settings("1013", 0, "1021"), TWSX_MEMORY));
    EXPECT_TRUE(SamePixels(Scanned(keys, kModeGray, 100), MemoryImage().rows));
    EXPECT_TRUE(TakeMessages().empty());
}

}  // namespace
