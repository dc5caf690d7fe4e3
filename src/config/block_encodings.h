#pragma once
/// The field encodings of the configuration blocks, each written once:
/// integers (least significant byte first), addresses (network order),
/// single bits and nibbles of a word or byte, halves of a word, values kept
/// times 100, fixed-size texts, blank-padded texts and words written only in
/// some of their bits.
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

namespace vantrell {

using BlockBytes = std::span<std::uint8_t>;
using ConstBlockBytes = std::span<const std::uint8_t>;

/// True when `width` bytes from `offset` lie inside a block of `blockSize`.
constexpr bool FieldFits(std::size_t blockSize, std::size_t offset, std::size_t width) {
  return offset <= blockSize && width <= blockSize - offset;
}

// Integers, least significant byte first.
std::optional<std::uint8_t> ReadU8(ConstBlockBytes block, std::size_t offset);
std::optional<std::uint16_t> ReadU16(ConstBlockBytes block, std::size_t offset);
std::optional<std::uint32_t> ReadU32(ConstBlockBytes block, std::size_t offset);
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

/// The encodings a layout table names.
enum class FieldKind : std::uint8_t {
  kU8,
  kU16,
  kU32,
  kIpv4,
  kWordBit,  ///< param: bit number
  kNibble,
  kLo16,
  kHi16,
  kTimes100,
  kText,      ///< maxChars in slotSize; trailing blanks removed, NUL-filled up to fillSize
  kNameText,  ///< maxChars in slotSize; kept as given, NUL-filled up to fillSize
  kBlank16,
  kBlank16Terminated,
  kMaskedU32,  ///< param: the bits a write changes
  kMaskedU8,   ///< param: the bits a write changes
};

/// Where and how one item lies in a block.
struct BlockField {
  FieldKind kind;
  std::uint32_t offset;
  std::uint32_t param = 0;
  std::uint16_t maxChars = 0;
  std::uint16_t slotSize = 0;
  std::uint16_t fillSize = 0;
};

constexpr BlockField U8Field(std::uint32_t offset) { return {FieldKind::kU8, offset}; }
constexpr BlockField U16Field(std::uint32_t offset) { return {FieldKind::kU16, offset}; }
constexpr BlockField U32Field(std::uint32_t offset) { return {FieldKind::kU32, offset}; }
constexpr BlockField Ipv4Field(std::uint32_t offset) { return {FieldKind::kIpv4, offset}; }
constexpr BlockField WordBitField(std::uint32_t offset, unsigned bit) {
  return {FieldKind::kWordBit, offset, bit};
}
constexpr BlockField NibbleField(std::uint32_t offset) { return {FieldKind::kNibble, offset}; }
constexpr BlockField Lo16Field(std::uint32_t offset) { return {FieldKind::kLo16, offset}; }
constexpr BlockField Hi16Field(std::uint32_t offset) { return {FieldKind::kHi16, offset}; }
constexpr BlockField Times100Field(std::uint32_t offset) { return {FieldKind::kTimes100, offset}; }
constexpr BlockField TextField(std::uint32_t offset, std::uint16_t maxChars,
                               std::uint16_t slotSize) {
  return {FieldKind::kText, offset, 0, maxChars, slotSize, slotSize};
}
constexpr BlockField NameTextField(std::uint32_t offset, std::uint16_t maxChars,
                                   std::uint16_t slotSize, std::uint16_t fillSize) {
  return {FieldKind::kNameText, offset, 0, maxChars, slotSize, fillSize};
}
/// A switch name that loses its trailing blanks: the bytes of the slot from
/// fillSize on belong to the device and are never written.
constexpr BlockField TrimmedNameTextField(std::uint32_t offset, std::uint16_t maxChars,
                                          std::uint16_t slotSize, std::uint16_t fillSize) {
  return {FieldKind::kText, offset, 0, maxChars, slotSize, fillSize};
}
constexpr BlockField Blank16Field(std::uint32_t offset) { return {FieldKind::kBlank16, offset}; }
constexpr BlockField Blank16TerminatedField(std::uint32_t offset) {
  return {FieldKind::kBlank16Terminated, offset};
}
constexpr BlockField MaskedU32Field(std::uint32_t offset, std::uint32_t mask) {
  return {FieldKind::kMaskedU32, offset, mask};
}
constexpr BlockField MaskedU8Field(std::uint32_t offset, std::uint8_t mask) {
  return {FieldKind::kMaskedU8, offset, mask};
}

/// Bytes of the block that belong to the field (a text's whole slot).
constexpr std::size_t FieldWidth(const BlockField& field) {
  switch (field.kind) {
    case FieldKind::kU8:
    case FieldKind::kNibble:
    case FieldKind::kMaskedU8:
      return 1;
    case FieldKind::kU16:
    case FieldKind::kTimes100:
      return 2;
    case FieldKind::kU32:
    case FieldKind::kIpv4:
    case FieldKind::kWordBit:
    case FieldKind::kLo16:
    case FieldKind::kHi16:
    case FieldKind::kMaskedU32:
      return 4;
    case FieldKind::kText:
    case FieldKind::kNameText:
      return field.slotSize;
    case FieldKind::kBlank16:
    case FieldKind::kBlank16Terminated:
      return kBlank16Size;
  }
  return 0;
}

/// True for the encodings whose value is a text.
constexpr bool IsTextField(const BlockField& field) {
  switch (field.kind) {
    case FieldKind::kText:
    case FieldKind::kNameText:
    case FieldKind::kBlank16:
    case FieldKind::kBlank16Terminated:
      return true;
    default:
      return false;
  }
}

/// Reads the field into `out`; `out` is untouched unless the result is kOk.
ItemStatus ReadField(ConstBlockBytes block, const BlockField& field, ItemValue& out);
/// Writes `value` into the field; the block is untouched unless the result
/// is kOk, and never changed outside the field.
ItemStatus WriteField(BlockBytes block, const BlockField& field, const ItemValue& value);

}  // namespace vantrell
