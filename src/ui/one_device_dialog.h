#pragma once
/// The behaviour of the one-device progress dialogs (Unlock: CUnlockDlg,
/// Change Password: SetPassword): one row "MAC Address" / "Progress", one
/// worker, a 100 ms timer that shows the worker's state and renames the
/// only button to "Close" once the result is final. The button always waits
/// for the worker, through the wait port, which keeps the window serving
/// the worker's message boxes meanwhile.

#include <atomic>
#include <functional>
#include <string_view>
#include <thread>

#include "ops/device_job.h"
#include "ui/row_table.h"

namespace vantrell {

/// Row texts of the one-device dialogs by state.
std::string_view OneDeviceStateText(int state);

class OneDeviceDialog {
 public:
  struct Ports {
    RowTable& rows;
    std::function<void(std::string_view)> setButtonText;
    /// Waits until `finished` holds; empty: a plain join.
    std::function<void(const std::function<bool()>& finished)> wait = {};
  };

  OneDeviceDialog(SingleDeviceJob& job, Ports ports);
  ~OneDeviceDialog();
  OneDeviceDialog(const OneDeviceDialog&) = delete;
  OneDeviceDialog& operator=(const OneDeviceDialog&) = delete;

  /// Fills the row and starts the worker.
  void Open(std::function<void(SingleDeviceJob&)> worker);
  /// One timer tick; true when the result is final (the timer stops).
  bool OnTimer();
  /// The button: waits for the worker without a limit, then the dialog ends.
  void PressButton();

 private:
  SingleDeviceJob& job_;
  Ports ports_;
  void JoinWorker();

  std::thread worker_;
  std::atomic<bool> workerDone_{false};
  bool timerRunning_ = false;
};

}  // namespace vantrell
