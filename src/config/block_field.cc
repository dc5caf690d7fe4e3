#include "config/block_field.h"

#include <algorithm>
#include <string>
#include <utility>

#include "config/choice_encodings.h"
#include "config/rate_encodings.h"

namespace vantrell {
namespace {

/// The kinds of value a field takes.
enum class Takes { kNumber, kText, kEither };

constexpr Takes TakesOf(FieldKind kind) {
  switch (kind) {
    case FieldKind::kText:
    case FieldKind::kNameText:
    case FieldKind::kBlank16:
    case FieldKind::kBlank16Terminated:
    case FieldKind::kIngressRate:
    case FieldKind::kEgressRateName:
      return Takes::kText;
    case FieldKind::kAccessEntry:
    case FieldKind::kAccessNetmask:
      return Takes::kEither;
    default:
      return Takes::kNumber;
  }
}

bool ValueFits(Takes takes, const ItemValue& value) {
  switch (takes) {
    case Takes::kNumber:
      return IsNumber(value);
    case Takes::kText:
      return IsText(value);
    case Takes::kEither:
      break;
  }
  return true;
}

ItemStatus ReadTextValue(ConstBlockBytes block, const BlockField& f, ItemValue& out) {
  switch (f.kind) {
    case FieldKind::kText:
    case FieldKind::kNameText:
      return TextInto(ReadText(block, f.offset, f.readChars), out);
    case FieldKind::kBlank16:
    case FieldKind::kBlank16Terminated:
      return TextInto(ReadBlank16(block, f.offset), out);
    case FieldKind::kAccessEntry:
    case FieldKind::kAccessEntryNumber:
      return TextInto(ReadAccessEntry(block, f.offset, f.offset2), out);
    case FieldKind::kIngressRate:
    case FieldKind::kEgressRateName:
    case FieldKind::kEgressRateIndex: {
      std::string text;
      const ItemStatus status = f.kind == FieldKind::kIngressRate
                                    ? ReadIngressRate(block, f.offset, text)
                                    : ReadEgressRate(block, f.offset, text);
      if (status == ItemStatus::kOk) out = std::move(text);
      return status;
    }
    default:
      return ItemStatus::kNotHandled;
  }
}

ItemStatus ReadValue(ConstBlockBytes block, const BlockField& f, ItemValue& out) {
  switch (f.kind) {
    case FieldKind::kU8:
    case FieldKind::kPriorityTimes16:
    case FieldKind::kMaskedU8:
      return NumberInto(ReadU8(block, f.offset), out);
    case FieldKind::kU16:
      return NumberInto(ReadU16(block, f.offset), out);
    case FieldKind::kU32:
    case FieldKind::kMaskedU32:
      return NumberInto(ReadU32(block, f.offset), out);
    case FieldKind::kIpv4:
    case FieldKind::kAccessNetmask:
      return NumberInto(ReadIpv4(block, f.offset), out);
    case FieldKind::kLo16:
      return NumberInto(ReadHalf(block, f.offset, Half::kLow), out);
    case FieldKind::kHi16:
      return NumberInto(ReadHalf(block, f.offset, Half::kHigh), out);
    case FieldKind::kTimes100:
      return NumberInto(ReadTimes100(block, f.offset), out);
    case FieldKind::kNibble:
      return NumberInto(ReadNibble(block, f.offset), out);
    case FieldKind::kUpperNibble:
      return NumberInto(ReadUpperNibble(block, f.offset), out);
    case FieldKind::kHighNibble:
      return NumberInto(ReadHighNibble(block, f.offset), out);
    case FieldKind::kBridgePriority:
      return NumberInto(ReadBridgePriority(block, f.offset), out);
    case FieldKind::kBit:
      return NumberInto(ReadFlagBits(block, f.offset, f.width, f.mask), out);
    case FieldKind::kNonzeroBit:
      return NumberInto(ReadBitOf(block, f.offset, f.width, f.bit), out);
    case FieldKind::kInvertedBit:
      return NumberInto(ReadInvertedBit(block, f.offset, f.bit), out);
    case FieldKind::kStrictBit:
      return NumberInto(ReadWordBit(block, f.offset, f.bit), out);
    case FieldKind::kInvertedDisable:
      return NumberInto(ReadInvertedDisable(block, f.offset), out);
    case FieldKind::kBoolByte:
      return NumberInto(ReadBoolByte(block, f.offset), out);
    case FieldKind::kModeBits:
      return NumberInto(ReadModeBits(block, f.offset), out);
    case FieldKind::kTwoBitField:
      return NumberInto(ReadTwoBitField(block, f.offset), out);
    case FieldKind::kRelayChoice:
      return NumberInto(ReadRelayChoice(block, {f.offset, f.offset2, f.bit, f.width}), out);
    case FieldKind::kLinkChoice:
      return NumberInto(ReadLinkChoice(block, f.offset, f.offset2), out);
    case FieldKind::kSnmpVersion: {
      std::uint32_t version = 0;
      const ItemStatus status = ReadSnmpVersion(block, f.offset, version);
      if (status == ItemStatus::kOk) out = version;
      return status;
    }
    default:
      return ReadTextValue(block, f, out);
  }
}

ItemStatus WriteTextValue(BlockBytes block, const BlockField& f, std::string_view text) {
  const auto fill = static_cast<std::size_t>(std::min(f.fillSize, f.slotSize));
  switch (f.kind) {
    case FieldKind::kText:
      return WriteText(block, f.offset, {f.maxChars, fill, true}, text);
    case FieldKind::kNameText:
      return WriteText(block, f.offset, {f.maxChars, fill, false}, text);
    case FieldKind::kBlank16:
      return WriteBlank16(block, f.offset, text);
    case FieldKind::kBlank16Terminated:
      return WriteBlank16Terminated(block, f.offset, text);
    case FieldKind::kIngressRate:
      return WriteIngressRate(block, f.offset, text);
    case FieldKind::kEgressRateName:
      return WriteEgressRateName(block, f.offset, text);
    default:
      return ItemStatus::kWrongKind;
  }
}

ItemStatus WriteNumberValue(BlockBytes block, const BlockField& f, std::uint32_t v) {
  switch (f.kind) {
    case FieldKind::kU8:
      return WriteCheckedU8(block, f.offset, v, f.min, f.max);
    case FieldKind::kU16:
      return WriteCheckedU16(block, f.offset, v, f.min, f.max);
    case FieldKind::kU32:
      return StatusOfWrite(WriteU32(block, f.offset, v));
    case FieldKind::kIpv4:
      return StatusOfWrite(WriteIpv4(block, f.offset, v));
    case FieldKind::kLo16:
      return WriteHalf(block, f.offset, Half::kLow, v);
    case FieldKind::kHi16:
      return WriteHalf(block, f.offset, Half::kHigh, v);
    case FieldKind::kTimes100:
      return WriteTimes100(block, f.offset, v);
    case FieldKind::kNibble:
      if (v > f.max) return ItemStatus::kOutOfRange;
      return WriteNibble(block, f.offset, v);
    case FieldKind::kUpperNibble:
      return WriteUpperNibble(block, f.offset, v, f.max);
    case FieldKind::kHighNibble:
      return WriteHighNibble(block, f.offset, v);
    case FieldKind::kPriorityTimes16:
      return WritePriorityTimes16(block, f.offset, v);
    case FieldKind::kBridgePriority:
      return WriteBridgePriority(block, f.offset, v);
    case FieldKind::kBit:
      return WriteFlagBits(block, f.offset, f.width, f.mask, v);
    case FieldKind::kNonzeroBit:
      return WriteNonzeroBit(block, f.offset, f.width, f.bit, v);
    case FieldKind::kInvertedBit:
      return WriteInvertedBit(block, f.offset, f.bit, v);
    case FieldKind::kStrictBit:
      return WriteStrictBit(block, f.offset, f.bit, v);
    case FieldKind::kInvertedDisable:
      return WriteInvertedDisable(block, f.offset, v);
    case FieldKind::kBoolByte:
      return WriteBoolByte(block, f.offset, v);
    case FieldKind::kMaskedU32:
      return WriteMaskedU32(block, f.offset, f.mask, v);
    case FieldKind::kMaskedU8:
      return WriteMaskedU8(block, f.offset, static_cast<std::uint8_t>(f.mask), v);
    case FieldKind::kModeBits:
      return WriteModeBits(block, f.offset, v);
    case FieldKind::kTwoBitField:
      return WriteTwoBitField(block, f.offset, v);
    case FieldKind::kRelayChoice:
      return WriteRelayChoice(block, {f.offset, f.offset2, f.bit, f.width}, v);
    case FieldKind::kLinkChoice:
      return WriteLinkChoice(block, f.offset, f.offset2, v);
    case FieldKind::kSnmpVersion:
      return WriteSnmpVersion(block, f.offset, v);
    case FieldKind::kAccessEntryNumber:
      return StatusOfWrite(WriteIpv4(block, f.offset, v));
    case FieldKind::kEgressRateIndex:
      return WriteCheckedU8(block, f.offset, v, 0, 0xFF);
    default:
      return ItemStatus::kWrongKind;
  }
}

}  // namespace

ItemStatus ReadField(ConstBlockBytes block, const BlockField& field, ItemValue& out) {
  if (field.kind == FieldKind::kHook) return ItemStatus::kNotHandled;
  if (!FieldInside(block.size(), field)) return ItemStatus::kOutsideBlock;
  return ReadValue(block, field, out);
}

ItemStatus WriteField(BlockBytes block, const BlockField& field, const ItemValue& value) {
  if (field.kind == FieldKind::kHook) return ItemStatus::kNotHandled;
  if (!ValueFits(TakesOf(field.kind), value)) return ItemStatus::kWrongKind;
  if (!FieldInside(block.size(), field)) return ItemStatus::kOutsideBlock;
  if (field.kind == FieldKind::kAccessEntry || field.kind == FieldKind::kAccessNetmask) {
    return WriteAccessAddress(block, field.offset, value);
  }
  if (const auto* text = std::get_if<std::string>(&value))
    return WriteTextValue(block, field, *text);
  return WriteNumberValue(block, field, std::get<std::uint32_t>(value));
}

}  // namespace vantrell
