#include "config/gen_a2_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <tuple>
#include <vector>

#include "config/c_number_parse.h"
#include "config/config_item_ids.h"
#include "config/gen_a2_layout.h"
#include "config/gen_a_encodings.h"
#include "config/gen_a_schema_reader.h"
#include "config/value_rules.h"

namespace vantrell {
namespace {

using namespace item;
using namespace validation;
using a8schema::Check;
using a8schema::Row;
using a8schema::Section;
using gen_a2::kLogicalPorts;
using gen_a2::kPorts;
using gen_a2::kTrunks;

constexpr int kTosGroups = 16;
constexpr std::size_t kMaxListEntries = 128;
constexpr std::size_t kMinSnmpSecret = 8;

constexpr Range kQueue{0, 3};
constexpr Range kVid{1, 4094};
constexpr Range kUnicastPort{1, 8};
/// Ports 5 to 8 may go without a PVID.
constexpr a8schema::Rule kPvidOrNone = a8schema::Between(0, 4094);
constexpr int kPortsWithPvid = 4;
/// The CoS entry whose out-of-range value is skipped instead of rejected.
constexpr int kSkippedCosEntry = 3;

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

std::string Key(std::string_view pattern, int n) { return a8schema::Numbered(pattern, n); }

/// A "%d" conversion of a token: nothing when it does not begin with a
/// number.
std::optional<std::int32_t> ScanInt(std::string_view token) {
  std::size_t i = 0;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
  if (i >= token.size() || token[i] < '0' || token[i] > '9') return std::nullopt;
  return CAtoi(token);
}

/// The length of a text up to its first blank (the password rule of SNMP).
std::size_t LengthToBlank(std::string_view text) {
  const std::size_t blank = text.find(' ');
  return blank == std::string_view::npos ? text.size() : blank;
}

/// GenA2 reading with its validation: the first value that breaks its
/// row's rule decides the flags (its group) and ends the storing; the rest
/// of the file is still checked, so that the problem list holds every
/// problem. After a reading without problems the block is cross-checked.
class GenA2Reader : public a8schema::SchemaFileReader {
 public:
  GenA2Reader(const DeviceRecord& edited, ConfigBlock& block, std::string_view fileText,
              ItemAccessors& accessors)
      : SchemaFileReader(a8schema::Gen::kA2, fileText, ProblemPolicy::kFirstGroup),
        edited_(edited),
        block_(block),
        accessors_(accessors),
        freeUplinks_(std::find(std::begin(kFreeUplinkModels), std::end(kFreeUplinkModels),
                               edited.modelId) != std::end(kFreeUplinkModels)) {}

  GenA2ReadResult Run() {
    GenA2ReadResult result;
    if (block_.size() < gen_a2::kBlockSize || accessors_.blockSize() != gen_a2::kBlockSize) {
      result.flags = kBlockRefused;
      return result;
    }
    ReadRows(Section::kSystem);
    ReadRows(Section::kPassword);
    ReadRows(Section::kAccessList);
    ReadRowsInOrder(Section::kPorts,
                    {"Port{}_Enable", "Port{}_MDIFlag", "Port{}_FDX", "Port{}_Speed"});
    ReadRows(Section::kNetwork);
    ReadTrunking();
    ReadRows(Section::kSnmp);
    ReadRows(Section::kTime);
    ReadRedundancy();
    ReadRows(Section::kQos);
    ReadRows(Section::kCosMap);
    ReadTosGroups();
    if (!trunking_) ReadRows(Section::kVlan);
    ReadRows(Section::kIgmp);
    ReadIgmpLines();
    ReadMulticast();
    ReadRowsPerNumber({Section::kIngressRates, Section::kEgressRates});
    if (!trunking_) ReadRows(Section::kPortLock);
    if (!trunking_) ReadUnicast();
    ReadRows(Section::kMailWarning);
    ReadRows(Section::kMailPorts);
    ReadRows(Section::kRelayWarning);
    ReadRowsPerNumber({Section::kRelayLinks, Section::kRelayPorts});
    ReadRows(Section::kFastRecovery);
    ReadRows(Section::kDeviceIp);
    if (!trunking_) ReadRows(Section::kMirror);
    if (problems().problems().empty() && !refused_) CrossCheck();
    FileReadResult read = problems().TakeResult();
    result.flags = refused_ ? kBlockRefused : read.flags;
    result.problems = std::move(read.problems);
    result.notice = std::move(notice_);
    return result;
  }

 protected:
  void ReadRow(const Row& row, int n) override {
    if (row.section == Section::kPorts && n >= 7 && !freeUplinks_) {
      FixedUplinkRow(row, n);
      return;
    }
    if (row.section == Section::kEgressRates) {
      if (const auto value = FindToken(KeyOf(row, n))) Apply(row, n, *value);
      return;
    }
    SchemaFileReader::ReadRow(row, n);
  }

  void Apply(const Row& row, int n, const std::string& value) override {
    const ConfigItemId id = ItemOf(row, n);
    const bool pvidOrNone = row.id == D_CONF_VLAN_PVID1 && n > kPortsWithPvid;
    const a8schema::Rule& rule = pvidOrNone ? kPvidOrNone : RuleOf(row);
    switch (rule.check) {
      case Check::kText:
      case Check::kMailText:
        if (!rule.range.Contains(static_cast<std::int64_t>(value.size()))) return Problem(row, n);
        StoreText(id, value);
        return;
      case Check::kHostAddress:
      case Check::kAddress:
      case Check::kNetmask:
        if (const auto address = GenA2AddressValue(value)) return StoreNumber(id, *address);
        return Problem(row, n);
      case Check::kSpecial:
        if (!Special(row, n, value)) Problem(row, n);
        return;
      case Check::kRangeOrEmpty:
        if (value.empty()) return;  // a stored code without a name: the device keeps it
        [[fallthrough]];
      default:
        if (const auto number = a8schema::RuleNumber(rule, value)) return StoreNumber(id, *number);
        // An out-of-range CoS entry 3 is skipped, not rejected.
        if (row.id == D_CONF_COSMAP0 && n == kSkippedCosEntry) return;
        // A rejected relay threshold's text is shown to the operator first.
        if (row.id == D_CONF_ETH_RELAY_PLOAD1 && problems().problems().empty()) notice_ = value;
        return Problem(row, n);
    }
  }

 private:
  void Problem(const Row& row, int n) { NoteProblem(row, n); }

  /// The rows read with their own rule: access entries, VID lists, rates.
  bool Special(const Row& row, int n, const std::string& value) {
    const ConfigItemId id = ItemOf(row, n);
    switch (row.section) {
      case Section::kAccessList: {
        const auto entry = AccessEntry(value);
        if (!entry) return false;
        StoreNumber(id, entry->first);
        StoreNumber(kGrantIpNetmask1 + (id - D_CONF_GRANTIP_IP1), entry->second);
        return true;
      }
      case Section::kVlan:
        return VidList(value, id, D_CONF_VLAN_TYPE1 + static_cast<ConfigItemId>(4 * (n - 1)));
      case Section::kIngressRates:
        return IngressRate(value, id);
      case Section::kEgressRates:
        return EgressRate(value, id);
      default:
        return false;
    }
  }

  // ---- writing: once a problem is listed nothing is stored ----

  /// A value the field ignores (a checked field out of its range) is no
  /// failure; a block that cannot take the item is.
  void Store(ConfigItemId id, const ItemValue& value) {
    if (!Storing()) return;
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

  // ---- the special rows and sections, in the order of the file ----

  /// "address/netmask"; empty gives 0.0.0.0 for both.
  static std::optional<std::pair<std::uint32_t, std::uint32_t>> AccessEntry(std::string_view text) {
    if (text.empty()) return std::pair<std::uint32_t, std::uint32_t>{0, 0};
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = text.substr(0, slash);
    const std::string_view mask = text.substr(slash + 1);
    // The strict dotted syntax; the value is inet_addr's (a leading 0 is octal).
    if (!ParseDottedAddress(host) || !ParseDottedAddress(mask)) return std::nullopt;
    const std::uint32_t hostAddress = CInetAddr(host);
    const std::uint32_t maskAddress = CInetAddr(mask);
    if (IsMulticastAddress(hostAddress) || hostAddress == kAllOnesIpv4 || hostAddress == 0 ||
        maskAddress == 0) {
      return std::nullopt;
    }
    return std::pair{hostAddress, maskAddress};
  }

  /// Ports 7 and 8 of the fixed uplink models: the MDI flag of port 7 is
  /// not read; FDX and speed must be the model's fixed value, or the value
  /// the device already has, so that a device takes back its own export.
  void FixedUplinkRow(const Row& row, int n) {
    if (row.id == D_CONF_ETH_PCFG_FLAG1 && n == 7) return;
    const bool fdx = row.id == D_CONF_ETH_PCFG_FDX1;
    if (!fdx && row.id != D_CONF_ETH_PCFG_SPEED1) return SchemaFileReader::ReadRow(row, n);
    const auto value = FindToken(KeyOf(row, n));
    if (!value) return;
    const ConfigItemId id = ItemOf(row, n);
    const std::int32_t number = CAtoi(*value);
    const auto current = Current(id);
    const bool unchanged = current && number >= 0 && *current == static_cast<std::uint32_t>(number);
    if (number != (fdx ? 0 : kFixedUplinkSpeed) && !unchanged) return Problem(row, n);
    StoreNumber(id, static_cast<std::uint32_t>(number));
  }

  void ReadTrunking() {
    const std::size_t before = problems().problems().size();
    ReadRows(Section::kTrunking);
    // From here on the block's trunk groups are the file's (or, for ports
    // the file leaves out, the device's). With a trunk in use the file
    // carries no VLAN or unicast entries, so the device keeps its own.
    trunking_ = gen_a2::TrunkingActive(block_.bytes());
    if (problems().problems().size() != before || !Storing()) return;
    const bool keepVlans = trunking_ || !CarriesVlanSection();
    gen_a2::ClearListTables(block_.bytes(), trunking_ ? gen_a2::ClearScope::kMulticastOnly
                                                      : gen_a2::ClearScope::kUnicastAndMulticast);
    if (!keepVlans) a8vlan::ClearTable(block_.bytes());
  }

  /// A file without any VLAN key does not carry the VLAN table: the device
  /// keeps its own instead of losing every VLAN, the management VLAN's too.
  bool CarriesVlanSection() {
    for (const Row& row : a8schema::RowsOf(Section::kVlan)) {
      for (int n = row.first; n <= row.last; ++n) {
        if (FindToken(KeyOf(row, n))) return true;
      }
    }
    return false;
  }

  void ReadRedundancy() {
    const Row& protocolRow = a8schema::RowsOf(Section::kRedundancy).front();
    const auto protocol = FindToken(protocolRow.key);
    if (!protocol) return;
    const auto value = a8schema::RuleNumber(RuleOf(protocolRow), *protocol);
    if (!value) return Problem(protocolRow, 0);
    StoreNumber(D_CONF_ETHA8_REDUN_PROTOCOL, *value);
    if (*value == 1) return ReadRows(Section::kRing);
    ReadRows(Section::kSpanningTreePorts);
    ReadRowsInOrder(Section::kSpanningTree, {"HelloTime", "MaxAge", "Forwarding", "BridgeId"});
  }

  void ReadTosGroups() {
    for (int g = 1; g <= kTosGroups; ++g) {
      const std::string key = "ToSMap" + std::to_string(4 * g - 3) + "-" + std::to_string(4 * g);
      const auto value = FindToken(key);
      if (!value) continue;
      const auto entries = TosGroup(*value);
      if (!entries) {
        NoteProblem(key, kQos);
        continue;
      }
      for (int i = 0; i < 4; ++i) {
        StoreNumber(TosMapEntry(4 * g - 3 + i), static_cast<std::uint32_t>((*entries)[i]));
      }
    }
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

  /// A fixed or forbidden list; it must be empty on an access port.
  bool VidList(const std::string& value, ConfigItemId id, ConfigItemId typeId) {
    if (Current(typeId).value_or(0) == 1) return value.empty();
    StoreText(id, value);
    return true;
  }

  void ReadIgmpLines() {
    auto value = FindText("IGMPSNOOP");
    for (std::size_t n = 0; value && n < kMaxLines; ++n) {
      if (!value->empty() && !IgmpEntry(*value)) NoteProblem("IGMPSNOOP", kIgmpSnooping);
      value = FindNextText("IGMPSNOOP");
    }
  }

  /// "VID|--- snooping querier [ports]".
  bool IgmpEntry(std::string_view text) {
    const auto tokens = SplitFields(text);
    if (tokens.size() < 3) return false;
    const auto snooping = ScanInt(tokens[1]);
    const auto querier = ScanInt(tokens[2]);
    if (!snooping || !querier || !kFlagRange.Contains(*snooping) ||
        !kFlagRange.Contains(*querier)) {
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
      // Once storing has stopped the VLAN table is not the file's: the VID
      // cannot be judged.
      if (!entry) return !Storing();
    }
    if (!Storing()) return true;
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

  void ReadMulticast() {
    auto value = FindText("MMAC");
    for (std::size_t taken = 0; value && taken < kMaxListEntries;) {
      if (!value->empty()) {
        const auto outcome = MulticastEntry(*value);
        if (outcome == ListEntry::kBad) NoteProblem("MMAC", kStaticMulticast);
        if (outcome == ListEntry::kTaken) ++taken;
      }
      value = FindNextText("MMAC");
    }
  }

  enum class ListEntry { kTaken, kSkipped, kBad };

  ListEntry MulticastEntry(std::string_view text) {
    const auto tokens = SplitFields(text);
    if (tokens.size() < 2 || tokens[0].size() != 17) return ListEntry::kSkipped;
    const auto mac = ParseMacDashed(tokens[0]);
    if (!mac || ((*mac)[0] & 1) == 0) return ListEntry::kBad;
    const auto ports = ParsePortList(tokens[1], kLogicalPorts);
    if (!ports) return ListEntry::kBad;
    if (*ports == 0) return ListEntry::kSkipped;
    if (!Storing()) return ListEntry::kTaken;
    if (!gen_a2::PutMulticastEntry(block_.bytes(), *mac, *ports)) return ListEntry::kSkipped;
    return ListEntry::kTaken;
  }

  /// A rate name the file may give: one of "NL" to "8M", or the name the
  /// device already has (a device takes back its own export unchanged).
  bool AcceptableRateName(std::string_view name, ConfigItemId id) const {
    if (StorableRateIndex(name)) return true;
    const auto current = accessors_.getText(block_, id);
    if (!current) return false;
    if (id >= D_CONF_RATE_LIMIT_INGRESS_P1 && id <= D_CONF_RATE_LIMIT_INGRESS_P8) {
      const auto tokens = SplitFields(*current);
      return tokens.size() > 1 && tokens[1] == name;
    }
    return *current == name;
  }

  bool IngressRate(const std::string& value, ConfigItemId id) {
    if (value.empty()) return true;  // empty: a rate without a name, kept
    const auto tokens = SplitFields(value);
    if (tokens.size() < 5) return false;
    const auto policy = ScanInt(tokens[0]);
    if (!policy || !kQueue.Contains(*policy) || !AcceptableRateName(tokens[1], id)) return false;
    for (std::size_t i = 2; i < 5; ++i) {
      const auto flag = ScanInt(tokens[i]);
      if (!flag || !kFlagRange.Contains(*flag)) return false;
    }
    StoreText(id, value);
    return true;
  }

  bool EgressRate(const std::string& value, ConfigItemId id) {
    if (value.empty()) return true;  // empty: a rate without a name, kept
    if (!AcceptableRateName(value, id)) return false;
    if (const auto index = StorableRateIndex(value)) StoreNumber(id, *index);
    return true;
  }

  void ReadUnicast() {
    auto value = FindText("UMAC");
    for (std::size_t taken = 0; value && taken < kMaxListEntries;) {
      if (!value->empty()) {
        if (UnicastEntry(*value)) {
          ++taken;
        } else {
          NoteProblem("UMAC", kStaticUnicast);
        }
      }
      value = FindNextText("UMAC");
    }
  }

  bool UnicastEntry(std::string_view text) {
    const auto tokens = SplitFields(text);
    if (tokens.size() < 3) return false;
    const auto mac = ParseMacDashed(tokens[0]);
    const auto port = ScanInt(tokens[1]);
    const auto priority = ScanInt(tokens[2]);
    if (!mac || ((*mac)[0] & 1) != 0 || !port || !kUnicastPort.Contains(*port) || !priority ||
        !kQueue.Contains(*priority)) {
      return false;
    }
    if (!Storing()) return true;
    gen_a2::PutUnicastEntry(block_.bytes(), *mac, static_cast<std::uint8_t>(*port - 1),
                            static_cast<std::uint8_t>(*priority));
    return true;
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

  /// A cross-check's problem: tied to no line, under the key of the setting it names.
  bool Fail(std::string_view key, ValidationFlags group) {
    NoteProblemAt(0, std::string(key), group);
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
        if (speed == 0) return Fail(Key("Port{}_SetToTrunk", p), kPortTrunking);
        (speed <= 2 ? fast : slow) = true;
      }
      if (members > kMaxPortsPerTrunk || (fast && slow)) return Fail("", kPortTrunking);
    }
    return true;
  }

  bool CheckNetwork() {
    const std::uint32_t mode = Value(D_CONF_ETH_FLAG_AUTOIP);
    if (mode == kModeDhcp || mode == kModeBootp) return true;
    if (Value(D_CONF_ETH_IPADDR) == 0) return Fail("IPAddress", kNetwork);
    if (Value(D_CONF_ETH_IPMASK) == 0) return Fail("Netmask", kNetwork);
    return true;
  }

  bool CheckRelays() {
    const std::tuple<ConfigItemId, ConfigItemId, std::string_view> inputs[] = {
        {D_CONF_RELAY_SFLAG_DI1_ON2OFF, D_CONF_RELAY_SFLAG_DI1_OFF2ON, "RW_DI1_F2N"},
        {D_CONF_RELAY_SFLAG_DI2_ON2OFF, D_CONF_RELAY_SFLAG_DI2_OFF2ON, "RW_DI2_F2N"},
    };
    for (const auto& [onToOff, offToOn, key] : inputs) {
      const std::uint32_t a = Value(onToOff);
      const std::uint32_t b = Value(offToOn);
      if (a != 0 && b != 0 && a == b) return Fail(key, kRelayAlarm);
    }
    return true;
  }

  bool CheckRedundancy() {
    const std::int64_t hello = Value(D_CONF_ETH_SPAN_HELLO_TIME);
    const std::int64_t maxAge = Value(D_CONF_ETH_SPAN_MAX_AGE);
    const std::int64_t forward = Value(D_CONF_ETH_SPAN_FD_DELAY);
    if (2 * (hello + 1) > maxAge || maxAge > 2 * (forward - 1)) {
      return Fail("MaxAge", kCommRedundancy);
    }
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
    if (distinct.size() != ports.size()) return Fail("ZorvelRingPort1", kCommRedundancy);
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
      return Fail("Admin_AuthType", kSnmp);
    }
    if (Value(D_CONF_SNMP_V3AADEE) != 0 && shortSecret(D_CONF_SNMP_V3ADATAENCR)) {
      return Fail("Admin_DataEncryption", kSnmp);
    }
    if (Value(D_CONF_SNMP_V3UAUTHTYPE) != 0 && LengthToBlank(userPassword) < kMinSnmpSecret) {
      return Fail("User_AuthType", kSnmp);
    }
    if (Value(D_CONF_SNMP_V3UADEE) != 0 && shortSecret(D_CONF_SNMP_V3UDATAENCR)) {
      return Fail("User_DataEncryption", kSnmp);
    }
    return true;
  }

  bool CheckTrunkUse() {
    if (!gen_a2::TrunkingActive(block_.bytes())) return true;
    const bool ring = Value(D_CONF_ETHA8_REDUN_PROTOCOL) == 1;
    if (!ring) {
      for (int p = 1; p <= kPorts; ++p) {
        if (IsMember(p) && Value(SpanPortEnable(p)) != 0) {
          return Fail(Key("STP_EN{}", p), kCommRedundancy);
        }
      }
      for (int t = 1; t <= kTrunks; ++t) {
        const ConfigItemId enable = D_CONF_ETH_SPAN_TRK1_EN + static_cast<ConfigItemId>(t - 1);
        if (Value(enable) != 0 && !TrunkHasMembers(t)) {
          return Fail(Key("STP_EN{}", kPorts + t), kCommRedundancy);
        }
      }
    } else {
      int logicalPorts = 0;
      for (int p = 1; p <= kPorts; ++p) logicalPorts += IsMember(p) ? 0 : 1;
      for (int t = 1; t <= kTrunks; ++t) logicalPorts += TrunkHasMembers(t) ? 1 : 0;
      if (logicalPorts < kMinLogicalPortsForRing ||
          IsUnusableLogicalPort(Value(D_CONF_ETH_REDUN_PORT1))) {
        return Fail("ZorvelRingPort1", kCommRedundancy);
      }
    }
    for (std::size_t n = 0; n < gen_a2::kMulticastEntries; ++n) {
      const auto entry = gen_a2::ReadMulticastEntry(block_.bytes(), n);
      if (!entry || !entry->used) continue;
      for (std::uint32_t k = 1; k <= kLogicalPorts; ++k) {
        if ((entry->portMask & (1u << (k - 1))) && IsUnusableLogicalPort(k)) {
          return Fail("MMAC", kStaticMulticast);
        }
      }
    }
    std::set<std::uint32_t> deviceIps;
    for (std::uint32_t k = 1; k <= kLogicalPorts; ++k) {
      const std::uint32_t address = Value(D_CONF_ETH_PCFG_DEVIP1 + (k - 1));
      if (address == 0) continue;
      if (IsUnusableLogicalPort(k) || !deviceIps.insert(address).second) {
        return Fail(Key("Device{}_IP", static_cast<int>(k)), kSetDeviceIp);
      }
    }
    return true;
  }

  static constexpr std::size_t kMaxLines = 100000;

  const DeviceRecord& edited_;
  ConfigBlock& block_;
  ItemAccessors& accessors_;
  const bool freeUplinks_;
  std::optional<std::string> notice_;
  bool trunking_ = false;
  bool refused_ = false;
};

}  // namespace

std::optional<std::uint32_t> GenA2AddressValue(std::string_view text) {
  if (text.empty()) return 0u;
  // The strict dotted syntax; the value is inet_addr's (a leading 0 is octal).
  if (!ParseDottedAddress(text)) return std::nullopt;
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
