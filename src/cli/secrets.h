#pragma once
/// Where the passwords of a run come from, so that none has to stand on
/// the command line (where every local user sees it in `ps`): an option
/// (--password PW, --password-file FILE, or '-' to ask for it), else the
/// environment (VANTRELL_PASSWORD, VANTRELL_NEW_PASSWORD,
/// VANTRELL_KAVEX_PASSWORD).

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"

namespace vantrell {

/// A password of the devices: at most this many bytes, as the switches'
/// password fields and the window's password boxes hold.
inline constexpr std::size_t kDevicePasswordLimit = 16;

/// What the resolution reads besides the options.
struct SecretSources {
  /// The environment variable, or nothing when it is not set.
  std::function<std::optional<std::string>(const char* name)> environment;
  /// Asks for a secret ("Password: ") on the terminal without echo, or
  /// reads the next line of stdin when it is not a terminal; nothing at end
  /// of input.
  std::function<std::optional<std::string>(const std::string& prompt)> ask;
  /// The first line of a secret file, or a message naming the file when it
  /// cannot be read or other users may read it.
  std::function<std::optional<std::string>(const std::string& path, std::string& error)> readFile;
};

/// The sources of this process: getenv, the terminal, the file system.
SecretSources SystemSecretSources();

struct SecretResolution {
  std::optional<std::string> error;   ///< a usage error: exit 2
  std::vector<std::string> warnings;  ///< one line each, shown even with --quiet
};

/// Fills options.password and options.kavexPassword from their options or
/// the environment, and the value of --new (from --new, --new-password-file
/// or VANTRELL_NEW_PASSWORD), which is then the only one of the two left.
/// A secret given as a plain argument works and earns a warning.
SecretResolution ResolveSecrets(CliOptions& options, const SecretSources& sources);

/// The first line of `text`, without its line end (LF or CR LF).
std::string FirstLine(const std::string& text);

/// Reads the first line of a secret file: refused when it is not a regular
/// file or group or others may read it (as ssh refuses such keys).
std::optional<std::string> ReadSecretFile(const std::string& path, std::string& error);

}  // namespace vantrell
