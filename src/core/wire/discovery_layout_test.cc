#include "core/wire/discovery_layout.h"

#include <gtest/gtest.h>

#include "core/wire/layout_test_fields.h"

namespace vantrell::wire {
namespace {

TEST(DiscoveryLayout, RequestHeaderAndEntries) {
  namespace f = discovery_request;
  EXPECT_EQ(f::kMarkerKnownD8, 'I');
  EXPECT_EQ(f::kMarkerKnownOther, 'H');
  // Marker, one byte without value, length, sequence.
  EXPECT_TRUE(Tiles(f::kLength, {{f::kLength, 2}, {f::kSequence, 2}}, f::kHeaderSize));
  EXPECT_EQ(f::kEntries, f::kHeaderSize);
  EXPECT_TRUE(Tiles(0, {{f::kD8EntryModelId, 2}, {f::kD8EntrySerialNo, 2}}, f::kD8EntrySize));
  EXPECT_EQ(f::kMacEntrySize, 6u);
  // The longest request: 6 + 32 * 6 = 198 bytes.
  EXPECT_EQ(f::kHeaderSize + f::kMaxEntries * f::kMacEntrySize, 198u);
}

TEST(DiscoveryLayout, ReplyFieldsFillTheShortFormAndTheNameTheLongOne) {
  namespace f = discovery_reply;
  EXPECT_EQ(f::kMarkerValue, 0xC9);
  EXPECT_TRUE(Tiles(f::kLength,
                    {{f::kLength, 2},
                     {f::kSequence, 2},
                     {f::kWebPort, 4},
                     {f::kModelId, 2},
                     {f::kSerialNo, 2},
                     {f::kInterfaceIp, 4},
                     {f::kMac, f::kMacSize}},
                    f::kShortSize));
  EXPECT_EQ(f::kShortSize, 24u);
  EXPECT_TRUE(Tiles(f::kShortSize, {{f::kModelName, f::kModelNameSize}}, f::kLongSize));
  EXPECT_EQ(f::kLongSize, 64u);
}

}  // namespace
}  // namespace vantrell::wire
