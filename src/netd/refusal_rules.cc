#include "netd/refusal_rules.h"

#include <linux/neighbour.h>

#include <algorithm>

namespace vantrell {
namespace {

/// The first octet of an address in network byte order.
std::uint8_t FirstOctet(Ipv4 address) { return reinterpret_cast<const std::uint8_t*>(&address)[0]; }

constexpr std::uint8_t kThisNetwork = 0;
constexpr std::uint8_t kLoopback = 127;
constexpr std::uint8_t kFirstMulticast = 224;  // 224/4, then 240/4 up to 255
constexpr std::uint8_t kMulticastBit = 0x01;

/// Netmasks too narrow to have a broadcast address of their own (/31, /32).
bool HasBroadcast(Ipv4 netmask) {
  const Ipv4 host = ~netmask;
  return host != 0 && host != MakeIpv4(0, 0, 0, 1);
}

/// Neighbour states that carry a link address the kernel has confirmed or
/// was told.
constexpr std::uint16_t kKnownStates =
    NUD_REACHABLE | NUD_STALE | NUD_DELAY | NUD_PROBE | NUD_PERMANENT | NUD_NOARP;

bool KernelKnowsRouterAs(Ipv4 router, const MacAddress& mac, const TablesSnapshot& tables) {
  return std::any_of(
      tables.neighbours.begin(), tables.neighbours.end(), [&](const NeighbourEntry& entry) {
        return entry.address == router && entry.mac == mac && (entry.state & kKnownStates) != 0;
      });
}

bool IsRouter(Ipv4 device, const TablesSnapshot& tables) {
  return std::any_of(tables.routes.begin(), tables.routes.end(), [&](const RouteEntry& route) {
    return std::find(route.gateways.begin(), route.gateways.end(), device) != route.gateways.end();
  });
}

}  // namespace

bool IsUnfitMac(const MacAddress& mac) {
  const bool zero = std::all_of(mac.begin(), mac.end(), [](std::uint8_t b) { return b == 0; });
  return zero || (mac[0] & kMulticastBit) != 0;  // broadcast is multicast too
}

bool IsReservedAddress(Ipv4 address) {
  const std::uint8_t first = FirstOctet(address);
  return first == kThisNetwork || first == kLoopback || first >= kFirstMulticast;
}

Refusal JudgeBracketRequest(Ipv4 interfaceAddr, Ipv4 device, const MacAddress& mac,
                            const TablesSnapshot& tables) {
  if (IsUnfitMac(mac)) return Refusal::kBadMac;
  if (IsReservedAddress(device)) return Refusal::kReservedAddress;
  if (IsReservedAddress(interfaceAddr)) return Refusal::kBadInterface;
  for (const InterfaceAddress& row : tables.addresses) {
    if (row.address == device) return Refusal::kLocalAddress;
    if (HasBroadcast(row.netmask) && (row.address | ~row.netmask) == device) {
      return Refusal::kBroadcastAddress;
    }
  }
  if (IsRouter(device, tables) && !KernelKnowsRouterAs(device, mac, tables)) {
    return Refusal::kRouterAddress;
  }
  return Refusal::kNone;
}

}  // namespace vantrell
