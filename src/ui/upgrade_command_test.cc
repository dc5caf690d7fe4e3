#include "ui/upgrade_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include "core/ipv4.h"
#include "ui/multiple_login.h"

namespace vantrell {
namespace {

struct Prompts : Prompter {
  PromptAnswer Ask(std::string_view text, MessageIcon icon, PromptButtons buttons) override {
    log.push_back("box:" + std::string(text));
    icons.push_back(icon);
    return buttons == PromptButtons::kYesNo ? answer : PromptAnswer::kOk;
  }
  std::optional<std::filesystem::path> SaveFileName(const FileDialogRequest& request) override {
    log.push_back("save:" + request.filter);
    if (savePaths.empty()) return std::nullopt;
    auto path = savePaths.front();
    savePaths.pop_front();
    return path;
  }
  std::optional<std::filesystem::path> OpenFileName(const FileDialogRequest& request) override {
    log.push_back("open:" + request.filter + ":" + request.defaultExtension);
    return openPath;
  }
  std::optional<std::uint32_t> SpecifyIp() override { return std::nullopt; }
  std::optional<std::string> InputPassword() override { return std::nullopt; }
  std::optional<PasswordChange> ChangePassword() override { return std::nullopt; }
  std::optional<LoginEntry> LoginIdPassword() override {
    log.push_back("login");
    return login;
  }
  bool MultipleLogin(CCMultipleLogin& dialog) override {
    log.push_back("multiple:" + std::to_string(dialog.entries().size()));
    if (!multipleOk) return false;
    dialog.OnOk();
    return true;
  }

  std::vector<std::string> log;
  std::vector<MessageIcon> icons;
  PromptAnswer answer = PromptAnswer::kNo;
  std::deque<std::filesystem::path> savePaths;
  std::optional<std::filesystem::path> openPath;
  std::optional<LoginEntry> login;
  bool multipleOk = true;
};

/// Runs the dialog as the window's timer would, bounded.
struct Host : ModalDialogHost {
  void RunModal(DialogDriver& driver) override {
    struct : RowTable {
      void DeleteAllRows() override {}
      void InsertRow(int, std::string_view) override { texts.emplace_back(); }
      void SetCell(int row, int, std::string_view text) override {
        texts.at(static_cast<std::size_t>(row)) = text;
      }
      std::vector<std::string> texts;
    } rows;
    struct : DialogControls {
      void SetStatusText(std::string_view) override {}
      void SetButtonText(std::string_view text) override { button = text; }
      std::string button;
    } controls;
    title = driver.layout().title;
    driver.Open(rows, controls);
    for (int i = 0; i < 1000 && driver.OnTick() == TickResult::kContinue; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    driver.OnButton();
    texts = rows.texts;
    button = controls.button;
  }
  std::string title;
  std::vector<std::string> texts;
  std::string button;
};

DeviceRecord Device(std::uint16_t modelId, std::uint8_t last) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = modelId;
  SetFieldText(record.modelName, (modelId & 0xFF) == 0x80 ? "Kavex VS-2000" : "ORV-D8-G1");
  record.ipAddr = MakeIpv4(10, 1, 1, last);
  record.mac = {0x00, 0x0E, 0x1A, 0x00, 0x00, last};
  return record;
}

class UpgradeCommandTest : public ::testing::Test {
 protected:
  UpgradeCommandTest() {
    document.append(Device(0x6018, 1));
    document.append(Device(0x0180, 2));
    document.append(Device(0x6018, 3));
    workers.switchWorker = [this](UpgradeJob& job, MessageSink*) {
      std::lock_guard lock(seenMutex);
      seen.push_back(job);
      return static_cast<int>(kUpgradeDone);
    };
    workers.videoServerWorker = [this](UpgradeJob& job) {
      seenVideo.push_back(job.record);
      seenVideoPath = job.filePath;
      return static_cast<int>(kUpgradeDone);
    };
  }
  void Run(std::vector<int> rows) {
    RunUpgradeCommand(document, rows, workers, {prompts, host, nullptr, [this] { ++searches; }});
  }
  struct Seen {
    Seen(const UpgradeJob& job) : opcode(job.transferOpcode), path(job.filePath) {}
    std::uint32_t opcode;
    std::string path;
  };
  DeviceList document;
  Prompts prompts;
  Host host;
  UpgradeWorkers workers;
  std::mutex seenMutex;
  std::vector<Seen> seen;
  std::vector<DeviceRecord> seenVideo;
  std::string seenVideoPath;
  int searches = 0;
};

TEST_F(UpgradeCommandTest, SelectionEndingOnAVideoServerAsksCredentialsThenFileThenRefresh) {
  prompts.openPath = "/fw/image.rom";
  prompts.answer = PromptAnswer::kYes;
  Run({0, 2, 1});
  EXPECT_EQ(prompts.log,
            (std::vector<std::string>{
                "multiple:1", "open:Rom files (*.rom)|*.rom|All files (*.*)|*.*||:rom",
                "box:Do you want to refresh the Video or Meshvault Server information ?"}));
  EXPECT_EQ(host.title, "Upgrade Firmware");
  EXPECT_EQ(host.texts, (std::vector<std::string>{"Done", "Done",
                                                  "Transmit Completed, Wait for Rebooting..."}));
  EXPECT_EQ(host.button, "Close");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].opcode, 0x0Du);
  EXPECT_EQ(seen[0].path, "/fw/image.rom");
  // The video server's row copy was taken after the credentials were stored.
  ASSERT_EQ(seenVideo.size(), 1u);
  EXPECT_EQ(FieldText(seenVideo[0].kavexUser), "admin");
  EXPECT_EQ(FieldText(document[1].kavexUser), "admin");
  EXPECT_EQ(seenVideoPath, "/fw/image.rom");
  EXPECT_EQ(searches, 1);
}

TEST_F(UpgradeCommandTest, SelectionEndingOnASwitchKeepsTheVideoServersOwnCredentials) {
  SetFieldText(document[1].kavexUser, "op");
  SetFieldText(document[1].kavexPassword, "pw");
  prompts.openPath = "/fw/image.rom";
  Run({0, 1, 2});
  EXPECT_EQ(prompts.log,
            (std::vector<std::string>{
                "open:Rom files (*.rom)|*.rom|All files (*.*)|*.*||:rom",
                "box:Do you want to refresh the Video or Meshvault Server information ?"}));
  EXPECT_EQ(host.texts, (std::vector<std::string>{
                            "Done", "Transmit Completed, Wait for Rebooting...", "Done"}));
  ASSERT_EQ(seenVideo.size(), 1u);
  EXPECT_EQ(FieldText(seenVideo[0].kavexUser), "op");
  EXPECT_EQ(FieldText(seenVideo[0].kavexPassword), "pw");
  EXPECT_EQ(FieldText(document[1].kavexUser), "op");
}

TEST_F(UpgradeCommandTest, SwitchesOnlySkipTheCredentialsDialog) {
  prompts.openPath = "/fw/image.rom";
  Run({0, 2});
  ASSERT_GE(prompts.log.size(), 1u);
  EXPECT_EQ(prompts.log[0].rfind("open:", 0), 0u);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(searches, 0);  // "No" to the refresh question
}

TEST_F(UpgradeCommandTest, CancelledCredentialsEndTheCommand) {
  prompts.multipleOk = false;
  prompts.openPath = "/fw/image.rom";
  Run({0, 1});
  EXPECT_EQ(prompts.log, (std::vector<std::string>{"multiple:1"}));
  EXPECT_TRUE(host.title.empty());
}

TEST_F(UpgradeCommandTest, LockedOrInaccessibleDeviceStopsBeforeTheFileDialog) {
  document[2].statusFlags = kStatusProtected;
  prompts.openPath = "/fw/image.rom";
  Run({0, 2});
  EXPECT_EQ(prompts.log,
            (std::vector<std::string>{"box:00:0E:1A:00:00:03 is password protected.\n Please "
                                      "select \"unlock\" function to get the rights."}));
  EXPECT_EQ(prompts.icons.at(0), MessageIcon::kStop);
  document[0].statusFlags = kStatusInaccessible;
  prompts.log.clear();
  Run({0, 2});
  EXPECT_EQ(prompts.log, (std::vector<std::string>{"box:00:0E:1A:00:00:01 is not accessable!"}));
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(host.title.empty());
}

TEST_F(UpgradeCommandTest, CancelledFileDialogRunsNothing) {
  Run({0});
  EXPECT_EQ(prompts.log.size(), 1u);
  EXPECT_TRUE(host.title.empty());
}

// --- parameter export of a video server ------------------------------------

struct ExportCalls {
  std::deque<int> results;
  std::vector<std::pair<std::string, std::string>> calls;  // path, user
  int operator()(const DeviceRecord& record, const std::filesystem::path& path) {
    calls.emplace_back(path.string(), std::string(FieldText(record.kavexUser)));
    const int result = results.front();
    results.pop_front();
    return result;
  }
};

TEST(RunVideoServerExport, OutcomeMessages) {
  for (auto [result, text] : {std::pair{0, "Kavex Export Parameters to file OK."},
                              {-1, "Your IP address is not accessable for this Kavex device."}}) {
    DeviceRecord record = Device(0x0180, 2);
    Prompts prompts;
    ExportCalls calls{{result}, {}};
    RunVideoServerExport(record, "/tmp/a.ini", prompts, std::ref(calls));
    EXPECT_EQ(prompts.log, (std::vector<std::string>{std::string("box:") + text}));
    EXPECT_EQ(prompts.icons, (std::vector<MessageIcon>{MessageIcon::kInformation}));
  }
}

TEST(RunVideoServerExport, RefusedCredentialsLoginAndTheWholeCommandAgain) {
  DeviceRecord record = Device(0x0180, 2);
  Prompts prompts;
  prompts.login = LoginEntry{"op", "pw"};
  prompts.savePaths = {"/tmp/b.ini"};
  ExportCalls calls{{-2, 0}, {}};
  RunVideoServerExport(record, "/tmp/a.ini", prompts, std::ref(calls));
  EXPECT_EQ(prompts.log,
            (std::vector<std::string>{"box:Error Username or Password. ", "login",
                                      "save:ini files (*.ini)|*.ini|All files (*.*)|*.*||",
                                      "box:Kavex Export Parameters to file OK."}));
  EXPECT_EQ(prompts.icons,
            (std::vector<MessageIcon>{MessageIcon::kNone, MessageIcon::kInformation}));
  EXPECT_EQ(calls.calls, (std::vector<std::pair<std::string, std::string>>{{"/tmp/a.ini", ""},
                                                                           {"/tmp/b.ini", "op"}}));
  EXPECT_EQ(FieldText(record.kavexPassword), "pw");
}

TEST(RunVideoServerExport, CancelledLoginOrSaveDialogEndsSilently) {
  {
    DeviceRecord record = Device(0x0180, 2);
    Prompts prompts;
    ExportCalls calls{{-2}, {}};
    RunVideoServerExport(record, "/tmp/a.ini", prompts, std::ref(calls));
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"box:Error Username or Password. ", "login"}));
  }
  {
    DeviceRecord record = Device(0x0180, 2);
    Prompts prompts;
    prompts.login = LoginEntry{"op", "pw"};
    ExportCalls calls{{-2}, {}};
    RunVideoServerExport(record, "/tmp/a.ini", prompts, std::ref(calls));
    EXPECT_EQ(prompts.log.size(), 3u);
    EXPECT_EQ(calls.calls.size(), 1u);
    EXPECT_EQ(FieldText(record.kavexUser), "op");
  }
}

}  // namespace
}  // namespace vantrell
