#include "config/gen_a_schema.h"

#include <gtest/gtest.h>

#include <string>

#include "config/config_catalogue.h"
#include "config/gen_a1_layout.h"
#include "config/gen_a2_layout.h"
#include "config/gen_a_schema_reader.h"
#include "config/gen_a_schema_writer.h"

namespace vantrell::a8schema {
namespace {

using namespace item;

const Row& RowAt(Section section, std::string_view key) {
  const Row* row = FindRow(section, key);
  EXPECT_NE(row, nullptr) << key;
  static const Row kNone{};
  return row ? *row : kNone;
}

TEST(A8Schema, NumberedRowsNameTheirItemsAndKeys) {
  const Row& speed = RowAt(Section::kPorts, "Port{}_Speed");
  EXPECT_EQ(KeyOf(speed, 3), "Port3_Speed");
  EXPECT_EQ(ItemOf(speed, 3), PcfgSpeed(3));
  const Row& pvid = RowAt(Section::kVlan, "VLANPvid{}");
  EXPECT_EQ(ItemOf(pvid, 8), D_CONF_VLAN_PVID8);
  const Row& cos = RowAt(Section::kCosMap, "CosMap{}");
  EXPECT_EQ(KeyOf(cos, 0), "CosMap0");
  EXPECT_EQ(ItemOf(cos, 7), D_CONF_COSMAP7);
  // The trunks follow the ports in GenA2 only.
  const Row& stp = RowAt(Section::kSpanningTreePorts, "STP_EN{}");
  EXPECT_EQ(ItemOf(stp, 9), D_CONF_ETH_SPAN_TRK1_EN);
  EXPECT_EQ(LastNumber(stp, Gen::kA1), 8);
  EXPECT_EQ(LastNumber(stp, Gen::kA2), 12);
  const Row& deviceIp = RowAt(Section::kDeviceIp, "Device{}_IP");
  EXPECT_EQ(ItemOf(deviceIp, 12), D_CONF_ETH_PCFG_DEVIP12);
  EXPECT_EQ(Numbered("# [Trk {}]\n", 2), "# [Trk 2]\n");
  EXPECT_EQ(Numbered("SwitchName", 0), "SwitchName");
}

TEST(A8Schema, RulesDifferOnlyWhereTheGenerationsDo) {
  const Row& ringPort = RowAt(Section::kRing, "ZorvelRingPort1");
  EXPECT_EQ(RuleOf(ringPort, Gen::kA2).range.high, 12);  // ports and trunks
  EXPECT_EQ(RuleOf(ringPort, Gen::kA1).range.high, 8);
  const Row& bridge = RowAt(Section::kSpanningTree, "BridgeId");
  EXPECT_EQ(RuleOf(bridge, Gen::kA2).factor, 4096u);
  EXPECT_EQ(RuleOf(bridge, Gen::kA1).check, Check::kUnchecked);
  const Row& name = RowAt(Section::kSystem, "SwitchName");
  EXPECT_EQ(&RuleOf(name, Gen::kA1), &RuleOf(name, Gen::kA2));
  EXPECT_EQ(name.rule.range.high, 30);
  EXPECT_EQ(name.group, validation::kSystem);
}

TEST(A8Schema, KeysAreTheCatalogueKeysOfTheNamesGenA1Comments) {
  int named = 0;
  for (const Row& row : Rows()) {
    if (row.a1.comment.empty()) continue;
    ++named;
    EXPECT_EQ(catalogueFileKey(row.a1.comment), KeyOf(row, row.first)) << row.a1.comment;
  }
  EXPECT_GT(named, 20);
}

TEST(A8Schema, LegendsEndTheirLinesAndBlocksShareTheirNumbers) {
  const auto rows = Rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(std::string(row.key));
    for (const Layout* layout : {&row.a1, &row.a2}) {
      std::string legend;
      for (std::string_view piece : layout->legend) legend += piece;
      if (!legend.empty()) {
        EXPECT_EQ(legend.back(), '\n');
      }
    }
    EXPECT_EQ(row.key.find("{}") != std::string_view::npos, row.last != 0);
    if (row.withPrevious) {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(row.first, rows[i - 1].first);
      EXPECT_EQ(LastNumber(row, Gen::kA1), LastNumber(rows[i - 1], Gen::kA1));
      EXPECT_EQ(LastNumber(row, Gen::kA2), LastNumber(rows[i - 1], Gen::kA2));
    }
  }
}

TEST(A8Schema, RuleNumberReadsTheTokenAsTheRuleSays) {
  EXPECT_EQ(RuleNumber(Between(0, 15), "12abc"), 12u);
  EXPECT_FALSE(RuleNumber(Between(0, 15), "16"));
  EXPECT_FALSE(RuleNumber(Between(0, 15), "-1"));
  EXPECT_EQ(RuleNumber(Between(0, 15, 4096), "2"), 8192u);
  EXPECT_EQ(RuleNumber(HexUpTo(0x20), "1f"), 0x1Fu);
  EXPECT_FALSE(RuleNumber(HexUpTo(7), "8"));
  EXPECT_EQ(RuleNumber(kUnchecked, "-1"), 0xFFFFFFFFu);
  EXPECT_FALSE(RuleNumber(TextUpTo(3), "1"));
}

TEST(A8SchemaWriter, LegendsTakeTheLimitsFromTheRule) {
  EXPECT_EQ(FillRuleValues("# \t--> Range {low} to {high}\n", Between(6, 40)),
            "# \t--> Range 6 to 40\n");
  EXPECT_EQ(FillRuleValues("max. length = {max} words {n}", TextUpTo(80)),
            "max. length = 80 words {n}");
  EXPECT_EQ(FillRuleValues("# {low", Between(1, 2)), "# {low");
}

/// Writes one section of a block with the rows' default layout.
std::string WrittenSection(Gen gen, Section section, const ConfigBlock& block,
                           const ItemAccessors& accessors) {
  std::string out;
  SchemaFileWriter writer(gen, out, block, accessors);
  writer.WriteRows(section);
  return out;
}

TEST(A8SchemaWriter, TheSameRowsInEachGenerationsLayout) {
  GenA2Accessors a2;
  ConfigBlock block2(gen_a2::kBlockSize);
  a2.setNumber(block2, D_CONF_ETH_DTIME_TZONE, 5);
  a2.setNumber(block2, D_CONF_ETH_DTIME_PERIOD, 600);
  EXPECT_EQ(WrittenSection(Gen::kA2, Section::kTime, block2, a2),
            "TimeZone\t\t\t5\r\n\r\n"
            "# [1stTimeSrv]: 1st Time Server IP/Name\r\n# \t--> max. length = 30 words.\r\n"
            "1stTimeSrv\t\t\t\r\n\r\n"
            "# [2ndTimeSrv]: 2nd Time Server IP/Name\r\n2ndTimeSrv\t\t\t\r\n\r\n"
            "# [QueryTimePeriod]: Time Server Query Period\r\n# \t--> Range 1 to 9999\r\n"
            "# \t--> unit is second.\r\nQueryTimePeriod\t\t600\r\n\r\n");
  GenA1Accessors a1;
  ConfigBlock block1(8508);
  a1.setNumber(block1, D_CONF_PORT_LOCK1 + 1, 1);
  const std::string lock = WrittenSection(Gen::kA1, Section::kPortLock, block1, a1);
  const std::string firstTwo =
      "# \t-> Unlock : 0\r\n# \t-> Lock   : 1\r\n# [Port Lock]\r\n"
      "# Lock Port 1\r\nLockPort1\t0\r\n\r\n# Lock Port 2\r\nLockPort2\t1\r\n\r\n";
  EXPECT_EQ(lock.substr(0, firstTwo.size()), firstTwo);
}

}  // namespace
}  // namespace vantrell::a8schema
