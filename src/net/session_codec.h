#pragma once
/// The client's encoders and decoders of the session protocol on TCP port
/// 4000 (layouts in core/wire/session_layout.h): the login and masking
/// digests, and every request that carries more than its opcode. Pure
/// functions, so each layout is tested byte for byte.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/device_record.h"
#include "core/wire/session_layout.h"
#include "platform/digest.h"

namespace vantrell {

using wire::SessionOpcode;
using enum wire::SessionOpcode;

/// The longest password the devices keep.
inline constexpr std::size_t kMaxPasswordLength = wire::kMaxPasswordLength;
/// The mail-server password field: 45 characters and a terminator.
inline constexpr std::size_t kSmtpFieldSize = wire::smtp_password::kFieldSize;
/// The longest answer to fetchSmtpPassword.
inline constexpr std::size_t kSmtpReplyMaxSize = 99;

/// The four bytes of a tick value T, little-endian: how it is sent first
/// and how it enters the mask key.
std::array<std::uint8_t, wire::kTickSize> TickBytesLe(std::uint32_t tick);

/// MD5(password text, serial low byte first, the four T bytes).
Md5Digest MaskKey(std::string_view password, std::uint16_t serialNo,
                  std::span<const std::uint8_t, wire::kTickSize> tickBytes);

/// XORs `bytes` with the key repeated.
void ApplyMask(std::span<std::uint8_t> bytes, const Md5Digest& key);

/// The password text of a record (at most 16 characters).
std::string_view RecordPassword(const DeviceRecord& record);

/// 33 bytes: 0x00, the user name padded to 16, MD5(password, challenge).
std::vector<std::uint8_t> BuildLoginRequest(
    std::string_view user, std::string_view password,
    std::span<const std::uint8_t, wire::kTickSize> challenge);

/// 41 bytes: the new password masked with the record's current password.
std::vector<std::uint8_t> BuildChangePasswordRequest(const DeviceRecord& record,
                                                     std::string_view newPassword,
                                                     std::uint32_t tick);

/// m + 27 bytes: the mail-server password masked, m = max(length, 16).
std::vector<std::uint8_t> BuildStoreSmtpPasswordRequest(const DeviceRecord& record,
                                                        std::string_view text,
                                                        std::uint32_t tick);

/// Unmasks an answer to fetchSmtpPassword into `out` (zero-terminated).
/// False, with `out` empty, when the answer is not valid or its text would
/// not fit the 46-byte field or lies beyond what arrived.
bool DecodeSmtpPasswordReply(const DeviceRecord& record, std::span<const std::uint8_t> reply,
                             std::span<char, kSmtpFieldSize> out);

/// 3 + n bytes: 0x09, n big-endian, the block.
std::vector<std::uint8_t> BuildStoreConfigBlockRequest(std::span<const std::uint8_t> block);

/// 29 bytes: 0x1F, file size, and the record's address settings.
std::vector<std::uint8_t> BuildStreamConfigFileHeader(const DeviceRecord& record,
                                                      std::uint32_t fileSize);

/// 27 bytes: 0x22, two zero bytes, the record's address settings.
std::vector<std::uint8_t> BuildNetworkSettingsRequest(const DeviceRecord& record);

/// 11 bytes: the opcode, 0x0B 0x00, eight zero bytes.
std::vector<std::uint8_t> BuildCommandRequest(std::uint8_t opcode);

}  // namespace vantrell
