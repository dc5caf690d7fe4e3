#pragma once
/// The byte layout of the details query datagrams on UDP port 4000: the
/// 6-byte 0x01 request and the 0x81 reply in its forms of 86, 98, 178 and
/// 1186 bytes. The client (net) and the simulated device (sim) both encode
/// and decode from these tables, each with its own code.
///
/// Byte order is fixed per field: the sequence number, firmware version and
/// IP configuration flags go low byte first; addresses in network order;
/// length fields high byte first.

#include <cstddef>
#include <cstdint>

namespace vantrell::wire {

/// Details request 0x01 (from the configurator).
namespace details_request {
inline constexpr std::uint8_t kMarkerValue = 0x01;
inline constexpr std::size_t kMarker = 0;
inline constexpr std::size_t kLength = 2;    ///< u16 high byte first, always 6
inline constexpr std::size_t kSequence = 4;  ///< u16 low byte first
inline constexpr std::size_t kSize = 6;
}  // namespace details_request

/// Details reply 0x81 (to the configurator).
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
// 1186 form (the modular model)
inline constexpr std::size_t kModuleSlots = 8;
inline constexpr std::size_t kModuleTypes = 90;  ///< one byte per slot
inline constexpr std::size_t kModuleNames = 98;  ///< 16 bytes per slot
inline constexpr std::size_t kModuleNameSize = 16;
inline constexpr std::size_t kModuleDescs = 226;  ///< 120 bytes per slot
inline constexpr std::size_t kModuleDescSize = 120;

/// The four lengths, one per form.
inline constexpr std::size_t kBasicSize = 86;
inline constexpr std::size_t kNetworkSize = 98;
inline constexpr std::size_t kLocationFormSize = 178;
inline constexpr std::size_t kModulesSize = 1186;
}  // namespace details_reply

}  // namespace vantrell::wire
