#include "sim/session_messages.h"

#include <algorithm>
#include <cstring>

#include "core/wire/session_layout.h"
#include "sim/byte_fields.h"

namespace vantrell::sim {
namespace {

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::array<std::uint8_t, 2> SerialBytes(std::uint16_t serialNo) {
  return {static_cast<std::uint8_t>(serialNo & 0xFF), static_cast<std::uint8_t>(serialNo >> 8)};
}

template <std::size_t N>
std::array<std::uint8_t, N> Take(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::array<std::uint8_t, N> out{};
  std::memcpy(out.data(), bytes.data() + at, N);
  return out;
}

bool TicksAgree(const TickBytes& lowFirst, const TickBytes& highFirst) {
  return std::equal(lowFirst.begin(), lowFirst.end(), highFirst.rbegin());
}

std::uint32_t U32LowFirst(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

Ipv4 RawIpv4(std::span<const std::uint8_t> bytes, std::size_t at) {
  return MakeIpv4(bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]);
}

AddressSettings DecodeAddresses(std::span<const std::uint8_t> bytes, std::size_t at) {
  namespace f = wire::address_settings;
  AddressSettings a;
  a.ip = RawIpv4(bytes, at + f::kIp);
  a.netmask = RawIpv4(bytes, at + f::kNetmask);
  a.gateway = RawIpv4(bytes, at + f::kGateway);
  a.dns1 = RawIpv4(bytes, at + f::kDns1);
  a.dns2 = RawIpv4(bytes, at + f::kDns2);
  a.ipConfigFlags = U32LowFirst(bytes, at + f::kIpConfigFlags);
  return a;
}

/// The text of zero-padded bytes, or nothing when a non-zero byte follows
/// the first zero byte.
std::optional<std::string> ZeroPaddedText(std::span<const std::uint8_t> bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  if (std::any_of(end, bytes.end(), [](std::uint8_t b) { return b != 0; })) return std::nullopt;
  return std::string(bytes.begin(), end);
}

MaskedText Refused(std::string why) {
  MaskedText refused;
  refused.why = std::move(why);
  return refused;
}

/// Unmasks `masked`, checks padding, tick agreement and digest.
MaskedText Unmask(std::span<const std::uint8_t> masked, const TickBytes& tickLowFirst,
                  const TickBytes& tickHighFirst, const Md5Digest& digest,
                  std::string_view keyPassword, std::uint16_t serialNo) {
  MaskedText result;
  if (!TicksAgree(tickLowFirst, tickHighFirst)) {
    result.why = "the two tick fields disagree";
    return result;
  }
  Bytes plain(masked.begin(), masked.end());
  ApplyKeyStream(plain, MaskKey(keyPassword, serialNo, tickLowFirst));
  std::optional<std::string> text = ZeroPaddedText(plain);
  if (!text) {
    result.why = "non-zero bytes after the text (wrong key or padding)";
    return result;
  }
  if (MaskedTextDigest(*text, serialNo, tickHighFirst) != digest) {
    result.why = "digest mismatch (wrong key or digest)";
    return result;
  }
  result.ok = true;
  result.text = std::move(*text);
  return result;
}

}  // namespace

RequestFrame FrameRequest(std::span<const std::uint8_t> buffered) {
  RequestFrame frame;
  if (buffered.empty()) return frame;
  const auto need = [&](std::size_t size) {
    if (buffered.size() >= size) {
      frame.kind = RequestFrame::Kind::kComplete;
      frame.size = size;
    }
    return frame;
  };
  switch (buffered[wire::kOpcodeAt]) {
    case wire::kOpLogin:
      return need(wire::login_request::kSize);
    case wire::kOpFetchConfigBlock:
    case wire::kOpCommitChanges:
    case wire::kOpFetchChallenge:
    case wire::kOpFetchSmtpPassword:
    case wire::kOpFetchPortMasks:
    case wire::kOpFetchConfigFile:
    case wire::kOpFetchInfoText:
      return need(wire::kBareRequestSize);
    case wire::kOpSendFirmware:
      return need(wire::firmware_request::kSize);
    case wire::kOpStreamConfigFile:
      return need(wire::stream_request::kSize);
    case wire::kOpChangePassword:
      return need(wire::change_password_request::kSize);
    case wire::kOpSetNetworkSettings:
      return need(wire::network_request::kSize);
    case wire::kOpStoreConfigBlock:
      if (buffered.size() < wire::store_block_request::kHeaderSize) return frame;
      return need(wire::store_block_request::kHeaderSize +
                  GetU16HighFirst(buffered, wire::store_block_request::kLength));
    case wire::kOpStoreSmtpPassword:
      if (buffered.size() < wire::smtp_password::kFrameOverhead) return frame;
      return need(wire::smtp_password::kFrameOverhead +
                  GetU16HighFirst(buffered, wire::smtp_password::kLength));
    default: {
      if (buffered.size() < wire::command_request::kHeaderSize) return frame;
      const std::size_t length = GetU16LowFirst(buffered, wire::command_request::kLength);
      if (length < wire::command_request::kHeaderSize || length > wire::command_request::kMaxSize) {
        frame.kind = RequestFrame::Kind::kInvalid;
        frame.why = "command length " + std::to_string(length) + " outside 3.." +
                    std::to_string(wire::command_request::kMaxSize);
        return frame;
      }
      return need(length);
    }
  }
}

Md5Digest LoginDigest(std::string_view password, const Challenge& challenge) {
  Md5Builder md5;
  md5.Add(password).Add(challenge);
  return md5.Finish();
}

Md5Digest MaskKey(std::string_view password, std::uint16_t serialNo,
                  const TickBytes& tickLowFirst) {
  Md5Builder md5;
  md5.Add(password).Add(SerialBytes(serialNo)).Add(tickLowFirst);
  return md5.Finish();
}

Md5Digest MaskedTextDigest(std::string_view text, std::uint16_t serialNo,
                           const TickBytes& tickHighFirst) {
  Md5Builder md5;
  md5.Add(text).Add(SerialBytes(serialNo)).Add(tickHighFirst);
  return md5.Finish();
}

void ApplyKeyStream(std::span<std::uint8_t> bytes, const Md5Digest& key) {
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] ^= key[i % key.size()];
}

TickBytes TickLowFirst(std::uint32_t tick) {
  TickBytes out{};
  PutU32LowFirst(out, 0, tick);
  return out;
}

TickBytes TickHighFirst(std::uint32_t tick) {
  TickBytes out{};
  PutU32HighFirst(out, 0, tick);
  return out;
}

LoginCheck CheckLogin(std::span<const std::uint8_t> request, std::string_view password,
                      const Challenge& challenge) {
  namespace f = wire::login_request;
  LoginCheck check;
  if (request.size() != f::kSize || request[wire::kOpcodeAt] != wire::kOpLogin) {
    check.why = "not a 33-byte login request";
    return check;
  }
  const auto user = request.subspan(f::kUser, f::kUserSize);
  check.user = std::string(user.begin(), std::find(user.begin(), user.end(), std::uint8_t{0}));
  std::array<std::uint8_t, f::kUserSize> expectedUser{};
  std::memcpy(expectedUser.data(), kLoginUser.data(), kLoginUser.size());
  if (!std::equal(user.begin(), user.end(), expectedUser.begin())) {
    check.why = "user field is not \"admin\" padded with zero bytes";
    return check;
  }
  if (Take<wire::kDigestSize>(request, f::kDigest) != LoginDigest(password, challenge)) {
    check.why = "wrong password digest";
    return check;
  }
  check.accepted = true;
  return check;
}

MaskedText DecodeChangePassword(std::span<const std::uint8_t> request, std::string_view keyPassword,
                                std::uint16_t serialNo) {
  namespace f = wire::change_password_request;
  if (request.size() != f::kSize || request[wire::kOpcodeAt] != wire::kOpChangePassword) {
    return Refused("not a 41-byte change password request");
  }
  return Unmask(request.subspan(f::kMaskedPassword, f::kPasswordSize),
                Take<wire::kTickSize>(request, f::kTickLowFirst),
                Take<wire::kTickSize>(request, f::kTickHighFirst),
                Take<wire::kDigestSize>(request, f::kDigest), keyPassword, serialNo);
}

MaskedText DecodeStoreSmtpPassword(std::span<const std::uint8_t> request,
                                   std::string_view keyPassword, std::uint16_t serialNo) {
  namespace f = wire::smtp_password;
  if (request.size() < f::kMasked + f::kTrailerSize ||
      request[wire::kOpcodeAt] != wire::kOpStoreSmtpPassword) {
    return Refused("too short for a mail-server password request");
  }
  const std::size_t length = GetU16HighFirst(request, f::kLength);
  if (length + f::kFrameOverhead != request.size()) {
    return Refused("length field disagrees with the request size");
  }
  const std::size_t masked = length - f::kLengthOverhead;
  if (masked < f::kMinMasked || masked > f::kMaxText) {
    return Refused(std::to_string(masked) + " masked bytes, not 16..45");
  }
  MaskedText result =
      Unmask(request.subspan(f::kMasked, masked), Take<wire::kTickSize>(request, f::kTickLowFirst),
             Take<wire::kTickSize>(request, f::kMasked + masked + f::kTickHighFirstAfterMasked),
             Take<wire::kDigestSize>(request, f::kMasked + masked + f::kDigestAfterMasked),
             keyPassword, serialNo);
  if (result.ok && masked != std::max(result.text.size(), f::kMinMasked)) {
    result.why = std::to_string(masked) + " masked bytes for a text of " +
                 std::to_string(result.text.size());
    result.ok = false;
    result.text.clear();
  }
  return result;
}

std::optional<AddressSettings> DecodeNetworkSettings(std::span<const std::uint8_t> request) {
  if (request.size() != wire::network_request::kSize ||
      request[wire::kOpcodeAt] != wire::kOpSetNetworkSettings) {
    return std::nullopt;
  }
  return DecodeAddresses(request, wire::network_request::kAddresses);
}

std::optional<StreamHeader> DecodeStreamHeader(std::span<const std::uint8_t> request) {
  if (request.size() != wire::stream_request::kSize ||
      request[wire::kOpcodeAt] != wire::kOpStreamConfigFile) {
    return std::nullopt;
  }
  StreamHeader header;
  header.fileSize = U32LowFirst(request, wire::stream_request::kFileSize);
  header.addresses = DecodeAddresses(request, wire::stream_request::kAddresses);
  return header;
}

std::optional<std::uint32_t> DecodeFirmwareHeader(std::span<const std::uint8_t> request) {
  if (request.size() != wire::firmware_request::kSize ||
      request[wire::kOpcodeAt] != wire::kOpSendFirmware) {
    return std::nullopt;
  }
  return U32LowFirst(request, wire::firmware_request::kFileSize);
}

std::optional<std::span<const std::uint8_t>> DecodeStoreBlock(
    std::span<const std::uint8_t> request) {
  namespace f = wire::store_block_request;
  if (request.size() < f::kHeaderSize || request[wire::kOpcodeAt] != wire::kOpStoreConfigBlock) {
    return std::nullopt;
  }
  const std::size_t length = GetU16HighFirst(request, f::kLength);
  if (request.size() != f::kHeaderSize + length) return std::nullopt;
  return request.subspan(f::kBlock, length);
}

std::optional<CommandRequest> DecodeCommand(std::span<const std::uint8_t> request) {
  namespace f = wire::command_request;
  if (request.size() < f::kHeaderSize) return std::nullopt;
  CommandRequest command;
  command.opcode = request[wire::kOpcodeAt];
  command.length = GetU16LowFirst(request, f::kLength);
  if (command.length != request.size()) return std::nullopt;
  command.parameters.assign(request.begin() + f::kParameters, request.end());
  return command;
}

Bytes EncodeAck(std::uint8_t opcodeValue, std::uint8_t status) { return {opcodeValue, status}; }

Bytes EncodeChallengeReply(const Challenge& challenge) {
  Bytes reply(wire::challenge_reply::kSize);
  reply[wire::kOpcodeAt] = wire::kOpFetchChallenge;
  reply[wire::challenge_reply::kLengthByte] = wire::challenge_reply::kLengthValue;
  std::copy(challenge.begin(), challenge.end(), reply.begin() + wire::challenge_reply::kChallenge);
  return reply;
}

Bytes EncodeLengthPrefixed(std::uint8_t opcodeValue, std::span<const std::uint8_t> payload) {
  const std::size_t n = std::min(payload.size(), wire::length_prefixed_reply::kMaxShortLength);
  Bytes reply(wire::length_prefixed_reply::kHeaderSize + n);
  reply[wire::kOpcodeAt] = opcodeValue;
  PutU16HighFirst(reply, wire::length_prefixed_reply::kLength, static_cast<std::uint16_t>(n));
  std::copy_n(payload.begin(), n, reply.begin() + wire::length_prefixed_reply::kHeaderSize);
  return reply;
}

Bytes EncodeConfigFileReply(std::string_view file, bool longHeader, std::uint32_t claimedLength) {
  // Length 0 in the short header announces the 32-bit length, so an empty
  // file needs the long form as well.
  if (!longHeader && claimedLength == 0 && !file.empty() &&
      file.size() <= wire::length_prefixed_reply::kMaxShortLength) {
    return EncodeLengthPrefixed(wire::kOpFetchConfigFile, AsBytes(file));
  }
  Bytes reply(wire::length_prefixed_reply::kLongHeaderSize + file.size());
  reply[wire::kOpcodeAt] = wire::kOpFetchConfigFile;
  PutU16HighFirst(reply, wire::length_prefixed_reply::kLength, 0);
  PutU32HighFirst(reply, wire::length_prefixed_reply::kLongLength,
                  claimedLength != 0 ? claimedLength : static_cast<std::uint32_t>(file.size()));
  std::memcpy(reply.data() + wire::length_prefixed_reply::kLongHeaderSize, file.data(),
              file.size());
  return reply;
}

Bytes EncodePortMasksReply(std::uint32_t portMask, std::uint32_t trunkPortMask) {
  Bytes reply(wire::port_masks_reply::kSize);
  reply[wire::kOpcodeAt] = wire::kOpFetchPortMasks;
  reply[wire::port_masks_reply::kStatus] = wire::ack_reply::kSuccess;
  PutU32LowFirst(reply, wire::port_masks_reply::kPortMask, portMask);
  PutU32LowFirst(reply, wire::port_masks_reply::kTrunkPortMask, trunkPortMask);
  return reply;
}

Bytes EncodeSmtpPasswordReply(std::string_view text, std::string_view keyPassword,
                              std::uint16_t serialNo, std::uint32_t tick) {
  namespace f = wire::smtp_password;
  text = text.substr(0, f::kMaxText);
  const std::size_t masked = std::max(text.size(), f::kMinMasked);
  Bytes reply(f::kMasked + masked + f::kTrailerSize, 0);
  reply[wire::kOpcodeAt] = wire::kOpFetchSmtpPassword;
  PutU16HighFirst(reply, f::kLength, static_cast<std::uint16_t>(masked + f::kLengthOverhead));
  const TickBytes low = TickLowFirst(tick);
  const TickBytes high = TickHighFirst(tick);
  std::copy(low.begin(), low.end(), reply.begin() + f::kTickLowFirst);
  const auto field = std::span<std::uint8_t>(reply).subspan(f::kMasked, masked);
  std::memcpy(field.data(), text.data(), text.size());
  ApplyKeyStream(field, MaskKey(keyPassword, serialNo, low));
  std::copy(high.begin(), high.end(),
            reply.begin() + f::kMasked + masked + f::kTickHighFirstAfterMasked);
  const Md5Digest digest = MaskedTextDigest(text, serialNo, high);
  std::copy(digest.begin(), digest.end(),
            reply.begin() + f::kMasked + masked + f::kDigestAfterMasked);
  return reply;
}

Bytes EncodeStreamFinalReply(std::int8_t status, std::string_view groupName) {
  namespace f = wire::stream_final_reply;
  Bytes reply(f::kSize, 0);
  reply[wire::kOpcodeAt] = wire::kOpStreamConfigFile;
  reply[f::kStatus] = static_cast<std::uint8_t>(status);
  // Leave room for the terminating zero byte.
  PutText(reply, f::kGroupName, f::kGroupNameSize - 1, groupName);
  return reply;
}

std::string HexText(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 0x0F]);
  }
  return text;
}

}  // namespace vantrell::sim
