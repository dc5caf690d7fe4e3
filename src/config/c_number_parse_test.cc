#include "config/c_number_parse.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrell {
namespace {

using namespace std::string_literals;

constexpr std::int32_t kIntMax = 2147483647;
constexpr std::int32_t kIntMin = -2147483647 - 1;

TEST(CAtoi, ReadsLeadingBlanksSignAndDigits) {
  EXPECT_EQ(CAtoi("42"), 42);
  EXPECT_EQ(CAtoi("  \t-17xyz"), -17);
  EXPECT_EQ(CAtoi("+5"), 5);
  EXPECT_EQ(CAtoi("\n\v\f\r 7"), 7);
  EXPECT_EQ(CAtoi("007"), 7);
}

TEST(CAtoi, PartialParsesStopAtTheFirstNonDigit) {
  EXPECT_EQ(CAtoi("2sec."), 2);
  EXPECT_EQ(CAtoi("75%"), 75);
  EXPECT_EQ(CAtoi("0x10"), 0);
  EXPECT_EQ(CAtoi("12 34"), 12);
  EXPECT_EQ(CAtoi("1\0002"s), 1);
}

TEST(CAtoi, NoDigitsGiveZero) {
  EXPECT_EQ(CAtoi(""), 0);
  EXPECT_EQ(CAtoi("abc"), 0);
  EXPECT_EQ(CAtoi("- 5"), 0);
  EXPECT_EQ(CAtoi("--1"), 0);
  EXPECT_EQ(CAtoi("+-1"), 0);
  EXPECT_EQ(CAtoi("-"), 0);
  EXPECT_EQ(CAtoi("\0005"s), 0);
}

TEST(CAtoi, OverflowSaturatesInsteadOfWrapping) {
  EXPECT_EQ(CAtoi("2147483647"), kIntMax);
  EXPECT_EQ(CAtoi("2147483648"), kIntMax);
  EXPECT_EQ(CAtoi("-2147483648"), kIntMin);
  EXPECT_EQ(CAtoi("-2147483649"), kIntMin);
  // 2^32 + 1 would wrap to 1 in a 32-bit accumulator.
  EXPECT_EQ(CAtoi("4294967297"), kIntMax);
  EXPECT_EQ(CAtoi("99999999999999999999999"), kIntMax);
  EXPECT_EQ(CAtoi("-99999999999999999999999"), kIntMin);
}

TEST(CAtol, IsAtoiWithA32BitLong) {
  EXPECT_EQ(CAtol(" 1"), 1);
  EXPECT_EQ(CAtol("1abc"), 1);
  EXPECT_EQ(CAtol("x"), 0);
  EXPECT_EQ(CAtol("3000000000"), kIntMax);
}

TEST(CScanHex, ReadsDigitsWithOrWithoutPrefix) {
  EXPECT_EQ(CScanHex("13"), 0x13u);
  EXPECT_EQ(CScanHex("4a"), 0x4Au);
  EXPECT_EQ(CScanHex("4A"), 0x4Au);
  EXPECT_EQ(CScanHex("0x13"), 0x13u);
  EXPECT_EQ(CScanHex("0X1f"), 0x1Fu);
  EXPECT_EQ(CScanHex("  7"), 7u);
  EXPECT_EQ(CScanHex("+3f"), 0x3Fu);
  EXPECT_EQ(CScanHex("12g3"), 0x12u);
}

TEST(CScanHex, ReadsAtFullWidth) {
  EXPECT_EQ(CScanHex("140"), 0x140u);
  EXPECT_EQ(CScanHex("ffffffff"), 0xFFFFFFFFu);
  EXPECT_EQ(CScanHex("100000000"), 0xFFFFFFFFu);  // beyond 32 bits: saturates
  EXPECT_EQ(CScanHex("0000000000013"), 0x13u);    // leading zeros are no overflow
}

TEST(CScanHex, MinusNegatesModulo32Bits) {
  EXPECT_EQ(CScanHex("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(CScanHex("-0x10"), 0xFFFFFFF0u);
  EXPECT_EQ(CScanHex("-0"), 0u);
}

TEST(CScanHex, PrefixWithoutDigitReadsTheZero) {
  EXPECT_EQ(CScanHex("0x"), 0u);
  EXPECT_EQ(CScanHex("0xg"), 0u);
}

TEST(CScanHex, NothingWithoutAnyDigit) {
  EXPECT_EQ(CScanHex(""), std::nullopt);
  EXPECT_EQ(CScanHex("g"), std::nullopt);
  EXPECT_EQ(CScanHex("-"), std::nullopt);
  EXPECT_EQ(CScanHex("x1"), std::nullopt);
  EXPECT_EQ(CScanHex("\0001"s), std::nullopt);
}

TEST(CInetAton, FourPartDottedDecimal) {
  EXPECT_EQ(CInetAton("192.168.1.254"), MakeIpv4(192, 168, 1, 254));
  EXPECT_EQ(CInetAton("0.0.0.0"), 0u);
  EXPECT_EQ(CInetAton("255.255.255.255"), kAllOnesIpv4);
  EXPECT_EQ(CInetAton("1.2.3.4\t"), MakeIpv4(1, 2, 3, 4));
  EXPECT_EQ(CInetAton("1.2.3.4 junk"), MakeIpv4(1, 2, 3, 4));
}

TEST(CInetAton, ShortFormsFillTheRemainingBytes) {
  EXPECT_EQ(CInetAton("10.1"), MakeIpv4(10, 0, 0, 1));
  EXPECT_EQ(CInetAton("10.1.2"), MakeIpv4(10, 1, 0, 2));
  EXPECT_EQ(CInetAton("1.2.65535"), MakeIpv4(1, 2, 255, 255));
  EXPECT_EQ(CInetAton("1.16777215"), MakeIpv4(1, 255, 255, 255));
  EXPECT_EQ(CInetAton("3232235777"), MakeIpv4(192, 168, 1, 1));
  EXPECT_EQ(CInetAton("4294967295"), kAllOnesIpv4);
}

TEST(CInetAton, OctalAndHexadecimalParts) {
  EXPECT_EQ(CInetAton("0x7f.1"), MakeIpv4(127, 0, 0, 1));
  EXPECT_EQ(CInetAton("0300.0250.1.1"), MakeIpv4(192, 168, 1, 1));
  EXPECT_EQ(CInetAton("010.0.0.1"), MakeIpv4(8, 0, 0, 1));
  EXPECT_EQ(CInetAton("0XC0.0xa8.0.0x1"), MakeIpv4(192, 168, 0, 1));
  EXPECT_EQ(CInetAton("0"), 0u);
}

TEST(CInetAton, RefusesMalformedTexts) {
  for (const std::string text :
       {"",           "abc",       " 1.2.3.4", "08.0.0.1",  "1.2.3.256",  "1.2.65536",
        "1.16777216", "256.1.1.1", "256.1",    "1.2.3.4.5", "1..2.3",     "1.2.3.",
        ".1.2.3",     "1.2.3.4x",  "0x",       "0x.1.2.3",  "4294967296", "99999999999999999999",
        "-1.2.3.4",   "+1.2.3.4",  "1.2.3.-4", "00x1"}) {
    EXPECT_EQ(CInetAton(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(CInetAddr, RefusedTextAndBroadcastLookAlike) {
  EXPECT_EQ(CInetAddr("garbage"), kAllOnesIpv4);
  EXPECT_EQ(CInetAddr("255.255.255.255"), kAllOnesIpv4);
  EXPECT_EQ(CInetAddr(""), kAllOnesIpv4);
  EXPECT_EQ(CInetAddr("10.0.0.1"), MakeIpv4(10, 0, 0, 1));
  EXPECT_EQ(CInetAddr("10.0.0.1\0garbage"s), MakeIpv4(10, 0, 0, 1));
  // A NUL anywhere ends the text: in a part, after a dot, before a prefix digit.
  EXPECT_EQ(CInetAddr("10.0\0.0.1"s), MakeIpv4(10, 0, 0, 0));
  EXPECT_EQ(CInetAddr("10.\0"s), kAllOnesIpv4);
  EXPECT_EQ(CInetAddr("0x\0"
                      "1"s),
            kAllOnesIpv4);
  EXPECT_EQ(CScanHex("1f\0ff"s), 0x1Fu);
  EXPECT_EQ(CScanHex("0x\0"
                     "1"s),
            0u);
  EXPECT_EQ(CScanHex("-\0"
                     "1"s),
            std::nullopt);
  EXPECT_EQ(CAtoi(" -\0"
                  "5"s),
            0);
  EXPECT_EQ(CAtoi("+12\0"
                  "3"s),
            12);
}

}  // namespace
}  // namespace vantrell
