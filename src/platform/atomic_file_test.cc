#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace vantrell {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("vantrell-atomic-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::size_t Entries() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
  }

  fs::path folder;
};

TEST_F(AtomicFileTest, AppearsOnlyWhenCommittedWithItsMode) {
  const fs::path target = folder / "export.txt";
  {
    AtomicFile file(target, 0600);
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(file.Write("line 1\r\n"));
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(file.Commit());
  }
  EXPECT_EQ(Read(target), "line 1\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, AbandonedFileLeavesTheOldOneAndNoTemporary) {
  const fs::path target = folder / "config.txt";
  std::ofstream(target) << "old";
  {
    AtomicFile file(target);
    file.Write("half of the new");
  }
  EXPECT_EQ(Read(target), "old");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, FailedRenameKeepsWhatStoodThere) {
  const fs::path target = folder / "taken";
  fs::create_directories(target / "keep");
  AtomicFile file(target);
  EXPECT_TRUE(file.Write("data"));
  EXPECT_FALSE(file.Commit());
  EXPECT_TRUE(fs::is_directory(target / "keep"));
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicFileTest, MissingFolderFailsCleanly) {
  AtomicFile file(folder / "no-such-folder" / "x.txt");
  EXPECT_FALSE(file.ok());
  EXPECT_EQ(file.error(), ENOENT);
  EXPECT_FALSE(file.Write("x"));
  EXPECT_FALSE(file.Commit());
}

}  // namespace
}  // namespace vantrell
