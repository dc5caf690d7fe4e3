#pragma once
// A folder of the test's own below the system's temporary folder, removed
// with everything in it when the object goes.

#include <unistd.h>

#include <filesystem>
#include <string>

namespace vantrell::test_support {

class TempFolder {
 public:
  /// "/tmp/vantrell-NAME-PID".
  explicit TempFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              ("vantrell-" + name + "-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  /// The path of `name` inside the folder.
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace vantrell::test_support
