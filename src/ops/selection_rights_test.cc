#include "ops/selection_rights.h"

#include <gtest/gtest.h>

#include "ops/send_command.h"

namespace vantrell {
namespace {

DeviceRecord Device(std::uint8_t macTail, std::uint8_t flags, const char* password = "") {
  DeviceRecord record = MakeZeroRecord();
  record.mac = {0x00, 0x60, 0xE9, 0x00, 0x0A, macTail};
  record.statusFlags = flags;
  SetFieldText(record.password, password);
  return record;
}

TEST(SelectionRights, FirstRefusedRecordNamesTheMessage) {
  const DeviceRecord open = Device(1, 0), unlocked = Device(2, kStatusProtected, "pw"),
                     locked = Device(3, kStatusProtected), away = Device(4, kStatusInaccessible);
  const DeviceRecord* good[] = {&open, &unlocked};
  EXPECT_FALSE(CheckSelectionRights(good));
  const DeviceRecord* lockedFirst[] = {&open, &locked, &away};
  EXPECT_EQ(CheckSelectionRights(lockedFirst),
            "00:60:E9:00:0A:03 is password protected.\n Please select \"unlock\" function to get "
            "the rights.");
  const DeviceRecord* awayFirst[] = {&away, &locked};
  EXPECT_EQ(CheckSelectionRights(awayFirst), "00:60:E9:00:0A:04 is not accessable!");
  // Unlocked but inaccessible is still refused.
  const DeviceRecord both = Device(5, kStatusProtected | kStatusInaccessible, "pw");
  const DeviceRecord* bothOnly[] = {&both};
  EXPECT_EQ(CheckSelectionRights(bothOnly), "00:60:E9:00:0A:05 is not accessable!");
}

TEST(SelectionRights, CollectionMakesRowsOnlyWhenEveryDevicePasses) {
  const DeviceRecord a = Device(1, 0), b = Device(2, kStatusProtected, "pw"),
                     locked = Device(3, kStatusProtected);
  const DeviceRecord* fine[] = {&a, &b};
  const CommandRows rows = CollectCommandRows(fine, kSetDefaultOpcode);
  ASSERT_FALSE(rows.refusal);
  ASSERT_EQ(rows.rows.size(), 2u);
  EXPECT_EQ(rows.rows[1]->record, b);
  EXPECT_EQ(rows.rows[1]->firstParameter, 0x29u);
  EXPECT_EQ(rows.rows[1]->state, kRowWaiting);
  const DeviceRecord* withLocked[] = {&a, &locked};
  const CommandRows refused = CollectCommandRows(withLocked, kSetDefaultOpcode);
  EXPECT_TRUE(refused.refusal);
  EXPECT_TRUE(refused.rows.empty());
}

TEST(PasswordTrim, BlanksAroundAreRemovedAndSixteenKept) {
  char field[kPasswordLength + 1];
  CopyTrimmedPassword(field, "  \tse cret \r\n");
  EXPECT_STREQ(field, "se cret");
  CopyTrimmedPassword(field, " 0123456789abcdefXYZ ");
  EXPECT_STREQ(field, "0123456789abcdef");
  CopyTrimmedPassword(field, "   ");
  EXPECT_STREQ(field, "");
}

}  // namespace
}  // namespace vantrell
