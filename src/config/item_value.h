#pragma once
/// What passes between a configuration block and its callers: the value of
/// one item (a number or a text) and the outcome of reading or writing it.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace vantrell {

/// One item's value. Numbers are the field's value widened to 32 bits
/// (addresses in network byte order, first octet in the lowest byte); texts
/// are plain texts without their NUL.
using ItemValue = std::variant<std::uint32_t, std::string>;

/// Outcome of getItem and setItem. Only kOk reads into the caller's value or
/// changes the block; every other outcome leaves both untouched.
enum class ItemStatus {
  kOk,
  kNotHandled,    ///< the generation has no such item (or no such list entry)
  kWrongKind,     ///< a text given for a number item, or a number for a text item
  kOutOfRange,    ///< the number does not fit the field, or is refused by it
  kOutsideBlock,  ///< the field does not lie inside the block's valid bytes
};

inline bool IsNumber(const ItemValue& value) {
  return std::holds_alternative<std::uint32_t>(value);
}
inline bool IsText(const ItemValue& value) { return std::holds_alternative<std::string>(value); }

// The value helpers of the encodings and accessors.

/// kOk with the number in `out`, or kOutsideBlock (and `out` untouched)
/// when there is none.
inline ItemStatus NumberInto(std::optional<std::uint32_t> number, ItemValue& out) {
  if (!number) return ItemStatus::kOutsideBlock;
  out = *number;
  return ItemStatus::kOk;
}
/// kOk with the text in `out`, or kOutsideBlock when there is none.
inline ItemStatus TextInto(std::optional<std::string> text, ItemValue& out) {
  if (!text) return ItemStatus::kOutsideBlock;
  out = std::move(*text);
  return ItemStatus::kOk;
}
/// kOk for a write that happened, kOutsideBlock for one that did not fit.
inline ItemStatus StatusOfWrite(bool written) {
  return written ? ItemStatus::kOk : ItemStatus::kOutsideBlock;
}
/// The number of `value`, or nothing for a text.
inline std::optional<std::uint32_t> NumberOf(const ItemValue& value) {
  if (const auto* number = std::get_if<std::uint32_t>(&value)) return *number;
  return std::nullopt;
}

}  // namespace vantrell
