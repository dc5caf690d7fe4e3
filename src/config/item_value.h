#pragma once
/// What passes between a configuration block and its callers: the value of
/// one item (a number or a text) and the outcome of reading or writing it.

#include <cstdint>
#include <string>
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

}  // namespace vantrell
