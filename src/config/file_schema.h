#pragma once
/// A file schema: the table of a configuration file family that names each
/// item once and says, in one row, how its value line is written, how it
/// is read back and what the reader accepts. The writer walks the rows of a
/// section to write them, the reader walks the same rows to read and check
/// them, so the legend above an item and the range its reader checks come
/// from the same row. What is structurally irregular in a family (banners,
/// list tables, passes over trunks, cross-checks) stays code beside the
/// schema and uses the lower-level calls of SchemaWriter and SchemaReader.
///
/// A row:
///
/// | field        | what it says                                                |
/// |--------------|-------------------------------------------------------------|
/// | `section`    | the family's own section number; the walks go by section    |
/// | `item`       | the D_CONF name and item ID (VANTRELL_SCHEMA_ITEM), or, for |
/// |              | a numbered row, name prefix, suffix, ID function and count  |
/// | `format`     | how the value is written and read (kDecimal, kHex, ...)     |
/// | `rule`       | what the reader accepts (InRange, MaxChars, OneOf, ...)     |
/// | `group`      | the ValidationFlags bit of the function group               |
/// | `legend`     | lines written at the top of the section, before its rows   |
/// | `line`       | tabs, item comment and line end of the value line           |
/// | `variants`   | which variants (generations) of the family carry the row    |
/// | `writes`/`reads` | optional per-number conditions (model-dependent ports)  |
///
/// Keys: a row's name is a catalogue constant name, whose file key
/// catalogueFileKey gives, unless `item.literalKey` is set (the name then
/// is the file key itself, as the modular model's files spell keys).
///
/// Numbered rows stand for items `first`..`first + count - 1`: the name is
/// prefix + number (or `numberText(n)`) + suffix and the ID is
/// `numberedId(n)`. A numbered row with `line.withPrevious` set is written
/// in the same pass over the numbers as the row before it: for each number
/// the run's heading, then one line of each row of the run ("# [Port 1]",
/// enable, ID, cost, "# [Port 2]", ...).
///
/// Legends: the walk writes the legends of all rows of a section, in row
/// order, before the first value line of the section. In a legend "{n}"
/// stands for the number (the legend is then written once per number),
/// "{low}" and "{high}" for the ends of the row's range, "{max}" for its
/// longest text, "{example_server}" and "{example_address}" for the
/// examples of file_writer.h. A legend that states something else than the
/// reader checks must say so literally (and its row's comment says why).
///
/// Reading: each row's value is looked up by its key (the first line
/// carrying it wins, see file_lookup.h), converted by its format, checked
/// by its rule and stored with setItem. An absent key leaves the device's
/// value. A value that fails its format or rule is not stored and becomes a
/// FileProblem (line, key, group) in the reader's FileProblemList; the list
/// decides what reaches the returned ValidationFlags (ProblemPolicy), so a
/// family keeps exactly the flags it has always returned while the list
/// gathers every problem of the file.
///
/// Using it for a family (see gen_d_schema.cc for a whole one):
///
///     enum Section { kNetwork, kPorts };
///     const SchemaRow kRows[] = {
///         {.section = kNetwork, .item = VANTRELL_SCHEMA_ITEM(D_CONF_ETH_IPADDR),
///          .format = format::Address(EmptyAddress::kNever), .group = validation::kNetwork},
///         {.section = kPorts, .item = Numbered("D_CONF_ETH_PCFG_SPEED", item::PcfgSpeed, "", 8),
///          .format = format::kDecimal, .rule = InRange(0, 4), .group = validation::kPort,
///          .legend = "# PortSpeed : {low} - {high}\n",
///          .line = {.comment = ItemCommentAt::kNone, .heading = "# [Port {n}]\n"}},
///     };
///     // writer: banners in code, rows from the table
///     SchemaWriter writer(kRows, {variantBit, record.modelId}, file, record, block, accessors);
///     file.Write("# banner\n");
///     writer.WriteSection(kNetwork);
///     // reader: a problem list with the family's policy, the same rows
///     FileProblemList problems(ProblemPolicy::kFirstGroup);
///     SchemaReader reader(kRows, context, lookup, edited, block, accessors, problems);
///     reader.ReadSection(kNetwork);
///     if (auto value = reader.Lookup("D_CONF_X", ReadForm::kDecimal); value && Bad(*value))
///       reader.Report(catalogueFileKey("D_CONF_X"), validation::kVlan);  // a check of its own
///     return problems.TakeResult();  // .flags is what the plain reader returns
///
/// A family whose reader walks the lines itself (instead of looking keys
/// up) finds its row by key and hands the value to SchemaReader::Apply.
/// Values a family needs beyond these forms: a kHook row (writeValue /
/// readValue), or a ValueRule with `accepts`.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_block.h"
#include "config/config_item_ids.h"
#include "config/file_lookup.h"
#include "config/file_writer.h"
#include "config/item_accessors.h"
#include "config/validation.h"
#include "config/value_rules.h"
#include "core/device_record.h"

namespace vantrell {

class SchemaWriter;
class SchemaReader;
struct SchemaRow;

// ---------------------------------------------------------------------------
// Items and keys
// ---------------------------------------------------------------------------

/// The item of a row: one named item, or a numbered family of them.
struct SchemaItem {
  std::string_view name;  ///< constant name, or its prefix for a numbered row
  ConfigItemId id = 0;    ///< single row
  /// Numbered row: the ID of number n (for instance item::PcfgDisable).
  ConfigItemId (*numberedId)(int n) = nullptr;
  std::string_view suffix = {};  ///< numbered row: after the number
  int count = 1;                 ///< numbered row: how many numbers
  int first = 1;                 ///< numbered row: the first number
  /// Numbered row: the text of number n in the name; decimal without it.
  std::string (*numberText)(int n) = nullptr;
  /// `name` is the file key itself, not a catalogue constant name.
  bool literalKey = false;

  bool IsNumbered() const { return numberedId != nullptr; }
  int last() const { return first + count - 1; }
  /// The constant name (or literal key) of number n; n is ignored for a
  /// single row.
  std::string NameOf(int n) const;
  /// The file key of number n.
  std::string KeyOf(int n) const;
  /// The item ID of number n.
  ConfigItemId IdOf(int n) const { return numberedId ? numberedId(n) : id; }
};

/// A single item named once: VANTRELL_SCHEMA_ITEM(D_CONF_ETH_IPADDR) is
/// {"D_CONF_ETH_IPADDR", item::D_CONF_ETH_IPADDR}.
#define VANTRELL_SCHEMA_ITEM(constName) \
  ::vantrell::SchemaItem { #constName, ::vantrell::item::constName }

/// A numbered family: prefix, ID function, suffix, count (numbers 1..count).
constexpr SchemaItem Numbered(std::string_view prefix, ConfigItemId (*idOf)(int),
                              std::string_view suffix, int count) {
  return SchemaItem{prefix, 0, idOf, suffix, count};
}

// ---------------------------------------------------------------------------
// Value formats
// ---------------------------------------------------------------------------

/// How a value is written.
enum class WriteForm : std::uint8_t {
  kDecimal,     ///< "%d"
  kHex,         ///< "%x"
  kPercent,     ///< "%d%%"
  kSeconds,     ///< "%d sec"
  kSecondsDot,  ///< "%dsec."
  kAddress,     ///< dotted decimal, empty by `emptyAddress`
  kText,        ///< the item's text on one line
  kBitFlag,     ///< "1" when any bit of `mask` is set, else "0"
  kName,        ///< the rule's name of the value; empty (and noted) without one
  kHook,        ///< `writeValue` gives the text
};

/// How a value is read.
enum class ReadForm : std::uint8_t {
  kDecimal,    ///< atoi of the value token
  kHex,        ///< a "%x" scan of the token
  kInetAddr,   ///< inet_addr of the token; all ones (or refused) is not taken
  kNetmask,    ///< as kInetAddr, but the literal "255.255.255.255" is taken
  kDotted,     ///< strict dotted address (ParseDottedAddress) of the token
  kText,       ///< the text value, 330-character pieces
  kTextShort,  ///< the text value, 200-character pieces
  kBitFlag,    ///< atoi of the token, 0 or 1: stores `mask` or 0
  kName,       ///< the token, one of the rule's names: stores its index
  kHook,       ///< `readValue` reads the row
  kNone,       ///< never read (a line the reader leaves alone)
};

/// When an address is written as an empty value instead of its dotted form.
enum class EmptyAddress : std::uint8_t { kNever, kWhenZero, kWhenZeroOrAllOnes };

struct ValueFormat {
  WriteForm write;
  ReadForm read;
  EmptyAddress emptyAddress = EmptyAddress::kNever;
  std::uint32_t mask = 0;  ///< kBitFlag
};

namespace format {
inline constexpr ValueFormat kDecimal{WriteForm::kDecimal, ReadForm::kDecimal};
inline constexpr ValueFormat kHex{WriteForm::kHex, ReadForm::kHex};
/// A switch written in hex and read with atoi (0 and 1 read the same).
inline constexpr ValueFormat kHexFlag{WriteForm::kHex, ReadForm::kDecimal};
inline constexpr ValueFormat kPercent{WriteForm::kPercent, ReadForm::kDecimal};
inline constexpr ValueFormat kSeconds{WriteForm::kSeconds, ReadForm::kDecimal};
inline constexpr ValueFormat kSecondsDot{WriteForm::kSecondsDot, ReadForm::kDecimal};
inline constexpr ValueFormat kText{WriteForm::kText, ReadForm::kText};
inline constexpr ValueFormat kTextShort{WriteForm::kText, ReadForm::kTextShort};
inline constexpr ValueFormat kName{WriteForm::kName, ReadForm::kName};
inline constexpr ValueFormat kHook{WriteForm::kHook, ReadForm::kHook};
/// A dotted address written empty by `empty`, read with inet_addr.
constexpr ValueFormat Address(EmptyAddress empty, ReadForm read = ReadForm::kInetAddr) {
  return {WriteForm::kAddress, read, empty};
}
constexpr ValueFormat BitFlag(std::uint32_t mask) {
  return {WriteForm::kBitFlag, ReadForm::kBitFlag, EmptyAddress::kNever, mask};
}
/// Written by `write`, never read by the walk (a line only the writer
/// knows, or one the family reads in its own code).
constexpr ValueFormat WrittenOnly(WriteForm write) { return {write, ReadForm::kNone}; }
}  // namespace format

// ---------------------------------------------------------------------------
// Rules
// ---------------------------------------------------------------------------

/// What the reader accepts. Numbers are checked against `range` (hex
/// values as unsigned numbers), texts against `maxChars`, names against
/// `names`; `accepts`, when set, is asked last.
struct ValueRule {
  Range range = kUnrestricted;
  std::size_t maxChars = 0;  ///< 0: any length
  std::span<const std::string_view> names = {};
  bool (*accepts)(const ItemValue& value) = nullptr;
};

constexpr ValueRule InRange(std::int64_t low, std::int64_t high) { return {Range{low, high}}; }
constexpr ValueRule MaxChars(std::size_t chars) { return {kUnrestricted, chars}; }
constexpr ValueRule OneOf(std::span<const std::string_view> names) {
  return {kUnrestricted, 0, names};
}
constexpr ValueRule Satisfies(bool (*accepts)(const ItemValue&)) {
  return {kUnrestricted, 0, {}, accepts};
}
inline constexpr ValueRule kAnyValue{};
inline constexpr ValueRule kFlag{kFlagRange};

// ---------------------------------------------------------------------------
// Value lines
// ---------------------------------------------------------------------------

/// The item comment (writeItemComment) above a row's lines.
enum class ItemCommentAt : std::uint8_t {
  kNone,
  kEachLine,     ///< above every value line
  kBeforeFirst,  ///< once, that of the first number, above the run
};

/// How a value line ends.
enum class Ending : std::uint8_t {
  kLine,            ///< the line end alone
  kLineAndBlank,    ///< the line end and an empty line
  kBlankAfterLast,  ///< kLine, but kLineAndBlank after the last number
};

struct LineLayout {
  int tabs = 1;  ///< TABs between key and value
  ItemCommentAt comment = ItemCommentAt::kEachLine;
  Ending ending = Ending::kLineAndBlank;
  /// Numbered row written in the same pass over the numbers as the row
  /// before it.
  bool withPrevious = false;
  /// First row of a run: written before each number's lines ("{n}" as in
  /// legends), for instance "# [Port {n}]\n".
  std::string_view heading = {};
};

// ---------------------------------------------------------------------------
// Rows
// ---------------------------------------------------------------------------

/// The variant of a file being written or read (GenD1..GenD4 for the D8
/// family), and the facts that per-number conditions depend on.
struct SchemaContext {
  std::uint32_t variant = 1;  ///< one bit; rows carry a mask of them
  std::uint16_t modelId = 0;
};

/// Every variant.
inline constexpr std::uint32_t kAllVariants = 0xFFFFFFFFu;

/// A per-number condition that never holds: a row only the reader knows
/// (`.writes = Never`) or only the writer knows (`.reads = Never`).
inline bool Never(const SchemaContext&, int) { return false; }

struct SchemaRow {
  int section = 0;
  SchemaItem item;
  ValueFormat format;
  ValueRule rule = kAnyValue;
  ValidationFlags group = 0;
  std::string_view legend = {};
  LineLayout line = {};
  std::uint32_t variants = kAllVariants;
  /// Per-number conditions; null means always.
  bool (*writes)(const SchemaContext& context, int n) = nullptr;
  bool (*reads)(const SchemaContext& context, int n) = nullptr;
  /// WriteForm::kHook: the value text of number n.
  std::string (*writeValue)(const SchemaWriter& writer, const SchemaRow& row, int n) = nullptr;
  /// ReadForm::kHook: reads number n of the row (lookup, checks, store).
  void (*readValue)(SchemaReader& reader, const SchemaRow& row, int n) = nullptr;

  bool In(const SchemaContext& context) const { return (variants & context.variant) != 0; }
};

/// A legend with its placeholders filled for number n of `row`.
std::string FillLegend(std::string_view legend, const SchemaRow& row, int n);

// ---------------------------------------------------------------------------
// Problems
// ---------------------------------------------------------------------------

/// What a reader's problems do to the flags it returns.
enum class ProblemPolicy : std::uint8_t {
  /// Listed only: the file is accepted (the D8 readers).
  kListOnly,
  /// The flags carry the group of the first problem only; from then on
  /// values are still checked and listed but no longer stored (a reader
  /// that stopped at its first problem).
  kFirstGroup,
  /// The flags carry the groups of every problem; values keep being stored.
  kEveryGroup,
};

/// The problems of one read, in the order met, and the flags they give.
/// validation::kBlockRefused always reaches the flags.
class FileProblemList {
 public:
  explicit FileProblemList(ProblemPolicy policy) : policy_(policy) {}

  /// One problem: the 1-based line of the offending value (0 for a
  /// missing line or a check not tied to one line), its file key and
  /// its group.
  void Add(int line, std::string key, ValidationFlags group);

  /// False once a kFirstGroup list has a problem.
  bool StoresValues() const;
  ValidationFlags flags() const { return flags_; }
  const std::vector<FileProblem>& problems() const { return problems_; }
  /// The flags and the problems, moving the problems out.
  FileReadResult TakeResult();

 private:
  ProblemPolicy policy_;
  ValidationFlags flags_ = 0;
  bool stopped_ = false;
  std::vector<FileProblem> problems_;
};

// ---------------------------------------------------------------------------
// Walks
// ---------------------------------------------------------------------------

/// Writes the rows of a schema into a file, section by section. The caller
/// writes banners and irregular sections between the WriteSection calls.
class SchemaWriter {
 public:
  SchemaWriter(std::span<const SchemaRow> rows, SchemaContext context, ConfigTextWriter& file,
               const DeviceRecord& record, const ConfigBlock& block, const ItemAccessors& accessors)
      : rows_(rows),
        context_(context),
        file_(file),
        record_(record),
        block_(block),
        accessors_(accessors) {}

  /// The legends of the section's rows, then their value lines.
  void WriteSection(int section);

  /// One value line of number n of `row` (without item comment).
  void WriteLine(const SchemaRow& row, int n, LineEnd end);
  /// The value text of number n of `row`; empty when the accessors cannot
  /// read the item.
  std::string ValueText(const SchemaRow& row, int n) const;

  std::optional<std::uint32_t> Number(ConfigItemId id) const {
    return accessors_.getNumber(block_, id);
  }
  const SchemaContext& context() const { return context_; }
  const DeviceRecord& record() const { return record_; }
  ConfigTextWriter& file() { return file_; }

 private:
  void WriteRun(std::span<const SchemaRow* const> run);

  std::span<const SchemaRow> rows_;
  SchemaContext context_;
  ConfigTextWriter& file_;
  const DeviceRecord& record_;
  const ConfigBlock& block_;
  const ItemAccessors& accessors_;
};

/// Reads the rows of a schema from a file into a block and lists the
/// problems. A family's own code uses Lookup, Report and Store for
/// what the rows do not say.
class SchemaReader {
 public:
  SchemaReader(std::span<const SchemaRow> rows, SchemaContext context, ConfigFileLookup& file,
               DeviceRecord& edited, ConfigBlock& block, ItemAccessors& accessors,
               FileProblemList& problems)
      : rows_(rows),
        context_(context),
        file_(file),
        edited_(edited),
        block_(block),
        accessors_(accessors),
        problems_(problems) {}

  /// Every row of the section, in table order.
  void ReadSection(int section);
  /// Number n of `row`.
  void ReadRow(const SchemaRow& row, int n);
  /// Number n of `row` from a value the family found itself (a reader that
  /// walks the lines instead of looking keys up): converted by the row's
  /// read form, checked, stored; a problem is listed at `line` under `key`.
  /// False when the value was not taken.
  bool Apply(const SchemaRow& row, int n, std::string_view key, const std::string& value, int line);

  /// The value of `constName` (or of a literal key when `literalKey`) as
  /// `form` reads it (kText, kTextShort or, for any other form, the token);
  /// nothing when no line carries the key. Remembers where the value
  /// stands, for Report.
  std::optional<std::string> Lookup(std::string_view name, ReadForm form, bool literalKey = false);
  /// The line of the value that Lookup found last; 0 when it found none.
  int LastLine() const { return lastLine_; }
  /// The file key of the value Lookup found last.
  const std::string& LastKey() const { return lastKey_; }
  /// A problem with the value Lookup found last, under `key`.
  void Report(std::string_view key, ValidationFlags group) {
    problems_.Add(lastLine_, std::string(key), group);
  }
  /// A problem with the value Lookup found last, under its own key.
  void Report(ValidationFlags group) { problems_.Add(lastLine_, lastKey_, group); }

  /// setItem; a refused write is a kBlockRefused problem. Nothing is
  /// stored once the problem list stops storing.
  void Store(ConfigItemId id, std::uint32_t value);
  void StoreText(ConfigItemId id, std::string_view text);

  std::optional<std::uint32_t> Current(ConfigItemId id) const {
    return accessors_.getNumber(block_, id);
  }
  const SchemaContext& context() const { return context_; }
  DeviceRecord& edited() { return edited_; }
  ConfigFileLookup& file() { return file_; }
  FileProblemList& problems() { return problems_; }

 private:
  /// The value converted and checked, or nothing (the problem is listed).
  std::optional<ItemValue> Checked(const SchemaRow& row, const std::string& key,
                                   const std::string& value);
  void StoreValue(ConfigItemId id, const ItemValue& value);

  std::span<const SchemaRow> rows_;
  SchemaContext context_;
  ConfigFileLookup& file_;
  DeviceRecord& edited_;
  ConfigBlock& block_;
  ItemAccessors& accessors_;
  FileProblemList& problems_;
  int lastLine_ = 0;
  std::string lastKey_;
};

}  // namespace vantrell
