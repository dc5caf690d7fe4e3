#pragma once
/// The behaviour of CImportFile "Import Configuration", free of any toolkit:
/// one row per selected device ("MAC Address", "Progress"), the disabled
/// "OK" button, the one-shot 500 ms timer whose tick runs the whole import
/// on the calling (user-interface) thread, row by row, and the row texts.
/// The operator is reached through ImportOperator (the video servers' login
/// dialog and the review of a file's address settings in CNetconf) and a
/// MessageSink; the window implements them with dialogs, the command line
/// with its options, tests with recorders.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/device_record.h"
#include "core/message.h"
#include "core/timing.h"
#include "ops/config_import.h"
#include "ui/prompter.h"
#include "ui/row_table.h"

namespace vantrell {

class ArpRouteBracket;

/// One row of the dialog: a copy of the device's record taken when the
/// command starts, and the chosen file.
struct ImportTarget {
  DeviceRecord record;
  std::filesystem::path path;
  /// The device keeps its own address settings: no review, and the file's
  /// address lines and mode are not stored (a template for many devices).
  bool keepAddress = false;
};

/// One ImportTarget per record, in order, all with `path`.
std::vector<ImportTarget> MakeImportTargets(const std::vector<DeviceRecord>& records,
                                            const std::filesystem::path& path);

/// What the import asks the operator.
class ImportOperator {
 public:
  virtual ~ImportOperator() = default;
  /// CLoginIDPwd "Username & Password" for a video server; nothing when it
  /// was closed without "Login".
  virtual std::optional<LoginEntry> LoginIdPassword() = 0;
  /// CNetconf in import mode: the review of the file's address settings
  /// (`fileSettings`: the device's record with the file's addresses; `mask`:
  /// the settings that differ from `device`'s, whose boxes start checked).
  /// The record as confirmed with "OK" (possibly edited), nothing on Cancel.
  virtual std::optional<DeviceRecord> ReviewAddressSettings(const DeviceRecord& device,
                                                            const DeviceRecord& fileSettings,
                                                            AddressChangeMask mask) = 0;
};

/// Shown (stop icon) when a file holding NUL bytes is meant for a video
/// server, which takes only a text file; its row then reads "Import Fail"
/// and nothing is sent to it.
inline constexpr const char* kVideoServerBinaryFileText =
    "The file holds NUL bytes: a video server takes only a text configuration file.";

/// Resources of the dialog.
inline constexpr const char* kImportDialogTitle = "Import Configuration";
inline constexpr const char* kImportOkButtonText = "OK";
/// Delay between the dialog's start and the import (one-shot timer).
inline constexpr int kImportStartDelayMs = 500;
/// The dialog's layout for the modal dialog host: columns "MAC Address"
/// (120) and "Progress" (250), centred; the timer period is the start delay.
DialogDriver::Layout ImportDialogLayout();

class ImportDialog {
 public:
  struct Ports {
    RowTable& rows;
    MessageSink& messages;
    ImportOperator& op;
    /// Enables or disables the "OK" button.
    std::function<void(bool)> enableOk;
    /// Redraws one row at once (the run blocks the window's message loop).
    std::function<void(int)> redrawRow;
    /// Shows (true) or hides the wait cursor around a device's transfer.
    std::function<void(bool)> waitCursor;
    /// May be null: no ARP entries or host routes.
    ArpRouteBracket* bracket = nullptr;
    Timing timing;
  };

  enum class State {
    kWaiting,             ///< opened, the start timer not fired yet
    kRunning,             ///< runImport is going through the rows
    kFinished,            ///< every row has its final text; "OK" enabled
    kStoppedByFileError,  ///< the file's first line was wrong; "OK" stays disabled
  };

  ImportDialog(std::vector<ImportTarget> targets, Ports ports);

  /// The dialog's start: "OK" disabled, one row per target with its MAC
  /// address and "Wait..". The caller then starts a one-shot timer of
  /// kImportStartDelayMs.
  void Open();
  /// The timer tick: the caller kills the timer; the first tick runs the
  /// import, later ticks do nothing.
  void OnTimer();
  /// The single pass over all rows.
  void runImport();

  State state() const { return state_; }
  bool okEnabled() const { return okEnabled_; }
  const std::vector<ImportTarget>& targets() const { return targets_; }
  /// The "Progress" text of each row as shown now.
  const std::vector<std::string>& rowTexts() const { return rowTexts_; }

 private:
  enum class RowEnd { kNext, kStopRun };
  RowEnd ImportRow(std::size_t index);
  void ImportVideoServerRow(std::size_t index);
  RowEnd ImportSwitchRow(std::size_t index);
  void SetRowText(std::size_t index, std::string_view text);
  void Show(const std::vector<ImportMessage>& messages);
  void SetOkEnabled(bool enabled);
  void WaitCursor(bool on);

  std::vector<ImportTarget> targets_;
  Ports ports_;
  std::vector<std::string> rowTexts_;
  State state_ = State::kWaiting;
  bool okEnabled_ = false;
};

}  // namespace vantrell
