#include "config/choice_encodings.h"

#include <array>

namespace vantrell {
namespace {

constexpr std::uint32_t kBit0 = 0x1;
constexpr std::uint32_t kBit1 = 0x2;
constexpr std::uint32_t kLowTwoBits = kBit0 | kBit1;

/// Mode-bit style reading of bits 0 and 1: 1 for bit 0, else 2 for bit 1.
std::uint32_t ChoiceOfTwoBits(std::uint32_t bits) {
  if (bits & kBit0) return 1;
  if (bits & kBit1) return 2;
  return 0;
}
std::uint32_t TwoBitsOfChoice(std::uint32_t value) {
  if (value == 1) return kBit0;
  if (value == 2) return kBit1;
  return 0;
}

}  // namespace

std::optional<std::uint32_t> ReadModeBits(ConstBlockBytes block, std::size_t offset) {
  const auto word = ReadU32(block, offset);
  if (!word) return std::nullopt;
  return ChoiceOfTwoBits(*word);
}

ItemStatus WriteModeBits(BlockBytes block, std::size_t offset, std::uint32_t value) {
  const auto word = ReadU32(block, offset);
  if (!word) return ItemStatus::kOutsideBlock;
  WriteU32(block, offset, (*word & ~kLowTwoBits) | TwoBitsOfChoice(value));
  return ItemStatus::kOk;
}

std::optional<std::uint32_t> ReadTwoBitField(ConstBlockBytes block, std::size_t offset) {
  const auto byte = ReadU8(block, offset);
  if (!byte) return std::nullopt;
  return ChoiceOfTwoBits(*byte);
}

ItemStatus WriteTwoBitField(BlockBytes block, std::size_t offset, std::uint32_t value) {
  const auto byte = ReadU8(block, offset);
  if (!byte) return ItemStatus::kOutsideBlock;
  WriteU8(block, offset,
          static_cast<std::uint8_t>((*byte & ~kLowTwoBits) | TwoBitsOfChoice(value)));
  return ItemStatus::kOk;
}

std::optional<std::uint32_t> ReadRelayChoice(ConstBlockBytes block, const RelayBits& where) {
  const auto enable = ReadBitOf(block, where.enableOffset, where.width, where.bit);
  const auto select = ReadBitOf(block, where.selectOffset, where.width, where.bit);
  if (!enable || !select) return std::nullopt;
  if (!*enable) return 0u;
  return *select ? 2u : 1u;
}

ItemStatus WriteRelayChoice(BlockBytes block, const RelayBits& where, std::uint32_t value) {
  if (!ReadBitOf(block, where.enableOffset, where.width, where.bit) ||
      !ReadBitOf(block, where.selectOffset, where.width, where.bit)) {
    return ItemStatus::kOutsideBlock;
  }
  if (value > 2) return ItemStatus::kOutOfRange;
  WriteNonzeroBit(block, where.enableOffset, where.width, where.bit, value != 0);
  WriteNonzeroBit(block, where.selectOffset, where.width, where.bit, value == 2);
  return ItemStatus::kOk;
}

std::optional<std::uint32_t> ReadLinkChoice(ConstBlockBytes block, std::size_t enableOffset,
                                            std::size_t selectOffset) {
  const auto enable = ReadU8(block, enableOffset);
  const auto select = ReadU8(block, selectOffset);
  if (!enable || !select) return std::nullopt;
  if (*enable & kBit0) return (*select & kBit0) ? 2u : 1u;
  if (*enable & kBit1) return (*select & kBit1) ? 4u : 3u;
  return 0u;
}

ItemStatus WriteLinkChoice(BlockBytes block, std::size_t enableOffset, std::size_t selectOffset,
                           std::uint32_t value) {
  const auto enable = ReadU8(block, enableOffset);
  const auto select = ReadU8(block, selectOffset);
  if (!enable || !select) return ItemStatus::kOutsideBlock;
  if (value > 4) return ItemStatus::kOutOfRange;
  // 1, 2: link on (bit 0); 3, 4: link off (bit 1); 2 and 4 select relay 2.
  const std::uint32_t bit = value == 0 ? 0 : (value <= 2 ? kBit0 : kBit1);
  const bool relay2 = value == 2 || value == 4;
  WriteU8(block, enableOffset, static_cast<std::uint8_t>((*enable & ~kLowTwoBits) | bit));
  WriteU8(block, selectOffset,
          static_cast<std::uint8_t>((*select & ~kLowTwoBits) | (relay2 ? bit : 0)));
  return ItemStatus::kOk;
}

namespace {
constexpr std::array<std::uint8_t, 3> kSnmpVersionCodes = {5, 3, 4};
}  // namespace

std::optional<std::uint32_t> SnmpVersionOfCode(std::uint8_t code) {
  for (std::uint32_t v = 0; v < kSnmpVersionCodes.size(); ++v) {
    if (kSnmpVersionCodes[v] == code) return v;
  }
  return std::nullopt;
}

ItemStatus ReadSnmpVersion(ConstBlockBytes block, std::size_t offset, std::uint32_t& out) {
  const auto code = ReadU8(block, offset);
  if (!code) return ItemStatus::kOutsideBlock;
  const auto version = SnmpVersionOfCode(*code);
  if (!version) return ItemStatus::kOutOfRange;
  out = *version;
  return ItemStatus::kOk;
}

ItemStatus WriteSnmpVersion(BlockBytes block, std::size_t offset, std::uint32_t value) {
  if (!FieldFits(block, offset, 1)) return ItemStatus::kOutsideBlock;
  if (value >= kSnmpVersionCodes.size()) return ItemStatus::kOutOfRange;
  block[offset] = kSnmpVersionCodes[value];
  return ItemStatus::kOk;
}

}  // namespace vantrell
