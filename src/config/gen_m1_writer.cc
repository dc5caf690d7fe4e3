#include "config/gen_m1_writer.h"

#include <cstdio>
#include <vector>

#include "config/config_item_ids.h"
#include "config/export_notes.h"
#include "config/file_writer.h"
#include "config/gen_a_encodings.h"
#include "config/gen_m1_block.h"
#include "config/gen_m1_schema.h"

namespace vantrell {
namespace {

using namespace item;
using gen_m1::PortNameOfIndex;
using gen_m1::PortSet;
using gen_m1::Section;
using gen_m1::Setting;

constexpr std::string_view kRule = "###################################################\n";

/// Everything one export needs: the sink, the block and its accessors.
class M1Writer {
 public:
  M1Writer(std::string& out, const DeviceRecord& record, const ConfigBlock& block,
           ItemAccessors& accessors)
      : file_(out), record_(record), block_(block), accessors_(accessors) {}

  void WriteAll();

 private:
  std::uint32_t NumberOr0(ConfigItemId id, std::size_t n = 0) const {
    return accessors_.getNumber(block_, id, n).value_or(0);
  }
  /// The value of a row's item as the file shows it, unit included.
  std::string ValueText(const Setting& row, std::size_t n) const;
  /// True when a row of an address written bare has no address.
  bool WrittenBare(const Setting& row, std::size_t n) const {
    if (row.format != gen_m1::WrittenAs::kAddressBare) return false;
    const std::uint32_t v = NumberOr0(row.id, n);
    return v == 0 || v == kAllOnesIpv4;
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
  bool HasLine(PortSet ports, std::size_t i) const;

  // Walking the schema.
  void Rows(Section section);
  void Legend(const Setting& row);
  void ValueLine(const Setting& row, std::size_t n, bool blank);
  void NumberedLines(const Setting& row);
  void PortBlocks(std::span<const Setting* const> rows);

  void VlanSection();
  void IgmpList();
  void MulticastList();
  void UnicastList();
  void Dot1xUsers();

  std::string PortList(std::uint32_t mask) const;
  std::string Mac(std::size_t offset) const;

  ConfigTextWriter file_;
  const DeviceRecord& record_;
  const ConfigBlock& block_;
  ItemAccessors& accessors_;
};

std::string M1Writer::ValueText(const Setting& row, std::size_t n) const {
  using F = gen_m1::WrittenAs;
  const auto number = accessors_.getNumber(block_, row.id, n);
  std::string text;
  char hex[24];
  switch (row.format) {
    case F::kDecimal:
      if (number) text = FormatDecimal(*number);
      break;
    case F::kUnsigned:
      if (number) text = std::to_string(*number);
      break;
    case F::kHex:
      if (number) text = FormatHex(*number);
      break;
    case F::kHex4:
    case F::kHex2:
      std::snprintf(hex, sizeof hex, row.format == F::kHex4 ? "0x%04x" : "0x%02x",
                    number.value_or(0));
      text = hex;
      break;
    case F::kText:
      if (const auto value = accessors_.getText(block_, row.id, n)) text = FormatText(*value);
      break;
    case F::kNamed:
      text = NamedValueOrNote(accessors_, block_, row.id, gen_m1::KeyOf(row, n), n);
      break;
    case F::kAddress:
    case F::kAddressBare:
      // No address is written empty, which the reader takes as 0.0.0.0;
      // "0.0.0.0" itself would fail the address test and the device could
      // not take its own file.
      if (number.value_or(0) != 0 && !WrittenBare(row, n)) text = FormatAddress(*number);
      break;
    case F::kPortRef:
      text = number.value_or(0) == 0 ? "0" : PortNameOfIndex(*number - 1);
      break;
    case F::kScaled:
      text = FormatDecimal(number.value_or(0) / row.rule.scale);
      break;
  }
  return text + std::string(row.unit);
}

bool M1Writer::HasLine(PortSet ports, std::size_t i) const {
  switch (ports) {
    case PortSet::kPresent:
      return IsPresentPort(record_, i);
    case PortSet::kPresentPhysical:
    case PortSet::kPresentPhysicalLine:
      return i < gen_m1::kPhysicalPorts && IsPresentPort(record_, i);
    case PortSet::kPhysical:
      return i < gen_m1::kPhysicalPorts;
    case PortSet::kPopulated:
      return IsPopulatedSlotPort(record_, i);
  }
  return false;
}

void M1Writer::Legend(const Setting& row) {
  const gen_m1::Legend& legend = row.legend;
  file_.Write(gen_m1::LegendText(legend.head, row));
  char line[40];
  switch (legend.lines) {
    case gen_m1::LegendLines::kNone:
      break;
    case gen_m1::LegendLines::kTimeZones:
      WriteTimeZoneLines(file_);
      break;
    case gen_m1::LegendLines::kBridgePriorities:
    case gen_m1::LegendLines::kPortPriorities: {
      const int step = legend.lines == gen_m1::LegendLines::kBridgePriorities ? 4096 : 16;
      for (int i = 0; i < 16; ++i) {
        std::snprintf(line, sizeof line, "# \t--> %2d : %d\n", i, i * step);
        file_.Write(line);
      }
      break;
    }
  }
  file_.Write(gen_m1::LegendText(legend.choices, row));
  file_.Write(gen_m1::LegendText(legend.tail, row));
}

void M1Writer::ValueLine(const Setting& row, std::size_t n, bool blank) {
  const LineEnd end = blank ? LineEnd::kLineAndBlank : LineEnd::kLine;
  const std::string key = gen_m1::KeyOf(row, n);
  if (WrittenBare(row, n)) return file_.ValueLine(key, 0, "", end);
  const bool trunkEntry = row.shape == gen_m1::KeyShape::kPerPort && n >= gen_m1::kFirstTrunkEntry;
  file_.ValueLine(key, trunkEntry && row.trunkTabs ? row.trunkTabs : row.tabs, ValueText(row, n),
                  end);
}

void M1Writer::NumberedLines(const Setting& row) {
  char heading[24];
  for (std::size_t number = row.first; number <= row.last; ++number) {
    const int k = static_cast<int>(number);
    if (row.heading == gen_m1::EntryHeading::kCos) {
      file_.Write("# [CoS " + std::to_string(k) + "]\n");
    } else if (row.heading == gen_m1::EntryHeading::kTos) {
      std::snprintf(heading, sizeof heading, "#[ToS%d(%02x)]\n", k + 1, 4 * k);
      file_.Write(heading);
    }
    const bool blank = row.blank == gen_m1::Blank::kAfterEach ||
                       (row.blank == gen_m1::Blank::kAfterLast && number == row.last);
    ValueLine(row, number - row.first, blank);
  }
}

void M1Writer::PortBlocks(std::span<const Setting* const> rows) {
  std::vector<const Setting*> lines;
  for (std::size_t i = 0; i < gen_m1::kPortCount; ++i) {
    lines.clear();
    for (const Setting* row : rows) {
      if (HasLine(row->ports, i)) lines.push_back(row);
    }
    if (lines.empty()) continue;
    PortHeading(i);
    for (const Setting* row : lines) ValueLine(*row, i, row == lines.back());
  }
}

/// The rows of a section in order: a single setting's legend and line, a
/// numbered setting's legend and entries, and for a run of per-port
/// settings their legends and then one block per port.
void M1Writer::Rows(Section section) {
  const auto rows = gen_m1::SectionRows(section);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const Setting& row = rows[r];
    if (row.shape == gen_m1::KeyShape::kSingle) {
      Legend(row);
      ValueLine(row, row.listIndex, row.blank != gen_m1::Blank::kNone);
    } else if (row.shape == gen_m1::KeyShape::kNumbered) {
      Legend(row);
      NumberedLines(row);
    } else {
      std::vector<const Setting*> run;
      for (; r < rows.size() && rows[r].shape == gen_m1::KeyShape::kPerPort; ++r) {
        Legend(rows[r]);
        run.push_back(&rows[r]);
      }
      --r;
      PortBlocks(run);
    }
  }
}

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

/// The legends come in table order, the management VLAN after the note,
/// and each port's forbidden list before its fixed one.
void M1Writer::VlanSection() {
  file_.Write({"\n", kRule, "# 802.1Q VLAN                                     #\n",
               "# Setup Virtual LAN by IEEE standard 802.1Q       #\n",
               "###################################################\n\n"});
  const auto rows = gen_m1::SectionRows(Section::kVlan);
  for (const Setting& row : rows) Legend(row);
  file_.Write({"# Note :\n",
               "# If you set the port trunking settings in this configuration files,\n",
               "# the follow VLAN settings will be invaild and set to factory default "
               "automatically !\n"});
  file_.Write("\n# [Management VLAN]\n");
  ValueLine(rows[0], 0, true);
  const Setting* const portRows[] = {&rows[1], &rows[2], &rows[4], &rows[3]};
  PortBlocks(portRows);
}

void M1Writer::IgmpList() {
  file_.Write({"# [IGMPSNOOP]: IGMPSnoop per VLAN\n",
               "# IGMPSNOOP [VID] [Enable IGMPSnoop] [Ebable Querier] [Static Multicast Router "
               "Port]\n",
               "# [VID]: Current VLAN ID\n", "# \t--> Range 1 to 4094\n", "# [Enable IGMPSnoop]\n",
               gen_m1::kEnableLegend, "# [Ebable Querier]\n", gen_m1::kEnableLegend,
               "# [Static Multicast Router Port]\n", "# \t--> Null : no port\n",
               gen_m1::kPortNamesLegend, "# ex: IGMPSNOOP 23 1 1 2-1,2-4\n",
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
}

void M1Writer::MulticastList() {
  Banner({"# Add Static Multicast MAC                        #\n"});
  file_.Write({"# MMAC [Multicast MAC address] [join ports]\n", "# \t--> Max records is 128\n",
               "# [Multicast MAC address]\n", "# \t--> format : XX-XX-XX-XX-XX-XX\n",
               "# [join ports]\n", gen_m1::kPortNamesLegend,
               "# ex: MMAC 01-3F-C2-01-02-03 1-1,1-3,2-4\n",
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
}

void M1Writer::UnicastList() {
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

void M1Writer::Dot1xUsers() {
  Banner({"# 802.1x Loacl DataBase                           #\n"});
  file_.Write("# begin-of-list\n");
  int count = 0;
  for (std::size_t k = 0; k < gen_m1::kDot1xUserCount; ++k) {
    const auto used =
        block_.ByteAt(gen_m1::kDot1xUsers + k * gen_m1::kDot1xUserSize + gen_m1::kDot1xUsedFlag);
    if (!used || *used == 0) continue;
    const std::string c = std::to_string(++count);
    const auto text = [&](ConfigItemId id) {
      const auto v = accessors_.getText(block_, id, k);
      return v ? FormatText(*v) : std::string();
    };
    file_.Write("# [User List " + c + "]\n");
    file_.ValueLine("Dot1xDB_User_" + c, 2, text(kM1Dot1xDbUser), LineEnd::kLine);
    file_.ValueLine("Dot1xDB_Passwd_" + c, 1, text(kM1Dot1xDbPasswd), LineEnd::kLine);
    file_.ValueLine("Dot1xDB_Desr_" + c, 2, text(kM1Dot1xDbDesr));
  }
  file_.Write("# end-of-list\n\n");
}

void M1Writer::WriteAll() {
  WriteFileHeader(file_, ExportModelName(record_.modelId));
  Banner({"# System Identification                           #\n"});
  Rows(Section::kSystem);
  Banner({"# CF Operation                                    #\n"});
  Rows(Section::kCf);
  Banner({"# Password Setting                                #\n"});
  Rows(Section::kPassword);
  Banner({"# Accessible IP                                   #\n"});
  Rows(Section::kAccessIp);
  Banner({"# Port                                            #\n"});
  Rows(Section::kPort);
  Banner({"# Network                                         #\n"});
  Rows(Section::kNetwork);
  Banner({"# Port Trunking                                   #\n"});
  Rows(Section::kTrunk);
  Banner({"# SNMP                                            #\n"});
  Rows(Section::kSnmp);
  Banner({"# Time                                            #\n"});
  Rows(Section::kTime);
  Banner({"# Communication redundancy                        #\n",
          "# Establish Ethernet communication redundant path #\n"});
  Rows(Section::kRedundancy);
  Banner({"# Zorvel Ring Setting.                             #\n"});
  Rows(Section::kRing);
  Banner({"# RSTP (IEEE 802.1W/1D) Setting.                  #\n"});
  Rows(Section::kRstp);
  Banner({"# Traffic Prioritization                          #\n",
          "# Prioritize Ethernet traffic to help determinism #\n"});
  NextBanner({"# QoS Classification                              #\n"});
  Rows(Section::kQos);
  Banner({"# CoS Mapping                                     #\n"});
  Rows(Section::kCosMap);
  Banner({"# ToS/DiffServ Mapping                            #\n"});
  Rows(Section::kTosMap);
  VlanSection();
  Banner({"# Multicast Filtering                             #\n",
          "# Enable the multicast filtering capability       #\n"});
  NextBanner({"# IGMP Snooping                                   #\n"});
  Rows(Section::kIgmp);
  IgmpList();
  MulticastList();
  Banner({"# GMRP\t\t\t\t                              #\n"});
  Rows(Section::kGmrp);
  Banner({"# Multicast Filtering Base\t\t                 #\n"});
  Rows(Section::kMfb);
  Banner({"# Bandwidth Management                            #\n"});
  NextBanner({"# Broadcast Storm Protection                      #\n"});
  Rows(Section::kStorm);
  Banner({"# Ingress                                         #\n"});
  Rows(Section::kIngress);
  UnicastList();
  Banner({"# 802.1x                                \t\t   #\n"});
  NextBanner({"# 802.1x Settings                                 #\n"});
  Rows(Section::kDot1x);
  Dot1xUsers();
  Banner({"# Auto Warnning Setting                           #\n",
          "#    - Email Warnning Setting                     #\n",
          "#    - Relay Warnning Setting                     #\n"});
  NextBanner({"# Email Warnning Setting                          #\n"});
  NextBanner({"# Email Information Setting                       #\n"});
  Rows(Section::kEmail);
  NextBanner({"# Email Warning Events Setting                    #\n"});
  Rows(Section::kEmailEvents);
  Banner({"# Relay Warnning Setting                          #\n"});
  NextBanner({"# System Events                                   #\n"});
  Rows(Section::kRelay);
  Banner({"# Port Events                                     #\n"});
  Rows(Section::kRelayPorts);
  Banner({"# Setup Line-Swap fast recovery                   #\n"});
  Rows(Section::kLineSwap);
  Banner({"# Setup Set device IP                             #\n",
          "# The function is used to automatically assign IP #\n",
          "# address to connected devices that are equipped  #\n",
          "# with 'DHCP-Client' or 'RARP'protocol.           #\n"});
  Rows(Section::kDeviceIp);
  file_.Write({"\n####################################################\n",
               "# Setup Mirror Port                                #\n",
               "# Mirror port and Mirrored port can't set the same.#\n",
               "####################################################\n"});
  Rows(Section::kMirror);
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
