#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "imaging/colour_profile.h"
#include "settings/scan_settings.h"
#include "trilinear_reference.h"

using namespace colour;

namespace {

using Bytes = std::vector<uint8_t>;

// Curves: red inverted, green unchanged, blue halved.
void PutCurves(Bytes& bytes) {
    for (int i = 0; i < 256; ++i) {
        bytes[i] = static_cast<uint8_t>(255 - i);
        bytes[256 + i] = static_cast<uint8_t>(i);
        bytes[512 + i] = static_cast<uint8_t>(i / 2);
    }
}

Bytes MatrixProfile(const float rows[3][4], size_t size = kMatrixProfileSize) {
    Bytes bytes(size, 0);
    PutCurves(bytes);
    for (int n = 0; n < 12; ++n) {
        uint32_t bits;
        std::memcpy(&bits, &rows[n / 4][n % 4], 4);
        for (int b = 0; b < 4; ++b) bytes[768 + 4 * n + b] = static_cast<uint8_t>(bits >> (8 * b));
    }
    return bytes;
}

// Grid profile with identity curves whose node (ri, gi, bi) holds
// (15 ri, 15 gi, 15 bi): level L then comes out as trunc(15 L / 16).
Bytes GridProfile(size_t size = kGridProfileSize) {
    Bytes bytes(size, 0);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 256; ++i) bytes[256 * c + i] = static_cast<uint8_t>(i);
    for (int r = 0; r < 17; ++r)
        for (int g = 0; g < 17; ++g)
            for (int b = 0; b < 17; ++b) {
                uint8_t* node = &bytes[768 + 3 * (r * 289 + g * 17 + b)];
                node[0] = static_cast<uint8_t>(15 * r);
                node[1] = static_cast<uint8_t>(15 * g);
                node[2] = static_cast<uint8_t>(15 * b);
            }
    return bytes;
}

const float kPlainRows[3][4] = {{10, 1, 0, 0}, {-100, 0, 0.5f, 0}, {0, 0, 0, 3}};

std::unique_ptr<ColourProfile> Parsed(const Bytes& bytes) {
    auto profile = std::make_unique<ColourProfile>();
    EXPECT_TRUE(ParseColourProfile(bytes.data(), bytes.size(), *profile));
    return profile;
}

std::vector<uint8_t> Apply(const ColourProfile& profile, std::vector<uint8_t> pixels, bool previewOrder = false) {
    EXPECT_TRUE(ApplyColourProfile(profile, 1, static_cast<int>(pixels.size() / 3), pixels.size(), pixels.data(),
                                   pixels.size(), previewOrder));
    return pixels;
}

}  // namespace

TEST(ColourProfile, SizePicksTheFormat) {
    auto profile = std::make_unique<ColourProfile>();
    EXPECT_TRUE(ParseColourProfile(MatrixProfile(kPlainRows, 818).data(), 818, *profile));
    EXPECT_EQ(profile->kind, ProfileKind::kMatrix);
    EXPECT_TRUE(ParseColourProfile(MatrixProfile(kPlainRows).data(), 816, *profile));
    EXPECT_EQ(profile->kind, ProfileKind::kMatrix);

    const Bytes grid = GridProfile(kProfileBufferSize);
    EXPECT_TRUE(ParseColourProfile(grid.data(), kGridProfileSize, *profile));
    EXPECT_EQ(profile->kind, ProfileKind::kGrid);
    EXPECT_TRUE(ParseColourProfile(grid.data(), kProfileBufferSize, *profile));
    EXPECT_EQ(profile->kind, ProfileKind::kGrid);
}

TEST(ColourProfile, FilesShorterThanTheirLayoutOrLongerThanTheBufferAreRefused) {
    auto profile = std::make_unique<ColourProfile>();
    const Bytes grid = GridProfile(kProfileBufferSize + 1);
    // 819 bytes is a grid profile, and a grid needs 15507.
    EXPECT_FALSE(ParseColourProfile(grid.data(), 819, *profile));
    EXPECT_FALSE(ParseColourProfile(grid.data(), kGridProfileSize - 1, *profile));
    EXPECT_FALSE(ParseColourProfile(grid.data(), 815, *profile));
    EXPECT_FALSE(ParseColourProfile(grid.data(), 0, *profile));
    EXPECT_FALSE(ParseColourProfile(grid.data(), kProfileBufferSize + 1, *profile));
    EXPECT_EQ(profile->kind, ProfileKind::kNone);
    EXPECT_FALSE(ApplyColourProfile(*profile, 1, 1, 3, std::vector<uint8_t>(3).data(), 3, false));
}

TEST(ColourProfile, MatrixValuesThatAreNoNumbersOrHugeAreRefused) {
    auto profile = std::make_unique<ColourProfile>();
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e6f}) {
        float rows[3][4];
        std::memcpy(rows, kPlainRows, sizeof rows);
        rows[2][1] = bad;
        const Bytes bytes = MatrixProfile(rows);
        EXPECT_FALSE(ParseColourProfile(bytes.data(), bytes.size(), *profile)) << bad;
    }
}

TEST(ColourProfile, MatrixRuleClampsShiftsAndLooksUpTheCurves) {
    const auto profile = Parsed(MatrixProfile(kPlainRows));
    EXPECT_EQ(profile->matrix[0][0], 640);
    EXPECT_EQ(profile->matrix[1][2], 32);
    // Red: (640 + 64 * 100) >> 6 = 110, inverted by the red curve.
    // Green: -6400 + 32 * 100 is negative, so 0.
    // Blue: 300 is held at 255, halved by the blue curve.
    EXPECT_EQ(Apply(*profile, {100, 100, 100}), (std::vector<uint8_t>{145, 0, 127}));
    // Blue first: the same pixel seen from the other end, written back in place.
    EXPECT_EQ(Apply(*profile, {100, 100, 100}, true), (std::vector<uint8_t>{127, 0, 145}));
    EXPECT_EQ(Apply(*profile, {10, 250, 30}, true), (std::vector<uint8_t>{15, 25, 215}));
}

TEST(ColourProfile, MatrixValuesAreTruncatedOnce) {
    const float rows[3][4] = {{0, 0.999f, 0, 0}, {-0.999f, 0, 1, 0}, {0, 0, 0, 1}};
    const auto profile = Parsed(MatrixProfile(rows));
    EXPECT_EQ(profile->matrix[0][1], 63);
    EXPECT_EQ(profile->matrix[1][0], -63);
    // (63 * 64) >> 6 = 63, inverted by the red curve.
    EXPECT_EQ(Apply(*profile, {64, 64, 64}), (std::vector<uint8_t>{192, 63, 32}));
}

TEST(ColourProfile, GridInterpolatesBetweenNodes) {
    const auto profile = Parsed(GridProfile());
    for (int v = 0; v < 256; ++v) {
        const uint8_t level = static_cast<uint8_t>(v);
        const uint8_t expected = static_cast<uint8_t>(15 * v / 16);
        ASSERT_EQ(Apply(*profile, {level, 0, 255}), (std::vector<uint8_t>{expected, 0, 239})) << v;
    }
}

TEST(ColourProfile, GridReadsInputCurvesAndHonoursThePreviewOrder) {
    Bytes bytes = GridProfile();
    for (int i = 0; i < 256; ++i) bytes[i] = static_cast<uint8_t>(255 - i);  // red input curve inverted
    const auto profile = Parsed(bytes);
    // Red 16 becomes 239 and comes out as 15 * 239 / 16 = 224.
    EXPECT_EQ(Apply(*profile, {16, 32, 48}), (std::vector<uint8_t>{224, 30, 45}));
    EXPECT_EQ(Apply(*profile, {48, 32, 16}, true), (std::vector<uint8_t>{45, 30, 224}));
}

// Four pixels at a time and the rest one by one, in place: rows of every
// length give the eight-node sums through the input curves, in either pixel
// order, and the bytes between rows stay as they were.
TEST(ColourProfile, GridRowsEqualTheEightNodeSum) {
    const Bytes file = PseudoRandomBytes(kGridProfileSize, 8);
    const TrilinearReference reference{Bytes(file.begin() + kCurvesSize, file.end()), 3, file.data()};
    const auto profile = Parsed(file);
    constexpr int kRows = 3;
    for (int width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 1001}) {
        const size_t stride = 3 * width + 2;
        const Bytes image = PseudoRandomBytes(stride * kRows, static_cast<unsigned>(width));
        for (bool previewOrder : {false, true}) {
            Bytes out = image;
            ASSERT_TRUE(ApplyColourProfile(*profile, kRows, width, stride, out.data(), out.size(), previewOrder));
            const int red = previewOrder ? 2 : 0;
            for (int y = 0; y < kRows; ++y) {
                const uint8_t* in = &image[y * stride];
                const uint8_t* got = &out[y * stride];
                for (int x = 0; x < width; ++x) {
                    const auto rgb = reference(in[3 * x + red], in[3 * x + 1], in[3 * x + 2 - red]);
                    ASSERT_EQ(got[3 * x + red], rgb[0]) << width << " pixels, pixel " << x;
                    ASSERT_EQ(got[3 * x + 1], rgb[1]) << width << " pixels, pixel " << x;
                    ASSERT_EQ(got[3 * x + 2 - red], rgb[2]) << width << " pixels, pixel " << x;
                }
                EXPECT_EQ(got[3 * width], in[3 * width]);
                EXPECT_EQ(got[3 * width + 1], in[3 * width + 1]);
            }
        }
    }
}

TEST(ColourProfile, RowsAndGeometry) {
    const auto profile = Parsed(GridProfile());
    std::vector<uint8_t> image = {32, 32, 32, 0xAA, 64, 64, 64, 0xBB};
    ASSERT_TRUE(ApplyColourProfile(*profile, 2, 1, 4, image.data(), image.size(), false));
    EXPECT_EQ(image, (std::vector<uint8_t>{30, 30, 30, 0xAA, 60, 60, 60, 0xBB}));
    EXPECT_FALSE(ApplyColourProfile(*profile, 3, 1, 4, image.data(), image.size(), false));
    EXPECT_FALSE(ApplyColourProfile(*profile, 1, 1, 4, nullptr, 4, false));
}

TEST(ColourProfile, PathsBySource) {
    EXPECT_EQ(ColourProfilePath("C:\\WINDOWS\\TWAIN_32", kSourceReflective), "C:\\WINDOWS\\TWAIN_32\\COLOR\\orvaA3.tab");
    EXPECT_EQ(ColourProfilePath("C:\\WINDOWS\\TWAIN_32", kSourcePositive), "C:\\WINDOWS\\TWAIN_32\\COLOR\\orvaA3p.tab");
    EXPECT_EQ(ColourProfilePath("C:\\WINDOWS\\TWAIN_32", kSourceNegative), "");
    EXPECT_EQ(ColourProfilePath("C:\\WINDOWS\\TWAIN_32", kSourceFeeder), "");
}

TEST(ColourProfile, LoadReadsTheWholeFileAndKeepsAHeldProfile) {
    const std::string path = testing::TempDir() + "profile_" + std::to_string(getpid()) + ".tab";
    auto write = [&](const Bytes& bytes) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    };
    auto profile = std::make_unique<ColourProfile>();
    write(GridProfile(kProfileBufferSize + 1));
    EXPECT_FALSE(LoadColourProfile(path, *profile));
    write(GridProfile(kProfileBufferSize));
    EXPECT_TRUE(LoadColourProfile(path, *profile));
    EXPECT_EQ(profile->kind, ProfileKind::kGrid);

    write(MatrixProfile(kPlainRows));
    EXPECT_TRUE(LoadColourProfile(path, *profile));
    EXPECT_EQ(profile->kind, ProfileKind::kGrid);  // held until released
    ReleaseColourProfile(*profile);
    EXPECT_TRUE(LoadColourProfile(path, *profile));
    EXPECT_EQ(profile->kind, ProfileKind::kMatrix);

    ReleaseColourProfile(*profile);
    std::remove(path.c_str());
    EXPECT_FALSE(LoadColourProfile(path, *profile));
    EXPECT_FALSE(LoadColourProfile("", *profile));
}
