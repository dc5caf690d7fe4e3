#pragma once
/// `vantrell backup DIR [DEVICE...] [selection]`: every selected device's
/// configuration into DIR, one file a device named by its MAC, and
/// DIR/inventory.csv.

#include "cli/cli_context.h"

namespace vantrell {

int RunBackupCommand(CliContext& context);

}  // namespace vantrell
