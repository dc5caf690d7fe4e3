#include "recording_lab.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vantrell::lab {
namespace {

constexpr const char* kCli = VANTRELL_CLI;
constexpr const char* kSimulator = VANTRELL_SIM;
constexpr const char* kLabScript = VANTRELL_LAB_SCRIPT;

}  // namespace

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

RecordingLab::RecordingLab(const std::string& prefix, const std::string& scenarioPath)
    : name_(prefix + std::to_string(getpid())) {
  skipReason_ = WhyNoNamespaces();
  if (!skipReason_.empty()) return;
  RemoveLabsOfEndedProcesses(prefix);
  std::string pattern = "/tmp/vantrell-" + name_ + "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    upError_ = "cannot create a work folder in /tmp";
    return;
  }
  workDir_ = pattern;
  recordPath_ = workDir_ + "/record.jsonl";
  errPath_ = workDir_ + "/stderr.txt";
  RunCommand({kLabScript, "down", name_});
  up_ = true;
  const CommandResult result =
      RunCommand({kLabScript, "up", name_, scenarioPath, kSimulator, "--record", recordPath_});
  if (result.exitCode != 0) {
    upError_ = "scripts/lab.sh up " + name_ + " failed with exit code " +
               std::to_string(result.exitCode) + " (its messages are on stderr)";
    Down();
  }
}

CommandRun RecordingLab::Run(const std::vector<std::string>& args, int limitSeconds) {
  std::vector<std::string> argv = {
      "sh", "-c", "err=$1; shift; exec \"$@\" 2>\"$err\"", "sh", errPath_, kCli, "--quiet"};
  argv.insert(argv.end(), args.begin(), args.end());
  const CommandResult result = Exec(argv, limitSeconds);
  CommandRun run;
  run.exitCode = result.exitCode;
  run.out = result.out;
  run.err = ReadFile(errPath_);
  run.received = NewRecordLines();
  return run;
}

CommandResult RecordingLab::Exec(const std::vector<std::string>& argv, int limitSeconds) const {
  std::vector<std::string> command = {kLabScript, "exec", name_, "timeout",
                                      "-k",       "5",    std::to_string(limitSeconds)};
  command.insert(command.end(), argv.begin(), argv.end());
  return RunCommand(command);
}

bool RecordingLab::DevExec(const std::vector<std::string>& argv) const {
  std::vector<std::string> command = {kLabScript, "devexec", name_};
  command.insert(command.end(), argv.begin(), argv.end());
  return RunCommand(command).exitCode == 0;
}

void RecordingLab::Down() {
  if (up_) RunCommand({kLabScript, "down", name_});
  up_ = false;
  if (!workDir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(workDir_, ignored);
    workDir_.clear();
  }
}

std::vector<nlohmann::json> RecordingLab::NewRecordLines() {
  const std::string text = ReadFile(recordPath_);
  std::vector<nlohmann::json> lines;
  std::size_t start = recordOffset_;
  for (std::size_t end = text.find('\n', start); end != std::string::npos;
       end = text.find('\n', start)) {
    lines.push_back(nlohmann::json::parse(text.substr(start, end - start), nullptr, false));
    start = end + 1;
  }
  recordOffset_ = start;
  return lines;
}

}  // namespace vantrell::lab
