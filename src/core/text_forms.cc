#include "core/text_forms.h"

#include <algorithm>
#include <cstdio>

namespace vantrell {

std::string FormatMac(const MacAddress& mac) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2],
                mac[3], mac[4], mac[5]);
  return text;
}

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::optional<MacAddress> ParseMac(std::string_view text) {
  if (text.size() != 17) return std::nullopt;
  const char separator = text[2];
  if (separator != ':' && separator != '-') return std::nullopt;
  MacAddress mac{};
  for (int i = 0; i < 6; ++i) {
    const std::size_t at = static_cast<std::size_t>(i) * 3;
    if (i > 0 && text[at - 1] != separator) return std::nullopt;
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    mac[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return mac;
}

std::string FormatSerial(std::uint16_t serialNo) {
  char text[8];
  std::snprintf(text, sizeof text, "%05d", serialNo);
  return text;
}

std::string FormatFirmwareVersion(std::uint32_t version) {
  const unsigned major = version >> 24;
  const unsigned minor = (version >> 16) & 0xFF;
  const unsigned release = (version >> 8) & 0xFF;
  char text[16];
  if (release == 0 || release == 0x30) {
    std::snprintf(text, sizeof text, "%X.%X", major, minor);
  } else {
    std::snprintf(text, sizeof text, "%X.%X.%X", major, minor, release);
  }
  return text;
}

std::optional<std::uint32_t> ParseFirmwareVersion(std::string_view text) {
  std::uint32_t version = 0;
  int fields = 0;
  while (fields < 3) {
    const std::size_t end = std::min(text.find('.'), text.size());
    if (end == 0 || end > 2) return std::nullopt;
    unsigned field = 0;
    for (const char c : text.substr(0, end)) {
      const int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      field = field * 16 + static_cast<unsigned>(digit);
    }
    version |= field << (24 - 8 * fields);
    ++fields;
    if (end == text.size()) break;
    text.remove_prefix(end + 1);
    if (fields == 3) return std::nullopt;  // a fourth field
  }
  if (fields < 2) return std::nullopt;
  return version;
}

std::string StatusText(const DeviceRecord& record) {
  std::string text;
  if (record.statusFlags & kStatusProtected) {
    text = FieldText(record.password).empty() ? "Locked" : "Unlocked";
  }
  if (record.statusFlags & kStatusInaccessible) text += " Inaccessible";
  return text;
}

}  // namespace vantrell
