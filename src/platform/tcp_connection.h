#pragma once
/// A TCP connection to a device with a time-out on every wait. Another
/// thread may abort it at any time (a dialog's Cancel); every later call on
/// it then fails at once, and the socket is still closed exactly once, by
/// the owner.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "core/ipv4.h"

namespace vantrell {

class TcpConnection {
 public:
  /// Connects without blocking longer than timeoutMs. 0 and `out` set, or
  /// a negative errno (-ETIMEDOUT on time-out).
  static int Connect(Ipv4 address, std::uint16_t port, int timeoutMs,
                     std::shared_ptr<TcpConnection>& out);

  /// Takes over an already connected stream socket (one end of a socket
  /// pair in tests and fuzz targets).
  static std::shared_ptr<TcpConnection> Adopt(int fd);

  ~TcpConnection();
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  /// Sends all bytes, waiting at most timeoutMs each time the socket does
  /// not accept data. 0 or a negative errno.
  int Send(std::span<const std::uint8_t> bytes, int timeoutMs);

  /// Waits at most timeoutMs for data, then takes one receive into
  /// `buffer`. Returns the byte count (0: the peer closed), -ETIMEDOUT, or
  /// another negative errno (-ECONNRESET when the peer reset it).
  int ReceiveOnce(std::span<std::uint8_t> buffer, int timeoutMs);

  /// Reads until the buffer is full, waiting at most timeoutMs before each
  /// read. 0, or a negative errno; a closed connection is -ECONNRESET.
  int ReceiveAll(std::span<std::uint8_t> buffer, int timeoutMs);

  /// Waits at most timeoutMs for the socket to accept data: 0, -ETIMEDOUT
  /// or a negative errno.
  int WaitWritable(int timeoutMs);

  /// Ends every pending and later wait at once; safe from any thread.
  void Abort();
  bool aborted() const { return aborted_.load(); }

 private:
  explicit TcpConnection(int fd) : fd_(fd) {}
  int WaitFor(short events, int timeoutMs);

  int fd_;
  std::atomic<bool> aborted_{false};
  std::mutex abortMutex_;
};

}  // namespace vantrell
