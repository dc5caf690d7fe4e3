#include "cli/options.h"

#include <algorithm>
#include <set>

namespace vantrell {
namespace {

const std::set<std::string> kCommands = {"search", "info",  "unlock",      "passwd",  "netconf",
                                         "export", "import", "set-default", "upgrade", "web"};

/// Options of the commands that take a value.
const std::set<std::string> kValueOptions = {"--ip",    "--new",  "--netmask", "--gateway",
                                             "--dns1",  "--dns2", "--mode"};
const std::set<std::string> kFlagOptions = {"--no-open"};

/// Splits "--name=value" into its parts.
std::pair<std::string, std::optional<std::string>> SplitOption(const std::string& word) {
  const auto equals = word.find('=');
  if (equals == std::string::npos) return {word, std::nullopt};
  return {word.substr(0, equals), word.substr(equals + 1)};
}

}  // namespace

std::optional<std::string> CliOptions::Value(const std::string& name) const {
  const auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

bool CliOptions::Flag(const std::string& name) const {
  return std::find(flags.begin(), flags.end(), name) != flags.end();
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& argv) {
  CliOptions options;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& word = argv[i];
    if (word.size() < 2 || word[0] != '-' || word == "--") {
      if (options.command.empty()) {
        if (!kCommands.count(word)) return {std::nullopt, "unknown command '" + word + "'"};
        options.command = word;
      } else {
        options.args.push_back(word);
      }
      continue;
    }
    auto [name, inlineValue] = SplitOption(word);
    auto takeValue = [&]() -> std::optional<std::string> {
      if (inlineValue) return inlineValue;
      if (i + 1 >= argv.size()) return std::nullopt;
      return argv[++i];
    };
    if (name == "--yes" || name == "--json" || name == "--quiet" || name == "--help" ||
        name == "-h" || kFlagOptions.count(name)) {
      if (inlineValue) return {std::nullopt, "option " + name + " takes no value"};
      if (name == "--yes") options.yes = true;
      else if (name == "--json") options.json = true;
      else if (name == "--quiet") options.quiet = true;
      else if (name == "--help" || name == "-h") options.help = true;
      else options.flags.push_back(name);
      continue;
    }
    const bool global = name == "--interface" || name == "--password" ||
                        name == "--kavex-user" || name == "--kavex-password";
    if (!global && !kValueOptions.count(name)) {
      return {std::nullopt, "unknown option " + name};
    }
    const auto value = takeValue();
    if (!value) return {std::nullopt, "option " + name + " needs a value"};
    if (name == "--interface") options.interfaces.push_back(*value);
    else if (name == "--password") options.password = *value;
    else if (name == "--kavex-user") options.kavexUser = *value;
    else if (name == "--kavex-password") options.kavexPassword = *value;
    else options.values[name] = *value;
  }
  if (options.command.empty() && !options.help) return {std::nullopt, "no command given"};
  return {options, {}};
}

const char* UsageText() {
  return "usage: vantrell [GLOBAL OPTIONS] COMMAND [ARGS]\n"
         "\n"
         "commands:\n"
         "  search [--ip ADDR]            list the devices on the network\n"
         "  info DEVICE                   show one device's details\n"
         "  unlock DEVICE                 unlock with --password\n"
         "  passwd DEVICE --new NEW       change the password\n"
         "  netconf DEVICE [--ip A] [--netmask A] [--gateway A] [--dns1 A] [--dns2 A]\n"
         "          [--mode off|dhcp|bootp]\n"
         "  export DEVICE FILE            export the configuration\n"
         "  import FILE DEVICE...         import a configuration file\n"
         "  set-default DEVICE...         send Set Default\n"
         "  upgrade FILE DEVICE...        upgrade the firmware\n"
         "  web DEVICE [--no-open]        open the web console\n"
         "\n"
         "global options:\n"
         "  --interface NAME   search only on this interface (repeatable)\n"
         "  --password PW      login password of the selected switches\n"
         "  --kavex-user U, --kavex-password P   video-server credentials\n"
         "  --yes              answer Yes/OK to confirmations\n"
         "  --json             machine-readable output\n"
         "  --quiet            no progress on stderr\n"
         "\n"
         "DEVICE is a MAC address (00:11:22:aa:bb:cc or 00-11-22-AA-BB-CC) or an IPv4 address.\n";
}

}  // namespace vantrell
