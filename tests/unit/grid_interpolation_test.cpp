#include <gtest/gtest.h>

#include <emmintrin.h>

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "imaging/grid_interpolation.h"
#include "trilinear_reference.h"

using namespace colour;

namespace {

using Bytes = std::vector<uint8_t>;

// Every triple of the levels around the cell borders (the last cell,
// 240..255, included), then random pixels, every other one in the last cell.
Bytes TestPixels() {
    const uint8_t edges[] = {0, 1, 15, 16, 17, 127, 128, 143, 239, 240, 241, 247, 254, 255};
    Bytes pixels;
    for (uint8_t r : edges)
        for (uint8_t g : edges)
            for (uint8_t b : edges) pixels.insert(pixels.end(), {r, g, b});
    Bytes random = PseudoRandomBytes(3 * 20000, 77);
    for (size_t i = 0; i < random.size(); i += 6)
        for (int c = 0; c < 3; ++c) random[i + c] |= 0xF0;
    pixels.insert(pixels.end(), random.begin(), random.end());
    pixels.resize(pixels.size() / 12 * 12);  // whole groups of four
    return pixels;
}

struct GridCase {
    const char* name;
    TrilinearReference reference;
    Bytes curves;  // empty: none
};

std::vector<GridCase> GridCases() {
    const Bytes curves = PseudoRandomBytes(768, 3);
    return {
        {"all 255, 4 channels", {Bytes(kGridNodeCount * 4, 255), 4}, {}},
        {"random, 1 channel", {PseudoRandomBytes(kGridNodeCount, 11), 1}, {}},
        {"random, 3 channels", {PseudoRandomBytes(kGridNodeCount * 3, 12), 3}, {}},
        {"random, 4 channels", {PseudoRandomBytes(kGridNodeCount * 4, 13), 4}, {}},
        {"random, 3 channels, curves", {PseudoRandomBytes(kGridNodeCount * 3, 14), 3}, curves},
        {"random, 4 channels, curves", {PseudoRandomBytes(kGridNodeCount * 4, 15), 4}, curves},
        {"all 255, 3 channels, curves up to 255", {Bytes(kGridNodeCount * 3, 255), 3}, Bytes(768, 255)},
    };
}

}  // namespace

TEST(GridInterpolation, OneAndFourPixelsEqualTheEightNodeSum) {
    const Bytes pixels = TestPixels();
    for (GridCase& grid : GridCases()) {
        SCOPED_TRACE(grid.name);
        if (!grid.curves.empty()) grid.reference.curves = grid.curves.data();
        auto table = std::make_unique<GridTable>();
        BuildGridTable(grid.reference.nodes.data(), grid.reference.channels, *table);
        auto axes = std::make_unique<GridAxes>();
        BuildGridAxes(grid.reference.curves, *axes);

        for (size_t p = 0; p < pixels.size(); p += 3) {
            const uint8_t r = pixels[p], g = pixels[p + 1], b = pixels[p + 2];
            const std::array<uint8_t, 4> expected = grid.reference(r, g, b);
            const uint32_t one = InterpolateGrid(*table, *axes, r, g, b);
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(GridChannel(one, c), expected[c])
                    << int(r) << " " << int(g) << " " << int(b) << " channel " << c;
        }
        // Four at a time, red first and blue first.
        for (int redByte : {0, 2}) {
            Bytes ordered = pixels;
            if (redByte == 2)
                for (size_t p = 0; p < ordered.size(); p += 3) std::swap(ordered[p], ordered[p + 2]);
            for (size_t p = 0; p < ordered.size(); p += 12) {
                uint8_t four[16];
                const __m128i result = InterpolateGrid4(*table, *axes, &ordered[p], redByte);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(four), result);
                for (int k = 0; k < 4; ++k) {
                    const std::array<uint8_t, 4> expected =
                        grid.reference(pixels[p + 3 * k], pixels[p + 3 * k + 1], pixels[p + 3 * k + 2]);
                    for (int c = 0; c < 4; ++c)
                        ASSERT_EQ(four[4 * k + c], expected[c]) << "red at " << redByte << ", pixel " << p / 3 + k;
                }
            }
        }
    }
}
