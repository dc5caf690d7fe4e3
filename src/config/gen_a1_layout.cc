#include "config/gen_a1_layout.h"

#include <optional>
#include <string>

namespace vantrell {
namespace {

using namespace item;

constexpr int kPorts = a1::kPorts;
constexpr int kAccessEntries = 10;
constexpr int kCosEntries = 8;
constexpr int kTosEntries = 64;
constexpr int kMailTexts = 5;  // SMTP server, then the four e-mail addresses

/// Text sizes of the GenA1 block.
constexpr std::uint16_t kShortText = 30;
constexpr std::uint16_t kShortTextSlot = 40;
constexpr std::uint16_t kCommunitySlot = 32;
constexpr std::uint16_t kNameFill = 32;  // the name is NUL-filled up to byte 31
constexpr std::uint16_t kLocationText = 80;
constexpr std::uint16_t kLocationSlot = 84;
constexpr std::uint16_t kSmtpText = 45;
constexpr std::uint16_t kSmtpTextSlot = 46;

/// Flag word at 24.
constexpr std::uint32_t kFlagWord = 24;
/// Redundancy word at 4912: bit 1 protocol (ring), bit 4 master.
constexpr std::uint32_t kRedundancyWordAt = 4912;
/// Relay warning: enable and select words, port enable and select bytes.
constexpr std::uint32_t kRelayEnableWord = 5332;
constexpr std::uint32_t kRelaySelectWord = 5336;
constexpr std::uint32_t kRelayPortEnable = 5340;
constexpr std::uint32_t kRelayPortSelect = 5348;
constexpr std::uint8_t kRelayTrafficBit = 2;
/// IGMP switches.
constexpr std::uint32_t kIgmpEnableWord = 7984;
constexpr std::uint8_t kIgmpEnableBit = 15;
constexpr std::uint32_t kQueryPeriod = 7986;

constexpr std::size_t kMaxFields = 400;

using Layout = LayoutTable<kMaxFields>;

constexpr std::uint32_t PortOffset(std::uint32_t first, int port, std::uint32_t step = 1) {
  return first + step * static_cast<std::uint32_t>(port - 1);
}

constexpr void AddSystem(Layout& l) {
  l.Add(D_CONF_ETH_MARK, U32Field(0));
  l.Add(D_CONF_ETH_SUM1, U16Field(8));
  l.Add(D_CONF_ETH_LEN1, U16Field(10));
  l.Add(D_CONF_ETH_IPADDR, Ipv4Field(12));
  l.Add(D_CONF_ETH_IPMASK, Ipv4Field(16));
  l.Add(D_CONF_ETH_GATEWAY, Ipv4Field(20));
  l.Add(D_CONF_ETH_FLAG_AUTOIP, ModeBitsField(kFlagWord));
  l.Add(D_CONF_ETH_FLAG_FASTRECOVERY, WordBitField(kFlagWord, 2));
  l.Add(D_CONF_ETH_FLAG_HIDE, WordBitField(kFlagWord, 3));
  l.Add(D_CONF_ETH_FLAG_WEBA8, InvertedBitField(kFlagWord, 4));
  l.Add(D_CONF_ETH_FLAG_TELNETA8, InvertedBitField(kFlagWord, 5));
  l.Add(D_CONF_ETH_DNSSIP, Ipv4Field(28));
  l.Add(D_CONF_ETH_DNSSIP1, Ipv4Field(32));
  l.Add(D_CONF_ETH_TRAPS, TextField(36, kShortText, kShortTextSlot));
  l.Add(D_CONF_ETH_USERPWD, Blank16Field(76));
  l.Add(D_CONF_GRANTIP_INUSED, U32Field(108));
  for (int k = 1; k <= kAccessEntries; ++k) {
    const std::uint32_t address = PortOffset(112, k, 4);
    const std::uint32_t netmask = PortOffset(152, k, 4);
    l.Add(D_CONF_GRANTIP_IP1 + (k - 1), AccessEntryField(address, netmask));
    l.Add(kGrantIpNetmask1 + (k - 1), AccessNetmaskField(netmask));
  }
  l.Add(D_CONF_ETH_COMMUNITY, TextField(192, kShortText, kCommunitySlot));
  l.Add(D_CONF_ETH_NAMEA8, NameTextField(224, kShortText, kShortTextSlot, kNameFill));
  l.Add(D_CONF_ETH_LOCATIONA8, TextField(264, kLocationText, kLocationSlot));
  l.Add(D_CONF_ETH_SYSDESCR, TextField(348, kShortText, kShortTextSlot));
  l.Add(D_CONF_ETH_CONTACT, TextField(388, kShortText, kShortTextSlot));
}

constexpr void AddTimeAndQos(Layout& l) {
  l.Add(D_CONF_ETH_DTIME_PERIOD, U32Field(664));
  l.Add(D_CONF_ETH_DTIME_TZONE, U8Field(668));
  l.Add(D_CONF_ETH_DTIME_SRV1, Text40Field(672));
  l.Add(D_CONF_ETH_DTIME_SRV2, Text40Field(712));
  l.Add(D_CONF_QOS_SCHEDULE, U8Field(752));
  for (int p = 1; p <= kPorts; ++p) {
    l.Add(D_CONF_QOS_INSPECT1_TOS + (p - 1), NonzeroBitField(PortOffset(756, p), 1, 0));
    l.Add(D_CONF_QOS_INSPECT1_COS + (p - 1), NonzeroBitField(PortOffset(756, p), 1, 1));
    l.Add(D_CONF_QOS_PRIORITY1 + (p - 1), CheckedU8Field(PortOffset(764, p), 0, 3));
  }
  for (int c = 0; c < kCosEntries; ++c) {
    l.Add(D_CONF_COSMAP0 + c, U8Field(772 + c));
  }
  for (int k = 1; k <= kTosEntries; ++k) {
    l.Add(TosMapEntry(k), CheckedU8Field(PortOffset(780, k), 0, 3));
  }
}

constexpr void AddPorts(Layout& l) {
  for (int p = 1; p <= kPorts; ++p) {
    l.Add(D_CONF_PORT_LOCK1 + (p - 1), U8Field(PortOffset(3404, p)));
    l.Add(D_CONF_RATE_LIMIT_INGRESS_P1 + (p - 1), IngressRateField(PortOffset(3412, p, 4)));
    l.Add(D_CONF_RATE_LIMIT_ENGRESS_RATE1 + (p - 1),
          EgressRateNameField(PortOffset(3412, p, 4) + 2));
  }
  l.Add(D_CONF_ETH_MIRROR_PORT, U8Field(3444));
  l.Add(D_CONF_ETH_TARGET_PORT, U8Field(3445));
  l.Add(D_CONF_ETH_MIRROR_DIR, U8Field(3446));
  for (int p = 1; p <= kPorts; ++p) {
    const auto record = static_cast<std::uint32_t>(a1::PortRecord(p));
    l.Add(PcfgDisable(p), InvertedDisableField(record));
    l.Add(PcfgFlag(p), TwoBitField(record + 1));
    // The FDX flag is bit 2 of byte +1, read and written as a bit of the
    // word from +1 (bytes +1 to +4 of the record; only the bit changes).
    l.Add(PcfgFdx(p), WordBitField(record + 1, 2));
    l.Add(PcfgSpeed(p), U8Field(record + 2));
    l.Add(D_CONF_ETH_PORTTRUNKING_P1 + (p - 1), U8Field(record + 3));
    l.Add(PcfgDevIp(p), Ipv4Field(PortOffset(3992, p, 108)));
  }
}

constexpr void AddRedundancy(Layout& l) {
  for (int p = 1; p <= kPorts; ++p) {
    l.Add(SpanPortEnable(p), U8Field(PortOffset(4856, p)));
    l.Add(SpanPortId(p), HighNibbleField(PortOffset(4864, p)));
    l.Add(SpanPathCost(p), U32Field(PortOffset(4872, p, 4)));
  }
  l.Add(D_CONF_ETH_SPAN_HELLO_TIME, Times100Field(4904));
  l.Add(D_CONF_ETH_SPAN_MAX_AGE, Times100Field(4906));
  l.Add(D_CONF_ETH_SPAN_FD_DELAY, Times100Field(4908));
  l.Add(D_CONF_ETH_SPAN_BRIDGE_ID, BridgePriorityField(4910));
  l.Add(D_CONF_ETHA8_REDUN_PROTOCOL, StrictBitField(kRedundancyWordAt, 1));
  l.Add(D_CONF_ETH_REDUN_MASTER, StrictBitField(kRedundancyWordAt, 4));
  l.Add(D_CONF_ETH_REDUN_PORT1, CheckedU8Field(4988, 1, 8));
  l.Add(D_CONF_ETH_REDUN_PORT2, CheckedU8Field(4989, 1, 8));
  l.Add(D_CONF_ETH_REDUN_COUPLING, CheckedU8Field(4990, 0, 1));
  l.Add(D_CONF_ETH_REDUN_CPL_CTRLPORT, CheckedU8Field(4991, 1, 8));
  l.Add(D_CONF_ETH_REDUN_CPL_PORT, CheckedU8Field(4992, 1, 8));
}

constexpr void AddWarnings(Layout& l) {
  for (int k = 0; k < kMailTexts; ++k) {
    l.Add(D_CONF_ETH_WARN_SMTPSrv + k,
          TextField(4996 + kShortTextSlot * k, kShortText, kShortTextSlot));
  }
  l.Add(D_CONF_ETH_WARN_SFLAGA8, U32Field(5196));
  for (int p = 1; p <= kPorts; ++p) {
    l.Add(WarnPortFlag(p), U8Field(PortOffset(5200, p)));
    l.Add(WarnPortLoad(p), Lo16Field(PortOffset(5208, p, 4)));
    l.Add(WarnPortLoadTime(p), Hi16Field(PortOffset(5208, p, 4)));
  }
  l.Add(D_CONF_ETH_WARN_SMTP_UNAME, TextField(5240, kSmtpText, kSmtpTextSlot));
  l.Add(D_CONF_ETH_WARN_SMTP_PASSWD, TextField(5286, kSmtpText, kSmtpTextSlot));
  l.Add(D_CONF_RELAY_SFLAG_NORMAL1, WordBitField(kRelayEnableWord, 0));
  l.Add(D_CONF_RELAY_SFLAG_NORMAL2, WordBitField(kRelayEnableWord, 1));
  l.Add(D_CONF_ETH_RELAY_SFLAG_POWER1, RelayChoiceField(kRelayEnableWord, kRelaySelectWord, 4, 4));
  l.Add(D_CONF_ETH_RELAY_SFLAG_POWER2, RelayChoiceField(kRelayEnableWord, kRelaySelectWord, 5, 4));
  l.Add(D_CONF_RELAY_SFLAG_DI1_ON2OFF, RelayChoiceField(kRelayEnableWord, kRelaySelectWord, 6, 4));
  l.Add(D_CONF_RELAY_SFLAG_DI1_OFF2ON, RelayChoiceField(kRelayEnableWord, kRelaySelectWord, 7, 4));
  l.Add(D_CONF_RELAY_SFLAG_DI2_ON2OFF, RelayChoiceField(kRelayEnableWord, kRelaySelectWord, 8, 4));
  l.Add(D_CONF_RELAY_SFLAG_DI2_OFF2ON, RelayChoiceField(kRelayEnableWord, kRelaySelectWord, 9, 4));
  for (int p = 1; p <= kPorts; ++p) {
    const std::uint32_t enable = PortOffset(kRelayPortEnable, p);
    const std::uint32_t select = PortOffset(kRelayPortSelect, p);
    l.Add(RelayPortLink(p), LinkChoiceField(enable, select));
    l.Add(RelayPortTraffic(p), RelayChoiceField(enable, select, kRelayTrafficBit, 1));
    l.Add(RelayPortLoad(p), Lo16Field(PortOffset(5356, p, 4)));
    l.Add(RelayPortLoadTime(p), Hi16Field(PortOffset(5356, p, 4)));
  }
}

/// The VLAN items: the port's type, PVID and VID lists keep up the VLAN
/// table and the trunk flags, so they are the accessors' code.
constexpr void AddVlan(Layout& l) {
  for (ConfigItemId id = D_CONF_VLAN_TYPE1; id <= D_CONF_VLAN_FRBVID8; ++id) l.AddHook(id);
  l.AddHook(D_CONF_VLAN_SYS_VID);
}

constexpr void AddMulticastSwitches(Layout& l) {
  l.Add(D_CONF_IGMPSNOOP_ENABLE, NonzeroBitField(kIgmpEnableWord, 2, kIgmpEnableBit));
  l.Add(D_CONF_IGMPSNOOP_QUERY_PERIDO, CheckedU16Field(kQueryPeriod, 20, 600));
  l.Add(kSpareWord104, U16Field(8504));
  l.Add(kSpareWord105, U16Field(8506));
}

constexpr Layout BuildGenA1() {
  Layout l;
  AddSystem(l);
  AddTimeAndQos(l);
  AddPorts(l);
  AddRedundancy(l);
  AddWarnings(l);
  AddVlan(l);
  AddMulticastSwitches(l);
  return l;
}

constexpr Layout kGenA1 = BuildGenA1();

static_assert(kGenA1.Inside(blockSize(Generation::kGenA1)));

/// The port (1..8) of a VLAN item 400..431, and which of the four it is.
struct VlanItem {
  int port;
  int which;  // 0 type, 1 PVID, 2 fixed list, 3 forbidden list
};
constexpr std::optional<VlanItem> VlanItemOf(ConfigItemId id) {
  if (id < D_CONF_VLAN_TYPE1 || id > D_CONF_VLAN_FRBVID8) return std::nullopt;
  const int index = static_cast<int>(id - D_CONF_VLAN_TYPE1);
  return VlanItem{index / 4 + 1, index % 4};
}
constexpr int kType = 0, kPvid = 1, kFixedList = 2, kForbiddenList = 3;

}  // namespace

std::span<const ItemField> GenA1Layout() { return kGenA1.view(); }

bool IsGenA1VlanItem(ConfigItemId id) {
  return VlanItemOf(id).has_value() || id == D_CONF_VLAN_SYS_VID;
}

GenA1Accessors::GenA1Accessors() : LayoutAccessors(Generation::kGenA1, GenA1Layout()) {}

ItemStatus GenA1Accessors::GetHook(const ConfigBlock& block, const ItemField& row, std::size_t,
                                   ItemValue& out) const {
  return GetVlanItem(block, row.id, out);
}

ItemStatus GenA1Accessors::SetHook(ConfigBlock& block, const ItemField& row, std::size_t,
                                   const ItemValue& value, const SetItemContext&) {
  return SetVlanItem(block, row.id, value);
}

ItemStatus GenA1Accessors::GetVlanItem(const ConfigBlock& block, ConfigItemId id,
                                       ItemValue& out) const {
  const auto bytes = block.bytes();
  if (bytes.size() < vantrell::blockSize(Generation::kGenA1)) return ItemStatus::kOutsideBlock;
  if (id == D_CONF_VLAN_SYS_VID) {
    out = std::uint32_t{*ReadU16(bytes, a8vlan::kManagementVid)};
    return ItemStatus::kOk;
  }
  const VlanItem item = *VlanItemOf(id);
  const std::uint32_t word = *ReadU32(bytes, a8vlan::PortWordOffset(item.port));
  switch (item.which) {
    case kType:
      out = (word & a8vlan::kAccessTypeBit) ? 1u : 0u;
      break;
    case kPvid:
      out = word & a8vlan::kPvidMask;
      break;
    case kFixedList:
      out = a8vlan::FormatVidList(bytes, item.port, a8vlan::Membership::kFixed);
      break;
    default:
      out = a8vlan::FormatVidList(bytes, item.port, a8vlan::Membership::kForbidden);
      break;
  }
  return ItemStatus::kOk;
}

ItemStatus GenA1Accessors::SetVlanItem(ConfigBlock& block, ConfigItemId id,
                                       const ItemValue& value) {
  auto bytes = block.bytes();
  if (bytes.size() < vantrell::blockSize(Generation::kGenA1)) return ItemStatus::kOutsideBlock;
  const auto* number = std::get_if<std::uint32_t>(&value);
  if (id == D_CONF_VLAN_SYS_VID) {
    return number ? a8vlan::WriteManagementVid(bytes, *number) : ItemStatus::kWrongKind;
  }
  const VlanItem item = *VlanItemOf(id);
  if (item.which == kFixedList || item.which == kForbiddenList) {
    const auto* text = std::get_if<std::string>(&value);
    if (!text) return ItemStatus::kWrongKind;
    return item.which == kFixedList ? ApplyFixedList(block, item.port, *text)
                                    : ApplyForbiddenList(block, item.port, *text);
  }
  if (!number) return ItemStatus::kWrongKind;
  if (item.which == kPvid) return a8vlan::WritePvid(bytes, item.port, *number);
  const std::size_t at = a8vlan::PortWordOffset(item.port);
  const std::uint32_t word = *ReadU32(bytes, at);
  const bool trunk = *number == 0;
  WriteU32(bytes, at, trunk ? (word & ~a8vlan::kAccessTypeBit) : (word | a8vlan::kAccessTypeBit));
  trunkFlags_[static_cast<std::size_t>(item.port - 1)] = trunk;
  return ItemStatus::kOk;
}

bool GenA1Accessors::ListsApply(const ConfigBlock& block, int port) const {
  const auto word = ReadU32(block.bytes(), a8vlan::PortWordOffset(port));
  return word && !(*word & a8vlan::kAccessTypeBit) && trunkFlag(port);
}

ItemStatus GenA1Accessors::ApplyFixedList(ConfigBlock& block, int port,
                                          std::string_view text) const {
  if (!ListsApply(block, port)) return ItemStatus::kOk;
  const auto vids = a8vlan::ParseVidList(text);
  if (!vids) return ItemStatus::kOk;
  auto bytes = block.bytes();
  for (const std::uint16_t vid : *vids) {
    if (const auto entry = a8vlan::FindValidEntry(bytes, vid)) {
      const std::size_t at = a8vlan::EntryOffset(*entry) + a8vlan::kMembershipAt;
      const std::uint32_t members = *ReadU32(bytes, at);
      if (!(members & a8vlan::ForbiddenBit(port))) {
        WriteU32(bytes, at, members | a8vlan::FixedBit(port));
      }
    } else if (const auto free = a8vlan::FirstFreeEntry(bytes)) {
      a8vlan::ClaimEntry(bytes, *free, vid, true, a8vlan::FixedBit(port));
    }
  }
  return ItemStatus::kOk;
}

ItemStatus GenA1Accessors::ApplyForbiddenList(ConfigBlock& block, int port,
                                              std::string_view text) const {
  if (!ListsApply(block, port)) return ItemStatus::kOk;
  const auto vids = a8vlan::ParseVidList(text);
  if (!vids) return ItemStatus::kOk;
  auto bytes = block.bytes();
  for (const std::uint16_t vid : *vids) {
    if (const auto entry = a8vlan::FindValidEntry(bytes, vid)) {
      const std::size_t at = a8vlan::EntryOffset(*entry) + a8vlan::kMembershipAt;
      const std::uint32_t members = *ReadU32(bytes, at);
      WriteU32(bytes, at, (members & ~a8vlan::FixedBit(port)) | a8vlan::ForbiddenBit(port));
    } else if (const auto free = a8vlan::FirstFreeEntry(bytes)) {
      a8vlan::ClaimEntry(bytes, *free, vid, false, a8vlan::ForbiddenBit(port));
    }
  }
  return ItemStatus::kOk;
}

void GenA1Accessors::clearListTables(ConfigBlock& block) {
  trunkFlags_.fill(false);
  auto bytes = block.bytes();
  if (bytes.size() < vantrell::blockSize(Generation::kGenA1)) return;
  for (std::size_t n = 0; n < a1::kUnicastEntries; ++n) bytes[a1::UnicastEntry(n)] = 0;
  for (std::size_t n = 0; n < a1::kMulticastEntries; ++n) bytes[a1::MulticastEntry(n)] = 0;
  a8vlan::ClearTable(bytes);
}

bool GenA1Accessors::trunkFlag(int port) const {
  if (port < 1 || port > kPorts) return false;
  return trunkFlags_[static_cast<std::size_t>(port - 1)];
}

std::unique_ptr<ItemAccessors> MakeGenA1Accessors() { return std::make_unique<GenA1Accessors>(); }

}  // namespace vantrell
