#include "cli/help_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace vantrell {
namespace {

struct HelpRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

/// The command line `words` as far as the help answers it.
HelpRun RunHelp(std::vector<std::string> words) {
  const ParsedCommandLine parsed = ParseCommandLine(words);
  EXPECT_TRUE(parsed.options) << parsed.error;
  std::ostringstream out, err;
  HelpRun run;
  if (!parsed.options) return run;
  run.exitCode = RunHelpRequest(*parsed.options, out, err).value_or(-1);
  run.out = out.str();
  run.err = err.str();
  return run;
}

TEST(Help, TableHoldsEveryCommandOnceWithItsTexts) {
  std::vector<std::string> names;
  for (const CommandHelp& command : CommandHelpTable()) {
    names.emplace_back(command.name);
    EXPECT_FALSE(command.summary.empty()) << command.name;
    EXPECT_FALSE(command.description.empty()) << command.name;
    EXPECT_FALSE(command.sends.empty()) << command.name;
    EXPECT_FALSE(command.exitCodes.empty()) << command.name;
    EXPECT_TRUE(command.example.starts_with("vantrell ")) << command.name;
    EXPECT_EQ(FindCommandHelp(command.name), &command);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"search", "info", "unlock", "passwd", "netconf",
                                             "export", "import", "set-default", "upgrade", "web",
                                             "backup", "restore", "diff", "validate", "cleanup",
                                             "help"}));
  EXPECT_EQ(FindCommandHelp("reboot"), nullptr);
}

TEST(Help, TopLevelListsCommandsMarksChangingOnesAndNamesTheHelper) {
  const HelpRun run = RunHelp({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.empty());
  const std::string& text = run.out;
  EXPECT_TRUE(
      text.starts_with("usage: vantrell [GLOBAL OPTIONS] COMMAND [ARGS]\n\n"
                       "commands (* changes the devices it is given):\n"
                       "  search [--ip ADDR]                list the devices on the "
                       "network\n"
                       "  info DEVICE                       show one device's details\n"))
      << text;
  for (const char* line :
       {"  passwd DEVICE --new NEW         * change a switch's login password\n",
        "  set-default DEVICE...           * reset devices to factory settings\n",
        "  netconf DEVICE [--ip ADDR] [--netmask ADDR] [--gateway ADDR] [--dns1 ADDR]\n"
        "          [--dns2 ADDR] [--mode MODE]\n                                  * change a "
        "device's address settings\n",
        "  cleanup                           remove ARP entries and routes left by ended\n"
        "                                  runs\n",
        "  129, 130, 143\n      ended by SIGHUP, SIGINT (Ctrl-C) or SIGTERM; the run's ARP "
        "entries and\n      host routes are removed first\n",
        "  help [COMMAND]                    show the help of vantrell or of one command\n",
        "Only passwd, netconf, import, set-default, upgrade, restore change devices; the\n"
        "other commands only read from them.\n",
        "  --password-file FILE    read the login password from the first line of FILE\n"
        "                          (refused when group or others may read FILE)\n",
        "  VANTRELL_NEW_PASSWORD   the new password of passwd in place of --new\n",
        "  --version               the program's version\n", "vantrell-netd", "or running as root",
        "  2   usage error, device not found, or the rights check refused the selection\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(std::string(UsageText()), text);
  // No line runs past 79 columns.
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
}

TEST(Help, CommandHelpFromHelpCommandAndFromTheOption) {
  const HelpRun viaCommand = RunHelp({"help", "passwd"});
  const HelpRun viaOption = RunHelp({"passwd", "--help"});
  EXPECT_EQ(viaCommand.exitCode, 0);
  EXPECT_EQ(viaOption.exitCode, 0);
  EXPECT_EQ(viaCommand.out, viaOption.out);
  EXPECT_EQ(viaCommand.out,
            "usage: vantrell [GLOBAL OPTIONS] passwd DEVICE --new NEW\n"
            "\n"
            "Changes the login password of one switch from --password (empty when not given)\n"
            "to NEW and prints OK.. or Fail..\n"
            "This command changes the devices it is given.\n"
            "\n"
            "options:\n"
            "  --new NEW               the new password, at most 16 characters; - reads it\n"
            "                          from the terminal without echo\n"
            "  --new-password-file FILE\n"
            "                          read the new password from the first line of FILE\n"
            "  --all                   every device the search found\n"
            "  --model GLOB            the devices whose model name matches GLOB (shell\n"
            "                          pattern, such as 'ORV-8*')\n"
            "  --subnet CIDR           the devices whose address lies in CIDR\n"
            "                          (192.168.10.0/24)\n"
            "  --from FILE             the devices FILE lists: one MAC or address a line, or\n"
            "                          CSV with a mac or ip column\n"
            "\n"
            "sends: a TCP session to port 4000: the login, the new password masked with the\n"
            "  login challenge (0x15) and the commit (0x0C).\n"
            "exit codes: 0 when the device answered OK, 1 when it failed, 2 for a usage\n"
            "  error, a device not found or a refused rights check (nothing sent).\n"
            "\n"
            "example:\n"
            "  vantrell passwd 00:11:22:aa:bb:cc --password - --new -\n"
            "\n"
            "The global options are listed by 'vantrell --help'.\n");
}

TEST(Help, EveryCommandHasItsOwnHelp) {
  for (const CommandHelp& command : CommandHelpTable()) {
    const HelpRun run = RunHelp({"help", std::string(command.name)});
    EXPECT_EQ(run.exitCode, 0) << command.name;
    EXPECT_NE(run.out.find("usage: vantrell [GLOBAL OPTIONS] " + std::string(command.name)),
              std::string::npos);
    EXPECT_NE(run.out.find("\nsends: "), std::string::npos) << command.name;
    EXPECT_NE(run.out.find("\nexit codes: "), std::string::npos) << command.name;
    EXPECT_NE(run.out.find("\nexample:\n  " + std::string(command.example) + "\n"),
              std::string::npos)
        << command.name;
    for (const OptionHelp& option : command.options) {
      EXPECT_NE(run.out.find("\n  " + OptionSynopsis(option)), std::string::npos) << option.name;
    }
  }
  EXPECT_NE(RunHelp({"help", "export"})
                .out.find("text file. With FILE - it writes the file to standard output and the "
                          "outcome\nmessage to standard error.\n"),
            std::string::npos);
  EXPECT_NE(RunHelp({"help", "netconf"})
                .out.find("  --mode MODE             address mode: off "
                          "(fixed address), dhcp or bootp\n"),
            std::string::npos);
  EXPECT_NE(RunHelp({"help", "web"}).out.find("This command changes no device.\n"),
            std::string::npos);
}

TEST(Help, BadTopicsAndVersion) {
  const ParsedCommandLine parsed = ParseCommandLine({"help", "reboot"});
  ASSERT_TRUE(parsed.options);
  std::ostringstream out, err;
  EXPECT_EQ(RunHelpRequest(*parsed.options, out, err), 2);
  EXPECT_EQ(err.str(), "vantrell: no help for 'reboot': there is no such command\n");
  EXPECT_TRUE(out.str().empty());
  EXPECT_EQ(RunHelp({"help", "info", "web"}).exitCode, 2);
  EXPECT_EQ(RunHelp({"help"}).out, TopLevelHelpText());

  const HelpRun version = RunHelp({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "vantrell " + std::string(ProgramVersion()) + "\n");
  EXPECT_EQ(RunHelp({"search", "--version"}).out, version.out);
  // The version is the project's, three numbers.
  const std::string number(ProgramVersion());
  EXPECT_EQ(std::count(number.begin(), number.end(), '.'), 2) << number;
  EXPECT_EQ(number.find_first_not_of("0123456789."), std::string::npos) << number;
  EXPECT_EQ(ParseCommandLine({"--version=1"}).error, "option --version takes no value");

  // Not a help request: the command runs.
  const ParsedCommandLine search = ParseCommandLine({"search"});
  ASSERT_TRUE(search.options);
  EXPECT_FALSE(RunHelpRequest(*search.options, out, err));
}

TEST(Help, RefusalsAreJsonWithJson) {
  const ParsedCommandLine parsed = ParseCommandLine({"--json", "help", "reboot"});
  ASSERT_TRUE(parsed.options);
  std::ostringstream out, err;
  EXPECT_EQ(RunHelpRequest(*parsed.options, out, err), 2);
  EXPECT_EQ(out.str(),
            "{\n  \"error\": \"vantrell: no help for 'reboot': there is no such command\"\n}\n");
  EXPECT_EQ(err.str(), "vantrell: no help for 'reboot': there is no such command\n");
}

/// The commands an option of the parser's table applies to; empty: all.
std::vector<std::string> ScopeOf(const OptionSpec& declared) {
  std::vector<std::string> commands;
  std::istringstream words(declared.commands ? declared.commands : "");
  for (std::string word; words >> word;) commands.push_back(word);
  return commands;
}

TEST(Help, DocumentsExactlyWhatTheParserAccepts) {
  std::vector<std::string> helpCommands;
  for (const CommandHelp& command : CommandHelpTable()) helpCommands.emplace_back(command.name);
  const std::vector<std::string> parserCommands(CommandNames().begin(), CommandNames().end());
  EXPECT_EQ(helpCommands, parserCommands);

  // Each option of the parser is documented where it applies, with a value
  // exactly when the parser takes one.
  std::size_t documented = 0;
  for (const OptionSpec& declared : OptionTable()) {
    const std::vector<std::string> scope = ScopeOf(declared);
    std::vector<std::span<const OptionHelp>> places;
    if (scope.empty()) places.push_back(GlobalOptionHelp());
    for (const std::string& name : scope) {
      const CommandHelp* command = FindCommandHelp(name);
      ASSERT_NE(command, nullptr) << declared.name;
      places.push_back(command->options);
    }
    for (std::span<const OptionHelp> options : places) {
      const auto help = std::find_if(options.begin(), options.end(),
                                     [&](const OptionHelp& o) { return o.name == declared.name; });
      ASSERT_NE(help, options.end()) << declared.name;
      EXPECT_EQ(help->argument.empty(), declared.valueName == nullptr) << declared.name;
      if (declared.valueName) {
        EXPECT_EQ(help->argument, declared.valueName) << declared.name;
      }
      ++documented;
    }
  }
  // ... and the help documents nothing else.
  std::size_t listed = GlobalOptionHelp().size();
  for (const CommandHelp& command : CommandHelpTable()) listed += command.options.size();
  EXPECT_EQ(documented, listed);
}

TEST(Help, WrapTextBreaksAtBlanksWithAHangingIndent) {
  EXPECT_EQ(WrapText("one two three four", 2, 9), "one two\n  three\n  four");
  EXPECT_EQ(WrapText("  lead kept", 4, 79), "  lead kept");
  EXPECT_EQ(WrapText("averyveryverylongword x", 0, 5), "averyveryverylongword\nx");
  EXPECT_EQ(WrapText("", 2, 10), "");
}

}  // namespace
}  // namespace vantrell
