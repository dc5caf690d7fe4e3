#include "sim/mail_password_slot.h"

#include <gtest/gtest.h>

namespace vantrell::sim {
namespace {

std::vector<std::uint8_t> Filled(std::size_t size) { return std::vector<std::uint8_t>(size, 0x5A); }

TEST(MailPasswordSlot, KeptApartByTheA8R8FamilyAndTheModularModelOnly) {
  EXPECT_EQ(KeptApartMailPasswordOffset(0x0508), 5286u);         // A8/R8
  EXPECT_EQ(KeptApartMailPasswordOffset(0x0726), 5270u);         // modular
  EXPECT_EQ(KeptApartMailPasswordOffset(0x6008), std::nullopt);  // D8

  const std::vector<std::uint8_t> a8 = HandedOutBlock(0x0508, Filled(12364));
  ASSERT_EQ(a8.size(), 12364u);
  EXPECT_EQ(a8[5285], 0x5A);
  for (std::size_t i = 5286; i < 5286 + 46; ++i) EXPECT_EQ(a8[i], 0) << i;
  EXPECT_EQ(a8[5286 + 46], 0x5A);

  const std::vector<std::uint8_t> m = HandedOutBlock(0x0726, Filled(21136));
  EXPECT_EQ(m[5269], 0x5A);
  EXPECT_EQ(m[5270], 0);
  EXPECT_EQ(m[5315], 0);
  EXPECT_EQ(m[5316], 0x5A);

  EXPECT_EQ(HandedOutBlock(0x6008, Filled(1124)), Filled(1124));
}

TEST(MailPasswordSlot, ShortBlocksAreClearedOnlyWhereTheyReach) {
  std::vector<std::uint8_t> partial = HandedOutBlock(0x0508, Filled(5300));
  ASSERT_EQ(partial.size(), 5300u);
  EXPECT_EQ(partial[5285], 0x5A);
  EXPECT_EQ(partial[5299], 0);
  EXPECT_EQ(HandedOutBlock(0x0508, Filled(4)), Filled(4));
  EXPECT_TRUE(HandedOutBlock(0x0726, {}).empty());
}

}  // namespace
}  // namespace vantrell::sim
