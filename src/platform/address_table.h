#pragma once
/// The workstation's IPv4 address table: every local IPv4 address with its
/// netmask and interface index.

#include <optional>
#include <vector>

#include "core/ipv4.h"

namespace vantrell {

struct InterfaceAddress {
  Ipv4 address;  ///< network byte order
  Ipv4 netmask;  ///< network byte order
  int ifIndex;
};

/// Reads the table, sorted ascending by address (numeric value of the
/// dotted form); nothing when it cannot be read.
std::optional<std::vector<InterfaceAddress>> ReadAddressTable();

}  // namespace vantrell
