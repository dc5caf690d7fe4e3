#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace vantrell {
namespace {

sockaddr_in MakeAddress(Ipv4 address, std::uint16_t port) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = address;
  sa.sin_port = htons(port);
  return sa;
}

int ResultOf(int rc) { return rc < 0 ? -errno : 0; }

}  // namespace

std::optional<UdpSocket> UdpSocket::Open() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return std::nullopt;
  return UdpSocket(fd);
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

UdpSocket::~UdpSocket() { Close(); }

void UdpSocket::Close() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

int UdpSocket::EnableBroadcast() {
  const int on = 1;
  return ResultOf(::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on));
}

int UdpSocket::SetReceiveBuffer(int bytes) {
  return ResultOf(::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes));
}

int UdpSocket::Bind(Ipv4 address, std::uint16_t port) {
  const sockaddr_in sa = MakeAddress(address, port);
  return ResultOf(::bind(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa));
}

int UdpSocket::SendTo(std::span<const std::uint8_t> datagram, Ipv4 destination,
                      std::uint16_t port) {
  const sockaddr_in sa = MakeAddress(destination, port);
  const ssize_t sent = ::sendto(fd_, datagram.data(), datagram.size(), MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
  if (sent < 0) return -errno;
  return sent == static_cast<ssize_t>(datagram.size()) ? 0 : -EMSGSIZE;
}

int UdpSocket::Connect(Ipv4 destination, std::uint16_t port) {
  const sockaddr_in sa = MakeAddress(destination, port);
  return ResultOf(::connect(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa));
}

int UdpSocket::Send(std::span<const std::uint8_t> datagram) {
  const ssize_t sent = ::send(fd_, datagram.data(), datagram.size(), MSG_NOSIGNAL);
  if (sent < 0) return -errno;
  return sent == static_cast<ssize_t>(datagram.size()) ? 0 : -EMSGSIZE;
}

int UdpSocket::ReceiveFrom(std::span<std::uint8_t> buffer, Ipv4* source,
                           std::uint16_t* sourcePort) {
  sockaddr_in sa{};
  socklen_t length = sizeof sa;
  const ssize_t received = ::recvfrom(fd_, buffer.data(), buffer.size(), MSG_TRUNC | MSG_DONTWAIT,
                                      reinterpret_cast<sockaddr*>(&sa), &length);
  if (received < 0) return -errno;
  if (source) *source = sa.sin_addr.s_addr;
  if (sourcePort) *sourcePort = ntohs(sa.sin_port);
  return static_cast<int>(received);
}

std::uint16_t UdpSocket::LocalPort() const {
  sockaddr_in sa{};
  socklen_t length = sizeof sa;
  if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &length) != 0) return 0;
  return ntohs(sa.sin_port);
}

std::vector<bool> WaitReadable(std::span<const int> fds, int timeoutMs) {
  std::vector<pollfd> polls;
  polls.reserve(fds.size());
  for (int fd : fds) polls.push_back(pollfd{fd, POLLIN, 0});
  std::vector<bool> readable(fds.size(), false);
  if (::poll(polls.data(), polls.size(), timeoutMs < 0 ? 0 : timeoutMs) <= 0) return readable;
  for (std::size_t i = 0; i < polls.size(); ++i) {
    readable[i] = (polls[i].revents & (POLLIN | POLLERR)) != 0;
  }
  return readable;
}

}  // namespace vantrell
