#include "config/gen_a2_layout.h"

#include <algorithm>
#include <utility>

#include "config/config_item_ids.h"

namespace vantrell {
namespace gen_a2 {
namespace {

using namespace item;

constexpr int kMailRecipients = 4;
constexpr int kAccessEntries = 10;
constexpr int kTosEntries = 64;
constexpr int kCosClasses = 8;

// Texts: characters in slot bytes.
constexpr std::uint16_t kShortText = 30;
constexpr std::uint16_t kTextSlot = 40;
constexpr std::uint16_t kCommunitySlot = 32;
constexpr std::uint16_t kLongLocation = 80;
constexpr std::uint16_t kLongLocationSlot = 84;
constexpr std::uint16_t kSmtpText = 45;
constexpr std::uint16_t kSmtpTextSlot = 46;
constexpr std::uint16_t kSnmpText = 39;
constexpr std::uint16_t kNameFill = 32;  // the name is NUL-filled up to byte 31

// Offsets of the fields that are not tables.
constexpr std::uint32_t kFlagWord = 24;
constexpr std::uint32_t kAccessAddresses = 112;
constexpr std::uint32_t kAccessNetmasks = 152;
constexpr std::uint32_t kQosInspect = 756;
constexpr std::uint32_t kPortPriorities = 764;
constexpr std::uint32_t kCosMap = 772;
constexpr std::uint32_t kTosMap = 780;
constexpr std::uint32_t kPortLocks = 3404;
constexpr std::uint32_t kRateRecords = 3412;
constexpr std::uint32_t kEgressAt = 2;
constexpr std::uint32_t kMailTexts = 4996;
constexpr std::uint32_t kPortEvents = 5200;
constexpr std::uint32_t kPortLoads = 5208;
constexpr std::uint32_t kRelayEnableWord = 5332;
constexpr std::uint32_t kRelaySelectWord = 5336;
constexpr std::uint32_t kRelayPortEnable = 5340;
constexpr std::uint32_t kRelayPortSelect = 5348;
constexpr std::uint32_t kRelayPortLoads = 5356;
constexpr std::uint32_t kDeviceIps = 10044;
constexpr std::uint32_t kDeviceIpStride = 108;
constexpr std::uint32_t kSpanEnable = 11340;
constexpr std::uint32_t kSpanPriority = 11352;
constexpr std::uint32_t kSpanCost = 11364;
constexpr std::uint32_t kRedundancyWordAt = 11420;
/// Low nibble: admin data encryption enable; high nibble: the user's.
constexpr std::uint32_t kSnmpEncryptionEnable = 12277;

/// Relay word bits of the choices.
constexpr std::uint8_t kRelayPower1Bit = 4;
constexpr std::uint8_t kRelayPower2Bit = 5;
constexpr std::uint8_t kRelayDi1On2OffBit = 6;
constexpr std::uint8_t kRelayDi1Off2OnBit = 7;
constexpr std::uint8_t kRelayDi2On2OffBit = 8;
constexpr std::uint8_t kRelayDi2Off2OnBit = 9;
constexpr std::uint8_t kRelayPortTrafficBit = 2;

constexpr std::size_t kMaxFields = 420;

using Table = LayoutTable<kMaxFields>;

constexpr std::uint32_t PortRecord(int p) {
  return static_cast<std::uint32_t>(kPortRecords + kPortRecordSize * (p - 1));
}

constexpr void AddSystem(Table& t) {
  t.Add(D_CONF_ETH_MARK, U32Field(0));
  t.Add(D_CONF_ETH_IPADDR, Ipv4Field(12));
  t.Add(D_CONF_ETH_IPMASK, Ipv4Field(16));
  t.Add(D_CONF_ETH_GATEWAY, Ipv4Field(20));
  t.Add(D_CONF_ETH_FLAG_AUTOIP, ModeBitsField(kFlagWord));
  t.Add(D_CONF_ETH_FLAG_FASTRECOVERY, WordBitField(kFlagWord, 2));
  t.Add(D_CONF_ETH_FLAG_WEBA8, InvertedBitField(kFlagWord, 4));
  t.Add(D_CONF_ETH_FLAG_TELNETA8, InvertedBitField(kFlagWord, 5));
  t.Add(D_CONF_ETH_DNSSIP, Ipv4Field(28));
  t.Add(D_CONF_ETH_DNSSIP1, Ipv4Field(32));
  t.Add(D_CONF_SNMP_TRAPSERVER, TextField(36, kSnmpText, kTextSlot));
  t.Add(D_CONF_ETH_USERPWD, Blank16TerminatedField(76));
  t.Add(D_CONF_GRANTIP_INUSED, U32Field(108));
  for (int k = 1; k <= kAccessEntries; ++k) {
    const auto at = static_cast<std::uint32_t>(4 * (k - 1));
    t.Add(D_CONF_GRANTIP_IP1 + (k - 1),
          AccessEntryField(kAccessAddresses + at, kAccessNetmasks + at));
    t.Add(kGrantIpNetmask1 + (k - 1), AccessNetmaskField(kAccessNetmasks + at));
  }
  t.Add(D_CONF_SNMP_TRAPCOMM, TextField(192, kShortText, kCommunitySlot));
  t.Add(D_CONF_ETH_NAMEA8, TrimmedNameTextField(224, kShortText, kTextSlot, kNameFill));
  t.Add(D_CONF_ETH_LOCATIONA8, TextField(264, kLongLocation, kLongLocationSlot));
  t.Add(D_CONF_ETH_SYSDESCR, TextField(348, kShortText, kTextSlot));
  t.Add(D_CONF_ETH_CONTACT, TextField(388, kShortText, kTextSlot));
  t.Add(D_CONF_ETH_DTIME_PERIOD, U32Field(664));
  t.Add(D_CONF_ETH_DTIME_TZONE, U8Field(668));
  t.Add(D_CONF_ETH_DTIME_SRV1, Text40Field(672));
  t.Add(D_CONF_ETH_DTIME_SRV2, Text40Field(712));
  t.Add(kSpareWord104, U16Field(8504));
}

constexpr void AddQosAndRates(Table& t) {
  t.Add(D_CONF_QOS_SCHEDULE, U8Field(752));
  for (int p = 1; p <= kPorts; ++p) {
    const auto port = static_cast<std::uint32_t>(p - 1);
    t.Add(D_CONF_QOS_INSPECT1_TOS + port, NonzeroBitField(kQosInspect + port, 1, 0));
    t.Add(D_CONF_QOS_INSPECT1_COS + port, NonzeroBitField(kQosInspect + port, 1, 1));
    t.Add(D_CONF_QOS_PRIORITY1 + port, U8Field(kPortPriorities + port));
    t.Add(D_CONF_PORT_LOCK1 + port, U8Field(kPortLocks + port));
    t.Add(D_CONF_RATE_LIMIT_INGRESS_P1 + port, IngressRateField(kRateRecords + 4 * port));
    t.Add(D_CONF_RATE_LIMIT_ENGRESS_RATE1 + port,
          EgressRateIndexField(kRateRecords + 4 * port + kEgressAt));
  }
  for (int c = 0; c < kCosClasses; ++c) {
    t.Add(D_CONF_COSMAP0 + static_cast<ConfigItemId>(c),
          U8Field(kCosMap + static_cast<std::uint32_t>(c)));
  }
  for (int k = 1; k <= kTosEntries; ++k) {
    t.Add(TosMapEntry(k), U8Field(kTosMap + static_cast<std::uint32_t>(k - 1)));
  }
}

constexpr void AddPorts(Table& t) {
  t.Add(D_CONF_ETH_MIRROR_PORT, U8Field(3444));
  t.Add(D_CONF_ETH_TARGET_PORT, U8Field(3445));
  t.Add(D_CONF_ETH_MIRROR_DIR, U8Field(3446));
  for (int p = 1; p <= kPorts; ++p) {
    const std::uint32_t record = PortRecord(p);
    t.Add(PcfgDisable(p), InvertedDisableField(record));
    t.Add(PcfgFlag(p), TwoBitField(record + 1));
    t.Add(PcfgFdx(p), WordBitField(record + 1, 2));
    t.Add(PcfgSpeed(p), U8Field(record + 2));
    t.Add(D_CONF_ETH_PORTTRUNKING_P1 + static_cast<ConfigItemId>(p - 1),
          U8Field(record + static_cast<std::uint32_t>(kTrunkGroupAt)));
  }
}

constexpr void AddWarnings(Table& t) {
  t.Add(D_CONF_ETH_WARN_SMTPSrv, TextField(kMailTexts, kShortText, kTextSlot));
  for (int k = 1; k <= kMailRecipients; ++k) {
    t.Add(WarnTo(k),
          TextField(kMailTexts + kTextSlot * static_cast<std::uint32_t>(k), kShortText, kTextSlot));
  }
  t.Add(D_CONF_ETH_WARN_SFLAGA8, U32Field(5196));
  t.Add(D_CONF_ETH_WARN_SMTP_UNAME, TextField(5240, kSmtpText, kSmtpTextSlot));
  t.Add(D_CONF_ETH_WARN_SMTP_PASSWD, TextField(5286, kSmtpText, kSmtpTextSlot));
  t.Add(D_CONF_RELAY_SFLAG_NORMAL1, WordBitField(kRelayEnableWord, 0));
  t.Add(D_CONF_RELAY_SFLAG_NORMAL2, WordBitField(kRelayEnableWord, 1));
  const std::pair<ConfigItemId, std::uint8_t> relayChoices[] = {
      {D_CONF_ETH_RELAY_SFLAG_POWER1, kRelayPower1Bit},
      {D_CONF_ETH_RELAY_SFLAG_POWER2, kRelayPower2Bit},
      {D_CONF_RELAY_SFLAG_DI1_ON2OFF, kRelayDi1On2OffBit},
      {D_CONF_RELAY_SFLAG_DI1_OFF2ON, kRelayDi1Off2OnBit},
      {D_CONF_RELAY_SFLAG_DI2_ON2OFF, kRelayDi2On2OffBit},
      {D_CONF_RELAY_SFLAG_DI2_OFF2ON, kRelayDi2Off2OnBit},
  };
  for (const auto& [id, bit] : relayChoices) {
    t.Add(id, RelayChoiceField(kRelayEnableWord, kRelaySelectWord, bit, 4));
  }
  for (int p = 1; p <= kPorts; ++p) {
    const auto port = static_cast<std::uint32_t>(p - 1);
    t.Add(WarnPortFlag(p), U8Field(kPortEvents + port));
    t.Add(WarnPortLoad(p), Lo16Field(kPortLoads + 4 * port));
    t.Add(WarnPortLoadTime(p), Hi16Field(kPortLoads + 4 * port));
    t.Add(RelayPortLink(p), LinkChoiceField(kRelayPortEnable + port, kRelayPortSelect + port));
    t.Add(RelayPortTraffic(p), RelayChoiceField(kRelayPortEnable + port, kRelayPortSelect + port,
                                                kRelayPortTrafficBit, 1));
    t.Add(RelayPortLoad(p), Lo16Field(kRelayPortLoads + 4 * port));
    t.Add(RelayPortLoadTime(p), Hi16Field(kRelayPortLoads + 4 * port));
  }
}

constexpr void AddRedundancy(Table& t) {
  // Ring ports and coupling: any byte value is stored.
  t.Add(D_CONF_ETH_REDUN_PORT1, U8Field(4988));
  t.Add(D_CONF_ETH_REDUN_PORT2, U8Field(4989));
  t.Add(D_CONF_ETH_REDUN_COUPLING, U8Field(4990));
  t.Add(D_CONF_ETH_REDUN_CPL_CTRLPORT, U8Field(4991));
  t.Add(D_CONF_ETH_REDUN_CPL_PORT, U8Field(4992));
  for (int k = 1; k <= kLogicalPorts; ++k) {
    const auto at = static_cast<std::uint32_t>(k - 1);
    t.Add(D_CONF_ETH_PCFG_DEVIP1 + at, Ipv4Field(kDeviceIps + kDeviceIpStride * at));
    t.Add(D_CONF_ETH_SPAN_PORT1_EN + at, U8Field(kSpanEnable + at));
    t.Add(D_CONF_ETH_SPAN_PORT1_ID + at, PriorityTimes16Field(kSpanPriority + at));
    t.Add(D_CONF_ETH_SPAN_PATH1_COST + at, U32Field(kSpanCost + 4 * at));
  }
  t.Add(D_CONF_ETH_SPAN_HELLO_TIME, Times100Field(11412));
  t.Add(D_CONF_ETH_SPAN_MAX_AGE, Times100Field(11414));
  t.Add(D_CONF_ETH_SPAN_FD_DELAY, Times100Field(11416));
  // The whole word; the priority lies in bits 12-15.
  t.Add(D_CONF_ETH_SPAN_BRIDGE_ID, U16Field(11418));
  t.Add(D_CONF_ETHA8_REDUN_PROTOCOL, StrictBitField(kRedundancyWordAt, 1));
  t.Add(D_CONF_ETH_REDUN_MASTER, StrictBitField(kRedundancyWordAt, 4));
  t.Add(D_CONF_IGMPSNOOP_ENABLE, NonzeroBitField(11440, 2, 15));
  t.Add(D_CONF_IGMPSNOOP_QUERY_PERIDO, CheckedU16Field(11442, 20, 600));
}

constexpr void AddSnmp(Table& t) {
  t.Add(D_CONF_SNMP_V1V2CROCOMM, TextField(12212, kShortText, kCommunitySlot));
  t.Add(D_CONF_SNMP_V1V2CRWCOMM, TextField(12244, kShortText, kCommunitySlot));
  t.Add(D_CONF_SNMP_VERSION, SnmpVersionField(12276));
  t.Add(D_CONF_SNMP_V3AADEE, NibbleField(kSnmpEncryptionEnable));
  t.Add(D_CONF_SNMP_V3UADEE, UpperNibbleField(kSnmpEncryptionEnable));
  t.Add(D_CONF_SNMP_V3AAUTHTYPE, CheckedU8Field(12278, 0, 2));
  t.Add(D_CONF_SNMP_V3UAUTHTYPE, CheckedU8Field(12279, 0, 2));
  t.Add(D_CONF_SNMP_V3ADATAENCR, TextField(12280, kSnmpText, kTextSlot));
  t.Add(D_CONF_SNMP_V3UDATAENCR, TextField(12320, kSnmpText, kTextSlot));
}

/// The VLAN items keep up the VLAN table, so they are the accessors' code.
constexpr void AddVlan(Table& t) {
  for (ConfigItemId id = D_CONF_VLAN_TYPE1; id <= D_CONF_VLAN_FRBVID8; ++id) t.AddHook(id);
  t.AddHook(D_CONF_VLAN_SYS_VID);
}

constexpr Table BuildLayout() {
  Table t;
  AddSystem(t);
  AddQosAndRates(t);
  AddPorts(t);
  AddWarnings(t);
  AddRedundancy(t);
  AddSnmp(t);
  AddVlan(t);
  return t;
}

constexpr Table kLayout = BuildLayout();
static_assert(kLayout.Inside(kBlockSize));

std::size_t UnicastOffset(std::size_t n) { return kUnicastTable + kUnicastEntrySize * n; }
std::size_t MulticastOffset(std::size_t n) { return kMulticastTable + kMulticastEntrySize * n; }
std::size_t IgmpOffset(std::size_t n) { return kIgmpTable + kIgmpEntrySize * n; }

template <std::size_t N>
void CopyMac(ConstBlockBytes block, std::size_t offset, std::array<std::uint8_t, N>& mac) {
  std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(offset), N, mac.begin());
}

void StoreMac(BlockBytes block, std::size_t offset, const std::array<std::uint8_t, 6>& mac) {
  std::copy(mac.begin(), mac.end(), block.begin() + static_cast<std::ptrdiff_t>(offset));
}

/// The VLAN item of a port: its port number and which of the four it is
/// (0 type, 1 PVID, 2 fixed list, 3 forbidden list).
struct VlanItem {
  int port;
  int which;
};
std::optional<VlanItem> VlanItemOf(ConfigItemId id) {
  if (id < D_CONF_VLAN_TYPE1 || id > D_CONF_VLAN_FRBVID8) return std::nullopt;
  const auto offset = static_cast<int>(id - D_CONF_VLAN_TYPE1);
  return VlanItem{offset / 4 + 1, offset % 4};
}

enum VlanItemKind { kVlanType = 0, kVlanPvid = 1, kVlanFixed = 2, kVlanForbidden = 3 };

}  // namespace

std::span<const ItemField> Layout() { return kLayout.view(); }

std::optional<UnicastEntry> ReadUnicastEntry(ConstBlockBytes block, std::size_t n) {
  if (n >= kUnicastEntries || !FieldFits(block.size(), UnicastOffset(n), kUnicastEntrySize)) {
    return std::nullopt;
  }
  const std::size_t at = UnicastOffset(n);
  UnicastEntry entry;
  entry.used = block[at] != 0;
  entry.portIndex = block[at + 1];
  CopyMac(block, at + 2, entry.mac);
  entry.priority = block[at + 8];
  return entry;
}

std::optional<MulticastEntry> ReadMulticastEntry(ConstBlockBytes block, std::size_t n) {
  if (n >= kMulticastEntries || !FieldFits(block.size(), MulticastOffset(n), kMulticastEntrySize)) {
    return std::nullopt;
  }
  const std::size_t at = MulticastOffset(n);
  MulticastEntry entry;
  entry.used = ReadU16(block, at).value_or(0) != 0;
  CopyMac(block, at + 2, entry.mac);
  entry.portMask = ReadU32(block, at + 8).value_or(0);
  return entry;
}

namespace {

/// The slot a Put fills for `mac` in a table of 12-byte entries (used flag
/// of `usedBytes` at +0, MAC at +2): the used entry holding the MAC, else
/// the first free one; nothing when neither exists or an entry outside the
/// block comes first. Reads the bytes in place, as each of up to 128 puts
/// of a file scans the whole table.
std::optional<std::size_t> SlotForMac(ConstBlockBytes block, std::size_t table, std::size_t entries,
                                      std::size_t usedBytes,
                                      const std::array<std::uint8_t, 6>& mac) {
  const std::uint32_t macHead = LoadLe32(mac.data());
  const std::uint16_t macTail = LoadLe16(mac.data() + 4);
  // The entries that lie in the block; the scan meets the first one outside.
  const std::size_t inBlock =
      block.size() <= table ? 0 : std::min(entries, (block.size() - table) / kUnicastEntrySize);
  const auto entryAt = [&](std::size_t n) { return block.data() + table + kUnicastEntrySize * n; };
  const auto used = [&](const std::uint8_t* entry) {
    return entry[0] != 0 || (usedBytes > 1 && entry[1] != 0);
  };
  const auto holdsMac = [&](const std::uint8_t* entry) {
    return LoadLe32(entry + 2) == macHead && LoadLe16(entry + 6) == macTail && used(entry);
  };
  // Up to the first free entry, then, with the slot known, only the MAC counts.
  std::size_t n = 0;
  for (; n < entries; ++n) {
    if (n == inBlock) return std::nullopt;
    const std::uint8_t* entry = entryAt(n);
    if (!used(entry)) break;
    if (holdsMac(entry)) return n;
  }
  if (n == entries) return std::nullopt;
  const std::size_t slot = n;
  for (++n; n < entries; ++n) {
    if (n == inBlock) return std::nullopt;
    if (holdsMac(entryAt(n))) return n;
  }
  return slot;
}
static_assert(kMulticastEntrySize == kUnicastEntrySize);

}  // namespace

bool PutUnicastEntry(BlockBytes block, const std::array<std::uint8_t, 6>& mac,
                     std::uint8_t portIndex, std::uint8_t priority) {
  const auto slot = SlotForMac(block, UnicastOffset(0), kUnicastEntries, 1, mac);
  if (!slot) return false;
  const std::size_t at = UnicastOffset(*slot);
  block[at] = kEntryUsed;
  block[at + 1] = portIndex;
  StoreMac(block, at + 2, mac);
  block[at + 8] = priority;
  return true;
}

bool PutMulticastEntry(BlockBytes block, const std::array<std::uint8_t, 6>& mac,
                       std::uint32_t portMask) {
  const auto slot = SlotForMac(block, MulticastOffset(0), kMulticastEntries, 2, mac);
  if (!slot) return false;
  const std::size_t at = MulticastOffset(*slot);
  WriteU16(block, at, kEntryUsed);
  StoreMac(block, at + 2, mac);
  WriteU32(block, at + 8, portMask);
  return true;
}

bool PutIgmpEntry(BlockBytes block, std::size_t n, const IgmpEntry& entry) {
  if (n >= kIgmpEntries || !FieldFits(block.size(), IgmpOffset(n), kIgmpEntrySize)) return false;
  const std::size_t at = IgmpOffset(n);
  std::uint16_t word = ReadU16(block, at).value_or(0);
  word &= static_cast<std::uint16_t>(~(kIgmpVidMask | kIgmpSnoopingBit | kIgmpQuerierBit));
  word |= static_cast<std::uint16_t>(entry.vid & kIgmpVidMask);
  if (entry.snooping) word |= kIgmpSnoopingBit;
  if (entry.querier) word |= kIgmpQuerierBit;
  WriteU16(block, at, word);
  WriteU16(block, at + 2, entry.routerPorts);
  return true;
}

std::optional<std::uint8_t> TrunkGroupOf(ConstBlockBytes block, int port) {
  if (port < 1 || port > kPorts) return std::nullopt;
  return ReadU8(block, TrunkGroupOffset(port));
}

bool TrunkingActive(ConstBlockBytes block) {
  for (int p = 1; p <= kPorts; ++p) {
    if (TrunkGroupOf(block, p).value_or(0) != 0) return true;
  }
  return false;
}

void ClearListTables(BlockBytes block, ClearScope scope) {
  for (std::size_t n = 0; n < kMulticastEntries; ++n) WriteU16(block, MulticastOffset(n), 0);
  if (scope == ClearScope::kMulticastOnly) return;
  for (std::size_t n = 0; n < kUnicastEntries; ++n) WriteU8(block, UnicastOffset(n), 0);
  if (scope == ClearScope::kAllLists) a8vlan::ClearTable(block);
}

ItemStatus ApplyVidList(BlockBytes block, int port, a8vlan::Membership which,
                        std::string_view text) {
  using namespace a8vlan;
  if (port < 1 || port > kPorts) return ItemStatus::kNotHandled;
  const auto word = ReadU32(block, PortWordOffset(port));
  if (!word || !FieldFits(block.size(), EntryOffset(kEntries - 1), kEntrySize)) {
    return ItemStatus::kOutsideBlock;
  }
  if (*word & kAccessTypeBit) return ItemStatus::kOk;  // only trunk ports carry lists
  const auto vids = ParseVidList(text);
  if (!vids) return ItemStatus::kOk;
  const std::uint32_t pvid = *word & kPvidMask;
  const bool fixed = which == Membership::kFixed;
  const std::uint32_t portBit = fixed ? FixedBit(port) : ForbiddenBit(port);
  for (const std::uint16_t vid : *vids) {
    if (vid == pvid) break;
    if (const auto entry = FindValidEntry(block, vid)) {
      const std::size_t membershipAt = EntryOffset(*entry) + kMembershipAt;
      const std::uint32_t membership = ReadU32(block, membershipAt).value_or(0);
      if (fixed && (membership & ForbiddenBit(port))) break;
      WriteU32(block, membershipAt, membership | portBit);
      continue;
    }
    const auto free = FirstFreeEntry(block);
    if (!free) continue;  // no room: the VID is dropped
    const std::uint32_t membership =
        ReadU32(block, EntryOffset(*free) + kMembershipAt).value_or(0) | portBit;
    ClaimEntry(block, *free, vid, fixed, membership);
  }
  return ItemStatus::kOk;
}

}  // namespace gen_a2

using namespace item;

std::optional<std::string> GenA2Accessors::TakeReaderNotice() {
  auto notice = std::move(notice_);
  notice_.reset();
  return notice;
}

GenA2Accessors::GenA2Accessors()
    : LayoutAccessors(Generation::kGenA2, gen_a2::Layout(), TextRule::kTrimBlanksCrNuls) {}

ItemStatus GenA2Accessors::GetHook(const ConfigBlock& block, const ItemField& row, std::size_t,
                                   ItemValue& out) const {
  const ConfigItemId id = row.id;
  const ConstBlockBytes bytes = block.bytes();
  if (const auto vlan = gen_a2::VlanItemOf(id)) {
    const auto word = ReadU32(bytes, a8vlan::PortWordOffset(vlan->port));
    if (!word ||
        !FieldFits(bytes.size(), a8vlan::EntryOffset(a8vlan::kEntries - 1), a8vlan::kEntrySize)) {
      return ItemStatus::kOutsideBlock;
    }
    switch (vlan->which) {
      case gen_a2::kVlanType:
        out = (*word & a8vlan::kAccessTypeBit) ? 1u : 0u;
        break;
      case gen_a2::kVlanPvid:
        out = *word & a8vlan::kPvidMask;
        break;
      case gen_a2::kVlanFixed:
        out = a8vlan::FormatVidList(bytes, vlan->port, a8vlan::Membership::kFixed);
        break;
      default:
        out = a8vlan::FormatVidList(bytes, vlan->port, a8vlan::Membership::kForbidden);
        break;
    }
    return ItemStatus::kOk;
  }
  if (id == D_CONF_VLAN_SYS_VID) {
    const auto vid = ReadU16(bytes, a8vlan::kManagementVid);
    if (!vid) return ItemStatus::kOutsideBlock;
    out = std::uint32_t{*vid};
    return ItemStatus::kOk;
  }
  return ItemStatus::kNotHandled;
}

ItemStatus GenA2Accessors::SetHook(ConfigBlock& block, const ItemField& row, std::size_t,
                                   const ItemValue& value, const SetItemContext&) {
  const ConfigItemId id = row.id;
  const BlockBytes bytes = block.bytes();
  if (const auto vlan = gen_a2::VlanItemOf(id)) {
    const std::size_t wordAt = a8vlan::PortWordOffset(vlan->port);
    if (!FieldFits(bytes.size(), a8vlan::EntryOffset(a8vlan::kEntries - 1), a8vlan::kEntrySize) ||
        !FieldFits(bytes.size(), wordAt, 4)) {
      return ItemStatus::kOutsideBlock;
    }
    const auto* number = std::get_if<std::uint32_t>(&value);
    const auto* text = std::get_if<std::string>(&value);
    switch (vlan->which) {
      case gen_a2::kVlanType:
        if (!number) return ItemStatus::kWrongKind;
        return WriteNonzeroBit(bytes, wordAt, 4, 12, *number);
      case gen_a2::kVlanPvid:
        if (!number) return ItemStatus::kWrongKind;
        return a8vlan::WritePvid(bytes, vlan->port, *number);
      default:
        if (!text) return ItemStatus::kWrongKind;
        return gen_a2::ApplyVidList(bytes, vlan->port,
                                    vlan->which == gen_a2::kVlanFixed
                                        ? a8vlan::Membership::kFixed
                                        : a8vlan::Membership::kForbidden,
                                    *text);
    }
  }
  if (id == D_CONF_VLAN_SYS_VID) {
    const auto* number = std::get_if<std::uint32_t>(&value);
    if (!number) return ItemStatus::kWrongKind;
    return a8vlan::WriteManagementVid(bytes, *number);
  }
  return ItemStatus::kNotHandled;
}

std::unique_ptr<ItemAccessors> MakeGenA2Accessors() { return std::make_unique<GenA2Accessors>(); }

std::optional<std::string> TakeGenA2ReaderNotice(ItemAccessors& accessors) {
  auto* genA2 = dynamic_cast<GenA2Accessors*>(&accessors);
  if (!genA2) return std::nullopt;
  return genA2->TakeReaderNotice();
}

}  // namespace vantrell
