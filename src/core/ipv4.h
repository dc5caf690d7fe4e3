#pragma once
/// IPv4 addresses as the system keeps them: 32-bit values in network byte
/// order, exactly as the sockets deliver them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrell {

/// An IPv4 address in network byte order.
using Ipv4 = std::uint32_t;

/// The all-ones address 255.255.255.255 (the same in either byte order).
inline constexpr Ipv4 kAllOnesIpv4 = 0xFFFFFFFFu;

/// Builds an address from its four octets, first octet first.
Ipv4 MakeIpv4(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d);

/// The octet at position i (0 = first, as written in dotted form).
std::uint8_t Ipv4Octet(Ipv4 address, int i);

/// Dotted decimal form, "192.168.1.10".
std::string FormatIpv4(Ipv4 address);

/// Parses strict dotted decimal (four octets 0..255, nothing else).
std::optional<Ipv4> ParseIpv4(std::string_view text);

/// False for multicast addresses (first octet 224..239) and for addresses
/// whose last octet is 255; true otherwise. Applied to every address before
/// it is sent to a device.
bool IsUsableHostAddress(Ipv4 address);

}  // namespace vantrell
