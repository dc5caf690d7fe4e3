#include "core/wire/details_layout.h"

#include <gtest/gtest.h>

#include "core/wire/layout_test_fields.h"

namespace vantrell::wire {
namespace {

TEST(DetailsLayout, RequestIsSixBytes) {
  namespace f = details_request;
  EXPECT_EQ(f::kMarkerValue, 0x01);
  EXPECT_TRUE(Tiles(f::kLength, {{f::kLength, 2}, {f::kSequence, 2}}, f::kSize));
  EXPECT_EQ(f::kSize, 6u);
}

TEST(DetailsLayout, EachFormEndsWhereItsLastFieldEnds) {
  namespace f = details_reply;
  EXPECT_EQ(f::kMarkerValue, 0x81);
  EXPECT_EQ(f::kFirmwareVersion, 22u);
  EXPECT_TRUE(Tiles(f::kFirmwareVersion, {{f::kFirmwareVersion, 4}, {f::kStatusFlags, 1}},
                    f::kStatusFlags + 1));
  EXPECT_EQ(f::kName, 28u);
  EXPECT_TRUE(Tiles(f::kNetmask, {{f::kNetmask, 4}, {f::kGateway, 4}}, f::kBasicSize));
  EXPECT_TRUE(Tiles(f::kBasicSize, {{f::kDns1, 4}, {f::kDns2, 4}, {f::kIpConfigFlags, 4}},
                    f::kNetworkSize));
  EXPECT_TRUE(Tiles(f::kNetworkSize, {{f::kLocation, f::kLocationSize}}, f::kLocationFormSize));
  EXPECT_TRUE(Tiles(f::kModuleTypes,
                    {{f::kModuleTypes, f::kModuleSlots},
                     {f::kModuleNames, f::kModuleSlots * f::kModuleNameSize},
                     {f::kModuleDescs, f::kModuleSlots * f::kModuleDescSize}},
                    f::kModulesSize));
  EXPECT_EQ(f::kBasicSize, 86u);
  EXPECT_EQ(f::kNetworkSize, 98u);
  EXPECT_EQ(f::kLocationFormSize, 178u);
  EXPECT_EQ(f::kModulesSize, 1186u);
}

}  // namespace
}  // namespace vantrell::wire
