// vantrell: the command line of the configurator.
#include <exception>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli/backup_command.h"
#include "cli/cleanup_command.h"
#include "cli/cli_context.h"
#include "cli/device_commands.h"
#include "cli/diff_command.h"
#include "cli/help_text.h"
#include "cli/import_command.h"
#include "cli/netconf_command.h"
#include "cli/restore_command.h"
#include "cli/results.h"
#include "cli/search_command.h"
#include "cli/secrets.h"
#include "cli/upgrade_command.h"
#include "cli/validate_command.h"
#include "platform/interrupt_exit.h"

namespace {

int Run(int argc, char** argv) {
  using namespace vantrell;
  const std::vector<std::string> words(argv + 1, argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(words);
  if (!parsed.options) {
    std::cerr << "vantrell: " << parsed.error << "\n" << UsageText();
    if (parsed.json) PrintJson(std::cout, {{"error", parsed.error}});
    return kExitUsage;
  }
  CliOptions options = *parsed.options;
  if (const auto exitCode = RunHelpRequest(options, std::cout, std::cerr)) return *exitCode;
  const std::map<std::string, int (*)(CliContext&)> commands = {
      {"search", RunSearchCommand},   {"info", RunInfoCommand},
      {"unlock", RunUnlockCommand},   {"passwd", RunPasswdCommand},
      {"set-default", RunSetDefaultCommand}, {"export", RunExportCommand},
      {"netconf", RunNetconfCommand}, {"web", RunWebCommand},
      {"import", RunImportCommand},   {"upgrade", RunUpgradeCommand},
      {"backup", RunBackupCommand},   {"cleanup", RunCleanupCommand},
      {"restore", RunRestoreCommand}, {"diff", RunDiffCommand},
  };
  const auto command = commands.find(options.command);
  Console console(std::cout, std::cerr, options.quiet);
  // Offline: no network helper, no secrets.
  if (options.command == "validate") return RunValidateCommand(options, console);
  if (command == commands.end()) {
    return RefuseRun(console, options.json,
                     "vantrell: command '" + options.command + "' is not available yet");
  }
  const SecretResolution secrets = ResolveSecrets(options, SystemSecretSources());
  for (const std::string& warning : secrets.warnings) console.Error(warning);
  if (secrets.error) return RefuseRun(console, options.json, *secrets.error);
  CliContext context(options, console);
  return command->second(context);
}

}  // namespace

int main(int argc, char** argv) {
  // Before any thread: SIGINT, SIGTERM and SIGHUP end the program through
  // the helper's clean-up, with 130, 143 or 129.
  vantrell::ExitCleanlyOnSignals();
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "vantrell: internal error: " << error.what() << "\n";
  } catch (...) {
    std::cerr << "vantrell: internal error\n";
  }
  return vantrell::kExitFailed;
}
