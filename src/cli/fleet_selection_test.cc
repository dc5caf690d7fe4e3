#include "cli/fleet_selection.h"

#include <gtest/gtest.h>

#include "core/text_forms.h"

namespace vantrell {
namespace {

using Names = std::vector<std::string>;

TEST(DeviceListFile, PlainListsAndCsvWithAMacOrIpColumn) {
  std::string error;
  EXPECT_EQ(DeviceNamesOfList("f", "# line 1\n00:60:E9:10:20:11\n\n  10.0.0.7 \r\n", error),
            (Names{"00:60:E9:10:20:11", "10.0.0.7"}));
  EXPECT_EQ(DeviceNamesOfList("f", "name,IP,mac\nA,10.0.0.1,\nB,10.0.0.2,00-60-e9-10-20-12\n",
                              error),
            (Names{"10.0.0.1", "00-60-e9-10-20-12"}));  // the MAC wins where both stand
  EXPECT_EQ(DeviceNamesOfList("f", "ip\n", error), Names{});
}

TEST(DeviceListFile, BadRowsAreNamedByFileAndLine) {
  std::string error;
  EXPECT_FALSE(DeviceNamesOfList("plant.txt", "10.0.0.1\n10.0.0.300\n", error));
  EXPECT_EQ(error, "plant.txt:2: invalid device 10.0.0.300 (a MAC or IPv4 address)");
  EXPECT_FALSE(DeviceNamesOfList("plant.csv", "host,rack\nsw1,3\n", error));
  EXPECT_EQ(error, "plant.csv:1: no mac or ip column in the header");
  EXPECT_FALSE(DeviceNamesOfList("plant.csv", "mac,ip\n00:60:E9:10:20:11,\n,\n", error));
  EXPECT_EQ(error, "plant.csv:3: no MAC or address in this row");
  EXPECT_FALSE(DeviceNamesOfList("plant.csv", "mac\n\"00:60\n", error));
  EXPECT_EQ(error, "plant.csv:2: a quote is not closed");
}

DeviceRecord Device(const char* model, Ipv4 address) {
  DeviceRecord record{};
  SetFieldText(record.modelName, model);
  record.ipAddr = address;
  return record;
}

TEST(FleetSelection, ModelAndSubnetTogetherAdmitOnlyDevicesMatchingBoth) {
  CliOptions options;
  options.values["--model"] = "ORV-8*";
  options.values["--subnet"] = "10.1.0.0/16";
  std::string error;
  const auto selection = ParseFleetSelection(options, error);
  ASSERT_TRUE(selection) << error;
  EXPECT_TRUE(selection->Filters());
  EXPECT_TRUE(selection->Admits(Device("ORV-8TX", MakeIpv4(10, 1, 2, 3))));
  EXPECT_FALSE(selection->Admits(Device("ORV-8TX", MakeIpv4(10, 2, 0, 1))));
  EXPECT_FALSE(selection->Admits(Device("ORV-16G", MakeIpv4(10, 1, 2, 3))));

  CliOptions none;
  const auto empty = ParseFleetSelection(none, error);
  ASSERT_TRUE(empty);
  EXPECT_FALSE(empty->Active());
  EXPECT_FALSE(empty->Admits(Device("ORV-8TX", MakeIpv4(10, 1, 2, 3))));

  options.values["--subnet"] = "10.1.0.0/40";
  EXPECT_FALSE(ParseFleetSelection(options, error));
  EXPECT_EQ(error, "invalid subnet 10.1.0.0/40 (ADDRESS/PREFIX, such as 192.168.10.0/24)");
}

}  // namespace
}  // namespace vantrell
