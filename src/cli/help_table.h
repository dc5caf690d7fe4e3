#pragma once
/// The one description of the command line: every command with its
/// synopsis, options, what it sends to the devices, exit codes and an
/// example, and the global options and environment variables. The help
/// output, the manual pages and the shell completions are all made from it.

#include <span>
#include <string_view>

namespace vantrell {

/// One option as the help lists it.
struct OptionHelp {
  std::string_view name;      ///< "--new"
  std::string_view argument;  ///< "NEW"; empty for a flag
  std::string_view text;      ///< what it does
  /// What the shell completes for the argument.
  enum class Completes { kNothing, kFile, kInterface, kWord } completes = Completes::kNothing;
  std::string_view words = {};  ///< kWord: the choices, blank-separated
};

/// One command as the help lists it.
struct CommandHelp {
  std::string_view name;       ///< "passwd"
  std::string_view arguments;  ///< "DEVICE --new NEW"
  std::string_view summary;    ///< one line for the command list
  bool changesDevices;         ///< stores something on a device
  std::span<const OptionHelp> options;
  std::string_view description;  ///< what it does, a paragraph
  std::string_view sends;        ///< what goes to the devices
  std::string_view exitCodes;    ///< when it exits with 0, 1 or 2
  std::string_view example;      ///< one command line
  /// What the shell completes for the positional arguments.
  OptionHelp::Completes argumentsComplete = OptionHelp::Completes::kNothing;
};

/// One environment variable the command line reads.
struct EnvironmentHelp {
  std::string_view name;
  std::string_view text;
};

/// One text of the manual pages beyond the commands and options.
struct ProgramHelp {
  std::string_view name;         ///< "vantrell-sim"
  std::string_view summary;      ///< the NAME line of the manual page
  std::string_view synopsis;     ///< "vantrell-configurator"; empty: from the usage text
  std::string_view description;  ///< paragraphs, separated by empty lines
  std::string_view example;      ///< empty: none
};

std::span<const CommandHelp> CommandHelpTable();
std::span<const OptionHelp> GlobalOptionHelp();
std::span<const EnvironmentHelp> EnvironmentHelpTable();

/// The command named `name`, or nullptr.
const CommandHelp* FindCommandHelp(std::string_view name);

/// Paragraphs of the top-level help and of vantrell(1).
inline constexpr std::string_view kDeviceArgumentHelp =
    "DEVICE is a MAC address (00:11:22:aa:bb:cc or 00-11-22-AA-BB-CC, any case) or an IPv4 "
    "address in dotted form. Every command on devices first runs the broadcast search and "
    "picks the listed devices that match; a named device that is not found ends the command "
    "with exit code 2 before anything is sent.";
inline constexpr std::string_view kPrivilegeHelp =
    "Devices on other subnets are reached through a temporary ARP entry and host route on the "
    "workstation. Installing them needs the privileged helper vantrell-netd (installed with "
    "the package, with the CAP_NET_ADMIN capability) or running as root; without either, "
    "vantrell says so once and works with the devices on the workstation's own subnets.";
/// The exit codes of every command.
struct ExitStatusHelp {
  std::string_view codes;
  std::string_view text;
};
inline constexpr ExitStatusHelp kExitStatusHelp[] = {
    {"0", "every device succeeded (for search: the search ran)"},
    {"1", "at least one device failed"},
    {"2", "usage error, device not found, or the rights check refused the selection"},
    {"129, 130, 143",
     "ended by SIGHUP, SIGINT (Ctrl-C) or SIGTERM; the run's ARP entries and host routes are "
     "removed first"},
};

/// The programs with a manual page beside vantrell(1).
const ProgramHelp& WindowProgramHelp();
const ProgramHelp& SimulatorProgramHelp();

}  // namespace vantrell
