#include "config/gen_m1_schema.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "config/config_item_ids.h"
#include "config/gen_m1_block.h"

namespace vantrell {
namespace gen_m1 {
namespace {

std::size_t EntriesOf(const Setting& row) {
  switch (row.shape) {
    case KeyShape::kSingle:
      return 1;
    case KeyShape::kPerPort:
      return kPortCount;
    case KeyShape::kNumbered:
      return row.last - row.first + 1;
  }
  return 0;
}

TEST(GenM1Schema, EveryKeyOfEveryRowFindsThatRowAndEntry) {
  // A key that another row shadows would be read into the wrong item.
  for (const Setting& row : Schema()) {
    for (std::size_t n = 0; n < EntriesOf(row); ++n) {
      const std::size_t index = row.shape == KeyShape::kSingle ? row.listIndex : n;
      const std::string key = KeyOf(row, index);
      const auto match = MatchKey(key);
      ASSERT_TRUE(match) << key;
      EXPECT_EQ(match->row, &row) << key;
      EXPECT_EQ(match->listIndex, index) << key;
    }
  }
}

TEST(GenM1Schema, KeysAsTheFilesSpellThem) {
  EXPECT_EQ(KeyOf(*MatchKey("Port_G-2_EN")->row, 25), "Port_G-2_EN");
  EXPECT_EQ(MatchKey("STP_EN_Trk4")->listIndex, 29u);
  EXPECT_EQ(MatchKey("AccessIp_10")->listIndex, 9u);
  EXPECT_EQ(MatchKey("ToSMap_63")->listIndex, 63u);
  EXPECT_EQ(MatchKey("InspectTosPortGroup_5")->listIndex, 4u);
  EXPECT_EQ(MatchKey("2nd_e-mail_address")->listIndex, 1u);
  EXPECT_EQ(MatchKey("AdminPassword")->listIndex, 1u);
  // Only the writer's spellings: no other case, no leading zero, no gaps.
  for (const char* key : {"Port_g-2_EN", "STP_EN_Trk5", "ToSMap_64", "ToSMap_07", "AccessIp_0",
                          "InspectTosPortGroup_0", "Port__EN", "switchname", "CoSMap_"}) {
    EXPECT_FALSE(MatchKey(key)) << key;
  }
  EXPECT_EQ(CanonicalNumber("120"), 120u);
  EXPECT_FALSE(CanonicalNumber("1000"));
  EXPECT_FALSE(CanonicalNumber("+1"));
}

TEST(GenM1Schema, EachSectionIsOneRunOfRows) {
  // The writer writes a section's rows from its first to its last: a row
  // placed apart from its section would be read but never written.
  for (std::size_t i = 0; i < Schema().size(); ++i) {
    const Section section = Schema()[i].section;
    const auto rows = SectionRows(section);
    EXPECT_GE(&Schema()[i], rows.data()) << Schema()[i].key;
    EXPECT_LT(&Schema()[i], rows.data() + rows.size()) << Schema()[i].key;
  }
  EXPECT_EQ(SectionRows(Section::kTrunk).size(), 2u);
  EXPECT_EQ(SectionRows(Section::kTrunk)[1].id, item::kM1PortTrunkGroup);
  EXPECT_TRUE(SectionRows(Section::kTrunk)[0].passOne);
}

TEST(GenM1Schema, LegendPlaceholdersTakeTheRowsRule) {
  const Setting& period = *MatchKey("Dot1x_ReAuthPeriod")->row;
  EXPECT_EQ(LegendText("# \t--> Range {low} to {high}\n", period), "# \t--> Range 60 to 65535\n");
  EXPECT_EQ(LegendText("{max} {max}", *MatchKey("Location")->row), "80 80");
  EXPECT_EQ(LegendText("no placeholder {n}", period), "no placeholder {n}");
}

TEST(GenM1Schema, LegendsStateTheRangesAndLengthsTheReaderChecks) {
  const std::regex range(R"(Range (\d+) to (\d+))");
  const std::regex length(R"([Mm]ax\. length =? ?(\d+))");
  int ranges = 0;
  int lengths = 0;
  for (const Setting& row : Schema()) {
    const std::string legend = LegendText(row.legend.head, row) +
                               LegendText(row.legend.choices, row) +
                               LegendText(row.legend.tail, row);
    std::smatch m;
    if (row.rule.rule == Rule::kRange && std::regex_search(legend, m, range)) {
      ++ranges;
      // HelloTime has always taken 0, below its legend's 1.
      const int low = row.key == "HelloTime" ? 1 : row.rule.min;
      EXPECT_EQ(std::stoi(m[1]), low) << row.key;
      EXPECT_EQ(std::stoi(m[2]), row.rule.max) << row.key;
    }
    if (row.rule.rule == Rule::kText && std::regex_search(legend, m, length)) {
      ++lengths;
      EXPECT_EQ(std::stoi(m[1]), row.rule.max) << row.key;
    }
  }
  EXPECT_EQ(ranges, 16);
  EXPECT_EQ(lengths, 21);
}

TEST(GenM1Schema, TrunkMembersGetFixedValuesOnlyForPerPortRows) {
  for (const Setting& row : Schema()) {
    if (row.memberValue) {
      EXPECT_EQ(row.shape, KeyShape::kPerPort) << row.key;
    }
  }
  EXPECT_EQ(*MatchKey("STP_ID_1-1")->row->memberValue, 128u);  // priority 8 of 0..15
}

}  // namespace
}  // namespace gen_m1
}  // namespace vantrell
