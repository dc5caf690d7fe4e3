#include "config/gen_m1_block.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "config/block_encodings.h"
#include "config/config_item_ids.h"

namespace vantrell {
namespace gen_m1 {
namespace {

using namespace item;

// Text fields: most are 30 characters in 40 bytes.
constexpr std::uint16_t kText30 = 30;
constexpr std::uint16_t kSlot40 = 40;
constexpr std::uint16_t kSlot32 = 32;
constexpr std::uint16_t kNameFill = 32;  // the switch name is NUL-filled up to byte 31
constexpr auto kPorts = static_cast<std::uint16_t>(kPortCount);

// The flag word at 24.
constexpr unsigned kFastRecoveryBit = 2;
constexpr unsigned kWebOffBit = 4;
constexpr unsigned kTelnetOffBit = 5;
constexpr unsigned kResetPasswordOffBit = 6;
constexpr unsigned kCfOperationBit = 7;
constexpr unsigned kCfConfigBit = 8;
constexpr unsigned kCfFirmwareBit = 9;

// Per-port bytes and records.
constexpr std::size_t kQosPortBytes = 865;  // bit 0 inspect ToS, bit 1 inspect CoS
constexpr std::uint8_t kInspectTos = 0x01;
constexpr std::uint8_t kInspectCosBit = 1;
constexpr std::size_t kRecordDisable = 0;
constexpr std::size_t kRecordFlags = 1;
constexpr std::size_t kRecordSpeed = 2;
constexpr std::size_t kRecordGroup = 3;
constexpr std::uint8_t kFlowControl = 0x04;
constexpr std::uint8_t kLacp = 0x08;
constexpr std::uint32_t kMaxSpeed = 6;

// Relays.
constexpr std::size_t kRelayEnableWord = 5472;
constexpr std::size_t kRelaySelectWord = 5476;
constexpr std::size_t kRelayPortEnable = 5480;
constexpr std::size_t kRelayPortSelect = 5510;
constexpr std::uint8_t kRelayPortTrafficBit = 2;

// Spanning tree, redundancy, multicast, SNMP, the last switches.
constexpr std::size_t kRedundancyWord = 15608;
constexpr std::uint8_t kProtocolBit = 1;
constexpr std::uint8_t kMasterBit = 4;
constexpr std::size_t kIgmpEnableWord = 15644;
constexpr unsigned kIgmpEnableBit = 15;
constexpr std::size_t kSnmpVersion = 16992;
constexpr std::size_t kEncryptionNibbles = 16993;
constexpr std::size_t kAdminAuthType = 16994;
constexpr std::size_t kUserAuthType = 16995;
constexpr std::size_t kGmrpBytes = 20784;
constexpr std::size_t kBspWord = 21008;
constexpr std::uint32_t kBspBits = 0x3;
constexpr unsigned kIncludeMulticastBit = 2;
constexpr std::size_t kMfbModeBytes = 21012;
constexpr std::size_t kManagementVlan = 682;
constexpr std::size_t kTimeServers = 784;
constexpr std::uint16_t kAccessEntries = 10;

// 802.1X users: name 30 in 40 at +0, password 16 in 20 at +40,
// description 30 in 40 at +60.
constexpr std::size_t kUserPasswordAt = 40;
constexpr std::size_t kUserDescriptionAt = 60;

constexpr std::uint32_t At(std::size_t offset) { return static_cast<std::uint32_t>(offset); }
constexpr std::uint16_t Stride(std::size_t bytes) { return static_cast<std::uint16_t>(bytes); }

using Table = LayoutTable<160>;

/// Fields that the common encodings serve alone.
constexpr void AddPlainFields(Table& t) {
  t.AddSingle(D_CONF_ETH_IPADDR, Ipv4Field(12));
  t.AddSingle(D_CONF_ETH_IPMASK, Ipv4Field(16));
  t.AddSingle(D_CONF_ETH_GATEWAY, Ipv4Field(20));
  t.AddSingle(D_CONF_ETH_DNSSIP, Ipv4Field(28));
  t.AddSingle(D_CONF_ETH_DNSSIP1, Ipv4Field(32));
  t.AddSingle(kM1TrapServer, TextField(36, kText30, kSlot40));
  t.AddSingle(kM1TrapCommunity, TextField(kTrapCommunity, kText30, kSlot32));
  t.AddSingle(D_CONF_ETH_NAMEA8, TrimmedNameTextField(140, kText30, kSlot40, kNameFill));
  t.AddSingle(D_CONF_ETH_LOCATION, TextField(180, 80, 81));
  t.AddSingle(D_CONF_ETH_SYSDESCRA8, TextField(261, kText30, kSlot40));
  t.AddSingle(D_CONF_ETH_CONTACTA8, TextField(301, kText30, kSlot40));
  t.AddList(kM1CosMap, U8Field(573), 1, 8);
  t.AddList(kM1TosMap, U8Field(581), 1, 64);
  t.AddSingle(D_CONF_ETH_MIRROR_PORT, U8Field(645));
  t.AddSingle(D_CONF_ETH_TARGET_PORT, U8Field(646));
  t.AddSingle(D_CONF_ETH_MIRROR_DIR, U8Field(647));
  t.AddSingle(D_CONF_GRANTIP_INUSED, U32Field(688));
  t.AddList(kM1AccessIpNetmask, Ipv4Field(kAccessNetmasks), 4, 10);
  t.AddSingle(D_CONF_ETH_DTIME_PERIOD, U32Field(776));
  t.AddSingle(D_CONF_ETH_DTIME_TZONE, U8Field(780));
  t.AddSingle(D_CONF_QOS_SCHEDULE, U8Field(864));
  t.AddList(kM1PortPriority, U8Field(895), 1, kPortCount);
  t.AddSingle(D_CONF_ETH_REDUN_PORT1, U8Field(5016));
  t.AddSingle(D_CONF_ETH_REDUN_PORT2, U8Field(5017));
  t.AddSingle(kM1Coupling, U8Field(5018));
  t.AddSingle(kM1ControlPort, U8Field(5019));
  t.AddSingle(kM1CouplingPort, U8Field(5020));
  t.AddSingle(D_CONF_ETH_WARN_SMTPSrv, TextField(5024, kText30, kSlot40));
  t.AddList(kM1EmailAddress, TextField(5064, kText30, kSlot40), 40, 4);
  t.AddSingle(D_CONF_ETH_WARN_SMTP_UNAME, TextField(5224, 45, 46));
  t.AddSingle(D_CONF_ETH_WARN_SMTP_PASSWD, TextField(5270, 45, 46));
  t.AddList(kM1EwPortEvents, U8Field(5316), 1, kPortCount);
  t.AddSingle(D_CONF_ETH_WARN_SFLAGA8, U32Field(5348));
  t.AddList(kM1EwTrafThreshold, Lo16Field(5352), 4, kPortCount);
  t.AddList(kM1EwTrafDuration, Hi16Field(5352), 4, kPortCount);
  t.AddList(kM1RwTrafThreshold, Lo16Field(5540), 4, kPortCount);
  t.AddList(kM1RwTrafDuration, Hi16Field(5540), 4, kPortCount);
  t.AddList(kM1DeviceIp, Ipv4Field(12180), 108, kPortCount);
  t.AddList(kM1StpEnable, U8Field(15420), 1, kPortCount);
  t.AddList(kM1StpId, U8Field(15450), 1, kPortCount);
  t.AddList(kM1StpCost, U32Field(15480), 4, kPortCount);
  t.AddSingle(D_CONF_ETH_SPAN_HELLO_TIME, Times100Field(15600));
  t.AddSingle(D_CONF_ETH_SPAN_MAX_AGE, Times100Field(15602));
  t.AddSingle(D_CONF_ETH_SPAN_FD_DELAY, Times100Field(15604));
  t.AddSingle(kM1BridgeId, U16Field(15606));
  t.AddSingle(kM1QueryPeriod, U16Field(15646));
  t.AddSingle(kM1ReadCommunity, TextField(16928, kText30, kSlot32));
  t.AddSingle(kM1ReadWriteCommunity, TextField(16960, kText30, kSlot32));
  t.AddSingle(kM1AdminDataEncryption, TextField(16996, kText30, kSlot40));
  t.AddSingle(kM1UserDataEncryption, TextField(17036, kText30, kSlot40));
  t.AddSingle(kM1Dot1xDataBase, U8Field(17076));
  t.AddSingle(kM1Dot1xReAuthPeriod, U16Field(17088));
  t.AddSingle(kM1Dot1xReAuth, U8Field(17093));
  // Physical ports only: the entries of the trunk indices would lie in
  // the first 802.1X user record.
  t.AddList(kM1Dot1xEnable, U8Field(17096), 4, kPhysicalPorts);
  t.AddSingle(kM1RadiusServer, TextField(20532, kText30, kSlot40));
  t.AddSingle(kM1RadiusSerKey, TextField(20572, kText30, kSlot40));
  t.AddSingle(kM1RadiusSerPort, U16Field(20692));
  // Physical ports only: the trunk indices would reach the words at 21008.
  t.AddList(kM1RliSet, U8Field(20904), 4, kPhysicalPorts);
}

/// The flag word at 24: list index 0 only.
constexpr void AddFlagWord(Table& t) {
  t.AddSingle(kIpConfigMode, ModeBitsField(At(kFlagWord)));
  t.AddSingle(kM1FastRecovery, NonzeroBitField(At(kFlagWord), 4, kFastRecoveryBit));
  t.AddSingle(D_CONF_ETH_FLAG_WEBA8, InvertedBitField(At(kFlagWord), kWebOffBit));
  t.AddSingle(kM1WebConfig, InvertedBitField(At(kFlagWord), kWebOffBit));
  t.AddSingle(D_CONF_ETH_FLAG_TELNETA8, InvertedBitField(At(kFlagWord), kTelnetOffBit));
  t.AddSingle(kM1TelnetConsole, InvertedBitField(At(kFlagWord), kTelnetOffBit));
  t.AddSingle(kM1ResetPasswdEn, InvertedBitField(At(kFlagWord), kResetPasswordOffBit));
  t.AddSingle(kM1CfOperationEn, StrictBitField(At(kFlagWord), kCfOperationBit));
  t.AddSingle(kM1CfConfigEn, StrictBitField(At(kFlagWord), kCfConfigBit));
  t.AddSingle(kM1CfFirmEn, StrictBitField(At(kFlagWord), kCfFirmwareBit));
}

/// The port records of 68 bytes, one per port index. The trunk type is read
/// through the trunk entry of the port's group and storing a trunk group
/// enables that entry: both are the accessors' code.
constexpr void AddPortRecords(Table& t) {
  const std::uint32_t record = At(kPortRecords);
  const std::uint16_t size = Stride(kPortRecordSize);
  t.AddList(kM1PortEnable, InvertedDisableField(record + kRecordDisable), size, kPorts);
  t.AddList(kM1PortMdi, TwoBitField(At(record + kRecordFlags)), size, kPorts);
  t.AddList(kM1PortFdx, FlagBitsField(At(record + kRecordFlags), 1, kFlowControl), size, kPorts);
  t.AddList(kM1PortSpeed, CheckedU8Field(At(record + kRecordSpeed), 0, kMaxSpeed), size, kPorts);
  t.AddHook(kM1PortTrunkGroup, kPorts);
  t.AddHook(kM1PortTrunkType, kPorts);
}

/// Settings whose encodings need more than one offset or a rule of their
/// own; these ignore the list index unless they are lists.
constexpr void AddSettings(Table& t) {
  t.AddList(kPasswordField, Blank16TerminatedField(At(kUserPassword)),
            Stride(kAdminPassword - kUserPassword), 2);
  t.AddList(kM1AccessIp, AccessEntryNumberField(At(kAccessAddresses), At(kAccessNetmasks)), 4,
            kAccessEntries);
  t.Add(D_CONF_ETH_DTIME_SRV1, SlotReadTextField(At(kTimeServers), kText30, kSlot40));
  t.Add(D_CONF_ETH_DTIME_SRV2, SlotReadTextField(At(kTimeServers + kSlot40), kText30, kSlot40));
  t.AddList(kM1InspectCos, NonzeroBitField(At(kQosPortBytes), 1, kInspectCosBit), 1, kPorts);
  t.AddList(kM1VlanType, NonzeroBitField(At(kVlanPortWords), 4, 12), 4, kPorts);
  t.Add(kM1Relay1Override, WordBitField(At(kRelayEnableWord), 0));
  t.Add(kM1Relay2Override, WordBitField(At(kRelayEnableWord), 1));
  // Power inputs and digital inputs: bits 4 to 9 of the relay words.
  for (ConfigItemId id = kM1PowerInput1Failure; id <= kM1RwDi2F2N; ++id) {
    const auto bit = static_cast<std::uint8_t>(4 + (id - kM1PowerInput1Failure));
    t.Add(id, RelayChoiceField(At(kRelayEnableWord), At(kRelaySelectWord), bit, 4));
  }
  t.AddList(kM1RwPortLink, LinkChoiceField(At(kRelayPortEnable), At(kRelayPortSelect)), 1, kPorts);
  t.AddList(kM1RwPortTraf,
            RelayChoiceField(At(kRelayPortEnable), At(kRelayPortSelect), kRelayPortTrafficBit, 1),
            1, kPorts);
  t.Add(D_CONF_ETH_REDUN_PROTOCOL, StrictBitField(At(kRedundancyWord), kProtocolBit));
  t.Add(D_CONF_ETH_REDUN_MASTER, StrictBitField(At(kRedundancyWord), kMasterBit));
  t.Add(D_CONF_IGMPSNOOP_ENABLE, WordBitField(At(kIgmpEnableWord), kIgmpEnableBit));
  t.Add(D_CONF_SNMP_VERSION, SnmpVersionField(At(kSnmpVersion)));
  t.Add(D_CONF_SNMP_V3AADEE, NibbleField(At(kEncryptionNibbles), 1));
  t.Add(D_CONF_SNMP_V3UADEE, UpperNibbleField(At(kEncryptionNibbles), 1));
  t.Add(kM1AdminAuthType, CheckedU8Field(At(kAdminAuthType), 0, 2));
  t.Add(kM1UserAuthType, CheckedU8Field(At(kUserAuthType), 0, 2));
  t.AddList(kM1Dot1xDbPasswd, TextField(At(kDot1xUsers + kUserPasswordAt), 16, 20),
            Stride(kDot1xUserSize), kDot1xUserCount);
  t.AddList(kM1Dot1xDbDesr, TextField(At(kDot1xUsers + kUserDescriptionAt), kText30, kSlot40),
            Stride(kDot1xUserSize), kDot1xUserCount);
  t.AddList(kM1GmrpEnable, BoolByteField(At(kGmrpBytes)), 4, kPorts);
  t.Add(kM1BspEnable, FlagBitsField(At(kBspWord), 4, kBspBits));
  t.Add(kM1IncludeMulticast, WordBitField(At(kBspWord), kIncludeMulticastBit));
  t.AddList(kM1MfbMode, CheckedU8Field(At(kMfbModeBytes), 1, 3), 4, kPorts);
}

/// The items that are code: ToS inspection by port group, the VLAN items
/// (they keep up the VLAN table) and the 802.1X user name (it marks its
/// record used).
constexpr void AddHooks(Table& t) {
  t.AddHook(kM1InspectTosPortGroup, 5);
  t.AddHook(D_CONF_VLAN_SYS_VID);
  t.AddHook(kM1VlanPvid, kPorts);
  t.AddHook(kM1FixVid, kPorts);
  t.AddHook(kM1FrbVid, kPorts);
  t.AddHook(kM1Dot1xDbUser, kDot1xUserCount);
}

constexpr Table BuildLayout() {
  Table t;
  AddPlainFields(t);
  AddFlagWord(t);
  AddPortRecords(t);
  AddSettings(t);
  AddHooks(t);
  return t;
}

constexpr Table kLayout = BuildLayout();
static_assert(kLayout.Inside(kBlockSize));

std::size_t RecordOffset(std::size_t port) { return kPortRecords + port * kPortRecordSize; }

std::optional<std::uint32_t> ByteBit(const ConfigBlock& block, std::size_t offset,
                                     std::uint8_t mask) {
  return ReadFlagBits(block.bytes(), offset, 1, mask);
}

ItemStatus SetByteBits(ConfigBlock& block, std::size_t offset, std::uint8_t mask, bool on) {
  return WriteMaskedU8(block.bytes(), offset, mask, on ? mask : 0);
}

// --- Port records and trunks ----------------------------------------------

ItemStatus GetTrunkType(const ConfigBlock& block, std::size_t port, ItemValue& out) {
  // The type shown is that of the trunk entry record 25 + g of the port's
  // group g; a port in no group (0) shows G-2's record's bit.
  const auto group = ReadU8(block.bytes(), RecordOffset(port) + kRecordGroup);
  if (!group) return ItemStatus::kOutsideBlock;
  if (*group > kTrunkGroups) {  // past the trunk records
    out = 0u;
    return ItemStatus::kOk;
  }
  const std::size_t entry = kFirstTrunkEntry - 1 + *group;
  return NumberInto(ByteBit(block, RecordOffset(entry) + kRecordFlags, kLacp), out);
}

ItemStatus SetTrunkGroup(ConfigBlock& block, std::size_t port, std::uint32_t value) {
  if (value > kTrunkGroups) return ItemStatus::kOutOfRange;
  if (!WriteU8(block.bytes(), RecordOffset(port) + kRecordGroup,
               static_cast<std::uint8_t>(value))) {
    return ItemStatus::kOutsideBlock;
  }
  if (value >= 1) {
    const std::size_t entry = kFirstTrunkEntry - 1 + value;
    WriteU8(block.bytes(), RecordOffset(entry) + kRecordDisable, 0);
  }
  return ItemStatus::kOk;
}

// --- ToS inspection by port group -------------------------------------

/// First port index and count of ToS group n (0..4).
std::pair<std::size_t, std::size_t> TosGroupPorts(std::size_t n) {
  if (n < 3) return {8 * n, 8};
  return {kModulePorts + (n - 3), 1};
}

// --- VLAN table ----------------------------------------------------------

std::size_t VlanEntryOffset(std::size_t v) { return kVlanTable + v * kVlanEntrySize; }

/// Reads a VID list text: numbers of decimal digits separated by anything
/// else. Nothing when a number is outside 1..4094.
std::optional<std::vector<std::uint16_t>> ParseVidList(std::string_view text) {
  std::vector<std::uint16_t> vids;
  std::uint32_t number = 0;
  int digits = 0;
  const auto finish = [&]() -> bool {
    if (digits == 0) return true;
    const bool ok = number >= 1 && number <= 4094;
    if (ok) vids.push_back(static_cast<std::uint16_t>(number));
    number = 0;
    digits = 0;
    return ok;
  };
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      if (digits < 7)
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
      else
        number = 0xFFFFFFFF / 2;  // too long: refused below
      ++digits;
    } else if (!finish()) {
      return std::nullopt;
    }
  }
  if (!finish()) return std::nullopt;
  return vids;
}

ItemStatus GetVidList(const ConfigBlock& block, std::size_t port, std::uint8_t memberBit,
                      ItemValue& out) {
  if (!FieldFits(block.size(), kVlanTable, kVlanEntries * kVlanEntrySize)) {
    return ItemStatus::kOutsideBlock;
  }
  std::vector<std::uint16_t> vids;
  for (std::size_t v = 0; v < kVlanEntries; ++v) {
    const std::size_t entry = VlanEntryOffset(v);
    const std::uint16_t word = *ReadU16(block.bytes(), entry);
    const std::uint16_t vid = word & kVidMask;
    if (!(word & kVlanValid) || vid < 1 || vid > 4094) continue;
    if (block.bytes()[entry + kVlanMembership + port] & memberBit) vids.push_back(vid);
  }
  std::sort(vids.begin(), vids.end());
  std::string text;
  for (const std::uint16_t vid : vids) text += std::to_string(vid) + ",";
  out = std::move(text);
  return ItemStatus::kOk;
}

// --- 802.1X users ----------------------------------------------------------

std::size_t UserOffset(std::size_t k) { return kDot1xUsers + k * kDot1xUserSize; }

}  // namespace

std::string PortNameOfIndex(std::size_t index) {
  char name[8];
  if (index < kModulePorts) {
    std::snprintf(name, sizeof name, "%d-%d", static_cast<int>(index / 4 + 1),
                  static_cast<int>(index % 4 + 1));
  } else if (index < kFirstTrunkEntry) {
    std::snprintf(name, sizeof name, "G-%d", static_cast<int>(index % 4 + 1));
  } else if (index < kPortCount) {
    std::snprintf(name, sizeof name, "Trk%d", static_cast<int>(index - 25));
  } else {
    return {};
  }
  return name;
}

std::optional<std::size_t> PortIndexOfName(std::string_view name) {
  if (name.empty()) return std::nullopt;
  std::string canonical(name);
  if (canonical[0] == 'g') canonical[0] = 'G';
  if (canonical[0] == 't') canonical[0] = 'T';
  // Formatted once: the readers look up a port name per line.
  static const std::array<std::string, kPortCount> kNames = [] {
    std::array<std::string, kPortCount> names;
    for (std::size_t i = 0; i < kPortCount; ++i) names[i] = PortNameOfIndex(i);
    return names;
  }();
  for (std::size_t i = 0; i < kPortCount; ++i) {
    if (canonical == kNames[i]) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> FindVlanEntry(const ConfigBlock& block, std::uint16_t vid) {
  for (std::size_t v = 0; v < kVlanEntries; ++v) {
    const auto word = ReadU16(block.bytes(), VlanEntryOffset(v));
    if (!word) return std::nullopt;
    if ((*word & kVlanValid) && (*word & kVidMask) == vid) return v;
  }
  return std::nullopt;
}

namespace {

/// The first entry whose valid bit is clear, made valid with `vid` and
/// `extraBits`; its membership bytes are cleared.
std::optional<std::size_t> NewVlanEntry(ConfigBlock& block, std::uint16_t vid,
                                        std::uint16_t extraBits) {
  for (std::size_t v = 0; v < kVlanEntries; ++v) {
    const std::size_t entry = VlanEntryOffset(v);
    const auto word = ReadU16(block.bytes(), entry);
    if (!word || !FieldFits(block.size(), entry, kVlanEntrySize)) return std::nullopt;
    if (*word & kVlanValid) continue;
    const std::uint16_t kept = *word & 0x6000;  // bits 13 and 14 stay
    WriteU16(block.bytes(), entry, kept | kVlanValid | extraBits | (vid & kVidMask));
    auto membership = block.bytes().subspan(entry + kVlanMembership, kPortCount);
    std::fill(membership.begin(), membership.end(), 0);
    return v;
  }
  return std::nullopt;
}

}  // namespace

bool EnsureVlanEntry(ConfigBlock& block, std::uint16_t vid) {
  if (FindVlanEntry(block, vid)) return true;
  return NewVlanEntry(block, vid, kVlanMadeByAccessor).has_value();
}

void ClearListTables(ConfigBlock& block) {
  if (block.size() < kBlockSize) return;
  auto bytes = block.bytes();
  for (std::size_t k = 0; k < kDot1xUserCount; ++k) bytes[UserOffset(k) + kDot1xUsedFlag] = 0;
  for (std::size_t k = 0; k < kUnicastEntries; ++k) {
    bytes[kUnicastTable + k * kStaticEntrySize + kStaticUsed] = 0;
  }
  for (std::size_t k = 0; k < kMulticastEntries; ++k) {
    bytes[kMulticastTable + k * kStaticEntrySize + kStaticUsed] = 0;
  }
  // The VLAN table: valid bit and VID (bits 12-14 are carried), and the
  // 30 per-port bytes.
  for (std::size_t v = 0; v < kVlanEntries; ++v) {
    const std::size_t entry = VlanEntryOffset(v);
    WriteU16(bytes, entry, static_cast<std::uint16_t>(*ReadU16(bytes, entry) & 0x7000));
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(entry + kVlanMembership), kPortCount,
                0);
  }
  for (std::size_t v = 0; v < kIgmpEntries; ++v) {
    const std::size_t entry = kIgmpTable + v * kIgmpEntrySize;
    WriteMaskedU32(bytes, entry, kVidMask, 0);
  }
  for (std::size_t t = 0; t < kTrunkGroups; ++t) bytes[RecordOffset(kFirstTrunkEntry + t)] = 0;
}

VidListResult GenM1Accessors::StoreVidList(ConfigBlock& block, ConfigItemId id, std::size_t port,
                                           std::string_view text, bool portTypeIsTrunk) const {
  if (port >= kPortCount || block.size() < kBlockSize) return VidListResult::kRefused;
  const auto vids = ParseVidList(text);
  if (!vids) return VidListResult::kRefused;
  if (vids->empty()) return VidListResult::kApplied;
  if (!portTypeIsTrunk) return VidListResult::kRefused;
  const bool fixed = id == kM1FixVid;
  const std::uint8_t own = fixed ? kFixedMember : kForbiddenMember;
  const std::uint8_t other = fixed ? kForbiddenMember : kFixedMember;
  const std::uint16_t pvid = *ReadU16(block.bytes(), kVlanPortWords + 4 * port) & kVidMask;
  for (const std::uint16_t vid : *vids) {
    if (vid == pvid) return VidListResult::kRefused;
    auto entry = FindVlanEntry(block, vid);
    if (!entry) entry = NewVlanEntry(block, vid, fixed ? kVlanMadeByAccessor : 0);
    if (!entry) return VidListResult::kRefused;
    std::uint8_t& member = block.bytes()[VlanEntryOffset(*entry) + kVlanMembership + port];
    if (member & other) return VidListResult::kRefused;
    member |= own;
  }
  return VidListResult::kApplied;
}

GenM1Accessors::GenM1Accessors()
    : LayoutAccessors(Generation::kGenM1, kLayout.view(), TextRule::kCutAtNulAndTrim) {}

ItemStatus GenM1Accessors::GetHook(const ConfigBlock& block, const ItemField& row, std::size_t n,
                                   ItemValue& out) const {
  switch (row.id) {
    case kM1PortTrunkGroup:
      return NumberInto(ReadU8(block.bytes(), RecordOffset(n) + kRecordGroup), out);
    case kM1PortTrunkType:
      return GetTrunkType(block, n, out);
    case kM1InspectTosPortGroup:
      return NumberInto(ByteBit(block, kQosPortBytes + TosGroupPorts(n).first, kInspectTos), out);
    case D_CONF_VLAN_SYS_VID:
      return NumberInto(ReadU16(block.bytes(), kManagementVlan), out);
    case kM1VlanPvid: {
      const auto word = ReadU16(block.bytes(), kVlanPortWords + 4 * n);
      if (!word) return ItemStatus::kOutsideBlock;
      out = std::uint32_t{static_cast<std::uint32_t>(*word & kVidMask)};
      return ItemStatus::kOk;
    }
    case kM1FixVid:
    case kM1FrbVid:
      return GetVidList(block, n, row.id == kM1FixVid ? kFixedMember : kForbiddenMember, out);
    case kM1Dot1xDbUser:
      return ReadField(block.bytes(), TextField(At(UserOffset(n)), kText30, kSlot40), out);
    default:
      return ItemStatus::kNotHandled;
  }
}

ItemStatus GenM1Accessors::SetHook(ConfigBlock& block, const ItemField& row, std::size_t n,
                                   const ItemValue& value, const SetItemContext& context) {
  const ConfigItemId id = row.id;
  if (const auto* text = std::get_if<std::string>(&value)) {
    switch (id) {
      case kM1FixVid:
      case kM1FrbVid:
        return StoreVidList(block, id, n, *text, context.portTypeIsTrunk) == VidListResult::kApplied
                   ? ItemStatus::kOk
                   : ItemStatus::kOutOfRange;
      case kM1Dot1xDbUser: {
        const ItemStatus status = WriteText(block.bytes(), UserOffset(n), {kText30, kSlot40, true},
                                            CutAtNulAndTrim(*text));
        if (status == ItemStatus::kOk) WriteU8(block.bytes(), UserOffset(n) + kDot1xUsedFlag, 1);
        return status;
      }
      default:
        return ItemStatus::kWrongKind;
    }
  }
  const std::uint32_t number = std::get<std::uint32_t>(value);
  switch (id) {
    case kM1PortTrunkGroup:
      return SetTrunkGroup(block, n, number);
    case kM1PortTrunkType:
      return SetByteBits(block, RecordOffset(n) + kRecordFlags, kLacp, number == 1);
    case kM1InspectTosPortGroup: {
      const auto [first, count] = TosGroupPorts(n);
      if (!FieldFits(block.size(), kQosPortBytes + first, count)) return ItemStatus::kOutsideBlock;
      for (std::size_t i = first; i < first + count; ++i) {
        SetByteBits(block, kQosPortBytes + i, kInspectTos, number != 0);
      }
      return ItemStatus::kOk;
    }
    case D_CONF_VLAN_SYS_VID:
      if (number > 0xFFFF) return ItemStatus::kOutOfRange;
      if (!WriteU16(block.bytes(), kManagementVlan, static_cast<std::uint16_t>(number))) {
        return ItemStatus::kOutsideBlock;
      }
      EnsureVlanEntry(block, static_cast<std::uint16_t>(number & kVidMask));
      return ItemStatus::kOk;
    case kM1VlanPvid: {
      if (number > kVidMask) return ItemStatus::kOutOfRange;
      const ItemStatus status =
          WriteMaskedU32(block.bytes(), kVlanPortWords + 4 * n, kVidMask, number);
      if (status == ItemStatus::kOk) EnsureVlanEntry(block, static_cast<std::uint16_t>(number));
      return status;
    }
    default:
      return ItemStatus::kWrongKind;
  }
}

std::unique_ptr<ItemAccessors> MakeGenM1Accessors() { return std::make_unique<GenM1Accessors>(); }

}  // namespace gen_m1
}  // namespace vantrell
