#include "config/gen_a1_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace vantrell {
namespace {

using namespace item;

constexpr std::size_t kSize = 8508;

std::uint16_t U16At(const ConfigBlock& b, std::size_t at) { return *ReadU16(b.bytes(), at); }
std::uint32_t U32At(const ConfigBlock& b, std::size_t at) { return *ReadU32(b.bytes(), at); }

void SetVlanEntry(ConfigBlock& b, std::size_t e, std::uint16_t word, std::uint32_t members) {
  WriteU16(b.bytes(), a8vlan::EntryOffset(e), word);
  WriteU32(b.bytes(), a8vlan::EntryOffset(e) + 4, members);
}

TEST(GenA1Layout, EveryFieldLiesInsideTheBlockAndIdsAreUnique) {
  std::set<ConfigItemId> ids;
  for (const ItemField& row : GenA1Layout()) {
    EXPECT_TRUE(ids.insert(row.id).second) << row.id;
    // The VLAN items, and only they, are the accessors' code.
    EXPECT_EQ(row.field.kind == FieldKind::kHook, IsGenA1VlanItem(row.id)) << row.id;
    if (row.field.kind != FieldKind::kHook) {
      EXPECT_TRUE(FieldInside(kSize, row.field)) << row.id;
    }
  }
  EXPECT_EQ(MakeGenA1Accessors()->blockSize(), kSize);
}

TEST(GenA1Layout, FlagWordModeAndInvertedFlags) {
  GenA1Accessors a;
  ConfigBlock b(kSize);
  WriteU32(b.bytes(), 24, 0x31);  // DHCP, web and telnet off
  EXPECT_EQ(a.getNumber(b, D_CONF_ETH_FLAG_AUTOIP), 1u);
  EXPECT_EQ(a.getNumber(b, D_CONF_ETH_FLAG_WEBA8), 0u);
  EXPECT_EQ(a.getNumber(b, D_CONF_ETH_FLAG_TELNETA8), 0u);
  EXPECT_EQ(a.setNumber(b, D_CONF_ETH_FLAG_AUTOIP, 2), ItemStatus::kOk);
  EXPECT_EQ(a.setNumber(b, D_CONF_ETH_FLAG_WEBA8, 1), ItemStatus::kOk);
  EXPECT_EQ(U32At(b, 24), 0x22u);
  // Items 447/448 are the A8/R8 web/telnet flags; the D8 IDs are not handled.
  EXPECT_EQ(a.setNumber(b, D_CONF_ETH_FLAG_WEB, 1), ItemStatus::kNotHandled);
}

TEST(GenA1Layout, PortRecordDisableMdiFdxSpeed) {
  GenA1Accessors a;
  ConfigBlock b(kSize);
  const std::size_t rec = a1::PortRecord(3);
  EXPECT_EQ(rec, 3448u + 136u);
  b.SetByteAt(rec, 1);  // disabled
  b.SetByteAt(rec + 1, 0xF8);
  b.SetByteAt(rec + 2, 0x11);
  EXPECT_EQ(a.getNumber(b, PcfgDisable(3)), 0u);
  EXPECT_EQ(a.setNumber(b, PcfgDisable(3), 1), ItemStatus::kOk);
  EXPECT_EQ(*b.ByteAt(rec), 0);
  EXPECT_EQ(a.setNumber(b, PcfgFlag(3), 2), ItemStatus::kOk);
  EXPECT_EQ(a.setNumber(b, PcfgFdx(3), 1), ItemStatus::kOk);
  EXPECT_EQ(*b.ByteAt(rec + 1), 0xFE);
  EXPECT_EQ(*b.ByteAt(rec + 2), 0x11);  // the speed byte is untouched by the FDX bit
  EXPECT_EQ(a.setNumber(b, PcfgFdx(3), 2), ItemStatus::kOk);  // only 1 sets a bit item
  EXPECT_EQ(*b.ByteAt(rec + 1), 0xFA);
}

TEST(GenA1Layout, BridgePriorityAndPortPriority) {
  GenA1Accessors a;
  ConfigBlock b(kSize);
  WriteU16(b.bytes(), 4910, 0x8000);
  EXPECT_EQ(a.getNumber(b, D_CONF_ETH_SPAN_BRIDGE_ID), 8u);
  EXPECT_EQ(a.setNumber(b, D_CONF_ETH_SPAN_BRIDGE_ID, 15), ItemStatus::kOk);
  EXPECT_EQ(U16At(b, 4910), 0xF000);
  EXPECT_EQ(a.setNumber(b, D_CONF_ETH_SPAN_BRIDGE_ID, 4096), ItemStatus::kOutOfRange);
  EXPECT_EQ(U16At(b, 4910), 0xF000);
  EXPECT_EQ(a.setNumber(b, SpanPortId(8), 9), ItemStatus::kOk);
  EXPECT_EQ(*b.ByteAt(4864 + 7), 0x90);
}

TEST(GenA1Layout, RelayChoiceOfPowerInputAndPortTraffic) {
  GenA1Accessors a;
  ConfigBlock b(kSize);
  WriteU32(b.bytes(), 5332, 0x10);
  WriteU32(b.bytes(), 5336, 0x10);
  EXPECT_EQ(a.getNumber(b, D_CONF_ETH_RELAY_SFLAG_POWER1), 2u);
  EXPECT_EQ(a.setNumber(b, D_CONF_ETH_RELAY_SFLAG_POWER1, 1), ItemStatus::kOk);
  EXPECT_EQ(U32At(b, 5332), 0x10u);
  EXPECT_EQ(U32At(b, 5336), 0u);
  EXPECT_EQ(a.setNumber(b, D_CONF_RELAY_SFLAG_DI2_OFF2ON, 2), ItemStatus::kOk);
  EXPECT_EQ(U32At(b, 5332), 0x210u);
  EXPECT_EQ(U32At(b, 5336), 0x200u);
  EXPECT_EQ(a.setNumber(b, RelayPortTraffic(2), 2), ItemStatus::kOk);
  EXPECT_EQ(a.setNumber(b, RelayPortLink(2), 3), ItemStatus::kOk);
  EXPECT_EQ(*b.ByteAt(5341), 0x06);
  EXPECT_EQ(*b.ByteAt(5349), 0x04);
  EXPECT_EQ(a.getNumber(b, RelayPortLink(2)), 3u);
}

TEST(GenA1Layout, IngressRecordAndEgressByteOfPort) {
  GenA1Accessors a;
  ConfigBlock b(kSize);
  b.SetByteAt(3412 + 4, 2);
  b.SetByteAt(3413 + 4, 0x23);
  EXPECT_EQ(a.getText(b, D_CONF_RATE_LIMIT_INGRESS_P2), "2 512K 0 1 0");
  EXPECT_EQ(a.setText(b, D_CONF_RATE_LIMIT_INGRESS_P2, "1 16M 1 0 1"), ItemStatus::kOk);
  EXPECT_EQ(*b.ByteAt(3416), 1);
  EXPECT_EQ(*b.ByteAt(3417), 0x53);
  EXPECT_EQ(a.setText(b, D_CONF_RATE_LIMIT_ENGRESS_RATE2, "8M"), ItemStatus::kOk);
  EXPECT_EQ(*b.ByteAt(3418), 7);
  b.SetByteAt(3418, 12);
  EXPECT_EQ(a.getText(b, D_CONF_RATE_LIMIT_ENGRESS_RATE2), std::nullopt);
}

TEST(GenA1Layout, AccessEntryReadsAddressAndNetmask) {
  GenA1Accessors a;
  ConfigBlock b(kSize);
  EXPECT_EQ(a.getText(b, D_CONF_GRANTIP_IP3), "");
  EXPECT_EQ(a.setText(b, D_CONF_GRANTIP_IP3, "192.168.127.253"), ItemStatus::kOk);
  EXPECT_EQ(a.setNumber(b, kGrantIpNetmask3, MakeIpv4(255, 255, 255, 0)), ItemStatus::kOk);
  EXPECT_EQ(*b.ByteAt(120), 192);
  EXPECT_EQ(*b.ByteAt(163), 0);
  EXPECT_EQ(a.getText(b, D_CONF_GRANTIP_IP3), "192.168.127.253/255.255.255.0");
}

TEST(GenA1Vlan, Pvid100CreatesItsEntry) {
  GenA1Accessors a;
  ConfigBlock b(kSize);
  SetVlanEntry(b, 0, 0x8001, 0x4);
  SetVlanEntry(b, 1, 0x6000, 0x55);  // free; bits 13 and 14 stay
  WriteU32(b.bytes(), a8vlan::PortWordOffset(2), 0xABCD1005);
  EXPECT_EQ(a.setNumber(b, D_CONF_VLAN_PVID2, 100), ItemStatus::kOk);
  EXPECT_EQ(U32At(b, a8vlan::PortWordOffset(2)), 0xABCD1064u);
  EXPECT_EQ(U16At(b, a8vlan::EntryOffset(1)), 0xF064);
  EXPECT_EQ(U32At(b, a8vlan::EntryOffset(1) + 4), 0u);
  EXPECT_EQ(a.getNumber(b, D_CONF_VLAN_PVID2), 100u);
  EXPECT_EQ(a.setNumber(b, D_CONF_VLAN_PVID2, 0), ItemStatus::kOutOfRange);
  EXPECT_EQ(a.setNumber(b, D_CONF_VLAN_SYS_VID, 7), ItemStatus::kOk);
  EXPECT_EQ(U16At(b, 7980), 7);
  EXPECT_EQ(U16At(b, a8vlan::EntryOffset(2)), 0x9007);
}

TEST(GenA1Vlan, FixedListAppliesOnlyAfterTheTypeWasStoredAsTrunk) {
  GenA1Accessors a;
  ConfigBlock b(kSize);
  SetVlanEntry(b, 0, 0x8000 | 88, 0);
  // Port 3's word says trunk, but its type was not stored since the clearing.
  EXPECT_EQ(a.setText(b, D_CONF_VLAN_FIXVID3, "2,88,54"), ItemStatus::kOk);
  EXPECT_EQ(U32At(b, a8vlan::EntryOffset(0) + 4), 0u);
  EXPECT_EQ(U16At(b, a8vlan::EntryOffset(1)), 0);
  // Stored as 0 (trunk): the port's fixed bit (bit 10) in 2, 88 and 54.
  EXPECT_EQ(a.setNumber(b, D_CONF_VLAN_TYPE3, 0), ItemStatus::kOk);
  EXPECT_TRUE(a.trunkFlag(3));
  EXPECT_EQ(a.setText(b, D_CONF_VLAN_FIXVID3, "2,88,54"), ItemStatus::kOk);
  EXPECT_EQ(U32At(b, a8vlan::EntryOffset(0) + 4), 0x400u);
  EXPECT_EQ(U16At(b, a8vlan::EntryOffset(1)), 0x9002);
  EXPECT_EQ(U32At(b, a8vlan::EntryOffset(1) + 4), 0x400u);
  EXPECT_EQ(U16At(b, a8vlan::EntryOffset(2)), 0x9036);
  EXPECT_EQ(a.getText(b, D_CONF_VLAN_FIXVID3), "88,2,54");
  // A forbidden VID keeps out of the fixed list; the forbidden list clears fixed bits.
  EXPECT_EQ(a.setText(b, D_CONF_VLAN_FRBVID3, "54,300"), ItemStatus::kOk);
  EXPECT_EQ(U32At(b, a8vlan::EntryOffset(2) + 4), 0x800u);
  EXPECT_EQ(U16At(b, a8vlan::EntryOffset(3)), 0x8000 | 300);
  EXPECT_EQ(a.setText(b, D_CONF_VLAN_FIXVID3, "54"), ItemStatus::kOk);
  EXPECT_EQ(U32At(b, a8vlan::EntryOffset(2) + 4), 0x800u);
  EXPECT_EQ(a.getText(b, D_CONF_VLAN_FRBVID3), "54,300");
  // Access type again: the lists stop applying; clearListTables clears the flag too.
  EXPECT_EQ(a.setNumber(b, D_CONF_VLAN_TYPE3, 1), ItemStatus::kOk);
  EXPECT_EQ(U32At(b, a8vlan::PortWordOffset(3)), 0x1000u);
  EXPECT_FALSE(a.trunkFlag(3));
  EXPECT_EQ(a.setNumber(b, D_CONF_VLAN_TYPE3, 0), ItemStatus::kOk);
  a.clearListTables(b);
  EXPECT_FALSE(a.trunkFlag(3));
  EXPECT_EQ(U16At(b, a8vlan::EntryOffset(0)), 88);
}

TEST(GenA1Vlan, ClearListTablesClearsUsedMarksOnly) {
  GenA1Accessors a;
  ConfigBlock b(kSize);
  for (std::size_t i = 0; i < kSize; ++i) b.SetByteAt(i, 0xFF);
  ConfigBlock before = b;
  a.clearListTables(b);
  std::size_t changed = 0;
  for (std::size_t i = 0; i < kSize; ++i) changed += *b.ByteAt(i) != *before.ByteAt(i);
  // 128 + 128 used bytes, 64 x (bit 15 of the VLAN word + 4 membership bytes).
  EXPECT_EQ(changed, 128u + 128u + 64u * 5u);
  EXPECT_EQ(*b.ByteAt(a1::UnicastEntry(127)), 0);
  EXPECT_EQ(*b.ByteAt(a1::MulticastEntry(0) + 1), 0xFF);
  EXPECT_EQ(U16At(b, a8vlan::EntryOffset(63)), 0x7FFF);
}

TEST(GenA1Layout, ShortBlockIsNeverReadOrWrittenOutside) {
  GenA1Accessors a;
  ConfigBlock b(5000);
  ItemValue v;
  EXPECT_EQ(a.getItem(b, D_CONF_ETH_WARN_SMTP_PASSWD, v), ItemStatus::kOutsideBlock);
  EXPECT_EQ(a.getItem(b, D_CONF_VLAN_FIXVID1, v), ItemStatus::kOutsideBlock);
  EXPECT_EQ(a.setNumber(b, D_CONF_VLAN_PVID1, 5), ItemStatus::kOutsideBlock);
  EXPECT_EQ(a.setNumber(b, D_CONF_ETH_SPAN_HELLO_TIME, 2), ItemStatus::kOk);
  a.clearListTables(b);  // no effect on a short block
}

}  // namespace
}  // namespace vantrell
