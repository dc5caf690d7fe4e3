#include "config/config_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "config/config_item_ids.h"

namespace vantrell {
namespace {

struct ExpectedRow {
  std::size_t index;
  std::string_view typeName, constName, fileKey, label;
};

void ExpectRow(const ExpectedRow& e) {
  const CatalogueRow& row = ConfigCatalogue()[e.index];
  SCOPED_TRACE(e.index);
  EXPECT_EQ(row.typeName, e.typeName);
  EXPECT_EQ(row.constName, e.constName);
  EXPECT_EQ(row.fileKey, e.fileKey);
  EXPECT_EQ(row.label, e.label);
}

std::size_t CountNamesStartingWith(std::string_view prefix) {
  std::size_t count = 0;
  for (const CatalogueRow& row : ConfigCatalogue()) count += row.constName.starts_with(prefix);
  return count;
}

TEST(ConfigCatalogue, FirstAndLastFilledRowsAndEmptySlots) {
  ExpectRow({0, "uchar", "D_CONF_ETH_NAME", "ServerName", "[Server Name]"});
  ExpectRow({365, "ushort", "D_CONF_ETH_PORTTRUNKING_P8", "Port8_SetToTrunk", "[Port 8]"});
  for (std::size_t i = CatalogueFilledRows; i < CatalogueCapacity; ++i) {
    const CatalogueRow& row = ConfigCatalogue()[i];
    EXPECT_TRUE(row.typeName.empty() && row.constName.empty() && row.fileKey.empty() &&
                row.label.empty())
        << i;
    EXPECT_NE(row.constName.data(), nullptr);
  }
  for (std::size_t i = 0; i < CatalogueFilledRows; ++i) {
    EXPECT_FALSE(ConfigCatalogue()[i].constName.empty()) << i;
  }
}

TEST(ConfigCatalogue, SpecialTextsAreKeptByteForByte) {
  ExpectRow({5, "ulong", "D_CONF_ETH_IPADDR", "IPAddress", "[IP Address] "});
  ExpectRow({2, "ulong", "D_CONF_ETH_MARK", "NULL", "NULL"});
  ExpectRow({3, "ushort", "D_CONF_ETH_SUM1", "NULL", "NULL"});
  ExpectRow({4, "ushort", "D_CONF_ETH_LEN1", "NULL", "NULL"});
  std::set<std::size_t> nullRows, emptyLabels;
  for (std::size_t i = 0; i < CatalogueFilledRows; ++i) {
    const CatalogueRow& row = ConfigCatalogue()[i];
    if (row.fileKey == "NULL") nullRows.insert(i);
    if (row.label.empty()) emptyLabels.insert(i);
  }
  EXPECT_EQ(nullRows, (std::set<std::size_t>{2, 3, 4}));
  EXPECT_EQ(emptyLabels, (std::set<std::size_t>{195, 196, 197, 198, 199, 200, 201, 202}));
  ExpectRow({166, "char", "D_CONF_ETH_REDUN_MASTER", "IsMaster", "[Set to be Master]"});
  ExpectRow(
      {209, "ulong", "D_CONF_ETHA8_REDUN_PROTOCOL", "RedundantProtol", "[Redundancy Protocol]"});
  ExpectRow(
      {299, "ulong", "D_CONF_IGMPSNOOP_QUERY_PERIDO", "QUERY_PERIOD", "[Period of Proxy Query]"});
  ExpectRow({337, "uchar", "D_CONF_IGMPSNOOP_ENABLE", "EnableIGMPSnoop",
             "[Enable Switch's IGMP Snooping]"});
}

TEST(ConfigCatalogue, PortRecordsRunSevenRowsPerPort) {
  ExpectRow({30, "uchar", "D_CONF_ETH_PCFG_DISABLE1", "Port1_Enable", "[Port Enable]"});
  ExpectRow({31, "uchar", "D_CONF_ETH_PCFG_FLAG1", "Port1_MDIFlag", "[ProtMDIFlag]"});
  ExpectRow({34, "uchar", "D_CONF_ETH_PCFG_GROUP1", "Port1_Group", "[PortGroup(Hex.)]"});
  ExpectRow({35, "ulong", "D_CONF_ETH_PCFG_DEVIP1", "Device1_IP", "[Desired IP]"});
  ExpectRow({36, "uchar", "D_CONF_ETH_PCFG_PRIORITY1", "Port1_Priority", "[Priority]"});
  ExpectRow({79, "uchar", "D_CONF_ETH_PCFG_DISABLE8", "Port8_Enable", "[Port Enable]"});
  ExpectRow({85, "uchar", "D_CONF_ETH_PCFG_PRIORITY8", "Port8_Priority", "[Priority]"});
  ExpectRow({86, "ulong", "D_CONF_ETH_PCFG_DEVIP9", "Device9_IP", "[Desired IP]"});
  ExpectRow({89, "ulong", "D_CONF_ETH_PCFG_DEVIP12", "Device12_IP", "[Desired IP]"});
  EXPECT_EQ(CountNamesStartingWith("D_CONF_ETH_PCFG_"), 60u);
  EXPECT_EQ(CountNamesStartingWith("D_CONF_ETH_PCFG_DEVIP"), 12u);
}

TEST(ConfigCatalogue, WarningRangesExpandInOrder) {
  ExpectRow({91, "char", "D_CONF_ETH_WARN_TO1", "1st_e-mail_address", "[1st_e-mail_address]"});
  ExpectRow({92, "char", "D_CONF_ETH_WARN_TO2", "2nd_e-mail_address", "[2nd_e-mail_address]"});
  ExpectRow({93, "char", "D_CONF_ETH_WARN_TO3", "3rd_e-mail_address", "[3rd_e-mail_address]"});
  ExpectRow({94, "char", "D_CONF_ETH_WARN_TO4", "4th_e-mail_address", "[4th_e-mail_address]"});
  ExpectRow({97, "uchar", "D_CONF_ETH_WARN_PFLAG1", "PortEvents_1", "[PortEvents(Hex.)]"});
  ExpectRow({104, "uchar", "D_CONF_ETH_WARN_PFLAG8", "PortEvents_8", "[PortEvents(Hex.)]"});
  ExpectRow({105, "ulong", "D_CONF_ETH_WARN_PLOADTIME1", "Traffic-Duration1", "[Duration]"});
  ExpectRow({112, "ulong", "D_CONF_ETH_WARN_PLOADTIME8", "Traffic-Duration8", "[Duration]"});
  ExpectRow({113, "ulong", "D_CONF_ETH_WARN_PLOAD1", "Traffic-Threshold1", "[Threshold]"});
  ExpectRow({120, "ulong", "D_CONF_ETH_WARN_PLOAD8", "Traffic-Threshold8", "[Threshold]"});
  EXPECT_EQ(CountNamesStartingWith("D_CONF_ETH_WARN_TO"), 4u);
  EXPECT_EQ(CountNamesStartingWith("D_CONF_ETH_WARN_PFLAG"), 8u);
  EXPECT_EQ(CountNamesStartingWith("D_CONF_ETH_WARN_PLOAD"), 16u);
}

TEST(ConfigCatalogue, SpanningTreeRangesContinueWithTrunks) {
  ExpectRow({121, "uchar", "D_CONF_ETH_SPAN_PORT1_EN", "STP_EN1", "[Enable STP]"});
  ExpectRow({128, "uchar", "D_CONF_ETH_SPAN_PORT8_EN", "STP_EN8", "[Enable STP]"});
  ExpectRow({129, "uchar", "D_CONF_ETH_SPAN_TRK1_EN", "STP_EN9", "[Enable STP]"});
  ExpectRow({132, "uchar", "D_CONF_ETH_SPAN_TRK4_EN", "STP_EN12", "[Enable STP]"});
  ExpectRow({133, "uchar", "D_CONF_ETH_SPAN_PORT1_ID", "Port_ID1", "[Port ID]"});
  ExpectRow({144, "uchar", "D_CONF_ETH_SPAN_TRK4_ID", "Port_ID12", "[Port ID]"});
  ExpectRow({145, "ushort", "D_CONF_ETH_SPAN_PATH1_COST", "PortCost1", "[Port Cost]"});
  ExpectRow({152, "ushort", "D_CONF_ETH_SPAN_PATH8_COST", "PortCost8", "[Port Cost]"});
  ExpectRow({153, "ushort", "D_CONF_ETH_SPAN_TRK1_COST", "PortCost9", "[Port Cost]"});
  ExpectRow({156, "ushort", "D_CONF_ETH_SPAN_TRK4_COST", "PortCost12", "[Port Cost]"});
  ExpectRow({157, "ushort", "D_CONF_ETH_SPAN_HELLO_TIME", "HelloTime", "[Hello Time]"});
  EXPECT_EQ(CountNamesStartingWith("D_CONF_ETH_SPAN_PORT"), 16u);
  EXPECT_EQ(CountNamesStartingWith("D_CONF_ETH_SPAN_TRK"), 12u);
}

TEST(ConfigCatalogue, RelayRangesExpandInOrder) {
  ExpectRow({169, "ulong", "D_CONF_ETH_RELAY_SFLAG_POWER1", "Power_Input_1_failure(On->Off)",
             "[Power Events]"});
  ExpectRow({170, "ulong", "D_CONF_ETH_RELAY_SFLAG_POWER2", "Power_Input_2_failure(On->Off)",
             "[Power Events]"});
  ExpectRow({171, "uchar", "D_CONF_ETH_RELAY_PFLAG_LINK1", "PortLink_1", "[Port Link Events]"});
  ExpectRow({178, "uchar", "D_CONF_ETH_RELAY_PFLAG_LINK8", "PortLink_8", "[Port Link Events]"});
  ExpectRow({179, "uchar", "D_CONF_ETH_RELAY_PFLAG_TRAF1", "PortTraf_1", "[Port Overload Events]"});
  ExpectRow({186, "uchar", "D_CONF_ETH_RELAY_PFLAG_TRAF8", "PortTraf_8", "[Port Overload Events]"});
  ExpectRow(
      {187, "ulong", "D_CONF_ETH_RELAY_PLOAD1", "Traffic_Threshold_1", "[Port Overload Events]"});
  ExpectRow(
      {194, "ulong", "D_CONF_ETH_RELAY_PLOAD8", "Traffic_Threshold_8", "[Port Overload Events]"});
  ExpectRow({195, "ulong", "D_CONF_ETH_RELAY_PLOADTIME1", "Traffic_Duration_1", ""});
  ExpectRow({202, "ulong", "D_CONF_ETH_RELAY_PLOADTIME8", "Traffic_Duration_8", ""});
  ExpectRow({203, "char", "D_CONF_ETH_LOCATION", "Location", "[Server Location]"});
  ExpectRow({293, "ulong", "D_CONF_RELAY_SFLAG_NORMAL1", "Relay1Override",
             "[Override Relay Warning Setting]"});
  ExpectRow({294, "ulong", "D_CONF_RELAY_SFLAG_NORMAL2", "Relay2Override",
             "[Override Relay Warning Setting]"});
  EXPECT_EQ(CountNamesStartingWith("D_CONF_ETH_RELAY_P"), 32u);
}

TEST(ConfigCatalogue, QosAndVlanRangesExpandInOrder) {
  ExpectRow({213, "uchar", "D_CONF_QOS_INSPECT1_TOS", "QosInspectTos1", "[Inspect TOS]"});
  ExpectRow({220, "uchar", "D_CONF_QOS_INSPECT8_TOS", "QosInspectTos8", "[Inspect TOS]"});
  ExpectRow({221, "uchar", "D_CONF_QOS_INSPECT1_COS", "QosInspectCos1", "[Inspect COS]"});
  ExpectRow({228, "uchar", "D_CONF_QOS_INSPECT8_COS", "QosInspectCos8", "[Inspect COS]"});
  ExpectRow({229, "uchar", "D_CONF_QOS_PRIORITY1", "QosPortPriority1", "[Default Port Priority]"});
  ExpectRow({236, "uchar", "D_CONF_QOS_PRIORITY8", "QosPortPriority8", "[Default Port Priority]"});
  ExpectRow({237, "uchar", "D_CONF_COSMAP0", "CosMap0", "[CoS Mapping]"});
  ExpectRow({244, "uchar", "D_CONF_COSMAP7", "CosMap7", "[CoS Mapping]"});
  // Four rows per port; the type word of TYPE and PVID changes at port 4.
  ExpectRow({245, "uchar", "D_CONF_VLAN_TYPE1", "VLANType1", "[VLAN Port Type]"});
  ExpectRow({246, "uchar", "D_CONF_VLAN_PVID1", "VLANPvid1", "[VLAN PVID]"});
  ExpectRow({247, "char", "D_CONF_VLAN_FIXVID1", "FixVid1", "[Fixed VID]"});
  ExpectRow({248, "char", "D_CONF_VLAN_FRBVID1", "FrbVid1", "[Forbiden VID]"});
  ExpectRow({254, "uchar", "D_CONF_VLAN_PVID3", "VLANPvid3", "[VLAN PVID]"});
  ExpectRow({257, "ushort", "D_CONF_VLAN_TYPE4", "VLANType4", "[VLAN Port Type]"});
  ExpectRow({273, "ushort", "D_CONF_VLAN_TYPE8", "VLANType8", "[VLAN Port Type]"});
  ExpectRow({276, "char", "D_CONF_VLAN_FRBVID8", "FrbVid8", "[Forbiden VID]"});
  ExpectRow({277, "uchar", "D_CONF_PORT_LOCK1", "LockPort1", "[Port Lock]"});
  ExpectRow({284, "uchar", "D_CONF_PORT_LOCK8", "LockPort8", "[Port Lock]"});
  ExpectRow({285, "char", "D_CONF_RATE_LIMIT_ENGRESS_RATE1", "RLE_port1", "[Engress Rate Limit]"});
  ExpectRow({292, "char", "D_CONF_RATE_LIMIT_ENGRESS_RATE8", "RLE_port8", "[Engress Rate Limit]"});
  ExpectRow({301, "uchar", "D_CONF_RATE_LIMIT_INGRESS_P1", "RLI_port1", "[INGRESS Rate Limit]"});
  ExpectRow({308, "uchar", "D_CONF_RATE_LIMIT_INGRESS_P8", "RLI_port8", "[INGRESS Rate Limit]"});
  EXPECT_EQ(CountNamesStartingWith("D_CONF_VLAN_"), 33u);  // 32 per port + SYS_VID
}

TEST(ConfigCatalogue, AccessListTosMapAndTrunkRows) {
  ExpectRow({310, "char", "D_CONF_GRANTIP_IP1", "AccessIp1", "[Accessible IP Index 1]"});
  ExpectRow({311, "char", "D_CONF_GRANTIP_IP2", "AccessIp2", "[AccessibleIP Index 2]"});
  ExpectRow({319, "char", "D_CONF_GRANTIP_IP10", "AccessIp10", "[AccessibleIP Index 10]"});
  ExpectRow({338, "uchar", "D_CONF_TOSMAP_1_4", "ToSMap1-4", "[ToS Map]"});
  ExpectRow({339, "uchar", "D_CONF_TOSMAP_5_8", "ToSMap5-8", "[ToS Map]"});
  ExpectRow({353, "uchar", "D_CONF_TOSMAP_61_64", "ToSMap61-64", "[ToS Map]"});
  ExpectRow({354, "char", "D_CONF_IGMPSNOOP_ENTRY", "IGMPSNOOP", "[IGMP List]"});
  ExpectRow({358, "ushort", "D_CONF_ETH_PORTTRUNKING_P1", "Port1_SetToTrunk", "[Port 1]"});
  EXPECT_EQ(CountNamesStartingWith("D_CONF_TOSMAP_"), 16u);
  EXPECT_EQ(CountNamesStartingWith("D_CONF_GRANTIP_IP"), 10u);
  EXPECT_EQ(CountNamesStartingWith("D_CONF_ETH_PORTTRUNKING_P"), 8u);
  EXPECT_EQ(CountNamesStartingWith("D_CONF_SNMP_"), 11u);
}

TEST(ConfigCatalogue, NamesAreUniqueAndOnlyKnownKeysRepeat) {
  std::set<std::string_view> names;
  std::map<std::string_view, int> keyUses;
  for (std::size_t i = 0; i < CatalogueFilledRows; ++i) {
    const CatalogueRow& row = ConfigCatalogue()[i];
    EXPECT_TRUE(names.insert(row.constName).second) << row.constName;
    EXPECT_TRUE(row.typeName == "uchar" || row.typeName == "ushort" || row.typeName == "ulong" ||
                row.typeName == "char")
        << i;
    for (std::string_view field : {row.typeName, row.constName, row.fileKey, row.label}) {
      EXPECT_LE(field.size(), CatalogueFieldMaxLength);
    }
    if (row.fileKey != "NULL") ++keyUses[row.fileKey];
  }
  std::map<std::string_view, int> shared;
  for (const auto& [key, uses] : keyUses) {
    if (uses > 1) shared[key] = uses;
  }
  EXPECT_EQ(shared, (std::map<std::string_view, int>{{"WebConfig", 2},
                                                     {"TelnetConsole", 2},
                                                     {"DHCP", 2},
                                                     {"Location", 3},
                                                     {"SysDescr", 2},
                                                     {"Contact", 2},
                                                     {"TRAP", 2}}));
}

TEST(FindCatalogueRow, FindsFilledRowsOnly) {
  EXPECT_EQ(findCatalogueRow("D_CONF_ETH_NAMEA8"), 1u);
  EXPECT_EQ(findCatalogueRow("D_CONF_ETH_PORTTRUNKING_P8"), 365u);
  EXPECT_EQ(findCatalogueRow("D_CONF_ETH_NAME"), 0u);
  EXPECT_EQ(findCatalogueRow("D_CONF_NO_SUCH_ITEM"), CatalogueCapacity);
  EXPECT_EQ(findCatalogueRow("d_conf_eth_namea8"), CatalogueCapacity);  // case matters
  EXPECT_EQ(findCatalogueRow("D_CONF_ETH_NAME "), CatalogueCapacity);
  // The empty slots carry no name that could be found.
  EXPECT_EQ(findCatalogueRow(""), CatalogueCapacity);
  for (std::size_t i = 0; i < CatalogueFilledRows; ++i) {
    EXPECT_EQ(findCatalogueRow(ConfigCatalogue()[i].constName), i);
  }
}

TEST(FindCatalogueRow, KeyAndLabelOfKnownAndUnknownNames) {
  EXPECT_EQ(catalogueFileKey("D_CONF_ETH_FLAG_WEB"), "WebConfig");
  EXPECT_EQ(catalogueFileKey("D_CONF_ETH_FLAG_WEBA8"), "WebConfig");
  EXPECT_EQ(catalogueLabel("D_CONF_ETH_IPADDR"), "[IP Address] ");
  EXPECT_EQ(catalogueLabel("D_CONF_ETH_RELAY_PLOADTIME3"), "");
  EXPECT_EQ(catalogueFileKey("D_CONF_NO_SUCH_ITEM"), "");
  EXPECT_FALSE(catalogueLabel("D_CONF_NO_SUCH_ITEM").has_value());
}

TEST(CatalogueItemId, RowsCarryTheIdsOfTheirConstants) {
  EXPECT_EQ(catalogueItemId("D_CONF_ETH_MIRROR_DIR"), 24u);
  EXPECT_EQ(catalogueItemId("D_CONF_ETH_MIRROR_DIR"), item::D_CONF_ETH_MIRROR_DIR);
  EXPECT_EQ(catalogueItemId("D_CONF_ETH_MARK"), 1u);
  EXPECT_EQ(catalogueItemId("D_CONF_ETH_PCFG_FDX8"), 71u);
  EXPECT_EQ(catalogueItemId("D_CONF_ETH_PORTTRUNKING_P8"), 298u);
  EXPECT_EQ(ConfigCatalogue()[29].id, item::D_CONF_ETH_MIRROR_DIR);
  // Names that share an ID: one row each, the same ID in both.
  EXPECT_EQ(catalogueItemId("D_CONF_ETH_NAME"), 16u);
  EXPECT_EQ(catalogueItemId("D_CONF_ETH_NAMEA8"), 16u);
  EXPECT_EQ(catalogueItemId("D_CONF_ETH_WARN_MAILS"), item::D_CONF_ETH_WARN_SMTPSrv);
  for (std::string_view name :
       {"D_CONF_ETH_SPAN_REDUN", "D_CONF_ETH_REDUN_PROTOCOL", "D_CONF_ETHA8_REDUN_PROTOCOL"}) {
    EXPECT_EQ(catalogueItemId(name), item::kRedundancyWord) << name;
  }
  // Rows that no accessor handles carry no ID; unknown names give none.
  for (std::string_view name :
       {"D_CONF_ETH_DHCPS", "D_CONF_ETH_PASSWORD", "D_CONF_ETH_SYSNAME", "D_CONF_ETH_PCFG_GROUP1",
        "D_CONF_ETH_PCFG_PRIORITY8", "D_CONF_ETH_ADMINPWD", "D_CONF_TOSMAP_1_4",
        "D_CONF_TOSMAP_61_64", "D_CONF_IGMPSNOOP_ENTRY", "D_CONF_MULTICAST_ADDR",
        "D_CONF_UNICAST_ADDR", "D_CONF_NO_SUCH_ITEM", ""}) {
    EXPECT_EQ(catalogueItemId(name), 0u) << name;
  }
  std::size_t withoutId = 0;
  for (std::size_t i = 0; i < CatalogueCapacity; ++i) {
    const CatalogueRow& row = ConfigCatalogue()[i];
    if (i < CatalogueFilledRows) {
      withoutId += row.id == 0;
    } else {
      EXPECT_EQ(row.id, 0u) << i;
    }
  }
  EXPECT_EQ(withoutId, 39u);
}

}  // namespace
}  // namespace vantrell
