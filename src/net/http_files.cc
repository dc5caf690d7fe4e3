#include "net/http_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <vector>

namespace vantrell {
namespace {

/// Closes a descriptor when it leaves scope.
class FdCloser {
 public:
  explicit FdCloser(int fd) : fd_(fd) {}
  ~FdCloser() {
    if (fd_ >= 0) ::close(fd_);
  }
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;
  /// Closes now and reports whether the close succeeded.
  bool CloseNow() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

/// Reads until end of file; false on a read error.
bool ReadToEnd(int fd, std::string& out) {
  constexpr std::size_t kChunk = 64 * 1024;
  for (;;) {
    const std::size_t before = out.size();
    out.resize(before + kChunk);
    const ssize_t n = ::read(fd, out.data() + before, kChunk);
    if (n < 0 && errno == EINTR) {
      out.resize(before);
      continue;
    }
    out.resize(before + (n > 0 ? static_cast<std::size_t>(n) : 0));
    if (n < 0) return false;
    if (n == 0) return true;
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

int AppendWholeFile(const std::string& path, std::string& out) {
  const std::size_t start = out.size();
  try {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    FdCloser closer(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) return -1;
    const auto expected = static_cast<std::size_t>(info.st_size);
    out.reserve(start + expected);
    // The length read must be the length the file had when it was opened:
    // a file still being written is not posted half-done.
    if (!ReadToEnd(fd, out) || out.size() - start != expected) {
      out.resize(start);
      return -1;
    }
    return 0;
  } catch (const std::exception&) {  // out of memory
    out.resize(start);
    return -1;
  }
}

int WriteFileAtomically(const std::string& path, std::string_view bytes) {
  try {
    std::string temporary = path + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    FdCloser closer(fd);
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!closer.CloseNow() || !written || ::rename(name.data(), path.c_str()) != 0) {
      ::unlink(name.data());
      return -1;
    }
    return 0;
  } catch (const std::exception&) {  // out of memory
    return -1;
  }
}

}  // namespace vantrell
