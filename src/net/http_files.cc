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

}  // namespace vantrell
