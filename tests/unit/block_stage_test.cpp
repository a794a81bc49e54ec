#include "engine/block_stage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imaging/block_filters.h"

namespace {

using processing::BlockResult;
using processing::ProcessBlock;
using processing::ProcessingPlan;
using Bytes = std::vector<uint8_t>;

// A plan for stored lines of `pixels` pixels of `kind`, enlarged by `factor`.
ProcessingPlan Plan(resample::PixelKind kind, uint32_t pixels, uint32_t lines, uint32_t factor = 1) {
    ProcessingPlan plan;
    plan.kind = kind;
    plan.bitsPerPixel = kind == resample::PixelKind::kColour ? 24 : kind == resample::PixelKind::kGrey ? 8 : 1;
    plan.storedPixels = pixels;
    plan.storedLineBytes = static_cast<uint32_t>(resample::RowBytes(kind, pixels));
    plan.storedLines = lines;
    plan.enlargement = factor;
    plan.pixels = pixels * factor;
    plan.rows = lines * factor;
    plan.hostRowBytes = plan.rowBytes = plan.storedLineBytes * factor;
    return plan;
}

Bytes Ramp(size_t n) {
    Bytes bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    return bytes;
}

TEST(BlockSize, RowsThatFitTheHostBufferOverTheEnlargement) {
    ProcessingPlan grey = Plan(resample::PixelKind::kGrey, 1200, 100);
    EXPECT_EQ(processing::SourceLinesPerBlock(grey, 65536), 54);
    EXPECT_EQ(processing::SourceLinesPerBlock(grey, 1199), 0);
    grey = Plan(resample::PixelKind::kGrey, 600, 100, 4);  // rows of 2400 bytes, 27 fit
    EXPECT_EQ(processing::SourceLinesPerBlock(grey, 65536), 6);
    EXPECT_EQ(processing::SourceLinesPerBlock(grey, 4 * 2400 - 1), 0);
    EXPECT_EQ(processing::FileLinesPerBlock(Plan(resample::PixelKind::kGrey, 70000, 10)), 1u);

    // Line art: two rows fewer.
    EXPECT_EQ(processing::SourceLinesPerBlock(Plan(resample::PixelKind::kLineArt, 800, 10), 1000), 8);

    // CMYK: what the host buffer takes of the 4/3 rows, however wide.
    ProcessingPlan cmyk = Plan(resample::PixelKind::kColour, 400, 100);
    cmyk.cmyk = true;
    cmyk.hostRowBytes = 1600;
    EXPECT_EQ(processing::SourceLinesPerBlock(cmyk, 65536), 40);
    EXPECT_EQ(processing::SourceLinesPerBlock(cmyk, 1000000), 625);
    EXPECT_EQ(processing::SourceLinesPerBlock(cmyk, 16000), 10);
    ProcessingPlan wide = Plan(resample::PixelKind::kColour, 20000, 10);  // 60000 RGB bytes a row
    wide.cmyk = true;
    wide.hostRowBytes = 80000;
    EXPECT_EQ(processing::SourceLinesPerBlock(wide, 160000), 2);
}

TEST(ProcessBlock, EnlargesIntoTheOutputAndCarriesAcrossBlocks) {
    const ProcessingPlan plan = Plan(resample::PixelKind::kGrey, 5, 4, 2);
    const Bytes image = Ramp(20);
    Bytes whole(80), expected(80);
    resample::CarryRow fresh;
    ASSERT_EQ(resample::EnlargeRows(plan.kind, 2, {image.data(), 5, 4}, expected.data(), expected.size(), fresh),
              resample::EnlargeStatus::kDone);
    resample::CarryRow carry;
    Bytes first(image.begin(), image.begin() + 10), second(image.begin() + 10, image.end());
    EXPECT_EQ(ProcessBlock(plan, {}, first.data(), 2, whole.data(), 40, carry), BlockResult::kDone);
    EXPECT_EQ(ProcessBlock(plan, {}, second.data(), 2, whole.data() + 40, 40, carry), BlockResult::kDone);
    EXPECT_EQ(whole, expected);
    // The output cannot be the lines themselves when they are enlarged.
    EXPECT_EQ(ProcessBlock(plan, {}, first.data(), 2, first.data(), first.size(), carry), BlockResult::kRefused);
}

TEST(ProcessBlock, ReadBackFiltersAndProfileOnlyThroughTheWorkFile) {
    ProcessingPlan plan = Plan(resample::PixelKind::kGrey, 6, 3);
    plan.filterMode = 1;  // Invert
    Bytes lines = Ramp(18), out(18);
    resample::CarryRow carry;
    ASSERT_EQ(ProcessBlock(plan, {}, lines.data(), 3, out.data(), out.size(), carry), BlockResult::kDone);
    EXPECT_EQ(out, Ramp(18)) << "a scan not post-processed is not filtered";

    plan.throughWorkFile = true;
    plan.filterMode = 7;  // Emboss, which sees the block's lines
    Bytes expected = Ramp(18);
    filters::FilterBlock(expected.data(), 3, {6, 6, 8}, 7);
    ASSERT_EQ(ProcessBlock(plan, {}, lines.data(), 3, lines.data(), lines.size(), carry), BlockResult::kDone);
    EXPECT_EQ(lines, expected);

    // Output matching: a matrix profile that swaps red and blue, on colour rows red first.
    ProcessingPlan colour = Plan(resample::PixelKind::kColour, 2, 1);
    colour.throughWorkFile = colour.outputMatching = true;
    Bytes file(colour::kMatrixProfileSize, 0);
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v) file[256 * c + v] = static_cast<uint8_t>(v);
    const float matrix[3][4] = {{0, 0, 0, 1}, {0, 0, 1, 0}, {0, 1, 0, 0}};
    std::memcpy(file.data() + 768, matrix, sizeof matrix);
    colour::ColourProfile profile;
    ASSERT_TRUE(colour::ParseColourProfile(file.data(), file.size(), profile));
    Bytes pixels = {10, 20, 30, 40, 50, 60};
    ASSERT_EQ(ProcessBlock(colour, {&profile}, pixels.data(), 1, pixels.data(), pixels.size(), carry),
              BlockResult::kDone);
    EXPECT_EQ(pixels, (Bytes{30, 20, 10, 60, 50, 40}));
}

TEST(ProcessBlock, ConvertsToCmykAfterTheEnlargement) {
    // A table whose nodes hold the levels of their position: C = red node, M = green, Y = blue, K = 0.
    Bytes table(colour::kCmykTableSize);
    for (int r = 0; r < 17; ++r)
        for (int g = 0; g < 17; ++g)
            for (int b = 0; b < 17; ++b) {
                uint8_t* node = table.data() + 4 * (r * 289 + g * 17 + b);
                node[0] = static_cast<uint8_t>(r * 15);
                node[1] = static_cast<uint8_t>(g * 15);
                node[2] = static_cast<uint8_t>(b * 15);
                node[3] = 0;
            }
    colour::CmykTable cmyk;
    ASSERT_TRUE(colour::ParseCmykTable(table.data(), table.size(), cmyk));
    ProcessingPlan plan = Plan(resample::PixelKind::kColour, 1, 1, 2);
    plan.cmyk = true;
    plan.hostRowBytes = 8;
    Bytes lines = {16, 32, 48};
    Bytes out(16, 0xEE);
    resample::CarryRow carry;
    EXPECT_EQ(ProcessBlock(plan, {nullptr, &cmyk, true}, lines.data(), 1, out.data(), out.size(), carry),
              BlockResult::kDone);
    // One pixel enlarged to 2 x 2 copies, each as ink amounts 15, 30, 45, 0.
    for (int p = 0; p < 4; ++p) EXPECT_EQ(Bytes(out.begin() + 4 * p, out.begin() + 4 * p + 4), (Bytes{15, 30, 45, 0}));
    EXPECT_EQ(ProcessBlock(plan, {nullptr, &cmyk, false}, lines.data(), 1, out.data(), out.size(), carry),
              BlockResult::kDone);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), (Bytes{240, 225, 210, 255}));
    // Without a table the block is refused.
    EXPECT_EQ(ProcessBlock(plan, {}, lines.data(), 1, out.data(), out.size(), carry), BlockResult::kRefused);
}

}  // namespace
