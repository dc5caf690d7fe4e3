#include "net/http_config_post.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <exception>
#include <string_view>

#include "core/ipv4.h"
#include "net/http_files.h"
#include "net/http_texts.h"

namespace vantrell {
namespace {

/// Port of a web server that names none.
constexpr std::uint16_t kDefaultHttpPort = 80;
/// The answer is received in steps of this many bytes.
constexpr std::size_t kAnswerStep = 50;

/// What a wait on the socket came to.
constexpr int kWaitEmpty = 0;
constexpr int kWaitCancelled = -1000;

bool Cancelled(const std::atomic<bool>* cancel) { return cancel != nullptr && cancel->load(); }

/// One TCP socket of the post, closed when the post ends.
class PostSocket {
 public:
  PostSocket() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {}
  ~PostSocket() {
    if (fd_ >= 0) ::close(fd_);
  }
  PostSocket(const PostSocket&) = delete;
  PostSocket& operator=(const PostSocket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

/// Waits at most timeoutMs for `events`, in slices of pollMs so that the
/// cancel flag is seen soon. Returns the events that came (error and
/// hang-up included), kWaitEmpty, kWaitCancelled or a negative errno.
int WaitSocket(int fd, short events, int timeoutMs, int pollMs, const std::atomic<bool>* cancel) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  if (pollMs < 1) pollMs = 1;
  for (;;) {
    if (Cancelled(cancel)) return kWaitCancelled;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return kWaitEmpty;
    pollfd entry{fd, events, 0};
    const int slice = left.count() < pollMs ? static_cast<int>(left.count()) : pollMs;
    const int rc = ::poll(&entry, 1, slice);
    if (rc < 0) {
      if (errno == EINTR) continue;
      return -errno;
    }
    if (rc > 0) return entry.revents;
  }
}

/// The outcome of a wait as a result, when it ends the post.
int WaitFailure(int waited) { return waited == kWaitCancelled ? kImportCancelled : waited; }

/// Connects without blocking, with up to `waits` waits for writability.
int ConnectSocket(int fd, Ipv4 address, std::uint16_t port, const Timing& timing,
                  const std::atomic<bool>* cancel) {
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_addr.s_addr = address;
  target.sin_port = htons(port);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) return 0;
  if (errno != EINPROGRESS) return -errno;
  for (int empty = 0; empty < timing.httpConnectWaits;) {
    const int waited =
        WaitSocket(fd, POLLOUT, timing.httpConnectWaitMs, timing.httpCancelPollMs, cancel);
    if (waited < 0) return WaitFailure(waited);
    if (waited == kWaitEmpty) {
      ++empty;
      continue;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return -errno;
    return error == 0 ? 0 : -error;
  }
  return kImportTimeout;
}

/// Sends as much of `rest` as the socket takes; removes it from `rest`.
/// 0, or a negative errno.
int SendSome(int fd, std::string_view& rest) {
  const ssize_t sent = ::send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
  if (sent < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return 0;
    return -errno;
  }
  rest.remove_prefix(static_cast<std::size_t>(sent));
  return 0;
}

int SendHeader(int fd, std::string_view header, const Timing& timing,
               const std::atomic<bool>* cancel) {
  int empty = 0;
  while (!header.empty()) {
    const int waited =
        WaitSocket(fd, POLLOUT, timing.httpHeaderWaitMs, timing.httpCancelPollMs, cancel);
    if (waited < 0) return WaitFailure(waited);
    if (waited == kWaitEmpty) {
      if (++empty >= timing.httpHeaderWaits) return kImportTimeout;
      continue;
    }
    if (const int rc = SendSome(fd, header); rc < 0) return rc;
  }
  return 0;
}

/// Sends the body while collecting the answer, until the server closes the
/// connection; then judges the answer. Once the body has all gone only
/// readability is awaited, so a silent server runs into the time-out
/// instead of a socket that is writable forever.
int SendBodyAndJudge(int fd, std::string_view body, std::uint16_t modelId, const Timing& timing,
                     const std::atomic<bool>* cancel) {
  std::string answer;
  int empty = 0;
  for (;;) {
    const short events = body.empty() ? POLLIN : (POLLIN | POLLOUT);
    const int waited =
        WaitSocket(fd, events, timing.httpBodyWaitMs, timing.httpCancelPollMs, cancel);
    if (waited < 0) return WaitFailure(waited);
    if (waited == kWaitEmpty) {
      if (++empty >= timing.httpBodyWaits) return kImportTimeout;
      continue;
    }
    if (waited & (POLLIN | POLLHUP | POLLERR)) {
      char step[kAnswerStep];
      const ssize_t received = ::recv(fd, step, sizeof step, 0);
      if (received == 0) return JudgeImportAnswer(modelId, answer);
      if (received < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -errno;
      } else {
        if (answer.size() + static_cast<std::size_t>(received) > kAnswerLimit) {
          return kImportAnswerTooLong;
        }
        answer.append(step, static_cast<std::size_t>(received));
      }
    }
    if ((waited & POLLOUT) && !body.empty()) {
      if (const int rc = SendSome(fd, body); rc < 0) return rc;
    }
  }
}

int Post(const DeviceRecord& record, const std::string& filePath, const Timing& timing,
         const std::atomic<bool>* cancel) {
  std::string body = ConfigPostHead();
  if (AppendWholeFile(filePath, body) != 0) return kImportFileError;
  body.append(kMultipartClosing);
  const std::string header =
      ConfigPostHeader(FormatIpv4(record.ipAddr), body.size(), CredentialsHeader(record));

  PostSocket socket;
  if (socket.fd() < 0) return -errno;
  const std::uint16_t port = record.webPort != 0 ? record.webPort : kDefaultHttpPort;
  if (const int rc = ConnectSocket(socket.fd(), record.ipAddr, port, timing, cancel); rc != 0) {
    return rc;
  }
  if (const int rc = SendHeader(socket.fd(), header, timing, cancel); rc != 0) return rc;
  return SendBodyAndJudge(socket.fd(), body, record.modelId, timing, cancel);
}

}  // namespace

int importViaHttp(const DeviceRecord& record, const std::string& filePath, const Timing& timing,
                  const std::atomic<bool>* cancel) {
  try {
    return Post(record, filePath, timing, cancel);
  } catch (const std::exception&) {  // out of memory
    return -ENOMEM;
  }
}

}  // namespace vantrell
