#include "config/choice_encodings.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrell {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
  return bytes;
}

TEST(ChoiceEncodings, ModeBitsAndTwoBitField) {
  auto b = Bytes({0xFF, 0, 0, 0});
  EXPECT_EQ(ReadModeBits(b, 0), 1u);  // bit 0 wins
  EXPECT_EQ(WriteModeBits(b, 0, 2), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0xFE);
  EXPECT_EQ(ReadModeBits(b, 0), 2u);
  EXPECT_EQ(WriteModeBits(b, 0, 3), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0xFC);
  EXPECT_EQ(ReadModeBits(b, 0), 0u);
  b[0] = 0xF6;  // MDI bits 1-0 = 10, FDX bit 2 set
  EXPECT_EQ(ReadTwoBitField(b, 0), 2u);
  EXPECT_EQ(WriteTwoBitField(b, 0, 1), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0xF5);
  EXPECT_EQ(WriteTwoBitField(b, 0, 7), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0xF4);
}

TEST(ChoiceEncodings, RelayChoiceInWordsAndBytes) {
  // Enable word with bit 4 set and select word with bit 4 set reads 2.
  auto b = Bytes({0x10, 0, 0, 0, 0x10, 0, 0, 0});
  const RelayBits power1{0, 4, 4, 4};
  EXPECT_EQ(ReadRelayChoice(b, power1), 2u);
  EXPECT_EQ(WriteRelayChoice(b, power1, 1), ItemStatus::kOk);  // clears the select bit
  EXPECT_EQ(b[0], 0x10);
  EXPECT_EQ(b[4], 0x00);
  EXPECT_EQ(ReadRelayChoice(b, power1), 1u);
  EXPECT_EQ(WriteRelayChoice(b, power1, 3), ItemStatus::kOutOfRange);
  EXPECT_EQ(WriteRelayChoice(b, power1, 0), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0x00);
  const RelayBits traffic{1, 5, 2, 1};
  EXPECT_EQ(WriteRelayChoice(b, traffic, 2), ItemStatus::kOk);
  EXPECT_EQ(b[1], 0x04);
  EXPECT_EQ(b[5], 0x04);
}

TEST(ChoiceEncodings, LinkChoiceWritesExactlyTheState) {
  auto b = Bytes({0xF0, 0xF3});
  EXPECT_EQ(ReadLinkChoice(b, 0, 1), 0u);
  const std::uint8_t enable[] = {0xF0, 0xF1, 0xF1, 0xF2, 0xF2};
  const std::uint8_t select[] = {0xF0, 0xF0, 0xF1, 0xF0, 0xF2};
  for (std::uint32_t v = 0; v <= 4; ++v) {
    EXPECT_EQ(WriteLinkChoice(b, 0, 1, v), ItemStatus::kOk);
    EXPECT_EQ(b[0], enable[v]) << v;
    EXPECT_EQ(b[1], select[v]) << v;
    EXPECT_EQ(ReadLinkChoice(b, 0, 1), v);
  }
  EXPECT_EQ(WriteLinkChoice(b, 0, 1, 5), ItemStatus::kOutOfRange);
}

TEST(ChoiceEncodings, SnmpVersionCode) {
  auto b = Bytes({3});
  std::uint32_t version = 99;
  EXPECT_EQ(ReadSnmpVersion(b, 0, version), ItemStatus::kOk);
  EXPECT_EQ(version, 1u);
  EXPECT_EQ(WriteSnmpVersion(b, 0, 2), ItemStatus::kOk);
  EXPECT_EQ(b[0], 4);
  EXPECT_EQ(WriteSnmpVersion(b, 0, 3), ItemStatus::kOutOfRange);
  b[0] = 7;
  EXPECT_EQ(ReadSnmpVersion(b, 0, version), ItemStatus::kOutOfRange);
}

}  // namespace
}  // namespace vantrell
