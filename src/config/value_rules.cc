#include "config/value_rules.h"

#include <algorithm>

#include "config/c_number_parse.h"
#include "config/file_lookup.h"
#include "core/text_forms.h"

namespace vantrell {

std::string NumberedName(std::string_view prefix, int number, std::string_view suffix) {
  std::string name(prefix);
  name += std::to_string(number);
  name += suffix;
  return name;
}

std::optional<std::string> FoundValue(std::string value) {
  if (IsNotFound(value)) return std::nullopt;
  return value;
}

std::optional<Ipv4> ParseDottedAddress(std::string_view text) { return ParseIpv4(text); }

bool IsMulticastAddress(Ipv4 address) {
  const std::uint8_t first = Ipv4Octet(address, 0);
  return first >= 224 && first <= 239;
}

std::optional<MacAddress> ParseDashedMac(std::string_view text) {
  if (text.size() != 17 || text[2] != '-') return std::nullopt;
  return ParseMac(text);  // the separator of every later pair must match the first
}

std::vector<std::string_view> SplitList(std::string_view list, char separator) {
  std::vector<std::string_view> parts;
  while (!list.empty()) {
    const std::size_t at = list.find(separator);
    const std::string_view part = list.substr(0, at);
    if (!part.empty()) parts.push_back(part);
    if (at == std::string_view::npos) break;
    list = list.substr(at + 1);
  }
  return parts;
}

std::vector<std::string_view> SplitFields(std::string_view text, std::size_t most) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (fields.size() < most) {
    while (i < text.size() && IsCSpace(text[i])) ++i;
    if (i == text.size()) break;
    const std::size_t start = i;
    while (i < text.size() && !IsCSpace(text[i])) ++i;
    fields.push_back(text.substr(start, i - start));
  }
  return fields;
}

int LineNumberAt(std::string_view text, std::size_t offset) {
  const std::size_t end = std::min(offset, text.size() > 0 ? text.size() - 1 : 0);
  const auto newlines =
      std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n');
  return static_cast<int>(newlines) + 1;
}

}  // namespace vantrell
