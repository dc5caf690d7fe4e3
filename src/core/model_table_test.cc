#include "core/model_table.h"

#include <gtest/gtest.h>

#include <set>

namespace vantrell {
namespace {

TEST(ModelTable, HasFiftyOneRowsInSeriesOrder) {
  const auto rows = ModelTable();
  ASSERT_EQ(rows.size(), 51u);
  EXPECT_EQ(rows[0].modelId, 0x6008);
  EXPECT_EQ(rows[9].name, "ORV-D8-F2-W");
  EXPECT_EQ(rows[10].modelId, 0x2508);
  EXPECT_EQ(rows[21].name, "ORV-R8-F5-W");
  EXPECT_EQ(rows[22].modelId, 0x3508);
  EXPECT_EQ(rows[36].modelId, 0x0508);
  EXPECT_EQ(rows[50].modelId, 0x0726);
  std::set<std::uint16_t> ids;
  for (const auto& row : rows) ids.insert(row.modelId);
  EXPECT_EQ(ids.size(), 51u);
}

TEST(ModelTable, LookupByIdBothA8LinesShareNames) {
  EXPECT_EQ(LookupModelName(0x6078), "ORV-D8-G2-W");
  EXPECT_EQ(LookupModelName(0x2598), "ORV-R8-F4-W");
  EXPECT_EQ(LookupModelName(0x35D8), "ORV-A8-F6-W");
  EXPECT_EQ(LookupModelName(0x05D8), "ORV-A8-F6-W");
  EXPECT_EQ(LookupModelName(0x0548), "ORV-A8-F1-W");
  EXPECT_EQ(LookupModelName(0x0726), "ORV-M26");
  EXPECT_FALSE(LookupModelName(0x0580).has_value());
  EXPECT_FALSE(LookupModelName(0x60A8).has_value());
  EXPECT_FALSE(LookupModelName(0x25C8).has_value());
}

TEST(ModelTable, FamilyTestsCoverExactlyTheirSeries) {
  int d8 = 0, a8r8 = 0;
  for (unsigned id = 0; id <= 0xFFFF; ++id) {
    d8 += IsD8Family(static_cast<std::uint16_t>(id));
    a8r8 += IsA8R8Family(static_cast<std::uint16_t>(id));
  }
  EXPECT_EQ(d8, 10);
  EXPECT_EQ(a8r8, 40);
  EXPECT_TRUE(IsD8Family(0x6098));
  EXPECT_FALSE(IsD8Family(0x6009));
  EXPECT_TRUE(IsA8R8Family(0x25B8));
  EXPECT_FALSE(IsA8R8Family(0x25C8));
  EXPECT_TRUE(IsA8R8Family(0x05D8));
}

TEST(ModelTable, ModularAndVideoServerTests) {
  EXPECT_TRUE(IsM26Model(0x0726));
  EXPECT_FALSE(IsD8Family(0x0726));
  EXPECT_FALSE(IsA8R8Family(0x0726));
  for (std::uint16_t kavex : {0x1280, 0x0088}) {
    EXPECT_TRUE(IsKavexModelId(kavex));
    EXPECT_FALSE(IsD8Family(kavex) || IsA8R8Family(kavex) || IsM26Model(kavex));
  }
  EXPECT_FALSE(IsKavexModelId(0x6008));
  EXPECT_TRUE(IsKavexName("VS-1 Kavex"));
  EXPECT_FALSE(IsKavexName("kavex"));
}

}  // namespace
}  // namespace vantrell
