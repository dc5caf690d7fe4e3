// Export, import and address write-back of the modular model (GenM1)
// against a scripted device on 127.0.0.1.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "config/config_item_ids.h"
#include "config/gen_m1_block.h"
#include "config/gen_m1_sample_block.h"
#include "config/gen_m1_writer.h"
#include "ops/config_import.h"
#include "ops/export_configuration.h"
#include "ops/network_settings.h"
#include "support/scripted_device.h"

namespace vantrell {
namespace {

using namespace vantrell::test_support;
using gen_m1::GenM1Accessors;

const Bytes kChallenge = {0x14, 0x04, 1, 2, 3, 4};

std::vector<Step> LoginSteps() {
  return {Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x01}}};
}

Bytes MasksReply(std::uint32_t ports, std::uint32_t trunks) {
  Bytes reply = {0x1E, 0x01};
  for (std::uint32_t v : {ports, trunks}) {
    for (int i = 0; i < 4; ++i) reply.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  return reply;
}

Bytes BytesOf(const ConfigBlock& block) {
  return Bytes(block.bytes().begin(), block.bytes().end());
}

DeviceRecord Modular(std::string_view password) {
  DeviceRecord record = gen_m1::SampleRecord();
  record.ipAddr = MakeIpv4(127, 0, 0, 1);
  record.portMask = 0;       // as a search leaves it
  record.trunkPortMask = 0;  // as a search leaves it
  SetFieldText(record.password, password);
  SetFieldText(record.modelName, "ORV-M26");
  return record;
}

std::filesystem::path TempPath(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("vantrell-m1-" + std::to_string(::getpid()) + "-" + name);
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(GenM1Export, LoginPasswordGoesIntoItsBlank16FieldAndPortMasksIntoTheRecord) {
  const ConfigBlock block = gen_m1::SampleBlock();
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(),
               {Expect{1}, Send{BlockReply(BytesOf(block))}, Expect{1},
                Send{MasksReply(0x040000FF, 0x03FFFFFF)}, Expect{1}, Send{{0x18, 0x00}}});
  ScriptedDevice device(steps);
  DeviceRecord record = Modular("0123456789abcdef");  // 16 characters
  const auto path = TempPath("export.ini");
  ASSERT_EQ(exportConfiguration(record, path, device.timing()), 0);
  EXPECT_EQ(record.portMask, 0x040000FFu);
  EXPECT_EQ(record.trunkPortMask, 0x03FFFFFFu);
  const std::string text = ReadAll(path);
  std::filesystem::remove(path);
  EXPECT_NE(text.find("AdminPassword\t\t0123456789abcdef\r\n"), std::string::npos);
  // The trap community after the password field survives.
  EXPECT_NE(text.find("TRAP_Community\t\ttrapcomm\r\n"), std::string::npos);
  EXPECT_NE(text.find("Port_Trk1_EN"), std::string::npos);
  EXPECT_EQ(text.find("Port_Trk2_EN"), std::string::npos);
  EXPECT_EQ(text.find("Port_3-1_EN"), std::string::npos);
}

TEST(GenM1Import, PortMasksAreFetchedBeforeTheFileIsRead) {
  const DeviceRecord sample = gen_m1::SampleRecord();
  const ConfigBlock fetched = gen_m1::SampleBlock();
  std::string fileText;
  {
    ConfigBlock copy = fetched;
    GenM1Accessors accessors;
    WriteGenM1ConfigFile(fileText, sample, copy, accessors);
  }
  const auto path = TempPath("import.ini");
  std::ofstream(path, std::ios::binary) << fileText;

  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(), {Expect{1}, Send{BlockReply(BytesOf(fetched))}, Expect{1},
                             Send{MasksReply(0x3FFFFFFF, 0x03FFFFFF)}, Expect{3 + 21136},
                             Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}}, Expect{43},
                             Send{{0x17, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}});
  ScriptedDevice device(steps);
  const DeviceRecord row = Modular("Adm1n-Secret");
  DeviceRecord edited = row;
  edited.netmask = sample.netmask;
  const ImportOutcome outcome = importToDevice(row, edited, path, device.timing());
  std::filesystem::remove(path);
  EXPECT_EQ(outcome.result, kImportOk);
  for (const auto& message : outcome.messages) ADD_FAILURE() << message.text;
  const auto seen = device.received();
  ASSERT_GE(seen.size(), 5u);
  EXPECT_EQ(seen[3], Bytes{0x1E});
  ASSERT_EQ(seen[4].size(), 3u + 21136u);
  ConfigBlock stored(21136);
  std::copy(seen[4].begin() + 3, seen[4].end(), stored.bytes().begin());
  GenM1Accessors accessors;
  // The trunks survive: the masks said the ports can trunk.
  EXPECT_EQ(accessors.getNumber(stored, item::kM1PortTrunkGroup, 2), 1u);
  EXPECT_EQ(accessors.getNumber(stored, item::kM1PortTrunkGroup, 25), 2u);
}

TEST(GenM1Import, FailedPortMaskFetchStoresNothing) {
  const ConfigBlock fetched = gen_m1::SampleBlock();
  std::vector<Step> steps = LoginSteps();
  steps.insert(steps.end(),
               {Expect{1}, Send{BlockReply(BytesOf(fetched))}, Expect{1}, Send{{0x1E, 0x00}}});
  ScriptedDevice device(steps);
  const auto path = TempPath("import2.ini");
  std::ofstream(path, std::ios::binary) << "[Meshvault Server Configuration File]\r\n"
                                           "ModelName\tORV-M26\r\n";
  const DeviceRecord row = Modular("pw");
  DeviceRecord edited = row;
  const ImportOutcome outcome = importToDevice(row, edited, path, device.timing());
  std::filesystem::remove(path);
  EXPECT_NE(outcome.result, kImportOk);
  EXPECT_EQ(device.received().size(), 4u);  // nothing stored after the refused 0x1E
}

TEST(GenM1WriteBack, AddressModeIsItemElevenOfTheModularBlock) {
  GenM1Accessors accessors;
  ConfigBlock block(21136);
  DeviceRecord edited = Modular("new");
  edited.ipConfigFlags = 2;  // BOOTP
  ScriptedDevice device({Expect{3 + 21136}, Send{{0x09, 0x01}}, Expect{41}, Send{{0x15, 0x01}},
                         Expect{43}, Send{{0x17, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}});
  Session session;
  ASSERT_EQ(openSession(MakeIpv4(127, 0, 0, 1), session, device.timing()), 0);
  EXPECT_EQ(writeBackBlock(session, edited, block, accessors, "old"), 0);
  session.connection.reset();
  EXPECT_EQ(accessors.getNumber(block, item::kIpConfigMode), 2u);
  EXPECT_EQ(*block.ByteAt(gen_m1::kFlagWord) & 3, 2);
  const auto seen = device.received();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen[0][3 + gen_m1::kFlagWord] & 3, 2);
  // The mode is read back from the same item.
  DeviceRecord read = Modular("x");
  read.ipConfigFlags = 0;
  EXPECT_TRUE(AdoptBlockAddressMode(read, block, accessors));
  EXPECT_EQ(read.ipConfigFlags & 3, 2u);
  EXPECT_EQ(AddressModeItem(Generation::kGenM1), item::kIpConfigMode);
  EXPECT_EQ(AddressModeItem(Generation::kGenA2), item::D_CONF_ETH_FLAG_AUTOIP);
  EXPECT_EQ(AddressModeItem(Generation::kGenD4), item::D_CONF_ETH_FLAG_DHCP);
}

}  // namespace
}  // namespace vantrell
