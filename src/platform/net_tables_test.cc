#include "platform/net_tables.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/neighbour.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "platform/capability.h"
#include "support/test_namespace.h"

namespace vantrell {
namespace {

const MacAddress kMac = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
const Ipv4 kVeth0Address = MakeIpv4(10, 77, 0, 1);
const Ipv4 kNeighbourAddress = MakeIpv4(10, 77, 0, 9);
const Ipv4 kOtherNeighbourAddress = MakeIpv4(10, 77, 0, 10);
const Ipv4 kForeignAddress = MakeIpv4(192, 168, 77, 7);

/// The tables of a private namespace with the veth pair vtb0 / vtb1.
class NetTablesInNamespace : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string why = ns_.Create();
    if (!why.empty()) GTEST_SKIP() << why;
  }

  int Ip(const std::string& args) { return ns_.Ip(args); }
  std::string IpOutput(const std::string& args) { return ns_.IpOutput(args); }

  /// Runs `body` on a thread inside the namespace, with tables and interface
  /// indexes of that namespace. Fails the test, without running `body`, when
  /// the thread cannot prove it is inside.
  void InNamespace(const std::function<void(NetTables&, int veth0, int veth1)>& body) {
    const bool entered = ns_.RunInside([&] {
      auto tables = MakeSystemNetTables();
      body(*tables, static_cast<int>(if_nametoindex("vtb0")),
           static_cast<int>(if_nametoindex("vtb1")));
    });
    ASSERT_TRUE(entered) << "thread is not inside namespace " << ns_.name()
                         << "; nothing was changed";
  }

  test_support::TestNamespace ns_;
};

std::vector<NeighbourEntry> NeighboursOf(NetTables& tables, Ipv4 address) {
  std::vector<NeighbourEntry> all;
  EXPECT_EQ(0, tables.DumpNeighbours(all));
  std::erase_if(all, [&](const NeighbourEntry& e) { return e.address != address; });
  return all;
}

std::vector<RouteEntry> HostRoutesOf(NetTables& tables, Ipv4 address) {
  std::vector<RouteEntry> all;
  EXPECT_EQ(0, tables.DumpRoutes(all));
  std::erase_if(
      all, [&](const RouteEntry& r) { return r.destination != address || r.prefixLength != 32; });
  return all;
}

TEST_F(NetTablesInNamespace, AddressTableIsTheNamespacesOwn) {
  InNamespace([](NetTables& tables, int veth0, int) {
    const auto table = tables.ReadAddressTable();
    ASSERT_TRUE(table.has_value());
    const auto row = std::find_if(table->begin(), table->end(), [](const InterfaceAddress& r) {
      return r.address == kVeth0Address;
    });
    ASSERT_NE(row, table->end());
    EXPECT_EQ(row->netmask, MakeIpv4(255, 255, 255, 0));
    EXPECT_EQ(row->ifIndex, veth0);
  });
}

TEST_F(NetTablesInNamespace, StaticNeighbourIsPermanentWithItsMac) {
  int rc = -1, badInterfaceRc = 0;
  std::vector<NeighbourEntry> dumped;
  int veth0Index = 0;
  InNamespace([&](NetTables& tables, int veth0, int) {
    veth0Index = veth0;
    rc = tables.CreateStaticNeighbour(veth0, kNeighbourAddress, kMac);
    badInterfaceRc = tables.CreateStaticNeighbour(9999, kOtherNeighbourAddress, kMac);
    dumped = NeighboursOf(tables, kNeighbourAddress);
  });
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(badInterfaceRc, -ENODEV);
  ASSERT_EQ(dumped.size(), 1u);
  EXPECT_EQ(dumped[0].ifIndex, veth0Index);
  EXPECT_EQ(dumped[0].state, NUD_PERMANENT);
  EXPECT_EQ(dumped[0].mac, kMac);
  EXPECT_EQ(IpOutput("neigh show to 10.77.0.9"),
            "10.77.0.9 dev vtb0 lladdr 02:11:22:33:44:55 PERMANENT \n");
}

TEST_F(NetTablesInNamespace, StaticNeighbourOverwritesALearntOne) {
  ASSERT_EQ(0, Ip("neigh add 10.77.0.9 lladdr 02:aa:aa:aa:aa:aa dev vtb0 nud stale"));
  int rc = -1;
  InNamespace([&](NetTables& tables, int veth0, int) {
    rc = tables.CreateStaticNeighbour(veth0, kNeighbourAddress, kMac);
  });
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(IpOutput("neigh show to 10.77.0.9"),
            "10.77.0.9 dev vtb0 lladdr 02:11:22:33:44:55 PERMANENT \n");
}

TEST_F(NetTablesInNamespace, DeletesEveryNeighbourOfAnAddress) {
  ASSERT_EQ(0, Ip("neigh add 10.77.0.9 lladdr 02:11:22:33:44:55 dev vtb0 nud permanent"));
  ASSERT_EQ(0, Ip("neigh add 10.77.0.9 lladdr 02:aa:aa:aa:aa:aa dev vtb1 nud stale"));
  ASSERT_EQ(0, Ip("neigh add 10.77.0.10 lladdr 02:bb:bb:bb:bb:bb dev vtb0 nud permanent"));
  std::size_t found = 0;
  std::vector<int> deleteResults;
  std::vector<NeighbourEntry> left;
  InNamespace([&](NetTables& tables, int, int) {
    const auto entries = NeighboursOf(tables, kNeighbourAddress);
    found = entries.size();
    for (const NeighbourEntry& entry : entries)
      deleteResults.push_back(tables.DeleteNeighbour(entry));
    left = NeighboursOf(tables, kNeighbourAddress);
  });
  EXPECT_EQ(found, 2u);
  EXPECT_EQ(deleteResults, (std::vector<int>{0, 0}));
  EXPECT_TRUE(left.empty());
  EXPECT_EQ(IpOutput("neigh show to 10.77.0.9"), "");
  EXPECT_EQ(IpOutput("neigh show to 10.77.0.10"),
            "10.77.0.10 dev vtb0 lladdr 02:bb:bb:bb:bb:bb PERMANENT \n");
}

TEST_F(NetTablesInNamespace, HostRouteIsCreatedThenReplaced) {
  int setWhenAbsent = 0, create = -1, createAgain = 0, replace = -1;
  std::string afterCreate;
  std::vector<RouteEntry> dumped;
  int veth1Index = 0;
  InNamespace([&](NetTables& tables, int veth0, int veth1) {
    veth1Index = veth1;
    setWhenAbsent = tables.SetHostRoute({kForeignAddress, veth0});
    create = tables.CreateHostRoute({kForeignAddress, veth0});
    createAgain = tables.CreateHostRoute({kForeignAddress, veth0});
    afterCreate = test_support::ShellOutput("ip route show 192.168.77.7");
    replace = tables.SetHostRoute({kForeignAddress, veth1});
    dumped = HostRoutesOf(tables, kForeignAddress);
  });
  EXPECT_TRUE(setWhenAbsent == -ENOENT || setWhenAbsent == -ESRCH) << setWhenAbsent;
  EXPECT_EQ(create, 0);
  EXPECT_EQ(createAgain, -EEXIST);
  EXPECT_EQ(afterCreate, "192.168.77.7 dev vtb0 proto static scope link metric 20 \n");
  EXPECT_EQ(replace, 0);
  EXPECT_EQ(IpOutput("route show 192.168.77.7"),
            "192.168.77.7 dev vtb1 proto static scope link metric 20 \n");
  ASSERT_EQ(dumped.size(), 1u);
  EXPECT_EQ(dumped[0].ifIndex, veth1Index);
  EXPECT_EQ(dumped[0].priority, 20u);
  EXPECT_EQ(dumped[0].protocol, RTPROT_STATIC);
  EXPECT_EQ(dumped[0].scope, RT_SCOPE_LINK);
  EXPECT_EQ(dumped[0].table, static_cast<std::uint32_t>(RT_TABLE_MAIN));
}

TEST_F(NetTablesInNamespace, DeletesHostRoutesFromAnySourceAndKeepsTheRest) {
  ASSERT_EQ(0, Ip("route add 192.168.77.7/32 dev vtb0 proto static scope link metric 20"));
  ASSERT_EQ(0, Ip("route add 192.168.77.7/32 dev vtb1 proto boot metric 5"));
  ASSERT_EQ(0, Ip("route add 192.168.77.0/24 dev vtb1"));
  std::size_t found = 0;
  std::vector<int> deleteResults;
  InNamespace([&](NetTables& tables, int, int) {
    const auto routes = HostRoutesOf(tables, kForeignAddress);
    found = routes.size();
    for (const RouteEntry& route : routes) deleteResults.push_back(tables.DeleteRoute(route));
  });
  EXPECT_EQ(found, 2u);
  EXPECT_EQ(deleteResults, (std::vector<int>{0, 0}));
  EXPECT_EQ(IpOutput("route show 192.168.77.7/32"), "");
  EXPECT_EQ(IpOutput("route show 192.168.77.0/24"), "192.168.77.0/24 dev vtb1 scope link \n");
  EXPECT_NE(IpOutput("route show 10.77.0.0/24"), "");
}

TEST(Capability, AgreesWithTheEffectiveSetTheKernelReports) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line) && line.rfind("CapEff:", 0) != 0) {
  }
  ASSERT_EQ(line.rfind("CapEff:", 0), 0u);
  const unsigned long long effective = std::stoull(line.substr(7), nullptr, 16);
  constexpr int kNetAdminBit = 12;
  EXPECT_EQ(HasNetAdminCapability(), ((effective >> kNetAdminBit) & 1) != 0);
}

}  // namespace
}  // namespace vantrell
