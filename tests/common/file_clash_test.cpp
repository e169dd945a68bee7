// Which names denote one file (the runs refused for it: tests/cli/overwrite_guard_test.cpp).
#include "common/file_clash.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/test_files.h"

namespace qp {
namespace {

using testing::TempDir;

TEST(FileClash, NamesAreComparedAsFilesNotAsSpellings) {
  TempDir dir;
  testing::WriteBytes(dir.File("NET.NAP"), "net");
  testing::WriteBytes(dir.File("OTHER.NAP"), "other");
  std::filesystem::create_directory(dir.File("sub"));
  std::filesystem::create_hard_link(dir.File("NET.NAP"), dir.File("hard.NAP"));
  std::filesystem::create_symlink(dir.File("NET.NAP"), dir.File("soft.NAP"));
  std::filesystem::create_directory_symlink(dir.path(), dir.File("loop"));
  struct Case {
    std::string a, b;
    bool same;
  };
  const Case cases[] = {
      {dir.File("NET.NAP"), dir.File("NET.NAP"), true},
      {dir.File("NET.NAP"), dir.path() + "/./sub/../NET.NAP", true},
      {dir.File("NET.NAP"), dir.File("hard.NAP"), true},
      {dir.File("NET.NAP"), dir.File("soft.NAP"), true},
      {dir.File("NET.NAP"), dir.File("OTHER.NAP"), false},
      {dir.File("NET.NAP"), dir.File("net.nap"), false},      // the second does not exist
      {dir.File("new.txt"), dir.File("sub/../new.txt"), true},  // neither exists yet
      {dir.File("new.txt"), dir.File("loop/new.txt"), true},
      {dir.File("new.txt"), dir.File("new2.txt"), false},
      {dir.File("new.txt"), "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(SameFile(c.a, c.b), c.same) << c.a << " / " << c.b;

  // A relative name is taken from the working directory.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  EXPECT_TRUE(SameFile("./NET.NAP", dir.File("NET.NAP")));
  EXPECT_TRUE(SameFile("new.txt", dir.File("new.txt")));
  std::filesystem::current_path(cwd);
}

}  // namespace
}  // namespace qp
