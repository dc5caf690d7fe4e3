// Export, import and write-back of first-generation A8/R8 devices against a
// scripted device on loopback: values the device could not give or a file
// could not carry never overwrite what a device has.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "config/config_item_ids.h"
#include "config/gen_a1_layout.h"
#include "config/gen_a1_writer.h"
#include "ops/config_import.h"
#include "ops/export_configuration.h"
#include "support/scripted_device.h"
#include "support/smtp_password_reply.h"

namespace vantrell {
namespace {

using namespace vantrell::test_support;
using namespace item;

const Bytes kChallenge = {0x14, 0x04, 1, 2, 3, 4};
constexpr std::size_t kA1Size = 8508;

std::vector<Step> LoginSteps() {
  return {Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x01}}};
}

DeviceRecord A8Switch() {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = 0x0508;
  record.firmwareVersion = 0x01000000;  // GenA1
  record.serialNo = 0x0321;
  record.ipAddr = MakeIpv4(127, 0, 0, 1);
  record.netmask = MakeIpv4(255, 0, 0, 0);
  record.ipConfigFlags = 1;
  SetFieldText(record.modelName, "ORV-A8");
  SetFieldText(record.password, "old-pw");
  return record;
}

ConfigBlock DeviceBlock() {
  GenA1Accessors a;
  ConfigBlock block(kA1Size);
  a.setNumber(block, D_CONF_ETH_FLAG_AUTOIP, 1);
  a.setNumber(block, D_CONF_ETH_IPADDR, MakeIpv4(127, 0, 0, 1));
  a.setNumber(block, D_CONF_ETH_GATEWAY, MakeIpv4(127, 0, 0, 254));
  a.setNumber(block, D_CONF_ETH_DTIME_TZONE, 22);
  return block;
}

Bytes BytesOf(const ConfigBlock& block) {
  return Bytes(block.bytes().begin(), block.bytes().end());
}

std::filesystem::path TempPath(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("vantrell-a1-" + std::to_string(::getpid()) + "-" + name);
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(GenA1Export, UnknownSmtpPasswordIsNotWrittenAsEmptyAndTheOperatorIsTold) {
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(), {Expect{1}, Send{BlockReply(BytesOf(DeviceBlock()))}, Expect{1},
                             Send{{0x18, 0x00}}});
  ScriptedDevice device(steps);
  DeviceRecord record = A8Switch();
  const auto path = TempPath("export.ini");
  ASSERT_EQ(exportConfiguration(record, path, device.timing()), 0);
  const std::string text = ReadAll(path);
  std::filesystem::remove(path);
  EXPECT_NE(text.find("\r\nTimeZone\t22\r\n"), std::string::npos);
  EXPECT_EQ(text.find("\r\nSMTPPassword"), std::string::npos);
  EXPECT_NE(text.find("\r\n# SMTPPassword is not written: the device did not give it.\r\n"),
            std::string::npos);
  const std::string message = ExportResultText(0, record);
  EXPECT_TRUE(message.starts_with("Export configuration to file OK.\nThe SMTP password could not"))
      << message;
  // Told once.
  EXPECT_EQ(ExportResultText(0, record), "Export configuration to file OK.");
}

TEST(GenA1Import, OutOfRangeAddressModeAndUnreadableAddressNeverReachTheDevice) {
  const ConfigBlock fetched = DeviceBlock();
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(), {Expect{1}, Send{BlockReply(BytesOf(fetched))}, Expect{1},
                             Send{SmtpPasswordReply(A8Switch(), "dev-mail")}, Expect{3 + kA1Size},
                             Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}}, Expect{43},
                             Send{{0x17, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}});
  ScriptedDevice device(steps);
  const auto path = TempPath("import.ini");
  std::ofstream(path, std::ios::binary) << "[Meshvault Server Configuration File]\r\n"
                                           "ModelName\tORV-A8\r\n"
                                           "AUTOIP\t3\r\n"
                                           "IPAddress\tnot-an-address\r\n"
                                           "TimeZone\t5\r\n";
  const DeviceRecord row = A8Switch();
  const ImportFileScan scan = ScanImportFile(ReadAll(path), row);
  DeviceRecord edited = scan.edited;  // the pre-scan's values, as the review confirmed them
  EXPECT_EQ(edited.ipConfigFlags, 3u);
  EXPECT_EQ(edited.ipAddr, kAllOnesIpv4);
  const ImportOutcome outcome = importToDevice(row, edited, path, device.timing());
  std::filesystem::remove(path);
  EXPECT_EQ(outcome.result, kImportOk);
  const auto seen = device.received();
  // The file carries no SMTP password: the device's own is fetched in the
  // same session and stored back, never an empty one.
  ASSERT_EQ(seen.size(), 8u);
  EXPECT_EQ(seen[3], Bytes{0x18});
  EXPECT_EQ(seen[5][0], 0x15);
  EXPECT_EQ(StoredSmtpPassword(row, seen[6]), "dev-mail");
  EXPECT_EQ(seen[7], Bytes{0x0C});
  ASSERT_EQ(seen[4].size(), 3u + kA1Size);
  ConfigBlock stored(kA1Size);
  std::copy(seen[4].begin() + 3, seen[4].end(), stored.bytes().begin());
  GenA1Accessors a;
  EXPECT_EQ(a.getNumber(stored, D_CONF_ETH_FLAG_AUTOIP), 1u);  // DHCP stays
  EXPECT_EQ(a.getNumber(stored, D_CONF_ETH_IPADDR), MakeIpv4(127, 0, 0, 1));
  EXPECT_EQ(a.getNumber(stored, D_CONF_ETH_DTIME_TZONE), 5u);
  EXPECT_EQ(a.getText(stored, D_CONF_ETH_WARN_SMTP_PASSWD), "dev-mail");
}

/// Imports a file of the header, the model line and `lines` into a device
/// that answers with `afterBlock` once it has sent its block; what it received.
std::vector<Bytes> ImportA1(const std::string& lines, std::vector<Step> afterBlock) {
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(), {Expect{1}, Send{BlockReply(BytesOf(DeviceBlock()))}});
  steps.insert(steps.end(), afterBlock.begin(), afterBlock.end());
  ScriptedDevice device(steps);
  const auto path = TempPath("import-mail.ini");
  std::ofstream(path, std::ios::binary)
      << "[Meshvault Server Configuration File]\r\nModelName\tORV-A8\r\n" + lines;
  const DeviceRecord row = A8Switch();
  DeviceRecord edited = row;
  const ImportOutcome outcome = importToDevice(row, edited, path, device.timing());
  std::filesystem::remove(path);
  EXPECT_EQ(outcome.result, kImportOk);
  return device.received();
}

TEST(GenA1Import, DeviceThatDoesNotGiveItsMailPasswordKeepsIt) {
  const auto seen = ImportA1(
      "TimeZone\t5\r\n", {Expect{1}, Send{{0x18, 0x00}}, Expect{3 + kA1Size}, Send{{0x09, 0x01}},
                          Expect{41}, Send{{0x15, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}});
  // No 0x17: an unknown password is not replaced by an empty one.
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[3], Bytes{0x18});
  EXPECT_EQ(seen[5][0], 0x15);
  EXPECT_EQ(seen[6], Bytes{0x0C});
}

TEST(GenA1Import, DevicesOwnMailPasswordGoesBackAsItAnswered) {
  const auto seen = ImportA1(
      "TimeZone\t5\r\n", {Expect{1}, Send{SmtpPasswordReply(A8Switch(), "ends in blank ")},
                          Expect{3 + kA1Size}, Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}},
                          Expect{43}, Send{{0x17, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}});
  ASSERT_EQ(seen.size(), 8u);
  // Not as item 151 would hold it (without the trailing blank).
  EXPECT_EQ(StoredSmtpPassword(A8Switch(), seen[6]), "ends in blank ");
}

TEST(GenA1Import, FilesMailPasswordIsStoredWithoutAskingTheDevice) {
  const auto seen =
      ImportA1("SMTPPassword\tfile-mail\r\n",
               {Expect{3 + kA1Size}, Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}}, Expect{43},
                Send{{0x17, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}});
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[3][0], 0x09);
  EXPECT_EQ(StoredSmtpPassword(A8Switch(), seen[5]), "file-mail");
}

TEST(GenA1WriteBack, AcceptedModesAndAddressesAreStored) {
  GenA1Accessors a;
  ConfigBlock block = DeviceBlock();
  DeviceRecord edited = A8Switch();
  edited.ipConfigFlags = 2;
  edited.ipAddr = MakeIpv4(127, 0, 0, 9);
  edited.netmask = kAllOnesIpv4;  // a netmask may be all ones
  edited.gateway = kAllOnesIpv4;
  ScriptedDevice device({Expect{3 + kA1Size}, Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}},
                         Expect{43}, Send{{0x17, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}});
  Session session;
  ASSERT_EQ(openSession(MakeIpv4(127, 0, 0, 1), session, device.timing()), 0);
  EXPECT_EQ(writeBackBlock(session, edited, block, a, "old-pw"), 0);
  session.connection.reset();
  EXPECT_EQ(a.getNumber(block, D_CONF_ETH_FLAG_AUTOIP), 2u);
  EXPECT_EQ(a.getNumber(block, D_CONF_ETH_IPADDR), MakeIpv4(127, 0, 0, 9));
  EXPECT_EQ(a.getNumber(block, D_CONF_ETH_IPMASK), kAllOnesIpv4);
  EXPECT_EQ(a.getNumber(block, D_CONF_ETH_GATEWAY), MakeIpv4(127, 0, 0, 254));
  EXPECT_TRUE(AddressModeAccepted(Generation::kGenD2, 7));
  EXPECT_FALSE(AddressModeAccepted(Generation::kGenA2, 3));
  EXPECT_TRUE(AddressModeAccepted(Generation::kGenM1, 2));
}

}  // namespace
}  // namespace vantrell
