#include "core/ipv4.h"

#include <cstring>

namespace vantrell {

Ipv4 MakeIpv4(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  const std::uint8_t octets[4] = {a, b, c, d};
  Ipv4 address;
  std::memcpy(&address, octets, sizeof address);
  return address;
}

std::uint8_t Ipv4Octet(Ipv4 address, int i) {
  std::uint8_t octets[4];
  std::memcpy(octets, &address, sizeof octets);
  return octets[i & 3];
}

std::string FormatIpv4(Ipv4 address) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    if (i) text += '.';
    text += std::to_string(Ipv4Octet(address, i));
  }
  return text;
}

std::optional<Ipv4> ParseIpv4(std::string_view text) {
  std::uint8_t octets[4];
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i) {
      if (pos >= text.size() || text[pos] != '.') return std::nullopt;
      ++pos;
    }
    unsigned value = 0;
    std::size_t digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4) {
      value = value * 10 + static_cast<unsigned>(text[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return std::nullopt;
    octets[i] = static_cast<std::uint8_t>(value);
  }
  if (pos != text.size()) return std::nullopt;
  return MakeIpv4(octets[0], octets[1], octets[2], octets[3]);
}

bool IsUsableHostAddress(Ipv4 address) {
  const std::uint8_t first = Ipv4Octet(address, 0);
  const std::uint8_t last = Ipv4Octet(address, 3);
  return !(first >= 224 && first <= 239) && last != 255;
}

}  // namespace vantrell
