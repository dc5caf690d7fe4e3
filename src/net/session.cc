#include "net/session.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <thread>
#include <vector>

#include "core/byte_order.h"
#include "platform/atomic_file.h"
#include "platform/tick.h"

namespace vantrell {
namespace {

constexpr int kFailed = -1;
constexpr std::size_t kFilePieceSize = 1024;
/// Configuration files carry passwords.
constexpr mode_t kConfigFileMode = 0600;
/// Largest configuration file a device may announce: far above any
/// device's file; a larger announcement fails at once.
constexpr std::size_t kMaxAnnouncedFileLength = 16 * 1024 * 1024;

int Send(Session& session, std::span<const std::uint8_t> bytes) {
  return session.connection->Send(bytes, session.timing.replyMs) == 0 ? 0 : kFailed;
}

int SendOpcode(Session& session, std::uint8_t opcode) {
  const std::uint8_t byte = opcode;
  return Send(session, std::span(&byte, 1));
}

/// One receive of exactly `size` bytes: the reply counts only when that
/// receive returns them all.
bool ReceiveFixed(Session& session, std::span<std::uint8_t> reply, int waitMs) {
  return session.connection->ReceiveOnce(reply, waitMs) == static_cast<int>(reply.size());
}

/// True for the two-byte acknowledgement `opcode, 0x01`.
bool IsSuccessAck(std::span<const std::uint8_t, wire::ack_reply::kSize> reply,
                  std::uint8_t opcode) {
  return reply[wire::ack_reply::kOpcode] == opcode &&
         reply[wire::ack_reply::kStatus] == wire::ack_reply::kSuccess;
}

/// Waits for the two-byte acknowledgement `opcode, 0x01`.
int ExpectAck(Session& session, std::uint8_t opcode, int waitMs) {
  std::uint8_t reply[wire::ack_reply::kSize];
  if (!ReceiveFixed(session, reply, waitMs)) return kFailed;
  return IsSuccessAck(reply, opcode) ? 0 : kFailed;
}

int Exchange(Session& session, std::span<const std::uint8_t> request, int waitMs) {
  if (Send(session, request) != 0) return kFailed;
  return ExpectAck(session, request[wire::kOpcodeAt], waitMs);
}

/// Sends the opcode and reads the 3-byte header `opcode, n big-endian`.
int RequestLengthHeader(Session& session, std::uint8_t opcode, std::size_t& length) {
  if (SendOpcode(session, opcode) != 0) return kFailed;
  namespace f = wire::length_prefixed_reply;
  std::uint8_t header[f::kHeaderSize];
  if (!ReceiveFixed(session, header, session.timing.replyMs) || header[wire::kOpcodeAt] != opcode) {
    return kFailed;
  }
  length = LoadBe16(header + f::kLength);
  return 0;
}

/// The overall limit of one transfer of a length the device announced: a
/// device that drips its bytes ends the transfer after
/// timing.transferLimitMs, however short each of its pauses.
class TransferClock {
 public:
  explicit TransferClock(const Timing& timing)
      : startTick_(TickCountMs()), limitMs_(timing.transferLimitMs) {}
  /// The next wait: at most `waitMs`, and no longer than the time left;
  /// 0 when the time is up.
  int Wait(int waitMs) const {
    const auto elapsed = static_cast<int>(TickCountMs() - startTick_);
    return std::max(0, std::min(waitMs, limitMs_ - elapsed));
  }

 private:
  std::uint32_t startTick_;
  int limitMs_;
};

/// Reads until `body` is full, waiting at most replyMs before each read.
int ReceiveBody(Session& session, std::span<std::uint8_t> body, const TransferClock& clock) {
  std::size_t received = 0;
  while (received < body.size()) {
    const int waitMs = clock.Wait(session.timing.replyMs);
    if (waitMs <= 0) return kFailed;
    const int n = session.connection->ReceiveOnce(body.subspan(received), waitMs);
    if (n <= 0) return kFailed;
    received += static_cast<std::size_t>(n);
  }
  return 0;
}

/// Reads and drops `count` bytes.
int Discard(Session& session, std::size_t count, const TransferClock& clock) {
  std::vector<std::uint8_t> scratch(std::min<std::size_t>(count, 4096));
  while (count > 0) {
    const std::size_t piece = std::min(count, scratch.size());
    if (ReceiveBody(session, std::span(scratch.data(), piece), clock) != 0) return kFailed;
    count -= piece;
  }
  return 0;
}

}  // namespace

int openSession(Ipv4 ipAddr, Session& session, const Timing& timing) {
  session.timing = timing;
  session.connection.reset();
  return TcpConnection::Connect(ipAddr, timing.devicePort, timing.connectMs, session.connection) ==
                 0
             ? 0
             : kFailed;
}

int login(Session& session, std::string_view user, std::string_view password) {
  namespace f = wire::challenge_reply;
  if (SendOpcode(session, kOpFetchChallenge) != 0) return kFailed;
  std::uint8_t challenge[f::kSize];
  if (!ReceiveFixed(session, challenge, session.timing.replyMs) ||
      challenge[wire::kOpcodeAt] != kOpFetchChallenge ||
      challenge[f::kLengthByte] != f::kLengthValue) {
    return kFailed;
  }
  const auto request = BuildLoginRequest(user, password.substr(0, kMaxPasswordLength),
                                         std::span<const std::uint8_t, f::kChallengeSize>(
                                             challenge + f::kChallenge, f::kChallengeSize));
  if (Send(session, request) != 0) return kFailed;
  std::uint8_t reply[wire::ack_reply::kSize];
  if (!ReceiveFixed(session, reply, session.timing.replyMs)) return kFailed;
  return IsSuccessAck(reply, kOpLogin) ? 0 : kFailed;
}

int fetchConfigBlock(Session& session, std::span<std::uint8_t> buffer, std::size_t* received) {
  if (received) *received = 0;
  std::size_t length = 0;
  const TransferClock clock(session.timing);
  if (RequestLengthHeader(session, kOpFetchConfigBlock, length) != 0 || length == 0) {
    return kFailed;
  }
  const std::size_t kept = std::min(length, buffer.size());
  if (ReceiveBody(session, buffer.first(kept), clock) != 0) return kFailed;
  if (Discard(session, length - kept, clock) != 0) return kFailed;
  if (received) *received = kept;
  return 0;
}

int storeConfigBlock(Session& session, std::span<const std::uint8_t> block) {
  if (block.size() > wire::store_block_request::kMaxBlockSize) return kFailed;
  return Exchange(session, BuildStoreConfigBlockRequest(block), session.timing.storeMs);
}

int commitChanges(Session& session) {
  const std::uint8_t request = kOpCommitChanges;
  return Exchange(session, std::span(&request, 1), session.timing.commitMs);
}

int changePassword(Session& session, const DeviceRecord& record, std::string_view newPassword) {
  return Exchange(session, BuildChangePasswordRequest(record, newPassword, TickCountMs()),
                  session.timing.replyMs);
}

int storeSmtpPassword(Session& session, const DeviceRecord& record, std::string_view text) {
  return Exchange(session, BuildStoreSmtpPasswordRequest(record, text, TickCountMs()),
                  session.timing.replyMs);
}

int fetchSmtpPassword(Session& session, const DeviceRecord& record,
                      std::span<char, kSmtpFieldSize> out) {
  std::fill(out.begin(), out.end(), '\0');
  if (SendOpcode(session, kOpFetchSmtpPassword) != 0) return kFailed;
  std::uint8_t reply[kSmtpReplyMaxSize];
  const int received = session.connection->ReceiveOnce(reply, session.timing.replyMs);
  if (received <= 0) return kFailed;
  return DecodeSmtpPasswordReply(record, std::span(reply, static_cast<std::size_t>(received)), out)
             ? 0
             : kFailed;
}

int fetchPortMasks(Session& session, std::uint32_t& portMask, std::uint32_t& trunkPortMask) {
  namespace f = wire::port_masks_reply;
  if (SendOpcode(session, kOpFetchPortMasks) != 0) return kFailed;
  std::uint8_t reply[f::kSize];
  if (!ReceiveFixed(session, reply, session.timing.replyMs) ||
      reply[wire::kOpcodeAt] != kOpFetchPortMasks) {
    return kFailed;
  }
  portMask = LoadLe32(reply + f::kPortMask);
  trunkPortMask = LoadLe32(reply + f::kTrunkPortMask);
  return 0;
}

int fetchConfigFile(Session& session, const std::filesystem::path& path) {
  const TransferClock clock(session.timing);
  std::size_t length = 0;
  if (RequestLengthHeader(session, kOpFetchConfigFile, length) != 0) return kFailed;
  if (length == 0) {
    std::uint8_t longLength[wire::length_prefixed_reply::kLongLengthSize];
    if (!ReceiveFixed(session, longLength, session.timing.replyMs)) return kFailed;
    length = LoadBe32(longLength);
  }
  if (length > kMaxAnnouncedFileLength) return kFailed;
  // The file goes to disk piece by piece as it arrives, so an announced
  // length costs no memory of its own, and appears only when complete.
  AtomicFile file(path, kConfigFileMode);
  if (!file.ok()) return kFailed;
  std::vector<std::uint8_t> piece(std::min<std::size_t>(length, 64 * 1024));
  while (length > 0) {
    const std::size_t want = std::min(length, piece.size());
    if (ReceiveBody(session, std::span(piece.data(), want), clock) != 0) return kFailed;
    if (!file.Write(std::span(piece.data(), want))) return kFailed;
    length -= want;
  }
  return file.Commit() ? 0 : kFailed;
}

namespace {

int SendFileInPieces(Session& session, const std::filesystem::path& path, std::uint64_t size) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return kFailed;
  std::vector<std::uint8_t> piece(kFilePieceSize);
  std::uint64_t sent = 0;
  while (sent < size) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kFilePieceSize, size - sent));
    file.read(reinterpret_cast<char*>(piece.data()), static_cast<std::streamsize>(want));
    // A file that shrank while being sent would leave the announced size
    // unmet: fail rather than send a different length.
    if (static_cast<std::size_t>(file.gcount()) != want) return kFailed;
    if (session.connection->WaitWritable(session.timing.storeMs) != 0) return kFailed;
    if (session.connection->Send(std::span(piece.data(), want), session.timing.storeMs) != 0) {
      return kFailed;
    }
    sent += want;
  }
  return 0;
}

}  // namespace

int streamConfigFile(Session& session, const DeviceRecord& record,
                     const std::filesystem::path& path, std::string& groupName, int* openError) {
  groupName.clear();
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  std::ifstream probe(path, std::ios::binary);
  if (error || !probe) {
    if (openError) *openError = error ? error.value() : errno;
    return kFailed;
  }
  probe.close();
  if (size > wire::stream_request::kMaxFileSize) return kFailed;
  if (Send(session, BuildStreamConfigFileHeader(record, static_cast<std::uint32_t>(size))) != 0) {
    return kFailed;
  }
  std::uint8_t ack[wire::ack_reply::kSize];
  if (!ReceiveFixed(session, ack, session.timing.storeMs) ||
      ack[wire::ack_reply::kOpcode] != kOpStreamConfigFile ||
      ack[wire::ack_reply::kStatus] != wire::ack_reply::kTransferGoOn) {
    return kFailed;
  }
  if (SendFileInPieces(session, path, size) != 0) return kFailed;

  namespace f = wire::stream_final_reply;
  std::uint8_t final[f::kSize];
  const int received = session.connection->ReceiveOnce(final, session.timing.streamFinalMs);
  if (received == -ETIMEDOUT) return kSessionTimeout;
  if (received != static_cast<int>(sizeof final) || final[wire::kOpcodeAt] != kOpStreamConfigFile) {
    return kFailed;
  }
  const auto status = static_cast<std::int8_t>(final[f::kStatus]);
  if (status == f::kAccepted) return 0;
  if (status == f::kGroupRejected) {
    const char* name = reinterpret_cast<const char*>(final + f::kGroupName);
    groupName.assign(name, strnlen(name, f::kGroupNameSize));
    return kSessionGroupRejected;
  }
  return kFailed;
}

int fetchInfoText(Session& session, std::span<char> buffer) {
  if (buffer.empty()) return kFailed;
  buffer[0] = '\0';
  const TransferClock clock(session.timing);
  std::size_t length = 0;
  if (RequestLengthHeader(session, kOpFetchInfoText, length) != 0) return kFailed;
  if (length == 0 || length >= buffer.size()) return kFailed;
  auto* bytes = reinterpret_cast<std::uint8_t*>(buffer.data());
  if (ReceiveBody(session, std::span(bytes, length), clock) != 0) {
    buffer[0] = '\0';
    return kFailed;
  }
  buffer[length] = '\0';
  return 0;
}

int setNetworkSettings(Session& session, const DeviceRecord& record) {
  if (Send(session, BuildNetworkSettingsRequest(record)) != 0) return kFailed;
  std::uint8_t reply[wire::ack_reply::kSize];
  const int received = session.connection->ReceiveOnce(reply, session.timing.storeMs);
  if (received == -ECONNRESET || received == -ECONNABORTED) {
    if (session.connection->aborted()) return kFailed;
    std::this_thread::sleep_for(std::chrono::milliseconds(session.timing.resetPauseMs));
    return kSessionAddressApplied;
  }
  if (received != static_cast<int>(sizeof reply)) return kFailed;
  return IsSuccessAck(reply, kOpSetNetworkSettings) ? 0 : kFailed;
}

int sendCommand(Session& session, std::uint8_t opcode) {
  return Exchange(session, BuildCommandRequest(opcode), session.timing.replyMs);
}

}  // namespace vantrell
