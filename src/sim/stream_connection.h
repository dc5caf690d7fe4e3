#pragma once
/// One accepted TCP connection of a simulated device, driven by the event
/// loop: hands the bytes that arrive to its owner, sends through a buffer
/// that drains as the peer reads, and closes gracefully, at once, or with a
/// reset. When the descriptor has been closed for any reason, the owner is
/// told once, from a later turn of the loop, so it can drop the object.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "sim/event_loop.h"

namespace vantrell::sim {

class StreamConnection {
 public:
  /// Data that arrived.
  using DataHandler = std::function<void(std::span<const std::uint8_t>)>;
  /// The peer closed its side (orderly), or reading failed ("reset by
  /// peer", ...; the connection is then closed already).
  using EndHandler = std::function<void(const std::string& how)>;
  /// The descriptor is closed; the owner may destroy the object now.
  using ClosedHandler = std::function<void()>;

  /// Takes ownership of the non-blocking descriptor.
  StreamConnection(EventLoop& loop, int fd);
  ~StreamConnection();
  StreamConnection(const StreamConnection&) = delete;
  StreamConnection& operator=(const StreamConnection&) = delete;

  void Start(DataHandler onData, EndHandler onEnd, ClosedHandler onClosed);

  /// Stop and resume reading (back pressure while an answer waits).
  void PauseReading();
  void ResumeReading();

  /// Queues bytes and sends what the socket takes now.
  void Send(std::span<const std::uint8_t> bytes);
  /// Closes once everything queued has gone out.
  void CloseAfterSending();
  /// Closes now; unsent bytes are dropped.
  void Close();
  /// Closes with a reset (SO_LINGER 0): the peer sees "connection reset".
  void Reset();

  bool IsOpen() const { return fd_ >= 0; }
  std::size_t PendingOutput() const { return output_.size() - sent_; }
  /// Time of the last byte read or written.
  std::chrono::steady_clock::time_point LastActivity() const { return lastActivity_; }

 private:
  void OnReadable();
  void OnWritable();
  void Flush();
  void Shut(bool reset);

  EventLoop& loop_;
  int fd_;
  DataHandler onData_;
  EndHandler onEnd_;
  ClosedHandler onClosed_;
  bool reading_ = false;
  bool peerEnded_ = false;
  bool closeWhenSent_ = false;
  std::vector<std::uint8_t> output_;
  std::size_t sent_ = 0;
  EventLoop::TimerId closedTimer_ = 0;
  std::chrono::steady_clock::time_point lastActivity_;
};

}  // namespace vantrell::sim
