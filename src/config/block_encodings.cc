#include "config/block_encodings.h"

#include <algorithm>

#include "core/byte_order.h"

namespace vantrell {
namespace {

constexpr std::uint32_t kMax16 = 0xFFFF;
constexpr std::uint32_t kMaxNibble = 0x0F;
constexpr std::uint32_t kTimes100Factor = 100;

bool Fits(ConstBlockBytes block, std::size_t offset, std::size_t width) {
  return FieldFits(block.size(), offset, width);
}

/// The text up to its first NUL and at most maxChars long.
std::string_view CutText(std::string_view text, std::size_t maxChars) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  return text.substr(0, std::min(text.size(), maxChars));
}

std::string_view TrimTrailingBlanksAndNuls(std::string_view text) {
  const std::size_t last = text.find_last_not_of(std::string_view(" \0", 2));
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

}  // namespace

std::optional<std::uint8_t> ReadU8(ConstBlockBytes block, std::size_t offset) {
  if (!Fits(block, offset, 1)) return std::nullopt;
  return block[offset];
}

std::optional<std::uint16_t> ReadU16(ConstBlockBytes block, std::size_t offset) {
  if (!Fits(block, offset, 2)) return std::nullopt;
  return LoadLe16(block.data() + offset);
}

std::optional<std::uint32_t> ReadU32(ConstBlockBytes block, std::size_t offset) {
  if (!Fits(block, offset, 4)) return std::nullopt;
  return LoadLe32(block.data() + offset);
}

bool WriteU8(BlockBytes block, std::size_t offset, std::uint8_t value) {
  if (!Fits(block, offset, 1)) return false;
  block[offset] = value;
  return true;
}

bool WriteU16(BlockBytes block, std::size_t offset, std::uint16_t value) {
  if (!Fits(block, offset, 2)) return false;
  StoreLe16(block.data() + offset, value);
  return true;
}

bool WriteU32(BlockBytes block, std::size_t offset, std::uint32_t value) {
  if (!Fits(block, offset, 4)) return false;
  StoreLe32(block.data() + offset, value);
  return true;
}

std::optional<std::uint32_t> ReadIpv4(ConstBlockBytes block, std::size_t offset) {
  if (!Fits(block, offset, 4)) return std::nullopt;
  return LoadRaw32(block.data() + offset);
}

bool WriteIpv4(BlockBytes block, std::size_t offset, std::uint32_t address) {
  if (!Fits(block, offset, 4)) return false;
  StoreRaw32(block.data() + offset, address);
  return true;
}

std::optional<std::uint32_t> ReadWordBit(ConstBlockBytes block, std::size_t offset, unsigned bit) {
  const auto word = ReadU32(block, offset);
  if (!word || bit > 31) return std::nullopt;
  return (*word >> bit) & 1u;
}

ItemStatus WriteWordBit(BlockBytes block, std::size_t offset, unsigned bit, std::uint32_t value) {
  const auto word = ReadU32(block, offset);
  if (!word || bit > 31) return ItemStatus::kOutsideBlock;
  const std::uint32_t mask = 1u << bit;
  WriteU32(block, offset, value == 1 ? (*word | mask) : (*word & ~mask));
  return ItemStatus::kOk;
}

std::optional<std::uint32_t> ReadNibble(ConstBlockBytes block, std::size_t offset) {
  const auto byte = ReadU8(block, offset);
  if (!byte) return std::nullopt;
  return *byte & kMaxNibble;
}

ItemStatus WriteNibble(BlockBytes block, std::size_t offset, std::uint32_t value) {
  const auto byte = ReadU8(block, offset);
  if (!byte) return ItemStatus::kOutsideBlock;
  if (value > kMaxNibble) return ItemStatus::kOutOfRange;
  WriteU8(block, offset, static_cast<std::uint8_t>((*byte & 0xF0) | value));
  return ItemStatus::kOk;
}

std::optional<std::uint32_t> ReadHalf(ConstBlockBytes block, std::size_t offset, Half half) {
  const auto word = ReadU32(block, offset);
  if (!word) return std::nullopt;
  return half == Half::kLow ? (*word & kMax16) : (*word >> 16);
}

ItemStatus WriteHalf(BlockBytes block, std::size_t offset, Half half, std::uint32_t value) {
  const auto word = ReadU32(block, offset);
  if (!word) return ItemStatus::kOutsideBlock;
  if (value > kMax16) return ItemStatus::kOutOfRange;
  const std::uint32_t merged =
      half == Half::kLow ? ((*word & 0xFFFF0000u) | value) : ((*word & kMax16) | (value << 16));
  WriteU32(block, offset, merged);
  return ItemStatus::kOk;
}

std::optional<std::uint32_t> ReadTimes100(ConstBlockBytes block, std::size_t offset) {
  const auto stored = ReadU16(block, offset);
  if (!stored) return std::nullopt;
  return *stored / kTimes100Factor;
}

ItemStatus WriteTimes100(BlockBytes block, std::size_t offset, std::uint32_t value) {
  if (!Fits(block, offset, 2)) return ItemStatus::kOutsideBlock;
  if (value > kMax16 / kTimes100Factor) return ItemStatus::kOutOfRange;
  WriteU16(block, offset, static_cast<std::uint16_t>(value * kTimes100Factor));
  return ItemStatus::kOk;
}

ItemStatus WriteMaskedU32(BlockBytes block, std::size_t offset, std::uint32_t mask,
                          std::uint32_t value) {
  const auto word = ReadU32(block, offset);
  if (!word) return ItemStatus::kOutsideBlock;
  WriteU32(block, offset, (*word & ~mask) | (value & mask));
  return ItemStatus::kOk;
}

ItemStatus WriteMaskedU8(BlockBytes block, std::size_t offset, std::uint8_t mask,
                         std::uint32_t value) {
  const auto byte = ReadU8(block, offset);
  if (!byte) return ItemStatus::kOutsideBlock;
  WriteU8(block, offset, static_cast<std::uint8_t>((*byte & ~mask) | (value & mask)));
  return ItemStatus::kOk;
}

std::optional<std::string> ReadText(ConstBlockBytes block, std::size_t offset,
                                    std::size_t maxChars) {
  if (!Fits(block, offset, maxChars)) return std::nullopt;
  const auto field = block.subspan(offset, maxChars);
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return std::string(field.begin(), end);
}

ItemStatus WriteText(BlockBytes block, std::size_t offset, const TextWrite& how,
                     std::string_view text) {
  if (how.maxChars > how.fillSize || !Fits(block, offset, how.fillSize)) {
    return ItemStatus::kOutsideBlock;
  }
  std::string_view stored = CutText(text, how.maxChars);
  if (how.trimTrailing) stored = TrimTrailingBlanksAndNuls(stored);
  auto field = block.subspan(offset, how.fillSize);
  std::fill(std::copy(stored.begin(), stored.end(), field.begin()), field.end(), 0);
  return ItemStatus::kOk;
}

std::optional<std::string> ReadBlank16(ConstBlockBytes block, std::size_t offset) {
  if (!Fits(block, offset, kBlank16Size)) return std::nullopt;
  const auto field = block.subspan(offset, kBlank16Size);
  std::string_view raw(reinterpret_cast<const char*>(field.data()), field.size());
  raw = TrimTrailingBlanksAndNuls(raw);
  return std::string(CutText(raw, kBlank16Size));
}

namespace {

ItemStatus WritePadded16(BlockBytes block, std::size_t offset, std::string_view text,
                         bool terminate) {
  if (!Fits(block, offset, kBlank16Size)) return ItemStatus::kOutsideBlock;
  const std::string_view stored = CutText(text, kBlank16Size);
  auto field = block.subspan(offset, kBlank16Size);
  auto rest = std::copy(stored.begin(), stored.end(), field.begin());
  if (terminate && rest != field.end()) *rest++ = 0;
  std::fill(rest, field.end(), ' ');
  return ItemStatus::kOk;
}

}  // namespace

ItemStatus WriteBlank16(BlockBytes block, std::size_t offset, std::string_view text) {
  return WritePadded16(block, offset, text, false);
}

ItemStatus WriteBlank16Terminated(BlockBytes block, std::size_t offset, std::string_view text) {
  return WritePadded16(block, offset, text, true);
}

namespace {

std::optional<std::uint32_t> ReadNumber(ConstBlockBytes block, const BlockField& field) {
  switch (field.kind) {
    case FieldKind::kU8:
    case FieldKind::kMaskedU8:
      return ReadU8(block, field.offset);
    case FieldKind::kU16:
      return ReadU16(block, field.offset);
    case FieldKind::kU32:
    case FieldKind::kMaskedU32:
      return ReadU32(block, field.offset);
    case FieldKind::kIpv4:
      return ReadIpv4(block, field.offset);
    case FieldKind::kWordBit:
      return ReadWordBit(block, field.offset, field.param);
    case FieldKind::kNibble:
      return ReadNibble(block, field.offset);
    case FieldKind::kLo16:
      return ReadHalf(block, field.offset, Half::kLow);
    case FieldKind::kHi16:
      return ReadHalf(block, field.offset, Half::kHigh);
    case FieldKind::kTimes100:
      return ReadTimes100(block, field.offset);
    default:
      return std::nullopt;
  }
}

std::optional<std::string> ReadTextValue(ConstBlockBytes block, const BlockField& field) {
  if (!Fits(block, field.offset, FieldWidth(field))) return std::nullopt;
  switch (field.kind) {
    case FieldKind::kText:
    case FieldKind::kNameText:
      return ReadText(block, field.offset, std::min(field.maxChars, field.slotSize));
    case FieldKind::kBlank16:
    case FieldKind::kBlank16Terminated:
      return ReadBlank16(block, field.offset);
    default:
      return std::nullopt;
  }
}

ItemStatus FromBool(bool written) { return written ? ItemStatus::kOk : ItemStatus::kOutsideBlock; }

ItemStatus WriteNumber(BlockBytes block, const BlockField& field, std::uint32_t value) {
  if (!Fits(block, field.offset, FieldWidth(field))) return ItemStatus::kOutsideBlock;
  switch (field.kind) {
    case FieldKind::kU8:
      if (value > 0xFF) return ItemStatus::kOutOfRange;
      return FromBool(WriteU8(block, field.offset, static_cast<std::uint8_t>(value)));
    case FieldKind::kU16:
      if (value > kMax16) return ItemStatus::kOutOfRange;
      return FromBool(WriteU16(block, field.offset, static_cast<std::uint16_t>(value)));
    case FieldKind::kU32:
      return FromBool(WriteU32(block, field.offset, value));
    case FieldKind::kIpv4:
      return FromBool(WriteIpv4(block, field.offset, value));
    case FieldKind::kWordBit:
      return WriteWordBit(block, field.offset, field.param, value);
    case FieldKind::kNibble:
      return WriteNibble(block, field.offset, value);
    case FieldKind::kLo16:
      return WriteHalf(block, field.offset, Half::kLow, value);
    case FieldKind::kHi16:
      return WriteHalf(block, field.offset, Half::kHigh, value);
    case FieldKind::kTimes100:
      return WriteTimes100(block, field.offset, value);
    case FieldKind::kMaskedU32:
      return WriteMaskedU32(block, field.offset, field.param, value);
    case FieldKind::kMaskedU8:
      return WriteMaskedU8(block, field.offset, static_cast<std::uint8_t>(field.param), value);
    default:
      return ItemStatus::kWrongKind;
  }
}

ItemStatus WriteTextValue(BlockBytes block, const BlockField& field, std::string_view text) {
  if (!Fits(block, field.offset, FieldWidth(field))) return ItemStatus::kOutsideBlock;
  switch (field.kind) {
    case FieldKind::kText:
      return WriteText(block, field.offset,
                       {field.maxChars, std::min(field.fillSize, field.slotSize), true}, text);
    case FieldKind::kNameText:
      return WriteText(block, field.offset,
                       {field.maxChars, std::min(field.fillSize, field.slotSize), false}, text);
    case FieldKind::kBlank16:
      return WriteBlank16(block, field.offset, text);
    case FieldKind::kBlank16Terminated:
      return WriteBlank16Terminated(block, field.offset, text);
    default:
      return ItemStatus::kWrongKind;
  }
}

}  // namespace

ItemStatus ReadField(ConstBlockBytes block, const BlockField& field, ItemValue& out) {
  if (!Fits(block, field.offset, FieldWidth(field))) return ItemStatus::kOutsideBlock;
  if (IsTextField(field)) {
    auto text = ReadTextValue(block, field);
    if (!text) return ItemStatus::kOutsideBlock;
    out = std::move(*text);
    return ItemStatus::kOk;
  }
  const auto number = ReadNumber(block, field);
  if (!number) return ItemStatus::kOutsideBlock;
  out = *number;
  return ItemStatus::kOk;
}

ItemStatus WriteField(BlockBytes block, const BlockField& field, const ItemValue& value) {
  if (IsTextField(field)) {
    const auto* text = std::get_if<std::string>(&value);
    return text ? WriteTextValue(block, field, *text) : ItemStatus::kWrongKind;
  }
  const auto* number = std::get_if<std::uint32_t>(&value);
  return number ? WriteNumber(block, field, *number) : ItemStatus::kWrongKind;
}

}  // namespace vantrell
