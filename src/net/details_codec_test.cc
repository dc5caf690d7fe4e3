#include "net/details_codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace vantrell {
namespace {

using ::testing::ElementsAre;

TEST(DetailsRequest, SixBytesLengthBigEndianSequenceLowByteFirst) {
  EXPECT_THAT(BuildDetailsRequest(0x1A2B), ElementsAre(0x01, 0x00, 0x00, 0x06, 0x2B, 0x1A));
}

/// A details reply of `size` bytes as a device sends it.
std::vector<std::uint8_t> Reply(std::size_t size, std::uint16_t sequence) {
  std::vector<std::uint8_t> bytes(size, 0);
  bytes[0] = 0x81;
  bytes[4] = sequence & 0xFF;
  bytes[5] = sequence >> 8;
  const std::uint8_t firmware[4] = {0x00, 0x03, 0x02, 0x01};  // 1.2.3, low byte first
  std::memcpy(&bytes[22], firmware, 4);
  bytes[26] = 0x03;
  const std::string name(30, 'N');
  std::memcpy(&bytes[28], name.data(), 30);
  const std::uint8_t netmask[4] = {255, 255, 255, 0}, gateway[4] = {192, 168, 10, 254};
  std::memcpy(&bytes[78], netmask, 4);
  std::memcpy(&bytes[82], gateway, 4);
  return bytes;
}

void AddNetworkFields(std::vector<std::uint8_t>& bytes) {
  const std::uint8_t dns1[4] = {8, 8, 8, 8}, dns2[4] = {1, 1, 1, 1};
  std::memcpy(&bytes[86], dns1, 4);
  std::memcpy(&bytes[90], dns2, 4);
  bytes[94] = 0x02;  // BOOTP, low byte first
}

DeviceRecord Device(std::uint32_t replyKind, std::uint16_t modelId) {
  DeviceRecord record = MakeZeroRecord();
  record.replyKind = replyKind;
  record.modelId = modelId;
  record.dns1 = MakeIpv4(9, 9, 9, 9);
  SetFieldText(record.location, "kept");
  return record;
}

bool Apply(const std::vector<std::uint8_t>& bytes, std::uint16_t sequence, DeviceRecord& record) {
  return ApplyDetailsReply(bytes, bytes.size(), sequence, record);
}

TEST(DetailsReply, BasicFormFillsBasicFieldsAndKeepsTheRest) {
  DeviceRecord record = Device(0, 0x6008);
  ASSERT_TRUE(Apply(Reply(86, 77), 77, record));
  EXPECT_EQ(record.firmwareVersion, 0x01020300u);
  EXPECT_EQ(record.statusFlags, 0x03);
  EXPECT_EQ(FieldText(record.serverName), std::string(30, 'N'));
  EXPECT_EQ(record.netmask, MakeIpv4(255, 255, 255, 0));
  EXPECT_EQ(record.gateway, MakeIpv4(192, 168, 10, 254));
  EXPECT_EQ(record.dns1, MakeIpv4(9, 9, 9, 9));
  EXPECT_EQ(FieldText(record.location), "kept");
}

TEST(DetailsReply, NetworkAndLocationFormsOnlyForLongReplyDevices) {
  auto form98 = Reply(98, 1);
  AddNetworkFields(form98);
  DeviceRecord shortKind = Device(0, 0x3508);
  EXPECT_FALSE(Apply(form98, 1, shortKind));
  EXPECT_EQ(shortKind.firmwareVersion, 0u);

  DeviceRecord longKind = Device(1, 0x1280);
  ASSERT_TRUE(Apply(form98, 1, longKind));
  EXPECT_EQ(longKind.dns1, MakeIpv4(8, 8, 8, 8));
  EXPECT_EQ(longKind.dns2, MakeIpv4(1, 1, 1, 1));
  EXPECT_EQ(longKind.ipConfigFlags, 2u);
  EXPECT_EQ(FieldText(longKind.location), "kept");

  auto form178 = Reply(178, 1);
  AddNetworkFields(form178);
  const std::string location(80, 'L');
  std::memcpy(&form178[98], location.data(), 80);
  ASSERT_TRUE(Apply(form178, 1, longKind));
  EXPECT_EQ(FieldText(longKind.location), location);
}

TEST(DetailsReply, ModularFormFillsEverySlot) {
  auto form = Reply(1186, 9);
  for (int slot = 0; slot < 8; ++slot) {
    form[90 + slot] = slot == 3 ? 0 : 1;
    const std::string name = std::string(15, 'A' + slot) + "Z";  // 16 characters
    std::memcpy(&form[98 + 16 * slot], name.data(), 16);
    const std::string desc(120, 'a' + slot);
    std::memcpy(&form[226 + 120 * slot], desc.data(), 120);
  }
  DeviceRecord other = Device(0, 0x6008);
  EXPECT_FALSE(Apply(form, 9, other));

  DeviceRecord modular = Device(0, 0x0726);
  ASSERT_TRUE(Apply(form, 9, modular));
  EXPECT_EQ(modular.moduleType[3], 0);
  EXPECT_EQ(modular.moduleType[7], 1);
  EXPECT_EQ(FieldText(modular.moduleName[3]), "DDDDDDDDDDDDDDDZ");
  EXPECT_EQ(FieldText(modular.moduleName[7]), "HHHHHHHHHHHHHHHZ");
  EXPECT_EQ(FieldText(modular.moduleDesc[7]), std::string(120, 'h'));
  EXPECT_EQ(modular.dns1, MakeIpv4(9, 9, 9, 9));
}

TEST(DetailsReply, RejectsBadHeaderAndLengths) {
  DeviceRecord record = Device(1, 0x0726);
  auto failed = Reply(86, 5);
  failed[1] = 1;
  EXPECT_FALSE(Apply(failed, 5, record));
  auto marker = Reply(86, 5);
  marker[0] = 0x80;
  EXPECT_FALSE(Apply(marker, 5, record));
  EXPECT_FALSE(Apply(Reply(86, 6), 5, record));
  const auto full = Reply(1186, 5);
  for (std::size_t size : {0u, 6u, 85u, 87u, 97u, 177u, 1185u}) {
    const std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<long>(size));
    EXPECT_FALSE(Apply(cut, 5, record)) << size;
  }
  EXPECT_FALSE(ApplyDetailsReply(full, 1187, 5, record));
  EXPECT_EQ(record.firmwareVersion, 0u);
}

}  // namespace
}  // namespace vantrell
