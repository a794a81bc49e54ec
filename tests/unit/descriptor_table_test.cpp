#include "engine/descriptor_table.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/request_blocks.h"

using namespace descriptors;

namespace {

constexpr uint32_t kBase = 0x10000;

struct Table {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(blocks::kMaxDescriptors * blocks::kDescriptorSize, 0);
    uint32_t count = 0;
    Table& Add(uint32_t address, uint32_t length) {
        uint8_t* entry = bytes.data() + count++ * blocks::kDescriptorSize;
        blocks::PutU32(entry, blocks::descriptor::kAddress, address);
        blocks::PutU32(entry, blocks::descriptor::kLength, length);
        return *this;
    }
    uint32_t Length(uint32_t i) const {
        return blocks::GetU32(bytes.data() + i * blocks::kDescriptorSize, blocks::descriptor::kLength);
    }
    uint16_t Lines(uint32_t i) const {
        return blocks::GetU16(bytes.data() + i * blocks::kDescriptorSize, blocks::descriptor::kLines);
    }
};

}  // namespace

TEST(DescriptorTable, MustLieInsideTheBufferWithOneToSixteenEntries) {
    Table table;
    table.Add(kBase, 50).Add(kBase + 50, 50);
    EXPECT_TRUE(InsideBuffer(table.bytes.data(), 2, kBase, 100));
    EXPECT_FALSE(InsideBuffer(table.bytes.data(), 2, kBase, 99));      // ends past the buffer
    EXPECT_FALSE(InsideBuffer(table.bytes.data(), 2, kBase + 1, 100));  // starts before it
    EXPECT_FALSE(InsideBuffer(table.bytes.data(), 0, kBase, 100));
    EXPECT_FALSE(InsideBuffer(table.bytes.data(), 17, kBase, 1u << 30));
    EXPECT_EQ(DescribedBytes(table.bytes.data(), 2), 100u);

    // An address near the top of the address space does not wrap around.
    Table wrapping;
    wrapping.Add(0xFFFFFFF0u, 0x20);
    EXPECT_FALSE(InsideBuffer(wrapping.bytes.data(), 1, 0xFFFFFF00u, 0x100));
}

TEST(DescriptorTable, TrimCutsEveryEntryToWholeLines) {
    Table table;
    table.Add(kBase, 35).Add(kBase + 35, 30);
    EXPECT_EQ(TrimToWholeLines(table.bytes.data(), 2, 10), 6u);
    EXPECT_EQ(table.Length(0), 30u);
    EXPECT_EQ(table.Lines(0), 3);
    EXPECT_EQ(table.Length(1), 30u);

    Table shortEntry;
    shortEntry.Add(kBase, 35).Add(kBase + 35, 9);
    EXPECT_EQ(TrimToWholeLines(shortEntry.bytes.data(), 2, 10), 0u);
    EXPECT_EQ(TrimToWholeLines(table.bytes.data(), 2, 0), 0u);

    Table huge;
    huge.Add(kBase, 40000);
    EXPECT_EQ(TrimToWholeLines(huge.bytes.data(), 1, 1), 32767u);
    EXPECT_EQ(huge.Length(0), 32767u);
}

TEST(DescriptorTable, GatherFollowsTheEntriesNotTheBuffer) {
    // Two segments that do not touch: lines 0-1 at offset 5, line 2 at offset 30.
    std::vector<uint8_t> buffer(40);
    for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(i);
    Table table;
    table.Add(kBase + 5, 8).Add(kBase + 30, 10);
    ASSERT_EQ(TrimToWholeLines(table.bytes.data(), 2, 4), 4u);
    std::vector<uint8_t> lines;
    ASSERT_TRUE(GatherLines(buffer.data(), kBase, 40, table.bytes.data(), 2, 4, 3, lines));
    EXPECT_EQ(lines, (std::vector<uint8_t>{5, 6, 7, 8, 9, 10, 11, 12, 30, 31, 32, 33}));

    EXPECT_FALSE(GatherLines(buffer.data(), kBase, 40, table.bytes.data(), 2, 4, 5, lines));  // holds only 4
    EXPECT_FALSE(GatherLines(buffer.data(), kBase, 33, table.bytes.data(), 2, 4, 3, lines));  // line 2 past the end
}
