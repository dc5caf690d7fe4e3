#include "cli/browser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "support/temp_folder.h"

namespace vantrell {
namespace {

/// PATH pointing at a folder with a fake xdg-open that writes each of its
/// arguments on a line of `args`.
class FakeOpener : public testing::Test {
 protected:
  void SetUp() override {
    const std::string script = folder_ / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > "
                          << (folder_ / "args.tmp") << "\n/bin/mv " << (folder_ / "args.tmp") << " "
                          << (folder_ / "args") << "\n";
    ::chmod(script.c_str(), 0700);
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    ::setenv("PATH", folder_.path().c_str(), 1);
  }
  void TearDown() override { ::setenv("PATH", savedPath_.c_str(), 1); }
  /// The fake's record, waited for up to 5 s.
  std::string Args() {
    const std::string path = folder_ / "args";
    for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  test_support::TempFolder folder_{"browser"};
  std::string savedPath_;
};

TEST_F(FakeOpener, UrlIsOneArgumentAndNoShellReadsIt) {
  const std::string url = "http://10.0.0.5:8080/a b;touch " + (folder_ / "owned") + "'$(x)";
  const BrowserStart started = StartBrowser(url, false);
  EXPECT_FALSE(started.failed);
  EXPECT_EQ(started.note, "");
  EXPECT_EQ(Args(), url + "\n");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "owned"));
}

TEST_F(FakeOpener, AsRootNothingIsStarted) {
  const BrowserStart started = StartBrowser("http://10.0.0.5", true);
  EXPECT_FALSE(started.failed);
  EXPECT_EQ(started.note,
            "running as root: no browser is started; open http://10.0.0.5 as your own user");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "args"));
}

TEST_F(FakeOpener, MissingOpenerIsANoteNotAFailure) {
  std::filesystem::remove(folder_ / "xdg-open");
  const BrowserStart started = StartBrowser("http://10.0.0.5", false);
  EXPECT_FALSE(started.failed);
  EXPECT_EQ(started.note, "xdg-open is not installed: open http://10.0.0.5 in a browser");
}

}  // namespace
}  // namespace vantrell
