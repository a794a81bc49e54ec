#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "imaging/cmyk.h"
#include "trilinear_reference.h"

using namespace colour;

namespace {

using Bytes = std::vector<uint8_t>;

int NodeOffset(int r, int g, int b) { return 4 * (r * 289 + g * 17 + b); }

std::unique_ptr<CmykTable> Table(const Bytes& nodes) {
    auto table = std::make_unique<CmykTable>();
    EXPECT_TRUE(ParseCmykTable(nodes.data(), nodes.size(), *table));
    return table;
}

Bytes Convert(const CmykTable& table, Bytes rgb, bool direct = false) {
    const size_t inputBytes = rgb.size();
    rgb.resize(inputBytes / 3 * 4);
    EXPECT_TRUE(ConvertToCmyk(table, rgb.data(), rgb.size(), inputBytes, direct));
    return rgb;
}

}  // namespace

TEST(Cmyk, APixelOnANodeTakesThatNode) {
    const Bytes nodes = PseudoRandomBytes(kCmykTableSize, 1);
    const auto table = Table(nodes);
    const uint8_t* node = &nodes[NodeOffset(2, 10, 15)];
    EXPECT_EQ(Convert(*table, {32, 160, 240}, true), Bytes(node, node + 4));
    EXPECT_EQ(Convert(*table, {32, 160, 240}),
              (Bytes{uint8_t(255 - node[0]), uint8_t(255 - node[1]), uint8_t(255 - node[2]), uint8_t(255 - node[3])}));
    EXPECT_EQ(Convert(*table, {0, 0, 0}, true), Bytes(nodes.begin(), nodes.begin() + 4));
}

TEST(Cmyk, WhiteLiesBetweenNodes15And16WithFractions15) {
    Bytes nodes(kCmykTableSize, 0);
    for (int r = 0; r < 17; ++r)
        for (int g = 0; g < 17; ++g)
            for (int b = 0; b < 17; ++b) {
                uint8_t* node = &nodes[NodeOffset(r, g, b)];
                node[0] = r == 16 ? 255 : 0;  // weight 15 of 16 along red
                node[1] = g == 15 ? 255 : 0;  // weight 1 of 16 along green
                node[2] = r == 16 && g == 16 && b == 16 ? 255 : 0;
                node[3] = r == 15 && g == 15 && b == 15 ? 255 : 0;
            }
    // 255 * 15 / 16, 255 / 16, 255 * 3375 / 4096, 255 * 1 / 4096.
    EXPECT_EQ(Convert(*Table(nodes), {255, 255, 255}, true), (Bytes{239, 15, 210, 0}));
}

TEST(Cmyk, ConvertsABlockInPlace) {
    const auto table = Table(PseudoRandomBytes(kCmykTableSize, 2));
    const Bytes rgb = PseudoRandomBytes(3 * 1000, 3);
    const Bytes block = Convert(*table, rgb);
    ASSERT_EQ(block.size(), 4000u);
    for (size_t p = 0; p < 1000; p += 37)
        EXPECT_EQ(Bytes(block.begin() + 4 * p, block.begin() + 4 * p + 4),
                  Convert(*table, {rgb[3 * p], rgb[3 * p + 1], rgb[3 * p + 2]}))
            << p;
}

// Four pixels at a time and the rest one by one, from the end back: every
// count of pixels gives the eight-node sums and writes nothing beyond them.
TEST(Cmyk, BlocksOfAnyLengthEqualTheEightNodeSum) {
    const TrilinearReference reference{PseudoRandomBytes(kCmykTableSize, 6), 4};
    const auto table = Table(reference.nodes);
    for (size_t pixels : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1001}) {
        const Bytes rgb = PseudoRandomBytes(3 * pixels, static_cast<unsigned>(pixels));
        for (bool direct : {false, true}) {
            Bytes buffer = rgb;
            buffer.resize(4 * pixels + 5, 0xA5);
            ASSERT_TRUE(ConvertToCmyk(*table, buffer.data(), buffer.size(), rgb.size(), direct));
            for (size_t p = 0; p < pixels; ++p) {
                const auto ink = reference(rgb[3 * p], rgb[3 * p + 1], rgb[3 * p + 2]);
                for (int c = 0; c < 4; ++c)
                    ASSERT_EQ(buffer[4 * p + c], direct ? ink[c] : 255 - ink[c]) << pixels << " pixels, pixel " << p;
            }
            EXPECT_EQ(Bytes(buffer.end() - 5, buffer.end()), Bytes(5, 0xA5)) << pixels;
        }
    }
}

TEST(Cmyk, RefusedArgumentsChangeNothing) {
    auto table = Table(PseudoRandomBytes(kCmykTableSize, 4));
    Bytes buffer(8, 7);
    EXPECT_FALSE(ConvertToCmyk(*table, buffer.data(), buffer.size(), 4, false));  // not whole pixels
    EXPECT_FALSE(ConvertToCmyk(*table, buffer.data(), 7, 6, false));             // no room for 4/3
    EXPECT_FALSE(ConvertToCmyk(*table, nullptr, 8, 6, false));
    FreeCmykTable(*table);
    EXPECT_FALSE(ConvertToCmyk(*table, buffer.data(), buffer.size(), 6, false));
    EXPECT_EQ(buffer, Bytes(8, 7));
    EXPECT_TRUE(ConvertToCmyk(*Table(PseudoRandomBytes(kCmykTableSize, 4)), buffer.data(), 0, 0, false));
}

TEST(Cmyk, TablesOfAnotherLengthAreRefused) {
    const Bytes nodes = PseudoRandomBytes(kCmykTableSize + 1, 5);
    auto table = std::make_unique<CmykTable>();
    EXPECT_FALSE(ParseCmykTable(nodes.data(), kCmykTableSize - 1, *table));
    EXPECT_FALSE(ParseCmykTable(nodes.data(), kCmykTableSize + 1, *table));
    EXPECT_FALSE(table->loaded);

    const std::string path = testing::TempDir() + "cmyk_" + std::to_string(getpid()) + ".tab";
    for (size_t size : {kCmykTableSize, kCmykTableSize + 1, kCmykTableSize - 1}) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(nodes.data(), 1, size, f);
        std::fclose(f);
        // A load frees the table held before, so a refused file leaves none.
        EXPECT_EQ(LoadCmykTable(path, *table), size == kCmykTableSize) << size;
        EXPECT_EQ(table->loaded, size == kCmykTableSize) << size;
    }
    std::remove(path.c_str());
    EXPECT_FALSE(LoadCmykTable(path, *table));
}

TEST(Cmyk, TablePathsByHost) {
    EXPECT_EQ(CmykTablePath("C:\\WINDOWS\\TWAIN_32\\KVSC_A3", false), "C:\\WINDOWS\\TWAIN_32\\KVSC_A3\\cmyk.tab");
    EXPECT_EQ(CmykTablePath("C:\\WINDOWS\\twain_64\\KVSC_A3", true), "C:\\WINDOWS\\twain_64\\KVSC_A3\\cmykpp60.tab");
}

// The tables the build installs, made by scripts/make_cmyk_tables.py.
TEST(Cmyk, GeneratedTablesGiveTheDocumentedInks) {
    const std::string source = __FILE__;
    const std::string script = source.substr(0, source.rfind("tests/unit/")) + "scripts/make_cmyk_tables.py";
    const std::string dir = testing::TempDir() + "cmyk_tables_" + std::to_string(getpid());
    const std::string command = "python3 '" + script + "' '" + dir + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    auto full = std::make_unique<CmykTable>();
    auto partial = std::make_unique<CmykTable>();
    ASSERT_TRUE(LoadCmykTable(dir + "/cmyk.tab", *full));
    ASSERT_TRUE(LoadCmykTable(dir + "/cmykpp60.tab", *partial));
    std::remove((dir + "/cmyk.tab").c_str());
    std::remove((dir + "/cmykpp60.tab").c_str());
    std::remove(dir.c_str());

    // Ink amounts (direct): white paper gets no ink, black and grey only black
    // with full replacement, 60 % of the grey in black with the other table.
    EXPECT_EQ(Convert(*full, {255, 255, 255}, true), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Convert(*full, {0, 0, 0}, true), (Bytes{0, 0, 0, 255}));
    EXPECT_EQ(Convert(*full, {128, 128, 128}, true), (Bytes{0, 0, 0, 127}));
    EXPECT_EQ(Convert(*partial, {0, 0, 0}, true), (Bytes{102, 102, 102, 153}));
    EXPECT_EQ(Convert(*partial, {255, 255, 255}, true), (Bytes{0, 0, 0, 0}));
    const Bytes red = Convert(*full, {255, 0, 0}, true);
    EXPECT_EQ(red[0], 0);
    EXPECT_GE(red[1], 254);
    EXPECT_GE(red[2], 254);
    EXPECT_EQ(red[3], 0);
    // The host's default flavour: 255 - ink.
    EXPECT_EQ(Convert(*full, {0, 0, 0}), (Bytes{255, 255, 255, 0}));
}
