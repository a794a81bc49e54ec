#include <gtest/gtest.h>

#include <vector>

#include "imaging/widen36.h"

using colour::Widen36BitLine;

namespace {

std::vector<uint8_t> Samples(const std::vector<uint16_t>& values) {
    std::vector<uint8_t> bytes;
    for (uint16_t v : values) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    return bytes;
}

}  // namespace

TEST(Widen36, TwelveBitsBecomeTheTopOfSixteen) {
    const std::vector<uint8_t> line = Samples({0x0ABC, 0xFABC, 0x0FFF, 0x0000, 0x1001});
    std::vector<uint8_t> out(line.size());
    ASSERT_TRUE(Widen36BitLine(line.data(), line.size(), out.data(), out.size()));
    EXPECT_EQ(out, Samples({0xABC0, 0xABC0, 0xFFF0, 0x0000, 0x0010}));
}

TEST(Widen36, EverySampleInPlace) {
    std::vector<uint16_t> all(65536);
    for (size_t v = 0; v < all.size(); ++v) all[v] = static_cast<uint16_t>(v);
    std::vector<uint8_t> line = Samples(all);
    ASSERT_TRUE(Widen36BitLine(line.data(), line.size(), line.data(), line.size()));
    for (size_t v = 0; v < all.size(); ++v) all[v] = static_cast<uint16_t>((v & 0x0FFF) * 16);
    EXPECT_EQ(line, Samples(all));
}

TEST(Widen36, RefusesOddLinesAndShortOutput) {
    const std::vector<uint8_t> line = Samples({0x0123, 0x0456});
    std::vector<uint8_t> out(4, 0xEE);
    EXPECT_FALSE(Widen36BitLine(line.data(), 3, out.data(), out.size()));
    EXPECT_FALSE(Widen36BitLine(line.data(), 4, out.data(), 3));
    EXPECT_EQ(out, std::vector<uint8_t>(4, 0xEE));
}
