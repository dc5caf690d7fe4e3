#pragma once
/// Files that appear only when complete: written to a temporary file in the
/// same folder and renamed into place, so a failed transfer or export never
/// leaves a truncated file behind.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include <sys/types.h>

namespace vantrell {

class AtomicFile {
 public:
  /// Creates the temporary file beside `target` with `mode` (0600 for
  /// files that hold passwords).
  explicit AtomicFile(std::filesystem::path target, mode_t mode = 0644);
  /// Removes the temporary file unless Commit() succeeded.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  /// False when the temporary file could not be created.
  bool ok() const { return fd_ >= 0; }
  /// The errno of the first failure, 0 while none.
  int error() const { return error_; }

  bool Write(std::span<const std::uint8_t> bytes);
  bool Write(std::string_view text);
  /// Flushes, closes and renames into place; false (and nothing renamed)
  /// after any failure.
  bool Commit();

 private:
  std::filesystem::path target_;
  std::string temporary_;
  int fd_ = -1;
  int error_ = 0;
  bool committed_ = false;
};

/// Removes the temporary file of every AtomicFile not yet committed: for a
/// program that is about to exit on a signal, when no destructor will run.
void RemoveUncommittedFiles();

}  // namespace vantrell
