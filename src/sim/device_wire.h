#pragma once
/// The device side of the UDP discovery and details protocol on port 4000:
/// byte layouts of the requests a device reads and the replies it writes,
/// and the helpers that put fields in their byte order. The order is fixed
/// per field: sequence numbers, model ID, serial number, firmware version and
/// IP configuration flags go low byte first; addresses in network order;
/// length fields high byte first.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "core/ipv4.h"

namespace vantrell::sim {

/// Discovery requests 'I' and 'H' (from the configurator).
namespace discovery_request {
inline constexpr std::uint8_t kMarkerKnownD8 = 0x49;     ///< 'I': lists known D8 devices
inline constexpr std::uint8_t kMarkerKnownOther = 0x48;  ///< 'H': lists other known devices
inline constexpr std::size_t kMarker = 0;
inline constexpr std::size_t kLength = 2;    ///< u16 high byte first: total length
inline constexpr std::size_t kSequence = 4;  ///< u16 low byte first
inline constexpr std::size_t kEntries = 6;
inline constexpr std::size_t kHeaderSize = 6;
inline constexpr std::size_t kMaxEntries = 32;
/// 'I' entry: model ID then serial number, each u16 low byte first.
inline constexpr std::size_t kD8EntrySize = 4;
/// 'H' entry: a MAC address.
inline constexpr std::size_t kMacEntrySize = 6;
}  // namespace discovery_request

/// Discovery reply 0xC9 (to the configurator).
namespace discovery_reply {
inline constexpr std::uint8_t kMarkerValue = 0xC9;
inline constexpr std::size_t kMarker = 0;
inline constexpr std::size_t kLength = 2;        ///< u16 high byte first (not read by the peer)
inline constexpr std::size_t kSequence = 4;      ///< u16 low byte first
inline constexpr std::size_t kWebPort = 6;       ///< u32 high byte first, port in low 16 bits
inline constexpr std::size_t kModelId = 10;      ///< u16 low byte first
inline constexpr std::size_t kSerialNo = 12;     ///< u16 low byte first
inline constexpr std::size_t kInterfaceIp = 14;  ///< workstation address, network order
inline constexpr std::size_t kMac = 18;          ///< 6 bytes
inline constexpr std::size_t kModelName = 24;    ///< 40 bytes, long form only
inline constexpr std::size_t kModelNameSize = 40;
inline constexpr std::size_t kShortSize = 24;
inline constexpr std::size_t kLongSize = 64;
/// Length of the "length" noise datagram: one byte more than the short form.
inline constexpr std::size_t kWrongLengthSize = 25;
}  // namespace discovery_reply

/// Details request 0x01 (from the configurator).
namespace details_request {
inline constexpr std::uint8_t kMarkerValue = 0x01;
inline constexpr std::size_t kMarker = 0;
inline constexpr std::size_t kLength = 2;    ///< u16 high byte first, always 6
inline constexpr std::size_t kSequence = 4;  ///< u16 low byte first
inline constexpr std::size_t kSize = 6;
}  // namespace details_request

/// Details reply 0x81 (to the configurator), forms of 86, 98, 178 and 1186 bytes.
namespace details_reply {
inline constexpr std::uint8_t kMarkerValue = 0x81;
inline constexpr std::uint8_t kStatusSuccess = 0;
inline constexpr std::size_t kMarker = 0;
inline constexpr std::size_t kStatus = 1;
inline constexpr std::size_t kLength = 2;            ///< u16 high byte first (not read by the peer)
inline constexpr std::size_t kSequence = 4;          ///< u16 low byte first
inline constexpr std::size_t kFirmwareVersion = 22;  ///< u32 low byte first
inline constexpr std::size_t kStatusFlags = 26;
inline constexpr std::size_t kName = 28;
inline constexpr std::size_t kNameSize = 30;
inline constexpr std::size_t kNetmask = 78;  ///< network order
inline constexpr std::size_t kGateway = 82;  ///< network order
// 98 and 178 forms
inline constexpr std::size_t kDns1 = 86;           ///< network order
inline constexpr std::size_t kDns2 = 90;           ///< network order
inline constexpr std::size_t kIpConfigFlags = 94;  ///< u32 low byte first
// 178 form
inline constexpr std::size_t kLocation = 98;
inline constexpr std::size_t kLocationSize = 80;
// 1186 form
inline constexpr std::size_t kModuleTypes = 90;  ///< one byte per slot
inline constexpr std::size_t kModuleNames = 98;  ///< 16 bytes per slot
inline constexpr std::size_t kModuleNameSize = 16;
inline constexpr std::size_t kModuleDescs = 226;  ///< 120 bytes per slot
inline constexpr std::size_t kModuleDescSize = 120;
}  // namespace details_reply

/// Byte writers and readers; every offset must lie inside the buffer.
inline void PutU16LowFirst(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutU16HighFirst(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value >> 8);
  bytes[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

inline void PutU32LowFirst(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void PutU32HighFirst(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * (3 - i)));
  }
}

/// An address kept in network byte order goes out unchanged, first octet first.
inline void PutIpv4(std::span<std::uint8_t> bytes, std::size_t at, Ipv4 address) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = Ipv4Octet(address, i);
}

/// Copies text into a fixed field of `size` bytes: truncated, zero padded.
inline void PutText(std::span<std::uint8_t> bytes, std::size_t at, std::size_t size,
                    std::string_view text) {
  const std::size_t n = text.size() < size ? text.size() : size;
  std::memcpy(bytes.data() + at, text.data(), n);
  std::memset(bytes.data() + at + n, 0, size - n);
}

inline std::uint16_t GetU16LowFirst(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline std::uint16_t GetU16HighFirst(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

}  // namespace vantrell::sim
