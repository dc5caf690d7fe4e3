#include "cli/options.h"

#include <algorithm>
#include <array>

namespace vantrell {
namespace {

constexpr std::array<const char*, 11> kCommands = {"search",  "info",   "unlock", "passwd",
                                                   "netconf", "export", "import", "set-default",
                                                   "upgrade", "web",    "cleanup"};

constexpr OptionSpec kOptions[] = {
    {"--interface", "NAME", nullptr, "search only on this interface (repeatable)"},
    {"--password", "PW", nullptr, "login password of the selected switches ('-': ask for it)"},
    {"--password-file", "FILE", nullptr, "read the login password from the first line of FILE"},
    {"--kavex-user", "U", nullptr, "web user name of the selected video servers"},
    {"--kavex-password", "P", nullptr, "web password of the selected video servers ('-': ask)"},
    {"--kavex-password-file", "FILE", nullptr, "read the video-server password from FILE"},
    {"--yes", nullptr, nullptr, "answer Yes/OK to confirmations"},
    {"--json", nullptr, nullptr, "machine-readable output"},
    {"--quiet", nullptr, nullptr, "no progress on stderr"},
    {"--help", nullptr, nullptr, "show the usage"},
    {"--ip", "ADDR", "search netconf", "the address to search, or the new IP address"},
    {"--netmask", "ADDR", "netconf", "the new netmask"},
    {"--gateway", "ADDR", "netconf", "the new gateway"},
    {"--dns1", "ADDR", "netconf", "the new first DNS server"},
    {"--dns2", "ADDR", "netconf", "the new second DNS server"},
    {"--mode", "MODE", "netconf", "the address mode: off, dhcp or bootp"},
    {"--new", "NEW", "passwd", "the new password ('-': ask for it)"},
    {"--new-password-file", "FILE", "passwd", "read the new password from FILE"},
    {"--no-open", nullptr, "web", "only print the URL"},
};

/// Splits "--name=value" into its parts.
std::pair<std::string, std::optional<std::string>> SplitOption(const std::string& word) {
  const auto equals = word.find('=');
  if (equals == std::string::npos) return {word, std::nullopt};
  return {word.substr(0, equals), word.substr(equals + 1)};
}

bool IsCommand(const std::string& word) {
  return std::find(kCommands.begin(), kCommands.end(), word) != kCommands.end();
}

/// Stores a flag; global flags have fields of their own.
void TakeFlag(CliOptions& options, const std::string& name) {
  if (name == "--yes")
    options.yes = true;
  else if (name == "--json")
    options.json = true;
  else if (name == "--quiet")
    options.quiet = true;
  else if (name == "--help")
    options.help = true;
  else if (std::find(options.flags.begin(), options.flags.end(), name) == options.flags.end())
    options.flags.push_back(name);
}

/// Stores an option's value; the secrets stay as given until ResolveSecrets.
void TakeValue(CliOptions& options, const OptionSpec& spec, const std::string& value) {
  const std::string name = spec.name;
  if (name == "--interface")
    options.interfaces.push_back(value);
  else if (name == "--kavex-user")
    options.kavexUser = value;
  else if (!spec.commands)
    options.secrets[name] = value;
  else
    options.values[name] = value;
}

}  // namespace

std::span<const OptionSpec> OptionTable() { return kOptions; }

const OptionSpec* FindOption(const std::string& name) {
  const std::string wanted = name == "-h" ? "--help" : name;
  for (const OptionSpec& spec : kOptions) {
    if (wanted == spec.name) return &spec;
  }
  return nullptr;
}

std::span<const char* const> CommandNames() { return kCommands; }

std::optional<std::string> CliOptions::Value(const std::string& name) const {
  const auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

bool CliOptions::Flag(const std::string& name) const {
  return std::find(flags.begin(), flags.end(), name) != flags.end();
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& argv) {
  ParsedCommandLine parsed;
  parsed.json = std::find(argv.begin(), argv.end(), "--json") != argv.end();
  const auto fail = [&parsed](std::string error) {
    parsed.error = std::move(error);
    return parsed;
  };
  CliOptions options;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& word = argv[i];
    if (word.size() < 2 || word[0] != '-' || word == "--") {
      if (options.command.empty()) {
        if (!IsCommand(word)) return fail("unknown command '" + word + "'");
        options.command = word;
      } else {
        options.args.push_back(word);
      }
      continue;
    }
    const auto [name, inlineValue] = SplitOption(word);
    const OptionSpec* spec = FindOption(name);
    if (!spec) return fail("unknown option " + name);
    if (!spec->valueName) {
      if (inlineValue) return fail("option " + name + " takes no value");
      TakeFlag(options, spec->name);
      continue;
    }
    if (!inlineValue && i + 1 >= argv.size()) return fail("option " + name + " needs a value");
    TakeValue(options, *spec, inlineValue ? *inlineValue : argv[++i]);
  }
  if (options.command.empty() && !options.help) return fail("no command given");
  parsed.options = std::move(options);
  return parsed;
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
         "  export DEVICE FILE            export the configuration ('-': to stdout)\n"
         "  import FILE DEVICE...         import a configuration file\n"
         "  set-default DEVICE...         send Set Default\n"
         "  upgrade FILE DEVICE...        upgrade the firmware\n"
         "  web DEVICE [--no-open]        open the web console\n"
         "  cleanup                       remove what ended runs left in the ARP and route tables\n"
         "\n"
         "global options:\n"
         "  --interface NAME   search only on this interface (repeatable)\n"
         "  --password PW      login password of the selected switches\n"
         "  --password-file FILE   the same from the first line of FILE\n"
         "  --kavex-user U, --kavex-password P   video-server credentials\n"
         "  --kavex-password-file FILE   the video-server password from FILE\n"
         "  --yes              answer Yes/OK to confirmations\n"
         "  --json             machine-readable output\n"
         "  --quiet            no progress on stderr\n"
         "\n"
         "A password option given as '-' is read from the terminal without echo.\n"
         "VANTRELL_PASSWORD, VANTRELL_NEW_PASSWORD and VANTRELL_KAVEX_PASSWORD stand in\n"
         "for --password, --new and --kavex-password.\n"
         "\n"
         "DEVICE is a MAC address (00:11:22:aa:bb:cc or 00-11-22-AA-BB-CC) or an IPv4 address.\n";
}

}  // namespace vantrell
