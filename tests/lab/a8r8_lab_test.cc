// End-to-end export and import of the A8/R8 family through the command line
// against the device simulator in a lab of network namespaces (scripts/lab.sh,
// scenario scripts/lab/a8r8.json): one device of each generation exports its
// configuration with `vantrell export` and takes the file back with
// `vantrell import`; the file's lines and the block the simulator received
// are checked. The GenA2 device has ports 3 and 4 in trunk group 1, so its
// file shows the management VLAN's IGMP entry as "---" and carries no VLAN
// or unicast entries: its own export must come back without error and
// without losing them.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

using nlohmann::json;

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/a8r8.json";
const std::string kGenA1BlockFile = std::string(VANTRELL_LAB_SCENARIOS) + "/a8r8-gena1.block";
const std::string kGenA2BlockFile = std::string(VANTRELL_LAB_SCENARIOS) + "/a8r8-gena2.block";

constexpr int kOpLogin = 0x00;
constexpr int kOpFetchBlock = 0x08;
constexpr int kOpStoreBlock = 0x09;
constexpr int kOpCommit = 0x0C;
constexpr int kOpChallenge = 0x14;
constexpr int kOpChangePassword = 0x15;
constexpr int kOpStoreSmtpPassword = 0x17;
constexpr int kOpFetchSmtpPassword = 0x18;

constexpr const char* kGenA1 = "02:56:58:00:00:01";  // ORV-A8-W, firmware 1.0.0.0
constexpr const char* kGenA2 = "02:56:58:00:00:02";  // ORV-A8, firmware 1.2.0.0, trunking

constexpr std::size_t kGenA1BlockSize = 8508;
constexpr std::size_t kGenA2BlockSize = 12364;
constexpr std::size_t kA8NameOffset = 224;

[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab("vtg", kScenario);

const std::vector<int> kImportOpcodes = {kOpChallenge,  kOpLogin,          kOpFetchBlock,
                                         kOpStoreBlock, kOpChangePassword, kOpStoreSmtpPassword,
                                         kOpCommit};

class A8R8Lab : public SharedLabTest {};

TEST_F(A8R8Lab, SecondGenerationTrunkingDeviceTakesBackItsOwnExport) {
  RecordingLab& lab = TheLab();
  const std::string file = lab.workDir() + "/gen-a2.ini";
  const CommandRun exportRun = lab.Run({"--password", "a2-admin-pw", "export", kGenA2, file});
  ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err;
  EXPECT_EQ(exportRun.out, "Export configuration to file OK.\n");
  EXPECT_EQ(Opcodes(RequestsOf(exportRun.received, kGenA2)),
            (std::vector<int>{kOpChallenge, kOpLogin, kOpFetchBlock, kOpFetchSmtpPassword}))
      << Dump(exportRun.received);

  const std::string text = ReadFile(file);
  EXPECT_TRUE(
      text.starts_with("[Meshvault Server Configuration File]\r\n# Model Name\r\n"
                       "ModelName\tORV-A8\r\n\r\n#####"))
      << text.substr(0, 200);
  EXPECT_TRUE(Has(text, "\r\nSwitchName\t\tLine 3 switch\r\n\r\n"));
  EXPECT_TRUE(Has(text, "\r\n# [Port 3]\r\nPort3_SetToTrunk\t\t1\r\n\r\n"));
  EXPECT_TRUE(Has(text, "\r\nSNMPVERSION\t\t\t0\r\n\r\n"));
  EXPECT_TRUE(Has(text, "\r\n# [Trk 1]\r\nSTP_EN9\t\t\t1\r\n\r\n"));
  EXPECT_TRUE(Has(text, "\r\n# [Trk 2]\r\nSTP_EN10\t\t0\r\n\r\n"));
  EXPECT_TRUE(Has(text, "\r\n# begin-of-list\r\nIGMPSNOOP\t---\t1\t"));
  EXPECT_TRUE(Has(text, "\r\nSMTPPassword\t\t\tmailpw\r\n"));
  EXPECT_TRUE(Has(text, "\r\n # [LockPort]: Port Lock\r\n"));
  EXPECT_TRUE(text.ends_with("\r\n\r\n# ----------End of File----------\r\n"));

  const CommandRun run = lab.Run({"--yes", "--password", "a2-admin-pw", "import", file, kGenA2});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kGenA2) + "\tImport Success\n") << run.err;
  const std::vector<json> lines = RequestsOf(run.received, kGenA2);
  EXPECT_EQ(Opcodes(lines), kImportOpcodes) << Dump(lines);
  EXPECT_EQ(Text(First(lines, kOpChangePassword), "newPassword"), "a2-admin-pw");
  EXPECT_EQ(Text(First(lines, kOpStoreSmtpPassword), "smtpPassword"), "mailpw");
  // The device's own export comes back byte for byte: VLAN table,
  // management VLAN and unicast table included.
  const std::string stored = StoredBlock(lines);
  ASSERT_EQ(stored.size(), kGenA2BlockSize);
  EXPECT_TRUE(stored == ReadFile(kGenA2BlockFile)) << "the stored block differs from the device's";
}

TEST_F(A8R8Lab, FileWithoutMailPasswordStoresTheDevicesOwn) {
  RecordingLab& lab = TheLab();
  const std::string file = lab.workDir() + "/gen-a2-no-smtp.ini";
  const CommandRun exportRun = lab.Run({"--password", "a2-admin-pw", "export", kGenA2, file});
  ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err;
  std::string text = ReadFile(file);
  const std::string line = "\r\nSMTPPassword\t\t\tmailpw\r\n";
  const std::size_t at = text.find(line);
  ASSERT_NE(at, std::string::npos);
  text.erase(at, line.size() - 2);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;

  const CommandRun run = lab.Run({"--yes", "--password", "a2-admin-pw", "import", file, kGenA2});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kGenA2) + "\tImport Success\n") << run.err;
  const std::vector<json> lines = RequestsOf(run.received, kGenA2);
  // The device hands out its block without the password: it is asked for
  // it in the same session, and gets it back unchanged.
  EXPECT_EQ(Opcodes(lines),
            (std::vector<int>{kOpChallenge, kOpLogin, kOpFetchBlock, kOpFetchSmtpPassword,
                              kOpStoreBlock, kOpChangePassword, kOpStoreSmtpPassword, kOpCommit}))
      << Dump(lines);
  EXPECT_EQ(Text(First(lines, kOpStoreSmtpPassword), "smtpPassword"), "mailpw");
}

TEST_F(A8R8Lab, FirstGenerationDeviceTakesBackItsOwnExport) {
  RecordingLab& lab = TheLab();
  const std::string file = lab.workDir() + "/gen-a1.ini";
  const CommandRun exportRun = lab.Run({"--password", "a1-admin", "export", kGenA1, file});
  ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err;
  EXPECT_EQ(exportRun.out, "Export configuration to file OK.\n");
  const std::string text = ReadFile(file);
  EXPECT_TRUE(
      text.starts_with("[Meshvault Server Configuration File]\r\n# Model Name\r\n"
                       "ModelName\tORV-A8-W\r\n"))
      << text.substr(0, 200);
  EXPECT_TRUE(Has(text, "\r\nSwitchName\t\tConveyor 2 switch\r\n\r\n"));
  EXPECT_TRUE(Has(text, "\r\nSysVID\t1\r\n"));
  EXPECT_TRUE(Has(text, "\r\nUserPassword\toperator\r\n\r\n"));
  EXPECT_FALSE(Has(text, "SetToTrunk"));  // no trunk entries in this generation
  EXPECT_TRUE(text.ends_with("\r\n\r\n# ----------End of File----------\r\n"));

  const CommandRun run = lab.Run({"--yes", "--password", "a1-admin", "import", file, kGenA1});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kGenA1) + "\tImport Success\n") << run.err;
  const std::vector<json> lines = RequestsOf(run.received, kGenA1);
  EXPECT_EQ(Opcodes(lines), kImportOpcodes) << Dump(lines);
  const std::string stored = StoredBlock(lines);
  ASSERT_EQ(stored.size(), kGenA1BlockSize);
  const std::string original = ReadFile(kGenA1BlockFile);
  EXPECT_EQ(stored.substr(kA8NameOffset, 18), std::string("Conveyor 2 switch\0", 18));
  EXPECT_EQ(stored.substr(0, kA8NameOffset), original.substr(0, kA8NameOffset));
}

}  // namespace
}  // namespace vantrell::lab
