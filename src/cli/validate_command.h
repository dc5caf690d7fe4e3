#pragma once
/// `vantrell validate FILE [--firmware X.Y.Z]`: checks a configuration file
/// as the import would, without any device (no search, no helper, nothing
/// sent), and prints every problem as "FILE:LINE: KEY: message".

#include "cli/console.h"
#include "cli/options.h"

namespace vantrell {

/// Said on a line of its own for a modular-model file.
inline constexpr const char* kWithoutPortMasksNote =
    "note: checked without the device's port masks: every port is taken as present and able "
    "to trunk";

/// Runs the command; exit 0 (no problems), 1 (problems) or 2 (usage error).
int RunValidateCommand(const CliOptions& options, Console& console);

}  // namespace vantrell
