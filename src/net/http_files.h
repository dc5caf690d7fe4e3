#pragma once
/// Reading the file a transfer posts, and writing a downloaded file so that
/// a failed transfer never leaves a truncated file behind.

#include <string>
#include <string_view>

namespace vantrell {

/// Appends the whole content of the regular file at `path` to `out`.
/// Returns 0, or -1 when the file cannot be opened or read, is not a
/// regular file, or changes its size while it is read (the bytes appended
/// so far are removed again). Never throws; running out of memory is -1.
int AppendWholeFile(const std::string& path, std::string& out);

/// Writes `bytes` to `path` through a new temporary file in the same folder
/// (mode 0600), flushed and then renamed over `path`. Returns 0, or -1 when
/// any step fails; then `path` is untouched and the temporary file removed.
int WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace vantrell
