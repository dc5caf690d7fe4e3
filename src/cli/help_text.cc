#include "cli/help_text.h"

#include <sstream>

#include "cli/cli_context.h"
#include "cli/results.h"

#ifndef VANTRELL_VERSION
#error "VANTRELL_VERSION is set by the build"
#endif

namespace vantrell {
namespace {

constexpr std::size_t kCommandColumn = 34;
constexpr std::size_t kOptionColumn = 26;

/// "  NAME" padded to `column`, then the text wrapped below that column.
std::string TableRow(std::string_view name, std::string_view text, std::size_t column) {
  std::string row = WrapText("  " + std::string(name), 10);
  if (row.size() + 1 > column || row.find('\n') != std::string::npos) {
    row += "\n" + std::string(column, ' ');
  } else {
    row += std::string(column - row.size(), ' ');
  }
  // Wrap as if the first line started at the column too.
  const std::string wrapped = WrapText(std::string(column, ' ') + std::string(text), column);
  return row + wrapped.substr(column) + "\n";
}

std::string CommandSynopsis(const CommandHelp& command) {
  std::string synopsis(command.name);
  if (!command.arguments.empty()) synopsis += " " + std::string(command.arguments);
  return synopsis;
}

std::string ChangingCommandList() {
  std::string list;
  for (const CommandHelp& command : CommandHelpTable()) {
    if (!command.changesDevices) continue;
    if (!list.empty()) list += ", ";
    list += command.name;
  }
  return list;
}

/// A labelled paragraph: "LABEL: text", wrapped with a hanging indent.
std::string Paragraph(std::string_view label, std::string_view text) {
  return WrapText(std::string(label) + ": " + std::string(text), 2) + "\n";
}

}  // namespace

std::string_view ProgramVersion() { return VANTRELL_VERSION; }

std::string VersionText() { return "vantrell " + std::string(ProgramVersion()) + "\n"; }

std::string WrapText(std::string_view text, std::size_t indent, std::size_t width) {
  std::string out;
  std::size_t lineLength = 0;
  std::istringstream words{std::string(text)};
  // Leading blanks of the first line are kept.
  const std::size_t lead = text.find_first_not_of(' ');
  if (lead != std::string_view::npos && lead > 0) {
    out.assign(lead, ' ');
    lineLength = lead;
  }
  bool lineHasWord = false;
  for (std::string word; words >> word;) {
    if (lineHasWord && lineLength + 1 + word.size() > width) {
      out += "\n" + std::string(indent, ' ');
      lineLength = indent;
      lineHasWord = false;
    }
    if (lineHasWord) {
      out += ' ';
      ++lineLength;
    }
    out += word;
    lineLength += word.size();
    lineHasWord = true;
  }
  return out;
}

std::string OptionSynopsis(const OptionHelp& option) {
  std::string synopsis(option.name);
  if (!option.argument.empty()) synopsis += " " + std::string(option.argument);
  return synopsis;
}

std::string TopLevelHelpText() {
  std::string text =
      "usage: vantrell [GLOBAL OPTIONS] COMMAND [ARGS]\n"
      "\n"
      "commands (* changes the devices it is given):\n";
  for (const CommandHelp& command : CommandHelpTable()) {
    const std::string marker = command.changesDevices ? "* " : "  ";
    text +=
        TableRow(CommandSynopsis(command), marker + std::string(command.summary), kCommandColumn);
  }
  text += "\n" +
          WrapText("Only " + ChangingCommandList() +
                       " change devices; the other commands only read from them.",
                   0) +
          "\n\nglobal options (before or after the command):\n";
  for (const OptionHelp& option : GlobalOptionHelp()) {
    text += TableRow(OptionSynopsis(option), option.text, kOptionColumn);
  }
  text += "\nenvironment (an option takes precedence):\n";
  for (const EnvironmentHelp& variable : EnvironmentHelpTable()) {
    text += TableRow(variable.name, variable.text, kOptionColumn);
  }
  text += "\n" + WrapText(kDeviceArgumentHelp, 0) + "\n\n" + WrapText(kPrivilegeHelp, 0) +
          "\n\nexit codes:\n";
  for (const ExitStatusHelp& status : kExitStatusHelp) {
    text += TableRow(status.codes, status.text, 6);
  }
  text += "\n" +
          WrapText(
              "'vantrell help COMMAND' shows a command's options, what it sends, its exit "
              "codes and an example.",
              0) +
          "\n";
  return text;
}

std::string CommandHelpText(const CommandHelp& command) {
  std::string text =
      WrapText("usage: vantrell [GLOBAL OPTIONS] " + CommandSynopsis(command), 10) + "\n\n";
  text += WrapText(command.description, 0) + "\n";
  text += command.changesDevices ? "This command changes the devices it is given.\n"
                                 : "This command changes no device.\n";
  if (!command.options.empty()) {
    text += "\noptions:\n";
    for (const OptionHelp& option : command.options) {
      text += TableRow(OptionSynopsis(option), option.text, kOptionColumn);
    }
  }
  text += "\n" + Paragraph("sends", command.sends);
  text += Paragraph("exit codes", command.exitCodes);
  text += "\nexample:\n  " + std::string(command.example) + "\n";
  text += "\nThe global options are listed by 'vantrell --help'.\n";
  return text;
}

const char* UsageText() {
  static const std::string text = TopLevelHelpText();
  return text.c_str();
}

std::optional<int> RunHelpRequest(const CliOptions& options, std::ostream& out, std::ostream& err) {
  if (options.version) {
    out << VersionText();
    return kExitOk;
  }
  const bool helpCommand = options.command == "help";
  if (!options.help && !helpCommand) return std::nullopt;
  // A refusal as every usage error: the message on stderr, with --json also
  // {"error": MESSAGE} on stdout.
  const auto refuse = [&](const std::string& message) {
    err << message << "\n";
    if (options.json) PrintJson(out, {{"error", message}});
    return kExitUsage;
  };
  std::string_view topic;
  if (helpCommand) {
    if (options.args.size() > 1) return refuse("usage: vantrell help [COMMAND]");
    if (!options.args.empty()) topic = options.args.front();
  } else {
    topic = options.command;
  }
  if (topic.empty()) {
    out << TopLevelHelpText();
    return kExitOk;
  }
  const CommandHelp* command = FindCommandHelp(topic);
  if (!command) {
    return refuse("vantrell: no help for '" + std::string(topic) + "': there is no such command");
  }
  out << CommandHelpText(*command);
  return kExitOk;
}

}  // namespace vantrell
