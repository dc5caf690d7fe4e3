#pragma once
/// Reading the file a transfer posts.

#include <string>
#include <string_view>

namespace vantrell {

/// Appends the whole content of the regular file at `path` to `out`.
/// Returns 0, or -1 when the file cannot be opened or read, is not a
/// regular file, or changes its size while it is read (the bytes appended
/// so far are removed again). Never throws; running out of memory is -1.
int AppendWholeFile(const std::string& path, std::string& out);

}  // namespace vantrell
