#pragma once
/// `vantrell diff A B`: the settings in which two configuration files, or
/// devices exported to memory, differ. Returns the exit code: 0 equal,
/// 1 different, 2 refused (usage, unreadable file, device that cannot be
/// exported).

#include "cli/cli_context.h"

namespace vantrell {

int RunDiffCommand(CliContext& context);

}  // namespace vantrell
