#pragma once
/// The file schema of the A8/R8 family (GenA1 and GenA2): one table of rows,
/// each naming one setting of the configuration file (or a run of numbered
/// settings, one per port) once: its section, file key, item, function
/// group, the rule its value must keep, and for each generation how the
/// writer writes it (value format, TABs, line end, legend). The writers walk
/// the rows to write the value lines and their legends, the readers walk the
/// same rows to read and check the values, so an item's legend and its
/// range stand in one row.
///
/// What is structurally special stays with the writers and readers: the
/// banners, the VLAN, IGMP and static tables, the ToS groups, the trunk
/// passes of GenA2 and its cross-checks.
///
/// The readers keep their problems in the FileProblemList of file_schema.h.
/// The rows are of the family's own type rather than SchemaRow: each A8/R8
/// value has its legend right above it (not at the top of its section),
/// one row carries both generations' layouts (TABs, legend, format) next
/// to one rule, and a value its field refuses as out of range is skipped,
/// never a refused block.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "config/config_item_ids.h"
#include "config/file_writer.h"
#include "config/validation.h"
#include "config/value_rules.h"

namespace vantrell::a8schema {

/// The generations of the family, as the rows tell them apart.
enum class Gen : std::uint8_t { kA1, kA2 };

/// Where a row stands in the file. The writers write a section between its
/// banners, the readers read the sections in their own order.
enum class Section : std::uint8_t {
  kSystem,
  kPassword,
  kAccessList,
  kPorts,
  kNetwork,
  kTrunking,
  kSnmp,
  kTime,
  kRedundancy,
  kRing,
  kSpanningTree,
  kSpanningTreePorts,
  kQos,
  kCosMap,
  kVlan,
  kIgmp,
  kIngressRates,
  kEgressRates,
  kPortLock,
  kMailWarning,
  kMailPorts,
  kRelayWarning,
  kRelayLinks,
  kRelayPorts,
  kFastRecovery,
  kDeviceIp,
  kMirror,
};

/// How a generation writes a value.
enum class Format : std::uint8_t {
  kNone,            ///< the generation does not write the row
  kDecimal,         ///< "%d"
  kUnsigned,        ///< "%u"
  kHex,             ///< "%x"
  kHex2,            ///< "%02x"
  kHex4,            ///< "%04x"
  kShift4,          ///< "%d" of the value >> 4
  kShift12,         ///< "%d" of the value >> 12
  kText,            ///< the text on its line
  kNamed,           ///< the item's name (rates, SNMP version); a stored value without one is noted
  kAddress,         ///< dotted address
  kAddressOrEmpty,  ///< dotted address, empty for 0.0.0.0
  kAddressOrEmptyAll,  ///< dotted address, empty for 0.0.0.0 and 255.255.255.255
  kPercent,            ///< "%d%%"
  kSeconds,            ///< "%d sec"
  kSecondsDot,         ///< "%dsec."
  kSecondsParen,       ///< "%d(sec.)"
};

/// How a value is checked when read. GenA1 stores a value that passes and
/// keeps the device's value otherwise; GenA2 rejects the file.
enum class Check : std::uint8_t {
  kNone,          ///< the generation does not read the row
  kRange,         ///< atoi of the token in [min, max], stored times `factor`
  kUnchecked,     ///< atoi of the token, stored as given (the accessor keeps its own range)
  kHex,           ///< hexadecimal token of at most `max`
  kText,          ///< the text; GenA2: at most `max` characters
  kMailText,      ///< kText, which GenA1 looks up with the short line buffer
  kHostAddress,   ///< the device's own address: GenA1 keeps it for an empty value
  kAddress,       ///< an address; empty is 0.0.0.0
  kNetmask,       ///< GenA1 also takes the literal "255.255.255.255"
  kRangeOrEmpty,  ///< kRange; an empty value keeps the device's value
  kSpecial,       ///< read by the reader's own code (lists, rates, VID lists, ...)
  kInherit,       ///< GenA1's rule only: the same as GenA2's
};

/// The rule of a value: its check and range.
struct Rule {
  Check check = Check::kNone;
  /// Numbers: the accepted range; texts: 0..the longest text.
  Range range = kUnrestricted;
  std::uint32_t factor = 1;
};

constexpr Rule Between(std::int64_t low, std::int64_t high, std::uint32_t factor = 1) {
  return {Check::kRange, Range{low, high}, factor};
}
constexpr Rule kFlag = Between(0, 1);
constexpr Rule HexUpTo(std::int64_t max) { return {Check::kHex, Range{0, max}}; }
constexpr Rule TextUpTo(std::int64_t max) { return {Check::kText, Range{0, max}}; }
constexpr Rule MailTextUpTo(std::int64_t max) { return {Check::kMailText, Range{0, max}}; }
constexpr Rule kUnchecked{Check::kUnchecked};
constexpr Rule kHostAddress{Check::kHostAddress};
constexpr Rule kAddress{Check::kAddress};
constexpr Rule kNetmask{Check::kNetmask};
constexpr Rule kSpecial{Check::kSpecial};
constexpr Rule BetweenOrEmpty(std::int64_t low, std::int64_t high) {
  return {Check::kRangeOrEmpty, Range{low, high}};
}
constexpr Rule kNotRead{Check::kNone};

/// The comment lines above a value, written in order (empty pieces are
/// skipped); for a numbered row once, before its first number. "{low}",
/// "{high}" and "{max}" stand for the ends of the generation's rule, so a
/// legend that restates a limit takes it from the rule the reader checks;
/// a legend that states something else says it literally (and its row's
/// comment says why).
using Legend = std::array<std::string_view, 8>;

/// TABs value for "key value" with a single blank between.
inline constexpr std::int8_t kBlankSeparator = -1;

/// How one generation writes a row.
struct Layout {
  Format format = Format::kNone;
  std::int8_t tabs = 1;
  LineEnd end = LineEnd::kLineAndBlank;
  Legend legend = {};
  /// Written before the values of each number, "{}" standing for the number.
  std::string_view header = {};
  /// GenA1: the D_CONF name whose catalogue comment stands above the value
  /// (for a numbered row once, like the legend).
  std::string_view comment = {};
  /// TABs before an empty value; -2 for the same as `tabs`.
  std::int8_t emptyTabs = -2;
};

/// One setting, or a run of numbered settings, of the A8/R8 file.
struct Row {
  Section section;
  /// The file key, "{}" standing for the number.
  std::string_view key;
  ConfigItemId id;  ///< the item of the first number
  ValidationFlags group;
  Rule rule;  ///< GenA2's rule, and GenA1's unless `a1Rule` is given
  Layout a1;
  Layout a2;
  /// Numbers first..last (0..0 for a single setting); GenA1 ends at `a1Last` when given.
  std::uint8_t first = 0;
  std::uint8_t last = 0;
  std::uint8_t stride = 1;  ///< item ID step from one number to the next
  /// True when the row is written and read in the per-number loop of the row before it.
  bool withPrevious = false;
  Rule a1Rule = {Check::kInherit};  ///< GenA1's rule when it differs from `rule`
  std::uint8_t a1Last = 0;
};

/// All rows, in file order within each section.
std::span<const Row> Rows();
/// The rows of `section`, in file order.
std::span<const Row> RowsOf(Section section);

/// The rows of `section` in their groups: a row with the next ones marked
/// withPrevious, which are read and written port by port together.
template <typename Visit>
void ForEachRowGroup(Section section, Visit&& visit) {
  const auto rows = RowsOf(section);
  for (std::size_t begin = 0; begin < rows.size();) {
    std::size_t end = begin + 1;
    while (end < rows.size() && rows[end].withPrevious) ++end;
    visit(rows.subspan(begin, end - begin));
    begin = end;
  }
}
/// The row of `section` whose key is `key` (pattern), or null.
const Row* FindRow(Section section, std::string_view key);

const Layout& LayoutOf(const Row& row, Gen gen);
const Rule& RuleOf(const Row& row, Gen gen);
/// The last number `gen` writes and reads (row.last, or a1Last for GenA1).
int LastNumber(const Row& row, Gen gen);
/// The item of number `n`.
ConfigItemId ItemOf(const Row& row, int n);
/// `pattern` with "{}" replaced by `n`.
std::string Numbered(std::string_view pattern, int n);
/// The file key of number `n`.
inline std::string KeyOf(const Row& row, int n) { return Numbered(row.key, n); }

}  // namespace vantrell::a8schema
