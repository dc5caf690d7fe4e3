#include "config/name_index.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

namespace vantrell {
namespace {

constexpr std::array<std::string_view, 7> kNames = {"alpha", "beta",  "",     "gamma",
                                                    "beta",  "delta", "alphA"};
constexpr auto kNameOf = [](std::size_t row) { return kNames[row]; };

TEST(NameHash, ConcreteValuesAlikeAtCompileTimeAndRunTime) {
  EXPECT_EQ(NameHash(""), 0u);
  EXPECT_EQ(NameHash("a"), 0xAE1DE9E7u);
  EXPECT_EQ(NameHash("foobar"), 0x658FFA4Au);
  // Two whole words and a tail of one byte.
  static_assert(NameHash("D_CONF_ETH_NAMEA8") == 0x0AB3FDAAu);
  const std::string runtime = "D_CONF_ETH_NAMEA8";
  EXPECT_EQ(NameHash(runtime), 0x0AB3FDAAu);
  EXPECT_EQ(NameHash(std::string_view(runtime).substr(0, 15)), 0xCBE23AADu);
  EXPECT_NE(NameHash("D_CONF_ETH_PCFG_FDX1"), NameHash("D_CONF_ETH_PCFG_FDX2"));
}

TEST(NameIndex, FindsTheFirstRowOfEachName) {
  constexpr auto index = NameIndex<16>::Build(kNames.size(), kNameOf);
  static_assert(index.Find("gamma", kNameOf) == 3u);  // built and searched at compile time
  EXPECT_EQ(index.Find("alpha", kNameOf), 0u);
  EXPECT_EQ(index.Find("beta", kNameOf), 1u);  // row 4 repeats the name
  EXPECT_EQ(index.Find("delta", kNameOf), 5u);
  EXPECT_EQ(index.Find("alphA", kNameOf), 6u);  // case matters
  EXPECT_FALSE(index.Find("", kNameOf).has_value());
  EXPECT_FALSE(index.Find("alpha ", kNameOf).has_value());
  EXPECT_FALSE(index.Find("epsilon", kNameOf).has_value());
}

TEST(NameIndex, CollidingNamesAllStayFindable) {
  // Two slots' worth of rows in four slots: every name probes past others.
  static constexpr std::array<std::string_view, 2> names = {"x1", "x2"};
  constexpr auto nameOf = [](std::size_t row) { return names[row]; };
  constexpr auto index = NameIndex<4>::Build(names.size(), nameOf);
  EXPECT_EQ(index.Find("x1", nameOf), 0u);
  EXPECT_EQ(index.Find("x2", nameOf), 1u);
  EXPECT_FALSE(index.Find("x3", nameOf).has_value());
  // A table larger than half the slots indexes its first rows only.
  constexpr auto small = NameIndex<2>::Build(names.size(), nameOf);
  EXPECT_EQ(small.Find("x1", nameOf), 0u);
  EXPECT_FALSE(small.Find("x2", nameOf).has_value());
}

}  // namespace
}  // namespace vantrell
