#include "twain/cap_container.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/request_blocks.h"
#include "twain/fix32.h"

namespace {

TEST(Fix32, Conversions) {
    const TW_FIX32 physical = Fix32FromReal(11.6f);
    EXPECT_EQ(physical.Whole, 11);
    EXPECT_EQ(physical.Frac, 39322);
    EXPECT_NEAR(Fix32ToDouble(physical), 11.6, 1.0 / 65536);

    const TW_FIX32 negative = Fix32FromReal(-1.5f);
    EXPECT_NEAR(Fix32ToDouble(negative), -1.5, 1.0 / 65536);
    EXPECT_EQ(Fix32FromReal(1e9f).Whole, 32767);  // saturates instead of overflowing

    const TW_FIX32 brightness = Fix32FromInt(-1000);
    EXPECT_EQ(brightness.Whole, -1000);
    EXPECT_EQ(brightness.Frac, 0);
    EXPECT_EQ(Fix32ToContainer(brightness), 0x0000FC18u);  // Whole low, Frac high

    const TW_FIX32 halfway = Fix32FromContainer(Fix32ToContainer(Fix32FromReal(150.5f)));
    EXPECT_EQ(halfway.Whole, 150);
    EXPECT_EQ(halfway.Frac, 0x8000);
    EXPECT_EQ(Fix32ToContainer(halfway), 150u | 0x80000000u);
}

TEST(CapContainer, BlockSizes) {
    EXPECT_EQ(EnumerationBlockSize(TWTY_UINT16, 4), 23u);
    EXPECT_EQ(EnumerationBlockSize(TWTY_UINT32, 8), 47u);
    EXPECT_EQ(EnumerationBlockSize(TWTY_INT8, 3), 18u);
    EXPECT_EQ(EnumerationBlockSize(TWTY_FIX32, 1), 0u);
    EXPECT_EQ(EnumerationBlockSize(TWTY_BOOL, 1), 0u);
    EXPECT_EQ(EnumerationBlockSize(TWTY_UINT32, 0xFFFFFFFFu), sizeof(size_t) == 4 ? 0u : 0xFFFFFFFFull * 4 + 15);
}

TEST(CapContainer, BuildersWriteTheTwainLayouts) {
    uint8_t one[kOneValueSize];
    EXPECT_FALSE(WriteOneValue(one, 5, TWTY_INT16, 1));
    ASSERT_TRUE(WriteOneValue(one, sizeof one, TWTY_FIX32, Fix32ToContainer(Fix32FromReal(11.6f))));
    EXPECT_EQ(blocks::GetU16(one, 0), TWTY_FIX32);
    EXPECT_EQ(blocks::GetU32(one, 2), 11u | (39322u << 16));

    uint8_t range[kRangeSize];
    auto fix = [](int n) { return Fix32ToContainer(Fix32FromInt(n)); };
    const RangeValues brightness{TWTY_FIX32, fix(-1000), fix(1000), fix(80), 0, fix(500)};
    EXPECT_FALSE(WriteRange(range, 21, brightness));
    ASSERT_TRUE(WriteRange(range, sizeof range, brightness));
    EXPECT_EQ(blocks::GetU16(range, 0), TWTY_FIX32);
    EXPECT_EQ(blocks::GetU32(range, 2), 0xFC18u);
    EXPECT_EQ(blocks::GetU32(range, 6), 1000u);
    EXPECT_EQ(blocks::GetU32(range, 10), 80u);
    EXPECT_EQ(blocks::GetU32(range, 14), 0u);
    EXPECT_EQ(blocks::GetU32(range, 18), 500u);

    std::vector<uint8_t> res(EnumerationBlockSize(TWTY_UINT32, kResolutionList.count));
    EXPECT_FALSE(WriteEnumeration(res.data(), res.size() - 1, ListHeader(kResolutionList, 2), kResolutionList.items));
    ASSERT_TRUE(WriteEnumeration(res.data(), res.size(), ListHeader(kResolutionList, 2), kResolutionList.items));
    EXPECT_EQ(blocks::GetU16(res.data(), 0), TWTY_UINT32);
    EXPECT_EQ(blocks::GetU32(res.data(), 2), 8u);
    EXPECT_EQ(blocks::GetU32(res.data(), 6), 2u);
    EXPECT_EQ(blocks::GetU32(res.data(), 10), 4u);
    EXPECT_EQ(blocks::GetU32(res.data(), 14), 75u);
    EXPECT_EQ(blocks::GetU32(res.data(), 14 + 7 * 4), 600u);

    std::vector<uint8_t> pix(EnumerationBlockSize(TWTY_UINT16, 4));
    ASSERT_TRUE(WriteEnumeration(pix.data(), pix.size(), ListHeader(kPixelTypeList, 0), kPixelTypeList.items));
    EXPECT_EQ(blocks::GetU16(pix.data(), 14 + 2 * 3), TWPT_PALETTE);

    const TW_UINT32 bytes[] = {0x1FF, 7};
    std::vector<uint8_t> small(EnumerationBlockSize(TWTY_UINT8, 2), 0xEE);
    ASSERT_TRUE(WriteEnumeration(small.data(), small.size(), {TWTY_UINT8, 2, 0, 0}, bytes));
    EXPECT_EQ(small[14], 0xFF);
    EXPECT_EQ(small[15], 7);
    EXPECT_FALSE(WriteEnumeration(small.data(), small.size(), {TWTY_BOOL, 1, 0, 0}, bytes));
}

std::vector<uint8_t> OneValue(TW_UINT16 type, TW_UINT32 item) {
    std::vector<uint8_t> block(kOneValueSize);
    WriteOneValue(block.data(), block.size(), type, item);
    return block;
}

TEST(CapContainer, ReadOneValueTakesTheItemAtItsSize) {
    TW_UINT32 v = 0;
    ASSERT_TRUE(ReadOneValue(OneValue(TWTY_UINT8, 0x12345678).data(), kOneValueSize, v));
    EXPECT_EQ(v, 0x78u);
    ASSERT_TRUE(ReadOneValue(OneValue(TWTY_INT16, 0x1234FFFF).data(), kOneValueSize, v));
    EXPECT_EQ(v, 0xFFFFu);
    ASSERT_TRUE(ReadOneValue(OneValue(TWTY_FIX32, 0x80000096).data(), kOneValueSize, v));
    EXPECT_EQ(v, 0x80000096u);
    ASSERT_TRUE(ReadOneValue(OneValue(TWTY_UINT16, 1).data(), 4, v));  // a block of exactly header + item
    EXPECT_EQ(v, 1u);

    v = 42;
    EXPECT_FALSE(ReadOneValue(OneValue(TWTY_BOOL, 1).data(), kOneValueSize, v));
    EXPECT_FALSE(ReadOneValue(OneValue(TWTY_FRAME, 1).data(), kOneValueSize, v));
    EXPECT_FALSE(ReadOneValue(OneValue(TWTY_UINT32, 1).data(), 5, v));
    EXPECT_FALSE(ReadOneValue(OneValue(TWTY_UINT8, 1).data(), 2, v));
    EXPECT_EQ(v, 42u);
}

std::vector<uint8_t> Enumeration(TW_UINT16 type, TW_UINT32 numItems, TW_UINT32 current, size_t itemBytes) {
    std::vector<uint8_t> block(kEnumerationItems + itemBytes);
    blocks::PutU16(block.data(), 0, type);
    blocks::PutU32(block.data(), 2, numItems);
    blocks::PutU32(block.data(), 6, current);
    for (size_t i = 0; i < itemBytes; ++i) block[kEnumerationItems + i] = static_cast<uint8_t>(0x10 + i);
    return block;
}

TEST(CapContainer, ReadEnumerationTakesTheFirstItem) {
    TW_UINT32 v = 0;
    const auto three = Enumeration(TWTY_UINT16, 3, 2, 6);
    ASSERT_TRUE(ReadEnumeration(three.data(), three.size(), v));
    EXPECT_EQ(v, 0x1110u);
    const auto bytes = Enumeration(TWTY_INT8, 1, 0, 1);
    ASSERT_TRUE(ReadEnumeration(bytes.data(), bytes.size(), v));
    EXPECT_EQ(v, 0x10u);
}

TEST(CapContainer, ReadEnumerationRefusesBadBlocks) {
    TW_UINT32 v = 42;
    const std::vector<uint8_t> refused[] = {
        Enumeration(TWTY_UINT16, 0, 0, 6),            // no items
        Enumeration(TWTY_UINT16, 4, 0, 6),            // more items than the block holds
        Enumeration(TWTY_UINT32, 0xFFFFFFFF, 0, 8),   // a count that would overflow
        Enumeration(TWTY_FIX32, 1, 0, 4),             // one-values only
        Enumeration(TWTY_BOOL, 1, 0, 2),
    };
    for (const auto& block : refused) EXPECT_FALSE(ReadEnumeration(block.data(), block.size(), v));
    const auto header = Enumeration(TWTY_UINT8, 1, 0, 1);
    EXPECT_FALSE(ReadEnumeration(header.data(), kEnumerationItems, v));
    EXPECT_FALSE(ReadEnumeration(header.data(), 10, v));
    EXPECT_EQ(v, 42u);
}

TEST(CapContainer, SetValueByContainerType) {
    TW_UINT32 v = 0;
    const auto one = OneValue(TWTY_UINT16, 5);
    EXPECT_TRUE(ReadSetValue(TWON_ONEVALUE, one.data(), one.size(), v));
    EXPECT_EQ(v, 5u);
    const auto list = Enumeration(TWTY_UINT16, 1, 0, 2);
    EXPECT_TRUE(ReadSetValue(TWON_ENUMERATION, list.data(), list.size(), v));
    EXPECT_EQ(v, 0x1110u);
    EXPECT_FALSE(ReadSetValue(TWON_RANGE, one.data(), one.size(), v));
    EXPECT_FALSE(ReadSetValue(TWON_ARRAY, list.data(), list.size(), v));
}

TEST(CapContainer, ValueLists) {
    EXPECT_EQ(kResolutionList.items[kResolutionList.defaultIndex], 300u);
    EXPECT_EQ(kXferMechList.items[kXferMechList.defaultIndex], TWSX_MEMORY);
    EXPECT_EQ(kSupportedSizeList.count, 9u);
    EXPECT_EQ(kUnitList.items[5], TWUN_PIXELS);
    // A resolution sent as FIX32 150.5 selects 150 by its Whole part; 250 is not offered.
    EXPECT_EQ(ListIndexOf(kResolutionList, Fix32ToContainer(Fix32FromReal(150.5f))), 2);
    EXPECT_EQ(ListIndexOf(kResolutionList, 250), -1);
    EXPECT_EQ(ListIndexOf(kPixelTypeList, 0x00010002), 2);  // low 16 bits compared
    EXPECT_EQ(ListIndexOf(kFileFormatList, TWFF_BMP), 2);
}

}  // namespace
