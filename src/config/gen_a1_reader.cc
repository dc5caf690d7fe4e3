#include "config/gen_a1_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "config/c_number_parse.h"
#include "config/config_item_ids.h"
#include "config/gen_a1_layout.h"
#include "config/gen_a_encodings.h"
#include "config/gen_a_schema_reader.h"
#include "config/value_rules.h"

namespace vantrell {
namespace {

using namespace item;
using a8schema::Check;
using a8schema::Row;
using a8schema::Section;
namespace vf = validation;

constexpr int kPorts = a1::kPorts;
constexpr int kAccessEntries = 10;
constexpr int kTosGroups = 16;

constexpr Range kVidRange{1, 4094};
constexpr Range kUnicastPortRange{1, 8};
constexpr Range kUnicastPriorityRange{0, 3};
/// Port 8's spanning-tree port ID takes a whole byte.
constexpr a8schema::Rule kPort8IdRule = a8schema::Between(0, 255);

/// A sscanf-style cursor: "%d" and "%s" conversions that skip leading
/// white space and report whether they matched.
class Fields {
 public:
  explicit Fields(std::string_view text) : text_(text) {}

  std::optional<std::int32_t> Int() {
    SkipSpace();
    const std::size_t start = pos_;
    std::size_t i = pos_;
    if (i < text_.size() && (text_[i] == '+' || text_[i] == '-')) ++i;
    const std::size_t digits = i;
    while (i < text_.size() && text_[i] >= '0' && text_[i] <= '9') ++i;
    if (i == digits) return std::nullopt;
    pos_ = i;
    return CAtoi(text_.substr(start, i - start));
  }

  std::optional<std::string_view> Word() {
    SkipSpace();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsCSpace(text_[pos_])) ++pos_;
    if (pos_ == start) return std::nullopt;
    return text_.substr(start, pos_ - start);
  }

  /// A literal character, as a non-blank character of a scanf pattern.
  bool Literal(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

 private:
  void SkipSpace() {
    while (pos_ < text_.size() && IsCSpace(text_[pos_])) ++pos_;
  }
  std::string_view text_;
  std::size_t pos_ = 0;
};

/// An access list entry "address/netmask": the address must not be
/// multicast, 255.255.255.255 or 0.0.0.0; the netmask must not be 0.0.0.0.
/// Empty is 0.0.0.0/0.0.0.0.
struct AccessEntry {
  Ipv4 address = 0;
  Ipv4 netmask = 0;
};
std::optional<AccessEntry> ParseAccessEntry(std::string_view text) {
  if (text.empty()) return AccessEntry{};
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const auto address = ParseDottedAddress(text.substr(0, slash));
  const auto netmask = ParseDottedAddress(text.substr(slash + 1));
  if (!address || !netmask) return std::nullopt;
  const std::uint8_t first = Ipv4Octet(*address, 0);
  if ((first >= 224 && first <= 239) || *address == kAllOnesIpv4 || *address == 0) {
    return std::nullopt;
  }
  if (*netmask == 0) return std::nullopt;
  return AccessEntry{*address, *netmask};
}

/// GenA1 reading: every value that keeps its row's rule is stored, every
/// other one keeps the device's value and is listed as a problem; the file
/// is never rejected.
class GenA1Reader : public a8schema::SchemaFileReader {
 public:
  GenA1Reader(const DeviceRecord& edited, ConfigBlock& block, std::string_view fileText,
              GenA1Accessors& accessors)
      : SchemaFileReader(a8schema::Gen::kA1, fileText, ProblemPolicy::kListOnly),
        block_(block),
        accessors_(accessors),
        fibreUplinks_(IsFibreUplinkModel(Generation::kGenA1, edited.modelId)) {}

  FileReadResult Run() {
    accessors_.clearListTables(block_);
    ReadRows(Section::kSystem);
    ReadRows(Section::kPassword);
    ReadAccessList();
    ReadRows(Section::kPorts);
    ReadRows(Section::kNetwork);
    ReadRows(Section::kTime);
    ReadRedundancy();
    ReadRows(Section::kQos);
    ReadRows(Section::kCosMap);
    ReadTosGroups();
    ReadRows(Section::kVlan);
    ReadRows(Section::kIgmp);
    ForEachListLine("IGMPSNOOP", vf::kIgmpSnooping,
                    [this](std::string_view line) { return IgmpLine(line); });
    ForEachListLine("MMAC", vf::kStaticMulticast,
                    [this](std::string_view line) { return MulticastLine(line); });
    ReadRowsPerNumber({Section::kIngressRates, Section::kEgressRates});
    ReadRows(Section::kPortLock);
    ForEachListLine("UMAC", vf::kStaticUnicast,
                    [this](std::string_view line) { return UnicastLine(line); });
    ReadRows(Section::kMailWarning);
    ReadRows(Section::kMailPorts);
    ReadRows(Section::kRelayWarning);
    ReadRowsPerNumber({Section::kRelayLinks, Section::kRelayPorts});
    ReadRows(Section::kFastRecovery);
    ReadRows(Section::kDeviceIp);
    ReadRows(Section::kMirror);
    FileReadResult result = problems().TakeResult();
    result.flags = refused_ ? vf::kBlockRefused : 0;
    return result;
  }

 protected:
  void ReadRow(const Row& row, int n) override {
    // Ports 7 and 8 of the fibre uplink models keep all but their enable.
    if (row.section == Section::kPorts && fibreUplinks_ && n >= 7 &&
        row.id != D_CONF_ETH_PCFG_DISABLE1) {
      return;
    }
    if (row.section == Section::kAccessList && row.rule.check == Check::kSpecial) {
      auto& entry = access_[static_cast<std::size_t>(n - 1)];
      entry.value = Find(row, n);
      entry.line = LineOfLastValue();
      return;
    }
    if (row.section == Section::kEgressRates) {
      if (const auto value = FindToken(KeyOf(row, n))) StoreText(ItemOf(row, n), *value);
      return;
    }
    SchemaFileReader::ReadRow(row, n);
  }

  void Apply(const Row& row, int n, const std::string& value) override {
    const ConfigItemId id = ItemOf(row, n);
    const bool port8Id = row.id == D_CONF_ETH_SPAN_PORT1_ID && n == kPorts;
    const a8schema::Rule& rule = port8Id ? kPort8IdRule : RuleOf(row);
    switch (rule.check) {
      case Check::kText:
      case Check::kMailText:
      case Check::kSpecial:  // VID lists and ingress rates: the accessor parses them
        StoreText(id, value);
        return;
      case Check::kHostAddress:
      case Check::kAddress:
      case Check::kNetmask:
        if (const auto address = AddressOf(rule.check, value)) {
          Taken(row, n, Store(id, *address));
        } else {
          NoteProblem(row, n);
        }
        return;
      default:
        if (const auto number = a8schema::RuleNumber(rule, value)) {
          Taken(row, n, Store(id, *number));
        } else {
          NoteProblem(row, n);
        }
        return;
    }
  }

 private:
  /// An address as GenA1 takes it: inet_addr, 255.255.255.255 not (but as
  /// the literal netmask); an empty value is 0.0.0.0 except for the
  /// device's own address, which keeps its value.
  static std::optional<Ipv4> AddressOf(Check check, const std::string& value) {
    if (value.empty()) {
      if (check == Check::kHostAddress) return std::nullopt;
      return 0;
    }
    const Ipv4 address = CInetAddr(value);
    if (address != kAllOnesIpv4) return address;
    if (check == Check::kNetmask && value == "255.255.255.255") return address;
    return std::nullopt;
  }

  /// A value the field refused (out of its range) is a problem as well.
  void Taken(const Row& row, int n, ItemStatus status) {
    if (status == ItemStatus::kOutOfRange) NoteProblem(row, n);
  }

  /// The ten entries are replaced only when the file carries at least one
  /// of them; an absent or empty entry is cleared, an unusable one keeps
  /// the device's entry.
  void ReadAccessList() {
    access_ = {};
    ReadRows(Section::kAccessList);
    const bool carried = std::any_of(access_.begin(), access_.end(),
                                     [](const AccessValue& entry) { return entry.value; });
    if (!carried) return;
    for (int k = 1; k <= kAccessEntries; ++k) {
      const AccessValue& found = access_[static_cast<std::size_t>(k - 1)];
      const auto entry = ParseAccessEntry(found.value.value_or(std::string()));
      if (!entry) {
        NoteProblemAt(found.line, a8schema::Numbered("AccessIp{}", k), vf::kAccessibleIp);
        continue;
      }
      Store(D_CONF_GRANTIP_IP1 + (k - 1), entry->address);
      Store(kGrantIpNetmask1 + (k - 1), entry->netmask);
    }
  }

  /// The protocol chooses whether the ring or the spanning-tree items are
  /// read (neither without its key).
  void ReadRedundancy() {
    const Row& protocolRow = a8schema::RowsOf(Section::kRedundancy).front();
    const auto protocol = FindToken(protocolRow.key);
    if (!protocol) return;
    const auto value = a8schema::RuleNumber(RuleOf(protocolRow), *protocol);
    if (!value) {
      NoteProblem(protocolRow, 0);
      return;
    }
    Store(D_CONF_ETHA8_REDUN_PROTOCOL, *value);
    ReadRows(*value == 1 ? Section::kRing : Section::kSpanningTree);
    if (*value != 1) ReadRows(Section::kSpanningTreePorts);
  }

  void ReadTosGroups() {
    for (int g = 1; g <= kTosGroups; ++g) {
      const std::string key = "ToSMap" + std::to_string(4 * g - 3) + "-" + std::to_string(4 * g);
      const auto value = FindText(key);
      if (!value) continue;
      // "%d|%d|%d|%d": the entries matched are stored (the accessor keeps 0..3).
      Fields fields(*value);
      int matched = 0;
      for (int i = 0; i < 4; ++i) {
        if (i > 0 && !fields.Literal('|')) break;
        const auto level = fields.Int();
        if (!level) break;
        Store(TosMapEntry(4 * g - 3 + i), static_cast<std::uint32_t>(*level));
        ++matched;
      }
      if (matched < 4) NoteProblem(key, vf::kQos);
    }
  }

  // ---- list lines ----

  /// Every non-empty value of `key`: the first from the start of the file,
  /// then each following one; a line `handle` does not take is a problem.
  template <typename Handle>
  void ForEachListLine(std::string_view key, ValidationFlags group, Handle handle) {
    for (auto value = FindText(key); value; value = FindNextText(key)) {
      if (!value->empty() && !handle(*value)) NoteProblem(std::string(key), group);
    }
  }

  /// "%d %d %d %s": VID, snooping, querier, router ports (1..8). Updates
  /// the IGMP entry that holds the VID, else the one at the index of the
  /// VLAN entry in use with that VID; a VID without a VLAN entry in use is
  /// skipped.
  bool IgmpLine(std::string_view line) {
    Fields fields(line);
    const auto vid = fields.Int();
    const auto snooping = fields.Int();
    const auto querier = fields.Int();
    if (!vid || !snooping || !querier || !kVidRange.Contains(*vid) ||
        !kFlagRange.Contains(*snooping) || !kFlagRange.Contains(*querier)) {
      return false;
    }
    const auto portsText = fields.Word();
    const auto routers = ParsePortList(portsText.value_or(std::string_view()), kPorts);
    if (!routers) return false;
    auto bytes = block_.bytes();
    std::optional<std::size_t> target;
    for (std::size_t n = 0; n < a1::kIgmpEntries && !target; ++n) {
      if ((*ReadU16(bytes, a1::IgmpEntry(n)) & a1::kIgmpVidMask) == *vid) target = n;
    }
    if (!target) target = a8vlan::FindValidEntry(bytes, static_cast<std::uint32_t>(*vid));
    if (!target) return false;
    const std::size_t at = a1::IgmpEntry(*target);
    std::uint16_t word = *ReadU16(bytes, at);
    word = static_cast<std::uint16_t>(
        (word & ~(a1::kIgmpVidMask | a1::kIgmpQuerierBit | a1::kIgmpSnoopingBit)) |
        static_cast<std::uint16_t>(*vid));
    if (*snooping) word |= a1::kIgmpSnoopingBit;
    if (*querier) word |= a1::kIgmpQuerierBit;
    WriteU16(bytes, at, word);
    bytes[at + a1::kIgmpRouterPortsAt] = static_cast<std::uint8_t>(*routers);
    return true;
  }

  /// The entry of a table (used flag in byte 0, MAC at `macAt`) that holds
  /// `mac`, else the first unused one; nothing when the table is full.
  std::optional<std::size_t> EntryFor(std::size_t table, std::size_t entrySize, std::size_t entries,
                                      std::size_t macAt,
                                      const std::array<std::uint8_t, 6>& mac) const {
    const auto bytes = block_.bytes();
    std::optional<std::size_t> free;
    for (std::size_t n = 0; n < entries; ++n) {
      const std::size_t at = table + entrySize * n;
      if (bytes[at] == 0) {
        if (!free) free = n;
        continue;
      }
      if (std::equal(mac.begin(), mac.end(),
                     bytes.begin() + static_cast<std::ptrdiff_t>(at + macAt))) {
        return n;
      }
    }
    return free;
  }

  /// "%s %s": MAC and ports (1..8).
  bool MulticastLine(std::string_view line) {
    Fields fields(line);
    const auto macText = fields.Word();
    const auto portsText = fields.Word();
    if (!macText) return false;
    const auto mac = ParseMacDashed(*macText);
    const auto ports = ParsePortList(portsText.value_or(std::string_view()), kPorts);
    if (!mac || !ports) return false;
    const auto n = EntryFor(a1::kMulticastTable, a1::kMulticastEntrySize, a1::kMulticastEntries,
                            a1::kMulticastMacAt, *mac);
    if (!n) return false;
    auto bytes = block_.bytes();
    const std::size_t at = a1::MulticastEntry(*n);
    bytes[at] = 1;
    bytes[at + a1::kMulticastPortsAt] = static_cast<std::uint8_t>(*ports);
    std::copy(mac->begin(), mac->end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(at + a1::kMulticastMacAt));
    return true;
  }

  /// "%s %d %d": MAC, port 1..8, priority 0..3.
  bool UnicastLine(std::string_view line) {
    Fields fields(line);
    const auto macText = fields.Word();
    const auto port = fields.Int();
    const auto priority = fields.Int();
    if (!macText || !port || !priority || !kUnicastPortRange.Contains(*port) ||
        !kUnicastPriorityRange.Contains(*priority)) {
      return false;
    }
    const auto mac = ParseMacDashed(*macText);
    if (!mac) return false;
    const auto n = EntryFor(a1::kUnicastTable, a1::kUnicastEntrySize, a1::kUnicastEntries,
                            a1::kUnicastMacAt, *mac);
    if (!n) return false;
    auto bytes = block_.bytes();
    const std::size_t at = a1::UnicastEntry(*n);
    bytes[at] = 1;
    bytes[at + a1::kUnicastPortAt] = static_cast<std::uint8_t>(*port - 1);
    std::copy(mac->begin(), mac->end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(at + a1::kUnicastMacAt));
    bytes[at + a1::kUnicastPriorityAt] = static_cast<std::uint8_t>(*priority);
    return true;
  }

  // ---- writing: a value the field refuses is skipped, anything else is a refusal ----

  ItemStatus Check(ItemStatus status) {
    if (status != ItemStatus::kOk && status != ItemStatus::kOutOfRange) refused_ = true;
    return status;
  }
  ItemStatus Store(ConfigItemId id, std::uint32_t value) {
    return Check(accessors_.setNumber(block_, id, value));
  }
  void StoreText(ConfigItemId id, std::string_view text) {
    Check(accessors_.setText(block_, id, text));
  }

  struct AccessValue {
    std::optional<std::string> value;
    int line = 0;
  };

  ConfigBlock& block_;
  GenA1Accessors& accessors_;
  const bool fibreUplinks_;
  std::array<AccessValue, kAccessEntries> access_{};
  bool refused_ = false;
};

}  // namespace

FileReadResult ReadGenA1File(DeviceRecord& edited, ConfigBlock& block, std::string_view fileText,
                             ItemAccessors& accessors) {
  auto* genA1 = dynamic_cast<GenA1Accessors*>(&accessors);
  if (!genA1 || block.size() < blockSize(Generation::kGenA1)) {
    return {validation::kBlockRefused, {}};
  }
  return GenA1Reader(edited, block, fileText, *genA1).Run();
}

ValidationFlags readGenA1ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return ReadGenA1File(edited, block, fileText, accessors).flags;
}

}  // namespace vantrell
