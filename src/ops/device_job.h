#pragma once
/// The shared state of the progress dialogs and their workers: the block of
/// a one-device dialog (unlock, change password) and the row of a
/// multi-device dialog (Set Default, firmware upgrade). Workers publish
/// only through these words; the dialog's timer reads them.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "core/device_record.h"
#include "platform/tcp_connection.h"

namespace vantrell {

/// States of a one-device job.
enum SingleJobState : int { kJobRunning = 0, kJobSucceeded = 1, kJobFailed = 2 };

struct SingleDeviceJob {
  explicit SingleDeviceJob(DeviceRecord& device) : record(device) {}
  /// The selected device in the document's list; the worker updates
  /// password and statusFlags in place.
  DeviceRecord& record;
  char password[kPasswordLength + 1] = {};     ///< unlock: the typed password
  char oldPassword[kPasswordLength + 1] = {};  ///< change password
  char newPassword[kPasswordLength + 1] = {};
  std::atomic<int> state{kJobRunning};
};

/// States every multi-device row shares; higher values are final and
/// defined by the dialog.
enum DeviceJobState : int { kRowWaiting = 0, kRowRunning = 1 };

struct DeviceJob {
  explicit DeviceJob(const DeviceRecord& device) : record(device) {}

  /// A copy of the selected device's record.
  DeviceRecord record;
  std::uint32_t firstParameter = 0;
  std::uint32_t secondParameter = 0;
  std::atomic<int> state{kRowWaiting};

  /// Publishes the worker's open connection so Cancel can close it; when
  /// the row was cancelled already, the connection is aborted at once.
  void AttachConnection(std::shared_ptr<TcpConnection> connection);
  void DetachConnection();
  /// Closes the row's connection (if any) and every later one.
  void Cancel();
  bool cancelled() const { return cancelled_.load(); }

 private:
  std::mutex connectionMutex_;
  std::shared_ptr<TcpConnection> connection_;
  std::atomic<bool> cancelled_{false};
};

/// Removes leading and trailing white space and keeps at most 16
/// characters, as the password dialogs hand passwords to the workers.
void CopyTrimmedPassword(char (&field)[kPasswordLength + 1], std::string_view typed);

}  // namespace vantrell
