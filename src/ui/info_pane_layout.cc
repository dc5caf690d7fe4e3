#include "ui/info_pane_layout.h"

#include <algorithm>
#include <cstdlib>

#include "ui/info_lines.h"

namespace vantrell {
namespace {

constexpr int kPageLines = 5;
/// Lines of InfoPaneLines before the module part of the modular model.
constexpr std::size_t kSwitchLines = 8;

void LayoutInfoText(const DeviceRecord& record, int lineHeight, const TextWidthFn& textWidth,
                    InfoPaneLayout& layout) {
  int y = 0;
  for (const auto& cells : InfoTextCells(FieldText(record.infoText))) {
    int x = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      x = static_cast<int>(i) * kInfoValueX;
      if (!cells[i].empty()) layout.texts.push_back({x, y, cells[i], false});
    }
    if (!cells.empty())
      layout.totalWidth = std::max(layout.totalWidth, x + textWidth(cells.back()));
    y += lineHeight;
  }
  layout.totalHeight = y;
}

void LayoutLines(const DeviceRecord& record, int lineHeight, const TextWidthFn& textWidth,
                 InfoPaneLayout& layout) {
  int y = 0;
  const std::vector<InfoLine> lines = InfoPaneLines(record);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const InfoLine& line = lines[i];
    if (!line.label.empty()) layout.texts.push_back({0, y, line.label, line.highlighted});
    const bool blank = line.label.empty() && line.value.empty();
    const bool heading = i >= kSwitchLines && line.value.empty() && !blank &&
                         (line.highlighted || line.label.front() == '-');
    if (heading) {
      layout.totalWidth = std::max(layout.totalWidth, textWidth(line.label));
    } else if (!blank) {
      if (!line.value.empty()) layout.texts.push_back({kInfoValueX, y, line.value, false});
      layout.totalWidth = std::max(layout.totalWidth, kInfoValueX + textWidth(line.value));
    }
    y += lineHeight;
  }
  layout.totalHeight = y;
}

}  // namespace

InfoPaneLayout LayoutInfoPane(const DeviceRecord& record, int lineHeight,
                              const TextWidthFn& textWidth) {
  InfoPaneLayout layout;
  if (record.replyKind == 1) {
    LayoutInfoText(record, lineHeight, textWidth, layout);
  } else {
    LayoutLines(record, lineHeight, textWidth, layout);
  }
  layout.pageStep = kPageLines * lineHeight;
  layout.lineStep = lineHeight;
  return layout;
}

WheelScroll WheelScrollSteps(int delta, int linesPerNotch) {
  const int direction = delta > 0 ? 1 : (delta < 0 ? -1 : 0);
  if (linesPerNotch == kWheelScrollPage) return {true, direction};
  return {false, direction * (std::abs(delta) * linesPerNotch / 120)};
}

}  // namespace vantrell
