#include "ui/multi_device_dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "ops/send_command.h"
#include "support/scripted_device.h"

namespace vantrell {
namespace {

using namespace std::chrono_literals;

struct Cells : RowTable {
  void DeleteAllRows() override { text.clear(); }
  void InsertRow(int row, std::string_view mac) override {
    text.insert(text.begin() + row, {std::string(mac), ""});
  }
  void SetCell(int row, int column, std::string_view value) override {
    text.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = value;
  }
  std::vector<std::vector<std::string>> text;
};

std::shared_ptr<DeviceJob> Row(std::uint8_t macTail, Ipv4 ip) {
  DeviceRecord record = MakeZeroRecord();
  record.mac = {0x00, 0x60, 0xE9, 0x00, 0x00, macTail};
  record.ipAddr = ip;
  return std::make_shared<DeviceJob>(record);
}

/// Workers that run until the test releases them, one by one.
class Gate {
 public:
  MultiDeviceDialog::RowWorker Worker(std::vector<int> results) {
    return [this, results](DeviceJob& job) {
      std::unique_lock lock(mutex_);
      started_.push_back(job.record.mac[5]);
      released_.wait_for(lock, 3s, [&] { return released.count(job.record.mac[5]) > 0; });
      return results.at(job.record.mac[5]);
    };
  }
  void Release(int macTail) {
    std::lock_guard lock(mutex_);
    released.insert(macTail);
    released_.notify_all();
  }
  std::vector<int> Started() {
    std::lock_guard lock(mutex_);
    return started_;
  }
  std::set<int> released;

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  std::vector<int> started_;
};

/// Ticks until `done` holds or a second has passed.
template <typename Done>
void TickUntil(MultiDeviceDialog& dialog, Done done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    dialog.OnTimer();
    std::this_thread::sleep_for(5ms);
  }
}

TEST(MultiDeviceDialog, DevicesSharingAnAddressRunOneAfterAnother) {
  const Ipv4 shared = MakeIpv4(10, 0, 0, 1);
  Gate gate;
  Cells cells;
  std::vector<std::string> buttons;
  MultiDeviceDialog dialog({Row(0, shared), Row(1, shared), Row(2, MakeIpv4(10, 0, 0, 2)),
                            Row(3, shared)},
                           gate.Worker({kCommandDone, kCommandFailed, kCommandDone, kCommandDone}),
                           SendCommandStateText,
                           {cells, [&](std::string_view text) { buttons.emplace_back(text); }});
  dialog.Open();
  EXPECT_EQ(cells.text[3], (std::vector<std::string>{"00:60:E9:00:00:03", "Wait.."}));
  EXPECT_FALSE(dialog.OnTimer());
  TickUntil(dialog, [&] { return gate.Started().size() == 2; });
  // Different addresses start together (in either order); 1 and 3 wait for 0.
  const std::vector<int> first = gate.Started();
  EXPECT_EQ(std::set<int>(first.begin(), first.end()), (std::set<int>{0, 2}));

  gate.Release(0);
  TickUntil(dialog, [&] { return gate.Started().size() == 3; });
  EXPECT_EQ(gate.Started().back(), 1);
  // The row's text follows its state on a tick of its own.
  TickUntil(dialog, [&] { return cells.text[0][1] != "Wait.."; });
  EXPECT_EQ(cells.text[0][1], "Done");

  gate.Release(1);  // fails; the next device sharing the address still runs
  TickUntil(dialog, [&] { return gate.Started().size() == 4; });
  EXPECT_EQ(gate.Started().back(), 3);
  TickUntil(dialog, [&] { return cells.text[1][1] != "Wait.."; });
  EXPECT_EQ(cells.text[1][1], "Fail");
  EXPECT_TRUE(buttons.empty());

  gate.Release(2);
  gate.Release(3);
  TickUntil(dialog, [&] { return !buttons.empty(); });
  EXPECT_EQ(buttons, (std::vector<std::string>{"Close"}));
  EXPECT_EQ(cells.text[3][1], "Done");
  EXPECT_TRUE(dialog.OnTimer());
}

TEST(MultiDeviceDialog, StopEndsWorkersWaitingForSilentDevices) {
  // Three devices on their own loopback addresses that accept the
  // connection and never answer.
  using test_support::Pause;
  using test_support::ScriptedDevice;
  ScriptedDevice a({Pause{1500}}, 0x7F000002), b({Pause{1500}}, 0x7F000003),
      c({Pause{1500}}, 0x7F000004);
  std::vector<std::shared_ptr<DeviceJob>> rows;
  std::uint8_t tail = 2;
  for (ScriptedDevice* device : {&a, &b, &c}) {
    auto row = Row(tail, MakeIpv4(127, 0, 0, tail));
    row->firstParameter = kSetDefaultOpcode;
    row->secondParameter = device->timing().devicePort;
    rows.push_back(row);
    ++tail;
  }
  Cells cells;
  MultiDeviceDialog dialog(
      rows,
      [](DeviceJob& job) {
        Timing timing;
        timing.devicePort = static_cast<std::uint16_t>(job.secondParameter);
        return RunSendCommand(job, timing);
      },
      SendCommandStateText, {cells, nullptr});
  dialog.Open();
  dialog.OnTimer();
  std::this_thread::sleep_for(150ms);
  const auto start = std::chrono::steady_clock::now();
  dialog.Cancel();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms);
  for (const auto& row : rows) EXPECT_EQ(row->state, kCommandFailed);
}

}  // namespace
}  // namespace vantrell
