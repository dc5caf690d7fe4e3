#pragma once
/// The field encodings of the configuration blocks, each written once:
/// integers (least significant byte first), addresses (network order),
/// single, inverted and strict bits, nibbles of a byte, halves of a word,
/// values kept times 100 or times 16, checked bytes and words, fixed-size
/// texts, blank-padded texts, access entries and words written only in some
/// of their bits. The encodings of choices live in choice_encodings.h, those
/// of rates in rate_encodings.h; block_field.h names them all in one field
/// description.
///
/// Every function works on the valid bytes of a block, checks that its
/// whole field lies inside them, and touches no byte outside its field. A
/// read outside the block yields nothing; a write outside it, or of a number
/// that the field cannot hold, changes nothing and says why.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/item_value.h"
#include "core/byte_order.h"

namespace vantrell {

using BlockBytes = std::span<std::uint8_t>;
using ConstBlockBytes = std::span<const std::uint8_t>;

/// True when `width` bytes from `offset` lie inside a block of `blockSize`.
constexpr bool FieldFits(std::size_t blockSize, std::size_t offset, std::size_t width) {
  return offset <= blockSize && width <= blockSize - offset;
}
/// True when `width` bytes from `offset` lie inside the valid bytes of `block`.
constexpr bool FieldFits(ConstBlockBytes block, std::size_t offset, std::size_t width) {
  return FieldFits(block.size(), offset, width);
}

// Integers, least significant byte first. The reads are inline: the list
// tables are scanned entry by entry with them.
inline std::optional<std::uint8_t> ReadU8(ConstBlockBytes block, std::size_t offset) {
  if (!FieldFits(block.size(), offset, 1)) return std::nullopt;
  return block[offset];
}
inline std::optional<std::uint16_t> ReadU16(ConstBlockBytes block, std::size_t offset) {
  if (!FieldFits(block.size(), offset, 2)) return std::nullopt;
  return LoadLe16(block.data() + offset);
}
inline std::optional<std::uint32_t> ReadU32(ConstBlockBytes block, std::size_t offset) {
  if (!FieldFits(block.size(), offset, 4)) return std::nullopt;
  return LoadLe32(block.data() + offset);
}
bool WriteU8(BlockBytes block, std::size_t offset, std::uint8_t value);
bool WriteU16(BlockBytes block, std::size_t offset, std::uint16_t value);
bool WriteU32(BlockBytes block, std::size_t offset, std::uint32_t value);

/// An IPv4 address kept as its four octets, first octet first; the value is
/// in network byte order as the address conversions take it.
std::optional<std::uint32_t> ReadIpv4(ConstBlockBytes block, std::size_t offset);
bool WriteIpv4(BlockBytes block, std::size_t offset, std::uint32_t address);

/// Bit `bit` (0..31) of a u32: reads 0 or 1; a write sets the bit for
/// exactly 1 and clears it for any other value.
std::optional<std::uint32_t> ReadWordBit(ConstBlockBytes block, std::size_t offset, unsigned bit);
ItemStatus WriteWordBit(BlockBytes block, std::size_t offset, unsigned bit, std::uint32_t value);

/// The low four bits of a byte; a write keeps the high four and refuses
/// values above 0x0F.
std::optional<std::uint32_t> ReadNibble(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteNibble(BlockBytes block, std::size_t offset, std::uint32_t value);

/// The low or high 16-bit half of a u32; a write keeps the other half and
/// refuses values above 0xFFFF.
enum class Half { kLow, kHigh };
std::optional<std::uint32_t> ReadHalf(ConstBlockBytes block, std::size_t offset, Half half);
ItemStatus WriteHalf(BlockBytes block, std::size_t offset, Half half, std::uint32_t value);

/// A u16 holding the value times 100: reads the stored value / 100; a write
/// stores value x 100 and refuses values whose product exceeds 0xFFFF.
std::optional<std::uint32_t> ReadTimes100(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteTimes100(BlockBytes block, std::size_t offset, std::uint32_t value);

/// A u32 (or u8) read whole and written only in the bits of `mask`, from
/// the same bits of the value (the caller passes flags in their position).
ItemStatus WriteMaskedU32(BlockBytes block, std::size_t offset, std::uint32_t mask,
                          std::uint32_t value);
ItemStatus WriteMaskedU8(BlockBytes block, std::size_t offset, std::uint8_t mask,
                         std::uint32_t value);

/// Text of at most `maxChars` characters: the bytes up to the first NUL
/// among the first `maxChars` bytes of the field.
std::optional<std::string> ReadText(ConstBlockBytes block, std::size_t offset,
                                    std::size_t maxChars);

/// How a text write treats what it stores.
struct TextWrite {
  std::size_t maxChars;  ///< at most this many characters are copied
  std::size_t fillSize;  ///< bytes of the field that the write covers: text, then NULs
  bool trimTrailing;     ///< remove trailing blanks and NUL bytes before storing
};
/// Copies at most maxChars characters of `text` (up to its first NUL),
/// optionally without trailing blanks, and NUL-fills the field up to
/// fillSize bytes. Refuses a field that does not fit the block or cannot
/// take maxChars characters.
ItemStatus WriteText(BlockBytes block, std::size_t offset, const TextWrite& how,
                     std::string_view text);

/// Size of the blank-padded text fields.
inline constexpr std::size_t kBlank16Size = 16;
/// The 16 bytes without trailing blanks and NUL bytes, up to the first NUL.
std::optional<std::string> ReadBlank16(ConstBlockBytes block, std::size_t offset);
/// At most 16 characters, padded with blanks; no terminator when full.
ItemStatus WriteBlank16(BlockBytes block, std::size_t offset, std::string_view text);
/// At most 16 characters; a shorter text is followed by one NUL and blanks.
ItemStatus WriteBlank16Terminated(BlockBytes block, std::size_t offset, std::string_view text);

/// Reads or writes an unsigned field of `width` bytes (1, 2 or 4); any
/// other width reads nothing and writes nothing.
std::optional<std::uint32_t> ReadUnsigned(ConstBlockBytes block, std::size_t offset,
                                          std::size_t width);
bool WriteUnsigned(BlockBytes block, std::size_t offset, std::size_t width, std::uint32_t value);

/// Checked byte and word: stored only when min <= value <= max, otherwise
/// kOutOfRange and the field is unchanged. Read as plain u8/u16.
ItemStatus WriteCheckedU8(BlockBytes block, std::size_t offset, std::uint32_t value,
                          std::uint32_t min, std::uint32_t max);
ItemStatus WriteCheckedU16(BlockBytes block, std::size_t offset, std::uint32_t value,
                           std::uint32_t min, std::uint32_t max);

/// Inverted disable byte: the byte is 1 when the port is disabled. Reads 0
/// for a stored 1 and 1 otherwise; a write stores 0 for the value 1 and 1
/// for any other value.
std::optional<std::uint32_t> ReadInvertedDisable(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteInvertedDisable(BlockBytes block, std::size_t offset, std::uint32_t value);

/// A byte that is 1 while the function is on: reads 1 for a stored 1 and 0
/// otherwise; a write stores 1 for the value 1 and 0 for any other value.
std::optional<std::uint32_t> ReadBoolByte(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteBoolByte(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Inverted bit `bit` of a u32: set while the function is off. Reads 1 when
/// the bit is clear; a write sets the bit for 0 and clears it otherwise.
std::optional<std::uint32_t> ReadInvertedBit(ConstBlockBytes block, std::size_t offset,
                                             unsigned bit);
ItemStatus WriteInvertedBit(BlockBytes block, std::size_t offset, unsigned bit,
                            std::uint32_t value);

/// Bit `bit` of a field of `width` bytes (1, 2 or 4): reads 0 or 1; a
/// write sets the bit for any nonzero value and clears it for 0.
std::optional<std::uint32_t> ReadBitOf(ConstBlockBytes block, std::size_t offset, std::size_t width,
                                       unsigned bit);
ItemStatus WriteNonzeroBit(BlockBytes block, std::size_t offset, std::size_t width, unsigned bit,
                           std::uint32_t value);

/// The bits of `mask` in a field of `width` bytes (1, 2 or 4) taken as one
/// flag: reads 1 when any of them is set; a write sets them all for exactly
/// 1 and clears them all for any other value.
std::optional<std::uint32_t> ReadFlagBits(ConstBlockBytes block, std::size_t offset,
                                          std::size_t width, std::uint32_t mask);
ItemStatus WriteFlagBits(BlockBytes block, std::size_t offset, std::size_t width,
                         std::uint32_t mask, std::uint32_t value);

/// Strict bit `bit` of a u32 (redundancy protocol and master): reads 0 or
/// 1; a write clears the bit for 0, sets it for 1 and refuses other values.
ItemStatus WriteStrictBit(BlockBytes block, std::size_t offset, unsigned bit, std::uint32_t value);

/// The high four bits of a byte with the low four kept: reads byte >> 4; a
/// write refuses values above `max` (at most 0x0F).
std::optional<std::uint32_t> ReadUpperNibble(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteUpperNibble(BlockBytes block, std::size_t offset, std::uint32_t value,
                            std::uint32_t max = 0x0F);

/// High nibble (port priority): reads byte >> 4; a write stores value << 4
/// (the whole byte, low nibble cleared) for 0 to 15 and refuses others.
std::optional<std::uint32_t> ReadHighNibble(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteHighNibble(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Port priority kept as priority x 16 in a byte (GenA2, GenM1): reads the
/// whole byte; a write stores value x 16 for 0 to 15 and refuses others.
ItemStatus WritePriorityTimes16(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Bridge priority of GenA1, the priority in bits 12-15 of a u16: reads
/// value >> 12; a write stores value << 12 (the whole word) for 0 to 15.
std::optional<std::uint32_t> ReadBridgePriority(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteBridgePriority(BlockBytes block, std::size_t offset, std::uint32_t value);

/// Access entry, an address and a netmask (ipv4) in two parallel arrays.
/// Reads an empty text when the address is 0, otherwise "address/netmask"
/// in dotted form.
std::optional<std::string> ReadAccessEntry(ConstBlockBytes block, std::size_t addressOffset,
                                           std::size_t netmaskOffset);
/// Stores one half of an access entry (address or netmask) from a number
/// (network byte order) or a text in strict dotted form; refuses anything
/// else.
ItemStatus WriteAccessAddress(BlockBytes block, std::size_t offset, const ItemValue& value);

/// Text 40: a 40-byte field; reads up to the first NUL (40 characters at
/// most); a write copies at most 40 characters and NUL-fills the rest.
inline constexpr std::size_t kText40Size = 40;
std::optional<std::string> ReadText40(ConstBlockBytes block, std::size_t offset);
ItemStatus WriteText40(BlockBytes block, std::size_t offset, std::string_view text);

/// Removes trailing blanks, carriage returns and NUL bytes (the text rule of
/// GenA2).
std::string_view TrimTrailingBlanksCrNuls(std::string_view text);
/// The text up to its first NUL, then without trailing blanks, carriage
/// returns and NUL bytes (the text rule of GenM1).
std::string CutAtNulAndTrim(std::string_view text);

}  // namespace vantrell
