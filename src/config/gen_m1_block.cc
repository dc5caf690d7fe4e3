#include "config/gen_m1_block.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "config/block_encodings.h"
#include "config/config_item_ids.h"
#include "config/gen_a_encodings.h"
#include "core/ipv4.h"

namespace vantrell {
namespace gen_m1 {
namespace {

using namespace item;

// Text fields: most are 30 characters in 40 bytes.
constexpr std::uint16_t kText30 = 30;
constexpr std::uint16_t kSlot40 = 40;
constexpr std::uint16_t kSlot32 = 32;
constexpr std::uint16_t kNameFill = 32;  // the switch name is NUL-filled up to byte 31

/// A field that repeats for a list: entry n lies at offset + n * stride.
struct ListField {
  ConfigItemId id;
  BlockField field;
  std::uint16_t stride = 0;  ///< 0: not a list, only n = 0
  std::uint16_t count = 1;   ///< list indices 0..count-1
};

constexpr ListField Single(ConfigItemId id, BlockField field) { return {id, field, 0, 1}; }
constexpr ListField List(ConfigItemId id, BlockField field, std::uint16_t stride,
                         std::uint16_t count) {
  return {id, field, stride, count};
}

// Fields that the common encodings serve directly. Items with rules of
// their own (flag word, passwords, port records, VLAN, relays, trunk,
// ToS groups, SNMP, 802.1X users...) are handled in Get/Set below.
constexpr ListField kPlainFields[] = {
    Single(D_CONF_ETH_IPADDR, Ipv4Field(12)),
    Single(D_CONF_ETH_IPMASK, Ipv4Field(16)),
    Single(D_CONF_ETH_GATEWAY, Ipv4Field(20)),
    Single(D_CONF_ETH_DNSSIP, Ipv4Field(28)),
    Single(D_CONF_ETH_DNSSIP1, Ipv4Field(32)),
    Single(kM1TrapServer, TextField(36, kText30, kSlot40)),
    Single(kM1TrapCommunity, TextField(kTrapCommunity, kText30, kSlot32)),
    Single(D_CONF_ETH_NAMEA8, TrimmedNameTextField(140, kText30, kSlot40, kNameFill)),
    Single(D_CONF_ETH_LOCATION, TextField(180, 80, 81)),
    Single(D_CONF_ETH_SYSDESCRA8, TextField(261, kText30, kSlot40)),
    Single(D_CONF_ETH_CONTACTA8, TextField(301, kText30, kSlot40)),
    List(kM1CosMap, U8Field(573), 1, 8),
    List(kM1TosMap, U8Field(581), 1, 64),
    Single(D_CONF_ETH_MIRROR_PORT, U8Field(645)),
    Single(D_CONF_ETH_TARGET_PORT, U8Field(646)),
    Single(D_CONF_ETH_MIRROR_DIR, U8Field(647)),
    Single(D_CONF_GRANTIP_INUSED, U32Field(688)),
    List(kM1AccessIpNetmask, Ipv4Field(kAccessNetmasks), 4, 10),
    Single(D_CONF_ETH_DTIME_PERIOD, U32Field(776)),
    Single(D_CONF_ETH_DTIME_TZONE, U8Field(780)),
    Single(D_CONF_QOS_SCHEDULE, U8Field(864)),
    List(kM1PortPriority, U8Field(895), 1, kPortCount),
    Single(D_CONF_ETH_REDUN_PORT1, U8Field(5016)),
    Single(D_CONF_ETH_REDUN_PORT2, U8Field(5017)),
    Single(kM1Coupling, U8Field(5018)),
    Single(kM1ControlPort, U8Field(5019)),
    Single(kM1CouplingPort, U8Field(5020)),
    Single(D_CONF_ETH_WARN_SMTPSrv, TextField(5024, kText30, kSlot40)),
    List(kM1EmailAddress, TextField(5064, kText30, kSlot40), 40, 4),
    Single(D_CONF_ETH_WARN_SMTP_UNAME, TextField(5224, 45, 46)),
    Single(D_CONF_ETH_WARN_SMTP_PASSWD, TextField(5270, 45, 46)),
    List(kM1EwPortEvents, U8Field(5316), 1, kPortCount),
    Single(D_CONF_ETH_WARN_SFLAGA8, U32Field(5348)),
    List(kM1EwTrafThreshold, Lo16Field(5352), 4, kPortCount),
    List(kM1EwTrafDuration, Hi16Field(5352), 4, kPortCount),
    List(kM1RwTrafThreshold, Lo16Field(5540), 4, kPortCount),
    List(kM1RwTrafDuration, Hi16Field(5540), 4, kPortCount),
    List(kM1DeviceIp, Ipv4Field(12180), 108, kPortCount),
    List(kM1StpEnable, U8Field(15420), 1, kPortCount),
    List(kM1StpId, U8Field(15450), 1, kPortCount),
    List(kM1StpCost, U32Field(15480), 4, kPortCount),
    Single(D_CONF_ETH_SPAN_HELLO_TIME, Times100Field(15600)),
    Single(D_CONF_ETH_SPAN_MAX_AGE, Times100Field(15602)),
    Single(D_CONF_ETH_SPAN_FD_DELAY, Times100Field(15604)),
    Single(kM1BridgeId, U16Field(15606)),
    Single(kM1QueryPeriod, U16Field(15646)),
    Single(kM1ReadCommunity, TextField(16928, kText30, kSlot32)),
    Single(kM1ReadWriteCommunity, TextField(16960, kText30, kSlot32)),
    Single(kM1AdminDataEncryption, TextField(16996, kText30, kSlot40)),
    Single(kM1UserDataEncryption, TextField(17036, kText30, kSlot40)),
    Single(kM1Dot1xDataBase, U8Field(17076)),
    Single(kM1Dot1xReAuthPeriod, U16Field(17088)),
    Single(kM1Dot1xReAuth, U8Field(17093)),
    // Physical ports only: the entries of the trunk indices would lie in
    // the first 802.1X user record.
    List(kM1Dot1xEnable, U8Field(17096), 4, kPhysicalPorts),
    Single(kM1RadiusServer, TextField(20532, kText30, kSlot40)),
    Single(kM1RadiusSerKey, TextField(20572, kText30, kSlot40)),
    Single(kM1RadiusSerPort, U16Field(20692)),
    // Physical ports only: the trunk indices would reach the words at 21008.
    List(kM1RliSet, U8Field(20904), 4, kPhysicalPorts),
};

const ListField* FindPlain(ConfigItemId id) {
  for (const ListField& row : kPlainFields) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

/// The field of entry n, or nothing when n is outside the list.
std::optional<BlockField> FieldAt(const ListField& row, std::size_t n) {
  if (n >= row.count) return std::nullopt;
  BlockField field = row.field;
  field.offset += static_cast<std::uint32_t>(n * row.stride);
  return field;
}

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
constexpr std::uint8_t kInspectCos = 0x02;
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

// Spanning tree, redundancy, multicast.
constexpr std::size_t kRedundancyWord = 15608;
constexpr unsigned kProtocolBit = 1;
constexpr unsigned kMasterBit = 4;
constexpr std::size_t kIgmpEnableWord = 15644;
constexpr std::uint16_t kIgmpEnableBit = 0x8000;
constexpr std::size_t kSnmpVersion = 16992;
constexpr std::size_t kEncryptionNibbles = 16993;
constexpr std::size_t kAdminAuthType = 16994;
constexpr std::size_t kUserAuthType = 16995;
constexpr std::size_t kGmrpBytes = 20784;
constexpr std::size_t kBspWord = 21008;
constexpr std::size_t kMfbModeBytes = 21012;
constexpr std::size_t kManagementVlan = 682;
constexpr std::size_t kTimeServers = 784;


bool InPorts(std::size_t n) { return n < kPortCount; }

std::size_t RecordOffset(std::size_t port) { return kPortRecords + port * kPortRecordSize; }

std::string TrimmedText(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  return std::string(TrimTrailingBlanksCrNuls(text));
}

ItemStatus Number(const ItemValue& value, std::uint32_t& out) {
  const auto* number = std::get_if<std::uint32_t>(&value);
  if (!number) return ItemStatus::kWrongKind;
  out = *number;
  return ItemStatus::kOk;
}

ItemStatus Yield(std::optional<std::uint32_t> number, ItemValue& out) {
  if (!number) return ItemStatus::kOutsideBlock;
  out = *number;
  return ItemStatus::kOk;
}

ItemStatus FromWritten(bool written) {
  return written ? ItemStatus::kOk : ItemStatus::kOutsideBlock;
}

// --- Bits of bytes and words -------------------------------------------

std::optional<std::uint32_t> ByteBit(const ConfigBlock& block, std::size_t offset,
                                     std::uint8_t mask) {
  const auto byte = ReadU8(block.bytes(), offset);
  if (!byte) return std::nullopt;
  return (*byte & mask) ? 1u : 0u;
}

ItemStatus SetByteBits(ConfigBlock& block, std::size_t offset, std::uint8_t mask, bool on) {
  return WriteMaskedU8(block.bytes(), offset, mask, on ? mask : 0);
}

std::optional<std::uint32_t> WordBit(const ConfigBlock& block, std::size_t offset, unsigned bit) {
  return ReadWordBit(block.bytes(), offset, bit);
}

ItemStatus SetWordBit(ConfigBlock& block, std::size_t offset, unsigned bit, bool on) {
  return WriteMaskedU32(block.bytes(), offset, 1u << bit, on ? (1u << bit) : 0);
}

// --- The flag word -----------------------------------------------------

ItemStatus GetFlagWord(const ConfigBlock& block, ConfigItemId id, ItemValue& out) {
  const auto word = ReadU32(block.bytes(), kFlagWord);
  if (!word) return ItemStatus::kOutsideBlock;
  const auto bit = [&](unsigned b) { return (*word >> b) & 1u; };
  switch (id) {
    case kIpConfigMode:
      return Yield(ReadModeBits(block.bytes(), kFlagWord), out);
    case kM1FastRecovery:
      out = bit(kFastRecoveryBit);
      return ItemStatus::kOk;
    case D_CONF_ETH_FLAG_WEBA8:
    case kM1WebConfig:
      out = 1u - bit(kWebOffBit);
      return ItemStatus::kOk;
    case D_CONF_ETH_FLAG_TELNETA8:
    case kM1TelnetConsole:
      out = 1u - bit(kTelnetOffBit);
      return ItemStatus::kOk;
    case kM1ResetPasswdEn:
      out = 1u - bit(kResetPasswordOffBit);
      return ItemStatus::kOk;
    case kM1CfOperationEn:
      out = bit(kCfOperationBit);
      return ItemStatus::kOk;
    case kM1CfConfigEn:
      out = bit(kCfConfigBit);
      return ItemStatus::kOk;
    case kM1CfFirmEn:
      out = bit(kCfFirmwareBit);
      return ItemStatus::kOk;
    default:
      return ItemStatus::kNotHandled;
  }
}

ItemStatus SetFlagWord(ConfigBlock& block, ConfigItemId id, std::uint32_t value) {
  switch (id) {
    case kIpConfigMode:
      return WriteModeBits(block.bytes(), kFlagWord, value);
    case kM1FastRecovery:
      return SetWordBit(block, kFlagWord, kFastRecoveryBit, value != 0);
    case D_CONF_ETH_FLAG_WEBA8:
    case kM1WebConfig:
      return WriteInvertedBit(block.bytes(), kFlagWord, kWebOffBit, value);
    case D_CONF_ETH_FLAG_TELNETA8:
    case kM1TelnetConsole:
      return WriteInvertedBit(block.bytes(), kFlagWord, kTelnetOffBit, value);
    case kM1ResetPasswdEn:
      return WriteInvertedBit(block.bytes(), kFlagWord, kResetPasswordOffBit, value);
    case kM1CfOperationEn:
    case kM1CfConfigEn:
    case kM1CfFirmEn: {
      if (value > 1) return ItemStatus::kOutOfRange;
      const unsigned bit = id == kM1CfOperationEn ? kCfOperationBit
                           : id == kM1CfConfigEn  ? kCfConfigBit
                                                  : kCfFirmwareBit;
      return SetWordBit(block, kFlagWord, bit, value == 1);
    }
    default:
      return ItemStatus::kNotHandled;
  }
}

bool IsFlagWordItem(ConfigItemId id) {
  switch (id) {
    case kIpConfigMode:
    case kM1FastRecovery:
    case D_CONF_ETH_FLAG_WEBA8:
    case kM1WebConfig:
    case D_CONF_ETH_FLAG_TELNETA8:
    case kM1TelnetConsole:
    case kM1ResetPasswdEn:
    case kM1CfOperationEn:
    case kM1CfConfigEn:
    case kM1CfFirmEn:
      return true;
    default:
      return false;
  }
}

// --- Relay choices -----------------------------------------------------

/// Bit of the relay words for items 860..865 (power 1, power 2, DI 1 on->off,
/// DI 1 off->on, DI 2 on->off, DI 2 off->on).
unsigned RelayChoiceBit(ConfigItemId id) { return 4 + (id - kM1PowerInput1Failure); }

RelayBits RelayWords(unsigned bit) { return {kRelayEnableWord, kRelaySelectWord, bit, 4}; }
RelayBits TrafficRelayBits(std::size_t port) {
  return {kRelayPortEnable + port, kRelayPortSelect + port, 2, 1};
}

// --- Port records and trunks ----------------------------------------------

ItemStatus GetPortRecord(const ConfigBlock& block, ConfigItemId id, std::size_t port,
                         ItemValue& out) {
  const std::size_t record = RecordOffset(port);
  switch (id) {
    case kM1PortEnable:
      return Yield(ReadInvertedDisable(block.bytes(), record + kRecordDisable), out);
    case kM1PortMdi:
      return Yield(ReadTwoBitField(block.bytes(), record + kRecordFlags), out);
    case kM1PortFdx:
      return Yield(ByteBit(block, record + kRecordFlags, kFlowControl), out);
    case kM1PortSpeed:
      return Yield(ReadU8(block.bytes(), record + kRecordSpeed), out);
    case kM1PortTrunkGroup:
      return Yield(ReadU8(block.bytes(), record + kRecordGroup), out);
    case kM1PortTrunkType: {
      // The type shown is that of the trunk entry record 25 + g of the
      // port's group g; a port in no group (0) shows G-2's record's bit.
      const auto group = ReadU8(block.bytes(), record + kRecordGroup);
      if (!group) return ItemStatus::kOutsideBlock;
      if (*group > kTrunkGroups) {  // past the trunk records
        out = 0u;
        return ItemStatus::kOk;
      }
      const std::size_t entry = kFirstTrunkEntry - 1 + *group;
      return Yield(ByteBit(block, RecordOffset(entry) + kRecordFlags, kLacp), out);
    }
    default:
      return ItemStatus::kNotHandled;
  }
}

ItemStatus SetPortRecord(ConfigBlock& block, ConfigItemId id, std::size_t port,
                         std::uint32_t value) {
  const std::size_t record = RecordOffset(port);
  switch (id) {
    case kM1PortEnable:
      return WriteInvertedDisable(block.bytes(), record + kRecordDisable, value);
    case kM1PortMdi:
      return WriteTwoBitField(block.bytes(), record + kRecordFlags, value);
    case kM1PortFdx:
      return SetByteBits(block, record + kRecordFlags, kFlowControl, value == 1);
    case kM1PortSpeed:
      if (value > kMaxSpeed) return ItemStatus::kOutOfRange;
      return FromWritten(WriteU8(block.bytes(), record + kRecordSpeed, value));
    case kM1PortTrunkType:
      return SetByteBits(block, record + kRecordFlags, kLacp, value == 1);
    case kM1PortTrunkGroup: {
      if (value > kTrunkGroups) return ItemStatus::kOutOfRange;
      if (!WriteU8(block.bytes(), record + kRecordGroup, static_cast<std::uint8_t>(value))) {
        return ItemStatus::kOutsideBlock;
      }
      if (value >= 1) {
        const std::size_t entry = kFirstTrunkEntry - 1 + value;
        WriteU8(block.bytes(), RecordOffset(entry) + kRecordDisable, 0);
      }
      return ItemStatus::kOk;
    }
    default:
      return ItemStatus::kNotHandled;
  }
}

bool IsPortRecordItem(ConfigItemId id) { return id >= kM1PortEnable && id <= kM1PortTrunkGroup; }

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

// --- Access entries ------------------------------------------------------

ItemStatus GetAccessEntry(const ConfigBlock& block, std::size_t n, ItemValue& out) {
  auto text = ReadAccessEntry(block.bytes(), kAccessAddresses + 4 * n, kAccessNetmasks + 4 * n);
  if (!text) return ItemStatus::kOutsideBlock;
  out = std::move(*text);
  return ItemStatus::kOk;
}

// --- 802.1X users ----------------------------------------------------------

std::size_t UserOffset(std::size_t k) { return kDot1xUsers + k * kDot1xUserSize; }

struct UserText {
  std::size_t offset;
  std::uint16_t maxChars;
  std::uint16_t slot;
};

std::optional<UserText> UserTextField(ConfigItemId id) {
  switch (id) {
    case kM1Dot1xDbUser:
      return UserText{0, kText30, kSlot40};
    case kM1Dot1xDbPasswd:
      return UserText{40, 16, 20};
    case kM1Dot1xDbDesr:
      return UserText{60, kText30, kSlot40};
    default:
      return std::nullopt;
  }
}

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
  for (std::size_t i = 0; i < kPortCount; ++i) {
    if (canonical == PortNameOfIndex(i)) return i;
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

ItemStatus GenM1Accessors::Get(const ConfigBlock& block, ConfigItemId id, std::size_t n,
                               ItemValue& out) const {
  if (const ListField* row = FindPlain(id)) {
    const auto field = FieldAt(*row, n);
    if (!field) return ItemStatus::kNotHandled;
    return ReadField(block.bytes(), *field, out);
  }
  if (IsFlagWordItem(id)) return n == 0 ? GetFlagWord(block, id, out) : ItemStatus::kNotHandled;
  if (IsPortRecordItem(id)) {
    return InPorts(n) ? GetPortRecord(block, id, n, out) : ItemStatus::kNotHandled;
  }
  switch (id) {
    case kPasswordField:
      if (n > 1) return ItemStatus::kNotHandled;
      return ReadField(block.bytes(), Blank16TerminatedField(n ? kAdminPassword : kUserPassword),
                       out);
    case kM1AccessIp:
      return n < 10 ? GetAccessEntry(block, n, out) : ItemStatus::kNotHandled;
    case D_CONF_ETH_DTIME_SRV1:
    case D_CONF_ETH_DTIME_SRV2: {
      const std::size_t offset = kTimeServers + (id == D_CONF_ETH_DTIME_SRV2 ? 40 : 0);
      return ReadField(block.bytes(), TextField(offset, kSlot40, kSlot40), out);
    }
    case kM1InspectTosPortGroup:
      if (n > 4) return ItemStatus::kNotHandled;
      return Yield(ByteBit(block, kQosPortBytes + TosGroupPorts(n).first, kInspectTos), out);
    case kM1InspectCos:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      return Yield(ByteBit(block, kQosPortBytes + n, kInspectCos), out);
    case D_CONF_VLAN_SYS_VID:
      return Yield(ReadU16(block.bytes(), kManagementVlan), out);
    case kM1VlanPvid:
    case kM1VlanType: {
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      const auto word = ReadU16(block.bytes(), kVlanPortWords + 4 * n);
      if (!word) return ItemStatus::kOutsideBlock;
      out = id == kM1VlanPvid ? (*word & kVidMask) : ((*word >> 12) & 1u);
      return ItemStatus::kOk;
    }
    case kM1FixVid:
    case kM1FrbVid:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      return GetVidList(block, n, id == kM1FixVid ? kFixedMember : kForbiddenMember, out);
    case kM1Relay1Override:
    case kM1Relay2Override:
      return Yield(WordBit(block, kRelayEnableWord, id == kM1Relay1Override ? 0 : 1), out);
    case kM1PowerInput1Failure:
    case kM1PowerInput2Failure:
    case kM1RwDi1N2F:
    case kM1RwDi1F2N:
    case kM1RwDi2N2F:
    case kM1RwDi2F2N:
      return Yield(ReadRelayChoice(block.bytes(), RelayWords(RelayChoiceBit(id))), out);
    case kM1RwPortLink:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      return Yield(ReadLinkChoice(block.bytes(), kRelayPortEnable + n, kRelayPortSelect + n), out);
    case kM1RwPortTraf:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      return Yield(ReadRelayChoice(block.bytes(), TrafficRelayBits(n)), out);
    case D_CONF_ETH_REDUN_PROTOCOL:
      return Yield(WordBit(block, kRedundancyWord, kProtocolBit), out);
    case D_CONF_ETH_REDUN_MASTER:
      return Yield(WordBit(block, kRedundancyWord, kMasterBit), out);
    case D_CONF_IGMPSNOOP_ENABLE: {
      const auto word = ReadU16(block.bytes(), kIgmpEnableWord);
      if (!word) return ItemStatus::kOutsideBlock;
      out = (*word & kIgmpEnableBit) ? 1u : 0u;
      return ItemStatus::kOk;
    }
    case D_CONF_SNMP_VERSION: {
      std::uint32_t version = 0;
      const ItemStatus status = ReadSnmpVersion(block.bytes(), kSnmpVersion, version);
      if (status == ItemStatus::kOk) out = version;
      return status;
    }
    case D_CONF_SNMP_V3AADEE:
    case D_CONF_SNMP_V3UADEE: {
      const auto byte = ReadU8(block.bytes(), kEncryptionNibbles);
      if (!byte) return ItemStatus::kOutsideBlock;
      out = static_cast<std::uint32_t>(id == D_CONF_SNMP_V3AADEE ? (*byte & 0x0F) : (*byte >> 4));
      return ItemStatus::kOk;
    }
    case kM1AdminAuthType:
      return Yield(ReadU8(block.bytes(), kAdminAuthType), out);
    case kM1UserAuthType:
      return Yield(ReadU8(block.bytes(), kUserAuthType), out);
    case kM1Dot1xDbUser:
    case kM1Dot1xDbPasswd:
    case kM1Dot1xDbDesr: {
      if (n >= kDot1xUserCount) return ItemStatus::kNotHandled;
      const UserText text = *UserTextField(id);
      return ReadField(block.bytes(),
                       TextField(static_cast<std::uint32_t>(UserOffset(n) + text.offset),
                                 text.maxChars, text.slot),
                       out);
    }
    case kM1GmrpEnable: {
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      const auto byte = ReadU8(block.bytes(), kGmrpBytes + 4 * n);
      if (!byte) return ItemStatus::kOutsideBlock;
      out = *byte == 1 ? 1u : 0u;
      return ItemStatus::kOk;
    }
    case kM1BspEnable: {
      const auto word = ReadU32(block.bytes(), kBspWord);
      if (!word) return ItemStatus::kOutsideBlock;
      out = (*word & 0x3u) ? 1u : 0u;
      return ItemStatus::kOk;
    }
    case kM1IncludeMulticast:
      return Yield(WordBit(block, kBspWord, 2), out);
    case kM1MfbMode:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      return Yield(ReadU8(block.bytes(), kMfbModeBytes + 4 * n), out);
    default:
      return ItemStatus::kNotHandled;
  }
}

ItemStatus GenM1Accessors::Set(ConfigBlock& block, ConfigItemId id, std::size_t n,
                               const ItemValue& value, const SetItemContext& context) {
  if (const ListField* row = FindPlain(id)) {
    const auto field = FieldAt(*row, n);
    if (!field) return ItemStatus::kNotHandled;
    if (const auto* text = std::get_if<std::string>(&value)) {
      return WriteField(block.bytes(), *field, ItemValue(TrimmedText(*text)));
    }
    return WriteField(block.bytes(), *field, value);
  }
  // Text items with rules of their own.
  switch (id) {
    case kPasswordField: {
      if (n > 1) return ItemStatus::kNotHandled;
      const auto* text = std::get_if<std::string>(&value);
      if (!text) return ItemStatus::kWrongKind;
      return WriteBlank16Terminated(block.bytes(), n ? kAdminPassword : kUserPassword,
                                    TrimmedText(*text));
    }
    case D_CONF_ETH_DTIME_SRV1:
    case D_CONF_ETH_DTIME_SRV2: {
      const auto* text = std::get_if<std::string>(&value);
      if (!text) return ItemStatus::kWrongKind;
      const std::size_t offset = kTimeServers + (id == D_CONF_ETH_DTIME_SRV2 ? 40 : 0);
      return WriteText(block.bytes(), offset, {kText30, kSlot40, true}, TrimmedText(*text));
    }
    case kM1FixVid:
    case kM1FrbVid: {
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      const auto* text = std::get_if<std::string>(&value);
      if (!text) return ItemStatus::kWrongKind;
      return StoreVidList(block, id, n, *text, context.portTypeIsTrunk) == VidListResult::kApplied
                 ? ItemStatus::kOk
                 : ItemStatus::kOutOfRange;
    }
    case kM1Dot1xDbUser:
    case kM1Dot1xDbPasswd:
    case kM1Dot1xDbDesr: {
      if (n >= kDot1xUserCount) return ItemStatus::kNotHandled;
      const auto* text = std::get_if<std::string>(&value);
      if (!text) return ItemStatus::kWrongKind;
      const UserText field = *UserTextField(id);
      const ItemStatus status = WriteText(block.bytes(), UserOffset(n) + field.offset,
                                          {field.maxChars, field.slot, true}, TrimmedText(*text));
      if (status == ItemStatus::kOk && id == kM1Dot1xDbUser) {
        WriteU8(block.bytes(), UserOffset(n) + kDot1xUsedFlag, 1);
      }
      return status;
    }
    default:
      break;
  }

  std::uint32_t number = 0;
  if (const ItemStatus kind = Number(value, number); kind != ItemStatus::kOk) {
    // An unhandled item stays unhandled whatever the value.
    ItemValue probe;
    return Get(block, id, n, probe) == ItemStatus::kNotHandled ? ItemStatus::kNotHandled : kind;
  }
  if (IsFlagWordItem(id)) {
    return n == 0 ? SetFlagWord(block, id, number) : ItemStatus::kNotHandled;
  }
  if (IsPortRecordItem(id)) {
    return InPorts(n) ? SetPortRecord(block, id, n, number) : ItemStatus::kNotHandled;
  }
  switch (id) {
    case kM1AccessIp:
      if (n >= 10) return ItemStatus::kNotHandled;
      return FromWritten(WriteIpv4(block.bytes(), kAccessAddresses + 4 * n, number));
    case kM1InspectTosPortGroup: {
      if (n > 4) return ItemStatus::kNotHandled;
      const auto [first, count] = TosGroupPorts(n);
      if (!FieldFits(block.size(), kQosPortBytes + first, count)) return ItemStatus::kOutsideBlock;
      for (std::size_t i = first; i < first + count; ++i) {
        SetByteBits(block, kQosPortBytes + i, kInspectTos, number != 0);
      }
      return ItemStatus::kOk;
    }
    case kM1InspectCos:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      return SetByteBits(block, kQosPortBytes + n, kInspectCos, number != 0);
    case D_CONF_VLAN_SYS_VID:
      if (number > 0xFFFF) return ItemStatus::kOutOfRange;
      if (!WriteU16(block.bytes(), kManagementVlan, static_cast<std::uint16_t>(number))) {
        return ItemStatus::kOutsideBlock;
      }
      EnsureVlanEntry(block, static_cast<std::uint16_t>(number & kVidMask));
      return ItemStatus::kOk;
    case kM1VlanPvid: {
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      if (number > kVidMask) return ItemStatus::kOutOfRange;
      const ItemStatus status =
          WriteMaskedU32(block.bytes(), kVlanPortWords + 4 * n, kVidMask, number);
      if (status == ItemStatus::kOk) EnsureVlanEntry(block, static_cast<std::uint16_t>(number));
      return status;
    }
    case kM1VlanType:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      return WriteMaskedU32(block.bytes(), kVlanPortWords + 4 * n, 0x1000,
                            number != 0 ? 0x1000 : 0);
    case kM1Relay1Override:
    case kM1Relay2Override:
      return SetWordBit(block, kRelayEnableWord, id == kM1Relay1Override ? 0 : 1, number == 1);
    case kM1PowerInput1Failure:
    case kM1PowerInput2Failure:
    case kM1RwDi1N2F:
    case kM1RwDi1F2N:
    case kM1RwDi2N2F:
    case kM1RwDi2F2N:
      return WriteRelayChoice(block.bytes(), RelayWords(RelayChoiceBit(id)), number);
    case kM1RwPortLink:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      return WriteLinkChoice(block.bytes(), kRelayPortEnable + n, kRelayPortSelect + n, number);
    case kM1RwPortTraf:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      return WriteRelayChoice(block.bytes(), TrafficRelayBits(n), number);
    case D_CONF_ETH_REDUN_PROTOCOL:
    case D_CONF_ETH_REDUN_MASTER:
      return WriteStrictBit(block.bytes(), kRedundancyWord,
                            id == D_CONF_ETH_REDUN_PROTOCOL ? kProtocolBit : kMasterBit, number);
    case D_CONF_IGMPSNOOP_ENABLE:
      return WriteMaskedU32(block.bytes(), kIgmpEnableWord, kIgmpEnableBit,
                            number == 1 ? kIgmpEnableBit : 0) == ItemStatus::kOk
                 ? ItemStatus::kOk
                 : ItemStatus::kOutsideBlock;
    case D_CONF_SNMP_VERSION:
      return WriteSnmpVersion(block.bytes(), kSnmpVersion, number);
    case D_CONF_SNMP_V3AADEE:
    case D_CONF_SNMP_V3UADEE: {
      if (number > 1) return ItemStatus::kOutOfRange;
      const bool admin = id == D_CONF_SNMP_V3AADEE;
      return WriteMaskedU8(block.bytes(), kEncryptionNibbles, admin ? 0x0F : 0xF0,
                           admin ? number : number << 4);
    }
    case kM1AdminAuthType:
    case kM1UserAuthType:
      if (number > 2) return ItemStatus::kOutOfRange;
      return FromWritten(WriteU8(block.bytes(),
                                 id == kM1AdminAuthType ? kAdminAuthType : kUserAuthType,
                                 static_cast<std::uint8_t>(number)));
    case kM1GmrpEnable:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      return FromWritten(WriteU8(block.bytes(), kGmrpBytes + 4 * n, number == 1 ? 1 : 0));
    case kM1BspEnable:
      return WriteMaskedU32(block.bytes(), kBspWord, 0x3u, number == 1 ? 0x3u : 0);
    case kM1IncludeMulticast:
      return SetWordBit(block, kBspWord, 2, number == 1);
    case kM1MfbMode:
      if (!InPorts(n)) return ItemStatus::kNotHandled;
      if (number < 1 || number > 3) return ItemStatus::kOutOfRange;
      return FromWritten(
          WriteU8(block.bytes(), kMfbModeBytes + 4 * n, static_cast<std::uint8_t>(number)));
    default:
      return ItemStatus::kNotHandled;
  }
}

std::unique_ptr<ItemAccessors> MakeGenM1Accessors() { return std::make_unique<GenM1Accessors>(); }

}  // namespace gen_m1
}  // namespace vantrell
