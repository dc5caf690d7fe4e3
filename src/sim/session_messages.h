#pragma once
/// What a simulated device reads and writes on its TCP session: how long
/// the next request in the input is, the decoders of the requests (login,
/// masked passwords, address settings, transfer headers, commands) with the
/// checks a careful device makes, and the encoders of its replies. Free of
/// sockets; every decoder checks the length it is given.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ipv4.h"
#include "platform/digest.h"

namespace vantrell::sim {

using Bytes = std::vector<std::uint8_t>;
/// The four challenge bytes of a login.
using Challenge = std::array<std::uint8_t, 4>;
/// Four tick bytes exactly as they stand on the wire.
using TickBytes = std::array<std::uint8_t, 4>;

/// The user name every login carries.
inline constexpr std::string_view kLoginUser = "admin";

/// How many bytes of buffered input the next request takes.
struct RequestFrame {
  enum class Kind {
    kNeedMore,  ///< not enough bytes yet to know or to hold the request
    kComplete,  ///< the first `size` bytes are one request
    kInvalid,   ///< the length field is impossible; the stream cannot be followed
  };
  Kind kind = Kind::kNeedMore;
  std::size_t size = 0;
  std::string why;  ///< kInvalid: the reason
};

/// Frames the request at the start of `buffered`. For the firmware (0x0D)
/// and stream (0x1F) transfers this is the header only; the file follows
/// once the device has answered. An opcode the device does not know is read
/// in the command form (its 16-bit low-byte-first length, 3..256).
RequestFrame FrameRequest(std::span<const std::uint8_t> buffered);

/// MD5(password, C): the digest of a login.
Md5Digest LoginDigest(std::string_view password, const Challenge& challenge);
/// MD5(password, serial low byte, serial high byte, T as on the wire).
Md5Digest MaskKey(std::string_view password, std::uint16_t serialNo, const TickBytes& tickLowFirst);
/// MD5(text, serial low byte, serial high byte, T high byte first): the
/// digest that closes a masked request.
Md5Digest MaskedTextDigest(std::string_view text, std::uint16_t serialNo,
                           const TickBytes& tickHighFirst);
/// XORs `bytes` with the key repeated (byte i with key[i % 16]).
void ApplyKeyStream(std::span<std::uint8_t> bytes, const Md5Digest& key);

TickBytes TickLowFirst(std::uint32_t tick);
TickBytes TickHighFirst(std::uint32_t tick);

/// The verdict on a 33-byte login request.
struct LoginCheck {
  bool accepted = false;
  std::string user;  ///< the user name field up to its first zero byte
  std::string why;   ///< when refused
};

/// Accepts the login when the request is 33 bytes, the user field is
/// exactly "admin" and eleven zero bytes, and the digest is
/// MD5(password, challenge).
LoginCheck CheckLogin(std::span<const std::uint8_t> request, std::string_view password,
                      const Challenge& challenge);

/// A text the workstation sent masked.
struct MaskedText {
  bool ok = false;   ///< every check passed
  std::string text;  ///< the text, when ok
  std::string why;   ///< otherwise: the check that failed
};

/// Decodes a 41-byte change password request (0x15) with the key of
/// `keyPassword`. Checks: both tick fields carry the same T; the bytes after
/// the new password are zero; the final digest matches.
MaskedText DecodeChangePassword(std::span<const std::uint8_t> request, std::string_view keyPassword,
                                std::uint16_t serialNo);

/// Decodes a mail-server password request (0x17) with the key of
/// `keyPassword`. Checks: the length field matches the request; 16 to 45
/// masked bytes, exactly max(text length, 16) of them; zero padding; both
/// tick fields agree; the final digest matches.
MaskedText DecodeStoreSmtpPassword(std::span<const std::uint8_t> request,
                                   std::string_view keyPassword, std::uint16_t serialNo);

/// Address settings as 0x1F and 0x22 carry them.
struct AddressSettings {
  Ipv4 ip = 0;  ///< network order, like every address here
  Ipv4 netmask = 0;
  Ipv4 gateway = 0;
  Ipv4 dns1 = 0;
  Ipv4 dns2 = 0;
  std::uint32_t ipConfigFlags = 0;
};

/// The 27-byte network settings request (0x22).
std::optional<AddressSettings> DecodeNetworkSettings(std::span<const std::uint8_t> request);

/// The 29-byte header of a streamed configuration file (0x1F).
struct StreamHeader {
  std::uint32_t fileSize = 0;
  AddressSettings addresses;
};
std::optional<StreamHeader> DecodeStreamHeader(std::span<const std::uint8_t> request);

/// The 5-byte firmware header (0x0D): the image size.
std::optional<std::uint32_t> DecodeFirmwareHeader(std::span<const std::uint8_t> request);

/// The block of a store block request (0x09); nothing when the length field
/// disagrees with the request's size.
std::optional<std::span<const std::uint8_t>> DecodeStoreBlock(
    std::span<const std::uint8_t> request);

/// A command request: opcode, its length, and what follows.
struct CommandRequest {
  std::uint8_t opcode = 0;
  std::uint16_t length = 0;
  Bytes parameters;
};
std::optional<CommandRequest> DecodeCommand(std::span<const std::uint8_t> request);

Bytes EncodeAck(std::uint8_t opcode, std::uint8_t status);
Bytes EncodeChallengeReply(const Challenge& challenge);
/// Opcode, n high byte first, the n bytes (at most 65535).
Bytes EncodeLengthPrefixed(std::uint8_t opcode, std::span<const std::uint8_t> payload);
/// The configuration file reply (0x20): the short header when the file is
/// 1..65535 bytes and `longHeader` is false, else length 0 and the 32-bit
/// length (an empty file too: a short length 0 would announce the long form).
/// `claimedLength` other than 0 goes into the long header in place of the
/// file's size.
Bytes EncodeConfigFileReply(std::string_view file, bool longHeader,
                            std::uint32_t claimedLength = 0);
Bytes EncodePortMasksReply(std::uint32_t portMask, std::uint32_t trunkPortMask);
/// The mail-server password reply (0x18) with the device's own tick T,
/// masked with the key of `keyPassword`: the text padded with zero bytes to
/// 16 when shorter, at most 45 characters.
Bytes EncodeSmtpPasswordReply(std::string_view text, std::string_view keyPassword,
                              std::uint16_t serialNo, std::uint32_t tick);
/// The 32-byte final reply of a streamed configuration file.
Bytes EncodeStreamFinalReply(std::int8_t status, std::string_view groupName);

/// Lower-case hexadecimal of `bytes`, no separators.
std::string HexText(std::span<const std::uint8_t> bytes);

}  // namespace vantrell::sim
