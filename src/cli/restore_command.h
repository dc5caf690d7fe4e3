#pragma once
/// `vantrell restore DIR [DEVICE...] [selection]`: each selected device
/// compared with the file a backup left for it in DIR, and with --yes the
/// file imported into each device that differs from it. Returns the exit
/// code.

#include "cli/cli_context.h"

namespace vantrell {

int RunRestoreCommand(CliContext& context);

}  // namespace vantrell
