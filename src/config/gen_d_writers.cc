#include "config/gen_d_writers.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "config/config_catalogue.h"
#include "config/file_writer.h"
#include "config/item_comment.h"

namespace vantrell {
namespace {

using namespace item;

constexpr int kPorts = 8;
constexpr int kMailRecipients = 4;

/// Models whose port 7, and those whose port 8, is a fixed uplink without
/// an MDI setting.
constexpr std::uint16_t kFixedPort7Models[] = {0x6038, 0x6048, 0x6088, 0x6098};
constexpr std::uint16_t kFixedPort8Models[] = {0x6018, 0x6028, 0x6038, 0x6048,
                                               0x6068, 0x6078, 0x6088, 0x6098};

/// Bits of the redundancy word (item 141) as GenD3 and GenD4 read it.
constexpr std::uint32_t kRingOnBit = 0x02;
constexpr std::uint32_t kRingMasterBit = 0x10;
constexpr std::uint32_t kRingCouplingBit = 0x20;
constexpr std::uint32_t kOrvSeriesRingBit = 0x40;  // GenD4: ring with the whole ORV series

/// Bits of the GenD4 relay word (items 152 to 154) and relay port bytes
/// (items 155 to 170).
constexpr std::uint32_t kRelayOverrideBit = 0x01;
constexpr std::uint32_t kPowerInput1Bit = 0x10;
constexpr std::uint32_t kPowerInput2Bit = 0x40;
constexpr std::uint32_t kLinkOffToOnBit = 0x01;
constexpr std::uint32_t kLinkOnToOffBit = 0x02;
constexpr std::uint32_t kPortTrafficBit = 0x04;

/// File values of the relay port link events.
constexpr std::uint32_t kLinkIgnore = 0;
constexpr std::uint32_t kLinkOffToOn = 1;
constexpr std::uint32_t kLinkOnToOff = 2;

/// File values of "WhichRedundant".
constexpr std::uint32_t kProtocolSpanningTree = 0;
constexpr std::uint32_t kProtocolD8Ring = 1;
constexpr std::uint32_t kProtocolOrvRing = 2;

bool IsGenD(Generation generation) {
  return generation == Generation::kGenD1 || generation == Generation::kGenD2 ||
         generation == Generation::kGenD3 || generation == Generation::kGenD4;
}

/// The constant name of a numbered item, such as "D_CONF_ETH_SPAN_PORT3_EN".
std::string NumberedName(std::string_view prefix, int number, std::string_view suffix = {}) {
  std::string name(prefix);
  name += std::to_string(number);
  name += suffix;
  return name;
}

/// When an address is written as an empty value instead of its dotted form.
enum class EmptyAddress { kNever, kWhenZero, kWhenZeroOrAllOnes };

class GenDFileWriter {
 public:
  GenDFileWriter(Generation generation, std::string& out, const DeviceRecord& record,
                 const ConfigBlock& block, const ItemAccessors& accessors)
      : generation_(generation),
        file_(out),
        record_(record),
        block_(block),
        accessors_(accessors) {}

  void Write() {
    WriteFileHeader(file_, ExportModelName(record_.modelId));
    NetworkSection();
    ServerSection();
    PortSection();
    FastRecoverySection();
    DeviceIpSection();
    MirrorSection();
    MailWarningSection();
    if (generation_ == Generation::kGenD4) RelayWarningSection();
    RedundancySection();
    SpanningTreePortSection();
    WriteEndLine(file_);
  }

 private:
  bool SplitsRedundancyWord() const {
    return generation_ == Generation::kGenD3 || generation_ == Generation::kGenD4;
  }

  // ---- Values. An item the accessors cannot read gives an empty value. ----

  std::optional<std::uint32_t> Number(ConfigItemId id) const {
    return accessors_.getNumber(block_, id);
  }

  std::string Formatted(ConfigItemId id, std::string (*format)(std::uint32_t)) const {
    const auto value = Number(id);
    return value ? format(*value) : std::string();
  }

  std::string Decimal(ConfigItemId id) const { return Formatted(id, FormatDecimal); }
  std::string Hex(ConfigItemId id) const { return Formatted(id, FormatHex); }

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

  /// "1" when any bit of `mask` is set in the item, else "0".
  std::string BitFlag(ConfigItemId id, std::uint32_t mask) const {
    const auto value = Number(id);
    if (!value) return {};
    return FormatDecimal((*value & mask) != 0 ? 1 : 0);
  }

  // ---- Lines. ----

  void Comment(std::string_view constName) { writeItemComment(file_, constName); }

  void Value(std::string_view constName, int tabs, std::string_view value,
             LineEnd end = LineEnd::kLineAndBlank) {
    file_.ValueLine(catalogueFileKey(constName), tabs, value, end);
  }

  /// The item's comment block and its value line with an empty line after it.
  void Item(std::string_view constName, int tabs, std::string_view value) {
    Comment(constName);
    Value(constName, tabs, value);
  }

  // ---- Sections, in file order. ----

  void NetworkSection() {
    file_.Write({"\n################################################\n",
                 "# Advanced settings -- Config network settings #\n",
                 "################################################\n\n"});
    Item("D_CONF_ETH_FLAG_DHCP", 1, Hex(D_CONF_ETH_FLAG_DHCP));
    Item("D_CONF_ETH_IPADDR", 1, Address(D_CONF_ETH_IPADDR, EmptyAddress::kNever));
    Item("D_CONF_ETH_IPMASK", 2, Address(D_CONF_ETH_IPMASK, EmptyAddress::kWhenZero));
    Item("D_CONF_ETH_GATEWAY", 2, Address(D_CONF_ETH_GATEWAY, EmptyAddress::kWhenZeroOrAllOnes));
    Item("D_CONF_ETH_DNSSIP", 1, Address(D_CONF_ETH_DNSSIP, EmptyAddress::kWhenZeroOrAllOnes));
    Item("D_CONF_ETH_TRAPS", 1, Text(D_CONF_ETH_TRAPS));
    Item("D_CONF_ETH_COMMUNITY", 1, Text(D_CONF_ETH_COMMUNITY));
  }

  void ServerSection() {
    file_.Write({"\n###############################################\n",
                 "# Advanced settings -- Config server settings #\n",
                 "###############################################\n\n"});
    Item("D_CONF_ETH_USERNAME", 1, Text(D_CONF_ETH_USERNAME));
    Item("D_CONF_ETH_PASSWORD", 1, FormatText(FieldText(record_.password)));
    Item("D_CONF_ETH_NAME", 1, Text(D_CONF_ETH_NAME));
    if (generation_ == Generation::kGenD4) {
      Item("D_CONF_ETH_LOCATION", 1, Text(D_CONF_ETH_LOCATION));
      Item("D_CONF_ETH_SYSDESCR", 1, Text(D_CONF_ETH_SYSDESCR));
    } else {
      Item("D_CONF_ETH_LOCATION_OLD", 2, Text(D_CONF_ETH_LOCATION_OLD));
      Item("D_CONF_ETH_SYSDESCR", 2, Text(D_CONF_ETH_SYSDESCR));
    }
    Item("D_CONF_ETH_CONTACT", 2, Text(D_CONF_ETH_CONTACT));
    Item("D_CONF_ETH_FLAG_WEB", 1, Hex(D_CONF_ETH_FLAG_WEB));
    Item("D_CONF_ETH_FLAG_TELNET", 1, Hex(D_CONF_ETH_FLAG_TELNET));
  }

  void PortSection() {
    file_.Write({"\n#################################################################\n",
                 "# Advanced settings -- Config port settings                     #\n",
                 "#                          WARNING!                             #\n",
                 "#   If you select any option other than Auto-nego under         #\n",
                 "# Speed,then you must select either MDI or MDIX under MDI/MDIX. #\n",
                 "#################################################################\n"});
    file_.Write({"# PortEnable : Enable/Disable Port flag.\n", "#\t\t--> ENABLE  : 0 \n",
                 "#\t\t--> DISABLE : 1 \n", "# ProtMDIFlag : Set Cable Type is MDI or MDIX.\n",
                 "#\t\t--> AUTO : 0 \n", "#\t\t--> MDIX : 1 \n", "#\t\t--> MDI  : 2 \n",
                 "# PortSpeed : Port Speed.\n", "#\t\t--> AUTO    : 0 \n",
                 "#\t\t--> 100FULL : 1 \n", "#\t\t--> 100HALF : 2 \n", "#\t\t--> 10FULL  : 3 \n",
                 "#\t\t--> 10HALF  : 4 \n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write({"# [LAN Port ", std::to_string(p), " Setting]\n"});
      Value(NumberedName("D_CONF_ETH_PCFG_DISABLE", p), 1, Decimal(PcfgDisable(p)), LineEnd::kLine);
      if (!OmitsMdiFlagLine(record_.modelId, p)) {
        Value(NumberedName("D_CONF_ETH_PCFG_FLAG", p), 1, Decimal(PcfgFlag(p)), LineEnd::kLine);
      }
      Value(NumberedName("D_CONF_ETH_PCFG_SPEED", p), 1, Decimal(PcfgSpeed(p)));
    }
  }

  void FastRecoverySection() {
    file_.Write({"\n#################################\n", "# Setup Line-Swap fast recovery #\n",
                 "#################################\n"});
    Item("D_CONF_ETH_FLAG_FASTRECOVERY", 1, Hex(D_CONF_ETH_FLAG_FASTRECOVERY));
  }

  void DeviceIpSection() {
    file_.Write({"\n############################################################\n",
                 "# Setup Set device IP                                      #\n",
                 "# The 'Set device IP' function is used to automatically    #\n",
                 "# assign IP address to connected devices that are equipped #\n",
                 "# with 'DHCP-Client' or 'RARP'protocol.                    #\n",
                 "############################################################\n"});
    Comment("D_CONF_ETH_PCFG_DEVIP1");
    for (int p = 1; p <= kPorts; ++p) {
      Value(NumberedName("D_CONF_ETH_PCFG_DEVIP", p), 1,
            Address(PcfgDevIp(p), EmptyAddress::kWhenZero),
            p == kPorts ? LineEnd::kLineAndBlank : LineEnd::kLine);
    }
  }

  void MirrorSection() {
    file_.Write({"\n####################################################\n",
                 "# Setup Mirror Port                                #\n",
                 "# Mirror port and Mirrored port can't set the same.#\n",
                 "####################################################\n"});
    Item("D_CONF_ETH_MIRROR_PORT", 1, Decimal(D_CONF_ETH_MIRROR_PORT));
    Item("D_CONF_ETH_TARGET_PORT", 1, Decimal(D_CONF_ETH_TARGET_PORT));
    Item("D_CONF_ETH_MIRROR_DIR", 1, Decimal(D_CONF_ETH_MIRROR_DIR));
  }

  void MailWarningSection() {
    if (generation_ == Generation::kGenD4) {
      file_.Write({"\n###################################\n",
                   "# Auto Warnning Setting           #\n", "#    - Email Warnning Setting     #\n",
                   "#    - Relay Warnning Setting     #\n", "###################################\n",
                   "\n#########################\n", "# Email Warnning Setting #\n",
                   "#########################\n"});
    } else {
      file_.Write({"\n#########################\n", "# Auto Warnning Setting #\n",
                   "#########################\n"});
    }
    MailWarningLegend();
    if (generation_ == Generation::kGenD1) {
      Item("D_CONF_ETH_WARN_MAILS", 1, Text(D_CONF_ETH_WARN_MAILS));
    } else {
      Item("D_CONF_ETH_WARN_SMTPSrv", 1, Text(D_CONF_ETH_WARN_SMTPSrv));
      Item("D_CONF_ETH_WARN_SMTP_UNAME", 1, Text(D_CONF_ETH_WARN_SMTP_UNAME));
      Item("D_CONF_ETH_WARN_SMTP_PASSWD", 1, Text(D_CONF_ETH_WARN_SMTP_PASSWD));
    }
    for (int k = 1; k <= kMailRecipients; ++k) {
      Item(NumberedName("D_CONF_ETH_WARN_TO", k), 1, Text(WarnTo(k)));
    }
    Item("D_CONF_ETH_WARN_SFLAG", 1, Hex(D_CONF_ETH_WARN_SFLAG));
    Comment("D_CONF_ETH_WARN_PFLAG1");
    for (int p = 1; p <= kPorts; ++p) {
      Value(NumberedName("D_CONF_ETH_WARN_PFLAG", p), 2, Hex(WarnPortFlag(p)), LineEnd::kLine);
      Value(NumberedName("D_CONF_ETH_WARN_PLOAD", p), 1, Formatted(WarnPortLoad(p), FormatPercent),
            LineEnd::kLine);
      Value(NumberedName("D_CONF_ETH_WARN_PLOADTIME", p), 1,
            Formatted(WarnPortLoadTime(p), FormatSeconds));
    }
  }

  void MailWarningLegend() {
    const std::string exampleServer =
        std::string("#\t\t--> Ex : ") + std::string(kExampleMailServer) + " \n";
    const std::string exampleAddress =
        std::string("#\t\t--> Ex : ") + std::string(kExampleEmailAddress) + " \n";
    if (generation_ == Generation::kGenD1) {
      file_.Write(
          {"# MailServer : mail server IP addr/name (max. length 30 words).\n", exampleServer});
    } else {
      file_.Write({"# SMTPServer : SMTP server IP addr/name (max. length 30 words).\n",
                   exampleServer, "# SMTPAccount : account of SMTP server(max. length 45 words).\n",
                   "#\t\t--> Ex : smtpuser \n",
                   "# SMTPPassword : account password of SMTP server(max. length 45 words).\n",
                   "#\t\t--> Ex : qb73#5mR\n"});
    }
    file_.Write({"# 1st e-mail address (max. length 30 words).\n", exampleAddress,
                 "# 2st e-mail address (max. length 30 words).\n", exampleAddress,
                 "# 3st e-mail address (max. length 30 words).\n", exampleAddress,
                 "# 4st e-mail address (max. length 30 words).\n", exampleAddress});
  }

  /// GenD4 only.
  void RelayWarningSection() {
    file_.Write({"\n###########################\n", "# Relay Warnning Setting  #\n",
                 "###########################\n"});
    Item("D_CONF_ETH_RELAY_SFLAG_NORMAL", 1,
         BitFlag(D_CONF_ETH_RELAY_SFLAG_NORMAL, kRelayOverrideBit));
    Item("D_CONF_ETH_RELAY_SFLAG_POWER1", 1,
         BitFlag(D_CONF_ETH_RELAY_SFLAG_POWER1, kPowerInput1Bit));
    Value("D_CONF_ETH_RELAY_SFLAG_POWER2", 1,
          BitFlag(D_CONF_ETH_RELAY_SFLAG_POWER2, kPowerInput2Bit));
    Comment("D_CONF_ETH_RELAY_PFLAG_LINK1");
    for (int p = 1; p <= kPorts; ++p) {
      Value(NumberedName("D_CONF_ETH_RELAY_PFLAG_LINK", p), 1, RelayLinkValue(RelayPortLink(p)));
    }
    Comment("D_CONF_ETH_RELAY_PFLAG_TRAF1");
    for (int p = 1; p <= kPorts; ++p) {
      Value(NumberedName("D_CONF_ETH_RELAY_PFLAG_TRAF", p), 2,
            BitFlag(RelayPortTraffic(p), kPortTrafficBit), LineEnd::kLine);
      Value(NumberedName("D_CONF_ETH_RELAY_PLOAD", p), 1,
            Formatted(RelayPortLoad(p), FormatPercent), LineEnd::kLine);
      Value(NumberedName("D_CONF_ETH_RELAY_PLOADTIME", p), 1,
            Formatted(RelayPortLoadTime(p), FormatSeconds));
    }
  }

  /// 1 (Off->On) when bit 0 is set, else 2 (On->Off) when bit 1 is set,
  /// else 0 (ignore).
  std::string RelayLinkValue(ConfigItemId id) const {
    const auto value = Number(id);
    if (!value) return {};
    if (*value & kLinkOffToOnBit) return FormatDecimal(kLinkOffToOn);
    if (*value & kLinkOnToOffBit) return FormatDecimal(kLinkOnToOff);
    return FormatDecimal(kLinkIgnore);
  }

  /// GenD3: 1 when the ring is on. GenD4: 2 for the ring with the whole ORV
  /// series, 1 for the ring among D8 switches, else 0.
  std::string RedundancyProtocolValue() const {
    const auto word = Number(kRedundancyWord);
    if (!word) return {};
    if (!(*word & kRingOnBit)) return FormatDecimal(kProtocolSpanningTree);
    if (generation_ == Generation::kGenD4 && (*word & kOrvSeriesRingBit)) {
      return FormatDecimal(kProtocolOrvRing);
    }
    return FormatDecimal(kProtocolD8Ring);
  }

  void RedundancySection() {
    file_.Write({"\n###################################################\n",
                 "# Communication redundancy                        #\n",
                 "# Establish Ethernet communication redundant path #\n",
                 "###################################################\n"});
    if (SplitsRedundancyWord()) {
      Item("D_CONF_ETH_REDUN_PROTOCOL", 1, RedundancyProtocolValue());
      file_.Write({"\n###################################################\n",
                   "# Zorvel Ring Setting.                              #\n",
                   "###################################################\n"});
      Item("D_CONF_ETH_REDUN_MASTER", 1, BitFlag(kRedundancyWord, kRingMasterBit));
      Item("D_CONF_ETH_REDUN_COUPLING", 1, BitFlag(kRedundancyWord, kRingCouplingBit));
      file_.Write({"\n###################################################\n",
                   "# IEEE 802.1D Setting.                              #\n",
                   "###################################################\n"});
    } else {
      Item("D_CONF_ETH_SPAN_REDUN", 1, Decimal(D_CONF_ETH_SPAN_REDUN));
    }
    Item("D_CONF_ETH_SPAN_BRIDGE_ID", 1, Decimal(D_CONF_ETH_SPAN_BRIDGE_ID));
    Item("D_CONF_ETH_SPAN_HELLO_TIME", 1, Formatted(D_CONF_ETH_SPAN_HELLO_TIME, FormatSecondsDot));
    Item("D_CONF_ETH_SPAN_MAX_AGE", 2, Formatted(D_CONF_ETH_SPAN_MAX_AGE, FormatSecondsDot));
    Item("D_CONF_ETH_SPAN_FD_DELAY", 1, Formatted(D_CONF_ETH_SPAN_FD_DELAY, FormatSecondsDot));
  }

  void SpanningTreePortSection() {
    const bool ieee = SplitsRedundancyWord();
    file_.Write(
        {"#################################\n",
         ieee ? "# IEEE 802.1D Port Settings.    #\n" : "# Comm. Redundancy Port Setting.#\n",
         "#################################\n",
         ieee ? "# SPT_EN : Enable/Disable IEEE 802.1D function.\n"
              : "# SPT_EN : Enable/Disable Spanning tree function.\n",
         "#          0 Disable\n", "#          1 Enable\n", "# Port_ID : Range 0 - 255\n",
         "# PortCost : Range 1 - 65535\n\n"});
    for (int p = 1; p <= kPorts; ++p) {
      file_.Write({"# [Port ", std::to_string(p), "]\n"});
      Value(NumberedName("D_CONF_ETH_SPAN_PORT", p, "_EN"), 2, Decimal(SpanPortEnable(p)),
            LineEnd::kLine);
      Value(NumberedName("D_CONF_ETH_SPAN_PORT", p, "_ID"), 1, Decimal(SpanPortId(p)),
            LineEnd::kLine);
      Value(NumberedName("D_CONF_ETH_SPAN_PATH", p, "_COST"), 1, Decimal(SpanPathCost(p)));
    }
  }

  Generation generation_;
  ConfigTextWriter file_;
  const DeviceRecord& record_;
  const ConfigBlock& block_;
  const ItemAccessors& accessors_;
};

}  // namespace

bool OmitsMdiFlagLine(std::uint16_t modelId, int port) {
  if (port == 7)
    return std::ranges::find(kFixedPort7Models, modelId) != std::end(kFixedPort7Models);
  if (port == 8)
    return std::ranges::find(kFixedPort8Models, modelId) != std::end(kFixedPort8Models);
  return false;
}

bool WriteGenDConfigFile(Generation generation, std::string& fileText, const DeviceRecord& record,
                         ConfigBlock& block, ItemAccessors& accessors) {
  if (!IsGenD(generation)) return false;
  if (generation == Generation::kGenD1) {
    // The SMTP password line shows what the device gave; GenD1 blocks have
    // no such item, so this store leaves the block as it is.
    accessors.setText(block, D_CONF_ETH_WARN_SMTP_PASSWD, FieldText(record.smtpPassword));
  }
  GenDFileWriter(generation, fileText, record, block, accessors).Write();
  return true;
}

void WriteGenD1ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  WriteGenDConfigFile(Generation::kGenD1, fileText, record, block, accessors);
}

void WriteGenD2ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  WriteGenDConfigFile(Generation::kGenD2, fileText, record, block, accessors);
}

void WriteGenD3ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  WriteGenDConfigFile(Generation::kGenD3, fileText, record, block, accessors);
}

void WriteGenD4ConfigFile(std::string& fileText, const DeviceRecord& record, ConfigBlock& block,
                          ItemAccessors& accessors) {
  WriteGenDConfigFile(Generation::kGenD4, fileText, record, block, accessors);
}

}  // namespace vantrell
