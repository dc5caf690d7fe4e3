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

}  // namespace vantrell
