#include "ui/orv_list_view.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <map>

#include "core/text_forms.h"
#include "ops/send_command.h"
#include "ui/main_menu.h"

namespace vantrell {
namespace {

/// The list widget: cells, selection and focus mark.
struct FakeList : ReportList {
  void DeleteAllRows() override {
    cells.clear();
    selected.clear();
    focused = -1;
  }
  void InsertRow(int row, std::string_view first) override {
    cells.insert(cells.begin() + row, std::vector<std::string>(kDeviceColumnCount));
    cells[static_cast<std::size_t>(row)][0] = first;
  }
  void SetCell(int row, int column, std::string_view text) override {
    cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
  }
  int FocusedRow() const override { return focused; }
  std::vector<int> SelectedRows() const override { return selected; }
  void SelectAndFocus(int row) override {
    if (std::find(selected.begin(), selected.end(), row) == selected.end()) selected.push_back(row);
    std::sort(selected.begin(), selected.end());
    focused = row;
  }
  void TakeKeyboardFocus() override { hasFocus = true; }

  std::vector<std::vector<std::string>> cells;
  std::vector<int> selected;
  int focused = -1;
  bool hasFocus = false;
};

struct FakePrompter : Prompter {
  PromptAnswer Ask(std::string_view text, MessageIcon icon, PromptButtons) override {
    messages.push_back({std::string(text), icon});
    return answer;
  }
  std::optional<std::filesystem::path> SaveFileName(const FileDialogRequest& request) override {
    fileFilter = request.filter;
    return savePath;
  }
  std::optional<std::filesystem::path> OpenFileName(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::uint32_t> SpecifyIp() override { return specifiedIp; }
  std::optional<std::string> InputPassword() override { return typedPassword; }
  std::optional<PasswordChange> ChangePassword() override { return passwordChange; }
  std::optional<LoginEntry> LoginIdPassword() override { return std::nullopt; }

  std::vector<std::pair<std::string, MessageIcon>> messages;
  PromptAnswer answer = PromptAnswer::kNo;
  std::optional<std::filesystem::path> savePath;
  std::string fileFilter;
  std::optional<std::uint32_t> specifiedIp;
  std::optional<std::string> typedPassword;
  std::optional<PasswordChange> passwordChange;
};

struct RecordingControls : DialogControls {
  void SetStatusText(std::string_view text) override { status = text; }
  void SetButtonText(std::string_view text) override { button = text; }
  std::string status, button;
};

struct DialogRows : RowTable {
  void DeleteAllRows() override { rows.clear(); }
  void InsertRow(int, std::string_view first) override { rows.push_back({std::string(first)}); }
  void SetCell(int row, int column, std::string_view text) override {
    auto& cells = rows.at(static_cast<std::size_t>(row));
    if (cells.size() <= static_cast<std::size_t>(column)) cells.resize(column + 1);
    cells[static_cast<std::size_t>(column)] = text;
  }
  std::vector<std::vector<std::string>> rows;
};

/// Runs each dialog to its end as the window's timer would, bounded.
struct FakeHost : ModalDialogHost {
  void RunModal(DialogDriver& driver) override {
    titles.push_back(driver.layout().title);
    DialogRows rows;
    RecordingControls controls;
    driver.Open(rows, controls);
    if (beforeFirstTick) beforeFirstTick();
    TickResult result = TickResult::kContinue;
    for (int tick = 0; tick < 2000 && result == TickResult::kContinue; ++tick) {
      result = driver.OnTick();
      if (result == TickResult::kContinue)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (result != TickResult::kEndDialog) driver.OnButton();
    lastRows = rows.rows;
    lastButton = controls.button;
  }
  std::function<void()> beforeFirstTick;
  std::vector<std::string> titles;
  std::vector<std::vector<std::string>> lastRows;
  std::string lastButton;
};

DeviceRecord Device(const char* model, Ipv4 ip, std::uint8_t macLast) {
  DeviceRecord record = MakeZeroRecord();
  SetFieldText(record.modelName, model);
  record.ipAddr = ip;
  record.mac = {0x00, 0x60, 0xE9, 0x00, 0x00, macLast};
  record.modelId = 0x6008;
  return record;
}

struct ListViewTest : ::testing::Test {
  ListViewTest() { services.timing.searchTickMs = 200; }

  OrvListView& View() {
    if (!view) {
      view = std::make_unique<OrvListView>(
          document, OrvListView::Ports{list, prompter, host, [this](int i) { shown.push_back(i); }},
          services);
    }
    return *view;
  }
  /// Rows as a search leaves them.
  void Populate() {
    list.DeleteAllRows();
    for (std::size_t i = 0; i < document.size(); ++i) {
      list.InsertRow(static_cast<int>(i), FieldText(document[i].modelName));
    }
  }
  void Select(std::vector<int> rows, int focus) {
    list.selected = std::move(rows);
    list.focused = focus;
  }

  DeviceList document;
  FakeList list;
  FakePrompter prompter;
  FakeHost host;
  OrvListView::Services services;
  std::vector<int> shown;
  std::unique_ptr<OrvListView> view;
};

TEST_F(ListViewTest, RowTextsShowStatusAndFormats) {
  DeviceRecord record = Device("ORV-D8", MakeIpv4(192, 168, 1, 20), 0xAB);
  SetFieldText(record.serverName, "hall");
  SetFieldText(record.location, "north");
  record.statusFlags = kStatusProtected | kStatusInaccessible;
  EXPECT_EQ(DeviceRowTexts(record),
            (std::array<std::string, 6>{"ORV-D8", "192.168.1.20", "00:60:E9:00:00:AB",
                                        "Locked Inaccessible", "hall", "north"}));
  record.statusFlags = kStatusInaccessible;
  EXPECT_EQ(DeviceRowTexts(record)[kColStatus], " Inaccessible");
}

TEST_F(ListViewTest, RefreshRowsFillsCellsAndSelectsTheFocusedRow) {
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 1), 1));
  document.append(Device("ORV-R8", MakeIpv4(10, 0, 0, 2), 2));
  Populate();
  Select({}, 1);
  View().RefreshRows();
  EXPECT_EQ(list.cells[1][kColIpAddress], "10.0.0.2");
  EXPECT_EQ(list.cells[0][kColMacAddress], "00:60:E9:00:00:01");
  EXPECT_EQ(list.selected, std::vector<int>{1});
  EXPECT_EQ(shown, std::vector<int>{1});
}

TEST_F(ListViewTest, SelectingASelfDescribingDeviceFetchesItsTextOrReportsFailure) {
  DeviceRecord record = Device("Kavex V100", MakeIpv4(10, 0, 0, 9), 9);
  record.replyKind = 1;
  document.append(record);
  Populate();
  Select({0}, 0);
  bool answers = true;
  int fetches = 0;
  services.fetchInfoText = [&](DeviceRecord& r) {
    ++fetches;
    SetFieldText(r.infoText, "Model\tV100\n");
    return answers;
  };
  View().OnKeyRelease(true);  // a held key's repeat
  EXPECT_EQ(fetches, 0);
  EXPECT_TRUE(shown.empty());
  View().OnKeyRelease(false);
  EXPECT_EQ(shown, std::vector<int>{0});
  EXPECT_EQ(FieldText(document[0].infoText), "Model\tV100\n");
  answers = false;
  View().OnLeftClick();
  EXPECT_EQ(fetches, 2);
  EXPECT_EQ(shown, (std::vector<int>{0, -1}));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].first,
            "Can not connect to the device !\n Model : Kavex V100\n Mac : 00:60:E9:00:00:09");
  EXPECT_EQ(prompter.messages[0].second, MessageIcon::kStop);
}

TEST_F(ListViewTest, TwoSelectedRowsLeaveOnlyTheMultiDeviceCommandsEnabled) {
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 1), 1));
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 2), 2));
  document[0].statusFlags = kStatusProtected;
  SetFieldText(document[0].password, "pw");
  Populate();
  Select({0, 1}, 0);
  for (int id :
       {kCmdExportConfiguration, kCmdWebConsole, kCmdChangePassword, kCmdUnlock, kCmdModifyIp}) {
    EXPECT_FALSE(View().CommandEnabled(id)) << id;
  }
  for (int id : {kCmdUpgradeFirmware, kCmdSetDefault, kCmdImportConfiguration, kCmdBroadcastSearch,
                 kCmdSpecifyIp}) {
    EXPECT_TRUE(View().CommandEnabled(id)) << id;
  }
  Select({}, -1);
  EXPECT_FALSE(View().CommandEnabled(kCmdSetDefault));
  EXPECT_FALSE(View().CommandEnabled(kCmdImportConfiguration));
  EXPECT_TRUE(View().CommandEnabled(kCmdBroadcastSearch));
}

TEST_F(ListViewTest, SingleRowRulesFollowLockAccessAndKavex) {
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 1), 1));
  Populate();
  Select({0}, 0);
  DeviceRecord& r = document[0];
  r.statusFlags = kStatusProtected;  // locked
  EXPECT_TRUE(View().CommandEnabled(kCmdUnlock));
  EXPECT_TRUE(View().CommandEnabled(kCmdChangePassword));
  EXPECT_TRUE(View().CommandEnabled(kCmdWebConsole));
  EXPECT_FALSE(View().CommandEnabled(kCmdExportConfiguration));
  EXPECT_FALSE(View().CommandEnabled(kCmdModifyIp));
  EXPECT_FALSE(View().CommandEnabled(kCmdImportConfiguration));
  SetFieldText(r.password, "pw");  // unlocked
  EXPECT_FALSE(View().CommandEnabled(kCmdUnlock));
  EXPECT_TRUE(View().CommandEnabled(kCmdExportConfiguration));
  EXPECT_TRUE(View().CommandEnabled(kCmdModifyIp));
  r.statusFlags |= kStatusInaccessible;
  for (int id : {kCmdUnlock, kCmdChangePassword, kCmdWebConsole, kCmdExportConfiguration,
                 kCmdModifyIp, kCmdImportConfiguration}) {
    EXPECT_FALSE(View().CommandEnabled(id)) << id;
  }
  EXPECT_TRUE(View().CommandEnabled(kCmdSetDefault));

  r = Device("Kavex V100", MakeIpv4(10, 0, 0, 1), 1);
  r.statusFlags = kStatusProtected;
  r.modelId = 0x0188;
  EXPECT_FALSE(View().CommandEnabled(kCmdUnlock));
  EXPECT_FALSE(View().CommandEnabled(kCmdChangePassword));
  r.statusFlags = 0;
  EXPECT_TRUE(View().CommandEnabled(kCmdModifyIp));
  r.modelId = 0x0180;
  EXPECT_FALSE(View().CommandEnabled(kCmdModifyIp));
}

TEST_F(ListViewTest, HeaderClicksSortDescendingFirstThenAscending) {
  document.append(Device("B", MakeIpv4(10, 0, 0, 10), 3));
  document.append(Device("A", MakeIpv4(10, 0, 0, 2), 1));
  document.append(Device("C", MakeIpv4(9, 255, 0, 1), 2));
  Populate();
  Select({0}, 0);
  View().OnColumnClick(kColIpAddress);
  EXPECT_EQ(list.cells[0][kColIpAddress], "10.0.0.10");
  EXPECT_EQ(list.cells[1][kColIpAddress], "10.0.0.2");
  EXPECT_EQ(list.cells[2][kColIpAddress], "9.255.0.1");
  EXPECT_FALSE(View().sortDescending()[kColIpAddress]);
  View().OnColumnClick(kColIpAddress);
  EXPECT_EQ(list.cells[0][kColIpAddress], "9.255.0.1");
  EXPECT_EQ(list.cells[1][kColIpAddress], "10.0.0.2");
  EXPECT_EQ(list.cells[2][kColIpAddress], "10.0.0.10");
  View().OnColumnClick(kColName);  // first click on Name: descending
  EXPECT_TRUE(View().sortDescending()[kColModel]);
  View().OnColumnClick(kColMacAddress);
  EXPECT_EQ(list.cells[0][kColMacAddress], "00:60:E9:00:00:03");
  View().OnColumnClick(kColModel);
  EXPECT_EQ(list.cells[0][kColModel], "C");
  EXPECT_EQ(list.cells[2][kColModel], "A");
  View().OnColumnClick(7);  // no such column: nothing
}

TEST_F(ListViewTest, ColumnOrderingsCompareTheStoredValues) {
  DeviceRecord a = Device("ORV", 0, 1), b = Device("ORV", 0, 1);
  a.mac = {0x00, 0xFF, 0, 0, 0, 0};
  b.mac = {0x01, 0x00, 0, 0, 0, 0};
  EXPECT_TRUE(ColumnLess(kColMacAddress, a, b));
  a.statusFlags = 0x02;
  b.statusFlags = 0x81;  // unsigned byte
  EXPECT_TRUE(ColumnLess(kColStatus, a, b));
  SetFieldText(a.location, "Z");
  SetFieldText(b.location, "\xC3\xA9");  // above ASCII byte-wise
  EXPECT_TRUE(ColumnLess(kColLocation, a, b));
}

TEST_F(ListViewTest, WebConsoleUrlsAndDoubleClick) {
  DeviceRecord kavex = Device("Kavex V100", MakeIpv4(10, 1, 2, 3), 1);
  kavex.webPort = 8080;
  EXPECT_EQ(WebConsoleUrl(kavex), "http://10.1.2.3:8080");
  EXPECT_EQ(WebConsoleUrl(Device("ORV-D8", MakeIpv4(10, 1, 2, 4), 2)), "http://10.1.2.4");

  std::vector<std::string> opened;
  services.openUrl = [&](const std::string& url) { opened.push_back(url); };
  document.append(kavex);
  document.append(Device("ORV-D8", MakeIpv4(10, 1, 2, 4), 2));
  document[1].statusFlags = kStatusProtected | kStatusInaccessible;
  Populate();
  Select({}, -1);
  View().OnDoubleClick();
  EXPECT_TRUE(opened.empty());
  Select({0}, 0);
  View().OnDoubleClick();
  EXPECT_EQ(opened, std::vector<std::string>{"http://10.1.2.3:8080"});
  Select({1}, 1);
  View().OnDoubleClick();  // network settings, even locked and inaccessible
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].first,
            "Your IP address is not accessable for this Meshvault Server.");
}

TEST_F(ListViewTest, ContextMenuOnlyInsideTheClientAreaWithAFocusedRow) {
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 1), 1));
  Populate();
  Select({}, -1);
  EXPECT_FALSE(View().ShowsContextMenu(true));
  Select({}, 0);
  EXPECT_TRUE(View().ShowsContextMenu(true));
  EXPECT_FALSE(View().ShowsContextMenu(false));
}

TEST_F(ListViewTest, BroadcastSearchRebuildsRowsFromTheSearch) {
  document.append(Device("OLD", MakeIpv4(10, 0, 0, 99), 99));
  std::atomic<bool> heard{false};
  services.searchWorker = [&heard](SearchContext& context) {
    std::lock_guard lock(context.searchLock);
    context.found.InsertUnique(Device("ORV-D8", MakeIpv4(10, 0, 0, 1), 1));
    context.found.InsertUnique(Device("ORV-R8", MakeIpv4(10, 0, 0, 2), 2));
    heard = true;
  };
  host.beforeFirstTick = [&heard] {
    for (int i = 0; i < 2000 && !heard; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  int details = 0;
  services.detailsQuery = [&](DeviceRecord& r) {
    ++details;
    SetFieldText(r.serverName, "named");
    return 0;
  };
  services.timing.searchCountdownMs = 400;
  View().OnCommand(kCmdBroadcastSearch);
  EXPECT_EQ(host.titles, std::vector<std::string>{"Broadcast Search"});
  ASSERT_EQ(document.size(), 2u);
  EXPECT_EQ(shown.front(), -1);
  EXPECT_EQ(shown.back(), 0);
  ASSERT_EQ(list.cells.size(), 2u);
  EXPECT_EQ(list.cells[1][kColModel], "ORV-R8");
  EXPECT_EQ(list.cells[1][kColName], "named");
  EXPECT_EQ(list.focused, 0);
  EXPECT_TRUE(list.hasFocus);
  EXPECT_EQ(details, 2);
}

TEST_F(ListViewTest, SpecifyIpFiltersOnTheEnteredAddressOrDoesNothingOnCancel) {
  Ipv4 filter = 0;
  services.searchWorker = [&](SearchContext& context) { filter = context.sourceFilter; };
  services.timing.searchCountdownMs = 200;
  View().OnCommand(kCmdSpecifyIp);
  EXPECT_TRUE(host.titles.empty());
  prompter.specifiedIp = 0x0A000102;  // 10.0.1.2, first octet highest
  View().OnCommand(kCmdSpecifyIp);
  EXPECT_EQ(FormatIpv4(filter), "10.0.1.2");
}

TEST_F(ListViewTest, UnlockRunsTheDialogWithTheTrimmedPasswordAndRefreshes) {
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 1), 1));
  document[0].statusFlags = kStatusProtected;
  Populate();
  Select({0}, 0);
  std::string sent;
  services.unlockWorker = [&](SingleDeviceJob& job) {
    sent = job.password;
    SetFieldText(job.record.password, job.password);
    job.state = kJobSucceeded;
  };
  View().OnCommand(kCmdUnlock);  // Cancel in the password dialog
  EXPECT_TRUE(host.titles.empty());
  prompter.typedPassword = "  secret ";
  View().OnCommand(kCmdUnlock);
  EXPECT_EQ(sent, "secret");
  EXPECT_EQ(host.titles, std::vector<std::string>{"Dialog"});
  EXPECT_EQ(host.lastRows[0], (std::vector<std::string>{"00:60:E9:00:00:01", "OK.."}));
  EXPECT_EQ(host.lastButton, "Close");
  EXPECT_EQ(list.cells[0][kColStatus], "Unlocked");
}

TEST_F(ListViewTest, ChangePasswordHandsOldAndNewToTheWorker) {
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 1), 1));
  Populate();
  Select({0}, 0);
  std::string oldSent, newSent;
  services.changePasswordWorker = [&](SingleDeviceJob& job) {
    oldSent = job.oldPassword;
    newSent = job.newPassword;
    job.record.statusFlags |= kStatusProtected;
    SetFieldText(job.record.password, job.newPassword);
    job.state = kJobSucceeded;
  };
  prompter.passwordChange = PasswordChange{" old", "new "};
  View().OnCommand(kCmdChangePassword);
  EXPECT_EQ(oldSent, "old");
  EXPECT_EQ(newSent, "new");
  EXPECT_EQ(list.cells[0][kColStatus], "Unlocked");
}

TEST_F(ListViewTest, SetDefaultRefusesALockedSelectionAndAsksToRefreshAfterwards) {
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 1), 1));
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 2), 2));
  document[1].statusFlags = kStatusProtected;
  Populate();
  Select({0, 1}, 0);
  int sent = 0;
  services.sendCommandWorker = [&](DeviceJob& job) {
    ++sent;
    EXPECT_EQ(job.firstParameter, 0x29u);
    return kCommandDone;
  };
  View().OnCommand(kCmdSetDefault);
  EXPECT_EQ(sent, 0);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].first,
            "00:60:E9:00:00:02 is password protected.\n Please select \"unlock\" function to get "
            "the rights.");

  SetFieldText(document[1].password, "pw");
  prompter.messages.clear();
  View().OnCommand(kCmdSetDefault);
  EXPECT_EQ(sent, 2);
  EXPECT_EQ(host.titles, std::vector<std::string>{"Send CMD Process"});
  EXPECT_EQ(host.lastRows[1], (std::vector<std::string>{"00:60:E9:00:00:02", "Done"}));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].first, kRefreshQuestion);
  EXPECT_EQ(document.size(), 2u);  // No: the list stays
}

TEST_F(ListViewTest, ExportAsksForAFileAndReportsTheResult) {
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 1), 1));
  Populate();
  Select({0}, 0);
  std::filesystem::path written;
  services.exportConfiguration = [&](DeviceRecord&, const std::filesystem::path& path) {
    written = path;
    return -1;
  };
  View().OnCommand(kCmdExportConfiguration);  // save dialog cancelled
  EXPECT_TRUE(written.empty());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(prompter.fileFilter, "ini files (*.ini)|*.ini|All files (*.*)|*.*||");
  prompter.savePath = "/tmp/out.ini";
  View().OnCommand(kCmdExportConfiguration);
  EXPECT_EQ(written, "/tmp/out.ini");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].first,
            "Your IP address is not accessable for this Meshvault Server.");
  EXPECT_EQ(prompter.messages[0].second, MessageIcon::kInformation);
}

TEST_F(ListViewTest, UpgradeEndsQuietlyWhenTheFileDialogIsCancelled) {
  document.append(Device("ORV-D8", MakeIpv4(10, 0, 0, 1), 1));
  Populate();
  Select({0}, 0);
  View().OnCommand(kCmdUpgradeFirmware);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(host.titles.empty());
}

}  // namespace
}  // namespace vantrell
