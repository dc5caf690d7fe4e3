#pragma once
/// `vantrell cleanup`: removes what runs that ended without cleaning up (a
/// network helper that was killed) left in the ARP and route tables, and
/// puts back what they had replaced.

#include "cli/cli_context.h"

namespace vantrell {

int RunCleanupCommand(CliContext& context);

}  // namespace vantrell
