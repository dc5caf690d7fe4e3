#pragma once
/// The item accessors of a generation: getItem and setItem translate
/// between a ConfigItemId and the bytes of a ConfigBlock. Every generation
/// implements this one interface; the list index selects an entry of a list
/// item and matters only to the modular model's generation (GenM1), all
/// others ignore it.
///
/// Contract: getItem fills `out` only when it returns kOk; setItem changes
/// the block only when it returns kOk, and then only the bits and bytes of
/// that item. An item the generation does not handle yields kNotHandled
/// and changes nothing. Neither reads or writes outside the block's valid
/// bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/block_encodings.h"
#include "config/config_block.h"
#include "config/config_item_ids.h"
#include "config/generation.h"
#include "config/item_value.h"

namespace vantrell {

/// Facts about the surrounding file that some writes depend on.
struct SetItemContext {
  /// GenM1 VID lists: the port's VLAN type was read as trunk.
  bool portTypeIsTrunk = false;
};

class ItemAccessors {
 public:
  virtual ~ItemAccessors() = default;

  virtual Generation generation() const = 0;
  std::size_t blockSize() const { return vantrell::blockSize(generation()); }

  ItemStatus getItem(const ConfigBlock& block, ConfigItemId id, std::size_t listIndex,
                     ItemValue& out) const {
    return Get(block, id, listIndex, out);
  }
  ItemStatus getItem(const ConfigBlock& block, ConfigItemId id, ItemValue& out) const {
    return Get(block, id, 0, out);
  }

  ItemStatus setItem(ConfigBlock& block, ConfigItemId id, std::size_t listIndex,
                     const ItemValue& value, const SetItemContext& context = {}) {
    return Set(block, id, listIndex, value, context);
  }
  ItemStatus setItem(ConfigBlock& block, ConfigItemId id, const ItemValue& value) {
    return Set(block, id, 0, value, {});
  }

  /// setItem with a number or a text value.
  ItemStatus setNumber(ConfigBlock& block, ConfigItemId id, std::uint32_t value,
                       std::size_t listIndex = 0) {
    return Set(block, id, listIndex, ItemValue(value), {});
  }
  ItemStatus setText(ConfigBlock& block, ConfigItemId id, std::string_view text,
                     std::size_t listIndex = 0) {
    return Set(block, id, listIndex, ItemValue(std::string(text)), {});
  }

  /// The item as a number; nothing when it is unhandled, a text or outside
  /// the block.
  std::optional<std::uint32_t> getNumber(const ConfigBlock& block, ConfigItemId id,
                                         std::size_t listIndex = 0) const;
  /// The item as a text; nothing when it is unhandled, a number or outside
  /// the block.
  std::optional<std::string> getText(const ConfigBlock& block, ConfigItemId id,
                                     std::size_t listIndex = 0) const;

 private:
  virtual ItemStatus Get(const ConfigBlock& block, ConfigItemId id, std::size_t listIndex,
                         ItemValue& out) const = 0;
  virtual ItemStatus Set(ConfigBlock& block, ConfigItemId id, std::size_t listIndex,
                         const ItemValue& value, const SetItemContext& context) = 0;
};

}  // namespace vantrell
