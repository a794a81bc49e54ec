#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "device/request_blocks.h"
#include "engine/file_headers.h"
#include "settings/scan_settings.h"

using namespace fileheaders;
using blocks::GetU16;
using blocks::GetU32;

namespace {

ImageGeometry Geometry(uint16_t mode, int32_t pixels, int32_t lines, uint32_t bytesPerLine, uint32_t bytesPerRow,
                       uint16_t colourKind = kColour24) {
    return {mode, colourKind, pixels, lines, bytesPerLine, bytesPerRow, 300};
}

struct Entry {
    uint16_t tag, type;
    uint32_t count, value;
};

Entry EntryAt(const std::vector<uint8_t>& h, int index) {
    const size_t at = 10 + 12 * static_cast<size_t>(index);
    return {GetU16(h.data(), at), GetU16(h.data(), at + 2), GetU32(h.data(), at + 4), GetU32(h.data(), at + 8)};
}

}  // namespace

TEST(TiffHeader, ColourLayout) {
    std::vector<uint8_t> h;
    ASSERT_TRUE(BuildTiffHeader(Geometry(kModeColour, 100, 50, 300, 300), h));
    ASSERT_EQ(h.size(), 146u);
    EXPECT_EQ(h[0], 'I');
    EXPECT_EQ(h[1], 'I');
    EXPECT_EQ(GetU16(h.data(), 2), 42);
    EXPECT_EQ(GetU32(h.data(), 4), 8u);
    EXPECT_EQ(GetU16(h.data(), 8), 9);
    const std::array<uint16_t, 9> tags = {256, 257, 258, 262, 273, 277, 279, 282, 283};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(EntryAt(h, i).tag, tags[i]);
    EXPECT_EQ(EntryAt(h, 0).value, 100u);    // ImageWidth
    EXPECT_EQ(EntryAt(h, 1).value, 50u);     // ImageLength
    EXPECT_EQ(EntryAt(h, 2).count, 3u);      // BitsPerSample...
    EXPECT_EQ(EntryAt(h, 2).value, 124u);    // ...at 124
    EXPECT_EQ(EntryAt(h, 3).value, 2u);      // RGB
    EXPECT_EQ(EntryAt(h, 4).value, 146u);    // StripOffsets
    EXPECT_EQ(EntryAt(h, 5).value, 3u);      // SamplesPerPixel
    EXPECT_EQ(EntryAt(h, 6).value, 15000u);  // StripByteCounts
    EXPECT_EQ(EntryAt(h, 7).type, 5);
    EXPECT_EQ(EntryAt(h, 7).value, 130u);
    EXPECT_EQ(EntryAt(h, 8).value, 138u);
    EXPECT_EQ(GetU32(h.data(), 118), 0u);  // no next directory
    for (size_t i = 124; i < 130; i += 2) EXPECT_EQ(GetU16(h.data(), i), 8);
    EXPECT_EQ(GetU32(h.data(), 130), 300u);
    EXPECT_EQ(GetU32(h.data(), 134), 1u);
    EXPECT_EQ(GetU32(h.data(), 138), 300u);
    EXPECT_EQ(GetU32(h.data(), 142), 1u);
}

TEST(TiffHeader, GreyAndLineArtLayouts) {
    std::vector<uint8_t> h;
    ASSERT_TRUE(BuildTiffHeader(Geometry(kModeLineArt, 104, 7, 13, 16), h));
    ASSERT_EQ(h.size(), 140u);
    EXPECT_EQ(EntryAt(h, 0).value, 104u);
    EXPECT_EQ(EntryAt(h, 2).count, 1u);
    EXPECT_EQ(EntryAt(h, 2).value, 1u);
    EXPECT_EQ(EntryAt(h, 3).value, 1u);  // BlackIsZero
    EXPECT_EQ(EntryAt(h, 4).value, 140u);
    EXPECT_EQ(EntryAt(h, 6).value, 13u * 7);
    EXPECT_EQ(EntryAt(h, 7).value, 124u);
    EXPECT_EQ(EntryAt(h, 8).value, 132u);
    EXPECT_EQ(GetU32(h.data(), 124), 300u);
    EXPECT_EQ(GetU32(h.data(), 132), 300u);

    ASSERT_TRUE(BuildTiffHeader(Geometry(kModeFastGray, 50, 2, 50, 52), h));
    EXPECT_EQ(EntryAt(h, 0).value, 50u);
    EXPECT_EQ(EntryAt(h, 2).value, 8u);
}

TEST(TiffHeader, ColourKindsAndRefusals) {
    std::vector<uint8_t> h;
    ASSERT_TRUE(BuildTiffHeader(Geometry(kModeColour, 100, 1, 600, 600, kColour36), h));
    EXPECT_EQ(EntryAt(h, 0).value, 100u);
    ASSERT_TRUE(BuildTiffHeader(Geometry(kModeColour, 100, 1, 300, 300, kColourCmyk), h));
    EXPECT_EQ(EntryAt(h, 0).value, 100u);
    EXPECT_FALSE(BuildTiffHeader(Geometry(1015, 100, 1, 300, 300), h));
    EXPECT_FALSE(BuildTiffHeader(Geometry(1010, 100, 1, 300, 300), h));
    EXPECT_FALSE(BuildTiffHeader(Geometry(kModeGray, 70000, 70000, 70000, 70000), h));  // strip of 4.9 GB
}

TEST(BmpHeader, GreyFileAndPalette) {
    std::vector<uint8_t> h;
    ASSERT_TRUE(BuildBmpHeader(Geometry(kModeGray, 10, 10, 10, 12), h));
    ASSERT_EQ(h.size(), 1078u);
    EXPECT_EQ(GetU16(h.data(), 0), 0x4D42);
    EXPECT_EQ(GetU32(h.data(), 2), 1198u);   // bfSize
    EXPECT_EQ(GetU32(h.data(), 6), 0u);      // reserved
    EXPECT_EQ(GetU32(h.data(), 10), 1078u);  // bfOffBits
    EXPECT_EQ(GetU32(h.data(), 14), 40u);
    EXPECT_EQ(GetU32(h.data(), 18), 10u);
    EXPECT_EQ(GetU32(h.data(), 22), 10u);
    EXPECT_EQ(GetU16(h.data(), 26), 1);
    EXPECT_EQ(GetU16(h.data(), 28), 8);
    EXPECT_EQ(GetU32(h.data(), 46), 256u);  // biClrUsed
    for (int i = 0; i < 256; ++i) ASSERT_EQ(GetU32(h.data(), 54 + 4 * i), i * 0x010101u);
}

TEST(BmpHeader, LineArtPaletteIsBlackThenWhite) {
    std::vector<uint8_t> h;
    ASSERT_TRUE(BuildBmpHeader(Geometry(kModeLineArt, 20, 3, 3, 4), h));
    ASSERT_EQ(h.size(), 62u);
    EXPECT_EQ(GetU32(h.data(), 2), 62u + 12);
    EXPECT_EQ(GetU16(h.data(), 28), 1);
    EXPECT_EQ(GetU32(h.data(), 46), 2u);
    EXPECT_EQ(GetU32(h.data(), 54), 0x000000u);
    EXPECT_EQ(GetU32(h.data(), 58), 0xFFFFFFu);
}

TEST(BmpHeader, ColourHasNoPaletteAndDibHeaderIsShared) {
    std::vector<uint8_t> bmp, dib;
    const ImageGeometry colour = Geometry(kModeColour, 5, 4, 15, 16);
    ASSERT_TRUE(BuildBmpHeader(colour, bmp));
    ASSERT_TRUE(BuildDibHeader(colour, dib));
    ASSERT_EQ(bmp.size(), 54u);
    EXPECT_EQ(GetU32(bmp.data(), 10), 54u);
    EXPECT_EQ(GetU32(bmp.data(), 2), 54u + 64);
    EXPECT_EQ(GetU16(bmp.data(), 28), 24);
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 14, bmp.end()), dib);
    EXPECT_EQ(PaletteEntries(kModeFastGray), 256);
    EXPECT_EQ(PaletteEntries(1016), -1);
    EXPECT_FALSE(BuildDibHeader(Geometry(1016, 5, 4, 15, 16), dib));
    EXPECT_FALSE(BuildBmpHeader(Geometry(1010, 5, 4, 15, 16), bmp));
}

namespace {

// Runs tiffinfo on a file; returns its exit status and output, or -1 when
// tiffinfo is not installed.
int RunTiffinfo(const std::string& path, std::string& output) {
    if (std::system("command -v tiffinfo >/dev/null 2>&1") != 0) return -1;
    FILE* pipe = popen(("tiffinfo '" + path + "' 2>&1").c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

void CheckWithTiffinfo(const ImageGeometry& image, const std::string& expectedSize) {
    std::vector<uint8_t> file;
    ASSERT_TRUE(BuildTiffHeader(image, file));
    file.resize(file.size() + image.bytesPerLine * image.lines, 0x5A);
    const std::string path = testing::TempDir() + "header_check_" + std::to_string(getpid()) + ".tif";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    std::string output;
    const int status = RunTiffinfo(path, output);
    std::remove(path.c_str());
    if (status < 0) GTEST_SKIP() << "tiffinfo is not installed";
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find(expectedSize), std::string::npos) << output;
    EXPECT_EQ(output.find("rror"), std::string::npos) << output;
}

}  // namespace

TEST(TiffHeader, ReadableByLibtiff) {
    CheckWithTiffinfo(Geometry(kModeColour, 6, 4, 18, 20), "Image Width: 6 Image Length: 4");
    CheckWithTiffinfo(Geometry(kModeGray, 7, 3, 7, 8), "Image Width: 7 Image Length: 3");
    CheckWithTiffinfo(Geometry(kModeLineArt, 16, 5, 2, 4), "Image Width: 16 Image Length: 5");
}
