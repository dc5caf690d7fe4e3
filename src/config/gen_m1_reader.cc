#include "config/gen_m1_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "config/block_encodings.h"
#include "config/c_number_parse.h"
#include "config/config_item_ids.h"
#include "config/file_schema.h"
#include "config/file_writer.h"
#include "config/gen_m1_block.h"
#include "config/gen_m1_schema.h"
#include "config/value_rules.h"

namespace vantrell {
namespace gen_m1 {
namespace {

using namespace item;
namespace vf = validation;

/// Lines are read into a 512-byte buffer: longer lines come in pieces.
constexpr std::size_t kLineBuffer = 512;
constexpr std::size_t kPass1KeyMax = 20;
constexpr std::size_t kPass2KeyMax = 39;
constexpr std::string_view kModelPrefix = "ORV-M26";

// ---------------------------------------------------------------------------
// Lines, keys and values
// ---------------------------------------------------------------------------

/// Reads the file as the C line reader does into a fixed buffer; a final
/// line without a line break is never handed out (end of file is tested
/// right after each read).
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  void Rewind() {
    pos_ = 0;
    lineEnds_ = 0;
  }

  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t start = pos_;
    line_ = lineEnds_ + 1;
    // Up to the line end, or as much as the buffer holds.
    const std::size_t limit = std::min(text_.size() - start, kLineBuffer - 1);
    const std::size_t newline = text_.substr(start, limit).find('\n');
    pos_ = start + (newline == std::string_view::npos ? limit : newline + 1);
    if (newline != std::string_view::npos) ++lineEnds_;
    line = text_.substr(start, pos_ - start);
    if (line.back() != '\n' && pos_ >= text_.size()) return false;
    const std::size_t nul = line.find('\0');
    if (nul != std::string_view::npos) line = line.substr(0, nul);
    return true;
  }

  /// The 1-based file line of the piece handed out last.
  int Line() const { return line_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int lineEnds_ = 0;
  int line_ = 0;
};

bool IsSpace(char c) { return IsCSpace(c); }

std::string_view SkipSpaces(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  return text.substr(i);
}

std::string_view FirstToken(std::string_view text) {
  text = SkipSpaces(text);
  std::size_t i = 0;
  while (i < text.size() && !IsSpace(text[i])) ++i;
  return text.substr(0, i);
}

/// A line split into its key and the rest.
struct KeyLine {
  std::string_view key;
  std::string_view rest;  ///< everything after the key

  /// The second whitespace-delimited token.
  std::string_view Token() const { return FirstToken(rest); }
  /// Everything after the key without the blanks and tabs before it and
  /// the characters up to and including the space character after it.
  std::string_view Text() const {
    std::string_view text = rest;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    text = text.substr(i);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return text;
  }
};

KeyLine SplitKey(std::string_view line) {
  const std::string_view trimmed = SkipSpaces(line);
  const std::string_view key = FirstToken(trimmed);
  return {key, trimmed.substr(key.size())};
}

bool IsComment(std::string_view line) { return !line.empty() && line[0] == '#'; }

/// Compared over all but the last character, as the files have always been.
bool StartsLike(std::string_view line, std::string_view fixed) {
  const std::string_view head = fixed.substr(0, fixed.size() - 1);
  return line.substr(0, head.size()) == head;
}

bool IsEndMarker(std::string_view line) { return StartsLike(line, kConfigFileEndLine); }

// ---------------------------------------------------------------------------
// Value tests
// ---------------------------------------------------------------------------

/// The strict dotted syntax; the value is then taken as inet_addr reads
/// it, as the devices do (a field with a leading zero is octal).
bool DottedSyntax(std::string_view text) { return ParseDottedAddress(text).has_value(); }

/// An access entry "address/netmask": both parts as (address, netmask).
std::optional<std::pair<Ipv4, Ipv4>> TestedAccessEntry(std::string_view text) {
  if (text.empty()) return std::pair<Ipv4, Ipv4>{0, 0};
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view host = text.substr(0, slash);
  const std::string_view mask = text.substr(slash + 1);
  if (!DottedSyntax(host) || !DottedSyntax(mask)) return std::nullopt;
  const Ipv4 hostAddress = CInetAddr(host);
  const Ipv4 maskAddress = CInetAddr(mask);
  if (IsMulticastAddress(hostAddress) || hostAddress == kAllOnesIpv4 || hostAddress == 0) {
    return std::nullopt;
  }
  if (maskAddress == 0) return std::nullopt;
  return std::pair<Ipv4, Ipv4>{hostAddress, maskAddress};
}

// ---------------------------------------------------------------------------
// The reading itself
// ---------------------------------------------------------------------------

class M1Reader {
 public:
  M1Reader(DeviceRecord& edited, ConfigBlock& block, std::string_view text,
           ItemAccessors& accessors)
      : edited_(edited), block_(&block), lines_(text), accessors_(accessors) {}

  FileReadResult Read();

 private:
  /// Lists a problem. The reading used to end at the first one: from it on
  /// the reading goes on in a copy of the block, so the block keeps what it
  /// held then while the list gathers every problem of the file.
  void Problem(int line, std::string key, ValidationFlags group);
  ConfigBlock& Block() { return *block_; }
  FileReadResult Result();

  void PassOneTrunks();
  void TrunkConsistency();
  /// False when the model line names another model (the reading ends).
  bool PassTwo();
  ValidationFlags Dispatch(const KeyLine& line);
  ValidationFlags ApplySingle(const Setting& row, const KeyLine& line);
  ValidationFlags ApplyPort(const Setting& row, std::size_t port, const KeyLine& line);
  ValidationFlags ApplyValue(const Setting& row, std::size_t n, const KeyLine& line);
  ValidationFlags ApplyAccessEntry(std::size_t n, const KeyLine& line);
  ValidationFlags ApplyIgmp(std::string_view value);
  ValidationFlags ApplyMulticast(std::string_view value);
  ValidationFlags ApplyUnicast(std::string_view value);
  ValidationFlags ApplyDot1xUser(ConfigItemId id, std::size_t n, std::string_view value);
  void CrossChecks();

  bool IsGroupMember(std::size_t port) const { return port < kPhysicalPorts && groups_[port] != 0; }
  std::optional<std::size_t> PortValue(std::string_view name, bool physicalOnly) const;
  ValidationFlags Store(ConfigItemId id, std::size_t n, std::uint32_t value,
                        ValidationFlags group) {
    return accessors_.setNumber(Block(), id, value, n) == ItemStatus::kOk ? 0 : group;
  }
  ValidationFlags StoreText(ConfigItemId id, std::size_t n, std::string_view value,
                            ValidationFlags group) {
    return accessors_.setText(Block(), id, value, n) == ItemStatus::kOk ? 0 : group;
  }

  DeviceRecord& edited_;
  ConfigBlock* block_;
  ConfigBlock scratch_;
  LineReader lines_;
  ItemAccessors& accessors_;

  std::uint8_t groups_[kPhysicalPorts] = {};
  std::uint8_t types_[kPhysicalPorts] = {};
  std::uint32_t memberMask_ = 0;
  bool modelSeen_ = false;
  std::int32_t protocol_ = 0;
  std::array<bool, kPortCount> trunkVlanType_{};
  std::array<bool, kDot1xUserCount> userSeen_{};
  FileProblemList problems_{ProblemPolicy::kFirstGroup};
  /// Bad accessible IP entries end nothing; they count after the second pass.
  std::vector<FileProblem> accessProblems_;
};

void M1Reader::Problem(int line, std::string key, ValidationFlags group) {
  problems_.Add(line, std::move(key), group);
  if (!problems_.StoresValues() && block_ != &scratch_) {
    scratch_ = *block_;
    block_ = &scratch_;
  }
}

/// The problems by line; those tied to no line (cross-checks) last.
FileReadResult M1Reader::Result() {
  FileReadResult result = problems_.TakeResult();
  std::stable_sort(result.problems.begin(), result.problems.end(),
                   [](const FileProblem& a, const FileProblem& b) {
                     return (a.line == 0 ? INT_MAX : a.line) < (b.line == 0 ? INT_MAX : b.line);
                   });
  return result;
}

void M1Reader::PassOneTrunks() {
  for (std::size_t i = 0; i < kPhysicalPorts; ++i) {
    groups_[i] =
        static_cast<std::uint8_t>(accessors_.getNumber(Block(), kM1PortTrunkGroup, i).value_or(0));
    if (groups_[i] > kTrunkGroups) groups_[i] = 0;
    const auto flags = Block().ByteAt(kPortRecords + i * kPortRecordSize + 1);
    types_[i] = flags && (*flags & 0x08) ? 1 : 0;
  }
  const Setting& typeRow = SectionRows(Section::kTrunk)[0];
  const Setting& groupRow = SectionRows(Section::kTrunk)[1];
  lines_.Rewind();
  std::string_view line;
  while (lines_.Next(line)) {
    if (IsEndMarker(line)) break;
    if (IsComment(line)) continue;
    const KeyLine key = SplitKey(line);
    if (key.key.empty() || key.key.size() > kPass1KeyMax) continue;
    const auto typePort = PortOfKey(key.key, typeRow.key, typeRow.suffix);
    const auto groupPort = typePort ? typePort : PortOfKey(key.key, groupRow.key, groupRow.suffix);
    if (!groupPort || *groupPort >= kPhysicalPorts) continue;
    const bool isType = typePort.has_value();
    const KeyRule& rule = (isType ? typeRow : groupRow).rule;
    const std::int32_t value = CAtoi(key.Token());
    if (value < rule.min || value > rule.max) {
      Problem(lines_.Line(), std::string(key.key), (isType ? typeRow : groupRow).group);
      continue;
    }
    (isType ? types_ : groups_)[*groupPort] = static_cast<std::uint8_t>(value);
  }
  for (std::size_t i = 0; i < kPhysicalPorts; ++i) {
    if (!(edited_.trunkPortMask & (1u << i))) {
      groups_[i] = 0;
      types_[i] = 0;
    }
    accessors_.setNumber(Block(), kM1PortTrunkType, types_[i], i);
    accessors_.setNumber(Block(), kM1PortTrunkGroup, groups_[i], i);
  }
  TrunkConsistency();
}

/// A group's problem names the trunk group line of its first member.
void M1Reader::TrunkConsistency() {
  const Setting& groupRow = SectionRows(Section::kTrunk)[1];
  for (std::uint8_t g = 1; g <= kTrunkGroups; ++g) {
    std::optional<std::size_t> firstMember;
    int members[2] = {0, 0};
    bool modulePorts = false;
    bool gigabitPorts = false;
    for (std::size_t i = 0; i < kPhysicalPorts; ++i) {
      if (groups_[i] != g) continue;
      if (!firstMember) firstMember = i;
      ++members[types_[i]];
      (i < kModulePorts ? modulePorts : gigabitPorts) = true;
    }
    const bool badCount = std::any_of(std::begin(members), std::end(members),
                                      [](int count) { return count == 1 || count > 8; });
    if (badCount || (modulePorts && gigabitPorts)) {
      Problem(0, KeyOf(groupRow, *firstMember), vf::kPortTrunking);
    }
  }
}

std::optional<std::size_t> M1Reader::PortValue(std::string_view name, bool physicalOnly) const {
  const auto index = PortIndexOfName(name);
  if (!index) return std::nullopt;
  if (physicalOnly) {
    if (*index >= kPhysicalPorts || IsGroupMember(*index)) return std::nullopt;
    return index;
  }
  if (memberMask_ & (1u << *index)) return std::nullopt;
  return index;
}

ValidationFlags M1Reader::ApplyValue(const Setting& row, std::size_t n, const KeyLine& line) {
  const ConfigItemId id = row.id;
  const KeyRule& rule = row.rule;
  const ValidationFlags group = row.group;
  switch (rule.rule) {
    case Rule::kRange: {
      const std::int32_t value = CAtoi(line.Token());
      if (value < rule.min || value > rule.max) return group;
      return Store(id, n, static_cast<std::uint32_t>(value) * rule.scale, group);
    }
    case Rule::kText: {
      const std::string_view text = line.Text();
      if (text.size() > static_cast<std::size_t>(rule.max)) return group;
      return StoreText(id, n, text, group);
    }
    case Rule::kTextAny:
      return StoreText(id, n, line.Text(), group);
    case Rule::kAddress: {
      const auto address = TestedAddress(line.Token());
      if (!address) return group;
      return Store(id, n, *address, group);
    }
    case Rule::kSystemHex:
    case Rule::kPortEvents: {
      const std::string_view token = line.Token();
      if (token.size() < 3 || token[0] != '0' || (token[1] != 'x' && token[1] != 'X')) {
        return group;
      }
      const std::string_view digits = token.substr(2);
      std::uint32_t value = 0;
      if (rule.rule == Rule::kSystemHex) {
        for (char c : digits) {
          if (!std::isxdigit(static_cast<unsigned char>(c))) return group;
        }
        value = CScanHex(digits).value_or(0xFFFFFFFF);
      } else {
        for (char c : digits) {
          if (c < '0' || c > '9') return group;
        }
        const std::int32_t decimal = CAtoi(digits);
        if (decimal < 0) return group;
        value = static_cast<std::uint32_t>(decimal);
      }
      if (value > static_cast<std::uint32_t>(rule.max)) return group;
      return Store(id, n, value, group);
    }
    case Rule::kPortRef:
    case Rule::kPhysicalRef: {
      const std::string_view token = line.Token();
      if (token == "0") return Store(id, n, 0, group);
      const auto index = PortValue(token, rule.rule == Rule::kPhysicalRef);
      if (!index) return group;
      return Store(id, n, static_cast<std::uint32_t>(*index + 1), group);
    }
    case Rule::kAccessEntry:
      return ApplyAccessEntry(n, line);
    case Rule::kVidList: {
      SetItemContext context;
      context.portTypeIsTrunk = trunkVlanType_[n];
      return accessors_.setItem(Block(), id, n, ItemValue(std::string(line.Text())), context) ==
                     ItemStatus::kOk
                 ? 0
                 : group;
    }
  }
  return group;
}

ValidationFlags M1Reader::ApplySingle(const Setting& row, const KeyLine& line) {
  if (row.spanningTree && protocol_ != 0) return 0;
  const ValidationFlags result = ApplyValue(row, row.listIndex, line);
  if (result == 0 && row.id == D_CONF_ETH_REDUN_PROTOCOL) protocol_ = CAtoi(line.Token());
  return result;
}

ValidationFlags M1Reader::ApplyPort(const Setting& row, std::size_t port, const KeyLine& line) {
  if (row.spanningTree && protocol_ != 0) return 0;
  if (row.ports == PortSet::kPresentPhysical && port >= kPhysicalPorts) return 0;
  const bool vidList = row.rule.rule == Rule::kVidList;
  if (IsGroupMember(port) && (row.memberValue || vidList)) {
    if (row.id == kM1VlanType) trunkVlanType_[port] = false;
    if (vidList) return 0;  // stored empty: nothing to add
    return Store(row.id, port, *row.memberValue, row.group);
  }
  const ValidationFlags result = ApplyValue(row, port, line);
  if (result == 0 && row.id == kM1VlanType) trunkVlanType_[port] = CAtoi(line.Token()) == 0;
  return result;
}

ValidationFlags M1Reader::ApplyAccessEntry(std::size_t n, const KeyLine& line) {
  const auto entry = TestedAccessEntry(line.Text());
  const auto bad = [&] {
    accessProblems_.push_back({lines_.Line(), std::string(line.key), vf::kAccessibleIp});
  };
  if (!entry) {
    bad();
    return 0;
  }
  if (accessors_.setNumber(Block(), kM1AccessIp, entry->first, n) != ItemStatus::kOk ||
      accessors_.setNumber(Block(), kM1AccessIpNetmask, entry->second, n) != ItemStatus::kOk) {
    bad();
  }
  return 0;
}

ValidationFlags M1Reader::ApplyIgmp(std::string_view value) {
  const auto fields = SplitFields(value, 4);
  if (fields.size() < 3) return vf::kIgmpSnooping;
  const std::int32_t vid = CAtoi(fields[0]);
  const std::int32_t snooping = CAtoi(fields[1]);
  const std::int32_t querier = CAtoi(fields[2]);
  if (vid < 0 || vid > 4094 || snooping < 0 || snooping > 1 || querier < 0 || querier > 1) {
    return vf::kIgmpSnooping;
  }
  std::uint32_t routers = 0;
  if (fields.size() == 4) {
    for (const std::string_view name : SplitList(fields[3])) {
      const auto index = PortValue(name, false);
      if (!index) return vf::kIgmpSnooping;
      routers |= 1u << *index;
    }
  }
  auto bytes = Block().bytes();
  std::optional<std::size_t> slot;
  for (std::size_t v = 0; v < kIgmpEntries && !slot; ++v) {
    const std::size_t entry = kIgmpTable + v * kIgmpEntrySize;
    if ((*ReadU16(bytes, entry) & kVidMask) == static_cast<std::uint32_t>(vid)) slot = entry;
  }
  for (std::size_t v = 0; v < kIgmpEntries && !slot; ++v) {
    const std::size_t entry = kIgmpTable + v * kIgmpEntrySize;
    if ((*ReadU16(bytes, entry) & kVidMask) == 0) slot = entry;
  }
  if (!slot) return 0;  // all 64 taken: the line has no effect
  const std::uint16_t word = static_cast<std::uint16_t>(
      (*ReadU16(bytes, *slot) & ~(kVidMask | kIgmpQuerier | kIgmpSnooping)) |
      static_cast<std::uint16_t>(vid) | (snooping ? kIgmpSnooping : 0) |
      (querier ? kIgmpQuerier : 0));
  WriteU16(bytes, *slot, word);
  WriteU32(bytes, *slot + 4, routers);
  return 0;
}

/// The entry of a static table that holds `mac` or else the first unused
/// one; nothing when all are used.
std::optional<std::size_t> StaticEntryFor(BlockBytes bytes, std::size_t table, std::size_t entries,
                                          const MacAddress& mac) {
  std::optional<std::size_t> firstFree;
  for (std::size_t k = 0; k < entries; ++k) {
    const std::size_t entry = table + k * kStaticEntrySize;
    const bool used = bytes[entry + kStaticUsed] != 0;
    if (used && std::equal(mac.begin(), mac.end(), bytes.begin() + static_cast<long>(entry))) {
      return entry;
    }
    if (!used && !firstFree) firstFree = entry;
  }
  return firstFree;
}

void StoreStaticEntry(BlockBytes bytes, std::size_t entry, const MacAddress& mac,
                      std::uint32_t port) {
  std::copy(mac.begin(), mac.end(), bytes.begin() + static_cast<long>(entry));
  WriteU32(bytes, entry + kStaticPort, port);
  bytes[entry + kStaticUsed] = 1;
}

ValidationFlags M1Reader::ApplyMulticast(std::string_view value) {
  const auto fields = SplitFields(value, 2);
  if (fields.size() < 2) return vf::kStaticMulticast;
  const auto mac = ParseDashedMac(fields[0]);
  if (!mac || !((*mac)[0] & 1)) return vf::kStaticMulticast;
  std::uint32_t ports = 0;
  for (const std::string_view name : SplitList(fields[1])) {
    const auto index = PortValue(name, false);
    if (!index) return vf::kStaticMulticast;
    ports |= 1u << *index;
  }
  if (ports == 0) return vf::kStaticMulticast;
  const auto entry = StaticEntryFor(Block().bytes(), kMulticastTable, kMulticastEntries, *mac);
  if (entry) StoreStaticEntry(Block().bytes(), *entry, *mac, ports);
  return 0;
}

ValidationFlags M1Reader::ApplyUnicast(std::string_view value) {
  const auto fields = SplitFields(value, 2);
  if (fields.size() < 2) return vf::kStaticUnicast;
  const auto mac = ParseDashedMac(fields[0]);
  if (!mac || ((*mac)[0] & 1)) return vf::kStaticUnicast;
  const auto port = PortValue(fields[1], true);
  if (!port) return vf::kStaticUnicast;
  const auto entry = StaticEntryFor(Block().bytes(), kUnicastTable, kUnicastEntries, *mac);
  if (entry) StoreStaticEntry(Block().bytes(), *entry, *mac, static_cast<std::uint32_t>(*port));
  return 0;
}

ValidationFlags M1Reader::ApplyDot1xUser(ConfigItemId id, std::size_t n, std::string_view value) {
  if (id == kM1Dot1xDbUser) {
    if (value.size() > 30) return vf::kDot1x;
    userSeen_[n] = true;
    return StoreText(id, n, value, vf::kDot1x);
  }
  if (!userSeen_[n]) return 0;
  if (value.size() > (id == kM1Dot1xDbPasswd ? 16u : 30u)) return vf::kDot1x;
  return StoreText(id, n, value, vf::kDot1x);
}

ValidationFlags M1Reader::Dispatch(const KeyLine& line) {
  const std::string_view key = line.key;
  if (const auto match = MatchKey(key)) {
    const Setting& row = *match->row;
    if (row.passOne) return 0;  // read in the trunk pass
    if (row.shape == KeyShape::kPerPort) return ApplyPort(row, match->listIndex, line);
    if (row.shape == KeyShape::kSingle) return ApplySingle(row, line);
    return ApplyValue(row, match->listIndex, line);
  }
  static constexpr std::pair<std::string_view, ConfigItemId> kUserKeys[] = {
      {"Dot1xDB_User_", kM1Dot1xDbUser},
      {"Dot1xDB_Passwd_", kM1Dot1xDbPasswd},
      {"Dot1xDB_Desr_", kM1Dot1xDbDesr}};
  for (const auto& [prefix, id] : kUserKeys) {
    if (key.substr(0, prefix.size()) != prefix) continue;
    const auto number = CanonicalNumber(key.substr(prefix.size()));
    if (number && *number >= 1 && *number <= kDot1xUserCount) {
      return ApplyDot1xUser(id, *number - 1, line.Text());
    }
    return 0;
  }
  const std::string_view value = line.Text();
  if (value.empty()) return 0;
  if (key == "IGMPSNOOP") return ApplyIgmp(value);
  if (key == "MMAC") return ApplyMulticast(value);
  if (key == "UMAC") return ApplyUnicast(value);
  return 0;
}

bool M1Reader::PassTwo() {
  lines_.Rewind();
  std::string_view line;
  while (lines_.Next(line)) {
    if (IsEndMarker(line)) break;
    if (IsComment(line)) continue;
    const KeyLine key = SplitKey(line);
    if (key.key.empty() || key.key.size() > kPass2KeyMax) continue;
    if (!modelSeen_) {
      if (key.key != kModelNameKey) continue;
      if (key.Text().substr(0, kModelPrefix.size()) != kModelPrefix) {
        Problem(lines_.Line(), std::string(kModelNameKey), vf::kWrongModelLine);
        return false;
      }
      modelSeen_ = true;
      continue;
    }
    if (const ValidationFlags group = Dispatch(key)) {
      Problem(lines_.Line(), std::string(key.key), group);
    }
  }
  return true;
}

std::size_t LengthToSpace(std::string_view text) {
  const std::size_t space = text.find(' ');
  return space == std::string_view::npos ? text.size() : space;
}

/// Checks over several settings, in the order in which the first failing
/// one has always given the flags; each problem names the setting it
/// blames, tied to no line.
void M1Reader::CrossChecks() {
  const auto number = [&](ConfigItemId id, std::size_t n = 0) {
    return accessors_.getNumber(Block(), id, n).value_or(0);
  };
  const auto text = [&](ConfigItemId id, std::size_t n = 0) {
    return accessors_.getText(Block(), id, n).value_or(std::string());
  };
  const auto problem = [&](std::string_view key, ValidationFlags group) {
    Problem(0, std::string(key), group);
  };
  // Network: a fixed address needs an address and a netmask.
  const std::uint32_t mode = number(kIpConfigMode);
  if (mode != 1 && mode != 2) {
    if (number(D_CONF_ETH_IPADDR) == 0) {
      problem("IPAddress", vf::kNetwork);
    } else if (number(D_CONF_ETH_IPMASK) == 0) {
      problem("Netmask", vf::kNetwork);
    }
  }
  // Relay alarm: both transitions of an input on different relays.
  for (const auto& [onOff, offOn] :
       {std::pair{"RW_DI1_N2F", "RW_DI1_F2N"}, std::pair{"RW_DI2_N2F", "RW_DI2_F2N"}}) {
    const std::uint32_t a = number(FindSingle(onOff)->id);
    const std::uint32_t b = number(FindSingle(offOn)->id);
    if (a != 0 && b != 0 && a == b) problem(offOn, vf::kRelayAlarm);
  }
  // Comm. redundancy: spanning-tree times, distinct ring and coupling ports.
  const std::uint32_t hello = number(D_CONF_ETH_SPAN_HELLO_TIME);
  const std::uint32_t maxAge = number(D_CONF_ETH_SPAN_MAX_AGE);
  const std::uint32_t forwarding = number(D_CONF_ETH_SPAN_FD_DELAY);
  if (2 * (hello + 1) > maxAge || forwarding < 1 || maxAge > 2 * (forwarding - 1)) {
    problem("MaxAge", vf::kCommRedundancy);
  }
  constexpr std::string_view kRingPorts[] = {"ZorvelRingPort1", "ZorvelRingPort2", "CouplingPort",
                                             "ControlPort"};
  for (std::size_t b = 1; b < std::size(kRingPorts); ++b) {
    const std::uint32_t port = number(FindSingle(kRingPorts[b])->id);
    for (std::size_t a = 0; a < b; ++a) {
      // 0 is "no port": several settings may name none.
      if (port != 0 && port == number(FindSingle(kRingPorts[a])->id)) {
        problem(kRingPorts[b], vf::kCommRedundancy);
        break;
      }
    }
  }
  // Ring, coupling and mirror ports that the file left as the device had
  // them must name a port that the file's trunks leave usable, as a line of
  // the file would have to: the export would otherwise write a reference
  // that no import takes back.
  for (const Setting& row : Schema()) {
    const bool physical = row.rule.rule == Rule::kPhysicalRef;
    if (row.shape != KeyShape::kSingle || (row.rule.rule != Rule::kPortRef && !physical)) continue;
    const std::uint32_t reference = number(row.id, row.listIndex);
    if (reference != 0 && !PortValue(PortNameOfIndex(reference - 1), physical)) {
      problem(row.key, row.group);
    }
  }
  // SNMP: V3 authentication needs passwords and keys of 8 characters.
  const std::uint32_t version = number(D_CONF_SNMP_VERSION);
  if (version == 0 || version == 2) {
    const struct {
      std::string_view authType, encryptionOn;
      ConfigItemId key;
      std::size_t password;
    } accounts[] = {{"Admin_AuthType", "Admin_ADEEnable", kM1AdminDataEncryption, 1},
                    {"User_AuthType", "User_ADEEnable", kM1UserDataEncryption, 0}};
    for (const auto& account : accounts) {
      if (number(FindSingle(account.authType)->id) != 0 &&
          LengthToSpace(text(kPasswordField, account.password)) < 8) {
        problem(account.authType, vf::kSnmp);
      }
      if (number(FindSingle(account.encryptionOn)->id) != 0 &&
          LengthToSpace(text(account.key)) < 8) {
        problem(account.encryptionOn, vf::kSnmp);
      }
    }
  }
  // Accessible IP: an enabled list needs one whole entry.
  if (number(D_CONF_GRANTIP_INUSED) == 1) {
    bool any = false;
    for (std::size_t n = 0; n < 10 && !any; ++n) {
      any = ReadIpv4(Block().bytes(), kAccessAddresses + 4 * n).value_or(0) != 0 &&
            ReadIpv4(Block().bytes(), kAccessNetmasks + 4 * n).value_or(0) != 0;
    }
    if (!any) problem("Enable_AccessIp", vf::kAccessibleIp);
  }
  // QoS: a trunk spanning ToS groups needs one setting; the trunk takes it.
  const Setting& tosRow = *MatchKey("InspectTosPortGroup_1")->row;
  for (std::uint8_t g = 1; g <= kTrunkGroups; ++g) {
    std::optional<std::uint32_t> setting;
    int groupsSeen = 0;
    unsigned seen = 0;
    bool agree = true;
    for (std::size_t i = 0; i < kPhysicalPorts && agree; ++i) {
      if (groups_[i] != g) continue;
      const std::size_t tosGroup = i < kModulePorts ? i / 8 : 3 + (i - kModulePorts);
      if (seen & (1u << tosGroup)) continue;
      seen |= 1u << tosGroup;
      ++groupsSeen;
      const std::uint32_t tos = number(kM1InspectTosPortGroup, tosGroup);
      if (setting && *setting != tos) {
        problem(KeyOf(tosRow, tosGroup), vf::kQos);
        agree = false;
      }
      setting = tos;
    }
    if (agree && groupsSeen > 1) {
      const std::size_t entry = kFirstTrunkEntry + g - 1;
      const std::size_t offset = 865 + entry;
      if (const auto byte = Block().ByteAt(offset)) {
        Block().SetByteAt(offset, static_cast<std::uint8_t>((*byte & ~1u) | (*setting ? 1u : 0u)));
      }
    }
  }
}

FileReadResult M1Reader::Read() {
  if (Block().size() < kBlockSize) {
    Problem(0, std::string(), vf::kBlockRefused);
    return Result();
  }
  ClearListTables(Block());
  lines_.Rewind();
  std::string_view first;
  if (!lines_.Next(first) || first.empty() || first[0] != '[' ||
      !StartsLike(first, kConfigFileHeaderLine)) {
    Problem(1, std::string(), vf::kWrongFirstLine);
    return Result();
  }
  PassOneTrunks();
  memberMask_ = TrunkMemberMask(groups_, edited_.trunkPortMask);
  if (!PassTwo()) return Result();
  if (!modelSeen_) {
    Problem(0, std::string(kModelNameKey), vf::kWrongModelLine);
    return Result();
  }
  for (FileProblem& problem : accessProblems_) {
    Problem(problem.line, std::move(problem.key), problem.group);
  }
  CrossChecks();
  return Result();
}

}  // namespace

std::uint32_t TrunkMemberMask(const std::uint8_t (&groups)[26], std::uint32_t trunkPortMask) {
  std::uint32_t mask = 0xFu << kFirstTrunkEntry;
  for (std::size_t i = 0; i < kPhysicalPorts; ++i) {
    const std::uint8_t g = groups[i];
    if (g >= 1 && g <= kTrunkGroups) {
      mask |= 1u << i;
      mask &= ~(1u << (kFirstTrunkEntry + g - 1));
    } else if (!(trunkPortMask & (1u << i))) {
      mask |= 1u << i;
    }
  }
  return mask;
}

std::optional<std::uint32_t> TestedAddress(std::string_view text) {
  if (text.empty()) return 0u;
  if (!DottedSyntax(text)) return std::nullopt;
  const Ipv4 address = CInetAddr(text);
  if (IsMulticastAddress(address) || address == kAllOnesIpv4 || address == 0) return std::nullopt;
  return address;
}

}  // namespace gen_m1

FileReadResult ReadGenM1ConfigFileWithProblems(DeviceRecord& edited, ConfigBlock& block,
                                               std::string_view fileText,
                                               ItemAccessors& accessors) {
  return gen_m1::M1Reader(edited, block, fileText, accessors).Read();
}

ValidationFlags ReadGenM1ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return ReadGenM1ConfigFileWithProblems(edited, block, fileText, accessors).flags;
}

}  // namespace vantrell
