#include "net/arp_route_bracket.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/recording_netd_channel.h"

namespace vantrell {
namespace {

const MacAddress kMac = {0x00, 0x60, 0xE9, 0x12, 0x34, 0x56};
const Ipv4 kLanAddress = MakeIpv4(192, 168, 1, 5);
const Ipv4 kForeignDevice = MakeIpv4(172, 16, 4, 9);

using Messages = std::vector<std::pair<std::string, MessageIcon>>;

class RecordingSink : public MessageSink {
 public:
  void ShowMessage(std::string_view text, MessageIcon icon) override {
    shown.emplace_back(std::string(text), icon);
  }
  Messages shown;
};

/// A helper that has gone away: every request fails.
class GoneHelper : public NetdChannel {
 public:
  std::optional<NetdAnswer> Exchange(const NetdRequest&) override { return std::nullopt; }
};

DeviceRecord Device(Ipv4 localIfAddr, Ipv4 ipAddr) {
  DeviceRecord record = MakeZeroRecord();
  record.localIfAddr = localIfAddr;
  record.ipAddr = ipAddr;
  record.mac = kMac;
  return record;
}

class ArpRouteBracketTest : public ::testing::Test {
 protected:
  /// The messages one Install shows for the helper's answer.
  Messages InstallAnswered(NeighbourOutcome neighbour, RouteOutcome route,
                           std::uint32_t error = 0) {
    helper.addAnswer = NetdAnswer{NetdRequestKind::kAdd, neighbour, route, Refusal::kNone, error};
    sink.shown.clear();
    bracket.Install(Device(kLanAddress, kForeignDevice));
    return sink.shown;
  }

  test_support::RecordingNetdChannel helper;
  RecordingSink sink;
  ArpRouteBracket bracket{&helper, sink};
};

TEST_F(ArpRouteBracketTest, InstallAndRemoveAskTheHelperWithTheRecordsAddresses) {
  bracket.Install(Device(kLanAddress, kForeignDevice));
  bracket.Remove(kForeignDevice);
  EXPECT_EQ(helper.log, (std::vector<std::string>{"add 172.16.4.9 if 192.168.1.5 00:60:E9:12:34:56",
                                                  "remove 172.16.4.9"}));
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(ArpRouteBracketTest, DeviceWithoutAddressIsNotAskedFor) {
  bracket.Install(Device(kLanAddress, 0));
  EXPECT_TRUE(helper.log.empty());
}

TEST_F(ArpRouteBracketTest, EachAnswerShowsItsMessageWithTheExactText) {
  EXPECT_EQ(InstallAnswered(NeighbourOutcome::kInstalled, RouteOutcome::kInstalled), Messages{});
  EXPECT_EQ(
      InstallAnswered(NeighbourOutcome::kAddressTableMissing, RouteOutcome::kAddressTableMissing),
      (Messages{{"SetIpNetEntry table not found.", MessageIcon::kStop},
                {"DoSetIpForwardEntry table not found.", MessageIcon::kStop}}));
  EXPECT_EQ(InstallAnswered(NeighbourOutcome::kCreateFailed, RouteOutcome::kNotNeeded, 19),
            (Messages{{"DoSetIpNetEntry fail: -19\n", MessageIcon::kStop}}));
  EXPECT_EQ(InstallAnswered(NeighbourOutcome::kInstalled, RouteOutcome::kRefusedByKernel),
            (Messages{{"Set forward entry fail", MessageIcon::kNone}}));
  // Refused by the helper's rules, or an interface that went down: silent,
  // the device simply does not answer.
  EXPECT_EQ(InstallAnswered(NeighbourOutcome::kRefused, RouteOutcome::kNotNeeded), Messages{});
  EXPECT_EQ(InstallAnswered(NeighbourOutcome::kNoInterface, RouteOutcome::kNotNeeded), Messages{});
}

TEST_F(ArpRouteBracketTest, FailedRouteRemovalIsReported) {
  helper.removeAnswer = NetdAnswer{NetdRequestKind::kRemove, NeighbourOutcome::kNotAsked,
                                   RouteOutcome::kRouteTableMissing};
  bracket.Remove(kForeignDevice);
  EXPECT_EQ(sink.shown,
            (Messages{{"DoDeleteIpForwardEntry table not found.", MessageIcon::kStop}}));
}

TEST_F(ArpRouteBracketTest, HelperThatWentAwayIsSilent) {
  GoneHelper gone;
  ArpRouteBracket orphan(&gone, sink);
  orphan.Install(Device(kLanAddress, kForeignDevice));
  orphan.Remove(kForeignDevice);
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(ArpRouteBracketTest, DisabledBracketDoesNothing) {
  ArpRouteBracket disabled(nullptr, sink);
  EXPECT_FALSE(disabled.enabled());
  EXPECT_TRUE(bracket.enabled());
  disabled.Install(Device(kLanAddress, kForeignDevice));
  disabled.Remove(kForeignDevice);
  { ScopedDeviceReach reach(disabled, Device(kLanAddress, kForeignDevice)); }
  EXPECT_TRUE(sink.shown.empty());
  EXPECT_TRUE(helper.log.empty());
}

TEST_F(ArpRouteBracketTest, ScopedDeviceReachRemovesOnScopeExit) {
  {
    ScopedDeviceReach reach(bracket, Device(kLanAddress, kForeignDevice));
    EXPECT_EQ(helper.installed.size(), 1u);
  }
  EXPECT_TRUE(helper.installed.empty());
}

}  // namespace
}  // namespace vantrell
