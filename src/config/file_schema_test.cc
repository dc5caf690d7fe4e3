#include "config/file_schema.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "config/export_notes.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

using namespace item;
namespace vf = validation;

/// Items kept in a map instead of a block; `refused` items take no write.
class MapAccessors final : public ItemAccessors {
 public:
  Generation generation() const override { return Generation::kGenD2; }

  std::map<ConfigItemId, ItemValue> items;
  std::set<ConfigItemId> refused;

 private:
  ItemStatus Get(const ConfigBlock&, ConfigItemId id, std::size_t, ItemValue& out) const override {
    const auto at = items.find(id);
    if (at == items.end()) return ItemStatus::kNotHandled;
    out = at->second;
    return ItemStatus::kOk;
  }
  ItemStatus Set(ConfigBlock&, ConfigItemId id, std::size_t, const ItemValue& value,
                 const SetItemContext&) override {
    if (refused.contains(id)) return ItemStatus::kOutOfRange;
    items[id] = value;
    return ItemStatus::kOk;
  }
};

enum Section { kAddresses = 1, kPorts = 2 };
constexpr std::uint32_t kVariantA = 1;
constexpr std::uint32_t kVariantB = 2;

bool WritesPort2(const SchemaContext& context, int n) { return n != 2 || context.modelId != 7; }

constexpr std::string_view kModes[] = {"off", "on", "auto"};

const SchemaRow kRows[] = {
    {.section = kAddresses,
     .item = VANTRELL_SCHEMA_ITEM(D_CONF_ETH_IPADDR),
     .format = format::Address(EmptyAddress::kNever),
     .group = vf::kNetwork,
     .line = {.comment = ItemCommentAt::kNone}},
    {.section = kAddresses,
     .item = VANTRELL_SCHEMA_ITEM(D_CONF_ETH_IPMASK),
     .format = format::Address(EmptyAddress::kWhenZero, ReadForm::kNetmask),
     .group = vf::kNetwork,
     .line = {.tabs = 2, .comment = ItemCommentAt::kNone}},
    {.section = kAddresses,
     .item = VANTRELL_SCHEMA_ITEM(D_CONF_ETH_NAME),
     .format = format::kText,
     .rule = MaxChars(5),
     .group = vf::kSystem,
     .legend = "# Name : (max. length {max} words).\n",
     .line = {.comment = ItemCommentAt::kNone}},
    {.section = kAddresses,
     .item = VANTRELL_SCHEMA_ITEM(D_CONF_ETH_WARN_SFLAG),
     .format = format::kHex,
     .rule = InRange(0, 0x3F),
     .group = vf::kEmailWarning,
     .line = {.comment = ItemCommentAt::kNone},
     .variants = kVariantB},
    {.section = kPorts,
     .item = Numbered("D_CONF_ETH_PCFG_DISABLE", PcfgDisable, "", 2),
     .format = format::kDecimal,
     .rule = kFlag,
     .group = vf::kPort,
     .legend = "# Port {n} : {low} or {high}\n",
     .line = {.comment = ItemCommentAt::kNone,
              .ending = Ending::kLine,
              .heading = "# [Port {n}]\n"}},
    {.section = kPorts,
     .item = Numbered("D_CONF_ETH_PCFG_SPEED", PcfgSpeed, "", 2),
     .format = format::kName,
     .rule = OneOf(kModes),
     .group = vf::kPort,
     .line = {.comment = ItemCommentAt::kNone, .withPrevious = true},
     .writes = WritesPort2},
};

struct SchemaFixture : ::testing::Test {
  std::string Write(std::uint32_t variant, std::uint16_t model = 0) {
    std::string out;
    ConfigTextWriter file(out);
    SchemaWriter writer(kRows, {variant, model}, file, record, block, accessors);
    writer.WriteSection(kAddresses);
    writer.WriteSection(kPorts);
    return out;
  }
  FileReadResult Read(std::string_view text, ProblemPolicy policy, std::uint32_t variant) {
    ConfigFileLookup file(text);
    FileProblemList problems(policy);
    SchemaReader reader(kRows, {variant, 0}, file, record, block, accessors, problems);
    reader.ReadSection(kAddresses);
    reader.ReadSection(kPorts);
    return problems.TakeResult();
  }

  MapAccessors accessors;
  ConfigBlock block{16};
  DeviceRecord record = MakeZeroRecord();
};

TEST_F(SchemaFixture, WritesLegendsRunsAndFormatsByRow) {
  accessors.items = {{D_CONF_ETH_IPADDR, MakeIpv4(10, 0, 0, 1)},
                     {D_CONF_ETH_IPMASK, 0u},
                     {D_CONF_ETH_NAME, std::string("sw\n1")},
                     {D_CONF_ETH_WARN_SFLAG, 0x2Au},
                     {PcfgDisable(1), 1u},
                     {PcfgDisable(2), 0u},
                     {PcfgSpeed(1), 2u},
                     {PcfgSpeed(2), 1u}};
  EXPECT_EQ(Write(kVariantB),
            "# Name : (max. length 5 words).\r\n"
            "IPAddress\t10.0.0.1\r\n\r\n"
            "Netmask\t\t\r\n\r\n"
            "ServerName\tsw 1\r\n\r\n"
            "ServerEvents\t2a\r\n\r\n"
            "# Port 1 : 0 or 1\r\n# Port 2 : 0 or 1\r\n"
            "# [Port 1]\r\nPort1_Enable\t1\r\nPort1_Speed\tauto\r\n\r\n"
            "# [Port 2]\r\nPort2_Enable\t0\r\nPort2_Speed\ton\r\n\r\n");
  // Variant A has no ServerEvents row; model 7 leaves out port 2's speed.
  const std::string a = Write(kVariantA, 7);
  EXPECT_EQ(a.find("ServerEvents"), std::string::npos);
  EXPECT_TRUE(a.ends_with("# [Port 2]\r\nPort2_Enable\t0\r\n")) << a;
}

TEST_F(SchemaFixture, UnreadableItemsAndUnnamedValuesAreWrittenEmpty) {
  TakeExportProblems();
  accessors.items = {{PcfgSpeed(1), 9u}};
  const std::string text = Write(kVariantA);
  EXPECT_NE(text.find("IPAddress\t\r\n"), std::string::npos);
  EXPECT_NE(text.find("Port1_Speed\t\r\n"), std::string::npos);
  EXPECT_EQ(TakeExportProblems(),
            std::vector<std::string>{
                "Port1_Speed: the stored value has no name and was written as an empty value."});
}

TEST_F(SchemaFixture, ReadsCheckedValuesAndListsEveryProblemWithItsLine) {
  accessors.items = {{D_CONF_ETH_NAME, std::string("old")}, {PcfgDisable(2), 1u}};
  const std::string file =
      "# comment\r\n"
      "IPAddress 192.168.1.2\r\n"
      "Netmask 255.255.255.255\r\n"
      "ServerName toolong\r\n"
      "Port1_Enable 0\r\n"
      "Port2_Enable 2\r\n"
      "Port1_Speed auto\r\n"
      "Port2_Speed fast\r\n"
      "ServerEvents 40\r\n";
  const FileReadResult result = Read(file, ProblemPolicy::kListOnly, kVariantB);
  EXPECT_EQ(result.flags, 0u);
  EXPECT_EQ(result.problems, (std::vector<FileProblem>{{4, "ServerName", vf::kSystem},
                                                       {9, "ServerEvents", vf::kEmailWarning},
                                                       {6, "Port2_Enable", vf::kPort},
                                                       {8, "Port2_Speed", vf::kPort}}));
  EXPECT_EQ(std::get<std::uint32_t>(accessors.items[D_CONF_ETH_IPADDR]), MakeIpv4(192, 168, 1, 2));
  EXPECT_EQ(std::get<std::uint32_t>(accessors.items[D_CONF_ETH_IPMASK]), kAllOnesIpv4);
  EXPECT_EQ(std::get<std::string>(accessors.items[D_CONF_ETH_NAME]), "old");
  EXPECT_EQ(std::get<std::uint32_t>(accessors.items[PcfgDisable(1)]), 0u);
  EXPECT_EQ(std::get<std::uint32_t>(accessors.items[PcfgDisable(2)]), 1u);
  EXPECT_EQ(std::get<std::uint32_t>(accessors.items[PcfgSpeed(1)]), 2u);
  EXPECT_FALSE(accessors.items.contains(PcfgSpeed(2)));
  EXPECT_FALSE(accessors.items.contains(D_CONF_ETH_WARN_SFLAG));
}

TEST_F(SchemaFixture, PolicyDecidesTheFlagsAndWhetherLaterValuesAreStored) {
  const std::string file = "ServerName toolong\nPort1_Enable 5\nPort2_Enable 1\n";
  EXPECT_EQ(Read(file, ProblemPolicy::kEveryGroup, kVariantA).flags, vf::kSystem | vf::kPort);
  EXPECT_EQ(std::get<std::uint32_t>(accessors.items[PcfgDisable(2)]), 1u);

  accessors.items.clear();
  const FileReadResult first = Read(file, ProblemPolicy::kFirstGroup, kVariantA);
  EXPECT_EQ(first.flags, vf::kSystem);
  EXPECT_EQ(first.problems.size(), 2u);
  EXPECT_FALSE(accessors.items.contains(PcfgDisable(2)));  // checked, not stored
}

TEST_F(SchemaFixture, RefusedWriteAlwaysReachesTheFlags) {
  accessors.refused = {D_CONF_ETH_IPADDR};
  const FileReadResult result = Read("\nIPAddress 1.2.3.4\n", ProblemPolicy::kListOnly, kVariantA);
  EXPECT_EQ(result.flags, vf::kBlockRefused);
  EXPECT_EQ(result.problems, (std::vector<FileProblem>{{2, "IPAddress", vf::kBlockRefused}}));
}

TEST_F(SchemaFixture, ApplyTakesAValueFoundElsewhere) {
  ConfigFileLookup file("");
  FileProblemList problems(ProblemPolicy::kEveryGroup);
  SchemaReader reader(kRows, {kVariantA, 0}, file, record, block, accessors, problems);
  EXPECT_TRUE(reader.Apply(kRows[4], 2, "P2", "1", 12));
  EXPECT_TRUE(reader.Apply(kRows[4], 1, "P1", "x", 13));  // atoi gives 0: taken
  EXPECT_FALSE(reader.Apply(kRows[4], 1, "P1", "7", 14));
  EXPECT_EQ(problems.problems(), (std::vector<FileProblem>{{14, "P1", vf::kPort}}));
}

TEST(FillLegend, FillsKnownPlaceholdersAndKeepsOthers) {
  const SchemaRow row{.item = Numbered("D_CONF_ETH_WARN_TO", WarnTo, "", 4),
                      .format = format::kText,
                      .rule = MaxChars(30)};
  EXPECT_EQ(FillLegend("# {n}st (max. {max}) {example_address} {other}", row, 3),
            "# 3st (max. 30) operator@example.com {other}");
  EXPECT_EQ(row.item.NameOf(3), "D_CONF_ETH_WARN_TO3");
  EXPECT_EQ(row.item.IdOf(3), WarnTo(3));
}

}  // namespace
}  // namespace vantrell
