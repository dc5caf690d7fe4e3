#include "cli/browser.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace vantrell {
namespace {

constexpr const char* kOpener = "xdg-open";

/// The spawn's attributes and file actions, released with it.
struct SpawnSetup {
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    // The command line may ignore or block signals; the browser must not inherit that.
    sigset_t handled;
    sigemptyset(&handled);
    for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD}) {
      sigaddset(&handled, signal);
    }
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &handled);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
};

}  // namespace

BrowserStart StartBrowser(const std::string& url, bool asRoot) {
  if (asRoot) {
    return {false, "running as root: no browser is started; open " + url + " as your own user"};
  }
  SpawnSetup setup;
  std::string program = kOpener;
  std::string argument = url;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t child = 0;
  const int rc = posix_spawnp(&child, kOpener, &setup.actions, &setup.attributes, argv, environ);
  if (rc == ENOENT) return {false, "xdg-open is not installed: open " + url + " in a browser"};
  if (rc != 0) return {true, std::string("cannot start xdg-open: ") + std::strerror(rc)};
  return {};
}

}  // namespace vantrell
