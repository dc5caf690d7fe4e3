#include "net/http_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "net/http_test_server.h"

namespace vantrell {
namespace {

using testing::ReadFileBytes;
using testing::ScratchFolder;

TEST(AppendWholeFile, AppendsEveryByte) {
  ScratchFolder folder;
  const std::string bytes("a\0b\r\n\xFF", 6);
  const std::string path = folder.Write("f.bin", bytes);
  std::string out = "head";
  ASSERT_EQ(AppendWholeFile(path, out), 0);
  EXPECT_EQ(out, "head" + bytes);
}

TEST(AppendWholeFile, FailsWithoutTouchingOutput) {
  ScratchFolder folder;
  std::string out = "head";
  EXPECT_EQ(AppendWholeFile((folder.path() / "missing").string(), out), -1);
  EXPECT_EQ(AppendWholeFile(folder.path().string(), out), -1);  // a folder
  EXPECT_EQ(AppendWholeFile("/dev/zero", out), -1);             // not a regular file
  EXPECT_EQ(out, "head");
}


}  // namespace
}  // namespace vantrell
