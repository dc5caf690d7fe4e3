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

TEST(BlockFields, FlagBitsAndBoolByteAndUpperNibble) {
  Bytes b = {0x00, 0xF5, 0x02, 0x00, 0x00, 0x7A};
  // The bits of a mask taken as one flag: any set bit reads 1; 1 sets all.
  ItemValue out;
  ASSERT_EQ(ReadField(b, FlagBitsField(1, 1, 0x0A), out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::uint32_t>(out), 0u);
  ASSERT_EQ(WriteField(b, FlagBitsField(1, 1, 0x0A), ItemValue(1u)), ItemStatus::kOk);
  EXPECT_EQ(b[1], 0xFF);
  ASSERT_EQ(WriteField(b, FlagBitsField(1, 4, 0x0300), ItemValue(2u)), ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{0x00, 0xFF, 0x00, 0x00, 0x00, 0x7A}));
  // A byte that is 1 while on.
  ASSERT_EQ(WriteField(b, BoolByteField(0), ItemValue(1u)), ItemStatus::kOk);
  EXPECT_EQ(b[0], 1);
  ASSERT_EQ(WriteField(b, BoolByteField(0), ItemValue(7u)), ItemStatus::kOk);
  EXPECT_EQ(b[0], 0);
  b[0] = 2;
  ASSERT_EQ(ReadField(b, BoolByteField(0), out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::uint32_t>(out), 0u);
  // The high nibble keeps the low one and takes 0..max.
  ASSERT_EQ(ReadField(b, UpperNibbleField(5), out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::uint32_t>(out), 7u);
  EXPECT_EQ(WriteField(b, UpperNibbleField(5, 1), ItemValue(2u)), ItemStatus::kOutOfRange);
  ASSERT_EQ(WriteField(b, UpperNibbleField(5, 1), ItemValue(1u)), ItemStatus::kOk);
  EXPECT_EQ(b[5], 0x1A);
  EXPECT_EQ(WriteField(b, NibbleField(5, 1), ItemValue(2u)), ItemStatus::kOutOfRange);
  EXPECT_EQ(b[5], 0x1A);
}

TEST(BlockFields, TextWrittenShortAndReadOverTheWholeSlot) {
  Bytes b(8, 'x');
  ASSERT_EQ(WriteField(b, SlotReadTextField(0, 3, 6), ItemValue(std::string("abcdef  "))),
            ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{'a', 'b', 'c', 0, 0, 0, 'x', 'x'}));
  b[3] = 'd';
  b[5] = 'f';
  ItemValue out;
  ASSERT_EQ(ReadField(b, SlotReadTextField(0, 3, 6), out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::string>(out), "abcd");
  ASSERT_EQ(ReadField(b, TextField(0, 3, 6), out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::string>(out), "abc");
}

TEST(BlockFields, TwoPartFieldsNeedBothPartsInsideTheBlock) {
  Bytes b = {10, 0, 0, 1, 255, 0, 0, 0, 0, 0};
  ItemValue out;
  ASSERT_EQ(ReadField(b, AccessEntryNumberField(0, 4), out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::string>(out), "10.0.0.1/255.0.0.0");
  // The numeric form takes no text; the other form parses it.
  EXPECT_EQ(WriteField(b, AccessEntryNumberField(0, 4), ItemValue(std::string("1.2.3.4"))),
            ItemStatus::kWrongKind);
  ASSERT_EQ(WriteField(b, AccessEntryField(0, 4), ItemValue(std::string("1.2.3.4"))),
            ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{1, 2, 3, 4, 255, 0, 0, 0, 0, 0}));
  const Bytes before = b;
  EXPECT_EQ(ReadField(b, AccessEntryField(0, 7), out), ItemStatus::kOutsideBlock);
  EXPECT_EQ(WriteField(b, AccessEntryField(0, 7), ItemValue(5u)), ItemStatus::kOutsideBlock);
  EXPECT_EQ(WriteField(b, RelayChoiceField(0, 9, 0, 4), ItemValue(1u)), ItemStatus::kOutsideBlock);
  EXPECT_EQ(b, before);
  EXPECT_FALSE(FieldInside(10, LinkChoiceField(0, 10)));
  EXPECT_TRUE(FieldInside(10, LinkChoiceField(0, 9)));
  EXPECT_FALSE(FieldInside(10, HookField()));
  const FieldExtent e = ExtentOf(Shifted(RelayChoiceField(1, 5, 2, 4), 3));
  EXPECT_EQ(e.offset, 4u);
  EXPECT_EQ(e.size, 4u);
  EXPECT_EQ(e.offset2, 8u);
  EXPECT_EQ(e.size2, 4u);
}

TEST(BlockFields, RatesAndVersionCodeThroughTheFieldDescription) {
  Bytes b = {0x02, 0x35, 0x03, 0x04};
  ItemValue out;
  ASSERT_EQ(ReadField(b, IngressRateField(0), out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::string>(out), "2 2M 1 1 0");
  ASSERT_EQ(ReadField(b, EgressRateIndexField(2), out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::string>(out), "512K");
  ASSERT_EQ(WriteField(b, EgressRateIndexField(2), ItemValue(5u)), ItemStatus::kOk);
  EXPECT_EQ(WriteField(b, EgressRateNameField(2), ItemValue(5u)), ItemStatus::kWrongKind);
  ASSERT_EQ(WriteField(b, EgressRateNameField(2), ItemValue(std::string("8M"))), ItemStatus::kOk);
  EXPECT_EQ(b[2], 7);
  ASSERT_EQ(ReadField(b, SnmpVersionField(3), out), ItemStatus::kOk);
  EXPECT_EQ(std::get<std::uint32_t>(out), 2u);
  ASSERT_EQ(WriteField(b, SnmpVersionField(3), ItemValue(0u)), ItemStatus::kOk);
  EXPECT_EQ(b, (Bytes{0x02, 0x35, 0x07, 0x05}));
}

}  // namespace
}  // namespace vantrell
