#pragma once
/// The help and version texts of `vantrell`, made from the help table:
/// `vantrell --help`, `vantrell help [COMMAND]`, `vantrell COMMAND --help`
/// and `vantrell --version`.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/help_table.h"
#include "cli/options.h"

namespace vantrell {

/// The program's version, "5.3.2".
std::string_view ProgramVersion();
/// The line `vantrell --version` prints.
std::string VersionText();

/// The top-level help: commands, which of them change devices, global
/// options, environment, devices and privileges.
std::string TopLevelHelpText();
/// One command's help: synopsis, what it does, options, what it sends,
/// exit codes and an example.
std::string CommandHelpText(const CommandHelp& command);

/// `text` broken into lines of at most `width` characters; every line
/// but the first starts with `indent` blanks. Ends without a line feed.
std::string WrapText(std::string_view text, std::size_t indent, std::size_t width = 79);

/// The option's name with its argument: "--new NEW".
std::string OptionSynopsis(const OptionHelp& option);

/// Answers --version, --help and the help command. Returns the exit code,
/// or nothing when the command line asks for something else.
std::optional<int> RunHelpRequest(const CliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace vantrell
