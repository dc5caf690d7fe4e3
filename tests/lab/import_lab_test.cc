// End-to-end test of `vantrell import` against the device simulator in a lab
// of network namespaces (scripts/lab.sh, scenario scripts/lab/import-test.json).
// A D8 device's file is exported with `vantrell export`, one value is edited,
// and the file is imported into several devices; the simulator's record shows
// what each device received, down to the stored block bytes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

using nlohmann::json;

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/import-test.json";

constexpr int kOpLogin = 0x00;
constexpr int kOpFetchBlock = 0x08;
constexpr int kOpStoreBlock = 0x09;
constexpr int kOpCommit = 0x0C;
constexpr int kOpChallenge = 0x14;
constexpr int kOpChangePassword = 0x15;
constexpr int kOpStoreSmtpPassword = 0x17;
constexpr int kOpStreamFile = 0x1F;

/// Devices of the scenario.
constexpr const char* kSource = "02:56:40:00:00:01";    // ORV-D8-G1, GenD2, "src-pw"
constexpr const char* kTargetG1 = "02:56:40:00:00:02";  // ORV-D8-G1, GenD2, 192.168.10.42
constexpr const char* kTargetG1W =
    "02:56:40:00:00:03";  // ORV-D8-G1-W (the file's model is a prefix)
constexpr const char* kOtherModel = "02:56:40:00:00:04";  // ORV-D8-G2
constexpr const char* kBaseline = "02:56:40:00:00:05";    // ORV-D8-G1, gets the unedited file
constexpr const char* kUnserved = "02:56:40:00:00:06";    // firmware 1.4.0.1: no handler
constexpr const char* kStreamer = "02:56:40:00:00:07";    // long reply, rejects "QoS"
constexpr const char* kGenD1 = "02:56:40:00:00:08";       // ORV-D8-G1, GenD1 (no item 151)

/// Where the Contact item lies in a GenD2 block, and its slot width.
constexpr std::size_t kContactOffset = 256;
constexpr std::size_t kContactSlot = 40;
constexpr std::size_t kGenD2BlockSize = 1124;
constexpr std::size_t kGenD1BlockSize = 656;
/// A 0x17 request with the empty text: 3 + 4 + 16 (zero padding) + 4 + 16.
constexpr std::size_t kEmptySmtpRequestSize = 43;
const std::vector<int> kImportOpcodes = {kOpChallenge,  kOpLogin,          kOpFetchBlock,
                                         kOpStoreBlock, kOpChangePassword, kOpStoreSmtpPassword,
                                         kOpCommit};

[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab("vti", kScenario);

/// The file with the value of the line whose key is `key` replaced.
std::string WithValue(const std::string& file, std::string_view key, std::string_view value) {
  std::string out;
  std::size_t start = 0;
  while (start < file.size()) {
    std::size_t end = file.find('\n', start);
    end = end == std::string::npos ? file.size() : end + 1;
    std::string line = file.substr(start, end - start);
    if (line.starts_with(std::string(key) + "\t") || line.starts_with(std::string(key) + " ")) {
      line = std::string(key) + "\t\t" + std::string(value) + "\r\n";
    }
    out += line;
    start = end;
  }
  return out;
}

class ImportLab : public SharedLabTest {};

TEST_F(ImportLab, ExportedFileWithOneEditedValueIsImportedIntoTwoDevices) {
  RecordingLab& lab = TheLab();
  const std::string exported = lab.workDir() + "/source.ini";
  const std::string edited = lab.workDir() + "/edited.ini";

  // 1. Export the source device's file.
  const CommandRun exportRun = lab.Run({"--password", "src-pw", "export", kSource, exported});
  ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err;
  EXPECT_EQ(exportRun.out, "Export configuration to file OK.\n");
  const std::string original = ReadFile(exported);
  ASSERT_TRUE(original.starts_with("[Meshvault Server Configuration File]\r\n"));
  ASSERT_NE(original.find("ModelName\tORV-D8-G1\r\n"), std::string::npos) << original;
  ASSERT_NE(original.find("\r\nContact"), std::string::npos);

  // 2. Edit one value.
  const std::string changed = WithValue(original, "Contact", "Hall 7 desk");
  ASSERT_NE(changed, original);
  std::ofstream(edited, std::ios::binary) << changed;

  // 3. Without --yes the review of the file's addresses is declined.
  const CommandRun declined = lab.Run({"import", edited, kTargetG1, kTargetG1W});
  EXPECT_EQ(declined.exitCode, 1);
  EXPECT_EQ(declined.out,
            std::string(kTargetG1) + "\tImport Canceled\n" + kTargetG1W + "\tImport Canceled\n");
  EXPECT_NE(declined.err.find(std::string(kTargetG1) + "\tIP Address\t192.168.10.42 -> 0.0.0.0"),
            std::string::npos)
      << declined.err;
  EXPECT_TRUE(RequestsOf(declined.received, kTargetG1).empty()) << Dump(declined.received);
  EXPECT_TRUE(RequestsOf(declined.received, kTargetG1W).empty());

  // 4. With --yes: two imports, a model mismatch, an unserved firmware and
  //    a device that parses the file itself and rejects a group.
  const CommandRun run = lab.Run({"--yes", "--password", "src-pw", "import", edited, kTargetG1,
                                  kTargetG1W, kOtherModel, kUnserved, kStreamer});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, std::string(kTargetG1) + "\tImport Success\n" + kTargetG1W +
                         "\tImport Success\n" + kOtherModel + "\tModel type mismatch\n" +
                         kUnserved + "\tImport Fail\n" + kStreamer + "\tImport Fail\n")
      << run.err;
  EXPECT_NE(run.err.find("Model type mismatch !\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("The configuration of ORV-D8-G1 with firmware 1.4 cannot be imported: "
                         "this firmware version is not supported.\n"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("The QoS function of the Configuration File has invaild settings !\n"),
            std::string::npos)
      << run.err;

  for (const char* mac : {kTargetG1, kTargetG1W}) {
    SCOPED_TRACE(mac);
    const std::vector<json> lines = RequestsOf(run.received, mac);
    EXPECT_EQ(Opcodes(lines), kImportOpcodes) << Dump(lines);
    EXPECT_EQ(First(lines, kOpStoreBlock)["blockLength"], kGenD2BlockSize);
    // The file's password becomes the device's; the mail-server password
    // is the block's (the source's block carries an empty one).
    EXPECT_EQ(Text(First(lines, kOpChangePassword), "newPassword"), "src-pw");
    EXPECT_EQ(Text(First(lines, kOpStoreSmtpPassword), "smtpPassword"), "");
    EXPECT_NE(Text(First(lines, kOpCommit), "result").find("committed"), std::string::npos);
  }
  const std::string blockG1 = StoredBlock(RequestsOf(run.received, kTargetG1));
  ASSERT_EQ(blockG1.size(), kGenD2BlockSize);
  EXPECT_EQ(StoredBlock(RequestsOf(run.received, kTargetG1W)), blockG1);
  EXPECT_EQ(blockG1.substr(kContactOffset, 12), std::string("Hall 7 desk\0", 12));
  EXPECT_TRUE(RequestsOf(run.received, kOtherModel).empty());
  EXPECT_TRUE(RequestsOf(run.received, kUnserved).empty());

  // The long-reply device received the edited file unchanged.
  const json stream = First(RequestsOf(run.received, kStreamer), kOpStreamFile);
  EXPECT_EQ(stream["fileLength"], changed.size()) << stream.dump();
  EXPECT_EQ(Text(stream, "fileMd5"), Hex(Md5(changed)));

  // 5. The unedited file into a device like the first: its block differs
  //    from the edited one in the contact item only.
  const CommandRun baseline = lab.Run({"--yes", "import", exported, kBaseline});
  EXPECT_EQ(baseline.exitCode, 0) << baseline.err;
  EXPECT_EQ(baseline.out, std::string(kBaseline) + "\tImport Success\n");
  const std::string blockBaseline = StoredBlock(RequestsOf(baseline.received, kBaseline));
  ASSERT_EQ(blockBaseline.size(), kGenD2BlockSize);
  for (std::size_t i = 0; i < kGenD2BlockSize; ++i) {
    const bool inContact = i >= kContactOffset && i < kContactOffset + kContactSlot;
    if (!inContact) {
      EXPECT_EQ(blockBaseline[i], blockG1[i]) << "offset " << i;
    }
  }
  EXPECT_NE(blockBaseline.substr(kContactOffset, kContactSlot),
            blockG1.substr(kContactOffset, kContactSlot));
}

TEST_F(ImportLab, FirstGenerationDeviceGetsTheEmptyMailPasswordBeforeTheCommit) {
  RecordingLab& lab = TheLab();
  const std::string exported = lab.workDir() + "/source-for-gend1.ini";
  const CommandRun exportRun = lab.Run({"--password", "src-pw", "export", kSource, exported});
  ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err;
  const CommandRun run = lab.Run({"--yes", "import", exported, kGenD1});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kGenD1) + "\tImport Success\n") << run.err;
  const std::vector<json> lines = RequestsOf(run.received, kGenD1);
  EXPECT_EQ(Opcodes(lines), kImportOpcodes) << Dump(lines);
  EXPECT_EQ(First(lines, kOpStoreBlock)["blockLength"], kGenD1BlockSize);
  // Its block has no mail-server password: the empty text, zero padded.
  const json smtp = First(lines, kOpStoreSmtpPassword);
  EXPECT_EQ(Text(smtp, "smtpPassword"), "");
  EXPECT_EQ(Unhex(Text(smtp, "bytes")).size(), kEmptySmtpRequestSize) << smtp.dump();
  EXPECT_NE(Text(First(lines, kOpCommit), "result").find("smtpPassword"), std::string::npos);
}

TEST_F(ImportLab, JsonRowsAndAnUnreadableFile) {
  RecordingLab& lab = TheLab();
  const std::string file = lab.workDir() + "/mismatch.ini";
  std::ofstream(file, std::ios::binary)
      << "[Meshvault Server Configuration File]\r\nModelName\tORV-D8-G2\r\n";
  // The first test's import gave the target the source's password.
  const CommandRun run = lab.Run({"--json", "--password", "src-pw", "import", file, kTargetG1});
  EXPECT_EQ(run.exitCode, 1);
  const json rows = json::parse(run.out, nullptr, false);
  EXPECT_EQ(rows, json::parse(std::string(R"([{"mac":")") + kTargetG1 +
                              R"(","result":"Model type mismatch"}])"))
      << run.out;
  EXPECT_TRUE(RequestsOf(run.received, kTargetG1).empty());

  const CommandRun missing = lab.Run({"import", lab.workDir() + "/absent.ini", kTargetG1});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.err, "Can not open configuration file, error code: 2\n");
  EXPECT_EQ(missing.out, "");
}

}  // namespace
}  // namespace vantrell::lab
