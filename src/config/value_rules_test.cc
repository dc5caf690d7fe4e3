#include "config/value_rules.h"

#include <gtest/gtest.h>

#include "config/file_lookup.h"

namespace vantrell {
namespace {

TEST(ValueRules, NumberedNamesAndFoundValues) {
  EXPECT_EQ(NumberedName("D_CONF_ETH_PCFG_DISABLE", 3), "D_CONF_ETH_PCFG_DISABLE3");
  EXPECT_EQ(NumberedName("D_CONF_ETH_SPAN_PORT", 8, "_EN"), "D_CONF_ETH_SPAN_PORT8_EN");
  EXPECT_EQ(FoundValue(std::string(NotFoundMarker)), std::nullopt);
  EXPECT_EQ(FoundValue(""), std::optional<std::string>(""));
  EXPECT_TRUE(kFlagRange.Contains(1));
  EXPECT_FALSE(kFlagRange.Contains(2));
  EXPECT_TRUE(kUnrestricted.Contains(-2147483647 - 1));
  EXPECT_TRUE(kUnrestricted.Contains(0xFFFFFFFFu));
}

TEST(ValueRules, DottedAddressIsStrict) {
  EXPECT_EQ(ParseDottedAddress("010.1.1.255"), MakeIpv4(10, 1, 1, 255));
  for (const char* bad :
       {"1.2.3", "1.2.3.256", "1.2.3.4 ", "1..2.3", "0x1.2.3.4", "1.2.3.4.5", "1.2.3.0001", ""}) {
    EXPECT_EQ(ParseDottedAddress(bad), std::nullopt) << bad;
  }
  EXPECT_TRUE(IsMulticastAddress(MakeIpv4(224, 0, 0, 1)));
  EXPECT_TRUE(IsMulticastAddress(MakeIpv4(239, 9, 9, 9)));
  EXPECT_FALSE(IsMulticastAddress(MakeIpv4(240, 0, 0, 1)));
}

TEST(ValueRules, MacTakesDashesOnly) {
  EXPECT_EQ(ParseDashedMac("01-00-5e-0A-bB-ff"), (MacAddress{0x01, 0x00, 0x5E, 0x0A, 0xBB, 0xFF}));
  EXPECT_EQ(ParseDashedMac("01:00:5e:0a:bb:ff"), std::nullopt);
  EXPECT_EQ(ParseDashedMac("01-00-5e:0a-bb-ff"), std::nullopt);
  EXPECT_EQ(ParseDashedMac("01-00-5e-0a-bb-fg"), std::nullopt);
  EXPECT_EQ(ParseDashedMac("01-00-5e-0a-bb-ff-"), std::nullopt);
}

TEST(ValueRules, ListsFieldsAndLines) {
  EXPECT_EQ(SplitList("1,,20,4094,"), (std::vector<std::string_view>{"1", "20", "4094"}));
  EXPECT_EQ(SplitList("a|b", '|'), (std::vector<std::string_view>{"a", "b"}));
  EXPECT_TRUE(SplitList("").empty());
  EXPECT_EQ(SplitFields(" 01-00 \t 3 7\n"), (std::vector<std::string_view>{"01-00", "3", "7"}));
  EXPECT_EQ(SplitFields("a b c", 2), (std::vector<std::string_view>{"a", "b"}));
  EXPECT_EQ(LineNumberAt("a\nbc\nd", 0), 1);
  EXPECT_EQ(LineNumberAt("a\nbc\nd", 1), 1);  // the LF ends line 1
  EXPECT_EQ(LineNumberAt("a\nbc\nd", 2), 2);
  EXPECT_EQ(LineNumberAt("a\nbc\nd", 99), 3);
  EXPECT_EQ(LineNumberAt("", 0), 1);
}

}  // namespace
}  // namespace vantrell
