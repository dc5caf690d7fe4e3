#include "core/ipv4.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

TEST(Ipv4, OctetsAreKeptInNetworkOrder) {
  const Ipv4 address = MakeIpv4(192, 168, 1, 10);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&address);
  EXPECT_EQ(bytes[0], 192);
  EXPECT_EQ(bytes[3], 10);
  EXPECT_EQ(FormatIpv4(address), "192.168.1.10");
  EXPECT_EQ(FormatIpv4(0), "0.0.0.0");
  EXPECT_EQ(FormatIpv4(kAllOnesIpv4), "255.255.255.255");
}

TEST(Ipv4, ParseAcceptsOnlyStrictDottedDecimal) {
  EXPECT_EQ(ParseIpv4("10.0.0.2"), MakeIpv4(10, 0, 0, 2));
  EXPECT_EQ(ParseIpv4("255.255.255.255"), kAllOnesIpv4);
  for (const char* bad : {"", "10.0.0", "10.0.0.2.", "10.0.0.256", "10..0.2", "a.b.c.d",
                          "10.0.0.2 ", "1.2.3.0004", "-1.2.3.4"}) {
    EXPECT_FALSE(ParseIpv4(bad).has_value()) << bad;
  }
}

TEST(Ipv4, UsableHostAddressRejectsMulticastAndBroadcastEndings) {
  EXPECT_FALSE(IsUsableHostAddress(MakeIpv4(224, 0, 0, 1)));
  EXPECT_FALSE(IsUsableHostAddress(MakeIpv4(239, 255, 255, 254)));
  EXPECT_FALSE(IsUsableHostAddress(MakeIpv4(192, 168, 1, 255)));
  EXPECT_TRUE(IsUsableHostAddress(MakeIpv4(223, 255, 255, 254)));
  EXPECT_TRUE(IsUsableHostAddress(MakeIpv4(240, 0, 0, 1)));
  EXPECT_TRUE(IsUsableHostAddress(0));
}

}  // namespace
}  // namespace vantrell
