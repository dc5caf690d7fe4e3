#include "net/arp_route_bracket.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/neighbour.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/capability.h"
#include "platform/net_tables.h"
#include "support/test_namespace.h"

namespace vantrell {
namespace {

const MacAddress kMac = {0x00, 0x60, 0xE9, 0x12, 0x34, 0x56};
const Ipv4 kLanAddress = MakeIpv4(192, 168, 1, 5);
const Ipv4 kLanNetmask = MakeIpv4(255, 255, 255, 0);
const Ipv4 kLabAddress = MakeIpv4(10, 1, 1, 1);
const Ipv4 kSameSubnetDevice = MakeIpv4(192, 168, 1, 77);
const Ipv4 kForeignDevice = MakeIpv4(172, 16, 4, 9);
constexpr int kLanIf = 2;
constexpr int kLabIf = 3;

/// Neighbour and route tables kept in memory, with a log of every change
/// and results that a test can force.
class FakeNetTables : public NetTables {
 public:
  FakeNetTables() {
    addresses = std::vector<InterfaceAddress>{
        {MakeIpv4(127, 0, 0, 1), MakeIpv4(255, 0, 0, 0), 1},
        {kLabAddress, MakeIpv4(255, 0, 0, 0), kLabIf},
        {kLanAddress, kLanNetmask, kLanIf},
    };
  }

  std::optional<std::vector<InterfaceAddress>> ReadAddressTable() override { return addresses; }

  int CreateStaticNeighbour(int ifIndex, Ipv4 address, const MacAddress& mac) override {
    log.push_back("neigh add " + FormatIpv4(address) + " if" + std::to_string(ifIndex) + " " +
                  FormatMac(mac));
    if (createNeighbourResult) return *createNeighbourResult;
    neighbours.push_back({ifIndex, address, NUD_PERMANENT, mac});
    return 0;
  }

  int DumpNeighbours(std::vector<NeighbourEntry>& out) override {
    out = neighbours;
    return dumpNeighboursResult;
  }

  int DeleteNeighbour(const NeighbourEntry& entry) override {
    log.push_back("neigh del " + FormatIpv4(entry.address) + " if" + std::to_string(entry.ifIndex));
    std::erase_if(neighbours, [&](const NeighbourEntry& n) {
      return n.address == entry.address && n.ifIndex == entry.ifIndex;
    });
    return 0;
  }

  int SetHostRoute(const HostRoute& route) override {
    log.push_back("route set " + Describe(route));
    if (setRouteResult) return *setRouteResult;
    auto existing = FindHostRoute(route);
    if (existing == routes.end()) return -ENOENT;
    existing->ifIndex = route.ifIndex;
    return 0;
  }

  int CreateHostRoute(const HostRoute& route) override {
    log.push_back("route add " + Describe(route));
    if (createRouteResult) return *createRouteResult;
    if (FindHostRoute(route) != routes.end()) return -EEXIST;
    routes.push_back(HostRouteEntry(route.destination, route.ifIndex, route.metric));
    return 0;
  }

  int DumpRoutes(std::vector<RouteEntry>& out) override {
    out = routes;
    return dumpRoutesResult;
  }

  int DeleteRoute(const RouteEntry& route) override {
    log.push_back("route del " + FormatIpv4(route.destination) + "/" +
                  std::to_string(route.prefixLength) + " if" + std::to_string(route.ifIndex));
    std::erase_if(routes, [&](const RouteEntry& r) {
      return r.destination == route.destination && r.prefixLength == route.prefixLength &&
             r.ifIndex == route.ifIndex && r.priority == route.priority;
    });
    return 0;
  }

  static RouteEntry HostRouteEntry(Ipv4 destination, int ifIndex, std::uint32_t metric) {
    RouteEntry entry;
    entry.destination = destination;
    entry.prefixLength = 32;
    entry.ifIndex = ifIndex;
    entry.priority = metric;
    return entry;
  }

  std::optional<std::vector<InterfaceAddress>> addresses;
  std::vector<NeighbourEntry> neighbours;
  std::vector<RouteEntry> routes;
  std::optional<int> createNeighbourResult, setRouteResult, createRouteResult;
  int dumpNeighboursResult = 0;
  int dumpRoutesResult = 0;
  std::vector<std::string> log;

 private:
  static std::string Describe(const HostRoute& route) {
    return FormatIpv4(route.destination) + "/32 if" + std::to_string(route.ifIndex) + " metric " +
           std::to_string(route.metric);
  }
  std::vector<RouteEntry>::iterator FindHostRoute(const HostRoute& route) {
    return std::find_if(routes.begin(), routes.end(), [&](const RouteEntry& r) {
      return r.destination == route.destination && r.prefixLength == 32 &&
             r.priority == route.metric;
    });
  }
};

class RecordingSink : public MessageSink {
 public:
  void ShowMessage(std::string_view text, MessageIcon icon) override {
    shown.emplace_back(std::string(text), icon);
  }
  std::vector<std::pair<std::string, MessageIcon>> shown;
};

using Messages = std::vector<std::pair<std::string, MessageIcon>>;

DeviceRecord Device(Ipv4 localIfAddr, Ipv4 ipAddr) {
  DeviceRecord record = MakeZeroRecord();
  record.localIfAddr = localIfAddr;
  record.ipAddr = ipAddr;
  record.mac = kMac;
  return record;
}

class ArpRouteBracketTest : public ::testing::Test {
 protected:
  FakeNetTables tables;
  RecordingSink sink;
  ArpRouteBracket bracket{&tables, sink};
};

TEST_F(ArpRouteBracketTest, SameSubnetDeviceGetsArpEntryOnly) {
  bracket.Install(Device(kLanAddress, kSameSubnetDevice));
  EXPECT_EQ(tables.log, (std::vector<std::string>{"neigh add 192.168.1.77 if2 00:60:E9:12:34:56"}));
  EXPECT_TRUE(tables.routes.empty());
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(ArpRouteBracketTest, ForeignDeviceGetsArpEntryAndHostRouteUntilRemoved) {
  bracket.Install(Device(kLanAddress, kForeignDevice));
  EXPECT_EQ(tables.log, (std::vector<std::string>{
                            "neigh add 172.16.4.9 if2 00:60:E9:12:34:56",
                            "route set 172.16.4.9/32 if2 metric 20",
                            "route add 172.16.4.9/32 if2 metric 20",
                        }));
  ASSERT_EQ(tables.neighbours.size(), 1u);
  ASSERT_EQ(tables.routes.size(), 1u);

  bracket.Remove(kForeignDevice);
  EXPECT_TRUE(tables.neighbours.empty());
  EXPECT_TRUE(tables.routes.empty());
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(ArpRouteBracketTest, ExistingHostRouteIsUpdatedNotCreatedAgain) {
  tables.routes.push_back(FakeNetTables::HostRouteEntry(kForeignDevice, kLabIf, 20));
  bracket.AddHostRoute(kLanAddress, kForeignDevice);
  EXPECT_EQ(tables.log, (std::vector<std::string>{"route set 172.16.4.9/32 if2 metric 20"}));
  ASSERT_EQ(tables.routes.size(), 1u);
  EXPECT_EQ(tables.routes[0].ifIndex, kLanIf);
}

TEST_F(ArpRouteBracketTest, SubnetIsJudgedByTheMatchingRowsNetmask) {
  // 10.200.0.7 is foreign to 192.168.1.5/24 but inside 10.1.1.1/8.
  bracket.AddHostRoute(kLabAddress, MakeIpv4(10, 200, 0, 7));
  bracket.AddHostRoute(kLanAddress, MakeIpv4(10, 200, 0, 7));
  EXPECT_EQ(tables.log, (std::vector<std::string>{"route set 10.200.0.7/32 if2 metric 20",
                                                  "route add 10.200.0.7/32 if2 metric 20"}));
}

TEST_F(ArpRouteBracketTest, DeviceWithoutAddressGetsNothing) {
  bracket.Install(Device(kLanAddress, 0));
  EXPECT_TRUE(tables.log.empty());
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(ArpRouteBracketTest, VanishedInterfaceAddressInstallsNothing) {
  tables.neighbours.push_back({kLabIf, kForeignDevice, NUD_STALE, {}});
  bracket.Install(Device(MakeIpv4(192, 168, 9, 9), kForeignDevice));
  EXPECT_TRUE(tables.log.empty());
  EXPECT_EQ(tables.neighbours.size(), 1u);
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(ArpRouteBracketTest, LearntNeighbourOnAnotherInterfaceIsGoneAfterwards) {
  const MacAddress otherMac = {0x02, 0, 0, 0, 0, 1};
  tables.neighbours.push_back({kLabIf, kSameSubnetDevice, NUD_REACHABLE, otherMac});
  tables.neighbours.push_back({kLanIf, MakeIpv4(192, 168, 1, 1), NUD_REACHABLE, otherMac});

  bracket.AddStaticArpEntry(kLanAddress, kMac, kSameSubnetDevice);
  EXPECT_EQ(tables.log, (std::vector<std::string>{"neigh del 192.168.1.77 if3",
                                                  "neigh add 192.168.1.77 if2 00:60:E9:12:34:56"}));
  ASSERT_EQ(tables.neighbours.size(), 2u);
  EXPECT_EQ(tables.neighbours[1].ifIndex, kLanIf);
  EXPECT_EQ(tables.neighbours[1].mac, kMac);

  bracket.DeleteArpEntries(kSameSubnetDevice);
  ASSERT_EQ(tables.neighbours.size(), 1u);
  EXPECT_EQ(tables.neighbours[0].address, MakeIpv4(192, 168, 1, 1));
}

TEST_F(ArpRouteBracketTest, EveryHostRouteOfTheAddressIsDeletedAndWiderRoutesStay) {
  tables.routes.push_back(FakeNetTables::HostRouteEntry(kForeignDevice, kLabIf, 0));
  tables.routes.push_back(FakeNetTables::HostRouteEntry(kForeignDevice, kLanIf, 100));
  tables.routes.push_back(FakeNetTables::HostRouteEntry(MakeIpv4(172, 16, 4, 10), kLanIf, 20));
  RouteEntry subnet = FakeNetTables::HostRouteEntry(kForeignDevice, kLanIf, 0);
  subnet.prefixLength = 31;  // a network whose address equals the device's
  tables.routes.push_back(subnet);
  RouteEntry defaultRoute = FakeNetTables::HostRouteEntry(0, kLanIf, 0);
  defaultRoute.prefixLength = 0;
  tables.routes.push_back(defaultRoute);

  bracket.DeleteHostRoutes(kForeignDevice);
  bracket.DeleteHostRoutes(0);
  EXPECT_EQ(tables.log, (std::vector<std::string>{"route del 172.16.4.9/32 if3",
                                                  "route del 172.16.4.9/32 if2"}));
  EXPECT_EQ(tables.routes.size(), 3u);
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(ArpRouteBracketTest, EmptyOrUnreadableAddressTableIsReportedByBothSteps) {
  for (auto table :
       {std::optional<std::vector<InterfaceAddress>>{},
        std::optional<std::vector<InterfaceAddress>>{std::vector<InterfaceAddress>{}}}) {
    tables.addresses = table;
    sink.shown.clear();
    bracket.Install(Device(kLanAddress, kForeignDevice));
    EXPECT_EQ(sink.shown, (Messages{{"SetIpNetEntry table not found.", MessageIcon::kStop},
                                    {"DoSetIpForwardEntry table not found.", MessageIcon::kStop}}));
  }
  EXPECT_TRUE(tables.log.empty());
}

TEST_F(ArpRouteBracketTest, FailedNeighbourCreateShowsItsCode) {
  tables.createNeighbourResult = -ENODEV;
  bracket.AddStaticArpEntry(kLanAddress, kMac, kSameSubnetDevice);
  EXPECT_EQ(sink.shown, (Messages{{"DoSetIpNetEntry fail: -19\n", MessageIcon::kStop}}));
}

TEST_F(ArpRouteBracketTest, RefusedRouteIsReportedWithoutIconAndNotCreated) {
  for (int refusal : {-EINVAL, -EOPNOTSUPP}) {
    tables.setRouteResult = refusal;
    tables.log.clear();
    sink.shown.clear();
    bracket.AddHostRoute(kLanAddress, kForeignDevice);
    EXPECT_EQ(tables.log, (std::vector<std::string>{"route set 172.16.4.9/32 if2 metric 20"}));
    EXPECT_EQ(sink.shown, (Messages{{"Set forward entry fail", MessageIcon::kNone}}));
  }
}

TEST_F(ArpRouteBracketTest, OtherSetFailuresFallBackToCreateWhoseResultIsIgnored) {
  tables.setRouteResult = -EPERM;
  tables.createRouteResult = -EPERM;
  bracket.AddHostRoute(kLanAddress, kForeignDevice);
  EXPECT_EQ(tables.log, (std::vector<std::string>{"route set 172.16.4.9/32 if2 metric 20",
                                                  "route add 172.16.4.9/32 if2 metric 20"}));
  EXPECT_TRUE(sink.shown.empty());
}

TEST_F(ArpRouteBracketTest, UnreadableRouteTableIsReportedButAnEmptyOneIsNot) {
  bracket.DeleteHostRoutes(kForeignDevice);
  EXPECT_TRUE(sink.shown.empty());
  tables.dumpRoutesResult = -EIO;
  bracket.DeleteHostRoutes(kForeignDevice);
  EXPECT_EQ(sink.shown,
            (Messages{{"DoDeleteIpForwardEntry table not found.", MessageIcon::kStop}}));
}

TEST_F(ArpRouteBracketTest, UnreadableOrEmptyNeighbourTableIsSilent) {
  bracket.DeleteArpEntries(kForeignDevice);
  tables.neighbours.push_back({kLanIf, kForeignDevice, NUD_STALE, {}});
  tables.dumpNeighboursResult = -EIO;
  bracket.DeleteArpEntries(kForeignDevice);
  EXPECT_TRUE(tables.log.empty());
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
}

TEST_F(ArpRouteBracketTest, ScopedDeviceReachRemovesOnScopeExit) {
  {
    ScopedDeviceReach reach(bracket, Device(kLanAddress, kForeignDevice));
    EXPECT_EQ(tables.neighbours.size(), 1u);
    EXPECT_EQ(tables.routes.size(), 1u);
  }
  EXPECT_TRUE(tables.neighbours.empty());
  EXPECT_TRUE(tables.routes.empty());
}

// The bracket over the real tables, inside a namespace of its own.

/// A namespace with a veth pair: vtb0 10.77.0.1/24 is the interface that
/// heard the device, vtb1 10.88.0.1/24 another one.
class BracketInNamespace : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string why = ns_.Create();
    if (!why.empty()) GTEST_SKIP() << why;
  }

  int Ip(const std::string& args) { return ns_.Ip(args); }
  std::string IpOutput(const std::string& args) { return ns_.IpOutput(args); }

  /// Runs `body` with a bracket over the namespace's real tables on a thread
  /// inside it; fails without running `body` when the thread is not inside.
  void InNamespace(const std::function<void(ArpRouteBracket&)>& body) {
    const bool entered = ns_.RunInside([&] {
      auto tables = MakeSystemNetTables();
      ArpRouteBracket bracket(tables.get(), sink_);
      body(bracket);
    });
    ASSERT_TRUE(entered) << "thread is not inside namespace " << ns_.name()
                         << "; nothing was changed";
  }

  RecordingSink sink_;
  test_support::TestNamespace ns_;
};

TEST_F(BracketInNamespace, ForeignDeviceIsReachableDuringTheOperationAndLeavesNothingBehind) {
  const std::string routesBefore = IpOutput("route show table main");
  ASSERT_EQ(0, Ip("neigh add 192.168.50.20 lladdr 02:aa:aa:aa:aa:aa dev vtb1 nud stale"));
  ASSERT_EQ(0, Ip("route add 192.168.50.20/32 dev vtb1 proto dhcp"));
  const DeviceRecord device = Device(MakeIpv4(10, 77, 0, 1), MakeIpv4(192, 168, 50, 20));

  InNamespace([&](ArpRouteBracket& bracket) { bracket.Install(device); });
  EXPECT_EQ(IpOutput("neigh show to 192.168.50.20"),
            "192.168.50.20 dev vtb0 lladdr 00:60:e9:12:34:56 PERMANENT \n");
  EXPECT_EQ(IpOutput("route show 192.168.50.20"),
            "192.168.50.20 dev vtb1 proto dhcp scope link \n"
            "192.168.50.20 dev vtb0 proto static scope link metric 20 \n");

  InNamespace([&](ArpRouteBracket& bracket) { bracket.Remove(device.ipAddr); });
  EXPECT_EQ(IpOutput("neigh show to 192.168.50.20"), "");
  EXPECT_EQ(IpOutput("route show 192.168.50.20"), "");
  EXPECT_EQ(IpOutput("route show table main"), routesBefore);
  EXPECT_TRUE(sink_.shown.empty());
}

TEST_F(BracketInNamespace, SameSubnetDeviceGetsNoRoute) {
  const DeviceRecord device = Device(MakeIpv4(10, 77, 0, 1), MakeIpv4(10, 77, 0, 50));
  std::string routesDuring;
  InNamespace([&](ArpRouteBracket& bracket) {
    bracket.Install(device);
    routesDuring = test_support::ShellOutput("ip route show table main");
  });
  EXPECT_EQ(IpOutput("neigh show to 10.77.0.50"),
            "10.77.0.50 dev vtb0 lladdr 00:60:e9:12:34:56 PERMANENT \n");
  EXPECT_EQ(routesDuring,
            "10.77.0.0/24 dev vtb0 proto kernel scope link src 10.77.0.1 \n"
            "10.88.0.0/24 dev vtb1 proto kernel scope link src 10.88.0.1 \n");
  InNamespace([&](ArpRouteBracket& bracket) { bracket.Remove(device.ipAddr); });
  EXPECT_EQ(IpOutput("neigh show to 10.77.0.50"), "");
  EXPECT_TRUE(sink_.shown.empty());
}

}  // namespace
}  // namespace vantrell
