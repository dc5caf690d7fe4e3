#pragma once
/// The rate encodings of the A8/R8 blocks: the rate names, the ingress
/// rate record (policy, rate index and double-rate flags) and the egress
/// rate byte.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/block_encodings.h"
#include "config/item_value.h"

namespace vantrell {

/// Rate names by index: 0 "NL", 1 "128K", ..., 10 "64M".
inline constexpr std::array<std::string_view, 11> kRateNames = {
    "NL", "128K", "256K", "512K", "1M", "2M", "4M", "8M", "16M", "32M", "64M"};
/// Only the first eight names ("NL" to "8M") can be stored from a file.
inline constexpr std::size_t kStorableRateNames = 8;

/// The name of a stored rate index, or nothing for an index above 10.
std::optional<std::string_view> RateName(std::uint32_t index);
/// The index of `name` among the first eight rate names (exact comparison),
/// or nothing.
std::optional<std::uint8_t> StorableRateIndex(std::string_view name);

/// Ingress rate record: byte 0 policy (0-3); byte 1 bits 0-3 rate index,
/// bits 4, 5, 6 the double-rate flags of the normal, medium and high queues.
/// Reads "%d %s %d %d %d" (policy, rate name, three flags); an index with no
/// name (11 to 15) reads nothing and kOutOfRange.
ItemStatus ReadIngressRate(ConstBlockBytes block, std::size_t offset, std::string& out);
/// Applies an ingress rate text "%d %s %d %d %d": the policy is stored when
/// 0 to 3; the rate index when the name is one of "NL" to "8M" (other names
/// keep the stored index); the three flags are set for values > 0 and
/// cleared otherwise, whatever happened to the policy and rate. A field
/// that the text lacks keeps what the block holds (the flags included); a
/// text without even a policy changes nothing (kOutOfRange).
ItemStatus WriteIngressRate(BlockBytes block, std::size_t offset, std::string_view text);

/// Egress rate byte: reads the rate name of the stored index; an index
/// above 10 reads nothing and kOutOfRange.
ItemStatus ReadEgressRate(ConstBlockBytes block, std::size_t offset, std::string& out);
/// GenA1: stores the index of one of the names "NL" to "8M"; other texts
/// are refused and keep the byte.
ItemStatus WriteEgressRateName(BlockBytes block, std::size_t offset, std::string_view name);

}  // namespace vantrell
