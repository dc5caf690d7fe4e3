#include "config/file_writer.h"

#include <cstdio>

#include "core/model_table.h"

namespace vantrell {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string Printf(const char* format, std::uint32_t value) {
  char buffer[24];
  const int length = std::snprintf(buffer, sizeof buffer, format, value);
  return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string Signed(std::uint32_t value) { return std::to_string(static_cast<std::int32_t>(value)); }

}  // namespace

void ConfigTextWriter::Write(std::string_view text) {
  for (char c : text) {
    if (c == '\n') {
      out_.append(kLineEnd);
    } else {
      out_.push_back(c);
    }
  }
}

void ConfigTextWriter::Write(std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces) Write(piece);
}

void ConfigTextWriter::ValueLine(std::string_view key, int tabs, std::string_view value,
                                 LineEnd end) {
  Write(key);
  out_.append(static_cast<std::size_t>(tabs > 0 ? tabs : 0), '\t');
  Write(value);
  Write(end == LineEnd::kLineAndBlank ? "\n\n" : "\n");
}

void WriteFileHeader(ConfigTextWriter& file, std::string_view modelName) {
  file.Write({kConfigFileHeaderLine, "\n", "# Model Name\n"});
  file.ValueLine(kModelNameKey, 1, FormatText(modelName), LineEnd::kLine);
}

void WriteEndLine(ConfigTextWriter& file) { file.Write({"\n", kConfigFileEndLine, "\n"}); }

std::string_view ExportModelName(std::uint16_t modelId) {
  return LookupModelName(modelId).value_or(std::string_view());
}

std::string FormatDecimal(std::uint32_t value) { return Signed(value); }
std::string FormatHex(std::uint32_t value) { return Printf("%x", value); }
std::string FormatPercent(std::uint32_t value) { return Signed(value) + "%"; }
std::string FormatSeconds(std::uint32_t value) { return Signed(value) + " sec"; }
std::string FormatSecondsDot(std::uint32_t value) { return Signed(value) + "sec."; }
std::string FormatAddress(Ipv4 address) { return FormatIpv4(address); }

std::string FormatText(std::string_view text) {
  std::string value(text);
  for (char& c : value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return value;
}

}  // namespace vantrell
