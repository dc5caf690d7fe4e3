#pragma once
// Neighbour and route tables kept in memory for the helper's tests, with a
// log of every change and results that a test can force.

#include <linux/neighbour.h>
#include <linux/rtnetlink.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "core/ipv4.h"
#include "core/text_forms.h"
#include "platform/net_tables.h"

namespace vantrell::test_support {

inline const Ipv4 kLanAddress = MakeIpv4(192, 168, 1, 5);
inline const Ipv4 kLanNetmask = MakeIpv4(255, 255, 255, 0);
inline const Ipv4 kLabAddress = MakeIpv4(10, 1, 1, 1);
inline constexpr int kLanIf = 2;
inline constexpr int kLabIf = 3;

/// A neighbour entry as a dump shows it.
inline NeighbourEntry Neighbour(int ifIndex, Ipv4 address, std::uint16_t state,
                                const MacAddress& mac, TableImage image = {}) {
  NeighbourEntry entry;
  entry.ifIndex = ifIndex;
  entry.address = address;
  entry.state = state;
  entry.mac = mac;
  entry.image = std::move(image);
  return entry;
}

class FakeNetTables : public NetTables {
 public:
  FakeNetTables() {
    addresses = std::vector<InterfaceAddress>{
        {MakeIpv4(127, 0, 0, 1), MakeIpv4(255, 0, 0, 0), 1},
        {kLabAddress, MakeIpv4(255, 0, 0, 0), kLabIf},
        {kLanAddress, kLanNetmask, kLanIf},
    };
  }

  std::optional<std::vector<InterfaceAddress>> ReadAddressTable() override { return addresses; }

  int CreateStaticNeighbour(int ifIndex, Ipv4 address, const MacAddress& mac) override {
    log.push_back("neigh add " + FormatIpv4(address) + " if" + std::to_string(ifIndex) + " " +
                  FormatMac(mac));
    if (createNeighbourResult) return *createNeighbourResult;
    neighbours.push_back(Neighbour(ifIndex, address, NUD_PERMANENT, mac));
    return 0;
  }

  int DumpNeighbours(std::vector<NeighbourEntry>& out) override {
    out = neighbours;
    return dumpNeighboursResult;
  }

  int DeleteNeighbour(const NeighbourEntry& entry) override {
    log.push_back("neigh del " + FormatIpv4(entry.address) + " if" + std::to_string(entry.ifIndex));
    std::erase_if(neighbours, [&](const NeighbourEntry& n) {
      return n.address == entry.address && n.ifIndex == entry.ifIndex;
    });
    return 0;
  }

  int SetHostRoute(const HostRoute& route) override {
    log.push_back("route set " + Describe(route));
    if (setRouteResult) return *setRouteResult;
    auto existing = FindHostRoute(route);
    if (existing == routes.end()) return -ENOENT;
    existing->ifIndex = route.ifIndex;
    return 0;
  }

  int CreateHostRoute(const HostRoute& route) override {
    log.push_back("route add " + Describe(route));
    if (createRouteResult) return *createRouteResult;
    if (FindHostRoute(route) != routes.end()) return -EEXIST;
    routes.push_back(AsRouteEntry(route));
    return 0;
  }

  int DumpRoutes(std::vector<RouteEntry>& out) override {
    out = routes;
    return dumpRoutesResult;
  }

  int DeleteRoute(const RouteEntry& route) override {
    log.push_back("route del " + FormatIpv4(route.destination) + "/" +
                  std::to_string(route.prefixLength) + " if" + std::to_string(route.ifIndex) +
                  " metric " + std::to_string(route.priority));
    const auto before = routes.size();
    std::erase_if(routes, [&](const RouteEntry& r) {
      return r.destination == route.destination && r.prefixLength == route.prefixLength &&
             r.ifIndex == route.ifIndex && r.priority == route.priority;
    });
    return routes.size() == before ? -ESRCH : 0;
  }

  int RestoreNeighbour(const NeighbourEntry& entry) override {
    log.push_back("neigh restore " + FormatIpv4(entry.address) + " if" +
                  std::to_string(entry.ifIndex) + " " + FormatMac(entry.mac));
    neighbours.push_back(entry);
    return 0;
  }

  int RestoreRoute(const RouteEntry& route) override {
    log.push_back("route restore " + FormatIpv4(route.destination) + "/" +
                  std::to_string(route.prefixLength) + " if" + std::to_string(route.ifIndex) +
                  " metric " + std::to_string(route.priority));
    routes.push_back(route);
    return 0;
  }

  /// A route dst/prefix on ifIndex with the given metric, via `gateway` when non-zero.
  static RouteEntry Route(Ipv4 destination, int prefixLength, int ifIndex, std::uint32_t metric,
                          Ipv4 gateway = 0) {
    RouteEntry entry;
    entry.destination = destination;
    entry.prefixLength = prefixLength;
    entry.ifIndex = ifIndex;
    entry.table = RT_TABLE_MAIN;
    entry.priority = metric;
    entry.protocol = RTPROT_BOOT;
    if (gateway != 0) entry.gateways.push_back(gateway);
    entry.image = {0x02, 0x20, 0x00, 0x00};  // any bytes: only the real tables read them
    return entry;
  }

  std::optional<std::vector<InterfaceAddress>> addresses;
  std::vector<NeighbourEntry> neighbours;
  std::vector<RouteEntry> routes;
  std::optional<int> createNeighbourResult, setRouteResult, createRouteResult;
  int dumpNeighboursResult = 0;
  int dumpRoutesResult = 0;
  std::vector<std::string> log;

 private:
  static std::string Describe(const HostRoute& route) {
    return FormatIpv4(route.destination) + "/32 if" + std::to_string(route.ifIndex) + " metric " +
           std::to_string(route.metric);
  }
  std::vector<RouteEntry>::iterator FindHostRoute(const HostRoute& route) {
    return std::find_if(routes.begin(), routes.end(), [&](const RouteEntry& r) {
      return r.destination == route.destination && r.prefixLength == 32 &&
             r.priority == route.metric;
    });
  }
};

}  // namespace vantrell::test_support
