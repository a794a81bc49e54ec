// The text twscan --caps prints for each container.
#include "hostkit/capability_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(CapabilityText, EveryContainerShowsItsTypesAndValues) {
    // ItemType UINT16, Item 2 (little-endian fields).
    const Bytes one = {4, 0, 2, 0, 0, 0};
    EXPECT_EQ(ContainerText(TWON_ONEVALUE, one.data(), one.size()), "TWON_ONEVALUE TWTY_UINT16 2");
    // FIX32 11.6: whole 11, fraction 0x999A.
    const Bytes width = {7, 0, 11, 0, 0x9A, 0x99};
    EXPECT_EQ(ContainerText(TWON_ONEVALUE, width.data(), width.size()), "TWON_ONEVALUE TWTY_FIX32 11.6");
    // Three UINT32 items, current 1, default 2.
    const Bytes list = {5, 0, 3, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 75, 0, 0, 0, 100, 0, 0, 0, 44, 1, 0, 0};
    EXPECT_EQ(ContainerText(TWON_ENUMERATION, list.data(), list.size()),
              "TWON_ENUMERATION TWTY_UINT32 75 100 300 current 1 default 2");
    // FIX32 range -1000..1000 step 80, default 0, current -80.
    const Bytes range = {7, 0, 0x18, 0xFC, 0, 0, 0xE8, 3, 0, 0, 80, 0, 0, 0, 0, 0, 0, 0, 0xB0, 0xFF, 0, 0};
    EXPECT_EQ(ContainerText(TWON_RANGE, range.data(), range.size()),
              "TWON_RANGE TWTY_FIX32 -1000..1000 step 80 default 0 current -80");
    const Bytes array = {4, 0, 2, 0, 0, 0, 0x01, 0x01, 0x2B, 0x11};
    EXPECT_EQ(ContainerText(TWON_ARRAY, array.data(), array.size()), "TWON_ARRAY TWTY_UINT16 257 4395");
    std::vector<TW_UINT16> caps;
    ASSERT_TRUE(ReadCapabilityArray(array.data(), array.size(), caps));
    EXPECT_EQ(caps, (std::vector<TW_UINT16>{ICAP_PIXELTYPE, ICAP_BITDEPTH}));
    EXPECT_EQ(CapabilityName(ICAP_BITDEPTH), "ICAP_BITDEPTH");
    EXPECT_EQ(CapabilityName(0x8001), "0x8001");
}

TEST(CapabilityText, ContainersShorterThanTheyClaimAreNotRead) {
    const Bytes list = {4, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0};  // claims nine items, holds one
    EXPECT_EQ(ContainerText(TWON_ENUMERATION, list.data(), list.size()), "(short container)");
    const Bytes array = {4, 0, 2, 0, 0, 0, 1, 0};
    EXPECT_EQ(ContainerText(TWON_ARRAY, array.data(), array.size()), "(short container)");
    std::vector<TW_UINT16> caps;
    EXPECT_FALSE(ReadCapabilityArray(array.data(), array.size(), caps));
    EXPECT_EQ(ContainerText(TWON_ONEVALUE, list.data(), 4), "(short container)");
}

}  // namespace
