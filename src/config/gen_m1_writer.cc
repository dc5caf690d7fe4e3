#include "config/gen_m1_writer.h"

#include <cstdio>

#include "config/config_item_ids.h"
#include "config/export_notes.h"
#include "config/file_writer.h"
#include "config/gen_a_encodings.h"
#include "config/gen_m1_block.h"

namespace vantrell {
namespace {

using namespace item;
using gen_m1::PortNameOfIndex;

constexpr std::string_view kRule = "###################################################\n";
constexpr std::string_view kL01 = "# \t--> 0 : Disable\n# \t--> 1 : Enable\n";
constexpr std::string_view kPortNamesLegend =
    "# \t--> 1-1,1-2,1-3,....,G-1,G-2 : Port 1-1,Port 1-2,...Port G-1,Port G-2\n"
    "# \t--> Trk1,Trk2,Trk3,Trk4 : Trk 1,Trk 2,Trk 3,Trk 4\n";

/// Everything one export needs: the sink, the block and its accessors.
class M1Writer {
 public:
  M1Writer(std::string& out, const DeviceRecord& record, const ConfigBlock& block,
           ItemAccessors& accessors)
      : file_(out), record_(record), block_(block), accessors_(accessors) {}

  void WriteAll();

 private:
  // Values as text; an item the block cannot give is written empty.
  std::string Dec(ConfigItemId id, std::size_t n = 0) const {
    const auto v = accessors_.getNumber(block_, id, n);
    return v ? FormatDecimal(*v) : std::string();
  }
  std::string Hex(ConfigItemId id, std::size_t n = 0) const {
    const auto v = accessors_.getNumber(block_, id, n);
    return v ? FormatHex(*v) : std::string();
  }
  std::string Unsigned(ConfigItemId id, std::size_t n = 0) const {
    const auto v = accessors_.getNumber(block_, id, n);
    return v ? std::to_string(*v) : std::string();
  }
  std::string Text(ConfigItemId id, std::size_t n = 0) const {
    const auto v = accessors_.getText(block_, id, n);
    return v ? FormatText(*v) : std::string();
  }
  std::string Address(ConfigItemId id, std::size_t n = 0) const {
    const auto v = accessors_.getNumber(block_, id, n);
    return v ? FormatAddress(*v) : std::string();
  }
  std::uint32_t NumberOr0(ConfigItemId id, std::size_t n = 0) const {
    return accessors_.getNumber(block_, id, n).value_or(0);
  }
  /// The name of a single-port item (index + 1); "0" for none.
  std::string PortRef(ConfigItemId id) const {
    const std::uint32_t v = NumberOr0(id);
    if (v == 0) return "0";
    return PortNameOfIndex(v - 1);
  }

  void Line(std::string_view key, int tabs, std::string_view value, bool blank = true) {
    file_.ValueLine(key, tabs, value, blank ? LineEnd::kLineAndBlank : LineEnd::kLine);
  }
  /// Banner: rule (after a line end), the title lines, rule.
  void Banner(std::initializer_list<std::string_view> titles) {
    file_.Write({"\n", kRule});
    for (std::string_view t : titles) file_.Write(t);
    file_.Write(kRule);
  }
  /// A banner that follows another one directly: no leading line end.
  void NextBanner(std::initializer_list<std::string_view> titles) {
    file_.Write(kRule);
    for (std::string_view t : titles) file_.Write(t);
    file_.Write(kRule);
  }
  void PortHeading(std::size_t index) {
    const std::string name = PortNameOfIndex(index);
    file_.Write(index < gen_m1::kFirstTrunkEntry ? "# [Port " + name + "]\n"
                                                 : "# [" + name + "]\n");
  }
  bool Present(std::size_t i) const { return IsPresentPort(record_, i); }
  bool Populated(std::size_t i) const { return IsPopulatedSlotPort(record_, i); }

  void SystemSection();
  void PasswordAndAccessSections();
  void PortSection();
  void NetworkSection();
  void TrunkSection();
  void SnmpSection();
  void TimeSection();
  void RedundancySection();
  void QosSection();
  void VlanSection();
  void MulticastSection();
  void BandwidthSection();
  void Dot1xSection();
  void EmailSection();
  void RelaySection();
  void TailSections();

  std::string PortList(std::uint32_t mask) const;
  std::string Mac(std::size_t offset) const;

  ConfigTextWriter file_;
  const DeviceRecord& record_;
  const ConfigBlock& block_;
  ItemAccessors& accessors_;
};

std::string M1Writer::PortList(std::uint32_t mask) const {
  std::string list;
  for (std::size_t i = 0; i < gen_m1::kPortCount; ++i) {
    if (!(mask & (1u << i))) continue;
    if (!list.empty()) list += ',';
    list += PortNameOfIndex(i);
  }
  return list;
}

std::string M1Writer::Mac(std::size_t offset) const {
  char text[24];
  const auto b = block_.bytes().subspan(offset, 6);
  std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", b[0], b[1], b[2], b[3], b[4],
                b[5]);
  return text;
}

void M1Writer::SystemSection() {
  Banner({"# System Identification                           #\n"});
  file_.Write({"# [SwitchName]: Switch Name\n", "# \t--> max. length = 30 words\n"});
  Line("SwitchName", 2, Text(D_CONF_ETH_NAMEA8));
  file_.Write({"# [Location]: Switch Location\n", "# \t--> max. length = 80 words\n"});
  Line("Location", 2, Text(D_CONF_ETH_LOCATION));
  file_.Write({"# [SysDescr]: Switch Description\n", "# \t--> max. length = 30 words\n"});
  Line("SysDescr", 2, Text(D_CONF_ETH_SYSDESCRA8));
  file_.Write({"# [Contact]: Maintainer Contact Info\n", "# \t--> max. length = 30 words\n"});
  Line("Contact", 3, Text(D_CONF_ETH_CONTACTA8));
  file_.Write({"# [WebConfig]: Web Configuration\n", "# \t--> 0 : Disable Web Configuration\n",
               "# \t--> 1 : Enable Web Configuration\n"});
  Line("WebConfig", 2, Hex(D_CONF_ETH_FLAG_WEBA8));
  file_.Write({"# [TelnetConsole]: Telnet Console\n", "# \t--> 0 : Disable Telnet Console\n",
               "# \t--> 1 : Enable Telnet Console\n"});
  Line("TelnetConsole", 1, Hex(D_CONF_ETH_FLAG_TELNETA8));

  Banner({"# CF Operation                                    #\n"});
  file_.Write({"# [CF_Operation_En]: CF Save/Load Enable\n", kL01});
  Line("CF_Operation_En", 1, Dec(kM1CfOperationEn));
  file_.Write({"# [CF_Config_En]: CF Import/Export Configuration Enable\n", kL01});
  Line("CF_Config_En", 1, Dec(kM1CfConfigEn));
  file_.Write({"# [CF_Firm_En]: CF Load Firmware Enable\n", kL01});
  Line("CF_Firm_En", 1, Dec(kM1CfFirmEn));
}

void M1Writer::PasswordAndAccessSections() {
  Banner({"# Password Setting                                #\n"});
  file_.Write({"# [AdminPassword]: Admin Password\n", "# \t--> Max. length = 16 words\n"});
  Line("AdminPassword", 2, Text(kPasswordField, 1));
  file_.Write({"# [UserPassword]: User Password\n", "# \t--> Max. length = 16 words\n"});
  Line("UserPassword", 2, Text(kPasswordField, 0));
  file_.Write("# [ResetPasswd_En]: Reset Password Enable\n");
  Line("ResetPasswd_En", 2, Dec(kM1ResetPasswdEn));

  Banner({"# Accessible IP                                   #\n"});
  file_.Write({"# [Enable_AccessIp]: Enable the accessible IP list\n",
               "# \t--> \"Disable\" will allow all IP's connection\n", kL01});
  Line("Enable_AccessIp", 2, Dec(D_CONF_GRANTIP_INUSED));
  file_.Write(
      {"# [AccessIp]: Access IP list\n", "# ex: AccessIP1 192.168.127.253/255.255.255.0\n"});
  for (std::size_t n = 0; n < 10; ++n) {
    Line("AccessIp_" + std::to_string(n + 1), 2, Text(kM1AccessIp, n), false);
  }
}

void M1Writer::PortSection() {
  Banner({"# Port                                            #\n"});
  file_.Write({"# [LAN Port Setting]\n", "# [Port_EN]: Enable/Disable Port flag.\n",
               "# \t--> 0  : Disable\n", "# \t--> 1  : Enable\n", "# [Port_Speed]: Port Speed.\n",
               "# \t--> 0  : AUTO\n", "# \t--> 1  : 100-FULL\n", "# \t--> 2  : 100-HALF\n",
               "# \t--> 3  : 10-FULL\n", "# \t--> 4  : 10-HALF\n", "# \t--> 5  : 1G-FULL\n",
               "# [Port_FDX]: Port FDX Flow Ctrl.\n", "# \t--> 0  : Disable\n",
               "# \t--> 1  : Enable\n", "# [Port_MDI]: Set Cable Type is MDI or MDIX.\n",
               "# \t--> 0  : AUTO\n", "# \t--> 1  : MDIX\n", "# \t--> 2  : MDI\n",
               "# \t--> 3  : No Support\n"});
  for (std::size_t i = 0; i < gen_m1::kPortCount; ++i) {
    if (!Present(i)) continue;
    const bool trunk = i >= gen_m1::kFirstTrunkEntry;
    const std::string name = PortNameOfIndex(i);
    PortHeading(i);
    Line("Port_" + name + "_EN", trunk ? 2 : 3, Dec(kM1PortEnable, i), false);
    Line("Port_" + name + "_Speed", 2, Dec(kM1PortSpeed, i), false);
    Line("Port_" + name + "_FDX", 2, Dec(kM1PortFdx, i), false);
    if (trunk) {
      file_.Write("\n");
    } else {
      Line("Port_" + name + "_MDI", 2, Dec(kM1PortMdi, i));
    }
  }
}

void M1Writer::NetworkSection() {
  Banner({"# Network                                         #\n"});
  file_.Write({"# [AUTOIP]: Auto IP Configuration\n", "# \t--> 0 : Disable\n",
               "# \t--> 1 : Enable DHCP\n", "# \t--> 2 : Enable BOOTP\n"});
  Line("AUTOIP", 3, Dec(kIpConfigMode));

  const auto emptyWhen = [&](ConfigItemId id) {
    const std::uint32_t v = NumberOr0(id);
    return v == 0 || v == kAllOnesIpv4;
  };
  file_.Write({"# [IPAddress]: IP Address\n", "# \t--> format : (xxx.xxx.xxx.xxx)\n",
               "# \t--> ex : 192.168.12.1\n"});
  // No address (a device that takes its address by DHCP or BOOTP) is
  // written empty, which the reader takes as 0.0.0.0; "0.0.0.0" itself
  // would fail the address test and the device could not take its own file.
  Line("IPAddress", 2,
       NumberOr0(D_CONF_ETH_IPADDR) == 0 ? std::string() : Address(D_CONF_ETH_IPADDR));
  file_.Write({"# [Netmask]: Subnet Mask\n", "# \t--> format : (xxx.xxx.xxx.xxx)\n",
               "# \t--> ex : 255.255.0.0\n"});
  emptyWhen(D_CONF_ETH_IPMASK) ? Line("Netmask", 0, "")
                               : Line("Netmask", 3, Address(D_CONF_ETH_IPMASK));
  file_.Write({"# [Gateway]: Default Gateway\n", "# \t--> format : (xxx.xxx.xxx.xxx)\n",
               "# \t--> ex : 192.168.1.55\n"});
  emptyWhen(D_CONF_ETH_GATEWAY) ? Line("Gateway", 0, "")
                                : Line("Gateway", 3, Address(D_CONF_ETH_GATEWAY));
  file_.Write({"# [DNSIP]: DNS Server IP Address\n", "# \t--> format : (xxx.xxx.xxx.xxx)\n",
               "# \t--> ex : 192.168.1.56\n"});
  emptyWhen(D_CONF_ETH_DNSSIP) ? Line("DNSIP", 0, "", false)
                               : Line("DNSIP", 3, Address(D_CONF_ETH_DNSSIP), false);
  emptyWhen(D_CONF_ETH_DNSSIP1) ? Line("DNSIP1", 0, "")
                                : Line("DNSIP1", 3, Address(D_CONF_ETH_DNSSIP1));
}

void M1Writer::TrunkSection() {
  Banner({"# Port Trunking                                   #\n"});
  file_.Write({"# [Port_TrunkType]: Trunking Group Type \n", "# \t--> 0 : Set to static\n",
               "# \t--> 1 : Set to LACP\n", "# [Port_TrunkGroup]: Trunking Group Set \n",
               "# \t--> 0 : Not set\n", "# \t--> 1 : Set to Trunking Group 1 (Trk1)\n",
               "# \t--> 2 : Set to Trunking Group 2 (Trk2)\n",
               "# \t--> 3 : Set to Trunking Group 3 (Trk3)\n",
               "# \t--> 4 : Set to Trunking Group 4 (Trk4)\n"});
  for (std::size_t i = 0; i < gen_m1::kPhysicalPorts; ++i) {
    const std::string name = PortNameOfIndex(i);
    PortHeading(i);
    Line("Port_" + name + "_TrunkType", 2, Dec(kM1PortTrunkType, i), false);
    Line("Port_" + name + "_TrunkGroup", 2, Dec(kM1PortTrunkGroup, i));
  }
}

void M1Writer::SnmpSection() {
  Banner({"# SNMP                                            #\n"});
  file_.Write({"# [SNMPVERSION]: SNMP Version\n", "# \t--> 0: V1, V2c, V3\n",
               "# \t--> 1: V1, V2c\n", "# \t--> 2: V3 only\n"});
  Line("SNMPVERSION", 3, NamedValueOrNote(accessors_, block_, D_CONF_SNMP_VERSION, "SNMPVERSION"));
  file_.Write(
      {"# [V1_V2c_RCommunity]: V1,V2c Read Community\n", "# \t--> max. length = 30 words\n"});
  Line("V1_V2c_RCommunity", 2, Text(kM1ReadCommunity));
  file_.Write({"# [V1_V2c_RWCommunity]: V1,V2c Read/Write Community\n",
               "# \t--> max. length = 30 words\n"});
  Line("V1_V2c_RWCommunity", 2, Text(kM1ReadWriteCommunity));
  file_.Write({"# [Admin_AuthType]: Admin Auth. Type\n", "# \t--> 0: NO-AUTH\n", "# \t--> 1: MD5\n",
               "# \t--> 2: SHA\n", "# Note :\n", "# If you want to set MD5 or SHA,\n",
               "# the admin password must be more than 8 words in the switch.\n"});
  Line("Admin_AuthType", 3, Dec(kM1AdminAuthType));
  file_.Write({"# [Admin_ADEEnable]: Admin Auth. Data Encryption Enable\n", "# \t--> 0: Disable\n",
               "# \t--> 1: Enable\n", "# Note :\n",
               "# If you want to enable data encryption for admin,\n",
               "# the admin data encryption key must be more than 8 words in the configuration "
               "file.\n"});
  Line("Admin_ADEEnable", 3, Dec(D_CONF_SNMP_V3AADEE));
  file_.Write({"# [Admin_DataEncryption]: Admin Data Encryption Key\n",
               "# \t--> max. length = 30 words\n", "# \t--> min. length = 8 words\n"});
  Line("Admin_DataEncryption", 1, Text(kM1AdminDataEncryption));
  file_.Write({"# [User_AuthType]: User Auth. Type\n", "# \t--> 0: NO-AUTH\n", "# \t--> 1: MD5\n",
               "# \t--> 2: SHA\n", "# Note :\n", "# If you want to set MD5 or SHA,\n",
               "# the user password must be more than 8 words in the configuration file.\n"});
  Line("User_AuthType", 3, Dec(kM1UserAuthType));
  file_.Write({"# [User_ADEEnable]: User Auth. Data Encryption Enable\n", "# \t--> 0: Disable\n",
               "# \t--> 1: Enable\n", "# Note :\n",
               "# If you want to enable data encryption for user,\n",
               "# the user data encryption key must be more than 8 words in the configuration "
               "file.\n"});
  Line("User_ADEEnable", 3, Dec(D_CONF_SNMP_V3UADEE));
  file_.Write({"# [User_DataEncryption]: User Data Encryption Key\n",
               "# \t--> max. length = 30 words\n", "# \t--> min. length = 8 words\n"});
  Line("User_DataEncryption", 1, Text(kM1UserDataEncryption));
  file_.Write({"# [TRAP Serer]: Trap Server IP Address\n",
               "# \t--> IP or String (Max. length = 30 words.)\n"});
  Line("TRAP_Serer", 4, Text(kM1TrapServer));
  file_.Write({"# [TRAP Community]: TRAP Community\n",
               "# \t--> TRAP Community name (max. length = 30 words.)\n"});
  Line("TRAP_Community", 2, Text(kM1TrapCommunity));
}

void M1Writer::TimeSection() {
  Banner({"# Time                                            #\n"});
  file_.Write("# [TimeZone]: Time Zone\n");
  WriteTimeZoneLines(file_);
  Line("TimeZone", 3, Dec(D_CONF_ETH_DTIME_TZONE));
  file_.Write({"# [1stTimeSrv]: 1st Time Server IP/Name\n", "# \t--> max. length = 30 words.\n"});
  Line("1stTimeSrv", 3, Text(D_CONF_ETH_DTIME_SRV1));
  file_.Write({"# [2ndTimeSrv]: 2nd Time Server IP/Name\n", "# \t--> max. length = 30 words.\n"});
  Line("2ndTimeSrv", 3, Text(D_CONF_ETH_DTIME_SRV2));
  file_.Write({"# [QueryTimePeriod]: Time Server Query Period\n", "# \t--> Range 1 to 9999\n",
               "# \t--> unit is second.\n"});
  Line("QueryTimePeriod", 2, Unsigned(D_CONF_ETH_DTIME_PERIOD));
}

void M1Writer::RedundancySection() {
  Banner({"# Communication redundancy                        #\n",
          "# Establish Ethernet communication redundant path #\n"});
  file_.Write({"# [RedundantProtol]: Protocol of Redundancy\n", "# \t--> 0 : IEEE 802.1W/D\n",
               "# \t--> 1 : Zorvel Ring\n"});
  Line("RedundantProtol", 2, Dec(D_CONF_ETH_REDUN_PROTOCOL));
  Banner({"# Zorvel Ring Setting.                             #\n"});
  file_.Write({"# [IsMaster]: Set to be Master\n", "# \t--> 0 : NO\n", "# \t--> 1 : Yes\n"});
  Line("IsMaster", 2, Dec(D_CONF_ETH_REDUN_MASTER));
  file_.Write({"# [ZorvelRingPort1]: 1st Redundant port\n", kPortNamesLegend});
  Line("ZorvelRingPort1", 1, PortRef(D_CONF_ETH_REDUN_PORT1));
  file_.Write({"# [ZorvelRingPort2]: 2nd Redundant port\n", kPortNamesLegend});
  Line("ZorvelRingPort2", 1, PortRef(D_CONF_ETH_REDUN_PORT2));
  file_.Write({"# [Coupling]: Redundant Ring Coupling\n", kL01});
  Line("Coupling", 2, Dec(kM1Coupling));
  file_.Write({"# [CouplingPort]: Coupling Port\n", kPortNamesLegend});
  Line("CouplingPort", 1, PortRef(kM1CouplingPort));
  file_.Write({"# [ControlPort]: Coupling Control Port\n", kPortNamesLegend});
  Line("ControlPort", 2, PortRef(kM1ControlPort));

  Banner({"# RSTP (IEEE 802.1W/1D) Setting.                  #\n"});
  file_.Write("# [BridgeId]: Bridge Id\n");
  char legend[40];
  for (int i = 0; i < 16; ++i) {
    std::snprintf(legend, sizeof legend, "# \t--> %2d : %d\n", i, i * 4096);
    file_.Write(legend);
  }
  Line("BridgeId", 2, FormatDecimal(NumberOr0(kM1BridgeId) >> 12));
  file_.Write(
      {"# [HelloTime]: Hello Time\n", "# \t--> Range 1 to 10\n", "# \t--> unit is second.\n"});
  Line("HelloTime", 2, Dec(D_CONF_ETH_SPAN_HELLO_TIME) + "(sec.)");
  file_.Write({"# [MaxAge]: Max Age\n", "# \t--> Range 6 to 40\n", "# \t--> unit is second.\n"});
  Line("MaxAge", 3, Dec(D_CONF_ETH_SPAN_MAX_AGE) + "(sec.)");
  file_.Write({"# [Forwarding]: Forwarding Delay\n", "# \t--> Range 4 to 30\n",
               "# \t--> unit is second.\n"});
  Line("Forwarding", 2, Dec(D_CONF_ETH_SPAN_FD_DELAY) + "(sec.)");

  file_.Write(
      {"# [SPT_EN]: Enable/Disable IEEE 802.1W/1D function on the port.\n", kL01, "# [SPT_ID]\n"});
  for (int i = 0; i < 16; ++i) {
    std::snprintf(legend, sizeof legend, "# \t--> %2d : %d\n", i, i * 16);
    file_.Write(legend);
  }
  file_.Write({"# [STP_Cost]\n", "# \t--> Range 1 to 200000000\n"});
  for (std::size_t i = 0; i < gen_m1::kPortCount; ++i) {
    if (!Present(i)) continue;
    const std::string name = PortNameOfIndex(i);
    PortHeading(i);
    Line("STP_EN_" + name, 2, Dec(kM1StpEnable, i), false);
    Line("STP_ID_" + name, 2, FormatDecimal(NumberOr0(kM1StpId, i) >> 4), false);
    Line("STP_Cost_" + name, 1, Unsigned(kM1StpCost, i));
  }
}

void M1Writer::QosSection() {
  Banner({"# Traffic Prioritization                          #\n",
          "# Prioritize Ethernet traffic to help determinism #\n"});
  NextBanner({"# QoS Classification                              #\n"});
  file_.Write({"# [QosMechanism]: QOS Mechanism\n", "# \t--> 0 : Weight Fair(8:4:2:1)\n",
               "# \t--> 1 : Strict(High Priority First Always)\n"});
  Line("QosMechanism", 2, Dec(D_CONF_QOS_SCHEDULE));
  file_.Write({"# [InspectTosPortGroup]: Port Group Inspect TOS \n", kL01});
  for (std::size_t n = 0; n < 5; ++n) {
    Line("InspectTosPortGroup_" + std::to_string(n + 1), 2, Dec(kM1InspectTosPortGroup, n), false);
  }
  file_.Write("\n");
  file_.Write({"# [InspectCos]: Inspect COS \n", kL01, "# [PortPriority]: Default Port Priority \n",
               "# \t--> Range 0 to 7 ( according to CoS mapping )\n"});
  for (std::size_t i = 0; i < gen_m1::kPortCount; ++i) {
    if (!Present(i)) continue;
    const std::string name = PortNameOfIndex(i);
    PortHeading(i);
    Line("InspectCos_" + name, 2, Dec(kM1InspectCos, i), false);
    Line("PortPriority_" + name, 1, Dec(kM1PortPriority, i));
  }

  Banner({"# CoS Mapping                                     #\n"});
  file_.Write({"# [CoSMap]: Class of Service maps to priority queue\n", "# \t--> 0 : Low\n",
               "# \t--> 1 : Normal\n", "# \t--> 2 : Medium\n", "# \t--> 3 : High\n"});
  for (std::size_t c = 0; c < 8; ++c) {
    file_.Write("# [CoS " + std::to_string(c) + "]\n");
    Line("CoSMap_" + std::to_string(c), 2, Dec(kM1CosMap, c));
  }
  Banner({"# ToS/DiffServ Mapping                            #\n"});
  file_.Write({"# [ToS]: Type of Service maps to priority queue\n",
               "# \t--> Range 0 to 7 ( according to CoS mapping )\n"});
  char comment[24];
  for (int k = 0; k < 64; ++k) {
    std::snprintf(comment, sizeof comment, "#[ToS%d(%02x)]\n", k + 1, 4 * k);
    file_.Write(comment);
    Line("ToSMap_" + std::to_string(k), 2, Dec(kM1TosMap, static_cast<std::size_t>(k)));
  }
}

void M1Writer::VlanSection() {
  file_.Write({"\n", kRule, "# 802.1Q VLAN                                     #\n",
               "# Setup Virtual LAN by IEEE standard 802.1Q       #\n",
               "###################################################\n\n"});
  file_.Write({"# [SysVID]: Management VLAN ID\n", "# \t--> Range 1 to 4094\n",
               "# [VLANType]: VLAN Port Type \n", "# \t--> 1 : Access\n", "# \t--> 0 : Trunk\n",
               "# [VLANPvid]: PVID\n", "# \t--> Range 1 to 4094\n",
               "# [FixVid]: Fixed VLAN (Tagged)\n", "# \t--> Range 1 to 4094\n",
               "# \tex: FixVid1  2,88,54\n", "# [FrbVid]: Forbidden VLAN\n",
               "# \t--> Range 1 to 4094\n", "# \tex: FrbVid1  13,1048,211,2001\n", "# Note :\n",
               "# If you set the port trunking settings in this configuration files,\n",
               "# the follow VLAN settings will be invaild and set to factory default "
               "automatically !\n"});
  file_.Write("\n# [Management VLAN]\n");
  Line("SysVID", 3, Dec(D_CONF_VLAN_SYS_VID));
  for (std::size_t i = 0; i < gen_m1::kPortCount; ++i) {
    if (!Present(i)) continue;
    const std::string name = PortNameOfIndex(i);
    PortHeading(i);
    Line("VLANType_" + name, 2, Dec(kM1VlanType, i), false);
    Line("VLANPvid_" + name, 2, Dec(kM1VlanPvid, i), false);
    Line("FrbVid_" + name, 3, Text(kM1FrbVid, i), false);
    Line("FixVid_" + name, 3, Text(kM1FixVid, i));
  }
}

void M1Writer::MulticastSection() {
  Banner({"# Multicast Filtering                             #\n",
          "# Enable the multicast filtering capability       #\n"});
  NextBanner({"# IGMP Snooping                                   #\n"});
  file_.Write({"\n# [EnableIGMPSnoop]: Enable Switch's IGMP Snooping\n", kL01});
  Line("EnableIGMPSnoop", 2, Dec(D_CONF_IGMPSNOOP_ENABLE));
  file_.Write({"\n# [QUERY_PERIOD]: Period of Proxy Query\n", "# \t--> Range 20 to 600\n",
               "# \t--> unit is second\n"});
  Line("QUERY_PERIOD", 2, Dec(kM1QueryPeriod));
  file_.Write({"# [IGMPSNOOP]: IGMPSnoop per VLAN\n",
               "# IGMPSNOOP [VID] [Enable IGMPSnoop] [Ebable Querier] [Static Multicast Router "
               "Port]\n",
               "# [VID]: Current VLAN ID\n", "# \t--> Range 1 to 4094\n", "# [Enable IGMPSnoop]\n",
               kL01, "# [Ebable Querier]\n", kL01, "# [Static Multicast Router Port]\n",
               "# \t--> Null : no port\n", kPortNamesLegend, "# ex: IGMPSNOOP 23 1 1 2-1,2-4\n",
               "# \t ==> vlan:23 , igmpsnooping enable , querier enable , Static Router ports "
               "include port 2-1 and port 2-4\n",
               "# begin-of-list\n"});
  if (FieldFits(block_.size(), gen_m1::kIgmpTable, gen_m1::kIgmpEntries * gen_m1::kIgmpEntrySize)) {
    for (std::size_t v = 0; v < gen_m1::kIgmpEntries; ++v) {
      const std::size_t entry = gen_m1::kIgmpTable + v * gen_m1::kIgmpEntrySize;
      const std::uint16_t word = *ReadU16(block_.bytes(), entry);
      if ((word & gen_m1::kVidMask) == 0) continue;
      const std::uint32_t routers = *ReadU32(block_.bytes(), entry + 4) & gen_m1::kAllPortsMask;
      file_.Write("IGMPSNOOP\t" + std::to_string(word & gen_m1::kVidMask) + "\t" +
                  ((word & gen_m1::kIgmpSnooping) ? "1" : "0") + "\t" +
                  ((word & gen_m1::kIgmpQuerier) ? "1" : "0") + "\t" + PortList(routers) + "\n");
    }
  }
  file_.Write("# end-of-list\n");

  Banner({"# Add Static Multicast MAC                        #\n"});
  file_.Write({"# MMAC [Multicast MAC address] [join ports]\n", "# \t--> Max records is 128\n",
               "# [Multicast MAC address]\n", "# \t--> format : XX-XX-XX-XX-XX-XX\n",
               "# [join ports]\n", kPortNamesLegend, "# ex: MMAC 01-3F-C2-01-02-03 1-1,1-3,2-4\n",
               "# \t ==> Add static multicast mac 01-3F-C2-01-03 on port 1-1, port 1-3, port "
               "2-4\n\n",
               "# begin-of-list\n"});
  if (FieldFits(block_.size(), gen_m1::kMulticastTable,
                gen_m1::kMulticastEntries * gen_m1::kStaticEntrySize)) {
    for (std::size_t k = 0; k < gen_m1::kMulticastEntries; ++k) {
      const std::size_t entry = gen_m1::kMulticastTable + k * gen_m1::kStaticEntrySize;
      if (block_.bytes()[entry + gen_m1::kStaticUsed] == 0) continue;
      const std::uint32_t ports =
          *ReadU32(block_.bytes(), entry + gen_m1::kStaticPort) & gen_m1::kAllPortsMask;
      file_.Write("MMAC " + Mac(entry) + " " + PortList(ports) + "\n");
    }
  }
  file_.Write("# end-of-list\n");

  Banner({"# GMRP\t\t\t\t                              #\n"});
  file_.Write({"# [GMRPEnable]: Enable GMRP \n", kL01});
  for (std::size_t i = 0; i < gen_m1::kPortCount; ++i) {
    if (!Present(i)) continue;
    PortHeading(i);
    Line("GMRP_EN_" + PortNameOfIndex(i), i < gen_m1::kFirstTrunkEntry ? 2 : 1,
         Dec(kM1GmrpEnable, i));
  }
  Banner({"# Multicast Filtering Base\t\t                 #\n"});
  file_.Write({"# [GMRPMode]: GMRP Port Mode \n", "# \t--> 1 : Forward All\n",
               "# \t--> 2 : Forward Unknown\n", "# \t--> 3 : Filter Unknown\n"});
  for (std::size_t i = 0; i < gen_m1::kPortCount; ++i) {
    if (!Present(i)) continue;
    PortHeading(i);
    Line("MFBMODE_" + PortNameOfIndex(i), 2, Dec(kM1MfbMode, i));
  }
}

void M1Writer::BandwidthSection() {
  Banner({"# Bandwidth Management                            #\n"});
  NextBanner({"# Broadcast Storm Protection                      #\n"});
  file_.Write({"# [BSPEnable]: Enable Broadcast Storm Protection \n", kL01});
  Line("BSPEnable", 1, Dec(kM1BspEnable));
  file_.Write({"# [IncludeMulticast]: Include Multicast Packet \n", kL01});
  Line("IncludeMulticast", 1, Dec(kM1IncludeMulticast));
  Banner({"# Ingress                                         #\n"});
  file_.Write(
      {"# [RLI_SET]\n", "# \t--> \"0\" : Not Limit\n", "# \t--> \"1\" : Maximum 3% throughput\n",
       "# \t--> \"2\" : Maximum 5% throughput\n", "# \t--> \"3\" : Maximum 10% throughput\n",
       "# \t--> \"4\" : Maximum 15% throughput\n", "# \t--> \"5\" : Maximum 25% throughput\n",
       "# \t--> \"6\" : Maximum 35% throughput\n", "# \t--> \"7\" : Maximum 50% throughput\n",
       "# \t--> \"8\" : Maximum 65% throughput\n", "# \t--> \"9\" : Maximum 85% throughput\n"});
  for (std::size_t i = 0; i < gen_m1::kPhysicalPorts; ++i) {
    if (!Present(i)) continue;
    PortHeading(i);
    Line("RLI_SET_" + PortNameOfIndex(i), 2, Dec(kM1RliSet, i));
  }

  Banner({"# Static Port Lock                                #\n"});
  file_.Write({"# UMAC [Unicast MAC address] [port]\n", "# \t--> Max unicast mac is 128\n",
               "# [Unixast MAC address]\n", "# \t--> format: XX-XX-XX-XX-XX-XX\n", "# [port]\n",
               "# \t--> 1-1,1-2,...G-1,G-2 : Port 1-1,Port 1-2,...Port G-1,Port G-2\n",
               "# ex: UMAC 0A-3F-C2-01-02-03 1-1\n\n", "# begin-of-list\n"});
  if (FieldFits(block_.size(), gen_m1::kUnicastTable,
                gen_m1::kUnicastEntries * gen_m1::kStaticEntrySize)) {
    for (std::size_t k = 0; k < gen_m1::kUnicastEntries; ++k) {
      const std::size_t entry = gen_m1::kUnicastTable + k * gen_m1::kStaticEntrySize;
      if (block_.bytes()[entry + gen_m1::kStaticUsed] == 0) continue;
      const std::uint32_t port = *ReadU32(block_.bytes(), entry + gen_m1::kStaticPort);
      file_.Write("UMAC " + Mac(entry) + " " + PortNameOfIndex(port) + "\n");
    }
  }
  file_.Write("# end-of-list\n\n");
}

void M1Writer::Dot1xSection() {
  Banner({"# 802.1x                                \t\t   #\n"});
  NextBanner({"# 802.1x Settings                                 #\n"});
  file_.Write({"# [Dot1x_DataBase]: DataBase Option \n", "# \t--> 1 : Local\n",
               "# \t--> 2 : Radius\n", "# \t--> 3 : Radius,Local\n"});
  Line("Dot1x_DataBase", 2, Dec(kM1Dot1xDataBase));
  file_.Write({"# [Radius_Server]: Radius Server\n", "# \t--> max. length = 30 words\n"});
  Line("Radius_Server", 2, Text(kM1RadiusServer));
  file_.Write({"# [Radius_SerPort]: Radius Server Port\n", "# \t--> Range 1 to 65535\n"});
  Line("Radius_SerPort", 2, Dec(kM1RadiusSerPort));
  file_.Write({"# [Radius_SerKey]: Radius Server Key\n", "# \t--> max. length = 30 words\n"});
  Line("Radius_SerKey", 2, Text(kM1RadiusSerKey));
  file_.Write({"# [Dot1x_ReAuth]: Dot1x ReAuth\n", kL01});
  Line("Dot1x_ReAuth", 2, Dec(kM1Dot1xReAuth));
  file_.Write({"# [Dot1x_ReAuthPeriod]: Dot1x ReAuth\n", "# \t--> Range 60 to 65535\n",
               "# \t--> unit is second.\n"});
  Line("Dot1x_ReAuthPeriod", 2, Dec(kM1Dot1xReAuthPeriod));
  file_.Write({"# [Dot1x_EN]: Dot1x Enable \n", kL01});
  for (std::size_t i = 0; i < gen_m1::kPhysicalPorts; ++i) {
    if (!Present(i)) continue;
    const std::string name = PortNameOfIndex(i);
    file_.Write("# [Port " + name + "]\n");
    Line("Dot1x_EN_" + name, 2, Dec(kM1Dot1xEnable, i));
  }

  Banner({"# 802.1x Loacl DataBase                           #\n"});
  file_.Write("# begin-of-list\n");
  int count = 0;
  for (std::size_t k = 0; k < gen_m1::kDot1xUserCount; ++k) {
    const auto used =
        block_.ByteAt(gen_m1::kDot1xUsers + k * gen_m1::kDot1xUserSize + gen_m1::kDot1xUsedFlag);
    if (!used || *used == 0) continue;
    const std::string c = std::to_string(++count);
    file_.Write("# [User List " + c + "]\n");
    Line("Dot1xDB_User_" + c, 2, Text(kM1Dot1xDbUser, k), false);
    Line("Dot1xDB_Passwd_" + c, 1, Text(kM1Dot1xDbPasswd, k), false);
    Line("Dot1xDB_Desr_" + c, 2, Text(kM1Dot1xDbDesr, k));
  }
  file_.Write("# end-of-list\n\n");
}

void M1Writer::EmailSection() {
  Banner({"# Auto Warnning Setting                           #\n",
          "#    - Email Warnning Setting                     #\n",
          "#    - Relay Warnning Setting                     #\n"});
  NextBanner({"# Email Warnning Setting                          #\n"});
  NextBanner({"# Email Information Setting                       #\n"});
  file_.Write({"# [SMTPServer]: SMTP server IP addr/name\n", "# \t --> max. length 30 words\n",
               "# ex: ", kExampleMailServer, " \n"});
  Line("SMTPServer", 1, Text(D_CONF_ETH_WARN_SMTPSrv));
  file_.Write({"# [SMTPAccount]: account of SMTP server\n", "# \t --> max. length 45 words\n"});
  Line("SMTPAccount", 1, Text(D_CONF_ETH_WARN_SMTP_UNAME));
  file_.Write(
      {"# [SMTPPassword]: account password of SMTP server\n", "# \t --> max. length 45 words\n"});
  Line("SMTPPassword", 1, Text(D_CONF_ETH_WARN_SMTP_PASSWD));
  static constexpr std::string_view kOrdinals[] = {"1st", "2nd", "3rd", "4th"};
  for (std::size_t n = 0; n < 4; ++n) {
    const std::string key = std::string(kOrdinals[n]) + "_e-mail_address";
    file_.Write(
        {"# [", key, "]: ", kOrdinals[n], " e-mail address\n", "# \t --> max. length 30 words\n"});
    Line(key, 1, Text(kM1EmailAddress, n));
  }

  NextBanner({"# Email Warning Events Setting                    #\n"});
  file_.Write({"# [SystemEvents]: System Events(Hex.)\n", "# \t--> 0x0000 : Disable All.\n",
               "# \t--> 0x0001 : Enable Server Cold Start.\n",
               "# \t--> 0x0002 : Enable Server Warm Start.\n",
               "# \t--> 0x0004 : Enable Configuration Change Activated.\n",
               "# \t--> 0x0008 : Enable Power Transition (On->Off).\n",
               "# \t--> 0x0010 : Enable Power Transition (Off->On).\n",
               "# \t--> 0x0020 : Enable Authentication Failure.\n",
               "# \t--> 0x0040 : Enable Comm. Redundancy Topology Changed.\n",
               "# \t--> 0x0200 : DI 1(On->Off).\n", "# \t--> 0x0400 : DI 1(Off->On).\n",
               "# \t--> 0x0800 : DI 2(On->Off).\n", "# \t--> 0x1000 : DI 2(Off->On).\n",
               "# ex: SystemEvents 0x0013\n",
               "#     ==>Set Email Warning Event : Cold start , Warm start , Power transition \n"});
  char value[24];
  std::snprintf(value, sizeof value, "0x%04x", NumberOr0(D_CONF_ETH_WARN_SFLAGA8));
  Line("EW_SystemEvents", 2, value);
  file_.Write({"\n# [EW_PortEvents]: PortEvents(Hex.)\n",
               "# \t--> format: PortEvents [LINK_ON(bit 0)+LINK_OFF(bit 1)+OVER(bit 2)]\n",
               "# \t--> 0x00 : Disable All.\n", "# \t--> 0x01 : Enable Link-ON.\n",
               "# \t--> 0x02 : Enable Link-OFF.\n", "# \t--> 0x04 : Enable Traffic-Overload.\n",
               "# ex: PortEvents 0x06\n",
               "#     ==>Set Email Warning Event for this port: Enable Link-OFF , Enable "
               "Traffic-Overload\n",
               "# [EW_TrafThreshold]\n", "# \t--> Range 0 to 100 % \n", "# [EW_TrafDuration]\n",
               "# \t--> Range 1 to 300 sec\n"});
  for (std::size_t i = 0; i < gen_m1::kPhysicalPorts; ++i) {
    if (!Populated(i)) continue;
    const std::string name = PortNameOfIndex(i);
    file_.Write("# [Port " + name + "]\n");
    std::snprintf(value, sizeof value, "0x%02x", NumberOr0(kM1EwPortEvents, i));
    Line("EW_PortEvents_" + name, 2, value, false);
    Line("EW_TrafThreshold_" + name, 1, Unsigned(kM1EwTrafThreshold, i) + " %", false);
    Line("EW_TrafDuration_" + name, 2, Unsigned(kM1EwTrafDuration, i) + " sec");
  }
}

void M1Writer::RelaySection() {
  Banner({"# Relay Warnning Setting                          #\n"});
  NextBanner({"# System Events                                   #\n"});
  file_.Write({"# [RelayOverride]: Override Relay Warning Setting\n", kL01});
  Line("Relay1Override", 1, Unsigned(kM1Relay1Override));
  Line("Relay2Override", 1, Unsigned(kM1Relay2Override));
  constexpr std::string_view kRelayLegend =
      "# \t--> 0 : Disable\n# \t--> 1 : Enable (relay 1)\n# \t--> 2 : Enable (relay 2)\n";
  file_.Write({"\n# [Power_Input_failure(On->Off)]\n", kRelayLegend});
  Line("Power_Input_1_failure(On->Off)", 1, Unsigned(kM1PowerInput1Failure));
  Line("Power_Input_2_failure(On->Off)", 1, Unsigned(kM1PowerInput2Failure));
  file_.Write({"\n# [DI Events]\n", kRelayLegend, "# [RW_DI1_N2F]: DI 1(Off)\n"});
  Line("RW_DI1_N2F", 1, Unsigned(kM1RwDi1N2F));
  file_.Write("# [RW_DI1_F2N]: DI 1(On)\n");
  Line("RW_DI1_F2N", 1, Unsigned(kM1RwDi1F2N));
  file_.Write("# [RW_DI2_N2F]: DI 2(Off)\n");
  Line("RW_DI2_N2F", 1, Unsigned(kM1RwDi2N2F));
  file_.Write("# [RW_DI2_F2N]: DI 2(On)\n");
  Line("RW_DI2_F2N", 1, Unsigned(kM1RwDi2F2N));

  Banner({"# Port Events                                     #\n"});
  file_.Write({"# [RW_PortLink]: Port Link Alarm Event\n", "# \t--> 0 : Disable\n",
               "# \t--> 1 : On (relay 1)\n", "# \t--> 2 : On (relay 2)\n",
               "# \t--> 3 : Off (relay 1)\n", "# \t--> 4 : Off (relay 2)\n",
               "# [RW_PortTraf]: Traffic-Overload\n", kRelayLegend,
               "# [RW_TrafficThreshold]: Traffic-Threshold\n", "# \t--> Range 0 to 100 %\n",
               "# [RW_TrafficDuration]: Traffic-Duration\n", "# \t--> Range 1 to 300 sec\n"});
  for (std::size_t i = 0; i < gen_m1::kPhysicalPorts; ++i) {
    if (!Populated(i)) continue;
    const std::string name = PortNameOfIndex(i);
    file_.Write("# [Port " + name + "]\n");
    Line("RW_PortLink_" + name, 3, Dec(kM1RwPortLink, i), false);
    Line("RW_PortTraf_" + name, 3, Dec(kM1RwPortTraf, i), false);
    Line("RW_TrafThreshold_" + name, 1, Unsigned(kM1RwTrafThreshold, i) + " %", false);
    Line("RW_TrafDuration_" + name, 2, Unsigned(kM1RwTrafDuration, i) + " sec");
  }
}

void M1Writer::TailSections() {
  Banner({"# Setup Line-Swap fast recovery                   #\n"});
  file_.Write({"# [FASTRECOVERY]: Line-Swap fast recovery\n",
               "# Enable/Disable Line-Swap fast recovery for all ports.\n",
               "# \t--> 0 : Disable All Ports\n", "# \t--> 1 : Enable All Ports\n"});
  Line("FASTRECOVERY", 1, Hex(kM1FastRecovery));

  Banner({"# Setup Set device IP                             #\n",
          "# The function is used to automatically assign IP #\n",
          "# address to connected devices that are equipped  #\n",
          "# with 'DHCP-Client' or 'RARP'protocol.           #\n"});
  file_.Write({"# [DeviceIP]\n", "# \t--> ex: DeviceIP_1-1 XXX.XXX.XXX.XXX\n"});
  for (std::size_t i = 0; i < gen_m1::kPortCount; ++i) {
    if (!Present(i)) continue;
    PortHeading(i);
    const std::uint32_t address = NumberOr0(kM1DeviceIp, i);
    Line("DeviceIP_" + PortNameOfIndex(i), 1, address ? FormatAddress(address) : "");
  }

  file_.Write({"\n####################################################\n",
               "# Setup Mirror Port                                #\n",
               "# Mirror port and Mirrored port can't set the same.#\n",
               "####################################################\n"});
  file_.Write({"# [MonitoredPort]: Monitored Port\n",
               "# \t--> 1-1,1-2,...G-1,G-2,Trk1,Trk2,Trk3,Trk4 : Port 1-1,Port 1-2,...Port "
               "G-1,Port G-2,Trk1,Trk2,Trk3,Trk4\n",
               "# \t==> Set '0' indicates not use.\n"});
  Line("MonitoredPort", 1, PortRef(D_CONF_ETH_TARGET_PORT));
  file_.Write({"# [WatchDirection]: Watch Direction\n", "# \t--> 0 : Input data stream\n",
               "# \t--> 1 : Output data stream\n", "# \t--> 2 : Bi-directional\n"});
  Line("WatchDirection", 1, Dec(D_CONF_ETH_MIRROR_DIR));
  file_.Write({"# [MirrorPort]: Mirror Port\n",
               "# \t--> 1-1,1-2,...G-1,G-2 : Port 1-1,Port 1-2,...,Port G-1,Port G-2\n",
               "# \t--> Set '0' indicates not use.\n"});
  Line("MirrorPort", 1, PortRef(D_CONF_ETH_MIRROR_PORT));
}

void M1Writer::WriteAll() {
  WriteFileHeader(file_, ExportModelName(record_.modelId));
  SystemSection();
  PasswordAndAccessSections();
  PortSection();
  NetworkSection();
  TrunkSection();
  SnmpSection();
  TimeSection();
  RedundancySection();
  QosSection();
  VlanSection();
  MulticastSection();
  BandwidthSection();
  Dot1xSection();
  EmailSection();
  RelaySection();
  TailSections();
  WriteEndLine(file_);
}

}  // namespace

bool IsPresentPort(const DeviceRecord& record, std::size_t index) {
  return index < gen_m1::kPortCount && (record.portMask & (1u << index)) != 0;
}

bool IsPopulatedSlotPort(const DeviceRecord& record, std::size_t index) {
  if (index >= gen_m1::kPhysicalPorts) return false;
  const std::size_t slot = gen_m1::SlotOfPort(index);
  return slot < record.moduleType.size() && record.moduleType[slot] != 0;
}

void WriteGenM1ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  accessors.setText(block, item::D_CONF_ETH_WARN_SMTP_PASSWD, FieldText(record.smtpPassword));
  M1Writer(fileText, record, block, accessors).WriteAll();
}

}  // namespace vantrell
