#include "cli/secrets.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "platform/interrupt_exit.h"

namespace vantrell {
namespace {

/// A secret file is read up to this many bytes; its first line is the secret.
constexpr std::size_t kSecretFileLimit = 4096;

/// One secret and the three ways to give it.
struct SecretKind {
  const char* option;      ///< the value itself, or '-'
  const char* fileOption;  ///< a file holding it
  const char* variable;    ///< the environment variable
  const char* prompt;      ///< asked with '-'
  /// Only the command that uses it takes it from the environment; nullptr:
  /// every command.
  const char* command;
  /// Longer secrets are refused here (the video-server credentials are
  /// checked with the user name, KavexOptionsRefusal).
  bool limited;
};

constexpr SecretKind kPassword = {"--password", "--password-file", "VANTRELL_PASSWORD",
                                  "Password: ", nullptr,           true};
constexpr SecretKind kKavexPassword = {"--kavex-password",
                                       "--kavex-password-file",
                                       "VANTRELL_KAVEX_PASSWORD",
                                       "Video-server password: ",
                                       nullptr,
                                       false};
constexpr SecretKind kNewPassword = {
    "--new", "--new-password-file", "VANTRELL_NEW_PASSWORD", "New password: ", "passwd", true};

std::optional<std::string> Take(std::map<std::string, std::string>& given, const char* name) {
  const auto it = given.find(name);
  if (it == given.end()) return std::nullopt;
  std::string value = it->second;
  given.erase(it);
  return value;
}

std::string ArgumentWarning(const SecretKind& kind) {
  return std::string("vantrell: warning: ") + kind.option +
         " on the command line can be read by other local users; use " + kind.variable + ", " +
         kind.fileOption + " FILE or " + kind.option + " -";
}

/// The secret of `kind` from `given` (the option map that holds it) or the
/// environment; nothing when none was given. Errors and warnings go into
/// `result`.
std::optional<std::string> ResolveOne(const SecretKind& kind,
                                      std::map<std::string, std::string>& given,
                                      const std::string& command, const SecretSources& sources,
                                      SecretResolution& result) {
  const auto argument = Take(given, kind.option);
  const auto file = Take(given, kind.fileOption);
  if (argument && file) {
    result.error = std::string("give only one of ") + kind.option + " and " + kind.fileOption;
    return std::nullopt;
  }
  std::optional<std::string> secret;
  std::string source = kind.option;
  if ((argument && *argument == "-") || (file && *file == "-")) {
    secret = sources.ask(kind.prompt);
    if (!secret) result.error = std::string("no password read for ") + kind.option;
  } else if (argument) {
    secret = argument;
    // An empty password gives nothing away.
    if (!argument->empty()) result.warnings.push_back(ArgumentWarning(kind));
  } else if (file) {
    std::string error;
    secret = sources.readFile(*file, error);
    if (!secret) result.error = error;
    source = kind.fileOption;
  } else if (!kind.command || command == kind.command) {
    secret = sources.environment(kind.variable);
    source = kind.variable;
  }
  if (secret && kind.limited && secret->size() > kDevicePasswordLimit) {
    result.error =
        source + " is longer than " + std::to_string(kDevicePasswordLimit) + " characters";
    return std::nullopt;
  }
  return result.error ? std::nullopt : secret;
}

/// Reads one line from the terminal on stdin with echo off.
std::optional<std::string> ReadWithoutEcho(const std::string& prompt) {
  std::cerr << prompt << std::flush;
  termios saved{};
  const bool quiet = tcgetattr(STDIN_FILENO, &saved) == 0;
  int restoreOnInterrupt = -1;
  if (quiet) {
    termios silent = saved;
    silent.c_lflag &= static_cast<tcflag_t>(~ECHO);
    // Ctrl-C at the prompt ends the program: give the echo back first.
    restoreOnInterrupt =
        AddInterruptStep([saved] { tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved); });
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
  }
  std::string line;
  const bool read = static_cast<bool>(std::getline(std::cin, line));
  if (quiet) {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    RemoveInterruptStep(restoreOnInterrupt);
  }
  std::cerr << "\n";
  if (!read) return std::nullopt;
  return FirstLine(line);
}

std::optional<std::string> AskOrReadStdin(const std::string& prompt) {
  if (isatty(STDIN_FILENO)) return ReadWithoutEcho(prompt);
  std::string line;
  if (!std::getline(std::cin, line)) return std::nullopt;
  return FirstLine(line);
}

}  // namespace

std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::optional<std::string> ReadSecretFile(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot read password file " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  struct stat status {};
  std::string text;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    error = "password file " + path + " is not a regular file";
  } else if (status.st_mode & (S_IRGRP | S_IROTH)) {
    error = "password file " + path +
            " can be read by group or others: make it private (chmod 600 " + path + ")";
  } else {
    char buffer[kSecretFileLimit];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      error = "cannot read password file " + path + ": " + std::strerror(errno);
    } else {
      text.assign(buffer, static_cast<std::size_t>(got));
    }
  }
  ::close(fd);
  if (!error.empty()) return std::nullopt;
  return FirstLine(text);
}

SecretSources SystemSecretSources() {
  return {[](const char* name) -> std::optional<std::string> {
            const char* value = std::getenv(name);
            if (!value) return std::nullopt;
            return std::string(value);
          },
          AskOrReadStdin, ReadSecretFile};
}

SecretResolution ResolveSecrets(CliOptions& options, const SecretSources& sources) {
  SecretResolution result;
  if (const auto password =
          ResolveOne(kPassword, options.secrets, options.command, sources, result)) {
    options.password = *password;
  }
  if (result.error) return result;
  if (const auto kavex =
          ResolveOne(kKavexPassword, options.secrets, options.command, sources, result)) {
    options.kavexPassword = *kavex;
  }
  if (result.error) return result;
  if (const auto newPassword =
          ResolveOne(kNewPassword, options.values, options.command, sources, result)) {
    options.values[kNewPassword.option] = *newPassword;
  }
  return result;
}

}  // namespace vantrell
