#pragma once
/// Backup of many devices at once: each selected switch's configuration
/// (and each video server's parameters) exported into one folder, one file
/// a device named by its MAC, so that the folder can be kept under version
/// control; then the folder's inventory.csv. Devices run side by side
/// (at most kBackupConcurrency, those sharing an address one after
/// another), each file is written whole or not at all, and a device that
/// fails keeps the file an earlier backup left.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/timing.h"
#include "ops/device_job.h"
#include "ui/multi_device_dialog.h"
#include "ui/row_table.h"

namespace vantrell {

class ArpRouteBracket;

/// How many devices a backup asks at once.
inline constexpr std::size_t kBackupConcurrency = 32;

/// The name of a device's file: "00-60-E9-10-20-11.cfg".
std::string BackupFileName(const MacAddress& mac);

/// The inventory written beside the files.
inline constexpr const char* kBackupInventoryName = "inventory.csv";

/// Row texts beyond the export messages' first lines.
inline constexpr const char* kBackupWaitText = "Wait..";
inline constexpr const char* kBackupNotAccessibleText = "Not accessible";
inline constexpr const char* kBackupProtectedText = "Password protected";

/// One device to back up: the search's record (password and video-server
/// credentials filled in) and its search "Progress" cell.
struct BackupDevice {
  DeviceRecord record;
  std::string details;
};

/// What a device's row ended with.
struct BackupOutcome {
  bool succeeded = false;
  std::string result;  ///< the row text
  std::string file;    ///< the device's file name in the folder, empty when there is none
  std::string sha256;  ///< of that file as it now stands
  std::string time;    ///< ISO 8601 UTC, when the row ended
};

class BackupRun {
 public:
  BackupRun(std::filesystem::path folder, std::vector<BackupDevice> devices,
            ArpRouteBracket* bracket, const Timing& timing, RowTable& rows,
            std::size_t concurrency = kBackupConcurrency);

  /// Fills the list (MAC and "Wait.." a row).
  void Open() { dialog_->Open(); }
  /// One 100 ms tick; true when every row is final.
  bool OnTimer() { return dialog_->OnTimer(); }
  void Cancel() { dialog_->Cancel(); }

  /// Each device's outcome, in row order; complete once OnTimer said so.
  std::vector<BackupOutcome> Outcomes() const;
  /// Writes the folder's inventory.csv (whole or not at all) from the
  /// outcomes. False with the reason in `error` when it cannot be written.
  bool WriteInventory(std::string& error) const;

 private:
  struct Row;
  std::filesystem::path folder_;
  std::vector<std::shared_ptr<Row>> rows_;
  std::unique_ptr<MultiDeviceDialog> dialog_;
};

}  // namespace vantrell
