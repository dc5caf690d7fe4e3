#pragma once
/// The commands on named devices: info, unlock, passwd, set-default, export, web.
/// Each returns the exit code.

#include "cli/cli_context.h"

namespace vantrell {

int RunInfoCommand(CliContext& context);
int RunUnlockCommand(CliContext& context);
int RunPasswdCommand(CliContext& context);
int RunSetDefaultCommand(CliContext& context);
int RunExportCommand(CliContext& context);
int RunWebCommand(CliContext& context);

}  // namespace vantrell
