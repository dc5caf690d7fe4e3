#include "config/gen_a2_writer.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "config/config_item_ids.h"
#include "config/export_notes.h"
#include "config/file_writer.h"
#include "config/gen_a2_layout.h"
#include "config/gen_a_encodings.h"

namespace vantrell {
namespace {

using namespace item;
using gen_a2::kLogicalPorts;
using gen_a2::kPorts;
using gen_a2::kTrunks;

constexpr int kMailRecipients = 4;
constexpr int kAccessEntries = 10;
constexpr int kCosClasses = 8;
constexpr int kPriorityLevels = 16;
constexpr std::uint32_t kBridgePriorityStep = 4096;
constexpr std::uint32_t kPortPriorityStep = 16;
constexpr unsigned kBridgePriorityShift = 12;
constexpr unsigned kPortPriorityShift = 4;

/// The frame line of the banners: 51 '#'.
constexpr std::string_view kFrame = "###################################################\n";

/// The two legend lines of a port or trunk choice.
constexpr std::string_view kPortChoiceLines[] = {
    "# \t--> 1,2,...8 : Port 1,Port 2,...Port 8\n",
    "# \t--> 9,10,11,12 : Trk 1,Trk 2,Trk 3,Trk 4\n",
};

constexpr std::string_view kSystemEventLines[] = {
    "# \t--> 0000 : Disable All.\n",
    "# \t--> 0001 : Enable Server Cold Start.\n",
    "# \t--> 0002 : Enable Server Warm Start.\n",
    "# \t--> 0004 : Enable Configuration Change Activated.\n",
    "# \t--> 0008 : Enable Power Transition (On->Off).\n",
    "# \t--> 0010 : Enable Power Transition (Off->On).\n",
    "# \t--> 0020 : Enable Authentication Failure.\n",
    "# \t--> 0040 : Enable Comm. Redundancy Topology Changed.\n",
    "# \t--> 0200 : DI 1(On->Off).\n",
    "# \t--> 0400 : DI 1(Off->On).\n",
    "# \t--> 0800 : DI 2(On->Off).\n",
    "# \t--> 1000 : DI 2(Off->On).\n",
};

constexpr std::string_view kMailAddressLegends[] = {
    "# [1st_e-mail_address]: 1st e-mail address\n",
    "# [2nd_e-mail_address]: 2nd e-mail address\n",
    "# [3rd_e-mail_address]: 3rd e-mail address\n",
    "# [4th_e-mail_address]: 4th e-mail address\n",
};
constexpr std::string_view kMailAddressKeys[] = {"1st_e-mail_address", "2nd_e-mail_address",
                                                 "3rd_e-mail_address", "4th_e-mail_address"};

std::string Key(std::string_view prefix, int number, std::string_view suffix = {}) {
  std::string key(prefix);
  key += std::to_string(number);
  key += suffix;
  return key;
}

std::string Printf(const char* format, std::uint32_t value) {
  char buffer[32];
  const int length = std::snprintf(buffer, sizeof buffer, format, value);
  return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string Unsigned(std::uint32_t value) { return std::to_string(value); }

class GenA2FileWriter {
 public:
  GenA2FileWriter(std::string& out, const DeviceRecord& record, const ConfigBlock& block,
                  const ItemAccessors& accessors)
      : file_(out), record_(record), block_(block), accessors_(accessors) {}

  void Write() {
    WriteFileHeader(file_, ExportModelName(record_.modelId));
    SystemIdentification();
    Passwords();
    AccessibleIp();
    PortSettings();
    Network();
    PortTrunking();
    Snmp();
    Time();
    Redundancy();
    SpanningTree();
    Qos();
    Vlan();
    Multicast();
    RateLimiting();
    StaticUnicast();
    PortLock();
    EmailWarning();
    RelayWarning();
    FastRecovery();
    DeviceIps();
    Mirror();
    WriteEndLine(file_);
  }

 private:
  // ---- values; whatever the block cannot give is written empty ----

  std::optional<std::uint32_t> Number(ConfigItemId id) const {
    return accessors_.getNumber(block_, id);
  }
  std::string Format(ConfigItemId id, std::string (*format)(std::uint32_t)) const {
    const auto value = Number(id);
    return value ? format(*value) : std::string();
  }
  std::string Decimal(ConfigItemId id) const { return Format(id, FormatDecimal); }
  std::string Hex(ConfigItemId id) const { return Format(id, FormatHex); }
  std::string Plain(ConfigItemId id) const { return Format(id, Unsigned); }
  std::string Shifted(ConfigItemId id, unsigned shift) const {
    const auto value = Number(id);
    return value ? FormatDecimal(*value >> shift) : std::string();
  }
  std::string Text(ConfigItemId id) const {
    const auto text = accessors_.getText(block_, id);
    return text ? FormatText(*text) : std::string();
  }
  /// The dotted address, or nothing when the address is written as an
  /// empty value (0, or 0 and all ones).
  std::optional<std::string> Address(ConfigItemId id, bool emptyWhenAllOnes) const {
    const auto address = Number(id);
    if (!address || *address == 0) return std::nullopt;
    if (emptyWhenAllOnes && *address == kAllOnesIpv4) return std::nullopt;
    return FormatAddress(*address);
  }

  // ---- lines ----

  void Lines(std::initializer_list<std::string_view> lines) { file_.Write(lines); }
  void Banner(std::initializer_list<std::string_view> titleLines) {
    file_.Write({"\n", kFrame});
    file_.Write(titleLines);
    file_.Write(kFrame);
  }
  void Value(std::string_view key, int tabs, std::string_view value,
             LineEnd end = LineEnd::kLineAndBlank) {
    file_.ValueLine(key, tabs, value, end);
  }
  /// An address line: "%s<tabs>%s\n\n", or "%s<emptyTabs>\n\n" without an
  /// address.
  void AddressValue(std::string_view key, int tabs, const std::optional<std::string>& address,
                    int emptyTabs, LineEnd end = LineEnd::kLineAndBlank) {
    if (address) {
      Value(key, tabs, *address, end);
    } else {
      Value(key, emptyTabs, "", end);
    }
  }
  void PortChoiceLegend() {
    for (std::string_view line : kPortChoiceLines) file_.Write(line);
  }
  void PriorityLegend(std::uint32_t step) {
    for (int i = 0; i < kPriorityLevels; ++i) {
      char line[48];
      std::snprintf(line, sizeof line, "# \t--> %2d : %u\n", i,
                    static_cast<unsigned>(static_cast<std::uint32_t>(i) * step));
      file_.Write(line);
    }
  }

  // ---- sections, in the order of the file ----

  void SystemIdentification() {
    Banner({"# System Identification                           #\n"});
    Lines({"# [SwitchName]: Switch Name\n", "# \t--> max. length = 30 words\n"});
    Value("SwitchName", 2, Text(D_CONF_ETH_NAMEA8));
    Lines({"# [Location]: Switch Location\n", "# \t--> max. length = 80 words\n"});
    Value("Location", 2, Text(D_CONF_ETH_LOCATIONA8));
    Lines({"# [SysDescr]: Switch Description\n", "# \t--> max. length = 30 words\n"});
    Value("SysDescr", 2, Text(D_CONF_ETH_SYSDESCRA8));
    Lines({"# [Contact]: Maintainer Contact Info\n", "# \t--> max. length = 30 words\n"});
    Value("Contact", 3, Text(D_CONF_ETH_CONTACTA8));
    Lines({"# [WebConfig]: Web Configuration\n", "# \t--> 0 : Disable Web Configuration\n",
           "# \t--> 1 : Enable Web Configuration\n"});
    Value("WebConfig", 2, Hex(D_CONF_ETH_FLAG_WEBA8));
    Lines({"# [TelnetConsole]: Telnet Console\n", "# \t--> 0 : Disable Telnet Console\n",
           "# \t--> 1 : Enable Telnet Console\n"});
    Value("TelnetConsole", 1, Hex(D_CONF_ETH_FLAG_TELNETA8));
  }

  void Passwords() {
    Banner({"# Password Setting                                #\n"});
    Lines({"# [UserPassword]: User Password\n", "# \t--> Max. length = 16 words\n"});
    Value("UserPassword", 2, Text(D_CONF_ETH_USERPWD));
  }

  void AccessibleIp() {
    Banner({"# Accessible IP                                   #\n"});
    Lines({"# [Enable_AccessIp]: Enable the accessible IP list\n",
           "# \t--> \"Disable\" will allow all IP's connection\n", "# \t--> 0 : Disable\n",
           "# \t--> 1 : Enable\n"});
    Value("Enable_AccessIp", 1, Plain(D_CONF_GRANTIP_INUSED));
    Lines({"# [AccessIp]: Access IP list\n", "# ex: AccessIP1 192.168.127.253/255.255.255.0\n"});
    for (int k = 1; k <= kAccessEntries; ++k) {
      Value(Key("AccessIp", k), 2, Text(D_CONF_GRANTIP_IP1 + static_cast<ConfigItemId>(k - 1)),
            LineEnd::kLine);
    }
  }

  void PortSettings() {
    Banner({"# Port                                            #\n"});
    Lines({"# [LAN Port Setting]\n",
           "# [Port_Enable]: Enable/Disable Port flag.\n",
           "# \t--> 0  : Disable\n",
           "# \t--> 1  : Enable\n",
           "# [Port_Speed]: Port Speed.\n",
           "# \t--> 0  : AUTO\n",
           "# \t--> 1  : 100FULL\n",
           "# \t--> 2  : 100HALF\n",
           "# \t--> 3  : 10FULL\n",
           "# \t--> 4  : 10HALF\n",
           "# [Port_FDX]: Port FDX Flow Ctrl.\n",
           "# \t--> 0  : Disable\n",
           "# \t--> 1  : Enable\n",
           "# [Port_MDIFlag]: Set Cable Type is MDI or MDIX.\n",
           "# \t--> 0  : AUTO\n",
           "# \t--> 1  : MDIX\n",
           "# \t--> 2  : MDI\n",
           "# Note :\n",
           "# If you want to aggregate some ports to one trunking group,\n",
           "# the speed of those ports in a trunking group must be same.\n"});
    const bool fibre = IsFibreUplinkModel(Generation::kGenA2, record_.modelId);
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Key("# [LAN Port ", p, " Setting]\n"));
      Value(Key("Port", p, "_Enable"), 1, Decimal(PcfgDisable(p)));
      Value(Key("Port", p, "_Speed"), 2, Decimal(PcfgSpeed(p)));
      if (fibre && p >= 7) {
        Value(Key("Port", p, "_FDX"), 2, "");
        Value(Key("Port", p, "_MDIFlag"), p == 7 ? 1 : 2, "");
      } else {
        Value(Key("Port", p, "_FDX"), 2, Decimal(PcfgFdx(p)));
        Value(Key("Port", p, "_MDIFlag"), 1, Decimal(PcfgFlag(p)));
      }
    }
  }

  void Network() {
    Banner({"# Network                                         #\n"});
    Lines({"# [AUTOIP]: Auto IP Configuration\n", "# \t--> 0 : Disable\n",
           "# \t--> 1 : Enable DHCP\n", "# \t--> 2 : Enable BOOTP\n"});
    Value("AUTOIP", 3, Hex(D_CONF_ETH_FLAG_AUTOIP));
    Lines({"# [IPAddress]: IP Address\n", "# \t--> format : (xxx.xxx.xxx.xxx)\n",
           "# \t--> ex : 192.168.12.1\n"});
    const auto ip = Number(D_CONF_ETH_IPADDR);
    Value("IPAddress", 2, ip ? FormatAddress(*ip) : std::string());
    Lines({"# [Netmask]: Subnet Mask\n", "# \t--> format : (xxx.xxx.xxx.xxx)\n",
           "# \t--> ex : 255.255.0.0\n"});
    AddressValue("Netmask", 3, Address(D_CONF_ETH_IPMASK, false), 0);
    Lines({"# [Gateway]: Default Gateway\n", "# \t--> format : (xxx.xxx.xxx.xxx)\n",
           "# \t--> ex : 192.168.1.55\n"});
    AddressValue("Gateway", 3, Address(D_CONF_ETH_GATEWAY, true), 0);
    Lines({"# [DNSIP]: DNS Server IP Address\n", "# \t--> format : (xxx.xxx.xxx.xxx)\n",
           "# \t--> ex : 192.168.1.56\n"});
    AddressValue("DNSIP", 3, Address(D_CONF_ETH_DNSSIP, true), 0);
    AddressValue("DNSIP1", 3, Address(D_CONF_ETH_DNSSIP1, true), 0);
  }

  void PortTrunking() {
    Banner({"# Port Trunking                                   #\n"});
    Lines({"# [Port_SetToTrunk]: Trunking Group Set\n", "# \t--> 0 : Not set\n",
           "# \t--> 1 : Set to Trunking Group 1 (Trk1)\n",
           "# \t--> 2 : Set to Trunking Group 2 (Trk2)\n",
           "# \t--> 3 : Set to Trunking Group 3 (Trk3)\n",
           "# \t--> 4 : Set to Trunking Group 4 (Trk4)\n", "# Note :\n",
           "# If you want to set the port trunking settings , the follow functions will set to "
           "default factory values !\n",
           "# Even those functions will be disabled !\n",
           "# 802.1Q VLAN , Mirror , Port Lock , Static Unicast MAC Address\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Key("# [Port ", p, "]\n"));
      Value(Key("Port", p, "_SetToTrunk"), 2,
            Decimal(D_CONF_ETH_PORTTRUNKING_P1 + static_cast<ConfigItemId>(p - 1)));
    }
  }

  void Snmp() {
    Banner({"# SNMP                                            #\n"});
    Lines({"# [SNMPVERSION]: SNMP Version\n", "# \t--> 0: V1, V2c, V3\n", "# \t--> 1: V1, V2c\n",
           "# \t--> 2: V3 only\n"});
    Value("SNMPVERSION", 3, NamedValueOrNote(accessors_, block_, D_CONF_SNMP_VERSION, "SNMPVERSION"));
    Lines({"# [V1_V2c_RCommunity]: V1,V2c Read Community\n", "# \t--> max. length = 30 words\n"});
    Value("V1_V2c_RCommunity", 2, Text(D_CONF_SNMP_V1V2CROCOMM));
    Lines({"# [V1_V2c_RWCommunity]: V1,V2c Read/Write Community\n",
           "# \t--> max. length = 30 words\n"});
    Value("V1_V2c_RWCommunity", 2, Text(D_CONF_SNMP_V1V2CRWCOMM));
    AuthLegend("Admin", "admin");
    Value("Admin_AuthType", 3, Decimal(D_CONF_SNMP_V3AAUTHTYPE));
    EncryptionEnableLegend("Admin", "admin");
    Value("Admin_ADEEnable", 3, Decimal(D_CONF_SNMP_V3AADEE));
    Lines({"# [Admin_DataEncryption]: Admin Data Encryption Key\n",
           "# \t--> max. length = 30 words\n", "# \t--> min. length = 8 words\n"});
    Value("Admin_DataEncryption", 2, Text(D_CONF_SNMP_V3ADATAENCR));
    AuthLegend("User", "user");
    Value("User_AuthType", 3, Decimal(D_CONF_SNMP_V3UAUTHTYPE));
    EncryptionEnableLegend("User", "user");
    Value("User_ADEEnable", 3, Decimal(D_CONF_SNMP_V3UADEE));
    Lines({"# [User_DataEncryption]: User Data Encryption Key\n",
           "# \t--> max. length = 30 words\n", "# \t--> min. length = 8 words\n"});
    Value("User_DataEncryption", 2, Text(D_CONF_SNMP_V3UDATAENCR));
    Lines(
        {"# [TRAP]: Trap Server IP Address\n", "# \t--> IP or String (Max. length = 30 words.)\n"});
    Value("TRAP", 3, Text(D_CONF_SNMP_TRAPSERVER));
    Lines({"# [TRAP Community]: TRAP Community\n",
           "# \t--> TRAP Community name (max. length = 30 words.)\n"});
    Value("TRAP_Community", 2, Text(D_CONF_SNMP_TRAPCOMM));
  }

  void AuthLegend(std::string_view who, std::string_view whoLower) {
    file_.Write({"# [", who, "_AuthType]: ", who, " Auth. Type\n"});
    Lines({"# \t--> 0: NO-AUTH\n", "# \t--> 1: MD5\n", "# \t--> 2: SHA\n", "# Note :\n",
           "# If you want to set MD5 or SHA,\n"});
    file_.Write({"# the ", whoLower, " password must be more than 8 words in the switch.\n"});
  }

  void EncryptionEnableLegend(std::string_view who, std::string_view whoLower) {
    file_.Write({"# [", who, "_ADEEnable]: ", who, " Auth. Data Encryption Enable\n"});
    Lines({"# \t--> 0: Disable\n", "# \t--> 1: Enable\n", "# Note :\n"});
    file_.Write({"# If you want to enable data encryption for ", whoLower, ",\n"});
    file_.Write({"# the ", whoLower,
                 " data encryption key must be more than 8 words in the configuration file.\n"});
  }

  void Time() {
    Banner({"# Time\t\t\t\t                              #\n"});
    file_.Write("# [Time Zone]: Time Zone\n");
    WriteTimeZoneLines(file_);
    Value("TimeZone", 3, Decimal(D_CONF_ETH_DTIME_TZONE));
    Lines({"# [1stTimeSrv]: 1st Time Server IP/Name\n", "# \t--> max. length = 30 words.\n"});
    Value("1stTimeSrv", 3, Text(D_CONF_ETH_DTIME_SRV1));
    file_.Write("# [2ndTimeSrv]: 2nd Time Server IP/Name\n");
    Value("2ndTimeSrv", 3, Text(D_CONF_ETH_DTIME_SRV2));
    Lines({"# [QueryTimePeriod]: Time Server Query Period\n", "# \t--> Range 1 to 9999\n",
           "# \t--> unit is second.\n"});
    Value("QueryTimePeriod", 2, Plain(D_CONF_ETH_DTIME_PERIOD));
  }

  void Redundancy() {
    Banner({"# Communication redundancy                        #\n",
            "# Establish Ethernet communication redundant path #\n"});
    Lines({"# [RedundantProtol]: Protocol of Redundancy\n", "# \t--> 0 : IEEE 802.1W/D\n",
           "# \t--> 1 : Zorvel Ring\n"});
    Value("RedundantProtol", 2, Plain(D_CONF_ETHA8_REDUN_PROTOCOL));
    Banner({"# Zorvel Ring Setting.                             #\n"});
    Lines({"# [IsMaster]: Set to be Master\n", "# \t--> 0 : NO\n", "# \t--> 1 : Yes\n"});
    Value("IsMaster", 2, Plain(D_CONF_ETH_REDUN_MASTER));
    file_.Write("# [ZorvelRingPort1]: 1st Redundant port\n");
    PortChoiceLegend();
    Value("ZorvelRingPort1", 1, Decimal(D_CONF_ETH_REDUN_PORT1));
    file_.Write("# [ZorvelRingPort2]: 2nd Redundant port\n");
    PortChoiceLegend();
    Value("ZorvelRingPort2", 1, Decimal(D_CONF_ETH_REDUN_PORT2));
    Lines({"# [Coupling]: Redundant Ring Coupling\n", "# \t--> 0 : Disable\n",
           "# \t--> 1 : Enable\n"});
    Value("Coupling", 2, Decimal(D_CONF_ETH_REDUN_COUPLING));
    file_.Write("# [CouplingPort]: Coupling Port\n");
    PortChoiceLegend();
    Value("CouplingPort", 1, Decimal(D_CONF_ETH_REDUN_CPL_PORT));
    file_.Write("# [ControlPort]: Coupling Control Port\n");
    PortChoiceLegend();
    Value("ControlPort", 2, Decimal(D_CONF_ETH_REDUN_CPL_CTRLPORT));
  }

  void SpanningTree() {
    Banner({"# RSTP (IEEE 802.1W/1D) Setting.                  #\n"});
    file_.Write("# [BridgeId]: Bridge Id\n");
    PriorityLegend(kBridgePriorityStep);
    Value("BridgeId", 2, Shifted(D_CONF_ETH_SPAN_BRIDGE_ID, kBridgePriorityShift));
    Lines({"# [HelloTime]: Hello Time\n", "# \t--> Range 1 to 10\n", "# \t--> unit is second.\n"});
    Value("HelloTime", 2, Seconds(D_CONF_ETH_SPAN_HELLO_TIME));
    Lines({"# [MaxAge]: Max Age\n", "# \t--> Range 6 to 40\n", "# \t--> unit is second.\n"});
    Value("MaxAge", 3, Seconds(D_CONF_ETH_SPAN_MAX_AGE));
    Lines({"# [Forwarding]: Forwarding Delay\n", "# \t--> Range 4 to 30\n",
           "# \t--> unit is second.\n"});
    Value("Forwarding", 2, Seconds(D_CONF_ETH_SPAN_FD_DELAY));
    Lines({"# [SPT_EN]: Enable/Disable IEEE 802.1W/1D function on the port.\n",
           "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n", "# [Port_ID]\n"});
    PriorityLegend(kPortPriorityStep);
    Lines({"# [PortCost] \n", "# \t--> Range 1 to 200000000\n\n"});
    for (int k = 1; k <= kLogicalPorts; ++k) {
      const bool trunk = k > kPorts;
      file_.Write(trunk ? Key("# [Trk ", k - kPorts, "]\n") : Key("# [Port ", k, "]\n"));
      const auto at = static_cast<ConfigItemId>(k - 1);
      // The first trunk's line keeps the three TABs of the port lines.
      Value(Key("STP_EN", k), trunk && k != kPorts + 1 ? 2 : 3,
            Decimal(D_CONF_ETH_SPAN_PORT1_EN + at));
      Value(Key("Port_ID", k), 2, Shifted(D_CONF_ETH_SPAN_PORT1_ID + at, kPortPriorityShift));
      Value(Key("PortCost", k), 2, Plain(D_CONF_ETH_SPAN_PATH1_COST + at));
    }
  }

  std::string Seconds(ConfigItemId id) const {
    const auto value = Number(id);
    return value ? FormatDecimal(*value) + "(sec.)" : std::string();
  }

  void Qos() {
    Banner({"# Traffic Prioritization                          #\n",
            "# Prioritize Ethernet traffic to help determinism #\n"});
    file_.Write(kFrame);
    file_.Write({"# QoS Classification                              #\n", kFrame});
    Lines({"# [QosMechanism]: QOS Mechanism\n", "# \t--> 0 : Weight Fair(8:4:2:1)\n",
           "# \t--> 1 : Strict(High Priority First Always)\n"});
    Value("QosMechanism", 2, Decimal(D_CONF_QOS_SCHEDULE));
    Lines({"# [QosInspectTos]: Inspect TOS \n", "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n",
           "# [QosInspectCos]: Inspect COS \n", "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n",
           "# [QosPortPriority]: Default Port Priority\n", "# \t--> 0 : Low\n",
           "# \t--> 1 : Normal\n", "# \t--> 2 : Medium\n", "# \t--> 3 : High\n\n"});
    for (int p = 1; p <= kPorts; ++p) {
      const auto at = static_cast<ConfigItemId>(p - 1);
      file_.Write(Key("# [Port ", p, "]\n"));
      Value(Key("QosInspectTos", p), 2, Decimal(D_CONF_QOS_INSPECT1_TOS + at));
      Value(Key("QosInspectCos", p), 2, Decimal(D_CONF_QOS_INSPECT1_COS + at));
      Value(Key("QosPortPriority", p), 1, Decimal(D_CONF_QOS_PRIORITY1 + at));
    }
    Banner({"# CoS Mapping                                     #\n"});
    Lines({"# [CosMap]: Class of Service maps to priority queue\n", "# \t--> 0 : Low\n",
           "# \t--> 1 : Normal\n", "# \t--> 2 : Medium\n", "# \t--> 3 : High\n"});
    for (int c = 0; c < kCosClasses; ++c) {
      file_.Write(Key("# [CoS ", c, "]\n"));
      Value(Key("CosMap", c), 3, Decimal(D_CONF_COSMAP0 + static_cast<ConfigItemId>(c)));
    }
    Banner({"# ToS/DiffServ Mapping                            #\n"});
    Lines({"# [ToS]: Type of Service maps to priority queue\n", "# \t--> 0 : Low\n",
           "# \t--> 1 : Normal\n", "# \t--> 2 : Medium\n", "# \t--> 3 : High\n"});
    WriteTosGroups(file_, [this](int k) { return Number(TosMapEntry(k)); });
  }

  void Vlan() {
    Banner({"# 802.1Q VLAN                                     #\n",
            "# Setup Virtual LAN by IEEE standard 802.1Q       #\n"});
    Lines({"# [SysVID]: Management VLAN ID\n", "# \t--> Range 1 to 4094\n",
           "# [VLANType]: VLAN Port Type\n", "# \t--> 1 : Access\n", "# \t--> 0 : Trunk\n",
           "# [VLANPvid]: PVID\n", "# \t--> Range 1 to 4094\n", "# [FixVid]: Fixed VLAN (Tagged)\n",
           "# \t--> Range 1 to 4094\n", "# \tex: FixVid1  2,88,54\n",
           "# [FrbVid]: Forbidden VLAN\n", "# \t--> Range 1 to 4094\n",
           "# \tex: FrbVid1  13,1048,211,2001\n", "# Note :\n",
           "# If you set the port trunking settings in this configuration files,\n",
           "# the follow VLAN settings will be invaild and set to factory default automatically "
           "!\n",
           "\n# [Management VLAN]\n"});
    Value("SysVID", 3, Decimal(D_CONF_VLAN_SYS_VID));
    for (int p = 1; p <= kPorts; ++p) {
      const auto at = static_cast<ConfigItemId>(4 * (p - 1));
      file_.Write(Key("\n# [Port ", p, "]\n"));
      Value(Key("VLANType", p), 1, Decimal(D_CONF_VLAN_TYPE1 + at), LineEnd::kLine);
      Value(Key("VLANPvid", p), 1, Decimal(D_CONF_VLAN_PVID1 + at), LineEnd::kLine);
      Value(Key("FixVid", p), 1, Text(D_CONF_VLAN_FIXVID1 + at), LineEnd::kLine);
      Value(Key("FrbVid", p), 1, Text(D_CONF_VLAN_FRBVID1 + at), LineEnd::kLine);
    }
  }

  void Multicast() {
    Banner({"# Multicast Filtering                             #\n",
            "# Enable the multicast filtering capability       #\n"});
    file_.Write(kFrame);
    file_.Write({"# IGMP Snooping                                   #\n", kFrame});
    Lines({"# [EnableIGMPSnoop]: Enable Switch's IGMP Snooping\n", "# \t--> 0 : Disable\n",
           "# \t--> 1 : Enable\n"});
    Value("EnableIGMPSnoop", 2, Decimal(D_CONF_IGMPSNOOP_ENABLE));
    Lines({"\n# [QUERY_PERIOD]: Period of Proxy Query\n", "# \t--> Range 20 to 600\n",
           "# \t--> unit is second\n"});
    Value("QUERY_PERIOD", 2, Decimal(D_CONF_IGMPSNOOP_QUERY_PERIDO));
    Lines({"# [IGMPSNOOP]: IGMPSnoop per VLAN\n",
           "# IGMPSNOOP [VID] [Enable IGMPSnoop] [Ebable Querier] [Static Multicast Router "
           "Port]\n",
           "# [VID]: Current VLAN ID\n", "# \t--> --- : Port Trunking is active\n",
           "# \t--> Range 1 to 4094\n", "# [Enable IGMPSnoop]\n", "# \t--> 0 : Disable\n",
           "# \t--> 1 : Enable\n", "# [Ebable Querier]\n", "# \t--> 0 : Disable\n",
           "# \t--> 1 : Enable\n", "# [Static Multicast Router Port]\n",
           "# \t--> Null : no port\n"});
    PortChoiceLegend();
    Lines({"# ex: IGMPSNOOP 23 1 1 5,8\n",
           "# \t ==> vlan:23 , igmpsnooping enable , querier enable , Router ports are port5 "
           "and port8\n",
           kBeginOfListLine});
    IgmpLines();
    file_.Write(kEndOfListLine);

    Banner({"# Add Static Multicast MAC                        #\n"});
    Lines({"# MMAC [Multicast MAC address] [join ports]\n", "# \t--> Max records is 128\n",
           "# [Multicast MAC address]\n", "# \t--> format : XX-XX-XX-XX-XX-XX\n",
           "# [join ports]\n"});
    PortChoiceLegend();
    Lines({"# ex: MMAC 01-3F-C2-01-02-03 1,3,8\n\n", kBeginOfListLine});
    for (std::size_t n = 0; n < gen_a2::kMulticastEntries; ++n) {
      const auto entry = gen_a2::ReadMulticastEntry(block_.bytes(), n);
      if (!entry || !entry->used) continue;
      file_.Write({"MMAC ", FormatMacDashed(entry->mac), " ",
                   FormatPortList(entry->portMask, kLogicalPorts), "\n"});
    }
    file_.Write(kEndOfListLine);
  }

  /// One line per IGMP entry with a VID that a VLAN entry in use holds;
  /// while port trunking is active the management VLAN's entry shows "---"
  /// instead of its VID.
  void IgmpLines() {
    const bool trunking = gen_a2::TrunkingActive(block_.bytes());
    const auto managementVid = Number(D_CONF_VLAN_SYS_VID);
    for (std::size_t n = 0; n < gen_a2::kIgmpEntries; ++n) {
      const auto entry = gen_a2::ReadIgmpEntry(block_.bytes(), n);
      if (!entry || entry->vid == 0) continue;
      const bool dashes = trunking && managementVid && *managementVid == entry->vid;
      // An entry whose VLAN is gone could not be imported again: left out.
      if (!dashes && !a8vlan::FindValidEntry(block_.bytes(), entry->vid)) continue;
      file_.Write({"IGMPSNOOP\t", dashes ? std::string("---") : FormatDecimal(entry->vid), "\t",
                   entry->snooping ? "1" : "0", "\t", entry->querier ? "1" : "0", "\t",
                   FormatPortList(entry->routerPorts, kLogicalPorts), "\n"});
    }
  }

  void RateLimiting() {
    Banner({"# Rate Limiting                                   #\n",
            "# Setup the egress/ingress rate of packets        #\n"});
    file_.Write(kFrame);
    file_.Write({"# Ingress                                         #\n", kFrame});
    Lines(
        {"# RLI_port [Policy] [Rate of Low Priority Queue] [Rate of Noraml Priority Queue] "
         "[Rate of Medium Priority Queue] [Rate of High Priority Queue]\n",
         "# [Policy]\n", "# \t--> 0 : Limit All\n",
         "# \t--> 1 : Limit Broadcast,Multicast, Flooded Unicast\n",
         "# \t--> 2 : Limit Broadcast,Multicast\n", "# \t--> 3 : Limit Broadcast\n",
         "# [Rate of Low Priority Queue]\n"});
    WriteRateLegend(file_);
    Lines({"# [Rate of Noraml Priority Queue]\n", "# \t--> 0 : Same rate of low priority queue\n",
           "# \t--> 1 : Double rate of low priority queue\n", "# [Rate of Medium Priority Queue]\n",
           "# \t--> 0 : Same rate of normal priority queue\n",
           "# \t--> 1 : Double rate of normal priority queue\n",
           "# [Rate of High Priority Queue]\n", "# \t--> 0 : Same rate of medium priority queue\n",
           "# \t--> 1 : Double rate of medium priority queue\n",
           "# ex: RLI_port1 2 512K 0 0 1\n\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Key("\n# [Port ", p, "]\n"));
      const std::string key = Key("RLI_port", p);
      Value(key, 2,
            NamedValueOrNote(accessors_, block_,
                             D_CONF_RATE_LIMIT_INGRESS_P1 + static_cast<ConfigItemId>(p - 1), key));
    }
    Banner({"# Egress                                          #\n"});
    Lines({"# RLE_port [Rate]\n", "# [Rate]\n"});
    WriteRateLegend(file_);
    Lines({"# ex: RLE_port1 2M\n", "# ex: RLE_port2 NL\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Key("\n# [Port ", p, "]\n"));
      const std::string key = Key("RLE_port", p);
      Value(key, 2,
            NamedValueOrNote(accessors_, block_,
                             D_CONF_RATE_LIMIT_ENGRESS_RATE1 + static_cast<ConfigItemId>(p - 1), key));
    }
  }

  void StaticUnicast() {
    Banner({"# Add Static unicast MAC                          #\n"});
    Lines({"# UMAC [Unixast MAC address] [port] [Priority]\n", "# \t--> Max records is 128\n",
           "# [Unixast MAC address]\n", "# \t--> format: XX-XX-XX-XX-XX-XX\n", "# [port]\n",
           "# \t--> 1,2,...8 : Port 1,Port 2,...Port 8\n", "# [Priority]\n", "# \t--> 0 : Low\n",
           "# \t--> 1 : Normal\n", "# \t--> 2 : Medium\n", "# \t--> 3 : High\n",
           "# ex: UMAC 0A-3F-C2-01-02-03 1 2\n\n", "# Note :\n",
           "# If you set the port trunking settings in this configuration files,\n",
           "# the follow unicast mac settings will be invaild and set to factory default "
           "automatically !\n\n",
           "# begin-of-list\n\n"});
    for (std::size_t n = 0; n < gen_a2::kUnicastEntries; ++n) {
      const auto entry = gen_a2::ReadUnicastEntry(block_.bytes(), n);
      if (!entry || !entry->used) continue;
      file_.Write({"UMAC ", FormatMacDashed(entry->mac), " ", FormatDecimal(entry->portIndex + 1u),
                   " ", FormatDecimal(entry->priority), "\n"});
    }
    Lines({"\n", "# end-of-list\n\n"});
  }

  void PortLock() {
    Banner({"# Port Lock                                       #\n",
            "# Lock ports to prevent the intruder              #\n"});
    file_.Write(kFrame);
    file_.Write({"# Port Lock                                       #\n", kFrame});
    // These legend lines begin with a blank, as the devices' files always had them.
    Lines({" # Note :\n", " # If you set the port trunking settings in this configuration files,\n",
           " # the follow Port Lock settings will be invaild and set to factory default "
           "automatically !\n",
           " # [LockPort]: Port Lock\n", " # \t-> 0 : Unlock\n", " # \t-> 1 : Lock\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Key("\n# [Lock Port ", p, "]\n"));
      Value(Key("LockPort", p), 2, Decimal(D_CONF_PORT_LOCK1 + static_cast<ConfigItemId>(p - 1)));
    }
  }

  void EmailWarning() {
    Banner({"# Auto Warnning Setting                           #\n",
            "#    - Email Warnning Setting                     #\n",
            "#    - Relay Warnning Setting                     #\n"});
    file_.Write(kFrame);
    file_.Write({"# Email Warnning Setting                          #\n", kFrame});
    file_.Write(kFrame);
    file_.Write({"# Email Information Setting                       #\n", kFrame});
    Lines({"# [SMTPServer]: SMTP server IP addr/name\n", "# \t--> max. length 30 words\n",
           "# ex: ", kExampleMailServer, "\n"});
    Value("SMTPServer", 3, Text(D_CONF_ETH_WARN_SMTPSrv));
    Lines({"# [SMTPAccount]: account of SMTP server\n", "# \t--> max. length 45 words\n"});
    Value("SMTPAccount", 3, Text(D_CONF_ETH_WARN_SMTP_UNAME));
    Lines(
        {"# [SMTPPassword]: account password of SMTP server\n", "# \t--> max. length 45 words\n"});
    Value("SMTPPassword", 3, Text(D_CONF_ETH_WARN_SMTP_PASSWD));
    for (int k = 1; k <= kMailRecipients; ++k) {
      Lines({kMailAddressLegends[k - 1], "# \t--> max. length 30 words\n"});
      Value(kMailAddressKeys[k - 1], 2, Text(WarnTo(k)));
    }
    Lines({kFrame, "# Email Alarm Events Setting                      #\n", kFrame,
           "# [SystemEvents]: System Events(Hex.)\n"});
    for (std::string_view line : kSystemEventLines) file_.Write(line);
    Lines({"# ex: SystemEvents 0013\n",
           "#     ==>Set Email Warning Event : Cold start , Warm start , Power transition \n"});
    Value("SystemEvents", 2,
          Format(D_CONF_ETH_WARN_SFLAGA8, [](std::uint32_t v) { return Printf("%04x", v); }));
    Lines({"\n# [PortEvents]: PortEvents(Hex.)\n",
           "# \t--> format: PortEvents [LINK_ON(bit 0)+LINK_OFF(bit 1)+OVER(bit 2)]\n",
           "# \t--> 00 : Disable All.\n", "# \t--> 01 : Enable Link-ON.\n",
           "# \t--> 02 : Enable Link-OFF.\n", "# \t--> 04 : Enable Traffic-Overload.\n",
           "# ex: PortEvents 06\n",
           "#     ==>Set Email Warning Event for this port: Enable Link-OFF , Enable "
           "Traffic-Overload\n",
           "# [Traffic-Threshold]\n", "# \t--> Range 0 to 100 % \n", "# [Traffic-Duration]\n",
           "# \t--> Range 1 to 300 sec\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Key("\n# [Port ", p, "]\n"));
      Value(Key("PortEvents_", p), 2,
            Format(WarnPortFlag(p), [](std::uint32_t v) { return Printf("%02x", v); }),
            LineEnd::kLine);
      Value(Key("Traffic-Threshold", p), 1, Format(WarnPortLoad(p), FormatPercent), LineEnd::kLine);
      Value(Key("Traffic-Duration", p), 1, Format(WarnPortLoadTime(p), FormatSeconds));
    }
  }

  void RelayWarning() {
    Banner({"# Relay Warnning Setting                          #\n"});
    file_.Write(kFrame);
    file_.Write({"# System Events                                   #\n", kFrame});
    Lines({"# [RelayOverride]: Override Relay Warning Setting\n", "# \t--> 0 : Disable\n",
           "# \t--> 1 : Enable\n"});
    Value("Relay1Override", 1, Decimal(D_CONF_RELAY_SFLAG_NORMAL1));
    Value("Relay2Override", 1, Decimal(D_CONF_RELAY_SFLAG_NORMAL2));
    Lines({"# [Power_Input_failure(On->Off)]\n", "# \t--> 0 : Disable\n",
           "# \t--> 1 : Enable (relay 1)\n", "# \t--> 2 : Enable (relay 2)\n"});
    Value("Power_Input_1_failure(On->Off)", 1, Decimal(D_CONF_ETH_RELAY_SFLAG_POWER1));
    Value("Power_Input_2_failure(On->Off)", 1, Decimal(D_CONF_ETH_RELAY_SFLAG_POWER2));
    Lines({"# [DI Events]\n", "# \t--> 0 : Disable\n", "# \t--> 1 : Enable (relay 1)\n",
           "# \t--> 2 : Enable (relay 2)\n", "# [RW_DI1_N2F]: DI 1(Off)\n"});
    Value("RW_DI1_N2F", 1, Decimal(D_CONF_RELAY_SFLAG_DI1_ON2OFF));
    file_.Write("# [RW_DI1_F2N]: DI 1(On)\n");
    Value("RW_DI1_F2N", 1, Decimal(D_CONF_RELAY_SFLAG_DI1_OFF2ON));
    file_.Write("# [RW_DI2_N2F]: DI 2(Off)\n");
    Value("RW_DI2_N2F", 1, Decimal(D_CONF_RELAY_SFLAG_DI2_ON2OFF));
    file_.Write("# [RW_DI2_F2N]: DI 2(On)\n");
    Value("RW_DI2_F2N", 1, Decimal(D_CONF_RELAY_SFLAG_DI2_OFF2ON));
    Banner({"# Port Events                                     #\n"});
    Lines({"# [PortLink]: Port Link Event\n", "# \t--> 0 : Disable\n", "# \t--> 1 : On (relay 1)\n",
           "# \t--> 2 : On (relay 2)\n", "# \t--> 3 : Off (relay 1)\n",
           "# \t--> 4 : Off (relay 2)\n\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Key("\n# [Port ", p, "]\n"));
      Value(Key("PortLink_", p), 1, Decimal(RelayPortLink(p)));
    }
    Lines({"# [PortTraf]: Traffic-Overload\n", "# \t--> 0 : Disable\n",
           "# \t--> 1 : Enable (relay 1)\n", "# \t--> 2 : Enable (relay 2)\n",
           "# [Traffic_Threshold]: Traffic-Threshold\n", "# \t--> Range 0 to 100 %\n",
           "# [Traffic_Duration]: Traffic-Duration\n", "# \t--> Range 1 to 300 sec\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Key("\n# [Port ", p, "]\n"));
      Value(Key("PortTraf_", p), 2, Decimal(RelayPortTraffic(p)), LineEnd::kLine);
      Value(Key("Traffic_Threshold_", p), 1, Format(RelayPortLoad(p), FormatPercent),
            LineEnd::kLine);
      Value(Key("Traffic_Duration_", p), 1, Format(RelayPortLoadTime(p), FormatSeconds));
    }
  }

  void FastRecovery() {
    Banner({"# Setup Line-Swap fast recovery                   #\n"});
    Lines({"# [FASTRECOVERY]: Line-Swap fast recovery\n",
           "# Enable/Disable Line-Swap fast recovery for all ports.\n",
           "# \t--> 0 : Disable All Ports\n", "# \t--> 1 : Enable All Ports\n"});
    Value("FASTRECOVERY", 1, Hex(D_CONF_ETH_FLAG_FASTRECOVERY));
  }

  void DeviceIps() {
    Banner({"# Setup Set device IP                             #\n",
            "# The function is used to automatically assign IP #\n",
            "# address to connected devices that are equipped  #\n",
            "# with 'DHCP-Client' or 'RARP'protocol.           #\n"});
    Lines({"# [Device_IP]\n", "# \t--> format: Device_IP XXX.XXX.XXX.XXX\n",
           "# \t--> Device1 ~ Device8: Port1, Port2, ...Port8\n",
           "# \t--> Device9 ~ Device12: Trk1, Trk 2, Trk3, Trk4\n"});
    for (int k = 1; k <= kLogicalPorts; ++k) {
      const ConfigItemId id = D_CONF_ETH_PCFG_DEVIP1 + static_cast<ConfigItemId>(k - 1);
      const std::string key = Key("Device", k, "_IP");
      if (k <= kPorts) {
        file_.Write(Key("\n# [Port ", k, "]\n"));
        AddressValue(key, 1, Address(id, false), 1,
                     k < kPorts ? LineEnd::kLine : LineEnd::kLineAndBlank);
      } else {
        file_.Write(Key("# [Trk ", k - kPorts, "]\n"));
        AddressValue(key, 2, Address(id, false), 1);
      }
    }
  }

  void Mirror() {
    Lines({"\n####################################################\n",
           "# Setup Mirror Port                                #\n",
           "# Mirror port and Mirrored port can't set the same.#\n",
           "####################################################\n", "# Note :\n",
           "# If you set the port trunking settings in this configuration files,\n",
           "# the follow Mirror settings will be invaild and set to factory default "
           "automatically !\n",
           "# [MirrorPort]: Mirror Port\n", "# \t--> 1,2,...8 : Port 1,Port 2,...Port 8\n",
           "# \t--> Set '0' indicates not use.\n"});
    Value("MirrorPort", 3, Decimal(D_CONF_ETH_MIRROR_PORT));
    Lines({"# [MirroredPort]: Monitored Port\n", "# \t--> 1,2,...8 : Port 1,Port 2,...Port 8\n",
           "# \t==> Set '0' indicates not use.\n"});
    Value("MirroredPort", 2, Decimal(D_CONF_ETH_TARGET_PORT));
    Lines({"# [WatchDirection]: Watch Direction\n", "# \t--> 1 : Output data stream\n",
           "# \t--> 2 : Bi-directional\n"});
    Value("WatchDirection", 2, Decimal(D_CONF_ETH_MIRROR_DIR));
  }

  ConfigTextWriter file_;
  const DeviceRecord& record_;
  const ConfigBlock& block_;
  const ItemAccessors& accessors_;
};

}  // namespace

void WriteGenA2ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  accessors.setText(block, D_CONF_ETH_WARN_SMTP_PASSWD, FieldText(record.smtpPassword));
  GenA2FileWriter(fileText, record, block, accessors).Write();
}

}  // namespace vantrell
