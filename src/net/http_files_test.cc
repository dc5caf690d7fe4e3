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

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNothingElse) {
  ScratchFolder folder;
  const std::string path = folder.Write("out.ini", "old content that is longer");
  ASSERT_EQ(WriteFileAtomically(path, std::string_view("new\0", 4)), 0);
  EXPECT_EQ(ReadFileBytes(path), std::string("new\0", 4));
  EXPECT_EQ(folder.Listing(), "out.ini;");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(WriteFileAtomically, FailsInAMissingFolder) {
  ScratchFolder folder;
  EXPECT_EQ(WriteFileAtomically((folder.path() / "no" / "out.ini").string(), "x"), -1);
  EXPECT_EQ(folder.Listing(), "");
}

TEST(WriteFileAtomically, FailureLeavesTheOldFileAndNoTemporary) {
  ScratchFolder folder;
  // The destination is a non-empty folder: the rename fails.
  const std::string path = (folder.path() / "out.ini").string();
  std::filesystem::create_directory(path);
  folder.Write("out.ini/keep", "k");
  EXPECT_EQ(WriteFileAtomically(path, "data"), -1);
  EXPECT_EQ(folder.Listing(), "out.ini;");
  EXPECT_EQ(ReadFileBytes(path + "/keep"), "k");
}

}  // namespace
}  // namespace vantrell
