#pragma once
/// The program's side of the network helper (vantrell-netd): finding it,
/// starting one per run over a socket pair, and asking it for brackets. The
/// helper removes everything it installed when the socket closes, however
/// this process ends.

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/netd_protocol.h"

namespace vantrell {

/// One request, one answer. Safe to call from several threads at once.
class NetdChannel {
 public:
  virtual ~NetdChannel() = default;
  /// The helper's answer; nothing when the helper is gone or answered garbage.
  virtual std::optional<NetdAnswer> Exchange(const NetdRequest& request) = 0;
};

/// File name of the helper program.
inline constexpr const char* kNetdProgramName = "vantrell-netd";

/// Where the helper is looked for, in this order: beside the running program,
/// in the build tree's helper folder (../netd), in the installed libexec folder.
std::vector<std::filesystem::path> NetdHelperCandidates();

/// The helper at work for this process.
class NetdClient final : public NetdChannel {
 public:
  /// Takes the parent's end of the socket pair and the helper's process id.
  NetdClient(int socket, pid_t helper);
  /// Closes the socket and waits (bounded) for the helper to clean up and end.
  ~NetdClient() override;
  NetdClient(const NetdClient&) = delete;
  NetdClient& operator=(const NetdClient&) = delete;

  std::optional<NetdAnswer> Exchange(const NetdRequest& request) override;

  /// Ends the conversation: the helper sees end of file, removes what it
  /// installed and exits; returns once it has (at most about 2 s). Safe to
  /// call from any thread, also while another thread waits in Exchange().
  void Close();

 private:
  std::mutex mutex_;  ///< one request in flight at a time
  int socket_;
  pid_t helper_;
  std::once_flag closed_;
};

/// How starting the helper went.
struct NetdStart {
  std::unique_ptr<NetdClient> client;  ///< null when no helper can do the bracket
  std::string notice;                  ///< set when client is null: how to install the helper
};

/// Starts the first helper of NetdHelperCandidates() that runs and holds
/// CAP_NET_ADMIN.
NetdStart StartNetdHelper();

/// The one-time notice for a program without a working helper; names the
/// path at which the helper is (or belongs).
std::string NetdMissingText(const std::filesystem::path& helper);

}  // namespace vantrell
