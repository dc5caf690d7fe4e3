#include "core/text_forms.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

TEST(TextForms, MacAndSerial) {
  EXPECT_EQ(FormatMac({0x00, 0x0a, 0xBC, 0x01, 0xff, 0x10}), "00:0A:BC:01:FF:10");
  EXPECT_EQ(ParseMac("00:0a:bc:01:FF:10"), (MacAddress{0x00, 0x0a, 0xBC, 0x01, 0xff, 0x10}));
  EXPECT_EQ(ParseMac("00-0A-BC-01-ff-10"), (MacAddress{0x00, 0x0a, 0xBC, 0x01, 0xff, 0x10}));
  EXPECT_FALSE(ParseMac("00:0A-BC:01:FF:10").has_value());
  EXPECT_FALSE(ParseMac("00:0A:BC:01:FF:1G").has_value());
  EXPECT_FALSE(ParseMac("00:0A:BC:01:FF").has_value());
  EXPECT_EQ(FormatSerial(42), "00042");
  EXPECT_EQ(FormatSerial(65535), "65535");
}

TEST(TextForms, FirmwareVersionDropsReleaseZeroOr0x30) {
  EXPECT_EQ(FormatFirmwareVersion(0x01020300), "1.2.3");
  EXPECT_EQ(FormatFirmwareVersion(0x010200FF), "1.2");
  EXPECT_EQ(FormatFirmwareVersion(0x01023000), "1.2");
  EXPECT_EQ(FormatFirmwareVersion(0x0A0B0C00), "A.B.C");
}

TEST(TextForms, FirmwareVersionParsesWhatTheFormatWrites) {
  EXPECT_EQ(ParseFirmwareVersion("2.0.6"), 0x02000600u);
  EXPECT_EQ(ParseFirmwareVersion("1.4"), 0x01040000u);
  EXPECT_EQ(ParseFirmwareVersion("a.Bc.ff"), 0x0ABCFF00u);
  EXPECT_EQ(ParseFirmwareVersion("0.0.1"), 0x00000100u);
  for (const std::uint32_t version : {0x01020300u, 0x02000500u, 0x0A0B0C00u, 0x01050000u}) {
    EXPECT_EQ(ParseFirmwareVersion(FormatFirmwareVersion(version)), version) << version;
  }
  for (const char* bad : {"", "1", "1.", ".1", "1..2", "1.2.", "1.2.3.4", "1.100", "1.2.g",
                          " 1.2", "1.2 ", "+1.2", "-1.2", "1,2"}) {
    EXPECT_FALSE(ParseFirmwareVersion(bad).has_value()) << bad;
  }
}

TEST(TextForms, StatusTextFromFlagsAndPassword) {
  DeviceRecord record = MakeZeroRecord();
  EXPECT_EQ(StatusText(record), "");
  record.statusFlags = kStatusProtected;
  EXPECT_EQ(StatusText(record), "Locked");
  SetFieldText(record.password, "secret");
  EXPECT_EQ(StatusText(record), "Unlocked");
  record.statusFlags = kStatusInaccessible;
  EXPECT_EQ(StatusText(record), " Inaccessible");
  record.statusFlags = kStatusProtected | kStatusInaccessible | 0x80;
  record.password[0] = 0;
  EXPECT_EQ(StatusText(record), "Locked Inaccessible");
}

}  // namespace
}  // namespace vantrell
