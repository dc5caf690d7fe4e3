#pragma once
/// `vantrell search [--ip ADDR]`: Broadcast Search, or Specify IP Address.

#include "cli/cli_context.h"

namespace vantrell {

/// Returns the exit code: 0 when the search ran, 2 on a usage error.
int RunSearchCommand(CliContext& context);

}  // namespace vantrell
