#pragma once
/// A lab whose simulator records every request a device receives
/// (vantrell-sim --record), for tests that assert what each device got
/// during one command. One lab per test process, named PREFIX<pid>.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "lab.h"

namespace vantrell::lab {

/// One `vantrell` run on the workstation.
struct CommandRun {
  int exitCode = -1;
  std::string out;
  std::string err;
  /// The record lines the simulator wrote during the run, in order.
  std::vector<nlohmann::json> received;
};

/// The whole content of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);

class RecordingLab {
 public:
  /// Brings the lab up at once (skipReason() or upError() tell why not).
  RecordingLab(const std::string& prefix, const std::string& scenarioPath);
  ~RecordingLab() { Down(); }
  RecordingLab(const RecordingLab&) = delete;
  RecordingLab& operator=(const RecordingLab&) = delete;

  const std::string& skipReason() const { return skipReason_; }
  const std::string& upError() const { return upError_; }
  const std::string& name() const { return name_; }
  const std::string& workDir() const { return workDir_; }

  /// `vantrell --quiet ARGS` on the workstation, stderr captured, bounded.
  CommandRun Run(const std::vector<std::string>& args, int limitSeconds = 90);
  /// argv in the workstation namespace, bounded.
  CommandResult Exec(const std::vector<std::string>& argv, int limitSeconds = 60) const;
  /// argv in the device namespace; true when it exited 0.
  bool DevExec(const std::vector<std::string>& argv) const;
  /// Removes the lab and its work folder; harmless when already down.
  void Down();

 private:
  std::vector<nlohmann::json> NewRecordLines();

  std::string name_;
  std::string skipReason_;
  std::string upError_;
  std::string workDir_;
  std::string recordPath_;
  std::string errPath_;
  std::size_t recordOffset_ = 0;
  bool up_ = false;
};

}  // namespace vantrell::lab
