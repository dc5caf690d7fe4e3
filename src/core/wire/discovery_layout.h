#pragma once
/// The byte layout of the discovery datagrams on UDP port 4000: the 'I'
/// request (known D8 devices by model ID and serial), the 'H' request (other
/// known devices by MAC address) and the 0xC9 reply in its 24- and 64-byte
/// forms. The client (net) and the simulated device (sim) both encode and
/// decode from these tables, each with its own code.
///
/// Byte order is fixed per field: sequence numbers, model ID and serial
/// number go low byte first; addresses in network order; length fields and
/// the web port high byte first.

#include <cstddef>
#include <cstdint>

namespace vantrell::wire {

/// Discovery requests 'I' and 'H' (from the configurator).
namespace discovery_request {
inline constexpr std::uint8_t kMarkerKnownD8 = 0x49;     ///< 'I': lists known D8 devices
inline constexpr std::uint8_t kMarkerKnownOther = 0x48;  ///< 'H': lists other known devices
inline constexpr std::size_t kMarker = 0;
inline constexpr std::size_t kLength = 2;    ///< u16 high byte first: total length
inline constexpr std::size_t kSequence = 4;  ///< u16 low byte first
inline constexpr std::size_t kEntries = 6;
inline constexpr std::size_t kHeaderSize = 6;
/// Most known devices one request lists.
inline constexpr std::size_t kMaxEntries = 32;
/// 'I' entry: model ID then serial number, each u16 low byte first.
inline constexpr std::size_t kD8EntryModelId = 0;
inline constexpr std::size_t kD8EntrySerialNo = 2;
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
inline constexpr std::size_t kMac = 18;
inline constexpr std::size_t kMacSize = 6;
inline constexpr std::size_t kModelName = 24;  ///< long form only
inline constexpr std::size_t kModelNameSize = 40;
inline constexpr std::size_t kShortSize = 24;
inline constexpr std::size_t kLongSize = 64;
}  // namespace discovery_reply

}  // namespace vantrell::wire
