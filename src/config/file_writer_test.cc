#include "config/file_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrell {
namespace {

std::string Written(void (*write)(ConfigTextWriter&)) {
  std::string out;
  ConfigTextWriter file(out);
  write(file);
  return out;
}

TEST(ConfigTextWriter, EveryLineFeedBecomesCrLfAndNothingElseChanges) {
  std::string out = "kept";
  ConfigTextWriter file(out);
  file.Write("a\tb\n\nc");
  file.Write({"\n", "d", "\n"});
  EXPECT_EQ(out, "kepta\tb\r\n\r\nc\r\nd\r\n");
}

TEST(ConfigTextWriter, ValueLinesCarryTheirTabsAndOptionalEmptyLine) {
  std::string out;
  ConfigTextWriter file(out);
  file.ValueLine("DHCP", 1, "1");
  file.ValueLine("Netmask", 2, "", LineEnd::kLineAndBlank);
  file.ValueLine("Device1_IP", 1, "10.0.1.1", LineEnd::kLine);
  file.ValueLine("ModelName", 0, "x", LineEnd::kLine);
  EXPECT_EQ(out,
            "DHCP\t1\r\n\r\n"
            "Netmask\t\t\r\n\r\n"
            "Device1_IP\t10.0.1.1\r\n"
            "ModelNamex\r\n");
}

TEST(ConfigTextWriter, HeaderPutsTheModelLineThirdAndEndLineLast) {
  std::string out;
  ConfigTextWriter file(out);
  WriteFileHeader(file, "ORV-D8");
  WriteEndLine(file);
  EXPECT_EQ(out,
            "[Meshvault Server Configuration File]\r\n"
            "# Model Name\r\n"
            "ModelName\tORV-D8\r\n"
            "\r\n"
            "# ----------End of File----------\r\n");
  EXPECT_EQ(Written([](ConfigTextWriter& f) { WriteFileHeader(f, "bad\nname"); }),
            "[Meshvault Server Configuration File]\r\n# Model Name\r\nModelName\tbad name\r\n");
}

TEST(ExportModelName, ComesFromTheModelTable) {
  EXPECT_EQ(ExportModelName(0x6008), "ORV-D8");
  EXPECT_EQ(ExportModelName(0x6098), "ORV-D8-F2-W");
  EXPECT_EQ(ExportModelName(0x6009), "");
}

TEST(ValueForms, NumbersAsCFormatsThem) {
  EXPECT_EQ(FormatDecimal(0), "0");
  EXPECT_EQ(FormatDecimal(65535), "65535");
  EXPECT_EQ(FormatDecimal(0x7FFFFFFF), "2147483647");
  // "%d" of a 32-bit word with the top bit set prints it signed.
  EXPECT_EQ(FormatDecimal(0x80000000), "-2147483648");
  EXPECT_EQ(FormatDecimal(0xFFFFFFFF), "-1");
  EXPECT_EQ(FormatHex(1), "1");
  EXPECT_EQ(FormatHex(0x13), "13");
  EXPECT_EQ(FormatHex(0x4A), "4a");
  EXPECT_EQ(FormatHex(0xFFFFFFFF), "ffffffff");
  EXPECT_EQ(FormatPercent(75), "75%");
  EXPECT_EQ(FormatSeconds(300), "300 sec");
  EXPECT_EQ(FormatSecondsDot(2), "2sec.");
}

TEST(ValueForms, AddressesInDottedDecimal) {
  EXPECT_EQ(FormatAddress(MakeIpv4(192, 168, 1, 254)), "192.168.1.254");
  EXPECT_EQ(FormatAddress(0), "0.0.0.0");
  EXPECT_EQ(FormatAddress(kAllOnesIpv4), "255.255.255.255");
}

TEST(ValueForms, TextsNeverBreakTheirLine) {
  EXPECT_EQ(FormatText("Hall B, bay 4"), "Hall B, bay 4");
  EXPECT_EQ(FormatText("x\r\nPassword\tevil"), "x  Password\tevil");
  EXPECT_EQ(FormatText("a\nb\rc"), "a b c");
  EXPECT_EQ(FormatText(""), "");
}

}  // namespace
}  // namespace vantrell
