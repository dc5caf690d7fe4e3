#pragma once
/// The byte layout of the session protocol on TCP port 4000: the opcodes and,
/// for every request and reply that carries more than its opcode, the offset
/// and size of each field. The client (net) and the simulated device (sim)
/// both encode and decode from these tables, each with its own code.
///
/// Each request starts with its opcode; each reply repeats it in byte 0.
/// Byte order is fixed per field: lengths of variable parts are 16-bit high
/// byte first, except the 16-bit length of a command request (low byte
/// first); tick values travel twice, low byte first and high byte first;
/// file sizes, flag words and port masks are 32-bit low byte first;
/// addresses are in network order.

#include <cstddef>
#include <cstdint>

namespace vantrell::wire {

/// Byte 0 of a request and of its reply.
enum SessionOpcode : std::uint8_t {
  kOpLogin = 0x00,
  kOpFetchConfigBlock = 0x08,
  kOpStoreConfigBlock = 0x09,
  kOpCommitChanges = 0x0C,
  kOpSendFirmware = 0x0D,
  kOpFetchChallenge = 0x14,
  kOpChangePassword = 0x15,
  kOpStoreSmtpPassword = 0x17,
  kOpFetchSmtpPassword = 0x18,
  kOpFetchPortMasks = 0x1E,
  kOpStreamConfigFile = 0x1F,
  kOpFetchConfigFile = 0x20,
  kOpFetchInfoText = 0x21,
  kOpSetNetworkSettings = 0x22,
  /// The command the "Set Default" operation sends in the command form.
  kOpSetDefault = 0x29,
};

/// Byte 0 of every request and reply.
inline constexpr std::size_t kOpcodeAt = 0;
/// A request that is its opcode alone.
inline constexpr std::size_t kBareRequestSize = 1;
/// Tick values, challenges: four bytes.
inline constexpr std::size_t kTickSize = 4;
/// MD5 digests.
inline constexpr std::size_t kDigestSize = 16;
/// The longest password the devices keep; it fills the masked field of 0x15.
inline constexpr std::size_t kMaxPasswordLength = 16;

/// Two-byte acknowledgement: opcode, status.
namespace ack_reply {
inline constexpr std::size_t kOpcode = 0;
inline constexpr std::size_t kStatus = 1;
inline constexpr std::size_t kSize = 2;
inline constexpr std::uint8_t kSuccess = 0x01;
inline constexpr std::uint8_t kRefused = 0x00;
/// For the two transfers (0x0D, 0x1F), the first reply's "send the file".
inline constexpr std::uint8_t kTransferGoOn = 0x00;
/// For the same two transfers, the refusal of a request that came before a
/// login.
inline constexpr std::uint8_t kTransferRefused = 0xFF;
}  // namespace ack_reply

/// Reply to 0x14: 0x14, 0x04, four challenge bytes.
namespace challenge_reply {
inline constexpr std::size_t kLengthByte = 1;
inline constexpr std::uint8_t kLengthValue = 0x04;
inline constexpr std::size_t kChallenge = 2;
inline constexpr std::size_t kChallengeSize = kTickSize;
inline constexpr std::size_t kSize = 6;
}  // namespace challenge_reply

/// Login request 0x00: user name field and MD5(password, challenge).
namespace login_request {
inline constexpr std::size_t kUser = 1;
inline constexpr std::size_t kUserSize = 16;  ///< "admin", zero padded
inline constexpr std::size_t kDigest = 17;
inline constexpr std::size_t kSize = 33;
}  // namespace login_request

/// Change password 0x15.
namespace change_password_request {
inline constexpr std::size_t kTickLowFirst = 1;
inline constexpr std::size_t kMaskedPassword = 5;
/// The new password, zero padded, masked.
inline constexpr std::size_t kPasswordSize = kMaxPasswordLength;
inline constexpr std::size_t kTickHighFirst = 21;
inline constexpr std::size_t kDigest = 25;  ///< MD5(new password, S, T high byte first)
inline constexpr std::size_t kSize = 41;
}  // namespace change_password_request

/// Mail-server password 0x17 (request) and 0x18 (reply): the same layout.
/// L = m + 24 where m is the count of masked bytes; m + 27 bytes in all.
/// After the m masked bytes: T high byte first, then MD5(text, S, T high
/// byte first).
namespace smtp_password {
inline constexpr std::size_t kLength = 1;  ///< u16 high byte first: L
inline constexpr std::size_t kTickLowFirst = 3;
inline constexpr std::size_t kMasked = 7;
/// Relative to the end of the masked bytes.
inline constexpr std::size_t kTickHighFirstAfterMasked = 0;
inline constexpr std::size_t kDigestAfterMasked = 4;
inline constexpr std::size_t kTrailerSize = 20;
inline constexpr std::size_t kLengthOverhead = 24;  ///< L - m
inline constexpr std::size_t kFrameOverhead = 3;    ///< total - L
inline constexpr std::size_t kMinMasked = 16;       ///< shorter texts are masked with their padding
inline constexpr std::size_t kMaxText = 45;
/// The field the devices keep the text in: 45 characters and a terminator.
inline constexpr std::size_t kFieldSize = kMaxText + 1;
}  // namespace smtp_password

/// Replies 0x08 (block), 0x20 (configuration file) and 0x21 (info text):
/// opcode, n high byte first, n bytes. 0x20 may announce n = 0 and put the
/// length as a 32-bit high-byte-first number after it.
namespace length_prefixed_reply {
inline constexpr std::size_t kLength = 1;
inline constexpr std::size_t kHeaderSize = 3;
inline constexpr std::size_t kLongLength = 3;
inline constexpr std::size_t kLongLengthSize = 4;
inline constexpr std::size_t kLongHeaderSize = 7;
/// The most bytes the 16-bit length announces.
inline constexpr std::size_t kMaxShortLength = 0xFFFF;
}  // namespace length_prefixed_reply

/// Store block 0x09: opcode, n high byte first, n block bytes.
namespace store_block_request {
inline constexpr std::size_t kLength = 1;
inline constexpr std::size_t kBlock = 3;
inline constexpr std::size_t kHeaderSize = 3;
/// The largest block the 16-bit length carries.
inline constexpr std::size_t kMaxBlockSize = 0xFFFF;
}  // namespace store_block_request

/// Reply to 0x1E.
namespace port_masks_reply {
inline constexpr std::size_t kStatus = 1;
inline constexpr std::size_t kPortMask = 2;       ///< u32 low byte first
inline constexpr std::size_t kTrunkPortMask = 6;  ///< u32 low byte first
inline constexpr std::size_t kSize = 10;
}  // namespace port_masks_reply

/// Firmware transfer 0x0D: the header; the image follows after the first reply.
namespace firmware_request {
inline constexpr std::size_t kFileSize = 1;  ///< u32 low byte first
inline constexpr std::size_t kSize = 5;
}  // namespace firmware_request

/// Address settings as 0x1F and 0x22 carry them, relative to their start.
namespace address_settings {
inline constexpr std::size_t kIp = 0;
inline constexpr std::size_t kNetmask = 4;
inline constexpr std::size_t kGateway = 8;
inline constexpr std::size_t kDns1 = 12;
inline constexpr std::size_t kDns2 = 16;
inline constexpr std::size_t kIpConfigFlags = 20;  ///< u32 low byte first
inline constexpr std::size_t kSize = 24;
}  // namespace address_settings

/// Streamed configuration file 0x1F: the header; the file follows after the
/// first reply (0x1F, 0x00).
namespace stream_request {
inline constexpr std::size_t kFileSize = 1;  ///< u32 low byte first
inline constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFF;
inline constexpr std::size_t kAddresses = 5;
inline constexpr std::size_t kSize = 29;
}  // namespace stream_request

/// Final reply to a streamed configuration file.
namespace stream_final_reply {
inline constexpr std::size_t kStatus = 1;  ///< signed: 0 success, -3 a group rejected
inline constexpr std::size_t kGroupName = 2;
inline constexpr std::size_t kGroupNameSize = 30;  ///< zero terminated
inline constexpr std::size_t kSize = 32;
inline constexpr std::int8_t kAccepted = 0;
inline constexpr std::int8_t kGroupRejected = -3;
}  // namespace stream_final_reply

/// Network settings 0x22.
namespace network_request {
inline constexpr std::size_t kUnused = 1;  ///< two bytes without value
inline constexpr std::size_t kAddresses = 3;
inline constexpr std::size_t kSize = 27;
}  // namespace network_request

/// Command request (any other opcode, "Set Default" among them).
namespace command_request {
inline constexpr std::size_t kLength = 1;  ///< u16 low byte first: the request's length
inline constexpr std::size_t kParameters = 3;
/// What the client sends: eight zero parameter bytes.
inline constexpr std::size_t kSize = 11;
inline constexpr std::size_t kHeaderSize = 3;
/// Longest command request a device reads.
inline constexpr std::size_t kMaxSize = 256;
}  // namespace command_request

}  // namespace vantrell::wire
