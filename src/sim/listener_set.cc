#include "sim/listener_set.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantrell::sim {
namespace {

constexpr int kBacklog = 64;
/// Connections accepted per wake-up before other descriptors get their turn.
constexpr int kMaxAcceptsPerWakeup = 64;

}  // namespace

ListenerSet::ListenerSet(EventLoop& loop, AcceptHandler onAccept)
    : loop_(loop), onAccept_(std::move(onAccept)) {}

ListenerSet::~ListenerSet() {
  for (auto& [key, listener] : listeners_) CloseListener(listener);
}

void ListenerSet::CloseListener(Listener& listener) {
  if (listener.fd < 0) return;
  loop_.Unwatch(listener.fd);
  close(listener.fd);
  listener.fd = -1;
}

int ListenerSet::Open(const ListenEndpoint& endpoint, std::uint16_t* boundPort,
                      std::string* error) {
  const std::string name = FormatIpv4(endpoint.ip) + ":" + std::to_string(endpoint.port);
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    *error = "cannot open a TCP socket for " + name + ": " + std::strerror(errno);
    return -1;
  }
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  setsockopt(fd, IPPROTO_IP, IP_FREEBIND, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = endpoint.ip;
  address.sin_port = htons(endpoint.port);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, kBacklog) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    *error = "cannot listen on TCP " + name + ": " + std::strerror(errno);
    close(fd);
    return -1;
  }
  *boundPort = ntohs(address.sin_port);
  return fd;
}

std::vector<std::string> ListenerSet::Reconcile(const std::vector<ListenEndpoint>& wanted) {
  std::map<Key, std::size_t> owners;
  for (const ListenEndpoint& endpoint : wanted) {
    owners.emplace(Key{endpoint.ip, endpoint.port}, endpoint.device);  // first one wins
  }
  for (auto it = listeners_.begin(); it != listeners_.end();) {
    if (owners.count(it->first)) {
      ++it;
    } else {
      CloseListener(it->second);
      it = listeners_.erase(it);
    }
  }
  std::vector<std::string> errors;
  for (const auto& [key, device] : owners) {
    const auto found = listeners_.find(key);
    if (found != listeners_.end()) {
      found->second.device = device;
      continue;
    }
    Listener listener;
    listener.device = device;
    std::string error;
    listener.fd = Open({key.first, key.second, device}, &listener.boundPort, &error);
    if (listener.fd < 0) {
      errors.push_back(error);
      continue;
    }
    listeners_.emplace(key, listener);
    // A named copy: older compilers cannot capture a structured binding.
    loop_.WatchReadable(listener.fd, [this, endpoint = key] { OnReadable(endpoint); });
  }
  return errors;
}

std::uint16_t ListenerSet::BoundPort(Ipv4 ip, std::uint16_t port) const {
  const auto found = listeners_.find(Key{ip, port});
  return found == listeners_.end() ? 0 : found->second.boundPort;
}

void ListenerSet::OnReadable(Key key) {
  for (int i = 0; i < kMaxAcceptsPerWakeup; ++i) {
    const auto found = listeners_.find(key);
    if (found == listeners_.end() || found->second.fd < 0) return;  // closed by a handler
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const int fd = accept4(found->second.fd, reinterpret_cast<sockaddr*>(&peer), &length,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;  // EAGAIN, or an aborted connection: nothing to do
    onAccept_(found->second.device, fd, peer.sin_addr.s_addr, ntohs(peer.sin_port));
  }
}

}  // namespace vantrell::sim
