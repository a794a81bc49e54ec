#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "imaging/convolution.h"
#include "imaging/decimation.h"
#include "settings/scan_settings.h"

using namespace filters;

namespace {

constexpr Kernel kAllKernels[] = {Kernel::kNewspaper, Kernel::kMagazine, Kernel::kArtPrint, Kernel::kUnsharpMask};

// An image of `lines` lines of `pixels` pixels of `channels` bytes.
struct Image {
    uint32_t pixels;
    uint32_t lines;
    uint32_t channels;
    std::vector<uint8_t> bytes;

    uint32_t LineBytes() const { return pixels * channels; }
    // Sample with the edge rule: outside lines and pixels repeat the nearest.
    int At(int x, int line, uint32_t c) const {
        x = std::clamp(x, 0, int(pixels) - 1);
        line = std::clamp(line, 0, int(lines) - 1);
        return bytes[size_t(line) * LineBytes() + size_t(x) * channels + c];
    }
};

Image RandomImage(uint32_t pixels, uint32_t lines, uint32_t channels, unsigned seed) {
    Image image{pixels, lines, channels, std::vector<uint8_t>(size_t{pixels} * lines * channels)};
    std::mt19937 random(seed);
    for (uint8_t& b : image.bytes) b = static_cast<uint8_t>(random());
    return image;
}

uint16_t BitsOf(const Image& image) { return static_cast<uint16_t>(image.channels * 8); }

// The whole-image convolution computed directly.
Image Reference(const Image& in, Kernel kernel) {
    const KernelWeights w = WeightsOf(kernel);
    Image out = in;
    for (int y = 0; y < int(in.lines); ++y)
        for (int x = 0; x < int(in.pixels); ++x)
            for (uint32_t c = 0; c < in.channels; ++c) {
                const int corners = in.At(x - 1, y - 1, c) + in.At(x + 1, y - 1, c) + in.At(x - 1, y + 1, c) +
                                    in.At(x + 1, y + 1, c);
                const int edges = in.At(x, y - 1, c) + in.At(x, y + 1, c) + in.At(x - 1, y, c) + in.At(x + 1, y, c);
                const int sum = w.corner * corners + w.edge * edges + w.centre * in.At(x, y, c);
                out.bytes[size_t(y) * in.LineBytes() + size_t(x) * in.channels + c] =
                    static_cast<uint8_t>(std::clamp(sum / w.divisor, 0, 255));
            }
    return out;
}

// Runs Convolve3x3 over the image cut into blocks of the given sizes (used in
// turn) and collects what it hands back, then the finished last line.
std::vector<uint8_t> ConvolveInBlocks(const Image& in, Kernel kernel, const std::vector<size_t>& blockSizes) {
    ConvolutionLines lines;
    EXPECT_TRUE(StartConvolution(lines, in.pixels, BitsOf(in)));
    std::vector<uint8_t> out;
    size_t next = 0;
    for (size_t b = 0; next < in.lines; ++b) {
        const size_t count = std::min(blockSizes[b % blockSizes.size()], size_t{in.lines} - next);
        std::vector<uint8_t> block(in.bytes.begin() + next * in.LineBytes(),
                                   in.bytes.begin() + (next + count) * in.LineBytes());
        const size_t finished = Convolve3x3(lines, kernel, block.data(), count);
        EXPECT_EQ(finished, next == 0 ? count - 1 : count);
        out.insert(out.end(), block.begin(), block.begin() + finished * in.LineBytes());
        next += count;
    }
    std::vector<uint8_t> last(in.LineBytes());
    EXPECT_TRUE(FinishConvolution(lines, kernel, last.data()));
    EXPECT_FALSE(FinishConvolution(lines, kernel, last.data()));
    out.insert(out.end(), last.begin(), last.end());
    return out;
}

std::vector<uint32_t> KeptIndices(const std::vector<uint8_t>& mask) {
    std::vector<uint32_t> kept;
    for (uint32_t i = 0; i < mask.size(); ++i)
        if (mask[i]) kept.push_back(i);
    return kept;
}

}  // namespace

TEST(Convolution, UniformImageUnchangedByEveryKernel) {
    for (uint32_t channels : {1u, 3u})
        for (int level : {0, 1, 100, 254, 255}) {
            Image image{5, 4, channels, std::vector<uint8_t>(5 * 4 * channels, static_cast<uint8_t>(level))};
            for (Kernel kernel : kAllKernels)
                EXPECT_EQ(ConvolveInBlocks(image, kernel, {2}), image.bytes) << int(kernel) << " level " << level;
        }
}

TEST(Convolution, BlocksOfAnySizeGiveTheWholeImageResult) {
    for (uint32_t channels : {1u, 3u})
        for (uint32_t pixels : {1u, 2u, 17u}) {
            const Image image = RandomImage(pixels, 23, channels, pixels * channels);
            for (Kernel kernel : kAllKernels) {
                const std::vector<uint8_t> expected = Reference(image, kernel).bytes;
                EXPECT_EQ(ConvolveInBlocks(image, kernel, {23}), expected);
                EXPECT_EQ(ConvolveInBlocks(image, kernel, {1}), expected);
                EXPECT_EQ(ConvolveInBlocks(image, kernel, {5, 1, 3, 2, 8}), expected);
            }
        }
}

TEST(Convolution, TwoBufferSetsRunOnTheSameBlocks) {
    const Image image = RandomImage(9, 12, 3, 4);
    ConvolutionLines unsharp, descreen;
    ASSERT_TRUE(StartConvolution(unsharp, 9, 24));
    ASSERT_TRUE(StartConvolution(descreen, 9, 24));
    std::vector<uint8_t> out;
    const size_t lineBytes = image.LineBytes();
    for (size_t first = 0; first < image.lines; first += 4) {
        std::vector<uint8_t> block(image.bytes.begin() + first * lineBytes,
                                   image.bytes.begin() + (first + 4) * lineBytes);
        size_t lines = Convolve3x3(unsharp, Kernel::kUnsharpMask, block.data(), 4);
        lines = Convolve3x3(descreen, Kernel::kMagazine, block.data(), lines);
        out.insert(out.end(), block.begin(), block.begin() + lines * lineBytes);
    }
    std::vector<uint8_t> tail(lineBytes);
    ASSERT_TRUE(FinishConvolution(unsharp, Kernel::kUnsharpMask, tail.data()));
    ASSERT_EQ(Convolve3x3(descreen, Kernel::kMagazine, tail.data(), 1), 1u);
    out.insert(out.end(), tail.begin(), tail.end());
    ASSERT_TRUE(FinishConvolution(descreen, Kernel::kMagazine, tail.data()));
    out.insert(out.end(), tail.begin(), tail.end());

    EXPECT_EQ(out, Reference(Reference(image, Kernel::kUnsharpMask), Kernel::kMagazine).bytes);
}

TEST(Convolution, LineArtPassesUnchanged) {
    ConvolutionLines lines;
    ASSERT_TRUE(StartConvolution(lines, 20, 1));
    std::vector<uint8_t> block = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    const std::vector<uint8_t> original = block;
    EXPECT_EQ(Convolve3x3(lines, Kernel::kNewspaper, block.data(), 2), 2u);
    EXPECT_EQ(block, original);
    EXPECT_FALSE(FinishConvolution(lines, Kernel::kNewspaper, block.data()));
}

TEST(Convolution, DescreenValuesChooseTheirKernels) {
    EXPECT_EQ(DescreenKernel(kDescreenNewspaper), Kernel::kNewspaper);
    EXPECT_EQ(DescreenKernel(kDescreenMagazine), Kernel::kMagazine);
    EXPECT_EQ(DescreenKernel(kDescreenArtPrint), Kernel::kArtPrint);
    EXPECT_FALSE(DescreenKernel(kDescreenNone));
    EXPECT_FALSE(DescreenKernel(1021));
}

TEST(Decimation, MasksKeepAboutTOfEvery300) {
    const DecimationMasks half = BuildDecimationMasks(150, 100, 10, 7);
    EXPECT_EQ(KeptIndices(half.columns), (std::vector<uint32_t>{0, 1, 3, 5, 7, 9}));
    EXPECT_EQ(half.keptColumns, 6u);
    EXPECT_EQ(KeptIndices(half.lines), (std::vector<uint32_t>{0, 1, 3, 5}));
    EXPECT_EQ(half.keptLines, 4u);

    const DecimationMasks all = BuildDecimationMasks(300, 100, 10, 4);
    EXPECT_EQ(all.keptColumns, 10u);
    EXPECT_EQ(all.keptLines, 4u);

    // 200 dpi at 50 %: t = 100.
    const DecimationMasks third = BuildDecimationMasks(200, 50, 12, 12);
    EXPECT_EQ(KeptIndices(third.columns), (std::vector<uint32_t>{0, 2, 5, 8, 11}));
    EXPECT_EQ(KeptIndices(third.lines), KeptIndices(third.columns));
}

TEST(Decimation, KeptSamplesAreBoxMeansWrittenCompactly) {
    for (uint32_t channels : {1u, 3u}) {
        const Image image = RandomImage(11, 10, channels, 40 + channels);
        BoxDecimation d;
        ASSERT_TRUE(StartBoxDecimation(d, 150, 100, 11, 10, BitsOf(image)));
        EXPECT_EQ(d.outputLineBytes, 6u * channels);  // columns 0, 1, 3, 5, 7, 9 of 11
        EXPECT_EQ(d.outputLines, 6u);

        std::vector<uint8_t> out;
        const size_t lineBytes = image.LineBytes();
        for (size_t first = 0; first < image.lines; first += 3) {
            const size_t count = std::min<size_t>(3, image.lines - first);
            std::vector<uint8_t> block(image.bytes.begin() + first * lineBytes,
                                       image.bytes.begin() + (first + count) * lineBytes);
            const size_t written = BoxDecimate(d, block.data(), count);
            out.insert(out.end(), block.begin(), block.begin() + written);
        }
        std::vector<uint8_t> last(lineBytes);
        out.insert(out.end(), last.begin(), last.begin() + FinishBoxDecimation(d, last.data()));
        ASSERT_EQ(out.size(), size_t{d.outputLineBytes} * d.outputLines);

        std::vector<uint8_t> expected;
        for (uint32_t y : KeptIndices(d.masks.lines))
            for (uint32_t x : KeptIndices(d.masks.columns))
                for (uint32_t c = 0; c < channels; ++c) {
                    int sum = 0;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) sum += image.At(int(x) + dx, int(y) + dy, c);
                    expected.push_back(static_cast<uint8_t>(sum / 9));
                }
        EXPECT_EQ(out, expected);
    }
}

TEST(Decimation, LinesBeyondTheScanAreDroppedAndLineArtPasses) {
    BoxDecimation d;
    ASSERT_TRUE(StartBoxDecimation(d, 300, 100, 4, 2, 8));
    std::vector<uint8_t> block(4 * 4, 50);
    EXPECT_EQ(BoxDecimate(d, block.data(), 4), 8u);  // lines 0 and 1 of a two-line scan
    EXPECT_EQ(FinishBoxDecimation(d, block.data()), 0u);

    BoxDecimation lineArt;
    ASSERT_TRUE(StartBoxDecimation(lineArt, 100, 100, 20, 5, 1));
    EXPECT_EQ(lineArt.outputLineBytes, 3u);
    EXPECT_EQ(lineArt.outputLines, 5u);
    std::vector<uint8_t> bits = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(BoxDecimate(lineArt, bits.data(), 2), 6u);
    EXPECT_EQ(bits, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
}
