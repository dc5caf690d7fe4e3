#include "config/gen_d_schema.h"

#include <algorithm>
#include <string>

#include "config/file_writer.h"

namespace vantrell {
namespace {

using namespace item;
namespace vf = validation;

constexpr int kPorts = 8;
constexpr int kMailRecipients = 4;

// Variants: one bit per generation.
constexpr std::uint32_t kD1 = 0x1;
constexpr std::uint32_t kD2 = 0x2;
constexpr std::uint32_t kD3 = 0x4;
constexpr std::uint32_t kD4 = 0x8;
constexpr std::uint32_t kD12 = kD1 | kD2;
constexpr std::uint32_t kD123 = kD1 | kD2 | kD3;
constexpr std::uint32_t kD234 = kD2 | kD3 | kD4;
constexpr std::uint32_t kD34 = kD3 | kD4;

/// Models whose port 7, and those whose port 8, is a fixed uplink without
/// an MDI setting in the file.
constexpr std::uint16_t kFixedPort7Models[] = {0x6038, 0x6048, 0x6088, 0x6098};
constexpr std::uint16_t kFixedPort8Models[] = {0x6018, 0x6028, 0x6038, 0x6048,
                                               0x6068, 0x6078, 0x6088, 0x6098};
constexpr std::uint16_t kPort7MdiModels[] = {0x6008, 0x6018, 0x6028, 0x6058, 0x6068, 0x6078};
constexpr std::uint16_t kPort8Models[] = {0x6008, 0x6058};

template <std::size_t N>
bool IsOneOf(std::uint16_t modelId, const std::uint16_t (&models)[N]) {
  return std::ranges::find(models, modelId) != std::end(models);
}

/// Longest texts the D8 blocks hold, in characters.
constexpr std::size_t kShortTextChars = 30;
constexpr std::size_t kUserNameChars = 16;
constexpr std::size_t kSmtpTextChars = 45;
constexpr std::size_t kLongLocationChars = 80;

/// Bits of the redundancy word (item 141) in GenD3 and GenD4.
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

// ---- per-number conditions ----

bool WritesMdiFlag(const SchemaContext& context, int port) {
  return !OmitsMdiFlagLine(context.modelId, port);
}

bool ReadsMdiFlag(const SchemaContext& context, int port) {
  if (port < 7) return true;
  return port == 7 ? GenDAppliesPort7MdiFlag(context.modelId)
                   : GenDAppliesPort8Settings(context.modelId);
}

bool ReadsSpeed(const SchemaContext& context, int port) {
  if (port < 7) return true;
  return port == 7 ? GenDAppliesPort7Speed(context.modelId)
                   : GenDAppliesPort8Settings(context.modelId);
}

// ---- values that are not plain items ----

/// The record's login password, as the device gave it.
std::string PasswordText(const SchemaWriter& writer, const SchemaRow&, int) {
  return FormatText(FieldText(writer.record().password));
}

/// The file's password becomes the edited record's. A value longer than
/// the record's password, or one that the token would cut at a blank, is
/// not taken: the device keeps its password.
void ReadPassword(SchemaReader& reader, const SchemaRow& row, int) {
  const auto token = reader.Lookup(row.item.name, ReadForm::kDecimal);
  if (!token) return;
  const auto text = reader.Lookup(row.item.name, ReadForm::kText);
  if (token->size() > kPasswordLength || !text || *text != *token) {
    reader.Report(row.group);
    return;
  }
  SetFieldText(reader.edited().password, *token);
}

/// 1 (Off->On) when bit 0 is set, else 2 (On->Off) when bit 1 is set,
/// else 0 (ignore).
std::string RelayLinkText(const SchemaWriter& writer, const SchemaRow& row, int port) {
  const auto value = writer.Number(row.item.IdOf(port));
  if (!value) return {};
  if (*value & kLinkOffToOnBit) return FormatDecimal(kLinkOffToOn);
  if (*value & kLinkOnToOffBit) return FormatDecimal(kLinkOnToOff);
  return FormatDecimal(kLinkIgnore);
}

/// GenD3: 1 when the ring is on. GenD4: 2 for the ring with the whole ORV
/// series, 1 for the ring among D8 switches, else 0.
std::string RedundancyProtocolText(const SchemaWriter& writer, const SchemaRow&, int) {
  const auto word = writer.Number(kRedundancyWord);
  if (!word) return {};
  if (!(*word & kRingOnBit)) return FormatDecimal(kProtocolSpanningTree);
  if ((writer.context().variant & kD4) && (*word & kOrvSeriesRingBit)) {
    return FormatDecimal(kProtocolOrvRing);
  }
  return FormatDecimal(kProtocolD8Ring);
}

// ---- line layouts ----

/// Item comment, value line, empty line.
constexpr LineLayout Item(int tabs = 1) { return {tabs}; }
/// The value line alone, without item comment.
constexpr LineLayout Bare(int tabs, Ending ending) { return {tabs, ItemCommentAt::kNone, ending}; }
/// Bare, in the same pass over the ports as the row before.
constexpr LineLayout BareWithPrevious(int tabs, Ending ending) {
  return {tabs, ItemCommentAt::kNone, ending, true};
}
/// First row of a port run with a heading above each port's lines.
constexpr LineLayout Headed(int tabs, std::string_view heading) {
  return {tabs, ItemCommentAt::kNone, Ending::kLine, false, heading};
}
/// First row of a port run: the comment of its first port above the run.
constexpr LineLayout RunLead(int tabs, Ending ending) {
  return {tabs, ItemCommentAt::kBeforeFirst, ending};
}

constexpr std::string_view kNoLegend{};

constexpr ValueFormat kWordBit(std::uint32_t mask) {
  return {WriteForm::kBitFlag, ReadForm::kNone, EmptyAddress::kNever, mask};
}
constexpr ValueFormat kWrittenByHook = format::WrittenOnly(WriteForm::kHook);
constexpr ValueFormat kHookWrittenDecimalRead{WriteForm::kHook, ReadForm::kDecimal};

#define ROW_ITEM VANTRELL_SCHEMA_ITEM

const SchemaRow kRows[] = {
    // ---- network ----
    {kGenDNetwork, ROW_ITEM(D_CONF_ETH_FLAG_DHCP), format::kHexFlag, kFlag, vf::kNetwork},
    {kGenDNetwork, ROW_ITEM(D_CONF_ETH_IPADDR), format::Address(EmptyAddress::kNever), kAnyValue,
     vf::kNetwork},
    {kGenDNetwork, ROW_ITEM(D_CONF_ETH_IPMASK),
     format::Address(EmptyAddress::kWhenZero, ReadForm::kNetmask), kAnyValue, vf::kNetwork,
     kNoLegend, Item(2)},
    {kGenDNetwork, ROW_ITEM(D_CONF_ETH_GATEWAY), format::Address(EmptyAddress::kWhenZeroOrAllOnes),
     kAnyValue, vf::kNetwork, kNoLegend, Item(2)},
    {kGenDNetwork, ROW_ITEM(D_CONF_ETH_DNSSIP), format::Address(EmptyAddress::kWhenZeroOrAllOnes),
     kAnyValue, vf::kNetwork},
    {.section = kGenDNetwork,
     .item = ROW_ITEM(D_CONF_ETH_DNSSIP1),
     .format = format::Address(EmptyAddress::kNever),
     .group = vf::kNetwork,
     .writes = Never},
    {kGenDNetwork, ROW_ITEM(D_CONF_ETH_TRAPS), format::kText, MaxChars(kShortTextChars), vf::kSnmp},
    {kGenDNetwork, ROW_ITEM(D_CONF_ETH_COMMUNITY), format::kText, MaxChars(kShortTextChars),
     vf::kSnmp},

    // ---- server ----
    {kGenDServer, ROW_ITEM(D_CONF_ETH_USERNAME), format::kText, MaxChars(kUserNameChars),
     vf::kSystem},
    // Not a block item: the login password of the record.
    {.section = kGenDServer,
     .item = {"D_CONF_ETH_PASSWORD"},
     .format = format::kHook,
     .group = vf::kPasswords,
     .writeValue = PasswordText,
     .readValue = ReadPassword},
    {kGenDServer, ROW_ITEM(D_CONF_ETH_NAME), format::kText, MaxChars(kShortTextChars), vf::kSystem},
    {kGenDServer, ROW_ITEM(D_CONF_ETH_LOCATION), format::kText, MaxChars(kLongLocationChars),
     vf::kSystem, kNoLegend, Item(), kD4},
    {kGenDServer, ROW_ITEM(D_CONF_ETH_SYSDESCR), format::kText, MaxChars(kShortTextChars),
     vf::kSystem, kNoLegend, Item(), kD4},
    {kGenDServer, ROW_ITEM(D_CONF_ETH_LOCATION_OLD), format::kText, MaxChars(kShortTextChars),
     vf::kSystem, kNoLegend, Item(2), kD123},
    {kGenDServer, ROW_ITEM(D_CONF_ETH_SYSDESCR), format::kText, MaxChars(kShortTextChars),
     vf::kSystem, kNoLegend, Item(2), kD123},
    {kGenDServer, ROW_ITEM(D_CONF_ETH_CONTACT), format::kText, MaxChars(kShortTextChars),
     vf::kSystem, kNoLegend, Item(2)},
    {kGenDServer, ROW_ITEM(D_CONF_ETH_FLAG_WEB), format::kHexFlag, kFlag, vf::kSystem},
    {kGenDServer, ROW_ITEM(D_CONF_ETH_FLAG_TELNET), format::kHexFlag, kFlag, vf::kSystem},
    {.section = kGenDServer,
     .item = ROW_ITEM(D_CONF_ETH_FLAG_HIDE),
     .format = format::kDecimal,
     .rule = kFlag,
     .group = vf::kSystem,
     .writes = Never},

    // ---- ports ----
    {.section = kGenDPorts,
     .item = Numbered("D_CONF_ETH_PCFG_DISABLE", PcfgDisable, "", kPorts),
     .format = format::kDecimal,
     .rule = kFlag,
     .group = vf::kPort,
     .legend = "# PortEnable : Enable/Disable Port flag.\n"
               "#\t\t--> ENABLE  : 0 \n"
               "#\t\t--> DISABLE : 1 \n",
     .line = Headed(1, "# [LAN Port {n} Setting]\n")},
    {.section = kGenDPorts,
     .item = Numbered("D_CONF_ETH_PCFG_FLAG", PcfgFlag, "", kPorts),
     .format = format::kDecimal,
     .rule = InRange(0, 2),
     .group = vf::kPort,
     .legend = "# ProtMDIFlag : Set Cable Type is MDI or MDIX.\n"
               "#\t\t--> AUTO : 0 \n"
               "#\t\t--> MDIX : 1 \n"
               "#\t\t--> MDI  : 2 \n",
     .line = BareWithPrevious(1, Ending::kLine),
     .writes = WritesMdiFlag,
     .reads = ReadsMdiFlag},
    {.section = kGenDPorts,
     .item = Numbered("D_CONF_ETH_PCFG_SPEED", PcfgSpeed, "", kPorts),
     .format = format::kDecimal,
     .rule = InRange(0, 4),
     .group = vf::kPort,
     .legend = "# PortSpeed : Port Speed.\n"
               "#\t\t--> AUTO    : 0 \n"
               "#\t\t--> 100FULL : 1 \n"
               "#\t\t--> 100HALF : 2 \n"
               "#\t\t--> 10FULL  : 3 \n"
               "#\t\t--> 10HALF  : 4 \n",
     .line = BareWithPrevious(1, Ending::kLineAndBlank),
     .reads = ReadsSpeed},

    // ---- line-swap fast recovery, set device IP, mirror ----
    {kGenDFastRecovery, ROW_ITEM(D_CONF_ETH_FLAG_FASTRECOVERY), format::kHexFlag, kFlag,
     vf::kLineSwap},
    {kGenDDeviceIp, Numbered("D_CONF_ETH_PCFG_DEVIP", PcfgDevIp, "", kPorts),
     format::Address(EmptyAddress::kWhenZero), kAnyValue, vf::kSetDeviceIp, kNoLegend,
     RunLead(1, Ending::kBlankAfterLast)},
    // Port 0 is "not used".
    {kGenDMirror, ROW_ITEM(D_CONF_ETH_MIRROR_PORT), format::kDecimal, InRange(0, kPorts),
     vf::kMirror},
    {kGenDMirror, ROW_ITEM(D_CONF_ETH_TARGET_PORT), format::kDecimal, InRange(0, kPorts),
     vf::kMirror},
    {kGenDMirror, ROW_ITEM(D_CONF_ETH_MIRROR_DIR), format::kDecimal, InRange(0, 2), vf::kMirror},

    // ---- e-mail warning ----
    {kGenDMailWarning, ROW_ITEM(D_CONF_ETH_WARN_MAILS), format::kTextShort,
     MaxChars(kShortTextChars), vf::kEmailWarning,
     "# MailServer : mail server IP addr/name (max. length {max} words).\n"
     "#\t\t--> Ex : {example_server} \n",
     Item(), kD1},
    {kGenDMailWarning, ROW_ITEM(D_CONF_ETH_WARN_SMTPSrv), format::kTextShort,
     MaxChars(kShortTextChars), vf::kEmailWarning,
     "# SMTPServer : SMTP server IP addr/name (max. length {max} words).\n"
     "#\t\t--> Ex : {example_server} \n",
     Item(), kD234},
    {kGenDMailWarning, ROW_ITEM(D_CONF_ETH_WARN_SMTP_UNAME), format::kTextShort,
     MaxChars(kSmtpTextChars), vf::kEmailWarning,
     "# SMTPAccount : account of SMTP server(max. length {max} words).\n"
     "#\t\t--> Ex : smtpuser \n",
     Item(), kD234},
    {kGenDMailWarning, ROW_ITEM(D_CONF_ETH_WARN_SMTP_PASSWD), format::kTextShort,
     MaxChars(kSmtpTextChars), vf::kEmailWarning,
     "# SMTPPassword : account password of SMTP server(max. length {max} words).\n"
     "#\t\t--> Ex : qb73#5mR\n",
     Item(), kD234},
    // The legend's ordinals have always read "1st, 2st, 3st, 4st".
    {kGenDMailWarning, Numbered("D_CONF_ETH_WARN_TO", WarnTo, "", kMailRecipients),
     format::kTextShort, MaxChars(kShortTextChars), vf::kEmailWarning,
     "# {n}st e-mail address (max. length {max} words).\n"
     "#\t\t--> Ex : {example_address} \n"},
    {kGenDMailWarning, ROW_ITEM(D_CONF_ETH_WARN_SFLAG), format::kHex, InRange(0, 0x3F),
     vf::kEmailWarning, kNoLegend, Item(), kD123},
    {kGenDMailWarning, ROW_ITEM(D_CONF_ETH_WARN_SFLAG), format::kHex, InRange(0, 0x7F),
     vf::kEmailWarning, kNoLegend, Item(), kD4},
    {kGenDMailWarning, Numbered("D_CONF_ETH_WARN_PFLAG", WarnPortFlag, "", kPorts), format::kHex,
     InRange(0, 0x7), vf::kEmailWarning, kNoLegend, RunLead(2, Ending::kLine)},
    {kGenDMailWarning, Numbered("D_CONF_ETH_WARN_PLOAD", WarnPortLoad, "", kPorts),
     format::kPercent, InRange(0, 100), vf::kEmailWarning, kNoLegend,
     BareWithPrevious(1, Ending::kLine)},
    {kGenDMailWarning, Numbered("D_CONF_ETH_WARN_PLOADTIME", WarnPortLoadTime, "", kPorts),
     format::kSeconds, InRange(1, 300), vf::kEmailWarning, kNoLegend,
     BareWithPrevious(1, Ending::kLineAndBlank)},

    // ---- relay warning (GenD4): each flag in its own bit ----
    {kGenDRelayWarning, ROW_ITEM(D_CONF_ETH_RELAY_SFLAG_NORMAL), format::BitFlag(kRelayOverrideBit),
     kFlag, vf::kRelayAlarm, kNoLegend, Item(), kD4},
    {kGenDRelayWarning, ROW_ITEM(D_CONF_ETH_RELAY_SFLAG_POWER1), format::BitFlag(kPowerInput1Bit),
     kFlag, vf::kRelayAlarm, kNoLegend, Item(), kD4},
    {kGenDRelayWarning, ROW_ITEM(D_CONF_ETH_RELAY_SFLAG_POWER2), format::BitFlag(kPowerInput2Bit),
     kFlag, vf::kRelayAlarm, kNoLegend, Bare(1, Ending::kLineAndBlank), kD4},
    // 0 ignore, 1 off->on, 2 on->off: stored as the bits the writer tests.
    {.section = kGenDRelayWarning,
     .item = Numbered("D_CONF_ETH_RELAY_PFLAG_LINK", RelayPortLink, "", kPorts),
     .format = kHookWrittenDecimalRead,
     .rule = InRange(0, 2),
     .group = vf::kRelayAlarm,
     .line = RunLead(1, Ending::kLineAndBlank),
     .variants = kD4,
     .writeValue = RelayLinkText},
    {kGenDRelayWarning, Numbered("D_CONF_ETH_RELAY_PFLAG_TRAF", RelayPortTraffic, "", kPorts),
     format::BitFlag(kPortTrafficBit), kFlag, vf::kRelayAlarm, kNoLegend, RunLead(2, Ending::kLine),
     kD4},
    {kGenDRelayWarning, Numbered("D_CONF_ETH_RELAY_PLOAD", RelayPortLoad, "", kPorts),
     format::kPercent, InRange(0, 100), vf::kRelayAlarm, kNoLegend,
     BareWithPrevious(1, Ending::kLine), kD4},
    {kGenDRelayWarning, Numbered("D_CONF_ETH_RELAY_PLOADTIME", RelayPortLoadTime, "", kPorts),
     format::kSeconds, InRange(1, 300), vf::kRelayAlarm, kNoLegend,
     BareWithPrevious(1, Ending::kLineAndBlank), kD4},

    // ---- communication redundancy ----
    {kGenDRedundancy, ROW_ITEM(D_CONF_ETH_SPAN_REDUN), format::kDecimal, kFlag, vf::kCommRedundancy,
     kNoLegend, Item(), kD12},
    // GenD3 and GenD4 keep protocol, master and coupling as bits of the
    // redundancy word; the reader applies them in its own code.
    {.section = kGenDRedundancy,
     .item = {"D_CONF_ETH_REDUN_PROTOCOL", kRedundancyWord},
     .format = kWrittenByHook,
     .group = vf::kCommRedundancy,
     .variants = kD34,
     .writeValue = RedundancyProtocolText},
    {kGenDRing, SchemaItem{"D_CONF_ETH_REDUN_MASTER", kRedundancyWord}, kWordBit(kRingMasterBit),
     kAnyValue, vf::kCommRedundancy, kNoLegend, Item(), kD34},
    {kGenDRing, SchemaItem{"D_CONF_ETH_REDUN_COUPLING", kRedundancyWord},
     kWordBit(kRingCouplingBit), kAnyValue, vf::kCommRedundancy, kNoLegend, Item(), kD34},
    {kGenDSpanningTree, ROW_ITEM(D_CONF_ETH_SPAN_BRIDGE_ID), format::kDecimal, InRange(0, 65535),
     vf::kCommRedundancy},
    {kGenDSpanningTree, ROW_ITEM(D_CONF_ETH_SPAN_HELLO_TIME), format::kSecondsDot, InRange(0, 10),
     vf::kCommRedundancy},
    {kGenDSpanningTree, ROW_ITEM(D_CONF_ETH_SPAN_MAX_AGE), format::kSecondsDot, InRange(6, 40),
     vf::kCommRedundancy, kNoLegend, Item(2)},
    {kGenDSpanningTree, ROW_ITEM(D_CONF_ETH_SPAN_FD_DELAY), format::kSecondsDot, InRange(4, 30),
     vf::kCommRedundancy},

    // ---- spanning-tree ports: the enable legend names the function ----
    {kGenDSpanningTreePorts, Numbered("D_CONF_ETH_SPAN_PORT", SpanPortEnable, "_EN", kPorts),
     format::kDecimal, kFlag, vf::kCommRedundancy,
     "# SPT_EN : Enable/Disable Spanning tree function.\n"
     "#          0 Disable\n"
     "#          1 Enable\n",
     Headed(2, "# [Port {n}]\n"), kD12},
    {kGenDSpanningTreePorts, Numbered("D_CONF_ETH_SPAN_PORT", SpanPortEnable, "_EN", kPorts),
     format::kDecimal, kFlag, vf::kCommRedundancy,
     "# SPT_EN : Enable/Disable IEEE 802.1D function.\n"
     "#          0 Disable\n"
     "#          1 Enable\n",
     Headed(2, "# [Port {n}]\n"), kD34},
    {kGenDSpanningTreePorts, Numbered("D_CONF_ETH_SPAN_PORT", SpanPortId, "_ID", kPorts),
     format::kDecimal, InRange(0, 255), vf::kCommRedundancy, "# Port_ID : Range {low} - {high}\n",
     BareWithPrevious(1, Ending::kLine)},
    // The legend has always said 1 - 65535; the reader has always taken 0.
    {kGenDSpanningTreePorts, Numbered("D_CONF_ETH_SPAN_PATH", SpanPathCost, "_COST", kPorts),
     format::kDecimal, InRange(0, 65535), vf::kCommRedundancy, "# PortCost : Range 1 - 65535\n\n",
     BareWithPrevious(1, Ending::kLineAndBlank)},
};

#undef ROW_ITEM

}  // namespace

std::span<const SchemaRow> GenDSchema() { return kRows; }

SchemaContext GenDSchemaContext(Generation generation, std::uint16_t modelId) {
  switch (generation) {
    case Generation::kGenD1:
      return {kD1, modelId};
    case Generation::kGenD2:
      return {kD2, modelId};
    case Generation::kGenD3:
      return {kD3, modelId};
    case Generation::kGenD4:
      return {kD4, modelId};
    default:
      return {0, modelId};
  }
}

bool OmitsMdiFlagLine(std::uint16_t modelId, int port) {
  if (port == 7) return IsOneOf(modelId, kFixedPort7Models);
  if (port == 8) return IsOneOf(modelId, kFixedPort8Models);
  return false;
}

bool GenDAppliesPort7MdiFlag(std::uint16_t modelId) { return IsOneOf(modelId, kPort7MdiModels); }

bool GenDAppliesPort7Speed(std::uint16_t modelId) { return !IsOneOf(modelId, kFixedPort7Models); }

bool GenDAppliesPort8Settings(std::uint16_t modelId) { return IsOneOf(modelId, kPort8Models); }

}  // namespace vantrell
