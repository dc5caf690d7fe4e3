#include "ui/info_pane_layout.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

/// Every character 7 pixels wide, lines 14 pixels high.
int Width(std::string_view text) { return static_cast<int>(text.size()) * 7; }
constexpr int kLine = 14;

std::string TextAt(const InfoPaneLayout& layout, int x, int y) {
  for (const auto& text : layout.texts) {
    if (text.x == x && text.y == y) return text.text;
  }
  return "<none>";
}

DeviceRecord Switch() {
  DeviceRecord record = MakeZeroRecord();
  SetFieldText(record.modelName, "ORV-D8");
  record.serialNo = 42;
  record.firmwareVersion = 0x01020300;
  return record;
}

TEST(InfoPaneLayout, SwitchLinesPutLabelsAtZeroAndValuesAt105) {
  const InfoPaneLayout layout = LayoutInfoPane(Switch(), kLine, Width);
  EXPECT_EQ(TextAt(layout, 0, 0), "Model");
  EXPECT_EQ(TextAt(layout, 105, 0), "ORV-D8");
  EXPECT_EQ(TextAt(layout, 0, 6 * kLine), "Serial No");
  EXPECT_EQ(TextAt(layout, 105, 6 * kLine), "00042");
  EXPECT_EQ(TextAt(layout, 105, 7 * kLine), "1.2.3");
  EXPECT_EQ(layout.totalHeight, 8 * kLine);
  EXPECT_EQ(layout.totalWidth, 105 + Width("00:00:00:00:00:00"));
  EXPECT_EQ(layout.pageStep, 5 * kLine);
  EXPECT_EQ(layout.lineStep, kLine);
}

TEST(InfoPaneLayout, FirmwareReleaseZeroOr30IsLeftOut) {
  DeviceRecord record = Switch();
  for (auto [version, text] :
       {std::pair{0x01020000u, "1.2"}, {0x01023000u, "1.2"}, {0x0A0B0C00u, "A.B.C"}}) {
    record.firmwareVersion = version;
    EXPECT_EQ(TextAt(LayoutInfoPane(record, kLine, Width), 105, 7 * kLine), text);
  }
}

TEST(InfoPaneLayout, ModularModelListsFittedSlotsAfterTheHeadings) {
  DeviceRecord record = Switch();
  record.modelId = 0x0726;
  record.moduleType[0] = 1;
  record.moduleType[7] = 1;
  SetFieldText(record.moduleName[0], "M-8TX");
  SetFieldText(record.moduleDesc[7], "two gigabit ports");
  const InfoPaneLayout layout = LayoutInfoPane(record, kLine, Width);
  EXPECT_EQ(TextAt(layout, 0, 8 * kLine), std::string(46, '-'));
  EXPECT_EQ(TextAt(layout, 0, 9 * kLine), "Module Information");
  EXPECT_EQ(TextAt(layout, 105, 10 * kLine), "M-8TX");
  EXPECT_EQ(TextAt(layout, 105, 11 * kLine), "1-1,1-2,1-3,1-4");
  EXPECT_EQ(TextAt(layout, 105, 15 * kLine), "G-2");
  EXPECT_EQ(TextAt(layout, 105, 16 * kLine), "two gigabit ports");
  EXPECT_EQ(layout.totalHeight, 18 * kLine);
  EXPECT_EQ(layout.totalWidth, Width(std::string(46, '-')));  // wider than every value
  int blue = 0;
  for (const auto& text : layout.texts) blue += text.highlighted ? 1 : 0;
  EXPECT_EQ(blue, 1);
}

TEST(InfoPaneLayout, InformationTextCellsAdvanceBy105) {
  DeviceRecord record = MakeZeroRecord();
  record.replyKind = 1;
  SetFieldText(record.infoText, "Model\tV100\textra\nName\tcam\nLost\ttail");
  const InfoPaneLayout layout = LayoutInfoPane(record, kLine, Width);
  EXPECT_EQ(TextAt(layout, 105, 0), "V100");
  EXPECT_EQ(TextAt(layout, 210, 0), "extra");
  EXPECT_EQ(TextAt(layout, 105, kLine), "cam");
  EXPECT_EQ(TextAt(layout, 0, 2 * kLine), "Lost");
  EXPECT_EQ(TextAt(layout, 105, 2 * kLine), "<none>");  // no final line feed
  EXPECT_EQ(layout.totalWidth, 210 + Width("extra"));
  EXPECT_EQ(layout.totalHeight, 3 * kLine);

  SetFieldText(record.infoText, "");
  EXPECT_TRUE(LayoutInfoPane(record, kLine, Width).texts.empty());
}

TEST(InfoPaneLayout, WheelScrollsLinesOrPagesPerNotch) {
  EXPECT_EQ(WheelScrollSteps(120, 3).steps, 3);
  EXPECT_EQ(WheelScrollSteps(-240, 3).steps, -6);
  EXPECT_EQ(WheelScrollSteps(60, 3).steps, 1);  // 60 * 3 / 120
  EXPECT_EQ(WheelScrollSteps(30, 3).steps, 0);
  const WheelScroll page = WheelScrollSteps(-360, kWheelScrollPage);
  EXPECT_TRUE(page.pages);
  EXPECT_EQ(page.steps, -1);
}

}  // namespace
}  // namespace vantrell
