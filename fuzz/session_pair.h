#pragma once
// A session whose device has said exactly the given bytes and then closed
// its sending side: the bytes are queued on one end of a socket pair, and
// the session reads its replies from the other end. The requests the
// session sends stay in the device end's buffer until the next call.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "net/session.h"

namespace vantrell::fuzz {

/// The device's end of the last pair: what the session sent can be read there.
inline int& DeviceEnd() {
  static thread_local int deviceEnd = -1;
  return deviceEnd;
}

inline bool SessionHearing(const std::uint8_t* data, std::size_t size, Session& session) {
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return false;
  const int big = 1 << 20;
  ::setsockopt(pair[0], SOL_SOCKET, SO_SNDBUF, &big, sizeof big);
  ::setsockopt(pair[1], SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
  ::setsockopt(pair[1], SOL_SOCKET, SO_SNDBUF, &big, sizeof big);
  ::setsockopt(pair[0], SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
  if (size > 0 && ::write(pair[0], data, size) != static_cast<ssize_t>(size)) {
    ::close(pair[0]);
    ::close(pair[1]);
    return false;
  }
  ::shutdown(pair[0], SHUT_WR);
  session.connection = TcpConnection::Adopt(pair[1]);
  // Keep the device's end open for reading so the requests can be sent.
  if (DeviceEnd() >= 0) ::close(DeviceEnd());
  DeviceEnd() = pair[0];
  session.timing.replyMs = 1;
  session.timing.storeMs = 1;
  session.timing.commitMs = 1;
  session.timing.streamFinalMs = 1;
  session.timing.resetPauseMs = 0;
  return true;
}

}  // namespace vantrell::fuzz
