#include "ui/one_device_dialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vantrell {
namespace {

struct Cells : RowTable {
  void DeleteAllRows() override {}
  void InsertRow(int, std::string_view mac) override { this->mac = mac; }
  void SetCell(int, int, std::string_view value) override { progress = value; }
  std::string mac, progress;
};

TEST(OneDeviceDialog, ShowsTheWorkersStateAndRenamesTheButtonWhenFinal) {
  DeviceRecord record = MakeZeroRecord();
  record.mac = {0x00, 0x60, 0xE9, 0x12, 0x34, 0x56};
  SingleDeviceJob job(record);
  Cells cells;
  std::string button = "OK";
  std::atomic<bool> release{false};
  OneDeviceDialog dialog(job, {cells, [&](std::string_view text) { button = text; }});
  dialog.Open([&](SingleDeviceJob& j) {
    for (int i = 0; i < 300 && !release; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    j.state = kJobFailed;
  });
  EXPECT_EQ(cells.mac, "00:60:E9:12:34:56");
  EXPECT_FALSE(dialog.OnTimer());
  EXPECT_EQ(cells.progress, "Wait..");
  EXPECT_EQ(button, "OK");
  release = true;
  dialog.PressButton();  // waits for the worker
  EXPECT_EQ(job.state, kJobFailed);
}

TEST(OneDeviceDialog, SuccessTextAndCloseButton) {
  DeviceRecord record = MakeZeroRecord();
  SingleDeviceJob job(record);
  Cells cells;
  std::string button;
  OneDeviceDialog dialog(job, {cells, [&](std::string_view text) { button = text; }});
  dialog.Open([](SingleDeviceJob& j) { j.state = kJobSucceeded; });
  bool final = false;
  for (int i = 0; i < 100 && !final; ++i) {
    final = dialog.OnTimer();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_TRUE(final);
  EXPECT_EQ(cells.progress, "OK..");
  EXPECT_EQ(button, "Close");
}

}  // namespace
}  // namespace vantrell
