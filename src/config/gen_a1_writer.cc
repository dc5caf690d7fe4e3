#include "config/gen_a1_writer.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

#include "config/config_catalogue.h"
#include "config/export_notes.h"
#include "config/file_writer.h"
#include "config/gen_a1_layout.h"
#include "config/gen_a_encodings.h"
#include "config/item_comment.h"

namespace vantrell {
namespace {

using namespace item;

constexpr int kPorts = a1::kPorts;
constexpr int kCosEntries = 8;
constexpr int kPriorityLegendLines = 16;

/// Example e-mail addresses of the warning legend, one per address line.
constexpr std::array<std::string_view, 4> kExampleAddresses = {
    "operator1@example.com", "operator2@example.com", "operator3@example.com",
    "operator4@example.com"};

/// The constant name of a numbered item, such as "D_CONF_ETH_SPAN_PORT3_EN".
std::string Numbered(std::string_view prefix, int number, std::string_view suffix = {}) {
  std::string name(prefix);
  name += std::to_string(number);
  name += suffix;
  return name;
}

/// When an address is written as an empty value instead of its dotted form.
enum class EmptyAddress { kNever, kWhenZero, kWhenZeroOrAllOnes };

class GenA1FileWriter {
 public:
  GenA1FileWriter(std::string& out, const DeviceRecord& record, const ConfigBlock& block,
                  const ItemAccessors& accessors)
      : file_(out), record_(record), block_(block), accessors_(accessors) {}

  void Write() {
    WriteFileHeader(file_, ExportModelName(record_.modelId));
    SystemSection();
    PasswordAndAccessSection();
    PortSection();
    NetworkSection();
    TimeSection();
    RedundancySection();
    SpanningTreeSection();
    QosSection();
    VlanSection();
    MulticastSection();
    RateLimitSection();
    PortLockAndUnicastSection();
    MailWarningSection();
    RelayWarningSection();
    FastRecoveryAndDeviceIpSection();
    MirrorSection();
    WriteEndLine(file_);
  }

 private:
  // ---- values; an item the accessors cannot give is written empty ----

  std::optional<std::uint32_t> Number(ConfigItemId id) const {
    return accessors_.getNumber(block_, id);
  }
  std::string Decimal(ConfigItemId id) const {
    const auto value = Number(id);
    return value ? FormatDecimal(*value) : std::string();
  }
  std::string Hex(ConfigItemId id) const {
    const auto value = Number(id);
    return value ? FormatHex(*value) : std::string();
  }
  std::string Text(ConfigItemId id) const {
    const auto text = accessors_.getText(block_, id);
    return text ? FormatText(*text) : std::string();
  }
  std::string Address(ConfigItemId id, EmptyAddress rule) const {
    const auto address = Number(id);
    if (!address) return {};
    if (rule != EmptyAddress::kNever && *address == 0) return {};
    if (rule == EmptyAddress::kWhenZeroOrAllOnes && *address == kAllOnesIpv4) return {};
    return FormatAddress(*address);
  }
  /// A rate text; a stored rate index without a name is written empty and noted.
  std::string Rate(ConfigItemId id, std::string_view key) const {
    return NamedValueOrNote(accessors_, block_, id, key);
  }

  // ---- lines ----

  void Comment(std::string_view constName) { writeItemComment(file_, constName); }
  static std::string_view Key(std::string_view constName) { return catalogueFileKey(constName); }
  void Value(std::string_view constName, int tabs, std::string_view value,
             LineEnd end = LineEnd::kLineAndBlank) {
    file_.ValueLine(Key(constName), tabs, value, end);
  }
  void Item(std::string_view constName, int tabs, std::string_view value) {
    Comment(constName);
    Value(constName, tabs, value);
  }

  // ---- sections, in file order ----

  void SystemSection() {
    file_.Write({"\n#########################################################\n",
                 "# Basic settings -- for network and system parameter    #\n",
                 "#########################################################\n\n",
                 "################################\n", "#     System Identification    #\n",
                 "################################\n"});
    Item("D_CONF_ETH_NAMEA8", 2, Text(D_CONF_ETH_NAMEA8));
    Item("D_CONF_ETH_LOCATIONA8", 2, Text(D_CONF_ETH_LOCATIONA8));
    Item("D_CONF_ETH_SYSDESCRA8", 2, Text(D_CONF_ETH_SYSDESCRA8));
    Item("D_CONF_ETH_CONTACTA8", 2, Text(D_CONF_ETH_CONTACTA8));
    file_.Write({"# [Web Configuration]\n", "# \t--> 0 : Disable Web Configuration\n",
                 "# \t--> 1 : Enable Web Configuration\n"});
    Value("D_CONF_ETH_FLAG_WEBA8", 2, Hex(D_CONF_ETH_FLAG_WEBA8));
    file_.Write({"# [Telnet Console]\n", "# \t--> 0 : Disable Telnet Console\n",
                 "# \t--> 1 : Enable Telnet Console\n"});
    Value("D_CONF_ETH_FLAG_TELNETA8", 1, Hex(D_CONF_ETH_FLAG_TELNETA8));
  }

  void PasswordAndAccessSection() {
    file_.Write({"\n##############################\n", "#     Password Setting       #\n",
                 "##############################\n"});
    Item("D_CONF_ETH_USERPWD", 1, Text(D_CONF_ETH_USERPWD));
    file_.Write({"\n#############################\n", "#     Accessible IP List    #\n",
                 "#############################\n",
                 "# [Enable the accessible IP list] (\"Disable\" will allow all IP's connection)\n",
                 "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n"});
    Value("D_CONF_GRANTIP_INUSED", 1, Decimal(D_CONF_GRANTIP_INUSED));
    file_.Write({"# [Access IP list]\n", "# ex: AccessIP1 192.168.127.253/255.255.255.0\n"});
    for (int k = 1; k <= 10; ++k) {
      Value(Numbered("D_CONF_GRANTIP_IP", k), 1, Text(D_CONF_GRANTIP_IP1 + (k - 1)),
            LineEnd::kLine);
    }
  }

  void PortSection() {
    file_.Write({"\n##################\n",
                 "#     Port       #\n",
                 "##################\n",
                 "# [LAN Port Setting]\n",
                 "# PortEnable : Enable/Disable Port flag.\n",
                 "#\t\t--> 0  : DISABLE\n",
                 "#\t\t--> 1  : ENABLE\n",
                 "# PortSpeed : Port Speed.\n",
                 "#\t\t--> 0  : AUTO\n",
                 "#\t\t--> 1  : 100FULL\n",
                 "#\t\t--> 2  : 100HALF\n",
                 "#\t\t--> 3  : 10FULL\n",
                 "#\t\t--> 4  : 10HALF\n",
                 "# PortFDX : Port FDX Flow Ctrl.\n",
                 "#\t\t--> 0  : Disable\n",
                 "#\t\t--> 1  : Enable\n",
                 "# ProtMDIFlag : Set Cable Type is MDI or MDIX.\n",
                 "#\t\t--> 0  : AUTO\n",
                 "#\t\t--> 1  : MDIX\n",
                 "#\t\t--> 2  : MDI\n"});
    const bool fibre = IsFibreUplinkModel(Generation::kGenA1, record_.modelId);
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Numbered("# [LAN Port ", p, " Setting]\n"));
      const bool uplink = fibre && p >= 7;
      Value(Numbered("D_CONF_ETH_PCFG_DISABLE", p), 1, Decimal(PcfgDisable(p)), LineEnd::kLine);
      Value(Numbered("D_CONF_ETH_PCFG_SPEED", p), 2, Decimal(PcfgSpeed(p)), LineEnd::kLine);
      Value(Numbered("D_CONF_ETH_PCFG_FDX", p), 2, uplink ? "" : Decimal(PcfgFdx(p)),
            LineEnd::kLine);
      Value(Numbered("D_CONF_ETH_PCFG_FLAG", p), 1, uplink ? "" : Decimal(PcfgFlag(p)));
    }
  }

  void NetworkSection() {
    file_.Write({"\n##################\n", "#     Network    #\n", "##################\n",
                 "# [Auto IP Configuration]\n", "#\t\t--> 0 : Disable\n",
                 "#\t\t--> 1 : Enable DHCP\n", "#\t\t--> 2 : Enable BOOTP\n"});
    Value("D_CONF_ETH_FLAG_AUTOIP", 1, Hex(D_CONF_ETH_FLAG_AUTOIP));
    Item("D_CONF_ETH_IPADDR", 1, Address(D_CONF_ETH_IPADDR, EmptyAddress::kNever));
    Item("D_CONF_ETH_IPMASK", 2, Address(D_CONF_ETH_IPMASK, EmptyAddress::kWhenZero));
    Item("D_CONF_ETH_GATEWAY", 2, Address(D_CONF_ETH_GATEWAY, EmptyAddress::kWhenZeroOrAllOnes));
    Item("D_CONF_ETH_DNSSIP", 1, Address(D_CONF_ETH_DNSSIP, EmptyAddress::kWhenZeroOrAllOnes));
    Value("D_CONF_ETH_DNSSIP1", 1, Address(D_CONF_ETH_DNSSIP1, EmptyAddress::kWhenZeroOrAllOnes));
    Item("D_CONF_ETH_TRAPS", 1, Text(D_CONF_ETH_TRAPS));
    Item("D_CONF_ETH_COMMUNITY", 1, Text(D_CONF_ETH_COMMUNITY));
  }

  void TimeSection() {
    file_.Write({"\n##################\n", "#       Time     #\n", "##################\n",
                 "# [Time Zone] \n"});
    WriteTimeZoneLines(file_);
    Value("D_CONF_ETH_DTIME_TZONE", 1, Decimal(D_CONF_ETH_DTIME_TZONE), LineEnd::kLine);
    file_.Write("# [1st Time Server IP/Name]\n");
    Value("D_CONF_ETH_DTIME_SRV1", 1, Text(D_CONF_ETH_DTIME_SRV1), LineEnd::kLine);
    file_.Write("# [2nd Time Server IP/Name]\n");
    Value("D_CONF_ETH_DTIME_SRV2", 1, Text(D_CONF_ETH_DTIME_SRV2), LineEnd::kLine);
    file_.Write({"# [Time Server Query Period]\n", "# \t--> Range 1 to 9999\n",
                 "# \t--> unit is second.\n"});
    Value("D_CONF_ETH_DTIME_PERIOD", 1, Decimal(D_CONF_ETH_DTIME_PERIOD), LineEnd::kLine);
  }

  void RedundancySection() {
    file_.Write({"\n###################################################\n",
                 "# Communication redundancy                        #\n",
                 "# Establish Ethernet communication redundant path #\n",
                 "###################################################\n",
                 "# [Redundancy Protocol]\n", "# Protocol of Redundancy.\n",
                 "# \t--> 0 : IEEE 802.1W/1D\n", "# \t--> 1 : Zorvel Ring\n"});
    Value("D_CONF_ETHA8_REDUN_PROTOCOL", 1, Decimal(D_CONF_ETHA8_REDUN_PROTOCOL));
    file_.Write({"\n###################################################\n",
                 "# Zorvel Ring Setting.                             #\n",
                 "###################################################\n", "# [Set to be Master]\n",
                 "# Set to be Master.\n", "# \t--> 0 : NO\n", "# \t--> 1 : Yes\n"});
    Value("D_CONF_ETH_REDUN_MASTER", 1, Decimal(D_CONF_ETH_REDUN_MASTER));
    Item("D_CONF_ETH_REDUN_PORT1", 1, Decimal(D_CONF_ETH_REDUN_PORT1));
    Item("D_CONF_ETH_REDUN_PORT2", 1, Decimal(D_CONF_ETH_REDUN_PORT2));
    file_.Write({"# [Redundant Ring Coupling]\n", "# Redundant Ring Coupling.\n",
                 "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n"});
    Value("D_CONF_ETH_REDUN_COUPLING", 1, Decimal(D_CONF_ETH_REDUN_COUPLING));
    Item("D_CONF_ETH_REDUN_CPL_PORT", 1, Decimal(D_CONF_ETH_REDUN_CPL_PORT));
    Item("D_CONF_ETH_REDUN_CPL_CTRLPORT", 1, Decimal(D_CONF_ETH_REDUN_CPL_CTRLPORT));
  }

  /// "# \t--> %2d : %d\n" for i = 0..15 with i and i x `step`.
  void PriorityLegend(std::uint32_t step) {
    for (int i = 0; i < kPriorityLegendLines; ++i) {
      char line[48];
      std::snprintf(line, sizeof line, "# \t--> %2d : %d\n", i, static_cast<int>(i * step));
      file_.Write(line);
    }
  }

  void SpanningTreeSection() {
    file_.Write({"\n###################################################\n",
                 "# RSTP (IEEE 802.1W/D) Setting.                   #\n",
                 "###################################################\n", "# [Bridge Id]\n"});
    PriorityLegend(4096);
    Value("D_CONF_ETH_SPAN_BRIDGE_ID", 1, Decimal(D_CONF_ETH_SPAN_BRIDGE_ID));
    const auto seconds = [this](ConfigItemId id) {
      const auto value = Number(id);
      return value ? FormatSecondsDot(*value) : std::string();
    };
    file_.Write({"# [Hello Time]\n", "# \t--> Range 1 to 10 seconds\n"});
    Value("D_CONF_ETH_SPAN_HELLO_TIME", 1, seconds(D_CONF_ETH_SPAN_HELLO_TIME));
    file_.Write({"# [Max Age]\n", "# \t--> Range 6 to 40 seconds\n"});
    Value("D_CONF_ETH_SPAN_MAX_AGE", 2, seconds(D_CONF_ETH_SPAN_MAX_AGE));
    file_.Write({"# [Forwarding Delay]\n", "# \t--> Range 4 to 30 seconds\n"});
    Value("D_CONF_ETH_SPAN_FD_DELAY", 1, seconds(D_CONF_ETH_SPAN_FD_DELAY));
    file_.Write({"#################################\n", "# IEEE 802.1W/D Port Settings.  #\n",
                 "#################################\n",
                 "# SPT_EN : Enable/Disable IEEE 802.1W/1D function.\n", "# \t--> 0 : Disable\n",
                 "# \t--> 1 : Enable\n", "# Port_ID :\n"});
    PriorityLegend(16);
    file_.Write({"# PortCost : \n\n", "# \t--> Range 1 to 200000000\n\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Numbered("# [Port ", p, "]\n"));
      Value(Numbered("D_CONF_ETH_SPAN_PORT", p, "_EN"), 2, Decimal(SpanPortEnable(p)),
            LineEnd::kLine);
      Value(Numbered("D_CONF_ETH_SPAN_PORT", p, "_ID"), 1, Decimal(SpanPortId(p)), LineEnd::kLine);
      Value(Numbered("D_CONF_ETH_SPAN_PATH", p, "_COST"), 1, Decimal(SpanPathCost(p)));
    }
  }

  void QosSection() {
    file_.Write(
        {"\n#############################################################################\n",
         "# Traffic Prioritization -- Prioritize Ethernet traffic to help determinism #\n",
         "#############################################################################\n\n",
         "######################\n", "# QoS Classification #\n", "######################\n",
         "# [QOS Mechanism]\n", "# Queuing Mechanism\n", "# \t--> 0 : Weight Fair(8:4:2:1)\n",
         "# \t--> 1 : Strict(High Priority First Always)\n"});
    Value("D_CONF_QOS_SCHEDULE", 1, Decimal(D_CONF_QOS_SCHEDULE));
    file_.Write({"# Inspect TOS \n", "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n",
                 "# Inspect COS \n", "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n",
                 "# Default Port Priority \n", "# \t--> 0 : Low\n", "# \t--> 1 : Normal\n",
                 "# \t--> 2 : Medium\n", "# \t--> 3 : High\n\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Numbered("# [Port ", p, "]\n"));
      Value(Numbered("D_CONF_QOS_INSPECT", p, "_TOS"), 1, Decimal(D_CONF_QOS_INSPECT1_TOS + p - 1),
            LineEnd::kLine);
      Value(Numbered("D_CONF_QOS_INSPECT", p, "_COS"), 1, Decimal(D_CONF_QOS_INSPECT1_COS + p - 1),
            LineEnd::kLine);
      Value(Numbered("D_CONF_QOS_PRIORITY", p), 1, Decimal(D_CONF_QOS_PRIORITY1 + p - 1),
            LineEnd::kLine);
    }
    file_.Write({"\n######################\n", "# CoS Mapping        #\n",
                 "######################\n", "# Priority Queue \n", "# \t--> 0 : Low\n",
                 "# \t--> 1 : Normal\n", "# \t--> 2 : Medium\n", "# \t--> 3 : High\n"});
    for (int c = 0; c < kCosEntries; ++c) {
      file_.Write(Numbered("# [CoS ", c, "]\n"));
      Value(Numbered("D_CONF_COSMAP", c), 1, Decimal(D_CONF_COSMAP0 + c));
    }
    file_.Write({"\n########################\n", "# TOS/DiffServ Mapping #\n",
                 "########################\n", "# Level \n", "# \t--> 0 : Low\n",
                 "# \t--> 1 : Normal\n", "# \t--> 2 : Medium\n", "# \t--> 3 : High\n"});
    WriteTosGroups(file_, [this](int k) { return Number(TosMapEntry(k)); });
  }

  void VlanSection() {
    file_.Write(
        {"\n#############################################################################\n",
         "# 802.1Q VLAN -- Setup Virtual LAN by IEEE standard 802.1Q                  #\n",
         "#############################################################################\n\n",
         "# Management VLAN ID\n", "# \t--> Range 1 to 4094\n", "# Type \n", "# \t--> 1 : Access\n",
         "# \t--> 0 : Trunk\n", "# PVID\n", "# \t--> Range 1 to 4094\n", "# Fixed VLAN\n",
         "# \t--> Range 1 to 4094\n", "# \tex: FixVid1  2,88,54\n", "# Forbiden VLAN\n",
         "# \t--> Range 1 to 4094\n", "# \tex: FrbVid1  13,1048,211,2001\n",
         "\n# [Management VLAN]\n"});
    Value("D_CONF_VLAN_SYS_VID", 1, Decimal(D_CONF_VLAN_SYS_VID), LineEnd::kLine);
    for (int p = 1; p <= kPorts; ++p) {
      const ConfigItemId first = D_CONF_VLAN_TYPE1 + 4 * static_cast<ConfigItemId>(p - 1);
      file_.Write(Numbered("\n# [Port ", p, "]\n"));
      Value(Numbered("D_CONF_VLAN_TYPE", p), 1, Decimal(first), LineEnd::kLine);
      Value(Numbered("D_CONF_VLAN_PVID", p), 1, Decimal(first + 1), LineEnd::kLine);
      Value(Numbered("D_CONF_VLAN_FIXVID", p), 1, Text(first + 2), LineEnd::kLine);
      Value(Numbered("D_CONF_VLAN_FRBVID", p), 1, Text(first + 3), LineEnd::kLine);
    }
  }

  void MulticastSection() {
    file_.Write(
        {"\n#############################################################################\n",
         "# Multicast Filtering -- Enable the multicast filtering capability          #\n",
         "#############################################################################\n\n",
         "\n#################\n", "# IGMP Snooping #\n", "#################\n",
         "# [Enable Switch's IGMP Snooping]\n", "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n"});
    Value("D_CONF_IGMPSNOOP_ENABLE", 1, Decimal(D_CONF_IGMPSNOOP_ENABLE));
    file_.Write(
        {"# [Period of Proxy Query]\n", "# \t--> Range 20 to 600\n", "# \t--> unit is second\n"});
    Value("D_CONF_IGMPSNOOP_QUERY_PERIDO", 1, Decimal(D_CONF_IGMPSNOOP_QUERY_PERIDO));
    file_.Write({"# [IGMPSnoop per VLAN]\n",
                 "# IGMPSNOOP [VID] [Enable IGMPSnoop] [Ebable Querier] [Static Multicast Router "
                 "Port]\n",
                 "# [VID] = Current VLAN ID\n", "# \t--> Range 1 to 4094\n",
                 "# [Enable IGMPSnoop]\n", "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n",
                 "# [Ebable Querier]\n", "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n",
                 "# [Static Multicast Router Port]\n", "# \t--> port 1 to 8\n",
                 "# \t--> no port , one port , or more than one port\n",
                 "# ex: IGMPSNOOP 23 1 1 5,8\n", kBeginOfListLine});
    IgmpLines();
    file_.Write(kEndOfListLine);
    file_.Write({"\n############################\n", "# Add Static Multicast MAC #\n",
                 "############################\n", "# Max records is 128\n",
                 "# MMAC [MAC address] [join ports]\n", "# ex: MMAC 01-3F-C2-01-02-03 1,3,8\n\n",
                 kBeginOfListLine});
    MulticastLines();
    file_.Write(kEndOfListLine);
  }

  bool WholeBlock() const { return block_.size() >= blockSize(Generation::kGenA1); }

  std::span<const std::uint8_t, 6> MacAt(std::size_t offset) const {
    return block_.bytes().subspan(offset).first<6>();
  }

  void IgmpLines() {
    if (!WholeBlock()) return;
    for (std::size_t n = 0; n < a1::kIgmpEntries; ++n) {
      const std::size_t at = a1::IgmpEntry(n);
      const std::uint16_t word = *ReadU16(block_.bytes(), at);
      const std::uint32_t vid = word & a1::kIgmpVidMask;
      if (vid == 0) continue;
      const int snooping = (word & a1::kIgmpSnoopingBit) ? 1 : 0;
      const int querier = (word & a1::kIgmpQuerierBit) ? 1 : 0;
      char head[48];
      std::snprintf(head, sizeof head, "IGMPSNOOP %u %d %d ", static_cast<unsigned>(vid), snooping,
                    querier);
      file_.Write(
          {head, FormatPortList(block_.bytes()[at + a1::kIgmpRouterPortsAt], kPorts), "\n"});
    }
  }

  void MulticastLines() {
    if (!WholeBlock()) return;
    for (std::size_t n = 0; n < a1::kMulticastEntries; ++n) {
      const std::size_t at = a1::MulticastEntry(n);
      if (block_.bytes()[at] == 0) continue;
      file_.Write({"MMAC ", FormatMacDashed(MacAt(at + a1::kMulticastMacAt)), " ",
                   FormatPortList(block_.bytes()[at + a1::kMulticastPortsAt], kPorts), "\n"});
    }
  }

  void UnicastLines() {
    if (!WholeBlock()) return;
    for (std::size_t n = 0; n < a1::kUnicastEntries; ++n) {
      const std::size_t at = a1::UnicastEntry(n);
      if (block_.bytes()[at] == 0) continue;
      char tail[32];
      std::snprintf(tail, sizeof tail, " %d %d\n", block_.bytes()[at + a1::kUnicastPortAt] + 1,
                    block_.bytes()[at + a1::kUnicastPriorityAt]);
      file_.Write({"UMAC ", FormatMacDashed(MacAt(at + a1::kUnicastMacAt)), tail});
    }
  }

  void RateLimitSection() {
    file_.Write(
        {"\n#############################################################################\n",
         "# Rate Limiting -- Setup the egress/ingress rate of packets                 #\n",
         "#############################################################################\n\n",
         "###########\n", "# Ingress #\n", "###########\n",
         "# RLI_port* [Policy] [Rate of Low Priority Queue] [Rate of Noraml Priority "
         "Queue] [Rate of Medium Priority Queue] [Rate of High Priority Queue]\n",
         "# [Policy]\n", "# \t--> 0 : Limit All\n",
         "# \t--> 1 : Limit Broadcast,Multicast, Flooded Unicast\n",
         "# \t--> 2 : Limit Broadcast,Multicast\n", "# \t--> 3 : Limit Broadcast\n",
         "# [Rate of Low Priority Queue]\n"});
    WriteRateLegend(file_);
    file_.Write(
        {"# [Rate of Noraml Priority Queue]\n", "# \t--> 1 : Double rate of low priority queue\n",
         "# \t--> 0 : Same rate of low priority queue\n", "# [Rate of Medium Priority Queue]\n",
         "# \t--> 1 : Double rate of normal priority queue\n",
         "# \t--> 0 : Same rate of normal priority queue\n", "# [Rate of High Priority Queue]\n",
         "# \t--> 1 : Double rate of medium priority queue\n",
         "# \t--> 0 : Same rate of medium priority queue\n", "# ex: RLI_port1 2 512K 0 0 1\n\n"});
    for (int p = 1; p <= kPorts; ++p) {
      const std::string name = Numbered("D_CONF_RATE_LIMIT_INGRESS_P", p);
      file_.Write({Key(name), " ", Rate(D_CONF_RATE_LIMIT_INGRESS_P1 + (p - 1), Key(name)), "\n"});
    }
    file_.Write({"\n##########\n", "# Egress #\n", "##########\n", "# ex: RLE_port1 [Rate]\n",
                 "# [Rate]\n"});
    WriteRateLegend(file_);
    file_.Write({"# ex: RLE_port1 2M\n", "# ex: RLE_port2 NL\n"});
    for (int p = 1; p <= kPorts; ++p) {
      const std::string name = Numbered("D_CONF_RATE_LIMIT_ENGRESS_RATE", p);
      Value(name, 1, Rate(D_CONF_RATE_LIMIT_ENGRESS_RATE1 + (p - 1), Key(name)), LineEnd::kLine);
    }
  }

  void PortLockAndUnicastSection() {
    file_.Write(
        {"\n#############################################################################\n",
         "# Port Lock -- Lock ports to prevent the intruder                           #\n",
         "#############################################################################\n\n",
         "\n#############\n", "# Port Lock #\n", "#############\n\n", "# \t-> Unlock : 0\n",
         "# \t-> Lock   : 1\n", "# [Port Lock]\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write(Numbered("# Lock Port ", p, "\n"));
      Value(Numbered("D_CONF_PORT_LOCK", p), 1, Decimal(D_CONF_PORT_LOCK1 + (p - 1)));
    }
    file_.Write({"\n############################\n", "# Add Static unicast MAC   #\n",
                 "############################\n", "# Max records is 128\n",
                 "# UMAC [MAC address] [port] [Priority]\n", "# port : 1-8\n", "# [Priority]\n",
                 "# \t--> 0 : Low\n", "# \t--> 1 : Normal\n", "# \t--> 2 : Medium\n",
                 "# \t--> 3 : High\n", "# ex: UMAC 0A-3F-C2-01-02-03 1 2\n\n", kBeginOfListLine});
    UnicastLines();
    file_.Write(kEndOfListLine);
  }

  void MailWarningSection() {
    file_.Write({"\n###################################\n", "# Auto Warnning Setting           #\n",
                 "#    - Email Warnning Setting     #\n", "#    - Relay Warnning Setting     #\n",
                 "###################################\n", "\n##########################\n",
                 "# Email Warnning Setting #\n", "##########################\n",
                 "# SMTPServer : SMTP server IP addr/name (max. length 30 words).\n",
                 "# ex: ", kExampleMailServer, " \n",
                 "# SMTPAccount : account of SMTP server(max. length 45 words).\n",
                 "#\tex: smtpuser \n",
                 "# SMTPPassword : account password of SMTP server(max. length 45 words).\n",
                 "#\tex: qb73#5mR\n"});
    constexpr std::array<std::string_view, 4> kOrdinals = {"1st", "2st", "3st", "4st"};
    for (std::size_t k = 0; k < kOrdinals.size(); ++k) {
      file_.Write({"# ", kOrdinals[k], " e-mail address (max. length 30 words).\n",
                   "#\tex: ", kExampleAddresses[k], " \n"});
    }
    Item("D_CONF_ETH_WARN_SMTPSrv", 1, Text(D_CONF_ETH_WARN_SMTPSrv));
    Item("D_CONF_ETH_WARN_SMTP_UNAME", 1, Text(D_CONF_ETH_WARN_SMTP_UNAME));
    Item("D_CONF_ETH_WARN_SMTP_PASSWD", 1, Text(D_CONF_ETH_WARN_SMTP_PASSWD));
    for (int k = 1; k <= 4; ++k) {
      Item(Numbered("D_CONF_ETH_WARN_TO", k), 1, Text(WarnTo(k)));
    }
    file_.Write({"# [System Events(Hex.)]\n", "# \t--> 0000 : Disable All.\n",
                 "# \t--> 0001 : Enable Server Cold Start.\n",
                 "# \t--> 0002 : Enable Server Warm Start.\n",
                 "# \t--> 0004 : Enable Configuration Change Activated.\n",
                 "# \t--> 0008 : Enable Power Transition (On->Off).\n",
                 "# \t--> 0010 : Enable Power Transition (Off->On).\n",
                 "# \t--> 0020 : Enable Authentication Failure.\n",
                 "# \t--> 0040 : Enable Comm. Redundancy Topology Changed.\n",
                 "# \t--> 0200 : DI 1(On->Off).\n", "# \t--> 0400 : DI 1(Off->On).\n",
                 "# \t--> 0800 : DI 2(On->Off).\n", "# \t--> 1000 : DI 2(Off->On).\n",
                 "# ex: 0013 = [Cold start]+[Warm start]+[power transition] \n"});
    Value("D_CONF_ETH_WARN_SFLAGA8", 1, HexDigits(D_CONF_ETH_WARN_SFLAGA8, "%04x"));
    file_.Write({"# [PortEvents(Hex.)]\n",
                 "# PortEvents : LINK_ON(bit 0)+LINK_OFF(bit 1)+OVER(bit 2)\n",
                 "# \t--> 00 : Disable All.\n", "# \t--> 01 : Enable Link-ON.\n",
                 "# \t--> 02 : Enable Link-OFF.\n", "# \t--> 04 : Enable Traffic-Overload.\n",
                 "# Traffic-Threshold :\n", "# \t--> Range 0 to 100 %.\n", "# Traffic-Duration :\n",
                 "# \t--> Range 1 to 300 (sec.)\n"});
    for (int p = 1; p <= kPorts; ++p) {
      Value(Numbered("D_CONF_ETH_WARN_PFLAG", p), 2, HexDigits(WarnPortFlag(p), "%02x"),
            LineEnd::kLine);
      Value(Numbered("D_CONF_ETH_WARN_PLOAD", p), 1, Percent(WarnPortLoad(p)), LineEnd::kLine);
      Value(Numbered("D_CONF_ETH_WARN_PLOADTIME", p), 1, Seconds(WarnPortLoadTime(p)));
    }
  }

  std::string HexDigits(ConfigItemId id, const char* format) const {
    const auto value = Number(id);
    if (!value) return {};
    char text[16];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(*value));
    return text;
  }
  std::string Percent(ConfigItemId id) const {
    const auto value = Number(id);
    return value ? FormatPercent(*value) : std::string();
  }
  std::string Seconds(ConfigItemId id) const {
    const auto value = Number(id);
    return value ? FormatSeconds(*value) : std::string();
  }

  void RelayWarningSection() {
    file_.Write({"\n###########################\n", "# Relay Warnning Setting  #\n",
                 "###########################\n", "# [Override Relay Warning Setting]\n",
                 "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n"});
    Value("D_CONF_RELAY_SFLAG_NORMAL1", 1, Decimal(D_CONF_RELAY_SFLAG_NORMAL1));
    Value("D_CONF_RELAY_SFLAG_NORMAL2", 1, Decimal(D_CONF_RELAY_SFLAG_NORMAL2));
    file_.Write({"# [Power Events]\n", "# \t--> 0 : Disable\n", "# \t--> 1 : Enable (relay 1)\n",
                 "# \t--> 2 : Enable (relay 2)\n"});
    Value("D_CONF_ETH_RELAY_SFLAG_POWER1", 1, Decimal(D_CONF_ETH_RELAY_SFLAG_POWER1));
    Value("D_CONF_ETH_RELAY_SFLAG_POWER2", 1, Decimal(D_CONF_ETH_RELAY_SFLAG_POWER2));
    file_.Write({"# [DI Events]\n", "# \t--> 0 : Disable\n", "# \t--> 1 : Enable (relay 1)\n",
                 "# \t--> 2 : Enable (relay 2)\n", "# [DI 1(On->Off)]\n"});
    Value("D_CONF_RELAY_SFLAG_DI1_ON2OFF", 1, Decimal(D_CONF_RELAY_SFLAG_DI1_ON2OFF));
    file_.Write("# [DI 1(Off->On)]\n");
    Value("D_CONF_RELAY_SFLAG_DI1_OFF2ON", 1, Decimal(D_CONF_RELAY_SFLAG_DI1_OFF2ON));
    file_.Write("# [DI 2(On->Off)]\n");
    Value("D_CONF_RELAY_SFLAG_DI2_ON2OFF", 1, Decimal(D_CONF_RELAY_SFLAG_DI2_ON2OFF));
    file_.Write("# [DI 2(Off->On)]\n");
    Value("D_CONF_RELAY_SFLAG_DI2_OFF2ON", 1, Decimal(D_CONF_RELAY_SFLAG_DI2_OFF2ON));
    file_.Write({"# [Port Link Event]\n", "# \t--> 0 : Disable\n", "# \t--> 1 : On (relay 1)\n",
                 "# \t--> 2 : On (relay 2)\n", "# \t--> 3 : Off (relay 1)\n",
                 "# \t--> 4 : Off (relay 2)\n\n"});
    for (int p = 1; p <= kPorts; ++p) {
      Value(Numbered("D_CONF_ETH_RELAY_PFLAG_LINK", p), 1, Decimal(RelayPortLink(p)));
    }
    file_.Write({"# Traffic-Overload :\n", "# \t--> 0 : Disable\n",
                 "# \t--> 1 : Enable (relay 1)\n", "# \t--> 2 : Enable (relay 2)\n",
                 "# Traffic-Threshold :\n", "# \t--> Range 0 to 100 %.\n", "# Traffic-Duration :\n",
                 "# \t--> Range 1 to 300 (sec.)\n"});
    for (int p = 1; p <= kPorts; ++p) {
      Value(Numbered("D_CONF_ETH_RELAY_PFLAG_TRAF", p), 2, Decimal(RelayPortTraffic(p)),
            LineEnd::kLine);
      Value(Numbered("D_CONF_ETH_RELAY_PLOAD", p), 1, Percent(RelayPortLoad(p)), LineEnd::kLine);
      Value(Numbered("D_CONF_ETH_RELAY_PLOADTIME", p), 1, Seconds(RelayPortLoadTime(p)));
    }
  }

  void FastRecoveryAndDeviceIpSection() {
    file_.Write({"\n#################################\n", "# Setup Line-Swap fast recovery #\n",
                 "#################################\n", "# [Line-Swap fast recovery]\n",
                 "# Enable/Disable Line-Swap fast recovery for all ports.\n",
                 "# \t--> 0 : Disable All Ports\n", "# \t--> 1 : Enable All Ports\n"});
    Value("D_CONF_ETH_FLAG_FASTRECOVERY", 1, Hex(D_CONF_ETH_FLAG_FASTRECOVERY));
    file_.Write({"\n############################################################\n",
                 "# Setup Set device IP                                      #\n",
                 "# The 'Set device IP' function is used to automatically    #\n",
                 "# assign IP address to connected devices that are equipped #\n",
                 "# with 'DHCP-Client' or 'RARP'protocol.                    #\n",
                 "############################################################\n"});
    Comment("D_CONF_ETH_PCFG_DEVIP1");
    for (int p = 1; p <= kPorts; ++p) {
      Value(Numbered("D_CONF_ETH_PCFG_DEVIP", p), 1, Address(PcfgDevIp(p), EmptyAddress::kWhenZero),
            p < kPorts ? LineEnd::kLine : LineEnd::kLineAndBlank);
    }
  }

  void MirrorSection() {
    file_.Write({"\n####################################################\n",
                 "# Setup Mirror Port                                #\n",
                 "# Mirror port and Mirrored port can't set the same.#\n",
                 "####################################################\n"});
    Item("D_CONF_ETH_MIRROR_PORT", 1, Decimal(D_CONF_ETH_MIRROR_PORT));
    Item("D_CONF_ETH_TARGET_PORT", 1, Decimal(D_CONF_ETH_TARGET_PORT));
    file_.Write({"# [Watch Direction]\n", "# \t--> 1 : Output data stream\n",
                 "# \t--> 2 : Bi-directional\n"});
    Value("D_CONF_ETH_MIRROR_DIR", 1, Decimal(D_CONF_ETH_MIRROR_DIR));
  }

  ConfigTextWriter file_;
  const DeviceRecord& record_;
  const ConfigBlock& block_;
  const ItemAccessors& accessors_;
};

}  // namespace

void WriteGenA1ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  accessors.setText(block, D_CONF_ETH_WARN_SMTP_PASSWD, FieldText(record.smtpPassword));
  GenA1FileWriter(fileText, record, block, accessors).Write();
}

}  // namespace vantrell
