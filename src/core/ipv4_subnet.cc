#include "core/ipv4_subnet.h"

#include <arpa/inet.h>

#include <charconv>

namespace vantrell {

Ipv4 PrefixNetmask(int prefix) {
  const std::uint32_t host = prefix <= 0 ? 0 : 0xFFFFFFFFu << (32 - prefix);
  return htonl(host);
}

bool Ipv4Subnet::Contains(Ipv4 address) const {
  return (address & PrefixNetmask(prefix)) == network;
}

std::optional<Ipv4Subnet> ParseIpv4Subnet(std::string_view text) {
  const std::size_t slash = text.find('/');
  const auto address = ParseIpv4(text.substr(0, slash));
  if (!address) return std::nullopt;
  int prefix = 32;
  if (slash != std::string_view::npos) {
    const std::string_view digits = text.substr(slash + 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), prefix);
    if (digits.empty() || digits.size() > 2 || error != std::errc() ||
        end != digits.data() + digits.size() || prefix < 0 || prefix > 32) {
      return std::nullopt;
    }
  }
  return Ipv4Subnet{*address & PrefixNetmask(prefix), prefix};
}

}  // namespace vantrell
