#include "config/gen_a1_writer.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "config/file_writer.h"
#include "config/gen_a1_layout.h"
#include "config/gen_a_encodings.h"
#include "config/gen_a_schema_writer.h"

namespace vantrell {
namespace {

using namespace item;
using a8schema::Row;
using a8schema::Section;

constexpr int kPorts = a1::kPorts;
constexpr int kPriorityLegendLines = 16;

/// Example e-mail addresses of the warning legend, one per address line.
constexpr std::array<std::string_view, 4> kExampleAddresses = {
    "operator1@example.com", "operator2@example.com", "operator3@example.com",
    "operator4@example.com"};

/// The GenA1 file: the banners and list tables here, every value line and
/// its legend from the A8/R8 schema.
class GenA1FileWriter : public a8schema::SchemaFileWriter {
 public:
  GenA1FileWriter(std::string& out, const DeviceRecord& record, const ConfigBlock& block,
                  const ItemAccessors& accessors)
      : SchemaFileWriter(a8schema::Gen::kA1, out, block, accessors),
        record_(record),
        fibreUplinks_(IsFibreUplinkModel(Generation::kGenA1, record.modelId)) {}

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

 protected:
  /// Ports 7 and 8 of the fibre uplink models have no FDX and MDI setting.
  std::string Value(const Row& row, int n) const override {
    const bool uplinkOnly = row.id == D_CONF_ETH_PCFG_FDX1 || row.id == D_CONF_ETH_PCFG_FLAG1;
    if (fibreUplinks_ && uplinkOnly && n >= 7) return {};
    return ValueText(row, n);
  }
  /// The device IP lines end with an empty line after the last port only.
  LineEnd End(const Row& row, int n) const override {
    if (row.section == Section::kDeviceIp && n == kPorts) return LineEnd::kLineAndBlank;
    return SchemaFileWriter::End(row, n);
  }

 private:
  /// "# \t--> %2d : %d\n" for i = 0..15 with i and i x `step`.
  void PriorityLegend(std::uint32_t step) {
    for (int i = 0; i < kPriorityLegendLines; ++i) {
      char line[48];
      std::snprintf(line, sizeof line, "# \t--> %2d : %d\n", i, static_cast<int>(i * step));
      file_.Write(line);
    }
  }

  // ---- sections, in file order ----

  void SystemSection() {
    file_.Write({"\n#########################################################\n",
                 "# Basic settings -- for network and system parameter    #\n",
                 "#########################################################\n\n",
                 "################################\n", "#     System Identification    #\n",
                 "################################\n"});
    WriteRows(Section::kSystem);
  }

  void PasswordAndAccessSection() {
    file_.Write({"\n##############################\n", "#     Password Setting       #\n",
                 "##############################\n"});
    WriteRows(Section::kPassword);
    file_.Write({"\n#############################\n", "#     Accessible IP List    #\n",
                 "#############################\n"});
    WriteRows(Section::kAccessList);
  }

  void PortSection() {
    file_.Write({"\n##################\n", "#     Port       #\n", "##################\n"});
    WriteRows(Section::kPorts);
  }

  void NetworkSection() {
    file_.Write({"\n##################\n", "#     Network    #\n", "##################\n"});
    WriteRows(Section::kNetwork);
  }

  void TimeSection() {
    file_.Write({"\n##################\n", "#       Time     #\n", "##################\n",
                 "# [Time Zone] \n"});
    WriteTimeZoneLines(file_);
    WriteRows(Section::kTime);
  }

  void RedundancySection() {
    file_.Write({"\n###################################################\n",
                 "# Communication redundancy                        #\n",
                 "# Establish Ethernet communication redundant path #\n",
                 "###################################################\n"});
    WriteRows(Section::kRedundancy);
    file_.Write({"\n###################################################\n",
                 "# Zorvel Ring Setting.                             #\n",
                 "###################################################\n"});
    WriteRows(Section::kRing);
  }

  void SpanningTreeSection() {
    file_.Write({"\n###################################################\n",
                 "# RSTP (IEEE 802.1W/D) Setting.                   #\n",
                 "###################################################\n", "# [Bridge Id]\n"});
    PriorityLegend(4096);
    WriteRows(Section::kSpanningTree);
    file_.Write({"#################################\n", "# IEEE 802.1W/D Port Settings.  #\n",
                 "#################################\n",
                 "# SPT_EN : Enable/Disable IEEE 802.1W/1D function.\n", "# \t--> 0 : Disable\n",
                 "# \t--> 1 : Enable\n", "# Port_ID :\n"});
    PriorityLegend(16);
    WriteRows(Section::kSpanningTreePorts);
  }

  void QosSection() {
    file_.Write(
        {"\n#############################################################################\n",
         "# Traffic Prioritization -- Prioritize Ethernet traffic to help determinism #\n",
         "#############################################################################\n\n",
         "######################\n", "# QoS Classification #\n", "######################\n"});
    WriteRows(Section::kQos);
    file_.Write(
        {"\n######################\n", "# CoS Mapping        #\n", "######################\n"});
    WriteRows(Section::kCosMap);
    file_.Write({"\n########################\n", "# TOS/DiffServ Mapping #\n",
                 "########################\n", "# Level \n", "# \t--> 0 : Low\n",
                 "# \t--> 1 : Normal\n", "# \t--> 2 : Medium\n", "# \t--> 3 : High\n"});
    WriteTosGroups(file_, [this](int k) { return Number(TosMapEntry(k)); });
  }

  void VlanSection() {
    file_.Write(
        {"\n#############################################################################\n",
         "# 802.1Q VLAN -- Setup Virtual LAN by IEEE standard 802.1Q                  #\n",
         "#############################################################################\n\n"});
    WriteRows(Section::kVlan);
  }

  void MulticastSection() {
    file_.Write(
        {"\n#############################################################################\n",
         "# Multicast Filtering -- Enable the multicast filtering capability          #\n",
         "#############################################################################\n\n",
         "\n#################\n", "# IGMP Snooping #\n", "#################\n"});
    WriteRows(Section::kIgmp);
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

  // ---- list tables ----

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
    WriteRows(Section::kIngressRates);
    file_.Write({"\n##########\n", "# Egress #\n", "##########\n", "# ex: RLE_port1 [Rate]\n",
                 "# [Rate]\n"});
    WriteRateLegend(file_);
    file_.Write({"# ex: RLE_port1 2M\n", "# ex: RLE_port2 NL\n"});
    WriteRows(Section::kEgressRates);
  }

  void PortLockAndUnicastSection() {
    file_.Write(
        {"\n#############################################################################\n",
         "# Port Lock -- Lock ports to prevent the intruder                           #\n",
         "#############################################################################\n\n",
         "\n#############\n", "# Port Lock #\n", "#############\n\n"});
    WriteRows(Section::kPortLock);
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
    WriteRows(Section::kMailWarning);
    WriteRows(Section::kMailPorts);
  }

  void RelayWarningSection() {
    file_.Write({"\n###########################\n", "# Relay Warnning Setting  #\n",
                 "###########################\n"});
    WriteRows(Section::kRelayWarning);
    WriteRows(Section::kRelayLinks);
    WriteRows(Section::kRelayPorts);
  }

  void FastRecoveryAndDeviceIpSection() {
    file_.Write({"\n#################################\n", "# Setup Line-Swap fast recovery #\n",
                 "#################################\n"});
    WriteRows(Section::kFastRecovery);
    file_.Write({"\n############################################################\n",
                 "# Setup Set device IP                                      #\n",
                 "# The 'Set device IP' function is used to automatically    #\n",
                 "# assign IP address to connected devices that are equipped #\n",
                 "# with 'DHCP-Client' or 'RARP'protocol.                    #\n",
                 "############################################################\n"});
    WriteRows(Section::kDeviceIp);
  }

  void MirrorSection() {
    file_.Write({"\n####################################################\n",
                 "# Setup Mirror Port                                #\n",
                 "# Mirror port and Mirrored port can't set the same.#\n",
                 "####################################################\n"});
    WriteRows(Section::kMirror);
  }

  const DeviceRecord& record_;
  const bool fibreUplinks_;
};

}  // namespace

void WriteGenA1ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  accessors.setText(block, D_CONF_ETH_WARN_SMTP_PASSWD, FieldText(record.smtpPassword));
  GenA1FileWriter(fileText, record, block, accessors).Write();
}

}  // namespace vantrell
