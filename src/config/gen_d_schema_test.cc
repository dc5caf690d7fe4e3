#include "config/gen_d_schema.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/config_catalogue.h"

namespace vantrell {
namespace {

constexpr Generation kDGenerations[] = {Generation::kGenD1, Generation::kGenD2, Generation::kGenD3,
                                        Generation::kGenD4};

// A misspelt name would write a line without key and never be read.
TEST(GenDSchema, EveryRowOfEveryGenerationHasOneCatalogueKey) {
  for (Generation g : kDGenerations) {
    SCOPED_TRACE(GenerationName(g));
    const SchemaContext context = GenDSchemaContext(g, 0x6008);
    std::set<std::string> names;
    for (const SchemaRow& row : GenDSchema()) {
      if (!row.In(context)) continue;
      for (int n = row.item.first; n <= row.item.last(); ++n) {
        const std::string name = row.item.NameOf(n);
        EXPECT_FALSE(row.item.KeyOf(n).empty()) << name;
        EXPECT_TRUE(names.insert(name).second) << name << " twice";
      }
    }
    EXPECT_TRUE(names.contains("D_CONF_ETH_SPAN_PATH8_COST"));
  }
  EXPECT_EQ(GenDSchemaContext(Generation::kGenA1, 0).variant, 0u);
}

TEST(GenDSchema, PortSevenAndEightRulesByModel) {
  EXPECT_TRUE(OmitsMdiFlagLine(0x6038, 7));
  EXPECT_FALSE(OmitsMdiFlagLine(0x6018, 7));
  EXPECT_TRUE(OmitsMdiFlagLine(0x6018, 8));
  EXPECT_FALSE(OmitsMdiFlagLine(0x6008, 8));
  EXPECT_FALSE(OmitsMdiFlagLine(0x6038, 6));
  EXPECT_TRUE(GenDAppliesPort7MdiFlag(0x6078));
  EXPECT_FALSE(GenDAppliesPort7MdiFlag(0x6088));
  EXPECT_FALSE(GenDAppliesPort7Speed(0x6098));
  EXPECT_TRUE(GenDAppliesPort7Speed(0x6078));
  EXPECT_TRUE(GenDAppliesPort8Settings(0x6058));
  EXPECT_FALSE(GenDAppliesPort8Settings(0x6018));
}

}  // namespace
}  // namespace vantrell
