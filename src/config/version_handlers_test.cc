#include "config/version_handlers.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

constexpr std::uint16_t kD8 = 0x6008;
constexpr std::uint16_t kA8 = 0x0508;
constexpr std::uint16_t kR8 = 0x2598;
constexpr std::uint16_t kM26 = 0x0726;

constexpr std::uint32_t Version(unsigned major, unsigned minor, unsigned release, unsigned build) {
  return (major << 24) | (minor << 16) | (release << 8) | build;
}

/// The number of the serving row, 0 for none; negative when the row serves
/// but its generation is not built.
int RowFor(std::uint16_t model, std::uint32_t version) {
  const HandlerSelection selection = selectHandlers(model, version);
  switch (selection.match) {
    case HandlerMatch::kServed:
      EXPECT_NE(selection.accessors, nullptr);
      EXPECT_EQ(selection.accessors->generation(), selection.row->generation);
      return selection.row->number;
    case HandlerMatch::kNotBuiltYet:
      EXPECT_EQ(selection.accessors, nullptr);
      return -selection.row->number;
    case HandlerMatch::kNoRow:
      EXPECT_EQ(selection.row, nullptr);
      return 0;
  }
  return 0;
}

TEST(VersionHandlerTable, SevenRowsInOrder) {
  const auto table = VersionHandlerTable();
  const Generation generations[] = {Generation::kGenA1, Generation::kGenA2, Generation::kGenD1,
                                    Generation::kGenD2, Generation::kGenD3, Generation::kGenD4,
                                    Generation::kGenM1};
  const std::uint32_t lows[] = {0x00090000, 0x01010100, 0x01000000, 0x01040100,
                                0x01050100, 0x02000600, 0x00000100};
  const std::uint32_t highs[] = {0x01010000, 0, 0x01040000, 0x01050000, 0x02000500, 0, 0};
  const std::size_t sizes[] = {8508, 12364, 656, 1124, 1124, 1256, 21136};
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].number, static_cast<int>(i + 1));
    EXPECT_EQ(table[i].generation, generations[i]);
    EXPECT_EQ(table[i].firmwareLow, lows[i]);
    EXPECT_EQ(table[i].firmwareHigh, highs[i]);
    EXPECT_EQ(table[i].blockSize(), sizes[i]);
    EXPECT_NE(table[i].writeConfigFile, nullptr);
    EXPECT_NE(table[i].readConfigFile, nullptr);
  }
  // Every row is built.
  EXPECT_TRUE(table[0].IsBuilt());
  EXPECT_TRUE(table[1].IsBuilt());
  EXPECT_TRUE(table[2].IsBuilt() && table[3].IsBuilt() && table[4].IsBuilt() && table[5].IsBuilt());
  EXPECT_TRUE(table[6].IsBuilt());
}

TEST(SelectHandlers, D8BoundsAndGaps) {
  EXPECT_EQ(RowFor(kD8, Version(0, 9, 0, 0)), 0);
  EXPECT_EQ(RowFor(kD8, Version(0, 255, 255, 255)), 0);
  EXPECT_EQ(RowFor(kD8, Version(1, 0, 0, 0)), 3);
  EXPECT_EQ(RowFor(kD8, Version(1, 4, 0, 0)), 3);
  EXPECT_EQ(RowFor(kD8, Version(1, 4, 0, 1)), 0);
  EXPECT_EQ(RowFor(kD8, Version(1, 4, 0, 255)), 0);
  EXPECT_EQ(RowFor(kD8, Version(1, 4, 1, 0)), 4);
  EXPECT_EQ(RowFor(kD8, Version(1, 5, 0, 0)), 4);
  EXPECT_EQ(RowFor(kD8, Version(1, 5, 0, 1)), 0);
  EXPECT_EQ(RowFor(kD8, Version(1, 5, 1, 0)), 5);
  EXPECT_EQ(RowFor(kD8, Version(2, 0, 5, 0)), 5);
  EXPECT_EQ(RowFor(kD8, Version(2, 0, 5, 1)), 0);
  EXPECT_EQ(RowFor(kD8, Version(2, 0, 6, 0)), 6);
  EXPECT_EQ(RowFor(kD8, Version(3, 0, 0, 0)), 6);
  EXPECT_EQ(RowFor(kD8, 0xFFFFFFFF), 6);  // 0 as upper bound: no limit
  EXPECT_EQ(RowFor(0x6098, Version(1, 4, 0, 0)), 3);
}

TEST(SelectHandlers, A8R8RowsAndTheirGap) {
  EXPECT_EQ(RowFor(kA8, Version(0, 8, 0, 0)), 0);
  EXPECT_EQ(RowFor(kA8, Version(0, 9, 0, 0)), 1);
  EXPECT_EQ(RowFor(kA8, Version(1, 1, 0, 0)), 1);
  EXPECT_EQ(RowFor(kR8, Version(1, 1, 0, 1)), 0);
  EXPECT_EQ(RowFor(kR8, Version(1, 1, 1, 0)), 2);
  EXPECT_EQ(RowFor(kA8, 0xFFFFFFFF), 2);
}

TEST(SelectHandlers, ModularModelFromOneVersionUp) {
  EXPECT_EQ(RowFor(kM26, Version(0, 0, 0, 255)), 0);
  EXPECT_EQ(RowFor(kM26, Version(0, 0, 1, 0)), 7);
  EXPECT_EQ(RowFor(kM26, Version(1, 4, 0, 0)), 7);
  EXPECT_EQ(RowFor(kM26, 0xFFFFFFFF), 7);
}

TEST(SelectHandlers, OtherModelsAreServedByNoRow) {
  EXPECT_EQ(RowFor(0x6080, Version(1, 4, 0, 0)), 0);  // a video server
  EXPECT_EQ(RowFor(0x60A8, Version(2, 0, 6, 0)), 0);
  EXPECT_EQ(RowFor(0x0000, Version(1, 0, 0, 0)), 0);
  EXPECT_EQ(RowFor(0x0727, Version(1, 0, 0, 0)), 0);
}

TEST(SelectHandlers, ServedRowCarriesItsGenerationsAccessors) {
  const HandlerSelection d3 = selectHandlers(kD8, Version(1, 6, 0, 0));
  ASSERT_TRUE(d3);
  EXPECT_EQ(d3.row->generation, Generation::kGenD3);
  EXPECT_EQ(d3.accessors->blockSize(), 1124u);
  const HandlerSelection none = selectHandlers(kD8, Version(1, 4, 0, 1));
  EXPECT_FALSE(none);
  EXPECT_EQ(none.match, HandlerMatch::kNoRow);
  const HandlerSelection a1 = selectHandlers(kA8, Version(1, 0, 0, 0));
  ASSERT_TRUE(a1);
  EXPECT_EQ(a1.row->generation, Generation::kGenA1);
  EXPECT_EQ(a1.accessors->blockSize(), 8508u);
}

}  // namespace
}  // namespace vantrell
