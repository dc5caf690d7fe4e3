#include "config/item_accessors.h"

#include <utility>

namespace vantrell {

std::optional<std::uint32_t> ItemAccessors::getNumber(const ConfigBlock& block, ConfigItemId id,
                                                      std::size_t listIndex) const {
  ItemValue value;
  if (getItem(block, id, listIndex, value) != ItemStatus::kOk) return std::nullopt;
  const auto* number = std::get_if<std::uint32_t>(&value);
  if (!number) return std::nullopt;
  return *number;
}

std::optional<std::string> ItemAccessors::getText(const ConfigBlock& block, ConfigItemId id,
                                                  std::size_t listIndex) const {
  ItemValue value;
  if (getItem(block, id, listIndex, value) != ItemStatus::kOk) return std::nullopt;
  auto* text = std::get_if<std::string>(&value);
  if (!text) return std::nullopt;
  return std::move(*text);
}

const ItemField* FindItemField(std::span<const ItemField> layout, ConfigItemId id) {
  for (const ItemField& row : layout) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

ItemStatus LayoutAccessors::Get(const ConfigBlock& block, ConfigItemId id, std::size_t,
                                ItemValue& out) const {
  const ItemField* row = FindItemField(layout_, id);
  if (!row) return ItemStatus::kNotHandled;
  return ReadField(block.bytes(), row->field, out);
}

ItemStatus LayoutAccessors::Set(ConfigBlock& block, ConfigItemId id, std::size_t,
                                const ItemValue& value, const SetItemContext&) {
  const ItemField* row = FindItemField(layout_, id);
  if (!row) return ItemStatus::kNotHandled;
  return WriteField(block.bytes(), row->field, value);
}

}  // namespace vantrell
