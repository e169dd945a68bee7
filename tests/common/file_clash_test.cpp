// Which names denote one file, and which runs would write over an input.
#include "common/file_clash.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/gbk_text.h"
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

TEST(FileClash, EveryWrittenFileIsComparedWithTheInputsAndTheOtherOutputs) {
  TempDir dir;
  const std::string data = dir.File("X.NAP"), text = dir.File("X.txt"), vec = dir.File("X.vec");
  testing::WriteBytes(data, "data");
  testing::WriteBytes(text, "observations");
  struct Case {
    const char* name;
    RunFiles files;
    const char* written;  // role of the clashing written file; nullptr: no clash
    const char* other;
  };
  const Case cases[] = {
      {"the data file written back in place", {{data, "数据文件"}, true, {}, {}}, nullptr, nullptr},
      {"the report beside it", {{data, "数据文件"}, true, {{dir.File("in.txt"), "输入文件"}}, {{text, "报告文件"}}},
       nullptr, nullptr},
      {"the input text named like the report",
       {{data, "数据文件"}, true, {{text, "输入文件"}}, {{text, "报告文件"}}}, "报告文件", "输入文件"},
      {"the input text is the data file", {{data, "数据文件"}, true, {{data, "输入文件"}}, {}}, "数据文件",
       "输入文件"},
      {"an input that is the data file not written", {{data, "数据文件"}, false, {{data, "统计检验报告"}}, {}}, nullptr,
       nullptr},
      {"a picture named like the data file",
       {{data, "数据文件"}, false, {}, {{vec, "矢量图形文件"}, {dir.path() + "/./X.NAP", "SVG图形文件"}}},
       "SVG图形文件", "数据文件"},
      {"a picture named like the .vec file",
       {{data, "数据文件"}, false, {}, {{vec, "矢量图形文件"}, {vec, "SVG图形文件"}}}, "SVG图形文件", "矢量图形文件"},
      {"an output without a name", {{data, "数据文件"}, false, {}, {{"", "SVG图形文件"}, {"", "DXF图形文件"}}}, nullptr,
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto clash = FindFileClash(c.files);
    ASSERT_EQ(clash.has_value(), c.written != nullptr);
    if (!clash) continue;
    EXPECT_STREQ(clash->written.role, c.written);
    EXPECT_STREQ(clash->other.role, c.other);
  }

  const auto clash = FindFileClash(cases[2].files);
  EXPECT_EQ(GbkToUtf8(FileClashMessage(*clash)),
            "报告文件与输入文件是同一个文件, 不能覆盖, 未写入任何文件 !\r\n" + text);
}

}  // namespace
}  // namespace qp
