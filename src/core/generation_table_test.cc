#include "core/generation_table.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

/// The generation serving a device, by name; "" for none.
std::string_view Served(std::uint16_t modelId, std::uint32_t firmwareVersion) {
  const GenerationRow* row = FindGenerationRow(modelId, firmwareVersion);
  return row ? row->name : "";
}

TEST(GenerationTable, SizesNamesAndWhereTheMailPasswordLives) {
  EXPECT_EQ(blockSize(Generation::kGenA1), 8508u);
  EXPECT_EQ(blockSize(Generation::kGenA2), 12364u);
  EXPECT_EQ(blockSize(Generation::kGenD1), 656u);
  EXPECT_EQ(blockSize(Generation::kGenD2), 1124u);
  EXPECT_EQ(blockSize(Generation::kGenD3), 1124u);
  EXPECT_EQ(blockSize(Generation::kGenD4), 1256u);
  EXPECT_EQ(blockSize(Generation::kGenM1), 21136u);
  EXPECT_EQ(LargestBlockSize(), 21136u);
  EXPECT_EQ(GenerationName(Generation::kGenA1), "GenA1");
  EXPECT_EQ(GenerationName(Generation::kGenD3), "GenD3");
  EXPECT_EQ(GenerationName(Generation::kGenM1), "GenM1");
  EXPECT_TRUE(KeepsMailPasswordApart(Generation::kGenA1));
  EXPECT_TRUE(KeepsMailPasswordApart(Generation::kGenA2));
  EXPECT_TRUE(KeepsMailPasswordApart(Generation::kGenD1));
  EXPECT_FALSE(KeepsMailPasswordApart(Generation::kGenD2));
  EXPECT_FALSE(KeepsMailPasswordApart(Generation::kGenD3));
  EXPECT_FALSE(KeepsMailPasswordApart(Generation::kGenD4));
  EXPECT_TRUE(KeepsMailPasswordApart(Generation::kGenM1));
}

TEST(GenerationTable, FirmwareRangesWithTheirGaps) {
  EXPECT_EQ(Served(0x0508, 0x0008FFFF), "");
  EXPECT_EQ(Served(0x0508, 0x00090000), "GenA1");
  EXPECT_EQ(Served(0x35D8, 0x01010000), "GenA1");
  EXPECT_EQ(Served(0x2508, 0x010100FF), "");
  EXPECT_EQ(Served(0x2508, 0x01010100), "GenA2");
  EXPECT_EQ(Served(0x2508, 0xFFFFFFFF), "GenA2");
  EXPECT_EQ(Served(0x6008, 0x00FFFFFF), "");
  EXPECT_EQ(Served(0x6008, 0x01040000), "GenD1");
  EXPECT_EQ(Served(0x6008, 0x01040001), "");
  EXPECT_EQ(Served(0x6098, 0x01040100), "GenD2");
  EXPECT_EQ(Served(0x6008, 0x01050000), "GenD2");
  EXPECT_EQ(Served(0x6008, 0x01050100), "GenD3");
  EXPECT_EQ(Served(0x6008, 0x02000500), "GenD3");
  EXPECT_EQ(Served(0x6008, 0x02000501), "");
  EXPECT_EQ(Served(0x6008, 0x02000600), "GenD4");
  EXPECT_EQ(Served(0x0726, 0x000000FF), "");
  EXPECT_EQ(Served(0x0726, 0x00000100), "GenM1");
  // A video server and an unknown model keep no block.
  EXPECT_EQ(Served(0x0080, 0x01000000), "");
  EXPECT_EQ(Served(0x6009, 0x01000000), "");
}

}  // namespace
}  // namespace vantrell
