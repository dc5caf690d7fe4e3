#include "cli/input_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ops/config_import.h"
#include "ops/firmware_upgrade.h"

namespace vantrell {
namespace {

/// Closes a descriptor when it goes out of scope.
struct Descriptor {
  explicit Descriptor(int value) : fd(value) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  int fd;
};

std::string NotRegularText(const std::string& path) { return path + ": not a regular file"; }
std::string EmptyText(const std::string& path) { return path + ": the file is empty"; }

/// Reads up to `limit` + 1 bytes, so that a file that grew is noticed.
bool ReadUpTo(int fd, std::size_t limit, std::string& bytes) {
  bytes.resize(limit + 1);
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return true;
}

/// A regular, non-empty file of at most `limit` bytes, read once;
/// `cannotOpen` makes the message for a file that cannot be opened or read.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit,
                                           std::string (*cannotOpen)(const std::string&, int),
                                           std::string& error) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat status {};
  if (file.fd < 0 || fstat(file.fd, &status) != 0) {
    error = cannotOpen(path, errno);
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    error = NotRegularText(path);
    return std::nullopt;
  }
  const std::string tooLarge =
      path + ": larger than " + std::to_string(limit) + " bytes (1 MiB)";
  if (static_cast<std::uintmax_t>(status.st_size) > limit) {
    error = tooLarge;
    return std::nullopt;
  }
  std::string bytes;
  if (!ReadUpTo(file.fd, limit, bytes)) {
    error = cannotOpen(path, errno);
    return std::nullopt;
  }
  if (bytes.empty()) error = EmptyText(path);
  if (bytes.size() > limit) error = tooLarge;
  if (!error.empty()) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<std::string> ReadImportFileOnce(const std::string& path, std::string& error) {
  return ReadRegularFile(
      path, kImportFileLimit, [](const std::string&, int code) { return CannotOpenFileText(code); },
      error);
}

std::optional<std::string> ReadListFile(const std::string& path, std::string& error) {
  return ReadRegularFile(
      path, kListFileLimit,
      [](const std::string& name, int code) { return name + ": " + std::strerror(code); }, error);
}

std::optional<std::string> FirmwareImageRefusal(const std::string& path) {
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat status {};
  if (file.fd < 0 || fstat(file.fd, &status) != 0) return CannotOpenFirmwareText(errno);
  if (!S_ISREG(status.st_mode)) return NotRegularText(path);
  if (status.st_size == 0) return EmptyText(path);
  return std::nullopt;
}

std::optional<FrozenFile> FrozenFile::Make(const std::string& bytes) {
  const int fd = memfd_create("vantrell-input", MFD_CLOEXEC | MFD_ALLOW_SEALING);
  if (fd < 0) return std::nullopt;
  FrozenFile frozen(fd);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    written += static_cast<std::size_t>(n);
  }
  if (fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) != 0) {
    return std::nullopt;
  }
  return frozen;
}

FrozenFile::~FrozenFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::string FrozenFile::path() const { return "/proc/self/fd/" + std::to_string(fd_); }

}  // namespace vantrell
