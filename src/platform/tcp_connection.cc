#include "platform/tcp_connection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace vantrell {
namespace {

int SetBlocking(int fd, bool blocking) {
  const int flags = fcntl(fd, F_GETFL, 0);
  if (flags < 0) return -errno;
  const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
  return fcntl(fd, F_SETFL, wanted) < 0 ? -errno : 0;
}

}  // namespace

int TcpConnection::Connect(Ipv4 address, std::uint16_t port, int timeoutMs,
                           std::shared_ptr<TcpConnection>& out) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -errno;
  std::shared_ptr<TcpConnection> connection(new TcpConnection(fd));
  if (const int rc = SetBlocking(fd, false); rc < 0) return rc;
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = address;
  sa.sin_port = htons(port);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0 &&
      errno != EINPROGRESS) {
    return -errno;
  }
  if (const int rc = connection->WaitFor(POLLOUT, timeoutMs); rc < 0) return rc;
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return -errno;
  if (error != 0) return -error;
  if (const int rc = SetBlocking(fd, true); rc < 0) return rc;
  out = std::move(connection);
  return 0;
}

std::shared_ptr<TcpConnection> TcpConnection::Adopt(int fd) {
  return std::shared_ptr<TcpConnection>(new TcpConnection(fd));
}

TcpConnection::~TcpConnection() { ::close(fd_); }

void TcpConnection::Abort() {
  std::lock_guard lock(abortMutex_);
  if (aborted_.exchange(true)) return;
  ::shutdown(fd_, SHUT_RDWR);
}

int TcpConnection::WaitFor(short events, int timeoutMs) {
  if (aborted_) return -ECONNABORTED;
  pollfd poll{fd_, events, 0};
  const int ready = ::poll(&poll, 1, timeoutMs < 0 ? 0 : timeoutMs);
  if (aborted_) return -ECONNABORTED;
  if (ready < 0) return -errno;
  if (ready == 0) return -ETIMEDOUT;
  return 0;
}

int TcpConnection::WaitWritable(int timeoutMs) { return WaitFor(POLLOUT, timeoutMs); }

int TcpConnection::Send(std::span<const std::uint8_t> bytes, int timeoutMs) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    if (const int rc = WaitFor(POLLOUT, timeoutMs); rc < 0) return rc;
    const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent,
                             MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return -errno;
    }
    sent += static_cast<std::size_t>(n);
  }
  return 0;
}

int TcpConnection::ReceiveOnce(std::span<std::uint8_t> buffer, int timeoutMs) {
  if (const int rc = WaitFor(POLLIN, timeoutMs); rc < 0) return rc;
  const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT);
  if (n < 0) return errno == EAGAIN ? -ETIMEDOUT : -errno;
  if (aborted_) return -ECONNABORTED;
  return static_cast<int>(n);
}

int TcpConnection::ReceiveAll(std::span<std::uint8_t> buffer, int timeoutMs) {
  std::size_t received = 0;
  while (received < buffer.size()) {
    const int n = ReceiveOnce(buffer.subspan(received), timeoutMs);
    if (n < 0) return n;
    if (n == 0) return -ECONNRESET;
    received += static_cast<std::size_t>(n);
  }
  return 0;
}

}  // namespace vantrell
