#include "ops/export_configuration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "config/gen_d_layouts.h"
#include "config/config_item_ids.h"
#include "support/scripted_device.h"

namespace vantrell {
namespace {

using namespace vantrell::test_support;

const Bytes kChallenge = {0x14, 0x04, 1, 2, 3, 4};

DeviceRecord Device(std::uint16_t modelId, std::uint32_t firmware, std::uint32_t replyKind) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = modelId;
  record.firmwareVersion = firmware;
  record.replyKind = replyKind;
  record.ipAddr = MakeIpv4(127, 0, 0, 1);
  SetFieldText(record.modelName, "ORV-D8");
  return record;
}

std::filesystem::path TempPath(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("vantrell-export-" + std::to_string(::getpid()) + "-" + name);
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Export, DeviceThatKeepsItsOwnFileIsFetchedWithOwnerOnlyMode) {
  ScriptedDevice device({Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x01}}, Expect{1},
                         Send{{0x20, 0x00, 0x04, 'a', '\r', '\n', 'b'}}});
  DeviceRecord record = Device(0x1280, 0x01000000, 1);
  const auto path = TempPath("own.ini");
  ASSERT_EQ(exportConfiguration(record, path, device.timing()), 0);
  EXPECT_EQ(ReadAll(path), "a\r\nb");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  std::filesystem::remove(path);
}

TEST(Export, UnservedFirmwareFailsWithoutTouchingTheDeviceOrTheFile) {
  ScriptedDevice device({});
  const auto path = TempPath("gap.ini");
  for (std::uint32_t firmware : {0x00090000u, 0x01040001u}) {
    DeviceRecord record = Device(0x6008, firmware, 0);
    EXPECT_EQ(exportConfiguration(record, path, device.timing()), kExportNotSupported);
    EXPECT_EQ(ExportResultText(kExportNotSupported, record).find("not supported") !=
                  std::string::npos,
              true);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(device.received().empty());
}

TEST(Export, RefusedLoginIsTheAccessMessage) {
  ScriptedDevice device({Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x00}}});
  DeviceRecord record = Device(0x1280, 0x01000000, 1);
  const auto path = TempPath("refused.ini");
  const int result = exportConfiguration(record, path, device.timing());
  EXPECT_EQ(result, kExportDeviceFailed);
  EXPECT_EQ(ExportResultText(result, record),
            "Your IP address is not accessable for this Meshvault Server.");
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Export, GenD2FileTakesTheMailPasswordFromTheBlockWhenTheDeviceDoesNotGiveIt) {
  ConfigBlock block(1124);
  MakeGenDAccessors(Generation::kGenD2)
      ->setText(block, item::D_CONF_ETH_WARN_SMTP_PASSWD, "block-mail");
  const Bytes blockBytes(block.bytes().begin(), block.bytes().end());
  for (const Bytes& answer : {Bytes{0x18, 0x00}, Bytes{0x33}}) {
    ScriptedDevice device({Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x01}}, Expect{1},
                           Send{BlockReply(blockBytes)}, Expect{1}, Send{answer}});
    DeviceRecord record = Device(0x6008, 0x01040100, 0);
    const auto path = TempPath("gend2.ini");
    ASSERT_EQ(exportConfiguration(record, path, device.timing()), 0);
    const std::string text = ReadAll(path);
    std::filesystem::remove(path);
    EXPECT_NE(text.find("\r\nSMTPPassword\tblock-mail\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("is not written"), std::string::npos);
    EXPECT_EQ(ExportResultText(0, record), "Export configuration to file OK.");
  }
}

TEST(Export, LineEndsBecomeCrLfOnce) {
  EXPECT_EQ(WithCrLf("a\nb\r\n\nc"), "a\r\nb\r\n\r\nc");
  EXPECT_EQ(WithCrLf("\n"), "\r\n");
}

TEST(WriteBack, StoresBlockAddressesPasswordAndMailPasswordThenCommits) {
  auto accessors = MakeGenDAccessors(Generation::kGenD2);
  ConfigBlock block(accessors->blockSize());
  ASSERT_EQ(accessors->setText(block, item::D_CONF_ETH_WARN_SMTP_PASSWD, "abc"), ItemStatus::kOk);
  DeviceRecord edited = Device(0x6008, 0x01040100, 0);
  edited.serialNo = 0x1234;
  edited.ipAddr = MakeIpv4(127, 0, 0, 1);
  edited.netmask = MakeIpv4(255, 0, 0, 0);
  edited.ipConfigFlags = 1;
  SetFieldText(edited.password, "new");

  ScriptedDevice device({Expect{3 + 1124}, Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}},
                         Expect{43}, Send{{0x17, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}});
  Session session;
  ASSERT_EQ(openSession(MakeIpv4(127, 0, 0, 1), session, device.timing()), 0);
  EXPECT_EQ(writeBackBlock(session, edited, block, *accessors, "old"), 0);
  session.connection.reset();
  EXPECT_EQ(accessors->getNumber(block, item::D_CONF_ETH_IPMASK), MakeIpv4(255, 0, 0, 0));
  EXPECT_EQ(accessors->getNumber(block, item::D_CONF_ETH_FLAG_DHCP), 1u);
  const auto seen = device.received();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0][0], 0x09);
  EXPECT_EQ(seen[0][1] * 256 + seen[0][2], 1124);
  EXPECT_EQ(seen[1][0], 0x15);
  EXPECT_EQ(seen[2][0], 0x17);
  EXPECT_EQ(seen[3], Bytes{0x0C});
}

TEST(WriteBack, StopsAtTheFirstRefusal) {
  auto accessors = MakeGenDAccessors(Generation::kGenD1);
  ConfigBlock block(accessors->blockSize());
  ScriptedDevice device({Expect{3 + 656}, Send{{0x09, 0x00}}});
  Session session;
  ASSERT_EQ(openSession(MakeIpv4(127, 0, 0, 1), session, device.timing()), 0);
  EXPECT_EQ(writeBackBlock(session, Device(0x6008, 0x01000000, 0), block, *accessors, ""), -1);
}

}  // namespace
}  // namespace vantrell
