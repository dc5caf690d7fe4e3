#pragma once
/// `vantrell search [--ip ADDR]`: Broadcast Search, or Specify IP Address.

#include "cli/options.h"

namespace vantrell {

class Console;

/// Returns the exit code: 0 when the search ran, 2 on a usage error.
int RunSearchCommand(const CliOptions& options, Console& console);

}  // namespace vantrell
