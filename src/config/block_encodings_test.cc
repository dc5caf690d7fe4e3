#include "config/block_encodings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "config/config_block.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
  return bytes;
}

/// Every byte outside [offset, offset + width) is as in `before`.
void ExpectOnlyFieldChanged(const Bytes& before, const Bytes& after, std::size_t offset,
                            std::size_t width) {
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (i >= offset && i < offset + width) continue;
    EXPECT_EQ(before[i], after[i]) << "byte " << i;
  }
}

TEST(BlockIntegers, LeastSignificantByteFirst) {
  Bytes b = {0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1};
  EXPECT_EQ(ReadU8(b, 1), 0x12);
  EXPECT_EQ(ReadU16(b, 0), 0x1234);
  EXPECT_EQ(ReadU32(b, 2), 0xA1B2C3D4u);
  ASSERT_TRUE(WriteU32(b, 1, 0x11223344));
  EXPECT_EQ(b, (Bytes{0x34, 0x44, 0x33, 0x22, 0x11, 0xA1}));
  ASSERT_TRUE(WriteU16(b, 4, 0xBEEF));
  EXPECT_EQ(b, (Bytes{0x34, 0x44, 0x33, 0x22, 0xEF, 0xBE}));
}

TEST(BlockIntegers, NothingIsReadOrWrittenPastTheEnd) {
  Bytes b = Pattern(6);
  const Bytes before = b;
  EXPECT_FALSE(ReadU8(b, 6).has_value());
  EXPECT_FALSE(ReadU16(b, 5).has_value());
  EXPECT_FALSE(ReadU32(b, 3).has_value());
  EXPECT_FALSE(ReadU32(b, std::numeric_limits<std::size_t>::max() - 1).has_value());
  EXPECT_FALSE(WriteU8(b, 6, 1));
  EXPECT_FALSE(WriteU16(b, 5, 1));
  EXPECT_FALSE(WriteU32(b, 3, 1));
  EXPECT_FALSE(WriteIpv4(b, 4, 1));
  EXPECT_EQ(b, before);
  EXPECT_TRUE(FieldFits(6, 2, 4));
  EXPECT_FALSE(FieldFits(6, 3, 4));
  EXPECT_FALSE(FieldFits(6, std::numeric_limits<std::size_t>::max(), 4));
}

TEST(BlockAddresses, FirstOctetInTheLowestByte) {
  Bytes b = {0xC0, 0xA8, 0x01, 0x0A};
  const auto address = ReadIpv4(b, 0);
  ASSERT_TRUE(address.has_value());
  EXPECT_EQ(*address, MakeIpv4(192, 168, 1, 10));
  EXPECT_EQ(FormatIpv4(*address), "192.168.1.10");
  ASSERT_TRUE(WriteIpv4(b, 0, MakeIpv4(10, 0, 0, 254)));
  EXPECT_EQ(b, (Bytes{10, 0, 0, 254}));
}

TEST(BlockBits, OnlyTheValueOneSetsABit) {
  Bytes b = {0xF0, 0x00, 0x00, 0x80};
  EXPECT_EQ(WriteWordBit(b, 0, 3, 1), ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{0xF8, 0x00, 0x00, 0x80}));
  EXPECT_EQ(ReadWordBit(b, 0, 3), 1u);
  EXPECT_EQ(ReadWordBit(b, 0, 31), 1u);
  EXPECT_EQ(ReadWordBit(b, 0, 2), 0u);
  EXPECT_EQ(WriteWordBit(b, 0, 4, 2), ItemStatus::kOk);  // 2 clears
  EXPECT_EQ(b, (Bytes{0xE8, 0x00, 0x00, 0x80}));
  EXPECT_EQ(WriteWordBit(b, 0, 31, 0), ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{0xE8, 0x00, 0x00, 0x00}));
  EXPECT_EQ(WriteWordBit(b, 1, 0, 1), ItemStatus::kOutsideBlock);
  EXPECT_EQ(b, (Bytes{0xE8, 0x00, 0x00, 0x00}));
}

TEST(BlockNibbles, LowFourBitsAndHighFourKept) {
  Bytes b = {0xA7};
  EXPECT_EQ(ReadNibble(b, 0), 7u);
  EXPECT_EQ(WriteNibble(b, 0, 5), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0xA5);
  // A value that does not fit four bits is refused, not cut to 5.
  EXPECT_EQ(WriteNibble(b, 0, 0x15), ItemStatus::kOutOfRange);
  EXPECT_EQ(b[0], 0xA5);
}

TEST(BlockHalves, EachHalfKeepsTheOther) {
  Bytes b = {0x11, 0x11, 0x22, 0x22};
  EXPECT_EQ(ReadHalf(b, 0, Half::kLow), 0x1111u);
  EXPECT_EQ(ReadHalf(b, 0, Half::kHigh), 0x2222u);
  EXPECT_EQ(WriteHalf(b, 0, Half::kLow, 0xBEEF), ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{0xEF, 0xBE, 0x22, 0x22}));
  EXPECT_EQ(WriteHalf(b, 0, Half::kHigh, 300), ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{0xEF, 0xBE, 0x2C, 0x01}));
  EXPECT_EQ(WriteHalf(b, 0, Half::kLow, 0x10005), ItemStatus::kOutOfRange);
  EXPECT_EQ(b, (Bytes{0xEF, 0xBE, 0x2C, 0x01}));
}

TEST(BlockTimes100, StoredTimesAHundredReadDividedDown) {
  Bytes b(2);
  EXPECT_EQ(WriteTimes100(b, 0, 2), ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{200, 0}));
  b = {250, 0};
  EXPECT_EQ(ReadTimes100(b, 0), 2u);
  EXPECT_EQ(WriteTimes100(b, 0, 655), ItemStatus::kOk);
  EXPECT_EQ(ReadU16(b, 0), 65500);
  // 656 x 100 does not fit 16 bits: refused instead of wrapping to 64064.
  EXPECT_EQ(WriteTimes100(b, 0, 656), ItemStatus::kOutOfRange);
  EXPECT_EQ(ReadU16(b, 0), 65500);
}

TEST(BlockMaskedWords, OnlyTheMaskedBitsChange) {
  Bytes b = {0xAE, 0x00, 0x00, 0xFF};
  EXPECT_EQ(WriteMaskedU32(b, 0, 0x10, 0xFFFFFFFF), ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{0xBE, 0x00, 0x00, 0xFF}));
  EXPECT_EQ(WriteMaskedU32(b, 0, 0x01, 0x00), ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{0xBE, 0x00, 0x00, 0xFF}));
  EXPECT_EQ(WriteMaskedU32(b, 0, 0x40, 0x40), ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{0xFE, 0x00, 0x00, 0xFF}));
  EXPECT_EQ(WriteMaskedU8(b, 3, 0x03, 0x01), ItemStatus::kOk);
  EXPECT_EQ(b[3], 0xFD);
  EXPECT_EQ(WriteMaskedU8(b, 3, 0x04, 0x00), ItemStatus::kOk);
  EXPECT_EQ(b[3], 0xF9);
  EXPECT_EQ(WriteMaskedU8(b, 4, 0x04, 0x04), ItemStatus::kOutsideBlock);
}

TEST(BlockTexts, ReadStopsAtNulOrAtTheLimit) {
  Bytes b(40, 'x');
  EXPECT_EQ(ReadText(b, 0, 30), std::string(30, 'x'));  // no NUL among the first 30
  b[3] = 0;
  EXPECT_EQ(ReadText(b, 0, 30), "xxx");
  EXPECT_FALSE(ReadText(b, 20, 30).has_value());
}

TEST(BlockTexts, WriteCutsTrimsAndNulFills) {
  Bytes b = Pattern(44);
  const Bytes before = b;
  const std::string name31 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234";
  ASSERT_EQ(WriteText(b, 2, {30, 40, true}, name31), ItemStatus::kOk);
  EXPECT_EQ(std::string(b.begin() + 2, b.begin() + 32), name31.substr(0, 30));
  for (std::size_t i = 32; i < 42; ++i) EXPECT_EQ(b[i], 0) << i;
  ExpectOnlyFieldChanged(before, b, 2, 40);
  EXPECT_EQ(ReadText(b, 2, 30), name31.substr(0, 30));

  ASSERT_EQ(WriteText(b, 2, {30, 40, true}, std::string("ab c  \0zz", 9)), ItemStatus::kOk);
  EXPECT_EQ(ReadText(b, 2, 30), "ab c");
  for (std::size_t i = 6; i < 42; ++i) EXPECT_EQ(b[i], 0) << i;
  ExpectOnlyFieldChanged(before, b, 2, 40);
}

TEST(BlockTexts, NameKeepsTrailingBlanksAndFillsOnlyThirtyTwoBytes) {
  Bytes b = Pattern(40);
  const Bytes before = b;
  ASSERT_EQ(WriteText(b, 0, {30, 32, false}, "Hub  "), ItemStatus::kOk);
  EXPECT_EQ(ReadText(b, 0, 30), "Hub  ");
  for (std::size_t i = 5; i < 32; ++i) EXPECT_EQ(b[i], 0) << i;
  ExpectOnlyFieldChanged(before, b, 0, 32);  // bytes 32 to 39 keep the pattern
}

TEST(BlockTexts, RefusesAFieldThatLeavesTheBlock) {
  Bytes b = Pattern(40);
  const Bytes before = b;
  EXPECT_EQ(WriteText(b, 1, {30, 40, true}, "abc"), ItemStatus::kOutsideBlock);
  EXPECT_EQ(WriteText(b, 0, {41, 40, true}, "abc"), ItemStatus::kOutsideBlock);
  EXPECT_EQ(b, before);
}

TEST(BlockBlank16, PaddedWithBlanksAndReadWithoutThem) {
  Bytes b = Pattern(18);
  const Bytes before = b;
  ASSERT_EQ(WriteBlank16(b, 1, "abcdefghijklmnop"), ItemStatus::kOk);
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 17), "abcdefghijklmnop");
  EXPECT_EQ(ReadBlank16(b, 1), "abcdefghijklmnop");
  ExpectOnlyFieldChanged(before, b, 1, 16);

  ASSERT_EQ(WriteBlank16(b, 1, "abc"), ItemStatus::kOk);
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 17), "abc             ");
  EXPECT_EQ(ReadBlank16(b, 1), "abc");
  ExpectOnlyFieldChanged(before, b, 1, 16);

  ASSERT_EQ(WriteBlank16(b, 1, "abcdefghijklmnopqrst"), ItemStatus::kOk);
  EXPECT_EQ(ReadBlank16(b, 1), "abcdefghijklmnop");
  EXPECT_EQ(WriteBlank16(b, 3, "x"), ItemStatus::kOutsideBlock);
  EXPECT_FALSE(ReadBlank16(b, 3).has_value());
}

TEST(BlockBlank16, TerminatedFormPutsOneNulBeforeTheBlanks) {
  Bytes b(16, 0xEE);
  ASSERT_EQ(WriteBlank16Terminated(b, 0, "pw"), ItemStatus::kOk);
  EXPECT_EQ(b,
            (Bytes{'p', 'w', 0, ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '}));
  EXPECT_EQ(ReadBlank16(b, 0), "pw");
  ASSERT_EQ(WriteBlank16Terminated(b, 0, "0123456789abcdef"), ItemStatus::kOk);
  EXPECT_EQ(ReadBlank16(b, 0), "0123456789abcdef");
}

std::vector<std::uint8_t> BytesOf(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
  return bytes;
}

TEST(A8R8Encodings, InvertedDisableByteAndInvertedBit) {
  auto b = BytesOf({1, 7, 0, 0, 0});
  EXPECT_EQ(ReadInvertedDisable(b, 0), 0u);
  EXPECT_EQ(ReadInvertedDisable(b, 1), 1u);
  EXPECT_EQ(WriteInvertedDisable(b, 0, 1), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(WriteInvertedDisable(b, 0, 5), ItemStatus::kOk);
  EXPECT_EQ(b[0], 1);
  // Bit 4 of the word at 1 (byte 1 = 0x07: bit 4 clear -> function on).
  EXPECT_EQ(ReadInvertedBit(b, 1, 4), 1u);
  EXPECT_EQ(WriteInvertedBit(b, 1, 4, 0), ItemStatus::kOk);
  EXPECT_EQ(b[1], 0x17);
  EXPECT_EQ(WriteInvertedBit(b, 1, 4, 2), ItemStatus::kOk);
  EXPECT_EQ(b[1], 0x07);
  EXPECT_FALSE(ReadInvertedDisable(b, 5).has_value());
  EXPECT_EQ(WriteInvertedBit(b, 2, 0, 0), ItemStatus::kOutsideBlock);
}

TEST(A8R8Encodings, CheckedHighNibbleAndBridgePriority) {
  auto b = BytesOf({2, 0x35, 0x00, 0x80});
  EXPECT_EQ(WriteCheckedU8(b, 0, 4, 0, 3), ItemStatus::kOutOfRange);
  EXPECT_EQ(b[0], 2);
  EXPECT_EQ(WriteCheckedU8(b, 0, 3, 0, 3), ItemStatus::kOk);
  EXPECT_EQ(b[0], 3);
  EXPECT_EQ(ReadHighNibble(b, 1), 3u);
  EXPECT_EQ(WriteHighNibble(b, 1, 16), ItemStatus::kOutOfRange);
  EXPECT_EQ(WriteHighNibble(b, 1, 9), ItemStatus::kOk);
  EXPECT_EQ(b[1], 0x90);
  // Bridge priority word 0x8000 reads 8; storing 15 writes 0xF000.
  EXPECT_EQ(ReadBridgePriority(b, 2), 8u);
  EXPECT_EQ(WriteBridgePriority(b, 2, 15), ItemStatus::kOk);
  EXPECT_EQ(b[2], 0x00);
  EXPECT_EQ(b[3], 0xF0);
  EXPECT_EQ(WriteBridgePriority(b, 2, 16), ItemStatus::kOutOfRange);
  EXPECT_EQ(b[3], 0xF0);
  std::vector<std::uint8_t> word = BytesOf({0x14, 0, 0, 0});
  EXPECT_EQ(WriteCheckedU16(word, 0, 19, 20, 600), ItemStatus::kOutOfRange);
  EXPECT_EQ(WriteCheckedU16(word, 0, 600, 20, 600), ItemStatus::kOk);
  EXPECT_EQ(word[0], 0x58);
  EXPECT_EQ(word[1], 0x02);
}

TEST(A8R8Encodings, StrictBitIgnoresValuesOtherThanZeroAndOne) {
  auto b = BytesOf({0x12, 0, 0, 0});
  EXPECT_EQ(WriteStrictBit(b, 0, 1, 2), ItemStatus::kOutOfRange);
  EXPECT_EQ(b[0], 0x12);
  EXPECT_EQ(WriteStrictBit(b, 0, 4, 0), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0x02);
}

TEST(A8R8Encodings, AccessEntry) {
  auto b = BytesOf({0, 0, 0, 0, 255, 255, 255, 0});
  EXPECT_EQ(ReadAccessEntry(b, 0, 4), "");
  EXPECT_EQ(WriteAccessAddress(b, 0, ItemValue(std::string("192.168.127.253"))), ItemStatus::kOk);
  EXPECT_EQ(ReadAccessEntry(b, 0, 4), "192.168.127.253/255.255.255.0");
  EXPECT_EQ(WriteAccessAddress(b, 0, ItemValue(std::string("1.2.3"))), ItemStatus::kOutOfRange);
  EXPECT_EQ(b[0], 192);
}

TEST(A8R8Encodings, Text40TakesFortyCharactersWithoutTerminator) {
  std::vector<std::uint8_t> b(41, 0xAA);
  const std::string long_text(45, 'x');
  EXPECT_EQ(WriteText40(b, 0, long_text), ItemStatus::kOk);
  EXPECT_EQ(ReadText40(b, 0), std::string(40, 'x'));
  EXPECT_EQ(b[40], 0xAA);
  EXPECT_EQ(WriteText40(b, 0, "pool.ntp "), ItemStatus::kOk);
  EXPECT_EQ(ReadText40(b, 0), "pool.ntp ");
  EXPECT_EQ(b[9], 0);
  EXPECT_EQ(WriteText40(b, 2, "x"), ItemStatus::kOutsideBlock);
}

TEST(ConfigBlockBuffer, ZeroFilledAndClearedBeforeReuse) {
  ConfigBlock block;
  EXPECT_EQ(block.size(), 0u);
  EXPECT_FALSE(block.ByteAt(0).has_value());
  auto bytes = block.Prepare(1124);
  ASSERT_EQ(bytes.size(), 1124u);
  for (auto byte : bytes) ASSERT_EQ(byte, 0);
  std::fill(bytes.begin(), bytes.end(), 0x5A);
  // A later, shorter block shows none of the earlier bytes.
  bytes = block.Prepare(656);
  ASSERT_EQ(block.size(), 656u);
  for (auto byte : bytes) ASSERT_EQ(byte, 0);
  ASSERT_TRUE(block.Resize(1124));
  EXPECT_EQ(block.ByteAt(1123), 0);
}

TEST(ConfigBlockBuffer, ByteAccessStaysInsideTheValidBytes) {
  ConfigBlock block(656);
  EXPECT_TRUE(block.SetByteAt(655, 0x42));
  EXPECT_EQ(block.ByteAt(655), 0x42);
  EXPECT_FALSE(block.SetByteAt(656, 0x42));
  EXPECT_FALSE(block.ByteAt(656).has_value());
  EXPECT_FALSE(block.Resize(ConfigBlock::kCapacity + 1));
  EXPECT_EQ(block.size(), 656u);
  // Shrinking zeroes what drops out, so growing again shows zeros.
  ASSERT_TRUE(block.Resize(600));
  ASSERT_TRUE(block.Resize(656));
  EXPECT_EQ(block.ByteAt(655), 0);
  EXPECT_EQ(ConfigBlock(ConfigBlock::kCapacity + 5).size(), ConfigBlock::kCapacity);
  block.Clear();
  EXPECT_EQ(block.size(), 0u);
}

}  // namespace
}  // namespace vantrell
