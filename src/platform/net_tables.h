#pragma once
/// The operating-system tables that the ARP/route bracket reads and changes:
/// the IPv4 address table, the IPv4 neighbour (ARP) table and the main IPv4
/// routing table. Every call blocks, returns 0 or a negative errno, never
/// throws and prints nothing. The real implementation talks rtnetlink in the
/// network namespace of the calling thread; tests substitute a fake.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/ipv4.h"
#include "core/text_forms.h"
#include "platform/address_table.h"

namespace vantrell {

/// Metric (route priority) of the host routes the bracket installs.
inline constexpr std::uint32_t kHostRouteMetric = 20;
/// Prefix length of a host route.
inline constexpr int kHostPrefixLength = 32;

/// The request that creates an entry again exactly as a dump showed it
/// (the rtnetlink message body, without its header); empty when unknown.
using TableImage = std::vector<std::uint8_t>;

/// One row of the IPv4 neighbour table.
struct NeighbourEntry {
  int ifIndex = 0;
  Ipv4 address = 0;         ///< network byte order
  std::uint16_t state = 0;  ///< NUD_* bits
  MacAddress mac{};         ///< zero when the entry has no 6-byte link address
  std::uint8_t flags = 0;   ///< NTF_* bits
  TableImage image;
};

/// One route of the main IPv4 table, with every field needed to delete it
/// again exactly.
struct RouteEntry {
  Ipv4 destination = 0;  ///< network byte order
  int prefixLength = 0;
  int ifIndex = 0;  ///< output interface of the first next hop; 0 when none
  std::uint32_t table = 0;
  std::uint32_t priority = 0;
  std::uint8_t tos = 0;
  std::uint8_t protocol = 0;   ///< RTPROT_*
  std::uint8_t scope = 0;      ///< RT_SCOPE_*
  std::uint8_t type = 0;       ///< RTN_*
  std::vector<Ipv4> gateways;  ///< the gateway of each next hop that has one
  TableImage image;
};

/// A host route dst/32 straight out of one interface: scope link, protocol
/// static, in the main table.
struct HostRoute {
  Ipv4 destination = 0;  ///< network byte order
  int ifIndex = 0;
  std::uint32_t metric = kHostRouteMetric;
};

class NetTables {
 public:
  virtual ~NetTables() = default;

  /// The IPv4 address table; nothing when it cannot be read.
  virtual std::optional<std::vector<InterfaceAddress>> ReadAddressTable() = 0;

  /// Creates (or overwrites) a permanent IPv4 neighbour `address` -> `mac`
  /// on interface `ifIndex`.
  virtual int CreateStaticNeighbour(int ifIndex, Ipv4 address, const MacAddress& mac) = 0;
  /// Replaces `out` by every IPv4 neighbour of every interface, any state.
  virtual int DumpNeighbours(std::vector<NeighbourEntry>& out) = 0;
  virtual int DeleteNeighbour(const NeighbourEntry& entry) = 0;

  /// Replaces an existing host route of the same destination and metric;
  /// -ENOENT or -ESRCH when there is none. -EINVAL and -EOPNOTSUPP mean the
  /// route itself was refused.
  virtual int SetHostRoute(const HostRoute& route) = 0;
  /// Creates the host route; -EEXIST when it exists already.
  virtual int CreateHostRoute(const HostRoute& route) = 0;
  /// Replaces `out` by every IPv4 route of the main table.
  virtual int DumpRoutes(std::vector<RouteEntry>& out) = 0;
  virtual int DeleteRoute(const RouteEntry& route) = 0;

  /// Create a dumped entry again from its image, with every attribute it
  /// had; -EEXIST when an equal one exists, -EINVAL when the image is not
  /// one of `entry`'s address.
  virtual int RestoreNeighbour(const NeighbourEntry& entry) = 0;
  virtual int RestoreRoute(const RouteEntry& route) = 0;
};

/// The route a HostRoute becomes in the table, as DeleteRoute wants it.
RouteEntry AsRouteEntry(const HostRoute& route);

/// The tables of the network namespace of whichever thread calls them, over
/// rtnetlink. Changing them needs CAP_NET_ADMIN.
std::unique_ptr<NetTables> MakeSystemNetTables();

}  // namespace vantrell
