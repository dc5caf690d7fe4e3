#pragma once
/// The client's encoders and decoders of the discovery datagrams on UDP port
/// 4000 (layouts in core/wire/discovery_layout.h): the 'I' request (known D8
/// devices by model ID and serial), the 'H' request (other known devices by
/// MAC address) and the 24- or 64-byte 0xC9 reply, with the rules by which
/// a reply is accepted.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/device_list.h"
#include "core/wire/discovery_layout.h"

namespace vantrell {

/// Most known devices a request of either kind lists.
inline constexpr std::size_t kMaxKnownPerRequest = wire::discovery_request::kMaxEntries;
/// Longest datagram the search reads; longer ones are dropped whole.
inline constexpr std::size_t kDiscoveryReadSize = wire::discovery_reply::kLongSize;

inline constexpr std::size_t kShortReplySize = wire::discovery_reply::kShortSize;
inline constexpr std::size_t kLongReplySize = wire::discovery_reply::kLongSize;

/// The 'I' request listing the first 32 D8 devices of `known`.
std::vector<std::uint8_t> BuildIdentifyRequest(const DeviceList& known, std::uint16_t sequence);

/// The 'H' request listing the MAC addresses of the first 32 other devices.
std::vector<std::uint8_t> BuildHostRequest(const DeviceList& known, std::uint16_t sequence);

/// Where a datagram came from and what the search expects of it.
struct DiscoveryReplyContext {
  std::uint16_t sequence;  ///< the search's sequence number
  Ipv4 interfaceAddr;      ///< address the receiving socket is bound to
  Ipv4 source;             ///< source address of the datagram
  Ipv4 sourceFilter;       ///< all ones accepts every source
};

/// Judges one received datagram (`datagramLength` is its full length, which
/// may exceed the bytes read) and builds the device record it announces, or
/// nothing when it is not an acceptable reply.
std::optional<DeviceRecord> JudgeDiscoveryReply(std::span<const std::uint8_t> bytes,
                                                std::size_t datagramLength,
                                                const DiscoveryReplyContext& context);

}  // namespace vantrell
