#include "cli/docs/manual_page.h"

#include <sstream>
#include <vector>

#include "cli/help_table.h"
#include "cli/help_text.h"

namespace vantrell {
namespace {

std::string Header(std::string_view program) {
  std::string upper(program);
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return ".TH " + RoffText(upper) + " 1 \"\" \"vantrell " + std::string(ProgramVersion()) +
         "\" \"User Commands\"\n";
}

std::string NameSection(std::string_view program, std::string_view summary) {
  return ".SH NAME\n" + RoffText(program) + " \\- " + RoffText(summary) + "\n";
}

/// Paragraphs separated by empty lines, each as its own .PP.
std::string Paragraphs(std::string_view text) {
  std::string out;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find("\n\n", start);
    if (end == std::string_view::npos) end = text.size();
    out += ".PP\n" + RoffText(text.substr(start, end - start)) + "\n";
    start = end + 2;
  }
  return out;
}

/// A tagged paragraph: the tag in bold, the text indented below it.
std::string Tagged(std::string_view tag, std::string_view text) {
  return ".TP\n.B " + RoffText(tag) + "\n" + RoffText(text) + "\n";
}

std::string Example(std::string_view commandLine) {
  return ".PP\n.RS\n.nf\n" + RoffText(commandLine) + "\n.fi\n.RE\n";
}

std::string CommandSection(const CommandHelp& command) {
  std::string title(command.name);
  if (!command.arguments.empty()) title += " " + std::string(command.arguments);
  std::string out = ".SS \"" + RoffText(title) + "\"\n";
  out += RoffText(command.description) + "\n";
  if (command.changesDevices) out += ".PP\nThis command changes the devices it is given.\n";
  for (const OptionHelp& option : command.options)
    out += Tagged(OptionSynopsis(option), option.text);
  out += ".PP\n\\fBSends:\\fR " + RoffText(command.sends) + "\n";
  out += ".PP\n\\fBExit status:\\fR " + RoffText(command.exitCodes) + "\n";
  out += ".PP\n\\fBExample:\\fR\n" + Example(command.example);
  return out;
}

std::string SeeAlso(std::string_view pages) { return ".SH SEE ALSO\n" + std::string(pages) + "\n"; }

/// The option lines of a usage text: "  --name ARG   text", where a line
/// indented further continues the text of the line before.
std::vector<std::pair<std::string, std::string>> UsageOptions(std::string_view usage) {
  std::vector<std::pair<std::string, std::string>> options;
  std::istringstream lines{std::string(usage)};
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("  -")) {
      const std::size_t gap = line.find("  ", 2);
      if (gap == std::string::npos) continue;
      const std::size_t text = line.find_first_not_of(' ', gap);
      options.emplace_back(line.substr(2, gap - 2),
                           text == std::string::npos ? "" : line.substr(text));
    } else if (!options.empty() && line.starts_with("      ")) {
      options.back().second += " " + line.substr(line.find_first_not_of(' '));
    }
  }
  return options;
}

/// The lines of a usage text before its first option line, without
/// "usage: " and with their blanks folded.
std::string UsageSynopsis(std::string_view usage) {
  std::string synopsis;
  std::istringstream lines{std::string(usage)};
  for (std::string line; std::getline(lines, line) && !line.starts_with("  -");) {
    if (line.starts_with("usage: ")) line.erase(0, 7);
    std::istringstream words(line);
    for (std::string word; words >> word;) synopsis += (synopsis.empty() ? "" : " ") + word;
  }
  return synopsis;
}

}  // namespace

std::string RoffText(std::string_view text) {
  std::string out;
  bool lineStart = true;
  for (char c : text) {
    if (lineStart && (c == '.' || c == '\'')) out += "\\&";
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
    lineStart = c == '\n';
  }
  return out;
}

std::string VantrellManualPage() {
  std::string page = Header("vantrell");
  page += NameSection("vantrell", "find and configure VANTRELL switches and video servers");
  page += ".SH SYNOPSIS\n.B vantrell\n[\\fIGLOBAL OPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGS\\fR]\n";
  std::string changing;
  for (const CommandHelp& command : CommandHelpTable()) {
    if (!command.changesDevices) continue;
    changing += (changing.empty() ? "" : ", ") + std::string(command.name);
  }
  page += ".SH DESCRIPTION\n" +
          RoffText(
              "vantrell finds the industrial Ethernet switches and video servers on the "
              "local network with a broadcast search and runs one command on the devices "
              "it is given: the same commands as the desktop window "
              "vantrell-configurator(1). Only " +
              changing + " change devices; the other commands only read from them.") +
          "\n";
  page += Paragraphs(kDeviceArgumentHelp);
  page += ".SH COMMANDS\n";
  for (const CommandHelp& command : CommandHelpTable()) page += CommandSection(command);
  page += ".SH GLOBAL OPTIONS\nAccepted before or after the command.\n";
  for (const OptionHelp& option : GlobalOptionHelp()) {
    page += Tagged(OptionSynopsis(option), option.text);
  }
  page += ".SH ENVIRONMENT\nAn option takes precedence over the environment.\n";
  for (const EnvironmentHelp& variable : EnvironmentHelpTable()) {
    page += Tagged(variable.name, variable.text);
  }
  page += ".SH PRIVILEGES\n" + RoffText(kPrivilegeHelp) + "\n";
  page += ".SH EXIT STATUS\n";
  for (const ExitStatusHelp& status : kExitStatusHelp) page += Tagged(status.codes, status.text);
  page += SeeAlso(".BR vantrell\\-configurator (1),\n.BR vantrell\\-sim (1)");
  return page;
}

std::string WindowManualPage() {
  const ProgramHelp& help = WindowProgramHelp();
  std::string page = Header(help.name) + NameSection(help.name, help.summary);
  page += ".SH SYNOPSIS\n.B " + RoffText(help.synopsis) + "\n";
  page += ".SH DESCRIPTION\n" + Paragraphs(help.description);
  page += ".SH PRIVILEGES\n" + RoffText(kPrivilegeHelp) + "\n";
  page += SeeAlso(".BR vantrell (1),\n.BR vantrell\\-sim (1)");
  return page;
}

std::string SimulatorManualPage(std::string_view usage) {
  const ProgramHelp& help = SimulatorProgramHelp();
  std::string page = Header(help.name) + NameSection(help.name, help.summary);
  page += ".SH SYNOPSIS\n" + RoffText(UsageSynopsis(usage)) + "\n";
  page += ".SH DESCRIPTION\n" + Paragraphs(help.description);
  page += ".SH OPTIONS\n";
  for (const auto& [option, text] : UsageOptions(usage)) page += Tagged(option, text);
  if (!help.example.empty()) page += ".SH EXAMPLE\n" + Example(help.example);
  page += SeeAlso(".BR vantrell (1),\n.BR vantrell\\-configurator (1)");
  return page;
}

}  // namespace vantrell
