#include "config/gen_a_schema.h"

#include <algorithm>

#include "config/file_writer.h"

namespace vantrell::a8schema {
namespace {

using namespace item;
namespace vf = validation;

constexpr LineEnd kLine = LineEnd::kLine;

// ---- layouts ----

/// A value line followed by an empty line.
constexpr Layout W(Format format, int tabs, Legend legend = {}) {
  return {format, static_cast<std::int8_t>(tabs), LineEnd::kLineAndBlank, legend};
}
/// A value line without the empty line after it.
constexpr Layout WL(Format format, int tabs, Legend legend = {}) {
  return {format, static_cast<std::int8_t>(tabs), kLine, legend};
}
/// GenA1: a value line under the item's catalogue comment.
constexpr Layout WC(Format format, int tabs, std::string_view constName) {
  Layout layout = W(format, tabs);
  layout.comment = constName;
  return layout;
}
constexpr Layout WithComment(Layout layout, std::string_view constName) {
  layout.comment = constName;
  return layout;
}
constexpr Layout WithHeader(Layout layout, std::string_view header) {
  layout.header = header;
  return layout;
}
constexpr Layout WithEmptyTabs(Layout layout, int emptyTabs) {
  layout.emptyTabs = static_cast<std::int8_t>(emptyTabs);
  return layout;
}
constexpr Layout kNotWritten{};
/// A text GenA1 takes whatever its length.
constexpr Rule kAnyText{Check::kText};

// ---- rows ----

/// Numbers first..last, items `stride` apart.
constexpr Row Numbers(Row row, int first, int last, int stride = 1) {
  row.first = static_cast<std::uint8_t>(first);
  row.last = static_cast<std::uint8_t>(last);
  row.stride = static_cast<std::uint8_t>(stride);
  return row;
}
constexpr Row PerPort(Row row, int stride = 1) { return Numbers(row, 1, 8, stride); }
/// Written and read in the per-number loop of the row before.
constexpr Row WithPrevious(Row row) {
  row.withPrevious = true;
  return row;
}
constexpr Row A1Rule(Row row, Rule rule) {
  row.a1Rule = rule;
  return row;
}
/// GenA1 carries numbers first..8 of a row that GenA2 carries to its trunks.
constexpr Row A1Ports(Row row) {
  row.a1Last = 8;
  return row;
}

// ---- legend lines that several rows share ----

constexpr std::string_view kDisableEnable = "# \t--> 0 : Disable\n# \t--> 1 : Enable\n";
constexpr std::string_view kWebLines =
    "# \t--> 0 : Disable Web Configuration\n# \t--> 1 : Enable Web Configuration\n";
constexpr std::string_view kTelnetLines =
    "# \t--> 0 : Disable Telnet Console\n# \t--> 1 : Enable Telnet Console\n";
constexpr std::string_view kAccessExample = "# ex: AccessIP1 192.168.127.253/255.255.255.0\n";
constexpr std::string_view kPortSettingHeader = "# [LAN Port {} Setting]\n";
constexpr std::string_view kPortHeader = "# [Port {}]\n";
constexpr std::string_view kSpacedPortHeader = "\n# [Port {}]\n";
constexpr std::string_view kMaxLength = "# \t--> max. length = {max} words\n";
constexpr std::string_view kMailMaxLength = "# \t--> max. length {max} words\n";
constexpr std::string_view kAddressForm = "# \t--> format : (xxx.xxx.xxx.xxx)\n";
constexpr std::string_view kQueryPeriodLines =
    "# \t--> Range {low} to {high}\n# \t--> unit is second.\n";
constexpr std::string_view kMasterLines = "# \t--> 0 : NO\n# \t--> 1 : Yes\n";
/// The two lines of a GenA2 port or trunk choice.
constexpr std::string_view kPortChoiceLines =
    "# \t--> 1,2,...8 : Port 1,Port 2,...Port 8\n# \t--> 9,10,11,12 : Trk 1,Trk 2,Trk 3,Trk 4\n";
constexpr std::string_view kQueueLines =
    "# \t--> 0 : Low\n# \t--> 1 : Normal\n# \t--> 2 : Medium\n# \t--> 3 : High\n";
constexpr std::string_view kSchedulingLines =
    "# \t--> 0 : Weight Fair(8:4:2:1)\n# \t--> 1 : Strict(High Priority First Always)\n";
constexpr std::string_view kSystemEventLines =
    "# \t--> 0000 : Disable All.\n"
    "# \t--> 0001 : Enable Server Cold Start.\n"
    "# \t--> 0002 : Enable Server Warm Start.\n"
    "# \t--> 0004 : Enable Configuration Change Activated.\n"
    "# \t--> 0008 : Enable Power Transition (On->Off).\n"
    "# \t--> 0010 : Enable Power Transition (Off->On).\n"
    "# \t--> 0020 : Enable Authentication Failure.\n"
    "# \t--> 0040 : Enable Comm. Redundancy Topology Changed.\n"
    "# \t--> 0200 : DI 1(On->Off).\n"
    "# \t--> 0400 : DI 1(Off->On).\n"
    "# \t--> 0800 : DI 2(On->Off).\n"
    "# \t--> 1000 : DI 2(Off->On).\n";
constexpr std::string_view kPortEventLines =
    "# \t--> 00 : Disable All.\n# \t--> 01 : Enable Link-ON.\n# \t--> 02 : Enable Link-OFF.\n"
    "# \t--> 04 : Enable Traffic-Overload.\n";
/// GenA1's legends of the traffic threshold and duration of a port.
constexpr std::string_view kA1ThresholdLegend =
    "# Traffic-Threshold :\n# \t--> Range {low} to {high} %.\n";
constexpr std::string_view kA1DurationLegend =
    "# Traffic-Duration :\n# \t--> Range {low} to {high} (sec.)\n";
constexpr std::string_view kRelayChoiceLines =
    "# \t--> 0 : Disable\n# \t--> 1 : Enable (relay 1)\n# \t--> 2 : Enable (relay 2)\n";
constexpr std::string_view kLinkChoiceLines =
    "# \t--> 0 : Disable\n# \t--> 1 : On (relay 1)\n# \t--> 2 : On (relay 2)\n"
    "# \t--> 3 : Off (relay 1)\n# \t--> 4 : Off (relay 2)\n\n";
constexpr std::string_view kFastRecoveryLines =
    "# Enable/Disable Line-Swap fast recovery for all ports.\n"
    "# \t--> 0 : Disable All Ports\n# \t--> 1 : Enable All Ports\n";
constexpr std::string_view kWatchDirectionLines =
    "# \t--> 1 : Output data stream\n# \t--> 2 : Bi-directional\n";
constexpr std::string_view kPortsOneToEight = "# \t--> 1,2,...8 : Port 1,Port 2,...Port 8\n";
constexpr std::string_view kSnmpAuthLines =
    "# \t--> 0: NO-AUTH\n# \t--> 1: MD5\n# \t--> 2: SHA\n# Note :\n"
    "# If you want to set MD5 or SHA,\n";
constexpr std::string_view kSnmpEncryptionLines =
    "# \t--> 0: Disable\n# \t--> 1: Enable\n# Note :\n";
constexpr std::string_view kSnmpKeyLines =
    "# \t--> max. length = {max} words\n# \t--> min. length = 8 words\n";  // the SNMP cross-check's
                                                                           // 8

constexpr Row kRows[] = {
    // ---- system identification ----
    {Section::kSystem, "SwitchName", D_CONF_ETH_NAMEA8, vf::kSystem, TextUpTo(30),
     WC(Format::kText, 2, "D_CONF_ETH_NAMEA8"),
     W(Format::kText, 2, {"# [SwitchName]: Switch Name\n", kMaxLength})},
    {Section::kSystem, "Location", D_CONF_ETH_LOCATIONA8, vf::kSystem, TextUpTo(80),
     WC(Format::kText, 2, "D_CONF_ETH_LOCATIONA8"),
     W(Format::kText, 2, {"# [Location]: Switch Location\n# \t--> max. length = {max} words\n"})},
    {Section::kSystem, "SysDescr", D_CONF_ETH_SYSDESCRA8, vf::kSystem, TextUpTo(30),
     WC(Format::kText, 2, "D_CONF_ETH_SYSDESCRA8"),
     W(Format::kText, 2, {"# [SysDescr]: Switch Description\n", kMaxLength})},
    {Section::kSystem, "Contact", D_CONF_ETH_CONTACTA8, vf::kSystem, TextUpTo(30),
     WC(Format::kText, 2, "D_CONF_ETH_CONTACTA8"),
     W(Format::kText, 3, {"# [Contact]: Maintainer Contact Info\n", kMaxLength})},
    {Section::kSystem, "WebConfig", D_CONF_ETH_FLAG_WEBA8, vf::kSystem, kFlag,
     W(Format::kHex, 2, {"# [Web Configuration]\n", kWebLines}),
     W(Format::kHex, 2, {"# [WebConfig]: Web Configuration\n", kWebLines})},
    {Section::kSystem, "TelnetConsole", D_CONF_ETH_FLAG_TELNETA8, vf::kSystem, kFlag,
     W(Format::kHex, 1, {"# [Telnet Console]\n", kTelnetLines}),
     W(Format::kHex, 1, {"# [TelnetConsole]: Telnet Console\n", kTelnetLines})},

    // ---- password ----
    {Section::kPassword, "UserPassword", D_CONF_ETH_USERPWD, vf::kPasswords, TextUpTo(16),
     WC(Format::kText, 1, "D_CONF_ETH_USERPWD"),
     W(Format::kText, 2, {"# [UserPassword]: User Password\n# \t--> Max. length = {max} words\n"})},

    // ---- accessible IP list ----
    {Section::kAccessList, "Enable_AccessIp", D_CONF_GRANTIP_INUSED, vf::kAccessibleIp, kFlag,
     W(Format::kDecimal, 1,
       {"# [Enable the accessible IP list] (\"Disable\" will allow all IP's connection)\n",
        kDisableEnable}),
     W(Format::kUnsigned, 1,
       {"# [Enable_AccessIp]: Enable the accessible IP list\n",
        "# \t--> \"Disable\" will allow all IP's connection\n", kDisableEnable})},
    Numbers({Section::kAccessList, "AccessIp{}", D_CONF_GRANTIP_IP1, vf::kAccessibleIp, kSpecial,
             WL(Format::kText, 1, {"# [Access IP list]\n", kAccessExample}),
             WL(Format::kText, 2, {"# [AccessIp]: Access IP list\n", kAccessExample})},
            1, 10),

    // ---- ports ----
    PerPort({Section::kPorts, "Port{}_Enable", D_CONF_ETH_PCFG_DISABLE1, vf::kPort, kFlag,
             WithHeader(WL(Format::kDecimal, 1,
                           {"# [LAN Port Setting]\n# PortEnable : Enable/Disable Port flag.\n"
                            "#\t\t--> 0  : DISABLE\n#\t\t--> 1  : ENABLE\n"}),
                        kPortSettingHeader),
             WithHeader(W(Format::kDecimal, 1,
                          {"# [LAN Port Setting]\n# [Port_Enable]: Enable/Disable Port flag.\n"
                           "# \t--> 0  : Disable\n# \t--> 1  : Enable\n"}),
                        kPortSettingHeader)},
            6),
    WithPrevious(
        PerPort({Section::kPorts, "Port{}_Speed", D_CONF_ETH_PCFG_SPEED1, vf::kPort, Between(0, 4),
                 WL(Format::kDecimal, 2,
                    {"# PortSpeed : Port Speed.\n#\t\t--> 0  : AUTO\n#\t\t--> 1  : 100FULL\n"
                     "#\t\t--> 2  : 100HALF\n#\t\t--> 3  : 10FULL\n#\t\t--> 4  : 10HALF\n"}),
                 W(Format::kDecimal, 2,
                   {"# [Port_Speed]: Port Speed.\n# \t--> 0  : AUTO\n# \t--> 1  : 100FULL\n"
                    "# \t--> 2  : 100HALF\n# \t--> 3  : 10FULL\n# \t--> 4  : 10HALF\n"})},
                6)),
    WithPrevious(PerPort(
        {Section::kPorts, "Port{}_FDX", D_CONF_ETH_PCFG_FDX1, vf::kPort, kFlag,
         WL(Format::kDecimal, 2,
            {"# PortFDX : Port FDX Flow Ctrl.\n#\t\t--> 0  : Disable\n#\t\t--> 1  : Enable\n"}),
         W(Format::kDecimal, 2,
           {"# [Port_FDX]: Port FDX Flow Ctrl.\n# \t--> 0  : Disable\n# \t--> 1  : Enable\n"})},
        6)),
    WithPrevious(
        PerPort({Section::kPorts, "Port{}_MDIFlag", D_CONF_ETH_PCFG_FLAG1, vf::kPort, Between(0, 2),
                 W(Format::kDecimal, 1,
                   {"# ProtMDIFlag : Set Cable Type is MDI or MDIX.\n#\t\t--> 0  : AUTO\n"
                    "#\t\t--> 1  : MDIX\n#\t\t--> 2  : MDI\n"}),
                 W(Format::kDecimal, 1,
                   {"# [Port_MDIFlag]: Set Cable Type is MDI or MDIX.\n# \t--> 0  : AUTO\n"
                    "# \t--> 1  : MDIX\n# \t--> 2  : MDI\n",
                    "# Note :\n# If you want to aggregate some ports to one trunking group,\n"
                    "# the speed of those ports in a trunking group must be same.\n"})},
                6)),

    // ---- network ----
    {Section::kNetwork, "AUTOIP", D_CONF_ETH_FLAG_AUTOIP, vf::kNetwork, Between(0, 2),
     W(Format::kHex, 1,
       {"# [Auto IP Configuration]\n#\t\t--> 0 : Disable\n#\t\t--> 1 : Enable DHCP\n",
        "#\t\t--> 2 : Enable BOOTP\n"}),
     W(Format::kHex, 3,
       {"# [AUTOIP]: Auto IP Configuration\n# \t--> 0 : Disable\n# \t--> 1 : Enable DHCP\n",
        "# \t--> 2 : Enable BOOTP\n"})},
    {Section::kNetwork, "IPAddress", D_CONF_ETH_IPADDR, vf::kNetwork, kHostAddress,
     WC(Format::kAddress, 1, "D_CONF_ETH_IPADDR"),
     W(Format::kAddress, 2,
       {"# [IPAddress]: IP Address\n", kAddressForm, "# \t--> ex : 192.168.12.1\n"})},
    {Section::kNetwork, "Netmask", D_CONF_ETH_IPMASK, vf::kNetwork, kNetmask,
     WC(Format::kAddressOrEmpty, 2, "D_CONF_ETH_IPMASK"),
     WithEmptyTabs(W(Format::kAddressOrEmpty, 3,
                     {"# [Netmask]: Subnet Mask\n", kAddressForm, "# \t--> ex : 255.255.0.0\n"}),
                   0)},
    {Section::kNetwork, "Gateway", D_CONF_ETH_GATEWAY, vf::kNetwork, kAddress,
     WC(Format::kAddressOrEmptyAll, 2, "D_CONF_ETH_GATEWAY"),
     WithEmptyTabs(
         W(Format::kAddressOrEmptyAll, 3,
           {"# [Gateway]: Default Gateway\n", kAddressForm, "# \t--> ex : 192.168.1.55\n"}),
         0)},
    {Section::kNetwork, "DNSIP", D_CONF_ETH_DNSSIP, vf::kNetwork, kAddress,
     WC(Format::kAddressOrEmptyAll, 1, "D_CONF_ETH_DNSSIP"),
     WithEmptyTabs(
         W(Format::kAddressOrEmptyAll, 3,
           {"# [DNSIP]: DNS Server IP Address\n", kAddressForm, "# \t--> ex : 192.168.1.56\n"}),
         0)},
    {Section::kNetwork, "DNSIP1", D_CONF_ETH_DNSSIP1, vf::kNetwork, kAddress,
     W(Format::kAddressOrEmptyAll, 1), WithEmptyTabs(W(Format::kAddressOrEmptyAll, 3), 0)},
    // GenA1 only; GenA2 carries the trap server in its SNMP section.
    A1Rule({Section::kNetwork, "TRAP", D_CONF_ETH_TRAPS, vf::kNetwork, kNotRead,
            WC(Format::kText, 1, "D_CONF_ETH_TRAPS"), kNotWritten},
           kAnyText),
    A1Rule({Section::kNetwork, "Community", D_CONF_ETH_COMMUNITY, vf::kNetwork, kNotRead,
            WC(Format::kText, 1, "D_CONF_ETH_COMMUNITY"), kNotWritten},
           kAnyText),

    // ---- port trunking (GenA2) ----
    PerPort({Section::kTrunking, "Port{}_SetToTrunk", D_CONF_ETH_PORTTRUNKING_P1, vf::kPortTrunking,
             Between(0, 4), kNotWritten,
             WithHeader(W(Format::kDecimal, 2,
                          {"# [Port_SetToTrunk]: Trunking Group Set\n# \t--> 0 : Not set\n"
                           "# \t--> 1 : Set to Trunking Group 1 (Trk1)\n"
                           "# \t--> 2 : Set to Trunking Group 2 (Trk2)\n"
                           "# \t--> 3 : Set to Trunking Group 3 (Trk3)\n"
                           "# \t--> 4 : Set to Trunking Group 4 (Trk4)\n",
                           "# Note :\n# If you want to set the port trunking settings , the "
                           "follow functions will set to default factory values !\n"
                           "# Even those functions will be disabled !\n"
                           "# 802.1Q VLAN , Mirror , Port Lock , Static Unicast MAC Address\n"}),
                        kPortHeader)}),

    // ---- SNMP (GenA2) ----
    {Section::kSnmp, "SNMPVERSION", D_CONF_SNMP_VERSION, vf::kSnmp, BetweenOrEmpty(0, 2),
     kNotWritten,
     W(Format::kNamed, 3,
       {"# [SNMPVERSION]: SNMP Version\n# \t--> 0: V1, V2c, V3\n# \t--> 1: V1, V2c\n",
        "# \t--> 2: V3 only\n"})},
    {Section::kSnmp, "V1_V2c_RCommunity", D_CONF_SNMP_V1V2CROCOMM, vf::kSnmp, TextUpTo(30),
     kNotWritten,
     W(Format::kText, 2, {"# [V1_V2c_RCommunity]: V1,V2c Read Community\n", kMaxLength})},
    {Section::kSnmp, "V1_V2c_RWCommunity", D_CONF_SNMP_V1V2CRWCOMM, vf::kSnmp, TextUpTo(30),
     kNotWritten,
     W(Format::kText, 2, {"# [V1_V2c_RWCommunity]: V1,V2c Read/Write Community\n", kMaxLength})},
    {Section::kSnmp, "Admin_AuthType", D_CONF_SNMP_V3AAUTHTYPE, vf::kSnmp, Between(0, 2),
     kNotWritten,
     W(Format::kDecimal, 3,
       {"# [Admin_AuthType]: Admin Auth. Type\n", kSnmpAuthLines,
        "# the admin password must be more than 8 words in the switch.\n"})},
    {Section::kSnmp, "Admin_ADEEnable", D_CONF_SNMP_V3AADEE, vf::kSnmp, kFlag, kNotWritten,
     W(Format::kDecimal, 3,
       {"# [Admin_ADEEnable]: Admin Auth. Data Encryption Enable\n", kSnmpEncryptionLines,
        "# If you want to enable data encryption for admin,\n",
        "# the admin data encryption key must be more than 8 words in the configuration file.\n"})},
    {Section::kSnmp, "Admin_DataEncryption", D_CONF_SNMP_V3ADATAENCR, vf::kSnmp, TextUpTo(30),
     kNotWritten,
     W(Format::kText, 2, {"# [Admin_DataEncryption]: Admin Data Encryption Key\n", kSnmpKeyLines})},
    {Section::kSnmp, "User_AuthType", D_CONF_SNMP_V3UAUTHTYPE, vf::kSnmp, Between(0, 2),
     kNotWritten,
     W(Format::kDecimal, 3,
       {"# [User_AuthType]: User Auth. Type\n", kSnmpAuthLines,
        "# the user password must be more than 8 words in the switch.\n"})},
    {Section::kSnmp, "User_ADEEnable", D_CONF_SNMP_V3UADEE, vf::kSnmp, kFlag, kNotWritten,
     W(Format::kDecimal, 3,
       {"# [User_ADEEnable]: User Auth. Data Encryption Enable\n", kSnmpEncryptionLines,
        "# If you want to enable data encryption for user,\n",
        "# the user data encryption key must be more than 8 words in the configuration file.\n"})},
    {Section::kSnmp, "User_DataEncryption", D_CONF_SNMP_V3UDATAENCR, vf::kSnmp, TextUpTo(30),
     kNotWritten,
     W(Format::kText, 2, {"# [User_DataEncryption]: User Data Encryption Key\n", kSnmpKeyLines})},
    {Section::kSnmp, "TRAP", D_CONF_SNMP_TRAPSERVER, vf::kSnmp, TextUpTo(30), kNotWritten,
     W(Format::kText, 3,
       {"# [TRAP]: Trap Server IP Address\n# \t--> IP or String (Max. length = {max} words.)\n"})},
    {Section::kSnmp, "TRAP_Community", D_CONF_SNMP_TRAPCOMM, vf::kSnmp, TextUpTo(30), kNotWritten,
     W(Format::kText, 2,
       {"# [TRAP Community]: TRAP Community\n",
        "# \t--> TRAP Community name (max. length = {max} words.)\n"})},

    // ---- time: the time zone legend stands in the section's own lines ----
    {Section::kTime, "TimeZone", D_CONF_ETH_DTIME_TZONE, vf::kTime, Between(0, 62),
     WL(Format::kDecimal, 1), W(Format::kDecimal, 3)},
    {Section::kTime, "1stTimeSrv", D_CONF_ETH_DTIME_SRV1, vf::kTime, TextUpTo(30),
     WL(Format::kText, 1, {"# [1st Time Server IP/Name]\n"}),
     W(Format::kText, 3,
       {"# [1stTimeSrv]: 1st Time Server IP/Name\n# \t--> max. length = {max} words.\n"})},
    {Section::kTime, "2ndTimeSrv", D_CONF_ETH_DTIME_SRV2, vf::kTime, TextUpTo(30),
     WL(Format::kText, 1, {"# [2nd Time Server IP/Name]\n"}),
     W(Format::kText, 3, {"# [2ndTimeSrv]: 2nd Time Server IP/Name\n"})},
    {Section::kTime, "QueryTimePeriod", D_CONF_ETH_DTIME_PERIOD, vf::kTime, Between(1, 9999),
     WL(Format::kDecimal, 1, {"# [Time Server Query Period]\n", kQueryPeriodLines}),
     W(Format::kUnsigned, 2,
       {"# [QueryTimePeriod]: Time Server Query Period\n", kQueryPeriodLines})},

    // ---- redundancy protocol: ring or spanning tree ----
    {Section::kRedundancy, "RedundantProtol", D_CONF_ETHA8_REDUN_PROTOCOL, vf::kCommRedundancy,
     kFlag,
     W(Format::kDecimal, 1,
       {"# [Redundancy Protocol]\n# Protocol of Redundancy.\n# \t--> 0 : IEEE 802.1W/1D\n",
        "# \t--> 1 : Zorvel Ring\n"}),
     W(Format::kUnsigned, 2,
       {"# [RedundantProtol]: Protocol of Redundancy\n# \t--> 0 : IEEE 802.1W/D\n",
        "# \t--> 1 : Zorvel Ring\n"})},

    // ---- ring ----
    {Section::kRing, "IsMaster", D_CONF_ETH_REDUN_MASTER, vf::kCommRedundancy, kFlag,
     W(Format::kDecimal, 1, {"# [Set to be Master]\n# Set to be Master.\n", kMasterLines}),
     W(Format::kUnsigned, 2, {"# [IsMaster]: Set to be Master\n", kMasterLines})},
    A1Rule(
        {Section::kRing, "ZorvelRingPort1", D_CONF_ETH_REDUN_PORT1, vf::kCommRedundancy,
         Between(1, 12), WC(Format::kDecimal, 1, "D_CONF_ETH_REDUN_PORT1"),
         W(Format::kDecimal, 1, {"# [ZorvelRingPort1]: 1st Redundant port\n", kPortChoiceLines})},
        Between(1, 8)),
    A1Rule(
        {Section::kRing, "ZorvelRingPort2", D_CONF_ETH_REDUN_PORT2, vf::kCommRedundancy,
         Between(1, 12), WC(Format::kDecimal, 1, "D_CONF_ETH_REDUN_PORT2"),
         W(Format::kDecimal, 1, {"# [ZorvelRingPort2]: 2nd Redundant port\n", kPortChoiceLines})},
        Between(1, 8)),
    {Section::kRing, "Coupling", D_CONF_ETH_REDUN_COUPLING, vf::kCommRedundancy, kFlag,
     W(Format::kDecimal, 1,
       {"# [Redundant Ring Coupling]\n# Redundant Ring Coupling.\n", kDisableEnable}),
     W(Format::kDecimal, 2, {"# [Coupling]: Redundant Ring Coupling\n", kDisableEnable})},
    A1Rule({Section::kRing, "CouplingPort", D_CONF_ETH_REDUN_CPL_PORT, vf::kCommRedundancy,
            Between(1, 12), WC(Format::kDecimal, 1, "D_CONF_ETH_REDUN_CPL_PORT"),
            W(Format::kDecimal, 1, {"# [CouplingPort]: Coupling Port\n", kPortChoiceLines})},
           Between(1, 8)),
    A1Rule({Section::kRing, "ControlPort", D_CONF_ETH_REDUN_CPL_CTRLPORT, vf::kCommRedundancy,
            Between(1, 12), WC(Format::kDecimal, 1, "D_CONF_ETH_REDUN_CPL_CTRLPORT"),
            W(Format::kDecimal, 2, {"# [ControlPort]: Coupling Control Port\n", kPortChoiceLines})},
           Between(1, 8)),

    // ---- spanning tree: the priority legends stand in the section's own lines ----
    // GenA1 takes the bridge priority as given; its accessor keeps 0..15 only.
    A1Rule({Section::kSpanningTree, "BridgeId", D_CONF_ETH_SPAN_BRIDGE_ID, vf::kCommRedundancy,
            Between(0, 15, 4096), W(Format::kDecimal, 1), W(Format::kShift12, 2)},
           kUnchecked),
    // The legends say 1 to 10; 0 has always been taken as well.
    {Section::kSpanningTree, "HelloTime", D_CONF_ETH_SPAN_HELLO_TIME, vf::kCommRedundancy,
     Between(0, 10), W(Format::kSecondsDot, 1, {"# [Hello Time]\n# \t--> Range 1 to 10 seconds\n"}),
     W(Format::kSecondsParen, 2,
       {"# [HelloTime]: Hello Time\n# \t--> Range 1 to 10\n# \t--> unit is second.\n"})},
    {Section::kSpanningTree, "MaxAge", D_CONF_ETH_SPAN_MAX_AGE, vf::kCommRedundancy, Between(6, 40),
     W(Format::kSecondsDot, 2, {"# [Max Age]\n# \t--> Range {low} to {high} seconds\n"}),
     W(Format::kSecondsParen, 3,
       {"# [MaxAge]: Max Age\n# \t--> Range {low} to {high}\n# \t--> unit is second.\n"})},
    {Section::kSpanningTree, "Forwarding", D_CONF_ETH_SPAN_FD_DELAY, vf::kCommRedundancy,
     Between(4, 30),
     W(Format::kSecondsDot, 1, {"# [Forwarding Delay]\n# \t--> Range {low} to {high} seconds\n"}),
     W(Format::kSecondsParen, 2,
       {"# [Forwarding]: Forwarding Delay\n# \t--> Range {low} to {high}\n# \t--> unit is "
        "second.\n"})},
    // Logical ports 1..12 in GenA2 (its writer lays out the trunk lines itself).
    A1Ports(Numbers({Section::kSpanningTreePorts, "STP_EN{}", D_CONF_ETH_SPAN_PORT1_EN,
                     vf::kCommRedundancy, kFlag, WithHeader(WL(Format::kDecimal, 2), kPortHeader),
                     WithHeader(W(Format::kDecimal, 3), kPortHeader)},
                    1, 12)),
    // GenA1 takes 0..255 on port 8 (its reader's own rule).
    A1Ports(WithPrevious(Numbers(
        {Section::kSpanningTreePorts, "Port_ID{}", D_CONF_ETH_SPAN_PORT1_ID, vf::kCommRedundancy,
         Between(0, 15), WL(Format::kDecimal, 1), W(Format::kShift4, 2)},
        1, 12))),
    A1Ports(WithPrevious(
        Numbers({Section::kSpanningTreePorts, "PortCost{}", D_CONF_ETH_SPAN_PATH1_COST,
                 vf::kCommRedundancy, Between(1, 200000000),
                 W(Format::kDecimal, 1, {"# PortCost : \n\n# \t--> Range {low} to {high}\n\n"}),
                 W(Format::kUnsigned, 2, {"# [PortCost] \n# \t--> Range {low} to {high}\n\n"})},
                1, 12))),

    // ---- QoS ----
    {Section::kQos, "QosMechanism", D_CONF_QOS_SCHEDULE, vf::kQos, kFlag,
     W(Format::kDecimal, 1, {"# [QOS Mechanism]\n# Queuing Mechanism\n", kSchedulingLines}),
     W(Format::kDecimal, 2, {"# [QosMechanism]: QOS Mechanism\n", kSchedulingLines})},
    PerPort({Section::kQos, "QosInspectTos{}", D_CONF_QOS_INSPECT1_TOS, vf::kQos, kFlag,
             WithHeader(WL(Format::kDecimal, 1,
                           {"# Inspect TOS \n", kDisableEnable, "# Inspect COS \n", kDisableEnable,
                            "# Default Port Priority \n", kQueueLines, "\n"}),
                        kPortHeader),
             WithHeader(W(Format::kDecimal, 2,
                          {"# [QosInspectTos]: Inspect TOS \n", kDisableEnable,
                           "# [QosInspectCos]: Inspect COS \n", kDisableEnable,
                           "# [QosPortPriority]: Default Port Priority\n", kQueueLines, "\n"}),
                        kPortHeader)}),
    WithPrevious(PerPort({Section::kQos, "QosInspectCos{}", D_CONF_QOS_INSPECT1_COS, vf::kQos,
                          kFlag, WL(Format::kDecimal, 1), W(Format::kDecimal, 2)})),
    WithPrevious(PerPort({Section::kQos, "QosPortPriority{}", D_CONF_QOS_PRIORITY1, vf::kQos,
                          Between(0, 3), WL(Format::kDecimal, 1), W(Format::kDecimal, 1)})),

    // ---- CoS mapping ----
    Numbers(
        {Section::kCosMap, "CosMap{}", D_CONF_COSMAP0, vf::kQos, Between(0, 3),
         WithHeader(W(Format::kDecimal, 1, {"# Priority Queue \n", kQueueLines}), "# [CoS {}]\n"),
         WithHeader(W(Format::kDecimal, 3,
                      {"# [CosMap]: Class of Service maps to priority queue\n", kQueueLines}),
                    "# [CoS {}]\n")},
        0, 7),

    // ---- 802.1Q VLAN ----
    // The legend of the whole section; only its first range is the management VLAN's rule.
    {Section::kVlan, "SysVID", D_CONF_VLAN_SYS_VID, vf::kVlan, Between(1, 4094),
     WL(Format::kDecimal, 1,
        {"# Management VLAN ID\n# \t--> Range {low} to {high}\n",
         "# Type \n# \t--> 1 : Access\n# \t--> 0 : Trunk\n# PVID\n# \t--> Range 1 to 4094\n",
         "# Fixed VLAN\n# \t--> Range 1 to 4094\n# \tex: FixVid1  2,88,54\n",
         "# Forbiden VLAN\n# \t--> Range 1 to 4094\n# \tex: FrbVid1  13,1048,211,2001\n",
         "\n# [Management VLAN]\n"}),
     W(Format::kDecimal, 3,
       {"# [SysVID]: Management VLAN ID\n# \t--> Range {low} to {high}\n",
        "# [VLANType]: VLAN Port Type\n# \t--> 1 : Access\n# \t--> 0 : Trunk\n"
        "# [VLANPvid]: PVID\n# \t--> Range 1 to 4094\n",
        "# [FixVid]: Fixed VLAN (Tagged)\n# \t--> Range 1 to 4094\n# \tex: FixVid1  2,88,54\n",
        "# [FrbVid]: Forbidden VLAN\n# \t--> Range 1 to 4094\n"
        "# \tex: FrbVid1  13,1048,211,2001\n",
        "# Note :\n# If you set the port trunking settings in this configuration files,\n"
        "# the follow VLAN settings will be invaild and set to factory default automatically "
        "!\n",
        "\n# [Management VLAN]\n"})},
    // GenA2 takes 0 (no PVID) on ports 5..8 (its reader's own rule).
    PerPort({Section::kVlan, "VLANType{}", D_CONF_VLAN_TYPE1, vf::kVlan, kFlag,
             WithHeader(WL(Format::kDecimal, 1), kSpacedPortHeader),
             WithHeader(WL(Format::kDecimal, 1), kSpacedPortHeader)},
            4),
    WithPrevious(
        PerPort(A1Rule({Section::kVlan, "VLANPvid{}", D_CONF_VLAN_PVID1, vf::kVlan,
                        Between(1, 4094), WL(Format::kDecimal, 1), WL(Format::kDecimal, 1)},
                       kUnchecked),
                4)),
    WithPrevious(PerPort({Section::kVlan, "FixVid{}", D_CONF_VLAN_FIXVID1, vf::kVlan, kSpecial,
                          WL(Format::kText, 1), WL(Format::kText, 1)},
                         4)),
    WithPrevious(PerPort({Section::kVlan, "FrbVid{}", D_CONF_VLAN_FRBVID1, vf::kVlan, kSpecial,
                          WL(Format::kText, 1), WL(Format::kText, 1)},
                         4)),

    // ---- IGMP snooping ----
    {Section::kIgmp, "EnableIGMPSnoop", D_CONF_IGMPSNOOP_ENABLE, vf::kVlan, kFlag,
     W(Format::kDecimal, 1, {"# [Enable Switch's IGMP Snooping]\n", kDisableEnable}),
     W(Format::kDecimal, 2,
       {"# [EnableIGMPSnoop]: Enable Switch's IGMP Snooping\n", kDisableEnable})},
    // GenA1 states GenA2's range but takes any period (its accessor keeps what fits).
    A1Rule(
        {Section::kIgmp, "QUERY_PERIOD", D_CONF_IGMPSNOOP_QUERY_PERIDO, vf::kVlan, Between(20, 600),
         W(Format::kDecimal, 1,
           {"# [Period of Proxy Query]\n# \t--> Range 20 to 600\n# \t--> unit is second\n"}),
         W(Format::kDecimal, 2,
           {"\n# [QUERY_PERIOD]: Period of Proxy Query\n# \t--> Range {low} to {high}\n",
            "# \t--> unit is second\n"})},
        kUnchecked),

    // ---- rate limiting: the legends stand in the sections' own lines ----
    PerPort({Section::kIngressRates,
             "RLI_port{}",
             D_CONF_RATE_LIMIT_INGRESS_P1,
             vf::kRateLimiting,
             kSpecial,
             {Format::kNamed, kBlankSeparator, LineEnd::kLine},
             WithHeader(W(Format::kNamed, 2), kSpacedPortHeader)}),
    PerPort({Section::kEgressRates, "RLE_port{}", D_CONF_RATE_LIMIT_ENGRESS_RATE1,
             vf::kRateLimiting, kSpecial, WL(Format::kNamed, 1),
             WithHeader(W(Format::kNamed, 2), kSpacedPortHeader)}),

    // ---- port lock ----
    // GenA2's legend lines begin with a blank, as the devices' files always had them.
    PerPort({Section::kPortLock, "LockPort{}", D_CONF_PORT_LOCK1, vf::kPortLock, kFlag,
             WithHeader(
                 W(Format::kDecimal, 1, {"# \t-> Unlock : 0\n# \t-> Lock   : 1\n# [Port Lock]\n"}),
                 "# Lock Port {}\n"),
             WithHeader(W(Format::kDecimal, 2,
                          {" # Note :\n # If you set the port trunking settings in this "
                           "configuration files,\n # the follow Port Lock settings will be "
                           "invaild and set to factory default automatically !\n",
                           " # [LockPort]: Port Lock\n # \t-> 0 : Unlock\n # \t-> 1 : Lock\n"}),
                        "\n# [Lock Port {}]\n")}),

    // ---- e-mail warning ----
    {Section::kMailWarning, "SMTPServer", D_CONF_ETH_WARN_SMTPSrv, vf::kEmailWarning,
     MailTextUpTo(30), WC(Format::kText, 1, "D_CONF_ETH_WARN_SMTPSrv"),
     W(Format::kText, 3,
       {"# [SMTPServer]: SMTP server IP addr/name\n", kMailMaxLength, "# ex: ", kExampleMailServer,
        "\n"})},
    {Section::kMailWarning, "SMTPAccount", D_CONF_ETH_WARN_SMTP_UNAME, vf::kEmailWarning,
     MailTextUpTo(45), WC(Format::kText, 1, "D_CONF_ETH_WARN_SMTP_UNAME"),
     W(Format::kText, 3, {"# [SMTPAccount]: account of SMTP server\n", kMailMaxLength})},
    {Section::kMailWarning, "SMTPPassword", D_CONF_ETH_WARN_SMTP_PASSWD, vf::kEmailWarning,
     MailTextUpTo(45), WC(Format::kText, 1, "D_CONF_ETH_WARN_SMTP_PASSWD"),
     W(Format::kText, 3, {"# [SMTPPassword]: account password of SMTP server\n", kMailMaxLength})},
    {Section::kMailWarning, "1st_e-mail_address", D_CONF_ETH_WARN_TO1, vf::kEmailWarning,
     MailTextUpTo(30), WC(Format::kText, 1, "D_CONF_ETH_WARN_TO1"),
     W(Format::kText, 2, {"# [1st_e-mail_address]: 1st e-mail address\n", kMailMaxLength})},
    {Section::kMailWarning, "2nd_e-mail_address", D_CONF_ETH_WARN_TO2, vf::kEmailWarning,
     MailTextUpTo(30), WC(Format::kText, 1, "D_CONF_ETH_WARN_TO2"),
     W(Format::kText, 2, {"# [2nd_e-mail_address]: 2nd e-mail address\n", kMailMaxLength})},
    {Section::kMailWarning, "3rd_e-mail_address", D_CONF_ETH_WARN_TO3, vf::kEmailWarning,
     MailTextUpTo(30), WC(Format::kText, 1, "D_CONF_ETH_WARN_TO3"),
     W(Format::kText, 2, {"# [3rd_e-mail_address]: 3rd e-mail address\n", kMailMaxLength})},
    {Section::kMailWarning, "4th_e-mail_address", D_CONF_ETH_WARN_TO4, vf::kEmailWarning,
     MailTextUpTo(30), WC(Format::kText, 1, "D_CONF_ETH_WARN_TO4"),
     W(Format::kText, 2, {"# [4th_e-mail_address]: 4th e-mail address\n", kMailMaxLength})},
    // GenA2 writes the "Email Alarm Events" banner before this row.
    {Section::kMailPorts, "SystemEvents", D_CONF_ETH_WARN_SFLAGA8, vf::kEmailWarning,
     HexUpTo(0x10000),
     W(Format::kHex4, 1,
       {"# [System Events(Hex.)]\n", kSystemEventLines,
        "# ex: 0013 = [Cold start]+[Warm start]+[power transition] \n"}),
     W(Format::kHex4, 2,
       {"# [SystemEvents]: System Events(Hex.)\n", kSystemEventLines, "# ex: SystemEvents 0013\n",
        "#     ==>Set Email Warning Event : Cold start , Warm start , Power transition \n"})},
    PerPort({Section::kMailPorts, "PortEvents_{}", D_CONF_ETH_WARN_PFLAG1, vf::kEmailWarning,
             HexUpTo(7),
             WL(Format::kHex2, 2,
                {"# [PortEvents(Hex.)]\n"
                 "# PortEvents : LINK_ON(bit 0)+LINK_OFF(bit 1)+OVER(bit 2)\n",
                 kPortEventLines}),
             WithHeader(
                 WL(Format::kHex2, 2,
                    {"\n# [PortEvents]: PortEvents(Hex.)\n"
                     "# \t--> format: PortEvents [LINK_ON(bit 0)+LINK_OFF(bit 1)+OVER(bit 2)]\n",
                     kPortEventLines,
                     "# ex: PortEvents 06\n#     ==>Set Email Warning Event for this port: Enable "
                     "Link-OFF , Enable Traffic-Overload\n"}),
                 kSpacedPortHeader)}),
    WithPrevious(PerPort(
        {Section::kMailPorts, "Traffic-Threshold{}", D_CONF_ETH_WARN_PLOAD1,
         vf::kEmailWarning, Between(0, 100), WL(Format::kPercent, 1, {kA1ThresholdLegend}),
         WL(Format::kPercent, 1, {"# [Traffic-Threshold]\n# \t--> Range {low} to {high} % \n"})})),
    WithPrevious(PerPort(
        {Section::kMailPorts, "Traffic-Duration{}", D_CONF_ETH_WARN_PLOADTIME1,
         vf::kEmailWarning, Between(1, 300), W(Format::kSeconds, 1, {kA1DurationLegend}),
         W(Format::kSeconds, 1, {"# [Traffic-Duration]\n# \t--> Range {low} to {high} sec\n"})})),

    // ---- relay warning ----
    {Section::kRelayWarning, "Relay1Override", D_CONF_RELAY_SFLAG_NORMAL1, vf::kRelayAlarm, kFlag,
     W(Format::kDecimal, 1, {"# [Override Relay Warning Setting]\n", kDisableEnable}),
     W(Format::kDecimal, 1,
       {"# [RelayOverride]: Override Relay Warning Setting\n", kDisableEnable})},
    {Section::kRelayWarning, "Relay2Override", D_CONF_RELAY_SFLAG_NORMAL2, vf::kRelayAlarm, kFlag,
     W(Format::kDecimal, 1), W(Format::kDecimal, 1)},
    {Section::kRelayWarning, "Power_Input_1_failure(On->Off)", D_CONF_ETH_RELAY_SFLAG_POWER1,
     vf::kRelayAlarm, Between(0, 2),
     W(Format::kDecimal, 1, {"# [Power Events]\n", kRelayChoiceLines}),
     W(Format::kDecimal, 1, {"# [Power_Input_failure(On->Off)]\n", kRelayChoiceLines})},
    {Section::kRelayWarning, "Power_Input_2_failure(On->Off)", D_CONF_ETH_RELAY_SFLAG_POWER2,
     vf::kRelayAlarm, Between(0, 2), W(Format::kDecimal, 1), W(Format::kDecimal, 1)},
    {Section::kRelayWarning, "RW_DI1_N2F", D_CONF_RELAY_SFLAG_DI1_ON2OFF, vf::kRelayAlarm,
     Between(0, 2),
     W(Format::kDecimal, 1, {"# [DI Events]\n", kRelayChoiceLines, "# [DI 1(On->Off)]\n"}),
     W(Format::kDecimal, 1, {"# [DI Events]\n", kRelayChoiceLines, "# [RW_DI1_N2F]: DI 1(Off)\n"})},
    {Section::kRelayWarning, "RW_DI1_F2N", D_CONF_RELAY_SFLAG_DI1_OFF2ON, vf::kRelayAlarm,
     Between(0, 2), W(Format::kDecimal, 1, {"# [DI 1(Off->On)]\n"}),
     W(Format::kDecimal, 1, {"# [RW_DI1_F2N]: DI 1(On)\n"})},
    {Section::kRelayWarning, "RW_DI2_N2F", D_CONF_RELAY_SFLAG_DI2_ON2OFF, vf::kRelayAlarm,
     Between(0, 2), W(Format::kDecimal, 1, {"# [DI 2(On->Off)]\n"}),
     W(Format::kDecimal, 1, {"# [RW_DI2_N2F]: DI 2(Off)\n"})},
    {Section::kRelayWarning, "RW_DI2_F2N", D_CONF_RELAY_SFLAG_DI2_OFF2ON, vf::kRelayAlarm,
     Between(0, 2), W(Format::kDecimal, 1, {"# [DI 2(Off->On)]\n"}),
     W(Format::kDecimal, 1, {"# [RW_DI2_F2N]: DI 2(On)\n"})},
    // GenA2 writes the "Port Events" banner before these rows.
    A1Rule(
        PerPort({Section::kRelayLinks, "PortLink_{}", D_CONF_ETH_RELAY_PFLAG_LINK1, vf::kRelayAlarm,
                 HexUpTo(4), W(Format::kDecimal, 1, {"# [Port Link Event]\n", kLinkChoiceLines}),
                 WithHeader(
                     W(Format::kDecimal, 1, {"# [PortLink]: Port Link Event\n", kLinkChoiceLines}),
                     kSpacedPortHeader)}),
        Between(0, 4)),
    PerPort({Section::kRelayPorts, "PortTraf_{}", D_CONF_ETH_RELAY_PFLAG_TRAF1, vf::kRelayAlarm,
             Between(0, 2), WL(Format::kDecimal, 2, {"# Traffic-Overload :\n", kRelayChoiceLines}),
             WithHeader(
                 WL(Format::kDecimal, 2, {"# [PortTraf]: Traffic-Overload\n", kRelayChoiceLines}),
                 kSpacedPortHeader)}),
    WithPrevious(PerPort(
        {Section::kRelayPorts, "Traffic_Threshold_{}", D_CONF_ETH_RELAY_PLOAD1, vf::kRelayAlarm,
         Between(0, 100),
         WL(Format::kPercent, 1, {kA1ThresholdLegend}),
         WL(Format::kPercent, 1,
            {"# [Traffic_Threshold]: Traffic-Threshold\n", "# \t--> Range {low} to {high} %\n"})})),
    WithPrevious(PerPort(
        {Section::kRelayPorts, "Traffic_Duration_{}", D_CONF_ETH_RELAY_PLOADTIME1, vf::kRelayAlarm,
         Between(1, 300),
         W(Format::kSeconds, 1, {kA1DurationLegend}),
         W(Format::kSeconds, 1,
           {"# [Traffic_Duration]: Traffic-Duration\n", "# \t--> Range {low} to {high} sec\n"})})),

    // ---- line-swap fast recovery ----
    {Section::kFastRecovery, "FASTRECOVERY", D_CONF_ETH_FLAG_FASTRECOVERY, vf::kLineSwap, kFlag,
     W(Format::kHex, 1, {"# [Line-Swap fast recovery]\n", kFastRecoveryLines}),
     W(Format::kHex, 1, {"# [FASTRECOVERY]: Line-Swap fast recovery\n", kFastRecoveryLines})},

    // ---- set device IP: the writers lay out these lines themselves ----
    // Lines end without the empty line up to the last port; GenA2 heads and
    // indents its trunk lines apart (its writer's own layout).
    A1Ports(
        Numbers({Section::kDeviceIp, "Device{}_IP", D_CONF_ETH_PCFG_DEVIP1, vf::kSetDeviceIp,
                 kAddress, WithComment(WL(Format::kAddressOrEmpty, 1), "D_CONF_ETH_PCFG_DEVIP1"),
                 WithHeader(WL(Format::kAddressOrEmpty, 1,
                               {"# [Device_IP]\n# \t--> format: Device_IP XXX.XXX.XXX.XXX\n",
                                "# \t--> Device1 ~ Device8: Port1, Port2, ...Port8\n",
                                "# \t--> Device9 ~ Device12: Trk1, Trk 2, Trk3, Trk4\n"}),
                            kSpacedPortHeader)},
                1, 12)),

    // ---- mirror ----
    {Section::kMirror, "MirrorPort", D_CONF_ETH_MIRROR_PORT, vf::kMirror, Between(0, 8),
     WC(Format::kDecimal, 1, "D_CONF_ETH_MIRROR_PORT"),
     W(Format::kDecimal, 3,
       {"# [MirrorPort]: Mirror Port\n", kPortsOneToEight,
        "# \t--> Set '0' indicates not use.\n"})},
    {Section::kMirror, "MirroredPort", D_CONF_ETH_TARGET_PORT, vf::kMirror, Between(0, 8),
     WC(Format::kDecimal, 1, "D_CONF_ETH_TARGET_PORT"),
     W(Format::kDecimal, 2,
       {"# [MirroredPort]: Monitored Port\n", kPortsOneToEight,
        "# \t==> Set '0' indicates not use.\n"})},
    {Section::kMirror, "WatchDirection", D_CONF_ETH_MIRROR_DIR, vf::kMirror, Between(1, 2),
     W(Format::kDecimal, 1, {"# [Watch Direction]\n", kWatchDirectionLines}),
     W(Format::kDecimal, 2, {"# [WatchDirection]: Watch Direction\n", kWatchDirectionLines})},
};

/// The rows of a section stand together, so that a section is one span.
constexpr bool SectionsAreContiguous() {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    for (std::size_t j = i + 2; j < std::size(kRows); ++j) {
      if (kRows[j].section == kRows[i].section && kRows[j - 1].section != kRows[i].section) {
        return false;
      }
    }
  }
  return true;
}
static_assert(SectionsAreContiguous());

}  // namespace

std::span<const Row> Rows() { return kRows; }

std::span<const Row> RowsOf(Section section) {
  const auto begin = std::find_if(std::begin(kRows), std::end(kRows),
                                  [section](const Row& row) { return row.section == section; });
  const auto end = std::find_if(begin, std::end(kRows),
                                [section](const Row& row) { return row.section != section; });
  return {begin, end};
}

const Row* FindRow(Section section, std::string_view key) {
  for (const Row& row : RowsOf(section)) {
    if (row.key == key) return &row;
  }
  return nullptr;
}

const Layout& LayoutOf(const Row& row, Gen gen) { return gen == Gen::kA1 ? row.a1 : row.a2; }

const Rule& RuleOf(const Row& row, Gen gen) {
  return gen == Gen::kA1 && row.a1Rule.check != Check::kInherit ? row.a1Rule : row.rule;
}

int LastNumber(const Row& row, Gen gen) {
  return gen == Gen::kA1 && row.a1Last != 0 ? row.a1Last : row.last;
}

ConfigItemId ItemOf(const Row& row, int n) {
  return row.id + static_cast<ConfigItemId>(row.stride * (n - row.first));
}

std::string Numbered(std::string_view pattern, int n) {
  const std::size_t at = pattern.find("{}");
  if (at == std::string_view::npos) return std::string(pattern);
  std::string text(pattern.substr(0, at));
  text += std::to_string(n);
  text += pattern.substr(at + 2);
  return text;
}

}  // namespace vantrell::a8schema
