// End-to-end export and import of the modular model (GenM1) through the
// command line against the device simulator in a lab of network namespaces
// (scripts/lab.sh, scenario scripts/lab/modular.json with the block of
// scripts/lab/make_modular_block.sh). The device has slots 2 and 5 empty,
// ports 1-3 and 1-4 in trunk group 1 and G-1, G-2 in group 2, and every
// list table in use. Its export must show only the ports it has, and the
// file must come back into the block byte for byte (the address settings
// aside, which the import takes from the device's record).

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "recording_lab.h"

namespace vantrell::lab {
namespace {

using nlohmann::json;

const std::string kScenario = std::string(VANTRELL_LAB_SCENARIOS) + "/modular.json";
const std::string kBlockFile = std::string(VANTRELL_LAB_SCENARIOS) + "/modular.block";

constexpr int kOpLogin = 0x00;
constexpr int kOpFetchBlock = 0x08;
constexpr int kOpStoreBlock = 0x09;
constexpr int kOpCommit = 0x0C;
constexpr int kOpChallenge = 0x14;
constexpr int kOpChangePassword = 0x15;
constexpr int kOpStoreSmtpPassword = 0x17;
constexpr int kOpFetchSmtpPassword = 0x18;
constexpr int kOpFetchPortMasks = 0x1E;

constexpr const char* kModular = "02:56:72:00:00:01";
constexpr const char* kPassword = "Adm1n-Secret";
constexpr std::size_t kBlockSize = 21136;
/// Address settings the import stores from the record: 12..23 (address,
/// netmask, gateway) and 28..35 (DNS servers).
constexpr std::size_t kAddressesFirst = 12;
constexpr std::size_t kAddressesEnd = 36;
constexpr std::size_t kFlagWord = 24;

[[maybe_unused]] SharedLab* const kSharedLab = AddSharedLab("vtm", kScenario);

class ModularLab : public SharedLabTest {};

TEST_F(ModularLab, ExportShowsThePresentPortsAndImportRebuildsTheBlock) {
  RecordingLab& lab = TheLab();
  const std::string file = lab.workDir() + "/modular.ini";
  const CommandRun exportRun = lab.Run({"--password", kPassword, "export", kModular, file});
  ASSERT_EQ(exportRun.exitCode, 0) << exportRun.err;
  EXPECT_EQ(exportRun.out, "Export configuration to file OK.\n");
  EXPECT_EQ(Opcodes(RequestsOf(exportRun.received, kModular)),
            (std::vector<int>{kOpChallenge, kOpLogin, kOpFetchBlock, kOpFetchPortMasks,
                              kOpFetchSmtpPassword}))
      << Dump(exportRun.received);

  const std::string text = ReadFile(file);
  EXPECT_TRUE(
      text.starts_with("[Meshvault Server Configuration File]\r\n# Model Name\r\n"
                       "ModelName\tORV-M26\r\n\r\n#####"))
      << text.substr(0, 200);
  EXPECT_TRUE(Has(text, "\r\nSwitchName\t\tLine 4 backbone\r\n\r\n"));
  EXPECT_TRUE(Has(text, "\r\nAdminPassword\t\tAdm1n-Secret\r\n\r\n"));
  // Slot 2 is empty: no port blocks for 2-1..2-4, but the trunk section lists them.
  EXPECT_TRUE(Has(text, "\r\n# [Port 1-4]\r\nPort_1-4_EN\t\t\t1\r\n"));
  EXPECT_FALSE(Has(text, "Port_2-1_EN"));
  EXPECT_FALSE(Has(text, "EW_PortEvents_5-1"));
  EXPECT_TRUE(Has(text, "\r\n# [Port 2-1]\r\nPort_2-1_TrunkType\t\t0\r\n"));
  EXPECT_TRUE(Has(text, "\r\nPort_1-3_TrunkType\t\t1\r\nPort_1-3_TrunkGroup\t\t1\r\n"));
  EXPECT_TRUE(Has(text, "\r\n# [Trk2]\r\nPort_Trk2_EN\t\t"));
  EXPECT_TRUE(Has(text, "\r\nSTP_Cost_1-3\t200000\r\n\r\n"));
  EXPECT_TRUE(Has(text, "\r\nFixVid_1-1\t\t\t100,200,300,\r\n\r\n"));
  EXPECT_TRUE(Has(
      text, "\r\n# begin-of-list\r\nIGMPSNOOP\t1\t1\t0\t\r\nIGMPSNOOP\t101\t1\t1\t1-1,2-1\r\n"));
  EXPECT_TRUE(Has(text, "\r\nSMTPPassword\tmail pass 7\r\n"));
  EXPECT_TRUE(Has(text, "\r\nMonitoredPort\tTrk1\r\n"));
  EXPECT_TRUE(text.ends_with("\r\n\r\n# ----------End of File----------\r\n"));

  const CommandRun run = lab.Run({"--yes", "--password", kPassword, "import", file, kModular});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kModular) + "\tImport Success\n") << run.err;
  const std::vector<json> lines = RequestsOf(run.received, kModular);
  EXPECT_EQ(Opcodes(lines),
            (std::vector<int>{kOpChallenge, kOpLogin, kOpFetchBlock, kOpFetchPortMasks,
                              kOpStoreBlock, kOpChangePassword, kOpStoreSmtpPassword, kOpCommit}))
      << Dump(lines);
  EXPECT_EQ(Text(First(lines, kOpChangePassword), "newPassword"), kPassword);
  EXPECT_EQ(Text(First(lines, kOpStoreSmtpPassword), "smtpPassword"), "mail pass 7");
  const std::string request = Unhex(Text(First(lines, kOpStoreBlock), "bytes"));
  ASSERT_EQ(request.size(), 3 + kBlockSize);
  const std::string stored = request.substr(3);
  const std::string original = ReadFile(kBlockFile);
  ASSERT_EQ(original.size(), kBlockSize);
  // Trunks, VLAN table, IGMP and static entries, users: all as the device had them.
  EXPECT_TRUE(stored.substr(0, kAddressesFirst) == original.substr(0, kAddressesFirst));
  EXPECT_EQ(stored.substr(kFlagWord, 4), original.substr(kFlagWord, 4));
  EXPECT_TRUE(stored.substr(kAddressesEnd) == original.substr(kAddressesEnd))
      << "the stored block differs from the device's";
  // The address of the scenario, 192.168.10.26, stays.
  EXPECT_EQ(stored.substr(12, 4), std::string("\xC0\xA8\x0A\x1A", 4));
}

}  // namespace
}  // namespace vantrell::lab
