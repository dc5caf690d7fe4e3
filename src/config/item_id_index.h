#pragma once
/// The rows of a layout table by item ID: the accessors find the row of an
/// item in one step instead of scanning the table, for every item a reader
/// stores or a writer takes. Built once with the accessors that hold a
/// layout (or at compile time for a constant table).

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "config/config_item_ids.h"

namespace vantrell {

/// `Row` is a layout row with a member `id` (ItemField).
template <typename Row>
class ItemIdIndex {
 public:
  /// IDs below this are indexed; a row with a larger ID is found by a scan.
  static constexpr ConfigItemId kIndexedIds = 1024;

  constexpr ItemIdIndex() { rowOfId_.fill(kNoRow); }

  /// Indexes `rows` (at most 65,535); of rows sharing an ID the first is found.
  constexpr explicit ItemIdIndex(std::span<const Row> rows) : ItemIdIndex() {
    for (std::size_t i = 0; i < rows.size() && i < kNoRow; ++i) {
      const ConfigItemId id = rows[i].id;
      if (id < kIndexedIds && rowOfId_[id] == kNoRow) rowOfId_[id] = static_cast<std::uint16_t>(i);
      if (id >= kIndexedIds) scanFrom_ = std::min(scanFrom_, i);
    }
    scanFrom_ = std::min(scanFrom_, rows.size());
  }

  /// The first row of `rows` (the table given when building) for `id`, or
  /// null: the same row a scan from the start finds.
  constexpr const Row* Find(std::span<const Row> rows, ConfigItemId id) const {
    if (id < kIndexedIds) {
      const std::uint16_t row = rowOfId_[id];
      return row < rows.size() ? &rows[row] : nullptr;
    }
    for (std::size_t i = scanFrom_; i < rows.size(); ++i) {
      if (rows[i].id == id) return &rows[i];
    }
    return nullptr;
  }

 private:
  static constexpr std::uint16_t kNoRow = 0xFFFF;

  std::array<std::uint16_t, kIndexedIds> rowOfId_{};
  /// The first row with an ID beyond the indexed ones.
  std::size_t scanFrom_ = static_cast<std::size_t>(-1);
};

}  // namespace vantrell
