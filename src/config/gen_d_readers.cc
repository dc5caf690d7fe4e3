#include "config/gen_d_readers.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>
#include <string>

#include "config/c_number_parse.h"
#include "config/config_item_ids.h"
#include "config/file_lookup.h"

namespace vantrell {
namespace {

using namespace item;

constexpr int kPorts = 8;
constexpr int kMailRecipients = 4;

/// Longest texts the D8 blocks hold, in characters.
constexpr std::size_t kShortTextChars = 30;
constexpr std::size_t kBlank16Chars = 16;
constexpr std::size_t kSmtpTextChars = 45;
constexpr std::size_t kLongLocationChars = 80;

/// Accepted ranges of the numbers.
struct Range {
  std::int32_t low;
  std::int32_t high;
  bool Contains(std::int32_t value) const { return value >= low && value <= high; }
};
constexpr Range kFlagRange{0, 1};
constexpr Range kPortNumberRange{0, 8};  // mirror and mirrored port; 0 = not used
constexpr Range kWatchDirectionRange{0, 2};
constexpr Range kMdiFlagRange{0, 2};
constexpr Range kSpeedRange{0, 4};
constexpr Range kThresholdRange{0, 100};  // percent
constexpr Range kDurationRange{1, 300};   // seconds
constexpr Range kRelayLinkRange{0, 2};    // 0 ignore, 1 off->on, 2 on->off
constexpr Range kStpPortIdRange{0, 255};
constexpr Range kStpPathCostRange{0, 65535};
constexpr Range kHelloTimeRange{0, 10};
constexpr Range kMaxAgeRange{6, 40};
constexpr Range kForwardDelayRange{4, 30};
constexpr Range kBridgeIdRange{0, 65535};

/// Upper bounds of the hexadecimal event masks.
constexpr std::uint32_t kServerEventsMax = 0x3F;
constexpr std::uint32_t kServerEventsMaxGenD4 = 0x7F;
constexpr std::uint32_t kPortEventsMax = 0x7;

/// Bits of the redundancy word (item 141) in GenD3 and GenD4.
constexpr std::uint32_t kRingOn = 0x02;
constexpr std::uint32_t kRingMaster = 0x10;
constexpr std::uint32_t kRingCoupling = 0x20;
constexpr std::uint32_t kRingWithOrvSeries = 0x40;  // GenD4: protocol 2

/// Where GenD4's relay flags sit in their word and port bytes.
constexpr std::uint32_t kRelayPower1Bit = 0x10;
constexpr std::uint32_t kRelayPower2Bit = 0x40;
constexpr std::uint32_t kRelayTrafficBit = 0x04;

/// A constant name of a numbered family: prefix, number, suffix.
std::string Numbered(std::string_view prefix, int number, std::string_view suffix = {}) {
  std::string name(prefix);
  name += std::to_string(number);
  name += suffix;
  return name;
}

bool IsOneOf(std::uint16_t modelId, std::initializer_list<std::uint16_t> models) {
  return std::find(models.begin(), models.end(), modelId) != models.end();
}

/// One pass of a D8 reader over one file.
class GenDReader {
 public:
  GenDReader(Generation generation, DeviceRecord& edited, ConfigBlock& block,
             std::string_view fileText, ItemAccessors& accessors)
      : generation_(generation),
        edited_(edited),
        block_(block),
        file_(fileText),
        accessors_(accessors) {}

  ValidationFlags Run() {
    if (block_.size() < blockSize(generation_) ||
        accessors_.blockSize() != blockSize(generation_)) {
      return validation::kBlockRefused;
    }
    ReadNetworkSettings();
    ReadServerSettings();
    ReadPortSettings();
    ReadFlag("D_CONF_ETH_FLAG_FASTRECOVERY", D_CONF_ETH_FLAG_FASTRECOVERY);
    ReadDeviceIps();
    ReadMirror();
    ReadMailWarning();
    if (generation_ == Generation::kGenD4) ReadRelayWarning();
    ReadRedundancy();
    return refused_ ? validation::kBlockRefused : 0;
  }

 private:
  // ---- the groups, in the order of the file ----

  void ReadNetworkSettings() {
    ReadFlag("D_CONF_ETH_FLAG_DHCP", D_CONF_ETH_FLAG_DHCP);
    ReadAddress("D_CONF_ETH_IPADDR", D_CONF_ETH_IPADDR);
    ReadNetmask("D_CONF_ETH_IPMASK", D_CONF_ETH_IPMASK);
    ReadAddress("D_CONF_ETH_GATEWAY", D_CONF_ETH_GATEWAY);
    ReadAddress("D_CONF_ETH_DNSSIP", D_CONF_ETH_DNSSIP);
    ReadAddress("D_CONF_ETH_DNSSIP1", D_CONF_ETH_DNSSIP1);
    ReadText(file_.findValueText("D_CONF_ETH_TRAPS"), D_CONF_ETH_TRAPS, kShortTextChars);
    ReadText(file_.findValueText("D_CONF_ETH_COMMUNITY"), D_CONF_ETH_COMMUNITY, kShortTextChars);
  }

  void ReadServerSettings() {
    ReadText(file_.findValueText("D_CONF_ETH_USERNAME"), D_CONF_ETH_USERNAME, kBlank16Chars);
    ReadPassword();
    ReadText(file_.findValueText("D_CONF_ETH_NAME"), D_CONF_ETH_NAME, kShortTextChars);
    if (generation_ == Generation::kGenD4) {
      ReadText(file_.findValueText("D_CONF_ETH_LOCATION"), D_CONF_ETH_LOCATION, kLongLocationChars);
    } else {
      ReadText(file_.findValueText("D_CONF_ETH_LOCATION_OLD"), D_CONF_ETH_LOCATION_OLD,
               kShortTextChars);
    }
    ReadText(file_.findValueText("D_CONF_ETH_SYSDESCR"), D_CONF_ETH_SYSDESCR, kShortTextChars);
    ReadText(file_.findValueText("D_CONF_ETH_CONTACT"), D_CONF_ETH_CONTACT, kShortTextChars);
    ReadFlag("D_CONF_ETH_FLAG_WEB", D_CONF_ETH_FLAG_WEB);
    ReadFlag("D_CONF_ETH_FLAG_TELNET", D_CONF_ETH_FLAG_TELNET);
    ReadFlag("D_CONF_ETH_FLAG_HIDE", D_CONF_ETH_FLAG_HIDE);
  }

  void ReadPortSettings() {
    const std::uint16_t model = edited_.modelId;
    for (int p = 1; p <= kPorts; ++p) {
      ReadFlag(Numbered("D_CONF_ETH_PCFG_DISABLE", p), PcfgDisable(p));
      const bool mdi =
          p < 7 || (p == 7 ? GenDAppliesPort7MdiFlag(model) : GenDAppliesPort8Settings(model));
      const bool speed =
          p < 7 || (p == 7 ? GenDAppliesPort7Speed(model) : GenDAppliesPort8Settings(model));
      if (mdi) ReadNumber(Numbered("D_CONF_ETH_PCFG_FLAG", p), PcfgFlag(p), kMdiFlagRange);
      if (speed) ReadNumber(Numbered("D_CONF_ETH_PCFG_SPEED", p), PcfgSpeed(p), kSpeedRange);
    }
  }

  void ReadDeviceIps() {
    for (int p = 1; p <= kPorts; ++p)
      ReadAddress(Numbered("D_CONF_ETH_PCFG_DEVIP", p), PcfgDevIp(p));
  }

  void ReadMirror() {
    ReadNumber("D_CONF_ETH_MIRROR_PORT", D_CONF_ETH_MIRROR_PORT, kPortNumberRange);
    ReadNumber("D_CONF_ETH_TARGET_PORT", D_CONF_ETH_TARGET_PORT, kPortNumberRange);
    ReadNumber("D_CONF_ETH_MIRROR_DIR", D_CONF_ETH_MIRROR_DIR, kWatchDirectionRange);
  }

  void ReadMailWarning() {
    if (generation_ == Generation::kGenD1) {
      ReadText(file_.findValueTextShort("D_CONF_ETH_WARN_MAILS"), D_CONF_ETH_WARN_MAILS,
               kShortTextChars);
    } else {
      ReadText(file_.findValueTextShort("D_CONF_ETH_WARN_SMTPSrv"), D_CONF_ETH_WARN_SMTPSrv,
               kShortTextChars);
      ReadText(file_.findValueTextShort("D_CONF_ETH_WARN_SMTP_UNAME"), D_CONF_ETH_WARN_SMTP_UNAME,
               kSmtpTextChars);
      ReadText(file_.findValueTextShort("D_CONF_ETH_WARN_SMTP_PASSWD"), D_CONF_ETH_WARN_SMTP_PASSWD,
               kSmtpTextChars);
    }
    for (int k = 1; k <= kMailRecipients; ++k) {
      ReadText(file_.findValueTextShort(Numbered("D_CONF_ETH_WARN_TO", k)), WarnTo(k),
               kShortTextChars);
    }
    ReadHex("D_CONF_ETH_WARN_SFLAG", D_CONF_ETH_WARN_SFLAG,
            generation_ == Generation::kGenD4 ? kServerEventsMaxGenD4 : kServerEventsMax);
    for (int p = 1; p <= kPorts; ++p) {
      ReadHex(Numbered("D_CONF_ETH_WARN_PFLAG", p), WarnPortFlag(p), kPortEventsMax);
      ReadNumber(Numbered("D_CONF_ETH_WARN_PLOAD", p), WarnPortLoad(p), kThresholdRange);
      ReadNumber(Numbered("D_CONF_ETH_WARN_PLOADTIME", p), WarnPortLoadTime(p), kDurationRange);
    }
  }

  /// GenD4: the relay word and port bytes take each flag in its own bit.
  void ReadRelayWarning() {
    if (const auto on = Flag("D_CONF_ETH_RELAY_SFLAG_NORMAL")) {
      Store(D_CONF_ETH_RELAY_SFLAG_NORMAL, *on);
    }
    if (const auto on = Flag("D_CONF_ETH_RELAY_SFLAG_POWER1")) {
      Store(D_CONF_ETH_RELAY_SFLAG_POWER1, *on ? kRelayPower1Bit : 0);
    }
    if (const auto on = Flag("D_CONF_ETH_RELAY_SFLAG_POWER2")) {
      Store(D_CONF_ETH_RELAY_SFLAG_POWER2, *on ? kRelayPower2Bit : 0);
    }
    for (int p = 1; p <= kPorts; ++p) {
      ReadNumber(Numbered("D_CONF_ETH_RELAY_PFLAG_LINK", p), RelayPortLink(p), kRelayLinkRange);
      if (const auto on = Flag(Numbered("D_CONF_ETH_RELAY_PFLAG_TRAF", p))) {
        Store(RelayPortTraffic(p), *on ? kRelayTrafficBit : 0);
      }
      ReadNumber(Numbered("D_CONF_ETH_RELAY_PLOAD", p), RelayPortLoad(p), kThresholdRange);
      ReadNumber(Numbered("D_CONF_ETH_RELAY_PLOADTIME", p), RelayPortLoadTime(p), kDurationRange);
    }
  }

  void ReadRedundancy() {
    if (generation_ == Generation::kGenD1 || generation_ == Generation::kGenD2) {
      ReadFlag("D_CONF_ETH_SPAN_REDUN", D_CONF_ETH_SPAN_REDUN);
      ReadSpanningTree();
      return;
    }
    // GenD3 and GenD4 keep the ring settings as bits of the word; without a
    // protocol line the device's current word decides.
    std::uint32_t word = accessors_.getNumber(block_, kRedundancyWord).value_or(0);
    if (const auto protocol = Value(file_.findValueToken("D_CONF_ETH_REDUN_PROTOCOL"))) {
      word = RingWordFor(CAtoi(*protocol), word);
      Store(kRedundancyWord, word);
    }
    if ((word & kRingOn) == 0) {
      ReadSpanningTree();
      return;
    }
    if (const auto master = Value(file_.findValueToken("D_CONF_ETH_REDUN_MASTER"))) {
      word = CAtoi(*master) != 0 ? (word | kRingMaster) : (word & ~kRingMaster);
      Store(kRedundancyWord, word);
    }
    if (const auto coupling = Value(file_.findValueToken("D_CONF_ETH_REDUN_COUPLING"))) {
      word = CAtoi(*coupling) != 0 ? (word | kRingCoupling) : (word & ~kRingCoupling);
      Store(kRedundancyWord, word);
    }
  }

  /// The redundancy word after the file's protocol value.
  std::uint32_t RingWordFor(std::int32_t protocol, std::uint32_t word) const {
    if (generation_ == Generation::kGenD3) return protocol != 0 ? kRingOn : (word & ~kRingOn);
    if (protocol == 1) return kRingOn;
    if (protocol == 2) return kRingOn | kRingWithOrvSeries;
    return word & ~kRingOn;
  }

  void ReadSpanningTree() {
    ReadNumber("D_CONF_ETH_SPAN_BRIDGE_ID", D_CONF_ETH_SPAN_BRIDGE_ID, kBridgeIdRange);
    ReadNumber("D_CONF_ETH_SPAN_HELLO_TIME", D_CONF_ETH_SPAN_HELLO_TIME, kHelloTimeRange);
    ReadNumber("D_CONF_ETH_SPAN_MAX_AGE", D_CONF_ETH_SPAN_MAX_AGE, kMaxAgeRange);
    ReadNumber("D_CONF_ETH_SPAN_FD_DELAY", D_CONF_ETH_SPAN_FD_DELAY, kForwardDelayRange);
    for (int p = 1; p <= kPorts; ++p) {
      ReadFlag(Numbered("D_CONF_ETH_SPAN_PORT", p, "_EN"), SpanPortEnable(p));
      ReadNumber(Numbered("D_CONF_ETH_SPAN_PORT", p, "_ID"), SpanPortId(p), kStpPortIdRange);
      ReadNumber(Numbered("D_CONF_ETH_SPAN_PATH", p, "_COST"), SpanPathCost(p), kStpPathCostRange);
    }
  }

  /// The login password of the device, from the "Password" token. A value
  /// longer than the record's password, or one that the token would cut at
  /// a blank, is not taken: the device keeps its password.
  void ReadPassword() {
    const auto token = Value(file_.findValueToken("D_CONF_ETH_PASSWORD"));
    if (!token || token->size() > kPasswordLength) return;
    if (file_.findValueText("D_CONF_ETH_PASSWORD") != *token) return;
    SetFieldText(edited_.password, *token);
  }

  // ---- value kinds ----

  /// The lookup's result, or nothing for the NotFoundMarker.
  static std::optional<std::string> Value(std::string value) {
    if (IsNotFound(value)) return std::nullopt;
    return value;
  }

  /// An enable switch: `atol` of the token, usable when 0 or 1.
  std::optional<std::uint32_t> Flag(const std::string& constName) {
    const auto token = Value(file_.findValueToken(constName));
    if (!token) return std::nullopt;
    const std::int32_t value = CAtol(*token);
    if (!kFlagRange.Contains(value)) return std::nullopt;
    return static_cast<std::uint32_t>(value);
  }

  void ReadFlag(const std::string& constName, ConfigItemId id) {
    if (const auto value = Flag(constName)) Store(id, *value);
  }

  /// A decimal number: `atoi` of the token, usable inside `range`.
  void ReadNumber(const std::string& constName, ConfigItemId id, Range range) {
    const auto token = Value(file_.findValueToken(constName));
    if (!token) return;
    const std::int32_t value = CAtoi(*token);
    if (range.Contains(value)) Store(id, static_cast<std::uint32_t>(value));
  }

  /// A hexadecimal mask without prefix, usable up to `max`.
  void ReadHex(const std::string& constName, ConfigItemId id, std::uint32_t max) {
    const auto token = Value(file_.findValueToken(constName));
    if (!token) return;
    const auto value = CScanHex(*token);
    if (value && *value <= max) Store(id, *value);
  }

  /// A dotted address; a refused text and 255.255.255.255 are not applied.
  void ReadAddress(const std::string& constName, ConfigItemId id) {
    const auto token = Value(file_.findValueToken(constName));
    if (!token) return;
    const Ipv4 address = CInetAddr(*token);
    if (address != kAllOnesIpv4) Store(id, address);
  }

  /// The netmask also takes the literal "255.255.255.255".
  void ReadNetmask(const std::string& constName, ConfigItemId id) {
    const auto token = Value(file_.findValueToken(constName));
    if (!token) return;
    const Ipv4 address = CInetAddr(*token);
    if (address != kAllOnesIpv4 || *token == "255.255.255.255") Store(id, address);
  }

  /// A text of at most `maxChars` characters; a longer one is not applied
  /// (the block field would cut it).
  void ReadText(std::string value, ConfigItemId id, std::size_t maxChars) {
    if (IsNotFound(value) || value.size() > maxChars) return;
    StoreText(id, value);
  }

  // ---- writing ----

  void Store(ConfigItemId id, std::uint32_t value) {
    if (accessors_.setNumber(block_, id, value) != ItemStatus::kOk) refused_ = true;
  }

  void StoreText(ConfigItemId id, std::string_view text) {
    if (accessors_.setText(block_, id, text) != ItemStatus::kOk) refused_ = true;
  }

  Generation generation_;
  DeviceRecord& edited_;
  ConfigBlock& block_;
  ConfigFileLookup file_;
  ItemAccessors& accessors_;
  bool refused_ = false;
};

ValidationFlags ReadGenD(Generation generation, DeviceRecord& edited, ConfigBlock& block,
                         std::string_view fileText, ItemAccessors& accessors) {
  return GenDReader(generation, edited, block, fileText, accessors).Run();
}

}  // namespace

ValidationFlags readGenD1ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return ReadGenD(Generation::kGenD1, edited, block, fileText, accessors);
}

ValidationFlags readGenD2ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return ReadGenD(Generation::kGenD2, edited, block, fileText, accessors);
}

ValidationFlags readGenD3ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return ReadGenD(Generation::kGenD3, edited, block, fileText, accessors);
}

ValidationFlags readGenD4ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return ReadGenD(Generation::kGenD4, edited, block, fileText, accessors);
}

GenDConfigFileReader GenDReaderFor(Generation generation) {
  switch (generation) {
    case Generation::kGenD1:
      return readGenD1ConfigFile;
    case Generation::kGenD2:
      return readGenD2ConfigFile;
    case Generation::kGenD3:
      return readGenD3ConfigFile;
    case Generation::kGenD4:
      return readGenD4ConfigFile;
    default:
      return nullptr;
  }
}

bool GenDAppliesPort7MdiFlag(std::uint16_t modelId) {
  return IsOneOf(modelId, {0x6008, 0x6018, 0x6028, 0x6058, 0x6068, 0x6078});
}

bool GenDAppliesPort7Speed(std::uint16_t modelId) {
  return !IsOneOf(modelId, {0x6038, 0x6048, 0x6088, 0x6098});
}

bool GenDAppliesPort8Settings(std::uint16_t modelId) { return IsOneOf(modelId, {0x6008, 0x6058}); }

}  // namespace vantrell
