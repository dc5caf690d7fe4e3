#include "config/item_id_index.h"

#include <gtest/gtest.h>

#include <array>

namespace vantrell {
namespace {

struct Row {
  ConfigItemId id;
  int tag;
};

constexpr std::array<Row, 6> kRows = {{{24, 0}, {4, 1}, {24, 2}, {1023, 3}, {1024, 4}, {875, 5}}};
constexpr ItemIdIndex<Row> kIndex{std::span<const Row>(kRows)};

TEST(ItemIdIndex, FindsTheFirstRowOfAnIdAsAScanDoes) {
  static_assert(kIndex.Find(kRows, 4)->tag == 1);  // built and searched at compile time
  EXPECT_EQ(kIndex.Find(kRows, 24)->tag, 0);       // row 2 repeats the ID
  EXPECT_EQ(kIndex.Find(kRows, 875)->tag, 5);
  EXPECT_EQ(kIndex.Find(kRows, 1023)->tag, 3);
  EXPECT_EQ(kIndex.Find(kRows, 1024)->tag, 4);  // beyond the indexed IDs: scanned
  EXPECT_EQ(kIndex.Find(kRows, 0), nullptr);
  EXPECT_EQ(kIndex.Find(kRows, 5), nullptr);
  EXPECT_EQ(kIndex.Find(kRows, 4096), nullptr);
  for (const Row& row : kRows) {
    const Row* scanned = nullptr;
    for (const Row& other : kRows) {
      if (other.id == row.id) {
        scanned = &other;
        break;
      }
    }
    EXPECT_EQ(kIndex.Find(kRows, row.id), scanned) << row.id;
  }
}

TEST(ItemIdIndex, AnEmptyIndexFindsNothing) {
  constexpr ItemIdIndex<Row> empty;
  EXPECT_EQ(empty.Find(kRows, 24), nullptr);
  EXPECT_EQ(empty.Find(kRows, 1024), nullptr);
  const ItemIdIndex<Row> ofNoRows{std::span<const Row>()};
  EXPECT_EQ(ofNoRows.Find({}, 24), nullptr);
}

}  // namespace
}  // namespace vantrell
