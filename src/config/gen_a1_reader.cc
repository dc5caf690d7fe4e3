#include "config/gen_a1_reader.h"

#include <algorithm>
#include <optional>
#include <string>

#include "config/c_number_parse.h"
#include "config/config_item_ids.h"
#include "config/file_lookup.h"
#include "config/gen_a1_layout.h"
#include "config/gen_a_encodings.h"

namespace vantrell {
namespace {

using namespace item;

constexpr int kPorts = a1::kPorts;
constexpr int kAccessEntries = 10;
constexpr int kCosEntries = 8;
constexpr int kTosGroups = 16;

/// Accepted ranges of the numbers.
struct Range {
  std::int32_t low;
  std::int32_t high;
  bool Contains(std::int32_t value) const { return value >= low && value <= high; }
};
constexpr Range kFlagRange{0, 1};
constexpr Range kAddressModeRange{0, 2};
constexpr Range kMdiFlagRange{0, 2};
constexpr Range kSpeedRange{0, 4};
constexpr Range kTimeZoneRange{0, 62};
constexpr Range kQueryPeriodRange{1, 9999};
constexpr Range kRingPortRange{1, 8};
constexpr Range kHelloTimeRange{0, 10};
constexpr Range kMaxAgeRange{6, 40};
constexpr Range kForwardDelayRange{4, 30};
constexpr Range kStpPortIdRange{0, 15};
constexpr Range kStpPort8IdRange{0, 255};
constexpr Range kStpPathCostRange{1, 200000000};
constexpr Range kPriorityRange{0, 3};
constexpr Range kVidRange{1, 4094};
constexpr Range kThresholdRange{0, 100};
constexpr Range kDurationRange{1, 300};
constexpr Range kRelayChoiceRange{0, 2};
constexpr Range kLinkChoiceRange{0, 4};
constexpr Range kMirrorPortRange{0, 8};
constexpr Range kWatchDirectionRange{1, 2};
constexpr Range kUnicastPortRange{1, 8};
constexpr Range kUnicastPriorityRange{0, 3};
constexpr Range kUnrestricted{INT32_MIN, INT32_MAX};

constexpr std::uint32_t kSystemEventsMax = 0x10000;
constexpr std::uint32_t kPortEventsMax = 0x7;

std::string Numbered(std::string_view prefix, int number, std::string_view suffix = {}) {
  std::string name(prefix);
  name += std::to_string(number);
  name += suffix;
  return name;
}

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

/// Strict dotted form: exactly three dots and four decimal fields 0..255.
std::optional<Ipv4> DottedAddress(std::string_view text) { return ParseIpv4(text); }

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
  const auto address = DottedAddress(text.substr(0, slash));
  const auto netmask = DottedAddress(text.substr(slash + 1));
  if (!address || !netmask) return std::nullopt;
  const std::uint8_t first = Ipv4Octet(*address, 0);
  if ((first >= 224 && first <= 239) || *address == kAllOnesIpv4 || *address == 0) {
    return std::nullopt;
  }
  if (*netmask == 0) return std::nullopt;
  return AccessEntry{*address, *netmask};
}

class GenA1Reader {
 public:
  GenA1Reader(DeviceRecord& edited, ConfigBlock& block, std::string_view fileText,
              GenA1Accessors& accessors)
      : edited_(edited), block_(block), file_(fileText), accessors_(accessors) {}

  ValidationFlags Run() {
    accessors_.clearListTables(block_);
    ReadSystem();
    ReadAccessList();
    ReadPorts();
    ReadNetwork();
    ReadTime();
    ReadRedundancy();
    ReadQos();
    ReadVlans();
    ReadMulticastFiltering();
    ReadRateLimits();
    ReadPortLockAndUnicast();
    ReadMailWarning();
    ReadRelayWarning();
    ReadFlag("D_CONF_ETH_FLAG_FASTRECOVERY", D_CONF_ETH_FLAG_FASTRECOVERY);
    for (int p = 1; p <= kPorts; ++p) {
      ReadAddress(Numbered("D_CONF_ETH_PCFG_DEVIP", p), PcfgDevIp(p), EmptyValue::kIsZero);
    }
    ReadNumber("D_CONF_ETH_MIRROR_PORT", D_CONF_ETH_MIRROR_PORT, kMirrorPortRange);
    ReadNumber("D_CONF_ETH_TARGET_PORT", D_CONF_ETH_TARGET_PORT, kMirrorPortRange);
    ReadNumber("D_CONF_ETH_MIRROR_DIR", D_CONF_ETH_MIRROR_DIR, kWatchDirectionRange);
    return refused_ ? validation::kBlockRefused : 0;
  }

 private:
  // ---- groups ----

  void ReadSystem() {
    ReadText(file_.findValueText("D_CONF_ETH_NAMEA8"), D_CONF_ETH_NAMEA8);
    ReadText(file_.findValueText("D_CONF_ETH_LOCATIONA8"), D_CONF_ETH_LOCATIONA8);
    ReadText(file_.findValueText("D_CONF_ETH_SYSDESCRA8"), D_CONF_ETH_SYSDESCRA8);
    ReadText(file_.findValueText("D_CONF_ETH_CONTACTA8"), D_CONF_ETH_CONTACTA8);
    ReadFlag("D_CONF_ETH_FLAG_WEB", D_CONF_ETH_FLAG_WEBA8);
    ReadFlag("D_CONF_ETH_FLAG_TELNET", D_CONF_ETH_FLAG_TELNETA8);
    ReadText(file_.findValueText("D_CONF_ETH_USERPWD"), D_CONF_ETH_USERPWD);
  }

  /// The ten entries are replaced only when the file carries at least one
  /// of them; an absent or empty entry is cleared, an unusable one keeps
  /// the device's entry.
  void ReadAccessList() {
    ReadFlag("D_CONF_GRANTIP_INUSED", D_CONF_GRANTIP_INUSED);
    std::array<std::optional<std::string>, kAccessEntries> values;
    bool carried = false;
    for (int k = 1; k <= kAccessEntries; ++k) {
      auto value = Value(file_.findValueText(Numbered("D_CONF_GRANTIP_IP", k)));
      carried = carried || value.has_value();
      values[static_cast<std::size_t>(k - 1)] = std::move(value);
    }
    if (!carried) return;
    for (int k = 1; k <= kAccessEntries; ++k) {
      const auto& value = values[static_cast<std::size_t>(k - 1)];
      const auto entry = ParseAccessEntry(value.value_or(std::string()));
      if (!entry) continue;
      Store(D_CONF_GRANTIP_IP1 + (k - 1), entry->address);
      Store(kGrantIpNetmask1 + (k - 1), entry->netmask);
    }
  }

  void ReadPorts() {
    const bool fibre = IsFibreUplinkModel(Generation::kGenA1, edited_.modelId);
    for (int p = 1; p <= kPorts; ++p) {
      ReadFlag(Numbered("D_CONF_ETH_PCFG_DISABLE", p), PcfgDisable(p));
      if (fibre && p >= 7) continue;
      ReadNumber(Numbered("D_CONF_ETH_PCFG_FLAG", p), PcfgFlag(p), kMdiFlagRange);
      ReadFlag(Numbered("D_CONF_ETH_PCFG_FDX", p), PcfgFdx(p));
      ReadNumber(Numbered("D_CONF_ETH_PCFG_SPEED", p), PcfgSpeed(p), kSpeedRange);
    }
  }

  void ReadNetwork() {
    ReadNumber("D_CONF_ETH_FLAG_AUTOIP", D_CONF_ETH_FLAG_AUTOIP, kAddressModeRange);
    ReadAddress("D_CONF_ETH_IPADDR", D_CONF_ETH_IPADDR, EmptyValue::kUnusable);
    ReadNetmask();
    ReadAddress("D_CONF_ETH_GATEWAY", D_CONF_ETH_GATEWAY, EmptyValue::kIsZero);
    ReadAddress("D_CONF_ETH_DNSSIP", D_CONF_ETH_DNSSIP, EmptyValue::kIsZero);
    ReadAddress("D_CONF_ETH_DNSSIP1", D_CONF_ETH_DNSSIP1, EmptyValue::kIsZero);
    ReadText(file_.findValueText("D_CONF_ETH_TRAPS"), D_CONF_ETH_TRAPS);
    ReadText(file_.findValueText("D_CONF_ETH_COMMUNITY"), D_CONF_ETH_COMMUNITY);
  }

  void ReadTime() {
    ReadNumber("D_CONF_ETH_DTIME_TZONE", D_CONF_ETH_DTIME_TZONE, kTimeZoneRange);
    ReadText(file_.findValueText("D_CONF_ETH_DTIME_SRV1"), D_CONF_ETH_DTIME_SRV1);
    ReadText(file_.findValueText("D_CONF_ETH_DTIME_SRV2"), D_CONF_ETH_DTIME_SRV2);
    ReadNumber("D_CONF_ETH_DTIME_PERIOD", D_CONF_ETH_DTIME_PERIOD, kQueryPeriodRange);
  }

  void ReadRedundancy() {
    const auto protocol = Value(file_.findValueToken("D_CONF_ETHA8_REDUN_PROTOCOL"));
    if (!protocol) return;
    const std::int32_t value = CAtol(*protocol);
    if (!kFlagRange.Contains(value)) return;
    Store(D_CONF_ETHA8_REDUN_PROTOCOL, static_cast<std::uint32_t>(value));
    if (value == 1) {
      ReadFlag("D_CONF_ETH_REDUN_MASTER", D_CONF_ETH_REDUN_MASTER);
      ReadNumber("D_CONF_ETH_REDUN_PORT1", D_CONF_ETH_REDUN_PORT1, kRingPortRange);
      ReadNumber("D_CONF_ETH_REDUN_PORT2", D_CONF_ETH_REDUN_PORT2, kRingPortRange);
      ReadFlag("D_CONF_ETH_REDUN_COUPLING", D_CONF_ETH_REDUN_COUPLING);
      ReadNumber("D_CONF_ETH_REDUN_CPL_PORT", D_CONF_ETH_REDUN_CPL_PORT, kRingPortRange);
      ReadNumber("D_CONF_ETH_REDUN_CPL_CTRLPORT", D_CONF_ETH_REDUN_CPL_CTRLPORT, kRingPortRange);
      return;
    }
    // The bridge priority is taken as given; the accessor keeps 0..15 only.
    ReadNumber("D_CONF_ETH_SPAN_BRIDGE_ID", D_CONF_ETH_SPAN_BRIDGE_ID, kUnrestricted);
    ReadNumber("D_CONF_ETH_SPAN_HELLO_TIME", D_CONF_ETH_SPAN_HELLO_TIME, kHelloTimeRange);
    ReadNumber("D_CONF_ETH_SPAN_MAX_AGE", D_CONF_ETH_SPAN_MAX_AGE, kMaxAgeRange);
    ReadNumber("D_CONF_ETH_SPAN_FD_DELAY", D_CONF_ETH_SPAN_FD_DELAY, kForwardDelayRange);
    for (int p = 1; p <= kPorts; ++p) {
      ReadFlag(Numbered("D_CONF_ETH_SPAN_PORT", p, "_EN"), SpanPortEnable(p));
      ReadNumber(Numbered("D_CONF_ETH_SPAN_PORT", p, "_ID"), SpanPortId(p),
                 p == kPorts ? kStpPort8IdRange : kStpPortIdRange);
      ReadNumber(Numbered("D_CONF_ETH_SPAN_PATH", p, "_COST"), SpanPathCost(p), kStpPathCostRange);
    }
  }

  void ReadQos() {
    ReadFlag("D_CONF_QOS_SCHEDULE", D_CONF_QOS_SCHEDULE);
    for (int p = 1; p <= kPorts; ++p) {
      ReadFlag(Numbered("D_CONF_QOS_INSPECT", p, "_TOS"), D_CONF_QOS_INSPECT1_TOS + (p - 1));
      ReadFlag(Numbered("D_CONF_QOS_INSPECT", p, "_COS"), D_CONF_QOS_INSPECT1_COS + (p - 1));
      ReadNumber(Numbered("D_CONF_QOS_PRIORITY", p), D_CONF_QOS_PRIORITY1 + (p - 1),
                 kPriorityRange);
    }
    for (int c = 0; c < kCosEntries; ++c) {
      ReadNumber(Numbered("D_CONF_COSMAP", c), D_CONF_COSMAP0 + c, kPriorityRange);
    }
    for (int g = 1; g <= kTosGroups; ++g) {
      const std::string name =
          "D_CONF_TOSMAP_" + std::to_string(4 * g - 3) + "_" + std::to_string(4 * g);
      const auto value = Value(file_.findValueText(name));
      if (!value) continue;
      // "%d|%d|%d|%d": the entries matched are stored (the accessor keeps 0..3).
      Fields fields(*value);
      for (int i = 0; i < 4; ++i) {
        if (i > 0 && !fields.Literal('|')) break;
        const auto level = fields.Int();
        if (!level) break;
        Store(TosMapEntry(4 * g - 3 + i), static_cast<std::uint32_t>(*level));
      }
    }
  }

  void ReadVlans() {
    ReadNumber("D_CONF_VLAN_SYS_VID", D_CONF_VLAN_SYS_VID, kVidRange);
    for (int p = 1; p <= kPorts; ++p) {
      const ConfigItemId first = D_CONF_VLAN_TYPE1 + 4 * static_cast<ConfigItemId>(p - 1);
      ReadFlag(Numbered("D_CONF_VLAN_TYPE", p), first);
      ReadNumber(Numbered("D_CONF_VLAN_PVID", p), first + 1, kUnrestricted);
      ReadText(file_.findValueText(Numbered("D_CONF_VLAN_FIXVID", p)), first + 2);
      ReadText(file_.findValueText(Numbered("D_CONF_VLAN_FRBVID", p)), first + 3);
    }
  }

  void ReadMulticastFiltering() {
    ReadFlag("D_CONF_IGMPSNOOP_ENABLE", D_CONF_IGMPSNOOP_ENABLE);
    ReadNumber("D_CONF_IGMPSNOOP_QUERY_PERIDO", D_CONF_IGMPSNOOP_QUERY_PERIDO, kUnrestricted);
    ForEachListLine("D_CONF_IGMPSNOOP_ENTRY", [this](std::string_view line) { IgmpLine(line); });
    ForEachListLine("D_CONF_MULTICAST_ADDR",
                    [this](std::string_view line) { MulticastLine(line); });
  }

  void ReadRateLimits() {
    for (int p = 1; p <= kPorts; ++p) {
      ReadText(file_.findValueText(Numbered("D_CONF_RATE_LIMIT_INGRESS_P", p)),
               D_CONF_RATE_LIMIT_INGRESS_P1 + (p - 1));
      ReadText(file_.findValueToken(Numbered("D_CONF_RATE_LIMIT_ENGRESS_RATE", p)),
               D_CONF_RATE_LIMIT_ENGRESS_RATE1 + (p - 1));
    }
  }

  void ReadPortLockAndUnicast() {
    for (int p = 1; p <= kPorts; ++p) {
      ReadFlag(Numbered("D_CONF_PORT_LOCK", p), D_CONF_PORT_LOCK1 + (p - 1));
    }
    ForEachListLine("D_CONF_UNICAST_ADDR", [this](std::string_view line) { UnicastLine(line); });
  }

  void ReadMailWarning() {
    ReadText(file_.findValueTextShort("D_CONF_ETH_WARN_SMTPSrv"), D_CONF_ETH_WARN_SMTPSrv);
    ReadText(file_.findValueTextShort("D_CONF_ETH_WARN_SMTP_UNAME"), D_CONF_ETH_WARN_SMTP_UNAME);
    ReadText(file_.findValueTextShort("D_CONF_ETH_WARN_SMTP_PASSWD"), D_CONF_ETH_WARN_SMTP_PASSWD);
    for (int k = 1; k <= 4; ++k) {
      ReadText(file_.findValueTextShort(Numbered("D_CONF_ETH_WARN_TO", k)), WarnTo(k));
    }
    ReadHex("D_CONF_ETH_WARN_SFLAGA8", D_CONF_ETH_WARN_SFLAGA8, kSystemEventsMax);
    for (int p = 1; p <= kPorts; ++p) {
      ReadHex(Numbered("D_CONF_ETH_WARN_PFLAG", p), WarnPortFlag(p), kPortEventsMax);
      ReadNumber(Numbered("D_CONF_ETH_WARN_PLOAD", p), WarnPortLoad(p), kThresholdRange);
      ReadNumber(Numbered("D_CONF_ETH_WARN_PLOADTIME", p), WarnPortLoadTime(p), kDurationRange);
    }
  }

  void ReadRelayWarning() {
    ReadFlag("D_CONF_RELAY_SFLAG_NORMAL1", D_CONF_RELAY_SFLAG_NORMAL1);
    ReadFlag("D_CONF_RELAY_SFLAG_NORMAL2", D_CONF_RELAY_SFLAG_NORMAL2);
    ReadNumber("D_CONF_ETH_RELAY_SFLAG_POWER1", D_CONF_ETH_RELAY_SFLAG_POWER1, kRelayChoiceRange);
    ReadNumber("D_CONF_ETH_RELAY_SFLAG_POWER2", D_CONF_ETH_RELAY_SFLAG_POWER2, kRelayChoiceRange);
    ReadNumber("D_CONF_RELAY_SFLAG_DI1_ON2OFF", D_CONF_RELAY_SFLAG_DI1_ON2OFF, kRelayChoiceRange);
    ReadNumber("D_CONF_RELAY_SFLAG_DI1_OFF2ON", D_CONF_RELAY_SFLAG_DI1_OFF2ON, kRelayChoiceRange);
    ReadNumber("D_CONF_RELAY_SFLAG_DI2_ON2OFF", D_CONF_RELAY_SFLAG_DI2_ON2OFF, kRelayChoiceRange);
    ReadNumber("D_CONF_RELAY_SFLAG_DI2_OFF2ON", D_CONF_RELAY_SFLAG_DI2_OFF2ON, kRelayChoiceRange);
    for (int p = 1; p <= kPorts; ++p) {
      ReadNumber(Numbered("D_CONF_ETH_RELAY_PFLAG_LINK", p), RelayPortLink(p), kLinkChoiceRange);
      ReadNumber(Numbered("D_CONF_ETH_RELAY_PFLAG_TRAF", p), RelayPortTraffic(p),
                 kRelayChoiceRange);
      ReadNumber(Numbered("D_CONF_ETH_RELAY_PLOAD", p), RelayPortLoad(p), kThresholdRange);
      ReadNumber(Numbered("D_CONF_ETH_RELAY_PLOADTIME", p), RelayPortLoadTime(p), kDurationRange);
    }
  }

  // ---- list lines ----

  /// Every non-empty value of `constName`: the first from the start of the
  /// file, then each following one.
  template <typename Handle>
  void ForEachListLine(std::string_view constName, Handle handle) {
    std::string value = file_.findValueText(constName);
    while (!IsNotFound(value)) {
      if (!value.empty()) handle(value);
      value = file_.findNextValueText(constName);
    }
  }

  /// "%d %d %d %s": VID, snooping, querier, router ports (1..8). Updates
  /// the IGMP entry that holds the VID, else the one at the index of the
  /// VLAN entry in use with that VID; a VID without a VLAN entry in use is
  /// skipped.
  void IgmpLine(std::string_view line) {
    Fields fields(line);
    const auto vid = fields.Int();
    const auto snooping = fields.Int();
    const auto querier = fields.Int();
    if (!vid || !snooping || !querier || !kVidRange.Contains(*vid) ||
        !kFlagRange.Contains(*snooping) || !kFlagRange.Contains(*querier)) {
      return;
    }
    const auto portsText = fields.Word();
    const auto routers = ParsePortList(portsText.value_or(std::string_view()), kPorts);
    if (!routers) return;
    auto bytes = block_.bytes();
    std::optional<std::size_t> target;
    for (std::size_t n = 0; n < a1::kIgmpEntries && !target; ++n) {
      if ((*ReadU16(bytes, a1::IgmpEntry(n)) & a1::kIgmpVidMask) == *vid) target = n;
    }
    if (!target) target = a8vlan::FindValidEntry(bytes, static_cast<std::uint32_t>(*vid));
    if (!target) return;
    const std::size_t at = a1::IgmpEntry(*target);
    std::uint16_t word = *ReadU16(bytes, at);
    word = static_cast<std::uint16_t>(
        (word & ~(a1::kIgmpVidMask | a1::kIgmpQuerierBit | a1::kIgmpSnoopingBit)) |
        static_cast<std::uint16_t>(*vid));
    if (*snooping) word |= a1::kIgmpSnoopingBit;
    if (*querier) word |= a1::kIgmpQuerierBit;
    WriteU16(bytes, at, word);
    bytes[at + a1::kIgmpRouterPortsAt] = static_cast<std::uint8_t>(*routers);
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
  void MulticastLine(std::string_view line) {
    Fields fields(line);
    const auto macText = fields.Word();
    const auto portsText = fields.Word();
    if (!macText) return;
    const auto mac = ParseMacDashed(*macText);
    const auto ports = ParsePortList(portsText.value_or(std::string_view()), kPorts);
    if (!mac || !ports) return;
    const auto n = EntryFor(a1::kMulticastTable, a1::kMulticastEntrySize, a1::kMulticastEntries,
                            a1::kMulticastMacAt, *mac);
    if (!n) return;
    auto bytes = block_.bytes();
    const std::size_t at = a1::MulticastEntry(*n);
    bytes[at] = 1;
    bytes[at + a1::kMulticastPortsAt] = static_cast<std::uint8_t>(*ports);
    std::copy(mac->begin(), mac->end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(at + a1::kMulticastMacAt));
  }

  /// "%s %d %d": MAC, port 1..8, priority 0..3.
  void UnicastLine(std::string_view line) {
    Fields fields(line);
    const auto macText = fields.Word();
    const auto port = fields.Int();
    const auto priority = fields.Int();
    if (!macText || !port || !priority || !kUnicastPortRange.Contains(*port) ||
        !kUnicastPriorityRange.Contains(*priority)) {
      return;
    }
    const auto mac = ParseMacDashed(*macText);
    if (!mac) return;
    const auto n = EntryFor(a1::kUnicastTable, a1::kUnicastEntrySize, a1::kUnicastEntries,
                            a1::kUnicastMacAt, *mac);
    if (!n) return;
    auto bytes = block_.bytes();
    const std::size_t at = a1::UnicastEntry(*n);
    bytes[at] = 1;
    bytes[at + a1::kUnicastPortAt] = static_cast<std::uint8_t>(*port - 1);
    std::copy(mac->begin(), mac->end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(at + a1::kUnicastMacAt));
    bytes[at + a1::kUnicastPriorityAt] = static_cast<std::uint8_t>(*priority);
  }

  // ---- value kinds ----

  static std::optional<std::string> Value(std::string value) {
    if (IsNotFound(value)) return std::nullopt;
    return value;
  }

  void ReadFlag(const std::string& constName, ConfigItemId id) {
    ReadNumber(constName, id, kFlagRange);
  }

  /// `atoi` of the token, stored when inside `range`.
  void ReadNumber(const std::string& constName, ConfigItemId id, Range range) {
    const auto token = Value(file_.findValueToken(constName));
    if (!token) return;
    const std::int32_t value = CAtoi(*token);
    if (range.Contains(value)) Store(id, static_cast<std::uint32_t>(value));
  }

  void ReadHex(const std::string& constName, ConfigItemId id, std::uint32_t max) {
    const auto token = Value(file_.findValueToken(constName));
    if (!token) return;
    const auto value = CScanHex(*token);
    if (value && *value <= max) Store(id, *value);
  }

  enum class EmptyValue { kUnusable, kIsZero };

  /// A dotted address; 255.255.255.255 and unparsable texts are not applied.
  void ReadAddress(const std::string& constName, ConfigItemId id, EmptyValue empty) {
    const auto token = Value(file_.findValueToken(constName));
    if (!token) return;
    if (token->empty()) {
      if (empty == EmptyValue::kIsZero) Store(id, 0);
      return;
    }
    const Ipv4 address = CInetAddr(*token);
    if (address != kAllOnesIpv4) Store(id, address);
  }

  /// The netmask also takes the literal "255.255.255.255"; empty is 0.0.0.0.
  void ReadNetmask() {
    const auto token = Value(file_.findValueToken("D_CONF_ETH_IPMASK"));
    if (!token) return;
    if (token->empty()) {
      Store(D_CONF_ETH_IPMASK, 0);
      return;
    }
    const Ipv4 address = CInetAddr(*token);
    if (address != kAllOnesIpv4 || *token == "255.255.255.255") Store(D_CONF_ETH_IPMASK, address);
  }

  void ReadText(std::string value, ConfigItemId id) {
    if (IsNotFound(value)) return;
    StoreText(id, value);
  }

  // ---- writing: a value the field refuses is skipped, anything else is a refusal ----

  void Check(ItemStatus status) {
    if (status != ItemStatus::kOk && status != ItemStatus::kOutOfRange) refused_ = true;
  }
  void Store(ConfigItemId id, std::uint32_t value) {
    Check(accessors_.setNumber(block_, id, value));
  }
  void StoreText(ConfigItemId id, std::string_view text) {
    Check(accessors_.setText(block_, id, text));
  }

  DeviceRecord& edited_;
  ConfigBlock& block_;
  ConfigFileLookup file_;
  GenA1Accessors& accessors_;
  bool refused_ = false;
};

}  // namespace

ValidationFlags readGenA1ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  auto* genA1 = dynamic_cast<GenA1Accessors*>(&accessors);
  if (!genA1 || block.size() < blockSize(Generation::kGenA1)) return validation::kBlockRefused;
  return GenA1Reader(edited, block, fileText, *genA1).Run();
}

}  // namespace vantrell
