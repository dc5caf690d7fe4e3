#pragma once
/// An IPv4 subnet written as ADDRESS/PREFIX ("192.168.10.0/24"), as the
/// fleet selection takes it.

#include <optional>
#include <string_view>

#include "core/ipv4.h"

namespace vantrell {

struct Ipv4Subnet {
  Ipv4 network = 0;  ///< network byte order, host bits cleared
  int prefix = 0;    ///< 0 to 32

  /// True when `address` lies in the subnet.
  bool Contains(Ipv4 address) const;
};

/// The netmask of a prefix length, in network byte order.
Ipv4 PrefixNetmask(int prefix);

/// Parses ADDRESS/PREFIX (prefix 0 to 32; an address alone is /32). Host
/// bits in ADDRESS are cleared. Nothing for anything else.
std::optional<Ipv4Subnet> ParseIpv4Subnet(std::string_view text);

}  // namespace vantrell
