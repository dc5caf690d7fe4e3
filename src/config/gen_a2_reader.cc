#include "config/gen_a2_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <vector>

#include "config/c_number_parse.h"
#include "config/config_item_ids.h"
#include "config/file_lookup.h"
#include "config/gen_a2_layout.h"
#include "config/gen_a_encodings.h"

namespace vantrell {
namespace {

using namespace item;
using namespace validation;
using gen_a2::kLogicalPorts;
using gen_a2::kPorts;
using gen_a2::kTrunks;

constexpr int kAccessEntries = 10;
constexpr int kMailRecipients = 4;
constexpr int kCosClasses = 8;
constexpr int kTosGroups = 16;
constexpr std::size_t kMaxListEntries = 128;

// Text limits, in characters.
constexpr std::size_t kShortText = 30;
constexpr std::size_t kLocationText = 80;
constexpr std::size_t kPasswordText = 16;
constexpr std::size_t kSmtpText = 45;
constexpr std::size_t kMinSnmpSecret = 8;

struct Range {
  std::int32_t low;
  std::int32_t high;
  bool Contains(std::int64_t value) const { return value >= low && value <= high; }
};
constexpr Range kFlag{0, 1};
constexpr Range kMdi{0, 2};
constexpr Range kSpeed{0, 4};
constexpr Range kAutoIp{0, 2};
constexpr Range kTrunkGroup{0, 4};
constexpr Range kSnmpChoice{0, 2};
constexpr Range kTimeZone{0, 62};
constexpr Range kQueryPeriod{1, 9999};
constexpr Range kLogicalPort{1, 12};
constexpr Range kStpPortId{0, 15};
constexpr Range kStpCost{1, 200000000};
constexpr Range kHelloTime{0, 10};
constexpr Range kMaxAge{6, 40};
constexpr Range kForwardDelay{4, 30};
constexpr Range kBridgePriority{0, 15};
constexpr Range kQueue{0, 3};
constexpr Range kVid{1, 4094};
constexpr Range kVidOrNone{0, 4094};
constexpr Range kIgmpQueryPeriod{20, 600};
constexpr Range kRelayChoice{0, 2};
constexpr Range kThreshold{0, 100};
constexpr Range kDuration{1, 300};
constexpr Range kMirrorPort{0, 8};
constexpr Range kWatchDirection{1, 2};
constexpr Range kUnicastPort{1, 8};
constexpr std::uint32_t kSystemEventsMax = 0x10000;
constexpr std::uint32_t kPortEventsMax = 0x7;
constexpr std::uint32_t kLinkChoiceMax = 0x4;

constexpr std::uint32_t kBridgePriorityFactor = 4096;
/// Models whose ports 7 and 8 take every port setting.
constexpr std::uint16_t kFreeUplinkModels[] = {0x0508, 0x0538};
constexpr std::int32_t kFixedUplinkSpeed = 1;  // 100 full

/// Address modes of item 446.
constexpr std::uint32_t kModeDhcp = 1;
constexpr std::uint32_t kModeBootp = 2;
/// SNMP versions that include V3.
constexpr std::uint32_t kSnmpAll = 0;
constexpr std::uint32_t kSnmpV3Only = 2;
constexpr std::int32_t kMaxPortsPerTrunk = 4;
constexpr int kMinLogicalPortsForRing = 4;

std::string Name(std::string_view prefix, int number, std::string_view suffix = {}) {
  std::string name(prefix);
  name += std::to_string(number);
  name += suffix;
  return name;
}

std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsCSpace(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !IsCSpace(text[i]) && text[i] != '\0') ++i;
    if (i > start) tokens.push_back(text.substr(start, i - start));
    if (i < text.size() && text[i] == '\0') break;
  }
  return tokens;
}

/// A "%d" conversion of a token: nothing when it does not begin with a
/// number.
std::optional<std::int32_t> ScanInt(std::string_view token) {
  std::size_t i = 0;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
  if (i >= token.size() || token[i] < '0' || token[i] > '9') return std::nullopt;
  return CAtoi(token);
}

/// Exactly three dots and four decimal fields of 0..255.
bool DottedSyntax(std::string_view text) {
  int fields = 0;
  std::size_t i = 0;
  while (true) {
    std::size_t digits = 0;
    std::uint32_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      if (++digits > 3) return false;
      value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
      ++i;
    }
    if (digits == 0 || value > 255) return false;
    ++fields;
    if (i == text.size()) return fields == 4;
    if (text[i] != '.' || fields == 4) return false;
    ++i;
  }
}

bool IsMulticastAddress(std::uint32_t address) {
  const unsigned first = address & 0xFF;  // network order: first octet lowest
  return first >= 224 && first <= 239;
}

/// The length of a text up to its first blank (the password rule of SNMP).
std::size_t LengthToBlank(std::string_view text) {
  const std::size_t blank = text.find(' ');
  return blank == std::string_view::npos ? text.size() : blank;
}

class GenA2Reader {
 public:
  GenA2Reader(const DeviceRecord& edited, ConfigBlock& block, std::string_view fileText,
              ItemAccessors& accessors)
      : edited_(edited), block_(block), file_(fileText), accessors_(accessors) {}

  GenA2ReadResult Run() {
    if (block_.size() < gen_a2::kBlockSize || accessors_.blockSize() != gen_a2::kBlockSize) {
      result_.flags = kBlockRefused;
      return result_;
    }
    const bool read =
        ReadSystem() && ReadPassword() && ReadAccessList() && ReadPorts() && ReadNetwork() &&
        ReadTrunking() && ReadSnmp() && ReadTime() && ReadRedundancy() && ReadQos() && ReadVlan() &&
        ReadIgmp() && ReadMulticast() && ReadRates() && ReadPortLock() && ReadUnicast() &&
        ReadEmail() && ReadRelay() && ReadFastRecovery() && ReadDeviceIps() && ReadMirror();
    if (read && !refused_) CrossCheck();
    if (refused_) result_.flags = kBlockRefused;
    return result_;
  }

 private:
  // ---- outcome ----

  bool Fail(ValidationFlags group) {
    result_.flags = group;
    return false;
  }

  /// Writes an item. A value the field ignores (a checked field out of its
  /// range) is no failure; a block that cannot take the item is.
  void Store(ConfigItemId id, const ItemValue& value) {
    const ItemStatus status = accessors_.setItem(block_, id, value);
    if (status != ItemStatus::kOk && status != ItemStatus::kOutOfRange) refused_ = true;
  }
  void StoreNumber(ConfigItemId id, std::uint32_t value) { Store(id, ItemValue(value)); }
  void StoreText(ConfigItemId id, std::string_view text) {
    Store(id, ItemValue(std::string(text)));
  }

  std::optional<std::uint32_t> Current(ConfigItemId id) const {
    return accessors_.getNumber(block_, id);
  }

  // ---- lookups ----

  static std::optional<std::string> Found(std::string value) {
    if (IsNotFound(value)) return std::nullopt;
    return value;
  }
  std::optional<std::string> Token(std::string_view constName) {
    return Found(file_.findValueToken(constName));
  }
  std::optional<std::string> TextValue(std::string_view constName) {
    return Found(file_.findValueText(constName));
  }

  // ---- the value kinds ----

  /// A decimal number in `range`, stored as given (times `factor`).
  bool Number(std::string_view constName, ConfigItemId id, Range range, ValidationFlags group,
              std::uint32_t factor = 1) {
    const auto value = Token(constName);
    if (!value) return true;
    const std::int32_t number = CAtoi(*value);
    if (!range.Contains(number)) return Fail(group);
    StoreNumber(id, static_cast<std::uint32_t>(number) * factor);
    return true;
  }

  bool Hex(std::string_view constName, ConfigItemId id, std::uint32_t max, ValidationFlags group) {
    const auto value = Token(constName);
    if (!value) return true;
    const auto number = CScanHex(*value);
    if (!number || *number > max) return Fail(group);
    StoreNumber(id, *number);
    return true;
  }

  bool Text(std::string_view constName, ConfigItemId id, std::size_t maxChars,
            ValidationFlags group) {
    const auto value = TextValue(constName);
    if (!value) return true;
    if (value->size() > maxChars) return Fail(group);
    StoreText(id, *value);
    return true;
  }

  bool Address(std::string_view constName, ConfigItemId id, ValidationFlags group) {
    const auto value = Token(constName);
    if (!value) return true;
    const auto address = GenA2AddressValue(*value);
    if (!address) return Fail(group);
    StoreNumber(id, *address);
    return true;
  }

  // ---- the groups, in the order of the file ----

  bool ReadSystem() {
    return Text("D_CONF_ETH_NAMEA8", D_CONF_ETH_NAMEA8, kShortText, kSystem) &&
           Text("D_CONF_ETH_LOCATIONA8", D_CONF_ETH_LOCATIONA8, kLocationText, kSystem) &&
           Text("D_CONF_ETH_SYSDESCRA8", D_CONF_ETH_SYSDESCRA8, kShortText, kSystem) &&
           Text("D_CONF_ETH_CONTACTA8", D_CONF_ETH_CONTACTA8, kShortText, kSystem) &&
           Number("D_CONF_ETH_FLAG_WEBA8", D_CONF_ETH_FLAG_WEBA8, kFlag, kSystem) &&
           Number("D_CONF_ETH_FLAG_TELNETA8", D_CONF_ETH_FLAG_TELNETA8, kFlag, kSystem);
  }

  bool ReadPassword() {
    return Text("D_CONF_ETH_USERPWD", D_CONF_ETH_USERPWD, kPasswordText, kPasswords);
  }

  bool ReadAccessList() {
    if (!Number("D_CONF_GRANTIP_INUSED", D_CONF_GRANTIP_INUSED, kFlag, kAccessibleIp)) {
      return false;
    }
    for (int k = 1; k <= kAccessEntries; ++k) {
      const auto value = TextValue(Name("D_CONF_GRANTIP_IP", k));
      if (!value) continue;
      const auto entry = AccessEntry(*value);
      if (!entry) return Fail(kAccessibleIp);
      StoreNumber(D_CONF_GRANTIP_IP1 + static_cast<ConfigItemId>(k - 1), entry->first);
      StoreNumber(kGrantIpNetmask1 + static_cast<ConfigItemId>(k - 1), entry->second);
    }
    return true;
  }

  /// "address/netmask"; empty gives 0.0.0.0 for both.
  static std::optional<std::pair<std::uint32_t, std::uint32_t>> AccessEntry(std::string_view text) {
    if (text.empty()) return std::pair<std::uint32_t, std::uint32_t>{0, 0};
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = text.substr(0, slash);
    const std::string_view mask = text.substr(slash + 1);
    if (!DottedSyntax(host) || !DottedSyntax(mask)) return std::nullopt;
    const std::uint32_t hostAddress = CInetAddr(host);
    const std::uint32_t maskAddress = CInetAddr(mask);
    if (IsMulticastAddress(hostAddress) || hostAddress == kAllOnesIpv4 || hostAddress == 0 ||
        maskAddress == 0) {
      return std::nullopt;
    }
    return std::pair{hostAddress, maskAddress};
  }

  bool ReadPorts() {
    const bool freeUplinks = std::find(std::begin(kFreeUplinkModels), std::end(kFreeUplinkModels),
                                       edited_.modelId) != std::end(kFreeUplinkModels);
    for (int p = 1; p <= kPorts; ++p) {
      if (!Number(Name("D_CONF_ETH_PCFG_DISABLE", p), PcfgDisable(p), kFlag, kPort)) return false;
      const bool fixedUplink = p >= 7 && !freeUplinks;
      if (!(fixedUplink && p == 7) &&
          !Number(Name("D_CONF_ETH_PCFG_FLAG", p), PcfgFlag(p), kMdi, kPort)) {
        return false;
      }
      if (fixedUplink) {
        if (!FixedUplinkValue(Name("D_CONF_ETH_PCFG_FDX", p), PcfgFdx(p), 0) ||
            !FixedUplinkValue(Name("D_CONF_ETH_PCFG_SPEED", p), PcfgSpeed(p), kFixedUplinkSpeed)) {
          return false;
        }
      } else if (!Number(Name("D_CONF_ETH_PCFG_FDX", p), PcfgFdx(p), kFlag, kPort) ||
                 !Number(Name("D_CONF_ETH_PCFG_SPEED", p), PcfgSpeed(p), kSpeed, kPort)) {
        return false;
      }
    }
    return true;
  }

  /// A setting of a fixed uplink port: the model's fixed value, or the value
  /// the device already has, so that a device takes back its own export.
  bool FixedUplinkValue(std::string_view constName, ConfigItemId id, std::int32_t fixed) {
    const auto value = Token(constName);
    if (!value) return true;
    const std::int32_t number = CAtoi(*value);
    const auto current = Current(id);
    const bool unchanged = current && number >= 0 && *current == static_cast<std::uint32_t>(number);
    if (number != fixed && !unchanged) return Fail(kPort);
    StoreNumber(id, static_cast<std::uint32_t>(number));
    return true;
  }

  bool ReadNetwork() {
    return Number("D_CONF_ETH_FLAG_AUTOIP", D_CONF_ETH_FLAG_AUTOIP, kAutoIp, kNetwork) &&
           Address("D_CONF_ETH_IPADDR", D_CONF_ETH_IPADDR, kNetwork) &&
           Address("D_CONF_ETH_IPMASK", D_CONF_ETH_IPMASK, kNetwork) &&
           Address("D_CONF_ETH_GATEWAY", D_CONF_ETH_GATEWAY, kNetwork) &&
           Address("D_CONF_ETH_DNSSIP", D_CONF_ETH_DNSSIP, kNetwork) &&
           Address("D_CONF_ETH_DNSSIP1", D_CONF_ETH_DNSSIP1, kNetwork);
  }

  bool ReadTrunking() {
    for (int p = 1; p <= kPorts; ++p) {
      if (!Number(Name("D_CONF_ETH_PORTTRUNKING_P", p),
                  D_CONF_ETH_PORTTRUNKING_P1 + static_cast<ConfigItemId>(p - 1), kTrunkGroup,
                  kPortTrunking)) {
        return false;
      }
    }
    // From here on the block's trunk groups are the file's (or, for ports
    // the file leaves out, the device's). With a trunk in use the file
    // carries no VLAN or unicast entries, so the device keeps its own.
    trunking_ = gen_a2::TrunkingActive(block_.bytes());
    const bool keepVlans = trunking_ || !CarriesVlanSection();
    gen_a2::ClearListTables(block_.bytes(), trunking_ ? gen_a2::ClearScope::kMulticastOnly
                                                      : gen_a2::ClearScope::kUnicastAndMulticast);
    if (!keepVlans) a8vlan::ClearTable(block_.bytes());
    return true;
  }

  /// A file without any VLAN key does not carry the VLAN table: the device
  /// keeps its own instead of losing every VLAN, the management VLAN's too.
  bool CarriesVlanSection() {
    if (Token("D_CONF_VLAN_SYS_VID")) return true;
    for (int p = 1; p <= kPorts; ++p) {
      for (const char* family :
           {"D_CONF_VLAN_TYPE", "D_CONF_VLAN_PVID", "D_CONF_VLAN_FIXVID", "D_CONF_VLAN_FRBVID"}) {
        if (Token(Name(family, p))) return true;
      }
    }
    return false;
  }

  bool ReadSnmp() {
    return SnmpVersion() &&
           Text("D_CONF_SNMP_V1V2CROCOMM", D_CONF_SNMP_V1V2CROCOMM, kShortText, kSnmp) &&
           Text("D_CONF_SNMP_V1V2CRWCOMM", D_CONF_SNMP_V1V2CRWCOMM, kShortText, kSnmp) &&
           Number("D_CONF_SNMP_V3AAUTHTYPE", D_CONF_SNMP_V3AAUTHTYPE, kSnmpChoice, kSnmp) &&
           Number("D_CONF_SNMP_V3AADEE", D_CONF_SNMP_V3AADEE, kFlag, kSnmp) &&
           Text("D_CONF_SNMP_V3ADATAENCR", D_CONF_SNMP_V3ADATAENCR, kShortText, kSnmp) &&
           Number("D_CONF_SNMP_V3UAUTHTYPE", D_CONF_SNMP_V3UAUTHTYPE, kSnmpChoice, kSnmp) &&
           Number("D_CONF_SNMP_V3UADEE", D_CONF_SNMP_V3UADEE, kFlag, kSnmp) &&
           Text("D_CONF_SNMP_V3UDATAENCR", D_CONF_SNMP_V3UDATAENCR, kShortText, kSnmp) &&
           Text("D_CONF_SNMP_TRAPSERVER", D_CONF_SNMP_TRAPSERVER, kShortText, kSnmp) &&
           Text("D_CONF_SNMP_TRAPCOMM", D_CONF_SNMP_TRAPCOMM, kShortText, kSnmp);
  }

  /// An empty version value is what the writer gives for a stored code
  /// without a name: the device keeps its code.
  bool SnmpVersion() {
    const auto value = Token("D_CONF_SNMP_VERSION");
    if (!value || value->empty()) return true;
    const std::int32_t version = CAtoi(*value);
    if (!kSnmpChoice.Contains(version)) return Fail(kSnmp);
    StoreNumber(D_CONF_SNMP_VERSION, static_cast<std::uint32_t>(version));
    return true;
  }

  bool ReadTime() {
    return Number("D_CONF_ETH_DTIME_TZONE", D_CONF_ETH_DTIME_TZONE, kTimeZone, kTime) &&
           Text("D_CONF_ETH_DTIME_SRV1", D_CONF_ETH_DTIME_SRV1, kShortText, kTime) &&
           Text("D_CONF_ETH_DTIME_SRV2", D_CONF_ETH_DTIME_SRV2, kShortText, kTime) &&
           Number("D_CONF_ETH_DTIME_PERIOD", D_CONF_ETH_DTIME_PERIOD, kQueryPeriod, kTime);
  }

  bool ReadRedundancy() {
    const auto protocol = Token("D_CONF_ETHA8_REDUN_PROTOCOL");
    if (!protocol) return true;
    const std::int32_t value = CAtoi(*protocol);
    if (!kFlag.Contains(value)) return Fail(kCommRedundancy);
    StoreNumber(D_CONF_ETHA8_REDUN_PROTOCOL, static_cast<std::uint32_t>(value));
    return value == 1 ? ReadRing() : ReadSpanningTree();
  }

  bool ReadRing() {
    return Number("D_CONF_ETH_REDUN_MASTER", D_CONF_ETH_REDUN_MASTER, kFlag, kCommRedundancy) &&
           Number("D_CONF_ETH_REDUN_PORT1", D_CONF_ETH_REDUN_PORT1, kLogicalPort,
                  kCommRedundancy) &&
           Number("D_CONF_ETH_REDUN_PORT2", D_CONF_ETH_REDUN_PORT2, kLogicalPort,
                  kCommRedundancy) &&
           Number("D_CONF_ETH_REDUN_COUPLING", D_CONF_ETH_REDUN_COUPLING, kFlag, kCommRedundancy) &&
           Number("D_CONF_ETH_REDUN_CPL_PORT", D_CONF_ETH_REDUN_CPL_PORT, kLogicalPort,
                  kCommRedundancy) &&
           Number("D_CONF_ETH_REDUN_CPL_CTRLPORT", D_CONF_ETH_REDUN_CPL_CTRLPORT, kLogicalPort,
                  kCommRedundancy);
  }

  bool ReadSpanningTree() {
    for (int k = 1; k <= kLogicalPorts; ++k) {
      const bool trunk = k > kPorts;
      const int n = trunk ? k - kPorts : k;
      const std::string prefix = trunk ? "D_CONF_ETH_SPAN_TRK" : "D_CONF_ETH_SPAN_PORT";
      const auto at = static_cast<ConfigItemId>(k - 1);
      const std::string costName = trunk ? Name("D_CONF_ETH_SPAN_TRK", n, "_COST")
                                         : Name("D_CONF_ETH_SPAN_PATH", n, "_COST");
      if (!Number(Name(prefix, n, "_EN"), D_CONF_ETH_SPAN_PORT1_EN + at, kFlag, kCommRedundancy) ||
          !Number(Name(prefix, n, "_ID"), D_CONF_ETH_SPAN_PORT1_ID + at, kStpPortId,
                  kCommRedundancy) ||
          !Number(costName, D_CONF_ETH_SPAN_PATH1_COST + at, kStpCost, kCommRedundancy)) {
        return false;
      }
    }
    return Number("D_CONF_ETH_SPAN_HELLO_TIME", D_CONF_ETH_SPAN_HELLO_TIME, kHelloTime,
                  kCommRedundancy) &&
           Number("D_CONF_ETH_SPAN_MAX_AGE", D_CONF_ETH_SPAN_MAX_AGE, kMaxAge, kCommRedundancy) &&
           Number("D_CONF_ETH_SPAN_FD_DELAY", D_CONF_ETH_SPAN_FD_DELAY, kForwardDelay,
                  kCommRedundancy) &&
           Number("D_CONF_ETH_SPAN_BRIDGE_ID", D_CONF_ETH_SPAN_BRIDGE_ID, kBridgePriority,
                  kCommRedundancy, kBridgePriorityFactor);
  }

  bool ReadQos() {
    if (!Number("D_CONF_QOS_SCHEDULE", D_CONF_QOS_SCHEDULE, kFlag, kQos)) return false;
    for (int p = 1; p <= kPorts; ++p) {
      const auto at = static_cast<ConfigItemId>(p - 1);
      if (!Number(Name("D_CONF_QOS_INSPECT", p, "_TOS"), D_CONF_QOS_INSPECT1_TOS + at, kFlag,
                  kQos) ||
          !Number(Name("D_CONF_QOS_INSPECT", p, "_COS"), D_CONF_QOS_INSPECT1_COS + at, kFlag,
                  kQos) ||
          !Number(Name("D_CONF_QOS_PRIORITY", p), D_CONF_QOS_PRIORITY1 + at, kQueue, kQos)) {
        return false;
      }
    }
    for (int c = 0; c < kCosClasses; ++c) {
      const ConfigItemId id = D_CONF_COSMAP0 + static_cast<ConfigItemId>(c);
      const auto value = Token(Name("D_CONF_COSMAP", c));
      if (!value) continue;
      const std::int32_t number = CAtoi(*value);
      if (!kQueue.Contains(number)) {
        if (id == D_CONF_COSMAP3) continue;  // skipped, not rejected
        return Fail(kQos);
      }
      StoreNumber(id, static_cast<std::uint32_t>(number));
    }
    for (int g = 1; g <= kTosGroups; ++g) {
      const auto value = Token(Name("D_CONF_TOSMAP_", 4 * g - 3, "_" + std::to_string(4 * g)));
      if (!value) continue;
      const auto entries = TosGroup(*value);
      if (!entries) return Fail(kQos);
      for (int i = 0; i < 4; ++i) {
        StoreNumber(TosMapEntry(4 * g - 3 + i), static_cast<std::uint32_t>((*entries)[i]));
      }
    }
    return true;
  }

  /// "%d|%d|%d|%d", each 0..3.
  static std::optional<std::array<std::int32_t, 4>> TosGroup(std::string_view text) {
    std::array<std::int32_t, 4> entries{};
    for (int i = 0; i < 4; ++i) {
      const std::size_t bar = text.find('|');
      const std::string_view part = i < 3 ? text.substr(0, bar) : text;
      if (i < 3 && bar == std::string_view::npos) return std::nullopt;
      const auto number = ScanInt(part);
      if (!number || !kQueue.Contains(*number)) return std::nullopt;
      entries[static_cast<std::size_t>(i)] = *number;
      if (i < 3) text.remove_prefix(bar + 1);
    }
    return entries;
  }

  bool ReadVlan() {
    if (trunking_) return true;
    if (!Number("D_CONF_VLAN_SYS_VID", D_CONF_VLAN_SYS_VID, kVid, kVlan)) return false;
    for (int p = 1; p <= kPorts; ++p) {
      const auto at = static_cast<ConfigItemId>(4 * (p - 1));
      if (!Number(Name("D_CONF_VLAN_TYPE", p), D_CONF_VLAN_TYPE1 + at, kFlag, kVlan) ||
          !Number(Name("D_CONF_VLAN_PVID", p), D_CONF_VLAN_PVID1 + at, p <= 4 ? kVid : kVidOrNone,
                  kVlan) ||
          !VidList(Name("D_CONF_VLAN_FIXVID", p), D_CONF_VLAN_FIXVID1 + at,
                   D_CONF_VLAN_TYPE1 + at) ||
          !VidList(Name("D_CONF_VLAN_FRBVID", p), D_CONF_VLAN_FRBVID1 + at,
                   D_CONF_VLAN_TYPE1 + at)) {
        return false;
      }
    }
    return true;
  }

  /// A fixed or forbidden list; it must be empty on an access port.
  bool VidList(std::string_view constName, ConfigItemId id, ConfigItemId typeId) {
    const auto value = TextValue(constName);
    if (!value) return true;
    if (Current(typeId).value_or(0) == 1) {
      if (!value->empty()) return Fail(kVlan);
      return true;
    }
    StoreText(id, *value);
    return true;
  }

  bool ReadIgmp() {
    if (!Number("D_CONF_IGMPSNOOP_ENABLE", D_CONF_IGMPSNOOP_ENABLE, kFlag, kVlan) ||
        !Number("D_CONF_IGMPSNOOP_QUERY_PERIDO", D_CONF_IGMPSNOOP_QUERY_PERIDO, kIgmpQueryPeriod,
                kVlan)) {
      return false;
    }
    std::string value = file_.findValueText("D_CONF_IGMPSNOOP_ENTRY");
    for (std::size_t n = 0; !IsNotFound(value) && n < kMaxLines; ++n) {
      if (!value.empty() && !IgmpEntry(value)) return Fail(kIgmpSnooping);
      value = file_.findNextValueText("D_CONF_IGMPSNOOP_ENTRY");
    }
    return true;
  }

  /// "VID|--- snooping querier [ports]".
  bool IgmpEntry(std::string_view text) {
    const auto tokens = Tokens(text);
    if (tokens.size() < 3) return false;
    const auto snooping = ScanInt(tokens[1]);
    const auto querier = ScanInt(tokens[2]);
    if (!snooping || !querier || !kFlag.Contains(*snooping) || !kFlag.Contains(*querier)) {
      return false;
    }
    const auto ports =
        ParsePortList(tokens.size() > 3 ? tokens[3] : std::string_view(), kLogicalPorts);
    if (!ports) return false;
    std::optional<std::size_t> entry;
    std::uint32_t vid = 0;
    if (tokens[0] == "---") {
      // The management VLAN's entry, written so while a trunk is in use.
      if (!trunking_) return false;
      vid = Current(D_CONF_VLAN_SYS_VID).value_or(0);
      entry = a8vlan::FindValidEntry(block_.bytes(), vid);
      if (!entry) entry = IgmpEntryHolding(vid);
      if (!entry) return true;  // nothing to update
    } else {
      const auto number = ScanInt(tokens[0]);
      if (!number || !kVid.Contains(*number)) return false;
      vid = static_cast<std::uint32_t>(*number);
      entry = a8vlan::FindValidEntry(block_.bytes(), vid);
      if (!entry) return false;
    }
    gen_a2::IgmpEntry igmp;
    igmp.vid = static_cast<std::uint16_t>(vid);
    igmp.snooping = *snooping == 1;
    igmp.querier = *querier == 1;
    igmp.routerPorts = static_cast<std::uint16_t>(*ports);
    if (!gen_a2::PutIgmpEntry(block_.bytes(), *entry, igmp)) {
      refused_ = true;
      return true;
    }
    // One entry per VLAN: an older entry of the same VID elsewhere in the
    // table would be written again as a second line for it.
    for (std::size_t n = 0; n < gen_a2::kIgmpEntries; ++n) {
      const auto other = gen_a2::ReadIgmpEntry(block_.bytes(), n);
      if (n != *entry && other && other->vid == vid) gen_a2::PutIgmpEntry(block_.bytes(), n, {});
    }
    return true;
  }

  std::optional<std::size_t> IgmpEntryHolding(std::uint32_t vid) const {
    for (std::size_t n = 0; n < gen_a2::kIgmpEntries; ++n) {
      const auto entry = gen_a2::ReadIgmpEntry(block_.bytes(), n);
      if (entry && entry->vid != 0 && entry->vid == vid) return n;
    }
    return std::nullopt;
  }

  bool ReadMulticast() {
    std::string value = file_.findValueText("D_CONF_MULTICAST_ADDR");
    for (std::size_t taken = 0; !IsNotFound(value) && taken < kMaxListEntries;) {
      if (!value.empty()) {
        const auto outcome = MulticastEntry(value);
        if (outcome == ListEntry::kBad) return Fail(kStaticMulticast);
        if (outcome == ListEntry::kTaken) ++taken;
      }
      value = file_.findNextValueText("D_CONF_MULTICAST_ADDR");
    }
    return true;
  }

  enum class ListEntry { kTaken, kSkipped, kBad };

  ListEntry MulticastEntry(std::string_view text) {
    const auto tokens = Tokens(text);
    if (tokens.size() < 2 || tokens[0].size() != 17) return ListEntry::kSkipped;
    const auto mac = ParseMacDashed(tokens[0]);
    if (!mac || ((*mac)[0] & 1) == 0) return ListEntry::kBad;
    const auto ports = ParsePortList(tokens[1], kLogicalPorts);
    if (!ports) return ListEntry::kBad;
    if (*ports == 0) return ListEntry::kSkipped;
    if (!gen_a2::PutMulticastEntry(block_.bytes(), *mac, *ports)) return ListEntry::kSkipped;
    return ListEntry::kTaken;
  }

  bool ReadRates() {
    for (int p = 1; p <= kPorts; ++p) {
      const auto at = static_cast<ConfigItemId>(p - 1);
      if (!IngressRate(Name("D_CONF_RATE_LIMIT_INGRESS_P", p), D_CONF_RATE_LIMIT_INGRESS_P1 + at) ||
          !EgressRate(Name("D_CONF_RATE_LIMIT_ENGRESS_RATE", p),
                      D_CONF_RATE_LIMIT_ENGRESS_RATE1 + at)) {
        return Fail(kRateLimiting);
      }
    }
    return true;
  }

  /// A rate name the file may give: one of "NL" to "8M", or the name the
  /// device already has (a device takes back its own export unchanged).
  bool AcceptableRateName(std::string_view name, ConfigItemId id) const {
    if (StorableRateIndex(name)) return true;
    const auto current = accessors_.getText(block_, id);
    if (!current) return false;
    if (id >= D_CONF_RATE_LIMIT_INGRESS_P1 && id <= D_CONF_RATE_LIMIT_INGRESS_P8) {
      const auto tokens = Tokens(*current);
      return tokens.size() > 1 && tokens[1] == name;
    }
    return *current == name;
  }

  bool IngressRate(std::string_view constName, ConfigItemId id) {
    const auto value = TextValue(constName);
    if (!value || value->empty()) return true;  // empty: a rate without a name, kept
    const auto tokens = Tokens(*value);
    if (tokens.size() < 5) return false;
    const auto policy = ScanInt(tokens[0]);
    if (!policy || !kQueue.Contains(*policy) || !AcceptableRateName(tokens[1], id)) return false;
    for (std::size_t i = 2; i < 5; ++i) {
      const auto flag = ScanInt(tokens[i]);
      if (!flag || !kFlag.Contains(*flag)) return false;
    }
    StoreText(id, *value);
    return true;
  }

  bool EgressRate(std::string_view constName, ConfigItemId id) {
    const auto value = Token(constName);
    if (!value || value->empty()) return true;  // empty: a rate without a name, kept
    if (!AcceptableRateName(*value, id)) return false;
    if (const auto index = StorableRateIndex(*value)) StoreNumber(id, *index);
    return true;
  }

  bool ReadPortLock() {
    if (trunking_) return true;
    for (int p = 1; p <= kPorts; ++p) {
      if (!Number(Name("D_CONF_PORT_LOCK", p), D_CONF_PORT_LOCK1 + static_cast<ConfigItemId>(p - 1),
                  kFlag, kPortLock)) {
        return false;
      }
    }
    return true;
  }

  bool ReadUnicast() {
    if (trunking_) return true;
    std::string value = file_.findValueText("D_CONF_UNICAST_ADDR");
    for (std::size_t taken = 0; !IsNotFound(value) && taken < kMaxListEntries;) {
      if (!value.empty()) {
        if (!UnicastEntry(value)) return Fail(kStaticUnicast);
        ++taken;
      }
      value = file_.findNextValueText("D_CONF_UNICAST_ADDR");
    }
    return true;
  }

  bool UnicastEntry(std::string_view text) {
    const auto tokens = Tokens(text);
    if (tokens.size() < 3) return false;
    const auto mac = ParseMacDashed(tokens[0]);
    const auto port = ScanInt(tokens[1]);
    const auto priority = ScanInt(tokens[2]);
    if (!mac || ((*mac)[0] & 1) != 0 || !port || !kUnicastPort.Contains(*port) || !priority ||
        !kQueue.Contains(*priority)) {
      return false;
    }
    gen_a2::PutUnicastEntry(block_.bytes(), *mac, static_cast<std::uint8_t>(*port - 1),
                            static_cast<std::uint8_t>(*priority));
    return true;
  }

  bool ReadEmail() {
    if (!Text("D_CONF_ETH_WARN_SMTPSrv", D_CONF_ETH_WARN_SMTPSrv, kShortText, kEmailWarning) ||
        !Text("D_CONF_ETH_WARN_SMTP_UNAME", D_CONF_ETH_WARN_SMTP_UNAME, kSmtpText, kEmailWarning) ||
        !Text("D_CONF_ETH_WARN_SMTP_PASSWD", D_CONF_ETH_WARN_SMTP_PASSWD, kSmtpText,
              kEmailWarning)) {
      return false;
    }
    for (int k = 1; k <= kMailRecipients; ++k) {
      if (!Text(Name("D_CONF_ETH_WARN_TO", k), WarnTo(k), kShortText, kEmailWarning)) return false;
    }
    if (!Hex("D_CONF_ETH_WARN_SFLAGA8", D_CONF_ETH_WARN_SFLAGA8, kSystemEventsMax, kEmailWarning)) {
      return false;
    }
    for (int p = 1; p <= kPorts; ++p) {
      if (!Hex(Name("D_CONF_ETH_WARN_PFLAG", p), WarnPortFlag(p), kPortEventsMax, kEmailWarning) ||
          !Number(Name("D_CONF_ETH_WARN_PLOAD", p), WarnPortLoad(p), kThreshold, kEmailWarning) ||
          !Number(Name("D_CONF_ETH_WARN_PLOADTIME", p), WarnPortLoadTime(p), kDuration,
                  kEmailWarning)) {
        return false;
      }
    }
    return true;
  }

  bool ReadRelay() {
    if (!Number("D_CONF_RELAY_SFLAG_NORMAL1", D_CONF_RELAY_SFLAG_NORMAL1, kFlag, kRelayAlarm) ||
        !Number("D_CONF_RELAY_SFLAG_NORMAL2", D_CONF_RELAY_SFLAG_NORMAL2, kFlag, kRelayAlarm) ||
        !Number("D_CONF_ETH_RELAY_SFLAG_POWER1", D_CONF_ETH_RELAY_SFLAG_POWER1, kRelayChoice,
                kRelayAlarm) ||
        !Number("D_CONF_ETH_RELAY_SFLAG_POWER2", D_CONF_ETH_RELAY_SFLAG_POWER2, kRelayChoice,
                kRelayAlarm) ||
        !Number("D_CONF_RELAY_SFLAG_DI1_ON2OFF", D_CONF_RELAY_SFLAG_DI1_ON2OFF, kRelayChoice,
                kRelayAlarm) ||
        !Number("D_CONF_RELAY_SFLAG_DI1_OFF2ON", D_CONF_RELAY_SFLAG_DI1_OFF2ON, kRelayChoice,
                kRelayAlarm) ||
        !Number("D_CONF_RELAY_SFLAG_DI2_ON2OFF", D_CONF_RELAY_SFLAG_DI2_ON2OFF, kRelayChoice,
                kRelayAlarm) ||
        !Number("D_CONF_RELAY_SFLAG_DI2_OFF2ON", D_CONF_RELAY_SFLAG_DI2_OFF2ON, kRelayChoice,
                kRelayAlarm)) {
      return false;
    }
    for (int p = 1; p <= kPorts; ++p) {
      if (!Hex(Name("D_CONF_ETH_RELAY_PFLAG_LINK", p), RelayPortLink(p), kLinkChoiceMax,
               kRelayAlarm) ||
          !Number(Name("D_CONF_ETH_RELAY_PFLAG_TRAF", p), RelayPortTraffic(p), kRelayChoice,
                  kRelayAlarm) ||
          !RelayThreshold(p) ||
          !Number(Name("D_CONF_ETH_RELAY_PLOADTIME", p), RelayPortLoadTime(p), kDuration,
                  kRelayAlarm)) {
        return false;
      }
    }
    return true;
  }

  /// A rejected threshold's text is shown to the operator before the group
  /// message.
  bool RelayThreshold(int port) {
    const auto value = Token(Name("D_CONF_ETH_RELAY_PLOAD", port));
    if (!value) return true;
    const std::int32_t number = CAtoi(*value);
    if (!kThreshold.Contains(number)) {
      result_.notice = *value;
      return Fail(kRelayAlarm);
    }
    StoreNumber(RelayPortLoad(port), static_cast<std::uint32_t>(number));
    return true;
  }

  bool ReadFastRecovery() {
    return Number("D_CONF_ETH_FLAG_FASTRECOVERY", D_CONF_ETH_FLAG_FASTRECOVERY, kFlag, kLineSwap);
  }

  bool ReadDeviceIps() {
    for (int k = 1; k <= kLogicalPorts; ++k) {
      if (!Address(Name("D_CONF_ETH_PCFG_DEVIP", k),
                   D_CONF_ETH_PCFG_DEVIP1 + static_cast<ConfigItemId>(k - 1), kSetDeviceIp)) {
        return false;
      }
    }
    return true;
  }

  bool ReadMirror() {
    if (trunking_) return true;
    return Number("D_CONF_ETH_MIRROR_PORT", D_CONF_ETH_MIRROR_PORT, kMirrorPort, kMirror) &&
           Number("D_CONF_ETH_TARGET_PORT", D_CONF_ETH_TARGET_PORT, kMirrorPort, kMirror) &&
           Number("D_CONF_ETH_MIRROR_DIR", D_CONF_ETH_MIRROR_DIR, kWatchDirection, kMirror);
  }

  // ---- cross-checks on the block as the file has changed it ----

  std::uint32_t Value(ConfigItemId id) const { return Current(id).value_or(0); }

  int TrunkOf(int port) const {
    return static_cast<int>(gen_a2::TrunkGroupOf(block_.bytes(), port).value_or(0));
  }
  bool IsMember(int port) const {
    const int trunk = TrunkOf(port);
    return trunk >= 1 && trunk <= kTrunks;
  }
  bool TrunkHasMembers(int trunk) const {
    for (int p = 1; p <= kPorts; ++p) {
      if (TrunkOf(p) == trunk) return true;
    }
    return false;
  }
  /// Logical port 1..12 that names a trunk member or a trunk without members.
  bool IsUnusableLogicalPort(std::uint32_t logicalPort) const {
    if (logicalPort >= 1 && logicalPort <= kPorts) return IsMember(static_cast<int>(logicalPort));
    if (logicalPort > kPorts && logicalPort <= kLogicalPorts) {
      return !TrunkHasMembers(static_cast<int>(logicalPort) - kPorts);
    }
    return false;
  }

  void CrossCheck() {
    const bool passed = CheckTrunkGroups() && CheckNetwork() && CheckRelays() &&
                        CheckRedundancy() && CheckSnmp() && CheckTrunkUse();
    (void)passed;
  }

  bool CheckTrunkGroups() {
    for (int trunk = 1; trunk <= kTrunks; ++trunk) {
      int members = 0;
      bool fast = false;
      bool slow = false;
      for (int p = 1; p <= kPorts; ++p) {
        if (TrunkOf(p) != trunk) continue;
        ++members;
        const std::uint32_t speed = Value(PcfgSpeed(p));
        if (speed == 0) return Fail(kPortTrunking);
        (speed <= 2 ? fast : slow) = true;
      }
      if (members > kMaxPortsPerTrunk || (fast && slow)) return Fail(kPortTrunking);
    }
    return true;
  }

  bool CheckNetwork() {
    const std::uint32_t mode = Value(D_CONF_ETH_FLAG_AUTOIP);
    if (mode == kModeDhcp || mode == kModeBootp) return true;
    if (Value(D_CONF_ETH_IPADDR) == 0 || Value(D_CONF_ETH_IPMASK) == 0) return Fail(kNetwork);
    return true;
  }

  bool CheckRelays() {
    const std::pair<ConfigItemId, ConfigItemId> inputs[] = {
        {D_CONF_RELAY_SFLAG_DI1_ON2OFF, D_CONF_RELAY_SFLAG_DI1_OFF2ON},
        {D_CONF_RELAY_SFLAG_DI2_ON2OFF, D_CONF_RELAY_SFLAG_DI2_OFF2ON},
    };
    for (const auto& [onToOff, offToOn] : inputs) {
      const std::uint32_t a = Value(onToOff);
      const std::uint32_t b = Value(offToOn);
      if (a != 0 && b != 0 && a == b) return Fail(kRelayAlarm);
    }
    return true;
  }

  bool CheckRedundancy() {
    const std::int64_t hello = Value(D_CONF_ETH_SPAN_HELLO_TIME);
    const std::int64_t maxAge = Value(D_CONF_ETH_SPAN_MAX_AGE);
    const std::int64_t forward = Value(D_CONF_ETH_SPAN_FD_DELAY);
    if (2 * (hello + 1) > maxAge || maxAge > 2 * (forward - 1)) return Fail(kCommRedundancy);
    // The ring's ports must differ while the ring is on (and the coupling
    // ports while coupling is on); otherwise they are not in use.
    if (Value(D_CONF_ETHA8_REDUN_PROTOCOL) != 1) return true;
    std::vector<std::uint32_t> ports = {Value(D_CONF_ETH_REDUN_PORT1),
                                        Value(D_CONF_ETH_REDUN_PORT2)};
    if (Value(D_CONF_ETH_REDUN_COUPLING) != 0) {
      ports.push_back(Value(D_CONF_ETH_REDUN_CPL_PORT));
      ports.push_back(Value(D_CONF_ETH_REDUN_CPL_CTRLPORT));
    }
    const std::set<std::uint32_t> distinct(ports.begin(), ports.end());
    if (distinct.size() != ports.size()) return Fail(kCommRedundancy);
    return true;
  }

  bool CheckSnmp() {
    const std::uint32_t version = Value(D_CONF_SNMP_VERSION);
    if (!Current(D_CONF_SNMP_VERSION) || (version != kSnmpAll && version != kSnmpV3Only)) {
      return true;
    }
    const std::string adminPassword(FieldText(edited_.password));
    const std::string userPassword = accessors_.getText(block_, D_CONF_ETH_USERPWD).value_or("");
    const auto shortSecret = [this](ConfigItemId id) {
      return LengthToBlank(accessors_.getText(block_, id).value_or("")) < kMinSnmpSecret;
    };
    if (Value(D_CONF_SNMP_V3AAUTHTYPE) != 0 && LengthToBlank(adminPassword) < kMinSnmpSecret) {
      return Fail(kSnmp);
    }
    if (Value(D_CONF_SNMP_V3AADEE) != 0 && shortSecret(D_CONF_SNMP_V3ADATAENCR)) return Fail(kSnmp);
    if (Value(D_CONF_SNMP_V3UAUTHTYPE) != 0 && LengthToBlank(userPassword) < kMinSnmpSecret) {
      return Fail(kSnmp);
    }
    if (Value(D_CONF_SNMP_V3UADEE) != 0 && shortSecret(D_CONF_SNMP_V3UDATAENCR)) return Fail(kSnmp);
    return true;
  }

  bool CheckTrunkUse() {
    if (!gen_a2::TrunkingActive(block_.bytes())) return true;
    const bool ring = Value(D_CONF_ETHA8_REDUN_PROTOCOL) == 1;
    if (!ring) {
      for (int p = 1; p <= kPorts; ++p) {
        if (IsMember(p) && Value(SpanPortEnable(p)) != 0) return Fail(kCommRedundancy);
      }
      for (int t = 1; t <= kTrunks; ++t) {
        const ConfigItemId enable = D_CONF_ETH_SPAN_TRK1_EN + static_cast<ConfigItemId>(t - 1);
        if (Value(enable) != 0 && !TrunkHasMembers(t)) return Fail(kCommRedundancy);
      }
    } else {
      int logicalPorts = 0;
      for (int p = 1; p <= kPorts; ++p) logicalPorts += IsMember(p) ? 0 : 1;
      for (int t = 1; t <= kTrunks; ++t) logicalPorts += TrunkHasMembers(t) ? 1 : 0;
      if (logicalPorts < kMinLogicalPortsForRing ||
          IsUnusableLogicalPort(Value(D_CONF_ETH_REDUN_PORT1))) {
        return Fail(kCommRedundancy);
      }
    }
    for (std::size_t n = 0; n < gen_a2::kMulticastEntries; ++n) {
      const auto entry = gen_a2::ReadMulticastEntry(block_.bytes(), n);
      if (!entry || !entry->used) continue;
      for (std::uint32_t k = 1; k <= kLogicalPorts; ++k) {
        if ((entry->portMask & (1u << (k - 1))) && IsUnusableLogicalPort(k)) {
          return Fail(kStaticMulticast);
        }
      }
    }
    std::set<std::uint32_t> deviceIps;
    for (std::uint32_t k = 1; k <= kLogicalPorts; ++k) {
      const std::uint32_t address = Value(D_CONF_ETH_PCFG_DEVIP1 + (k - 1));
      if (address == 0) continue;
      if (IsUnusableLogicalPort(k) || !deviceIps.insert(address).second) {
        return Fail(kSetDeviceIp);
      }
    }
    return true;
  }

  static constexpr std::size_t kMaxLines = 100000;

  const DeviceRecord& edited_;
  ConfigBlock& block_;
  ConfigFileLookup file_;
  ItemAccessors& accessors_;
  GenA2ReadResult result_;
  bool trunking_ = false;
  bool refused_ = false;
};

}  // namespace

std::optional<std::uint32_t> GenA2AddressValue(std::string_view text) {
  if (text.empty()) return 0u;
  if (!DottedSyntax(text)) return std::nullopt;
  const std::uint32_t address = CInetAddr(text);
  if (IsMulticastAddress(address) || address == kAllOnesIpv4 || address == 0) return std::nullopt;
  return address;
}

GenA2ReadResult ReadGenA2File(const DeviceRecord& edited, ConfigBlock& block,
                              std::string_view fileText, ItemAccessors& accessors) {
  return GenA2Reader(edited, block, fileText, accessors).Run();
}

ValidationFlags readGenA2ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  GenA2ReadResult result = ReadGenA2File(edited, block, fileText, accessors);
  if (result.notice) {
    if (auto* genA2 = dynamic_cast<GenA2Accessors*>(&accessors)) {
      genA2->SetReaderNotice(std::move(*result.notice));
    }
  }
  return result.flags;
}

}  // namespace vantrell
