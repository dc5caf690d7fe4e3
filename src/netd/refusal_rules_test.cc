#include "netd/refusal_rules.h"

#include <gtest/gtest.h>
#include <linux/neighbour.h>

#include "netd/fake_net_tables.h"

namespace vantrell {
namespace {

using test_support::FakeNetTables;
using test_support::Neighbour;

const MacAddress kDeviceMac = {0x00, 0x60, 0xE9, 0x12, 0x34, 0x56};
const MacAddress kRouterMac = {0x02, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE};
const Ipv4 kInterface = MakeIpv4(192, 168, 10, 1);

/// A workstation with 192.168.10.1/24 (eth 2), 10.5.0.2/30 (eth 3) and the
/// point-to-point 172.31.0.1/32; default via 192.168.10.254, a VPN server
/// route 198.51.100.7/32 via 10.5.0.1.
TablesSnapshot Workstation() {
  TablesSnapshot tables;
  tables.addresses = {{MakeIpv4(127, 0, 0, 1), MakeIpv4(255, 0, 0, 0), 1},
                      {kInterface, MakeIpv4(255, 255, 255, 0), 2},
                      {MakeIpv4(10, 5, 0, 2), MakeIpv4(255, 255, 255, 252), 3},
                      {MakeIpv4(172, 31, 0, 1), MakeIpv4(255, 255, 255, 255), 4}};
  tables.routes = {
      FakeNetTables::Route(0, 0, 2, 0, MakeIpv4(192, 168, 10, 254)),
      FakeNetTables::Route(MakeIpv4(198, 51, 100, 7), 32, 3, 0, MakeIpv4(10, 5, 0, 1))};
  return tables;
}

Refusal Judge(Ipv4 device, const MacAddress& mac = kDeviceMac,
              const TablesSnapshot& tables = Workstation()) {
  return JudgeBracketRequest(kInterface, device, mac, tables);
}

TEST(RefusalRules, OrdinaryDevicesOnAndOffTheSubnetAndLinkLocalOnesPass) {
  EXPECT_EQ(Judge(MakeIpv4(192, 168, 10, 31)), Refusal::kNone);
  EXPECT_EQ(Judge(MakeIpv4(10, 77, 0, 9)), Refusal::kNone);
  EXPECT_EQ(Judge(MakeIpv4(169, 254, 12, 7)), Refusal::kNone);
  EXPECT_EQ(Judge(MakeIpv4(1, 0, 0, 1)), Refusal::kNone);
  EXPECT_EQ(Judge(MakeIpv4(223, 255, 255, 254)), Refusal::kNone);
  EXPECT_EQ(Judge(MakeIpv4(126, 255, 255, 255)), Refusal::kNone);
  EXPECT_EQ(Judge(MakeIpv4(128, 0, 0, 0)), Refusal::kNone);
}

TEST(RefusalRules, ReservedRangesAreRefused) {
  for (Ipv4 address : {MakeIpv4(0, 0, 0, 1), MakeIpv4(0, 255, 255, 255), MakeIpv4(127, 0, 0, 1),
                       MakeIpv4(127, 255, 0, 9), MakeIpv4(224, 0, 0, 1), MakeIpv4(239, 1, 2, 3),
                       MakeIpv4(240, 0, 0, 1), MakeIpv4(255, 255, 255, 255)}) {
    EXPECT_EQ(Judge(address), Refusal::kReservedAddress) << FormatIpv4(address);
  }
}

TEST(RefusalRules, TheWorkstationsOwnAndBroadcastAddressesAreRefused) {
  EXPECT_EQ(Judge(kInterface), Refusal::kLocalAddress);
  EXPECT_EQ(Judge(MakeIpv4(10, 5, 0, 2)), Refusal::kLocalAddress);
  EXPECT_EQ(Judge(MakeIpv4(172, 31, 0, 1)), Refusal::kLocalAddress);
  EXPECT_EQ(Judge(MakeIpv4(192, 168, 10, 255)), Refusal::kBroadcastAddress);
  EXPECT_EQ(Judge(MakeIpv4(10, 5, 0, 3)), Refusal::kBroadcastAddress);
  // A /32 has no broadcast address: its "all ones" is the address itself,
  // and the neighbour of a /31 or /32 is an ordinary host.
  EXPECT_EQ(Judge(MakeIpv4(172, 31, 0, 2)), Refusal::kNone);
}

TEST(RefusalRules, GatewaysAreRefusedUnlessTheKernelKnowsThemWithThatMac) {
  EXPECT_EQ(Judge(MakeIpv4(192, 168, 10, 254)), Refusal::kRouterAddress);
  EXPECT_EQ(Judge(MakeIpv4(10, 5, 0, 1)), Refusal::kRouterAddress);
  TablesSnapshot known = Workstation();
  known.neighbours = {Neighbour(2, MakeIpv4(192, 168, 10, 254), NUD_REACHABLE, kRouterMac),
                      Neighbour(3, MakeIpv4(10, 5, 0, 1), NUD_FAILED, kDeviceMac)};
  EXPECT_EQ(Judge(MakeIpv4(192, 168, 10, 254), kRouterMac, known), Refusal::kNone);
  EXPECT_EQ(Judge(MakeIpv4(192, 168, 10, 254), kDeviceMac, known), Refusal::kRouterAddress);
  // A failed entry names no MAC the kernel believes.
  EXPECT_EQ(Judge(MakeIpv4(10, 5, 0, 1), kDeviceMac, known), Refusal::kRouterAddress);
  // The destination of a route is no gateway.
  EXPECT_EQ(Judge(MakeIpv4(198, 51, 100, 7)), Refusal::kNone);
}

TEST(RefusalRules, UnfitMacsAndInterfacesAreRefused) {
  EXPECT_EQ(Judge(MakeIpv4(10, 77, 0, 9), {0, 0, 0, 0, 0, 0}), Refusal::kBadMac);
  EXPECT_EQ(Judge(MakeIpv4(10, 77, 0, 9), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), Refusal::kBadMac);
  EXPECT_EQ(Judge(MakeIpv4(10, 77, 0, 9), {0x01, 0x00, 0x5E, 0x00, 0x00, 0x01}), Refusal::kBadMac);
  EXPECT_EQ(Judge(MakeIpv4(10, 77, 0, 9), {0x33, 0x33, 0x00, 0x00, 0x00, 0x01}), Refusal::kBadMac);
  EXPECT_EQ(Judge(MakeIpv4(10, 77, 0, 9), {0x02, 0x00, 0x00, 0x00, 0x00, 0x00}), Refusal::kNone);
  EXPECT_EQ(JudgeBracketRequest(MakeIpv4(127, 0, 0, 1), MakeIpv4(10, 77, 0, 9), kDeviceMac,
                                Workstation()),
            Refusal::kBadInterface);
  EXPECT_EQ(JudgeBracketRequest(0, MakeIpv4(10, 77, 0, 9), kDeviceMac, Workstation()),
            Refusal::kBadInterface);
}

}  // namespace
}  // namespace vantrell
