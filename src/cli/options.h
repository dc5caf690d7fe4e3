#pragma once
/// The command line of `vantrell`: global options (before or after the
/// command), the command, its own options and its arguments.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantrell {

struct CliOptions {
  std::vector<std::string> interfaces;  ///< --interface, repeatable
  std::string password;                 ///< --password
  std::string kavexUser;                ///< --kavex-user
  std::string kavexPassword;            ///< --kavex-password
  bool yes = false;
  bool json = false;
  bool quiet = false;
  bool help = false;
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
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& argv);

/// The usage text printed for --help and after a usage error.
const char* UsageText();

}  // namespace vantrell
