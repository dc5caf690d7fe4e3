#pragma once
/// The encodings of the configuration blocks that store a choice among a
/// few values in some bits: the IP configuration mode bits, the two-bit MDI
/// field, the relay choice (enable and select bit), the link choice of a
/// port's relay bytes and the SNMP version code.
///
/// Like every encoding, each checks that its whole field lies inside the
/// valid bytes and touches no byte outside it.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "config/block_encodings.h"
#include "config/item_value.h"

namespace vantrell {

/// Mode bits (IP configuration), bits 0 and 1 of a u32: reads 1 when bit 0
/// is set, else 2 when bit 1 is set, else 0. A write clears both, then sets
/// bit 0 for 1 and bit 1 for 2 (any other value leaves both clear).
std::optional<std::uint32_t> ReadModeBits(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteModeBits(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Two-bit field, bits 0 and 1 of a byte (port MDI): reads 1 when bit 0 is
/// set, else 2 when bit 1 is set, else 0. A write clears both and sets bit 0
/// for 1, bit 1 for 2 (0 and any other value leave both clear); the other
/// six bits are kept.
std::optional<std::uint32_t> ReadTwoBitField(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteTwoBitField(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Where a relay choice lies: an enable bit and the select bit at the same
/// position, in two words (width 4) or two bytes (width 1).
struct RelayBits {
  std::size_t enableOffset;
  std::size_t selectOffset;
  unsigned bit;
  std::size_t width;  ///< 1 or 4
};
/// Relay choice: reads 0 when the enable bit is clear, 1 when only the
/// enable bit is set (relay 1), 2 when both are set (relay 2). A write
/// stores 0 as both clear, 1 as enable set and select clear, 2 as both set,
/// and refuses other values.
std::optional<std::uint32_t> ReadRelayChoice(ConstBlockBytes block, const RelayBits& where);
ItemStatus WriteRelayChoice(BlockBytes block, const RelayBits& where, std::uint32_t value);

/// Link choice of a port's relay enable byte and select byte (bit 0 link
/// on, bit 1 link off): reads 1 or 2 (relay 1 or 2) when bit 0 is enabled,
/// else 3 or 4 when bit 1 is enabled, else 0. A write of 0 to 4 stores
/// exactly that state in the four bits (0 none; 1 on, relay 1; 2 on, relay
/// 2; 3 off, relay 1; 4 off, relay 2) and keeps the other bits; other values
/// are refused.
std::optional<std::uint32_t> ReadLinkChoice(ConstBlockBytes block, std::size_t enableOffset,
                                            std::size_t selectOffset);
ItemStatus WriteLinkChoice(BlockBytes block, std::size_t enableOffset, std::size_t selectOffset,
                           std::uint32_t value);

/// SNMP version code (GenA2, GenM1): stored 5, 3, 4 are the item values 0,
/// 1, 2. Any other stored byte reads nothing (kOutOfRange); any other item
/// value is refused.
std::optional<std::uint32_t> SnmpVersionOfCode(std::uint8_t code);
ItemStatus ReadSnmpVersion(ConstBlockBytes block, std::size_t offset, std::uint32_t& out);
ItemStatus WriteSnmpVersion(BlockBytes block, std::size_t offset, std::uint32_t value);

}  // namespace vantrell
