#include "cli/diff_output.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

TEST(DiffOutput, LinesAndJsonMarkAddressSettings) {
  const std::vector<ConfigDifference> differences = {
      {"SwitchName", "Line\t4", "Line 5", false},
      {"UMAC", "", "00-60-E9-00-00-03 2 1", false},
      {"IPAddress", "192.168.10.101", "192.168.10.102", true}};
  EXPECT_EQ(DifferenceLine(differences[0]), "SwitchName\tLine 4\tLine 5");
  EXPECT_EQ(DifferenceLine(differences[1]), "UMAC\t\t00-60-E9-00-00-03 2 1");
  EXPECT_EQ(DifferenceLine(differences[2]), "IPAddress\t192.168.10.101\t192.168.10.102\taddress");
  EXPECT_EQ(DifferencesJson(differences).dump(),
            "[{\"a\":\"Line\\t4\",\"b\":\"Line 5\",\"key\":\"SwitchName\"},"
            "{\"a\":\"\",\"b\":\"00-60-E9-00-00-03 2 1\",\"key\":\"UMAC\"},"
            "{\"a\":\"192.168.10.101\",\"address\":true,\"b\":\"192.168.10.102\","
            "\"key\":\"IPAddress\"}]");
  EXPECT_EQ(DifferencesJson({}).dump(), "[]");
}

}  // namespace
}  // namespace vantrell
