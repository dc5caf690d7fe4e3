#pragma once
/// The file schema of the modular model (GenM1): one row per setting of its
/// configuration file, in file order. The writer (gen_m1_writer.h) walks the
/// rows of a section to write their legends and value lines; the reader
/// (gen_m1_reader.h) finds a line's row by its key and tests the value
/// against the row's rule. So a setting's key, item, legend, range and
/// function group are declared once, side by side. What is not one setting
/// per line stays code in the writer and the reader: the banners, the
/// VLAN lists, the IGMP and static tables, the 802.1X users, the trunk pass
/// and the cross-checks.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/config_item_ids.h"
#include "config/validation.h"

namespace vantrell {
namespace gen_m1 {

/// The choices of an enable switch, as the legends spell them.
inline constexpr std::string_view kEnableLegend = "# \t--> 0 : Disable\n# \t--> 1 : Enable\n";
/// The names a port reference takes, as the legends spell them.
inline constexpr std::string_view kPortNamesLegend =
    "# \t--> 1-1,1-2,1-3,....,G-1,G-2 : Port 1-1,Port 1-2,...Port G-1,Port G-2\n"
    "# \t--> Trk1,Trk2,Trk3,Trk4 : Trk 1,Trk 2,Trk 3,Trk 4\n";

/// The parts of the file, each written under its own banner.
enum class Section : std::uint8_t {
  kSystem,
  kCf,
  kPassword,
  kAccessIp,
  kPort,
  kNetwork,
  kTrunk,
  kSnmp,
  kTime,
  kRedundancy,
  kRing,
  kRstp,
  kQos,
  kCosMap,
  kTosMap,
  kVlan,
  kIgmp,
  kGmrp,
  kMfb,
  kStorm,
  kIngress,
  kDot1x,
  kEmail,
  kEmailEvents,
  kRelay,
  kRelayPorts,
  kLineSwap,
  kDeviceIp,
  kMirror,
};

/// How a key names its setting.
enum class KeyShape : std::uint8_t {
  kSingle,    ///< the key itself ("SwitchName")
  kPerPort,   ///< key, port name, suffix ("Port_1-1_EN", "STP_EN_G-2")
  kNumbered,  ///< key and an entry number ("CoSMap_3", "AccessIp_10")
};

/// How the writer shows the stored value. Unless said otherwise an item
/// the block cannot give is written empty.
enum class WrittenAs : std::uint8_t {
  kDecimal,      ///< "%d"
  kUnsigned,     ///< "%u"
  kHex,          ///< "%x"
  kHex4,         ///< "0x%04x" (0 for an item the block cannot give)
  kHex2,         ///< "0x%02x" (0 for an item the block cannot give)
  kText,         ///< a text that stays on its line
  kNamed,        ///< the item's name in the file (NamedValueOrNote)
  kAddress,      ///< dotted decimal; empty for 0.0.0.0
  kAddressBare,  ///< dotted decimal; the key alone for 0.0.0.0 or 255.255.255.255
  kPortRef,      ///< the name of port value - 1; "0" for none
  kScaled,       ///< the value divided by the rule's scale, "%d"
};

/// How the reader tests and stores a value.
enum class Rule : std::uint8_t {
  kRange,        ///< atoi value in [min, max], stored times `scale`
  kText,         ///< text value of at most `max` characters
  kTextAny,      ///< text value stored as given (the accessor cuts it)
  kAddress,      ///< the address test (TestedAddress)
  kSystemHex,    ///< "0x" and hexadecimal digits, at most `max`
  kPortEvents,   ///< "0x" and a decimal number, at most `max`
  kPortRef,      ///< "0" or a port name outside TrunkMemberMask, stored as index + 1
  kPhysicalRef,  ///< "0" or a physical port name that is not a trunk member
  kVidList,      ///< FixVid/FrbVid, applied by the accessor
  kAccessEntry,  ///< "address/netmask" of the accessible IP list
};

/// A rule and its bounds: the range of kRange (and its scale), the longest
/// text of kText, the largest value of the "0x" forms.
struct KeyRule {
  Rule rule = Rule::kRange;
  std::int32_t min = 0;
  std::int32_t max = 0;
  std::uint32_t scale = 1;
};

/// A number in [min, max], stored times `scale`.
constexpr KeyRule Within(std::int32_t min, std::int32_t max, std::uint32_t scale = 1) {
  return {Rule::kRange, min, max, scale};
}
/// A text of at most `max` characters.
constexpr KeyRule Length(std::int32_t max) { return {Rule::kText, 0, max}; }
/// Any other rule, with its largest value where it has one.
constexpr KeyRule Only(Rule rule, std::int32_t max = 0) { return {rule, 0, max}; }

/// Choice lines that are counted out rather than spelled.
enum class LegendLines : std::uint8_t {
  kNone,
  kTimeZones,         ///< the 63 time zone names
  kBridgePriorities,  ///< "%2d : %d" for 0..15, steps of 4096
  kPortPriorities,    ///< "%2d : %d" for 0..15, steps of 16
};

/// The comment lines written before a setting's value line (before the
/// port blocks for a per-port setting): `head`, the counted lines, then
/// `choices` and `tail`. In the texts "{low}" and "{high}" stand for the
/// ends of the rule's range and "{max}" for its longest text, so a legend
/// states what the reader checks.
struct Legend {
  constexpr Legend(std::string_view head = {}, std::string_view choices = {},
                   std::string_view tail = {}, LegendLines lines = LegendLines::kNone)
      : head(head), choices(choices), tail(tail), lines(lines) {}

  std::string_view head;
  std::string_view choices;
  std::string_view tail;
  LegendLines lines;
};

/// Which ports have a line of a per-port setting.
enum class PortSet : std::uint8_t {
  kPresent,              ///< the ports of the record's portMask, trunk entries included
  kPresentPhysical,      ///< those of them below 26; the reader ignores the trunk entries' keys
  kPresentPhysicalLine,  ///< written for the physical ones, read for all
  kPhysical,             ///< every physical port (the trunk settings)
  kPopulated,            ///< the ports of populated slots
};

/// Where the empty lines go.
enum class Blank : std::uint8_t {
  kAfterEach,  ///< after every value line (per-port settings: after each port block)
  kAfterLast,  ///< numbered settings: after the last entry only
  kNone,
};

/// A comment line written before each entry of a numbered setting.
enum class EntryHeading : std::uint8_t { kNone, kCos, kTos };

/// One row of the schema.
struct Setting {
  constexpr explicit Setting(Section section) : section(section) {}

  Section section;
  KeyShape shape = KeyShape::kSingle;
  std::string_view key;     ///< the key, or the part before the port name or number
  std::string_view suffix;  ///< per-port keys: the part after the port name
  ConfigItemId id = 0;
  std::size_t listIndex = 0;  ///< single settings: the item's list index
  std::size_t first = 0;      ///< numbered settings: the numbers first..last,
  std::size_t last = 0;       ///< list index = number - first
  WrittenAs format = WrittenAs::kDecimal;
  std::string_view unit;  ///< written after the value ("(sec.)", " %")
  KeyRule rule;
  ValidationFlags group = 0;
  Legend legend;
  int tabs = 1;       ///< TABs between key and value
  int trunkTabs = 0;  ///< for the trunk entries' lines, when not 0
  Blank blank = Blank::kAfterEach;
  EntryHeading heading = EntryHeading::kNone;
  PortSet ports = PortSet::kPresent;
  bool spanningTree = false;  ///< read only while the redundancy protocol is 0
  /// Stored instead of the file's value for a port in a trunk group.
  std::optional<std::uint32_t> memberValue = std::nullopt;
  bool passOne = false;  ///< read in the trunk pass, skipped in the second

  constexpr Setting ListIndex(std::size_t n) const {
    Setting s = *this;
    s.listIndex = n;
    return s;
  }
  constexpr Setting Tabs(int n, int trunk = 0) const {
    Setting s = *this;
    s.tabs = n;
    s.trunkTabs = trunk;
    return s;
  }
  constexpr Setting Unit(std::string_view text) const {
    Setting s = *this;
    s.unit = text;
    return s;
  }
  constexpr Setting NoBlank() const {
    Setting s = *this;
    s.blank = Blank::kNone;
    return s;
  }
  constexpr Setting Ports(PortSet set) const {
    Setting s = *this;
    s.ports = set;
    return s;
  }
  constexpr Setting SpanningTree() const {
    Setting s = *this;
    s.spanningTree = true;
    return s;
  }
  constexpr Setting MemberValue(std::uint32_t value) const {
    Setting s = *this;
    s.memberValue = value;
    return s;
  }
};

/// Every row, in file order.
std::span<const Setting> Schema();

/// The rows of one section, in file order.
std::span<const Setting> SectionRows(Section section);

/// The row of a single setting's key; null when no single setting has it.
const Setting* FindSingle(std::string_view key);

/// A line's key matched to a row: the row and the list index it names.
struct KeyMatch {
  const Setting* row = nullptr;
  std::size_t listIndex = 0;
};

/// The row a key names (single, per-port or numbered, in that order of
/// precedence) and its list index; nothing for a key of no row.
std::optional<KeyMatch> MatchKey(std::string_view key);

/// The port of a per-port key "prefix" + name + "suffix", names exactly as
/// the writer formats them.
std::optional<std::size_t> PortOfKey(std::string_view key, std::string_view prefix,
                                     std::string_view suffix);

/// An entry number of a key: digits only, no leading zero, at most three.
std::optional<std::size_t> CanonicalNumber(std::string_view text);

/// A legend text of `row` with its placeholders filled.
std::string LegendText(std::string_view text, const Setting& row);

/// The key of a row for one list index ("Port_1-1_EN", "CoSMap_3").
std::string KeyOf(const Setting& row, std::size_t listIndex);

}  // namespace gen_m1
}  // namespace vantrell
