#include "ui/search_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <map>

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
    CSearchDlg::Ports ports{rows, [this](const std::string& text) { status.push_back(text); },
                            nullptr,
                            [this](DeviceRecord& record) {
                              ++detailsCalls[record.mac[5]];
                              return detailsCalls[record.mac[5]] >= answerOnCall ? 0 : -1;
                            },
                            [this](int ms) { sleeps.push_back(ms); }};
    auto dialog = std::make_unique<CSearchDlg>(document, filter, ports);
    dialog->Start([this](SearchContext&) { workerRan = true; });
    return dialog;
  }

  /// What the worker does when it hears a new device.
  static void WorkerHears(CSearchDlg& dialog, const DeviceRecord& record) {
    std::lock_guard lock(dialog.context().searchLock);
    if (dialog.context().found.InsertUnique(record)) dialog.context().countdownMs = 5000;
  }

  /// Ticks until the search ends; returns the number of ticks, at most 100.
  static int TicksToEnd(CSearchDlg& dialog) {
    for (int tick = 1; tick <= 100; ++tick) {
      if (dialog.OnTimer()) return tick;
    }
    return -1;
  }

  DeviceList document;
  RecordingRows rows;
  std::vector<std::string> status;
  std::map<int, int> detailsCalls;
  int answerOnCall = 1;
  std::vector<int> sleeps;
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
  for (int i = 0; i < 20; ++i) dialog->OnTimer();
  WorkerHears(*dialog, Heard(1));
  EXPECT_FALSE(dialog->OnTimer());
  EXPECT_EQ(status.back(), "Total Count = 1, timeout = 4sec\n");
  for (int i = 0; i < 10; ++i) dialog->OnTimer();
  WorkerHears(*dialog, Heard(1));  // heard again: not new
  EXPECT_EQ(TicksToEnd(*dialog), 14);
  ASSERT_EQ(document.size(), 1u);
  EXPECT_EQ(document[0].mac[5], 1);
}

TEST_F(SearchDialogTest, RowsAreCopiedThenDetailedOnTheNextTick) {
  auto dialog = Open();
  WorkerHears(*dialog, Heard(1));
  WorkerHears(*dialog, Heard(2));
  dialog->OnTimer();
  ASSERT_EQ(rows.cells.size(), 2u);
  EXPECT_THAT(rows.cells[1],
              ::testing::ElementsAre("ORV-A8", "192.168.10.2", "00:60:E9:00:00:02", "Get info."));
  EXPECT_EQ(document[1].detailsFetched, 0);
  answerOnCall = 3;
  dialog->OnTimer();
  EXPECT_EQ(rows.cells[0][3], "Finish");
  EXPECT_EQ(rows.cells[1][3], "Finish");
  EXPECT_EQ(detailsCalls[1], 3);
  EXPECT_EQ(sleeps, (std::vector<int>{50, 50, 50, 50}));
  EXPECT_EQ(document[0].detailsFetched, 1);
  dialog->OnTimer();
  EXPECT_EQ(detailsCalls[1], 3);  // queried once per search only
}

TEST_F(SearchDialogTest, SilentDeviceTimesOutAfterTenRuns) {
  auto dialog = Open();
  answerOnCall = 1000;
  WorkerHears(*dialog, Heard(7));
  dialog->OnTimer();
  dialog->OnTimer();
  EXPECT_EQ(detailsCalls[7], 10);
  EXPECT_EQ(sleeps.size(), 10u);
  EXPECT_EQ(rows.cells[0][3], "Timeout");
  EXPECT_EQ(document[0].detailsFetched, 1);
}

TEST_F(SearchDialogTest, DeviceCopiedInTheEndingTickKeepsGetInfo) {
  auto dialog = Open();
  for (int i = 0; i < 24; ++i) dialog->OnTimer();
  {
    std::lock_guard lock(dialog->context().searchLock);
    dialog->context().found.InsertUnique(Heard(3));  // heard without re-arming in time
  }
  EXPECT_TRUE(dialog->OnTimer());
  ASSERT_EQ(rows.cells.size(), 1u);
  EXPECT_EQ(rows.cells[0][3], "Get info.");
  EXPECT_EQ(detailsCalls[3], 0);
}

TEST_F(SearchDialogTest, CancelKeepsOnlyWhatTheLastTickCopied) {
  auto dialog = Open();
  WorkerHears(*dialog, Heard(1));
  dialog->OnTimer();
  WorkerHears(*dialog, Heard(2));
  dialog->Cancel();
  EXPECT_TRUE(dialog->ended());
  EXPECT_TRUE(dialog->context().stopRequested);
  ASSERT_EQ(document.size(), 1u);
  EXPECT_EQ(document[0].mac[5], 1);
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
