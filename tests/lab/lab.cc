#include "lab.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <regex>
#include <set>

extern char** environ;

namespace vantrell::lab {
namespace {

constexpr const char* kLabScript = VANTRELL_LAB_SCRIPT;
constexpr const char* kNamespaceDir = "/run/netns";
constexpr const char* kLabStateDir = "/run/vantrell-lab";

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

bool ProcessAlive(pid_t pid) { return kill(pid, 0) == 0 || errno != ESRCH; }

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv) {
  CommandResult result;
  int pipeEnds[2];
  if (argv.empty() || pipe2(pipeEnds, O_CLOEXEC) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  pid_t pid = 0;
  std::vector<char*> args = ArgvPointers(argv);
  const int spawnError = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawnError != 0) {
    close(pipeEnds[0]);
    result.exitCode = 127;
    return result;
  }
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
    if (got > 0) {
      result.out.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = ExitCodeOf(status);
  return result;
}

std::string WhyNoNamespaces() {
  if (geteuid() != 0) return "network namespaces need root; run the lab tests as root";
  const std::string probe = "vtl" + std::to_string(getpid()) + "-probe";
  const CommandResult added = RunCommand({"ip", "netns", "add", probe});
  if (added.exitCode == 127) return "the ip command (iproute2) is missing";
  if (added.exitCode != 0) return "'ip netns add' fails here (no namespace support)";
  RunCommand({"ip", "netns", "del", probe});
  return "";
}

void RemoveLabsOfEndedProcesses(const std::string& prefix) {
  const std::regex kLabEntry(prefix + "([0-9]{1,7})(-ws|-dev|-probe)?");
  std::set<std::string> staleLabs;
  std::set<std::string> staleProbes;
  for (const char* dir : {kNamespaceDir, kLabStateDir}) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
      std::smatch match;
      const std::string fileName = entry.path().filename().string();
      if (!std::regex_match(fileName, match, kLabEntry)) continue;
      if (ProcessAlive(static_cast<pid_t>(std::stol(match[1].str())))) continue;
      if (match[2] == "-probe") {
        staleProbes.insert(fileName);
      } else {
        staleLabs.insert(prefix + match[1].str());
      }
    }
  }
  for (const std::string& name : staleLabs) RunCommand({kLabScript, "down", name});
  for (const std::string& probe : staleProbes) RunCommand({"ip", "netns", "del", probe});
}

Lab::Lab() : name_("vtl" + std::to_string(getpid())) {}

Lab::~Lab() { Down(); }

std::string Lab::Up(const std::string& scenarioPath, const std::string& simulatorPath) {
  RunCommand({kLabScript, "down", name_});
  up_ = true;
  const CommandResult result = RunCommand({kLabScript, "up", name_, scenarioPath, simulatorPath});
  if (result.exitCode != 0) {
    Down();
    return "scripts/lab.sh up " + name_ + " failed with exit code " +
           std::to_string(result.exitCode) + " (its messages are on stderr)";
  }
  return "";
}

void Lab::Down() {
  if (!up_) return;
  RunCommand({kLabScript, "down", name_});
  up_ = false;
}

CommandResult Lab::Exec(const std::vector<std::string>& argv, int limitSeconds) const {
  std::vector<std::string> command = {
      kLabScript, "exec", name_, "timeout", "-k", "5", std::to_string(limitSeconds)};
  command.insert(command.end(), argv.begin(), argv.end());
  return RunCommand(command);
}

}  // namespace vantrell::lab
