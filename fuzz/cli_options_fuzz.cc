// Any command line: the words are the input split at NUL bytes. The parser
// and the resolution of the secrets (with sources that answer from the
// input) must end without a crash, and what they accept must be whole.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/secrets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrell;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> words;
  std::size_t start = 0;
  for (std::size_t end = 0; end <= input.size(); ++end) {
    if (end == input.size() || input[end] == '\0') {
      words.push_back(input.substr(start, end - start));
      start = end + 1;
    }
  }
  ParsedCommandLine parsed = ParseCommandLine(words);
  if (!parsed.options) {
    if (parsed.error.empty()) __builtin_trap();
    return 0;
  }
  CliOptions& options = *parsed.options;
  const auto commands = CommandNames();
  // Only --help and --version stand without a command.
  if (!options.help && !options.version &&
      std::find(commands.begin(), commands.end(), options.command) == commands.end()) {
    __builtin_trap();
  }
  const SecretSources sources{
      [&](const char*) -> std::optional<std::string> { return words.front(); },
      [&](const std::string&) -> std::optional<std::string> { return FirstLine(words.back()); },
      [&](const std::string& path, std::string& error) -> std::optional<std::string> {
        if (path.size() % 2) {
          error = "refused " + path;
          return std::nullopt;
        }
        return FirstLine(path);
      }};
  const SecretResolution resolution = ResolveSecrets(options, sources);
  if (resolution.error) return 0;
  if (!options.secrets.empty() || options.password.size() > kDevicePasswordLimit) __builtin_trap();
  if (options.Value("--new-password-file")) __builtin_trap();
  return 0;
}
