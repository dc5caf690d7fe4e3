#include "config/a8r8_file_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrell {
namespace {

TEST(A8R8FileText, TimeZonesRateLegendAndTosGroups) {
  EXPECT_EQ(kTimeZoneNames[35], "(GMT+03:00)Mairobi");
  EXPECT_EQ(kTimeZoneNames[61], "(GMT+12:00)Auckland, Wllington");
  std::string out;
  ConfigTextWriter file(out);
  WriteTimeZoneLines(file);
  EXPECT_EQ(out.substr(0, 44), "# \t--> 0  : (GMT-12:00)Eniwetok, Kwajalein\r\n");
  EXPECT_NE(out.find("# \t--> 62 : (GMT+12:00)Fiji, Kamchatka, Marshall Is.\r\n"),
            std::string::npos);
  EXPECT_EQ(TosGroupComment(1), "#[ToS1(0x00)|ToS2(0x04)|ToS3(0x08)|ToS4(0x0C)]\n");
  EXPECT_EQ(TosGroupComment(12), "#[ToS45(0xB0)|ToS46(Bx04)|ToS47(0xB8)|ToS48(0xBC)]\n");
  EXPECT_EQ(TosGroupComment(16), "#[ToS61(0xF0)|ToS62(0xF4)|ToS63(0xF8)|ToS64(0xFC)]\n");
  out.clear();
  WriteTosGroups(file, [](int k) -> std::optional<std::uint32_t> {
    if (k == 2) return std::nullopt;
    return static_cast<std::uint32_t>(k % 4);
  });
  EXPECT_EQ(out.substr(0, 70),
            "#[ToS1(0x00)|ToS2(0x04)|ToS3(0x08)|ToS4(0x0C)]\r\nToSMap1-4 1||3|0\r\n\r\n#[");
}

TEST(A8R8FileText, PortListsAndMacs) {
  EXPECT_EQ(FormatPortList(0x85, 8), "1,3,8");
  EXPECT_EQ(FormatPortList(0x300, 8), "");
  EXPECT_EQ(FormatPortList(0x200, 12), "10");
  EXPECT_EQ(ParsePortList("5,8", 8), 0x90u);
  EXPECT_EQ(ParsePortList("5,8,", 8), 0x90u);
  EXPECT_EQ(ParsePortList("", 8), 0u);
  EXPECT_FALSE(ParsePortList("9", 8).has_value());
  EXPECT_FALSE(ParsePortList("1,,2", 8).has_value());
  EXPECT_FALSE(ParsePortList(",", 8).has_value());
  EXPECT_FALSE(ParsePortList("1;2", 8).has_value());
  EXPECT_EQ(ParsePortList("12", 12), 0x800u);
  const std::uint8_t mac[6] = {0x01, 0x3F, 0xC2, 0x01, 0x02, 0x03};
  EXPECT_EQ(FormatMacDashed(mac), "01-3F-C2-01-02-03");
  EXPECT_EQ(ParseMacDashed("01-3f-C2-01-02-03"),
            (std::array<std::uint8_t, 6>{0x01, 0x3F, 0xC2, 0x01, 0x02, 0x03}));
  EXPECT_FALSE(ParseMacDashed("01-3F-C2-01-02-0").has_value());
  EXPECT_FALSE(ParseMacDashed("01:3F:C2:01:02:03").has_value());
  EXPECT_TRUE(IsFibreUplinkModel(Generation::kGenA1, 0x05C8));
  EXPECT_FALSE(IsFibreUplinkModel(Generation::kGenA2, 0x05C8));
  EXPECT_FALSE(IsFibreUplinkModel(Generation::kGenA1, 0x0538));
  EXPECT_TRUE(IsFibreUplinkModel(Generation::kGenA2, 0x0518));
}

}  // namespace
}  // namespace vantrell
