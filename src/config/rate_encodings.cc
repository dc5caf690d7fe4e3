#include "config/rate_encodings.h"

#include <algorithm>

#include "config/c_number_parse.h"

namespace vantrell {
namespace {

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

namespace {
constexpr std::uint8_t kRateIndexMask = 0x0F;
constexpr std::uint8_t kDoubleRateShift = 4;
constexpr int kDoubleRateFlags = 3;
constexpr std::int32_t kMaxPolicy = 3;
}  // namespace

ItemStatus ReadIngressRate(ConstBlockBytes block, std::size_t offset, std::string& out) {
  if (!FieldFits(block, offset, 2)) return ItemStatus::kOutsideBlock;
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
  if (!FieldFits(block, offset, 2)) return ItemStatus::kOutsideBlock;
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
  if (!FieldFits(block, offset, 1)) return ItemStatus::kOutsideBlock;
  const auto index = StorableRateIndex(name);
  if (!index) return ItemStatus::kOutOfRange;
  block[offset] = *index;
  return ItemStatus::kOk;
}

}  // namespace vantrell
