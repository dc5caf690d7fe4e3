#pragma once
/// The command line of `vantrell`: global options (before or after the
/// command), the command, its own options and its arguments.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantrell {

/// One option of the command line as the parser knows it; what it does is
/// told by the help table (cli/help_table.h), which lists the same options.
struct OptionSpec {
  const char* name;       ///< "--interface"
  const char* valueName;  ///< "NAME"; nullptr for an option without a value
  /// The commands it applies to, separated by blanks; nullptr for a global
  /// option, accepted with every command.
  const char* commands;
};

/// Every option, global ones first.
std::span<const OptionSpec> OptionTable();
/// The option called `name` ("-h" is "--help"), or nullptr.
const OptionSpec* FindOption(const std::string& name);
/// The command names, in the order the usage text lists them.
std::span<const char* const> CommandNames();

struct CliOptions {
  std::vector<std::string> interfaces;  ///< --interface, repeatable
  /// Login password of the switches: from --password, --password-file or
  /// VANTRELL_PASSWORD once ResolveSecrets has run.
  std::string password;
  std::string kavexUser;      ///< --kavex-user
  std::string kavexPassword;  ///< as password, for the video servers
  /// The global secret options as given (--password, --password-file,
  /// --kavex-password, --kavex-password-file), by name.
  std::map<std::string, std::string> secrets;
  bool yes = false;
  bool json = false;
  bool quiet = false;
  bool help = false;
  bool version = false;  ///< --version
  std::string command;
  /// Options of the command that carry a value (--ip, --new, ...).
  std::map<std::string, std::string> values;
  /// Options of the command without a value (--no-open).
  std::vector<std::string> flags;
  /// Positional arguments after the command.
  std::vector<std::string> args;

  std::optional<std::string> Value(const std::string& name) const;
  bool Flag(const std::string& name) const;
};

struct ParsedCommandLine {
  std::optional<CliOptions> options;
  std::string error;  ///< set when options is empty
  /// --json stood on the command line (also when it could not be parsed),
  /// so that a usage error is reported as JSON too.
  bool json = false;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& argv);

/// The usage text printed after a usage error: the top-level help
/// (cli/help_text.cc).
const char* UsageText();

}  // namespace vantrell
