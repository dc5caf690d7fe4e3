#include "cli/options.h"

#include <algorithm>
#include <array>

namespace vantrell {
namespace {

constexpr std::array<const char*, 16> kCommands = {
    "search",  "info",   "unlock",  "passwd", "netconf",  "export",  "import", "set-default",
    "upgrade", "web",    "backup",  "restore", "diff",    "validate", "cleanup", "help"};

/// The commands that take devices, and with them the fleet selection.
constexpr const char* kDeviceCommands =
    "info unlock passwd netconf export import set-default upgrade web backup restore";

constexpr OptionSpec kOptions[] = {
    {"--interface", "NAME", nullptr},
    {"--password", "PW", nullptr},
    {"--password-file", "FILE", nullptr},
    {"--kavex-user", "U", nullptr},
    {"--kavex-password", "P", nullptr},
    {"--kavex-password-file", "FILE", nullptr},
    {"--yes", nullptr, nullptr},
    {"--json", nullptr, nullptr},
    {"--quiet", nullptr, nullptr},
    {"--help", nullptr, nullptr},
    {"--version", nullptr, nullptr},
    {"--ip", "ADDR", "search netconf"},
    {"--csv", nullptr, "search"},
    {"--netmask", "ADDR", "netconf"},
    {"--gateway", "ADDR", "netconf"},
    {"--dns1", "ADDR", "netconf"},
    {"--dns2", "ADDR", "netconf"},
    {"--mode", "MODE", "netconf"},
    {"--new", "NEW", "passwd"},
    {"--new-password-file", "FILE", "passwd"},
    {"--no-open", nullptr, "web"},
    {"--keep-address", nullptr, "import"},
    {"--firmware", "X.Y.Z", "validate"},
    {"--all", nullptr, kDeviceCommands},
    {"--model", "GLOB", kDeviceCommands},
    {"--subnet", "CIDR", kDeviceCommands},
    {"--from", "FILE", kDeviceCommands},
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
  else if (name == "--version")
    options.version = true;
  else if (std::find(options.flags.begin(), options.flags.end(), name) == options.flags.end())
    options.flags.push_back(name);
}

/// Stores an option's value; the secrets stay as given until ResolveSecrets.
void TakeValue(CliOptions& options, const OptionSpec& declared, const std::string& value) {
  const std::string name = declared.name;
  if (name == "--interface")
    options.interfaces.push_back(value);
  else if (name == "--kavex-user")
    options.kavexUser = value;
  else if (!declared.commands)
    options.secrets[name] = value;
  else
    options.values[name] = value;
}

}  // namespace

std::span<const OptionSpec> OptionTable() { return kOptions; }

const OptionSpec* FindOption(const std::string& name) {
  const std::string wanted = name == "-h" ? "--help" : name;
  for (const OptionSpec& declared : kOptions) {
    if (wanted == declared.name) return &declared;
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
    const OptionSpec* declared = FindOption(name);
    if (!declared) return fail("unknown option " + name);
    if (!declared->valueName) {
      if (inlineValue) return fail("option " + name + " takes no value");
      TakeFlag(options, declared->name);
      continue;
    }
    if (!inlineValue && i + 1 >= argv.size()) return fail("option " + name + " needs a value");
    TakeValue(options, *declared, inlineValue ? *inlineValue : argv[++i]);
  }
  if (options.command.empty() && !options.help && !options.version) {
    return fail("no command given");
  }
  parsed.options = std::move(options);
  return parsed;
}

}  // namespace vantrell
