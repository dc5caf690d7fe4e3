#include "sim/device_requests.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrell::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

SimDevice Device(std::uint16_t modelId, std::uint16_t serialNo, MacAddress mac) {
  SimDevice device;
  device.modelId = modelId;
  device.serialNo = serialNo;
  device.mac = mac;
  return device;
}

const MacAddress kMacA = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
const MacAddress kMacB = {0x00, 0x11, 0x22, 0x33, 0x44, 0x66};

TEST(DiscoveryRequestTest, ReadsIRequestWithEntriesLowByteFirst) {
  const Bytes datagram = {0x49, 0,    0,    14,   0x34, 0x12, 0x08,
                          0x60, 0x2A, 0x00, 0x18, 0x60, 0x01, 0x02};
  const auto request = ParseDiscoveryRequest(datagram);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->kind, DiscoveryKind::kKnownD8);
  EXPECT_EQ(request->sequence, 0x1234);
  ASSERT_EQ(request->knownD8.size(), 2u);
  EXPECT_EQ(request->knownD8[0].modelId, 0x6008);
  EXPECT_EQ(request->knownD8[0].serialNo, 42);
  EXPECT_EQ(request->knownD8[1].modelId, 0x6018);
  EXPECT_EQ(request->knownD8[1].serialNo, 0x0201);
}

TEST(DiscoveryRequestTest, ReadsHRequestWithMacs) {
  Bytes datagram = {0x48, 0, 0, 18, 0xFF, 0x7F};
  datagram.insert(datagram.end(), kMacA.begin(), kMacA.end());
  datagram.insert(datagram.end(), kMacB.begin(), kMacB.end());
  const auto request = ParseDiscoveryRequest(datagram);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->kind, DiscoveryKind::kKnownOther);
  EXPECT_EQ(request->sequence, 0x7FFF);
  EXPECT_EQ(request->knownMacs, (std::vector<MacAddress>{kMacA, kMacB}));
}

TEST(DiscoveryRequestTest, RejectsMalformedRequests) {
  std::string why;
  EXPECT_FALSE(ParseDiscoveryRequest(Bytes{0x48, 0, 0, 6, 1}, &why));     // short
  EXPECT_FALSE(ParseDiscoveryRequest(Bytes{0x47, 0, 0, 6, 1, 0}, &why));  // marker
  EXPECT_FALSE(ParseDiscoveryRequest(Bytes{0x48, 0, 6, 0, 1, 0}, &why));  // length low byte first
  EXPECT_FALSE(ParseDiscoveryRequest(Bytes{0x48, 0, 0, 8, 1, 0, 1, 2}, &why));  // half a MAC
  EXPECT_FALSE(ParseDiscoveryRequest(Bytes{0x49, 0, 0, 9, 1, 0, 1, 2, 3}, &why));
  EXPECT_FALSE(why.empty());

  Bytes tooMany = {0x49, 0, 0, 6 + 4 * 33, 1, 0};  // 33 entries
  tooMany.resize(6 + 4 * 33, 0);
  EXPECT_FALSE(ParseDiscoveryRequest(tooMany));
  Bytes full = {0x49, 0, 0, 6 + 4 * 32, 1, 0};
  full.resize(6 + 4 * 32, 0);
  EXPECT_TRUE(ParseDiscoveryRequest(full));
}

TEST(DetailsRequestTest, ReadsSequenceAndRejectsOtherShapes) {
  EXPECT_EQ(ParseDetailsRequest(Bytes{0x01, 0, 0, 6, 0xEF, 0xBE}), 0xBEEF);
  EXPECT_FALSE(ParseDetailsRequest(Bytes{0x01, 0, 6, 0, 0xEF, 0xBE}));  // length low byte first
  EXPECT_FALSE(ParseDetailsRequest(Bytes{0x01, 0, 0, 6, 0xEF}));
  EXPECT_FALSE(ParseDetailsRequest(Bytes{0x01, 0, 0, 6, 0xEF, 0xBE, 0}));
  EXPECT_FALSE(ParseDetailsRequest(Bytes{0x81, 0, 0, 6, 0xEF, 0xBE}));
  EXPECT_FALSE(ParseDetailsRequest(Bytes{}));
}

TEST(AnswersDiscoveryTest, D8AnswersOnlyIUnlessListed) {
  const SimDevice d8 = Device(0x6098, 42, kMacA);
  DiscoveryRequest request;
  request.kind = DiscoveryKind::kKnownD8;
  EXPECT_TRUE(AnswersDiscovery(d8, request));
  request.knownD8 = {{0x6098, 41}, {0x6088, 42}};  // neither entry matches both fields
  EXPECT_TRUE(AnswersDiscovery(d8, request));
  request.knownD8.push_back({0x6098, 42});
  EXPECT_FALSE(AnswersDiscovery(d8, request));

  DiscoveryRequest h;
  h.kind = DiscoveryKind::kKnownOther;
  EXPECT_FALSE(AnswersDiscovery(d8, h));
}

TEST(AnswersDiscoveryTest, OthersAnswerOnlyHUnlessMacListed) {
  for (std::uint16_t modelId : {0x3508, 0x0726, 0x6080, 0x6009, 0x60A8}) {
    const SimDevice other = Device(modelId, 1, kMacA);
    DiscoveryRequest h;
    h.kind = DiscoveryKind::kKnownOther;
    h.knownMacs = {kMacB};
    EXPECT_TRUE(AnswersDiscovery(other, h)) << std::hex << modelId;
    h.knownMacs.push_back(kMacA);
    EXPECT_FALSE(AnswersDiscovery(other, h)) << std::hex << modelId;

    DiscoveryRequest i;
    i.kind = DiscoveryKind::kKnownD8;
    EXPECT_FALSE(AnswersDiscovery(other, i)) << std::hex << modelId;
  }
}

}  // namespace
}  // namespace vantrell::sim
