#pragma once
/// The floor the file benchmarks measure against: a file cut at its line
/// ends into views, nothing else read.

#include <string_view>
#include <vector>

namespace vantrell {

/// Replaces `lines` with the lines of `file` (without their '\n').
inline void SplitLines(std::string_view file, std::vector<std::string_view>& lines) {
  lines.clear();
  while (!file.empty()) {
    const std::size_t end = file.find('\n');
    if (end == std::string_view::npos) {
      lines.push_back(file);
      return;
    }
    lines.push_back(file.substr(0, end));
    file.remove_prefix(end + 1);
  }
}

}  // namespace vantrell
