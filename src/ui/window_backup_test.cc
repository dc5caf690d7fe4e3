#include "ui/window_backup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "core/csv.h"
#include "core/ipv4.h"
#include "core/text_forms.h"
#include "support/temp_folder.h"
#include "ui/fleet_backup.h"
#include "ui/multiple_login.h"

namespace vantrell {
namespace {

/// Nothing listens there on the loopback: every device refuses at once.
constexpr std::uint16_t kSilentPort = 9;

DeviceRecord LoopbackDevice(const char* model, std::uint16_t modelId, std::uint8_t last) {
  DeviceRecord record = MakeZeroRecord();
  SetFieldText(record.modelName, model);
  record.modelId = modelId;
  record.ipAddr = MakeIpv4(127, 0, 0, last);
  record.netmask = MakeIpv4(255, 0, 0, 0);
  record.mac = {0x00, 0x60, 0xE9, 0x10, 0x20, last};
  record.webPort = kSilentPort;
  record.firmwareVersion = 0x01020300;
  return record;
}

/// A switch, a video server without credentials, one the window knows the
/// credentials of, a protected switch and an inaccessible video server.
DeviceList Plant() {
  DeviceList document;
  document.append(LoopbackDevice("ORV-D8-G1", 0x6008, 0x21));
  document.append(LoopbackDevice("Kavex V100", 0x0180, 0x22));
  DeviceRecord known = LoopbackDevice("Kavex V100", 0x0180, 0x23);
  SetFieldText(known.kavexUser, "operator");
  document.append(known);
  DeviceRecord locked = LoopbackDevice("ORV-D8-G1", 0x6008, 0x24);
  locked.statusFlags = kStatusProtected;
  document.append(locked);
  DeviceRecord far = LoopbackDevice("Kavex V100", 0x0180, 0x25);
  far.statusFlags = kStatusInaccessible;
  document.append(far);
  return document;
}

struct Prompts : Prompter {
  PromptAnswer Ask(std::string_view text, MessageIcon, PromptButtons) override {
    log.push_back("box:" + std::string(text));
    return PromptAnswer::kOk;
  }
  std::optional<std::filesystem::path> SaveFileName(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> OpenFileName(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::uint32_t> SpecifyIp() override { return std::nullopt; }
  std::optional<std::string> InputPassword() override { return std::nullopt; }
  std::optional<PasswordChange> ChangePassword() override { return std::nullopt; }
  std::optional<LoginEntry> LoginIdPassword() override { return std::nullopt; }
  bool MultipleLogin(CCMultipleLogin& dialog) override {
    std::string macs;
    for (const auto& entry : dialog.entries()) macs += " " + FormatMac(entry.record.mac);
    log.push_back("login:" + macs);
    if (!loginOk) return false;
    dialog.OnOk();
    return true;
  }
  std::vector<std::string> log;
  bool loginOk = true;
};

/// Runs the dialog as the window's timer does, bounded; presses the button
/// at once when `stopAtOnce`, else once the timer has stopped.
struct Host : ModalDialogHost {
  void RunModal(DialogDriver& driver) override {
    struct : RowTable {
      void DeleteAllRows() override {}
      void InsertRow(int, std::string_view mac) override { rows.push_back({std::string(mac), ""}); }
      void SetCell(int row, int, std::string_view text) override {
        rows.at(static_cast<std::size_t>(row)).second = text;
      }
      std::vector<std::pair<std::string, std::string>> rows;
    } table;
    struct : DialogControls {
      void SetStatusText(std::string_view) override {}
      void SetButtonText(std::string_view text) override { button = text; }
      std::string button;
    } controls;
    title = driver.layout().title;
    controls.button = driver.layout().buttonText;
    driver.Open(table, controls);
    for (int i = 0; i < 2000 && !stopAtOnce && driver.OnTick() == TickResult::kContinue; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    driver.OnButton();
    rows = table.rows;
    button = controls.button;
  }
  bool stopAtOnce = false;
  std::string title, button;
  std::vector<std::pair<std::string, std::string>> rows;
};

Timing ShortTiming() {
  Timing timing;
  timing.devicePort = kSilentPort;
  timing.connectMs = 200;
  timing.replyMs = 200;
  timing.httpClientConnectMs = 200;
  timing.httpDownloadIdleMs = 200;
  return timing;
}

std::vector<CsvRecord> ReadInventory(const std::filesystem::path& folder) {
  std::ifstream file(folder / kBackupInventoryName, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::string error;
  auto records = ParseCsv(text, error);
  return records ? *records : std::vector<CsvRecord>{};
}

TEST(WindowBackup, AsksOnceForTheVideoServersWithoutCredentialsThenTheFolder) {
  DeviceList document = Plant();
  EXPECT_EQ(VideoServersWithoutCredentials(document, {0, 1, 2, 3, 4}), std::vector<std::size_t>{1});
  Prompts prompts;
  prompts.loginOk = false;
  Host host;
  int folderAsked = 0;
  WindowBackupPorts ports{prompts, host,
                          [&] {
                            ++folderAsked;
                            return std::optional<std::filesystem::path>();
                          },
                          nullptr, ShortTiming()};
  RunWindowBackup(document, {0, 1, 2, 3, 4}, ports);
  EXPECT_EQ(prompts.log, std::vector<std::string>{"login: 00:60:E9:10:20:22"});
  EXPECT_EQ(folderAsked, 0);  // Cancel in the login ends the command

  prompts.loginOk = true;
  prompts.log.clear();
  RunWindowBackup(document, {0, 1}, ports);
  EXPECT_EQ(prompts.log, std::vector<std::string>{"login: 00:60:E9:10:20:22"});
  EXPECT_EQ(FieldText(document[1].kavexUser), "admin");
  EXPECT_EQ(folderAsked, 1);
  EXPECT_TRUE(host.title.empty());  // no folder, no dialog

  // Now the window knows them: no login dialog any more.
  prompts.log.clear();
  RunWindowBackup(document, {1, 2}, ports);
  EXPECT_TRUE(prompts.log.empty());
  EXPECT_EQ(folderAsked, 2);
}

TEST(WindowBackup, OneRowPerSelectedDeviceEndingWithCloseAndTheInventory) {
  test_support::TempFolder folder("window-backup");
  DeviceList document = Plant();
  SetFieldText(document[1].kavexUser, "admin");
  Prompts prompts;
  Host host;
  WindowBackupPorts ports{prompts, host, [&] { return std::optional(folder.path()); }, nullptr,
                          ShortTiming()};
  RunWindowBackup(document, {0, 1, 3, 4}, ports);
  EXPECT_TRUE(prompts.log.empty());
  EXPECT_EQ(host.title, "Backup Configurations");
  EXPECT_EQ(host.button, "Close");
  ASSERT_EQ(host.rows.size(), 4u);
  EXPECT_EQ(host.rows[0].first, "00:60:E9:10:20:21");
  EXPECT_EQ(host.rows[3].first, "00:60:E9:10:20:25");
  EXPECT_EQ(host.rows[0].second, "Your IP address is not accessable for this Meshvault Server.");
  EXPECT_EQ(host.rows[1].second, "Your IP address is not accessable for this Kavex device.");
  EXPECT_EQ(host.rows[2].second, "Password protected");
  EXPECT_EQ(host.rows[3].second, "Not accessible");

  const std::vector<CsvRecord> inventory = ReadInventory(folder.path());
  ASSERT_EQ(inventory.size(), 5u);
  EXPECT_EQ(inventory[0].fields.back(), "result");
  for (std::size_t i = 0; i < host.rows.size(); ++i) {
    EXPECT_EQ(inventory[i + 1].fields[2], host.rows[i].first);
    EXPECT_EQ(inventory[i + 1].fields.back(), host.rows[i].second);
  }
  // Devices that did not answer leave no file behind.
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "00-60-E9-10-20-21.cfg"));
}

TEST(WindowBackup, AnInventoryThatCannotBeWrittenGivesAStopBox) {
  test_support::TempFolder folder("window-backup-gone");
  const std::filesystem::path gone = folder.path() / "removed";
  DeviceList document = Plant();
  Prompts prompts;
  Host host;
  WindowBackupPorts ports{prompts, host, [&] { return std::optional(gone); }, nullptr,
                          ShortTiming()};
  RunWindowBackup(document, {0}, ports);
  EXPECT_EQ(host.button, "Close");
  EXPECT_EQ(prompts.log, std::vector<std::string>{"box:" + (gone / "inventory.csv").string() +
                                                  ": No such file or directory"});
}

TEST(WindowBackup, StopBeforeTheEndWritesNoInventory) {
  test_support::TempFolder folder("window-backup-stop");
  DeviceList document = Plant();
  Prompts prompts;
  Host host;
  host.stopAtOnce = true;
  WindowBackupPorts ports{prompts, host, [&] { return std::optional(folder.path()); }, nullptr,
                          ShortTiming()};
  RunWindowBackup(document, {0, 3}, ports);
  EXPECT_EQ(host.button, "Stop");
  EXPECT_TRUE(prompts.log.empty());
  EXPECT_FALSE(std::filesystem::exists(folder.path() / kBackupInventoryName));
}

}  // namespace
}  // namespace vantrell
