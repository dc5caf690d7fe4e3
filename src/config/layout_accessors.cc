#include "config/layout_accessors.h"

#include <string>

namespace vantrell {
namespace {

std::string ApplyTextRule(TextRule rule, const std::string& text) {
  switch (rule) {
    case TextRule::kTrimBlanksCrNuls:
      return std::string(TrimTrailingBlanksCrNuls(text));
    case TextRule::kCutAtNulAndTrim:
      return CutAtNulAndTrim(text);
    case TextRule::kAsGiven:
      break;
  }
  return text;
}

}  // namespace

const ItemField* FindItemField(std::span<const ItemField> layout, ConfigItemId id) {
  for (const ItemField& row : layout) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

ItemStatus LayoutAccessors::GetHook(const ConfigBlock&, const ItemField&, std::size_t,
                                    ItemValue&) const {
  return ItemStatus::kNotHandled;
}

ItemStatus LayoutAccessors::SetHook(ConfigBlock&, const ItemField&, std::size_t, const ItemValue&,
                                    const SetItemContext&) {
  return ItemStatus::kNotHandled;
}

ItemStatus LayoutAccessors::Get(const ConfigBlock& block, ConfigItemId id, std::size_t listIndex,
                                ItemValue& out) const {
  const ItemField* row = rowsById_.Find(layout_, id);
  if (!row) return ItemStatus::kNotHandled;
  const auto field = EntryField(*row, listIndex);
  if (!field) return ItemStatus::kNotHandled;
  if (field->kind == FieldKind::kHook) return GetHook(block, *row, listIndex, out);
  return ReadField(block.bytes(), *field, out);
}

ItemStatus LayoutAccessors::Set(ConfigBlock& block, ConfigItemId id, std::size_t listIndex,
                                const ItemValue& value, const SetItemContext& context) {
  const ItemField* row = rowsById_.Find(layout_, id);
  if (!row) return ItemStatus::kNotHandled;
  const auto field = EntryField(*row, listIndex);
  if (!field) return ItemStatus::kNotHandled;
  if (field->kind == FieldKind::kHook) return SetHook(block, *row, listIndex, value, context);
  const auto* text = std::get_if<std::string>(&value);
  if (text && IsTextField(*field) && textRule_ != TextRule::kAsGiven) {
    return WriteField(block.bytes(), *field, ItemValue(ApplyTextRule(textRule_, *text)));
  }
  return WriteField(block.bytes(), *field, value);
}

}  // namespace vantrell
