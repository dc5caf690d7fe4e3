#pragma once
/// The files that commands read (a configuration file to import, a firmware
/// image) are checked before the search, so that a directory, a FIFO, a
/// device file or a huge file ends the command with a clear message instead
/// of blocking, aborting or running out of memory.

#include <cstddef>
#include <optional>
#include <string>

namespace vantrell {

/// The largest configuration file that import takes: 1 MiB, far above any
/// device's file.
inline constexpr std::size_t kImportFileLimit = 1'048'576;

/// Reads a configuration file once: a regular, non-empty file of at most
/// kImportFileLimit bytes. Nothing, with the message in `error`, otherwise.
std::optional<std::string> ReadImportFileOnce(const std::string& path, std::string& error);

/// The largest device list, plan or credentials file the fleet options
/// take: 1 MiB, far above a plant's.
inline constexpr std::size_t kListFileLimit = 1'048'576;

/// Reads a device list, plan or credentials file once: a regular, non-empty
/// file of at most kListFileLimit bytes. Nothing, with the message
/// ("FILE: ..." ) in `error`, otherwise.
std::optional<std::string> ReadListFile(const std::string& path, std::string& error);

/// Why a firmware image cannot be uploaded (it cannot be opened, is not a
/// regular file or is empty), or nothing.
std::optional<std::string> FirmwareImageRefusal(const std::string& path);

/// A sealed copy of bytes in memory that the code which opens files by
/// name reaches by path: every read of it yields the same bytes, whatever
/// happens to the file they came from.
class FrozenFile {
 public:
  /// Nothing when the copy cannot be made.
  static std::optional<FrozenFile> Make(const std::string& bytes);
  FrozenFile(FrozenFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FrozenFile& operator=(FrozenFile&&) = delete;
  ~FrozenFile();

  /// "/proc/self/fd/N".
  std::string path() const;

 private:
  explicit FrozenFile(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace vantrell
