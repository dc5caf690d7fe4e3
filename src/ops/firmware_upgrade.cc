#include "ops/firmware_upgrade.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/model_table.h"
#include "net/http_client.h"
#include "ops/selection_rights.h"

namespace vantrell {
namespace {

using Clock = std::chrono::steady_clock;

/// The 5-byte header: opcode, then the image size, low byte first.
constexpr std::size_t kHeaderSize = 5;
constexpr std::size_t kHeaderOpcode = 0;
constexpr std::size_t kHeaderSizeField = 1;
/// Both replies: opcode, status.
constexpr std::size_t kReplySize = 2;
constexpr std::uint8_t kFirstReplyGoOn = 0x00;
constexpr std::uint8_t kFinalReplyStored = 0x01;

std::array<std::uint8_t, kHeaderSize> FirmwareHeader(std::uint8_t opcode, std::uint32_t size) {
  std::array<std::uint8_t, kHeaderSize> header{};
  header[kHeaderOpcode] = opcode;
  for (std::size_t i = 0; i < 4; ++i) {
    header[kHeaderSizeField + i] = static_cast<std::uint8_t>(size >> (8 * i));
  }
  return header;
}

/// A failed send: a stall is a time-out, everything else a broken connection.
int SendFailure(int rc) { return rc == -ETIMEDOUT ? kUpgradeTimeout : kUpgradeNetworkFailure; }

/// The first reply: only status 0 lets the image go.
int AwaitFirstReply(Session& session, std::uint8_t opcode) {
  std::uint8_t reply[kReplySize];
  const int received = session.connection->ReceiveOnce(reply, session.timing.replyMs);
  if (session.connection->aborted()) return kUpgradeNetworkFailure;
  if (received == -ETIMEDOUT) return kUpgradeTimeout;
  if (received != static_cast<int>(kReplySize) || reply[0] != opcode) return kUpgradeTransmitFail;
  return reply[1] == kFirstReplyGoOn ? 0 : FirmwareStatusResult(reply[1]);
}

int SendImage(Session& session, UpgradeJob& job, std::ifstream& file, std::uint32_t size) {
  std::vector<std::uint8_t> piece(kFirmwarePieceSize);
  std::uint64_t sent = 0;
  auto lastPiece = Clock::now();
  const auto stallLimit = std::chrono::milliseconds(session.timing.replyMs);
  while (sent < size) {
    const int writable = session.connection->WaitWritable(session.timing.replyMs);
    if (writable == -ETIMEDOUT) {
      if (Clock::now() - lastPiece > stallLimit) return kUpgradeTimeout;
      continue;
    }
    if (writable != 0) return kUpgradeNetworkFailure;
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), size - sent));
    file.read(reinterpret_cast<char*>(piece.data()), static_cast<std::streamsize>(want));
    // A file that shrank while being sent cannot meet the announced size.
    if (static_cast<std::size_t>(file.gcount()) != want) return kUpgradeFormatError;
    if (const int rc =
            session.connection->Send(std::span(piece.data(), want), session.timing.replyMs);
        rc != 0) {
      return SendFailure(rc);
    }
    sent += want;
    lastPiece = Clock::now();
    // 64-bit: images above 42 MB would overflow sent x 100 in 32 bits.
    job.progress = static_cast<int>(sent * 100 / size);
  }
  return 0;
}

/// The device stores the image and answers; no answer, or a broken one,
/// counts as stored.
int AwaitFinalReply(Session& session, std::uint8_t opcode, int finalWaitMs) {
  std::uint8_t reply[kReplySize];
  const int received = session.connection->ReceiveOnce(reply, finalWaitMs);
  if (session.connection->aborted()) return kUpgradeNetworkFailure;
  if (received != static_cast<int>(kReplySize)) return 0;
  if (reply[0] != opcode) return kUpgradeTransmitFail;
  return reply[1] == kFinalReplyStored ? 0 : FirmwareStatusResult(reply[1]);
}

}  // namespace

int FirmwareStatusResult(std::uint8_t status) {
  switch (static_cast<std::int8_t>(status)) {
    case -7:
      return kUpgradeDowngradeRefused;
    case -6:
      return kUpgradeModelNotSupported;
    case -4:
      return kUpgradeFormatError;
    case -3:
      return kUpgradeTimeout;
    case -2:
      return kUpgradeOutOfMemory;
    default:  // -5, -1 and every other status
      return kUpgradeTransmitFail;
  }
}

int sendFirmware(Session& session, UpgradeJob& job, int finalWaitMs, int* openError) {
  job.state = kUpgradeTransmitting;
  std::error_code sizeError;
  const std::uintmax_t size = std::filesystem::file_size(job.filePath, sizeError);
  std::ifstream file(job.filePath, std::ios::binary);
  if (sizeError || !file || size > 0xFFFFFFFFu) {
    if (openError) *openError = sizeError ? sizeError.value() : (file ? EFBIG : errno);
    return kUpgradeFormatError;
  }
  const auto size32 = static_cast<std::uint32_t>(size);
  job.fileSize = size32;
  const auto opcode = static_cast<std::uint8_t>(job.transferOpcode);

  if (const int rc =
          session.connection->Send(FirmwareHeader(opcode, size32), session.timing.replyMs);
      rc != 0) {
    return SendFailure(rc);
  }
  if (const int rc = AwaitFirstReply(session, opcode); rc != 0) return rc;
  if (const int rc = SendImage(session, job, file, size32); rc != 0) return rc;
  file.close();

  job.progress = 0;
  job.state = kUpgradeSaving;
  return AwaitFinalReply(session, opcode, finalWaitMs);
}

std::string CannotOpenFirmwareText(int errorCode) {
  return "Can not open firmware file, error code: " + std::to_string(errorCode);
}

int RunSwitchUpgrade(UpgradeJob& job, MessageSink* messages, const Timing& timing,
                     int finalWaitMs) {
  Session session;
  if (job.cancelled() || openSession(job.record.ipAddr, session, timing) != 0) {
    job.result = kUpgradeTransmitFail;
    return kUpgradeFailed;
  }
  job.AttachConnection(session.connection);
  int openError = 0;
  int result = kUpgradeTransmitFail;
  if (login(session, "admin", FieldText(job.record.password)) == 0) {
    result = sendFirmware(session, job, finalWaitMs, &openError);
  }
  job.DetachConnection();
  session.connection.reset();
  job.result = result;
  // The message goes through the sink, never straight from this thread,
  // and only after the device's connection is closed.
  if (openError != 0 && messages) {
    messages->ShowMessage(CannotOpenFirmwareText(openError), MessageIcon::kStop);
  }
  return result < 0 ? kUpgradeFailed : kUpgradeDone;
}

int RunVideoServerUpgrade(UpgradeJob& job, const Timing& timing) {
  if (job.cancelled() || job.httpCancel) {
    job.result = kUpgradeNetworkFailure;
    return kUpgradeFailed;
  }
  const int result =
      uploadFirmwareFile(job.record, job.filePath, &job.progress, timing, &job.httpCancel);
  job.result = result;
  return result == 0 ? kUpgradeDone : kUpgradeFailed;
}

std::string SwitchUpgradeResultText(int result) {
  switch (result) {
    case kUpgradeDowngradeRefused:
      return "Not admit downgrade firmware v1.0";
    case kUpgradeModelNotSupported:
      return "Not support this model";
    case kUpgradeFormatError:
      return "Firmware format error";
    case kUpgradeTransmitFail:
      return "Transmit fail";
    case kUpgradeTimeout:
      return "Timeout";
    case kUpgradeNetworkFailure:
      return "Network connection fail";
    case kUpgradeOutOfMemory:
      return "Firmware format error/Out of memory";
    default:
      return "Fail";
  }
}

std::string VideoServerUpgradeResultText(int result) {
  switch (result) {
    case kUpgradeUnauthorized:
      return "Unauthorized Username & Password";
    case kUpgradeSizeMismatch:
      return "Firmware Version Mismatch";
    case kUpgradeNetworkFailure:
      return "Network connection fail";
    default:
      return "Upgrade Failure";
  }
}

UpgradeRows CollectUpgradeRows(std::span<const DeviceRecord* const> selection) {
  UpgradeRows collected;
  collected.refusal = CheckSelectionRights(selection);
  if (collected.refusal) return collected;
  for (const DeviceRecord* record : selection) {
    auto row = std::make_shared<UpgradeJob>(*record);
    row->transferOpcode =
        IsKavexModelId(record->modelId) ? kVideoServerTransferOpcode : kSwitchTransferOpcode;
    row->secondParameter = row->transferOpcode;
    collected.rows.push_back(std::move(row));
  }
  return collected;
}

void SetUpgradeFile(std::span<const std::shared_ptr<UpgradeJob>> rows,
                    const std::string& filePath) {
  for (const auto& row : rows) row->filePath = filePath;
}

}  // namespace vantrell
