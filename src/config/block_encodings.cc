#include "config/block_encodings.h"

#include <algorithm>

#include "core/byte_order.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

constexpr std::uint32_t kMax16 = 0xFFFF;
constexpr std::uint32_t kMaxNibble = 0x0F;
constexpr std::uint32_t kTimes100Factor = 100;

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

bool WriteU8(BlockBytes block, std::size_t offset, std::uint8_t value) {
  if (!FieldFits(block, offset, 1)) return false;
  block[offset] = value;
  return true;
}

bool WriteU16(BlockBytes block, std::size_t offset, std::uint16_t value) {
  if (!FieldFits(block, offset, 2)) return false;
  StoreLe16(block.data() + offset, value);
  return true;
}

bool WriteU32(BlockBytes block, std::size_t offset, std::uint32_t value) {
  if (!FieldFits(block, offset, 4)) return false;
  StoreLe32(block.data() + offset, value);
  return true;
}

std::optional<std::uint32_t> ReadIpv4(ConstBlockBytes block, std::size_t offset) {
  if (!FieldFits(block, offset, 4)) return std::nullopt;
  return LoadRaw32(block.data() + offset);
}

bool WriteIpv4(BlockBytes block, std::size_t offset, std::uint32_t address) {
  if (!FieldFits(block, offset, 4)) return false;
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
  if (!FieldFits(block, offset, 2)) return ItemStatus::kOutsideBlock;
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
  if (!FieldFits(block, offset, maxChars)) return std::nullopt;
  const auto field = block.subspan(offset, maxChars);
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return std::string(field.begin(), end);
}

ItemStatus WriteText(BlockBytes block, std::size_t offset, const TextWrite& how,
                     std::string_view text) {
  if (how.maxChars > how.fillSize || !FieldFits(block, offset, how.fillSize)) {
    return ItemStatus::kOutsideBlock;
  }
  std::string_view stored = CutText(text, how.maxChars);
  if (how.trimTrailing) stored = TrimTrailingBlanksAndNuls(stored);
  auto field = block.subspan(offset, how.fillSize);
  std::fill(std::copy(stored.begin(), stored.end(), field.begin()), field.end(), 0);
  return ItemStatus::kOk;
}

std::optional<std::string> ReadBlank16(ConstBlockBytes block, std::size_t offset) {
  if (!FieldFits(block, offset, kBlank16Size)) return std::nullopt;
  const auto field = block.subspan(offset, kBlank16Size);
  std::string_view raw(reinterpret_cast<const char*>(field.data()), field.size());
  raw = TrimTrailingBlanksAndNuls(raw);
  return std::string(CutText(raw, kBlank16Size));
}

namespace {

ItemStatus WritePadded16(BlockBytes block, std::size_t offset, std::string_view text,
                         bool terminate) {
  if (!FieldFits(block, offset, kBlank16Size)) return ItemStatus::kOutsideBlock;
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

std::optional<std::uint32_t> ReadUnsigned(ConstBlockBytes block, std::size_t offset,
                                          std::size_t width) {
  switch (width) {
    case 1:
      return ReadU8(block, offset);
    case 2:
      return ReadU16(block, offset);
    case 4:
      return ReadU32(block, offset);
    default:
      return std::nullopt;
  }
}

bool WriteUnsigned(BlockBytes block, std::size_t offset, std::size_t width, std::uint32_t value) {
  switch (width) {
    case 1:
      return WriteU8(block, offset, static_cast<std::uint8_t>(value));
    case 2:
      return WriteU16(block, offset, static_cast<std::uint16_t>(value));
    case 4:
      return WriteU32(block, offset, value);
    default:
      return false;
  }
}

ItemStatus WriteCheckedU8(BlockBytes block, std::size_t offset, std::uint32_t value,
                          std::uint32_t min, std::uint32_t max) {
  if (!FieldFits(block, offset, 1)) return ItemStatus::kOutsideBlock;
  if (value < min || value > max || value > 0xFF) return ItemStatus::kOutOfRange;
  WriteU8(block, offset, static_cast<std::uint8_t>(value));
  return ItemStatus::kOk;
}

ItemStatus WriteCheckedU16(BlockBytes block, std::size_t offset, std::uint32_t value,
                           std::uint32_t min, std::uint32_t max) {
  if (!FieldFits(block, offset, 2)) return ItemStatus::kOutsideBlock;
  if (value < min || value > max || value > 0xFFFF) return ItemStatus::kOutOfRange;
  WriteU16(block, offset, static_cast<std::uint16_t>(value));
  return ItemStatus::kOk;
}

std::optional<std::uint32_t> ReadInvertedDisable(ConstBlockBytes block, std::size_t offset) {
  const auto byte = ReadU8(block, offset);
  if (!byte) return std::nullopt;
  return *byte == 1 ? 0u : 1u;
}

ItemStatus WriteInvertedDisable(BlockBytes block, std::size_t offset, std::uint32_t value) {
  return WriteU8(block, offset, value == 1 ? 0 : 1) ? ItemStatus::kOk : ItemStatus::kOutsideBlock;
}

std::optional<std::uint32_t> ReadInvertedBit(ConstBlockBytes block, std::size_t offset,
                                             unsigned bit) {
  const auto set = ReadWordBit(block, offset, bit);
  if (!set) return std::nullopt;
  return *set ? 0u : 1u;
}

ItemStatus WriteInvertedBit(BlockBytes block, std::size_t offset, unsigned bit,
                            std::uint32_t value) {
  return WriteWordBit(block, offset, bit, value == 0 ? 1u : 0u);
}

std::optional<std::uint32_t> ReadBoolByte(ConstBlockBytes block, std::size_t offset) {
  const auto byte = ReadU8(block, offset);
  if (!byte) return std::nullopt;
  return *byte == 1 ? 1u : 0u;
}

ItemStatus WriteBoolByte(BlockBytes block, std::size_t offset, std::uint32_t value) {
  return StatusOfWrite(WriteU8(block, offset, value == 1 ? 1 : 0));
}

std::optional<std::uint32_t> ReadBitOf(ConstBlockBytes block, std::size_t offset, std::size_t width,
                                       unsigned bit) {
  if (bit >= 8 * width) return std::nullopt;
  const auto field = ReadUnsigned(block, offset, width);
  if (!field) return std::nullopt;
  return (*field >> bit) & 1u;
}

ItemStatus WriteNonzeroBit(BlockBytes block, std::size_t offset, std::size_t width, unsigned bit,
                           std::uint32_t value) {
  if (bit >= 8 * width) return ItemStatus::kOutsideBlock;
  const auto field = ReadUnsigned(block, offset, width);
  if (!field) return ItemStatus::kOutsideBlock;
  const std::uint32_t mask = 1u << bit;
  WriteUnsigned(block, offset, width, value != 0 ? (*field | mask) : (*field & ~mask));
  return ItemStatus::kOk;
}

std::optional<std::uint32_t> ReadFlagBits(ConstBlockBytes block, std::size_t offset,
                                          std::size_t width, std::uint32_t mask) {
  const auto field = ReadUnsigned(block, offset, width);
  if (!field) return std::nullopt;
  return (*field & mask) ? 1u : 0u;
}

ItemStatus WriteFlagBits(BlockBytes block, std::size_t offset, std::size_t width,
                         std::uint32_t mask, std::uint32_t value) {
  const auto field = ReadUnsigned(block, offset, width);
  if (!field) return ItemStatus::kOutsideBlock;
  WriteUnsigned(block, offset, width, value == 1 ? (*field | mask) : (*field & ~mask));
  return ItemStatus::kOk;
}

ItemStatus WriteStrictBit(BlockBytes block, std::size_t offset, unsigned bit, std::uint32_t value) {
  if (!FieldFits(block, offset, 4)) return ItemStatus::kOutsideBlock;
  if (value > 1) return ItemStatus::kOutOfRange;
  return WriteWordBit(block, offset, bit, value);
}

std::optional<std::uint32_t> ReadUpperNibble(ConstBlockBytes block, std::size_t offset) {
  const auto byte = ReadU8(block, offset);
  if (!byte) return std::nullopt;
  return *byte >> 4;
}

ItemStatus WriteUpperNibble(BlockBytes block, std::size_t offset, std::uint32_t value,
                            std::uint32_t max) {
  if (value > max || value > kMaxNibble) return ItemStatus::kOutOfRange;
  return WriteMaskedU8(block, offset, 0xF0, value << 4);
}

std::optional<std::uint32_t> ReadHighNibble(ConstBlockBytes block, std::size_t offset) {
  const auto byte = ReadU8(block, offset);
  if (!byte) return std::nullopt;
  return *byte >> 4;
}

ItemStatus WriteHighNibble(BlockBytes block, std::size_t offset, std::uint32_t value) {
  if (!FieldFits(block, offset, 1)) return ItemStatus::kOutsideBlock;
  if (value > 15) return ItemStatus::kOutOfRange;
  WriteU8(block, offset, static_cast<std::uint8_t>(value << 4));
  return ItemStatus::kOk;
}

ItemStatus WritePriorityTimes16(BlockBytes block, std::size_t offset, std::uint32_t value) {
  return WriteHighNibble(block, offset, value);
}

std::optional<std::uint32_t> ReadBridgePriority(ConstBlockBytes block, std::size_t offset) {
  const auto word = ReadU16(block, offset);
  if (!word) return std::nullopt;
  return *word >> 12;
}

ItemStatus WriteBridgePriority(BlockBytes block, std::size_t offset, std::uint32_t value) {
  if (!FieldFits(block, offset, 2)) return ItemStatus::kOutsideBlock;
  if (value > 15) return ItemStatus::kOutOfRange;
  WriteU16(block, offset, static_cast<std::uint16_t>(value << 12));
  return ItemStatus::kOk;
}

std::optional<std::string> ReadAccessEntry(ConstBlockBytes block, std::size_t addressOffset,
                                           std::size_t netmaskOffset) {
  const auto address = ReadIpv4(block, addressOffset);
  const auto netmask = ReadIpv4(block, netmaskOffset);
  if (!address || !netmask) return std::nullopt;
  if (*address == 0) return std::string();
  return FormatIpv4(*address) + "/" + FormatIpv4(*netmask);
}

ItemStatus WriteAccessAddress(BlockBytes block, std::size_t offset, const ItemValue& value) {
  if (!FieldFits(block, offset, 4)) return ItemStatus::kOutsideBlock;
  std::optional<Ipv4> address;
  if (const auto* number = std::get_if<std::uint32_t>(&value)) {
    address = *number;
  } else {
    address = ParseIpv4(std::get<std::string>(value));
    if (!address) return ItemStatus::kOutOfRange;
  }
  WriteIpv4(block, offset, *address);
  return ItemStatus::kOk;
}

std::optional<std::string> ReadText40(ConstBlockBytes block, std::size_t offset) {
  return ReadText(block, offset, kText40Size);
}

ItemStatus WriteText40(BlockBytes block, std::size_t offset, std::string_view text) {
  return WriteText(block, offset, {kText40Size, kText40Size, false}, text);
}

std::string_view TrimTrailingBlanksCrNuls(std::string_view text) {
  const std::size_t last = text.find_last_not_of(std::string_view(" \r\0", 3));
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string CutAtNulAndTrim(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  return std::string(TrimTrailingBlanksCrNuls(text));
}

}  // namespace vantrell
