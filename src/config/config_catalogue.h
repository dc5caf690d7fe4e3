#pragma once
/// The catalogue of configuration items: for every item its C type word, its
/// D_CONF constant name, the key under which its value stands in a
/// configuration file and the label that the export writes above it. Writers
/// and readers address items by constant name and take key and label from
/// here. The rows are generated from the item table (config_items.def),
/// which gives each item's ID beside its row; lookups by name cost a hash,
/// not a scan.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "config/config_item_ids.h"

namespace vantrell {

/// Number of slots of the catalogue; also the "not found" result of
/// findCatalogueRow.
inline constexpr std::size_t CatalogueCapacity = 400;
/// Rows 0..365 are filled; the rest hold empty texts.
inline constexpr std::size_t CatalogueFilledRows = 366;
/// Longest text of any field (each field is a 90-byte slot with its NUL).
inline constexpr std::size_t CatalogueFieldMaxLength = 89;

/// One row: four texts, empty in the unused slots, and the item's ID.
struct CatalogueRow {
  std::string_view typeName;   ///< "uchar", "ushort", "ulong" or "char"; informational
  std::string_view constName;  ///< unique across the table
  std::string_view fileKey;    ///< "NULL" for the three items that never appear in a file
  std::string_view label;      ///< usually "[...]"; empty for the relay duration rows
  ConfigItemId id;             ///< item::<constName>; 0 where no accessor handles the row
};

/// All 400 slots in table order.
std::span<const CatalogueRow, CatalogueCapacity> ConfigCatalogue();

/// Index of the first filled row whose constName equals `constName` (exact,
/// case-sensitive), or CatalogueCapacity when no filled row carries it.
std::size_t findCatalogueRow(std::string_view constName);

/// The file key of `constName`, or an empty text when no row carries the
/// name. An empty key matches no line of a file, so a lookup with it finds
/// nothing instead of reading past the table.
std::string_view catalogueFileKey(std::string_view constName);

/// The ID of `constName` (item::<constName>), or 0 when no row carries the
/// name or the row has no ID.
ConfigItemId catalogueItemId(std::string_view constName);

/// The label of `constName`, or nothing when no row carries the name (the
/// comment writer then writes no label line).
std::optional<std::string_view> catalogueLabel(std::string_view constName);

}  // namespace vantrell
