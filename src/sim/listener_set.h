#pragma once
/// Listening TCP sockets of the simulated devices, one per (address, port),
/// each owned by one device: the first device that asks for an endpoint owns
/// it, so of several devices sharing an address only the first one in the
/// scenario answers there. Sockets are bound with IP_FREEBIND, so a device
/// whose address is not (yet) on an interface still listens.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/ipv4.h"
#include "sim/event_loop.h"

namespace vantrell::sim {

struct ListenEndpoint {
  Ipv4 ip = 0;             ///< network order
  std::uint16_t port = 0;  ///< 0: any free port
  std::size_t device = 0;  ///< index of the device that wants it
};

class ListenerSet {
 public:
  /// Receives each accepted connection (non-blocking, close-on-exec) with
  /// the index of the device owning the endpoint; the handler owns the fd.
  using AcceptHandler =
      std::function<void(std::size_t device, int fd, Ipv4 peerIp, std::uint16_t peerPort)>;

  ListenerSet(EventLoop& loop, AcceptHandler onAccept);
  ~ListenerSet();
  ListenerSet(const ListenerSet&) = delete;
  ListenerSet& operator=(const ListenerSet&) = delete;

  /// Makes the open sockets match `wanted`: closes those no longer wanted,
  /// opens the missing ones, and hands each endpoint to its first device.
  /// Returns one line per endpoint that could not be opened.
  std::vector<std::string> Reconcile(const std::vector<ListenEndpoint>& wanted);

  /// The port bound for an endpoint as it was asked for (ip, port); 0 when
  /// it is not open.
  std::uint16_t BoundPort(Ipv4 ip, std::uint16_t port) const;
  std::size_t Count() const { return listeners_.size(); }

 private:
  struct Listener {
    int fd = -1;
    std::uint16_t boundPort = 0;
    std::size_t device = 0;
  };
  using Key = std::pair<Ipv4, std::uint16_t>;

  int Open(const ListenEndpoint& endpoint, std::uint16_t* boundPort, std::string* error);
  void OnReadable(Key key);
  void CloseListener(Listener& listener);

  EventLoop& loop_;
  AcceptHandler onAccept_;
  std::map<Key, Listener> listeners_;
};

}  // namespace vantrell::sim
