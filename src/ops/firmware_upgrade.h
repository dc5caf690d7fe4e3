#pragma once
/// Firmware upgrade without any window: the row of the upgrade dialog
/// (UpgradeJob), the transfer of an image over the session protocol
/// (sendFirmware), the workers of switch and video-server rows, the result
/// texts of both kinds of row, and the collection step that turns a
/// selection into rows.

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "core/timing.h"
#include "core/wire/session_layout.h"
#include "net/session.h"
#include "ops/device_job.h"

namespace vantrell {

/// Transfer opcodes of a row: the session opcode of switches, and the mark
/// of a video-server row whose image goes by HTTP (never sent).
inline constexpr std::uint32_t kSwitchTransferOpcode = wire::kOpSendFirmware;
inline constexpr std::uint32_t kVideoServerTransferOpcode = 38;

/// Row states of the upgrade dialog.
enum UpgradeState : int {
  kUpgradeWaiting = 0,
  kUpgradeTransmitting = 1,
  kUpgradeSaving = 2,  ///< switches only: the device stores the image
  kUpgradeDone = 3,
  kUpgradeFailed = 4,
};

/// Results of a row (state kUpgradeFailed).
inline constexpr int kUpgradeOutOfMemory = -1;  ///< status 0xFE
inline constexpr int kUpgradeNetworkFailure = -3;
inline constexpr int kUpgradeTimeout = -4;
inline constexpr int kUpgradeTransmitFail = -6;
inline constexpr int kUpgradeFormatError = -10;   ///< also: the file cannot be opened
inline constexpr int kUpgradeSizeMismatch = -12;  ///< video server
inline constexpr int kUpgradeModelNotSupported = -13;
inline constexpr int kUpgradeDowngradeRefused = -14;
inline constexpr int kUpgradeUnauthorized = -16;  ///< video server

/// How long a switch may take to store the image before it answers.
inline constexpr int kFirmwareFinalWaitMs = 300000;
/// The largest piece of the image sent at once.
inline constexpr std::size_t kFirmwarePieceSize = 1024;

/// One row of the upgrade dialog. Worker and timer share the atomic words;
/// the rest is set before the dialog opens.
struct UpgradeJob : DeviceJob {
  explicit UpgradeJob(const DeviceRecord& device) : DeviceJob(device) {}

  std::string filePath;
  std::uint32_t transferOpcode = kSwitchTransferOpcode;
  std::atomic<int> result{0};
  /// Transmitting: percent sent; saving: hundredths of a percent.
  std::atomic<int> progress{0};
  std::atomic<std::uint32_t> fileSize{0};
  /// Set by Cancel; the HTTP transfer of a video-server row watches it.
  std::atomic<bool> httpCancel{false};

  bool isVideoServer() const { return transferOpcode == kVideoServerTransferOpcode; }
};

/// The result a status byte of a transfer reply stands for.
int FirmwareStatusResult(std::uint8_t status);

/// Sends the image at job.filePath over a logged-in session: the 5-byte
/// header (opcode, size low byte first), the first reply, the image in
/// pieces of at most 1024 bytes with progress, then the wait of up to
/// `finalWaitMs` for the device to store it. Sets state 1, then 2 with
/// progress 0 once the image has gone, and fileSize. Returns 0 or a
/// negative result. A file that cannot be opened (or is larger than the
/// 32-bit size field) gives kUpgradeFormatError with the system error in
/// `openError` (the caller shows the message); nothing is sent then.
int sendFirmware(Session& session, UpgradeJob& job, int finalWaitMs = kFirmwareFinalWaitMs,
                 int* openError = nullptr);

/// "Can not open firmware file, error code: %d"
std::string CannotOpenFirmwareText(int errorCode);

/// The switch worker: session, login as "admin" with the row's password,
/// sendFirmware, close. A file that cannot be opened shows its message
/// through `messages` (which hands it to the user-interface thread).
/// Returns the final state and sets the row's result.
int RunSwitchUpgrade(UpgradeJob& job, MessageSink* messages, const Timing& timing = {},
                     int finalWaitMs = kFirmwareFinalWaitMs);

/// The video-server worker: the HTTP firmware post with the row's record;
/// progress comes from the answer. Returns the final state and sets the
/// row's result.
int RunVideoServerUpgrade(UpgradeJob& job, const Timing& timing = {});

/// Row texts in a final state.
std::string SwitchUpgradeResultText(int result);
std::string VideoServerUpgradeResultText(int result);

/// The rows of an upgrade, or the rights-check message that ends the
/// command before anything is sent. Every row carries `filePath` and the
/// transfer opcode of its kind.
struct UpgradeRows {
  std::vector<std::shared_ptr<UpgradeJob>> rows;
  std::optional<std::string> refusal;
};
UpgradeRows CollectUpgradeRows(std::span<const DeviceRecord* const> selection);
void SetUpgradeFile(std::span<const std::shared_ptr<UpgradeJob>> rows, const std::string& filePath);

/// The open dialog of the firmware file.
inline constexpr const char* kFirmwareFileFilter = "Rom files (*.rom)|*.rom|All files (*.*)|*.*||";
inline constexpr const char* kFirmwareFileExtension = "rom";

}  // namespace vantrell
