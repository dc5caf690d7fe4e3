#include "config/gen_m1_schema.h"

#include <array>
#include <string>

#include "config/file_writer.h"
#include "config/gen_m1_block.h"
#include "config/name_index.h"

namespace vantrell {
namespace gen_m1 {
namespace {

using namespace item;
namespace vf = validation;
using S = Section;
using F = WrittenAs;

constexpr std::string_view kPortL01 = "# \t--> 0  : Disable\n# \t--> 1  : Enable\n";
// Legends state a rule's range and length by "{low}", "{high}" and "{max}".
constexpr std::string_view kMaxLength = "# \t--> max. length = {max} words\n";
constexpr std::string_view kMailLength = "# \t --> max. length {max} words\n";
constexpr std::string_view kRange = "# \t--> Range {low} to {high}\n";
constexpr std::string_view kKeyLength =
    "# \t--> max. length = 30 words\n# \t--> min. length = 8 words\n";
constexpr std::string_view kAddressFormat = "# \t--> format : (xxx.xxx.xxx.xxx)\n";
constexpr std::string_view kUnitSecond = "# \t--> unit is second.\n";
constexpr std::string_view kAuthTypes = "# \t--> 0: NO-AUTH\n# \t--> 1: MD5\n# \t--> 2: SHA\n";
constexpr std::string_view kSnmpL01 = "# \t--> 0: Disable\n# \t--> 1: Enable\n";
constexpr std::string_view kCosRange =
    "# \t--> Range {low} to {high} ( according to CoS mapping )\n";
/// The VID lists' range, which the accessors check.
constexpr std::string_view kVidListRange = "# \t--> Range 1 to 4094\n";
constexpr std::string_view kRelayLegend =
    "# \t--> 0 : Disable\n# \t--> 1 : Enable (relay 1)\n# \t--> 2 : Enable (relay 2)\n";

constexpr Setting Single(Section section, std::string_view key, ConfigItemId id, WrittenAs format,
                         KeyRule rule, ValidationFlags group, Legend legend = {}) {
  Setting s(section);
  s.key = key;
  s.id = id;
  s.format = format;
  s.rule = rule;
  s.group = group;
  s.legend = legend;
  s.tabs = 2;
  return s;
}

constexpr Setting PerPort(Section section, std::string_view prefix, std::string_view suffix,
                          ConfigItemId id, WrittenAs format, KeyRule rule, ValidationFlags group,
                          Legend legend = {}) {
  Setting s = Single(section, prefix, id, format, rule, group, legend);
  s.shape = KeyShape::kPerPort;
  s.suffix = suffix;
  return s;
}

constexpr Setting Numbered(Section section, std::string_view prefix, std::size_t first,
                           std::size_t last, ConfigItemId id, WrittenAs format, KeyRule rule,
                           ValidationFlags group, Legend legend, Blank blank,
                           EntryHeading heading = EntryHeading::kNone) {
  Setting s = Single(section, prefix, id, format, rule, group, legend);
  s.shape = KeyShape::kNumbered;
  s.first = first;
  s.last = last;
  s.blank = blank;
  s.heading = heading;
  return s;
}

constexpr Setting PassOne(Setting s) {
  s.passOne = true;
  s.ports = PortSet::kPhysical;
  return s;
}

constexpr Setting kSettings[] = {
    // System identification.
    Single(S::kSystem, "SwitchName", D_CONF_ETH_NAMEA8, F::kText, Length(30), vf::kSystem,
           {"# [SwitchName]: Switch Name\n", kMaxLength}),
    Single(S::kSystem, "Location", D_CONF_ETH_LOCATION, F::kText, Length(80), vf::kSystem,
           {"# [Location]: Switch Location\n", kMaxLength}),
    Single(S::kSystem, "SysDescr", D_CONF_ETH_SYSDESCRA8, F::kText, Length(30), vf::kSystem,
           {"# [SysDescr]: Switch Description\n", kMaxLength}),
    Single(S::kSystem, "Contact", D_CONF_ETH_CONTACTA8, F::kText, Length(30), vf::kSystem,
           {"# [Contact]: Maintainer Contact Info\n", kMaxLength})
        .Tabs(3),
    Single(S::kSystem, "WebConfig", D_CONF_ETH_FLAG_WEBA8, F::kHex, Within(0, 1), vf::kSystem,
           {"# [WebConfig]: Web Configuration\n",
            "# \t--> 0 : Disable Web Configuration\n# \t--> 1 : Enable Web Configuration\n"}),
    Single(S::kSystem, "TelnetConsole", D_CONF_ETH_FLAG_TELNETA8, F::kHex, Within(0, 1),
           vf::kSystem,
           {"# [TelnetConsole]: Telnet Console\n",
            "# \t--> 0 : Disable Telnet Console\n# \t--> 1 : Enable Telnet Console\n"})
        .Tabs(1),
    // CF operation.
    Single(S::kCf, "CF_Operation_En", kM1CfOperationEn, F::kDecimal, Within(0, 1), vf::kCf,
           {"# [CF_Operation_En]: CF Save/Load Enable\n", kEnableLegend})
        .Tabs(1),
    Single(S::kCf, "CF_Config_En", kM1CfConfigEn, F::kDecimal, Within(0, 1), vf::kCf,
           {"# [CF_Config_En]: CF Import/Export Configuration Enable\n", kEnableLegend})
        .Tabs(1),
    Single(S::kCf, "CF_Firm_En", kM1CfFirmEn, F::kDecimal, Within(0, 1), vf::kCf,
           {"# [CF_Firm_En]: CF Load Firmware Enable\n", kEnableLegend})
        .Tabs(1),
    // Passwords.
    Single(S::kPassword, "AdminPassword", kPasswordField, F::kText, Length(16), vf::kPasswords,
           {"# [AdminPassword]: Admin Password\n", "# \t--> Max. length = {max} words\n"})
        .ListIndex(1),
    Single(S::kPassword, "UserPassword", kPasswordField, F::kText, Length(16), vf::kPasswords,
           {"# [UserPassword]: User Password\n", "# \t--> Max. length = {max} words\n"}),
    Single(S::kPassword, "ResetPasswd_En", kM1ResetPasswdEn, F::kDecimal, Within(0, 1),
           vf::kPasswords, {"# [ResetPasswd_En]: Reset Password Enable\n"}),
    // Accessible IP.
    Single(S::kAccessIp, "Enable_AccessIp", D_CONF_GRANTIP_INUSED, F::kDecimal, Within(0, 1),
           vf::kAccessibleIp,
           {"# [Enable_AccessIp]: Enable the accessible IP list\n"
            "# \t--> \"Disable\" will allow all IP's connection\n",
            kEnableLegend}),
    Numbered(S::kAccessIp, "AccessIp_", 1, 10, kM1AccessIp, F::kText, Only(Rule::kAccessEntry),
             vf::kAccessibleIp,
             {"# [AccessIp]: Access IP list\n", "# ex: AccessIP1 192.168.127.253/255.255.255.0\n"},
             Blank::kNone),
    // Ports.
    PerPort(S::kPort, "Port_", "_EN", kM1PortEnable, F::kDecimal, Within(0, 1), vf::kPort,
            {"# [LAN Port Setting]\n# [Port_EN]: Enable/Disable Port flag.\n", kPortL01})
        .Tabs(3, 2),
    PerPort(S::kPort, "Port_", "_Speed", kM1PortSpeed, F::kDecimal, Within(0, 6), vf::kPort,
            {"# [Port_Speed]: Port Speed.\n",
             "# \t--> 0  : AUTO\n# \t--> 1  : 100-FULL\n# \t--> 2  : 100-HALF\n"
             "# \t--> 3  : 10-FULL\n# \t--> 4  : 10-HALF\n# \t--> 5  : 1G-FULL\n"}),
    PerPort(S::kPort, "Port_", "_FDX", kM1PortFdx, F::kDecimal, Within(0, 1), vf::kPort,
            {"# [Port_FDX]: Port FDX Flow Ctrl.\n", kPortL01}),
    PerPort(S::kPort, "Port_", "_MDI", kM1PortMdi, F::kDecimal, Within(0, 2), vf::kPort,
            {"# [Port_MDI]: Set Cable Type is MDI or MDIX.\n",
             "# \t--> 0  : AUTO\n# \t--> 1  : MDIX\n# \t--> 2  : MDI\n# \t--> 3  : No Support\n"})
        .Ports(PortSet::kPresentPhysicalLine),
    // Network. No address (DHCP or BOOTP) is written empty, which reads as 0.0.0.0.
    Single(S::kNetwork, "AUTOIP", kIpConfigMode, F::kDecimal, Within(0, 2), vf::kNetwork,
           {"# [AUTOIP]: Auto IP Configuration\n",
            "# \t--> 0 : Disable\n# \t--> 1 : Enable DHCP\n# \t--> 2 : Enable BOOTP\n"})
        .Tabs(3),
    Single(S::kNetwork, "IPAddress", D_CONF_ETH_IPADDR, F::kAddress, Only(Rule::kAddress),
           vf::kNetwork,
           {"# [IPAddress]: IP Address\n", kAddressFormat, "# \t--> ex : 192.168.12.1\n"}),
    Single(S::kNetwork, "Netmask", D_CONF_ETH_IPMASK, F::kAddressBare, Only(Rule::kAddress),
           vf::kNetwork,
           {"# [Netmask]: Subnet Mask\n", kAddressFormat, "# \t--> ex : 255.255.0.0\n"})
        .Tabs(3),
    Single(S::kNetwork, "Gateway", D_CONF_ETH_GATEWAY, F::kAddressBare, Only(Rule::kAddress),
           vf::kNetwork,
           {"# [Gateway]: Default Gateway\n", kAddressFormat, "# \t--> ex : 192.168.1.55\n"})
        .Tabs(3),
    Single(S::kNetwork, "DNSIP", D_CONF_ETH_DNSSIP, F::kAddressBare, Only(Rule::kAddress),
           vf::kNetwork,
           {"# [DNSIP]: DNS Server IP Address\n", kAddressFormat, "# \t--> ex : 192.168.1.56\n"})
        .Tabs(3)
        .NoBlank(),
    Single(S::kNetwork, "DNSIP1", D_CONF_ETH_DNSSIP1, F::kAddressBare, Only(Rule::kAddress),
           vf::kNetwork)
        .Tabs(3),
    // Port trunking: read in a pass of its own, before everything else.
    PassOne(PerPort(S::kTrunk, "Port_", "_TrunkType", kM1PortTrunkType, F::kDecimal, Within(0, 1),
                    vf::kPortTrunking,
                    {"# [Port_TrunkType]: Trunking Group Type \n",
                     "# \t--> 0 : Set to static\n# \t--> 1 : Set to LACP\n"})),
    PassOne(PerPort(S::kTrunk, "Port_", "_TrunkGroup", kM1PortTrunkGroup, F::kDecimal,
                    Within(0, kTrunkGroups), vf::kPortTrunking,
                    {"# [Port_TrunkGroup]: Trunking Group Set \n",
                     "# \t--> 0 : Not set\n"
                     "# \t--> 1 : Set to Trunking Group 1 (Trk1)\n"
                     "# \t--> 2 : Set to Trunking Group 2 (Trk2)\n"
                     "# \t--> 3 : Set to Trunking Group 3 (Trk3)\n"
                     "# \t--> 4 : Set to Trunking Group 4 (Trk4)\n"})),
    // SNMP.
    Single(S::kSnmp, "SNMPVERSION", D_CONF_SNMP_VERSION, F::kNamed, Within(0, 2), vf::kSnmp,
           {"# [SNMPVERSION]: SNMP Version\n",
            "# \t--> 0: V1, V2c, V3\n# \t--> 1: V1, V2c\n# \t--> 2: V3 only\n"})
        .Tabs(3),
    Single(S::kSnmp, "V1_V2c_RCommunity", kM1ReadCommunity, F::kText, Length(30), vf::kSnmp,
           {"# [V1_V2c_RCommunity]: V1,V2c Read Community\n", kMaxLength}),
    Single(S::kSnmp, "V1_V2c_RWCommunity", kM1ReadWriteCommunity, F::kText, Length(30), vf::kSnmp,
           {"# [V1_V2c_RWCommunity]: V1,V2c Read/Write Community\n", kMaxLength}),
    Single(S::kSnmp, "Admin_AuthType", kM1AdminAuthType, F::kDecimal, Within(0, 2), vf::kSnmp,
           {"# [Admin_AuthType]: Admin Auth. Type\n", kAuthTypes,
            "# Note :\n# If you want to set MD5 or SHA,\n"
            "# the admin password must be more than 8 words in the switch.\n"})
        .Tabs(3),
    Single(S::kSnmp, "Admin_ADEEnable", D_CONF_SNMP_V3AADEE, F::kDecimal, Within(0, 1), vf::kSnmp,
           {"# [Admin_ADEEnable]: Admin Auth. Data Encryption Enable\n", kSnmpL01,
            "# Note :\n# If you want to enable data encryption for admin,\n"
            "# the admin data encryption key must be more than 8 words in the configuration "
            "file.\n"})
        .Tabs(3),
    Single(S::kSnmp, "Admin_DataEncryption", kM1AdminDataEncryption, F::kText, Only(Rule::kTextAny),
           vf::kSnmp, {"# [Admin_DataEncryption]: Admin Data Encryption Key\n", kKeyLength})
        .Tabs(1),
    Single(S::kSnmp, "User_AuthType", kM1UserAuthType, F::kDecimal, Within(0, 2), vf::kSnmp,
           {"# [User_AuthType]: User Auth. Type\n", kAuthTypes,
            "# Note :\n# If you want to set MD5 or SHA,\n"
            "# the user password must be more than 8 words in the configuration file.\n"})
        .Tabs(3),
    Single(S::kSnmp, "User_ADEEnable", D_CONF_SNMP_V3UADEE, F::kDecimal, Within(0, 1), vf::kSnmp,
           {"# [User_ADEEnable]: User Auth. Data Encryption Enable\n", kSnmpL01,
            "# Note :\n# If you want to enable data encryption for user,\n"
            "# the user data encryption key must be more than 8 words in the configuration "
            "file.\n"})
        .Tabs(3),
    Single(S::kSnmp, "User_DataEncryption", kM1UserDataEncryption, F::kText, Only(Rule::kTextAny),
           vf::kSnmp, {"# [User_DataEncryption]: User Data Encryption Key\n", kKeyLength})
        .Tabs(1),
    Single(S::kSnmp, "TRAP_Serer", kM1TrapServer, F::kText, Length(30), vf::kSnmp,
           {"# [TRAP Serer]: Trap Server IP Address\n",
            "# \t--> IP or String (Max. length = {max} words.)\n"})
        .Tabs(4),
    Single(S::kSnmp, "TRAP_Community", kM1TrapCommunity, F::kText, Length(30), vf::kSnmp,
           {"# [TRAP Community]: TRAP Community\n",
            "# \t--> TRAP Community name (max. length = {max} words.)\n"}),
    // Time.
    Single(S::kTime, "TimeZone", D_CONF_ETH_DTIME_TZONE, F::kDecimal, Within(0, 62), vf::kTime,
           {"# [TimeZone]: Time Zone\n", {}, {}, LegendLines::kTimeZones})
        .Tabs(3),
    Single(S::kTime, "1stTimeSrv", D_CONF_ETH_DTIME_SRV1, F::kText, Length(30), vf::kTime,
           {"# [1stTimeSrv]: 1st Time Server IP/Name\n", "# \t--> max. length = {max} words.\n"})
        .Tabs(3),
    Single(S::kTime, "2ndTimeSrv", D_CONF_ETH_DTIME_SRV2, F::kText, Length(30), vf::kTime,
           {"# [2ndTimeSrv]: 2nd Time Server IP/Name\n", "# \t--> max. length = {max} words.\n"})
        .Tabs(3),
    Single(S::kTime, "QueryTimePeriod", D_CONF_ETH_DTIME_PERIOD, F::kUnsigned, Within(1, 9999),
           vf::kTime, {"# [QueryTimePeriod]: Time Server Query Period\n", kRange, kUnitSecond}),
    // Communication redundancy.
    Single(S::kRedundancy, "RedundantProtol", D_CONF_ETH_REDUN_PROTOCOL, F::kDecimal, Within(0, 1),
           vf::kCommRedundancy,
           {"# [RedundantProtol]: Protocol of Redundancy\n",
            "# \t--> 0 : IEEE 802.1W/D\n# \t--> 1 : Zorvel Ring\n"}),
    Single(S::kRing, "IsMaster", D_CONF_ETH_REDUN_MASTER, F::kDecimal, Within(0, 1),
           vf::kCommRedundancy,
           {"# [IsMaster]: Set to be Master\n", "# \t--> 0 : NO\n# \t--> 1 : Yes\n"}),
    Single(S::kRing, "ZorvelRingPort1", D_CONF_ETH_REDUN_PORT1, F::kPortRef, Only(Rule::kPortRef),
           vf::kCommRedundancy, {"# [ZorvelRingPort1]: 1st Redundant port\n", kPortNamesLegend})
        .Tabs(1),
    Single(S::kRing, "ZorvelRingPort2", D_CONF_ETH_REDUN_PORT2, F::kPortRef, Only(Rule::kPortRef),
           vf::kCommRedundancy, {"# [ZorvelRingPort2]: 2nd Redundant port\n", kPortNamesLegend})
        .Tabs(1),
    Single(S::kRing, "Coupling", kM1Coupling, F::kDecimal, Within(0, 1), vf::kCommRedundancy,
           {"# [Coupling]: Redundant Ring Coupling\n", kEnableLegend}),
    Single(S::kRing, "CouplingPort", kM1CouplingPort, F::kPortRef, Only(Rule::kPortRef),
           vf::kCommRedundancy, {"# [CouplingPort]: Coupling Port\n", kPortNamesLegend})
        .Tabs(1),
    Single(S::kRing, "ControlPort", kM1ControlPort, F::kPortRef, Only(Rule::kPortRef),
           vf::kCommRedundancy, {"# [ControlPort]: Coupling Control Port\n", kPortNamesLegend}),
    // RSTP: read only while the protocol is 0 (IEEE 802.1W/D).
    Single(S::kRstp, "BridgeId", kM1BridgeId, F::kScaled, Within(0, 15, 4096), vf::kCommRedundancy,
           {"# [BridgeId]: Bridge Id\n", {}, {}, LegendLines::kBridgePriorities})
        .SpanningTree(),
    // HelloTime has always taken 0, below the 1 its legend states.
    Single(S::kRstp, "HelloTime", D_CONF_ETH_SPAN_HELLO_TIME, F::kDecimal, Within(0, 10),
           vf::kCommRedundancy,
           {"# [HelloTime]: Hello Time\n", "# \t--> Range 1 to 10\n", kUnitSecond})
        .Unit("(sec.)")
        .SpanningTree(),
    Single(S::kRstp, "MaxAge", D_CONF_ETH_SPAN_MAX_AGE, F::kDecimal, Within(6, 40),
           vf::kCommRedundancy, {"# [MaxAge]: Max Age\n", kRange, kUnitSecond})
        .Tabs(3)
        .Unit("(sec.)")
        .SpanningTree(),
    Single(S::kRstp, "Forwarding", D_CONF_ETH_SPAN_FD_DELAY, F::kDecimal, Within(4, 30),
           vf::kCommRedundancy, {"# [Forwarding]: Forwarding Delay\n", kRange, kUnitSecond})
        .Unit("(sec.)")
        .SpanningTree(),
    PerPort(S::kRstp, "STP_EN_", "", kM1StpEnable, F::kDecimal, Within(0, 1), vf::kCommRedundancy,
            {"# [SPT_EN]: Enable/Disable IEEE 802.1W/1D function on the port.\n", kEnableLegend})
        .SpanningTree()
        .MemberValue(1),
    PerPort(S::kRstp, "STP_ID_", "", kM1StpId, F::kScaled, Within(0, 15, 16), vf::kCommRedundancy,
            {"# [SPT_ID]\n", {}, {}, LegendLines::kPortPriorities})
        .SpanningTree()
        .MemberValue(8 * 16),
    PerPort(S::kRstp, "STP_Cost_", "", kM1StpCost, F::kUnsigned, Within(1, 200000000),
            vf::kCommRedundancy, {"# [STP_Cost]\n", kRange})
        .Tabs(1)
        .SpanningTree()
        .MemberValue(200000),
    // QoS classification.
    Single(S::kQos, "QosMechanism", D_CONF_QOS_SCHEDULE, F::kDecimal, Within(0, 1), vf::kQos,
           {"# [QosMechanism]: QOS Mechanism\n",
            "# \t--> 0 : Weight Fair(8:4:2:1)\n# \t--> 1 : Strict(High Priority First Always)\n"}),
    Numbered(S::kQos, "InspectTosPortGroup_", 1, 5, kM1InspectTosPortGroup, F::kDecimal,
             Within(0, 1), vf::kQos,
             {"# [InspectTosPortGroup]: Port Group Inspect TOS \n", kEnableLegend},
             Blank::kAfterLast),
    PerPort(S::kQos, "InspectCos_", "", kM1InspectCos, F::kDecimal, Within(0, 1), vf::kQos,
            {"# [InspectCos]: Inspect COS \n", kEnableLegend})
        .MemberValue(1),
    PerPort(S::kQos, "PortPriority_", "", kM1PortPriority, F::kDecimal, Within(0, 7), vf::kQos,
            {"# [PortPriority]: Default Port Priority \n", kCosRange})
        .Tabs(1)
        .MemberValue(3),
    Numbered(S::kCosMap, "CoSMap_", 0, 7, kM1CosMap, F::kDecimal, Within(0, 3), vf::kQos,
             {"# [CoSMap]: Class of Service maps to priority queue\n",
              "# \t--> 0 : Low\n# \t--> 1 : Normal\n# \t--> 2 : Medium\n# \t--> 3 : High\n"},
             Blank::kAfterEach, EntryHeading::kCos),
    Numbered(S::kTosMap, "ToSMap_", 0, 63, kM1TosMap, F::kDecimal, Within(0, 7), vf::kQos,
             {"# [ToS]: Type of Service maps to priority queue\n", kCosRange}, Blank::kAfterEach,
             EntryHeading::kTos),
    // 802.1Q VLAN; the VID lists are applied by the accessors.
    Single(S::kVlan, "SysVID", D_CONF_VLAN_SYS_VID, F::kDecimal, Within(1, 4094), vf::kVlan,
           {"# [SysVID]: Management VLAN ID\n", kRange})
        .Tabs(3),
    PerPort(S::kVlan, "VLANType_", "", kM1VlanType, F::kDecimal, Within(0, 1), vf::kVlan,
            {"# [VLANType]: VLAN Port Type \n", "# \t--> 1 : Access\n# \t--> 0 : Trunk\n"})
        .MemberValue(1),
    PerPort(S::kVlan, "VLANPvid_", "", kM1VlanPvid, F::kDecimal, Within(1, 4094), vf::kVlan,
            {"# [VLANPvid]: PVID\n", kRange})
        .MemberValue(1),
    PerPort(S::kVlan, "FixVid_", "", kM1FixVid, F::kText, Only(Rule::kVidList), vf::kVlan,
            {"# [FixVid]: Fixed VLAN (Tagged)\n", kVidListRange, "# \tex: FixVid1  2,88,54\n"})
        .Tabs(3),
    PerPort(S::kVlan, "FrbVid_", "", kM1FrbVid, F::kText, Only(Rule::kVidList), vf::kVlan,
            {"# [FrbVid]: Forbidden VLAN\n", kVidListRange, "# \tex: FrbVid1  13,1048,211,2001\n"})
        .Tabs(3),
    // IGMP snooping (the per-VLAN lines are a list of their own).
    Single(S::kIgmp, "EnableIGMPSnoop", D_CONF_IGMPSNOOP_ENABLE, F::kDecimal, Within(0, 1),
           vf::kIgmpSnooping,
           {"\n# [EnableIGMPSnoop]: Enable Switch's IGMP Snooping\n", kEnableLegend}),
    Single(S::kIgmp, "QUERY_PERIOD", kM1QueryPeriod, F::kDecimal, Within(20, 600),
           vf::kIgmpSnooping,
           {"\n# [QUERY_PERIOD]: Period of Proxy Query\n", kRange, "# \t--> unit is second\n"}),
    // GMRP and multicast filtering.
    PerPort(S::kGmrp, "GMRP_EN_", "", kM1GmrpEnable, F::kDecimal, Within(0, 1), vf::kGmrp,
            {"# [GMRPEnable]: Enable GMRP \n", kEnableLegend})
        .Tabs(2, 1)
        .MemberValue(0),
    PerPort(S::kMfb, "MFBMODE_", "", kM1MfbMode, F::kDecimal, Within(1, 3), vf::kGmrp,
            {"# [GMRPMode]: GMRP Port Mode \n",
             "# \t--> 1 : Forward All\n# \t--> 2 : Forward Unknown\n# \t--> 3 : Filter Unknown\n"})
        .MemberValue(2),
    // Bandwidth management.
    Single(S::kStorm, "BSPEnable", kM1BspEnable, F::kDecimal, Within(0, 1),
           vf::kBandwidthManagement,
           {"# [BSPEnable]: Enable Broadcast Storm Protection \n", kEnableLegend})
        .Tabs(1),
    Single(S::kStorm, "IncludeMulticast", kM1IncludeMulticast, F::kDecimal, Within(0, 1),
           vf::kBandwidthManagement,
           {"# [IncludeMulticast]: Include Multicast Packet \n", kEnableLegend})
        .Tabs(1),
    PerPort(S::kIngress, "RLI_SET_", "", kM1RliSet, F::kDecimal, Within(0, 9),
            vf::kBandwidthManagement,
            {"# [RLI_SET]\n",
             "# \t--> \"0\" : Not Limit\n# \t--> \"1\" : Maximum 3% throughput\n"
             "# \t--> \"2\" : Maximum 5% throughput\n# \t--> \"3\" : Maximum 10% throughput\n"
             "# \t--> \"4\" : Maximum 15% throughput\n# \t--> \"5\" : Maximum 25% throughput\n"
             "# \t--> \"6\" : Maximum 35% throughput\n# \t--> \"7\" : Maximum 50% throughput\n"
             "# \t--> \"8\" : Maximum 65% throughput\n# \t--> \"9\" : Maximum 85% throughput\n"})
        .Ports(PortSet::kPresentPhysical),
    // 802.1X (the local user list is a list of its own).
    Single(S::kDot1x, "Dot1x_DataBase", kM1Dot1xDataBase, F::kDecimal, Within(1, 3), vf::kDot1x,
           {"# [Dot1x_DataBase]: DataBase Option \n",
            "# \t--> 1 : Local\n# \t--> 2 : Radius\n# \t--> 3 : Radius,Local\n"}),
    Single(S::kDot1x, "Radius_Server", kM1RadiusServer, F::kText, Length(30), vf::kDot1x,
           {"# [Radius_Server]: Radius Server\n", kMaxLength}),
    Single(S::kDot1x, "Radius_SerPort", kM1RadiusSerPort, F::kDecimal, Within(1, 65535), vf::kDot1x,
           {"# [Radius_SerPort]: Radius Server Port\n", kRange}),
    Single(S::kDot1x, "Radius_SerKey", kM1RadiusSerKey, F::kText, Length(30), vf::kDot1x,
           {"# [Radius_SerKey]: Radius Server Key\n", kMaxLength}),
    Single(S::kDot1x, "Dot1x_ReAuth", kM1Dot1xReAuth, F::kDecimal, Within(0, 1), vf::kDot1x,
           {"# [Dot1x_ReAuth]: Dot1x ReAuth\n", kEnableLegend}),
    // Kept in 16 bits: a larger period is refused, never stored cut.
    Single(S::kDot1x, "Dot1x_ReAuthPeriod", kM1Dot1xReAuthPeriod, F::kDecimal, Within(60, 65535),
           vf::kDot1x, {"# [Dot1x_ReAuthPeriod]: Dot1x ReAuth\n", kRange, kUnitSecond}),
    // The trunk entries have no 802.1X byte: theirs would lie in user 0.
    PerPort(S::kDot1x, "Dot1x_EN_", "", kM1Dot1xEnable, F::kDecimal, Within(0, 1), vf::kDot1x,
            {"# [Dot1x_EN]: Dot1x Enable \n", kEnableLegend})
        .Ports(PortSet::kPresentPhysical)
        .MemberValue(0),
    // E-mail warning.
    Single(S::kEmail, "SMTPServer", D_CONF_ETH_WARN_SMTPSrv, F::kText, Length(30),
           vf::kEmailWarning,
           {"# [SMTPServer]: SMTP server IP addr/name\n"
            "# \t --> max. length {max} words\n# ex: ",
            kExampleMailServer, " \n"})
        .Tabs(1),
    Single(S::kEmail, "SMTPAccount", D_CONF_ETH_WARN_SMTP_UNAME, F::kText, Length(45),
           vf::kEmailWarning, {"# [SMTPAccount]: account of SMTP server\n", kMailLength})
        .Tabs(1),
    Single(S::kEmail, "SMTPPassword", D_CONF_ETH_WARN_SMTP_PASSWD, F::kText, Length(45),
           vf::kEmailWarning, {"# [SMTPPassword]: account password of SMTP server\n", kMailLength})
        .Tabs(1),
    Single(S::kEmail, "1st_e-mail_address", kM1EmailAddress, F::kText, Length(30),
           vf::kEmailWarning, {"# [1st_e-mail_address]: 1st e-mail address\n", kMailLength})
        .Tabs(1),
    Single(S::kEmail, "2nd_e-mail_address", kM1EmailAddress, F::kText, Length(30),
           vf::kEmailWarning, {"# [2nd_e-mail_address]: 2nd e-mail address\n", kMailLength})
        .Tabs(1)
        .ListIndex(1),
    Single(S::kEmail, "3rd_e-mail_address", kM1EmailAddress, F::kText, Length(30),
           vf::kEmailWarning, {"# [3rd_e-mail_address]: 3rd e-mail address\n", kMailLength})
        .Tabs(1)
        .ListIndex(2),
    Single(S::kEmail, "4th_e-mail_address", kM1EmailAddress, F::kText, Length(30),
           vf::kEmailWarning, {"# [4th_e-mail_address]: 4th e-mail address\n", kMailLength})
        .Tabs(1)
        .ListIndex(3),
    Single(S::kEmailEvents, "EW_SystemEvents", D_CONF_ETH_WARN_SFLAGA8, F::kHex4,
           Only(Rule::kSystemHex, 0x10000), vf::kEmailWarning,
           {"# [SystemEvents]: System Events(Hex.)\n",
            "# \t--> 0x0000 : Disable All.\n"
            "# \t--> 0x0001 : Enable Server Cold Start.\n"
            "# \t--> 0x0002 : Enable Server Warm Start.\n"
            "# \t--> 0x0004 : Enable Configuration Change Activated.\n"
            "# \t--> 0x0008 : Enable Power Transition (On->Off).\n"
            "# \t--> 0x0010 : Enable Power Transition (Off->On).\n"
            "# \t--> 0x0020 : Enable Authentication Failure.\n"
            "# \t--> 0x0040 : Enable Comm. Redundancy Topology Changed.\n"
            "# \t--> 0x0200 : DI 1(On->Off).\n# \t--> 0x0400 : DI 1(Off->On).\n"
            "# \t--> 0x0800 : DI 2(On->Off).\n# \t--> 0x1000 : DI 2(Off->On).\n",
            "# ex: SystemEvents 0x0013\n"
            "#     ==>Set Email Warning Event : Cold start , Warm start , Power transition \n"}),
    PerPort(S::kEmailEvents, "EW_PortEvents_", "", kM1EwPortEvents, F::kHex2,
            Only(Rule::kPortEvents, 7), vf::kEmailWarning,
            {"\n# [EW_PortEvents]: PortEvents(Hex.)\n",
             "# \t--> format: PortEvents [LINK_ON(bit 0)+LINK_OFF(bit 1)+OVER(bit 2)]\n"
             "# \t--> 0x00 : Disable All.\n# \t--> 0x01 : Enable Link-ON.\n"
             "# \t--> 0x02 : Enable Link-OFF.\n# \t--> 0x04 : Enable Traffic-Overload.\n",
             "# ex: PortEvents 0x06\n"
             "#     ==>Set Email Warning Event for this port: Enable Link-OFF , Enable "
             "Traffic-Overload\n"})
        .Ports(PortSet::kPopulated),
    PerPort(S::kEmailEvents, "EW_TrafThreshold_", "", kM1EwTrafThreshold, F::kUnsigned,
            Within(0, 100), vf::kEmailWarning,
            {"# [EW_TrafThreshold]\n", "# \t--> Range {low} to {high} % \n"})
        .Tabs(1)
        .Unit(" %")
        .Ports(PortSet::kPopulated),
    PerPort(S::kEmailEvents, "EW_TrafDuration_", "", kM1EwTrafDuration, F::kUnsigned,
            Within(1, 300), vf::kEmailWarning,
            {"# [EW_TrafDuration]\n", "# \t--> Range {low} to {high} sec\n"})
        .Unit(" sec")
        .Ports(PortSet::kPopulated),
    // Relay warning.
    Single(S::kRelay, "Relay1Override", kM1Relay1Override, F::kUnsigned, Within(0, 1),
           vf::kRelayAlarm, {"# [RelayOverride]: Override Relay Warning Setting\n", kEnableLegend})
        .Tabs(1),
    Single(S::kRelay, "Relay2Override", kM1Relay2Override, F::kUnsigned, Within(0, 1),
           vf::kRelayAlarm)
        .Tabs(1),
    Single(S::kRelay, "Power_Input_1_failure(On->Off)", kM1PowerInput1Failure, F::kUnsigned,
           Within(0, 2), vf::kRelayAlarm, {"\n# [Power_Input_failure(On->Off)]\n", kRelayLegend})
        .Tabs(1),
    Single(S::kRelay, "Power_Input_2_failure(On->Off)", kM1PowerInput2Failure, F::kUnsigned,
           Within(0, 2), vf::kRelayAlarm)
        .Tabs(1),
    Single(S::kRelay, "RW_DI1_N2F", kM1RwDi1N2F, F::kUnsigned, Within(0, 2), vf::kRelayAlarm,
           {"\n# [DI Events]\n", kRelayLegend, "# [RW_DI1_N2F]: DI 1(Off)\n"})
        .Tabs(1),
    Single(S::kRelay, "RW_DI1_F2N", kM1RwDi1F2N, F::kUnsigned, Within(0, 2), vf::kRelayAlarm,
           {"# [RW_DI1_F2N]: DI 1(On)\n"})
        .Tabs(1),
    Single(S::kRelay, "RW_DI2_N2F", kM1RwDi2N2F, F::kUnsigned, Within(0, 2), vf::kRelayAlarm,
           {"# [RW_DI2_N2F]: DI 2(Off)\n"})
        .Tabs(1),
    Single(S::kRelay, "RW_DI2_F2N", kM1RwDi2F2N, F::kUnsigned, Within(0, 2), vf::kRelayAlarm,
           {"# [RW_DI2_F2N]: DI 2(On)\n"})
        .Tabs(1),
    PerPort(S::kRelayPorts, "RW_PortLink_", "", kM1RwPortLink, F::kDecimal, Within(0, 4),
            vf::kRelayAlarm,
            {"# [RW_PortLink]: Port Link Alarm Event\n",
             "# \t--> 0 : Disable\n# \t--> 1 : On (relay 1)\n# \t--> 2 : On (relay 2)\n"
             "# \t--> 3 : Off (relay 1)\n# \t--> 4 : Off (relay 2)\n"})
        .Tabs(3)
        .Ports(PortSet::kPopulated)
        .MemberValue(0),
    PerPort(S::kRelayPorts, "RW_PortTraf_", "", kM1RwPortTraf, F::kDecimal, Within(0, 2),
            vf::kRelayAlarm, {"# [RW_PortTraf]: Traffic-Overload\n", kRelayLegend})
        .Tabs(3)
        .Ports(PortSet::kPopulated),
    PerPort(S::kRelayPorts, "RW_TrafThreshold_", "", kM1RwTrafThreshold, F::kUnsigned,
            Within(0, 100), vf::kRelayAlarm,
            {"# [RW_TrafficThreshold]: Traffic-Threshold\n", "# \t--> Range {low} to {high} %\n"})
        .Tabs(1)
        .Unit(" %")
        .Ports(PortSet::kPopulated)
        .MemberValue(0),
    // The legend's 1..300: the duration is stored whole, never cut to a byte.
    PerPort(S::kRelayPorts, "RW_TrafDuration_", "", kM1RwTrafDuration, F::kUnsigned, Within(1, 300),
            vf::kRelayAlarm,
            {"# [RW_TrafficDuration]: Traffic-Duration\n", "# \t--> Range {low} to {high} sec\n"})
        .Unit(" sec")
        .Ports(PortSet::kPopulated)
        .MemberValue(1),
    // Line-swap fast recovery, device IP, mirror.
    Single(S::kLineSwap, "FASTRECOVERY", kM1FastRecovery, F::kHex, Within(0, 1), vf::kLineSwap,
           {"# [FASTRECOVERY]: Line-Swap fast recovery\n"
            "# Enable/Disable Line-Swap fast recovery for all ports.\n",
            "# \t--> 0 : Disable All Ports\n# \t--> 1 : Enable All Ports\n"})
        .Tabs(1),
    PerPort(S::kDeviceIp, "DeviceIP_", "", kM1DeviceIp, F::kAddress, Only(Rule::kAddress),
            vf::kSetDeviceIp, {"# [DeviceIP]\n", "# \t--> ex: DeviceIP_1-1 XXX.XXX.XXX.XXX\n"})
        .Tabs(1)
        .MemberValue(0),
    Single(S::kMirror, "MonitoredPort", D_CONF_ETH_TARGET_PORT, F::kPortRef, Only(Rule::kPortRef),
           vf::kMirror,
           {"# [MonitoredPort]: Monitored Port\n",
            "# \t--> 1-1,1-2,...G-1,G-2,Trk1,Trk2,Trk3,Trk4 : Port 1-1,Port 1-2,...Port "
            "G-1,Port G-2,Trk1,Trk2,Trk3,Trk4\n",
            "# \t==> Set '0' indicates not use.\n"})
        .Tabs(1),
    Single(S::kMirror, "WatchDirection", D_CONF_ETH_MIRROR_DIR, F::kDecimal, Within(0, 2),
           vf::kMirror,
           {"# [WatchDirection]: Watch Direction\n",
            "# \t--> 0 : Input data stream\n# \t--> 1 : Output data stream\n"
            "# \t--> 2 : Bi-directional\n"})
        .Tabs(1),
    Single(S::kMirror, "MirrorPort", D_CONF_ETH_MIRROR_PORT, F::kPortRef, Only(Rule::kPhysicalRef),
           vf::kMirror,
           {"# [MirrorPort]: Mirror Port\n",
            "# \t--> 1-1,1-2,...G-1,G-2 : Port 1-1,Port 1-2,...,Port G-1,Port G-2\n",
            "# \t--> Set '0' indicates not use.\n"})
        .Tabs(1),
};

}  // namespace

/// "%d" with the canonical spelling of `n`: digits only, no leading zero.
std::optional<std::size_t> CanonicalNumber(std::string_view text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  if (text.size() > 1 && text[0] == '0') return std::nullopt;
  std::size_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  return n;
}

std::span<const Setting> Schema() { return kSettings; }

std::span<const Setting> SectionRows(Section section) {
  const std::span<const Setting> all = kSettings;
  std::size_t begin = 0;
  while (begin < all.size() && all[begin].section != section) ++begin;
  std::size_t end = begin;
  while (end < all.size() && all[end].section == section) ++end;
  return all.subspan(begin, end - begin);
}

/// The single keys by a hash of the key (the other rows carry no name
/// here): every line of a file asks.
constexpr auto kSingleKeyOf = [](std::size_t row) {
  return kSettings[row].shape == KeyShape::kSingle ? kSettings[row].key : std::string_view();
};
constexpr std::size_t kSingleKeySlots = 1024;
static_assert(std::size(kSettings) <= kSingleKeySlots / 2);
constexpr auto kSingleKeyRows =
    NameIndex<kSingleKeySlots>::Build(std::size(kSettings), kSingleKeyOf);

const Setting* FindSingle(std::string_view key) {
  const auto row = kSingleKeyRows.Find(key, kSingleKeyOf);
  return row ? &kSettings[*row] : nullptr;
}

std::optional<std::size_t> PortOfKey(std::string_view key, std::string_view prefix,
                                     std::string_view suffix) {
  if (key.size() <= prefix.size() + suffix.size()) return std::nullopt;
  // The first character turns most keys away before a comparison of the rest.
  if (!prefix.empty() && key[0] != prefix[0]) return std::nullopt;
  if (key.substr(0, prefix.size()) != prefix) return std::nullopt;
  if (key.substr(key.size() - suffix.size()) != suffix) return std::nullopt;
  const std::string_view name =
      key.substr(prefix.size(), key.size() - prefix.size() - suffix.size());
  static const std::array<std::string, kPortCount> kNames = [] {
    std::array<std::string, kPortCount> names;
    for (std::size_t i = 0; i < kPortCount; ++i) names[i] = PortNameOfIndex(i);
    return names;
  }();
  static const auto kNameOf = [](std::size_t i) { return std::string_view(kNames[i]); };
  static const auto kRowsByName = NameIndex<64>::Build(kPortCount, kNameOf);
  return kRowsByName.Find(name, kNameOf);
}

std::optional<KeyMatch> MatchKey(std::string_view key) {
  if (const Setting* row = FindSingle(key)) return KeyMatch{row, row->listIndex};
  for (const Setting& row : kSettings) {
    if (row.shape != KeyShape::kPerPort) continue;
    if (const auto port = PortOfKey(key, row.key, row.suffix)) return KeyMatch{&row, *port};
  }
  for (const Setting& row : kSettings) {
    if (row.shape != KeyShape::kNumbered || key.substr(0, row.key.size()) != row.key) continue;
    const auto number = CanonicalNumber(key.substr(row.key.size()));
    if (number && *number >= row.first && *number <= row.last) {
      return KeyMatch{&row, *number - row.first};
    }
  }
  return std::nullopt;
}

std::string LegendText(std::string_view text, const Setting& row) {
  std::string filled(text);
  const std::pair<std::string_view, std::int32_t> fields[] = {
      {"{low}", row.rule.min}, {"{high}", row.rule.max}, {"{max}", row.rule.max}};
  for (const auto& [name, value] : fields) {
    for (std::size_t at; (at = filled.find(name)) != std::string::npos;) {
      filled.replace(at, name.size(), std::to_string(value));
    }
  }
  return filled;
}

std::string KeyOf(const Setting& row, std::size_t listIndex) {
  switch (row.shape) {
    case KeyShape::kSingle:
      return std::string(row.key);
    case KeyShape::kPerPort:
      return std::string(row.key) + PortNameOfIndex(listIndex) + std::string(row.suffix);
    case KeyShape::kNumbered:
      return std::string(row.key) + std::to_string(listIndex + row.first);
  }
  return std::string(row.key);
}

}  // namespace gen_m1
}  // namespace vantrell
