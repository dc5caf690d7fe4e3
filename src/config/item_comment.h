#pragma once
/// The comment block that a configuration file carries above an item's
/// value: the item's catalogue label as "# <label>", then the lines that
/// explain the item's values (allowed values, ranges, examples), taken
/// from one fixed table shared by every writer.

#include <string_view>

#include "config/file_writer.h"

namespace vantrell {

/// Writes "# " + the catalogue label of `constName` (no line when no
/// catalogue row carries the name), then the explanation lines of the
/// first table row naming it (none when no row does).
void writeItemComment(ConfigTextWriter& file, std::string_view constName);

}  // namespace vantrell
