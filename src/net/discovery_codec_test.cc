#include "net/discovery_codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace vantrell {
namespace {

using ::testing::ElementsAre;

DeviceRecord Known(std::uint16_t modelId, std::uint16_t serial, std::uint8_t macTail) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = modelId;
  record.serialNo = serial;
  record.mac = {0x00, 0x60, 0xE9, 0x01, 0x02, macTail};
  return record;
}

TEST(DiscoveryRequest, IdentifyListsD8DevicesByModelAndSerialLowByteFirst) {
  DeviceList known;
  known.append(Known(0x6018, 0x1234, 1));
  known.append(Known(0x3508, 7, 2));  // not D8: goes into 'H'
  known.append(Known(0x6098, 42, 3));
  EXPECT_THAT(BuildIdentifyRequest(known, 0x7F01),
              ElementsAre(0x49, 0x00, 0x00, 0x0E, 0x01, 0x7F,  //
                          0x18, 0x60, 0x34, 0x12,              //
                          0x98, 0x60, 0x2A, 0x00));
  EXPECT_THAT(BuildHostRequest(known, 0x7F01),
              ElementsAre(0x48, 0x00, 0x00, 0x0C, 0x01, 0x7F,  //
                          0x00, 0x60, 0xE9, 0x01, 0x02, 0x02));
}

TEST(DiscoveryRequest, EmptyAndFullRequests) {
  DeviceList known;
  EXPECT_THAT(BuildIdentifyRequest(known, 5), ElementsAre(0x49, 0, 0, 6, 5, 0));
  EXPECT_THAT(BuildHostRequest(known, 5), ElementsAre(0x48, 0, 0, 6, 5, 0));
  for (int i = 0; i < 40; ++i) known.append(Known(0x0508, 0, static_cast<std::uint8_t>(i)));
  const auto host = BuildHostRequest(known, 0);
  ASSERT_EQ(host.size(), 6u + 6u * 32u);
  EXPECT_EQ(host[2], 0x00);
  EXPECT_EQ(host[3], 0xC6);
  EXPECT_EQ(host.back(), 31);  // the 32nd device in order of arrival
}

/// A reply as a device sends it, built field by field.
std::vector<std::uint8_t> Reply(std::size_t size, std::uint16_t sequence, Ipv4 interfaceAddr,
                                std::uint16_t modelId, const std::string& name = {}) {
  std::vector<std::uint8_t> bytes(size, 0);
  bytes[0] = 0xC9;
  bytes[4] = sequence & 0xFF;
  bytes[5] = sequence >> 8;
  bytes[6] = 0x00;
  bytes[7] = 0x00;
  bytes[8] = 0x1F;  // web port 8080, low 16 bits of a big-endian value
  bytes[9] = 0x90;
  bytes[10] = modelId & 0xFF;
  bytes[11] = modelId >> 8;
  bytes[12] = 0x39;  // serial 12345
  bytes[13] = 0x30;
  std::memcpy(&bytes[14], &interfaceAddr, 4);
  const std::uint8_t mac[6] = {0x00, 0x60, 0xE9, 0xAA, 0xBB, 0xCC};
  std::memcpy(&bytes[18], mac, 6);
  if (size == 64) std::memcpy(&bytes[24], name.data(), std::min<std::size_t>(name.size(), 40));
  return bytes;
}

class DiscoveryReplyTest : public ::testing::Test {
 protected:
  const Ipv4 ifAddr = MakeIpv4(192, 168, 10, 1);
  const Ipv4 device = MakeIpv4(10, 77, 0, 5);
  DiscoveryReplyContext context{0x1234, ifAddr, device, kAllOnesIpv4};

  std::optional<DeviceRecord> Judge(const std::vector<std::uint8_t>& bytes) {
    return JudgeDiscoveryReply(bytes, bytes.size(), context);
  }
};

TEST_F(DiscoveryReplyTest, ShortReplyIsNamedFromTheModelTable) {
  const auto record = Judge(Reply(24, 0x1234, ifAddr, 0x6028));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->modelId, 0x6028);
  EXPECT_EQ(record->serialNo, 12345);
  EXPECT_EQ(record->webPort, 8080);
  EXPECT_EQ(record->replyKind, 0u);
  EXPECT_EQ(record->localIfAddr, ifAddr);
  EXPECT_EQ(record->ipAddr, device);
  EXPECT_EQ(record->mac, (MacAddress{0x00, 0x60, 0xE9, 0xAA, 0xBB, 0xCC}));
  EXPECT_EQ(FieldText(record->modelName), "ORV-D8-G2");
  EXPECT_EQ(record->detailsFetched, 0);
}

TEST_F(DiscoveryReplyTest, UnknownModelNeedsTheLongReply) {
  EXPECT_FALSE(Judge(Reply(24, 0x1234, ifAddr, 0x1280)));
  const std::string name = "Kavex VS-2000 with a forty character name";  // 41 characters
  const auto record = Judge(Reply(64, 0x1234, ifAddr, 0x1280, name));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->replyKind, 1u);
  EXPECT_EQ(FieldText(record->modelName), name.substr(0, 40));
}

TEST_F(DiscoveryReplyTest, LongReplyKeepsItsOwnNameEvenForKnownModels) {
  const auto record = Judge(Reply(64, 0x1234, ifAddr, 0x3508, "Plant A8"));
  ASSERT_TRUE(record);
  EXPECT_EQ(FieldText(record->modelName), "Plant A8");
}

TEST_F(DiscoveryReplyTest, DropsEveryMalformedReply) {
  auto wrongMarker = Reply(24, 0x1234, ifAddr, 0x6008);
  wrongMarker[0] = 0xC8;
  EXPECT_FALSE(Judge(wrongMarker));
  EXPECT_FALSE(Judge(Reply(24, 0x1235, ifAddr, 0x6008)));
  EXPECT_FALSE(Judge(Reply(24, 0x1234, MakeIpv4(192, 168, 20, 1), 0x6008)));
  for (std::size_t size : {0u, 1u, 23u, 25u, 63u}) {
    auto bytes = Reply(64, 0x1234, ifAddr, 0x6008);
    bytes.resize(size);
    EXPECT_FALSE(Judge(bytes)) << size;
  }
  // A datagram longer than the 64 bytes read is cut, and dropped.
  const auto longReply = Reply(64, 0x1234, ifAddr, 0x6008);
  EXPECT_FALSE(JudgeDiscoveryReply(longReply, 65, context));
}

TEST_F(DiscoveryReplyTest, SourceFilterAcceptsOnlyItsAddress) {
  context.sourceFilter = MakeIpv4(10, 77, 0, 6);
  EXPECT_FALSE(Judge(Reply(24, 0x1234, ifAddr, 0x6008)));
  context.sourceFilter = device;
  EXPECT_TRUE(Judge(Reply(24, 0x1234, ifAddr, 0x6008)));
  context.sourceFilter = 0;  // an empty address control waits for address 0
  EXPECT_FALSE(Judge(Reply(24, 0x1234, ifAddr, 0x6008)));
}

}  // namespace
}  // namespace vantrell
