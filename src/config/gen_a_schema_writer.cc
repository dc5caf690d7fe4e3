#include "config/gen_a_schema_writer.h"

#include <cstdio>

#include "config/export_notes.h"
#include "config/item_comment.h"
#include "core/ipv4.h"

namespace vantrell::a8schema {
namespace {

std::string Printf(const char* format, std::uint32_t value) {
  char buffer[32];
  const int length = std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(value));
  return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string FormatNumber(Format format, std::uint32_t value) {
  switch (format) {
    case Format::kDecimal:
      return FormatDecimal(value);
    case Format::kUnsigned:
      return std::to_string(value);
    case Format::kHex:
      return FormatHex(value);
    case Format::kHex2:
      return Printf("%02x", value);
    case Format::kHex4:
      return Printf("%04x", value);
    case Format::kShift4:
      return FormatDecimal(value >> 4);
    case Format::kShift12:
      return FormatDecimal(value >> 12);
    case Format::kAddress:
      return FormatAddress(value);
    case Format::kAddressOrEmpty:
      return value == 0 ? std::string() : FormatAddress(value);
    case Format::kAddressOrEmptyAll:
      return value == 0 || value == kAllOnesIpv4 ? std::string() : FormatAddress(value);
    case Format::kPercent:
      return FormatPercent(value);
    case Format::kSeconds:
      return FormatSeconds(value);
    case Format::kSecondsDot:
      return FormatSecondsDot(value);
    case Format::kSecondsParen:
      return FormatDecimal(value) + "(sec.)";
    case Format::kNone:
    case Format::kText:
    case Format::kNamed:
      break;
  }
  return {};
}

}  // namespace

std::string FillRuleValues(std::string_view legend, const Rule& rule) {
  std::string text;
  while (!legend.empty()) {
    const std::size_t open = legend.find('{');
    const std::size_t close = legend.find('}', open);
    if (open == std::string_view::npos || close == std::string_view::npos) break;
    const std::string_view name = legend.substr(open + 1, close - open - 1);
    text += legend.substr(0, open);
    if (name == "low") {
      text += std::to_string(rule.range.low);
    } else if (name == "high" || name == "max") {
      text += std::to_string(rule.range.high);
    } else {
      text += legend.substr(open, close - open + 1);
    }
    legend.remove_prefix(close + 1);
  }
  text += legend;
  return text;
}

std::string SchemaFileWriter::ValueText(const Row& row, int n) const {
  const Format format = LayoutOf(row).format;
  const ConfigItemId id = ItemOf(row, n);
  if (format == Format::kText) {
    const auto text = accessors_.getText(block_, id);
    return text ? FormatText(*text) : std::string();
  }
  if (format == Format::kNamed) return NamedValueOrNote(accessors_, block_, id, KeyOf(row, n));
  const auto value = Number(id);
  return value ? FormatNumber(format, *value) : std::string();
}

std::string SchemaFileWriter::Header(const Row& row, int n) const {
  return Numbered(LayoutOf(row).header, n);
}

int SchemaFileWriter::Tabs(const Row& row, int, bool emptyValue) const {
  const Layout& layout = LayoutOf(row);
  return emptyValue && layout.emptyTabs != -2 ? layout.emptyTabs : layout.tabs;
}

LineEnd SchemaFileWriter::End(const Row& row, int) const { return LayoutOf(row).end; }

void SchemaFileWriter::WriteLegend(const Row& row) {
  const Layout& layout = LayoutOf(row);
  if (!layout.comment.empty()) writeItemComment(file_, layout.comment);
  for (std::string_view piece : layout.legend) {
    if (!piece.empty()) file_.Write(FillRuleValues(piece, RuleOf(row, gen_)));
  }
}

void SchemaFileWriter::WriteValueLine(const Row& row, int n) {
  const std::string value = Value(row, n);
  const int tabs = Tabs(row, n, value.empty());
  const std::string key = KeyOf(row, n);
  if (tabs != kBlankSeparator) {
    file_.ValueLine(key, tabs, value, End(row, n));
    return;
  }
  file_.Write({key, " ", value, "\n"});
  if (End(row, n) == LineEnd::kLineAndBlank) file_.Write("\n");
}

void SchemaFileWriter::WriteRows(Section section) {
  ForEachRowGroup(section, [this](std::span<const Row> block) {
    if (LayoutOf(block.front()).format == Format::kNone) return;
    for (const Row& row : block) WriteLegend(row);
    for (int n = block.front().first; n <= LastNumber(block.front(), gen_); ++n) {
      file_.Write(Header(block.front(), n));
      for (const Row& row : block) WriteValueLine(row, n);
    }
  });
}

}  // namespace vantrell::a8schema
