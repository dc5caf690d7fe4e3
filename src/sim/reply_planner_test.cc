#include "sim/reply_planner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vantrell::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

InterfaceAddress Row(Ipv4 address, Ipv4 netmask, int ifIndex) {
  return InterfaceAddress{address, netmask, ifIndex};
}

const Ipv4 kMask8 = MakeIpv4(255, 0, 0, 0);
const Ipv4 kMask24 = MakeIpv4(255, 255, 255, 0);

TEST(ResolveDeviceInterfaceTest, ExactAddressFirstThenLongestSubnet) {
  const std::vector<InterfaceAddress> table = {
      Row(MakeIpv4(10, 0, 0, 1), kMask8, 2),
      Row(MakeIpv4(10, 1, 2, 1), kMask24, 3),
      Row(MakeIpv4(10, 1, 2, 77), kMask24, 9),  // a macvlan holding the device's address
      Row(MakeIpv4(127, 0, 0, 1), kMask8, 1),
  };
  EXPECT_EQ(ResolveDeviceInterface(MakeIpv4(10, 1, 2, 77), table), 9);
  EXPECT_EQ(ResolveDeviceInterface(MakeIpv4(10, 1, 2, 50), table), 3);
  EXPECT_EQ(ResolveDeviceInterface(MakeIpv4(10, 9, 9, 9), table), 2);
  EXPECT_EQ(ResolveDeviceInterface(MakeIpv4(127, 0, 0, 3), table), 1);
  EXPECT_EQ(ResolveDeviceInterface(MakeIpv4(192, 168, 1, 1), table), std::nullopt);
}

class ReplyPlannerTest : public ::testing::Test {
 protected:
  static constexpr int kLo = 1;
  static constexpr int kMacvlanA = 5;
  static constexpr int kMacvlanB = 6;

  void SetUp() override {
    SimDevice d8;
    d8.modelId = 0x6008;
    d8.serialNo = 42;
    d8.mac = {0, 0x11, 0x22, 0x33, 0x44, 0x01};
    d8.ip = MakeIpv4(10, 1, 2, 10);
    devices_.push_back(d8);

    SimDevice a8;
    a8.modelId = 0x3508;
    a8.mac = {0, 0x11, 0x22, 0x33, 0x44, 0x02};
    a8.ip = MakeIpv4(10, 1, 2, 11);
    devices_.push_back(a8);

    SimDevice twin = a8;  // same address as a8, another MAC
    twin.mac = {0, 0x11, 0x22, 0x33, 0x44, 0x03};
    devices_.push_back(twin);
  }

  /// Call after changing devices_.
  ReplyPlanner& Planner() {
    planner_.emplace(devices_);
    planner_->SetAddressTable({Row(MakeIpv4(127, 0, 0, 1), kMask8, kLo),
                               Row(MakeIpv4(10, 1, 2, 10), kMask24, kMacvlanA),
                               Row(MakeIpv4(10, 1, 2, 11), kMask24, kMacvlanB)});
    return *planner_;
  }

  /// `bytes` from the workstation as they arrive on `ifIndex`.
  InboundDatagram Inbound(const Bytes& bytes, int ifIndex, Ipv4 destination = kAllOnesIpv4) const {
    InboundDatagram in;
    in.bytes = bytes;
    in.sourceIp = workstation_;
    in.sourcePort = 50123;
    in.destinationIp = destination;
    in.ifIndex = ifIndex;
    return in;
  }

  /// Plans the answer with a new planner.
  ReplyPlan Receive(const Bytes& bytes, int ifIndex, Ipv4 destination = kAllOnesIpv4) {
    return Planner().Plan(Inbound(bytes, ifIndex, destination));
  }

  std::vector<SimDevice> devices_;
  std::optional<ReplyPlanner> planner_;
  const Ipv4 workstation_ = MakeIpv4(10, 1, 2, 1);
};

const Bytes kRequestI = {0x49, 0, 0, 6, 0x34, 0x12};
const Bytes kRequestH = {0x48, 0, 0, 6, 0x34, 0x12};

TEST_F(ReplyPlannerTest, DeviceAnswersOnlyOnItsOwnInterface) {
  EXPECT_TRUE(Receive(kRequestI, kMacvlanB).replies.empty());  // D8 sits on A
  EXPECT_TRUE(Receive(kRequestI, kLo).replies.empty());

  const ReplyPlan plan = Receive(kRequestI, kMacvlanA);
  ASSERT_EQ(plan.replies.size(), 1u);
  const OutboundDatagram& out = plan.replies[0];
  EXPECT_EQ(out.fromIp, MakeIpv4(10, 1, 2, 10));
  EXPECT_EQ(out.ifIndex, kMacvlanA);
  EXPECT_EQ(out.toIp, workstation_);
  EXPECT_EQ(out.toPort, 50123);
  EXPECT_EQ(out.delayMs, 0);
  EXPECT_EQ(out.device, 0u);
  ASSERT_EQ(out.bytes.size(), 24u);
  EXPECT_EQ(out.bytes[4], 0x34);  // sequence echoed
  EXPECT_EQ(out.bytes[5], 0x12);
  EXPECT_EQ(Bytes(out.bytes.begin() + 14, out.bytes.begin() + 18), (Bytes{10, 1, 2, 1}));
}

TEST_F(ReplyPlannerTest, HRequestAnsweredByEveryNonD8DeviceUnlessListed) {
  ReplyPlan plan = Receive(kRequestH, kMacvlanB);
  ASSERT_EQ(plan.replies.size(), 2u);
  EXPECT_EQ(plan.replies[0].device, 1u);
  EXPECT_EQ(plan.replies[1].device, 2u);

  Bytes listing = {0x48, 0, 0, 12, 0x34, 0x12, 0, 0x11, 0x22, 0x33, 0x44, 0x02};
  plan = Receive(listing, kMacvlanB);
  ASSERT_EQ(plan.replies.size(), 1u);
  EXPECT_EQ(plan.replies[0].device, 2u);

  EXPECT_TRUE(Receive(kRequestH, kMacvlanA).replies.empty());  // only the D8 is there
}

TEST_F(ReplyPlannerTest, IRequestListingTheD8SilencesIt) {
  const Bytes listing = {0x49, 0, 0, 10, 0x34, 0x12, 0x08, 0x60, 42, 0};
  EXPECT_TRUE(Receive(listing, kMacvlanA).replies.empty());
}

TEST_F(ReplyPlannerTest, NoiseRepliesComeFirstInListedOrder) {
  devices_[1].faults.discoveryNoise = {DiscoveryNoise::kLength, DiscoveryNoise::kFirstByte};
  devices_.pop_back();
  const ReplyPlan plan = Receive(kRequestH, kMacvlanB);
  ASSERT_EQ(plan.replies.size(), 3u);
  EXPECT_EQ(plan.replies[0].bytes.size(), 25u);
  EXPECT_EQ(plan.replies[1].bytes[0], 0xC8);
  EXPECT_EQ(plan.replies[2].bytes.size(), 24u);
  EXPECT_EQ(plan.replies[2].bytes[0], 0xC9);
}

TEST_F(ReplyPlannerTest, NoiseOnlyDeviceSendsNoValidReply) {
  devices_[1].faults.discoveryNoise = {DiscoveryNoise::kSequence, DiscoveryNoise::kInterface};
  devices_[1].faults.noiseOnly = true;
  devices_.pop_back();
  const ReplyPlan plan = Receive(kRequestH, kMacvlanB);
  ASSERT_EQ(plan.replies.size(), 2u);
  EXPECT_EQ(plan.replies[0].bytes[4], 0x35);  // sequence 0x1235
  EXPECT_EQ(plan.replies[1].bytes[14], static_cast<std::uint8_t>(~10));
}

TEST_F(ReplyPlannerTest, DetailsAnsweredByEveryDeviceAtTheDestinationAddress) {
  devices_[1].details = DetailsForm::k98;
  devices_[2].details = DetailsForm::k178;
  devices_[2].faults.detailsDelayMs = 300;
  const Bytes request = {0x01, 0, 0, 6, 0xEF, 0xBE};
  const ReplyPlan plan = Receive(request, kLo, MakeIpv4(10, 1, 2, 11));
  ASSERT_EQ(plan.replies.size(), 2u);
  std::vector<std::size_t> sizes;
  for (const OutboundDatagram& out : plan.replies) {
    EXPECT_EQ(out.fromIp, MakeIpv4(10, 1, 2, 11));
    EXPECT_EQ(out.ifIndex, kLo);  // arrival interface
    EXPECT_EQ(out.toIp, workstation_);
    EXPECT_EQ(out.bytes[0], 0x81);
    EXPECT_EQ(out.bytes[4], 0xEF);
    EXPECT_EQ(out.delayMs, out.device == 2 ? 300 : 0);
    sizes.push_back(out.bytes.size());
  }
  EXPECT_THAT(sizes, ::testing::UnorderedElementsAre(98u, 178u));

  EXPECT_TRUE(Receive(request, kMacvlanA, MakeIpv4(10, 1, 2, 99)).replies.empty());
}

TEST_F(ReplyPlannerTest, FloodSendsNewMacsOnEveryRequest) {
  devices_[0].faults.floodMacs = 3;
  ReplyPlanner& planner = Planner();
  InboundDatagram in = Inbound(kRequestI, kMacvlanA);
  std::vector<Bytes> macs;
  for (int request = 0; request < 2; ++request) {
    const ReplyPlan plan = planner.Plan(in);
    ASSERT_EQ(plan.replies.size(), 4u);
    EXPECT_EQ(plan.replies[0].what, "discovery reply of 00:11:22:33:44:01 10.1.2.10");
    for (std::size_t i = 1; i < 4; ++i) {
      const Bytes& bytes = plan.replies[i].bytes;
      ASSERT_EQ(bytes.size(), 24u);
      EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 18),
                Bytes(plan.replies[0].bytes.begin(), plan.replies[0].bytes.begin() + 18));
      macs.emplace_back(bytes.begin() + 18, bytes.end());
      EXPECT_EQ(plan.replies[i].fromIp, MakeIpv4(10, 1, 2, 10));
    }
  }
  EXPECT_EQ(macs.front(), (Bytes{0, 0x11, 0x22, 0x80, 0, 1}));
  EXPECT_EQ(macs.back(), (Bytes{0, 0x11, 0x22, 0x80, 0, 6}));
  // Listing the device silences its own reply, not the flood.
  const Bytes listing = {0x49, 0, 0, 10, 0x34, 0x12, 0x08, 0x60, 42, 0};
  const ReplyPlan listed = planner.Plan(Inbound(listing, kMacvlanA));
  ASSERT_EQ(listed.replies.size(), 3u);
  EXPECT_EQ(listed.replies[2].what, "flood reply of 00:11:22:33:44:01 10.1.2.10");
}

TEST_F(ReplyPlannerTest, DetailsFromAnotherAddressLeavesFromThere) {
  devices_.pop_back();
  devices_[1].faults.detailsFrom = MakeIpv4(10, 1, 2, 10);
  const ReplyPlan plan = Receive({0x01, 0, 0, 6, 1, 0}, kLo, MakeIpv4(10, 1, 2, 11));
  ASSERT_EQ(plan.replies.size(), 1u);
  EXPECT_EQ(plan.replies[0].fromIp, MakeIpv4(10, 1, 2, 10));
  EXPECT_EQ(plan.replies[0].bytes.size(), 86u);
}

TEST_F(ReplyPlannerTest, DetailsNoneStaysSilentAndMalformedIsIgnored) {
  devices_[0].details = DetailsForm::kNone;
  EXPECT_TRUE(Receive({0x01, 0, 0, 6, 1, 0}, kMacvlanA, MakeIpv4(10, 1, 2, 10)).replies.empty());
  EXPECT_TRUE(Receive({0x01, 0, 0, 7, 1, 0, 0}, kMacvlanB, MakeIpv4(10, 1, 2, 11)).replies.empty());
  const ReplyPlan junk = Receive({0xC9, 0, 0, 24}, kMacvlanA);
  EXPECT_TRUE(junk.replies.empty());
  EXPECT_THAT(junk.note, ::testing::StartsWith("ignored: "));
}

TEST_F(ReplyPlannerTest, DeviceWithoutInterfaceStaysSilentOnDiscovery) {
  devices_[0].ip = MakeIpv4(192, 168, 99, 1);
  ReplyPlanner& planner = Planner();
  EXPECT_EQ(planner.DeviceInterface(0), std::nullopt);
  EXPECT_EQ(planner.DeviceInterface(1), kMacvlanB);
  EXPECT_TRUE(planner.KnowsInterface(kMacvlanA));
  EXPECT_FALSE(planner.KnowsInterface(77));
  EXPECT_TRUE(Receive(kRequestI, kMacvlanA).replies.empty());
}

}  // namespace
}  // namespace vantrell::sim
