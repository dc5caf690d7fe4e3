#include "config/gen_m1_block.h"

#include <gtest/gtest.h>

#include "config/block_encodings.h"
#include "config/config_item_ids.h"
#include "core/ipv4.h"

namespace vantrell::gen_m1 {
namespace {

using namespace item;

TEST(GenM1PortNames, IndexToNameAndBack) {
  EXPECT_EQ(PortNameOfIndex(0), "1-1");
  EXPECT_EQ(PortNameOfIndex(5), "2-2");
  EXPECT_EQ(PortNameOfIndex(23), "6-4");
  EXPECT_EQ(PortNameOfIndex(24), "G-1");
  EXPECT_EQ(PortNameOfIndex(25), "G-2");
  EXPECT_EQ(PortNameOfIndex(26), "Trk1");
  EXPECT_EQ(PortNameOfIndex(29), "Trk4");
  EXPECT_EQ(PortNameOfIndex(30), "");
  EXPECT_EQ(PortIndexOfName("6-4"), 23u);
  EXPECT_EQ(PortIndexOfName("g-2"), 25u);
  EXPECT_EQ(PortIndexOfName("trk3"), 28u);
  EXPECT_EQ(PortIndexOfName("TRK3"), std::nullopt);
  EXPECT_EQ(PortIndexOfName("7-1"), std::nullopt);
  EXPECT_EQ(PortIndexOfName("1-5"), std::nullopt);
  EXPECT_EQ(PortIndexOfName("Trk5"), std::nullopt);
  EXPECT_EQ(PortIndexOfName(""), std::nullopt);
}

class GenM1BlockTest : public ::testing::Test {
 protected:
  std::uint8_t Byte(std::size_t offset) const { return *block_.ByteAt(offset); }
  std::uint32_t Word(std::size_t offset) const { return *ReadU32(block_.bytes(), offset); }

  ConfigBlock block_{kBlockSize};
  GenM1Accessors a_;
};

TEST_F(GenM1BlockTest, TrunkTypeIsReadThroughTheGroupsTrunkEntry) {
  const std::size_t port4 = kPortRecords + 4 * kPortRecordSize;
  const std::size_t trk3 = kPortRecords + 28 * kPortRecordSize;
  block_.SetByteAt(trk3, 1);      // Trk3 disabled
  block_.SetByteAt(trk3 + 1, 8);  // Trk3 LACP
  ASSERT_EQ(a_.setNumber(block_, kM1PortTrunkGroup, 3, 4), ItemStatus::kOk);
  EXPECT_EQ(Byte(port4 + 3), 3);
  EXPECT_EQ(Byte(trk3), 0);  // storing the group enabled the entry
  EXPECT_EQ(a_.getNumber(block_, kM1PortTrunkType, 4), 1u);
  EXPECT_EQ(Byte(port4 + 1) & 8, 0);  // the port's own bit is not what is shown
  ASSERT_EQ(a_.setNumber(block_, kM1PortTrunkType, 1, 4), ItemStatus::kOk);
  EXPECT_EQ(Byte(port4 + 1), 8);
  // Group 0 reads record 25 (G-2) like any group; groups past 4 read
  // nothing past the trunk records.
  const std::size_t g2 = kPortRecords + 25 * kPortRecordSize;
  block_.SetByteAt(g2 + 1, 8);
  block_.SetByteAt(port4 + 3, 0);
  EXPECT_EQ(a_.getNumber(block_, kM1PortTrunkType, 4), 1u);
  block_.SetByteAt(g2 + 1, 0xF7);
  EXPECT_EQ(a_.getNumber(block_, kM1PortTrunkType, 4), 0u);
  block_.SetByteAt(g2 + 1, 8);
  block_.SetByteAt(port4 + 3, 250);
  EXPECT_EQ(a_.getNumber(block_, kM1PortTrunkType, 4), 0u);
  EXPECT_EQ(a_.setNumber(block_, kM1PortTrunkGroup, 5, 4), ItemStatus::kOutOfRange);
}

TEST_F(GenM1BlockTest, TosInspectionByPortGroup) {
  ASSERT_EQ(a_.setNumber(block_, kM1InspectTosPortGroup, 1, 1), ItemStatus::kOk);
  for (std::size_t i = 0; i < 30; ++i) {
    EXPECT_EQ(Byte(865 + i), i >= 8 && i <= 15 ? 1 : 0) << i;
  }
  block_.SetByteAt(865 + 25, 3);
  EXPECT_EQ(a_.getNumber(block_, kM1InspectTosPortGroup, 4), 1u);
  EXPECT_EQ(a_.getNumber(block_, kM1InspectTosPortGroup, 3), 0u);
  ASSERT_EQ(a_.setNumber(block_, kM1InspectTosPortGroup, 0, 4), ItemStatus::kOk);
  EXPECT_EQ(Byte(865 + 25), 2);  // the CoS bit stays
  EXPECT_EQ(a_.getNumber(block_, kM1InspectCos, 25), 1u);
  EXPECT_EQ(a_.setNumber(block_, kM1InspectTosPortGroup, 1, 5), ItemStatus::kNotHandled);
}

TEST_F(GenM1BlockTest, VidListsAscendingWithTrailingComma) {
  for (std::uint16_t vid : {88, 2, 54}) ASSERT_TRUE(EnsureVlanEntry(block_, vid));
  for (std::size_t v = 0; v < 3; ++v) {
    block_.SetByteAt(kVlanTable + v * kVlanEntrySize + kVlanMembership + 7, kFixedMember);
  }
  EXPECT_EQ(*ReadU16(block_.bytes(), kVlanTable), 0x8000 | 0x1000 | 88);
  EXPECT_EQ(a_.getText(block_, kM1FixVid, 7), "2,54,88,");
  EXPECT_EQ(a_.getText(block_, kM1FrbVid, 7), "");
  EXPECT_EQ(a_.getText(block_, kM1FixVid, 6), "");
}

TEST_F(GenM1BlockTest, VidListStoreRules) {
  SetItemContext trunk;
  trunk.portTypeIsTrunk = true;
  const auto store = [&](ConfigItemId id, std::size_t port, const char* list, bool isTrunk) {
    SetItemContext context;
    context.portTypeIsTrunk = isTrunk;
    return a_.setItem(block_, id, port, ItemValue(std::string(list)), context);
  };
  ASSERT_EQ(a_.setNumber(block_, kM1VlanPvid, 10, 3), ItemStatus::kOk);  // entry 0: VID 10
  EXPECT_EQ(store(kM1FixVid, 3, "20,30", false), ItemStatus::kOutOfRange);
  EXPECT_EQ(store(kM1FixVid, 3, "", false), ItemStatus::kOk);
  ASSERT_EQ(store(kM1FixVid, 3, "20,30", true), ItemStatus::kOk);
  EXPECT_EQ(*ReadU16(block_.bytes(), kVlanTable + kVlanEntrySize), 0x9000 | 20);
  EXPECT_EQ(Byte(kVlanTable + kVlanEntrySize + kVlanMembership + 3), kFixedMember);
  ASSERT_EQ(store(kM1FrbVid, 3, "40", true), ItemStatus::kOk);
  EXPECT_EQ(*ReadU16(block_.bytes(), kVlanTable + 3 * kVlanEntrySize), 0x8000 | 40);
  EXPECT_EQ(Byte(kVlanTable + 3 * kVlanEntrySize + kVlanMembership + 3), kForbiddenMember);
  EXPECT_EQ(store(kM1FrbVid, 3, "30", true), ItemStatus::kOutOfRange);        // fixed already
  EXPECT_EQ(store(kM1FixVid, 3, "50,10,60", true), ItemStatus::kOutOfRange);  // own PVID
  EXPECT_EQ(a_.getText(block_, kM1FixVid, 3), "20,30,50,");                   // 60 never applied
  EXPECT_EQ(store(kM1FixVid, 3, "4095", true), ItemStatus::kOutOfRange);
  EXPECT_EQ(store(kM1FixVid, 3, "0", true), ItemStatus::kOutOfRange);
  // A full table refuses a new VID.
  for (std::uint16_t vid = 100; vid < 200; ++vid) EnsureVlanEntry(block_, vid);
  EXPECT_EQ(store(kM1FixVid, 4, "3000", true), ItemStatus::kOutOfRange);
}

TEST_F(GenM1BlockTest, NewVlanEntriesClearTheirMembership) {
  const std::size_t entry = kVlanTable;
  block_.SetByteAt(entry + 1, 0x60);  // bits 13, 14 kept
  block_.SetByteAt(entry + kVlanMembership + 29, 0xFF);
  ASSERT_EQ(a_.setNumber(block_, D_CONF_VLAN_SYS_VID, 77), ItemStatus::kOk);
  EXPECT_EQ(*ReadU16(block_.bytes(), entry), 0xF000 | 77);
  EXPECT_EQ(Byte(entry + kVlanMembership + 29), 0);
  EXPECT_EQ(*ReadU16(block_.bytes(), 682), 77);
  ASSERT_EQ(a_.setNumber(block_, kM1VlanPvid, 77, 0), ItemStatus::kOk);
  EXPECT_FALSE(ReadU16(block_.bytes(), entry + kVlanEntrySize).value() & kVlanValid);
}

TEST_F(GenM1BlockTest, FlagWordAndRelays) {
  ASSERT_EQ(a_.setNumber(block_, kM1WebConfig, 0), ItemStatus::kOk);
  EXPECT_EQ(Word(24), 0x10u);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_ETH_FLAG_WEBA8), 0u);
  a_.setNumber(block_, kIpConfigMode, 2);
  a_.setNumber(block_, kM1CfFirmEn, 1);
  EXPECT_EQ(a_.setNumber(block_, kM1CfFirmEn, 7), ItemStatus::kOutOfRange);
  EXPECT_EQ(Word(24), 0x10u | 0x2u | 0x200u);
  EXPECT_EQ(a_.getNumber(block_, kIpConfigMode), 2u);
  // Power input 2 as relay 2: bit 5 in both words, DI 1 (bit 6) kept.
  a_.setNumber(block_, kM1RwDi1N2F, 1);
  ASSERT_EQ(a_.setNumber(block_, kM1PowerInput2Failure, 2), ItemStatus::kOk);
  EXPECT_EQ(Word(5472), 0x60u);
  EXPECT_EQ(Word(5476), 0x20u);
  EXPECT_EQ(a_.getNumber(block_, kM1PowerInput2Failure), 2u);
  EXPECT_EQ(a_.getNumber(block_, kM1RwDi1N2F), 1u);
  ASSERT_EQ(a_.setNumber(block_, kM1RwPortLink, 4, 3), ItemStatus::kOk);
  EXPECT_EQ(Byte(5480 + 3), 2);
  EXPECT_EQ(Byte(5510 + 3), 2);
  ASSERT_EQ(a_.setNumber(block_, kM1RwPortTraf, 1, 3), ItemStatus::kOk);
  EXPECT_EQ(Byte(5480 + 3), 6);
  EXPECT_EQ(a_.getNumber(block_, kM1RwPortLink, 3), 4u);
}

TEST_F(GenM1BlockTest, PasswordsAreBlank16FieldsOfTheirOwn) {
  const ConfigBlock empty = block_;
  EXPECT_EQ(a_.setText(block_, kPasswordField, "x", 2), ItemStatus::kNotHandled);
  EXPECT_EQ(block_, empty);
  a_.setText(block_, kM1TrapCommunity, "community");
  ASSERT_EQ(a_.setText(block_, kPasswordField, "0123456789abcdef", 1), ItemStatus::kOk);
  EXPECT_EQ(a_.getText(block_, kM1TrapCommunity), "community");  // offset 108 untouched
  EXPECT_EQ(a_.getText(block_, kPasswordField, 1), "0123456789abcdef");
  ASSERT_EQ(a_.setText(block_, kPasswordField, "ab", 0), ItemStatus::kOk);
  EXPECT_EQ(Byte(76), 'a');
  EXPECT_EQ(Byte(78), 0);
  EXPECT_EQ(Byte(79), ' ');
  EXPECT_EQ(Byte(91), ' ');
}

TEST_F(GenM1BlockTest, ListsStayInsideTheirRecords) {
  // The trunk indices have no 802.1X or rate byte: theirs would lie in user 0 / at 21008.
  a_.setText(block_, kM1Dot1xDbUser, "operator", 0);
  EXPECT_EQ(Byte(kDot1xUsers + kDot1xUsedFlag), 1);
  const ConfigBlock before = block_;
  EXPECT_EQ(a_.setNumber(block_, kM1Dot1xEnable, 1, 26), ItemStatus::kNotHandled);
  EXPECT_EQ(a_.setNumber(block_, kM1RliSet, 9, 29), ItemStatus::kNotHandled);
  EXPECT_EQ(a_.setNumber(block_, kM1StpCost, 9, 30), ItemStatus::kNotHandled);
  EXPECT_EQ(a_.setNumber(block_, kM1TosMap, 1, 64), ItemStatus::kNotHandled);
  EXPECT_EQ(a_.setText(block_, kM1Dot1xDbUser, "x", 32), ItemStatus::kNotHandled);
  EXPECT_EQ(block_, before);
  ASSERT_EQ(a_.setNumber(block_, kM1Dot1xEnable, 1, 25), ItemStatus::kOk);
  EXPECT_EQ(Byte(17096 + 100), 1);
  // Values the fields cannot hold are refused, never cut.
  EXPECT_EQ(a_.setNumber(block_, kM1Dot1xReAuthPeriod, 65536), ItemStatus::kOutOfRange);
  EXPECT_EQ(a_.setNumber(block_, kM1PortSpeed, 7, 0), ItemStatus::kOutOfRange);
  EXPECT_EQ(a_.setNumber(block_, kM1MfbMode, 4, 0), ItemStatus::kOutOfRange);
  EXPECT_EQ(a_.setNumber(block_, kM1RwTrafDuration, 0x10000, 0), ItemStatus::kOutOfRange);
  ASSERT_EQ(a_.setNumber(block_, kM1RwTrafDuration, 300, 1), ItemStatus::kOk);
  EXPECT_EQ(*ReadU16(block_.bytes(), 5540 + 4 + 2), 300);
  // A short block is never read or written past its end.
  ConfigBlock shortBlock(5000);
  EXPECT_EQ(a_.getNumber(shortBlock, kM1StpCost, 0), std::nullopt);
  EXPECT_EQ(a_.setNumber(shortBlock, kM1StpCost, 5, 0), ItemStatus::kOutsideBlock);
  EXPECT_EQ(a_.getText(shortBlock, kM1FixVid, 0), std::nullopt);
}

TEST_F(GenM1BlockTest, SnmpAndMiscellaneousEncodings) {
  ASSERT_EQ(a_.setNumber(block_, D_CONF_SNMP_VERSION, 2), ItemStatus::kOk);
  EXPECT_EQ(Byte(16992), 4);
  block_.SetByteAt(16992, 7);
  EXPECT_EQ(a_.getNumber(block_, D_CONF_SNMP_VERSION), std::nullopt);
  a_.setNumber(block_, D_CONF_SNMP_V3UADEE, 1);
  a_.setNumber(block_, D_CONF_SNMP_V3AADEE, 1);
  EXPECT_EQ(Byte(16993), 0x11);
  a_.setNumber(block_, kM1BspEnable, 1);
  a_.setNumber(block_, kM1IncludeMulticast, 1);
  EXPECT_EQ(Word(21008), 7u);
  block_.SetByteAt(20784 + 8, 5);
  EXPECT_EQ(a_.getNumber(block_, kM1GmrpEnable, 2), 0u);
  a_.setNumber(block_, kM1AccessIp, MakeIpv4(10, 0, 0, 1), 9);
  a_.setNumber(block_, kM1AccessIpNetmask, MakeIpv4(255, 0, 0, 0), 9);
  EXPECT_EQ(a_.getText(block_, kM1AccessIp, 9), "10.0.0.1/255.0.0.0");
  EXPECT_EQ(a_.getText(block_, kM1AccessIp, 8), "");
  for (std::size_t i = 140; i < 180; ++i) block_.SetByteAt(i, 0xAB);
  a_.setText(block_, D_CONF_ETH_NAMEA8, "Line 4 \r \r");
  EXPECT_EQ(a_.getText(block_, D_CONF_ETH_NAMEA8), "Line 4");
  // NUL-filled up to byte 31 of the 40-byte slot; bytes 32-39 stay.
  for (std::size_t i = 140 + 6; i < 140 + 32; ++i) EXPECT_EQ(Byte(i), 0) << i;
  for (std::size_t i = 140 + 32; i < 180; ++i) EXPECT_EQ(Byte(i), 0xAB) << i;
}

}  // namespace
}  // namespace vantrell::gen_m1

namespace vantrell::gen_m1 {
namespace {

TEST(GenM1ClearListTables, EmptiesTheTablesAFileReplaces) {
  ConfigBlock block(kBlockSize);
  GenM1Accessors a;
  a.setText(block, item::kM1Dot1xDbUser, "user", 31);
  block.SetByteAt(kUnicastTable + 127 * kStaticEntrySize + kStaticUsed, 1);
  block.SetByteAt(kMulticastTable + 5 * kStaticEntrySize + kStaticUsed, 1);
  WriteU16(block.bytes(), kVlanTable + 63 * kVlanEntrySize, 0xF000 | 4094);
  block.SetByteAt(kVlanTable + 63 * kVlanEntrySize + kVlanMembership + 29, kFixedMember);
  block.SetByteAt(kVlanTable + 63 * kVlanEntrySize + 34, 0x55);  // carried
  WriteU16(block.bytes(), kIgmpTable + 2 * kIgmpEntrySize, kIgmpSnooping | 77);
  block.SetByteAt(kPortRecords + 29 * kPortRecordSize, 1);
  block.SetByteAt(kPortRecords + 25 * kPortRecordSize, 1);  // G-2 is no trunk entry
  ClearListTables(block);
  EXPECT_EQ(block.ByteAt(kDot1xUsers + 31 * kDot1xUserSize + kDot1xUsedFlag), 0);
  EXPECT_EQ(a.getText(block, item::kM1Dot1xDbUser, 31), "user");
  EXPECT_EQ(block.ByteAt(kUnicastTable + 127 * kStaticEntrySize + kStaticUsed), 0);
  EXPECT_EQ(block.ByteAt(kMulticastTable + 5 * kStaticEntrySize + kStaticUsed), 0);
  EXPECT_EQ(ReadU16(block.bytes(), kVlanTable + 63 * kVlanEntrySize), 0x7000);
  EXPECT_EQ(block.ByteAt(kVlanTable + 63 * kVlanEntrySize + kVlanMembership + 29), 0);
  EXPECT_EQ(block.ByteAt(kVlanTable + 63 * kVlanEntrySize + 34), 0x55);
  EXPECT_EQ(ReadU16(block.bytes(), kIgmpTable + 2 * kIgmpEntrySize), kIgmpSnooping);
  EXPECT_EQ(block.ByteAt(kPortRecords + 29 * kPortRecordSize), 0);
  EXPECT_EQ(block.ByteAt(kPortRecords + 25 * kPortRecordSize), 1);
  ConfigBlock shortBlock(100);
  ClearListTables(shortBlock);  // nothing to clear, nothing touched
  EXPECT_EQ(shortBlock, ConfigBlock(100));
}

}  // namespace
}  // namespace vantrell::gen_m1
