#include "config/gen_a_encodings.h"

#include <algorithm>
#include <cstdio>

#include "config/c_number_parse.h"
#include "config/config_catalogue.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

bool Fits(ConstBlockBytes block, std::size_t offset, std::size_t width) {
  return FieldFits(block.size(), offset, width);
}

std::optional<std::uint32_t> ReadWidth(ConstBlockBytes block, std::size_t offset,
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

bool WriteWidth(BlockBytes block, std::size_t offset, std::size_t width, std::uint32_t value) {
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

/// A sscanf-style scanner over a text: conversions skip leading white space
/// and report whether they matched.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {
    const std::size_t nul = text_.find('\0');
    if (nul != std::string_view::npos) text_ = text_.substr(0, nul);
  }

  /// "%d": optional sign and at least one digit; saturates at the 32-bit range.
  std::optional<std::int32_t> Int() {
    SkipSpace();
    std::size_t i = pos_;
    bool negative = false;
    if (i < text_.size() && (text_[i] == '+' || text_[i] == '-')) negative = text_[i++] == '-';
    const std::size_t digits = i;
    std::int64_t magnitude = 0;
    while (i < text_.size() && text_[i] >= '0' && text_[i] <= '9') {
      magnitude = std::min<std::int64_t>(magnitude * 10 + (text_[i] - '0'), 0x80000000LL);
      ++i;
    }
    if (i == digits) return std::nullopt;
    pos_ = i;
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
  }

  /// "%s": a run of non-white-space characters.
  std::optional<std::string_view> Word() {
    SkipSpace();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsCSpace(text_[pos_])) ++pos_;
    if (pos_ == start) return std::nullopt;
    return text_.substr(start, pos_ - start);
  }

 private:
  void SkipSpace() {
    while (pos_ < text_.size() && IsCSpace(text_[pos_])) ++pos_;
  }
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::optional<std::string_view> RateName(std::uint32_t index) {
  if (index >= kRateNames.size()) return std::nullopt;
  return kRateNames[index];
}

std::optional<std::uint8_t> StorableRateIndex(std::string_view name) {
  for (std::size_t i = 0; i < kStorableRateNames; ++i) {
    if (kRateNames[i] == name) return static_cast<std::uint8_t>(i);
  }
  return std::nullopt;
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

std::optional<std::uint32_t> ReadBitOf(ConstBlockBytes block, std::size_t offset, std::size_t width,
                                       unsigned bit) {
  if (bit >= 8 * width) return std::nullopt;
  const auto field = ReadWidth(block, offset, width);
  if (!field) return std::nullopt;
  return (*field >> bit) & 1u;
}

ItemStatus WriteNonzeroBit(BlockBytes block, std::size_t offset, std::size_t width, unsigned bit,
                           std::uint32_t value) {
  if (bit >= 8 * width) return ItemStatus::kOutsideBlock;
  const auto field = ReadWidth(block, offset, width);
  if (!field) return ItemStatus::kOutsideBlock;
  const std::uint32_t mask = 1u << bit;
  WriteWidth(block, offset, width, value != 0 ? (*field | mask) : (*field & ~mask));
  return ItemStatus::kOk;
}

ItemStatus WriteCheckedU8(BlockBytes block, std::size_t offset, std::uint32_t value,
                          std::uint32_t min, std::uint32_t max) {
  if (!Fits(block, offset, 1)) return ItemStatus::kOutsideBlock;
  if (value < min || value > max || value > 0xFF) return ItemStatus::kOutOfRange;
  WriteU8(block, offset, static_cast<std::uint8_t>(value));
  return ItemStatus::kOk;
}

ItemStatus WriteCheckedU16(BlockBytes block, std::size_t offset, std::uint32_t value,
                           std::uint32_t min, std::uint32_t max) {
  if (!Fits(block, offset, 2)) return ItemStatus::kOutsideBlock;
  if (value < min || value > max || value > 0xFFFF) return ItemStatus::kOutOfRange;
  WriteU16(block, offset, static_cast<std::uint16_t>(value));
  return ItemStatus::kOk;
}

std::optional<std::uint32_t> ReadHighNibble(ConstBlockBytes block, std::size_t offset) {
  const auto byte = ReadU8(block, offset);
  if (!byte) return std::nullopt;
  return *byte >> 4;
}

ItemStatus WriteHighNibble(BlockBytes block, std::size_t offset, std::uint32_t value) {
  if (!Fits(block, offset, 1)) return ItemStatus::kOutsideBlock;
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
  if (!Fits(block, offset, 2)) return ItemStatus::kOutsideBlock;
  if (value > 15) return ItemStatus::kOutOfRange;
  WriteU16(block, offset, static_cast<std::uint16_t>(value << 12));
  return ItemStatus::kOk;
}

ItemStatus WriteStrictBit(BlockBytes block, std::size_t offset, unsigned bit, std::uint32_t value) {
  if (!Fits(block, offset, 4)) return ItemStatus::kOutsideBlock;
  if (value > 1) return ItemStatus::kOutOfRange;
  return WriteWordBit(block, offset, bit, value);
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

std::optional<std::string> ReadAccessEntry(ConstBlockBytes block, std::size_t addressOffset,
                                           std::size_t netmaskOffset) {
  const auto address = ReadIpv4(block, addressOffset);
  const auto netmask = ReadIpv4(block, netmaskOffset);
  if (!address || !netmask) return std::nullopt;
  if (*address == 0) return std::string();
  return FormatIpv4(*address) + "/" + FormatIpv4(*netmask);
}

ItemStatus WriteAccessAddress(BlockBytes block, std::size_t offset, const ItemValue& value) {
  if (!Fits(block, offset, 4)) return ItemStatus::kOutsideBlock;
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

namespace {
constexpr std::uint8_t kRateIndexMask = 0x0F;
constexpr std::uint8_t kDoubleRateShift = 4;
constexpr int kDoubleRateFlags = 3;
constexpr std::int32_t kMaxPolicy = 3;
}  // namespace

ItemStatus ReadIngressRate(ConstBlockBytes block, std::size_t offset, std::string& out) {
  if (!Fits(block, offset, 2)) return ItemStatus::kOutsideBlock;
  const std::uint8_t policy = block[offset];
  const std::uint8_t rate = block[offset + 1];
  const auto name = RateName(rate & kRateIndexMask);
  if (!name) return ItemStatus::kOutOfRange;
  out = std::to_string(policy) + " " + std::string(*name);
  for (int flag = 0; flag < kDoubleRateFlags; ++flag) {
    out += ((rate >> (kDoubleRateShift + flag)) & 1) ? " 1" : " 0";
  }
  return ItemStatus::kOk;
}

ItemStatus WriteIngressRate(BlockBytes block, std::size_t offset, std::string_view text) {
  if (!Fits(block, offset, 2)) return ItemStatus::kOutsideBlock;
  Scanner scan(text);
  const auto policy = scan.Int();
  if (!policy) return ItemStatus::kOutOfRange;
  if (*policy >= 0 && *policy <= kMaxPolicy) block[offset] = static_cast<std::uint8_t>(*policy);
  std::uint8_t rate = block[offset + 1];
  const auto name = scan.Word();
  if (name) {
    if (const auto index = StorableRateIndex(*name)) {
      rate = static_cast<std::uint8_t>((rate & ~kRateIndexMask) | *index);
    }
    for (int flag = 0; flag < kDoubleRateFlags; ++flag) {
      const auto given = scan.Int();
      if (!given) break;
      const auto mask = static_cast<std::uint8_t>(1u << (kDoubleRateShift + flag));
      rate = static_cast<std::uint8_t>(*given > 0 ? (rate | mask) : (rate & ~mask));
    }
  }
  block[offset + 1] = rate;
  return ItemStatus::kOk;
}

ItemStatus ReadEgressRate(ConstBlockBytes block, std::size_t offset, std::string& out) {
  const auto index = ReadU8(block, offset);
  if (!index) return ItemStatus::kOutsideBlock;
  const auto name = RateName(*index);
  if (!name) return ItemStatus::kOutOfRange;
  out = std::string(*name);
  return ItemStatus::kOk;
}

ItemStatus WriteEgressRateName(BlockBytes block, std::size_t offset, std::string_view name) {
  if (!Fits(block, offset, 1)) return ItemStatus::kOutsideBlock;
  const auto index = StorableRateIndex(name);
  if (!index) return ItemStatus::kOutOfRange;
  block[offset] = *index;
  return ItemStatus::kOk;
}

std::optional<std::string> ReadText40(ConstBlockBytes block, std::size_t offset) {
  return ReadText(block, offset, kText40Size);
}

ItemStatus WriteText40(BlockBytes block, std::size_t offset, std::string_view text) {
  return WriteText(block, offset, {kText40Size, kText40Size, false}, text);
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
  if (!Fits(block, offset, 1)) return ItemStatus::kOutsideBlock;
  if (value >= kSnmpVersionCodes.size()) return ItemStatus::kOutOfRange;
  block[offset] = kSnmpVersionCodes[value];
  return ItemStatus::kOk;
}

std::string_view TrimTrailingBlanksCrNuls(std::string_view text) {
  const std::size_t last = text.find_last_not_of(std::string_view(" \r\0", 3));
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// ---------------------------------------------------------------------------

AFieldExtent ExtentOf(const AField& f) {
  switch (f.kind) {
    case AFieldKind::kPlain:
      return {f.plain.offset, FieldWidth(f.plain), f.plain.offset, 0};
    case AFieldKind::kInvertedDisable:
    case AFieldKind::kTwoBitField:
    case AFieldKind::kCheckedU8:
    case AFieldKind::kHighNibble:
    case AFieldKind::kPriorityTimes16:
    case AFieldKind::kEgressRateName:
    case AFieldKind::kEgressRateIndex:
    case AFieldKind::kSnmpVersion:
      return {f.offset, 1, f.offset, 0};
    case AFieldKind::kCheckedU16:
    case AFieldKind::kBridgePriority:
    case AFieldKind::kIngressRate:
      return {f.offset, 2, f.offset, 0};
    case AFieldKind::kInvertedBit:
    case AFieldKind::kModeBits:
    case AFieldKind::kStrictBit:
    case AFieldKind::kAccessNetmask:
      return {f.offset, 4, f.offset, 0};
    case AFieldKind::kNonzeroBit:
      return {f.offset, f.width, f.offset, 0};
    case AFieldKind::kRelayChoice:
      return {f.offset, f.width, f.offset2, f.width};
    case AFieldKind::kLinkChoice:
      return {f.offset, 1, f.offset2, 1};
    case AFieldKind::kAccessAddress:
      return {f.offset, 4, f.offset2, 4};
    case AFieldKind::kText40:
      return {f.offset, kText40Size, f.offset, 0};
  }
  return {f.offset, 0, f.offset, 0};
}

bool AFieldFits(std::size_t blockSize, const AField& field) {
  const AFieldExtent e = ExtentOf(field);
  return e.size > 0 && FieldFits(blockSize, e.offset, e.size) &&
         FieldFits(blockSize, e.offset2, e.size2);
}

namespace {

ItemStatus Number(std::optional<std::uint32_t> number, ItemValue& out) {
  if (!number) return ItemStatus::kOutsideBlock;
  out = *number;
  return ItemStatus::kOk;
}

ItemStatus Text(std::optional<std::string> text, ItemValue& out) {
  if (!text) return ItemStatus::kOutsideBlock;
  out = std::move(*text);
  return ItemStatus::kOk;
}

ItemStatus TextOut(ItemStatus status, std::string text, ItemValue& out) {
  if (status == ItemStatus::kOk) out = std::move(text);
  return status;
}

bool IsTextKind(AFieldKind kind) {
  switch (kind) {
    case AFieldKind::kIngressRate:
    case AFieldKind::kEgressRateName:
    case AFieldKind::kText40:
      return true;
    default:
      return false;
  }
}

}  // namespace

ItemStatus ReadAField(ConstBlockBytes block, const AField& f, ItemValue& out) {
  if (!AFieldFits(block.size(), f)) return ItemStatus::kOutsideBlock;
  switch (f.kind) {
    case AFieldKind::kPlain:
      return ReadField(block, f.plain, out);
    case AFieldKind::kInvertedDisable:
      return Number(ReadInvertedDisable(block, f.offset), out);
    case AFieldKind::kInvertedBit:
      return Number(ReadInvertedBit(block, f.offset, f.bit), out);
    case AFieldKind::kModeBits:
      return Number(ReadModeBits(block, f.offset), out);
    case AFieldKind::kTwoBitField:
      return Number(ReadTwoBitField(block, f.offset), out);
    case AFieldKind::kNonzeroBit:
      return Number(ReadBitOf(block, f.offset, f.width, f.bit), out);
    case AFieldKind::kCheckedU8:
    case AFieldKind::kPriorityTimes16:
      return Number(ReadU8(block, f.offset), out);
    case AFieldKind::kCheckedU16:
      return Number(ReadU16(block, f.offset), out);
    case AFieldKind::kHighNibble:
      return Number(ReadHighNibble(block, f.offset), out);
    case AFieldKind::kBridgePriority:
      return Number(ReadBridgePriority(block, f.offset), out);
    case AFieldKind::kStrictBit:
      return Number(ReadWordBit(block, f.offset, f.bit), out);
    case AFieldKind::kRelayChoice:
      return Number(ReadRelayChoice(block, {f.offset, f.offset2, f.bit, f.width}), out);
    case AFieldKind::kLinkChoice:
      return Number(ReadLinkChoice(block, f.offset, f.offset2), out);
    case AFieldKind::kAccessAddress:
      return Text(ReadAccessEntry(block, f.offset, f.offset2), out);
    case AFieldKind::kAccessNetmask:
      return Number(ReadIpv4(block, f.offset), out);
    case AFieldKind::kIngressRate: {
      std::string text;
      const ItemStatus status = ReadIngressRate(block, f.offset, text);
      return TextOut(status, std::move(text), out);
    }
    case AFieldKind::kEgressRateName:
    case AFieldKind::kEgressRateIndex: {
      std::string text;
      const ItemStatus status = ReadEgressRate(block, f.offset, text);
      return TextOut(status, std::move(text), out);
    }
    case AFieldKind::kText40:
      return Text(ReadText40(block, f.offset), out);
    case AFieldKind::kSnmpVersion: {
      std::uint32_t version = 0;
      const ItemStatus status = ReadSnmpVersion(block, f.offset, version);
      if (status == ItemStatus::kOk) out = version;
      return status;
    }
  }
  return ItemStatus::kNotHandled;
}

ItemStatus WriteAField(BlockBytes block, const AField& f, const ItemValue& value) {
  if (!AFieldFits(block.size(), f)) return ItemStatus::kOutsideBlock;
  if (f.kind == AFieldKind::kPlain) return WriteField(block, f.plain, value);
  if (f.kind == AFieldKind::kAccessAddress || f.kind == AFieldKind::kAccessNetmask) {
    return WriteAccessAddress(block, f.offset, value);
  }
  if (IsTextKind(f.kind)) {
    const auto* text = std::get_if<std::string>(&value);
    if (!text) return ItemStatus::kWrongKind;
    switch (f.kind) {
      case AFieldKind::kIngressRate:
        return WriteIngressRate(block, f.offset, *text);
      case AFieldKind::kEgressRateName:
        return WriteEgressRateName(block, f.offset, *text);
      default:
        return WriteText40(block, f.offset, *text);
    }
  }
  const auto* number = std::get_if<std::uint32_t>(&value);
  if (!number) return ItemStatus::kWrongKind;
  const std::uint32_t v = *number;
  switch (f.kind) {
    case AFieldKind::kInvertedDisable:
      return WriteInvertedDisable(block, f.offset, v);
    case AFieldKind::kInvertedBit:
      return WriteInvertedBit(block, f.offset, f.bit, v);
    case AFieldKind::kModeBits:
      return WriteModeBits(block, f.offset, v);
    case AFieldKind::kTwoBitField:
      return WriteTwoBitField(block, f.offset, v);
    case AFieldKind::kNonzeroBit:
      return WriteNonzeroBit(block, f.offset, f.width, f.bit, v);
    case AFieldKind::kCheckedU8:
      return WriteCheckedU8(block, f.offset, v, f.min, f.max);
    case AFieldKind::kCheckedU16:
      return WriteCheckedU16(block, f.offset, v, f.min, f.max);
    case AFieldKind::kHighNibble:
      return WriteHighNibble(block, f.offset, v);
    case AFieldKind::kPriorityTimes16:
      return WritePriorityTimes16(block, f.offset, v);
    case AFieldKind::kBridgePriority:
      return WriteBridgePriority(block, f.offset, v);
    case AFieldKind::kStrictBit:
      return WriteStrictBit(block, f.offset, f.bit, v);
    case AFieldKind::kRelayChoice:
      return WriteRelayChoice(block, {f.offset, f.offset2, f.bit, f.width}, v);
    case AFieldKind::kLinkChoice:
      return WriteLinkChoice(block, f.offset, f.offset2, v);
    case AFieldKind::kEgressRateIndex:
      if (v > 0xFF) return ItemStatus::kOutOfRange;
      WriteU8(block, f.offset, static_cast<std::uint8_t>(v));
      return ItemStatus::kOk;
    case AFieldKind::kSnmpVersion:
      return WriteSnmpVersion(block, f.offset, v);
    default:
      return ItemStatus::kWrongKind;
  }
}

const AItemField* FindAItemField(std::span<const AItemField> layout, ConfigItemId id) {
  for (const AItemField& row : layout) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------

namespace a8vlan {

namespace {
constexpr std::size_t kTableEnd = kTable + kEntrySize * kEntries;
constexpr std::uint16_t kKeptOnClaim = 0x6000;  // bits 13 and 14
constexpr std::uint16_t kBits12To14 = 0x7000;

bool TableFits(ConstBlockBytes block) { return block.size() >= kTableEnd; }
}  // namespace

std::optional<std::size_t> FindValidEntry(ConstBlockBytes block, std::uint32_t vid) {
  if (!TableFits(block)) return std::nullopt;
  for (std::size_t e = 0; e < kEntries; ++e) {
    const std::uint16_t word = *ReadU16(block, EntryOffset(e));
    if ((word & kValidBit) && (word & kVidMask) == vid) return e;
  }
  return std::nullopt;
}

std::optional<std::size_t> FirstFreeEntry(ConstBlockBytes block) {
  if (!TableFits(block)) return std::nullopt;
  for (std::size_t e = 0; e < kEntries; ++e) {
    if (!(*ReadU16(block, EntryOffset(e)) & kValidBit)) return e;
  }
  return std::nullopt;
}

void ClaimEntry(BlockBytes block, std::size_t entry, std::uint32_t vid, bool setBit12,
                std::uint32_t membership) {
  if (entry >= kEntries || !TableFits(block)) return;
  const std::size_t at = EntryOffset(entry);
  const std::uint16_t old = *ReadU16(block, at);
  const std::uint16_t kept = setBit12 ? (old & kKeptOnClaim) | kBit12 : (old & kBits12To14);
  WriteU16(block, at, static_cast<std::uint16_t>(kValidBit | kept | (vid & kVidMask)));
  WriteU32(block, at + kMembershipAt, membership);
}

void EnsureEntry(BlockBytes block, std::uint32_t vid) {
  if (FindValidEntry(block, vid)) return;
  if (const auto free = FirstFreeEntry(block)) ClaimEntry(block, *free, vid, true, 0);
}

ItemStatus WritePvid(BlockBytes block, int port, std::uint32_t value) {
  if (port < 1 || port > kPorts) return ItemStatus::kNotHandled;
  const std::size_t at = PortWordOffset(port);
  const auto word = ReadU32(block, at);
  if (!word || !TableFits(block)) return ItemStatus::kOutsideBlock;
  if (value < kMinVid || value > kMaxVid) return ItemStatus::kOutOfRange;
  WriteU32(block, at, (*word & ~kPvidMask) | value);
  EnsureEntry(block, value);
  return ItemStatus::kOk;
}

ItemStatus WriteManagementVid(BlockBytes block, std::uint32_t value) {
  if (!Fits(block, kManagementVid, 2) || !TableFits(block)) return ItemStatus::kOutsideBlock;
  if (value > 0xFFFF) return ItemStatus::kOutOfRange;
  WriteU16(block, kManagementVid, static_cast<std::uint16_t>(value));
  if (value >= kMinVid && value <= kMaxVid) EnsureEntry(block, value);
  return ItemStatus::kOk;
}

std::string FormatVidList(ConstBlockBytes block, int port, Membership which) {
  std::string list;
  if (port < 1 || port > kPorts || !TableFits(block)) return list;
  const std::uint32_t bit = which == Membership::kFixed ? FixedBit(port) : ForbiddenBit(port);
  for (std::size_t e = 0; e < kEntries; ++e) {
    const std::uint16_t word = *ReadU16(block, EntryOffset(e));
    const std::uint32_t vid = word & kVidMask;
    if (!(word & kValidBit) || vid < kMinVid || vid > kMaxVid) continue;
    if (!(*ReadU32(block, EntryOffset(e) + kMembershipAt) & bit)) continue;
    if (!list.empty()) list += ',';
    list += std::to_string(vid);
  }
  return list;
}

std::optional<std::vector<std::uint16_t>> ParseVidList(std::string_view text) {
  if (text.empty() || text.front() == '\n' || text.front() == '\r') return std::nullopt;
  constexpr int kMaxDigits = 7;
  std::vector<std::uint16_t> vids;
  std::uint32_t number = 0;
  int digits = 0;
  auto finish = [&] {
    if (digits > 0 && number >= kMinVid && number <= kMaxVid && vids.size() < kMaxListVids) {
      vids.push_back(static_cast<std::uint16_t>(number));
    }
    number = 0;
    digits = 0;
  };
  for (const char c : text) {
    if (c == '\0') break;
    if (c >= '0' && c <= '9') {
      if (digits < kMaxDigits) number = number * 10 + static_cast<std::uint32_t>(c - '0');
      ++digits;
    } else if (c == ',') {
      finish();
    }
  }
  finish();
  return vids;
}

void ClearTable(BlockBytes block) {
  if (!TableFits(block)) return;
  for (std::size_t e = 0; e < kEntries; ++e) {
    const std::size_t at = EntryOffset(e);
    WriteU16(block, at, static_cast<std::uint16_t>(*ReadU16(block, at) & ~kValidBit));
    WriteU32(block, at + kMembershipAt, 0);
  }
}

}  // namespace a8vlan

// ---------------------------------------------------------------------------

const std::array<std::string_view, 63> kTimeZoneNames = {
    "(GMT-12:00)Eniwetok, Kwajalein",
    "(GMT-11:00)Midway Island, Samoa",
    "(GMT-10:00)Hawaii",
    "(GMT-09:00)Alaska",
    "(GMT-08:00)Pacific Time (US & Canada); Tijuana",
    "(GMT-07:00)Arizona",
    "(GMT-07:00)Mountain Time (US & Canada)",
    "(GMT-06:00)Central Time (US & Canada)",
    "(GMT-06:00)Mexico City, Tegucigalpa",
    "(GMT-06:00)Saskatchewan",
    "(GMT-05:00)Bogota, Lima, Quito",
    "(GMT-05:00)Eastern Time (US & Canada)",
    "(GMT-05:00)Indiana (East)",
    "(GMT-04:00)Atlantic Time (Canada)",
    "(GMT-04:00)Caracas, La Paz",
    "(GMT-04:00)Santiago",
    "(GMT-03:30)Newfoundland",
    "(GMT-03:00)Brasilia",
    "(GMT-03:00)Buenos Aires, Georgetown",
    "(GMT-02:00)Mid-Atlantic",
    "(GMT-01:00)Azores, Cape Verde Is.",
    "(GMT)Casablanca, Monrovia",
    "(GMT)Greenwich Mean Time: Dublin, Edinburgh, Lisbon, London",
    "(GMT+01:00)Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna",
    "(GMT+01:00)Belgrade, Bratislava, Budapest, Ljubljana, Prague",
    "(GMT+01:00)Brussels, Copenhagen, Madrid, Paris, Vilnius",
    "(GMT+01:00)Sarajevo, Skopje, Sofija, Warsaw, Zagreb",
    "(GMT+02:00)Athens, Istanbul, Minsk",
    "(GMT+02:00)Bucharest",
    "(GMT+02:00)Cairo",
    "(GMT+02:00)Harare, Pretoria",
    "(GMT+02:00)Helsinki, Riga, Tallinn",
    "(GMT+02:00)Jerusalem",
    "(GMT+03:00)Baghdad, Kuwait, Riyadh",
    "(GMT+03:00)Moscow, St. Petersburg, Volgograd",
    "(GMT+03:00)Mairobi",
    "(GMT+03:30)Tehran",
    "(GMT+04:00)Abu Dhabi, Muscat",
    "(GMT+04:00)Baku, Tbilisi",
    "(GMT+04:30)Kabul",
    "(GMT+05:00)Ekaterinburg",
    "(GMT+05:00)Islamabad, Karachi, Tashkent",
    "(GMT+05:30)Bombay, Calcutta, Madras, New Delhi",
    "(GMT+06:00)Astana, Almaty, Dhaka",
    "(GMT+06:00)Colombo",
    "(GMT+07:00)Bangkok, Hanoi, Jakarta",
    "(GMT+08:00)Beijing, Chongqing, Hong Kong, Urumqi",
    "(GMT+08:00)Perth",
    "(GMT+08:00)Singapore",
    "(GMT+08:00)Taipei",
    "(GMT+09:00)Osaka, Sapporo, Tokyo",
    "(GMT+09:00)Seoul",
    "(GMT+09:00)Yakutsk",
    "(GMT+09:30)Adelaide",
    "(GMT+09:30)Darwin",
    "(GMT+10:00)Brisbane",
    "(GMT+10:00)Canberra, Melbourne, Sydney",
    "(GMT+10:00)Guam, Port Moresby",
    "(GMT+10:00)Hobart",
    "(GMT+10:00)Vladivostok",
    "(GMT+11:00)Magadan, Solomon Is., New Caledonia",
    "(GMT+12:00)Auckland, Wllington",
    "(GMT+12:00)Fiji, Kamchatka, Marshall Is.",
};

void WriteTimeZoneLines(ConfigTextWriter& file) {
  for (std::size_t zone = 0; zone < kTimeZoneNames.size(); ++zone) {
    char number[8];
    std::snprintf(number, sizeof number, "%-2d", static_cast<int>(zone));
    file.Write({"# \t--> ", number, " : ", kTimeZoneNames[zone], "\n"});
  }
}

void WriteRateLegend(ConfigTextWriter& file) {
  file.Write({
      "# \t--> \"NL\"   : Not Limited throughput\n",
      "# \t--> \"128K\" : Maximum 128Kbps throughput\n",
      "# \t--> \"256K\" : Maximum 256Kbps throughput\n",
      "# \t--> \"512K\" : Maximum 512Kbps throughput\n",
      "# \t--> \"1M\"   : Maximum 1Mbps throughput\n",
      "# \t--> \"2M\"   : Maximum 2Mbps throughput\n",
      "# \t--> \"4M\"   : Maximum 4Mbps throughput\n",
      "# \t--> \"8M\"   : Maximum 8Mbps throughput\n",
  });
}

namespace {
constexpr int kTosGroups = 16;
constexpr int kTosGroupSize = 4;
constexpr int kGroupWithOddCode = 12;
/// The ToS map constant names, one per group.
constexpr std::array<std::string_view, kTosGroups> kTosMapNames = {
    "D_CONF_TOSMAP_1_4",   "D_CONF_TOSMAP_5_8",   "D_CONF_TOSMAP_9_12",  "D_CONF_TOSMAP_13_16",
    "D_CONF_TOSMAP_17_20", "D_CONF_TOSMAP_21_24", "D_CONF_TOSMAP_25_28", "D_CONF_TOSMAP_29_32",
    "D_CONF_TOSMAP_33_36", "D_CONF_TOSMAP_37_40", "D_CONF_TOSMAP_41_44", "D_CONF_TOSMAP_45_48",
    "D_CONF_TOSMAP_49_52", "D_CONF_TOSMAP_53_56", "D_CONF_TOSMAP_57_60", "D_CONF_TOSMAP_61_64"};
}  // namespace

std::string TosGroupComment(int group) {
  if (group < 1 || group > kTosGroups) return {};
  if (group == kGroupWithOddCode) return "#[ToS45(0xB0)|ToS46(Bx04)|ToS47(0xB8)|ToS48(0xBC)]\n";
  std::string line = "#[";
  for (int i = 0; i < kTosGroupSize; ++i) {
    const int k = kTosGroupSize * (group - 1) + i + 1;
    char part[24];
    std::snprintf(part, sizeof part, "%sToS%d(0x%02X)", i ? "|" : "", k, 4 * (k - 1));
    line += part;
  }
  return line + "]\n";
}

void WriteTosGroups(ConfigTextWriter& file,
                    const std::function<std::optional<std::uint32_t>(int)>& entry) {
  for (int g = 1; g <= kTosGroups; ++g) {
    file.Write(TosGroupComment(g));
    std::string line(catalogueFileKey(kTosMapNames[static_cast<std::size_t>(g - 1)]));
    line += ' ';
    for (int i = 0; i < kTosGroupSize; ++i) {
      const auto value = entry(kTosGroupSize * (g - 1) + i + 1);
      if (value) line += FormatDecimal(*value);
      line += i + 1 < kTosGroupSize ? "|" : "\n\n";
    }
    file.Write(line);
  }
}

std::string FormatPortList(std::uint32_t mask, int members) {
  std::string list;
  for (int i = 0; i < members && i < 32; ++i) {
    if (!((mask >> i) & 1u)) continue;
    if (!list.empty()) list += ',';
    list += std::to_string(i + 1);
  }
  return list;
}

std::optional<std::uint32_t> ParsePortList(std::string_view text, int maxPort) {
  std::uint32_t mask = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t comma = text.find(',', pos);
    const std::size_t end = comma == std::string_view::npos ? text.size() : comma;
    const std::string_view element = text.substr(pos, end - pos);
    const bool last = comma == std::string_view::npos;
    if (element.empty()) {
      // Only a trailing comma may leave an empty element.
      if (!last || pos == 0) return std::nullopt;
      break;
    }
    int port = 0;
    for (const char c : element) {
      if (c < '0' || c > '9' || port > maxPort) return std::nullopt;
      port = port * 10 + (c - '0');
    }
    if (port < 1 || port > maxPort || port > 32) return std::nullopt;
    mask |= 1u << (port - 1);
    if (last) break;
    pos = comma + 1;
  }
  return mask;
}

bool IsFibreUplinkModel(Generation generation, std::uint16_t modelId) {
  constexpr std::uint16_t kFirst = 0x0518;
  constexpr std::uint16_t kSkipped = 0x0538;
  const std::uint16_t last = generation == Generation::kGenA1 ? 0x05D8 : 0x05B8;
  if (generation != Generation::kGenA1 && generation != Generation::kGenA2) return false;
  if (modelId < kFirst || modelId > last || (modelId & 0x0F) != 0x08) return false;
  return modelId != kSkipped;
}

std::string FormatMacDashed(std::span<const std::uint8_t, 6> mac) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2], mac[3],
                mac[4], mac[5]);
  return text;
}

std::optional<std::array<std::uint8_t, 6>> ParseMacDashed(std::string_view text) {
  constexpr std::size_t kLength = 17;
  if (text.size() != kLength) return std::nullopt;
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::array<std::uint8_t, 6> mac{};
  for (std::size_t i = 0; i < mac.size(); ++i) {
    const std::size_t at = 3 * i;
    const int high = hex(text[at]);
    const int low = hex(text[at + 1]);
    if (high < 0 || low < 0 || (i + 1 < mac.size() && text[at + 2] != '-')) return std::nullopt;
    mac[i] = static_cast<std::uint8_t>(16 * high + low);
  }
  return mac;
}

}  // namespace vantrell
