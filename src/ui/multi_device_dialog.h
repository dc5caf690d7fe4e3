#pragma once
/// The behaviour of the multi-device progress dialogs (SendCMD, and the
/// firmware upgrade later): one row per device, one worker per row, a 100 ms
/// timer that starts waiting rows (devices sharing an address one after
/// another), shows each row's state text and renames the only button to
/// "Close" when every row is final. Cancel closes every open connection,
/// gives each worker 100 ms to end and leaves no worker able to touch what
/// the dialog shows.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/timing.h"
#include "ops/device_job.h"
#include "ui/row_table.h"
#include "ui/row_worker_thread.h"

namespace vantrell {

class ArpRouteBracket;

class MultiDeviceDialog {
 public:
  /// The network work of one row; returns the row's final state.
  using RowWorker = std::function<int(DeviceJob&)>;
  using StateText = std::function<std::string(const DeviceJob&)>;

  struct Ports {
    RowTable& rows;
    std::function<void(std::string_view)> setButtonText;
    ArpRouteBracket* bracket = nullptr;
    /// At most this many rows run at once; 0: no bound.
    std::size_t maxRunning = 0;
  };

  MultiDeviceDialog(std::vector<std::shared_ptr<DeviceJob>> rows, RowWorker worker,
                    StateText stateText, Ports ports);
  ~MultiDeviceDialog();
  MultiDeviceDialog(const MultiDeviceDialog&) = delete;
  MultiDeviceDialog& operator=(const MultiDeviceDialog&) = delete;

  /// Fills the list: MAC address and "Wait.." per row.
  void Open();
  /// One timer tick; true when every row is final (the timer stops).
  bool OnTimer();
  /// The button before or after "Close": ends every worker's wait.
  void Cancel();

  const std::vector<std::shared_ptr<DeviceJob>>& rows() const { return rows_; }

 private:
  bool MayStart(std::size_t index) const;
  bool HasFreeSlot() const;
  void StartRow(std::size_t index);

  std::vector<std::shared_ptr<DeviceJob>> rows_;
  std::vector<std::shared_ptr<RowWorkerThread>> slots_;
  RowWorker worker_;
  StateText stateText_;
  Ports ports_;
  bool timerRunning_ = false;
};

/// Row texts of the send-command dialog: "Wait..", "Done", "Fail".
std::string SendCommandStateText(const DeviceJob& row);

}  // namespace vantrell
