#include "sim/stream_connection.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantrell::sim {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
/// Reads per wake-up before other descriptors get their turn.
constexpr int kMaxReadsPerWakeup = 16;

}  // namespace

StreamConnection::StreamConnection(EventLoop& loop, int fd)
    : loop_(loop), fd_(fd), lastActivity_(std::chrono::steady_clock::now()) {}

StreamConnection::~StreamConnection() {
  if (closedTimer_) loop_.Cancel(closedTimer_);
  if (fd_ >= 0) {
    loop_.Unwatch(fd_);
    close(fd_);
  }
}

void StreamConnection::Start(DataHandler onData, EndHandler onEnd, ClosedHandler onClosed) {
  onData_ = std::move(onData);
  onEnd_ = std::move(onEnd);
  onClosed_ = std::move(onClosed);
  ResumeReading();
}

void StreamConnection::PauseReading() {
  if (fd_ < 0 || !reading_) return;
  loop_.UnwatchReadable(fd_);
  reading_ = false;
}

void StreamConnection::ResumeReading() {
  if (fd_ < 0 || reading_ || peerEnded_) return;
  loop_.WatchReadable(fd_, [this] { OnReadable(); });
  reading_ = true;
}

void StreamConnection::OnReadable() {
  std::uint8_t buffer[kReadChunk];
  for (int i = 0; i < kMaxReadsPerWakeup && fd_ >= 0 && reading_; ++i) {
    const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
    if (n > 0) {
      lastActivity_ = std::chrono::steady_clock::now();
      onData_(std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)));
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
    if (n == 0) {
      peerEnded_ = true;
      PauseReading();
      onEnd_("closed by peer");
    } else {
      const std::string how = std::strerror(errno);
      Close();
      onEnd_(how);
    }
    return;
  }
}

void StreamConnection::Send(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0 || bytes.empty()) return;
  output_.insert(output_.end(), bytes.begin(), bytes.end());
  Flush();
}

void StreamConnection::Flush() {
  while (fd_ >= 0 && sent_ < output_.size()) {
    const ssize_t n = send(fd_, output_.data() + sent_, output_.size() - sent_, MSG_NOSIGNAL);
    if (n > 0) {
      sent_ += static_cast<std::size_t>(n);
      lastActivity_ = std::chrono::steady_clock::now();
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      loop_.WatchWritable(fd_, [this] { OnWritable(); });
      return;
    }
    Close();  // the peer is gone
    return;
  }
  if (fd_ < 0) return;
  output_.clear();
  sent_ = 0;
  loop_.UnwatchWritable(fd_);
  if (closeWhenSent_) Close();
}

void StreamConnection::OnWritable() { Flush(); }

void StreamConnection::CloseAfterSending() {
  closeWhenSent_ = true;
  if (PendingOutput() == 0) Close();
}

void StreamConnection::Close() { Shut(false); }

void StreamConnection::Reset() { Shut(true); }

void StreamConnection::Shut(bool reset) {
  if (fd_ < 0) return;
  if (reset) {
    const linger abort{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  }
  loop_.Unwatch(fd_);
  close(fd_);
  fd_ = -1;
  reading_ = false;
  if (onClosed_) {
    closedTimer_ = loop_.After(std::chrono::milliseconds(0), [this] {
      closedTimer_ = 0;
      const ClosedHandler handler = onClosed_;
      handler();  // may destroy this object: nothing may follow
    });
  }
}

}  // namespace vantrell::sim
