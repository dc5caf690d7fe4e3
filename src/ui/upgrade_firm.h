#pragma once
/// The behaviour of the firmware dialog CUpgradeFirm "Upgrade Firmware":
/// one row per device, one worker per row, and two 100 ms timers, the first
/// for the switch rows (session transfer, then a simulated saving progress
/// while the device stores the image), the second for the video-server rows
/// (HTTP post). The timers tell the rows apart by the model name: a name
/// containing "Kavex" is a video-server row. Rows sharing an address run
/// one after another: the next starts once the earlier one has left the
/// transfer. The button "Cancel" reads "Close" only when every row of
/// either kind is final; pressed at any time it closes the open connections
/// and gives each worker 100 ms.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ops/firmware_upgrade.h"
#include "ui/prompter.h"
#include "ui/row_table.h"
#include "ui/row_worker_thread.h"

namespace vantrell {

class ArpRouteBracket;

/// Hundredths of a percent the saving progress gains per tick:
/// 10000 / (fileSize / 10240 + 150), or 35 for an empty file.
int SavingProgressStep(std::uint32_t fileSize);
/// The saving progress never passes 99 percent on its own.
inline constexpr int kSavingProgressCap = 9900;

class CUpgradeFirm {
 public:
  /// The network work of one row; returns the row's final state.
  using RowWorker = std::function<int(UpgradeJob&)>;
  struct Workers {
    RowWorker switchWorker;
    RowWorker videoServerWorker;
  };
  struct Ports {
    RowTable& rows;
    std::function<void(std::string_view)> setButtonText;
    ArpRouteBracket* bracket = nullptr;
  };

  CUpgradeFirm(std::vector<std::shared_ptr<UpgradeJob>> rows, Workers workers, Ports ports);
  ~CUpgradeFirm();
  CUpgradeFirm(const CUpgradeFirm&) = delete;
  CUpgradeFirm& operator=(const CUpgradeFirm&) = delete;

  /// Fills the list (MAC address, "Wait..") and starts timer 1 when a row's
  /// model name lacks "Kavex", timer 2 when a row's name contains it.
  void Open();
  /// Timer 1: starts and shows the switch rows; stops when none of them is
  /// waiting, transmitting or saving.
  void OnTimer1();
  /// Timer 2: starts and shows the video-server rows; stops when every one
  /// of them is done or failed.
  void OnTimer2();
  bool timer1Running() const { return timer1Running_; }
  bool timer2Running() const { return timer2Running_; }
  /// True once the button reads "Close".
  bool closed() const { return closeShown_; }
  /// The button, before or after "Close".
  void Cancel();

  const std::vector<std::shared_ptr<UpgradeJob>>& rows() const { return rows_; }

 private:
  bool MayStart(std::size_t index) const;
  void StartRow(std::size_t index, const RowWorker& worker);
  std::string SwitchRowText(UpgradeJob& row, int state);
  std::string VideoServerRowText(UpgradeJob& row, int state);
  void ShowCloseWhenAllFinal();

  std::vector<std::shared_ptr<UpgradeJob>> rows_;
  std::vector<std::shared_ptr<RowWorkerThread>> slots_;
  /// Rows whose final text is on show.
  std::vector<bool> shownFinal_;
  Workers workers_;
  Ports ports_;
  bool timer1Running_ = false;
  bool timer2Running_ = false;
  bool closeShown_ = false;
};

/// CUpgradeFirm in a modal progress dialog ("Upgrade Firmware", "Cancel",
/// columns 100 and 300): each 100 ms tick runs timer 1, then timer 2.
class UpgradeFirmDriver : public DialogDriver {
 public:
  UpgradeFirmDriver(std::vector<std::shared_ptr<UpgradeJob>> rows, CUpgradeFirm::Workers workers,
                    ArpRouteBracket* bracket);
  const Layout& layout() const override;
  void Open(RowTable& rows, DialogControls& controls) override;
  TickResult OnTick() override;
  void OnButton() override;
  CUpgradeFirm* dialog() { return dialog_.get(); }

 private:
  std::vector<std::shared_ptr<UpgradeJob>> rows_;
  CUpgradeFirm::Workers workers_;
  ArpRouteBracket* bracket_;
  std::unique_ptr<CUpgradeFirm> dialog_;
};

}  // namespace vantrell
