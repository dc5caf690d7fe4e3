#pragma once
/// Where the information pane draws each text of a device and how far it
/// scrolls: labels at x = 0, values at x = 105, one line height per line,
/// the scroll sizes from the widest line, and the wheel steps.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/device_record.h"

namespace vantrell {

/// x at which values (and every further information-text cell) start.
inline constexpr int kInfoValueX = 105;
/// Character height of the pane's font, in pixels.
inline constexpr int kInfoFontPixels = 12;
/// Scroll sizes before the first drawing.
inline constexpr int kInfoInitialScrollSize = 100;

struct InfoPaneText {
  int x = 0;
  int y = 0;  ///< top of the line
  std::string text;
  bool highlighted = false;  ///< drawn in blue (0, 0, 255)
};

struct InfoPaneLayout {
  std::vector<InfoPaneText> texts;
  int totalWidth = 0;   ///< the widest drawn line
  int totalHeight = 0;  ///< the final y
  int pageStep = 0;     ///< 5 lines
  int lineStep = 0;     ///< one line
};

/// Width of a text in pixels in the pane's font.
using TextWidthFn = std::function<int(std::string_view)>;

/// The layout of the pane for a record with line height `lineHeight`.
InfoPaneLayout LayoutInfoPane(const DeviceRecord& record, int lineHeight,
                              const TextWidthFn& textWidth);

/// The system setting "one page per wheel notch".
inline constexpr int kWheelScrollPage = -1;

/// What one wheel message scrolls: pages or lines, positive upwards.
struct WheelScroll {
  bool pages = false;
  int steps = 0;
};

/// `delta` in multiples of 120, positive away from the user;
/// `linesPerNotch` the system setting (kWheelScrollPage for pages).
WheelScroll WheelScrollSteps(int delta, int linesPerNotch);

}  // namespace vantrell
