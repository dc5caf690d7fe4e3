#include "config/gen_a2_layout.h"

#include <gtest/gtest.h>

#include "config/config_item_ids.h"

namespace vantrell {
namespace {

using namespace item;

class GenA2AccessorsTest : public ::testing::Test {
 protected:
  ConfigBlock block_{gen_a2::kBlockSize};
  GenA2Accessors a_;
  std::uint8_t At(std::size_t offset) const { return block_.bytes()[offset]; }
  void Put(std::size_t offset, std::uint8_t value) { block_.bytes()[offset] = value; }
  std::uint16_t VlanWord(std::size_t entry) const {
    return ReadU16(block_.bytes(), a8vlan::EntryOffset(entry)).value_or(0);
  }
  std::uint32_t Membership(std::size_t entry) const {
    return ReadU32(block_.bytes(), a8vlan::EntryOffset(entry) + 4).value_or(0);
  }
};

TEST_F(GenA2AccessorsTest, SnmpVersionCodes) {
  Put(12276, 3);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_SNMP_VERSION), 1u);
  Put(12276, 5);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_SNMP_VERSION), 0u);
  EXPECT_EQ(a_.setNumber(block_, D_CONF_SNMP_VERSION, 2), ItemStatus::kOk);
  EXPECT_EQ(At(12276), 4);
  EXPECT_NE(a_.setNumber(block_, D_CONF_SNMP_VERSION, 3), ItemStatus::kOk);
  EXPECT_EQ(At(12276), 4);
  Put(12276, 7);
  EXPECT_FALSE(a_.getNumber(block_, D_CONF_SNMP_VERSION).has_value());
}

TEST_F(GenA2AccessorsTest, BridgePriorityAndPortPriorityWholeBytes) {
  WriteU16(block_.bytes(), 11418, 0x8000);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_ETH_SPAN_BRIDGE_ID), 0x8000u);
  EXPECT_EQ(a_.setNumber(block_, D_CONF_ETH_SPAN_BRIDGE_ID, 0x7123), ItemStatus::kOk);
  EXPECT_EQ(ReadU16(block_.bytes(), 11418), 0x7123);
  // Port priority: 0..15 stored times 16, the whole byte read.
  EXPECT_EQ(a_.setNumber(block_, D_CONF_ETH_SPAN_TRK4_ID, 8), ItemStatus::kOk);
  EXPECT_EQ(At(11352 + 11), 0x80);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_ETH_SPAN_TRK4_ID), 0x80u);
  EXPECT_NE(a_.setNumber(block_, D_CONF_ETH_SPAN_PORT1_ID, 16), ItemStatus::kOk);
}

TEST_F(GenA2AccessorsTest, PvidCreatesEntryAndEndsFixedList) {
  Put(a8vlan::EntryOffset(0) + 1, 0x60);  // bits 13 and 14 of a free entry
  // Port 3 as a trunk port with PVID 20.
  ASSERT_EQ(a_.setNumber(block_, D_CONF_VLAN_TYPE3, 0), ItemStatus::kOk);
  ASSERT_EQ(a_.setNumber(block_, D_CONF_VLAN_PVID3, 20), ItemStatus::kOk);
  EXPECT_EQ(VlanWord(0), 0xF000 | 20);  // valid, bit 12, bits 13-14 kept
  EXPECT_EQ(Membership(0), 0u);
  ASSERT_EQ(a_.setText(block_, D_CONF_VLAN_FIXVID3, "10,20,30"), ItemStatus::kOk);
  EXPECT_EQ(VlanWord(1), 0x9000 | 10);
  EXPECT_EQ(Membership(1), a8vlan::FixedBit(3));
  EXPECT_EQ(VlanWord(2), 0u);  // 30 comes after the PVID: not applied
  EXPECT_EQ(a_.getText(block_, D_CONF_VLAN_FIXVID3), "10");
}

TEST_F(GenA2AccessorsTest, ForbiddenKeepsFixedAndForbiddenEndsFixedList) {
  ASSERT_EQ(a_.setNumber(block_, D_CONF_VLAN_TYPE2, 0), ItemStatus::kOk);
  ASSERT_EQ(a_.setNumber(block_, D_CONF_VLAN_PVID2, 1), ItemStatus::kOk);  // entry 0
  a_.setText(block_, D_CONF_VLAN_FIXVID2, "5");                            // entry 1
  a_.setText(block_, D_CONF_VLAN_FRBVID2, "5,7");                          // entry 2 for 7
  EXPECT_EQ(Membership(1), a8vlan::FixedBit(2) | a8vlan::ForbiddenBit(2));
  EXPECT_EQ(VlanWord(2), 0x8000 | 7);  // forbidden entry: bit 15 only
  EXPECT_EQ(Membership(2), a8vlan::ForbiddenBit(2));
  a_.setText(block_, D_CONF_VLAN_FIXVID2, "7,9");  // 7 is forbidden: list ends
  EXPECT_FALSE(a8vlan::FindValidEntry(block_.bytes(), 9).has_value());
  // An access port takes no list.
  a_.setNumber(block_, D_CONF_VLAN_TYPE4, 1);
  a_.setText(block_, D_CONF_VLAN_FIXVID4, "44");
  EXPECT_FALSE(a8vlan::FindValidEntry(block_.bytes(), 44).has_value());
}

TEST_F(GenA2AccessorsTest, TextsLoseTrailingBlanksCarriageReturnsAndNuls) {
  for (std::size_t i = 224; i < 264; ++i) block_.SetByteAt(i, 0xAB);
  ASSERT_EQ(a_.setText(block_, D_CONF_ETH_NAMEA8, "Line 3 \r "), ItemStatus::kOk);
  EXPECT_EQ(a_.getText(block_, D_CONF_ETH_NAMEA8), "Line 3");
  // The name is NUL-filled up to byte 31 of its slot; bytes 32-39 stay.
  for (std::size_t i = 224 + 6; i < 224 + 32; ++i) EXPECT_EQ(At(i), 0) << i;
  for (std::size_t i = 224 + 32; i < 264; ++i) EXPECT_EQ(At(i), 0xAB) << i;
  // The user password: text, one NUL, blanks up to 16 bytes.
  ASSERT_EQ(a_.setText(block_, D_CONF_ETH_USERPWD, "abc\r"), ItemStatus::kOk);
  EXPECT_EQ(At(76 + 2), 'c');
  EXPECT_EQ(At(76 + 3), 0);
  EXPECT_EQ(At(76 + 4), ' ');
  EXPECT_EQ(At(76 + 15), ' ');
  EXPECT_EQ(a_.getText(block_, D_CONF_ETH_USERPWD), "abc");
}

TEST_F(GenA2AccessorsTest, RelayChoiceAndEncryptionNibbles) {
  WriteU32(block_.bytes(), 5332, 0x10);
  WriteU32(block_.bytes(), 5336, 0x10);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_ETH_RELAY_SFLAG_POWER1), 2u);
  a_.setNumber(block_, D_CONF_ETH_RELAY_SFLAG_POWER1, 1);
  EXPECT_EQ(ReadU32(block_.bytes(), 5336), 0u);
  EXPECT_EQ(ReadU32(block_.bytes(), 5332), 0x10u);
  a_.setNumber(block_, D_CONF_SNMP_V3AADEE, 1);
  a_.setNumber(block_, D_CONF_SNMP_V3UADEE, 1);
  EXPECT_EQ(At(12277), 0x11);
  a_.setNumber(block_, D_CONF_SNMP_V3AADEE, 0);
  EXPECT_EQ(At(12277), 0x10);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_SNMP_V3UADEE), 1u);
}

TEST_F(GenA2AccessorsTest, RatesWithoutNameReadNothing) {
  a_.setNumber(block_, D_CONF_RATE_LIMIT_ENGRESS_RATE1, 3);
  EXPECT_EQ(At(3414), 3);
  EXPECT_EQ(a_.getText(block_, D_CONF_RATE_LIMIT_ENGRESS_RATE1), "512K");
  Put(3414, 11);
  EXPECT_FALSE(a_.getText(block_, D_CONF_RATE_LIMIT_ENGRESS_RATE1).has_value());
  Put(3412 + 4, 2);
  Put(3413 + 4, 0x23);
  EXPECT_EQ(a_.getText(block_, D_CONF_RATE_LIMIT_INGRESS_P2), "2 512K 0 1 0");
  Put(3413 + 4, 0x0D);
  EXPECT_FALSE(a_.getText(block_, D_CONF_RATE_LIMIT_INGRESS_P2).has_value());
}

TEST_F(GenA2AccessorsTest, UnhandledItemsAndShortBlocks) {
  EXPECT_EQ(a_.setNumber(block_, D_CONF_ETH_FLAG_HIDE, 1), ItemStatus::kNotHandled);
  EXPECT_EQ(a_.setNumber(block_, D_CONF_ETH_SUM1, 1), ItemStatus::kNotHandled);
  EXPECT_EQ(a_.setText(block_, D_CONF_ETH_TRAPS, "x"), ItemStatus::kNotHandled);
  ConfigBlock shortBlock(8508);
  EXPECT_EQ(a_.setNumber(shortBlock, D_CONF_SNMP_VERSION, 1), ItemStatus::kOutsideBlock);
  EXPECT_FALSE(a_.getNumber(shortBlock, D_CONF_ETH_SPAN_HELLO_TIME).has_value());
  EXPECT_TRUE(shortBlock.bytes().size() == 8508);
  EXPECT_FALSE(gen_a2::ReadIgmpEntry(shortBlock.bytes(), 0).has_value());
  EXPECT_FALSE(gen_a2::PutMulticastEntry(shortBlock.bytes(), {1, 2, 3, 4, 5, 6}, 1));
}

TEST_F(GenA2AccessorsTest, PutsReplaceTheHeldMacElseTakeTheFirstFreeEntry) {
  gen_a2::ClearListTables(block_.bytes());
  const std::array<std::uint8_t, 6> a{0, 1, 2, 3, 4, 5}, b{0, 1, 2, 3, 4, 6}, c{0, 9, 2, 3, 4, 5};
  ASSERT_TRUE(gen_a2::PutUnicastEntry(block_.bytes(), a, 0, 1));
  ASSERT_TRUE(gen_a2::PutUnicastEntry(block_.bytes(), c, 1, 1));
  ASSERT_TRUE(gen_a2::PutUnicastEntry(block_.bytes(), b, 2, 1));
  Put(1868 + 12, 0);  // entry 1 freed: a, free, b
  // The MAC held after the free entry is replaced in place.
  ASSERT_TRUE(gen_a2::PutUnicastEntry(block_.bytes(), b, 5, 3));
  EXPECT_EQ(gen_a2::ReadUnicastEntry(block_.bytes(), 2)->portIndex, 5);
  EXPECT_EQ(gen_a2::ReadUnicastEntry(block_.bytes(), 2)->priority, 3);
  EXPECT_FALSE(gen_a2::ReadUnicastEntry(block_.bytes(), 1)->used);
  // A new MAC takes the first free entry.
  ASSERT_TRUE(gen_a2::PutUnicastEntry(block_.bytes(), c, 7, 0));
  EXPECT_EQ(gen_a2::ReadUnicastEntry(block_.bytes(), 1)->mac, c);
  // A multicast entry is used when either byte of its word is set.
  ASSERT_TRUE(gen_a2::PutMulticastEntry(block_.bytes(), {1, 1, 2, 3, 4, 5}, 0x3));
  Put(8508, 0);
  Put(8509, 1);  // the word reads 0x100: still used
  ASSERT_TRUE(gen_a2::PutMulticastEntry(block_.bytes(), {1, 1, 2, 3, 4, 5}, 0x5));
  EXPECT_EQ(gen_a2::ReadMulticastEntry(block_.bytes(), 0)->portMask, 0x5u);
  EXPECT_FALSE(gen_a2::ReadMulticastEntry(block_.bytes(), 1)->used);
  // A full table takes no new MAC, and keeps taking the ones it holds.
  for (std::size_t n = 0; n < gen_a2::kUnicastEntries; ++n) Put(1868 + 12 * n, 1);
  EXPECT_FALSE(gen_a2::PutUnicastEntry(block_.bytes(), {0, 7, 7, 7, 7, 7}, 0, 0));
  EXPECT_TRUE(gen_a2::PutUnicastEntry(block_.bytes(), a, 4, 0));
}

TEST_F(GenA2AccessorsTest, ClearScopes) {
  gen_a2::PutUnicastEntry(block_.bytes(), {0, 1, 2, 3, 4, 5}, 0, 1);
  gen_a2::PutMulticastEntry(block_.bytes(), {1, 1, 2, 3, 4, 5}, 0x201);
  a_.setNumber(block_, D_CONF_VLAN_SYS_VID, 7);
  gen_a2::ClearListTables(block_.bytes(), gen_a2::ClearScope::kMulticastOnly);
  EXPECT_FALSE(gen_a2::ReadMulticastEntry(block_.bytes(), 0)->used);
  EXPECT_TRUE(gen_a2::ReadUnicastEntry(block_.bytes(), 0)->used);
  EXPECT_TRUE(a8vlan::FindValidEntry(block_.bytes(), 7).has_value());
  gen_a2::ClearListTables(block_.bytes());
  EXPECT_FALSE(gen_a2::ReadUnicastEntry(block_.bytes(), 0)->used);
  EXPECT_FALSE(a8vlan::FindValidEntry(block_.bytes(), 7).has_value());
}

}  // namespace
}  // namespace vantrell
