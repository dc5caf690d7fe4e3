#pragma once
/// A network lab for end-to-end tests: two network namespaces made by
/// scripts/lab.sh, the device simulator in one, commands of the workstation
/// run in the other. Each test process owns one lab named "vtl<pid>", so
/// test binaries may run side by side.

#include <string>
#include <vector>

namespace vantrell::lab {

struct CommandResult {
  int exitCode = -1;  ///< exit status, or 128 + signal number
  std::string out;    ///< everything the command wrote to stdout
};

/// Runs argv[0] (looked up on PATH) with stdout captured; stderr goes to the
/// test's own stderr.
CommandResult RunCommand(const std::vector<std::string>& argv);

/// Empty when this process can create network namespaces; otherwise the
/// reason why it cannot.
std::string WhyNoNamespaces();

/// Removes the labs "PREFIX<pid>" whose process has ended (a killed test run
/// leaves its lab behind).
void RemoveLabsOfEndedProcesses(const std::string& prefix = "vtl");

class Lab {
 public:
  Lab();
  ~Lab();
  Lab(const Lab&) = delete;
  Lab& operator=(const Lab&) = delete;

  /// Brings the lab up with the scenario and the simulator; removes any
  /// leftover lab of the same name first. Empty on success, else the error.
  std::string Up(const std::string& scenarioPath, const std::string& simulatorPath);
  /// Removes the lab; harmless when it is not up.
  void Down();
  /// Runs argv inside the workstation namespace, bounded to `limitSeconds`.
  CommandResult Exec(const std::vector<std::string>& argv, int limitSeconds = 120) const;

  const std::string& name() const { return name_; }

 private:
  std::string name_;
  bool up_ = false;
};

}  // namespace vantrell::lab
