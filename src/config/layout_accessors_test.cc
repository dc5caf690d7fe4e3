#include "config/layout_accessors.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrell {
namespace {

constexpr ConfigItemId kPlainItem = 1;
constexpr ConfigItemId kSingleItem = 2;
constexpr ConfigItemId kListItem = 3;
constexpr ConfigItemId kHookItem = 4;
constexpr ConfigItemId kNameItem = 5;
constexpr ConfigItemId kGoneItem = 6;

constexpr LayoutTable<8> BuildTable() {
  LayoutTable<8> t;
  t.Add(kPlainItem, U8Field(0));
  t.AddSingle(kSingleItem, U8Field(1));
  t.AddList(kListItem, U16Field(2), 4, 3);  // entries at 2, 6 and 10
  t.AddHook(kHookItem, 2);
  t.Add(kNameItem, NameTextField(14, 6, 6, 6));
  t.Add(kGoneItem, U8Field(40));
  t.Remove(kGoneItem);
  return t;
}
constexpr LayoutTable<8> kTable = BuildTable();
static_assert(kTable.count == 5);
static_assert(kTable.Inside(20));
static_assert(!kTable.Inside(19));  // the name's slot ends at byte 19

/// A generation whose hook item reads the list index and stores it doubled.
class TestAccessors final : public LayoutAccessors {
 public:
  explicit TestAccessors(TextRule rule)
      : LayoutAccessors(Generation::kGenD1, kTable.view(), rule) {}

 private:
  ItemStatus GetHook(const ConfigBlock&, const ItemField& row, std::size_t n,
                     ItemValue& out) const override {
    out = static_cast<std::uint32_t>(row.id * 100 + n);
    return ItemStatus::kOk;
  }
  ItemStatus SetHook(ConfigBlock& block, const ItemField&, std::size_t n, const ItemValue& value,
                     const SetItemContext&) override {
    const auto number = NumberOf(value);
    if (!number) return ItemStatus::kWrongKind;
    return StatusOfWrite(block.SetByteAt(n, static_cast<std::uint8_t>(2 * *number)));
  }
};

TEST(LayoutAccessors, ListIndexSelectsEntriesOnlyOfLists) {
  TestAccessors a(TextRule::kAsGiven);
  ConfigBlock block(20);
  ASSERT_EQ(a.setNumber(block, kListItem, 0x1234, 2), ItemStatus::kOk);
  EXPECT_EQ(*block.ByteAt(10), 0x34);
  EXPECT_EQ(*block.ByteAt(11), 0x12);
  EXPECT_EQ(a.getNumber(block, kListItem, 2), 0x1234u);
  EXPECT_EQ(a.setNumber(block, kListItem, 1, 3), ItemStatus::kNotHandled);
  // A row without a list takes any index; a single row only index 0.
  ASSERT_EQ(a.setNumber(block, kPlainItem, 9, 7), ItemStatus::kOk);
  EXPECT_EQ(*block.ByteAt(0), 9);
  EXPECT_EQ(a.getNumber(block, kPlainItem, 5), 9u);
  EXPECT_EQ(a.setNumber(block, kSingleItem, 4, 1), ItemStatus::kNotHandled);
  EXPECT_EQ(a.setNumber(block, kSingleItem, 4, 0), ItemStatus::kOk);
  EXPECT_EQ(a.setNumber(block, kGoneItem, 4), ItemStatus::kNotHandled);
}

TEST(LayoutAccessors, HookRowsGoToTheGenerationsCode) {
  TestAccessors a(TextRule::kAsGiven);
  ConfigBlock block(20);
  EXPECT_EQ(a.getNumber(block, kHookItem, 1), 401u);
  EXPECT_FALSE(a.getNumber(block, kHookItem, 2).has_value());  // past its two entries
  ASSERT_EQ(a.setNumber(block, kHookItem, 21, 1), ItemStatus::kOk);
  EXPECT_EQ(*block.ByteAt(1), 42);
  EXPECT_EQ(a.setText(block, kHookItem, "21"), ItemStatus::kWrongKind);
}

TEST(LayoutAccessors, TextRulesOfTheGenerations) {
  const std::string text("ab \0cd\r", 7);
  ConfigBlock block(20);
  TestAccessors(TextRule::kAsGiven).setText(block, kNameItem, text);
  EXPECT_EQ(TestAccessors(TextRule::kAsGiven).getText(block, kNameItem), "ab ");
  // GenA2 trims the whole text (the NUL then ends it), GenM1 cuts at the NUL
  // first and trims what is left.
  TestAccessors(TextRule::kTrimBlanksCrNuls).setText(block, kNameItem, text);
  EXPECT_EQ(TestAccessors(TextRule::kAsGiven).getText(block, kNameItem), "ab ");
  TestAccessors(TextRule::kCutAtNulAndTrim).setText(block, kNameItem, text);
  EXPECT_EQ(TestAccessors(TextRule::kAsGiven).getText(block, kNameItem), "ab");
  TestAccessors(TextRule::kTrimBlanksCrNuls).setText(block, kNameItem, "xy \r\r");
  EXPECT_EQ(TestAccessors(TextRule::kAsGiven).getText(block, kNameItem), "xy");
}

}  // namespace
}  // namespace vantrell
