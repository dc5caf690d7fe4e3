#include "sim/device_session.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "core/ipv4.h"
#include "core/wire/session_layout.h"
#include "platform/tick.h"
#include "sim/mail_password_slot.h"

namespace vantrell::sim {
namespace {

using nlohmann::json;

/// Input kept before the consumed part is dropped from the buffer.
constexpr std::size_t kCompactThreshold = 64 * 1024;
/// How long a stalled firmware transfer stays silent.
constexpr int kStallMs = 600000;
/// The first firmware reply to an image larger than a device takes.
constexpr std::uint8_t kFirmwareTooLarge = 0xFE;

std::string HexByte(std::uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string Md5Hex(const Md5Digest& digest) { return HexText(digest); }

void PutAddresses(json& entry, const AddressSettings& a) {
  entry["ipAddr"] = FormatIpv4(a.ip);
  entry["netmask"] = FormatIpv4(a.netmask);
  entry["gateway"] = FormatIpv4(a.gateway);
  entry["dns1"] = FormatIpv4(a.dns1);
  entry["dns2"] = FormatIpv4(a.dns2);
  entry["ipConfigFlags"] = a.ipConfigFlags;
}

/// An address a device can take: not 0.0.0.0, not multicast, not ending in 255.
bool UsableAddress(Ipv4 address) { return address != 0 && IsUsableHostAddress(address); }

/// The status with which a request before the login is refused.
std::uint8_t RefusalStatus(std::uint8_t opcodeValue) {
  return opcodeValue == wire::kOpSendFirmware || opcodeValue == wire::kOpStreamConfigFile
             ? wire::ack_reply::kTransferRefused
             : wire::ack_reply::kRefused;
}

}  // namespace

/// The image or file the device is receiving after its first reply.
struct DeviceSession::Transfer {
  std::uint8_t opcode = 0;
  Bytes header;
  std::uint32_t expected = 0;
  std::uint32_t received = 0;
  Md5Builder md5;
  std::string data;                    ///< streamed configuration file only
  std::optional<StreamHeader> stream;  ///< streamed configuration file only
  bool stalled = false;                ///< firmware: the stall has begun
};

SessionSources DefaultSessionSources() {
  auto engine = std::make_shared<std::mt19937>(std::random_device{}());
  SessionSources sources;
  sources.challenge = [engine] {
    Challenge challenge{};
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : challenge) b = static_cast<std::uint8_t>(byte(*engine));
    return challenge;
  };
  sources.tick = [] { return TickCountMs(); };
  return sources;
}

DeviceSession::DeviceSession(SimDevice& device, Recorder* recorder, SessionSources sources)
    : device_(device), recorder_(recorder), sources_(std::move(sources)) {}

DeviceSession::~DeviceSession() = default;

void DeviceSession::Receive(std::span<const std::uint8_t> bytes) {
  if (broken_) return;
  input_.insert(input_.end(), bytes.begin(), bytes.end());
}

void DeviceSession::Compact() {
  if (consumed_ == input_.size()) {
    input_.clear();
    consumed_ = 0;
  } else if (consumed_ >= kCompactThreshold) {
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(consumed_));
    consumed_ = 0;
  }
}

void DeviceSession::Write(json entry) { Record(recorder_, device_, "tcp", std::move(entry)); }

std::optional<SessionStep> DeviceSession::Next() {
  if (broken_) return std::nullopt;
  if (transfer_) {
    std::optional<SessionStep> step = ContinueTransfer();
    Compact();
    return step;
  }
  const std::span<const std::uint8_t> available(input_.data() + consumed_, Buffered());
  const RequestFrame frame = FrameRequest(available);
  switch (frame.kind) {
    case RequestFrame::Kind::kNeedMore:
      return std::nullopt;
    case RequestFrame::Kind::kInvalid: {
      broken_ = true;
      const std::size_t shown = std::min(available.size(), wire::command_request::kHeaderSize);
      Write({{"opcode", available[0]},
             {"bytes", HexText(available.first(shown))},
             {"result", "invalid request (" + frame.why + "); connection closed"}});
      SessionStep step;
      step.then = SessionStep::Then::kClose;
      step.note = "invalid request (" + frame.why + "); closing";
      return step;
    }
    case RequestFrame::Kind::kComplete:
      break;
  }
  // Copy the request: handling it may start a transfer that reuses the buffer.
  const Bytes request(available.begin(),
                      available.begin() + static_cast<std::ptrdiff_t>(frame.size));
  consumed_ += frame.size;
  SessionStep step = Handle(request);
  Compact();
  return step;
}

SessionStep DeviceSession::Reply(Bytes bytes) const {
  SessionStep step;
  step.delayMs = device_.faults.replyDelayMs;
  step.reply = std::move(bytes);
  return step;
}

bool DeviceSession::RefusesOpcode(std::uint8_t opcodeValue) const {
  const auto& list = device_.faults.refuseOpcodes;
  return std::find(list.begin(), list.end(), opcodeValue) != list.end();
}

SessionStep DeviceSession::Ack(std::uint8_t opcodeValue, json& entry, bool* refused) {
  *refused = RefusesOpcode(opcodeValue);
  if (*refused) entry["result"] = "refused (refuseOpcodes)";
  return Reply(
      EncodeAck(opcodeValue, *refused ? wire::ack_reply::kRefused : wire::ack_reply::kSuccess));
}

SessionStep DeviceSession::Refuse(std::uint8_t opcodeValue, json& entry, const std::string& why) {
  entry["result"] = "refused: " + why;
  return Reply(EncodeAck(opcodeValue, RefusalStatus(opcodeValue)));
}

SessionStep DeviceSession::Handle(std::span<const std::uint8_t> request) {
  const std::uint8_t op = request[wire::kOpcodeAt];
  json entry = {{"opcode", op}, {"bytes", HexText(request)}};
  SessionStep step;
  if (op == wire::kOpFetchChallenge) {
    step = IssueChallenge(entry);
  } else if (op == wire::kOpLogin) {
    step = Login(request, entry);
  } else if (op == wire::kOpFetchInfoText) {
    entry["result"] = "info text, " + std::to_string(device_.infoText.size()) + " bytes";
    step = Reply(EncodeLengthPrefixed(op, AsBytes(device_.infoText)));
  } else if (!loggedIn_) {
    step = Refuse(op, entry, "not logged in");
  } else {
    step = HandleLoggedIn(request, entry);
  }
  step.note = HexByte(op) + ": " + entry.value("result", std::string("transfer started"));
  // A transfer is recorded when it ends.
  if (!transfer_) Write(std::move(entry));
  return step;
}

SessionStep DeviceSession::HandleLoggedIn(std::span<const std::uint8_t> request, json& entry) {
  const std::uint8_t op = request[wire::kOpcodeAt];
  switch (op) {
    case wire::kOpFetchConfigBlock:
      entry["result"] = "block, " + std::to_string(device_.configBlock.size()) + " bytes";
      return Reply(EncodeLengthPrefixed(op, HandedOutBlock(device_.modelId, device_.configBlock)));
    case wire::kOpStoreConfigBlock:
      return StoreBlock(request, entry);
    case wire::kOpCommitChanges:
      return Commit(entry);
    case wire::kOpChangePassword:
      return ChangePassword(request, entry);
    case wire::kOpStoreSmtpPassword:
      return StoreSmtpPassword(request, entry);
    case wire::kOpFetchSmtpPassword:
      entry["result"] = "mail-server password sent";
      return Reply(EncodeSmtpPasswordReply(device_.smtpPassword, keyPassword_, device_.serialNo,
                                           sources_.tick()));
    case wire::kOpFetchPortMasks:
      entry["result"] = "port masks sent";
      return Reply(EncodePortMasksReply(device_.portMask, device_.trunkPortMask));
    case wire::kOpFetchConfigFile:
      entry["result"] = "configuration file, " + std::to_string(device_.configFile.size()) +
                        " bytes" + (device_.faults.longFileHeader ? " (long header)" : "");
      return Reply(EncodeConfigFileReply(device_.configFile, device_.faults.longFileHeader,
                                         device_.faults.fileLengthClaim));
    case wire::kOpSetNetworkSettings:
      return SetNetworkSettings(request, entry);
    case wire::kOpSendFirmware:
      return StartFirmware(request, entry);
    case wire::kOpStreamConfigFile:
      return StartStream(request, entry);
    default:
      return Command(request, entry);
  }
}

SessionStep DeviceSession::IssueChallenge(json& entry) {
  challenge_ = sources_.challenge();
  entry["challenge"] = HexText(*challenge_);
  entry["result"] = "challenge sent";
  return Reply(EncodeChallengeReply(*challenge_));
}

SessionStep DeviceSession::Login(std::span<const std::uint8_t> request, json& entry) {
  std::string why;
  bool accepted = false;
  if (!challenge_) {
    why = "no challenge was asked for";
  } else {
    const LoginCheck check = CheckLogin(request, device_.password, *challenge_);
    entry["user"] = check.user;
    accepted = check.accepted;
    why = check.why;
    if (accepted && device_.faults.refuseLogin) {
      accepted = false;
      why = "refuseLogin";
    }
  }
  challenge_.reset();  // a challenge answers one login only
  loggedIn_ = accepted;
  if (accepted) keyPassword_ = device_.password;
  entry["result"] = accepted ? "login accepted" : "login refused: " + why;
  return Reply(
      EncodeAck(wire::kOpLogin, accepted ? wire::ack_reply::kSuccess : wire::ack_reply::kRefused));
}

SessionStep DeviceSession::StoreBlock(std::span<const std::uint8_t> request, json& entry) {
  const auto block = DecodeStoreBlock(request);
  if (!block || block->empty() || block->size() > kMaxConfigBlockSize) {
    return Refuse(wire::kOpStoreConfigBlock, entry,
                  "block of " +
                      std::to_string(request.size() - wire::store_block_request::kHeaderSize) +
                      " bytes, not 1.." + std::to_string(kMaxConfigBlockSize));
  }
  entry["blockLength"] = block->size();
  bool refused = false;
  SessionStep step = Ack(wire::kOpStoreConfigBlock, entry, &refused);
  if (!refused) {
    pending_.block = Bytes(block->begin(), block->end());
    entry["result"] = "block staged until commit";
  }
  return step;
}

SessionStep DeviceSession::Commit(json& entry) {
  bool refused = false;
  SessionStep step = Ack(wire::kOpCommitChanges, entry, &refused);
  if (refused) {
    pending_ = Pending{};
    return step;
  }
  std::string applied;
  const auto note = [&applied](const std::string& what) {
    applied += (applied.empty() ? "" : ", ") + what;
  };
  if (pending_.password) {
    device_.password = *pending_.password;
    // The details reply shows the protection the password gives.
    if (device_.password.empty()) {
      device_.statusFlags &= static_cast<std::uint8_t>(~1u);
    } else {
      device_.statusFlags |= 1u;
    }
    note("password");
  }
  if (pending_.smtpPassword) {
    device_.smtpPassword = *pending_.smtpPassword;
    note("smtpPassword");
  }
  if (pending_.block) {
    device_.configBlock = std::move(*pending_.block);
    note("block");
  }
  pending_ = Pending{};
  entry["result"] = applied.empty() ? "committed (nothing staged)" : "committed " + applied;
  return step;
}

SessionStep DeviceSession::ChangePassword(std::span<const std::uint8_t> request, json& entry) {
  const MaskedText decoded = DecodeChangePassword(request, keyPassword_, device_.serialNo);
  if (!decoded.ok) return Refuse(wire::kOpChangePassword, entry, decoded.why);
  entry["newPassword"] = decoded.text;
  bool refused = false;
  SessionStep step = Ack(wire::kOpChangePassword, entry, &refused);
  if (!refused) {
    pending_.password = decoded.text;
    entry["result"] = "password staged until commit";
  }
  return step;
}

SessionStep DeviceSession::StoreSmtpPassword(std::span<const std::uint8_t> request, json& entry) {
  const MaskedText decoded = DecodeStoreSmtpPassword(request, keyPassword_, device_.serialNo);
  if (!decoded.ok) return Refuse(wire::kOpStoreSmtpPassword, entry, decoded.why);
  entry["smtpPassword"] = decoded.text;
  bool refused = false;
  SessionStep step = Ack(wire::kOpStoreSmtpPassword, entry, &refused);
  if (!refused) {
    pending_.smtpPassword = decoded.text;
    entry["result"] = "mail-server password staged until commit";
  }
  return step;
}

SessionStep DeviceSession::SetNetworkSettings(std::span<const std::uint8_t> request, json& entry) {
  const std::optional<AddressSettings> settings = DecodeNetworkSettings(request);
  if (!settings) return Refuse(wire::kOpSetNetworkSettings, entry, "not 27 bytes");
  PutAddresses(entry, *settings);
  if (!UsableAddress(settings->ip)) {
    return Refuse(wire::kOpSetNetworkSettings, entry, "unusable address");
  }
  if (device_.faults.resetOnNetworkSettings && !RefusesOpcode(wire::kOpSetNetworkSettings)) {
    entry["result"] = "connection reset; new settings taken";
    SessionStep step;
    step.delayMs = device_.faults.replyDelayMs;
    step.then = SessionStep::Then::kReset;
    step.newAddresses = settings;
    return step;
  }
  bool refused = false;
  SessionStep step = Ack(wire::kOpSetNetworkSettings, entry, &refused);
  if (!refused) {
    entry["result"] = "new settings taken";
    step.newAddresses = settings;
  }
  return step;
}

SessionStep DeviceSession::StartFirmware(std::span<const std::uint8_t> request, json& entry) {
  const std::uint32_t size = DecodeFirmwareHeader(request).value_or(0);
  entry["imageLength"] = size;
  std::uint8_t status = device_.faults.firmwareFirstReply;
  if (size > kMaxFirmwareImageBytes) status = kFirmwareTooLarge;
  if (status != kFirmwareGoOn) {
    entry["result"] = "first reply " + HexByte(status) + "; no image taken";
    return Reply(EncodeAck(wire::kOpSendFirmware, status));
  }
  transfer_ = std::make_unique<Transfer>();
  transfer_->opcode = wire::kOpSendFirmware;
  transfer_->header.assign(request.begin(), request.end());
  transfer_->expected = size;
  return Reply(EncodeAck(wire::kOpSendFirmware, kFirmwareGoOn));
}

SessionStep DeviceSession::StartStream(std::span<const std::uint8_t> request, json& entry) {
  const std::optional<StreamHeader> header = DecodeStreamHeader(request);
  const std::uint32_t size = header ? header->fileSize : 0;
  entry["fileLength"] = size;
  if (header) PutAddresses(entry, header->addresses);
  std::uint8_t status = device_.faults.streamFirstReply;
  if (size > kMaxStreamedFileBytes) status = wire::ack_reply::kTransferRefused;
  if (status != wire::ack_reply::kTransferGoOn) {
    entry["result"] = "first reply " + HexByte(status) + "; no file taken";
    return Reply(EncodeAck(wire::kOpStreamConfigFile, status));
  }
  transfer_ = std::make_unique<Transfer>();
  transfer_->opcode = wire::kOpStreamConfigFile;
  transfer_->header.assign(request.begin(), request.end());
  transfer_->expected = size;
  transfer_->stream = header;
  transfer_->data.reserve(size);
  return Reply(EncodeAck(wire::kOpStreamConfigFile, wire::ack_reply::kTransferGoOn));
}

SessionStep DeviceSession::Command(std::span<const std::uint8_t> request, json& entry) {
  const std::optional<CommandRequest> command = DecodeCommand(request);
  if (!command) return Refuse(request[wire::kOpcodeAt], entry, "malformed command");
  entry["parameters"] = HexText(command->parameters);
  if (command->opcode == wire::kOpSetDefault) entry["command"] = "Set Default";
  bool refused = false;
  SessionStep step = Ack(command->opcode, entry, &refused);
  if (!refused) entry["result"] = "command acknowledged";
  return step;
}

std::optional<SessionStep> DeviceSession::ContinueTransfer() {
  Transfer& t = *transfer_;
  const std::size_t want = t.expected - t.received;
  std::size_t take = std::min(want, Buffered());
  const std::uint32_t stallAt = device_.faults.firmwareStallAfter;
  const bool stallAhead =
      t.opcode == wire::kOpSendFirmware && stallAt > 0 && !t.stalled && stallAt < t.expected;
  if (stallAhead) take = std::min<std::size_t>(take, stallAt - t.received);
  const std::span<const std::uint8_t> piece(input_.data() + consumed_, take);
  t.md5.Add(piece);
  if (t.stream) t.data.append(piece.begin(), piece.end());
  t.received += static_cast<std::uint32_t>(take);
  consumed_ += take;
  if (stallAhead && t.received >= stallAt) {
    // Reads nothing more of this connection for the longest delay there is.
    t.stalled = true;
    SessionStep stall;
    stall.delayMs = kStallMs;
    stall.note = "0x0D: stalled after " + std::to_string(t.received) + " bytes";
    return stall;
  }
  if (t.received < t.expected) return std::nullopt;
  return t.opcode == wire::kOpSendFirmware ? FinishFirmware() : FinishStream();
}

SessionStep DeviceSession::FinishFirmware() {
  const std::unique_ptr<Transfer> t = std::move(transfer_);
  json entry = {{"opcode", t->opcode},
                {"bytes", HexText(t->header)},
                {"imageLength", t->received},
                {"imageMd5", Md5Hex(t->md5.Finish())}};
  SessionStep step;
  step.delayMs = device_.faults.firmwareSaveMs + device_.faults.replyDelayMs;
  if (device_.faults.firmwareCloseWithoutAnswer) {
    step.then = SessionStep::Then::kClose;
    entry["result"] = "image taken; closed without answer";
  } else {
    step.reply = EncodeAck(wire::kOpSendFirmware, device_.faults.firmwareStatus);
    entry["result"] = "image taken; final status " + HexByte(device_.faults.firmwareStatus);
  }
  step.note = "0x0D: " + entry["result"].get<std::string>();
  Write(std::move(entry));
  return step;
}

SessionStep DeviceSession::FinishStream() {
  const std::unique_ptr<Transfer> t = std::move(transfer_);
  const std::int8_t status = device_.faults.streamFinalStatus;
  json entry = {{"opcode", t->opcode},
                {"bytes", HexText(t->header)},
                {"fileLength", t->received},
                {"fileMd5", Md5Hex(t->md5.Finish())}};
  if (t->stream) PutAddresses(entry, t->stream->addresses);
  SessionStep step =
      Reply(EncodeStreamFinalReply(status, status != 0 ? device_.faults.streamGroupName : ""));
  if (status == 0) {
    device_.configFile = std::move(t->data);
    entry["result"] = "file taken; final status 0";
    if (t->stream && UsableAddress(t->stream->addresses.ip)) {
      step.newAddresses = t->stream->addresses;
    } else {
      entry["result"] = "file taken; final status 0; unusable address settings ignored";
    }
  } else {
    entry["result"] = "file refused; final status " + std::to_string(status) + " group \"" +
                      device_.faults.streamGroupName + "\"";
  }
  step.note = "0x1F: " + entry["result"].get<std::string>();
  Write(std::move(entry));
  return step;
}

void DeviceSession::ConnectionEnded(const std::string& how) {
  if (transfer_) {
    const std::unique_ptr<Transfer> t = std::move(transfer_);
    Write({{"opcode", t->opcode},
           {"bytes", HexText(t->header)},
           {t->opcode == wire::kOpSendFirmware ? "imageLength" : "fileLength", t->received},
           {"result", "transfer incomplete: " + how + " after " + std::to_string(t->received) +
                          " of " + std::to_string(t->expected) + " bytes"}});
  } else if (Buffered() > 0 && !broken_) {
    const std::span<const std::uint8_t> rest(input_.data() + consumed_, Buffered());
    const bool whole = FrameRequest(rest).kind == RequestFrame::Kind::kComplete;
    Write({{"opcode", rest[0]},
           {"bytes", HexText(rest)},
           {"result", (whole ? "request not handled: " : "incomplete request: ") + how}});
  }
  if (!pending_.Empty()) {
    std::string dropped;
    if (pending_.password) dropped += "password ";
    if (pending_.smtpPassword) dropped += "smtpPassword ";
    if (pending_.block) dropped += "block ";
    dropped.pop_back();
    Write({{"result", "uncommitted changes dropped (" + dropped + "): " + how}});
  }
  pending_ = Pending{};
  input_.clear();
  consumed_ = 0;
  broken_ = true;
}

}  // namespace vantrell::sim
