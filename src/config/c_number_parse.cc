#include "config/c_number_parse.h"

#include <array>
#include <cstddef>

namespace vantrell {
namespace {

constexpr std::int64_t kInt32Max = 2147483647;
constexpr std::int64_t kInt32Min = -2147483647 - 1;
constexpr std::uint64_t kUint32Max = 0xFFFFFFFFu;

constexpr bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

/// Value of a hexadecimal digit, or -1.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::size_t SkipSpace(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsCSpace(text[pos])) ++pos;
  return pos;
}

}  // namespace

std::int32_t CAtoi(std::string_view text) {
  // A NUL byte is neither blank, sign nor digit: the scan stops at it as
  // at the end of a C string, without a search for it first.
  std::size_t pos = SkipSpace(text, 0);
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // The magnitude is capped one past INT32_MAX, which is enough to decide
  // saturation on either side.
  constexpr std::int64_t kCap = kInt32Max + 1;
  std::int64_t magnitude = 0;
  for (; pos < text.size() && IsDecimalDigit(text[pos]); ++pos) {
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > kCap) magnitude = kCap;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > kInt32Max) return static_cast<std::int32_t>(kInt32Max);
  if (value < kInt32Min) return static_cast<std::int32_t>(kInt32Min);
  return static_cast<std::int32_t>(value);
}

std::int32_t CAtol(std::string_view text) { return CAtoi(text); }

std::optional<std::uint32_t> CScanHex(std::string_view text) {
  // As in CAtoi, the scan stops at a NUL byte by itself.
  std::size_t pos = SkipSpace(text, 0);
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // "0x" counts as a prefix only when a hexadecimal digit follows it;
  // otherwise the '0' alone is the number.
  if (pos + 2 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
      HexDigitValue(text[pos + 2]) >= 0) {
    pos += 2;
  }
  bool anyDigit = false;
  bool overflow = false;
  std::uint64_t value = 0;
  for (; pos < text.size() && HexDigitValue(text[pos]) >= 0; ++pos) {
    anyDigit = true;
    value = value * 16 + static_cast<std::uint64_t>(HexDigitValue(text[pos]));
    if (value > kUint32Max) {
      overflow = true;
      value = kUint32Max;
    }
  }
  if (!anyDigit) return std::nullopt;
  if (overflow) return static_cast<std::uint32_t>(kUint32Max);
  const auto magnitude = static_cast<std::uint32_t>(value);
  return negative ? static_cast<std::uint32_t>(0u - magnitude) : magnitude;
}

std::optional<Ipv4> CInetAton(std::string_view text) {
  // A NUL byte ends the address as the end of the text does.
  constexpr std::size_t kMaxParts = 4;
  std::array<std::uint64_t, kMaxParts> parts{};
  std::size_t count = 0;
  std::size_t pos = 0;
  const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };

  for (;;) {
    if (!IsDecimalDigit(at(pos))) return std::nullopt;
    unsigned base = 10;
    bool digit = false;
    if (at(pos) == '0') {
      ++pos;
      if (at(pos) == 'x' || at(pos) == 'X') {
        base = 16;
        ++pos;
      } else {
        base = 8;
        digit = true;
      }
    }
    std::uint64_t value = 0;
    for (;;) {
      const char c = at(pos);
      if (IsDecimalDigit(c)) {
        if (base == 8 && (c == '8' || c == '9')) return std::nullopt;
        value = value * base + static_cast<std::uint64_t>(c - '0');
      } else if (base == 16 && HexDigitValue(c) >= 0) {
        value = value * 16 + static_cast<std::uint64_t>(HexDigitValue(c));
      } else {
        break;
      }
      if (value > kUint32Max) return std::nullopt;
      digit = true;
      ++pos;
    }
    if (!digit) return std::nullopt;
    parts[count++] = value;
    if (at(pos) != '.') break;
    if (count == kMaxParts || value > 0xFF) return std::nullopt;
    ++pos;
  }
  // The address ends at the end of the text (or a NUL) or at white space.
  if (pos < text.size() && text[pos] != '\0' && !IsCSpace(text[pos])) return std::nullopt;

  // The last part fills the bytes the earlier parts leave.
  static constexpr std::array<std::uint64_t, kMaxParts> kLastPartMax = {0xFFFFFFFFu, 0xFFFFFFu,
                                                                        0xFFFFu, 0xFFu};
  const std::uint64_t last = parts[count - 1];
  if (last > kLastPartMax[count - 1]) return std::nullopt;
  std::uint64_t host = last;
  for (std::size_t i = 0; i + 1 < count; ++i) host |= parts[i] << (24 - 8 * i);
  return MakeIpv4(static_cast<std::uint8_t>(host >> 24), static_cast<std::uint8_t>(host >> 16),
                  static_cast<std::uint8_t>(host >> 8), static_cast<std::uint8_t>(host));
}

Ipv4 CInetAddr(std::string_view text) { return CInetAton(text).value_or(kAllOnesIpv4); }

}  // namespace vantrell
