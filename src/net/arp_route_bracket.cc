#include "net/arp_route_bracket.h"

#include <cstdio>

#include "platform/netd_client.h"

namespace vantrell {
namespace {

constexpr std::string_view kArpAddressTableMissing = "SetIpNetEntry table not found.";
constexpr const char* kArpCreateFailedFormat = "DoSetIpNetEntry fail: %d\n";
constexpr std::string_view kRouteAddressTableMissing = "DoSetIpForwardEntry table not found.";
constexpr std::string_view kRouteRefused = "Set forward entry fail";
constexpr std::string_view kRouteTableMissing = "DoDeleteIpForwardEntry table not found.";

}  // namespace

ArpRouteBracket::ArpRouteBracket(NetdChannel* helper, MessageSink& messages)
    : helper_(helper), messages_(messages) {}

void ArpRouteBracket::Install(const DeviceRecord& record) {
  if (!helper_ || record.ipAddr == 0) return;
  NetdRequest request;
  request.kind = NetdRequestKind::kAdd;
  request.interfaceAddr = record.localIfAddr;
  request.deviceAddr = record.ipAddr;
  request.mac = record.mac;
  const std::optional<NetdAnswer> answer = helper_->Exchange(request);
  if (!answer) return;
  if (answer->neighbour == NeighbourOutcome::kAddressTableMissing) {
    messages_.ShowMessage(kArpAddressTableMissing, MessageIcon::kStop);
  } else if (answer->neighbour == NeighbourOutcome::kCreateFailed) {
    char text[64];
    // The code as the kernel gave it: a negative errno.
    std::snprintf(text, sizeof text, kArpCreateFailedFormat, -static_cast<int>(answer->error));
    messages_.ShowMessage(text, MessageIcon::kStop);
  }
  if (answer->route == RouteOutcome::kAddressTableMissing) {
    messages_.ShowMessage(kRouteAddressTableMissing, MessageIcon::kStop);
  } else if (answer->route == RouteOutcome::kRefusedByKernel) {
    messages_.ShowMessage(kRouteRefused, MessageIcon::kNone);
  }
}

void ArpRouteBracket::Remove(Ipv4 ipAddr) {
  if (!helper_) return;
  NetdRequest request;
  request.kind = NetdRequestKind::kRemove;
  request.deviceAddr = ipAddr;
  const std::optional<NetdAnswer> answer = helper_->Exchange(request);
  if (answer && answer->route == RouteOutcome::kRouteTableMissing) {
    messages_.ShowMessage(kRouteTableMissing, MessageIcon::kStop);
  }
}

}  // namespace vantrell
