#include "cli/input_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/temp_folder.h"

namespace vantrell {
namespace {

class InputFile : public testing::Test {
 protected:
  std::string Make(const std::string& name, std::size_t size) {
    const std::string path = folder_ / name;
    std::ofstream(path, std::ios::binary) << std::string(size, 'x');
    return path;
  }
  test_support::TempFolder folder_{"input"};
  const std::string folderPath_ = folder_.path().string();
};

TEST_F(InputFile, ImportFileMustBeARegularNonEmptyFileOfAtMostOneMebibyte) {
  std::string error;
  const std::string limit = Make("limit", 1'048'576);
  const auto bytes = ReadImportFileOnce(limit, error);
  ASSERT_TRUE(bytes) << error;
  EXPECT_EQ(bytes->size(), 1'048'576u);

  const std::string over = Make("over", 1'048'577);
  EXPECT_FALSE(ReadImportFileOnce(over, error));
  EXPECT_EQ(error, over + ": larger than 1048576 bytes (1 MiB)");

  const std::string empty = Make("empty", 0);
  EXPECT_FALSE(ReadImportFileOnce(empty, error));
  EXPECT_EQ(error, empty + ": the file is empty");

  EXPECT_FALSE(ReadImportFileOnce(folderPath_, error));
  EXPECT_EQ(error, folderPath_ + ": not a regular file");

  EXPECT_FALSE(ReadImportFileOnce("/dev/zero", error));
  EXPECT_EQ(error, "/dev/zero: not a regular file");

  EXPECT_FALSE(ReadImportFileOnce((folder_ / "missing"), error));
  EXPECT_EQ(error, "Can not open configuration file, error code: 2");
}

TEST_F(InputFile, AFifoIsRefusedWithoutWaitingForAWriter) {
  const std::string fifo = (folder_ / "fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string error;
  EXPECT_FALSE(ReadImportFileOnce(fifo, error));
  EXPECT_EQ(error, fifo + ": not a regular file");
  EXPECT_EQ(FirmwareImageRefusal(fifo), fifo + ": not a regular file");
}

TEST_F(InputFile, FirmwareImageMustBeARegularNonEmptyFile) {
  EXPECT_EQ(FirmwareImageRefusal(Make("image", 1)), std::nullopt);
  const std::string empty = Make("zero", 0);
  EXPECT_EQ(FirmwareImageRefusal(empty), empty + ": the file is empty");
  EXPECT_EQ(FirmwareImageRefusal(folderPath_), folderPath_ + ": not a regular file");
  EXPECT_TRUE(FirmwareImageRefusal((folder_ / "missing"))->ends_with("error code: 2"))
      << *FirmwareImageRefusal((folder_ / "missing"));
}

TEST_F(InputFile, FrozenCopyKeepsItsBytesWhateverHappensToTheFile) {
  const std::string bytes = std::string("[header]\r\n\0\x01\xFF", 13);
  auto frozen = FrozenFile::Make(bytes);
  ASSERT_TRUE(frozen);
  const auto read = [&] {
    std::ifstream in(frozen->path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ(read(), bytes);
  EXPECT_EQ(read(), bytes);  // every open starts at the beginning
  // Sealed: even a writer that reaches it by path cannot change it.
  const int writer = ::open(frozen->path().c_str(), O_WRONLY | O_APPEND);
  if (writer >= 0) {
    EXPECT_LT(::write(writer, "more", 4), 0);
    ::close(writer);
  }
  EXPECT_EQ(read(), bytes);
}

}  // namespace
}  // namespace vantrell
