#include "config/block_field.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vantrell {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
  return bytes;
}

TEST(BlockFields, WrongKindChangesNothing) {
  Bytes b = Pattern(40);
  const Bytes before = b;
  EXPECT_EQ(WriteField(b, U16Field(0), ItemValue(std::string("12"))), ItemStatus::kWrongKind);
  EXPECT_EQ(WriteField(b, TextField(0, 30, 40), ItemValue(12u)), ItemStatus::kWrongKind);
  EXPECT_EQ(WriteField(b, U8Field(0), ItemValue(256u)), ItemStatus::kOutOfRange);
  EXPECT_EQ(WriteField(b, U16Field(0), ItemValue(0x10000u)), ItemStatus::kOutOfRange);
  EXPECT_EQ(b, before);
  ItemValue out = 7u;
  EXPECT_EQ(ReadField(b, U32Field(37), out), ItemStatus::kOutsideBlock);
  EXPECT_EQ(ReadField(b, TextField(1, 30, 40), out), ItemStatus::kOutsideBlock);
  EXPECT_EQ(std::get<std::uint32_t>(out), 7u);
  EXPECT_EQ(ReadField(b, U16Field(0), out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::uint32_t>(out), 0xA1A0u);
}

}  // namespace
}  // namespace vantrell
