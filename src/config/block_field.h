#pragma once
/// Where and how one item lies in a configuration block: one field
/// description for every generation. A FieldKind names the encoding (of
/// block_encodings.h, choice_encodings.h or rate_encodings.h), a BlockField
/// adds the offsets, bits, range and text sizes the encoding needs, and
/// ReadField/WriteField turn it into getItem/setItem of one item.
///
/// A write checks the kind of the value first (kWrongKind), then that every
/// byte of the field lies inside the block (kOutsideBlock), then the value
/// (kOutOfRange); only kOk changes the block, and then only the field.

#include <cstddef>
#include <cstdint>

#include "config/block_encodings.h"
#include "config/item_value.h"

namespace vantrell {

/// The encodings of the configuration blocks.
enum class FieldKind : std::uint8_t {
  // Numbers.
  kU8,   ///< u8; a write takes min..max
  kU16,  ///< u16; a write takes min..max
  kU32,
  kIpv4,
  kLo16,             ///< low half of the u32
  kHi16,             ///< high half of the u32
  kTimes100,         ///< u16 holding value x 100
  kNibble,           ///< low four bits of the byte, high four kept; a write takes 0..max
  kUpperNibble,      ///< high four bits of the byte, low four kept; a write takes 0..max
  kHighNibble,       ///< byte >> 4; a write stores value << 4 (whole byte)
  kPriorityTimes16,  ///< whole byte read; 0..15 stored x 16
  kBridgePriority,   ///< u16 >> 12; 0..15 stored << 12 (whole word)
  // Bits.
  kBit,              ///< the bits of `mask` in `width` bytes: 1 sets them, other values clear them
  kNonzeroBit,       ///< bit `bit` of `width` bytes; set for any nonzero value
  kInvertedBit,      ///< bit `bit` of the u32, set while the function is off
  kStrictBit,        ///< bit `bit` of the u32; only 0 and 1 are stored
  kInvertedDisable,  ///< byte 1 while disabled
  kBoolByte,         ///< byte 1 while enabled; 1 stores 1, other values 0
  kMaskedU32,        ///< u32 written only in the bits of `mask`
  kMaskedU8,         ///< u8 written only in the bits of `mask`
  // Choices.
  kModeBits,     ///< bits 0-1 of the u32
  kTwoBitField,  ///< bits 0-1 of the byte
  kRelayChoice,  ///< enable at offset, select at offset2, bit `bit`, `width` 1 or 4
  kLinkChoice,   ///< enable byte at offset, select byte at offset2
  kSnmpVersion,  ///< code byte
  // Texts.
  kText,      ///< maxChars in slotSize; trailing blanks removed, NUL-filled up to fillSize
  kNameText,  ///< maxChars in slotSize; kept as given, NUL-filled up to fillSize
  kBlank16,
  kBlank16Terminated,
  // Access entries and rates.
  kAccessEntry,  ///< address at offset, netmask at offset2: reads "a/m"; number or text stored
  kAccessEntryNumber,  ///< the same, the address stored from a number only
  kAccessNetmask,      ///< netmask at offset; number or dotted text
  kIngressRate,        ///< two bytes; text
  kEgressRateName,     ///< byte; name in both directions
  kEgressRateIndex,    ///< byte; name read, index stored
  /// Not an encoding: the item is code of the generation's accessors.
  kHook,
};

/// Where and how one item lies in a block; the members an encoding does
/// not name stay zero.
struct BlockField {
  FieldKind kind = FieldKind::kU8;
  std::uint32_t offset = 0;
  std::uint32_t offset2 = 0;    ///< the second part of relay, link and access fields
  std::uint32_t mask = 0;       ///< kBit, kMaskedU32, kMaskedU8
  std::uint8_t bit = 0;         ///< the single-bit kinds and relay choices
  std::uint8_t width = 0;       ///< bytes of kBit, kNonzeroBit and kRelayChoice
  std::uint32_t min = 0;        ///< kU8, kU16
  std::uint32_t max = 0;        ///< kU8, kU16, kNibble, kUpperNibble
  std::uint16_t maxChars = 0;   ///< texts: characters written
  std::uint16_t slotSize = 0;   ///< texts: bytes of the slot
  std::uint16_t fillSize = 0;   ///< texts: bytes a write covers
  std::uint16_t readChars = 0;  ///< texts: characters read
};

// Numbers.
constexpr BlockField U8Field(std::uint32_t offset) {
  return {.kind = FieldKind::kU8, .offset = offset, .max = 0xFF};
}
constexpr BlockField CheckedU8Field(std::uint32_t offset, std::uint32_t min, std::uint32_t max) {
  return {.kind = FieldKind::kU8, .offset = offset, .min = min, .max = max};
}
constexpr BlockField U16Field(std::uint32_t offset) {
  return {.kind = FieldKind::kU16, .offset = offset, .max = 0xFFFF};
}
constexpr BlockField CheckedU16Field(std::uint32_t offset, std::uint32_t min, std::uint32_t max) {
  return {.kind = FieldKind::kU16, .offset = offset, .min = min, .max = max};
}
constexpr BlockField U32Field(std::uint32_t offset) { return {FieldKind::kU32, offset}; }
constexpr BlockField Ipv4Field(std::uint32_t offset) { return {FieldKind::kIpv4, offset}; }
constexpr BlockField Lo16Field(std::uint32_t offset) { return {FieldKind::kLo16, offset}; }
constexpr BlockField Hi16Field(std::uint32_t offset) { return {FieldKind::kHi16, offset}; }
constexpr BlockField Times100Field(std::uint32_t offset) { return {FieldKind::kTimes100, offset}; }
constexpr BlockField NibbleField(std::uint32_t offset, std::uint32_t max = 0x0F) {
  return {.kind = FieldKind::kNibble, .offset = offset, .max = max};
}
constexpr BlockField UpperNibbleField(std::uint32_t offset, std::uint32_t max = 0x0F) {
  return {.kind = FieldKind::kUpperNibble, .offset = offset, .max = max};
}
constexpr BlockField HighNibbleField(std::uint32_t offset) {
  return {FieldKind::kHighNibble, offset};
}
constexpr BlockField PriorityTimes16Field(std::uint32_t offset) {
  return {FieldKind::kPriorityTimes16, offset};
}
constexpr BlockField BridgePriorityField(std::uint32_t offset) {
  return {FieldKind::kBridgePriority, offset};
}

// Bits.
/// Bit `bit` of the u32; 1 sets it, any other value clears it.
constexpr BlockField WordBitField(std::uint32_t offset, unsigned bit) {
  return {.kind = FieldKind::kBit, .offset = offset, .mask = 1u << bit, .width = 4};
}
/// The bits of `mask` in a field of `width` bytes taken as one flag.
constexpr BlockField FlagBitsField(std::uint32_t offset, std::uint8_t width, std::uint32_t mask) {
  return {.kind = FieldKind::kBit, .offset = offset, .mask = mask, .width = width};
}
constexpr BlockField NonzeroBitField(std::uint32_t offset, std::uint8_t width, std::uint8_t bit) {
  return {.kind = FieldKind::kNonzeroBit, .offset = offset, .bit = bit, .width = width};
}
constexpr BlockField InvertedBitField(std::uint32_t offset, std::uint8_t bit) {
  return {.kind = FieldKind::kInvertedBit, .offset = offset, .bit = bit};
}
constexpr BlockField StrictBitField(std::uint32_t offset, std::uint8_t bit) {
  return {.kind = FieldKind::kStrictBit, .offset = offset, .bit = bit};
}
constexpr BlockField InvertedDisableField(std::uint32_t offset) {
  return {FieldKind::kInvertedDisable, offset};
}
constexpr BlockField BoolByteField(std::uint32_t offset) { return {FieldKind::kBoolByte, offset}; }
constexpr BlockField MaskedU32Field(std::uint32_t offset, std::uint32_t mask) {
  return {.kind = FieldKind::kMaskedU32, .offset = offset, .mask = mask};
}
constexpr BlockField MaskedU8Field(std::uint32_t offset, std::uint8_t mask) {
  return {.kind = FieldKind::kMaskedU8, .offset = offset, .mask = mask};
}

// Choices.
constexpr BlockField ModeBitsField(std::uint32_t offset) { return {FieldKind::kModeBits, offset}; }
constexpr BlockField TwoBitField(std::uint32_t offset) { return {FieldKind::kTwoBitField, offset}; }
constexpr BlockField RelayChoiceField(std::uint32_t enableOffset, std::uint32_t selectOffset,
                                      std::uint8_t bit, std::uint8_t width) {
  return {.kind = FieldKind::kRelayChoice,
          .offset = enableOffset,
          .offset2 = selectOffset,
          .bit = bit,
          .width = width};
}
constexpr BlockField LinkChoiceField(std::uint32_t enableOffset, std::uint32_t selectOffset) {
  return {.kind = FieldKind::kLinkChoice, .offset = enableOffset, .offset2 = selectOffset};
}
constexpr BlockField SnmpVersionField(std::uint32_t offset) {
  return {FieldKind::kSnmpVersion, offset};
}

// Texts.
constexpr BlockField TextField(std::uint32_t offset, std::uint16_t maxChars,
                               std::uint16_t slotSize) {
  return {.kind = FieldKind::kText,
          .offset = offset,
          .maxChars = maxChars,
          .slotSize = slotSize,
          .fillSize = slotSize,
          .readChars = maxChars < slotSize ? maxChars : slotSize};
}
/// A text written with at most maxChars characters but read over its whole
/// slot (GenM1 time servers).
constexpr BlockField SlotReadTextField(std::uint32_t offset, std::uint16_t maxChars,
                                       std::uint16_t slotSize) {
  BlockField field = TextField(offset, maxChars, slotSize);
  field.readChars = slotSize;
  return field;
}
constexpr BlockField NameTextField(std::uint32_t offset, std::uint16_t maxChars,
                                   std::uint16_t slotSize, std::uint16_t fillSize) {
  BlockField field = TextField(offset, maxChars, slotSize);
  field.kind = FieldKind::kNameText;
  field.fillSize = fillSize;
  return field;
}
/// A switch name that loses its trailing blanks: the bytes of the slot from
/// fillSize on belong to the device and are never written.
constexpr BlockField TrimmedNameTextField(std::uint32_t offset, std::uint16_t maxChars,
                                          std::uint16_t slotSize, std::uint16_t fillSize) {
  BlockField field = TextField(offset, maxChars, slotSize);
  field.fillSize = fillSize;
  return field;
}
/// Text 40: 40 characters in 40 bytes, kept as given.
constexpr BlockField Text40Field(std::uint32_t offset) {
  return NameTextField(offset, kText40Size, kText40Size, kText40Size);
}
constexpr BlockField Blank16Field(std::uint32_t offset) { return {FieldKind::kBlank16, offset}; }
constexpr BlockField Blank16TerminatedField(std::uint32_t offset) {
  return {FieldKind::kBlank16Terminated, offset};
}

// Access entries and rates.
constexpr BlockField AccessEntryField(std::uint32_t addressOffset, std::uint32_t netmaskOffset) {
  return {.kind = FieldKind::kAccessEntry, .offset = addressOffset, .offset2 = netmaskOffset};
}
constexpr BlockField AccessEntryNumberField(std::uint32_t addressOffset,
                                            std::uint32_t netmaskOffset) {
  return {.kind = FieldKind::kAccessEntryNumber, .offset = addressOffset, .offset2 = netmaskOffset};
}
constexpr BlockField AccessNetmaskField(std::uint32_t offset) {
  return {FieldKind::kAccessNetmask, offset};
}
constexpr BlockField IngressRateField(std::uint32_t offset) {
  return {FieldKind::kIngressRate, offset};
}
constexpr BlockField EgressRateNameField(std::uint32_t offset) {
  return {FieldKind::kEgressRateName, offset};
}
constexpr BlockField EgressRateIndexField(std::uint32_t offset) {
  return {FieldKind::kEgressRateIndex, offset};
}

/// An item that the generation's accessors handle in code.
constexpr BlockField HookField() { return {FieldKind::kHook, 0}; }

/// The same field moved by `delta` bytes (both parts of a two-part field).
constexpr BlockField Shifted(BlockField field, std::uint32_t delta) {
  field.offset += delta;
  field.offset2 += delta;
  return field;
}

/// The bytes a field reads or writes: [offset, offset + size) and, for the
/// two-part encodings, [offset2, offset2 + size2).
struct FieldExtent {
  std::size_t offset, size, offset2, size2;
};
constexpr FieldExtent ExtentOf(const BlockField& f) {
  switch (f.kind) {
    case FieldKind::kU8:
    case FieldKind::kNibble:
    case FieldKind::kUpperNibble:
    case FieldKind::kHighNibble:
    case FieldKind::kPriorityTimes16:
    case FieldKind::kInvertedDisable:
    case FieldKind::kBoolByte:
    case FieldKind::kMaskedU8:
    case FieldKind::kTwoBitField:
    case FieldKind::kSnmpVersion:
    case FieldKind::kEgressRateName:
    case FieldKind::kEgressRateIndex:
      return {f.offset, 1, f.offset, 0};
    case FieldKind::kU16:
    case FieldKind::kTimes100:
    case FieldKind::kBridgePriority:
    case FieldKind::kIngressRate:
      return {f.offset, 2, f.offset, 0};
    case FieldKind::kU32:
    case FieldKind::kIpv4:
    case FieldKind::kLo16:
    case FieldKind::kHi16:
    case FieldKind::kInvertedBit:
    case FieldKind::kStrictBit:
    case FieldKind::kMaskedU32:
    case FieldKind::kModeBits:
    case FieldKind::kAccessNetmask:
      return {f.offset, 4, f.offset, 0};
    case FieldKind::kBit:
    case FieldKind::kNonzeroBit:
      return {f.offset, f.width, f.offset, 0};
    case FieldKind::kRelayChoice:
      return {f.offset, f.width, f.offset2, f.width};
    case FieldKind::kLinkChoice:
      return {f.offset, 1, f.offset2, 1};
    case FieldKind::kAccessEntry:
    case FieldKind::kAccessEntryNumber:
      return {f.offset, 4, f.offset2, 4};
    case FieldKind::kText:
    case FieldKind::kNameText:
      return {f.offset, f.slotSize, f.offset, 0};
    case FieldKind::kBlank16:
    case FieldKind::kBlank16Terminated:
      return {f.offset, kBlank16Size, f.offset, 0};
    case FieldKind::kHook:
      break;
  }
  return {f.offset, 0, f.offset, 0};
}

/// Bytes of the block that belong to the field from its offset (a text's
/// whole slot; the first part of a two-part field).
constexpr std::size_t FieldWidth(const BlockField& field) { return ExtentOf(field).size; }

/// True when every byte of the field lies inside a block of `blockSize`
/// (never for a hook).
constexpr bool FieldInside(std::size_t blockSize, const BlockField& field) {
  const FieldExtent e = ExtentOf(field);
  return e.size > 0 && FieldFits(blockSize, e.offset, e.size) &&
         FieldFits(blockSize, e.offset2, e.size2);
}

/// True for the encodings whose value is a plain text (the ones a text rule
/// of a generation trims).
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
