#pragma once
/// Layout tables and the accessors they drive. A layout is a table of rows,
/// one per item: the item's ID, its field (block_field.h) and, for a list
/// item, the stride and number of its entries. Every generation's block is
/// such a table; the few items that really are code are rows of kind
/// kHook, which the table accessors hand to their generation's hook.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "config/block_field.h"
#include "config/config_item_ids.h"
#include "config/item_accessors.h"
#include "config/item_id_index.h"

namespace vantrell {

/// One row of a layout table: an item and where and how it lies.
struct ItemField {
  ConfigItemId id;
  BlockField field;
  std::uint16_t stride = 0;  ///< bytes from one list entry to the next
  /// 0: not a list, any list index reads and writes the one field; else the
  /// list indices 0..count-1.
  std::uint16_t count = 0;
};

/// The row of `layout` for `id`, or null.
const ItemField* FindItemField(std::span<const ItemField> layout, ConfigItemId id);

/// The field of list entry `n` of `row`, or nothing when `n` lies outside
/// its list.
constexpr std::optional<BlockField> EntryField(const ItemField& row, std::size_t n) {
  if (row.count == 0) return row.field;
  if (n >= row.count) return std::nullopt;
  return Shifted(row.field, static_cast<std::uint32_t>(n * row.stride));
}

/// A layout table under construction; the tables are built at compile time.
template <std::size_t N>
struct LayoutTable {
  std::array<ItemField, N> fields{};
  std::size_t count = 0;

  /// A field that ignores the list index.
  constexpr void Add(ConfigItemId id, BlockField field) { fields[count++] = {id, field}; }
  /// A field that only list index 0 reaches.
  constexpr void AddSingle(ConfigItemId id, BlockField field) {
    fields[count++] = {id, field, 0, 1};
  }
  /// A list: entry n lies at the field's offsets + n x stride.
  constexpr void AddList(ConfigItemId id, BlockField field, std::uint16_t stride,
                         std::uint16_t entries) {
    fields[count++] = {id, field, stride, entries};
  }
  /// An item of the generation's hook; `entries` as for AddList (0: no list).
  constexpr void AddHook(ConfigItemId id, std::uint16_t entries = 0) {
    fields[count++] = {id, HookField(), 0, entries};
  }
  constexpr void Remove(ConfigItemId id) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (fields[i].id != id) fields[kept++] = fields[i];
    }
    count = kept;
  }

  constexpr std::span<const ItemField> view() const { return std::span(fields).first(count); }

  /// True when every entry of every field (hooks aside) lies inside a block
  /// of `blockSize`.
  constexpr bool Inside(std::size_t blockSize) const {
    for (const ItemField& row : view()) {
      if (row.field.kind == FieldKind::kHook) continue;
      const std::size_t last = row.count == 0 ? 0 : row.count - 1;
      if (!FieldInside(blockSize, *EntryField(row, last))) return false;
    }
    return true;
  }
};

/// How the accessors treat a text before storing it in a text field.
enum class TextRule {
  kAsGiven,
  kTrimBlanksCrNuls,  ///< GenA2: trailing blanks, carriage returns and NULs removed
  kCutAtNulAndTrim,   ///< GenM1: cut at the first NUL, then trimmed the same way
};

/// Accessors driven by a layout table. Rows of kind kHook go to GetHook and
/// SetHook, which a generation with such items overrides.
class LayoutAccessors : public ItemAccessors {
 public:
  LayoutAccessors(Generation generation, std::span<const ItemField> layout,
                  TextRule textRule = TextRule::kAsGiven)
      : generation_(generation), layout_(layout), textRule_(textRule), rowsById_(layout) {}

  Generation generation() const override { return generation_; }
  std::span<const ItemField> layout() const { return layout_; }

 protected:
  /// getItem and setItem of a hook row; `n` lies inside the row's list (or
  /// the row is no list). Both default to kNotHandled.
  virtual ItemStatus GetHook(const ConfigBlock& block, const ItemField& row, std::size_t n,
                             ItemValue& out) const;
  virtual ItemStatus SetHook(ConfigBlock& block, const ItemField& row, std::size_t n,
                             const ItemValue& value, const SetItemContext& context);

 private:
  ItemStatus Get(const ConfigBlock& block, ConfigItemId id, std::size_t listIndex,
                 ItemValue& out) const final;
  ItemStatus Set(ConfigBlock& block, ConfigItemId id, std::size_t listIndex, const ItemValue& value,
                 const SetItemContext& context) final;

  Generation generation_;
  std::span<const ItemField> layout_;
  TextRule textRule_;
  ItemIdIndex<ItemField> rowsById_;  ///< the rows of layout_ by ID, found in one step
};

}  // namespace vantrell
