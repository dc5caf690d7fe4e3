#pragma once
/// What every command of the command line shares: the options, the
/// console, the ARP/route bracket (done by the network helper; disabled
/// without one) and the protocol timing.

#include <memory>

#include "cli/console.h"
#include "cli/options.h"
#include "core/timing.h"
#include "net/arp_route_bracket.h"
#include "platform/netd_client.h"

namespace vantrell {

/// Exit codes of the command line.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

/// Reports a refusal that ends the run with kExitUsage: the message on
/// stderr and, with `json`, {"error": MESSAGE} on stdout. A rights message
/// of the window (it tells to select "unlock") is followed on stderr by the
/// line naming the option that gives the rights. Returns kExitUsage.
int RefuseRun(Console& console, bool json, std::string_view message);

/// Said after the window's rights message on the command line only.
inline constexpr const char* kPasswordOptionHint =
    "Give the device's password with --password (or --password-file, VANTRELL_PASSWORD).";

class CliContext {
 public:
  CliContext(const CliOptions& options, Console& console);
  ~CliContext();
  CliContext(const CliContext&) = delete;
  CliContext& operator=(const CliContext&) = delete;

  /// RefuseRun with the run's --json.
  int Refuse(std::string_view message) { return RefuseRun(console, options.json, message); }

  const CliOptions& options;
  Console& console;
  Timing timing;
  ArpRouteBracket& bracket() { return bracket_; }
  /// The network helper; null without one.
  NetdClient* helper() { return helper_.get(); }

 private:
  std::unique_ptr<NetdClient> helper_;
  ArpRouteBracket bracket_;
  int interruptStep_ = 0;
};

}  // namespace vantrell
