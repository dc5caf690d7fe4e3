#include "config/file_schema.h"

#include <algorithm>
#include <utility>

#include "config/c_number_parse.h"
#include "config/config_catalogue.h"
#include "config/export_notes.h"
#include "config/item_comment.h"

namespace vantrell {
namespace {

std::string NumberText(const SchemaItem& item, int n) {
  return item.numberText ? item.numberText(n) : std::to_string(n);
}

/// The text that a legend placeholder (without braces) stands for.
std::optional<std::string> Placeholder(std::string_view name, const SchemaRow& row, int n) {
  if (name == "n") return NumberText(row.item, n);
  if (name == "low") return std::to_string(row.rule.range.low);
  if (name == "high") return std::to_string(row.rule.range.high);
  if (name == "max") return std::to_string(row.rule.maxChars);
  if (name == "example_server") return std::string(kExampleMailServer);
  if (name == "example_address") return std::string(kExampleEmailAddress);
  return std::nullopt;
}

LineEnd EndOf(Ending ending, bool lastNumber) {
  switch (ending) {
    case Ending::kLine:
      return LineEnd::kLine;
    case Ending::kLineAndBlank:
      return LineEnd::kLineAndBlank;
    case Ending::kBlankAfterLast:
      return lastNumber ? LineEnd::kLineAndBlank : LineEnd::kLine;
  }
  return LineEnd::kLineAndBlank;
}

std::string AddressText(Ipv4 address, EmptyAddress rule) {
  if (rule != EmptyAddress::kNever && address == 0) return {};
  if (rule == EmptyAddress::kWhenZeroOrAllOnes && address == kAllOnesIpv4) return {};
  return FormatAddress(address);
}

/// The number's text for the numeric write forms.
std::string NumberValueText(const SchemaRow& row, std::uint32_t value) {
  switch (row.format.write) {
    case WriteForm::kDecimal:
      return FormatDecimal(value);
    case WriteForm::kHex:
      return FormatHex(value);
    case WriteForm::kPercent:
      return FormatPercent(value);
    case WriteForm::kSeconds:
      return FormatSeconds(value);
    case WriteForm::kSecondsDot:
      return FormatSecondsDot(value);
    case WriteForm::kAddress:
      return AddressText(value, row.format.emptyAddress);
    case WriteForm::kBitFlag:
      return FormatDecimal((value & row.format.mask) != 0 ? 1 : 0);
    default:
      return {};
  }
}

}  // namespace

// ---- items ----

std::string SchemaItem::NameOf(int n) const {
  if (!IsNumbered()) return std::string(name);
  std::string text(name);
  text += NumberText(*this, n);
  text += suffix;
  return text;
}

std::string SchemaItem::KeyOf(int n) const {
  const std::string constName = NameOf(n);
  return literalKey ? constName : std::string(catalogueFileKey(constName));
}

std::string FillLegend(std::string_view legend, const SchemaRow& row, int n) {
  std::string text;
  while (!legend.empty()) {
    const std::size_t open = legend.find('{');
    const std::size_t close = legend.find('}', open);
    if (open == std::string_view::npos || close == std::string_view::npos) break;
    text += legend.substr(0, open);
    const auto value = Placeholder(legend.substr(open + 1, close - open - 1), row, n);
    text += value ? *value : std::string(legend.substr(open, close - open + 1));
    legend.remove_prefix(close + 1);
  }
  text += legend;
  return text;
}

// ---- problems ----

void FileProblemList::Add(int line, std::string key, ValidationFlags group) {
  const bool firstGroupProblem = StoresValues();
  problems_.push_back(FileProblem{line, std::move(key), group});
  if (group == validation::kBlockRefused) {
    flags_ |= group;
    return;
  }
  switch (policy_) {
    case ProblemPolicy::kListOnly:
      break;
    case ProblemPolicy::kFirstGroup:
      if (firstGroupProblem) flags_ |= group;
      stopped_ = true;
      break;
    case ProblemPolicy::kEveryGroup:
      flags_ |= group;
      break;
  }
}

bool FileProblemList::StoresValues() const { return !stopped_; }

FileReadResult FileProblemList::TakeResult() {
  return FileReadResult{flags_, std::exchange(problems_, {})};
}

// ---- writing ----

void SchemaWriter::WriteSection(int section) {
  std::vector<const SchemaRow*> rows;
  for (const SchemaRow& row : rows_) {
    if (row.section == section && row.In(context_)) rows.push_back(&row);
  }
  for (const SchemaRow* row : rows) {
    if (row->legend.empty()) continue;
    const bool perNumber = row->legend.find("{n}") != std::string_view::npos;
    const int last = perNumber ? row->item.last() : row->item.first;
    for (int n = row->item.first; n <= last; ++n) file_.Write(FillLegend(row->legend, *row, n));
  }
  for (std::size_t i = 0; i < rows.size();) {
    std::size_t end = i + 1;
    while (end < rows.size() && rows[end]->line.withPrevious) ++end;
    WriteRun(std::span<const SchemaRow* const>(rows).subspan(i, end - i));
    i = end;
  }
}

void SchemaWriter::WriteRun(std::span<const SchemaRow* const> run) {
  const SchemaItem& lead = run.front()->item;
  for (const SchemaRow* row : run) {
    if (row->line.comment == ItemCommentAt::kBeforeFirst) {
      writeItemComment(file_, row->item.NameOf(row->item.first));
    }
  }
  for (int n = lead.first; n <= lead.last(); ++n) {
    if (!run.front()->line.heading.empty()) {
      file_.Write(FillLegend(run.front()->line.heading, *run.front(), n));
    }
    for (const SchemaRow* row : run) {
      if (row->writes && !row->writes(context_, n)) continue;
      if (row->line.comment == ItemCommentAt::kEachLine) {
        writeItemComment(file_, row->item.NameOf(n));
      }
      WriteLine(*row, n, EndOf(row->line.ending, n == row->item.last()));
    }
  }
}

void SchemaWriter::WriteLine(const SchemaRow& row, int n, LineEnd end) {
  file_.ValueLine(row.item.KeyOf(n), row.line.tabs, ValueText(row, n), end);
}

std::string SchemaWriter::ValueText(const SchemaRow& row, int n) const {
  const ConfigItemId id = row.item.IdOf(n);
  switch (row.format.write) {
    case WriteForm::kHook:
      return row.writeValue ? row.writeValue(*this, row, n) : std::string();
    case WriteForm::kText: {
      const auto text = accessors_.getText(block_, id);
      return text ? FormatText(*text) : std::string();
    }
    case WriteForm::kName: {
      const auto value = Number(id);
      if (!value) return {};
      if (*value < row.rule.names.size()) return std::string(row.rule.names[*value]);
      NoteUnnamedValue(row.item.KeyOf(n));
      return {};
    }
    default: {
      const auto value = Number(id);
      return value ? NumberValueText(row, *value) : std::string();
    }
  }
}

// ---- reading ----

void SchemaReader::ReadSection(int section) {
  for (const SchemaRow& row : rows_) {
    if (row.section != section || !row.In(context_)) continue;
    for (int n = row.item.first; n <= row.item.last(); ++n) {
      if (row.reads && !row.reads(context_, n)) continue;
      ReadRow(row, n);
    }
  }
}

void SchemaReader::ReadRow(const SchemaRow& row, int n) {
  if (row.format.read == ReadForm::kNone) return;
  if (row.format.read == ReadForm::kHook) {
    if (row.readValue) row.readValue(*this, row, n);
    return;
  }
  const auto value = Lookup(row.item.NameOf(n), row.format.read, row.item.literalKey);
  if (!value) return;
  if (const auto checked = Checked(row, lastKey_, *value)) StoreValue(row.item.IdOf(n), *checked);
}

bool SchemaReader::Apply(const SchemaRow& row, int n, std::string_view key,
                         const std::string& value, int line) {
  lastKey_ = std::string(key);
  lastLine_ = line;
  const auto checked = Checked(row, lastKey_, value);
  if (checked) StoreValue(row.item.IdOf(n), *checked);
  return checked.has_value();
}

std::optional<std::string> SchemaReader::Lookup(std::string_view name, ReadForm form,
                                                bool literalKey) {
  lastKey_ = literalKey ? std::string(name) : std::string(catalogueFileKey(name));
  const bool text = form == ReadForm::kText || form == ReadForm::kTextShort;
  const std::size_t buffer =
      form == ReadForm::kTextShort ? kShortLookupLineBuffer : kLookupLineBuffer;
  auto value = FoundValue(file_.FindValueByKey(
      lastKey_, text ? ConfigFileLookup::ValueKind::kText : ConfigFileLookup::ValueKind::kToken,
      buffer, true));
  lastLine_ = value ? file_.LineNumberAt(file_.Position() - 1) : 0;
  return value;
}

std::optional<ItemValue> SchemaReader::Checked(const SchemaRow& row, const std::string& key,
                                               const std::string& value) {
  const ValueRule& rule = row.rule;
  std::optional<ItemValue> result;
  switch (row.format.read) {
    case ReadForm::kDecimal: {
      const std::int32_t number = CAtoi(value);
      if (rule.range.Contains(number)) result = static_cast<std::uint32_t>(number);
      break;
    }
    case ReadForm::kHex: {
      const auto number = CScanHex(value);
      if (number && rule.range.Contains(*number)) result = *number;
      break;
    }
    case ReadForm::kInetAddr:
    case ReadForm::kNetmask: {
      const Ipv4 address = CInetAddr(value);
      const bool literalAllOnes =
          row.format.read == ReadForm::kNetmask && value == "255.255.255.255";
      if (address != kAllOnesIpv4 || literalAllOnes) result = address;
      break;
    }
    case ReadForm::kDotted:
      if (const auto address = ParseDottedAddress(value)) result = *address;
      break;
    case ReadForm::kText:
    case ReadForm::kTextShort:
      if (rule.maxChars == 0 || value.size() <= rule.maxChars) result = value;
      break;
    case ReadForm::kBitFlag: {
      const std::int32_t number = CAtoi(value);
      if (kFlagRange.Contains(number)) result = number != 0 ? row.format.mask : 0u;
      break;
    }
    case ReadForm::kName: {
      const auto at = std::ranges::find(rule.names, std::string_view(value));
      if (at != rule.names.end()) {
        result = static_cast<std::uint32_t>(at - rule.names.begin());
      }
      break;
    }
    case ReadForm::kHook:
    case ReadForm::kNone:
      break;
  }
  if (result && rule.accepts && !rule.accepts(*result)) result.reset();
  if (!result) problems_.Add(lastLine_, key, row.group);
  return result;
}

void SchemaReader::StoreValue(ConfigItemId id, const ItemValue& value) {
  if (!problems_.StoresValues()) return;
  if (accessors_.setItem(block_, id, value) != ItemStatus::kOk) {
    problems_.Add(lastLine_, lastKey_, validation::kBlockRefused);
  }
}

void SchemaReader::Store(ConfigItemId id, std::uint32_t value) { StoreValue(id, ItemValue(value)); }

void SchemaReader::StoreText(ConfigItemId id, std::string_view text) {
  StoreValue(id, ItemValue(std::string(text)));
}

}  // namespace vantrell
