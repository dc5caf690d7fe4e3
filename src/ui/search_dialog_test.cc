#include "ui/search_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace vantrell {
namespace {

/// Keeps the cells of a report list as texts.
struct RecordingRows : RowTable {
  void DeleteAllRows() override { cells.clear(); }
  void InsertRow(int row, std::string_view firstCell) override {
    cells.insert(cells.begin() + row, std::vector<std::string>(4));
    cells[static_cast<std::size_t>(row)][0] = firstCell;
  }
  void SetCell(int row, int column, std::string_view text) override {
    cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
  }
  std::vector<std::vector<std::string>> cells;
};

DeviceRecord Heard(std::uint8_t macTail) {
  DeviceRecord record = MakeZeroRecord();
  record.mac = {0x00, 0x60, 0xE9, 0x00, 0x00, macTail};
  record.ipAddr = MakeIpv4(192, 168, 10, macTail);
  SetFieldText(record.modelName, "ORV-A8");
  return record;
}

class SearchDialogTest : public ::testing::Test {
 protected:
  SearchDialogTest() {
    document.append(Heard(99));  // left over from an earlier search
  }

  std::unique_ptr<CSearchDlg> Open(Ipv4 filter = kAllOnesIpv4) {
    CSearchDlg::Ports ports{rows,
                            [this](const std::string& text) { status.push_back(text); },
                            nullptr,
                            [this](DeviceRecord& record) {
                              std::lock_guard lock(fakeLock);
                              ++detailsCalls[record.mac[5]];
                              return detailsCalls[record.mac[5]] >= answerOnCall ? 0 : -1;
                            },
                            [this](int ms) {
                              std::lock_guard lock(fakeLock);
                              sleeps.push_back(ms);
                            },
                            [this](const std::string& text) { limitTexts.push_back(text); },
                            {},
                            [this] { return clockMs.load(); }};
    auto dialog = std::make_unique<CSearchDlg>(document, filter, ports, timing);
    dialog->Start([this](SearchContext&) { workerRan = true; });
    for (int i = 0; i < 2000 && !dialog->workerEnded(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return dialog;
  }

  /// What the worker does when it hears a new device.
  static void WorkerHears(CSearchDlg& dialog, const DeviceRecord& record) {
    std::lock_guard lock(dialog.context().searchLock);
    if (dialog.context().found.InsertUnique(record)) dialog.context().countdownMs = 5000;
  }

  /// Waits (bounded) until the queries started so far are done; the fakes
  /// answer at once, so each tick then sees what a synchronous step would.
  static void Settle(CSearchDlg& dialog) {
    for (int i = 0; i < 2000 && dialog.detailsPending() > 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  bool Tick(CSearchDlg& dialog) {
    const bool ended = dialog.OnTimer();
    Settle(dialog);
    return ended;
  }

  /// Ticks until the search ends; returns the number of ticks, at most 100.
  int TicksToEnd(CSearchDlg& dialog) {
    for (int tick = 1; tick <= 100; ++tick) {
      if (Tick(dialog)) return tick;
    }
    return -1;
  }

  DeviceList document;
  RecordingRows rows;
  std::vector<std::string> status;
  std::mutex fakeLock;
  std::map<int, int> detailsCalls;
  std::atomic<int> answerOnCall = 1;
  std::vector<int> sleeps;
  std::vector<std::string> limitTexts;
  std::atomic<std::uint32_t> clockMs{1000};
  Timing timing;
  std::atomic<bool> workerRan{false};
};

TEST_F(SearchDialogTest, EmptySearchEndsAfterTwentyFiveTicks) {
  auto dialog = Open();
  EXPECT_TRUE(document.empty());
  EXPECT_EQ(TicksToEnd(*dialog), 25);
  EXPECT_TRUE(workerRan);
  EXPECT_TRUE(dialog->ended());
  EXPECT_FALSE(dialog->OnTimer());
  ASSERT_EQ(status.size(), 26u);
  EXPECT_EQ(status[0], "Total Count = 0, timeout = 0sec\n");
  EXPECT_EQ(status[1], "Total Count = 0, timeout = 4sec\n");
  EXPECT_EQ(status[5], "Total Count = 0, timeout = 4sec\n");
  EXPECT_EQ(status[6], "Total Count = 0, timeout = 3sec\n");
  EXPECT_EQ(status[25], "Total Count = 0, timeout = 0sec\n");
  EXPECT_TRUE(rows.cells.empty());
}

TEST_F(SearchDialogTest, NewDeviceReArmsTheCountdownKnownOneDoesNot) {
  auto dialog = Open();
  for (int i = 0; i < 20; ++i) Tick(*dialog);
  WorkerHears(*dialog, Heard(1));
  EXPECT_FALSE(Tick(*dialog));
  EXPECT_EQ(status.back(), "Total Count = 1, timeout = 4sec\n");
  for (int i = 0; i < 10; ++i) Tick(*dialog);
  WorkerHears(*dialog, Heard(1));  // heard again: not new
  EXPECT_EQ(TicksToEnd(*dialog), 14);
  ASSERT_EQ(document.size(), 1u);
  EXPECT_EQ(document[0].mac[5], 1);
}

TEST_F(SearchDialogTest, RowsAreCopiedThenDetailedOnTheNextTick) {
  auto dialog = Open();
  answerOnCall = 3;
  WorkerHears(*dialog, Heard(1));
  WorkerHears(*dialog, Heard(2));
  Tick(*dialog);
  ASSERT_EQ(rows.cells.size(), 2u);
  EXPECT_THAT(rows.cells[1],
              ::testing::ElementsAre("ORV-A8", "192.168.10.2", "00:60:E9:00:00:02", "Get info."));
  EXPECT_EQ(document[1].detailsFetched, 0);
  Tick(*dialog);
  EXPECT_EQ(rows.cells[0][3], "Finish");
  EXPECT_EQ(rows.cells[1][3], "Finish");
  EXPECT_EQ(detailsCalls[1], 3);
  EXPECT_EQ(sleeps, (std::vector<int>{50, 50, 50, 50}));
  EXPECT_EQ(document[0].detailsFetched, 1);
  Tick(*dialog);
  EXPECT_EQ(detailsCalls[1], 3);  // queried once per search only
}

TEST_F(SearchDialogTest, SilentDeviceTimesOutAfterTenRuns) {
  auto dialog = Open();
  answerOnCall = 1000;
  WorkerHears(*dialog, Heard(7));
  Tick(*dialog);
  Tick(*dialog);
  EXPECT_EQ(detailsCalls[7], 10);
  EXPECT_EQ(sleeps.size(), 10u);
  EXPECT_EQ(rows.cells[0][3], "Timeout");
  EXPECT_EQ(document[0].detailsFetched, 1);
}

TEST_F(SearchDialogTest, DeviceCopiedInTheEndingTickKeepsGetInfo) {
  auto dialog = Open();
  for (int i = 0; i < 24; ++i) Tick(*dialog);
  {
    std::lock_guard lock(dialog->context().searchLock);
    dialog->context().found.InsertUnique(Heard(3));  // heard without re-arming in time
  }
  EXPECT_TRUE(Tick(*dialog));
  ASSERT_EQ(rows.cells.size(), 1u);
  EXPECT_EQ(rows.cells[0][3], "Get info.");
  EXPECT_EQ(detailsCalls[3], 0);
}

TEST_F(SearchDialogTest, CancelKeepsOnlyWhatTheLastTickCopied) {
  auto dialog = Open();
  WorkerHears(*dialog, Heard(1));
  Tick(*dialog);
  WorkerHears(*dialog, Heard(2));
  dialog->Cancel();
  EXPECT_TRUE(dialog->ended());
  EXPECT_TRUE(dialog->context().stopRequested);
  ASSERT_EQ(document.size(), 1u);
  EXPECT_EQ(document[0].mac[5], 1);
}

/// A details query that blocks until released, counting how many run at
/// once in all and per address.
class GatedDetails {
 public:
  int operator()(DeviceRecord& record) {
    std::unique_lock lock(mutex_);
    ++running_;
    ++perAddress_[record.ipAddr];
    maxRunning_ = std::max(maxRunning_, running_);
    maxPerAddress_ = std::max(maxPerAddress_, perAddress_[record.ipAddr]);
    ++calls_;
    changed_.notify_all();
    changed_.wait_for(lock, std::chrono::seconds(5), [&] { return open_; });
    --running_;
    --perAddress_[record.ipAddr];
    return answer_;
  }
  void Open(int answer) {
    std::lock_guard lock(mutex_);
    answer_ = answer;
    open_ = true;
    changed_.notify_all();
  }
  /// Waits (bounded) until `count` queries have started.
  bool AwaitCalls(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return calls_ >= count; });
  }
  int maxRunning() {
    std::lock_guard lock(mutex_);
    return maxRunning_;
  }
  int maxPerAddress() {
    std::lock_guard lock(mutex_);
    return maxPerAddress_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<Ipv4, int> perAddress_;
  int running_ = 0, maxRunning_ = 0, maxPerAddress_ = 0, calls_ = 0, answer_ = -1;
  bool open_ = false;
};

class ConcurrentSearchTest : public SearchDialogTest {
 protected:
  std::unique_ptr<CSearchDlg> OpenGated() {
    CSearchDlg::Ports ports{rows,
                            [this](const std::string& text) { status.push_back(text); },
                            nullptr,
                            [this](DeviceRecord& record) { return gate(record); },
                            nullptr,
                            [this](const std::string& text) { limitTexts.push_back(text); },
                            [this](const std::function<bool()>& finished) {
                              ++waits;
                              gate.Open(0);
                              for (int i = 0; i < 5000 && !finished(); ++i) {
                                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                              }
                            },
                            [this] { return clockMs.load(); }};
    auto dialog = std::make_unique<CSearchDlg>(document, kAllOnesIpv4, ports, timing);
    dialog->Start([](SearchContext&) {});
    for (int i = 0; i < 2000 && !dialog->workerEnded(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return dialog;
  }
  static DeviceRecord At(std::uint8_t macTail, Ipv4 address) {
    DeviceRecord record = Heard(macTail);
    record.ipAddr = address;
    return record;
  }
  GatedDetails gate;
  int waits = 0;
};

TEST_F(ConcurrentSearchTest, SilentDevicesNeitherHoldTheTimerNorStretchTheCountdown) {
  auto dialog = OpenGated();
  for (std::uint8_t tail = 1; tail <= 3; ++tail) WorkerHears(*dialog, Heard(tail));
  dialog->OnTimer();
  ASSERT_TRUE(gate.AwaitCalls(3));
  // 24 more ticks, each at once, while three queries hang: the countdown
  // runs its 5 s by ticks, rows keep "Get info.", and the end waits for the
  // queries under way.
  for (int i = 0; i < 24; ++i) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(dialog->OnTimer());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
  }
  EXPECT_EQ(status.back(), "Total Count = 3, timeout = 0sec\n");
  EXPECT_TRUE(dialog->context().stopRequested);
  EXPECT_EQ(rows.cells[2][3], "Get info.");
  EXPECT_FALSE(dialog->OnTimer());
  gate.Open(0);
  Settle(*dialog);
  EXPECT_TRUE(dialog->OnTimer());
  EXPECT_EQ(gate.maxRunning(), 3);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(rows.cells[row][3], "Finish");
  EXPECT_EQ(document[2].detailsFetched, 1);
}

TEST_F(ConcurrentSearchTest, BoundedConcurrencyAndOneQueryPerAddress) {
  timing.detailsConcurrency = 3;
  auto dialog = OpenGated();
  const Ipv4 shared = MakeIpv4(192, 168, 10, 50);
  WorkerHears(*dialog, At(1, shared));
  WorkerHears(*dialog, At(2, shared));
  for (std::uint8_t tail = 3; tail <= 8; ++tail) WorkerHears(*dialog, Heard(tail));
  dialog->OnTimer();
  ASSERT_TRUE(gate.AwaitCalls(3));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(dialog->detailsPending(), 8u);
  gate.Open(0);
  Settle(*dialog);
  dialog->OnTimer();
  EXPECT_EQ(gate.maxRunning(), 3);
  EXPECT_EQ(gate.maxPerAddress(), 1);
  for (int row = 0; row < 8; ++row) EXPECT_EQ(rows.cells[row][3], "Finish") << row;
  EXPECT_EQ(document[1].ipAddr, shared);
}

TEST_F(ConcurrentSearchTest, LongestSearchEndsWithPendingDetailsAsTimeout) {
  timing.detailsConcurrency = 1;
  auto dialog = OpenGated();
  WorkerHears(*dialog, Heard(1));
  WorkerHears(*dialog, Heard(2));
  dialog->OnTimer();
  ASSERT_TRUE(gate.AwaitCalls(1));
  // New devices keep re-arming the countdown; the longest time still ends
  // the search (its stop is asked for 750 ms before the 120 s).
  for (std::uint8_t tail = 3; tail <= 7; ++tail) {
    clockMs += 20000;
    WorkerHears(*dialog, Heard(tail));
    EXPECT_FALSE(dialog->OnTimer());
  }
  EXPECT_EQ(document.size(), 7u);
  clockMs = 1000 + 120000 - 750;
  WorkerHears(*dialog, Heard(9));
  EXPECT_FALSE(dialog->OnTimer());  // device 1's query still under way
  EXPECT_TRUE(dialog->context().stopRequested);
  EXPECT_EQ(document.size(), 7u);  // nothing copied after the limit
  EXPECT_EQ(rows.cells[1][3], "Timeout");
  EXPECT_EQ(rows.cells[6][3], "Timeout");
  EXPECT_EQ(document[6].detailsFetched, 1);
  EXPECT_EQ(rows.cells[0][3], "Get info.");
  gate.Open(-1);
  Settle(*dialog);
  EXPECT_TRUE(dialog->OnTimer());
  EXPECT_EQ(rows.cells[0][3], "Timeout");
}

TEST_F(ConcurrentSearchTest, FullListIsReportedOnce) {
  auto dialog = OpenGated();
  gate.Open(0);
  {
    std::lock_guard lock(dialog->context().searchLock);
    dialog->context().limitReached = true;
  }
  dialog->OnTimer();
  dialog->OnTimer();
  EXPECT_EQ(limitTexts, std::vector<std::string>{"Search limit reached: 4096 devices."});
}

TEST_F(ConcurrentSearchTest, StopWaitsThroughTheWaitPortAndKeepsOnlyAnswers) {
  auto dialog = OpenGated();
  WorkerHears(*dialog, Heard(1));
  dialog->OnTimer();
  ASSERT_TRUE(gate.AwaitCalls(1));
  dialog->Cancel();  // the wait port opens the gate, as a served message box would
  EXPECT_EQ(waits, 1);
  EXPECT_TRUE(dialog->ended());
  EXPECT_EQ(rows.cells[0][3], "Finish");
  EXPECT_EQ(document[0].detailsFetched, 1);
}

TEST(SearchDialog, WorkerIsStoppedWhenTheDialogGoesAway) {
  DeviceList document;
  RecordingRows rows;
  std::atomic<bool> sawStop{false};
  {
    CSearchDlg dialog(document, kAllOnesIpv4, {rows, nullptr, nullptr, nullptr, nullptr});
    dialog.Start([&](SearchContext& context) {
      for (int i = 0; i < 2000; ++i) {
        {
          std::lock_guard lock(context.searchLock);
          if (context.stopRequested) {
            sawStop = true;
            return;
          }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
  }
  EXPECT_TRUE(sawStop);
}

}  // namespace
}  // namespace vantrell
