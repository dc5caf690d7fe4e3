#pragma once
/// Where a device's configuration block would hold the mail-server
/// password (item 151), and whether the device hands it out there. The
/// A8/R8 family and the modular model keep the password apart from the
/// block: their block's slot reads as zeros whatever was stored, and only
/// 0x17 sets the password, 0x18 gives it. D8 devices with a block that
/// holds the item hand it out as stored (the first D8 generation's block
/// has no such item).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vantrell::sim {

/// Bytes of the password's slot: 45 characters and a terminator.
inline constexpr std::size_t kMailPasswordSlotSize = 46;
/// Offset of the slot in the A8/R8 family's blocks (both generations).
inline constexpr std::size_t kA8R8MailPasswordOffset = 5286;
/// Offset of the slot in the modular model's block.
inline constexpr std::size_t kModularMailPasswordOffset = 5270;

/// The offset of the slot that a device of `modelId` keeps clear, or
/// nothing when the device hands out its block as stored.
std::optional<std::size_t> KeptApartMailPasswordOffset(std::uint16_t modelId);

/// The block as the device hands it out with 0x08: `stored` with the slot
/// of a kept-apart password cleared (where the block reaches it).
std::vector<std::uint8_t> HandedOutBlock(std::uint16_t modelId,
                                         std::span<const std::uint8_t> stored);

}  // namespace vantrell::sim
