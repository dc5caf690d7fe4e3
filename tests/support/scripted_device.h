#pragma once
// A device on 127.0.0.1 that plays a fixed script of the session protocol,
// for tests of the workstation side. Every wait is bounded.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <variant>
#include <vector>

#include "core/timing.h"

namespace vantrell::test_support {

using Bytes = std::vector<std::uint8_t>;

/// One step of the device's side of a session.
struct Expect { std::size_t size; };  ///< read this many bytes
struct Send { Bytes bytes; };
struct Pause { int ms; };
struct Reset {};                      ///< abort the connection (RST)
using Step = std::variant<Expect, Send, Pause, Reset>;

/// A device on 127.0.0.1 that accepts one connection and plays its steps,
/// recording the requests it read. Every wait is bounded.
class ScriptedDevice {
 public:
  explicit ScriptedDevice(std::vector<Step> steps, std::uint32_t hostOrderAddress = INADDR_LOOPBACK)
      : steps_(std::move(steps)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(hostOrderAddress);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    ::listen(listener_, 1);
    socklen_t length = sizeof sa;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&sa), &length);
    port_ = ntohs(sa.sin_port);
    thread_ = std::thread([this] { Play(); });
  }
  ~ScriptedDevice() {
    thread_.join();
    ::close(listener_);
  }

  Timing timing() const {
    Timing timing;
    timing.devicePort = port_;
    timing.replyMs = 500;
    timing.storeMs = 500;
    timing.commitMs = 500;
    timing.streamFinalMs = 300;
    timing.resetPauseMs = 50;
    return timing;
  }
  /// What the device read, one entry per Expect step.
  std::vector<Bytes> received() {
    std::lock_guard lock(mutex_);
    return received_;
  }

 private:
  static bool Readable(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) == 1;
  }

  void Play() {
    if (!Readable(listener_, 3000)) return;
    const int fd = ::accept(listener_, nullptr, nullptr);
    if (fd < 0) return;
    bool open = true;
    for (const Step& step : steps_) {
      if (const auto* expect = std::get_if<Expect>(&step)) {
        Bytes bytes(expect->size);
        std::size_t got = 0;
        while (got < bytes.size() && Readable(fd, 2000)) {
          const ssize_t n = ::recv(fd, bytes.data() + got, bytes.size() - got, 0);
          if (n <= 0) break;
          got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        std::lock_guard lock(mutex_);
        received_.push_back(bytes);
      } else if (const auto* send = std::get_if<Send>(&step)) {
        ::send(fd, send->bytes.data(), send->bytes.size(), MSG_NOSIGNAL);
      } else if (const auto* pause = std::get_if<Pause>(&step)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pause->ms));
      } else {
        const linger hard{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        ::close(fd);
        open = false;
      }
    }
    if (open) {
      // Hold the connection until the workstation closes it.
      char scrap[256];
      while (Readable(fd, 2000) && ::recv(fd, scrap, sizeof scrap, 0) > 0) {
      }
      ::close(fd);
    }
  }

  std::vector<Step> steps_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::mutex mutex_;
  std::vector<Bytes> received_;
  std::thread thread_;
};

/// A device's answer to fetchConfigBlock (0x08): the 3-byte header with the
/// length big-endian, then the block.
inline Bytes BlockReply(const Bytes& block) {
  Bytes reply(3 + block.size());
  reply[0] = 0x08;
  reply[1] = static_cast<std::uint8_t>(block.size() >> 8);
  reply[2] = static_cast<std::uint8_t>(block.size() & 0xFF);
  std::copy(block.begin(), block.end(), reply.begin() + 3);
  return reply;
}

}  // namespace vantrell::test_support
