// Modify IP Address, Import Configuration and the removal of the ARP
// entries and host routes when the device list view goes away.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "config/config_block.h"
#include "core/text_forms.h"
#include "net/arp_route_bracket.h"
#include "ops/network_settings.h"
#include "support/recording_netd_channel.h"
#include "ui/main_menu.h"
#include "ui/orv_list_view.h"

namespace vantrell {
namespace {

using Messages = std::vector<std::pair<std::string, MessageIcon>>;

struct List : ReportList {
  void DeleteAllRows() override { cells.clear(); }
  void InsertRow(int row, std::string_view first) override {
    cells.insert(cells.begin() + row, std::vector<std::string>(kDeviceColumnCount));
    cells[static_cast<std::size_t>(row)][0] = first;
  }
  void SetCell(int row, int column, std::string_view text) override {
    cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
  }
  int FocusedRow() const override { return focused; }
  std::vector<int> SelectedRows() const override { return selected; }
  void SelectAndFocus(int row) override { focused = row; }
  void TakeKeyboardFocus() override {}
  std::vector<std::vector<std::string>> cells;
  std::vector<int> selected;
  int focused = -1;
};

/// Answers every dialog as scripted and keeps what each dialog was shown.
struct Operator : Prompter {
  PromptAnswer Ask(std::string_view text, MessageIcon icon, PromptButtons buttons) override {
    messages.push_back({std::string(text), icon});
    return buttons == PromptButtons::kYesNo ? answer : PromptAnswer::kOk;
  }
  std::optional<std::filesystem::path> SaveFileName(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> OpenFileName(const FileDialogRequest& request) override {
    openFilter = request.filter;
    return openPath;
  }
  std::optional<std::uint32_t> SpecifyIp() override { return std::nullopt; }
  std::optional<std::string> InputPassword() override { return std::nullopt; }
  std::optional<PasswordChange> ChangePassword() override { return std::nullopt; }
  std::optional<LoginEntry> LoginIdPassword() override {
    ++logins;
    return std::nullopt;
  }
  std::optional<DeviceRecord> EditNetworkSettings(const DeviceRecord& record,
                                                  AddressChangeMask mask,
                                                  NetconfPurpose purpose) override {
    netconf.push_back({record, mask, purpose});
    if (!edit) return std::nullopt;
    DeviceRecord edited = record;
    edit(edited);
    return edited;
  }

  struct NetconfCall {
    DeviceRecord record;
    AddressChangeMask mask;
    NetconfPurpose purpose;
  };
  Messages messages;
  PromptAnswer answer = PromptAnswer::kYes;
  std::optional<std::filesystem::path> openPath;
  std::string openFilter;
  int logins = 0;
  std::vector<NetconfCall> netconf;
  std::function<void(DeviceRecord&)> edit;  ///< null: Cancel
};

struct Controls : DialogControls {
  void SetStatusText(std::string_view) override {}
  void SetButtonText(std::string_view) override {}
  void SetButtonEnabled(bool enabled) override { buttonEnabled.push_back(enabled); }
  void RedrawRow(int row) override { redrawn.push_back(row); }
  void SetWaitCursor(bool) override {}
  std::vector<bool> buttonEnabled;
  std::vector<int> redrawn;
};

struct Rows : RowTable {
  void DeleteAllRows() override { rows.clear(); }
  void InsertRow(int, std::string_view first) override { rows.push_back({std::string(first), ""}); }
  void SetCell(int row, int column, std::string_view text) override {
    rows.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
  }
  std::vector<std::vector<std::string>> rows;
};

/// Runs a dialog as the window does: Open, ticks until the timer stops.
struct Host : ModalDialogHost {
  void RunModal(DialogDriver& driver) override {
    layout = driver.layout();
    driver.Open(rows, controls);
    for (int tick = 0; tick < 10 && driver.OnTick() == TickResult::kContinue; ++tick) {
    }
  }
  DialogDriver::Layout layout;
  Rows rows;
  Controls controls;
};

/// ARP and route tables in memory: every listed address starts with an
/// entry of each, as an earlier command may have left them.
DeviceRecord Switch(const char* model, Ipv4 ip, std::uint8_t macLast) {
  DeviceRecord record = MakeZeroRecord();
  SetFieldText(record.modelName, model);
  record.modelId = 0x6008;
  record.ipAddr = ip;
  record.netmask = MakeIpv4(255, 255, 255, 0);
  record.localIfAddr = MakeIpv4(10, 9, 0, 1);
  record.mac = {0x00, 0x60, 0xE9, 0x00, 0x00, macLast};
  record.replyKind = 1;  // parses a file itself: no handler row needed
  return record;
}

struct CommandsTest : ::testing::Test {
  CommandsTest() {
    services.fetchInfoText = [](DeviceRecord&) { return true; };
  }
  OrvListView& View() {
    if (!view) {
      view = std::make_unique<OrvListView>(
          document, OrvListView::Ports{list, op, host, [this](int i) { shown.push_back(i); }},
          services);
    }
    return *view;
  }
  void Populate(std::vector<int> selected, int focus) {
    list.DeleteAllRows();
    for (std::size_t i = 0; i < document.size(); ++i) {
      list.InsertRow(static_cast<int>(i), FieldText(document[i].modelName));
    }
    list.selected = std::move(selected);
    list.focused = focus;
  }
  std::filesystem::path WriteFile(const std::string& name, const std::string& text) {
    const auto path = std::filesystem::path(::testing::TempDir()) / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  DeviceList document;
  List list;
  Operator op;
  Host host;
  OrvListView::Services services;
  std::vector<int> shown;
  std::unique_ptr<OrvListView> view;
};

/// The commands with the real bracket over a recording network helper.
struct BracketCommandsTest : CommandsTest {
  BracketCommandsTest() { services.bracket = &bracket; }
  ~BracketCommandsTest() override { view.reset(); }  // it removes through the bracket

  struct SilentSink : MessageSink {
    void ShowMessage(std::string_view, MessageIcon) override {}
  };
  test_support::RecordingNetdChannel helper;
  SilentSink sink;
  ArpRouteBracket bracket{&helper, sink};
};

TEST_F(CommandsTest, ModifyIpReadsOpensTheDialogWarnsAndReplacesTheRecord) {
  document.append(Switch("ORV-D8", MakeIpv4(10, 0, 0, 5), 1));
  Populate({0}, 0);
  std::vector<std::string> calls;
  services.readNetworkSettings = [&](DeviceRecord& record, ConfigBlock&) {
    record.dns1 = MakeIpv4(10, 0, 0, 53);
    calls.push_back("read " + FormatIpv4(record.ipAddr));
    return 0;
  };
  services.applyNetworkSettings = [&](const DeviceRecord& listed, const DeviceRecord& edited,
                                      ConfigBlock&) {
    calls.push_back("apply " + FormatIpv4(listed.ipAddr) + " -> " + FormatIpv4(edited.ipAddr));
    return 1;
  };
  op.edit = [](DeviceRecord& record) { record.ipAddr = MakeIpv4(10, 0, 0, 77); };
  View().OnCommand(kCmdModifyIp);

  ASSERT_EQ(op.netconf.size(), 1u);
  EXPECT_EQ(op.netconf[0].mask, 0u);
  EXPECT_EQ(op.netconf[0].purpose, NetconfPurpose::kModify);
  EXPECT_EQ(op.netconf[0].record.dns1, MakeIpv4(10, 0, 0, 53));  // the dialog sees what was read
  EXPECT_EQ(calls, (std::vector<std::string>{"read 10.0.0.5", "apply 10.0.0.5 -> 10.0.0.77"}));
  ASSERT_EQ(op.messages.size(), 2u);
  EXPECT_EQ(op.messages[0].first, std::string(kNetworkSettingsWarning));
  EXPECT_EQ(op.messages[0].second, MessageIcon::kStop);
  EXPECT_EQ(op.messages[1],
            (std::pair<std::string, MessageIcon>{"Modify IP Success.", MessageIcon::kInformation}));
  EXPECT_EQ(document[0].ipAddr, MakeIpv4(10, 0, 0, 77));
  EXPECT_EQ(list.cells[0][kColIpAddress], "10.0.0.77");
}

TEST_F(CommandsTest, ModifyIpStopsSilentlyOnCancelNoOrAnUnchangedCopy) {
  document.append(Switch("ORV-D8", MakeIpv4(10, 0, 0, 5), 1));
  Populate({0}, 0);
  int applied = 0;
  services.readNetworkSettings = [](DeviceRecord&, ConfigBlock&) { return 0; };
  services.applyNetworkSettings = [&](const DeviceRecord&, const DeviceRecord&, ConfigBlock&) {
    ++applied;
    return 0;
  };
  View().OnCommand(kCmdModifyIp);  // Cancel
  op.edit = [](DeviceRecord&) {};  // OK without a change
  View().OnCommand(kCmdModifyIp);
  EXPECT_TRUE(op.messages.empty());
  op.edit = [](DeviceRecord& record) { record.gateway = MakeIpv4(10, 0, 0, 1); };
  op.answer = PromptAnswer::kNo;
  View().OnCommand(kCmdModifyIp);
  EXPECT_EQ(op.messages.size(), 1u);  // the warning only
  EXPECT_EQ(applied, 0);
  EXPECT_EQ(document[0].gateway, 0u);
  EXPECT_EQ(op.netconf.size(), 3u);
}

TEST_F(BracketCommandsTest, ModifyIpFailuresKeepTheRecordAndTheBracketIsAlwaysRemoved) {
  document.append(Switch("ORV-D8", MakeIpv4(172, 16, 0, 5), 1));
  Populate({0}, 0);
  services.readNetworkSettings = [](DeviceRecord&, ConfigBlock&) { return -1; };
  View().OnCommand(kCmdModifyIp);
  EXPECT_TRUE(op.netconf.empty());
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].first, "Your IP address is not accessable for this Meshvault Server.");
  EXPECT_EQ(op.messages[0].second, MessageIcon::kInformation);
  EXPECT_TRUE(helper.installed.empty());

  services.readNetworkSettings = [](DeviceRecord&, ConfigBlock&) { return 0; };
  services.applyNetworkSettings = [](const DeviceRecord&, const DeviceRecord&, ConfigBlock&) {
    return -1;
  };
  view.reset();
  op.messages.clear();
  op.edit = [](DeviceRecord& record) { record.ipAddr = MakeIpv4(172, 16, 0, 6); };
  View().OnCommand(kCmdModifyIp);
  ASSERT_EQ(op.messages.size(), 2u);
  EXPECT_EQ(op.messages[1].first, "Your IP address is not accessable for this Meshvault Server.");
  EXPECT_EQ(document[0].ipAddr, MakeIpv4(172, 16, 0, 5));
  EXPECT_TRUE(helper.installed.empty());
  EXPECT_EQ(std::count(helper.log.begin(), helper.log.end(),
                       "add 172.16.0.5 if 10.9.0.1 00:60:E9:00:00:01"),
            2);
  view.reset();  // before the bracket goes
}

TEST_F(CommandsTest, ImportRunsTheDialogOverTheSelectedRows) {
  DeviceRecord kavex = Switch("Kavex V100", MakeIpv4(127, 0, 0, 9), 1);
  kavex.modelId = 0x0180;
  document.append(kavex);
  document.append(Switch("ORV-D8-G1", MakeIpv4(127, 0, 0, 10), 2));
  document.append(Switch("ORV-A8", MakeIpv4(127, 0, 0, 11), 3));
  document.append(Switch("ORV-D8-G2", MakeIpv4(127, 0, 0, 12), 4));
  Populate({0, 2, 3}, 3);

  View().OnCommand(kCmdImportConfiguration);  // file dialog cancelled
  EXPECT_TRUE(host.layout.title.empty());
  EXPECT_EQ(op.openFilter, "ini files (*.ini)|*.ini|All files (*.*)|*.*||");

  // The file changes the address of a D8 switch: the review dialog opens
  // with the file's address and is cancelled.
  op.openPath = WriteFile("import_review.ini",
                          "[Meshvault Server Configuration File]\r\nModelName ORV-D8\r\n"
                          "IPAddress 127.0.0.99\r\n");
  View().OnCommand(kCmdImportConfiguration);
  EXPECT_EQ(host.layout.title, "Import Configuration");
  EXPECT_EQ(host.layout.buttonText, "OK");
  ASSERT_EQ(host.layout.columns.size(), 2u);
  EXPECT_EQ(host.layout.columns[1].title, "Progress");
  EXPECT_EQ(host.layout.columns[1].width, 250);
  EXPECT_EQ(op.logins, 1);
  ASSERT_EQ(op.netconf.size(), 1u);  // only the D8 switch
  EXPECT_EQ(op.netconf[0].purpose, NetconfPurpose::kImportReview);
  EXPECT_EQ(op.netconf[0].mask, kChangeIpAddr);
  EXPECT_EQ(op.netconf[0].record.ipAddr, MakeIpv4(127, 0, 0, 99));
  EXPECT_EQ(host.rows.rows,
            (std::vector<std::vector<std::string>>{{"00:60:E9:00:00:01", "Import Canceled"},
                                                   {"00:60:E9:00:00:03", "Model type mismatch"},
                                                   {"00:60:E9:00:00:04", "Import Canceled"}}));
  EXPECT_EQ(host.controls.buttonEnabled, (std::vector<bool>{false, true}));
  EXPECT_FALSE(host.controls.redrawn.empty());
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].first, "Model type mismatch !");
  EXPECT_EQ(document[3].ipAddr, MakeIpv4(127, 0, 0, 12));  // the list is not changed
}

TEST_F(CommandsTest, ImportWithAWrongHeaderStopsTheRunAndKeepsOkDisabled) {
  document.append(Switch("ORV-D8", MakeIpv4(127, 0, 0, 10), 1));
  document.append(Switch("ORV-D8", MakeIpv4(127, 0, 0, 11), 2));
  Populate({0, 1}, 0);
  op.openPath = WriteFile("import_bad.ini", "\xEF\xBB\xBF[Meshvault Server Configuration File]\n");
  View().OnCommand(kCmdImportConfiguration);
  EXPECT_EQ(host.rows.rows,
            (std::vector<std::vector<std::string>>{{"00:60:E9:00:00:01", "Importing..."},
                                                   {"00:60:E9:00:00:02", "Wait.."}}));
  EXPECT_EQ(host.controls.buttonEnabled, std::vector<bool>{false});
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].first, "File format error.");
}

TEST_F(BracketCommandsTest, DestroyingTheViewRemovesEveryListedDevicesArpEntryAndRoute) {
  document.append(Switch("ORV-D8", MakeIpv4(172, 16, 0, 5), 1));
  document.append(Switch("ORV-A8", MakeIpv4(192, 168, 7, 9), 2));
  document.append(Switch("ORV-R8", MakeIpv4(10, 9, 0, 44), 3));  // nothing installed for it
  View();
  EXPECT_TRUE(helper.log.empty());
  view.reset();
  // The helper removes what it installed and puts back what that replaced;
  // for an address it installed nothing for, the request changes nothing.
  EXPECT_EQ(helper.log, (std::vector<std::string>{"remove 172.16.0.5", "remove 192.168.7.9",
                                                  "remove 10.9.0.44"}));
}

TEST_F(BracketCommandsTest, RefreshSearchRemovesWhatWasInstalledForTheRecordsItDrops) {
  // A refresh after Set Default or Upgrade empties the list: what is left
  // installed for the old records goes before the new search runs.
  services.searchWorker = [](SearchContext&) {};
  services.timing.searchCountdownMs = 400;
  document.append(Switch("ORV-D8", MakeIpv4(172, 16, 0, 5), 1));
  document.append(Switch("ORV-A8", MakeIpv4(192, 168, 7, 9), 2));
  Populate({0}, 0);
  View().OnCommand(kCmdBroadcastSearch);
  EXPECT_EQ(host.layout.title, "Broadcast Search");
  EXPECT_TRUE(document.empty());
  EXPECT_EQ(helper.log, (std::vector<std::string>{"remove 172.16.0.5", "remove 192.168.7.9"}));
  view.reset();  // nothing listed any more: nothing more to remove
  EXPECT_EQ(helper.log.size(), 2u);
}

}  // namespace
}  // namespace vantrell
