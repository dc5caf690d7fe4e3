#include "ui/info_lines.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

TEST(InfoPane, SwitchLinesWithFirmwareAndSerialForms) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = 0x6008;
  record.serialNo = 42;
  record.firmwareVersion = 0x01023000;
  SetFieldText(record.modelName, "ORV-D8");
  const auto lines = InfoPaneLines(record);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[6].label, "Serial No");
  EXPECT_EQ(lines[6].value, "00042");
  EXPECT_EQ(lines[7].label, "Firmware Ver.");
  EXPECT_EQ(lines[7].value, "1.2");
}

TEST(InfoPane, ModularModelListsFittedSlotsOnly) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = 0x0726;
  record.moduleType[0] = 1;
  record.moduleType[3] = 2;
  record.moduleType[7] = 1;
  SetFieldText(record.moduleName[0], "M-FX4");
  SetFieldText(record.moduleDesc[7], "uplink");
  const auto lines = InfoPaneLines(record);
  ASSERT_EQ(lines.size(), 8u + 2u + 8u);
  EXPECT_EQ(lines[8].label, std::string(46, '-'));
  EXPECT_TRUE(lines[9].highlighted);
  EXPECT_EQ(lines[10].value, "M-FX4");
  EXPECT_EQ(lines[11].value, "1-1,1-2,1-3,1-4");
  EXPECT_EQ(lines[15].value, "G-2");
  EXPECT_EQ(lines[16].value, "uplink");
}

TEST(InfoPane, InformationTextCells) {
  EXPECT_EQ(InfoTextCells("Model\tX\nName\tY\n"),
            (std::vector<std::vector<std::string>>{{"Model", "X"}, {"Name", "Y"}}));
  EXPECT_EQ(InfoTextCells("Model\tX\nName\tY"),
            (std::vector<std::vector<std::string>>{{"Model", "X"}, {"Name"}}));
  EXPECT_EQ(InfoTextCells(std::string(300, 'a') + "\n")[0][0].size(), 255u);
  EXPECT_TRUE(InfoTextCells("no end").empty());
}

}  // namespace
}  // namespace vantrell
