#include "engine/preview_file.h"

#include <gtest/gtest.h>

#include <vector>

using preview::PreviewBitmap;
using preview::ReadPreviewHeader;

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A bitmap file of `width` x `height` 24-bit pixels, written by hand.
std::vector<uint8_t> File(uint32_t width, uint32_t height, size_t pixelBytes) {
    std::vector<uint8_t> b(54 + pixelBytes, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, width);
    Put32(b, 22, height);
    b[26] = 1;
    b[28] = 24;
    return b;
}

}  // namespace

TEST(PreviewFile, ReadsTheBitmapThePrescanWrites) {
    const std::vector<uint8_t> file = File(351, 510, 1056 * 510);
    PreviewBitmap bitmap;
    ASSERT_TRUE(ReadPreviewHeader(file.data(), file.size(), bitmap));
    EXPECT_EQ(bitmap.width, 351u);
    EXPECT_EQ(bitmap.height, 510u);
    EXPECT_EQ(bitmap.rowBytes, 1056u);
    EXPECT_EQ(bitmap.pixelOffset, 54u);
}

TEST(PreviewFile, RefusesWhatIsNotSuchABitmapOrIsCutShort) {
    PreviewBitmap bitmap;
    std::vector<uint8_t> file = File(351, 510, 1056 * 510 - 1);  // one byte short
    EXPECT_FALSE(ReadPreviewHeader(file.data(), file.size(), bitmap));
    file = File(2, 2, 16);
    EXPECT_TRUE(ReadPreviewHeader(file.data(), file.size(), bitmap));
    EXPECT_FALSE(ReadPreviewHeader(file.data(), 53, bitmap));
    for (auto [at, value] : {std::pair<size_t, uint32_t>{28, 8}, {30, 1}, {22, 0xFFFFFFFE}, {18, 0}, {10, 70},
                             {18, 0x40000000}, {14, 12}}) {
        std::vector<uint8_t> bad = File(2, 2, 16);
        if (at == 28) bad[28] = static_cast<uint8_t>(value);
        else Put32(bad, at, value);
        EXPECT_FALSE(ReadPreviewHeader(bad.data(), bad.size(), bitmap)) << at;
    }
    EXPECT_FALSE(ReadPreviewHeader(nullptr, 0, bitmap));
}

TEST(PreviewFile, TakesSidesUpTo4096PixelsOnly) {
    PreviewBitmap bitmap;
    std::vector<uint8_t> file = File(4096, 1, 4096 * 3);
    EXPECT_TRUE(ReadPreviewHeader(file.data(), file.size(), bitmap));
    file = File(4097, 1, 4100 * 3);
    EXPECT_FALSE(ReadPreviewHeader(file.data(), file.size(), bitmap));
    file = File(1, 4096, 4 * 4096);
    EXPECT_TRUE(ReadPreviewHeader(file.data(), file.size(), bitmap));
    file = File(1, 4097, 4 * 4097);
    EXPECT_FALSE(ReadPreviewHeader(file.data(), file.size(), bitmap));
    // The data offset is honoured: pixels after a larger header still have to fit.
    file = File(2, 2, 16 + 10);
    Put32(file, 10, 64);
    ASSERT_TRUE(ReadPreviewHeader(file.data(), file.size(), bitmap));
    EXPECT_EQ(bitmap.pixelOffset, 64u);
    Put32(file, 10, 65);
    EXPECT_FALSE(ReadPreviewHeader(file.data(), file.size(), bitmap));
}
