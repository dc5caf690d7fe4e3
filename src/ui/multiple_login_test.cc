#include "ui/multiple_login.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/ipv4.h"

namespace vantrell {
namespace {

/// The list and boxes of dialog 159 as the test sees them.
struct FakeView : MultipleLoginView {
  void DeleteAllRows() override { cells.clear(); }
  void InsertRow(int row, std::string_view first) override {
    cells.insert(cells.begin() + row, std::vector<std::string>(4));
    cells[static_cast<std::size_t>(row)][0] = first;
  }
  void SetCell(int row, int column, std::string_view text) override {
    cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
  }
  void HideUserBox() override { userBox.reset(); }
  void HidePasswordBox() override { passwordBox.reset(); }
  void OpenUserBox(int row, std::string_view text) override { userBox = {row, std::string(text)}; }
  void OpenPasswordBox(int row, std::string_view text) override {
    passwordBox = {row, std::string(text)};
  }
  int SelectedRow() const override { return selected; }

  std::vector<std::vector<std::string>> cells;
  std::optional<std::pair<int, std::string>> userBox;
  std::optional<std::pair<int, std::string>> passwordBox;
  int selected = -1;
};

DeviceRecord Device(std::uint16_t modelId, std::uint8_t last) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = modelId;
  record.ipAddr = MakeIpv4(192, 168, 1, last);
  record.mac = {0x00, 0x0E, 0x1A, 0x00, 0x00, last};
  SetFieldText(record.kavexUser, "administrator");
  SetFieldText(record.kavexPassword, "longerpassword");
  return record;
}

class MultipleLoginTest : public ::testing::Test {
 protected:
  MultipleLoginTest() {
    list.append(Device(0x0180, 10));  // video server
    list.append(Device(0x6018, 11));  // switch: not listed
    list.append(Device(0x0288, 12));  // video server
    for (std::size_t i = 0; i < list.size(); ++i) dialog.addDevice(list, list[i], i);
    dialog.Init(view);
  }
  DeviceList list;
  CCMultipleLogin dialog;
  FakeView view;
};

TEST_F(MultipleLoginTest, ListsOnlyVideoServersWithAdminAndEmptyPassword) {
  ASSERT_EQ(dialog.entries().size(), 2u);
  EXPECT_EQ(dialog.entries()[1].index, 2u);
  ASSERT_EQ(view.cells.size(), 2u);
  EXPECT_EQ(view.cells[0],
            (std::vector<std::string>{"192.168.1.10", "00:0E:1A:00:00:0A", "admin", ""}));
  EXPECT_EQ(view.cells[1],
            (std::vector<std::string>{"192.168.1.12", "00:0E:1A:00:00:0C", "admin", ""}));
  EXPECT_FALSE(view.userBox);
  EXPECT_FALSE(view.passwordBox);
}

TEST_F(MultipleLoginTest, OkWithoutEditsStoresAdminAndEmptyPasswordInEveryVideoServer) {
  dialog.OnOk();
  for (std::size_t i : {0u, 2u}) {
    EXPECT_EQ(FieldText(list[i].kavexUser), "admin");
    EXPECT_EQ(FieldText(list[i].kavexPassword), "");
    // The earlier, longer texts left nothing behind.
    EXPECT_EQ(std::memcmp(list[i].kavexUser, "admin\0\0\0\0\0\0\0\0\0\0\0", 16), 0);
  }
  EXPECT_EQ(FieldText(list[1].kavexUser), "administrator");  // the switch is untouched
}

TEST_F(MultipleLoginTest, CancelStoresNothing) {
  dialog.OnCellClick(0, CCMultipleLogin::kColUsername);
  dialog.OnUserTextChanged("bob");
  dialog.OnCancel();
  EXPECT_EQ(FieldText(list[0].kavexUser), "administrator");
  EXPECT_EQ(FieldText(list[0].kavexPassword), "longerpassword");
}

TEST_F(MultipleLoginTest, PasswordCellOpensWithTheRealTextAndShowsOneStarPerCharacter) {
  dialog.OnCellClick(1, CCMultipleLogin::kColPassword);
  ASSERT_TRUE(view.passwordBox);
  EXPECT_EQ(view.passwordBox->first, 1);
  EXPECT_EQ(view.passwordBox->second, "");
  dialog.OnPasswordTextChanged("secret");
  EXPECT_EQ(view.cells[1][3], "******");
  dialog.OnCellClick(1, CCMultipleLogin::kColUsername);
  EXPECT_FALSE(view.passwordBox);
  ASSERT_TRUE(view.userBox);
  EXPECT_EQ(view.userBox->second, "admin");
  dialog.OnCellClick(1, CCMultipleLogin::kColPassword);
  EXPECT_EQ(view.passwordBox->second, "secret");
  EXPECT_FALSE(view.userBox);
  dialog.OnOk();
  EXPECT_EQ(FieldText(list[2].kavexPassword), "secret");
  EXPECT_EQ(MaskedPassword("p\xC3\xA4ss"), "****");
}

TEST_F(MultipleLoginTest, ClicksOutsideTheEditableCellsChangeNothing) {
  for (auto [row, column] : {std::pair{0, 0}, {0, 1}, {2, 2}, {-1, 3}, {0, -1}}) {
    dialog.OnCellClick(row, column);
    EXPECT_FALSE(view.userBox);
    EXPECT_FALSE(view.passwordBox);
  }
  EXPECT_EQ(dialog.editRow(), -1);
}

TEST_F(MultipleLoginTest, TypingInOneBoxHidesTheOther) {
  dialog.OnCellClick(0, CCMultipleLogin::kColPassword);
  view.userBox = {0, "stale"};  // as if it had stayed open
  dialog.OnPasswordTextChanged("x");
  EXPECT_FALSE(view.userBox);
  dialog.OnCellClick(0, CCMultipleLogin::kColUsername);
  view.passwordBox = {0, "stale"};
  dialog.OnUserTextChanged("op");
  EXPECT_FALSE(view.passwordBox);
  EXPECT_EQ(view.cells[0][2], "op");
}

TEST_F(MultipleLoginTest, ApplyAllWithoutSelectionEmptiesEveryRow) {
  dialog.OnCellClick(0, CCMultipleLogin::kColPassword);
  dialog.OnPasswordTextChanged("pw");
  dialog.OnApplyAll();
  for (const auto& row : view.cells) {
    EXPECT_EQ(row[2], "");
    EXPECT_EQ(row[3], "");
  }
  dialog.OnOk();
  EXPECT_EQ(FieldText(list[0].kavexUser), "");
  EXPECT_EQ(FieldText(list[2].kavexPassword), "");
}

TEST_F(MultipleLoginTest, ApplyAllCopiesTheSelectedRow) {
  dialog.OnCellClick(1, CCMultipleLogin::kColUsername);
  dialog.OnUserTextChanged("op");
  dialog.OnCellClick(1, CCMultipleLogin::kColPassword);
  dialog.OnPasswordTextChanged("abcdef");
  view.selected = 1;
  dialog.OnApplyAll();
  EXPECT_EQ(view.cells[0][2], "op");
  EXPECT_EQ(view.cells[0][3], "******");
  dialog.OnOk();
  EXPECT_EQ(FieldText(list[0].kavexUser), "op");
  EXPECT_EQ(FieldText(list[0].kavexPassword), "abcdef");
}

TEST_F(MultipleLoginTest, ShorterUserNameReplacesTheLongerOneWhole) {
  dialog.OnCellClick(0, CCMultipleLogin::kColUsername);
  dialog.OnUserTextChanged("bo");
  dialog.OnOk();
  EXPECT_EQ(std::memcmp(list[0].kavexUser, "bo\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16), 0);
}

TEST_F(MultipleLoginTest, RecordsKeepAtMost15BytesCutOnACharacterBoundary) {
  dialog.OnCellClick(0, CCMultipleLogin::kColUsername);
  dialog.OnUserTextChanged("abcdefghijklmnopqrst");
  EXPECT_EQ(view.cells[0][2], "abcdefghijklmnopqrst");  // kept as typed while open
  dialog.OnCellClick(0, CCMultipleLogin::kColPassword);
  // Eight two-byte characters: the eighth would end at byte 16.
  dialog.OnPasswordTextChanged("\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4");
  dialog.OnOk();
  EXPECT_EQ(FieldText(list[0].kavexUser), "abcdefghijklmno");
  EXPECT_EQ(FieldText(list[0].kavexPassword).size(), 14u);
  EXPECT_EQ(list[0].kavexPassword[15], '\0');
}

TEST(InPlaceEditorRect, SitsOverTheCell) {
  const EditorRect rect = InPlaceEditorRect({230, 40, 100, 30}, 7);
  EXPECT_EQ(rect.left, 237);
  EXPECT_EQ(rect.top, 65);
  EXPECT_EQ(rect.width, 100);
  EXPECT_EQ(rect.height, 20);
}

TEST(CCMultipleLogin, WithoutVideoServersHasNoRows) {
  DeviceList list;
  list.append(Device(0x6018, 1));
  CCMultipleLogin dialog;
  dialog.addDevice(list, list[0], 0);
  FakeView view;
  dialog.Init(view);
  EXPECT_TRUE(dialog.empty());
  EXPECT_TRUE(view.cells.empty());
  dialog.OnApplyAll();
  dialog.OnOk();
  EXPECT_EQ(FieldText(list[0].kavexUser), "administrator");
}

}  // namespace
}  // namespace vantrell
