#include "platform/netd_client.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>

namespace vantrell {
namespace {

/// The descriptor on which the helper finds its end of the socket pair.
constexpr int kHelperSocketFd = 3;
/// Lowest descriptor the child's end is moved to before it becomes fd 3, so
/// that the dup2 always clears close-on-exec.
constexpr int kSpareFdFloor = 10;
constexpr int kGreetingTimeoutMs = 3000;
/// An answer takes a few rtnetlink calls; far more means the helper hangs.
constexpr int kAnswerTimeoutMs = 5000;
constexpr auto kHelperExitWait = std::chrono::seconds(2);
constexpr auto kHelperExitPoll = std::chrono::milliseconds(5);

#ifndef VANTRELL_NETD_INSTALL_PATH
#define VANTRELL_NETD_INSTALL_PATH "/usr/local/libexec/vantrell/vantrell-netd"
#endif

bool IsExecutableFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

/// Reads one datagram of at most `capacity` bytes within `timeoutMs`; its
/// length, or -1.
ssize_t ReceiveWithin(int socket, std::uint8_t* buffer, std::size_t capacity, int timeoutMs) {
  pollfd ready{socket, POLLIN, 0};
  int rc;
  do {
    rc = ::poll(&ready, 1, timeoutMs);
  } while (rc < 0 && errno == EINTR);
  if (rc <= 0) return -1;
  ssize_t n;
  do {
    n = ::recv(socket, buffer, capacity, MSG_TRUNC);
  } while (n < 0 && errno == EINTR);
  return n;
}

/// Starts `helper` with `childSocket` as its fd 3 and an empty environment.
pid_t SpawnHelper(const std::filesystem::path& helper, int childSocket) {
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  posix_spawn_file_actions_adddup2(&actions, childSocket, kHelperSocketFd);
  // The helper starts with no signal blocked and every signal at its
  // default, whatever this program's signal handling.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::string program = helper.string();
  char* argv[] = {program.data(), nullptr};
  char* envp[] = {nullptr};
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, envp);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

/// Reaps the helper, waiting at most kHelperExitWait; kills it when it
/// overstays (it then leaves its journal to the next start).
void ReapHelper(pid_t helper) {
  const auto deadline = std::chrono::steady_clock::now() + kHelperExitWait;
  while (std::chrono::steady_clock::now() < deadline) {
    const pid_t done = ::waitpid(helper, nullptr, WNOHANG);
    if (done == helper || (done < 0 && errno != EINTR)) return;
    std::this_thread::sleep_for(kHelperExitPoll);
  }
  ::kill(helper, SIGKILL);
  ::waitpid(helper, nullptr, 0);
}

}  // namespace

std::vector<std::filesystem::path> NetdHelperCandidates() {
  std::vector<std::filesystem::path> candidates;
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path folder = self.parent_path();
    candidates.push_back(folder / kNetdProgramName);
    candidates.push_back((folder / ".." / "netd" / kNetdProgramName).lexically_normal());
  }
  candidates.emplace_back(VANTRELL_NETD_INSTALL_PATH);
  return candidates;
}

NetdClient::NetdClient(int socket, pid_t helper) : socket_(socket), helper_(helper) {}

NetdClient::~NetdClient() {
  Close();
  ::close(socket_);
}

std::optional<NetdAnswer> NetdClient::Exchange(const NetdRequest& request) {
  std::lock_guard lock(mutex_);
  const auto bytes = EncodeNetdRequest(request);
  ssize_t sent;
  do {
    sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  if (sent != static_cast<ssize_t>(bytes.size())) return std::nullopt;
  std::array<std::uint8_t, kNetdAnswerSize + 1> answer{};
  const ssize_t n = ReceiveWithin(socket_, answer.data(), answer.size(), kAnswerTimeoutMs);
  if (n != static_cast<ssize_t>(kNetdAnswerSize)) {
    // A late answer would be taken for the next request's: give the helper
    // up (it cleans up on end of file).
    ::shutdown(socket_, SHUT_RDWR);
    return std::nullopt;
  }
  std::optional<NetdAnswer> decoded = DecodeNetdAnswer(std::span(answer.data(), kNetdAnswerSize));
  if (!decoded || decoded->kind != request.kind) return std::nullopt;
  return decoded;
}

void NetdClient::Close() {
  std::call_once(closed_, [this] {
    // shutdown, not close: a thread inside Exchange() still holds the
    // descriptor; the helper sees end of file either way.
    ::shutdown(socket_, SHUT_RDWR);
    ReapHelper(helper_);
  });
}

NetdStart StartNetdHelper() {
  const std::vector<std::filesystem::path> candidates = NetdHelperCandidates();
  std::filesystem::path helper = candidates.back();
  for (const std::filesystem::path& candidate : candidates) {
    if (IsExecutableFile(candidate)) {
      helper = candidate;
      break;
    }
  }
  NetdStart start;
  start.notice = NetdMissingText(helper);
  if (!IsExecutableFile(helper)) return start;

  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return start;
  const int childEnd = ::fcntl(ends[1], F_DUPFD_CLOEXEC, kSpareFdFloor);
  ::close(ends[1]);
  const pid_t pid = childEnd >= 0 ? SpawnHelper(helper, childEnd) : -1;
  if (childEnd >= 0) ::close(childEnd);
  if (pid < 0) {
    ::close(ends[0]);
    return start;
  }
  auto client = std::make_unique<NetdClient>(ends[0], pid);
  std::array<std::uint8_t, kNetdGreetingSize + 1> greeting{};
  const ssize_t n = ReceiveWithin(ends[0], greeting.data(), greeting.size(), kGreetingTimeoutMs);
  const std::optional<std::uint8_t> status =
      n == static_cast<ssize_t>(kNetdGreetingSize)
          ? DecodeNetdGreeting(std::span(greeting.data(), kNetdGreetingSize))
          : std::nullopt;
  if (status != kNetdReady) return start;  // the client's destructor ends the helper
  start.client = std::move(client);
  start.notice.clear();
  return start;
}

std::string NetdMissingText(const std::filesystem::path& helper) {
  return "The network helper " + helper.string() +
         " is missing or lacks the CAP_NET_ADMIN capability, so this program cannot install the "
         "temporary ARP entries and host routes that reach devices on other subnets. Devices on "
         "a subnet of this computer keep working; devices on other subnets cannot be reached "
         "until the helper is installed. Grant the capability to the helper only, once: \"sudo "
         "setcap cap_net_admin+ep " +
         helper.string() + "\", and start this program again.";
}

}  // namespace vantrell
