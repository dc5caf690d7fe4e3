#pragma once
/// A lookup from a name to the number of the first table row that carries
/// it, built at compile time over a fixed table: an open-addressing hash of
/// the names, so a lookup costs one hash of the name and, as a rule, one
/// comparison, however long the table is. The catalogue and the comment
/// table find their rows by D_CONF name with it.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <type_traits>

namespace vantrell {

/// Up to 8 bytes of `text` from `at`, the first in the lowest byte.
constexpr std::uint64_t LoadNameBytes(std::string_view text, std::size_t at, std::size_t count) {
  std::uint64_t word = 0;
  if (!std::is_constant_evaluated() && count == 8) {
    std::memcpy(&word, text.data() + at, 8);
    if constexpr (std::endian::native == std::endian::little) return word;
    word = 0;
  }
  for (std::size_t i = 0; i < count; ++i) {
    word |= std::uint64_t{static_cast<unsigned char>(text[at + i])} << (8 * i);
  }
  return word;
}

/// A hash of `name`, eight bytes at a time (a multiply-xorshift mix per
/// word, the length as seed): the names of one table differ mostly in a
/// few characters near their end.
constexpr std::uint32_t NameHash(std::string_view name) {
  constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15u;
  std::uint64_t hash = name.size() * kMul;
  std::size_t at = 0;
  for (; at + 8 <= name.size(); at += 8) {
    hash = (hash ^ LoadNameBytes(name, at, 8)) * kMul;
    hash ^= hash >> 29;
  }
  if (at < name.size()) {
    const std::size_t rest = name.size() - at;
    // The last eight bytes shifted down to the rest: the same word as the
    // rest alone, in one load.
    const std::uint64_t tail =
        !std::is_constant_evaluated() && at >= 8 && std::endian::native == std::endian::little
            ? LoadNameBytes(name, name.size() - 8, 8) >> (8 * (8 - rest))
            : LoadNameBytes(name, at, rest);
    hash = (hash ^ tail) * kMul;
    hash ^= hash >> 29;
  }
  hash *= kMul;
  return static_cast<std::uint32_t>(hash >> 32);
}

/// The index over `Slots` slots: a power of two, at least twice the rows so
/// that probe runs stay short, and at most 65,536.
template <std::size_t Slots>
class NameIndex {
  static_assert(Slots >= 2 && Slots <= 65536 && (Slots & (Slots - 1)) == 0,
                "Slots must be a power of two of at most 65,536");

 public:
  /// Indexes rows 0..count-1 (at most Slots / 2; rows beyond are left out,
  /// so a table states its fit with a static_assert); `nameOf(row)` gives a
  /// row's name. Empty names are left out; of rows sharing a name the first
  /// is found.
  template <typename NameOf>
  static constexpr NameIndex Build(std::size_t count, NameOf nameOf) {
    NameIndex index;
    for (std::size_t row = 0; row < count && row < Slots / 2; ++row) {
      const std::string_view name = nameOf(row);
      if (name.empty()) continue;
      for (std::size_t slot = NameHash(name) & kMask;; slot = (slot + 1) & kMask) {
        if (index.slots_[slot] == kEmpty) {
          index.slots_[slot] = static_cast<std::uint16_t>(row);
          break;
        }
        if (nameOf(index.slots_[slot]) == name) break;  // an earlier row keeps the name
      }
    }
    return index;
  }

  /// The first row named `name`, or nothing; `nameOf` as given to Build.
  template <typename NameOf>
  constexpr std::optional<std::size_t> Find(std::string_view name, NameOf nameOf) const {
    if (name.empty()) return std::nullopt;
    for (std::size_t slot = NameHash(name) & kMask;; slot = (slot + 1) & kMask) {
      const std::uint16_t row = slots_[slot];
      if (row == kEmpty) return std::nullopt;
      if (nameOf(row) == name) return row;
    }
  }

 private:
  static constexpr std::size_t kMask = Slots - 1;
  static constexpr std::uint16_t kEmpty = 0xFFFF;

  constexpr NameIndex() { slots_.fill(kEmpty); }

  std::array<std::uint16_t, Slots> slots_{};
};

}  // namespace vantrell
