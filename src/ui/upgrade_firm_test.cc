#include "ui/upgrade_firm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "net/http_test_server.h"
#include "support/scripted_device.h"

namespace vantrell {
namespace {

using namespace std::chrono_literals;

struct Rows : RowTable {
  void DeleteAllRows() override { text.clear(); }
  void InsertRow(int, std::string_view first) override {
    mac.emplace_back(first);
    text.emplace_back();
  }
  void SetCell(int row, int column, std::string_view value) override {
    if (column == 1) text.at(static_cast<std::size_t>(row)) = value;
  }
  std::vector<std::string> mac;
  std::vector<std::string> text;
};

/// A gate a fake worker waits at until the test opens it (bounded).
class Gate {
 public:
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, 5s, [&] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

/// Waits (bounded) until `done` holds.
template <typename Predicate>
bool Eventually(Predicate done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(5ms);
  }
  return done();
}

DeviceRecord Device(std::uint8_t macLast, Ipv4 ip, bool video = false) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = video ? 0x0180 : 0x6018;
  SetFieldText(record.modelName, video ? "Kavex VS-2000" : "ORV-D8-F2");
  record.mac = {0x00, 0x40, 0x8C, 0x00, 0x00, macLast};
  record.ipAddr = ip;
  return record;
}

std::shared_ptr<UpgradeJob> Row(std::uint8_t macLast, Ipv4 ip, bool video = false) {
  auto row = std::make_shared<UpgradeJob>(Device(macLast, ip, video));
  row->transferOpcode = video ? kVideoServerTransferOpcode : kSwitchTransferOpcode;
  return row;
}

struct Harness {
  explicit Harness(std::vector<std::shared_ptr<UpgradeJob>> jobs, CUpgradeFirm::Workers workers)
      : dialog(std::move(jobs), std::move(workers),
               {rows, [this](std::string_view text) { buttons.emplace_back(text); }}) {
    dialog.Open();
  }
  void Tick() {
    dialog.OnTimer1();
    dialog.OnTimer2();
  }
  Rows rows;
  std::vector<std::string> buttons;
  CUpgradeFirm dialog;
};

TEST(SavingProgressStep, DependsOnTheImageSize) {
  EXPECT_EQ(SavingProgressStep(1048576), 39);  // 10000 / (102 + 150)
  EXPECT_EQ(SavingProgressStep(0), 35);
  EXPECT_EQ(SavingProgressStep(10239), 66);    // 10000 / 150
  EXPECT_EQ(SavingProgressStep(4194304), 17);  // 10000 / (409 + 150)
  // From about 97 MB on the step is 0: the saving text stays at 0%.
  EXPECT_EQ(SavingProgressStep(0xFFFFFFFFu), 0);
}

TEST(CUpgradeFirm, SavingProgressGrows39HundredthsPerTickUpTo99Percent) {
  Gate sent;
  Gate stored;
  auto row = Row(1, MakeIpv4(10, 0, 0, 1));
  Harness h({row}, {[&](UpgradeJob& job) {
                      sent.Wait();
                      job.fileSize = 1048576;
                      job.progress = 57;
                      job.progress = 0;
                      job.state = kUpgradeSaving;
                      stored.Wait();
                      return static_cast<int>(kUpgradeDone);
                    },
                    nullptr});
  EXPECT_EQ(h.rows.mac.at(0), "00:40:8C:00:00:01");
  EXPECT_EQ(h.rows.text.at(0), "Wait..");
  EXPECT_TRUE(h.dialog.timer1Running());
  EXPECT_FALSE(h.dialog.timer2Running());
  h.Tick();
  EXPECT_EQ(h.rows.text[0], "Transmit - 0%");
  sent.Open();
  ASSERT_TRUE(Eventually([&] { return row->state == kUpgradeSaving; }));
  h.Tick();
  EXPECT_EQ(row->progress.load(), 39);
  EXPECT_EQ(h.rows.text[0], "Save Firmware - 0%");
  h.Tick();
  h.Tick();
  EXPECT_EQ(row->progress.load(), 117);
  EXPECT_EQ(h.rows.text[0], "Save Firmware - 1%");
  for (int i = 0; i < 251; ++i) h.Tick();
  EXPECT_EQ(row->progress.load(), 9900);  // 254 ticks: capped
  EXPECT_EQ(h.rows.text[0], "Save Firmware - 99%");
  h.Tick();
  EXPECT_EQ(row->progress.load(), 9900);
  EXPECT_TRUE(h.buttons.empty());
  stored.Open();
  ASSERT_TRUE(Eventually([&] { return row->state == kUpgradeDone; }));
  h.Tick();
  EXPECT_EQ(h.rows.text[0], "Done");
  EXPECT_FALSE(h.dialog.timer1Running());
  EXPECT_EQ(h.buttons, std::vector<std::string>{"Close"});
}

TEST(CUpgradeFirm, TransmitTextsAndFinalTextsOfBothKinds) {
  Gate go;
  Gate release;
  auto sw = Row(1, MakeIpv4(10, 0, 0, 1));
  auto video = Row(2, MakeIpv4(10, 0, 0, 2), true);
  Harness h({sw, video}, {[&](UpgradeJob& job) {
                            go.Wait();
                            job.progress = 42;
                            release.Wait();
                            job.result = kUpgradeDowngradeRefused;
                            return static_cast<int>(kUpgradeFailed);
                          },
                          [&](UpgradeJob& job) {
                            go.Wait();
                            job.progress = 199;  // a 4040-byte answer
                            release.Wait();
                            job.result = kUpgradeUnauthorized;
                            return static_cast<int>(kUpgradeFailed);
                          }});
  EXPECT_TRUE(h.dialog.timer1Running());
  EXPECT_TRUE(h.dialog.timer2Running());
  h.Tick();
  go.Open();
  ASSERT_TRUE(Eventually([&] { return sw->progress == 42 && video->progress == 199; }));
  h.Tick();
  EXPECT_EQ(h.rows.text[0], "Transmit - 42%");
  EXPECT_EQ(h.rows.text[1], "Transmit - 100%");
  EXPECT_EQ(video->progress.load(), 100);  // the capped value is stored back
  release.Open();
  ASSERT_TRUE(
      Eventually([&] { return sw->state == kUpgradeFailed && video->state == kUpgradeFailed; }));
  h.Tick();
  EXPECT_EQ(h.rows.text[0], "Not admit downgrade firmware v1.0");
  EXPECT_EQ(h.rows.text[1], "Unauthorized Username & Password");
  EXPECT_EQ(h.buttons, std::vector<std::string>{"Close"});
}

TEST(CUpgradeFirm, SharedAddressStartsTheSecondWhileTheFirstSaves) {
  Gate sent;
  Gate stored;
  std::mutex logMutex;
  std::vector<std::string> log;
  auto note = [&](std::string text) {
    std::lock_guard lock(logMutex);
    log.push_back(std::move(text));
  };
  const Ipv4 shared = MakeIpv4(10, 0, 0, 9);
  auto first = Row(1, shared);
  auto second = Row(2, shared);
  auto other = Row(3, MakeIpv4(10, 0, 0, 3));
  Harness h({first, second, other}, {[&](UpgradeJob& job) {
                                       note("start " + std::to_string(job.record.mac[5]));
                                       if (job.record.mac[5] == 1) {
                                         sent.Wait();
                                         job.state = kUpgradeSaving;
                                         stored.Wait();
                                       }
                                       return static_cast<int>(kUpgradeDone);
                                     },
                                     nullptr});
  h.Tick();
  // The first and the device at another address run at once; the second waits.
  ASSERT_TRUE(Eventually([&] { return other->state == kUpgradeDone; }));
  EXPECT_EQ(first->state.load(), kUpgradeTransmitting);
  EXPECT_EQ(second->state.load(), kUpgradeWaiting);
  h.Tick();
  EXPECT_EQ(second->state.load(), kUpgradeWaiting);
  EXPECT_EQ(h.rows.text[1], "Wait..");
  sent.Open();
  ASSERT_TRUE(Eventually([&] { return first->state == kUpgradeSaving; }));
  h.Tick();
  ASSERT_TRUE(Eventually([&] { return second->state == kUpgradeDone; }));
  EXPECT_EQ(first->state.load(), kUpgradeSaving);
  h.Tick();
  EXPECT_EQ(h.rows.text[0], "Save Firmware - 0%");
  EXPECT_EQ(h.rows.text[1], "Done");
  EXPECT_TRUE(h.buttons.empty());
  stored.Open();
  ASSERT_TRUE(Eventually([&] { return first->state == kUpgradeDone; }));
  h.Tick();
  EXPECT_EQ(h.buttons, std::vector<std::string>{"Close"});
  std::lock_guard lock(logMutex);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log.back(), "start 2");
}

TEST(CUpgradeFirm, MixedSelectionShowsCloseOnlyAfterTheLastRowOfEitherKind) {
  Gate videoDone;
  auto sw = Row(1, MakeIpv4(10, 0, 0, 1));
  auto video = Row(2, MakeIpv4(10, 0, 0, 2), true);
  Harness h({sw, video}, {[](UpgradeJob&) { return static_cast<int>(kUpgradeDone); },
                          [&](UpgradeJob&) {
                            videoDone.Wait();
                            return static_cast<int>(kUpgradeDone);
                          }});
  h.Tick();
  ASSERT_TRUE(Eventually([&] { return sw->state == kUpgradeDone; }));
  h.Tick();
  EXPECT_FALSE(h.dialog.timer1Running());
  EXPECT_TRUE(h.dialog.timer2Running());
  EXPECT_EQ(h.rows.text[0], "Done");
  EXPECT_EQ(h.rows.text[1], "Transmit - 0%");
  EXPECT_TRUE(h.buttons.empty());
  EXPECT_FALSE(h.dialog.closed());
  videoDone.Open();
  ASSERT_TRUE(Eventually([&] { return video->state == kUpgradeDone; }));
  h.Tick();
  EXPECT_EQ(h.rows.text[1], "Transmit Completed, Wait for Rebooting...");
  EXPECT_FALSE(h.dialog.timer2Running());
  EXPECT_EQ(h.buttons, std::vector<std::string>{"Close"});
  h.Tick();
  EXPECT_EQ(h.buttons.size(), 1u);
}

TEST(CUpgradeFirm, OnlyVideoServersRunOnlyTheSecondTimer) {
  // A video server, and a row with the switch opcode under a Kavex name:
  // the name decides.
  auto kavexNamedSwitchRow = Row(1, MakeIpv4(10, 0, 0, 1));
  SetFieldText(kavexNamedSwitchRow->record.modelName, "Kavex VS-100");
  for (const auto& row : {Row(2, MakeIpv4(10, 0, 0, 2), true), kavexNamedSwitchRow}) {
    Harness h({row}, {nullptr, [](UpgradeJob&) { return static_cast<int>(kUpgradeDone); }});
    EXPECT_FALSE(h.dialog.timer1Running());
    EXPECT_TRUE(h.dialog.timer2Running());
    h.Tick();
    ASSERT_TRUE(Eventually([&] { return row->state == kUpgradeDone; }));
    h.Tick();
    EXPECT_EQ(h.rows.text[0], "Transmit Completed, Wait for Rebooting...");
    EXPECT_EQ(h.buttons, std::vector<std::string>{"Close"});
  }
}

TEST(CUpgradeFirm, TimersSplitTheRowsByTheKavexNameNotByTheModelId) {
  // A video-server model ID under another name, and a switch ID named "Kavex".
  auto namedSwitch = Row(1, MakeIpv4(10, 0, 0, 1), true);
  SetFieldText(namedSwitch->record.modelName, "VS-2000");
  auto namedVideo = Row(2, MakeIpv4(10, 0, 0, 2));
  SetFieldText(namedVideo->record.modelName, "ORV Kavex bridge");
  std::mutex seenMutex;
  std::vector<std::string> seen;
  auto worker = [&](const char* kind) {
    return [&, kind](UpgradeJob& job) {
      std::lock_guard lock(seenMutex);
      seen.push_back(std::string(kind) + " " + std::to_string(job.record.mac[5]));
      job.result = kUpgradeUnauthorized;
      return static_cast<int>(kUpgradeFailed);
    };
  };
  Harness h({namedSwitch, namedVideo}, {worker("switch"), worker("video")});
  EXPECT_TRUE(h.dialog.timer1Running());
  EXPECT_TRUE(h.dialog.timer2Running());
  h.Tick();
  ASSERT_TRUE(Eventually(
      [&] { return namedSwitch->state == kUpgradeFailed && namedVideo->state == kUpgradeFailed; }));
  h.Tick();
  // -16 reads "Fail" among switch texts and has its own video-server text.
  EXPECT_EQ(h.rows.text, (std::vector<std::string>{"Fail", "Unauthorized Username & Password"}));
  std::lock_guard lock(seenMutex);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"switch 1", "video 2"}));
  EXPECT_EQ(h.buttons, std::vector<std::string>{"Close"});
}

/// Rows whose SetCell lets a worker end right after the text was taken.
struct RacingRows : Rows {
  void SetCell(int row, int column, std::string_view value) override {
    Rows::SetCell(row, column, value);
    if (column == 1 && job && value == "Transmit - 0%") job->state = kUpgradeDone;
  }
  std::shared_ptr<UpgradeJob> job;
};

TEST(CUpgradeFirm, WorkerEndingDuringATickStillGetsItsFinalText) {
  Gate release;
  auto row = Row(1, MakeIpv4(10, 0, 0, 1));
  RacingRows rows;
  std::vector<std::string> buttons;
  CUpgradeFirm dialog({row},
                      {[&](UpgradeJob&) {
                         release.Wait();
                         return static_cast<int>(kUpgradeDone);
                       },
                       nullptr},
                      {rows, [&](std::string_view text) { buttons.emplace_back(text); }});
  dialog.Open();
  rows.job = row;
  dialog.OnTimer1();  // shows "Transmit - 0%", then the row ends
  EXPECT_TRUE(dialog.timer1Running());
  EXPECT_TRUE(buttons.empty());
  rows.job.reset();
  dialog.OnTimer1();
  EXPECT_EQ(rows.text[0], "Done");
  EXPECT_FALSE(dialog.timer1Running());
  EXPECT_EQ(buttons, std::vector<std::string>{"Close"});
  release.Open();
}

using test_support::Expect;
using test_support::Pause;
using test_support::ScriptedDevice;
using test_support::Send;

TEST(CUpgradeFirm, CancelClosesTheConnectionOfASavingSwitch) {
  testing::ScratchFolder folder;
  const std::string path = folder.Write("fw.rom", std::string(4000, 'x'));
  ScriptedDevice device({Expect{1}, Send{{0x14, 0x04, 1, 2, 3, 4}}, Expect{33}, Send{{0x00, 0x01}},
                         Expect{5}, Send{{0x0D, 0x00}}, Expect{4000}, Pause{1500}});
  const Timing timing = device.timing();
  auto row = Row(1, MakeIpv4(127, 0, 0, 1));
  row->filePath = path;
  Harness h({row},
            {[timing](UpgradeJob& job) { return RunSwitchUpgrade(job, nullptr, timing, 60000); },
             nullptr});
  h.Tick();
  ASSERT_TRUE(Eventually([&] { return row->state == kUpgradeSaving; }));
  const auto started = std::chrono::steady_clock::now();
  h.dialog.Cancel();
  EXPECT_LT(std::chrono::steady_clock::now() - started, 150ms);
  EXPECT_EQ(row->state.load(), kUpgradeFailed);
  EXPECT_EQ(row->result.load(), kUpgradeNetworkFailure);
  EXPECT_TRUE(row->httpCancel.load());
}

}  // namespace
}  // namespace vantrell
