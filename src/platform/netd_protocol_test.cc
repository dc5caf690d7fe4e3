#include "platform/netd_protocol.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrell {
namespace {

using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
Bytes AsVector(const std::array<std::uint8_t, N>& bytes) {
  return Bytes(bytes.begin(), bytes.end());
}

const Bytes kAddRequest = {0x01, 0, 0,    0,    192,  168,  10,   1,    10, 77,
                           0,    9, 0x02, 0x56, 0x30, 0x00, 0x00, 0x0C, 0,  0};

TEST(NetdProtocol, RequestLayoutAndRoundTrip) {
  const NetdRequest add{NetdRequestKind::kAdd,
                        MakeIpv4(192, 168, 10, 1),
                        MakeIpv4(10, 77, 0, 9),
                        {0x02, 0x56, 0x30, 0x00, 0x00, 0x0C}};
  EXPECT_EQ(AsVector(EncodeNetdRequest(add)), kAddRequest);
  const auto decoded = DecodeNetdRequest(kAddRequest);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->kind, NetdRequestKind::kAdd);
  EXPECT_EQ(decoded->interfaceAddr, MakeIpv4(192, 168, 10, 1));
  EXPECT_EQ(decoded->deviceAddr, MakeIpv4(10, 77, 0, 9));
  EXPECT_EQ(decoded->mac, add.mac);

  NetdRequest remove;
  remove.kind = NetdRequestKind::kRemove;
  remove.deviceAddr = MakeIpv4(10, 77, 0, 9);
  EXPECT_EQ(AsVector(EncodeNetdRequest(remove)),
            (Bytes{0x02, 0, 0, 0, 0, 0, 0, 0, 10, 77, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(NetdProtocol, MalformedRequestsAreRefused) {
  Bytes shorter(kAddRequest.begin(), kAddRequest.end() - 1);
  Bytes longer = kAddRequest;
  longer.push_back(0);
  EXPECT_FALSE(DecodeNetdRequest(shorter));
  EXPECT_FALSE(DecodeNetdRequest(longer));
  for (std::uint8_t kind : {0x00, 0x05, 0xFF}) {
    Bytes bad = kAddRequest;
    bad[0] = kind;
    EXPECT_FALSE(DecodeNetdRequest(bad)) << int(kind);
  }
  for (std::size_t padding : {1u, 2u, 3u, 18u, 19u}) {
    Bytes bad = kAddRequest;
    bad[padding] = 1;
    EXPECT_FALSE(DecodeNetdRequest(bad)) << padding;
  }
  Bytes cleanup(kNetdRequestSize, 0);
  cleanup[0] = 0x04;
  ASSERT_TRUE(DecodeNetdRequest(cleanup));
  EXPECT_EQ(DecodeNetdRequest(cleanup)->kind, NetdRequestKind::kCleanup);
}

TEST(NetdProtocol, AnswerLayoutRoundTripAndRanges) {
  const NetdAnswer failed{NetdRequestKind::kAdd,
                          NeighbourOutcome::kCreateFailed,
                          RouteOutcome::kRefusedByKernel,
                          Refusal::kNone,
                          19,
                          0};
  const Bytes bytes = {0x01, 0x02, 0x03, 0x00, 19, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(AsVector(EncodeNetdAnswer(failed)), bytes);
  const auto decoded = DecodeNetdAnswer(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->neighbour, NeighbourOutcome::kCreateFailed);
  EXPECT_EQ(decoded->route, RouteOutcome::kRefusedByKernel);
  EXPECT_EQ(decoded->error, 19u);

  NetdAnswer cleanup;
  cleanup.kind = NetdRequestKind::kCleanup;
  cleanup.refusal = Refusal::kBadMac;
  cleanup.removed = 0x01020304;
  EXPECT_EQ(AsVector(EncodeNetdAnswer(cleanup)),
            (Bytes{0x04, 0x05, 0x00, 0x06, 0, 0, 0, 0, 0x04, 0x03, 0x02, 0x01}));

  for (const auto& [field, value] : {std::pair{1u, 6}, {2u, 5}, {3u, 8}}) {
    Bytes bad = bytes;
    bad[field] = static_cast<std::uint8_t>(value);
    EXPECT_FALSE(DecodeNetdAnswer(bad)) << field;
  }
  EXPECT_FALSE(DecodeNetdAnswer(Bytes(bytes.begin(), bytes.end() - 1)));
}

TEST(NetdProtocol, Greeting) {
  EXPECT_EQ(AsVector(EncodeNetdGreeting(kNetdReady)), (Bytes{'V', 'N', 1, 0}));
  EXPECT_EQ(DecodeNetdGreeting(Bytes{'V', 'N', 1, 1}), kNetdNoCapability);
  EXPECT_FALSE(DecodeNetdGreeting(Bytes{'V', 'N', 2, 0}));
  EXPECT_FALSE(DecodeNetdGreeting(Bytes{'V', 'N', 1, 2}));
  EXPECT_FALSE(DecodeNetdGreeting(Bytes{'V', 'N', 1}));
}

}  // namespace
}  // namespace vantrell
