#include "core/ipv4_subnet.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

TEST(Ipv4Subnet, ParsesPrefixAndClearsHostBits) {
  const auto subnet = ParseIpv4Subnet("192.168.10.77/24");
  ASSERT_TRUE(subnet);
  EXPECT_EQ(subnet->network, MakeIpv4(192, 168, 10, 0));
  EXPECT_EQ(subnet->prefix, 24);
  EXPECT_TRUE(subnet->Contains(MakeIpv4(192, 168, 10, 254)));
  EXPECT_FALSE(subnet->Contains(MakeIpv4(192, 168, 11, 1)));

  const auto host = ParseIpv4Subnet("10.0.0.5");
  ASSERT_TRUE(host);
  EXPECT_TRUE(host->Contains(MakeIpv4(10, 0, 0, 5)));
  EXPECT_FALSE(host->Contains(MakeIpv4(10, 0, 0, 6)));

  const auto everything = ParseIpv4Subnet("0.0.0.0/0");
  ASSERT_TRUE(everything);
  EXPECT_TRUE(everything->Contains(MakeIpv4(203, 0, 113, 9)));
  EXPECT_EQ(PrefixNetmask(20), MakeIpv4(255, 255, 240, 0));
}

TEST(Ipv4Subnet, RefusesMalformedText) {
  for (const char* text : {"10.0.0.0/33", "10.0.0.0/", "10.0.0.0/-1", "10.0.0/8", "10.0.0.0/8x",
                           "10.0.0.0/008", "net/8", ""}) {
    EXPECT_FALSE(ParseIpv4Subnet(text)) << text;
  }
}

}  // namespace
}  // namespace vantrell
