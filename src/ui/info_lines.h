#pragma once
/// What the information pane shows for a device: labelled lines for a
/// switch, with the module part for the modular model, or the cells of the
/// device's own information text.

#include <string>
#include <vector>

#include "core/device_record.h"

namespace vantrell {

struct InfoLine {
  std::string label;  ///< drawn at x = 0
  std::string value;  ///< drawn at x = 105
  bool highlighted = false;  ///< "Module Information", drawn in blue
};

/// The lines of the pane for a record (empty for a long-reply device
/// without information text).
std::vector<InfoLine> InfoPaneLines(const DeviceRecord& record);

/// The information text split into lines of cells: a TAB ends a cell, a
/// line feed ends a cell and its line; text after the last of them is not
/// shown; a cell keeps at most 255 characters.
std::vector<std::vector<std::string>> InfoTextCells(std::string_view text);

}  // namespace vantrell
