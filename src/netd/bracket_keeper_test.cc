#include "netd/bracket_keeper.h"

#include <gtest/gtest.h>
#include <linux/neighbour.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "netd/fake_net_tables.h"
#include "support/test_namespace.h"

namespace vantrell {
namespace {

using test_support::FakeNetTables;
using test_support::kLabAddress;
using test_support::kLabIf;
using test_support::kLanAddress;
using test_support::kLanIf;
using test_support::Neighbour;

const MacAddress kMac = {0x00, 0x60, 0xE9, 0x12, 0x34, 0x56};
const MacAddress kAdminMac = {0x02, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE};
const Ipv4 kSameSubnetDevice = MakeIpv4(192, 168, 1, 77);
const Ipv4 kForeignDevice = MakeIpv4(172, 16, 4, 9);

using Log = std::vector<std::string>;

NetdRequest Add(Ipv4 interfaceAddr, Ipv4 device, const MacAddress& mac = kMac) {
  return NetdRequest{NetdRequestKind::kAdd, interfaceAddr, device, mac};
}

class BracketKeeperTest : public ::testing::Test {
 protected:
  FakeNetTables tables;
  BracketKeeper keeper{tables};
};

TEST_F(BracketKeeperTest, SameSubnetDeviceGetsArpEntryOnly) {
  const NetdAnswer answer = keeper.Add(Add(kLanAddress, kSameSubnetDevice));
  EXPECT_EQ(tables.log, (Log{"neigh add 192.168.1.77 if2 00:60:E9:12:34:56"}));
  EXPECT_EQ(answer.neighbour, NeighbourOutcome::kInstalled);
  EXPECT_EQ(answer.route, RouteOutcome::kNotNeeded);
  EXPECT_TRUE(tables.routes.empty());
}

TEST_F(BracketKeeperTest, ForeignDeviceGetsArpEntryAndHostRouteUntilRemoved) {
  const NetdAnswer answer = keeper.Add(Add(kLanAddress, kForeignDevice));
  EXPECT_EQ(answer.route, RouteOutcome::kInstalled);
  EXPECT_EQ(tables.log, (Log{"neigh add 172.16.4.9 if2 00:60:E9:12:34:56",
                             "route set 172.16.4.9/32 if2 metric 20",
                             "route add 172.16.4.9/32 if2 metric 20"}));
  ASSERT_EQ(tables.neighbours.size(), 1u);
  ASSERT_EQ(tables.routes.size(), 1u);
  tables.log.clear();

  const NetdAnswer removed = keeper.Remove(kForeignDevice);
  EXPECT_EQ(tables.log, (Log{"neigh del 172.16.4.9 if2", "route del 172.16.4.9/32 if2 metric 20"}));
  EXPECT_EQ(removed.removed, 2u);
  EXPECT_TRUE(tables.neighbours.empty());
  EXPECT_TRUE(tables.routes.empty());
  EXPECT_EQ(keeper.size(), 0u);
}

TEST_F(BracketKeeperTest, ExistingHostRouteGivesWayAndComesBackWithItsAttributes) {
  // A VPN client's route to its server, with a better metric than ours.
  RouteEntry vpn = FakeNetTables::Route(kForeignDevice, 32, kLabIf, 0, MakeIpv4(10, 1, 1, 254));
  vpn.protocol = 4;
  tables.routes.push_back(vpn);
  keeper.Add(Add(kLanAddress, kForeignDevice));
  EXPECT_EQ(
      tables.log,
      (Log{"neigh add 172.16.4.9 if2 00:60:E9:12:34:56", "route del 172.16.4.9/32 if3 metric 0",
           "route set 172.16.4.9/32 if2 metric 20", "route add 172.16.4.9/32 if2 metric 20"}));
  ASSERT_EQ(tables.routes.size(), 1u);
  EXPECT_EQ(tables.routes[0].ifIndex, kLanIf);
  tables.log.clear();

  keeper.Remove(kForeignDevice);
  EXPECT_EQ(tables.log, (Log{"neigh del 172.16.4.9 if2", "route del 172.16.4.9/32 if2 metric 20",
                             "route restore 172.16.4.9/32 if3 metric 0"}));
  ASSERT_EQ(tables.routes.size(), 1u);
  EXPECT_EQ(tables.routes[0].gateways, std::vector<Ipv4>{MakeIpv4(10, 1, 1, 254)});
  EXPECT_EQ(tables.routes[0].protocol, 4);
  EXPECT_EQ(tables.routes[0].image, vpn.image);
}

TEST_F(BracketKeeperTest, StaticEntryOnTheInterfaceComesBackLearntOneGoesOtherInterfacesStay) {
  tables.neighbours.push_back(
      Neighbour(kLanIf, kSameSubnetDevice, NUD_PERMANENT, kAdminMac, {1, 2}));
  tables.neighbours.push_back(Neighbour(kLabIf, kSameSubnetDevice, NUD_PERMANENT, kAdminMac));
  tables.neighbours.push_back(Neighbour(kLabIf, MakeIpv4(10, 20, 30, 40), NUD_STALE, kAdminMac));
  keeper.Add(Add(kLanAddress, kSameSubnetDevice));
  keeper.Add(Add(kLabAddress, MakeIpv4(10, 20, 30, 40)));
  EXPECT_EQ(tables.log,
            (Log{"neigh del 192.168.1.77 if2", "neigh add 192.168.1.77 if2 00:60:E9:12:34:56",
                 "neigh del 10.20.30.40 if3", "neigh add 10.20.30.40 if3 00:60:E9:12:34:56"}));
  tables.log.clear();
  keeper.RemoveAll();
  EXPECT_EQ(tables.log, (Log{"neigh del 10.20.30.40 if3", "neigh del 192.168.1.77 if2",
                             "neigh restore 192.168.1.77 if2 02:AA:BB:CC:DD:EE"}));
  // The administrator's two entries, and no learnt one.
  ASSERT_EQ(tables.neighbours.size(), 2u);
  EXPECT_EQ(tables.neighbours[0].ifIndex, kLabIf);
  EXPECT_EQ(tables.neighbours[1].ifIndex, kLanIf);
  EXPECT_EQ(tables.neighbours[1].mac, kAdminMac);
  EXPECT_EQ(tables.neighbours[1].image, (TableImage{1, 2}));
}

TEST_F(BracketKeeperTest, RenewedBracketPutsBackTheOriginalOnceAtTheEnd) {
  tables.neighbours.push_back(Neighbour(kLanIf, kSameSubnetDevice, NUD_PERMANENT, kAdminMac));
  keeper.Add(Add(kLanAddress, kSameSubnetDevice));
  keeper.Add(Add(kLanAddress, kSameSubnetDevice));  // a timer step installs again
  ASSERT_EQ(tables.neighbours.size(), 1u);
  EXPECT_EQ(tables.neighbours[0].mac, kMac);
  keeper.Remove(kSameSubnetDevice);
  keeper.Remove(kSameSubnetDevice);  // the list's clean-up removes again
  ASSERT_EQ(tables.neighbours.size(), 1u);
  EXPECT_EQ(tables.neighbours[0].mac, kAdminMac);
}

TEST_F(BracketKeeperTest, RemovalLeavesAnEntrySomeoneElseSetMeanwhile) {
  keeper.Add(Add(kLanAddress, kSameSubnetDevice));
  tables.neighbours[0].mac = kAdminMac;  // an administrator's `ip neigh replace`
  keeper.Remove(kSameSubnetDevice);
  ASSERT_EQ(tables.neighbours.size(), 1u);
  EXPECT_EQ(tables.neighbours[0].mac, kAdminMac);
}

TEST_F(BracketKeeperTest, RemovingAnAddressWithoutBracketChangesNothing) {
  tables.neighbours.push_back(Neighbour(kLanIf, kSameSubnetDevice, NUD_PERMANENT, kAdminMac));
  tables.routes.push_back(FakeNetTables::Route(kSameSubnetDevice, 32, kLanIf, 0));
  const NetdAnswer answer = keeper.Remove(kSameSubnetDevice);
  EXPECT_EQ(answer.route, RouteOutcome::kNotNeeded);
  EXPECT_TRUE(tables.log.empty());
}

TEST_F(BracketKeeperTest, SubnetIsJudgedByTheMatchingRowsNetmask) {
  // 10.200.0.7 is foreign to 192.168.1.5/24 but inside 10.1.1.1/8.
  EXPECT_EQ(keeper.Add(Add(kLabAddress, MakeIpv4(10, 200, 0, 7))).route, RouteOutcome::kNotNeeded);
  EXPECT_EQ(keeper.Add(Add(kLanAddress, MakeIpv4(10, 200, 0, 7))).route, RouteOutcome::kInstalled);
  EXPECT_EQ(tables.routes.size(), 1u);
}

TEST_F(BracketKeeperTest, NoAddressOrVanishedInterfaceInstallsNothing) {
  EXPECT_EQ(keeper.Add(Add(kLanAddress, 0)).neighbour, NeighbourOutcome::kNotAsked);
  EXPECT_EQ(keeper.Add(Add(MakeIpv4(192, 168, 9, 9), kForeignDevice)).neighbour,
            NeighbourOutcome::kNoInterface);
  EXPECT_TRUE(tables.log.empty());
  EXPECT_EQ(keeper.size(), 0u);
}

TEST_F(BracketKeeperTest, EmptyOrUnreadableAddressTableIsReportedForBothSteps) {
  for (auto table :
       {std::optional<std::vector<InterfaceAddress>>{},
        std::optional<std::vector<InterfaceAddress>>{std::vector<InterfaceAddress>{}}}) {
    tables.addresses = table;
    const NetdAnswer answer = keeper.Add(Add(kLanAddress, kForeignDevice));
    EXPECT_EQ(answer.neighbour, NeighbourOutcome::kAddressTableMissing);
    EXPECT_EQ(answer.route, RouteOutcome::kAddressTableMissing);
  }
  EXPECT_TRUE(tables.log.empty());
}

TEST_F(BracketKeeperTest, FailedNeighbourCreateGivesItsCodeAndPutsTheOldEntryBack) {
  tables.neighbours.push_back(Neighbour(kLanIf, kSameSubnetDevice, NUD_PERMANENT, kAdminMac));
  tables.createNeighbourResult = -ENODEV;
  const NetdAnswer answer = keeper.Add(Add(kLanAddress, kSameSubnetDevice));
  EXPECT_EQ(answer.neighbour, NeighbourOutcome::kCreateFailed);
  EXPECT_EQ(answer.error, 19u);
  ASSERT_EQ(tables.neighbours.size(), 1u);
  EXPECT_EQ(tables.neighbours[0].mac, kAdminMac);
  EXPECT_EQ(keeper.size(), 0u);
}

TEST_F(BracketKeeperTest, RefusedRouteIsNotCreatedAndTheOldOneComesBack) {
  for (int refusal : {-EINVAL, -EOPNOTSUPP}) {
    tables.routes = {FakeNetTables::Route(kForeignDevice, 32, kLabIf, 7)};
    tables.setRouteResult = refusal;
    tables.log.clear();
    const NetdAnswer answer = keeper.Add(Add(kLanAddress, kForeignDevice));
    EXPECT_EQ(answer.route, RouteOutcome::kRefusedByKernel);
    EXPECT_EQ(
        tables.log,
        (Log{"neigh add 172.16.4.9 if2 00:60:E9:12:34:56", "route del 172.16.4.9/32 if3 metric 7",
             "route set 172.16.4.9/32 if2 metric 20", "route restore 172.16.4.9/32 if3 metric 7"}));
    keeper.Remove(kForeignDevice);
  }
}

TEST_F(BracketKeeperTest, OtherSetFailuresFallBackToCreateWhoseFailureIsSilent) {
  tables.setRouteResult = -EPERM;
  tables.createRouteResult = -EPERM;
  const NetdAnswer answer = keeper.Add(Add(kLanAddress, kForeignDevice));
  EXPECT_EQ(answer.route, RouteOutcome::kNotNeeded);
  EXPECT_EQ(tables.log, (Log{"neigh add 172.16.4.9 if2 00:60:E9:12:34:56",
                             "route set 172.16.4.9/32 if2 metric 20",
                             "route add 172.16.4.9/32 if2 metric 20"}));
}

TEST_F(BracketKeeperTest, RefusedRequestsTouchNoTable) {
  tables.routes.push_back(FakeNetTables::Route(0, 0, kLanIf, 0, MakeIpv4(192, 168, 1, 1)));
  tables.neighbours.push_back(
      Neighbour(kLanIf, MakeIpv4(192, 168, 1, 1), NUD_PERMANENT, kAdminMac));
  const NetdAnswer gateway = keeper.Add(Add(kLanAddress, MakeIpv4(192, 168, 1, 1)));
  EXPECT_EQ(gateway.neighbour, NeighbourOutcome::kRefused);
  EXPECT_EQ(gateway.refusal, Refusal::kRouterAddress);
  EXPECT_EQ(keeper.Add(Add(kLanAddress, kLanAddress)).refusal, Refusal::kLocalAddress);
  EXPECT_EQ(keeper.Add(Add(kLanAddress, kForeignDevice, {0x01, 0x00, 0x5E, 0, 0, 1})).refusal,
            Refusal::kBadMac);
  EXPECT_TRUE(tables.log.empty());
  EXPECT_EQ(keeper.size(), 0u);
  // The same gateway with the MAC the kernel already knows for it is no spoof.
  EXPECT_EQ(keeper.Add(Add(kLanAddress, MakeIpv4(192, 168, 1, 1), kAdminMac)).refusal,
            Refusal::kNone);
}

TEST_F(BracketKeeperTest, OneClientHoldsAtMost4096Brackets) {
  for (std::uint32_t i = 0; i < kMaxNetdBrackets; ++i) {
    ASSERT_EQ(keeper
                  .Add(Add(kLabAddress, MakeIpv4(10, 100, static_cast<std::uint8_t>(i >> 8),
                                                 static_cast<std::uint8_t>(i))))
                  .refusal,
              Refusal::kNone);
  }
  EXPECT_EQ(keeper.Add(Add(kLabAddress, MakeIpv4(10, 101, 0, 1))).refusal, Refusal::kTooMany);
  // Renewing one it holds still works.
  EXPECT_EQ(keeper.Add(Add(kLabAddress, MakeIpv4(10, 100, 0, 7))).refusal, Refusal::kNone);
  EXPECT_EQ(keeper.size(), kMaxNetdBrackets);
}

TEST_F(BracketKeeperTest, UnreadableRouteTableRefusesRatherThanGuesses) {
  tables.dumpRoutesResult = -EIO;
  EXPECT_EQ(keeper.Add(Add(kLanAddress, kForeignDevice)).refusal, Refusal::kRouterAddress);
  EXPECT_TRUE(tables.log.empty());
}

TEST_F(BracketKeeperTest, JournalNamesWhatIsAboutToBeInstalledBeforeTheTablesChange) {
  std::vector<std::pair<std::size_t, std::vector<Bracket>>> writes;  // log length, content
  BracketKeeper journalled(tables, [&](const std::vector<Bracket>& all) {
    writes.emplace_back(tables.log.size(), all);
  });
  tables.routes.push_back(FakeNetTables::Route(kForeignDevice, 32, kLabIf, 0));
  journalled.Add(Add(kLanAddress, kForeignDevice));
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].first, 0u);  // before "neigh add"
  ASSERT_EQ(writes[0].second.size(), 1u);
  EXPECT_TRUE(writes[0].second[0].neighbour);
  EXPECT_FALSE(writes[0].second[0].route);
  EXPECT_EQ(writes[1].first, 1u);  // before the old route goes
  ASSERT_TRUE(writes[1].second[0].route);
  EXPECT_EQ(writes[1].second[0].route->ifIndex, kLanIf);
  ASSERT_EQ(writes[1].second[0].savedRoutes.size(), 1u);
  EXPECT_EQ(writes[1].second[0].savedRoutes[0].ifIndex, kLabIf);
  journalled.RemoveAll();
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_TRUE(writes[2].second.empty());
}

TEST_F(BracketKeeperTest, AnotherHelpersEntriesAreReplacedButNeverPutBack) {
  // A second run at the same time brackets the same device: what the first
  // helper installed must not come back when the second one ends.
  Bracket first;
  first.device = kForeignDevice;
  first.ifIndex = kLanIf;
  first.mac = kMac;
  first.neighbour = true;
  first.route = HostRoute{kForeignDevice, kLanIf, kHostRouteMetric};
  tables.neighbours.push_back(Neighbour(kLanIf, kForeignDevice, NUD_PERMANENT, kMac));
  tables.routes.push_back(AsRouteEntry(*first.route));
  BracketKeeper second(tables, {}, [&] { return std::vector<Bracket>{first}; });
  EXPECT_EQ(second.Add(Add(kLanAddress, kForeignDevice)).route, RouteOutcome::kInstalled);
  second.Remove(kForeignDevice);
  EXPECT_TRUE(tables.neighbours.empty());
  EXPECT_TRUE(tables.routes.empty());
}

// The keeper over the real tables, inside a namespace of its own.

/// A namespace with a veth pair: vtb0 10.77.0.1/24 is the interface that
/// heard the device, vtb1 10.88.0.1/24 another one.
class KeeperInNamespace : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string why = ns_.Create();
    if (!why.empty()) GTEST_SKIP() << why;
    tables_ = MakeSystemNetTables();
  }

  int Ip(const std::string& args) { return ns_.Ip(args); }
  std::string IpOutput(const std::string& args) { return ns_.IpOutput(args); }

  /// Runs `body` on a thread inside the namespace; fails without running it
  /// when the thread is not inside.
  void InNamespace(const std::function<void()>& body) {
    ASSERT_TRUE(ns_.RunInside(body))
        << "thread is not inside namespace " << ns_.name() << "; nothing was changed";
  }

  test_support::TestNamespace ns_;
  std::unique_ptr<NetTables> tables_;
};

TEST_F(KeeperInNamespace, ForeignDeviceIsReachableDuringTheOperationAndLeavesNothingBehind) {
  const std::string routesBefore = IpOutput("route show table main");
  ASSERT_EQ(0, Ip("neigh add 192.168.50.20 lladdr 02:aa:aa:aa:aa:aa dev vtb1 nud stale"));
  ASSERT_EQ(0, Ip("route add 192.168.50.20/32 dev vtb1 proto dhcp"));
  const std::string neighboursBefore = IpOutput("neigh show to 192.168.50.20");
  const std::string routeBefore = IpOutput("route show 192.168.50.20");
  BracketKeeper keeper(*tables_);

  InNamespace([&] { keeper.Add(Add(MakeIpv4(10, 77, 0, 1), MakeIpv4(192, 168, 50, 20))); });
  // The entry learnt on the other interface stays; the other route gives way.
  EXPECT_EQ(IpOutput("neigh show to 192.168.50.20 dev vtb1"),
            "192.168.50.20 lladdr 02:aa:aa:aa:aa:aa STALE \n");
  EXPECT_EQ(IpOutput("neigh show to 192.168.50.20 dev vtb0"),
            "192.168.50.20 lladdr 00:60:e9:12:34:56 PERMANENT \n");
  EXPECT_EQ(IpOutput("route show 192.168.50.20"),
            "192.168.50.20 dev vtb0 proto static scope link metric 20 \n");

  InNamespace([&] { keeper.Remove(MakeIpv4(192, 168, 50, 20)); });
  EXPECT_EQ(IpOutput("neigh show to 192.168.50.20"), neighboursBefore);
  EXPECT_EQ(IpOutput("route show 192.168.50.20"), routeBefore);
  ASSERT_EQ(0, Ip("route del 192.168.50.20/32 dev vtb1"));
  EXPECT_EQ(IpOutput("route show table main"), routesBefore);
}

TEST_F(KeeperInNamespace, SameSubnetDeviceGetsNoRoute) {
  BracketKeeper keeper(*tables_);
  std::string routesDuring;
  InNamespace([&] {
    keeper.Add(Add(MakeIpv4(10, 77, 0, 1), MakeIpv4(10, 77, 0, 50)));
    routesDuring = test_support::ShellOutput("ip route show table main");
  });
  EXPECT_EQ(IpOutput("neigh show to 10.77.0.50"),
            "10.77.0.50 dev vtb0 lladdr 00:60:e9:12:34:56 PERMANENT \n");
  EXPECT_EQ(routesDuring,
            "10.77.0.0/24 dev vtb0 proto kernel scope link src 10.77.0.1 \n"
            "10.88.0.0/24 dev vtb1 proto kernel scope link src 10.88.0.1 \n");
  InNamespace([&] { keeper.Remove(MakeIpv4(10, 77, 0, 50)); });
  EXPECT_EQ(IpOutput("neigh show to 10.77.0.50"), "");
}

TEST_F(KeeperInNamespace, AdministratorsEntriesComeBackExactly) {
  ASSERT_EQ(0, Ip("neigh add 192.168.50.21 lladdr 02:bb:bb:bb:bb:bb dev vtb0 nud permanent"));
  ASSERT_EQ(0, Ip("route add 192.168.50.21/32 via 10.88.0.254 dev vtb1 metric 5 proto boot "
                  "mtu 1400 src 10.88.0.1"));
  const std::string neighbourBefore = IpOutput("-d neigh show to 192.168.50.21");
  const std::string routeBefore = IpOutput("-d route show 192.168.50.21");
  BracketKeeper keeper(*tables_);
  InNamespace([&] { keeper.Add(Add(MakeIpv4(10, 77, 0, 1), MakeIpv4(192, 168, 50, 21))); });
  EXPECT_EQ(IpOutput("neigh show to 192.168.50.21"),
            "192.168.50.21 dev vtb0 lladdr 00:60:e9:12:34:56 PERMANENT \n");
  EXPECT_EQ(IpOutput("route show 192.168.50.21"),
            "192.168.50.21 dev vtb0 proto static scope link metric 20 \n");
  InNamespace([&] { keeper.Remove(MakeIpv4(192, 168, 50, 21)); });
  EXPECT_EQ(IpOutput("-d neigh show to 192.168.50.21"), neighbourBefore);
  EXPECT_EQ(IpOutput("-d route show 192.168.50.21"), routeBefore);
  EXPECT_NE(routeBefore.find("mtu 1400"), std::string::npos) << routeBefore;
}

}  // namespace
}  // namespace vantrell
