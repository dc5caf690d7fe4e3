#include "config/config_item_ids.h"

#include <gtest/gtest.h>

#include <set>

namespace vantrell {
namespace {

using namespace item;

TEST(ConfigItemIds, TosMapEntriesSkip344) {
  EXPECT_EQ(TosMapEntry(1), 235u);
  EXPECT_EQ(TosMapEntry(8), 242u);
  EXPECT_EQ(TosMapEntry(9), 317u);
  EXPECT_EQ(TosMapEntry(35), 343u);
  EXPECT_EQ(TosMapEntry(36), 345u);
  EXPECT_EQ(TosMapEntry(64), 373u);
  EXPECT_EQ(TosMapEntry(0), 0u);
  EXPECT_EQ(TosMapEntry(65), 0u);
  std::set<ConfigItemId> ids;
  for (int k = 1; k <= 64; ++k) ids.insert(TosMapEntry(k));
  EXPECT_EQ(ids.size(), 64u);
  EXPECT_EQ(ids.count(344), 0u);
}

TEST(ConfigItemIds, FamiliesStepPerPort) {
  EXPECT_EQ(PcfgDisable(1), 26u);
  EXPECT_EQ(PcfgDisable(8), 68u);
  EXPECT_EQ(PcfgSpeed(8), 70u);
  EXPECT_EQ(D_CONF_ETH_PCFG_FDX8, 71u);
  EXPECT_EQ(PcfgDisable(0), 0u);
  EXPECT_EQ(PcfgDisable(9), 0u);
  EXPECT_EQ(WarnTo(4), 78u);
  EXPECT_EQ(WarnTo(5), 0u);
  EXPECT_EQ(D_CONF_VLAN_TYPE8, 428u);
  EXPECT_EQ(D_CONF_VLAN_FRBVID8, 431u);
  EXPECT_EQ(D_CONF_ETH_SPAN_TRK4_COST, 612u);
  EXPECT_EQ(D_CONF_ETH_PCFG_DEVIP12, 662u);
  EXPECT_EQ(D_CONF_GRANTIP_IP10, 200u);
  EXPECT_EQ(kGrantIpNetmask10, 316u);
  EXPECT_EQ(D_CONF_COSMAP7, 234u);
  EXPECT_EQ(D_CONF_QOS_INSPECT8_TOS, 399u);
  EXPECT_EQ(D_CONF_SNMP_V3UADEE, 711u);
  EXPECT_EQ(RelayPortLoadTime(8), 186u);
}

}  // namespace
}  // namespace vantrell
