#pragma once
/// `vantrell import FILE DEVICE...`: Import Configuration on the command line.

#include "cli/cli_context.h"

namespace vantrell {

/// Imports FILE into each named device, in the order given, and prints
/// "MAC<TAB>ROW TEXT" per device (or the JSON array). --yes confirms the
/// review of the file's address settings; without it a device whose
/// settings the file changes is not imported ("Import Canceled") and the
/// differences are listed on stderr. --kavex-user and --kavex-password are
/// the login of the video servers. Returns the exit code.
int RunImportCommand(CliContext& context);

}  // namespace vantrell
