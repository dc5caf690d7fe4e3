#include "config/rate_encodings.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrell {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
  return bytes;
}

TEST(RateEncodings, IngressRateRecord) {
  // Bytes 2, 0x23: policy 2, rate "512K", flags 0, 1, 0.
  auto b = Bytes({2, 0x23});
  std::string text;
  EXPECT_EQ(ReadIngressRate(b, 0, text), ItemStatus::kOk);
  EXPECT_EQ(text, "2 512K 0 1 0");
  // Policy 1, "16M" (not storable: index 3 kept), flags 1, 0, 1 -> 1, 0x53.
  EXPECT_EQ(WriteIngressRate(b, 0, "1 16M 1 0 1"), ItemStatus::kOk);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[1], 0x53);
  // A bad policy keeps byte 0; the flags are applied anyway.
  EXPECT_EQ(WriteIngressRate(b, 0, "9 8M 0 0 0"), ItemStatus::kOk);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[1], 0x07);
  // Missing flags keep what the block holds; no policy changes nothing.
  b[1] = 0x70;
  EXPECT_EQ(WriteIngressRate(b, 0, "3 NL"), ItemStatus::kOk);
  EXPECT_EQ(b[0], 3);
  EXPECT_EQ(b[1], 0x70);
  EXPECT_EQ(WriteIngressRate(b, 0, "x"), ItemStatus::kOutOfRange);
  // Rate index 11-15 has no name: nothing is read from outside the names.
  b[1] = 0x0C;
  text = "kept";
  EXPECT_EQ(ReadIngressRate(b, 0, text), ItemStatus::kOutOfRange);
  EXPECT_EQ(text, "kept");
}

TEST(RateEncodings, EgressRateByte) {
  auto b = Bytes({10});
  std::string name;
  EXPECT_EQ(ReadEgressRate(b, 0, name), ItemStatus::kOk);
  EXPECT_EQ(name, "64M");
  EXPECT_EQ(WriteEgressRateName(b, 0, "64M"), ItemStatus::kOutOfRange);
  EXPECT_EQ(WriteEgressRateName(b, 0, "2M"), ItemStatus::kOk);
  EXPECT_EQ(b[0], 5);
  b[0] = 11;
  EXPECT_EQ(ReadEgressRate(b, 0, name), ItemStatus::kOutOfRange);
  b[0] = 200;
  EXPECT_EQ(ReadEgressRate(b, 0, name), ItemStatus::kOutOfRange);
}

}  // namespace
}  // namespace vantrell
