#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <set>
#include <vector>

namespace vantrell {
namespace {

/// The temporary files of the AtomicFiles alive and not yet committed; never
/// destroyed, since RemoveUncommittedFiles may run while the process exits.
struct Uncommitted {
  std::mutex mutex;
  std::set<std::string> paths;
};

Uncommitted& TheUncommitted() {
  static Uncommitted* uncommitted = new Uncommitted;
  return *uncommitted;
}

void Track(const std::string& path) {
  std::lock_guard lock(TheUncommitted().mutex);
  TheUncommitted().paths.insert(path);
}

void Untrack(const std::string& path) {
  std::lock_guard lock(TheUncommitted().mutex);
  TheUncommitted().paths.erase(path);
}

}  // namespace

void RemoveUncommittedFiles() {
  std::lock_guard lock(TheUncommitted().mutex);
  for (const std::string& path : TheUncommitted().paths) ::unlink(path.c_str());
  TheUncommitted().paths.clear();
}

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
  Track(temporary_);
  if (::fchmod(fd_, mode) != 0) error_ = errno;
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temporary_.empty()) {
    ::unlink(temporary_.c_str());
    Untrack(temporary_);
  }
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
  // Untracked first: a signal exit must not remove what is about to be the target.
  Untrack(temporary_);
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
