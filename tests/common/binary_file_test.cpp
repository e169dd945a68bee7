#include "common/binary_file.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(BinaryFile, ExactSizeIsRequired) {
  TempDir dir;
  const std::string path = dir.File("data.bin");
  WriteBytes(path, "12345");
  EXPECT_TRUE(ReadFileOfExactSize(path, 5));
  EXPECT_FALSE(ReadFileOfExactSize(path, 4));
  EXPECT_FALSE(ReadFileOfExactSize(path, 6));
  EXPECT_FALSE(ReadFileOfExactSize(dir.File("missing"), 5));
  EXPECT_FALSE(ReadFileOfExactSize(dir.path(), 0));  // a directory is not a data file
}

// A FIFO named as a data file or an input text is refused at once: opening
// it for reading would wait for a writer that never comes.
TEST(BinaryFile, FifoIsRefusedWithoutBlocking) {
  TempDir dir;
  const std::string path = dir.File("pipe.NAP");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  auto reads = std::async(std::launch::async, [&] {
    return !ReadFileOfExactSize(path, 0) && !ReadFileUpTo(path, 1024);
  });
  if (reads.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    // Release the blocked reader so that the test ends with a failure.
    ADD_FAILURE() << "reading a FIFO blocked";
    while (reads.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
      const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
    }
    return;
  }
  EXPECT_TRUE(reads.get());
}

TEST(BinaryFile, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
  TempDir dir;
  const std::string path = dir.File("data.bin");
  WriteBytes(path, "old contents");
  const unsigned char a[] = {'a', 'b'};
  const unsigned char b[] = {'c'};
  ASSERT_TRUE(WriteFileAtomically(path, {std::span<const unsigned char>(a), std::span<const unsigned char>(b)}));
  EXPECT_EQ(ReadBytes(path), "abc");
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IRGRP, 0u);
}

TEST(BinaryFile, FailedWriteKeepsTheOldFile) {
  TempDir dir;
  const unsigned char a[] = {'x'};
  // The folder does not exist: nothing is written and nothing is left behind.
  EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/dir/data.bin"), {std::span<const unsigned char>(a)}));
  const std::string path = dir.File("data.bin");
  WriteBytes(path, "keep");
  chmod(dir.path().c_str(), 0500);
  if (access(dir.path().c_str(), W_OK) != 0) {  // root may write anyway
    EXPECT_FALSE(WriteFileAtomically(path, {std::span<const unsigned char>(a)}));
    EXPECT_EQ(ReadBytes(path), "keep");
  }
  chmod(dir.path().c_str(), 0700);
}

}  // namespace
}  // namespace qp
