#include "config/config_catalogue.h"

#include "config/name_index.h"

namespace vantrell {
namespace {

#define CONFIG_ITEM(id, name, fileKey, label, type) {#type, #name, fileKey, label, id},
#define CONFIG_ITEM_NO_ID(name, fileKey, label, type) {#type, #name, fileKey, label, 0},
constexpr CatalogueRow kFilledRows[] = {
#include "config/config_items.def"
};

static_assert(std::size(kFilledRows) == CatalogueFilledRows);

constexpr bool FieldsFitTheirSlots() {
  for (const CatalogueRow& row : kFilledRows) {
    for (std::string_view field : {row.typeName, row.constName, row.fileKey, row.label}) {
      if (field.size() > CatalogueFieldMaxLength) return false;
    }
  }
  return true;
}
static_assert(FieldsFitTheirSlots());

constexpr std::array<CatalogueRow, CatalogueCapacity> BuildCatalogue() {
  std::array<CatalogueRow, CatalogueCapacity> table{};
  for (std::size_t i = 0; i < CatalogueCapacity; ++i) {
    table[i] = i < CatalogueFilledRows ? kFilledRows[i] : CatalogueRow{"", "", "", "", 0};
  }
  return table;
}

constexpr std::array<CatalogueRow, CatalogueCapacity> kCatalogue = BuildCatalogue();

constexpr auto kRowName = [](std::size_t row) { return kFilledRows[row].constName; };
constexpr std::size_t kNameSlots = 1024;
static_assert(CatalogueFilledRows <= kNameSlots / 2);
constexpr NameIndex<kNameSlots> kRowsByName =
    NameIndex<kNameSlots>::Build(CatalogueFilledRows, kRowName);

}  // namespace

std::span<const CatalogueRow, CatalogueCapacity> ConfigCatalogue() { return kCatalogue; }

std::size_t findCatalogueRow(std::string_view constName) {
  return kRowsByName.Find(constName, kRowName).value_or(CatalogueCapacity);
}

std::string_view catalogueFileKey(std::string_view constName) {
  const std::size_t row = findCatalogueRow(constName);
  return row < CatalogueCapacity ? kCatalogue[row].fileKey : std::string_view();
}

ConfigItemId catalogueItemId(std::string_view constName) {
  const std::size_t row = findCatalogueRow(constName);
  return row < CatalogueCapacity ? kCatalogue[row].id : 0;
}

std::optional<std::string_view> catalogueLabel(std::string_view constName) {
  const std::size_t row = findCatalogueRow(constName);
  if (row >= CatalogueCapacity) return std::nullopt;
  return kCatalogue[row].label;
}

}  // namespace vantrell
