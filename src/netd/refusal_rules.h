#pragma once
/// What a device has no business asking the workstation to change: the
/// rules by which the helper refuses a bracket before it touches a table.
/// A reply from the network names the address and MAC, so a spoofed reply
/// must not be able to redirect the gateway, the workstation itself or a
/// broadcast address.

#include <vector>

#include "core/ipv4.h"
#include "core/text_forms.h"
#include "platform/address_table.h"
#include "platform/net_tables.h"
#include "platform/netd_protocol.h"

namespace vantrell {

/// The tables a judgement reads.
struct TablesSnapshot {
  std::vector<InterfaceAddress> addresses;
  std::vector<RouteEntry> routes;
  std::vector<NeighbourEntry> neighbours;
};

/// True for the broadcast MAC, every multicast MAC and the zero MAC.
bool IsUnfitMac(const MacAddress& mac);

/// True for 0/8, 127/8, 224/4 and 240/4 (255.255.255.255 included).
bool IsReservedAddress(Ipv4 address);

/// Why a bracket for `device` with `mac`, heard on the interface whose
/// address is `interfaceAddr`, must not be installed; Refusal::kNone when
/// it may. Link-local devices (169.254/16) are allowed.
Refusal JudgeBracketRequest(Ipv4 interfaceAddr, Ipv4 device, const MacAddress& mac,
                            const TablesSnapshot& tables);

}  // namespace vantrell
