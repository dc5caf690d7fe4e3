#include "config/a8vlan_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrell {
namespace {

TEST(A8VlanTable, VidListText) {
  EXPECT_EQ(a8vlan::ParseVidList("5,,x7"), (std::vector<std::uint16_t>{5, 7}));
  EXPECT_EQ(a8vlan::ParseVidList("0,4095"), std::vector<std::uint16_t>{});
  EXPECT_EQ(a8vlan::ParseVidList("2,88,54"), (std::vector<std::uint16_t>{2, 88, 54}));
  EXPECT_FALSE(a8vlan::ParseVidList("").has_value());
  EXPECT_FALSE(a8vlan::ParseVidList("\r5").has_value());
  // A digit run longer than seven digits keeps its first seven: out of range.
  EXPECT_EQ(a8vlan::ParseVidList("123456789,3"), std::vector<std::uint16_t>{3});
  std::string many;
  for (int i = 1; i <= 70; ++i) many += std::to_string(i) + ",";
  EXPECT_EQ(a8vlan::ParseVidList(many)->size(), 64u);
}

std::vector<std::uint8_t> A8Block() { return std::vector<std::uint8_t>(8508, 0); }

void SetEntry(std::vector<std::uint8_t>& b, std::size_t e, std::uint16_t word,
              std::uint32_t members) {
  WriteU16(b, a8vlan::EntryOffset(e), word);
  WriteU32(b, a8vlan::EntryOffset(e) + 4, members);
}

TEST(A8VlanTable, VlanTableUpkeepAndLists) {
  auto b = A8Block();
  SetEntry(b, 0, 0x8000 | 1, 0);
  SetEntry(b, 1, 0x6000, 0xFFFF);  // free, bits 13 and 14 set
  // PVID 100: the first free entry becomes valid (bits 15, 12), VID 100, no members.
  EXPECT_EQ(a8vlan::WritePvid(b, 3, 100), ItemStatus::kOk);
  EXPECT_EQ(*ReadU32(b, a8vlan::PortWordOffset(3)), 100u);
  EXPECT_EQ(*ReadU16(b, a8vlan::EntryOffset(1)), 0xF000 | 100);
  EXPECT_EQ(*ReadU32(b, a8vlan::EntryOffset(1) + 4), 0u);
  // Storing it again changes nothing.
  EXPECT_EQ(a8vlan::WritePvid(b, 4, 100), ItemStatus::kOk);
  EXPECT_EQ(*ReadU16(b, a8vlan::EntryOffset(2)), 0);
  EXPECT_EQ(a8vlan::WritePvid(b, 4, 4095), ItemStatus::kOutOfRange);
  // Lists leave out VIDs 0 and 4095 and list 4094.
  SetEntry(b, 2, 0x8000 | 4095, a8vlan::FixedBit(2));
  SetEntry(b, 3, 0x8000 | 0, a8vlan::FixedBit(2));
  SetEntry(b, 4, 0x8000 | 4094, a8vlan::FixedBit(2));
  SetEntry(b, 5, 0x0000 | 7, a8vlan::FixedBit(2));  // not valid
  EXPECT_EQ(a8vlan::FormatVidList(b, 2, a8vlan::Membership::kFixed), "4094");
  EXPECT_EQ(a8vlan::FormatVidList(b, 2, a8vlan::Membership::kForbidden), "");
  a8vlan::ClearTable(b);
  EXPECT_EQ(*ReadU16(b, a8vlan::EntryOffset(4)), 4094);
  EXPECT_EQ(*ReadU32(b, a8vlan::EntryOffset(4) + 4), 0u);
}

TEST(A8VlanTable, VlanUpkeepWithFullTableChangesNothing) {
  auto b = A8Block();
  for (std::size_t e = 0; e < a8vlan::kEntries; ++e) SetEntry(b, e, 0x8000 | (e + 1), 0);
  const auto before = b;
  a8vlan::EnsureEntry(b, 999);
  EXPECT_EQ(b, before);
  EXPECT_EQ(a8vlan::WriteManagementVid(b, 999), ItemStatus::kOk);
  EXPECT_EQ(*ReadU16(b, a8vlan::kManagementVid), 999);
}

}  // namespace
}  // namespace vantrell
