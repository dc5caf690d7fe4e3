#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "cli/docs/completion_scripts.h"
#include "cli/docs/manual_page.h"
#include "cli/help_table.h"

namespace vantrell {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ManualPage, RoffEscapesHyphensBackslashesAndLeadingDots) {
  EXPECT_EQ(RoffText("--new-password-file"), "\\-\\-new\\-password\\-file");
  EXPECT_EQ(RoffText("a\\b"), "a\\eb");
  EXPECT_EQ(RoffText(".hidden\n'quote\nmid.dle"), "\\&.hidden\n\\&'quote\nmid.dle");
}

TEST(ManualPage, VantrellPageHasEveryCommandOptionAndVariable) {
  const std::string page = VantrellManualPage();
  EXPECT_TRUE(page.starts_with(".TH VANTRELL 1 \"\" \"vantrell ")) << page.substr(0, 60);
  EXPECT_TRUE(Contains(page, ".SH NAME\nvantrell \\- find and configure VANTRELL switches"));
  for (const CommandHelp& command : CommandHelpTable()) {
    EXPECT_TRUE(Contains(page, ".SS \"" + RoffText(command.name))) << command.name;
    EXPECT_TRUE(Contains(page, RoffText(command.example))) << command.name;
  }
  for (const char* part :
       {".SS \"passwd DEVICE \\-\\-new NEW\"\n",
        ".TP\n.B \\-\\-new\\-password\\-file FILE\nread the new password from the first line of "
        "FILE\n",
        ".TP\n.B \\-\\-password\\-file FILE\n", ".TP\n.B VANTRELL_KAVEX_PASSWORD\n",
        "\\fBSends:\\fR per device a TCP session to port 4000: the login and the Set Default "
        "request (0x29).\n",
        ".SH PRIVILEGES\n", "vantrell\\-netd", ".TP\n.B 2\nusage error,",
        ".BR vantrell\\-sim (1)"}) {
    EXPECT_TRUE(Contains(page, part)) << part;
  }
  // Every hyphen is escaped: no '-' without the backslash before it.
  for (std::size_t i = page.find('-'); i != std::string::npos; i = page.find('-', i + 1)) {
    ASSERT_GT(i, 0u);
    EXPECT_EQ(page[i - 1], '\\') << page.substr(i > 20 ? i - 20 : 0, 40);
  }
}

TEST(ManualPage, SimulatorOptionsComeFromItsUsage) {
  // What vantrell-sim --help prints.
  const std::string page = SimulatorManualPage(
      "usage: vantrell-sim --scenario FILE [--port N] [--ready-file PATH] [--record FILE]\n"
      "                    [--verbose]\n"
      "  --scenario FILE    JSON scenario listing the simulated devices\n"
      "  --port N           UDP port and TCP session port (default 4000)\n"
      "  --ready-file PATH  write \"ready\" to PATH once listening\n"
      "  --record FILE      one JSON line per session and web request received\n"
      "  --verbose          one line on stderr per datagram, session and web request\n"
      "                     (continued)\n");
  EXPECT_TRUE(page.starts_with(".TH VANTRELL\\-SIM 1 "));
  EXPECT_TRUE(Contains(page,
                       ".SH SYNOPSIS\nvantrell\\-sim \\-\\-scenario FILE [\\-\\-port N] "
                       "[\\-\\-ready\\-file PATH] [\\-\\-record FILE] [\\-\\-verbose]\n"));
  EXPECT_TRUE(
      Contains(page, ".TP\n.B \\-\\-port N\nUDP port and TCP session port (default 4000)\n"));
  EXPECT_TRUE(Contains(page,
                       ".TP\n.B \\-\\-verbose\none line on stderr per datagram, session and "
                       "web request (continued)\n"));
  EXPECT_TRUE(
      Contains(page, ".TP\n.B \\-\\-ready\\-file PATH\nwrite \"ready\" to PATH once listening\n"));
  EXPECT_TRUE(Contains(page, "network namespace"));
  const std::string window = WindowManualPage();
  EXPECT_TRUE(Contains(window, ".SH NAME\nvantrell\\-configurator \\- find and configure"));
  EXPECT_TRUE(Contains(window, "not as root"));
}

/// Runs the bash completion for the words of `line` (the last one is
/// completed; an ending blank completes an empty word) and returns COMPREPLY.
std::string Complete(const std::string& line) {
  char path[] = "/tmp/vantrell-completion-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return "mkstemp failed";
  close(fd);
  std::ofstream(path) << BashCompletionScript();
  const std::string command = "bash --norc --noprofile -c 'source " + std::string(path) +
                              "; COMP_LINE=\"" + line +
                              "\"; read -ra COMP_WORDS <<< \"$COMP_LINE\";"
                              " [[ $COMP_LINE == *\" \" ]] && COMP_WORDS+=(\"\");"
                              " COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _vantrell;"
                              " echo \"${COMPREPLY[*]}\"' 2>&1";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 512> buffer{};
    while (fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
    pclose(pipe);
  }
  std::remove(path);
  if (!output.empty() && output.back() == '\n') output.pop_back();
  return output;
}

TEST(Completion, BashCompletesCommandsOptionsAndChoices) {
  EXPECT_EQ(Complete("vantrell "),
            "search info unlock passwd netconf export import set-default upgrade web backup "
            "restore diff validate cleanup help");
  EXPECT_EQ(Complete("vantrell s"), "search set-default");
  EXPECT_EQ(Complete("vantrell --json --interface eth0 u"), "unlock upgrade");
  EXPECT_EQ(Complete("vantrell passwd 10.0.0.1 --new"), "--new --new-password-file");
  EXPECT_EQ(Complete("vantrell netconf 10.0.0.1 --mode "), "off dhcp bootp");
  EXPECT_EQ(Complete("vantrell netconf 10.0.0.1 --mode d"), "dhcp");
  EXPECT_EQ(Complete("vantrell help set"), "set-default");
  EXPECT_EQ(Complete("vantrell --ver"), "--version");
  EXPECT_EQ(Complete("vantrell web 10.0.0.1 --no"), "--no-open");
  EXPECT_EQ(Complete("vantrell --password-file /proc/self/statu"), "/proc/self/status");
  EXPECT_EQ(Complete("vantrell import /proc/self/statu"), "/proc/self/status");
  EXPECT_EQ(Complete("vantrell info "), "");
}

TEST(Completion, ZshScriptListsEveryCommandAndOption) {
  const std::string script = ZshCompletionScript();
  EXPECT_TRUE(script.starts_with("#compdef vantrell\n"));
  for (const CommandHelp& command : CommandHelpTable()) {
    EXPECT_TRUE(Contains(script, "    '" + std::string(command.name) + ":")) << command.name;
  }
  EXPECT_TRUE(Contains(script,
                       "'*--interface=[search only on the IPv4 addresses of this "
                       "interface (repeatable)]:name:_net_interfaces'"));
  EXPECT_TRUE(Contains(script,
                       "'--mode=[address mode\\: off (fixed address), dhcp or "
                       "bootp]:mode:(off dhcp bootp)'"));
  EXPECT_TRUE(Contains(script,
                       "'--new-password-file=[read the new password from the first "
                       "line of FILE]:file:_files'"));
  EXPECT_TRUE(Contains(script, "'unlock:check --password against a switch'"));

  // zsh itself parses it (scripts/setup.sh installs zsh).
  char path[] = "/tmp/vantrell-zsh-completion-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  std::ofstream(path) << script;
  const int status = std::system(("zsh -n " + std::string(path) + " 2>&1").c_str());
  std::remove(path);
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace vantrell
