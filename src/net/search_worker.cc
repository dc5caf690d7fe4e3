#include "net/search_worker.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <random>

#include "net/discovery_codec.h"
#include "platform/address_table.h"
#include "platform/tick.h"
#include "platform/udp_socket.h"

namespace vantrell {
namespace {

struct BoundSocket {
  UdpSocket socket;
  Ipv4 interfaceAddr;
};

std::vector<BoundSocket> OpenSockets(const std::vector<Ipv4>& addresses) {
  std::vector<BoundSocket> sockets;
  for (Ipv4 address : addresses) {
    if (address == MakeIpv4(127, 0, 0, 1) || address == 0) continue;
    auto socket = UdpSocket::Open();
    if (!socket) continue;
    socket->EnableBroadcast();
    socket->Bind(address, 0);
    sockets.push_back({std::move(*socket), address});
  }
  return sockets;
}

std::uint16_t ChooseSequence() {
  std::minstd_rand generator(static_cast<std::uint32_t>(std::time(nullptr)) ^ TickCountMs());
  return static_cast<std::uint16_t>(std::uniform_int_distribution<int>(0, 32767)(generator));
}

bool StopRequested(SearchContext& context) {
  std::lock_guard lock(context.searchLock);
  return context.stopRequested;
}

void SendRequests(SearchContext& context, std::vector<BoundSocket>& sockets,
                  std::uint16_t sequence, const SearchEndpoints& endpoints, const Timing& timing) {
  std::vector<std::uint8_t> identify, host;
  {
    std::lock_guard lock(context.searchLock);
    identify = BuildIdentifyRequest(context.found, sequence);
    host = BuildHostRequest(context.found, sequence);
  }
  for (BoundSocket& bound : sockets) {
    bound.socket.SendTo(identify, endpoints.destination, timing.devicePort);
    bound.socket.SendTo(host, endpoints.destination, timing.devicePort);
  }
}

void ReceiveOne(SearchContext& context, BoundSocket& bound, std::uint16_t sequence,
                const Timing& timing) {
  std::array<std::uint8_t, kDiscoveryReadSize> buffer;
  Ipv4 source = 0;
  const int length = bound.socket.ReceiveFrom(buffer, &source);
  if (length < 0) return;
  const auto datagramLength = static_cast<std::size_t>(length);
  const std::size_t kept = std::min(datagramLength, buffer.size());
  std::lock_guard lock(context.searchLock);
  const auto record = JudgeDiscoveryReply(
      std::span(buffer.data(), kept), datagramLength,
      DiscoveryReplyContext{sequence, bound.interfaceAddr, source, context.sourceFilter});
  if (!record) return;
  if (context.found.size() >= static_cast<std::size_t>(timing.searchDeviceLimit)) {
    // Full: a new device is dropped (and does not re-arm the countdown).
    if (context.found.FindByMac(record->mac) < 0) context.limitReached = true;
    return;
  }
  if (context.found.InsertUnique(*record)) {
    context.countdownMs = static_cast<std::uint32_t>(timing.searchCountdownMs);
    context.lastNewDeviceTick = TickCountMs();
  }
}

/// Listens for one request cycle; false when a stop was requested.
bool ListenOneCycle(SearchContext& context, std::vector<BoundSocket>& sockets,
                    std::uint16_t sequence, const Timing& timing) {
  std::vector<int> fds;
  for (const BoundSocket& bound : sockets) fds.push_back(bound.socket.fd());
  const std::uint32_t start = TickCountMs();
  for (;;) {
    const std::uint32_t elapsed = TickCountMs() - start;
    if (elapsed >= static_cast<std::uint32_t>(timing.searchCycleMs)) return true;
    if (StopRequested(context)) return false;
    const int rest = timing.searchCycleMs - static_cast<int>(elapsed);
    const std::vector<bool> readable = WaitReadable(fds, std::min(timing.searchWaitMs, rest));
    for (std::size_t i = 0; i < sockets.size(); ++i) {
      if (readable[i]) ReceiveOne(context, sockets[i], sequence, timing);
    }
  }
}

}  // namespace

SearchEndpoints SystemSearchEndpoints(std::vector<int> interfaces) {
  SearchEndpoints endpoints;
  endpoints.localAddresses = [interfaces]() -> std::optional<std::vector<Ipv4>> {
    const auto table = ReadAddressTable();
    if (!table) return std::nullopt;
    std::vector<Ipv4> addresses;
    for (const InterfaceAddress& row : *table) {
      if (interfaces.empty() ||
          std::find(interfaces.begin(), interfaces.end(), row.ifIndex) != interfaces.end()) {
        addresses.push_back(row.address);
      }
    }
    return addresses;
  };
  return endpoints;
}

int SearchWorker(SearchContext& context, const SearchEndpoints& endpoints, const Timing& timing,
                 MessageSink& messages) {
  const auto addresses = endpoints.localAddresses();
  if (!addresses || addresses->empty()) {
    messages.ShowMessage("broadcast_search table not found.", MessageIcon::kStop);
    return 0;
  }
  std::vector<BoundSocket> sockets = OpenSockets(*addresses);
  const std::uint16_t sequence = ChooseSequence();
  for (;;) {
    SendRequests(context, sockets, sequence, endpoints, timing);
    if (!ListenOneCycle(context, sockets, sequence, timing)) return 0;
  }
}

}  // namespace vantrell
