#include "config/gen_a_schema_reader.h"

#include "config/c_number_parse.h"
#include "config/value_rules.h"

namespace vantrell::a8schema {

std::optional<std::uint32_t> RuleNumber(const Rule& rule, std::string_view token) {
  switch (rule.check) {
    case Check::kRange:
    case Check::kRangeOrEmpty: {
      const std::int32_t number = CAtoi(token);
      if (!rule.range.Contains(number)) return std::nullopt;
      return static_cast<std::uint32_t>(number) * rule.factor;
    }
    case Check::kUnchecked:
      return static_cast<std::uint32_t>(CAtoi(token));
    case Check::kHex: {
      const auto number = CScanHex(token);
      if (!number || !rule.range.Contains(*number)) return std::nullopt;
      return number;
    }
    default:
      return std::nullopt;
  }
}

void SchemaFileReader::ReadRows(Section section) {
  ForEachRowGroup(section, [this](std::span<const Row> block) {
    if (RuleOf(block.front()).check == Check::kNone) return;
    for (int n = block.front().first; n <= LastNumber(block.front(), gen_); ++n) {
      for (const Row& row : block) ReadRow(row, n);
    }
  });
}

void SchemaFileReader::ReadRowsPerNumber(std::initializer_list<Section> sections) {
  std::vector<const Row*> rows;
  for (Section section : sections) {
    for (const Row& row : RowsOf(section)) rows.push_back(&row);
  }
  if (rows.empty()) return;
  for (int n = rows.front()->first; n <= LastNumber(*rows.front(), gen_); ++n) {
    for (const Row* row : rows) ReadRow(*row, n);
  }
}

void SchemaFileReader::ReadRowsInOrder(Section section,
                                       std::initializer_list<std::string_view> keys) {
  std::vector<const Row*> rows;
  for (std::string_view key : keys) {
    if (const Row* row = FindRow(section, key)) rows.push_back(row);
  }
  if (rows.empty()) return;
  for (int n = rows.front()->first; n <= LastNumber(*rows.front(), gen_); ++n) {
    for (const Row* row : rows) ReadRow(*row, n);
  }
}

void SchemaFileReader::ReadRow(const Row& row, int n) {
  if (const auto value = Find(row, n)) Apply(row, n, *value);
}

std::optional<std::string> SchemaFileReader::Find(const Row& row, int n) {
  const std::string key = KeyOf(row, n);
  switch (RuleOf(row).check) {
    case Check::kText:
    case Check::kSpecial:
      return FindText(key);
    case Check::kMailText:
      return FindText(key, gen_ == Gen::kA1 ? kShortLookupLineBuffer : kLookupLineBuffer);
    default:
      return FindToken(key);
  }
}

std::optional<std::string> SchemaFileReader::Found(std::string value) {
  auto found = FoundValue(std::move(value));
  if (found) lastValueEnd_ = file_.Position();
  return found;
}

std::optional<std::string> SchemaFileReader::FindToken(std::string_view key) {
  return Found(
      file_.FindValueByKey(key, ConfigFileLookup::ValueKind::kToken, kLookupLineBuffer, true));
}

std::optional<std::string> SchemaFileReader::FindText(std::string_view key,
                                                      std::size_t bufferSize) {
  return Found(file_.FindValueByKey(key, ConfigFileLookup::ValueKind::kText, bufferSize, true));
}

std::optional<std::string> SchemaFileReader::FindNextText(std::string_view key) {
  return Found(
      file_.FindValueByKey(key, ConfigFileLookup::ValueKind::kText, kShortLookupLineBuffer, false));
}

int SchemaFileReader::LineOfLastValue() const {
  // The lookup stops right after the line piece it matched.
  return file_.LineNumberAt(lastValueEnd_ == 0 ? 0 : lastValueEnd_ - 1);
}

void SchemaFileReader::NoteProblem(std::string key, ValidationFlags group) {
  NoteProblemAt(LineOfLastValue(), std::move(key), group);
}

}  // namespace vantrell::a8schema
