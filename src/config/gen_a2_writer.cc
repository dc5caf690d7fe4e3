#include "config/gen_a2_writer.h"

#include <cstdio>
#include <string_view>

#include "config/file_writer.h"
#include "config/gen_a2_layout.h"
#include "config/gen_a_encodings.h"
#include "config/gen_a_schema_writer.h"

namespace vantrell {
namespace {

using namespace item;
using a8schema::Row;
using a8schema::Section;
using gen_a2::kLogicalPorts;
using gen_a2::kPorts;

constexpr int kPriorityLevels = 16;
constexpr std::uint32_t kBridgePriorityStep = 4096;
constexpr std::uint32_t kPortPriorityStep = 16;

/// The frame line of the banners: 51 '#'.
constexpr std::string_view kFrame = "###################################################\n";

/// The two legend lines of a port or trunk choice.
constexpr std::string_view kPortChoiceLines[] = {
    "# \t--> 1,2,...8 : Port 1,Port 2,...Port 8\n",
    "# \t--> 9,10,11,12 : Trk 1,Trk 2,Trk 3,Trk 4\n",
};

/// The GenA2 file: the banners, list tables and trunk lines here, every
/// value line and its legend from the A8/R8 schema.
class GenA2FileWriter : public a8schema::SchemaFileWriter {
 public:
  GenA2FileWriter(std::string& out, const DeviceRecord& record, const ConfigBlock& block,
                  const ItemAccessors& accessors)
      : SchemaFileWriter(a8schema::Gen::kA2, out, block, accessors),
        record_(record),
        fibreUplinks_(IsFibreUplinkModel(Generation::kGenA2, record.modelId)) {}

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

 protected:
  /// Ports 7 and 8 of the fibre uplink models have no FDX and MDI setting.
  bool UplinkOnly(const Row& row, int n) const {
    return fibreUplinks_ && n >= 7 &&
           (row.id == D_CONF_ETH_PCFG_FDX1 || row.id == D_CONF_ETH_PCFG_FLAG1);
  }
  static bool Trunk(const Row& row, int n) {
    return n > kPorts &&
           (row.section == Section::kSpanningTreePorts || row.section == Section::kDeviceIp);
  }

  std::string Value(const Row& row, int n) const override {
    return UplinkOnly(row, n) ? std::string() : ValueText(row, n);
  }
  std::string Header(const Row& row, int n) const override {
    if (Trunk(row, n)) return a8schema::Numbered("# [Trk {}]\n", n - kPorts);
    return SchemaFileWriter::Header(row, n);
  }
  int Tabs(const Row& row, int n, bool emptyValue) const override {
    // The empty MDI flag of port 7 keeps the TAB count of a filled one.
    if (UplinkOnly(row, n) && row.id == D_CONF_ETH_PCFG_FLAG1) return n == 7 ? 1 : 2;
    if (Trunk(row, n) && row.id == D_CONF_ETH_SPAN_PORT1_EN) {
      return n == kPorts + 1 ? 3 : 2;  // the first trunk keeps the TABs of the ports
    }
    if (Trunk(row, n) && row.section == Section::kDeviceIp) return emptyValue ? 1 : 2;
    return SchemaFileWriter::Tabs(row, n, emptyValue);
  }
  LineEnd End(const Row& row, int n) const override {
    if (row.section == Section::kDeviceIp && n >= kPorts) return LineEnd::kLineAndBlank;
    return SchemaFileWriter::End(row, n);
  }

 private:
  // ---- lines ----

  void Lines(std::initializer_list<std::string_view> lines) { file_.Write(lines); }
  void Banner(std::initializer_list<std::string_view> titleLines) {
    file_.Write({"\n", kFrame});
    file_.Write(titleLines);
    file_.Write(kFrame);
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
    WriteRows(Section::kSystem);
  }

  void Passwords() {
    Banner({"# Password Setting                                #\n"});
    WriteRows(Section::kPassword);
  }

  void AccessibleIp() {
    Banner({"# Accessible IP                                   #\n"});
    WriteRows(Section::kAccessList);
  }

  void PortSettings() {
    Banner({"# Port                                            #\n"});
    WriteRows(Section::kPorts);
  }

  void Network() {
    Banner({"# Network                                         #\n"});
    WriteRows(Section::kNetwork);
  }

  void PortTrunking() {
    Banner({"# Port Trunking                                   #\n"});
    WriteRows(Section::kTrunking);
  }

  void Snmp() {
    Banner({"# SNMP                                            #\n"});
    WriteRows(Section::kSnmp);
  }

  void Time() {
    Banner({"# Time\t\t\t\t                              #\n"});
    file_.Write("# [Time Zone]: Time Zone\n");
    WriteTimeZoneLines(file_);
    WriteRows(Section::kTime);
  }

  void Redundancy() {
    Banner({"# Communication redundancy                        #\n",
            "# Establish Ethernet communication redundant path #\n"});
    WriteRows(Section::kRedundancy);
    Banner({"# Zorvel Ring Setting.                             #\n"});
    WriteRows(Section::kRing);
  }

  void SpanningTree() {
    Banner({"# RSTP (IEEE 802.1W/1D) Setting.                  #\n"});
    file_.Write("# [BridgeId]: Bridge Id\n");
    PriorityLegend(kBridgePriorityStep);
    WriteRows(Section::kSpanningTree);
    Lines({"# [SPT_EN]: Enable/Disable IEEE 802.1W/1D function on the port.\n",
           "# \t--> 0 : Disable\n", "# \t--> 1 : Enable\n", "# [Port_ID]\n"});
    PriorityLegend(kPortPriorityStep);
    WriteRows(Section::kSpanningTreePorts);
  }

  void Qos() {
    Banner({"# Traffic Prioritization                          #\n",
            "# Prioritize Ethernet traffic to help determinism #\n"});
    file_.Write(kFrame);
    file_.Write({"# QoS Classification                              #\n", kFrame});
    WriteRows(Section::kQos);
    Banner({"# CoS Mapping                                     #\n"});
    WriteRows(Section::kCosMap);
    Banner({"# ToS/DiffServ Mapping                            #\n"});
    Lines({"# [ToS]: Type of Service maps to priority queue\n", "# \t--> 0 : Low\n",
           "# \t--> 1 : Normal\n", "# \t--> 2 : Medium\n", "# \t--> 3 : High\n"});
    WriteTosGroups(file_, [this](int k) { return Number(TosMapEntry(k)); });
  }

  void Vlan() {
    Banner({"# 802.1Q VLAN                                     #\n",
            "# Setup Virtual LAN by IEEE standard 802.1Q       #\n"});
    WriteRows(Section::kVlan);
  }

  void Multicast() {
    Banner({"# Multicast Filtering                             #\n",
            "# Enable the multicast filtering capability       #\n"});
    file_.Write(kFrame);
    file_.Write({"# IGMP Snooping                                   #\n", kFrame});
    WriteRows(Section::kIgmp);
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
    WriteRows(Section::kIngressRates);
    Banner({"# Egress                                          #\n"});
    Lines({"# RLE_port [Rate]\n", "# [Rate]\n"});
    WriteRateLegend(file_);
    Lines({"# ex: RLE_port1 2M\n", "# ex: RLE_port2 NL\n"});
    WriteRows(Section::kEgressRates);
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
    WriteRows(Section::kPortLock);
  }

  void EmailWarning() {
    Banner({"# Auto Warnning Setting                           #\n",
            "#    - Email Warnning Setting                     #\n",
            "#    - Relay Warnning Setting                     #\n"});
    file_.Write(kFrame);
    file_.Write({"# Email Warnning Setting                          #\n", kFrame});
    file_.Write(kFrame);
    file_.Write({"# Email Information Setting                       #\n", kFrame});
    WriteRows(Section::kMailWarning);
    Lines({kFrame, "# Email Alarm Events Setting                      #\n", kFrame});
    WriteRows(Section::kMailPorts);
  }

  void RelayWarning() {
    Banner({"# Relay Warnning Setting                          #\n"});
    file_.Write(kFrame);
    file_.Write({"# System Events                                   #\n", kFrame});
    WriteRows(Section::kRelayWarning);
    Banner({"# Port Events                                     #\n"});
    WriteRows(Section::kRelayLinks);
    WriteRows(Section::kRelayPorts);
  }

  void FastRecovery() {
    Banner({"# Setup Line-Swap fast recovery                   #\n"});
    WriteRows(Section::kFastRecovery);
  }

  void DeviceIps() {
    Banner({"# Setup Set device IP                             #\n",
            "# The function is used to automatically assign IP #\n",
            "# address to connected devices that are equipped  #\n",
            "# with 'DHCP-Client' or 'RARP'protocol.           #\n"});
    WriteRows(Section::kDeviceIp);
  }

  void Mirror() {
    Lines({"\n####################################################\n",
           "# Setup Mirror Port                                #\n",
           "# Mirror port and Mirrored port can't set the same.#\n",
           "####################################################\n", "# Note :\n",
           "# If you set the port trunking settings in this configuration files,\n",
           "# the follow Mirror settings will be invaild and set to factory default "
           "automatically !\n"});
    WriteRows(Section::kMirror);
  }

  const DeviceRecord& record_;
  const bool fibreUplinks_;
};

}  // namespace

void WriteGenA2ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  accessors.setText(block, D_CONF_ETH_WARN_SMTP_PASSWD, FieldText(record.smtpPassword));
  GenA2FileWriter(fileText, record, block, accessors).Write();
}

}  // namespace vantrell
