#pragma once
/// A raw TCP client for the simulator's loopback tests: connects to a
/// 127.0.0.x address, sends bytes, and receives with a bounded wait. It
/// talks only to loopback and knows nothing of the workstation's code.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ipv4.h"

namespace vantrell::sim::testing {

/// How a receive ended.
enum class ReceiveEnd { kComplete, kTimeout, kClosed, kReset };

class LoopbackClient {
 public:
  using Bytes = std::vector<std::uint8_t>;
  static constexpr auto kWait = std::chrono::milliseconds(3000);

  LoopbackClient() = default;
  ~LoopbackClient() { Close(); }
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;

  /// Connects within 2 s; false when it cannot (or the address is not loopback).
  bool Connect(Ipv4 ip, std::uint16_t port) {
    if (Ipv4Octet(ip, 0) != 127) return false;
    Close();
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const timeval limit{2, 0};
    setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ip;
    address.sin_port = htons(port);
    return connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  }

  bool Send(std::span<const std::uint8_t> bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }
  bool Send(std::string_view text) {
    return Send(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  }

  /// Receives until `count` bytes arrived, the peer closed or reset, or
  /// `limit` passed. How it ended goes to *end.
  Bytes Receive(std::size_t count, ReceiveEnd* end = nullptr,
                std::chrono::milliseconds limit = kWait) {
    Bytes bytes;
    ReceiveEnd how = ReceiveEnd::kComplete;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (bytes.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd p{fd_, POLLIN, 0};
      if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) {
        how = ReceiveEnd::kTimeout;
        break;
      }
      std::uint8_t buffer[65536];
      const std::size_t want = std::min(sizeof buffer, count - bytes.size());
      const ssize_t n = recv(fd_, buffer, want, 0);
      if (n == 0) {
        how = ReceiveEnd::kClosed;
        break;
      }
      if (n < 0) {
        how = errno == ECONNRESET ? ReceiveEnd::kReset : ReceiveEnd::kClosed;
        break;
      }
      bytes.insert(bytes.end(), buffer, buffer + n);
    }
    if (end) *end = how;
    return bytes;
  }

  /// Everything until the peer closes (bounded by `limit`).
  std::string ReceiveAll(ReceiveEnd* end = nullptr, std::chrono::milliseconds limit = kWait) {
    const Bytes bytes = Receive(SIZE_MAX, end, limit);
    return std::string(bytes.begin(), bytes.end());
  }

  void ShutdownWrite() { shutdown(fd_, SHUT_WR); }

  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

}  // namespace vantrell::sim::testing
