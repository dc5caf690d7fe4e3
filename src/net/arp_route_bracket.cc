#include "net/arp_route_bracket.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/net_tables.h"

namespace vantrell {
namespace {

constexpr int kHostPrefixLength = 32;

constexpr std::string_view kArpAddressTableMissing = "SetIpNetEntry table not found.";
constexpr const char* kArpCreateFailedFormat = "DoSetIpNetEntry fail: %d\n";
constexpr std::string_view kRouteAddressTableMissing = "DoSetIpForwardEntry table not found.";
constexpr std::string_view kRouteRefused = "Set forward entry fail";
constexpr std::string_view kRouteTableMissing = "DoDeleteIpForwardEntry table not found.";

/// The errors with which the kernel refuses the route itself rather than
/// reporting that there is none to replace.
bool IsRouteRefused(int rc) { return rc == -EINVAL || rc == -EOPNOTSUPP; }

bool SameSubnet(Ipv4 a, Ipv4 b, Ipv4 netmask) { return (a & netmask) == (b & netmask); }

}  // namespace

ArpRouteBracket::ArpRouteBracket(NetTables* tables, MessageSink& messages)
    : tables_(tables), messages_(messages) {}

void ArpRouteBracket::AddStaticArpEntry(Ipv4 localIfAddr, const MacAddress& mac, Ipv4 ipAddr) {
  if (!tables_ || ipAddr == 0) return;
  const auto addresses = tables_->ReadAddressTable();
  if (!addresses || addresses->empty()) {
    messages_.ShowMessage(kArpAddressTableMissing, MessageIcon::kStop);
    return;
  }
  for (const InterfaceAddress& row : *addresses) {
    if (row.address != localIfAddr) continue;
    DeleteArpEntries(ipAddr);
    if (int rc = tables_->CreateStaticNeighbour(row.ifIndex, ipAddr, mac); rc != 0) {
      char text[64];
      std::snprintf(text, sizeof text, kArpCreateFailedFormat, rc);
      messages_.ShowMessage(text, MessageIcon::kStop);
    }
    return;
  }
}

void ArpRouteBracket::DeleteArpEntries(Ipv4 ipAddr) {
  if (!tables_) return;
  std::vector<NeighbourEntry> neighbours;
  if (tables_->DumpNeighbours(neighbours) != 0) return;
  for (const NeighbourEntry& entry : neighbours) {
    if (entry.address == ipAddr) tables_->DeleteNeighbour(entry);
  }
}

void ArpRouteBracket::AddHostRoute(Ipv4 localIfAddr, Ipv4 ipAddr) {
  // A device without an address has no ARP entry either; a route to 0.0.0.0
  // would only disturb the table.
  if (!tables_ || ipAddr == 0) return;
  const auto addresses = tables_->ReadAddressTable();
  if (!addresses || addresses->empty()) {
    messages_.ShowMessage(kRouteAddressTableMissing, MessageIcon::kStop);
    return;
  }
  for (const InterfaceAddress& row : *addresses) {
    if (row.address != localIfAddr || SameSubnet(localIfAddr, ipAddr, row.netmask)) continue;
    const HostRoute route{ipAddr, row.ifIndex, kHostRouteMetric};
    const int rc = tables_->SetHostRoute(route);
    if (rc == 0) continue;
    if (IsRouteRefused(rc)) {
      messages_.ShowMessage(kRouteRefused, MessageIcon::kNone);
    } else {
      tables_->CreateHostRoute(route);
    }
  }
}

void ArpRouteBracket::DeleteHostRoutes(Ipv4 ipAddr) {
  if (!tables_) return;
  std::vector<RouteEntry> routes;
  // Only a table that cannot be read is reported: an empty main table is
  // normal here (a host whose only routes are the local ones).
  if (tables_->DumpRoutes(routes) != 0) {
    messages_.ShowMessage(kRouteTableMissing, MessageIcon::kStop);
    return;
  }
  for (const RouteEntry& route : routes) {
    // Host routes only: a wider route whose network address happens to equal
    // the device address (0.0.0.0/0 for a device without an address) stays.
    if (route.destination == ipAddr && route.prefixLength == kHostPrefixLength) {
      tables_->DeleteRoute(route);
    }
  }
}

void ArpRouteBracket::Install(const DeviceRecord& record) {
  AddStaticArpEntry(record.localIfAddr, record.mac, record.ipAddr);
  AddHostRoute(record.localIfAddr, record.ipAddr);
}

void ArpRouteBracket::Remove(Ipv4 ipAddr) {
  DeleteArpEntries(ipAddr);
  DeleteHostRoutes(ipAddr);
}

}  // namespace vantrell
