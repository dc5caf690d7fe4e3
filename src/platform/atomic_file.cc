#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace vantrell {

AtomicFile::AtomicFile(std::filesystem::path target, mode_t mode) : target_(std::move(target)) {
  std::filesystem::path folder = target_.parent_path();
  if (folder.empty()) folder = ".";
  std::string base = ".";
  base += target_.filename().string();
  base += ".XXXXXX";
  const std::string pattern = (folder / base).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkstemp(name.data());
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  temporary_ = name.data();
  if (::fchmod(fd_, mode) != 0) error_ = errno;
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

bool AtomicFile::Write(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0 || error_ != 0) return false;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  return true;
}

bool AtomicFile::Write(std::string_view text) {
  return Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool AtomicFile::Commit() {
  if (fd_ < 0 || error_ != 0) return false;
  if (::fsync(fd_) != 0) error_ = errno;
  if (::close(fd_) != 0 && error_ == 0) error_ = errno;
  fd_ = -1;
  if (error_ != 0) return false;
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    error_ = errno;
    ::unlink(temporary_.c_str());
    temporary_.clear();
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace vantrell
