#pragma once
/// `vantrell upgrade FILE DEVICE...`: Upgrade firmware on the command line,
/// and the checks of the video-server credentials that upgrade and export
/// share.

#include <optional>
#include <string>

#include "cli/cli_context.h"

namespace vantrell {

/// Loads FILE into every named device: switches over the session protocol,
/// video servers by HTTP with --kavex-user and --kavex-password (what the
/// window's multiple-login dialog collects). Prints "MAC<TAB>ROW TEXT" per
/// device with the upgrade dialog's final texts (or the JSON array); the
/// row texts as they change go to stderr as progress. Returns the exit code.
int RunUpgradeCommand(CliContext& context);

/// The refusal of --kavex-user or --kavex-password texts longer than a
/// record keeps (15 bytes), or nothing.
std::optional<std::string> KavexOptionsRefusal(const CliOptions& options);

}  // namespace vantrell
