#pragma once
/// Test support only (header-only, so it stays out of the library): a
/// scripted one-connection HTTP server on 127.0.0.1 that records what it
/// receives and answers with a chosen text, and a scratch folder. Every
/// wait is bounded.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vantrell::testing {

/// What the server does with its one connection.
struct ServerScript {
  /// Sent once the whole request (header and Content-Length bytes) is in.
  std::string answer;
  /// False: accept, then neither read nor answer until the server stops.
  bool readRequest = true;
  /// False: after the answer keep the connection open and silent.
  bool closeAfterAnswer = true;
  /// Receive buffer of the listening socket (0: the system's), to make a
  /// server that does not read push back soon.
  int receiveBuffer = 0;
};

class ScriptedHttpServer {
 public:
  explicit ScriptedHttpServer(ServerScript script) : script_(std::move(script)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (script_.receiveBuffer > 0) {
      ::setsockopt(listener_, SOL_SOCKET, SO_RCVBUF, &script_.receiveBuffer,
                   sizeof script_.receiveBuffer);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 4);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }

  ~ScriptedHttpServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
  }

  ScriptedHttpServer(const ScriptedHttpServer&) = delete;
  ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

  std::uint16_t port() const { return port_; }

  /// Everything received so far.
  std::string Received() {
    std::lock_guard lock(mutex_);
    return received_;
  }

  /// The header block of the request, up to and with the empty line.
  std::string ReceivedHeader() {
    const std::string all = Received();
    const std::size_t end = all.find("\r\n\r\n");
    return end == std::string::npos ? all : all.substr(0, end + 4);
  }

  /// The bytes after the header block.
  std::string ReceivedBody() {
    const std::string all = Received();
    const std::size_t end = all.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : all.substr(end + 4);
  }

  /// Stops at once; a connection still open is closed.
  void Stop() { stop_ = true; }

 private:
  static constexpr int kSliceMs = 20;
  static constexpr auto kLongestRun = std::chrono::seconds(20);

  bool Expired() const { return stop_ || std::chrono::steady_clock::now() > deadline_; }

  /// Waits for `events` in short slices until stop or the overall limit.
  bool WaitFor(int fd, short events) {
    while (!Expired()) {
      pollfd entry{fd, events, 0};
      if (::poll(&entry, 1, kSliceMs) > 0) return true;
    }
    return false;
  }

  void Serve() {
    deadline_ = std::chrono::steady_clock::now() + kLongestRun;
    if (!WaitFor(listener_, POLLIN)) return;
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    if (script_.readRequest && ReadRequest(fd)) Answer(fd);
    if (!script_.readRequest || !script_.closeAfterAnswer) {
      while (!Expired()) std::this_thread::sleep_for(std::chrono::milliseconds(kSliceMs));
    }
    ::close(fd);
  }

  /// Reads the header and as many body bytes as it announces. False when
  /// the peer closed first or time ran out.
  bool ReadRequest(int fd) {
    std::size_t wanted = std::string::npos;
    for (;;) {
      {
        std::lock_guard lock(mutex_);
        if (wanted == std::string::npos) wanted = RequestLength(received_);
        if (wanted != std::string::npos && received_.size() >= wanted) return true;
      }
      if (!WaitFor(fd, POLLIN)) return false;
      char buffer[65536];
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) return false;
      std::lock_guard lock(mutex_);
      received_.append(buffer, static_cast<std::size_t>(n));
    }
  }

  /// Header length plus Content-Length, or npos while the header is open.
  static std::size_t RequestLength(const std::string& bytes) {
    const std::size_t end = bytes.find("\r\n\r\n");
    if (end == std::string::npos) return std::string::npos;
    std::string header = bytes.substr(0, end + 2);
    std::transform(header.begin(), header.end(), header.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    const std::size_t at = header.find("\r\ncontent-length:");
    std::size_t body = 0;
    if (at != std::string::npos) body = std::strtoul(header.c_str() + at + 17, nullptr, 10);
    return end + 4 + body;
  }

  void Answer(int fd) {
    std::string_view rest = script_.answer;
    while (!rest.empty() && WaitFor(fd, POLLOUT)) {
      const ssize_t n = ::send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
      if (n <= 0) return;
      rest.remove_prefix(static_cast<std::size_t>(n));
    }
  }

  ServerScript script_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::chrono::steady_clock::time_point deadline_;
  std::mutex mutex_;
  std::string received_;
  std::thread thread_;
};

/// A fresh folder under the system's temporary folder, removed with its
/// content at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vantrell-http-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  /// Writes a file in the folder and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }

  /// The names of the files in the folder, sorted.
  std::string Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string all;
    for (const auto& name : names) all += name + ";";
    return all;
  }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vantrell::testing
