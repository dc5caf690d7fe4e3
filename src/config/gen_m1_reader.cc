#include "config/gen_m1_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "config/block_encodings.h"
#include "config/c_number_parse.h"
#include "config/config_item_ids.h"
#include "config/file_writer.h"
#include "config/gen_m1_block.h"

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

  void Rewind() { pos_ = 0; }

  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && pos_ - start < kLineBuffer - 1) {
      if (text_[pos_++] == '\n') break;
    }
    line = text_.substr(start, pos_ - start);
    if (line.back() != '\n' && pos_ >= text_.size()) return false;
    const std::size_t nul = line.find('\0');
    if (nul != std::string_view::npos) line = line.substr(0, nul);
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
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

/// "%d" with the canonical spelling of `n`: digits only, no leading zero.
std::optional<std::size_t> CanonicalNumber(std::string_view text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  if (text.size() > 1 && text[0] == '0') return std::nullopt;
  std::size_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  return n;
}

/// The port of a per-port key "prefix" + name + "suffix", names exactly as
/// the writer formats them.
std::optional<std::size_t> PortOfKey(std::string_view key, std::string_view prefix,
                                     std::string_view suffix) {
  if (key.size() <= prefix.size() + suffix.size()) return std::nullopt;
  if (key.substr(0, prefix.size()) != prefix) return std::nullopt;
  if (key.substr(key.size() - suffix.size()) != suffix) return std::nullopt;
  const std::string_view name =
      key.substr(prefix.size(), key.size() - prefix.size() - suffix.size());
  static const std::array<std::string, kPortCount> kNames = [] {
    std::array<std::string, kPortCount> names;
    for (std::size_t i = 0; i < kPortCount; ++i) names[i] = PortNameOfIndex(i);
    return names;
  }();
  for (std::size_t i = 0; i < kPortCount; ++i) {
    if (name == kNames[i]) return i;
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------
// Value tests
// ---------------------------------------------------------------------------

/// Exactly three dots and four decimal fields 0..255.
bool DottedSyntax(std::string_view text) {
  int fields = 0;
  std::size_t i = 0;
  while (true) {
    std::size_t digits = 0;
    unsigned value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      if (++digits > 3) return false;
      value = value * 10 + static_cast<unsigned>(text[i] - '0');
      ++i;
    }
    if (digits == 0 || value > 255) return false;
    ++fields;
    if (i == text.size()) return fields == 4;
    if (text[i] != '.' || fields == 4) return false;
    ++i;
  }
}

bool IsMulticast(Ipv4 address) {
  const std::uint8_t first = Ipv4Octet(address, 0);
  return first >= 224 && first <= 239;
}

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
  if (IsMulticast(hostAddress) || hostAddress == kAllOnesIpv4 || hostAddress == 0) {
    return std::nullopt;
  }
  if (maskAddress == 0) return std::nullopt;
  return std::pair<Ipv4, Ipv4>{hostAddress, maskAddress};
}

/// A MAC address "XX-XX-XX-XX-XX-XX" (17 characters, hexadecimal digits).
std::optional<std::array<std::uint8_t, 6>> ParseMac(std::string_view text) {
  if (text.size() != 17) return std::nullopt;
  std::array<std::uint8_t, 6> mac{};
  const auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (std::size_t b = 0; b < 6; ++b) {
    const int high = hex(text[3 * b]);
    const int low = hex(text[3 * b + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    if (b < 5 && text[3 * b + 2] != '-') return std::nullopt;
    mac[b] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return mac;
}

/// Splits "a,b,c" into names; empty elements are skipped.
std::vector<std::string_view> SplitNames(std::string_view list) {
  std::vector<std::string_view> names;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    if (!name.empty()) names.push_back(name);
    if (comma == std::string_view::npos) break;
    list = list.substr(comma + 1);
  }
  return names;
}

/// Whitespace-separated fields of a value.
std::vector<std::string_view> Fields(std::string_view text, std::size_t most) {
  std::vector<std::string_view> fields;
  while (fields.size() < most) {
    const std::string_view token = FirstToken(text);
    if (token.empty()) break;
    fields.push_back(token);
    text = SkipSpaces(text).substr(token.size());
  }
  return fields;
}

// ---------------------------------------------------------------------------
// Key tables
// ---------------------------------------------------------------------------

enum class Rule : std::uint8_t {
  kRange,        ///< atoi value in [min, max], stored times `scale`
  kText,         ///< text value of at most `max` characters
  kTextAny,      ///< text value stored as given (the accessor cuts it)
  kAddress,      ///< the address test
  kSystemHex,    ///< "0x" and hexadecimal digits, at most `max`
  kPortEvents,   ///< "0x" and a decimal number, at most `max`
  kPortRef,      ///< "0" or a port name outside TrunkMemberMask, stored as index + 1
  kPhysicalRef,  ///< "0" or a physical port name that is not a trunk member
  kVidList,      ///< FixVid/FrbVid
};

struct KeyRule {
  Rule rule;
  std::int32_t min = 0;
  std::int32_t max = 0;
  std::uint32_t scale = 1;
};

constexpr KeyRule Range(std::int32_t min, std::int32_t max, std::uint32_t scale = 1) {
  return {Rule::kRange, min, max, scale};
}
constexpr KeyRule Length(std::int32_t max) { return {Rule::kText, 0, max}; }
constexpr KeyRule kAnyText{Rule::kTextAny};
constexpr KeyRule kAddressRule{Rule::kAddress};
constexpr KeyRule kPortRefRule{Rule::kPortRef};

struct SingleKey {
  std::string_view key;
  ConfigItemId id;
  std::size_t n;
  KeyRule rule;
  ValidationFlags group;
  bool spanningTree = false;
};

const SingleKey kSingleKeys[] = {
    {"SwitchName", D_CONF_ETH_NAMEA8, 0, Length(30), vf::kSystem},
    {"Location", D_CONF_ETH_LOCATION, 0, Length(80), vf::kSystem},
    {"SysDescr", D_CONF_ETH_SYSDESCRA8, 0, Length(30), vf::kSystem},
    {"Contact", D_CONF_ETH_CONTACTA8, 0, Length(30), vf::kSystem},
    {"WebConfig", kM1WebConfig, 0, Range(0, 1), vf::kSystem},
    {"TelnetConsole", kM1TelnetConsole, 0, Range(0, 1), vf::kSystem},
    {"CF_Operation_En", kM1CfOperationEn, 0, Range(0, 1), vf::kCf},
    {"CF_Config_En", kM1CfConfigEn, 0, Range(0, 1), vf::kCf},
    {"CF_Firm_En", kM1CfFirmEn, 0, Range(0, 1), vf::kCf},
    {"AdminPassword", kPasswordField, 1, Length(16), vf::kPasswords},
    {"UserPassword", kPasswordField, 0, Length(16), vf::kPasswords},
    {"ResetPasswd_En", kM1ResetPasswdEn, 0, Range(0, 1), vf::kPasswords},
    {"Enable_AccessIp", D_CONF_GRANTIP_INUSED, 0, Range(0, 1), vf::kAccessibleIp},
    {"AUTOIP", kIpConfigMode, 0, Range(0, 2), vf::kNetwork},
    {"IPAddress", D_CONF_ETH_IPADDR, 0, kAddressRule, vf::kNetwork},
    {"Netmask", D_CONF_ETH_IPMASK, 0, kAddressRule, vf::kNetwork},
    {"Gateway", D_CONF_ETH_GATEWAY, 0, kAddressRule, vf::kNetwork},
    {"DNSIP", D_CONF_ETH_DNSSIP, 0, kAddressRule, vf::kNetwork},
    {"DNSIP1", D_CONF_ETH_DNSSIP1, 0, kAddressRule, vf::kNetwork},
    {"SNMPVERSION", D_CONF_SNMP_VERSION, 0, Range(0, 2), vf::kSnmp},
    {"Admin_AuthType", kM1AdminAuthType, 0, Range(0, 2), vf::kSnmp},
    {"User_AuthType", kM1UserAuthType, 0, Range(0, 2), vf::kSnmp},
    {"Admin_ADEEnable", D_CONF_SNMP_V3AADEE, 0, Range(0, 1), vf::kSnmp},
    {"User_ADEEnable", D_CONF_SNMP_V3UADEE, 0, Range(0, 1), vf::kSnmp},
    {"V1_V2c_RCommunity", kM1ReadCommunity, 0, Length(30), vf::kSnmp},
    {"V1_V2c_RWCommunity", kM1ReadWriteCommunity, 0, Length(30), vf::kSnmp},
    {"TRAP_Serer", kM1TrapServer, 0, Length(30), vf::kSnmp},
    {"TRAP_Community", kM1TrapCommunity, 0, Length(30), vf::kSnmp},
    {"Admin_DataEncryption", kM1AdminDataEncryption, 0, kAnyText, vf::kSnmp},
    {"User_DataEncryption", kM1UserDataEncryption, 0, kAnyText, vf::kSnmp},
    {"TimeZone", D_CONF_ETH_DTIME_TZONE, 0, Range(0, 62), vf::kTime},
    {"1stTimeSrv", D_CONF_ETH_DTIME_SRV1, 0, Length(30), vf::kTime},
    {"2ndTimeSrv", D_CONF_ETH_DTIME_SRV2, 0, Length(30), vf::kTime},
    {"QueryTimePeriod", D_CONF_ETH_DTIME_PERIOD, 0, Range(1, 9999), vf::kTime},
    {"RedundantProtol", D_CONF_ETH_REDUN_PROTOCOL, 0, Range(0, 1), vf::kCommRedundancy},
    {"HelloTime", D_CONF_ETH_SPAN_HELLO_TIME, 0, Range(0, 10), vf::kCommRedundancy, true},
    {"MaxAge", D_CONF_ETH_SPAN_MAX_AGE, 0, Range(6, 40), vf::kCommRedundancy, true},
    {"Forwarding", D_CONF_ETH_SPAN_FD_DELAY, 0, Range(4, 30), vf::kCommRedundancy, true},
    {"BridgeId", kM1BridgeId, 0, Range(0, 15, 4096), vf::kCommRedundancy, true},
    {"IsMaster", D_CONF_ETH_REDUN_MASTER, 0, Range(0, 1), vf::kCommRedundancy},
    {"Coupling", kM1Coupling, 0, Range(0, 1), vf::kCommRedundancy},
    {"ZorvelRingPort1", D_CONF_ETH_REDUN_PORT1, 0, kPortRefRule, vf::kCommRedundancy},
    {"ZorvelRingPort2", D_CONF_ETH_REDUN_PORT2, 0, kPortRefRule, vf::kCommRedundancy},
    {"CouplingPort", kM1CouplingPort, 0, kPortRefRule, vf::kCommRedundancy},
    {"ControlPort", kM1ControlPort, 0, kPortRefRule, vf::kCommRedundancy},
    {"QosMechanism", D_CONF_QOS_SCHEDULE, 0, Range(0, 1), vf::kQos},
    {"SysVID", D_CONF_VLAN_SYS_VID, 0, Range(1, 4094), vf::kVlan},
    {"EnableIGMPSnoop", D_CONF_IGMPSNOOP_ENABLE, 0, Range(0, 1), vf::kIgmpSnooping},
    {"QUERY_PERIOD", kM1QueryPeriod, 0, Range(20, 600), vf::kIgmpSnooping},
    {"BSPEnable", kM1BspEnable, 0, Range(0, 1), vf::kBandwidthManagement},
    {"IncludeMulticast", kM1IncludeMulticast, 0, Range(0, 1), vf::kBandwidthManagement},
    {"Dot1x_DataBase", kM1Dot1xDataBase, 0, Range(1, 3), vf::kDot1x},
    {"Radius_Server", kM1RadiusServer, 0, Length(30), vf::kDot1x},
    {"Radius_SerKey", kM1RadiusSerKey, 0, Length(30), vf::kDot1x},
    {"Radius_SerPort", kM1RadiusSerPort, 0, Range(1, 65535), vf::kDot1x},
    {"Dot1x_ReAuth", kM1Dot1xReAuth, 0, Range(0, 1), vf::kDot1x},
    // Kept in 16 bits: a larger period is refused, never stored cut.
    {"Dot1x_ReAuthPeriod", kM1Dot1xReAuthPeriod, 0, Range(60, 65535), vf::kDot1x},
    {"SMTPServer", D_CONF_ETH_WARN_SMTPSrv, 0, Length(30), vf::kEmailWarning},
    {"SMTPAccount", D_CONF_ETH_WARN_SMTP_UNAME, 0, Length(45), vf::kEmailWarning},
    {"SMTPPassword", D_CONF_ETH_WARN_SMTP_PASSWD, 0, Length(45), vf::kEmailWarning},
    {"1st_e-mail_address", kM1EmailAddress, 0, Length(30), vf::kEmailWarning},
    {"2nd_e-mail_address", kM1EmailAddress, 1, Length(30), vf::kEmailWarning},
    {"3rd_e-mail_address", kM1EmailAddress, 2, Length(30), vf::kEmailWarning},
    {"4th_e-mail_address", kM1EmailAddress, 3, Length(30), vf::kEmailWarning},
    {"EW_SystemEvents",
     D_CONF_ETH_WARN_SFLAGA8,
     0,
     {Rule::kSystemHex, 0, 0x10000},
     vf::kEmailWarning},
    {"Relay1Override", kM1Relay1Override, 0, Range(0, 1), vf::kRelayAlarm},
    {"Relay2Override", kM1Relay2Override, 0, Range(0, 1), vf::kRelayAlarm},
    {"Power_Input_1_failure(On->Off)", kM1PowerInput1Failure, 0, Range(0, 2), vf::kRelayAlarm},
    {"Power_Input_2_failure(On->Off)", kM1PowerInput2Failure, 0, Range(0, 2), vf::kRelayAlarm},
    {"RW_DI1_N2F", kM1RwDi1N2F, 0, Range(0, 2), vf::kRelayAlarm},
    {"RW_DI1_F2N", kM1RwDi1F2N, 0, Range(0, 2), vf::kRelayAlarm},
    {"RW_DI2_N2F", kM1RwDi2N2F, 0, Range(0, 2), vf::kRelayAlarm},
    {"RW_DI2_F2N", kM1RwDi2F2N, 0, Range(0, 2), vf::kRelayAlarm},
    {"FASTRECOVERY", kM1FastRecovery, 0, Range(0, 1), vf::kLineSwap},
    {"MirrorPort", D_CONF_ETH_MIRROR_PORT, 0, {Rule::kPhysicalRef}, vf::kMirror},
    {"MonitoredPort", D_CONF_ETH_TARGET_PORT, 0, kPortRefRule, vf::kMirror},
    {"WatchDirection", D_CONF_ETH_MIRROR_DIR, 0, Range(0, 2), vf::kMirror},
};

struct PortKey {
  std::string_view prefix;
  std::string_view suffix;
  ConfigItemId id;
  KeyRule rule;
  ValidationFlags group;
  bool spanningTree = false;
  bool physicalOnly = false;
  /// Stored instead of the file's value for a port in a trunk group.
  std::optional<std::uint32_t> memberValue = std::nullopt;
};

const PortKey kPortKeys[] = {
    {"Port_", "_EN", kM1PortEnable, Range(0, 1), vf::kPort},
    {"Port_", "_Speed", kM1PortSpeed, Range(0, 6), vf::kPort},
    {"Port_", "_FDX", kM1PortFdx, Range(0, 1), vf::kPort},
    {"Port_", "_MDI", kM1PortMdi, Range(0, 2), vf::kPort},
    {"STP_EN_", "", kM1StpEnable, Range(0, 1), vf::kCommRedundancy, true, false, 1},
    {"STP_ID_", "", kM1StpId, Range(0, 15, 16), vf::kCommRedundancy, true, false, 8 * 16},
    {"STP_Cost_", "", kM1StpCost, Range(1, 200000000), vf::kCommRedundancy, true, false, 200000},
    {"InspectCos_", "", kM1InspectCos, Range(0, 1), vf::kQos, false, false, 1},
    {"PortPriority_", "", kM1PortPriority, Range(0, 7), vf::kQos, false, false, 3},
    {"VLANType_", "", kM1VlanType, Range(0, 1), vf::kVlan, false, false, 1},
    {"VLANPvid_", "", kM1VlanPvid, Range(1, 4094), vf::kVlan, false, false, 1},
    {"FixVid_", "", kM1FixVid, {Rule::kVidList}, vf::kVlan},
    {"FrbVid_", "", kM1FrbVid, {Rule::kVidList}, vf::kVlan},
    {"GMRP_EN_", "", kM1GmrpEnable, Range(0, 1), vf::kGmrp, false, false, 0},
    {"MFBMODE_", "", kM1MfbMode, Range(1, 3), vf::kGmrp, false, false, 2},
    {"RLI_SET_", "", kM1RliSet, Range(0, 9), vf::kBandwidthManagement, false, true},
    // The trunk entries have no 802.1X byte: theirs would lie in user 0.
    {"Dot1x_EN_", "", kM1Dot1xEnable, Range(0, 1), vf::kDot1x, false, true, 0},
    {"EW_PortEvents_", "", kM1EwPortEvents, {Rule::kPortEvents, 0, 7}, vf::kEmailWarning},
    {"EW_TrafThreshold_", "", kM1EwTrafThreshold, Range(0, 100), vf::kEmailWarning},
    {"EW_TrafDuration_", "", kM1EwTrafDuration, Range(1, 300), vf::kEmailWarning},
    {"RW_PortLink_", "", kM1RwPortLink, Range(0, 4), vf::kRelayAlarm, false, false, 0},
    {"RW_PortTraf_", "", kM1RwPortTraf, Range(0, 2), vf::kRelayAlarm},
    {"RW_TrafThreshold_", "", kM1RwTrafThreshold, Range(0, 100), vf::kRelayAlarm, false, false, 0},
    // The legend's 1..300: the duration is stored whole, never cut to a byte.
    {"RW_TrafDuration_", "", kM1RwTrafDuration, Range(1, 300), vf::kRelayAlarm, false, false, 1},
    {"DeviceIP_", "", kM1DeviceIp, kAddressRule, vf::kSetDeviceIp, false, false, 0},
};

/// Keys with an entry number: "<prefix>%d", numbers first..last, list
/// index = number - first + firstIndex.
struct IndexedKey {
  std::string_view prefix;
  ConfigItemId id;
  std::size_t first;
  std::size_t last;
  KeyRule rule;
  ValidationFlags group;
};

const IndexedKey kIndexedKeys[] = {
    {"InspectTosPortGroup_", kM1InspectTosPortGroup, 1, 5, Range(0, 1), vf::kQos},
    {"CoSMap_", kM1CosMap, 0, 7, Range(0, 3), vf::kQos},
    {"ToSMap_", kM1TosMap, 0, 63, Range(0, 7), vf::kQos},
};

// ---------------------------------------------------------------------------
// The reading itself
// ---------------------------------------------------------------------------

class M1Reader {
 public:
  M1Reader(DeviceRecord& edited, ConfigBlock& block, std::string_view text,
           ItemAccessors& accessors)
      : edited_(edited), block_(block), lines_(text), accessors_(accessors) {}

  ValidationFlags Read();

 private:
  ValidationFlags PassOneTrunks();
  ValidationFlags TrunkConsistency() const;
  ValidationFlags PassTwo();
  ValidationFlags Dispatch(const KeyLine& line);
  ValidationFlags ApplySingle(const SingleKey& key, const KeyLine& line);
  ValidationFlags ApplyPort(const PortKey& key, std::size_t port, const KeyLine& line);
  ValidationFlags ApplyValue(ConfigItemId id, std::size_t n, const KeyRule& rule,
                             ValidationFlags group, const KeyLine& line, bool physicalRef,
                             std::size_t port);
  ValidationFlags ApplyAccessEntry(std::size_t n, const KeyLine& line);
  ValidationFlags ApplyIgmp(std::string_view value);
  ValidationFlags ApplyMulticast(std::string_view value);
  ValidationFlags ApplyUnicast(std::string_view value);
  ValidationFlags ApplyDot1xUser(ConfigItemId id, std::size_t n, std::string_view value);
  ValidationFlags CrossChecks();

  bool IsGroupMember(std::size_t port) const { return port < kPhysicalPorts && groups_[port] != 0; }
  std::optional<std::size_t> PortValue(std::string_view name, bool physicalOnly) const;
  ValidationFlags Store(ConfigItemId id, std::size_t n, std::uint32_t value,
                        ValidationFlags group) {
    return accessors_.setNumber(block_, id, value, n) == ItemStatus::kOk ? 0 : group;
  }
  ValidationFlags StoreText(ConfigItemId id, std::size_t n, std::string_view value,
                            ValidationFlags group) {
    return accessors_.setText(block_, id, value, n) == ItemStatus::kOk ? 0 : group;
  }

  DeviceRecord& edited_;
  ConfigBlock& block_;
  LineReader lines_;
  ItemAccessors& accessors_;

  std::uint8_t groups_[kPhysicalPorts] = {};
  std::uint8_t types_[kPhysicalPorts] = {};
  std::uint32_t memberMask_ = 0;
  bool modelSeen_ = false;
  std::int32_t protocol_ = 0;
  std::array<bool, kPortCount> trunkVlanType_{};
  std::array<bool, kDot1xUserCount> userSeen_{};
  ValidationFlags accessFlags_ = 0;
};

ValidationFlags M1Reader::PassOneTrunks() {
  for (std::size_t i = 0; i < kPhysicalPorts; ++i) {
    groups_[i] =
        static_cast<std::uint8_t>(accessors_.getNumber(block_, kM1PortTrunkGroup, i).value_or(0));
    if (groups_[i] > kTrunkGroups) groups_[i] = 0;
    const auto flags = block_.ByteAt(kPortRecords + i * kPortRecordSize + 1);
    types_[i] = flags && (*flags & 0x08) ? 1 : 0;
  }
  lines_.Rewind();
  std::string_view line;
  while (lines_.Next(line)) {
    if (IsEndMarker(line)) break;
    if (IsComment(line)) continue;
    const KeyLine key = SplitKey(line);
    if (key.key.empty() || key.key.size() > kPass1KeyMax) continue;
    const auto typePort = PortOfKey(key.key, "Port_", "_TrunkType");
    const auto groupPort = typePort ? typePort : PortOfKey(key.key, "Port_", "_TrunkGroup");
    if (!groupPort || *groupPort >= kPhysicalPorts) continue;
    const bool isType = typePort.has_value();
    const std::int32_t value = CAtoi(key.Token());
    if (value < 0 || value > (isType ? 1 : static_cast<std::int32_t>(kTrunkGroups))) {
      return vf::kPortTrunking;
    }
    (isType ? types_ : groups_)[*groupPort] = static_cast<std::uint8_t>(value);
  }
  for (std::size_t i = 0; i < kPhysicalPorts; ++i) {
    if (!(edited_.trunkPortMask & (1u << i))) {
      groups_[i] = 0;
      types_[i] = 0;
    }
    accessors_.setNumber(block_, kM1PortTrunkType, types_[i], i);
    accessors_.setNumber(block_, kM1PortTrunkGroup, groups_[i], i);
  }
  return TrunkConsistency();
}

ValidationFlags M1Reader::TrunkConsistency() const {
  for (std::uint8_t g = 1; g <= kTrunkGroups; ++g) {
    int members[2] = {0, 0};
    bool modulePorts = false;
    bool gigabitPorts = false;
    for (std::size_t i = 0; i < kPhysicalPorts; ++i) {
      if (groups_[i] != g) continue;
      ++members[types_[i]];
      (i < kModulePorts ? modulePorts : gigabitPorts) = true;
    }
    for (const int count : members) {
      if (count == 1 || count > 8) return vf::kPortTrunking;
    }
    if (modulePorts && gigabitPorts) return vf::kPortTrunking;
  }
  return 0;
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

ValidationFlags M1Reader::ApplyValue(ConfigItemId id, std::size_t n, const KeyRule& rule,
                                     ValidationFlags group, const KeyLine& line, bool physicalRef,
                                     std::size_t port) {
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
      const auto index = PortValue(token, physicalRef || rule.rule == Rule::kPhysicalRef);
      if (!index) return group;
      return Store(id, n, static_cast<std::uint32_t>(*index + 1), group);
    }
    case Rule::kVidList: {
      SetItemContext context;
      context.portTypeIsTrunk = trunkVlanType_[port];
      return accessors_.setItem(block_, id, n, ItemValue(std::string(line.Text())), context) ==
                     ItemStatus::kOk
                 ? 0
                 : group;
    }
  }
  return group;
}

ValidationFlags M1Reader::ApplySingle(const SingleKey& key, const KeyLine& line) {
  if (key.spanningTree && protocol_ != 0) return 0;
  const ValidationFlags result = ApplyValue(key.id, key.n, key.rule, key.group, line, false, 0);
  if (result == 0 && key.id == D_CONF_ETH_REDUN_PROTOCOL) protocol_ = CAtoi(line.Token());
  return result;
}

ValidationFlags M1Reader::ApplyPort(const PortKey& key, std::size_t port, const KeyLine& line) {
  if (key.spanningTree && protocol_ != 0) return 0;
  if (key.physicalOnly && port >= kPhysicalPorts) return 0;
  if (IsGroupMember(port) && (key.memberValue || key.rule.rule == Rule::kVidList)) {
    if (key.id == kM1VlanType) trunkVlanType_[port] = false;
    if (key.rule.rule == Rule::kVidList) return 0;  // stored empty: nothing to add
    return Store(key.id, port, *key.memberValue, key.group);
  }
  const ValidationFlags result = ApplyValue(key.id, port, key.rule, key.group, line, false, port);
  if (result == 0 && key.id == kM1VlanType) trunkVlanType_[port] = CAtoi(line.Token()) == 0;
  return result;
}

ValidationFlags M1Reader::ApplyAccessEntry(std::size_t n, const KeyLine& line) {
  const auto entry = TestedAccessEntry(line.Text());
  if (!entry) {
    accessFlags_ |= vf::kAccessibleIp;
    return 0;
  }
  if (accessors_.setNumber(block_, kM1AccessIp, entry->first, n) != ItemStatus::kOk ||
      accessors_.setNumber(block_, kM1AccessIpNetmask, entry->second, n) != ItemStatus::kOk) {
    accessFlags_ |= vf::kAccessibleIp;
  }
  return 0;
}

ValidationFlags M1Reader::ApplyIgmp(std::string_view value) {
  const auto fields = Fields(value, 4);
  if (fields.size() < 3) return vf::kIgmpSnooping;
  const std::int32_t vid = CAtoi(fields[0]);
  const std::int32_t snooping = CAtoi(fields[1]);
  const std::int32_t querier = CAtoi(fields[2]);
  if (vid < 0 || vid > 4094 || snooping < 0 || snooping > 1 || querier < 0 || querier > 1) {
    return vf::kIgmpSnooping;
  }
  std::uint32_t routers = 0;
  if (fields.size() == 4) {
    for (const std::string_view name : SplitNames(fields[3])) {
      const auto index = PortValue(name, false);
      if (!index) return vf::kIgmpSnooping;
      routers |= 1u << *index;
    }
  }
  auto bytes = block_.bytes();
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
                                          const std::array<std::uint8_t, 6>& mac) {
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

void StoreStaticEntry(BlockBytes bytes, std::size_t entry, const std::array<std::uint8_t, 6>& mac,
                      std::uint32_t port) {
  std::copy(mac.begin(), mac.end(), bytes.begin() + static_cast<long>(entry));
  WriteU32(bytes, entry + kStaticPort, port);
  bytes[entry + kStaticUsed] = 1;
}

ValidationFlags M1Reader::ApplyMulticast(std::string_view value) {
  const auto fields = Fields(value, 2);
  if (fields.size() < 2) return vf::kStaticMulticast;
  const auto mac = ParseMac(fields[0]);
  if (!mac || !((*mac)[0] & 1)) return vf::kStaticMulticast;
  std::uint32_t ports = 0;
  for (const std::string_view name : SplitNames(fields[1])) {
    const auto index = PortValue(name, false);
    if (!index) return vf::kStaticMulticast;
    ports |= 1u << *index;
  }
  if (ports == 0) return vf::kStaticMulticast;
  const auto entry = StaticEntryFor(block_.bytes(), kMulticastTable, kMulticastEntries, *mac);
  if (entry) StoreStaticEntry(block_.bytes(), *entry, *mac, ports);
  return 0;
}

ValidationFlags M1Reader::ApplyUnicast(std::string_view value) {
  const auto fields = Fields(value, 2);
  if (fields.size() < 2) return vf::kStaticUnicast;
  const auto mac = ParseMac(fields[0]);
  if (!mac || ((*mac)[0] & 1)) return vf::kStaticUnicast;
  const auto port = PortValue(fields[1], true);
  if (!port) return vf::kStaticUnicast;
  const auto entry = StaticEntryFor(block_.bytes(), kUnicastTable, kUnicastEntries, *mac);
  if (entry) StoreStaticEntry(block_.bytes(), *entry, *mac, static_cast<std::uint32_t>(*port));
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
  for (const SingleKey& single : kSingleKeys) {
    if (key == single.key) return ApplySingle(single, line);
  }
  for (const PortKey& portKey : kPortKeys) {
    if (const auto port = PortOfKey(key, portKey.prefix, portKey.suffix)) {
      return ApplyPort(portKey, *port, line);
    }
  }
  for (const IndexedKey& indexed : kIndexedKeys) {
    if (key.substr(0, indexed.prefix.size()) != indexed.prefix) continue;
    const auto number = CanonicalNumber(key.substr(indexed.prefix.size()));
    if (!number || *number < indexed.first || *number > indexed.last) continue;
    return ApplyValue(indexed.id, *number - (indexed.first == 1 ? 1 : 0), indexed.rule,
                      indexed.group, line, false, 0);
  }
  if (key.substr(0, 9) == "AccessIp_") {
    const auto number = CanonicalNumber(key.substr(9));
    if (number && *number >= 1 && *number <= 10) return ApplyAccessEntry(*number - 1, line);
    return 0;
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

ValidationFlags M1Reader::PassTwo() {
  lines_.Rewind();
  std::string_view line;
  while (lines_.Next(line)) {
    if (IsEndMarker(line)) break;
    if (IsComment(line)) continue;
    const KeyLine key = SplitKey(line);
    if (key.key.empty() || key.key.size() > kPass2KeyMax) continue;
    if (!modelSeen_) {
      if (key.key != kModelNameKey) continue;
      if (key.Text().substr(0, kModelPrefix.size()) != kModelPrefix) return vf::kWrongModelLine;
      modelSeen_ = true;
      continue;
    }
    if (const ValidationFlags flags = Dispatch(key)) return flags;
  }
  return 0;
}

std::size_t LengthToSpace(std::string_view text) {
  const std::size_t space = text.find(' ');
  return space == std::string_view::npos ? text.size() : space;
}

ValidationFlags M1Reader::CrossChecks() {
  const auto number = [&](ConfigItemId id, std::size_t n = 0) {
    return accessors_.getNumber(block_, id, n).value_or(0);
  };
  const auto text = [&](ConfigItemId id, std::size_t n = 0) {
    return accessors_.getText(block_, id, n).value_or(std::string());
  };
  // Network: a fixed address needs an address and a netmask.
  const std::uint32_t mode = number(kIpConfigMode);
  if (mode != 1 && mode != 2 &&
      (number(D_CONF_ETH_IPADDR) == 0 || number(D_CONF_ETH_IPMASK) == 0)) {
    return vf::kNetwork;
  }
  // Relay alarm: both transitions of an input on different relays.
  for (const auto& [onOff, offOn] :
       {std::pair{kM1RwDi1N2F, kM1RwDi1F2N}, std::pair{kM1RwDi2N2F, kM1RwDi2F2N}}) {
    const std::uint32_t a = number(onOff);
    const std::uint32_t b = number(offOn);
    if (a != 0 && b != 0 && a == b) return vf::kRelayAlarm;
  }
  // Comm. redundancy: spanning-tree times, distinct ring and coupling ports.
  const std::uint32_t hello = number(D_CONF_ETH_SPAN_HELLO_TIME);
  const std::uint32_t maxAge = number(D_CONF_ETH_SPAN_MAX_AGE);
  const std::uint32_t forwarding = number(D_CONF_ETH_SPAN_FD_DELAY);
  if (2 * (hello + 1) > maxAge || forwarding < 1 || maxAge > 2 * (forwarding - 1)) {
    return vf::kCommRedundancy;
  }
  const std::uint32_t ports[] = {number(D_CONF_ETH_REDUN_PORT1), number(D_CONF_ETH_REDUN_PORT2),
                                 number(kM1CouplingPort), number(kM1ControlPort)};
  for (std::size_t a = 0; a < 4; ++a) {
    for (std::size_t b = a + 1; b < 4; ++b) {
      // 0 is "no port": several settings may name none.
      if (ports[a] != 0 && ports[a] == ports[b]) return vf::kCommRedundancy;
    }
  }
  // Ring, coupling and mirror ports that the file left as the device had
  // them must name a port that the file's trunks leave usable, as a line of
  // the file would have to: the export would otherwise write a reference
  // that no import takes back.
  for (const SingleKey& single : kSingleKeys) {
    const bool physical = single.rule.rule == Rule::kPhysicalRef;
    if (single.rule.rule != Rule::kPortRef && !physical) continue;
    const std::uint32_t reference = number(single.id, single.n);
    if (reference != 0 && !PortValue(PortNameOfIndex(reference - 1), physical)) {
      return single.group;
    }
  }
  // SNMP: V3 authentication needs passwords and keys of 8 characters.
  const std::uint32_t version = number(D_CONF_SNMP_VERSION);
  if (version == 0 || version == 2) {
    const struct {
      ConfigItemId authType, encryptionOn, key;
      std::size_t password;
    } accounts[] = {{kM1AdminAuthType, D_CONF_SNMP_V3AADEE, kM1AdminDataEncryption, 1},
                    {kM1UserAuthType, D_CONF_SNMP_V3UADEE, kM1UserDataEncryption, 0}};
    for (const auto& account : accounts) {
      if (number(account.authType) != 0 &&
          LengthToSpace(text(kPasswordField, account.password)) < 8) {
        return vf::kSnmp;
      }
      if (number(account.encryptionOn) != 0 && LengthToSpace(text(account.key)) < 8) {
        return vf::kSnmp;
      }
    }
  }
  // Accessible IP: an enabled list needs one whole entry.
  if (number(D_CONF_GRANTIP_INUSED) == 1) {
    bool any = false;
    for (std::size_t n = 0; n < 10 && !any; ++n) {
      any = ReadIpv4(block_.bytes(), kAccessAddresses + 4 * n).value_or(0) != 0 &&
            ReadIpv4(block_.bytes(), kAccessNetmasks + 4 * n).value_or(0) != 0;
    }
    if (!any) return vf::kAccessibleIp;
  }
  // QoS: a trunk spanning ToS groups needs one setting; the trunk takes it.
  for (std::uint8_t g = 1; g <= kTrunkGroups; ++g) {
    std::optional<std::uint32_t> setting;
    int groupsSeen = 0;
    unsigned seen = 0;
    for (std::size_t i = 0; i < kPhysicalPorts; ++i) {
      if (groups_[i] != g) continue;
      const std::size_t tosGroup = i < kModulePorts ? i / 8 : 3 + (i - kModulePorts);
      if (seen & (1u << tosGroup)) continue;
      seen |= 1u << tosGroup;
      ++groupsSeen;
      const std::uint32_t tos = number(kM1InspectTosPortGroup, tosGroup);
      if (setting && *setting != tos) return vf::kQos;
      setting = tos;
    }
    if (groupsSeen > 1) {
      const std::size_t entry = kFirstTrunkEntry + g - 1;
      const std::size_t offset = 865 + entry;
      if (const auto byte = block_.ByteAt(offset)) {
        block_.SetByteAt(offset, static_cast<std::uint8_t>((*byte & ~1u) | (*setting ? 1u : 0u)));
      }
    }
  }
  return 0;
}

ValidationFlags M1Reader::Read() {
  if (block_.size() < kBlockSize) return vf::kBlockRefused;
  ClearListTables(block_);
  lines_.Rewind();
  std::string_view first;
  if (!lines_.Next(first) || first.empty() || first[0] != '[' ||
      !StartsLike(first, kConfigFileHeaderLine)) {
    return vf::kWrongFirstLine;
  }
  if (const ValidationFlags flags = PassOneTrunks()) return flags;
  memberMask_ = TrunkMemberMask(groups_, edited_.trunkPortMask);
  if (const ValidationFlags flags = PassTwo()) return flags;
  if (!modelSeen_) return vf::kWrongModelLine;
  if (accessFlags_) return accessFlags_;
  return CrossChecks();
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
  if (IsMulticast(address) || address == kAllOnesIpv4 || address == 0) return std::nullopt;
  return address;
}

}  // namespace gen_m1

ValidationFlags ReadGenM1ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return gen_m1::M1Reader(edited, block, fileText, accessors).Read();
}

}  // namespace vantrell
