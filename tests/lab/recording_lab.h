#pragma once
/// A lab whose simulator records every request a device receives
/// (vantrell-sim --record), for tests that assert what each device got
/// during one command. One lab per test process, named PREFIX<pid>.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
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

/// The one lab of a test process, brought up at its first use and taken
/// down once every test has run (a gtest environment).
class SharedLab : public testing::Environment {
 public:
  SharedLab(std::string prefix, std::string scenarioPath)
      : prefix_(std::move(prefix)), scenarioPath_(std::move(scenarioPath)) {}
  RecordingLab& lab() {
    if (!lab_) lab_ = std::make_unique<RecordingLab>(prefix_, scenarioPath_);
    return *lab_;
  }
  void TearDown() override {
    if (lab_) lab_->Down();
  }

 private:
  std::string prefix_;
  std::string scenarioPath_;
  std::unique_ptr<RecordingLab> lab_;
};

/// The shared lab of this test process, once AddSharedLab has registered it.
inline SharedLab* theSharedLab = nullptr;

/// Registers the shared lab "PREFIX<pid>" of this test process; call it once
/// while the process starts (a namespace-scope constant).
inline SharedLab* AddSharedLab(const std::string& prefix, const std::string& scenarioPath) {
  theSharedLab = new SharedLab(prefix, scenarioPath);
  testing::AddGlobalTestEnvironment(theSharedLab);
  return theSharedLab;
}

/// The lab of this test process (AddSharedLab).
inline RecordingLab& TheLab() { return theSharedLab->lab(); }

/// Fixture of the tests on the process's shared lab: skipped when this
/// process cannot make namespaces, failed when the lab did not come up.
class SharedLabTest : public testing::Test {
 protected:
  void SetUp() override {
    RecordingLab& lab = TheLab();
    if (!lab.skipReason().empty()) GTEST_SKIP() << lab.skipReason();
    ASSERT_EQ(lab.upError(), "");
  }
  static CommandRun Run(const std::vector<std::string>& args) { return TheLab().Run(args); }
};

// Reading the simulator's record: one JSON object per request a device got.

/// The string `key` of a record line, or "<no text>".
std::string Text(const nlohmann::json& line, const char* key);
/// The request's opcode, or -1.
int Opcode(const nlohmann::json& line);
/// The line's time stamp in seconds, or -1.
double Time(const nlohmann::json& line);
std::vector<int> Opcodes(const std::vector<nlohmann::json>& lines);
/// Every record line of one device, by the "mac" the simulator wrote.
std::vector<nlohmann::json> LinesOf(const std::vector<nlohmann::json>& lines,
                                    const std::string& mac);
/// The record lines of one device that carry an opcode.
std::vector<nlohmann::json> RequestsOf(const std::vector<nlohmann::json>& lines,
                                       const std::string& mac);
/// The first record line with `opcode`, or an empty object.
nlohmann::json First(const std::vector<nlohmann::json>& lines, int opcode);
/// The block of the first 0x09 request (without its 3-byte head), or "".
std::string StoredBlock(const std::vector<nlohmann::json>& lines);
/// The lines, one per line of text, for failure messages.
std::string Dump(const std::vector<nlohmann::json>& lines);

/// Lower-case hex digits of `bytes`.
std::string Hex(std::string_view bytes);
/// The bytes of hex digits.
std::string Unhex(std::string_view text);
/// MD5 of `bytes` (16 raw bytes), computed independently of the configurator.
std::string Md5(std::string_view bytes);
/// True when `text` contains `piece`.
bool Has(std::string_view text, std::string_view piece);

}  // namespace vantrell::lab
