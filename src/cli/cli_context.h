#pragma once
/// What every command of the command line shares: the options, the
/// console, the ARP/route bracket (disabled without CAP_NET_ADMIN) and the
/// protocol timing.

#include <memory>

#include "cli/console.h"
#include "cli/options.h"
#include "core/timing.h"
#include "net/arp_route_bracket.h"
#include "platform/net_tables.h"

namespace vantrell {

/// Exit codes of the command line.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

class CliContext {
 public:
  CliContext(const CliOptions& options, Console& console);

  const CliOptions& options;
  Console& console;
  Timing timing;
  ArpRouteBracket& bracket() { return bracket_; }

 private:
  std::unique_ptr<NetTables> tables_;
  ArpRouteBracket bracket_;
};

}  // namespace vantrell
