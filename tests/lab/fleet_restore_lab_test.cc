// diff and restore against the 50 simulated devices of the fleet scenario
// (scripts/lab/fleet-test.json): a backup of every device, three devices
// changed by importing an edited copy of their own file, diff naming exactly
// the changed setting, and restore bringing every device back while the
// unchanged ones are left alone.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/fleet-test.json";

[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab("vtrs", kScenario);

constexpr std::size_t kDevices = 50;
/// A D8, an A8 and the modular device.
const std::vector<std::string> kChanged = {"02:56:F1:00:00:01", "02:56:F1:00:00:03",
                                           "02:56:F1:00:00:04"};

std::string FileName(std::string mac) {
  for (char& c : mac) {
    if (c == ':') c = '-';
  }
  return mac + ".cfg";
}

/// `text` with the value of its "Location" line replaced.
std::string WithLocation(const std::string& text, const std::string& location) {
  const std::size_t key = text.find("\nLocation");
  if (key == std::string::npos) return "";
  std::size_t value = text.find_first_not_of(" \t", key + 9);
  const std::size_t end = text.find_first_of("\r\n", value);
  return text.substr(0, value) + location + text.substr(end);
}

std::string OldLocation(const std::string& text) {
  const std::size_t key = text.find("\nLocation");
  const std::size_t value = text.find_first_not_of(" \t", key + 9);
  return text.substr(value, text.find_first_of("\r\n", value) - value);
}

class RestoreLab : public SharedLabTest {
 protected:
  std::string KavexPasswordFile() {
    const std::string path = TheLab().workDir() + "/kavex";
    std::ofstream(path) << "kavex1\n";
    chmod(path.c_str(), 0600);
    return path;
  }
  std::vector<std::string> Kavex() {
    return {"--kavex-user", "admin", "--kavex-password-file", KavexPasswordFile()};
  }
  std::vector<std::string> With(std::vector<std::string> args) {
    std::vector<std::string> all = Kavex();
    all.insert(all.end(), args.begin(), args.end());
    return all;
  }
};

TEST_F(RestoreLab, DiffNamesTheChangeAndRestoreBringsEveryDeviceBack) {
  const std::string before = TheLab().workDir() + "/before";
  const CommandRun backup = Run(With({"backup", before, "--all"}));
  ASSERT_EQ(backup.exitCode, 0) << backup.out << backup.err;

  // Three devices changed through import of an edited copy of their own file.
  for (const std::string& mac : kChanged) {
    const std::string original = ReadFile(before + "/" + FileName(mac));
    const std::string edited = WithLocation(original, "Restore test");
    ASSERT_FALSE(edited.empty()) << mac;
    const std::string path = TheLab().workDir() + "/edited.cfg";
    std::ofstream(path, std::ios::binary) << edited;
    const CommandRun import = Run(With({"--yes", "import", path, mac}));
    ASSERT_EQ(import.exitCode, 0) << mac << import.out << import.err;

    const CommandRun diff = Run(With({"diff", mac, before + "/" + FileName(mac)}));
    EXPECT_EQ(diff.exitCode, 1) << mac << diff.err;
    EXPECT_EQ(diff.out, "Location\tRestore test\t" + OldLocation(original) + "\n") << mac;
    EXPECT_TRUE(diff.received.size() > 0);
  }
  // A file compared with itself: nothing sent, equal.
  const std::string own = before + "/" + FileName(kChanged[0]);
  const CommandRun same = Run({"diff", own, own});
  EXPECT_EQ(same.exitCode, 0);
  EXPECT_EQ(same.out, "");
  EXPECT_TRUE(same.received.empty());

  // Without --yes nothing is stored.
  const CommandRun dry = Run(With({"restore", before, "--all"}));
  EXPECT_EQ(dry.exitCode, 1);
  for (const nlohmann::json& line : dry.received) {
    EXPECT_NE(Opcode(line), 0x09) << line.dump();
    EXPECT_NE(Opcode(line), 0x1F) << line.dump();
  }

  const CommandRun restore = TheLab().Run(With({"--yes", "restore", before, "--all"}), 600);
  EXPECT_EQ(restore.exitCode, 0) << restore.out << restore.err;
  std::set<std::string> unchanged, restored, diffLines;
  for (const std::string& line : [&] {
         std::vector<std::string> lines;
         std::size_t start = 0;
         while (start < restore.out.size()) {
           const std::size_t end = restore.out.find('\n', start);
           lines.push_back(restore.out.substr(start, end - start));
           start = end + 1;
         }
         return lines;
       }()) {
    const std::string mac = line.substr(0, 17);
    const std::string rest = line.substr(18);
    if (rest == "Unchanged") {
      unchanged.insert(mac);
    } else if (rest == "Import Success") {
      restored.insert(mac);
    } else {
      diffLines.insert(line);
    }
  }
  EXPECT_EQ(restored, std::set<std::string>(kChanged.begin(), kChanged.end()));
  EXPECT_EQ(unchanged.size(), kDevices - kChanged.size());
  std::set<std::string> expectedDiff;
  for (const std::string& mac : kChanged) {
    expectedDiff.insert(mac + "\tLocation\tRestore test\t" +
                        OldLocation(ReadFile(before + "/" + FileName(mac))));
  }
  EXPECT_EQ(diffLines, expectedDiff);
  // Only the changed devices got a configuration.
  for (const nlohmann::json& line : restore.received) {
    if (Opcode(line) != 0x09 && Opcode(line) != 0x1F) continue;
    EXPECT_TRUE(restored.contains(Text(line, "mac"))) << line.dump();
  }

  // Byte for byte: a second backup equals the first.
  const std::string after = TheLab().workDir() + "/after";
  ASSERT_EQ(Run(With({"backup", after, "--all"})).exitCode, 0);
  std::size_t compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(before)) {
    if (entry.path().extension() != ".cfg") continue;
    EXPECT_EQ(ReadFile(entry.path()), ReadFile(after + "/" + entry.path().filename().string()))
        << entry.path();
    ++compared;
  }
  EXPECT_EQ(compared, kDevices);
}

}  // namespace
}  // namespace vantrell::lab
