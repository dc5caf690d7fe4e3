#pragma once
/// A UDP socket that is closed exactly once, and the wait for readable
/// sockets with a time-out.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/ipv4.h"

namespace vantrell {

class UdpSocket {
 public:
  /// Opens an IPv4 datagram socket; nothing when the system refuses one.
  static std::optional<UdpSocket> Open();

  UdpSocket(UdpSocket&& other) noexcept;
  UdpSocket& operator=(UdpSocket&& other) noexcept;
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;
  ~UdpSocket();

  int fd() const { return fd_; }

  /// Each returns 0 or a negative errno.
  int EnableBroadcast();
  int SetReceiveBuffer(int bytes);
  int Bind(Ipv4 address, std::uint16_t port);
  int SendTo(std::span<const std::uint8_t> datagram, Ipv4 destination, std::uint16_t port);
  /// Fixes the peer: Send goes there and the system drops datagrams from
  /// any other address or port.
  int Connect(Ipv4 destination, std::uint16_t port);
  /// Sends to the connected peer.
  int Send(std::span<const std::uint8_t> datagram);

  /// Reads one datagram into `buffer` and returns its full length, which is
  /// larger than the buffer when the datagram was cut; negative errno on
  /// failure. Never writes past the buffer.
  int ReceiveFrom(std::span<std::uint8_t> buffer, Ipv4* source, std::uint16_t* sourcePort = nullptr);

  /// The port the socket is bound to (host order), 0 when unknown.
  std::uint16_t LocalPort() const;

 private:
  explicit UdpSocket(int fd) : fd_(fd) {}
  void Close();
  int fd_ = -1;
};

/// Waits at most timeoutMs for any of the sockets to become readable and
/// returns, per socket, whether it is; all false on time-out or error.
std::vector<bool> WaitReadable(std::span<const int> fds, int timeoutMs);

}  // namespace vantrell
